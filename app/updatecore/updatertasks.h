// The updater's four tasks (version check, module list, module download, installer
// download) as the worker threads run them, reporting through callbacks: progress and
// explanation text are handed over at once (the program sends them), results are queued
// (the program posts them).
#pragma once
#include "updaterclient.h"
#include <functional>
#include <string>
#include <vector>

// What a task reports to the frame (wParam of its result message).
enum UpdaterResult : int {
    kResultUpToDate = 0,  // also: the check failed
    kResultUpdateAvailable = 1,
    kResultInstallerDownloaded = 2,
    kResultInstallerFailed = 3,
    kResultModuleListFetched = 5,
    kResultModuleListFailed = 6,
    kResultModulesDownloaded = 7,
    kResultModuleDownloadFailed = 8,  // index: the failed entry of the download list
};

// The findings tasks leave for the frame and the dialogs; one task runs at a time, and the
// frame reads them only after the task's result.
struct UpdaterState {
    std::wstring installerAddress, latestVersion, moduleListText;
    std::vector<std::wstring> downloadList;
    // Local paths of the files the last module download put in place, in list order.
    std::vector<std::wstring> downloaded;
    std::wstring installerPath;
};

struct UpdaterReports {
    std::function<void(uint64_t position, uint64_t total)> progress;
    std::function<void(const std::wstring& text)> text;
    std::function<void(int result, int index)> result;
    // Byte progress inside one download.
    UpdaterProgress bytes;
};

// "Use Beta Updater" 2, 1 or anything else to the string id of the version file.
int versionFileStringId(int useBetaUpdater);
// The address with everything before "/windows/" replaced by `base` (no change when `base`
// is empty or the address has no "/windows/").
std::wstring rebasedUpdaterAddress(const std::wstring& address, const std::wstring& base);

// -1, 0 or 1 as the running version is older, the same or newer than the published one.
using VersionComparison = std::function<int(const std::wstring& running, const std::wstring& published)>;

void runVersionCheck(UpdaterState& state, const std::wstring& versionFileAddress, const std::wstring& runningVersion,
                     const VersionComparison& compare, HttpTransport& transport, const std::atomic<bool>& cancel,
                     const UpdaterReports& reports);
void runModuleListFetch(UpdaterState& state, const std::wstring& moduleListAddress, HttpTransport& transport,
                        const std::atomic<bool>& cancel, const UpdaterReports& reports);
// Whether a complete module file (under its temporary name) opens; `conjugation` for ".lxc".
using ModuleAccept = std::function<bool(const std::wstring& temporaryPath, bool conjugation)>;

// Module files go into `moduleFolder`, other files into `dataFolder`; a module that does not
// open (`acceptModule`) is not put in place. `downloadingText` is the explanation with
// "<FILE>" in place of the file name.
void runModuleDownload(UpdaterState& state, const std::wstring& dataFolder, const std::wstring& moduleFolder,
                       const std::wstring& downloadingText, HttpTransport& transport, const std::atomic<bool>& cancel,
                       const UpdaterReports& reports, const ModuleAccept& acceptModule = nullptr);
void runInstallerDownload(UpdaterState& state, const std::wstring& dataFolder, HttpTransport& transport,
                          const std::atomic<bool>& cancel, const UpdaterReports& reports);

// Where a download of `address` may land: false when the server-given name is unsafe.
bool downloadTarget(const std::wstring& address, const std::wstring& dataFolder, const std::wstring& moduleFolder,
                    std::wstring& path);
