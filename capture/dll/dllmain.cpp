// Loading and unloading of the library in a process. Only kernel calls here: nothing that
// reaches the window system runs under the loader lock.
#include <windows.h>

#include "shared.h"
#include "textpatches.h"

using namespace tchk;

namespace {

BOOL attachProcess(HINSTANCE module) {
    g_process.module = module;
    setPatchLibrary(module);
    DisableThreadLibraryCalls(module);
    g_process.tls = TlsAlloc();
    if (g_process.tls == TLS_OUT_OF_INDEXES) return FALSE;
    g_process.mutex = CreateMutexW(nullptr, FALSE, kMutexName);
    if (!g_process.mutex) {
        TlsFree(g_process.tls);
        g_process.tls = TLS_OUT_OF_INDEXES;
        return FALSE;
    }
    SharedLock lock(kMutexWaitMs);
    if (lock.held()) ++g_shared.attachCount;
    return TRUE;
}

void detachProcess() {
    // This process's own functions get their first bytes back.
    if (hooksAreOurs()) {
        g_shared.hooksOn = 0;
        g_shared.hooksProcess = 0;
    }
    unpatchTextFunctions();
    {
        SharedLock lock(kMutexWaitMs);
        if (lock.held()) {
            if (g_shared.attachCount > 0) --g_shared.attachCount;
            // The hook and the fly window end with the process that made them.
            if (g_shared.ownerProcess == GetCurrentProcessId()) {
                g_shared.messageHook = nullptr;
                g_shared.flyWindow = nullptr;
                g_shared.capturing = 0;
                g_shared.ownerProcess = 0;
            }
        }
    }
    CloseHandle(g_process.mutex);
    g_process.mutex = nullptr;
    TlsFree(g_process.tls);
    g_process.tls = TLS_OUT_OF_INDEXES;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) return attachProcess(module);
    if (reason == DLL_PROCESS_DETACH) detachProcess();
    return TRUE;
}
