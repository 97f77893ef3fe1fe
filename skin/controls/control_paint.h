// Drawing steps the control skinners share (Windows).
#ifndef WORDMERE_SKIN_CONTROLS_CONTROL_PAINT_H
#define WORDMERE_SKIN_CONTROLS_CONTROL_PAINT_H

#include <windows.h>

#include <functional>
#include <string>

#include "skin_types.h"

class SkinRepository;

// Paints what lies behind the control into its DC: the parent's skin background when the
// parent answers WM_SKIN_PAINT_BACKGROUND (nonzero when it painted), else the parent's own
// background erase, shifted to the control's place.
void skinPaintParentBackground(HWND control, HDC dc);
// Paints a quarter-turned picture: draw paints the unturned form into a DC of width x height
// (the target's height wide, its width high), which the image library turns clockwise by
// degrees (90 or 270) onto dc at the target.
void skinPaintTurned(HDC dc, const RECT &target, int degrees, const std::function<void(HDC, int width, int height)> &draw);
// Draws the border picture in the control's non-client area, around its client area (the
// client area itself is left alone); nothing for a control without a border.
void skinPaintBorder(HWND control, const SkinRepository *skin, const SkinNineGrid &border, COLORREF color);
// The window's text, at most maxChars characters.
std::wstring skinWindowText(HWND window, int maxChars);
// Selects the control's font into the DC for the object's life.
class ControlFontSelection {
public:
    ControlFontSelection(HWND control, HDC dc);
    ~ControlFontSelection();
    ControlFontSelection(const ControlFontSelection &) = delete;
    ControlFontSelection &operator=(const ControlFontSelection &) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
};
// The size DrawTextExW measures for the text in the rectangle's width with that format.
SIZE skinMeasureText(HDC dc, const std::wstring &text, const RECT &within, UINT format);

// Draws the nine-grid as if the target stood upright (in a bitmap of the turned size for a
// quarter turn), then flips it top to bottom and turns it clockwise by degrees (0, 90, 180 or
// 270) with the image library and puts it on the target. keyed: the key colour stays
// transparent; otherwise the grid is drawn on fill.
void skinDrawTurnedNineGrid(const SkinRepository *repository, HDC dc, const RECT &target, const SkinNineGrid &grid,
                            int degrees, bool flipped, bool keyed, COLORREF keyOrFill);

#endif
