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
constexpr DWORD kConnectionQuestionMs = 15000;

// One task as the frame sees it: its own cancel flag and transport, a copy of the shared state
// it works on (published with its result), and whether it is over for the frame (its result
// posted, by the task or by a cancel). A task the user cancelled is over at once: where a
// blocked request goes on waiting after its connection is closed (an emulated Wine), its
// thread ends later by itself and reports nothing.
struct TaskControl {
    UpdaterTask task;
    HWND frame;
    int today = 0;
    std::wstring dataFolder;
    UpdaterState state;
    std::atomic<bool> cancel{false}, over{false};
    std::atomic<int> filesBegun{0};
    std::unique_ptr<WinInetTransport> transport;  // set and read under gLock
};

UpdaterState gState;
std::mutex gLock;  // guards gCurrent, each task's transport pointer and the publication of gState
std::shared_ptr<TaskControl> gCurrent;  // the task the frame waits for

// The result a cancelled task gives: what it would report once its request failed.
void resultOfCancel(const TaskControl& c, int& code, int& index) {
    index = 0;
    switch (c.task) {
    case kUpdaterVersionCheck:
    case kUpdaterAutomaticCheck: code = kResultUpToDate; break;
    case kUpdaterModuleList: code = kResultModuleListFailed; break;
    case kUpdaterModuleDownload:
        code = kResultModuleDownloadFailed;
        index = c.filesBegun > 0 ? c.filesBegun - 1 : 0;
        break;
    case kUpdaterInstallerDownload: code = kResultInstallerFailed; break;
    }
}

// Ends the task for the frame once: publishes what it found (when `publish`) and posts its
// result; false when it was over already.
bool finish(const std::shared_ptr<TaskControl>& c, int code, int index, bool publish) {
    std::lock_guard<std::mutex> g(gLock);
    if (c->over.exchange(true)) return false;
    if (publish) gState = c->state;
    // The task is over for the frame once its result is on the way: the frame may start the
    // next one while handling it.
    if (gCurrent == c) gCurrent.reset();
    PostMessageW(c->frame, WM_UPDATER_RESULT, static_cast<WPARAM>(code), static_cast<LPARAM>(index));
    return true;
}

UpdaterReports reportsOf(const std::shared_ptr<TaskControl>& c) {
    UpdaterReports r;
    HWND frame = c->frame;
    TaskControl* t = c.get();
    r.progress = [frame, t](uint64_t p, uint64_t total) {
        if (!t->over) SendMessageW(frame, WM_UPDATER_PROGRESS, static_cast<WPARAM>(p), static_cast<LPARAM>(total));
    };
    r.text = [frame, t](const std::wstring& s) {
        ++t->filesBegun;
        if (!t->over) SendMessageW(frame, WM_PROGRESS_SETTEXT, 0, reinterpret_cast<LPARAM>(s.c_str()));
    };
    r.bytes = [frame, t](uint64_t sum, uint64_t total) {
        if (!t->over) PostMessageW(frame, WM_UPDATER_PROGRESS, static_cast<WPARAM>(sum), static_cast<LPARAM>(total));
    };
    r.result = [c](int code, int index) { finish(c, code, index, true); };
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

DWORD WINAPI askConnection(LPVOID p) {
    std::shared_ptr<std::atomic<int>> answer = *static_cast<std::shared_ptr<std::atomic<int>>*>(p);
    delete static_cast<std::shared_ptr<std::atomic<int>>*>(p);
    DWORD flags = 0;
    answer->store(InternetGetConnectedState(&flags, 0) ? 1 : 0);
    return 0;
}

// Whether the system reports an internet connection. The question goes to the system's network
// service, which can take long or never answer (an emulated Wine): after a while without an
// answer the connection counts as missing, and the asking thread is left to end by itself.
bool systemReportsConnection() {
    auto answer = std::make_shared<std::atomic<int>>(-1);
    auto* hold = new std::shared_ptr<std::atomic<int>>(answer);
    HANDLE asking = CreateThread(nullptr, 0, askConnection, hold, 0, nullptr);
    if (!asking) {
        delete hold;
        return false;
    }
    WaitForSingleObject(asking, kConnectionQuestionMs);
    CloseHandle(asking);
    return *answer == 1;
}

void runTask(TaskControl& c, HttpTransport& transport, const UpdaterReports& reports) {
    switch (c.task) {
    case kUpdaterAutomaticCheck:
        if (!systemReportsConnection()) {
            reports.result(kResultUpToDate, 0);
            return;
        }
        setSettingInt(kSetLastUpdate, c.today);
        [[fallthrough]];
    case kUpdaterVersionCheck:
        runVersionCheck(c.state, updaterAddress(versionFileStringId(getSettingInt(kSetUseBetaUpdater))),
                        currentVersionString(), compareForUpdate, transport, c.cancel, reports);
        break;
    case kUpdaterModuleList:
        runModuleListFetch(c.state, updaterAddress(kModuleListString), transport, c.cancel, reports);
        break;
    case kUpdaterModuleDownload:
        runModuleDownload(c.state, c.dataFolder, moduleFolder(c.dataFolder), loadLocalizedString(kDownloadingString),
                          transport, c.cancel, reports, moduleOpens);
        break;
    case kUpdaterInstallerDownload:
        runInstallerDownload(c.state, c.dataFolder, transport, c.cancel, reports);
        break;
    }
}

DWORD WINAPI taskThread(LPVOID p) {
    std::shared_ptr<TaskControl> c = *static_cast<std::shared_ptr<TaskControl>*>(p);
    delete static_cast<std::shared_ptr<TaskControl>*>(p);
    WinInetTransport* transport = nullptr;
    {
        std::lock_guard<std::mutex> g(gLock);
        c->transport = std::make_unique<WinInetTransport>();
        transport = c->transport.get();
    }
    // Cancelled before the transport was there: nothing is asked of the server.
    if (c->cancel) transport->abort();
    runTask(*c, *transport, reportsOf(c));
    return 0;
}

// Closes the cancelled task's connection on a thread of its own: the user-interface thread
// never waits on a request being closed.
DWORD WINAPI abortThread(LPVOID p) {
    std::shared_ptr<TaskControl> c = *static_cast<std::shared_ptr<TaskControl>*>(p);
    delete static_cast<std::shared_ptr<TaskControl>*>(p);
    WinInetTransport* transport = nullptr;
    {
        std::lock_guard<std::mutex> g(gLock);
        transport = c->transport.get();
    }
    if (transport) transport->abort();
    return 0;
}
}  // namespace

UpdaterState& updaterState() { return gState; }

bool updaterTaskRunning() {
    std::lock_guard<std::mutex> g(gLock);
    return gCurrent != nullptr;
}

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

bool startUpdaterTask(UpdaterTask task, HWND frame, int today) {
    if (!frame) return false;
    auto c = std::make_shared<TaskControl>();
    c->task = task;
    c->frame = frame;
    c->today = today;
    c->dataFolder = ::dataFolder();
    {
        std::lock_guard<std::mutex> g(gLock);
        if (gCurrent) return false;
        c->state = gState;
        gCurrent = c;
    }
    auto* hold = new std::shared_ptr<TaskControl>(c);
    HANDLE thread = CreateThread(nullptr, 0, taskThread, hold, 0, nullptr);
    if (!thread) {
        delete hold;
        std::lock_guard<std::mutex> g(gLock);
        gCurrent.reset();
        return false;
    }
    CloseHandle(thread);
    return true;
}

void cancelUpdaterTask() {
    gUpdaterCancel = true;
    std::shared_ptr<TaskControl> c;
    {
        std::lock_guard<std::mutex> g(gLock);
        c = gCurrent;
    }
    if (!c) return;
    c->cancel = true;
    auto* hold = new std::shared_ptr<TaskControl>(c);
    HANDLE closer = CreateThread(nullptr, 0, abortThread, hold, 0, nullptr);
    if (closer)
        CloseHandle(closer);
    else
        delete hold;
    int code = 0, index = 0;
    resultOfCancel(*c, code, index);
    finish(c, code, index, false);
}
