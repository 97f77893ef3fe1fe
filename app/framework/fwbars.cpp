#include "fwbars.h"
#include <commctrl.h>

bool FwToolBar::create(HWND parent, DWORD style, int id) {
    HWND h = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!h) return false;
    subclass(h, true);
    SendMessageW(h, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return true;
}

bool FwToolBar::loadToolBar(int resourceId) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(inst, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(kFwToolBarResourceType));
    if (!res) return false;
    HGLOBAL g = LoadResource(inst, res);
    const WORD* data = g ? static_cast<const WORD*>(LockResource(g)) : nullptr;
    DWORD size = SizeofResource(inst, res);
    // The count comes from the file: it must fit in what the resource really holds.
    if (!data || size < 8 || data[0] != 1) return false;
    WORD width = data[1], height = data[2], count = data[3];
    if (size < 8u + 2u * count) return false;
    SendMessageW(hwnd_, TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (WORD i = 0; i < count; ++i) {
        TBBUTTON b{};
        int cmd = data[4 + i];
        if (cmd == 0) {
            b.fsStyle = BTNS_SEP;
        } else {
            b.iBitmap = image++;
            b.idCommand = cmd;
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
        }
        b.iString = -1;
        buttons.push_back(b);
        ids_.push_back(cmd);
    }
    if (!buttons.empty())
        SendMessageW(hwnd_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(hwnd_, TB_AUTOSIZE, 0, 0);
    return true;
}

void FwToolBar::setImageList(HIMAGELIST list) {
    SendMessageW(hwnd_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    SendMessageW(hwnd_, TB_AUTOSIZE, 0, 0);
}

void FwToolBar::hideButton(int commandId, bool hide) {
    // Hiding lays the toolbar out and repaints it; a button already so is left alone.
    if (isButtonHidden(commandId) == hide) return;
    SendMessageW(hwnd_, TB_HIDEBUTTON, commandId, MAKELPARAM(hide ? TRUE : FALSE, 0));
}

bool FwToolBar::isButtonHidden(int commandId) const {
    return SendMessageW(hwnd_, TB_ISBUTTONHIDDEN, commandId, 0) != 0;
}

HWND FwToolBar::tooltips() const {
    return reinterpret_cast<HWND>(SendMessageW(hwnd_, TB_GETTOOLTIPS, 0, 0));
}

int FwToolBar::height() const {
    RECT r{};
    if (!hwnd_ || !IsWindowVisible(hwnd_)) return 0;
    GetWindowRect(hwnd_, &r);
    return r.bottom - r.top;
}

bool FwStatusBar::create(HWND parent, DWORD style, int id) {
    HWND h = CreateWindowExW(0, STATUSCLASSNAMEW, L"", style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!h) return false;
    subclass(h, true);
    int parts[1] = {-1};
    SendMessageW(h, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    return true;
}

void FwStatusBar::setText(const std::wstring& text) {
    SendMessageW(hwnd_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int FwStatusBar::height() const {
    RECT r{};
    if (!hwnd_ || !IsWindowVisible(hwnd_)) return 0;
    GetWindowRect(hwnd_, &r);
    return r.bottom - r.top;
}
