// The skinned date-time picker's own drop-down: a month calendar popup under the picker, run by
// a loop of its own (runPickerLoop, month_calendar.h) until a day is chosen, a click lands
// elsewhere or the program is asked to quit (that request is posted again). The picker's parent
// gets DTN_DROPDOWN, and DTN_CLOSEUP when a day was chosen. Windows only.
#ifndef WORDMERE_SKIN_CONTROLS_CALENDAR_DROP_DOWN_H
#define WORDMERE_SKIN_CONTROLS_CALENDAR_DROP_DOWN_H

#include <windows.h>

#include <cstdint>

#include "month_calendar.h"

// The popup's title and class.
extern const wchar_t kCalendarPopupTitle[];

// Opens the calendar under the picker and runs it; answers the PickerOutcome. While it runs,
// *openPopup (when given) holds the popup window, and null again once it is gone.
int32_t dropDownCalendar(HWND picker, HINSTANCE module, HWND *openPopup);

#endif
