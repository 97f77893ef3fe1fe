#include "bar_layout.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

TEST(TabLayout, SideFromTheStyle)
{
    struct Case {
        uint32_t style;
        int32_t side;
    } cases[] = {
        {0, kTabsTop},
        {kTabStyleBottomOrRight, kTabsBottom},
        {kTabStyleVertical, kTabsLeft},
        {kTabStyleVertical | kTabStyleMultiline, kTabsLeft},
        {kTabStyleVertical | kTabStyleBottomOrRight, kTabsLeft},  // right needs multiline too
        {kTabStyleVertical | kTabStyleBottomOrRight | kTabStyleMultiline, kTabsRight},
        {kTabStyleBottomOrRight | kTabStyleMultiline | kTabStyleButtons, kTabsBottom},
    };
    for (const Case &c : cases)
        EXPECT_EQ(tabSideOf(c.style), c.side) << std::hex << c.style;
}

TEST(TabLayout, PageOverlapsTheInnerEdgeOfTheTabRowsByOnePixel)
{
    SkinRect client = makeSkinRect(0, 0, 300, 200);
    // Two rows of top tabs: the page starts one pixel above the lowest tab bottom.
    std::vector<SkinRect> top = {makeSkinRect(2, 2, 60, 22), makeSkinRect(2, 22, 80, 42), makeSkinRect(80, 22, 140, 42)};
    EXPECT_EQ(tabPageRect(client, top, kTabsTop), makeSkinRect(0, 41, 300, 200));
    std::vector<SkinRect> bottom = {makeSkinRect(2, 178, 60, 198), makeSkinRect(60, 176, 120, 198)};
    EXPECT_EQ(tabPageRect(client, bottom, kTabsBottom), makeSkinRect(0, 0, 300, 177));
    std::vector<SkinRect> left = {makeSkinRect(2, 2, 22, 60), makeSkinRect(2, 60, 24, 120)};
    EXPECT_EQ(tabPageRect(client, left, kTabsLeft), makeSkinRect(23, 0, 300, 200));
    std::vector<SkinRect> right = {makeSkinRect(278, 2, 298, 60)};
    EXPECT_EQ(tabPageRect(client, right, kTabsRight), makeSkinRect(0, 0, 279, 200));
    EXPECT_EQ(tabPageRect(client, {}, kTabsTop), client);
    // Tabs reaching beyond the client area leave an empty page, never an inverted one.
    std::vector<SkinRect> tall = {makeSkinRect(0, 0, 60, 500)};
    SkinRect page = tabPageRect(client, tall, kTabsTop);
    EXPECT_EQ(page.top, 200);
    EXPECT_TRUE(page.isEmpty());
}

TEST(TabLayout, LooksTurnsAndContent)
{
    EXPECT_EQ(tabLookFor(false, true, false, false, true), kTabLookDisabled);
    EXPECT_EQ(tabLookFor(true, true, false, false, true), kTabLookSelected);
    EXPECT_EQ(tabLookFor(true, false, true, true, false), kTabLookSelected);   // a pressed button
    EXPECT_EQ(tabLookFor(true, false, false, true, false), kTabLookNormal);    // pressed counts only as buttons
    EXPECT_EQ(tabLookFor(true, false, false, false, true), kTabLookHighlighted);

    EXPECT_EQ(tabTurnFor(kTabsLeft).degrees, 270);
    EXPECT_EQ(tabTurnFor(kTabsRight).degrees, 90);
    EXPECT_TRUE(tabTurnFor(kTabsBottom).flipped);
    EXPECT_FALSE(tabTurnFor(kTabsTop).flipped);

    // A 100 x 20 tab with a 16 x 16 icon and a 40 x 13 text: 60 pixels centred from x = 20.
    TabContent c = tabContentLayout(makeSkinRect(0, 0, 100, 20), 16, 16, 40, 13);
    EXPECT_EQ(c.icon, makeSkinRect(20, 2, 36, 18));
    EXPECT_EQ(c.text, makeSkinRect(40, 3, 80, 16));
    // Without an icon the text alone is centred, with no gap.
    c = tabContentLayout(makeSkinRect(10, 0, 110, 20), 0, 0, 40, 13);
    EXPECT_EQ(c.text.left, 40);
    // Content wider than the tab starts before it, centred on it.
    c = tabContentLayout(makeSkinRect(0, 0, 30, 20), 16, 16, 40, 13);
    EXPECT_EQ(c.icon.left, -15);
}

TEST(TabLayout, TurnedFramesComeBackOntoTheTab)
{
    // A left tab 20 wide and 60 high is laid out in a 60 x 20 frame; the frame's top edge (its
    // outer side once turned) lies on the tab's left, the frame's left end at the tab's bottom.
    const SkinRect tab = makeSkinRect(2, 10, 22, 70);
    EXPECT_EQ(tabLayoutFrame(tab, kTabsLeft), makeSkinRect(0, 0, 60, 20));
    EXPECT_EQ(tabLayoutFrame(tab, kTabsRight), makeSkinRect(0, 0, 60, 20));
    EXPECT_EQ(tabLayoutFrame(tab, kTabsTop), makeSkinRect(0, 0, 20, 60));
    struct Case {
        int32_t side;
        SkinRect inFrame, onControl;
    } cases[] = {
        {kTabsLeft, makeSkinRect(0, 0, 60, 20), tab},                          // the whole frame
        {kTabsLeft, makeSkinRect(0, 0, 10, 4), makeSkinRect(2, 60, 6, 70)},    // its start: bottom, outer side
        {kTabsLeft, makeSkinRect(50, 16, 60, 20), makeSkinRect(18, 10, 22, 20)},
        {kTabsRight, makeSkinRect(0, 0, 60, 20), tab},
        {kTabsRight, makeSkinRect(0, 0, 10, 4), makeSkinRect(18, 10, 22, 20)}, // its start: top, outer side
        {kTabsRight, makeSkinRect(50, 16, 60, 20), makeSkinRect(2, 60, 6, 70)},
        {kTabsTop, makeSkinRect(1, 2, 5, 9), makeSkinRect(3, 12, 7, 19)},
        {kTabsBottom, makeSkinRect(1, 2, 5, 9), makeSkinRect(3, 12, 7, 19)},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(tabFrameToControl(c.inFrame, tab, c.side), c.onControl) << c.side << " " << c.inFrame.left;
    }
}

TEST(HeaderAndPanels, AlignmentAndMargins)
{
    EXPECT_EQ(headerTextAlignment(0x0000), kHeaderAlignLeft);
    EXPECT_EQ(headerTextAlignment(0x0001), kHeaderAlignRight);
    EXPECT_EQ(headerTextAlignment(0x0002), kHeaderAlignCentre);
    EXPECT_EQ(headerTextAlignment(0x4002), kHeaderAlignCentre);  // other format bits (HDF_STRING) aside
    EXPECT_EQ(insideMargins(makeSkinRect(10, 0, 110, 20), 4, 6), makeSkinRect(14, 0, 104, 20));
    SkinRect narrow = insideMargins(makeSkinRect(10, 0, 16, 20), 4, 6);
    EXPECT_EQ(narrow.left, 14);
    EXPECT_EQ(narrow.right, 14);
    EXPECT_EQ(insideMargins(makeSkinRect(10, 0, 110, 20), -3, -3), makeSkinRect(10, 0, 110, 20));
}

TEST(Toolbar, ButtonLookFromStateAndHot)
{
    struct Case {
        uint8_t state;
        bool hot;
        int32_t look;
    } cases[] = {
        {kToolStateEnabled, false, kToolLookNormal},
        {kToolStateEnabled, true, kToolLookHot},
        {kToolStateEnabled | kToolStateChecked, false, kToolLookPressed},
        {kToolStateEnabled | kToolStatePressed, true, kToolLookPressed},  // pressed beats hot
        {0, true, kToolLookDisabled},                                      // disabled beats hot
        {kToolStateEnabled | kToolStateIndeterminate, false, kToolLookDisabled},
        {kToolStateChecked, false, kToolLookPressed},                      // checked even when disabled
    };
    for (const Case &c : cases)
        EXPECT_EQ(toolButtonLook(c.state, c.hot), c.look) << int(c.state) << " " << c.hot;
}

TEST(Toolbar, DropArrowAndContent)
{
    SkinRect button = makeSkinRect(100, 0, 136, 24);
    std::vector<SkinRect> lines = dropArrowLines(button);
    ASSERT_EQ(lines.size(), 4u);
    int32_t widths[] = {7, 5, 3, 1};
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].width(), widths[i]);
        EXPECT_EQ(lines[i].height(), 1);
        EXPECT_EQ(lines[i].top, 10 + static_cast<int32_t>(i));
        // Within 3 to 9 pixels from the right edge, centred on the same column.
        EXPECT_GE(button.right - 1 - lines[i].left, 3);
        EXPECT_LE(button.right - 1 - lines[i].left, 9);
        EXPECT_GE(button.right - lines[i].right, 3);
        EXPECT_EQ(lines[i].left + lines[i].right, lines[0].left + lines[0].right);
    }
    EXPECT_EQ(lines[0].left, 126);
    EXPECT_EQ(dropButtonContent(button), makeSkinRect(100, 0, 130, 24));
    EXPECT_EQ(dropButtonContent(makeSkinRect(0, 0, 4, 24)).right, 0);
}

TEST(Toolbar, TooltipSubjectChangesOnlyWithTheButton)
{
    ToolbarTooltipSubject subject;
    int32_t path[] = {-1, 0, 0, 0, 1, 1, -1, -1, 1, 2};
    bool changes[] = {false, true, false, false, true, false, false, false, true, true};
    for (size_t i = 0; i < std::size(path); ++i)
        EXPECT_EQ(subject.moveOver(path[i]), changes[i]) << "step " << i;
    subject.forget();
    EXPECT_TRUE(subject.moveOver(2));  // after the pointer left, the same button is new again
}

TEST(Toolbar, TooltipIsTheSecondPartOfTheCommandString)
{
    EXPECT_EQ(commandTooltipText(u"Copy the selection to the clipboard\nCopy"), u"Copy");
    EXPECT_EQ(commandTooltipText(u"Prompt\nTip\nThird"), u"Tip");
    EXPECT_EQ(commandTooltipText(u"Prompt only"), u"");
    EXPECT_EQ(commandTooltipText(u"\n<b>Bold</b> tip"), u"<b>Bold</b> tip");
    EXPECT_EQ(commandTooltipText(u""), u"");
}

}  // namespace
