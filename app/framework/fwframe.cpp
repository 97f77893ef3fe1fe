#include "fwframe.h"
#include "fwapp.h"
#include <commctrl.h>

void FwCmdUI::enable(bool on) {
    EnableMenuItem(menu_, index_, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    handled_ = true;
}

void FwCmdUI::setCheck(bool on) {
    CheckMenuItem(menu_, index_, MF_BYPOSITION | (on ? MF_CHECKED : MF_UNCHECKED));
    handled_ = true;
}

void FwCmdUI::setText(const std::wstring& text) {
    // Keep the key name after a tab, if the item had one.
    wchar_t old[256] = L"";
    GetMenuStringW(menu_, index_, old, 256, MF_BYPOSITION);
    std::wstring o = old, t = text;
    size_t tab = o.find(L'\t');
    if (tab != std::wstring::npos && t.find(L'\t') == std::wstring::npos) t += o.substr(tab);
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_STRING;
    mi.dwTypeData = &t[0];
    SetMenuItemInfoW(menu_, index_, TRUE, &mi);
    handled_ = true;
}

bool FwFrameWindow::createFrame(const wchar_t* className, int resourceId, const std::wstring& title, DWORD style) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    resourceId_ = resourceId;
    HICON icon = LoadIconW(inst, MAKEINTRESOURCEW(resourceId));
    accel_ = LoadAcceleratorsW(inst, MAKEINTRESOURCEW(resourceId));
    return create(className, title.c_str(), style, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  nullptr, nullptr, icon);
}

void FwFrameWindow::showControlBar(FwWindow& bar, bool show) {
    if (!bar.hwnd()) return;
    ShowWindow(bar.hwnd(), show ? SW_SHOWNA : SW_HIDE);
    recalcLayout();
}

void FwFrameWindow::recalcLayout() {
    if (!hwnd_) return;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    int top = 0, bottom = rc.bottom;
    if (toolBar_.hwnd() && IsWindowVisible(toolBar_.hwnd())) {
        SendMessageW(toolBar_.hwnd(), TB_AUTOSIZE, 0, 0);
        top = toolBar_.height();
    }
    if (statusBar_.hwnd() && IsWindowVisible(statusBar_.hwnd())) {
        SendMessageW(statusBar_.hwnd(), WM_SIZE, 0, 0);
        bottom -= statusBar_.height();
    }
    if (view_) MoveWindow(view_, 0, top, rc.right, bottom > top ? bottom - top : 0, TRUE);
}

void FwFrameWindow::setMessageText(int id) {
    if (statusBar_.hwnd()) statusBar_.setText(messageString(id));
}

bool FwFrameWindow::routeCommand(int id) {
    if (viewTarget_ && viewTarget_->onCommand(id)) return true;
    if (onCommand(id)) return true;
    FwApp* app = FwApp::instance();
    return app && app->onCommand(id);
}

void FwFrameWindow::updateMenu(HMENU menu) {
    int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or sub-menu
        FwCmdUI ui(menu, static_cast<UINT>(i), static_cast<int>(id));
        if (viewTarget_ && viewTarget_->onUpdateCommand(ui)) continue;
        if (onUpdateCommand(ui)) continue;
        if (FwApp* app = FwApp::instance()) app->onUpdateCommand(ui);
    }
}

LRESULT FwFrameWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        return onCreate(reinterpret_cast<CREATESTRUCTW*>(lp));
    case WM_SIZE:
        recalcLayout();
        return 0;
    case WM_SETFOCUS:
        if (view_) SetFocus(view_);
        return 0;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lp)) updateMenu(reinterpret_cast<HMENU>(wp));
        return 0;
    case WM_MENUSELECT: {
        UINT flags = HIWORD(wp);
        if (flags == 0xFFFF && lp == 0)
            setMessageText(0xE001);  // menu closed: the idle prompt
        else if (!(flags & (MF_POPUP | MF_SEPARATOR))) {
            UINT id = LOWORD(wp);
            // System-menu commands (SC_SIZE .. SC_RESTORE) have their prompts at 0xEF00 + (id - 0xF000) / 16.
            if (id >= 0xF000 && id < 0xF1F0) id = 0xEF00 + ((id - 0xF000) >> 4);
            setMessageText(static_cast<int>(id));
        }
        return 0;
    }
    case WM_COMMAND: {
        LRESULT r = 0;
        if (lp && fwReflectNotification(msg, wp, lp, r)) return r;
        if (HIWORD(wp) <= 1 && routeCommand(LOWORD(wp))) return 0;
        break;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        if (FwApp::instance() && FwApp::instance()->mainFrame() == this) PostQuitMessage(0);
        break;
    }
    return FwWindow::handleMessage(msg, wp, lp);
}
