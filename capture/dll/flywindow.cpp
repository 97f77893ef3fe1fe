// The fly window: a 300 by 1 pixel topmost strip that each begin lays over the point, the
// receiver of "TCHK_string_captured", and the owner of the capture's timer. Its procedure
// and timer run on the caller's thread and send the caller its notifications.
#include <windows.h>

#include "capture.h"
#include "shared.h"
#include "wordlocator.h"

namespace tchk {

namespace {

const wchar_t kFlyClass[] = L"TCHK_FLYWIN";
bool g_flyClassRegistered = false;

void stopTimer() {
    if (g_shared.flyWindow) KillTimer(g_shared.flyWindow, kCaptureTimerId);
    g_shared.timerId = 0;
}

// Ends the capture and tells the caller what it found. The end comes first: it returns
// only once the target has drawn what it was drawing, so a word still being continued is
// whole before the result is built.
void finishCapture() {
    g_shared.capturing = 0;
    endCapture();
    CaptureText& text = g_shared.text;
    text.join = 0;
    dropPending(text);
    const HWND notify = g_shared.notifyWindow;
    if (text.fragmentCount) {
        buildResult(text, g_shared.result, kResultCapacity);
        text.fragmentCount = 0;
        text.captured = 0;
        sendBounded(notify, kMsgTextCaptured, 0, 0);
    } else {
        sendBounded(notify, kMsgCaptureByAccessibility, 0, 0);
    }
    sendBounded(notify, WM_LBUTTONDOWN, 0, kExchangeClosingPoint);
}

void onWordCaptured() {
    // A late announcement of an earlier capture finds no fragment and changes nothing.
    if (!g_shared.capturing || !g_shared.text.fragmentCount) return;
    stopTimer();
    finishCapture();
}

VOID CALLBACK captureTimedOut(HWND, UINT, UINT_PTR, DWORD) {
    stopTimer();
    if (!g_shared.capturing) return;
    finishCapture();
}

LRESULT CALLBACK flyProcedure(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != 0 && msg == g_shared.capturedMessage) {
        onWordCaptured();
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

bool registerFlyClass() {
    if (g_flyClassRegistered) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = flyProcedure;
    wc.hInstance = g_process.module;
    wc.lpszClassName = kFlyClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    g_flyClassRegistered = true;
    return true;
}

}  // namespace

HWND createFlyWindow() {
    if (!registerFlyClass()) return nullptr;
    // Hidden at first: a top-level window created visible is activated and managed by the
    // window system, and every later move of it waits for a window manager.
    return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kFlyClass, kFlyClass, WS_POPUP, -1000, -1000,
                           kStripWidth, 1, nullptr, nullptr, g_process.module, nullptr);
}

bool startCaptureTimer() {
    const UINT_PTR id = SetTimer(g_shared.flyWindow, kCaptureTimerId, scaledWaitMs(kCaptureTimeoutMs), captureTimedOut);
    g_shared.timerId = id;
    return id != 0;
}

void cancelCapture() {
    if (!g_shared.capturing) return;
    stopTimer();
    g_shared.capturing = 0;
    endCapture();
}

}  // namespace tchk
