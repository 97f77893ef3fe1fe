// The month calendar's day grid and hit codes, and the date-time picker's own loop while its
// calendar is dropped down. Platform-neutral: the grid tells where a date stands among the six
// weeks a month shows (the tests click there), and the loop runs over a message source that the
// picker skinner (Windows) gives it, so its rules are tested without windows.
#ifndef WORDMERE_SKIN_CONTROLS_MONTH_CALENDAR_H
#define WORDMERE_SKIN_CONTROLS_MONTH_CALENDAR_H

#include <cstdint>

// The month calendar's hit codes.
constexpr uint32_t kCalendarHitNowhere = 0x00000000;
constexpr uint32_t kHitCalendarDate = 0x00020001;      // a day of the shown month
constexpr uint32_t kHitCalendarDateNext = 0x01020001;  // a trailing day of the next month
constexpr uint32_t kHitCalendarDatePrev = 0x02020001;  // a trailing day of the previous month
constexpr uint32_t kHitTitleButtonNext = 0x01010003;
constexpr uint32_t kHitTitleButtonPrev = 0x02010003;

struct CalendarDate {
    int32_t year;
    int32_t month;  // 1..12
    int32_t day;    // 1..31
    bool operator==(const CalendarDate &o) const { return year == o.year && month == o.month && day == o.day; }
};

bool isLeapYear(int32_t year);
int32_t daysInMonth(int32_t year, int32_t month);
// The weekday of a Gregorian date, 0 Monday .. 6 Sunday (the calendar's first-day codes).
int32_t weekdayOf(const CalendarDate &date);

constexpr int32_t kCalendarWeeks = 6;
constexpr int32_t kCalendarWeekdays = 7;

// The six weeks one month shows, starting on the given first day of the week (0 Monday .. 6
// Sunday): the first row holds the first of the month, preceded by the previous month's
// trailing days; the next month's days fill the rest.
class MonthGrid {
public:
    MonthGrid(int32_t year, int32_t month, int32_t firstDayOfWeek);

    CalendarDate dateAt(int32_t row, int32_t column) const;
    uint32_t hitCodeAt(int32_t row, int32_t column) const;  // kCalendarHitNowhere outside the grid
    // Where a day of the shown month stands; false for a day it does not have.
    bool cellOf(int32_t day, int32_t *row, int32_t *column) const;

private:
    int32_t year_, month_;
    int32_t lead_;  // trailing days of the previous month in the first row
};

// ---- the picker's drop-down loop

// What the loop needs of the system: the next message, dispatching it, the calendar's answers.
enum PickerMessageKind : int32_t {
    kPickerOtherMessage = 0,
    kPickerQuit = 1,            // WM_QUIT
    kPickerButtonDown = 2,      // WM_LBUTTONDOWN or WM_NCLBUTTONDOWN
    kPickerButtonUp = 3,        // WM_LBUTTONUP
};

class PickerMessageSource {
public:
    virtual ~PickerMessageSource() = default;
    // Waits for the next message; its kind and whether it is for the popup calendar.
    virtual int32_t next(bool *forPopup) = 0;
    virtual void dispatch() = 0;
    // The calendar's hit code at the pointer of the message just dispatched.
    virtual uint32_t hitTestAtPointer() = 0;
    // Puts the quit request back in the thread's queue, for the loop that called the picker.
    virtual void repostQuit() = 0;
};

enum PickerOutcome : int32_t {
    kPickerDateChosen = 0,   // read the calendar's date, close it, tell the parent, set the date
    kPickerClosed = 1,       // a click elsewhere: close it, the date unchanged, no close-up notice
    kPickerQuitting = 2,     // the program is ending: close it; the quit request was posted again
};

// Runs the loop until a day of the shown month is chosen, a click lands outside the popup
// (that click is not dispatched), or a quit request arrives (it is posted again so the program's
// own loop ends too).
int32_t runPickerLoop(PickerMessageSource &source);

#endif
