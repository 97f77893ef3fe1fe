// The up-down control's skinner (Windows): the control keeps its value, its timers and its
// keys; the skinner follows the pointer over the two halves and draws each in its look.
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
constexpr int kTurnBack = 90;

// The skin's state sets follow the looks' order.
static_assert(int{kUpDownLookNormal} == int{kSpinNormal} && int{kUpDownLookHot} == int{kSpinHot} &&
                  int{kUpDownLookPressed} == int{kSpinPressed} && int{kUpDownLookDisabled} == int{kSpinDisabled},
              "the looks index the skin's state sets");

const SkinPicture &pictureOf(const SkinSpinPair *set, int32_t look, int32_t half)
{
    const SkinPicture &own = half == kUpDownFirst ? set[look].first : set[look].second;
    if (own.isSet()) {
        return own;
    }
    return half == kUpDownFirst ? set[kSpinNormal].first : set[kSpinNormal].second;
}

}  // namespace

UpDownSkinner::UpDownSkinner(WindowSkinner *container) : ControlSkinner(kSkinSpin, container) {}

int32_t UpDownSkinner::halfAt(LPARAM point) const
{
    RECT client;
    GetClientRect(window_, &client);
    const bool horizontal = (GetWindowLongW(window_, GWL_STYLE) & UDS_HORZ) != 0;
    return upDownHalfAt(toSkinRect(client), horizontal, static_cast<int16_t>(LOWORD(point)),
                        static_cast<int16_t>(HIWORD(point)));
}

void UpDownSkinner::setState(int32_t state)
{
    buttonState_ = state;
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

LRESULT UpDownSkinner::onMouseLeave()
{
    buttonState_ = kUpDownNormal;
    const bool wasHovering = hovering();
    const LRESULT result = ControlSkinner::onMouseLeave();
    if (!wasHovering) {
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    return result;
}

LRESULT UpDownSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    if (dynamic_cast<SpinDefinition *>(definition_) == nullptr) {
        return message == WM_PAINT || message == WM_ERASEBKGND ? callPrevious(message, wp, lp)
                                                                : ControlSkinner::windowProc(message, wp, lp);
    }
    int32_t next = -1;
    switch (message) {
    case WM_MOUSEMOVE:
        next = upDownStateOnMove(halfAt(lp), (wp & MK_LBUTTON) != 0);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        next = upDownStateOnButtonDown(halfAt(lp));
        break;
    case WM_LBUTTONUP:
        next = upDownStateOnButtonUp(halfAt(lp));
        break;
    default:
        return ControlSkinner::windowProc(message, wp, lp);
    }
    const LRESULT result = ControlSkinner::windowProc(message, wp, lp);
    if (message != WM_MOUSEMOVE || next != buttonState_) {
        setState(next);
    }
    return result;
}

void UpDownSkinner::paint(HDC dc)
{
    auto *def = dynamic_cast<SpinDefinition *>(definition_);
    if (def == nullptr) {
        return;
    }
    RECT client;
    GetClientRect(window_, &client);
    const bool horizontal = (GetWindowLongW(window_, GWL_STYLE) & UDS_HORZ) != 0;
    if (!horizontal || (def->hasHorizontal && def->horizontal[kSpinNormal].first.isSet())) {
        skinPaintParentBackground(window_, dc);
        drawHalves(dc, client.right, client.bottom, horizontal);
        return;
    }
    // Without pictures of its own the horizontal form is the vertical one turned.
    skinPaintTurned(dc, client, kTurnVertical, [&](HDC d, int w, int h) {
        skinPaintTurned(d, RECT{0, 0, w, h}, kTurnBack, [&](HDC back, int, int) { skinPaintParentBackground(window_, back); });
        drawHalves(d, w, h, false);
    });
}

void UpDownSkinner::drawHalves(HDC dc, int width, int height, bool horizontal)
{
    auto *def = static_cast<SpinDefinition *>(definition_);
    const SkinSpinPair *set = horizontal ? def->horizontal : def->vertical;
    const bool enabled = IsWindowEnabled(window_) != FALSE;
    const SkinRect client{0, 0, width, height};
    for (int32_t half : {kUpDownFirst, kUpDownSecond}) {
        const int32_t look = upDownLookFor(half, buttonState_, enabled);
        const SkinPicture &picture = pictureOf(set, look, half);
        skinDrawKeyedPicture(def->owner(), dc, toRECT(upDownHalfRect(client, horizontal, half)), picture,
                             keyColor_);
    }
}

#endif
