#include "date_control_rules.h"

#include <algorithm>

namespace {

// The title row lies within the top of the calendar; a title button is wider and higher than
// the scan's step.
constexpr int32_t kTitleScanDepth = 80;
constexpr int32_t kScanStep = 2;

bool has(const DateButtonPictures &set, int32_t look)
{
    switch (look) {
    case kDateLookNormal: return set.normal;
    case kDateLookPressed: return set.pressed;
    case kDateLookDisabled: return set.disabled;
    default: return false;
    }
}

int32_t firstSet(const DateButtonPictures &set, int32_t wanted, int32_t fallback)
{
    if (has(set, wanted))
        return wanted;
    return has(set, fallback) ? fallback : kDateLookNone;
}

int32_t disabledOr(const DateButtonPictures &set, bool enabled, int32_t enabledChoice)
{
    if (!enabled && set.disabled)
        return kDateLookDisabled;
    return enabledChoice;
}

bool inside(const SkinRect &r, int32_t x, int32_t y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// The whole extent of the hit code's area around a point known to carry it.
SkinRect measureAround(int32_t x, int32_t y, uint32_t code, int32_t width, int32_t height, const CalendarHitTest &hitAt)
{
    int32_t left = x, right = x, top = y, bottom = y;
    while (left > 0 && hitAt(left - 1, y) == code)
        --left;
    while (right + 1 < width && hitAt(right + 1, y) == code)
        ++right;
    const int32_t middle = (left + right) / 2;
    while (top > 0 && hitAt(middle, top - 1) == code)
        --top;
    while (bottom + 1 < height && hitAt(middle, bottom + 1) == code)
        ++bottom;
    return SkinRect{left, top, right + 1, bottom + 1};
}

}  // namespace

int32_t pickerButtonLook(bool enabled, bool open, const DateButtonPictures &set)
{
    const int32_t wanted = open ? kDateLookPressed : kDateLookNormal;
    const int32_t other = open ? kDateLookNormal : kDateLookPressed;
    return disabledOr(set, enabled, firstSet(set, wanted, other));
}

int32_t calendarButtonLook(bool enabled, bool pressed, const DateButtonPictures &set)
{
    const int32_t choice = pressed ? firstSet(set, kDateLookPressed, kDateLookNormal) : firstSet(set, kDateLookNormal, kDateLookNormal);
    return disabledOr(set, enabled, choice);
}

bool pickerHasDropButton(uint32_t style)
{
    return (style & kPickerUpDownStyle) == 0 && (style & kPickerTimeFormat) != kPickerTimeFormat;
}

SkinRect pickerDropButton(const SkinRect &client, uint32_t style)
{
    if (!pickerHasDropButton(style))
        return SkinRect{client.right, client.top, client.right, client.bottom};
    return SkinRect{std::max(client.left, client.right - kPickerDropButtonWidth), client.top, client.right, client.bottom};
}

SkinRect pickerField(const SkinRect &client, uint32_t style)
{
    SkinRect field = client;
    field.right = pickerDropButton(client, style).left;
    return field;
}

CalendarTitleButtons findCalendarTitleButtons(int32_t width, int32_t height, const CalendarHitTest &hitAt)
{
    CalendarTitleButtons found{SkinRect{0, 0, 0, 0}, SkinRect{0, 0, 0, 0}};
    const int32_t depth = std::min(height, kTitleScanDepth);
    for (int32_t y = 0; y < depth; y += kScanStep) {
        for (int32_t x = 0; x < width; x += kScanStep) {
            const uint32_t code = hitAt(x, y);
            SkinRect *slot = code == kHitTitleButtonPrev ? &found.previous : code == kHitTitleButtonNext ? &found.next : nullptr;
            if (slot == nullptr || !slot->isEmpty())
                continue;
            *slot = measureAround(x, y, code, width, height, hitAt);
            if (!found.previous.isEmpty() && !found.next.isEmpty())
                return found;
        }
    }
    return found;
}

int32_t calendarButtonAt(const CalendarTitleButtons &buttons, int32_t x, int32_t y)
{
    if (inside(buttons.previous, x, y))
        return 1;
    return inside(buttons.next, x, y) ? 2 : 0;
}
