#include "tooltip_rules.h"

#include <gtest/gtest.h>

namespace {

const SkinRect kScreen = makeSkinRect(0, 0, 1024, 768);

TEST(TooltipPlacement, EachCodeStandsWhereItsNameSays)
{
    // A 100 x 30 tooltip at the anchor (500, 400).
    struct Case {
        int32_t code, left, top;
    } cases[] = {
        {0, 502, 422}, {1, 450, 422}, {2, 398, 422}, {3, 502, 385},
        {4, 398, 385}, {5, 502, 368}, {6, 450, 368}, {7, 398, 368},
        {8, 502, 422}, {-1, 502, 422},  // unknown codes place as code 0
    };
    for (const Case &c : cases) {
        SkinRect r = tooltipRectAt(c.code, 500, 400, 100, 30);
        EXPECT_EQ(r, makeSkinRect(c.left, c.top, c.left + 100, c.top + 30)) << "code " << c.code;
        EXPECT_EQ(placeTooltip(c.code, 500, 400, 100, 30, kScreen), r) << "fits as it is: code " << c.code;
    }
}

TEST(TooltipPlacement, NearTheEdgesFallsBackToTheFirstCodeThatFits)
{
    struct Case {
        const char *where;
        int32_t code, x, y;
        SkinRect area;
        int32_t expectedCode;
    } cases[] = {
        // Bottom-right: neither below nor right fits; beside on the left (4) is the first that does.
        {"bottom-right", 0, 1000, 750, kScreen, 4},
        // Right at the bottom edge: only above and left fits.
        {"corner", 0, 1020, 766, kScreen, 7},
        {"top-left, skin wants above-left", 7, 5, 5, kScreen, 0},
        {"right edge, skin wants below-right", 0, 1000, 300, kScreen, 2},
        // Centred fits nowhere near the left edge of a monitor left of the primary one.
        {"second monitor's right edge", 1, -10, 100, makeSkinRect(-1280, 0, 0, 1024), 2},
        {"exact fit at the corner", 0, 922, 716, kScreen, 0},
    };
    for (const Case &c : cases) {
        SkinRect placed = placeTooltip(c.code, c.x, c.y, 100, 30, c.area);
        EXPECT_EQ(placed, tooltipRectAt(c.expectedCode, c.x, c.y, 100, 30)) << c.where;
        EXPECT_TRUE(tooltipFits(placed, c.area)) << c.where;
    }
}

TEST(TooltipPlacement, ATooltipFittingNowhereTakesTheLastCode)
{
    SkinRect placed = placeTooltip(0, 500, 400, 1100, 30, kScreen);
    EXPECT_EQ(placed, tooltipRectAt(kTooltipAboveLeft, 500, 400, 1100, 30));
}

TEST(TooltipPlacement, WindowSizeAddsTheFramePieces)
{
    int32_t w = 0, h = 0;
    tooltipWindowSize({3, 4, 5, 6}, 80, 16, &w, &h);
    EXPECT_EQ(w, 88);
    EXPECT_EQ(h, 26);
}

TEST(TooltipTimeline, ShowDelayHideDelayAndEmptyTexts)
{
    TooltipTimeline t;
    EXPECT_EQ(t.showText(u"Open"), kTooltipArmShow);
    EXPECT_EQ(t.state(), kTooltipPending);
    EXPECT_EQ(t.showDelayEnded(nullptr), kTooltipShow);
    EXPECT_EQ(t.state(), kTooltipShown);
    EXPECT_EQ(t.text(), u"Open");
    // A new text while shown hides first and waits again.
    EXPECT_EQ(t.showText(u"Save"), kTooltipArmShow);
    EXPECT_EQ(t.state(), kTooltipPending);
    // An empty text hides what is shown and shows nothing.
    EXPECT_EQ(t.showText(u""), kTooltipHide);
    EXPECT_EQ(t.state(), kTooltipHidden);
    EXPECT_EQ(t.showDelayEnded(nullptr), kTooltipDoNothing);
    // The hide delay (or the pointer leaving) ends a shown tooltip.
    t.showText(u"Print");
    t.showDelayEnded(nullptr);
    EXPECT_EQ(t.hide(), kTooltipHide);
    EXPECT_EQ(t.state(), kTooltipHidden);
}

TEST(TooltipTimeline, AProviderWithNoTextIsAskedAgainAtEveryPeriod)
{
    TooltipTimeline t;
    t.showText(u"TB");  // arms the delay only: the real text comes from the provider
    std::u16string nothing;
    EXPECT_EQ(t.showDelayEnded(&nothing), kTooltipKeepWaiting);
    EXPECT_EQ(t.state(), kTooltipPending);
    EXPECT_EQ(t.showDelayEnded(&nothing), kTooltipKeepWaiting);
    std::u16string text = u"Copy the <b>selection</b>";
    EXPECT_EQ(t.showDelayEnded(&text), kTooltipShow);
    EXPECT_EQ(t.text(), text);
}

}  // namespace
