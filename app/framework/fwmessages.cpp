#include "fwmessages.h"
#include "fwwindow.h"
#include <windowsx.h>

POINT fwPointOf(LPARAM lp) { return POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

bool FwMessageHandlers::dispatchTyped(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    result = 0;
    const UINT keys = static_cast<UINT>(wp);
    switch (msg) {
    case WM_PAINT:
        return onPaint();
    case WM_ERASEBKGND:
        result = TRUE;
        return onEraseBackground(reinterpret_cast<HDC>(wp));
    case WM_SIZE:
        return onSize(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp));
    case WM_MOVE:
        return onMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
    case WM_GETMINMAXINFO:
        return lp && onGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lp));
    case WM_COMMAND:
        // A control's notification is its own business first.
        if (lp && fwReflectNotification(msg, wp, lp, result)) return true;
        return onCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
    case WM_NOTIFY:
        if (!lp) return false;
        if (fwReflectNotification(msg, wp, lp, result)) return true;
        return onNotify(*reinterpret_cast<NMHDR*>(lp), result);
    case WM_TIMER:
        return onTimer(static_cast<UINT_PTR>(wp));
    case WM_CLOSE:
        return onClose();
    case WM_MOUSEMOVE:
        return onMouseMove(fwPointOf(lp), keys);
    case WM_LBUTTONDOWN:
        return onLButtonDown(fwPointOf(lp), keys);
    case WM_LBUTTONUP:
        return onLButtonUp(fwPointOf(lp), keys);
    case WM_LBUTTONDBLCLK:
        return onLButtonDblClk(fwPointOf(lp), keys);
    case WM_RBUTTONDOWN:
        return onRButtonDown(fwPointOf(lp), keys);
    case WM_MOUSEWHEEL:
        return onMouseWheel(GET_WHEEL_DELTA_WPARAM(wp), GET_KEYSTATE_WPARAM(wp), fwPointOf(lp));
    case WM_CAPTURECHANGED:
        return onCaptureChanged(reinterpret_cast<HWND>(lp));
    case WM_SETCURSOR:
        result = TRUE;
        return onSetCursor(reinterpret_cast<HWND>(wp), LOWORD(lp), HIWORD(lp));
    case WM_KEYDOWN:
        return onKeyDown(static_cast<UINT>(wp), static_cast<UINT>(lp));
    case WM_SETFOCUS:
        return onSetFocus(reinterpret_cast<HWND>(wp));
    case WM_KILLFOCUS:
        return onKillFocus(reinterpret_cast<HWND>(wp));
    case WM_GETDLGCODE:
        return onGetDlgCode(result);
    case WM_VSCROLL:
        return onVScroll(LOWORD(wp), reinterpret_cast<HWND>(lp));
    case WM_INITMENUPOPUP:
        return onInitMenuPopup(reinterpret_cast<HMENU>(wp), LOWORD(lp), HIWORD(lp) != 0);
    case WM_MENUSELECT:
        return onMenuSelect(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
    }
    return false;
}
