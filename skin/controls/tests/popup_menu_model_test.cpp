// The popup menus' window-free rules: mnemonics and drawn texts, keyboard moves over
// separators, sizes, placement against the work area, and the scrolled band of a long menu
// with the item at a point (none in the arrow areas).
#include <gtest/gtest.h>

#include "popup_menu_model.h"

namespace {

MenuItem item(const wchar_t *text, uint32_t state = 0, bool submenu = false)
{
    MenuItem m;
    m.text = text;
    m.state = state;
    m.mnemonic = menuMnemonic(text);
    m.hasSubmenu = submenu;
    return m;
}

TEST(PopupMenuText, MnemonicsAndDrawnParts)
{
    struct {
        const wchar_t *text;
        wchar_t mnemonic;
    } cases[] = {{L"&File", L'F'},        {L"Save &as", L'A'}, {L"Fish && Chips", 0}, {L"&&x &y", L'Y'},
                 {L"a&", 0},             {L"&&&z", L'Z'},     {L"plain", 0},        {L"", 0}};
    for (const auto &c : cases) {
        EXPECT_EQ(menuMnemonic(c.text), c.mnemonic) << std::string(c.text, c.text + wcslen(c.text));
    }
    const MenuTextParts parts = splitMenuText(L"&Copy\tCtrl+C");
    EXPECT_EQ(parts.name, L"&Copy");
    EXPECT_EQ(parts.shortcut, L"Ctrl+C");
    EXPECT_TRUE(splitMenuText(L"Exit").shortcut.empty());
}

TEST(PopupMenuItems, KindsKeyboardMovesAndMnemonics)
{
    using namespace menu_state;
    const std::vector<MenuItem> items = {item(L"&Open"), item(L"", kSeparator), item(L"&Print", kGrayed),
                                         item(L"&More", kPopup, true), item(L"", kSeparator), item(L"E&xit")};
    EXPECT_TRUE(items[1].separator());
    EXPECT_FALSE(items[3].separator()) << "a submenu header is no separator";
    EXPECT_FALSE(items[2].givesCommand());
    EXPECT_FALSE(items[3].givesCommand());
    EXPECT_TRUE(items[5].givesCommand());

    EXPECT_EQ(nextMenuItem(items, -1, +1), 0);
    EXPECT_EQ(nextMenuItem(items, -1, -1), 5);
    EXPECT_EQ(nextMenuItem(items, 0, +1), 2) << "separators are skipped, disabled items are not";
    EXPECT_EQ(nextMenuItem(items, 5, +1), 0) << "wraps at the end";
    EXPECT_EQ(nextMenuItem(items, 0, -1), 5) << "wraps at the start";
    EXPECT_EQ(nextMenuItem({item(L"", kSeparator)}, -1, +1), -1);
    EXPECT_EQ(nextMenuItem({}, -1, +1), -1);

    EXPECT_EQ(findMnemonicItem(items, L'x', true), 5);
    EXPECT_EQ(findMnemonicItem(items, L'P', true), -1) << "disabled";
    EXPECT_EQ(findMnemonicItem(items, L'P', false), 2);
    EXPECT_EQ(findMnemonicItem(items, L'Q', false), -1);
}

TEST(PopupMenuGeometry, SizeAndPlacement)
{
    EXPECT_EQ(menuItemHeight(14, 16, 3, 3), 24);
    EXPECT_EQ(menuItemHeight(14, 0, 3, 3), 22);
    const MenuMetrics m{2, 2, 2, 2, 4, 4, 20};
    // Widest: 60, or 50 + 4 blanks of 5 with a tab = 70.
    EXPECT_EQ(menuWindowSize({60, 50, 30}, 5, {false, true, false}, m), (SkinRect{0, 0, 70 + 4 + 8 + 40 + 1, 64}));

    const SkinRect area{0, 0, 1000, 700};
    using namespace track_flags;
    struct Case {
        const char *name;
        int32_t x, y, w, h;
        uint32_t flags;
        bool rtl;
        SkinRect expected;
    } cases[] = {
        {"left top", 100, 100, 80, 60, 0, false, {100, 100, 180, 160}},
        {"right align", 100, 100, 80, 60, kRightAlign, false, {20, 100, 100, 160}},
        {"right-to-left mirrors", 100, 100, 80, 60, 0, true, {20, 100, 100, 160}},
        {"centre, vertical centre", 100, 100, 80, 60, kCenterAlign | kVCenterAlign, false, {60, 70, 140, 130}},
        {"bottom align", 100, 100, 80, 60, kBottomAlign, false, {100, 40, 180, 100}},
        {"pushed back in at the corner", 980, 690, 80, 60, 0, false, {920, 640, 1000, 700}},
        {"taller than the area", 100, 100, 80, 900, 0, false, {100, 0, 180, 700}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(placePopupMenu(c.x, c.y, c.w, c.h, c.flags, area, c.rtl), c.expected) << c.name;
    }
    const SkinRect row{100, 200, 180, 220};
    EXPECT_EQ(placeSubmenu(row, 90, 100, area, false), (SkinRect{180, 200, 270, 300}));
    EXPECT_EQ(placeSubmenu(row, 90, 100, area, true), (SkinRect{10, 200, 100, 300}));
    EXPECT_EQ(placeSubmenu(SkinRect{900, 650, 980, 670}, 90, 100, area, false), (SkinRect{810, 599, 900, 699}))
        << "moved up above the bottom and to the item's left";
}

TEST(PopupMenuGeometry, MenuBarItemsOpenBelowThemselvesAndStayOnTheWorkArea)
{
    const SkinRect area{0, 0, 1000, 700};
    const SkinRect item{100, 30, 150, 50};
    struct Case {
        const char *name;
        SkinRect item;
        int32_t w, h;
        bool rtl;
        SkinRect expected;
    } cases[] = {
        {"below, left edges together", item, 120, 200, false, {100, 50, 220, 250}},
        {"right-to-left: right edges together", item, 120, 200, true, {30, 50, 150, 250}},
        {"ends at the item's right near the area's right", {950, 30, 990, 50}, 120, 200, false, {870, 50, 990, 250}},
        {"above the item near the bottom", {100, 600, 150, 620}, 120, 200, false, {100, 400, 220, 600}},
        {"one pixel inside the left and top", {-40, 30, 10, 50}, 120, 200, true, {1, 50, 121, 250}},
        {"taller than the area: cut, one pixel inside the top", item, 120, 900, false, {100, 1, 220, 699}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(placeMenuBarPopup(c.item, c.w, c.h, area, c.rtl), c.expected) << c.name;
    }
}

TEST(PopupMenuBand, LongMenuShowsWholeItemsAndScrollsByOne)
{
    MenuBand band;
    // 205 pixels for 50 items of 20: ten would fit with 5 left over, too little for the
    // arrows, so nine show and 25 pixels are split 12 above and 13 below.
    band.layout(50, 20, 205);
    ASSERT_TRUE(band.scrolling());
    EXPECT_EQ(band.visibleCount(), 9);
    EXPECT_EQ(band.upArrowHeight(), 12);
    EXPECT_EQ(band.downArrowHeight(), 13);
    EXPECT_TRUE(band.inUpArrow(0));
    EXPECT_TRUE(band.inDownArrow(204));
    EXPECT_EQ(band.itemAt(0), -1) << "up arrow";
    EXPECT_EQ(band.itemAt(11), -1);
    EXPECT_EQ(band.itemAt(12), 0);
    EXPECT_EQ(band.itemAt(12 + 9 * 20 - 1), 8);
    EXPECT_EQ(band.itemAt(12 + 9 * 20), -1) << "down arrow, though (y - 12) / 20 + 0 would be item 9";
    EXPECT_EQ(band.itemAt(-3), -1);
    EXPECT_EQ(band.itemAt(205), -1);

    EXPECT_FALSE(band.scrollUp()) << "the first item is shown";
    int steps = 0;
    while (band.scrollDown()) ++steps;
    EXPECT_EQ(steps, 41);
    EXPECT_EQ(band.firstVisible(), 41);
    EXPECT_EQ(band.itemAt(12), 41);
    EXPECT_EQ(band.itemAt(12 + 8 * 20), 49);
    EXPECT_TRUE(band.scrollUp());
    EXPECT_EQ(band.firstVisible(), 40);
    band.ensureVisible(3);
    EXPECT_EQ(band.firstVisible(), 3);
    band.ensureVisible(20);
    EXPECT_EQ(band.firstVisible(), 12);
    EXPECT_EQ(band.itemTop(12), 12);

    // Ten items of 20 with 15 pixels over: ten show, arrows of 7 and 8.
    band.layout(50, 20, 215);
    EXPECT_EQ(band.visibleCount(), 10);
    EXPECT_EQ(band.upArrowHeight(), 7);
    EXPECT_EQ(band.downArrowHeight(), 8);
}

TEST(PopupMenuBand, ShortMenuHasNoArrows)
{
    MenuBand band;
    band.layout(3, 20, 60);
    EXPECT_FALSE(band.scrolling());
    EXPECT_EQ(band.visibleCount(), 3);
    EXPECT_EQ(band.itemAt(0), 0);
    EXPECT_EQ(band.itemAt(59), 2);
    EXPECT_EQ(band.itemAt(60), -1);
    EXPECT_FALSE(band.scrollDown());
    band.layout(0, 20, 60);
    EXPECT_EQ(band.itemAt(10), -1);
}

}  // namespace
