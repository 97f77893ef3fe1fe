// The skinned scroll bars' arithmetic: clamping, layout, thumb, hit test, pieces and the
// course of a press.
#include "scroll_model.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>

using namespace skinbar;

namespace {

ScrollValues values(int32_t min, int32_t max, uint32_t page, int32_t pos)
{
    ScrollValues v;
    v.min = min;
    v.max = max;
    v.page = page;
    v.pos = pos;
    return v;
}

TEST(ScrollClamp, PositionsKeepWithinMinAndTheLastPage)
{
    struct Case {
        ScrollValues v;
        int64_t asked;
        int32_t stored;
    } cases[] = {
        {values(0, 99, 10, 0), 200, 90},                 // the last page starts at 90
        {values(0, 99, 10, 0), -5, 0},
        {values(0, 99, 0, 0), 200, 99},                  // no page: the last item, not one past it
        {values(0, 99, 1, 0), 200, 99},
        {values(0, 99, 500, 0), 50, 0},                  // a page larger than the range: nowhere to go
        {values(0, 99, 0x80000000u, 0), 50, 0},          // a page too large for a signed comparison
        {values(-50, 50, 10, 0), -80, -50},              // negative ranges compare signed
        {values(-50, 50, 10, 0), 45, 41},
        {values(10, 10, 0, 10), 30, 10},
        {values(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 0, 0),
         std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(clampScrollPos(c.v, c.asked), c.stored)
            << c.v.min << ".." << c.v.max << " page " << c.v.page << " pos " << c.asked;
    }
}

TEST(ScrollClamp, SetScrollInfoStoresByMaskAndKeepsThePositionInRange)
{
    ScrollValues v;
    storeScrollInfo(v, kScrollMaskAll, values(0, 99, 10, 200));
    EXPECT_EQ(v.min, 0);
    EXPECT_EQ(v.max, 99);
    EXPECT_EQ(v.page, 10u);
    EXPECT_EQ(v.pos, 90);

    storeScrollInfo(v, kScrollMaskPage, values(0, 0, 1000, 0));
    EXPECT_EQ(v.page, 100u) << "a page is at most the range's size";
    EXPECT_EQ(v.pos, 0) << "a page as large as the range leaves no room to scroll";

    storeScrollInfo(v, kScrollMaskRange | kScrollMaskPage | kScrollMaskPos, values(0, 999, 10, 500));
    storeScrollInfo(v, kScrollMaskRange, values(0, 49, 0, 0));
    EXPECT_EQ(v.pos, 40) << "a shrinking range brings the position back";

    ScrollValues asked;
    EXPECT_TRUE(copyScrollInfo(v, kScrollMaskRange, asked));
    EXPECT_EQ(asked.max, 49);
    EXPECT_FALSE(copyScrollInfo(v, 0, asked));
    EXPECT_TRUE(copyScrollInfo(v, kScrollMaskPos, asked));
    EXPECT_EQ(asked.pos, 40);
}

TEST(ScrollClamp, VisibilityActivityAndArrows)
{
    EXPECT_TRUE(scrollBarWantedVisible(values(0, 99, 10, 0), kScrollMaskAll, 0));
    EXPECT_FALSE(scrollBarWantedVisible(values(0, 0, 0, 0), kScrollMaskAll, 0));
    EXPECT_FALSE(scrollBarWantedVisible(values(0, 5, 10, 0), kScrollMaskAll, 0));
    EXPECT_TRUE(scrollBarWantedVisible(values(0, 0, 0, 0), kScrollMaskAll | kScrollMaskDisableNoScroll, 0));
    EXPECT_TRUE(scrollBarWantedVisible(values(0, 0, 0, 0), kScrollMaskAll, kScrollKeepActive));

    EXPECT_TRUE(scrollBarActive(values(0, 99, 10, 0), 0));
    EXPECT_TRUE(scrollBarActive(values(0, 99, 10, 0), kScrollFirstArrowDisabled));
    EXPECT_FALSE(scrollBarActive(values(0, 99, 10, 0), kScrollArrowBits));
    EXPECT_FALSE(scrollBarActive(values(0, 0, 0, 0), 0));
    EXPECT_TRUE(scrollBarActive(values(0, 0, 0, 0), kScrollKeepActive));

    uint32_t flags = kScrollBarWanted;
    EXPECT_TRUE(setScrollArrows(flags, kScrollArrowBits));
    EXPECT_EQ(flags, kScrollBarWanted | kScrollArrowBits);
    EXPECT_FALSE(setScrollArrows(flags, kScrollArrowBits | 0xF0));
    EXPECT_TRUE(setScrollArrows(flags, 0));
    EXPECT_EQ(flags, kScrollBarWanted);

    for (int32_t size : {0, -9, 257}) {
        EXPECT_FALSE(scrollSizeAccepted(size)) << size;
    }
    for (int32_t size : {-8, -1, 1, 256}) {
        EXPECT_TRUE(scrollSizeAccepted(size)) << size;
    }
    EXPECT_EQ(scrollSizePixels(-2, 17), 34);
    EXPECT_EQ(scrollSizePixels(20, 17), 20);
}

TEST(ScrollMulDiv, RoundsAsThePlatformDoes)
{
    EXPECT_EQ(scrollMulDiv(10, 180, 100), 18);
    EXPECT_EQ(scrollMulDiv(1, 3, 2), 2);      // halves away from zero
    EXPECT_EQ(scrollMulDiv(-1, 3, 2), -2);
    EXPECT_EQ(scrollMulDiv(5, 5, 0), -1);
    EXPECT_EQ(scrollMulDiv(0x40000000, 8, 1), -1);
    EXPECT_EQ(scrollMulDiv(0x40000000, 8, 4), -1);
    EXPECT_EQ(scrollMulDiv(0x40000000, 4, 4), 0x40000000);
}

// A window 200 by 150 whose own frame leaves a 2-pixel border.
ScrollLayoutInput framedWindow(bool horizontal, bool vertical, bool onLeft = false)
{
    ScrollLayoutInput in;
    in.windowWidth = 200;
    in.windowHeight = 150;
    in.client = SkinRect{2, 2, 198, 148};
    in.horizontalWanted = horizontal;
    in.verticalWanted = vertical;
    in.horizontalThickness = 16;
    in.verticalThickness = 17;
    in.verticalOnLeft = onLeft;
    return in;
}

TEST(ScrollLayoutTest, BarsTakeTheirRoomFromTheClientArea)
{
    ScrollLayoutInput in = framedWindow(true, true);
    ScrollLayout l = layoutScrollBars(in);
    EXPECT_TRUE(l.horizontalShown);
    EXPECT_TRUE(l.verticalShown);
    EXPECT_EQ(l.client, (SkinRect{2, 2, 181, 132}));
    EXPECT_EQ(scrollBarRect(in, l, kScrollHorizontal), (SkinRect{2, 132, 181, 148}));
    EXPECT_EQ(scrollBarRect(in, l, kScrollVertical), (SkinRect{181, 2, 198, 132}));
    EXPECT_EQ(scrollCornerRect(in, l), (SkinRect{181, 132, 198, 148}));

    ScrollLayoutInput left = framedWindow(true, true, true);
    ScrollLayout ll = layoutScrollBars(left);
    EXPECT_EQ(ll.client, (SkinRect{19, 2, 198, 132}));
    EXPECT_EQ(scrollBarRect(left, ll, kScrollHorizontal), (SkinRect{19, 132, 198, 148}));
    EXPECT_EQ(scrollBarRect(left, ll, kScrollVertical), (SkinRect{2, 2, 19, 132}));
    EXPECT_EQ(scrollCornerRect(left, ll), (SkinRect{2, 132, 19, 148}));

    ScrollLayoutInput vertical = framedWindow(false, true);
    ScrollLayout vl = layoutScrollBars(vertical);
    EXPECT_FALSE(vl.horizontalShown);
    EXPECT_EQ(scrollBarRect(vertical, vl, kScrollVertical), (SkinRect{181, 2, 198, 148}));
    EXPECT_TRUE(scrollCornerRect(vertical, vl).isEmpty());
}

TEST(ScrollLayoutTest, ATooSmallClientAreaGetsNoBar)
{
    ScrollLayoutInput in = framedWindow(true, true);
    in.client = SkinRect{2, 2, 18, 18};  // 16 by 16: too low for a 16-pixel bar, wide enough for none
    ScrollLayout l = layoutScrollBars(in);
    EXPECT_FALSE(l.horizontalShown);
    EXPECT_FALSE(l.verticalShown);
    in.client = SkinRect{2, 2, 19, 18};  // exactly the vertical bar's thickness wide
    EXPECT_TRUE(layoutScrollBars(in).verticalShown);
}

// A vertical bar 17 wide from y 0 to 200 with 17-pixel arrows: the space runs from 17 to 183.
const SkinRect kBar{0, 0, 17, 200};

TEST(ScrollThumbTest, SizeAndPlaceFollowPageAndPosition)
{
    ScrollBarSpan span = scrollSpan(kBar, kScrollVertical, 17);
    EXPECT_EQ(span.arrow, 17);
    struct Case {
        ScrollValues v;
        int32_t start, length;
    } cases[] = {
        {values(0, 99, 10, 0), 17, 17},     // 166 * 10 / 100 rounds to 17
        {values(0, 99, 10, 90), 166, 17},   // the last position puts the thumb at the end
        {values(0, 99, 10, 45), 17 + 75, 17},
        {values(0, 99, 1, 0), 17, 8},       // the minimum thumb
        {values(0, 99, 0, 99), 166, 17},    // no page: an arrow-long thumb
        {values(0, 99, 100, 0), 17, 166},   // the whole range in one page: the thumb fills the space
        {values(0, 99, 10, 500), 166, 17},  // a position beyond the end stays at the end
        {values(0, 99, 10, -5), 17, 17},
        {values(-100, 99, 20, 0), 17 + 83, 17},
        {values(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 10, 0), 17, 0},
    };
    for (const Case &c : cases) {
        ScrollThumb t = scrollThumb(span, c.v, 8);
        EXPECT_EQ(t.start, c.start) << c.v.min << ".." << c.v.max << " page " << c.v.page << " pos " << c.v.pos;
        EXPECT_EQ(t.length, c.length) << c.v.min << ".." << c.v.max << " page " << c.v.page;
        EXPECT_EQ(t.spaceStart, 17);
        EXPECT_EQ(t.space, 166);
    }
}

TEST(ScrollHitTestTest, PartsAlongTheBar)
{
    ScrollValues v = values(0, 99, 10, 45);  // thumb at 92..109
    struct Case {
        int32_t x, y, part;
    } cases[] = {
        {8, 0, kScrollPartFirstArrow}, {8, 16, kScrollPartFirstArrow}, {8, 17, kScrollPartTrackBefore},
        {8, 91, kScrollPartTrackBefore}, {8, 92, kScrollPartThumb}, {8, 108, kScrollPartThumb},
        {8, 109, kScrollPartTrackAfter}, {8, 182, kScrollPartTrackAfter}, {8, 183, kScrollPartLastArrow},
        {8, 199, kScrollPartLastArrow}, {8, 200, kScrollPartNone}, {17, 100, kScrollPartNone},
        {-1, 100, kScrollPartNone},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(scrollHitTest(kBar, kScrollVertical, 17, v, 8, c.x, c.y), c.part) << c.x << "," << c.y;
    }
    // A thumb as long as the space leaves only the arrows.
    EXPECT_EQ(scrollHitTest(kBar, kScrollVertical, 17, values(0, 99, 100, 0), 8, 8, 100), kScrollPartNone);
    // Horizontal bars are measured along x.
    SkinRect h{10, 50, 210, 67};
    EXPECT_EQ(scrollHitTest(h, kScrollHorizontal, 17, v, 8, 20, 55), kScrollPartFirstArrow);
    EXPECT_EQ(scrollHitTest(h, kScrollHorizontal, 17, v, 8, 110, 55), kScrollPartThumb);
}

TEST(ScrollPiecesTest, ABarShorterThanTwoArrowsShowsTwoHalfArrows)
{
    SkinRect shortBar{0, 0, 17, 25};
    auto pieces = scrollBarPieces(shortBar, kScrollVertical, 17, values(0, 99, 10, 0), 0, 8, {});
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].part, kScrollPartFirstArrow);
    EXPECT_EQ(pieces[0].rect, (SkinRect{0, 0, 17, 12}));
    EXPECT_EQ(pieces[1].part, kScrollPartTrackBefore) << "the pixel left between the arrows";
    EXPECT_EQ(pieces[1].rect, (SkinRect{0, 12, 17, 13}));
    EXPECT_EQ(pieces[2].part, kScrollPartLastArrow);
    EXPECT_EQ(pieces[2].rect, (SkinRect{0, 13, 17, 25}));
    EXPECT_EQ(scrollHitTest(shortBar, kScrollVertical, 17, values(0, 99, 10, 0), 8, 8, 12), kScrollPartNone);

    auto even = scrollBarPieces(SkinRect{0, 0, 17, 24}, kScrollVertical, 17, values(0, 99, 10, 0), 0, 8, {});
    ASSERT_EQ(even.size(), 2u);
    EXPECT_EQ(even[0].rect.height(), 12);
    EXPECT_EQ(even[1].rect.height(), 12);
}

TEST(ScrollPiecesTest, PiecesAndTheirStates)
{
    ScrollBarLook look;
    look.pressedPart = kScrollPartTrackAfter;
    look.hotPart = kScrollPartThumb;
    auto pieces = scrollBarPieces(kBar, kScrollVertical, 17, values(0, 99, 10, 45), kScrollFirstArrowDisabled, 8, look);
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(pieces[0].state, kScrollDrawDisabled);
    EXPECT_EQ(pieces[1].part, kScrollPartTrackBefore);
    EXPECT_EQ(pieces[1].rect, (SkinRect{0, 17, 17, 92}));
    EXPECT_EQ(pieces[2].part, kScrollPartTrackAfter);
    EXPECT_EQ(pieces[2].state, kScrollDrawPressed);
    EXPECT_EQ(pieces[3].part, kScrollPartThumb);
    EXPECT_EQ(pieces[3].rect, (SkinRect{0, 92, 17, 109}));
    EXPECT_EQ(pieces[3].state, kScrollDrawHot);
    EXPECT_EQ(pieces[4].state, kScrollDrawNormal);

    // An inactive bar: disabled arrows and one track over the space.
    auto idle = scrollBarPieces(kBar, kScrollVertical, 17, values(0, 0, 0, 0), 0, 8, {});
    ASSERT_EQ(idle.size(), 3u);
    EXPECT_EQ(idle[1].rect, (SkinRect{0, 17, 17, 183}));
    for (const auto &p : idle) {
        EXPECT_EQ(p.state, kScrollDrawDisabled);
    }
    // A dragged thumb is drawn where it was dragged to, kept between the arrows.
    int32_t dragged = 1000;
    for (const auto &p : scrollBarPieces(kBar, kScrollVertical, 17, values(0, 99, 10, 0), 0, 8, {}, &dragged)) {
        if (p.part == kScrollPartThumb) {
            EXPECT_EQ(p.rect, (SkinRect{0, 166, 17, 183}));
        }
        EXPECT_NE(p.part, kScrollPartTrackAfter) << "nothing is left after a thumb at the end";
    }
}

ScrollPress::Bar pressedBar(ScrollValues v, uint32_t flags = kScrollBarWanted)
{
    ScrollPress::Bar b;
    b.rect = kBar;
    b.kind = kScrollVertical;
    b.arrowLength = 17;
    b.minThumb = 8;
    b.flags = flags;
    b.values = v;
    return b;
}

int32_t requestsIn(const ScrollActions &actions, int32_t request)
{
    int32_t n = 0;
    for (const auto &a : actions) {
        n += a.kind == ScrollAction::kSendRequest && a.request == request;
    }
    return n;
}

// Runs a press's timers on a simulated clock and records when each page request goes out.
TEST(ScrollPressTest, TrackPressRepeatsAfterTheDelayThenAtTheInterval)
{
    ScrollPress press;
    std::map<uint32_t, uint32_t> timers;  // id -> interval
    std::map<uint32_t, uint32_t> due;     // id -> next tick
    std::vector<uint32_t> sentAt;
    uint32_t now = 0;
    auto run = [&](const ScrollActions &actions) {
        for (const auto &a : actions) {
            if (a.kind == ScrollAction::kSetTimer) {
                timers[a.timer] = a.interval;
                due[a.timer] = now + a.interval;
            } else if (a.kind == ScrollAction::kKillTimer) {
                timers.erase(a.timer);
                due.erase(a.timer);
            } else if (a.kind == ScrollAction::kSendRequest && a.request == kScrollPageAfter) {
                sentAt.push_back(now);
            }
        }
    };
    run(press.press(pressedBar(values(0, 99, 10, 0)), 8, 150));
    ASSERT_EQ(press.part(), kScrollPartTrackAfter);
    for (now = 1; now <= 520; ++now) {
        std::vector<uint32_t> firing;
        for (const auto &d : due) {
            if (d.second == now) {
                firing.push_back(d.first);
            }
        }
        for (uint32_t id : firing) {
            if (due.count(id) && due[id] == now) {
                due[id] = now + timers[id];
                run(press.timer(id, 8, 150));
            }
        }
    }
    ASSERT_EQ(sentAt.size(), 5u);  // 0, 355, 410, 465, 520
    EXPECT_EQ(sentAt[0], 0u) << "the first request at the press";
    EXPECT_EQ(sentAt[1], kScrollRepeatDelayMs + kScrollRepeatIntervalMs);
    for (size_t i = 2; i < sentAt.size(); ++i) {
        EXPECT_EQ(sentAt[i] - sentAt[i - 1], kScrollRepeatIntervalMs);
    }
    EXPECT_EQ(timers.count(kScrollRepeatDelayTimer), 0u);

    // The pointer off the pressed part: the part is drawn normal and the ticks send nothing.
    ScrollActions off = press.timer(kScrollRepeatTimer, 8, 30);
    EXPECT_EQ(requestsIn(off, kScrollPageAfter), 0);
    EXPECT_EQ(press.drawnPressed(), kScrollPartNone);
    EXPECT_EQ(requestsIn(press.timer(kScrollRepeatTimer, 8, 150), kScrollPageAfter), 1);

    ScrollActions up = press.release();
    EXPECT_EQ(requestsIn(up, kScrollEnd), 1);
    EXPECT_EQ(requestsIn(up, kScrollThumbPosition), 0);
    EXPECT_FALSE(press.pressed());
}

TEST(ScrollPressTest, ArrowsAndDisabledArrows)
{
    ScrollPress press;
    ScrollActions down = press.press(pressedBar(values(0, 99, 10, 0)), 8, 5);
    EXPECT_EQ(down[0], (ScrollAction{ScrollAction::kSendRequest, kScrollLineBefore}));
    EXPECT_EQ(down.back().kind, ScrollAction::kCapture);
    press.release();

    ScrollActions none = press.press(pressedBar(values(0, 99, 10, 0), kScrollBarWanted | kScrollLastArrowDisabled), 8, 190);
    EXPECT_TRUE(none.empty()) << "a disabled arrow is not even captured";
    EXPECT_FALSE(press.pressed());

    // An inactive bar captures a press on its track but sends nothing, also at release.
    ScrollActions idle = press.press(pressedBar(values(0, 0, 0, 0)), 8, 5);
    ASSERT_EQ(idle.size(), 1u);
    EXPECT_EQ(idle[0].kind, ScrollAction::kCapture);
    EXPECT_TRUE(press.timer(kScrollRepeatDelayTimer, 8, 5).empty());
    ScrollActions idleUp = press.release();
    EXPECT_EQ(requestsIn(idleUp, kScrollEnd), 0);
    EXPECT_EQ(idleUp[0].kind, ScrollAction::kReleaseCapture);
}

TEST(ScrollPressTest, ThumbTracksThePointerAndSnapsBackFarFromTheBar)
{
    ScrollPress press;
    ScrollValues v = values(0, 99, 10, 45);  // thumb at 92..109
    ScrollActions down = press.press(pressedBar(v), 8, 100);  // grabbed 8 pixels into the thumb
    ASSERT_TRUE(press.trackingThumb());
    EXPECT_EQ(requestsIn(down, kScrollThumbTrack), 0);

    struct Step {
        int32_t x, y;
        int32_t thumbStart;
        int32_t position;  // -1: nothing sent
    } steps[] = {
        {8, 108, 100, 50},   // down 8 pixels
        {8, 108, 100, -1},   // the same place sends nothing again
        {8, 1000, 92, 45},   // beyond the snap area: back to the start and the old position
        {41, 120, 92, -1},   // 24 pixels beside the bar is outside as well
        {40, 120, 112, 57},  // 23 beside: follows again
        {8, -47, 17, 0},     // above the bar but within 48 along: the top
        {8, -49, 92, 45},
    };
    for (const Step &s : steps) {
        ScrollActions a = press.move(s.x, s.y);
        EXPECT_EQ(press.thumbStart(), s.thumbStart) << s.x << "," << s.y;
        if (s.position < 0) {
            EXPECT_TRUE(a.empty()) << s.x << "," << s.y;
            continue;
        }
        ASSERT_EQ(requestsIn(a, kScrollThumbTrack), 1) << s.x << "," << s.y;
        for (const auto &act : a) {
            if (act.kind == ScrollAction::kSendRequest) {
                EXPECT_EQ(act.position, s.position) << s.x << "," << s.y;
            }
        }
    }
    press.move(8, 230);  // 30 past the bar's end, within 48: the thumb at the end
    EXPECT_EQ(press.thumbStart(), 166);
    EXPECT_EQ(press.trackPos(), 90);
    ScrollActions up = press.release();
    ASSERT_EQ(requestsIn(up, kScrollThumbPosition), 1);
    for (const auto &act : up) {
        if (act.kind == ScrollAction::kSendRequest && act.request == kScrollThumbPosition) {
            EXPECT_EQ(act.position, 90);
        }
    }
    EXPECT_EQ(requestsIn(up, kScrollEnd), 1);
}

TEST(ScrollPressTest, ThumbPositionsCountFromTheRangeStart)
{
    ScrollPress press;
    ScrollValues v = values(100, 199, 10, 100);  // thumb at the top, 17..34
    press.press(pressedBar(v), 8, 20);
    press.move(8, 20 + 149);  // to the end of the space
    EXPECT_EQ(press.trackPos(), 190);
    press.move(8, 20 + 75);
    EXPECT_GE(press.trackPos(), 144);
    EXPECT_LE(press.trackPos(), 146);
}

}  // namespace
