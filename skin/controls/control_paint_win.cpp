#ifdef _WIN32
#include "control_paint.h"

#include <vector>

#include "window_skinner.h"

void skinPaintParentBackground(HWND control, HDC dc)
{
    HWND parent = GetParent(control);
    if (parent == nullptr) {
        return;
    }
    if (SendMessageW(parent, WM_SKIN_PAINT_BACKGROUND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)) !=
        0) {
        return;
    }
    POINT origin{0, 0};
    MapWindowPoints(control, parent, &origin, 1);
    POINT old;
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    if (SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0) {
        RECT all;
        GetClientRect(parent, &all);
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    }
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

std::wstring skinWindowText(HWND window, int maxChars)
{
    std::vector<wchar_t> buffer(static_cast<size_t>(maxChars) + 1, L'\0');
    const int n = GetWindowTextW(window, buffer.data(), maxChars + 1);
    return std::wstring(buffer.data(), n > 0 ? static_cast<size_t>(n) : 0);
}

ControlFontSelection::ControlFontSelection(HWND control, HDC dc) : dc_(dc)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    previous_ = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
}

ControlFontSelection::~ControlFontSelection()
{
    if (previous_ != nullptr) SelectObject(dc_, previous_);
}

SIZE skinMeasureText(HDC dc, const std::wstring &text, const RECT &within, UINT format)
{
    RECT r{0, 0, within.right - within.left, within.bottom - within.top};
    DrawTextExW(dc, const_cast<wchar_t *>(text.c_str()), static_cast<int>(text.size()), &r, format | DT_CALCRECT,
                nullptr);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

#endif
