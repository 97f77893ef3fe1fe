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

// One task as the frame sees it: its own cancel flag and transport, a copy of the shared state
// it works on (published with its result), and whether it is over for the frame (its result
// posted, by the task or by a cancel). A task the user cancelled is over at once: where a
// request blocked inside the system waits on until its time-out (Wine), the task ends then
// without reporting anything, and the next task waits for it.
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
SystemLock gLock;  // guards gCurrent, gQueued, each task's transport pointer and the publication of gState
std::shared_ptr<TaskControl> gCurrent;  // the task the frame waits for
std::shared_ptr<TaskControl> gQueued;   // handed to the updater's thread, not yet taken
HANDLE gWake = nullptr;                 // set when a task is queued

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
    std::lock_guard<SystemLock> g(gLock);
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

bool systemReportsConnection() {
    DWORD flags = 0;
    return InternetGetConnectedState(&flags, 0) != FALSE;
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

void runQueued(const std::shared_ptr<TaskControl>& c) {
    WinInetTransport* transport = nullptr;
    {
        std::lock_guard<SystemLock> g(gLock);
        c->transport = std::make_unique<WinInetTransport>();
        transport = c->transport.get();
    }
    // Cancelled before the transport was there: nothing is asked of the server.
    if (c->cancel) transport->abort();
    runTask(*c, *transport, reportsOf(c));
}

// The updater's one thread, for the life of the program: it runs the tasks handed to it one
// after the other. (Under an emulated Wine a thread's end can end the whole program.) A task
// cancelled before its turn is skipped.
DWORD WINAPI updaterThread(LPVOID) {
    for (;;) {
        WaitForSingleObject(gWake, INFINITE);
        std::shared_ptr<TaskControl> c;
        {
            std::lock_guard<SystemLock> g(gLock);
            c.swap(gQueued);
        }
        if (c && !c->over) runQueued(c);
    }
}

bool updaterThreadRunning() {
    static const bool started = [] {
        gWake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        if (!gWake) return false;
        HANDLE thread = CreateThread(nullptr, 0, updaterThread, nullptr, 0, nullptr);
        if (!thread) return false;
        CloseHandle(thread);
        return true;
    }();
    return started;
}
}  // namespace

UpdaterState& updaterState() { return gState; }

bool updaterTaskRunning() {
    std::lock_guard<SystemLock> g(gLock);
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
    if (!frame || !updaterThreadRunning()) return false;
    auto c = std::make_shared<TaskControl>();
    c->task = task;
    c->frame = frame;
    c->today = today;
    c->dataFolder = ::dataFolder();
    {
        std::lock_guard<SystemLock> g(gLock);
        if (gCurrent) return false;
        c->state = gState;
        gCurrent = c;
        gQueued = c;
    }
    SetEvent(gWake);
    return true;
}

void cancelUpdaterTask() {
    gUpdaterCancel = true;
    std::shared_ptr<TaskControl> c;
    {
        std::lock_guard<SystemLock> g(gLock);
        c = gCurrent;
        if (c) {
            c->cancel = true;
            if (c->transport) c->transport->abort();
        }
    }
    if (!c) return;
    int code = 0, index = 0;
    resultOfCancel(*c, code, index);
    finish(c, code, index, false);
}
