// The search box: a drop-down combo box whose edit is subclassed the first time it asks for
// its colours, so the edit can remember its selection when it loses the focus.
#pragma once
#include "framework/fwwindow.h"

class LXSearchTextEdit : public FwWindow {
public:
    DWORD selStart = 0, selEnd = 0;

protected:
    bool onKillFocus(HWND next) override;
};

class LXSearchTextComboBox : public FwWindow {
public:
    LXSearchTextEdit& edit() { return edit_; }
    HWND editWindow() const { return edit_.hwnd(); }

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void onDestroy() override;

private:
    LXSearchTextEdit edit_;
};
