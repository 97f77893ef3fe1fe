// The global message hook: the activation click or key in any program, and the capture
// requests that reach the target process with the "TCHK" message.
#include <windows.h>

#include "capture.h"
#include "shared.h"

extern "C" void WINAPI SetAllTextHooks();
extern "C" void WINAPI UnhookAllTextHooks();

namespace tchk {

namespace {

constexpr LPARAM kKeyWasDown = 1 << 30;  // an auto-repeated key press

ActivationButton buttonOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        return kLeftButton;
    case WM_MBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return kMiddleButton;
    case WM_RBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        return kRightButton;
    default:
        return kKeyPress;
    }
}

bool isClientMouseMessage(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST; }

// The modifier is down as the thread sees it, or as the message says: a click on a program
// that is not in the foreground carries MK_CONTROL and MK_SHIFT while that program's own key
// state does not show the key yet.
bool keyDown(int key, const MSG& m) {
    if (GetKeyState(key) < 0) return true;
    if (m.message == WM_KEYDOWN) return static_cast<int>(m.wParam) == key;
    if (isClientMouseMessage(m.message)) {
        if (key == VK_CONTROL && (m.wParam & MK_CONTROL)) return true;
        if (key == VK_SHIFT && (m.wParam & MK_SHIFT)) return true;
    }
    return GetAsyncKeyState(key) < 0;
}

bool isTrigger(const MSG& m) {
    const int key = g_shared.activationKey;
    const int button = g_shared.activationButton;
    if (button == kKeyPress)
        return m.message == WM_KEYDOWN && key != 0 && !(m.lParam & kKeyWasDown) && keyDown(key, m);
    const ActivationButton b = buttonOf(m.message);
    return b != kKeyPress && b == button && (key == 0 || keyDown(key, m));
}

}  // namespace

LRESULT CALLBACK messageHook(int code, WPARAM removal, LPARAM message) {
    if (code == HC_ACTION && message) {
        MSG* m = reinterpret_cast<MSG*>(message);
        // A message only looked at (PM_NOREMOVE) comes again when it is taken.
        if (removal == PM_REMOVE && isTrigger(*m)) {
            PostMessageW(g_shared.notifyWindow, kMsgBeginCapture, 0, 0);
            if (g_shared.swallow) m->message = WM_NULL;
        } else {
            applyPendingRequest();
        }
    }
    return CallNextHookEx(nullptr, code, removal, message);
}

void applyPendingRequest() {
    const LONG request = g_shared.request;
    if (request == g_process.appliedRequest || g_shared.targetProcess != GetCurrentProcessId()) return;
    SharedLock lock(kMutexWaitMs);
    if (!lock.held()) return;  // the next message tries again
    // Another thread of this process may have applied it while this one waited.
    if (request != g_shared.request || request == g_process.appliedRequest) return;
    if (request == kRequestCapture) {
        g_process.capturePoint = g_shared.capturePoint;
        g_process.targetThread = GetWindowThreadProcessId(g_shared.targetWindow, nullptr);
        if (!hooksActive()) SetAllTextHooks();
    } else {
        if (hooksAreOurs()) UnhookAllTextHooks();
        g_process.targetThread = 0;
    }
    // Stored at both: the caller may ask for the path as soon as it is told the outcome,
    // before this process has taken the end's message.
    g_shared.targetPath[0] = 0;
    if (g_shared.targetWindow)
        programPathFromCommandLine(reinterpret_cast<const char16_t*>(GetCommandLineW()), g_shared.targetPath);
    g_process.appliedRequest = request;
}

}  // namespace tchk
