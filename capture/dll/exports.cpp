// The library's control functions, called by the program (and by the hook in the target).
#include <windows.h>

#include "capture.h"
#include "shared.h"
#include "textpatches.h"
#include "tchk.h"

using namespace tchk;

namespace {

constexpr DWORD kRestoreWaitMs = 500;
constexpr DWORD kRestorePollMs = 5;
constexpr DWORD kPreviousTargetWaitMs = 150;

// The hook and fly window of a process that is gone are no more.
void forgetDeadOwner() {
    if (g_shared.ownerProcess == 0 || processAlive(g_shared.ownerProcess)) return;
    g_shared.messageHook = nullptr;
    g_shared.flyWindow = nullptr;
    g_shared.capturing = 0;
    g_shared.timerId = 0;
    g_shared.ownerProcess = 0;
}

bool ownedHere() { return g_shared.ownerProcess == GetCurrentProcessId(); }

// Called with the mutex held.
void removeHookAndFlyWindow() {
    if (g_shared.messageHook && ownedHere()) UnhookWindowsHookEx(g_shared.messageHook);
    g_shared.messageHook = nullptr;
    if (g_shared.flyWindow && ownedHere()) DestroyWindow(g_shared.flyWindow);
    g_shared.flyWindow = nullptr;
    g_shared.ownerProcess = 0;
}

// Another process that still has its functions patched restores them through its hook, so
// the hook stays until it has done so (or a short wait is over).
void waitForTargetRestore() {
    for (DWORD waited = 0; hooksActive() && !hooksAreOurs() && waited < scaledWaitMs(kRestoreWaitMs); waited += kRestorePollMs)
        Sleep(kRestorePollMs);
}

// The previous target restores its functions as soon as it takes the message the end posted
// to it; a begin right after a capture waits briefly for that rather than being refused.
bool previousTargetRestored() {
    for (DWORD waited = 0; hooksActive(); waited += kRestorePollMs) {
        if (waited >= scaledWaitMs(kPreviousTargetWaitMs)) return false;
        Sleep(kRestorePollMs);
    }
    return true;
}

// The strip around the point, one pixel high, invalidated in the window's client
// coordinates: the target repaints it after the request message posted before.
void invalidateStrip(HWND target, const POINT& p) {
    RECT r{p.x - kStripHalfWidth, p.y, p.x + kStripHalfWidth, p.y + 1};
    MapWindowPoints(nullptr, target, reinterpret_cast<POINT*>(&r), 2);
    RedrawWindow(target, &r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void moveFly(HWND fly, int x, int y, UINT flags) {
    SetWindowPos(fly, HWND_TOPMOST, x, y, kStripWidth, 1, SWP_NOACTIVATE | flags);
}

}  // namespace

extern "C" {

HWND WINAPI TCHKInitTextCapture(HMODULE, HWND notifyWindow) {
    g_shared.capturedMessage = capturedMessage();
    requestMessage();
    SharedLock lock(kControlMutexWaitMs);
    if (!lock.held()) return nullptr;
    forgetDeadOwner();
    g_shared.notifyWindow = notifyWindow;
    if (!g_shared.messageHook) {
        HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, messageHook, g_process.module, 0);
        if (!hook) return nullptr;
        g_shared.messageHook = hook;
        g_shared.ownerProcess = GetCurrentProcessId();
    }
    if (!g_shared.flyWindow || !IsWindow(g_shared.flyWindow)) {
        g_shared.flyWindow = createFlyWindow();
        if (!g_shared.flyWindow) {
            removeHookAndFlyWindow();
            return nullptr;
        }
    }
    return g_shared.flyWindow;
}

void WINAPI TCHKDisableTextCapture() {
    cancelCapture();
    waitForTargetRestore();
    SharedLock lock(kControlMutexWaitMs);
    removeHookAndFlyWindow();
}

UINT_PTR WINAPI TCHKBeginTextCapture(const POINT* point) {
    if (g_shared.capturing) return 1;
    if (!point || !g_shared.flyWindow || !previousTargetRestored()) return 0;
    const HWND fly = g_shared.flyWindow;
    clearFragment(g_shared.text);
    g_shared.targetPath[0] = 0;
    moveFly(fly, point->x - kStripHalfWidth, point->y - 1, SWP_NOREDRAW | SWP_SHOWWINDOW);

    g_shared.capturing = 1;
    g_shared.capturePoint = {point->x, point->y};
    const HWND target = WindowFromPoint(*point);
    DWORD pid = kNoProcess;
    if (target) GetWindowThreadProcessId(target, &pid);
    g_shared.targetWindow = target;
    g_shared.targetProcess = pid;
    InterlockedExchange(&g_shared.request, kRequestCapture);
    if (pid == GetCurrentProcessId())
        applyPendingRequest();
    else if (target)
        PostMessageW(target, requestMessage(), 0, 0);
    if (target) invalidateStrip(target, *point);
    moveFly(fly, -1, -1, 0);

    if (!startCaptureTimer()) {
        g_shared.capturing = 0;
        endCapture();
        return 0;
    }
    return g_shared.timerId;
}

void WINAPI TCHKEndTextCapture() { endCapture(); }

BOOL WINAPI TCHKCopyCapturedText(wchar_t* buffer, int capacity) {
    if (!buffer) return FALSE;
    const int n = boundedLength(g_shared.result, kResultCapacity - 1);
    if (capacity < n + 1) return FALSE;
    for (int i = 0; i < n; ++i) buffer[i] = static_cast<wchar_t>(g_shared.result[i]);
    buffer[n] = 0;
    return TRUE;
}

void WINAPI TCHKGetProcessFileName(wchar_t* buffer) {
    if (!buffer) return;
    const int n = boundedLength(g_shared.targetPath, kPathCapacity - 1);
    for (int i = 0; i < n; ++i) buffer[i] = static_cast<wchar_t>(g_shared.targetPath[i]);
    buffer[n] = 0;
}

void WINAPI TCHKSetActivationMethod(int virtualKey, int button, BOOL swallow) {
    g_shared.activationKey = virtualKey;
    g_shared.activationButton = button;
    g_shared.swallow = swallow ? 1 : 0;
}

void WINAPI SetAllTextHooks() {
    g_shared.hooksOn = 1;
    g_shared.hooksProcess = GetCurrentProcessId();
    g_shared.text.captured = 0;
    g_shared.text.boxCount = 0;
    g_shared.text.line[0] = 0;
    g_shared.text.lineLength = 0;
    patchTextFunctions();
}

void WINAPI UnhookAllTextHooks() {
    // Only the process that patched clears the flag: any process that unloads the
    // library restores its own functions here.
    if (hooksAreOurs()) {
        g_shared.hooksOn = 0;
        g_shared.hooksProcess = 0;
    }
    unpatchTextFunctions();
}

}  // extern "C"

namespace tchk {

void endCapture() {
    InterlockedExchange(&g_shared.request, kRequestNone);
    const HWND target = g_shared.targetWindow;
    if (g_shared.targetProcess == GetCurrentProcessId()) {
        applyPendingRequest();
    } else if (target) {
        sendBounded(target, requestMessage(), 0, 0);
        PostMessageW(target, requestMessage(), 0, 0);
    }
}

}  // namespace tchk
