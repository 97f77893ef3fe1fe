// The trackbar's skinner (Windows): the control keeps its values and its keys; the skinner
// draws the background, the channel and the thumb where the control places them.
#ifdef _WIN32
#include <windows.h>

#include <commctrl.h>

#include "control_paint.h"
#include "range_skinners.h"
#include "skin_codes.h"
#include "skin_definitions.h"
#include "skin_draw.h"

namespace {

constexpr int kTurnVertical = 270;
// Turned by this before the vertical turn, a picture of the control comes out as it was.
constexpr int kTurnBack = 90;

}  // namespace

TrackbarSkinner::TrackbarSkinner(WindowSkinner *container) : ControlSkinner(kSkinSlider, container) {}

bool TrackbarSkinner::attach(HWND window)
{
    if (window == nullptr) {
        return false;
    }
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    if (!ControlSkinner::attach(window)) {
        return false;
    }
    styleBefore_ = style;
    // Ticks on both sides put the channel in the middle of the control.
    modifyStyle(0, TBS_BOTH, 0);
    return true;
}

void TrackbarSkinner::detach()
{
    if (window_ != nullptr && !destroyed_) {
        SetWindowLongW(window_, GWL_STYLE, static_cast<LONG>(styleBefore_ | WS_VISIBLE));
    }
    ControlSkinner::detach();
}

LRESULT TrackbarSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    if (dynamic_cast<SliderDefinition *>(definition_) == nullptr &&
        (message == WM_PAINT || message == WM_ERASEBKGND)) {
        return callPrevious(message, wp, lp);
    }
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: {
        const LRESULT result = ControlSkinner::windowProc(message, wp, lp);
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return result;
    }
    case WM_MOUSEMOVE: {
        const LRESULT result = ControlSkinner::windowProc(message, wp, lp);
        if ((wp & MK_LBUTTON) == 0) {
            RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
        return result;
    }
    default:
        return ControlSkinner::windowProc(message, wp, lp);
    }
}

void TrackbarSkinner::paint(HDC dc)
{
    auto *def = dynamic_cast<SliderDefinition *>(definition_);
    if (def == nullptr) {
        return;
    }
    const SkinRepository *skin = def->owner();
    RECT client, thumb{}, channel{};
    GetClientRect(window_, &client);
    callPrevious(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    callPrevious(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const bool vertical = (GetWindowLongW(window_, GWL_STYLE) & TBS_VERT) != 0;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    if (def->transparent != 0) {
        skinPaintParentBackground(window_, dc);
    }
    if (!vertical) {
        if (def->transparent == 0) {
            skinDrawNineGrid(skin, dc, client, def->frame, face, kSkinFill, false);
        }
        skinDrawNineGrid(skin, dc, channel, def->channel, face, kSkinNoFill, false);
        skinDrawKeyedNineGrid(skin, dc, thumb, def->thumb, keyColor_);
        return;
    }
    // A vertical trackbar gives its channel in the coordinates of the horizontal form.
    skinPaintTurned(dc, client, kTurnVertical, [&](HDC d, int w, int h) {
        if (def->transparent != 0) {
            skinPaintTurned(d, RECT{0, 0, w, h}, kTurnBack, [&](HDC back, int, int) { skinPaintParentBackground(window_, back); });
        } else {
            skinDrawNineGrid(skin, d, RECT{0, 0, w, h}, def->frame, face, kSkinFill, false);
        }
        skinDrawNineGrid(skin, d, channel, def->channel, face, kSkinNoFill, false);
    });
    skinPaintTurned(dc, thumb, kTurnVertical, [&](HDC d, int w, int h) {
        skinPaintTurned(d, RECT{0, 0, w, h}, kTurnBack, [&](HDC back, int, int) {
            BitBlt(back, 0, 0, thumb.right - thumb.left, thumb.bottom - thumb.top, dc, thumb.left, thumb.top, SRCCOPY);
        });
        skinDrawKeyedNineGrid(skin, d, RECT{0, 0, w, h}, def->thumb, keyColor_);
    });
}

#endif
