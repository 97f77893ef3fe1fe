#include "date_control_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(DateButtonLooks, WantedPictureThenTheFallBacks)
{
    const DateButtonPictures all{true, true, true}, normalOnly{true, false, false}, pressedOnly{false, true, false},
        noDisabled{true, true, false}, disabledOnly{false, false, true}, none{false, false, false};
    struct Case {
        bool enabled, active;  // open (picker) or pressed (calendar)
        DateButtonPictures set;
        int32_t picker, calendar;
    } cases[] = {
        {true, false, all, kDateLookNormal, kDateLookNormal},
        {true, true, all, kDateLookPressed, kDateLookPressed},
        {true, true, normalOnly, kDateLookNormal, kDateLookNormal},
        // The picker's normal look falls back to the pressed picture; the calendar's does not.
        {true, false, pressedOnly, kDateLookPressed, kDateLookNone},
        {false, false, all, kDateLookDisabled, kDateLookDisabled},
        {false, true, noDisabled, kDateLookPressed, kDateLookPressed},
        {false, false, noDisabled, kDateLookNormal, kDateLookNormal},
        {true, false, disabledOnly, kDateLookNone, kDateLookNone},
        {false, false, disabledOnly, kDateLookDisabled, kDateLookDisabled},
        {true, true, none, kDateLookNone, kDateLookNone},
        {false, false, none, kDateLookNone, kDateLookNone},
    };
    for (const Case &c : cases) {
        const auto &s = c.set;
        EXPECT_EQ(pickerButtonLook(c.enabled, c.active, s), c.picker)
            << c.enabled << c.active << " set " << s.normal << s.pressed << s.disabled;
        EXPECT_EQ(calendarButtonLook(c.enabled, c.active, s), c.calendar)
            << c.enabled << c.active << " set " << s.normal << s.pressed << s.disabled;
    }
}

TEST(PickerButton, RightmostSeventeenPixelsUnlessUpDownOrTimeFormat)
{
    const SkinRect client{0, 0, 120, 22};
    EXPECT_TRUE(pickerHasDropButton(0));
    EXPECT_TRUE(pickerHasDropButton(kPickerLongDateFormat));
    EXPECT_FALSE(pickerHasDropButton(kPickerUpDownStyle));
    EXPECT_FALSE(pickerHasDropButton(kPickerTimeFormat));
    EXPECT_EQ(pickerDropButton(client, 0), (SkinRect{103, 0, 120, 22}));
    EXPECT_EQ(pickerField(client, 0), (SkinRect{0, 0, 103, 22}));
    EXPECT_TRUE(pickerDropButton(client, kPickerUpDownStyle).isEmpty());
    EXPECT_EQ(pickerField(client, kPickerTimeFormat), client);
    // A picker narrower than the button: the button takes it all, never more.
    EXPECT_EQ(pickerDropButton(SkinRect{0, 0, 10, 22}, 0), (SkinRect{0, 0, 10, 22}));
}

// A calendar whose title row holds the buttons at the given rectangles.
struct FakeCalendar {
    SkinRect previous, next, title;
    uint32_t operator()(int32_t x, int32_t y) const
    {
        auto in = [&](const SkinRect &r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
        if (in(previous)) return kHitTitleButtonPrev;
        if (in(next)) return kHitTitleButtonNext;
        if (in(title)) return 0x00010000;  // the title itself
        return kHitCalendarDate;
    }
};

TEST(CalendarTitleButtons, FoundAndMeasuredToThePixel)
{
    const FakeCalendar layouts[] = {
        {{6, 5, 22, 21}, {197, 5, 213, 21}, {0, 0, 220, 26}},
        // Odd places and sizes, and the next button first in the row (right to left).
        {{181, 3, 196, 16}, {9, 3, 24, 16}, {0, 0, 200, 20}},
        // Buttons three pixels wide and high, at odd corners.
        {{1, 1, 4, 4}, {95, 11, 98, 14}, {0, 0, 100, 16}},
    };
    for (const FakeCalendar &c : layouts) {
        CalendarTitleButtons found = findCalendarTitleButtons(c.title.right, 160, c);
        EXPECT_EQ(found.previous, c.previous);
        EXPECT_EQ(found.next, c.next);
        EXPECT_EQ(calendarButtonAt(found, c.previous.left, c.previous.bottom - 1), 1);
        EXPECT_EQ(calendarButtonAt(found, c.next.right - 1, c.next.top), 2);
        EXPECT_EQ(calendarButtonAt(found, c.next.right, c.next.top), 0);
    }
    // A calendar that shows no title buttons (too small, or none): nothing found, nothing hit.
    FakeCalendar bare{{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 50, 10}};
    CalendarTitleButtons none = findCalendarTitleButtons(50, 40, bare);
    EXPECT_TRUE(none.previous.isEmpty());
    EXPECT_TRUE(none.next.isEmpty());
    EXPECT_EQ(calendarButtonAt(none, 0, 0), 0);
    EXPECT_TRUE(findCalendarTitleButtons(0, 0, bare).previous.isEmpty());
}

}  // namespace
