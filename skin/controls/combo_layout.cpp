#include "combo_layout.h"

#include <algorithm>

namespace {

// A rectangle kept inside the bounds, never inverted.
SkinRect clampInto(const SkinRect &r, const SkinRect &bounds)
{
    SkinRect out;
    out.left = std::min(std::max(r.left, bounds.left), bounds.right);
    out.right = std::min(std::max(r.right, out.left), bounds.right);
    out.top = std::min(std::max(r.top, bounds.top), bounds.bottom);
    out.bottom = std::min(std::max(r.bottom, out.top), bounds.bottom);
    return out;
}

bool contains(const SkinRect &r, int32_t x, int32_t y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

}  // namespace

bool comboIsSkinned(uint32_t style)
{
    if (style & kComboStyleOwnerDrawVariable) {
        return false;
    }
    return (style & kComboStyleTypeMask) != kComboStyleSimple;
}

ComboLayout comboLayout(const SkinRect &client, const SkinRect &m, int32_t buttonWidth)
{
    ComboLayout l;
    l.edit = clampInto(SkinRect{client.left + m.left, client.top + m.top, client.right - m.right, client.bottom - m.bottom}, client);
    const int32_t width = std::max(buttonWidth, 0);
    l.button = clampInto(SkinRect{l.edit.right - width, l.edit.top, l.edit.right, l.edit.bottom}, l.edit);
    const SkinRect beforeButton{l.edit.left, l.edit.top, std::max(l.edit.left, l.button.left - kComboTextGap), l.edit.bottom};
    l.text = clampInto(SkinRect{l.edit.left + 1, l.edit.top + 1, l.button.left - kComboTextGap, l.edit.bottom - 1}, beforeButton);
    const int32_t right = client.right - m.right;
    l.hotZone = clampInto(SkinRect{right - kComboHotZoneWidth, client.top + m.top, right, client.bottom - m.bottom}, client);
    return l;
}

int32_t comboButtonPicture(int32_t buttonState, bool enabled, const bool hasPicture[4])
{
    enum { kNormal = 0, kHot = 1, kPressed = 2, kDisabled = 3 };
    int32_t wanted = kNormal;
    if (!enabled) {
        wanted = kDisabled;
    } else if (buttonState == kComboButtonStatePressed) {
        wanted = kPressed;
    } else if (buttonState == kComboButtonStateHot) {
        wanted = kHot;
    }
    return hasPicture[wanted] ? wanted : kNormal;
}

int32_t comboStateAfterMove(int32_t current, const ComboLayout &layout, int32_t x, int32_t y, bool leftButtonDown)
{
    if (current == kComboButtonStatePressed && leftButtonDown) {
        return current;
    }
    return contains(layout.hotZone, x, y) ? kComboButtonStateHot : kComboButtonStateNormal;
}
