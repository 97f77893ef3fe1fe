#include "month_calendar.h"

namespace {

constexpr int32_t kMonthsInYear = 12;

CalendarDate previousMonth(int32_t year, int32_t month)
{
    return month == 1 ? CalendarDate{year - 1, kMonthsInYear, 1} : CalendarDate{year, month - 1, 1};
}

CalendarDate nextMonth(int32_t year, int32_t month)
{
    return month == kMonthsInYear ? CalendarDate{year + 1, 1, 1} : CalendarDate{year, month + 1, 1};
}

bool insideGrid(int32_t row, int32_t column)
{
    return row >= 0 && row < kCalendarWeeks && column >= 0 && column < kCalendarWeekdays;
}

}  // namespace

bool isLeapYear(int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int32_t daysInMonth(int32_t year, int32_t month)
{
    static const int32_t kDays[kMonthsInYear] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > kMonthsInYear)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

int32_t weekdayOf(const CalendarDate &date)
{
    // Days from a Monday: Zeller's congruence shifted so that 0 is Monday.
    int32_t y = date.year, m = date.month;
    if (m < 3) {
        m += kMonthsInYear;
        y -= 1;
    }
    int32_t k = y % 100, j = y / 100;
    int32_t h = (date.day + 13 * (m + 1) / 5 + k + k / 4 + j / 4 + 5 * j) % 7;  // 0 Saturday
    return (h + 5) % 7;
}

MonthGrid::MonthGrid(int32_t year, int32_t month, int32_t firstDayOfWeek) : year_(year), month_(month)
{
    int32_t first = ((firstDayOfWeek % 7) + 7) % 7;
    lead_ = (weekdayOf({year, month, 1}) - first + 7) % 7;
}

CalendarDate MonthGrid::dateAt(int32_t row, int32_t column) const
{
    int32_t index = row * kCalendarWeekdays + column - lead_;  // 0 = the first of the month
    if (index < 0) {
        CalendarDate before = previousMonth(year_, month_);
        before.day = daysInMonth(before.year, before.month) + index + 1;
        return before;
    }
    int32_t days = daysInMonth(year_, month_);
    if (index >= days) {
        CalendarDate after = nextMonth(year_, month_);
        after.day = index - days + 1;
        return after;
    }
    return {year_, month_, index + 1};
}

uint32_t MonthGrid::hitCodeAt(int32_t row, int32_t column) const
{
    if (!insideGrid(row, column))
        return kCalendarHitNowhere;
    int32_t index = row * kCalendarWeekdays + column - lead_;
    if (index < 0)
        return kHitCalendarDatePrev;
    return index >= daysInMonth(year_, month_) ? kHitCalendarDateNext : kHitCalendarDate;
}

bool MonthGrid::cellOf(int32_t day, int32_t *row, int32_t *column) const
{
    if (day < 1 || day > daysInMonth(year_, month_))
        return false;
    int32_t index = lead_ + day - 1;
    *row = index / kCalendarWeekdays;
    *column = index % kCalendarWeekdays;
    return true;
}

int32_t runPickerLoop(PickerMessageSource &source)
{
    for (;;) {
        bool forPopup = false;
        int32_t kind = source.next(&forPopup);
        if (kind == kPickerQuit) {
            source.repostQuit();
            return kPickerQuitting;
        }
        if (kind == kPickerButtonDown && !forPopup)
            return kPickerClosed;
        source.dispatch();
        if (kind == kPickerButtonUp && forPopup && source.hitTestAtPointer() == kHitCalendarDate)
            return kPickerDateChosen;
    }
}
