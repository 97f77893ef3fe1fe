#include "scroll_tracker.h"

#include <gtest/gtest.h>

namespace {

// A horizontal bar from x = 0, 216 long, arrows of 16, minimum thumb 8; range 0..99, page 10
// (thumb 18 pixels, 166 of free space, positions 0..90).
const ScrollAxis kAxis{0, 216, 16, 8};

ScrollValues at(int32_t position) { return {0, 99, 10, position}; }

ScrollAction send(int32_t request, int32_t position = 0) { return {kScrollSend, request, position}; }

TEST(ScrollTracker, HoldingAnArrowRepeatsUntilReleaseThenEndsTheScroll)
{
    ScrollControlTracker t;
    EXPECT_EQ(t.buttonDown(at(0), kAxis, 210),
              (ScrollActions{{kScrollCapture}, send(kScrollLineDown), {kScrollStartRepeat}, {kScrollRepaint}}));
    EXPECT_EQ(t.pressedPart(), kScrollPartSecondArrow);
    for (int32_t position = 1; position <= 3; ++position)
        EXPECT_EQ(t.repeatTimer(at(position), kAxis), (ScrollActions{send(kScrollLineDown)}));
    EXPECT_EQ(t.buttonUp(at(3), kAxis, 210),
              (ScrollActions{{kScrollRelease}, {kScrollStopRepeat}, send(kScrollEndScroll), {kScrollRepaint}}));
    EXPECT_FALSE(t.pressed());
    EXPECT_TRUE(t.repeatTimer(at(3), kAxis).empty());
    EXPECT_TRUE(t.buttonUp(at(3), kAxis, 210).empty());
}

TEST(ScrollTracker, MovingOffThePressedPartPausesTheRepeat)
{
    ScrollControlTracker t;
    t.buttonDown(at(50), kAxis, 5);
    EXPECT_EQ(t.mouseMove(at(50), kAxis, 100, true), (ScrollActions{{kScrollStopRepeat}}));
    EXPECT_TRUE(t.mouseMove(at(50), kAxis, 101, true).empty());
    EXPECT_EQ(t.mouseMove(at(50), kAxis, 6, true), (ScrollActions{{kScrollStartRepeat}}));
    EXPECT_EQ(t.repeatTimer(at(49), kAxis), (ScrollActions{send(kScrollLineUp)}));
}

TEST(ScrollTracker, PagingStopsOnceTheThumbReachesThePointer)
{
    ScrollControlTracker t;
    const int32_t pointer = 150;
    EXPECT_EQ(t.buttonDown(at(0), kAxis, pointer)[1], send(kScrollPageDown));
    int32_t position = 0, pages = 1;
    for (;;) {
        position += 10;  // the owner pages on each request
        ScrollActions a = t.repeatTimer(at(position), kAxis);
        ASSERT_EQ(a.size(), 1u);
        if (a[0].kind == kScrollStopRepeat)
            break;
        EXPECT_EQ(a[0], send(kScrollPageDown));
        ASSERT_LT(++pages, 20);
    }
    ScrollThumb thumb = scrollThumb(at(position), kAxis);
    EXPECT_LT(thumb.start, pointer + 1);
    EXPECT_GE(thumb.start + thumb.length, pointer - 0);
    EXPECT_TRUE(t.repeatTimer(at(position), kAxis).empty());
}

TEST(ScrollTracker, DraggingTheThumbTracksAndEndsWithItsPosition)
{
    ScrollControlTracker t;
    ScrollThumb thumb = scrollThumb(at(0), kAxis);
    EXPECT_EQ(thumb.start, 16);
    EXPECT_EQ(t.buttonDown(at(0), kAxis, 20),
              (ScrollActions{{kScrollCapture}, send(kScrollThumbTrack, 0), {kScrollRepaint}}));
    // The pointer 4 pixels into the thumb: half the free space further is half the positions.
    int32_t free = 216 - 32 - thumb.length;
    EXPECT_EQ(t.mouseMove(at(0), kAxis, 20 + free / 2, true), (ScrollActions{send(kScrollThumbTrack, 90 * (free / 2) / free)}));
    EXPECT_EQ(t.mouseMove(at(0), kAxis, 500, true), (ScrollActions{send(kScrollThumbTrack, 90)}));
    EXPECT_TRUE(t.repeatTimer(at(0), kAxis).empty());
    EXPECT_EQ(t.buttonUp(at(0), kAxis, -50), (ScrollActions{{kScrollRelease}, {kScrollStopRepeat},
                                                             send(kScrollThumbPosition, 0), send(kScrollEndScroll),
                                                             {kScrollRepaint}}));
}

TEST(ScrollTracker, HotPartRepaintsOnlyWhenItChanges)
{
    ScrollControlTracker t;
    EXPECT_EQ(t.mouseMove(at(0), kAxis, 5, false), (ScrollActions{{kScrollRepaint}}));
    EXPECT_EQ(t.hotPart(), kScrollPartFirstArrow);
    EXPECT_TRUE(t.mouseMove(at(0), kAxis, 6, false).empty());
    EXPECT_EQ(t.mouseMove(at(0), kAxis, 100, false), (ScrollActions{{kScrollRepaint}}));
    EXPECT_EQ(t.hotPart(), kScrollPartTrackAfter);
    EXPECT_TRUE(t.buttonDown(at(0), kAxis, 400).empty());  // outside the bar: no press
    EXPECT_FALSE(t.pressed());
}

}  // namespace
