// The skinned date controls' rules that need no window: which of a definition's button pictures
// draws a title button of the month calendar or the picker's drop button (the wanted look, then
// the fall-backs), where the picker's drop button lies and whether it has one, and where the
// month calendar's two title buttons lie, found through the calendar's own hit test. The
// skinners (Windows) follow what these answer.
#ifndef WORDMERE_SKIN_CONTROLS_DATE_CONTROL_RULES_H
#define WORDMERE_SKIN_CONTROLS_DATE_CONTROL_RULES_H

#include <cstdint>
#include <functional>

#include "month_calendar.h"
#include "skin_types.h"

// A button's three pictures, in the order the definitions keep them.
enum DateButtonLook : int32_t {
    kDateLookNone = -1,  // none of them is set: the caller draws the system's button
    kDateLookNormal = 0,
    kDateLookPressed = 1,
    kDateLookDisabled = 2,
};

struct DateButtonPictures {
    bool normal;
    bool pressed;
    bool disabled;
};

// The picker's drop button: enabled, the pressed picture while the calendar is open, else the
// normal one, each falling back to the other; disabled, the disabled picture, falling back to
// the enabled choice.
int32_t pickerButtonLook(bool enabled, bool open, const DateButtonPictures &set);
// A month calendar title button: enabled, the pressed picture while it is pressed (falling
// back to the normal one), else the normal one; disabled, the disabled picture, falling back
// to the enabled choice.
int32_t calendarButtonLook(bool enabled, bool pressed, const DateButtonPictures &set);

// The picker's style bits that matter here.
constexpr uint32_t kPickerUpDownStyle = 0x0001;    // DTS_UPDOWN
constexpr uint32_t kPickerTimeFormat = 0x0009;     // DTS_TIMEFORMAT
constexpr uint32_t kPickerAppCanParse = 0x0010;    // DTS_APPCANPARSE
constexpr uint32_t kPickerLongDateFormat = 0x0004; // DTS_LONGDATEFORMAT
constexpr int32_t kPickerDropButtonWidth = 17;

// Whether the picker shows a drop button (neither the up-down style nor the time format).
bool pickerHasDropButton(uint32_t style);
// The drop button: the rightmost 17 pixels of the client area (an empty rectangle without one).
SkinRect pickerDropButton(const SkinRect &client, uint32_t style);
// The field: the client area left of the drop button.
SkinRect pickerField(const SkinRect &client, uint32_t style);

// The calendar's hit code at a client point.
using CalendarHitTest = std::function<uint32_t(int32_t x, int32_t y)>;
struct CalendarTitleButtons {
    SkinRect previous;  // empty when the calendar shows none
    SkinRect next;
};
// Scans the top of a width x height calendar for the title buttons (kHitTitleButtonPrev and
// kHitTitleButtonNext) and measures each found one
// to the pixel.
CalendarTitleButtons findCalendarTitleButtons(int32_t width, int32_t height, const CalendarHitTest &hitAt);
// Which title button (1 previous, 2 next, 0 none) holds the point.
int32_t calendarButtonAt(const CalendarTitleButtons &buttons, int32_t x, int32_t y);

#endif
