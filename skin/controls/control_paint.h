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
// How a turned picture goes onto its target: turned clockwise by degrees (0, 90, 180 or 270),
// after a flip top to bottom when flipped; keyed: the key colour stays transparent.
struct SkinTurn {
    int degrees = 0;
    bool flipped = false;
    bool keyed = false;
    COLORREF key = 0;
};
// Paints a turned picture: draw paints the upright form into a DC of width x height (for a
// quarter turn the target's height wide and its width high), which the image library flips and
// turns onto dc at the target.
void skinPaintTurned(HDC dc, const RECT &target, const SkinTurn &turn,
                     const std::function<void(HDC, int width, int height)> &draw);
inline void skinPaintTurned(HDC dc, const RECT &target, int degrees,
                            const std::function<void(HDC, int width, int height)> &draw)
{
    skinPaintTurned(dc, target, SkinTurn{degrees, false, false, 0}, draw);
}
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

// Draws the nine-grid upright (on keyOrFill, or keyed on that colour) and puts it on the target
// turned as skinPaintTurned does.
void skinDrawTurnedNineGrid(const SkinRepository *repository, HDC dc, const RECT &target, const SkinNineGrid &grid,
                            int degrees, bool flipped, bool keyed, COLORREF keyOrFill);

#endif
