#ifdef _WIN32
#include "control_paint.h"

#include <vector>

#include "rasterimage.h"
#include "skin_draw.h"
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

void skinPaintTurned(HDC dc, const RECT &target, const SkinTurn &turn, const std::function<void(HDC, int, int)> &draw)
{
    const int width = target.right - target.left, height = target.bottom - target.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    const bool quarter = turn.degrees == 90 || turn.degrees == 270;
    const int uprightWidth = quarter ? height : width, uprightHeight = quarter ? width : height;
    RasterImage picture;
    {
        MemoryDC upright(dc, uprightWidth, uprightHeight);
        if (!upright.isValid()) {
            return;
        }
        draw(upright.dc(), uprightWidth, uprightHeight);
        HBITMAP drawn = upright.releaseBitmap();
        const bool taken = picture.CreateFromHBITMAP(drawn);
        DeleteObject(drawn);
        if (!taken) {
            return;
        }
    }
    if (turn.flipped) {
        picture.Flip();
    }
    if (turn.degrees != 0 && !picture.Rotate(static_cast<float>(turn.degrees))) {
        return;
    }
    if (!turn.keyed) {
        picture.Draw(dc, target.left, target.top);
        return;
    }
    HBITMAP turned = picture.MakeBitmap(dc);
    if (turned == nullptr) {
        return;
    }
    skinTransparentBlit(dc, target.left, target.top, width, height, turned, 0, 0, turn.key);
    DeleteObject(turned);
}

void skinPaintBorder(HWND control, const SkinRepository *skin, const SkinNineGrid &border, COLORREF color)
{
    RECT whole, client;
    GetWindowRect(control, &whole);
    GetClientRect(control, &client);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT *>(&client), 2);
    const RECT frame{0, 0, whole.right - whole.left, whole.bottom - whole.top};
    const RECT inner{client.left - whole.left, client.top - whole.top, client.right - whole.left, client.bottom - whole.top};
    if (EqualRect(&frame, &inner)) {
        return;
    }
    HDC dc = GetWindowDC(control);
    if (dc == nullptr) {
        return;
    }
    ExcludeClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
    skinDrawNineGrid(skin, dc, frame, border, color, kSkinFill, false);
    ReleaseDC(control, dc);
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

void skinDrawTurnedNineGrid(const SkinRepository *repository, HDC dc, const RECT &target, const SkinNineGrid &grid,
                            int degrees, bool flipped, bool keyed, COLORREF keyOrFill)
{
    skinPaintTurned(dc, target, SkinTurn{degrees, flipped, keyed, keyOrFill}, [&](HDC upright, int w, int h) {
        const RECT all{0, 0, w, h};
        skinFillRect(upright, all, keyOrFill);
        skinDrawNineGrid(repository, upright, all, grid, keyOrFill, kSkinNoFill, false);
    });
}

#endif
