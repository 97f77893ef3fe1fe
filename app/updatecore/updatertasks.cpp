#include "updatertasks.h"
#include "plist.h"

namespace {
constexpr int kStringVersion = 9008, kStringVersionBeta = 9009, kStringVersionAlpha = 9010;
constexpr uint64_t kStepsPerFile = 100;

std::wstring joinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return name;
    wchar_t last = folder.back();
    return last == L'/' || last == L'\\' ? folder + name : folder + L"/" + name;
}

void report(const UpdaterReports& r, uint64_t position, uint64_t total) {
    if (r.progress) r.progress(position, total);
}

std::wstring replaced(std::wstring text, const std::wstring& what, const std::wstring& with) {
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}
}  // namespace

int versionFileStringId(int useBetaUpdater) {
    return useBetaUpdater == 2 ? kStringVersionAlpha : useBetaUpdater == 1 ? kStringVersionBeta : kStringVersion;
}

std::wstring rebasedUpdaterAddress(const std::wstring& address, const std::wstring& base) {
    size_t at = address.find(L"/windows/");
    if (base.empty() || at == std::wstring::npos) return address;
    std::wstring b = base;
    while (!b.empty() && b.back() == L'/') b.pop_back();
    return b + address.substr(at);
}

bool downloadTarget(const std::wstring& address, const std::wstring& dataFolder, const std::wstring& moduleFolder,
                    std::wstring& path) {
    std::wstring name = lastAddressPart(address);
    path.clear();
    if (!isSafeLocalFileName(name)) return false;
    path = joinPath(isModuleFileName(name) ? moduleFolder : dataFolder, name);
    return true;
}

void runVersionCheck(UpdaterState& state, const std::wstring& address, const std::wstring& runningVersion,
                     const VersionComparison& compare, HttpTransport& transport, const std::atomic<bool>& cancel,
                     const UpdaterReports& reports) {
    report(reports, 0, 100);
    report(reports, 50, 100);
    state.installerAddress.clear();
    state.latestVersion.clear();
    std::wstring text;
    bool newer = false;
    if (fetchUpdaterText(address, transport, cancel, text) == kUpdaterOk) {
        readPlistValue(text, L"InstallerURL", L"string", state.installerAddress);
        readPlistValue(text, L"VersionString", L"string", state.latestVersion);
        newer = !state.installerAddress.empty() && !state.latestVersion.empty() &&
                compare(runningVersion, state.latestVersion) == -1;
    }
    report(reports, 100, 100);
    reports.result(newer ? kResultUpdateAvailable : kResultUpToDate, 0);
}

void runModuleListFetch(UpdaterState& state, const std::wstring& address, HttpTransport& transport,
                        const std::atomic<bool>& cancel, const UpdaterReports& reports) {
    report(reports, 0, 100);
    report(reports, 50, 100);
    int code = fetchUpdaterText(address, transport, cancel, state.moduleListText);
    report(reports, 100, 100);
    reports.result(code == kUpdaterOk ? kResultModuleListFetched : kResultModuleListFailed, 0);
}

void runModuleDownload(UpdaterState& state, const std::wstring& dataFolder, const std::wstring& moduleFolder,
                       const std::wstring& downloadingText, HttpTransport& transport, const std::atomic<bool>& cancel,
                       const UpdaterReports& reports, const ModuleAccept& acceptModule) {
    state.downloaded.clear();
    const size_t n = state.downloadList.size();
    const uint64_t total = kStepsPerFile * n;
    report(reports, 0, total);
    for (size_t i = 0; i < n; ++i) {
        const std::wstring& address = state.downloadList[i];
        std::wstring path;
        bool safe = downloadTarget(address, dataFolder, moduleFolder, path);
        const std::wstring name = lastAddressPart(address);
        if (reports.text) reports.text(replaced(downloadingText, L"<FILE>", name) + L"...");
        UpdaterAccept accept;
        if (acceptModule && isModuleFileName(name)) {
            const bool conjugation = name.size() >= 4 && (name.back() == L'c' || name.back() == L'C');
            accept = [&acceptModule, conjugation](const std::wstring& temp) { return acceptModule(temp, conjugation); };
        }
        if (!safe || downloadUpdaterFile(address, path, transport, cancel, reports.bytes, accept) != kUpdaterOk) {
            reports.result(kResultModuleDownloadFailed, static_cast<int>(i));
            return;
        }
        state.downloaded.push_back(path);
        report(reports, kStepsPerFile * (i + 1), total);
    }
    reports.result(kResultModulesDownloaded, 0);
}

void runInstallerDownload(UpdaterState& state, const std::wstring& dataFolder, HttpTransport& transport,
                          const std::atomic<bool>& cancel, const UpdaterReports& reports) {
    std::wstring path;
    state.installerPath.clear();
    // An installer is never a module: it stays in the program's folder whatever its name.
    bool ok = downloadTarget(state.installerAddress, dataFolder, dataFolder, path) &&
              downloadUpdaterFile(state.installerAddress, path, transport, cancel, reports.bytes) == kUpdaterOk;
    if (ok) state.installerPath = path;
    reports.result(ok ? kResultInstallerDownloaded : kResultInstallerFailed, 0);
}
