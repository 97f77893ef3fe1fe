// Typed message handlers shared by windows and dialogs: the common messages are unpacked
// here once, so that no window decodes wParam and lParam itself. Each handler answers true
// when it handled the message; false sends the message on to the default (or original)
// procedure. Points are client coordinates with their sign; key states are the MK_ flags.
#pragma once
#include <windows.h>
#include <commctrl.h>

class FwMessageHandlers {
public:
    virtual ~FwMessageHandlers() = default;

protected:
    // Painting.
    virtual bool onPaint() { return false; }
    virtual bool onEraseBackground(HDC) { return false; }
    // Geometry.
    virtual bool onSize(UINT kind, int cx, int cy) { return false; }
    virtual bool onMove(int x, int y) { return false; }
    virtual bool onGetMinMaxInfo(MINMAXINFO& info) { return false; }
    // WM_COMMAND: a control's notification (control set) or a menu or accelerator command
    // (control null, code 0 or 1). Reflection has offered it to the control first.
    virtual bool onCommand(int id, int code, HWND control) { return false; }
    // WM_NOTIFY, after reflection to the sender; `result` is the message's answer.
    virtual bool onNotify(NMHDR& header, LRESULT& result) { return false; }
    virtual bool onTimer(UINT_PTR id) { return false; }
    virtual bool onClose() { return false; }
    // Mouse.
    virtual bool onMouseMove(POINT at, UINT keys) { return false; }
    virtual bool onLButtonDown(POINT at, UINT keys) { return false; }
    virtual bool onLButtonUp(POINT at, UINT keys) { return false; }
    virtual bool onLButtonDblClk(POINT at, UINT keys) { return false; }
    virtual bool onRButtonDown(POINT at, UINT keys) { return false; }
    // The wheel's signed delta (120 a notch, positive away from the user); `at` is in
    // screen coordinates, as the message gives it.
    virtual bool onMouseWheel(int delta, UINT keys, POINT at) { return false; }
    virtual bool onCaptureChanged(HWND newCapture) { return false; }
    // Answers TRUE to the message when handled (the cursor was set).
    virtual bool onSetCursor(HWND window, UINT hitTest, UINT mouseMessage) { return false; }
    // Keys and focus.
    virtual bool onKeyDown(UINT key, UINT flags) { return false; }
    virtual bool onSetFocus(HWND previous) { return false; }
    virtual bool onKillFocus(HWND next) { return false; }
    virtual bool onGetDlgCode(LRESULT& code) { return false; }
    // The window's own vertical scroll bar (bar null) or a scroll-bar control's.
    virtual bool onVScroll(int code, HWND bar) { return false; }
    // Menus.
    virtual bool onInitMenuPopup(HMENU menu, int position, bool systemMenu) { return false; }
    virtual bool onMenuSelect(UINT item, UINT flags, HMENU menu) { return false; }

    // Calls the typed handler of a message; true when one handled it, with its answer.
    bool dispatchTyped(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
};

// The point of a mouse message's lParam, sign kept (positions left of or above the client
// area are negative while the mouse is captured).
POINT fwPointOf(LPARAM lp);
