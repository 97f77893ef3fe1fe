#include "searchtextcombo.h"

LRESULT LXSearchTextEdit::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_KILLFOCUS) SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                                          reinterpret_cast<LPARAM>(&selEnd));
    return FwWindow::handleMessage(msg, wp, lp);
}

LRESULT LXSearchTextComboBox::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CTLCOLOREDIT:
        if (!edit_.hwnd() && lp) edit_.subclass(reinterpret_cast<HWND>(lp));
        break;
    case WM_DESTROY:
        if (edit_.hwnd()) edit_.release();
        break;
    }
    return FwWindow::handleMessage(msg, wp, lp);
}
