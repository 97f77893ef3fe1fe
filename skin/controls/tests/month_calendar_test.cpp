#include "month_calendar.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

// First and last of the 42 cells; the first from Python's calendar.Calendar(first day)
// .monthdatescalendar, the last 41 days after it.
struct GridCase {
    int32_t year, month, firstDay;
    CalendarDate first, last;
} kGrids[] = {
    {2026, 12, 0, {2026, 11, 30}, {2027, 1, 10}}, {2026, 12, 6, {2026, 11, 29}, {2027, 1, 9}},
    {2024, 2, 0, {2024, 1, 29}, {2024, 3, 10}},   {2021, 2, 0, {2021, 2, 1}, {2021, 3, 14}},
    {2000, 2, 6, {2000, 1, 30}, {2000, 3, 11}},   {1900, 3, 3, {1900, 3, 1}, {1900, 4, 11}},
    {2026, 1, 0, {2025, 12, 29}, {2026, 2, 8}},
};

TEST(MonthGrid, SixWeeksAroundTheMonthAsPythonsCalendarLaysThem)
{
    for (const GridCase &c : kGrids) {
        MonthGrid grid(c.year, c.month, c.firstDay);
        EXPECT_EQ(grid.dateAt(0, 0), c.first) << c.year << "-" << c.month << " from " << c.firstDay;
        EXPECT_EQ(grid.dateAt(5, 6), c.last) << c.year << "-" << c.month << " from " << c.firstDay;
        // Every day of the month is where cellOf says, with the date hit code; the cells around
        // it carry the trailing codes.
        int32_t days = daysInMonth(c.year, c.month);
        for (int32_t day = 1; day <= days; ++day) {
            int32_t row = -1, column = -1;
            ASSERT_TRUE(grid.cellOf(day, &row, &column));
            EXPECT_EQ(grid.dateAt(row, column), (CalendarDate{c.year, c.month, day}));
            EXPECT_EQ(grid.hitCodeAt(row, column), kHitCalendarDate);
        }
        uint32_t firstCode = c.first.month == c.month ? kHitCalendarDate : kHitCalendarDatePrev;
        EXPECT_EQ(grid.hitCodeAt(0, 0), firstCode);
        EXPECT_EQ(grid.hitCodeAt(5, 6), kHitCalendarDateNext);
    }
}

TEST(MonthGrid, DaysMonthsAndPlacesItDoesNotHave)
{
    EXPECT_EQ(daysInMonth(2024, 2), 29);
    EXPECT_EQ(daysInMonth(1900, 2), 28);
    EXPECT_EQ(daysInMonth(2000, 2), 29);
    EXPECT_EQ(daysInMonth(2026, 13), 0);
    MonthGrid grid(2026, 4, 0);
    int32_t row = 0, column = 0;
    EXPECT_FALSE(grid.cellOf(31, &row, &column));
    EXPECT_FALSE(grid.cellOf(0, &row, &column));
    EXPECT_EQ(grid.hitCodeAt(6, 0), kCalendarHitNowhere);
    EXPECT_EQ(grid.hitCodeAt(0, -1), kCalendarHitNowhere);
    EXPECT_EQ(weekdayOf({2026, 12, 11}), 4);  // a Friday
}

// A scripted message queue: each entry a message kind, whether it is for the popup, and the
// calendar's hit code after it is dispatched.
struct Scripted {
    int32_t kind;
    bool forPopup;
    uint32_t hit;
};

class ScriptedSource : public PickerMessageSource {
public:
    explicit ScriptedSource(std::deque<Scripted> script) : script_(std::move(script)) {}
    int32_t next(bool *forPopup) override
    {
        current_ = script_.front();
        script_.pop_front();
        *forPopup = current_.forPopup;
        return current_.kind;
    }
    void dispatch() override { ++dispatched; }
    uint32_t hitTestAtPointer() override { return current_.hit; }
    void repostQuit() override { ++quitsPosted; }

    int dispatched = 0;
    int quitsPosted = 0;
    size_t left() const { return script_.size(); }

private:
    std::deque<Scripted> script_;
    Scripted current_{};
};

TEST(PickerLoop, EndsOnAChosenDayAClickElsewhereOrAQuitRequest)
{
    struct Case {
        const char *what;
        std::deque<Scripted> script;
        int32_t outcome;
        int dispatched;
        int quitsPosted;
    } cases[] = {
        {"a day chosen",
         {{kPickerOtherMessage, true, 0}, {kPickerButtonDown, true, 0}, {kPickerButtonUp, true, kHitCalendarDate}},
         kPickerDateChosen, 3, 0},
        {"the next-month button, then a day",
         {{kPickerButtonDown, true, 0}, {kPickerButtonUp, true, kHitTitleButtonNext},
          {kPickerButtonDown, true, 0}, {kPickerButtonUp, true, kHitCalendarDate}},
         kPickerDateChosen, 4, 0},
        {"a trailing day only moves the month",
         {{kPickerButtonUp, true, kHitCalendarDatePrev}, {kPickerButtonDown, false, 0}}, kPickerClosed, 1, 0},
        {"a click elsewhere is not dispatched",
         {{kPickerOtherMessage, false, 0}, {kPickerButtonDown, false, 0}}, kPickerClosed, 1, 0},
        {"a button up elsewhere does not choose", {{kPickerButtonUp, false, kHitCalendarDate}, {kPickerQuit, false, 0}},
         kPickerQuitting, 1, 1},
        {"quit while open is posted again", {{kPickerOtherMessage, true, 0}, {kPickerQuit, false, 0}},
         kPickerQuitting, 1, 1},
    };
    for (Case &c : cases) {
        ScriptedSource source(c.script);
        EXPECT_EQ(runPickerLoop(source), c.outcome) << c.what;
        EXPECT_EQ(source.dispatched, c.dispatched) << c.what;
        EXPECT_EQ(source.quitsPosted, c.quitsPosted) << c.what;
        EXPECT_EQ(source.left(), 0u) << c.what;
    }
}

}  // namespace
