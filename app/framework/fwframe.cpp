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
    accel_ = LoadAcceleratorsW(inst, MAKEINTRESOURCEW(resourceId));
    FwCreateParams p;
    p.className = className;
    p.title = title.c_str();
    p.style = style;
    p.x = p.y = p.width = p.height = CW_USEDEFAULT;
    p.icon = LoadIconW(inst, MAKEINTRESOURCEW(resourceId));
    return create(p);
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

FwCommandTarget* FwFrameWindow::viewTarget() const {
    return dynamic_cast<FwCommandTarget*>(FwWindow::fromHandle(view_));
}

bool FwFrameWindow::routeCommand(int id) {
    if (FwCommandTarget* view = viewTarget())
        if (view->onRoutedCommand(id)) return true;
    if (onRoutedCommand(id)) return true;
    FwApp* app = FwApp::instance();
    return app && app->onRoutedCommand(id);
}

void FwFrameWindow::updateMenu(HMENU menu) {
    int n = GetMenuItemCount(menu);
    FwCommandTarget* view = viewTarget();
    for (int i = 0; i < n; ++i) {
        UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or sub-menu
        FwCmdUI ui(menu, static_cast<UINT>(i), static_cast<int>(id));
        if (view && view->onUpdateCommandUI(ui)) continue;
        if (onUpdateCommandUI(ui)) continue;
        if (FwApp* app = FwApp::instance()) app->onUpdateCommandUI(ui);
    }
}

bool FwFrameWindow::onSize(UINT, int, int) {
    recalcLayout();
    return true;
}

bool FwFrameWindow::onSetFocus(HWND) {
    if (view_) SetFocus(view_);
    return true;
}

bool FwFrameWindow::onInitMenuPopup(HMENU menu, int, bool systemMenu) {
    if (!systemMenu) updateMenu(menu);
    return true;
}

bool FwFrameWindow::onMenuSelect(UINT item, UINT flags, HMENU menu) {
    if (flags == 0xFFFF && !menu) {
        setMessageText(kFwIdleMessage);  // menu closed: the idle prompt
    } else if (!(flags & (MF_POPUP | MF_SEPARATOR))) {
        // System-menu commands (SC_SIZE .. SC_RESTORE) have their prompts at
        // 0xEF00 + (id - 0xF000) / 16.
        if (item >= kFwFirstSysCommand && item < kFwEndSysCommands)
            item = kFwFirstSysPrompt + ((item - kFwFirstSysCommand) >> 4);
        setMessageText(static_cast<int>(item));
    }
    return true;
}

bool FwFrameWindow::onCommand(int id, int code, HWND control) {
    // Menus, accelerators and toolbar buttons (a toolbar sends its button clicks as
    // commands with itself as the control).
    if (code > 1) return false;
    return routeCommand(id);
}

bool FwFrameWindow::onClose() {
    DestroyWindow(hwnd_);
    return true;
}

void FwFrameWindow::onDestroy() {
    if (FwApp::instance() && FwApp::instance()->mainFrame() == this) PostQuitMessage(0);
}
