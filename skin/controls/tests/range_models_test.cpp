#include "range_models.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

ProgressModel progress(int32_t minimum, int32_t maximum, int32_t position)
{
    ProgressModel m;
    m.takeOver(minimum, maximum, position, minimum + 1);
    return m;
}

TEST(ProgressModel, AnswersAsTheControlsMessagesDo)
{
    ProgressModel m = progress(0, 100, 0);
    EXPECT_EQ(m.setRange(0, 200), 0u | (100u << 16));  // the old range, packed
    EXPECT_EQ(m.setPosition(300), 0);                    // the old position
    EXPECT_EQ(m.position(), 200);                        // clamped to the maximum
    EXPECT_EQ(m.deltaPosition(-500), 200);
    EXPECT_EQ(m.position(), -300);                       // no lower limit
    EXPECT_EQ(m.deltaPosition(1000), -300);
    EXPECT_EQ(m.position(), 200);                        // limited to the maximum
    EXPECT_EQ(m.setStep(30), 1);
    m.setPosition(150);
    EXPECT_EQ(m.stepIt(), 150);
    EXPECT_EQ(m.position(), 180);
    m.stepIt();
    EXPECT_EQ(m.position(), 200);
    EXPECT_EQ(m.range(true), 0);
    EXPECT_EQ(m.range(false), 200);
}

TEST(ProgressModel, NewRangeClampsThePositionAndPacksSixteenBitHalves)
{
    ProgressModel m = progress(-5, 70000, 60000);
    EXPECT_EQ(m.setRange(10, 50), (0xFFFFu & static_cast<uint32_t>(-5)) | ((70000u & 0xFFFFu) << 16));
    EXPECT_EQ(m.position(), 50);
    m.setRange(60, 80);
    EXPECT_EQ(m.position(), 60);
}

TEST(ProgressModel, DeltasAndStepsNeverWrapAround)
{
    ProgressModel m = progress(INT_MIN, INT_MAX, INT_MIN + 3);
    m.deltaPosition(INT_MIN);
    EXPECT_EQ(m.position(), INT_MIN);
    m.setPosition(INT_MAX - 1);
    m.setStep(INT_MAX);
    m.stepIt();
    EXPECT_EQ(m.position(), INT_MAX);
}

TEST(ProgressModel, TakeOverDerivesTheStepFromOneStepOfTheControl)
{
    struct Case {
        int32_t minimum, after, step;
    } cases[] = {{0, 10, 10}, {5, 6, 1}, {5, 5, 1}, {5, 2, 1}, {-10, 0, 10}};
    for (const Case &c : cases) {
        ProgressModel m;
        m.takeOver(c.minimum, 100, 50, c.after);
        EXPECT_EQ(m.step(), c.step) << c.minimum << " " << c.after;
        EXPECT_EQ(m.position(), 50);
    }
}

TEST(ProgressFill, IsTruncatedAndAlwaysWithinTheBar)
{
    struct Case {
        int32_t minimum, maximum, position, width, fill;
    } cases[] = {
        {0, 100, 50, 200, 100},
        {0, 3, 1, 100, 33},        // truncated
        {0, 200, 200, 150, 150},
        {10, 10, 10, 100, 0},      // empty range
        {0, 200, -300, 100, 0},    // below the minimum after a delta
        {0, 100, 500, 100, 100},   // beyond the maximum
        {100, 0, 50, 100, 50},     // minimum above the maximum: the fill stays inside the bar
        {100, 0, 150, 100, 0},
        {100, 0, -50, 100, 100},
        {INT_MIN, INT_MAX, INT_MAX, 640, 640},
        {0, 100, 50, 0, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(progressFillLength(c.minimum, c.maximum, c.position, c.width), c.fill)
            << c.minimum << ".." << c.maximum << " at " << c.position << " over " << c.width;
}

TEST(ProgressFill, BlocksAreWholeOnly)
{
    EXPECT_EQ(progressBlockCount(100, 9), 11);
    EXPECT_EQ(progressBlockCount(8, 9), 0);
    EXPECT_EQ(progressBlockCount(100, 0), 0);
    EXPECT_EQ(progressBlockCount(-4, 3), 0);
}

// A vertical bar 200 pixels long from y = 10, arrows of 16 and a minimum thumb of 8.
const ScrollAxis kAxis{10, 200, 16, 8};

TEST(ScrollControl, ThumbFollowsPageAndPositionInsideTheArrows)
{
    ScrollValues v{0, 99, 10, 0};
    ScrollThumb t = scrollThumb(v, kAxis);
    EXPECT_EQ(t.start, 26);
    EXPECT_EQ(t.length, 17);  // MulDiv(10, 168, 100) rounds 16.8
    v.position = 90;          // the last position: the thumb at the far end
    t = scrollThumb(v, kAxis);
    EXPECT_EQ(t.start + t.length, 10 + 200 - 16);
    v.position = 1000;        // beyond: still inside
    EXPECT_EQ(scrollThumb(v, kAxis).start + t.length, 194);
    v.page = 0;               // no page: an arrow-long thumb, as the window bars show it
    EXPECT_EQ(scrollThumb(v, kAxis).length, 16);
    EXPECT_EQ(scrollThumb(v, ScrollAxis{10, 200, 16, 24}).length, 24) << "never below the minimum thumb";
    v.page = 1;               // a tiny page: still the minimum
    EXPECT_EQ(scrollThumb(v, kAxis).length, 8);
    v = {0, 9, 500, 3};       // a page beyond the range fills the space
    EXPECT_EQ(scrollThumb(v, kAxis).length, 168);
    EXPECT_EQ(scrollThumb(v, kAxis).start, 26);
    v = {INT_MIN, INT_MAX, 10, 0};  // too wide a range: no thumb
    EXPECT_EQ(scrollThumb(v, kAxis).length, 0);
    ScrollAxis tiny{0, 20, 16, 8};  // arrows overlapping: an empty space, no negative thumb
    EXPECT_EQ(scrollThumb({0, 99, 10, 50}, tiny).length, 0);
}

TEST(ScrollControl, PartsUnderThePointer)
{
    ScrollValues v{0, 99, 10, 45};
    ScrollThumb t = scrollThumb(v, kAxis);
    struct Case {
        int32_t at, part;
    } cases[] = {
        {9, kScrollPartNone},         {10, kScrollPartFirstArrow},     {25, kScrollPartFirstArrow},
        {26, kScrollPartTrackBefore}, {t.start - 1, kScrollPartTrackBefore}, {t.start, kScrollPartThumb},
        {t.start + t.length - 1, kScrollPartThumb}, {t.start + t.length, kScrollPartTrackAfter},
        {193, kScrollPartTrackAfter}, {194, kScrollPartSecondArrow},   {209, kScrollPartSecondArrow},
        {210, kScrollPartNone},
    };
    for (const Case &c : cases)
        EXPECT_EQ(scrollPartAt(v, kAxis, c.at), c.part) << c.at;
    // A bar shorter than both arrows: each arrow takes half.
    ScrollAxis shortBar{0, 20, 16, 8};
    EXPECT_EQ(scrollPartAt(v, shortBar, 9), kScrollPartFirstArrow);
    EXPECT_EQ(scrollPartAt(v, shortBar, 10), kScrollPartSecondArrow);
    EXPECT_EQ(scrollRequestForPart(kScrollPartTrackAfter), kScrollPageDown);
    EXPECT_EQ(scrollRequestForPart(kScrollPartThumb), -1);
}

TEST(ScrollControl, DragScalesThePointerToPositionsAndNeverDividesByZero)
{
    ScrollValues v{0, 99, 10, 0};
    int32_t thumb = scrollThumb(v, kAxis).length;  // 17: free space 151, positions 90
    EXPECT_EQ(scrollDragPosition(v, kAxis, thumb, 26 + 5, 5), 0);
    EXPECT_EQ(scrollDragPosition(v, kAxis, thumb, 26 + 151 + 5, 5), 90);
    EXPECT_EQ(scrollDragPosition(v, kAxis, thumb, 26 + 75 + 5, 5), 44);  // 75 * 90 / 151 truncated
    EXPECT_EQ(scrollDragPosition(v, kAxis, thumb, -500, 5), 0);
    EXPECT_EQ(scrollDragPosition(v, kAxis, thumb, 5000, 5), 90);
    // Thumb and arrows fill the bar: no free space to scale.
    EXPECT_EQ(scrollDragPosition(v, kAxis, 168, 100, 0), 0);
    EXPECT_EQ(scrollDragPosition(v, {0, 32, 16, 0}, 0, 20, 0), 0);
    // An empty range or a page wider than it: nothing to reach.
    EXPECT_EQ(scrollDragPosition({5, 5, 0, 5}, kAxis, 8, 150, 0), 5);
    EXPECT_EQ(scrollDragPosition({0, 9, 50, 0}, kAxis, 8, 150, 0), 0);
}

TEST(ScrollControl, TrackRepeatsUntilTheThumbReachesThePointer)
{
    ScrollThumb thumb{100, 20};
    EXPECT_TRUE(scrollTrackRepeats(kScrollPartTrackBefore, thumb, 99));
    EXPECT_FALSE(scrollTrackRepeats(kScrollPartTrackBefore, thumb, 100));
    EXPECT_TRUE(scrollTrackRepeats(kScrollPartTrackAfter, thumb, 120));
    EXPECT_FALSE(scrollTrackRepeats(kScrollPartTrackAfter, thumb, 119));
    EXPECT_TRUE(scrollTrackRepeats(kScrollPartFirstArrow, thumb, 0));
    EXPECT_FALSE(scrollTrackRepeats(kScrollPartThumb, thumb, 110));
}

TEST(UpDown, HalvesStatesAndLooks)
{
    SkinRect client = makeSkinRect(0, 0, 17, 30);
    EXPECT_EQ(upDownHalfAt(client, false, 5, 14), kUpDownFirst);
    EXPECT_EQ(upDownHalfAt(client, false, 5, 15), kUpDownSecond);
    EXPECT_EQ(upDownHalfAt(client, false, 17, 15), kUpDownNone);
    EXPECT_EQ(upDownHalfAt(client, true, 7, 29), kUpDownFirst);
    EXPECT_EQ(upDownHalfAt(client, true, 8, 0), kUpDownSecond);

    EXPECT_EQ(upDownStateOnMove(kUpDownSecond, true), kUpDownSecondPressed);
    EXPECT_EQ(upDownStateOnMove(kUpDownSecond, false), kUpDownSecondHot);
    EXPECT_EQ(upDownStateOnMove(kUpDownNone, true), kUpDownNormal);
    EXPECT_EQ(upDownStateOnButtonDown(kUpDownFirst), kUpDownFirstPressed);
    EXPECT_EQ(upDownStateOnButtonUp(kUpDownFirst), kUpDownFirstHot);

    EXPECT_EQ(upDownLookFor(kUpDownFirst, kUpDownFirstPressed, true), kUpDownLookPressed);
    EXPECT_EQ(upDownLookFor(kUpDownSecond, kUpDownFirstPressed, true), kUpDownLookNormal);
    EXPECT_EQ(upDownLookFor(kUpDownSecond, kUpDownSecondHot, true), kUpDownLookHot);
    EXPECT_EQ(upDownLookFor(kUpDownSecond, kUpDownSecondHot, false), kUpDownLookDisabled);
}

}  // namespace
