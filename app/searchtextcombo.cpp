#include "searchtextcombo.h"

bool LXSearchTextEdit::onKillFocus(HWND) {
    SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    return false;  // the edit's own handling follows
}

LRESULT LXSearchTextComboBox::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CTLCOLOREDIT && !edit_.hwnd() && lp) edit_.subclass(reinterpret_cast<HWND>(lp));
    return FwWindow::handleMessage(msg, wp, lp);
}

void LXSearchTextComboBox::onDestroy() { edit_.detach(); }
