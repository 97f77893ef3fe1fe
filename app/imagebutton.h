// A push button showing a bitmap or an icon that, when visual styles are active, draws
// itself with the theme's push-button look; otherwise the system draws it.
#pragma once
#include "framework/fwwindow.h"

class CImageButtonWithStyle : public FwWindow {
public:
    void Enable() { EnableWindow(hwnd_, TRUE); }
    void Disable() { EnableWindow(hwnd_, FALSE); }
    bool onReflectedNotify(NMHDR& header, LRESULT& result) override;
};

// The theme state of a push button (PBS_*).
int pushButtonThemeState(bool disabled, bool selected, bool hot, bool defaultButton);
// Where an image of `size` goes in the content rectangle, by the button style's
// alignment bits; the height may be cut to the rectangle's (BS_TOP aside).
RECT imageButtonPlacement(DWORD style, const RECT& content, SIZE image);
// An icon's size: its colour bitmap's, or half its mask's height when it has no colour bitmap.
SIZE iconImageSize(HICON icon);
