// A tooltip control over a window's child controls: each control gets its text, shown when
// the pointer rests on it. The common control relays the mouse messages itself (it adds
// its own subclass to each control, beside any other subclasser).
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>

class FwToolTip {
public:
    FwToolTip() = default;
    ~FwToolTip();
    FwToolTip(const FwToolTip&) = delete;
    FwToolTip& operator=(const FwToolTip&) = delete;

    // Creates the tooltip window, owned by `owner` (the window whose controls get tips).
    bool create(HWND owner);
    void destroy();
    HWND hwnd() const { return hwnd_; }
    // Gives the control its text (adding it the first time); an empty text removes it.
    bool setText(HWND control, const std::wstring& text);
    // The text the control has now, empty when it has none.
    std::wstring text(HWND control) const;
    int toolCount() const;

private:
    TTTOOLINFOW toolFor(HWND control) const;
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
};
