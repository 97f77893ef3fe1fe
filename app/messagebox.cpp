#include "messagebox.h"
#include <algorithm>

CYesNoMessageBox::CYesNoMessageBox(const std::wstring& yes, const std::wstring& no, const std::wstring& cancel,
                                   HWND parent, bool centreOnPointer, bool topmost)
    : FwDialog(kMessageBoxDialog), yes_(yes), no_(no), cancel_(cancel), parent_(parent), centre_(centreOnPointer),
      topmost_(topmost) {}

bool CYesNoMessageBox::onInitDialog() {
    HWND text = GetDlgItem(hwnd_, kMessageBoxText);
    HWND yes = GetDlgItem(hwnd_, IDOK);
    SetWindowTextW(text, text_.c_str());

    RECT client, textRect, button;
    GetClientRect(hwnd_, &client);
    GetWindowRect(yes, &button);
    int bw = button.right - button.left, bh = button.bottom - button.top;
    int textWidth = std::max<int>(client.right - 16, 1);

    HDC dc = GetDC(text);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
    // Measure with word wrapping so the height really holds the text.
    textRect = RECT{0, 0, textWidth, 0};
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(text, dc);
    int textHeight = textRect.bottom - textRect.top;
    MoveWindow(text, 8, 8, textWidth, textHeight + 6, FALSE);

    int y = textHeight + 22, x = client.right - 8;
    struct {
        int id;
        const std::wstring* caption;
    } buttons[] = {{IDOK, &yes_}, {kMessageBoxNo, &no_}, {IDCANCEL, &cancel_}};
    for (auto& b : buttons) {
        HWND h = GetDlgItem(hwnd_, b.id);
        if (!h) continue;
        SetWindowTextW(h, b.caption->c_str());
        if (b.caption->empty()) {
            ShowWindow(h, SW_HIDE);
            continue;
        }
        x -= bw;
        MoveWindow(h, x, y, bw, bh, FALSE);
        ShowWindow(h, SW_SHOW);
        x -= 8;
    }

    RECT win;
    GetWindowRect(hwnd_, &win);
    RECT want{0, 0, client.right, y + bh + 8};
    AdjustWindowRectEx(&want, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
    int w = want.right - want.left, h = want.bottom - want.top;
    int left = win.left, top = win.top;
    if (centre_) {
        POINT p;
        GetCursorPos(&p);
        RECT desk;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &desk, 0);
        left = std::max<int>(desk.left + 10, std::min<int>(p.x - w / 2, desk.right - 10 - w));
        top = std::max<int>(desk.top + 10, std::min<int>(p.y - h / 2, desk.bottom - 10 - h));
    }
    SetWindowPos(hwnd_, topmost_ ? HWND_TOPMOST : nullptr, left, top, w, h,
                 topmost_ ? 0 : SWP_NOZORDER);
    if (!title_.empty()) SetWindowTextW(hwnd_, title_.c_str());
    return true;
}

bool CYesNoMessageBox::onCommand(int id, int code, HWND control) {
    if (id == kMessageBoxNo) {
        endDialog(kMessageBoxNo);
        return true;
    }
    return FwDialog::onCommand(id, code, control);
}
