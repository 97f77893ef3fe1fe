#include "updater.h"
#include "lxapp.h"
#include "lxconjugationadapter.h"
#include "lxdoc.h"
#include "modulecheck.h"
#include "lxframe.h"
#include "settings.h"
#include "updater_http.h"
#include <shellapi.h>
#include <memory>
#include <mutex>

namespace {
constexpr int kModuleListString = 9012, kModuleFolderString = 8009, kDownloadingString = 13520;

UpdaterState gState;
std::atomic<bool> gRunning{false};
std::mutex gActiveLock;
WinInetTransport* gActive = nullptr;

struct TaskStart {
    UpdaterTask task;
    HWND frame;
    std::wstring dataFolder;
};

void setActive(WinInetTransport* t) {
    std::lock_guard<std::mutex> g(gActiveLock);
    gActive = t;
}

UpdaterReports reportsTo(HWND frame) {
    UpdaterReports r;
    r.progress = [frame](uint64_t p, uint64_t t) {
        SendMessageW(frame, WM_UPDATER_PROGRESS, static_cast<WPARAM>(p), static_cast<LPARAM>(t));
    };
    r.text = [frame](const std::wstring& s) { SendMessageW(frame, WM_PROGRESS_SETTEXT, 0, reinterpret_cast<LPARAM>(s.c_str())); };
    r.bytes = [frame](uint64_t s, uint64_t t) {
        PostMessageW(frame, WM_UPDATER_PROGRESS, static_cast<WPARAM>(s), static_cast<LPARAM>(t));
    };
    r.result = [frame](int code, int index) {
        // The task is over for the frame once its result is on the way: the frame may start
        // the next one while handling it.
        setActive(nullptr);
        gRunning = false;
        PostMessageW(frame, WM_UPDATER_RESULT, static_cast<WPARAM>(code), static_cast<LPARAM>(index));
    };
    return r;
}

// A downloaded module must open as the document will open it.
bool moduleOpens(const std::wstring& temporaryPath, bool conjugation) {
    lxstring path;
    toEngineString(temporaryPath, path);
    return isUsableModuleFile(path, conjugation, acceptedModuleProducts(), &LXCreateConjugationEngine);
}

int compareForUpdate(const std::wstring& running, const std::wstring& published) {
    return compareVersions(running, published);
}

DWORD WINAPI taskThread(LPVOID p) {
    std::unique_ptr<TaskStart> start(static_cast<TaskStart*>(p));
    auto transport = std::make_unique<WinInetTransport>();
    setActive(transport.get());
    UpdaterReports reports = reportsTo(start->frame);
    switch (start->task) {
    case kUpdaterVersionCheck:
        runVersionCheck(gState, updaterAddress(versionFileStringId(getSettingInt(kSetUseBetaUpdater))),
                        currentVersionString(), compareForUpdate, *transport, gUpdaterCancel, reports);
        break;
    case kUpdaterModuleList:
        runModuleListFetch(gState, updaterAddress(kModuleListString), *transport, gUpdaterCancel, reports);
        break;
    case kUpdaterModuleDownload:
        runModuleDownload(gState, start->dataFolder, moduleFolder(start->dataFolder),
                          loadLocalizedString(kDownloadingString), *transport, gUpdaterCancel, reports, moduleOpens);
        break;
    case kUpdaterInstallerDownload:
        runInstallerDownload(gState, start->dataFolder, *transport, gUpdaterCancel, reports);
        break;
    }
    setActive(nullptr);
    return 0;
}
}  // namespace

UpdaterState& updaterState() { return gState; }

bool updaterTaskRunning() { return gRunning; }

std::wstring moduleFolder(const std::wstring& dataFolder) { return dataFolder + L"/" + loadRawString(kModuleFolderString); }

std::wstring updaterAddress(int stringId) {
    wchar_t base[1024];
    DWORD n = GetEnvironmentVariableW(L"WORDMERE_UPDATE_BASE", base, 1024);
    return rebasedUpdaterAddress(loadRawString(stringId), n > 0 && n < 1024 ? std::wstring(base, n) : std::wstring());
}

bool runInstallerSilently(const std::wstring& path, HWND owner) {
    if (path.empty()) return false;
    HINSTANCE r = ShellExecuteW(owner, L"open", path.c_str(), L"/VERYSILENT", nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(r) > 32;
}

bool startUpdaterTask(UpdaterTask task, HWND frame) {
    if (!frame || gRunning.exchange(true)) return false;
    auto* start = new TaskStart{task, frame, ::dataFolder()};
    HANDLE thread = CreateThread(nullptr, 0, taskThread, start, 0, nullptr);
    if (!thread) {
        delete start;
        gRunning = false;
        return false;
    }
    CloseHandle(thread);
    return true;
}

void cancelUpdaterTask() {
    gUpdaterCancel = true;
    std::lock_guard<std::mutex> g(gActiveLock);
    if (gActive) gActive->abort();
}
