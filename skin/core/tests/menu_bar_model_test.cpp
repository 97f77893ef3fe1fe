// The frame menu bar without drawing: separators and mnemonics, rows that wrap inside the bar
// (the height it asks for always holds the items it places), the MDI buttons' places, and the
// mouse, hover-timer and keyboard navigation, read back as the actions asked of the window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu_bar_model.h"
#include "skin_repository.h"
#include "skin_test_support.h"

namespace {

class Recorder : public MenuBarActions {
public:
    void initMenu() override { log.push_back("init"); }
    bool openPopup(size_t item) override
    {
        log.push_back("open " + std::to_string(item));
        return popupsOpen;
    }
    void closePopup(size_t item) override { log.push_back("close " + std::to_string(item)); }
    void runCommand(uint32_t id) override { log.push_back("run " + std::to_string(id)); }
    void setHoverTimer(bool running) override { timer = running; }
    void repaint() override { ++repaints; }
    void openChildSystemMenu() override { log.push_back("system menu"); }
    void mdiButtonReleased(MdiButtonIndex b) override { log.push_back("mdi " + std::to_string(b)); }

    std::string take()
    {
        std::string all;
        for (const auto &s : log) all += (all.empty() ? "" : "; ") + s;
        log.clear();
        return all;
    }

    std::vector<std::string> log;
    bool timer = false;
    bool popupsOpen = true;
    int repaints = 0;
};

MenuBarEntry entry(const char16_t *text, int32_t width, bool submenu = true, uint32_t id = 0, bool enabled = true)
{
    MenuBarEntry e;
    e.text = text;
    e.commandId = id;
    e.hasSubmenu = submenu;
    e.enabled = enabled;
    e.textExtent = SkinSize{width, 15};
    return e;
}

// The default skin's bar: margins 2 all round, items padded by 4 and 3.
MenuBarMetrics defaultMetrics()
{
    MenuBarMetrics m;
    m.barMargins = SkinRect{2, 2, 2, 2};
    m.itemPadding = SkinRect{4, 3, 4, 3};
    return m;
}

// File, Edit, a separator, View (greyed), Tools, and a command item Topmost.
std::vector<MenuBarEntry> programMenu()
{
    return {entry(u"&File", 30),  entry(u"&Edit", 40), entry(u"", 0), entry(u"&View", 50, true, 0, false),
            entry(u"&Tools", 35), entry(u"T&opmost", 45, false, 32790)};
}

class MenuBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        bar.setMetrics(defaultMetrics());
        bar.setEntries(programMenu());
        bar.layout(4, 28, 496, false);
    }
    SkinPoint centreOf(int item) const
    {
        const SkinRect &r = bar.items()[item].rect;
        return SkinPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    MenuItemState state(int item) const { return bar.items()[item].state; }

    Recorder actions;
    MenuBarModel bar{actions};
    const SkinPoint away{300, 40};  // in the bar, past the last item
};

TEST(MenuBarText, Mnemonics)
{
    const struct {
        const char16_t *text;
        char16_t mnemonic;
    } cases[] = {
        {u"&File", u'f'},  {u"Fi&le", u'l'},   {u"A&&B", 0},     {u"A&&&B", u'b'}, {u"&", 0},
        {u"", 0},          {u"\u00C9&dit", u'd'}, {u"&\u00C9dition", u'\u00E9'}, {u"No mark", 0},
        {u"&1 Recent", u'1'},
    };
    for (const auto &c : cases) EXPECT_EQ(menuMnemonic(c.text), c.mnemonic) << std::u16string(c.text).size();
    EXPECT_EQ(foldMenuCharacter(u'\u00D7'), u'\u00D7');  // the multiplication sign has no case
    EXPECT_EQ(foldMenuCharacter(u'\u00DE'), u'\u00FE');
}

TEST_F(MenuBar, SeparatorsAreSkippedAndPositionsKept)
{
    ASSERT_EQ(bar.items().size(), 5u);
    const int32_t positions[] = {0, 1, 3, 4, 5};
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(bar.items()[i].position, positions[i]) << i;
    EXPECT_EQ(bar.items()[4].mnemonic, u'o');
}

TEST_F(MenuBar, RowsWrapInsideTheBar)
{
    // Item widths are text + 8: 38, 48, 58, 43, 53; a row is 15 + 6 + 2 = 23 high.
    const struct {
        int32_t width;
        bool mdi;
        int32_t rows;
    } cases[] = {
        {500, false, 1}, {248, false, 1}, {247, false, 2}, {120, false, 3}, {40, false, 5},  {1, false, 5},
        {500, true, 1},  {312, true, 1},  {311, true, 2},  {264, true, 2},  {263, true, 2},  {100, true, 6},
    };
    for (const auto &c : cases) {
        const int32_t height = bar.heightForWidth(c.width, c.mdi);
        EXPECT_EQ(height, 2 + c.rows * 23 + 2) << c.width << (c.mdi ? " with MDI buttons" : "");
    }
    MenuBarModel empty(actions);
    empty.setMetrics(defaultMetrics());
    EXPECT_EQ(empty.heightForWidth(500, true), 0);
    EXPECT_EQ(empty.layout(4, 28, 504, true).height(), 0);
    EXPECT_FALSE(empty.mdiButtonsShown());
}

TEST_F(MenuBar, EveryPlacedItemLiesInTheBarItAskedFor)
{
    for (bool mdi : {false, true}) {
        for (int32_t width = 1; width <= 400; ++width) {
            const SkinRect barRect = bar.layout(10, 28, 10 + width, mdi);
            ASSERT_EQ(barRect.height(), bar.heightForWidth(width, mdi)) << width;
            const auto &items = bar.items();
            for (size_t i = 0; i < items.size(); ++i) {
                const SkinRect &r = items[i].rect;
                ASSERT_GE(r.top, barRect.top + 2) << width << " item " << i;
                ASSERT_LE(r.bottom, barRect.bottom - 2) << width << " item " << i;
                // Only an item wider than the whole bar passes its right edge, alone in its row.
                if (r.right > barRect.right - 2) {
                    ASSERT_EQ(r.left, barRect.left + 2 + (mdi ? kMenuItemsInsetWithMdi : kMenuItemsInset));
                }
                if (i > 0 && items[i - 1].rect.top == r.top) {
                    ASSERT_GE(r.left, items[i - 1].rect.right);
                }
            }
        }
    }
}

TEST_F(MenuBar, ItemsAndMdiButtonsPlaces)
{
    bar.layout(4, 28, 124, false);  // three rows at width 120: two, two and one items
    const char *expected[] = {"10,30,48,53", "48,30,96,53", "10,53,68,76", "68,53,111,76", "10,76,63,99"};
    for (size_t i = 0; i < 5; ++i) {
        const SkinRect &r = bar.items()[i].rect;
        EXPECT_EQ(std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
                      std::to_string(r.bottom),
                  expected[i])
            << i;
    }
    EXPECT_EQ(bar.itemAt(SkinPoint{10, 30}), 0);
    EXPECT_EQ(bar.itemAt(SkinPoint{48, 30}), 1);
    EXPECT_EQ(bar.itemAt(SkinPoint{70, 60}), 3);
    EXPECT_EQ(bar.itemAt(SkinPoint{115, 60}), -1);  // past the second row's end

    // With the MDI buttons: the system icon in the first row, the others at the end of the last.
    const SkinRect r = bar.layout(4, 28, 304, true);  // two rows
    ASSERT_EQ(r.height(), 2 + 2 * 23 + 2);
    EXPECT_EQ(bar.items()[0].rect.left, 4 + 2 + kMenuItemsInsetWithMdi);
    const SkinRect sys = bar.mdiButtonRect(kMdiSystemIcon), close = bar.mdiButtonRect(kMdiClose);
    EXPECT_EQ(sys.left, 8);
    EXPECT_EQ(sys.top, 30 + 3);
    EXPECT_EQ(close.right, 302);
    EXPECT_EQ(close.top, 30 + 23 + 3);
    EXPECT_EQ(bar.mdiButtonRect(kMdiRestore).left, close.left - 18);
    EXPECT_EQ(bar.mdiButtonRect(kMdiMinimize).left, close.left - 36);
    EXPECT_EQ(bar.mdiButtonAt(SkinPoint{close.left, close.top}), kMdiClose);
    bar.layout(4, 28, 304, false);
    EXPECT_EQ(bar.mdiButtonAt(SkinPoint{close.left, close.top}), -1);
}

TEST_F(MenuBar, ClickingOpensAndClosesItems)
{
    bar.buttonDown(centreOf(0));
    EXPECT_EQ(actions.take(), "init; open 0");
    EXPECT_EQ(state(0), MenuItemState::Open);
    EXPECT_TRUE(bar.inMenuMode());
    // Clicking the open item closes its popup and leaves it hot.
    bar.buttonDown(centreOf(0));
    EXPECT_EQ(actions.take(), "close 0");
    EXPECT_EQ(state(0), MenuItemState::Hot);
    EXPECT_EQ(bar.hotItem(), 0);
    EXPECT_TRUE(actions.timer);
    EXPECT_FALSE(bar.inMenuMode());
    // A click elsewhere closes what is open.
    bar.buttonDown(centreOf(1));
    EXPECT_EQ(actions.take(), "init; open 1");
    EXPECT_EQ(state(0), MenuItemState::Normal);
    bar.buttonDown(away);
    EXPECT_EQ(actions.take(), "close 1");
    EXPECT_FALSE(actions.timer);
    EXPECT_FALSE(bar.inMenuMode());
}

TEST_F(MenuBar, ACommandItemRunsWithoutMenuMode)
{
    bar.buttonDown(centreOf(1));
    actions.take();
    bar.buttonDown(centreOf(4));
    EXPECT_EQ(actions.take(), "close 1; run 32790");
    EXPECT_EQ(state(4), MenuItemState::Normal);
    EXPECT_FALSE(bar.inMenuMode());
    bar.buttonDown(centreOf(4));
    EXPECT_EQ(actions.take(), "init; run 32790");
}

TEST_F(MenuBar, MovingWhileOpenSwitchesPopupsWithoutAClick)
{
    bar.buttonDown(centreOf(0));
    actions.take();
    bar.pointerMove(centreOf(1));
    EXPECT_EQ(actions.take(), "close 0; open 1");
    EXPECT_EQ(bar.openItem(), 1);
    bar.pointerMove(centreOf(1));  // staying on it changes nothing
    EXPECT_EQ(actions.take(), "");
    // Onto the greyed item: nothing; onto a command item: the popup closes, the item is hot.
    bar.pointerMove(centreOf(2));
    EXPECT_EQ(actions.take(), "");
    EXPECT_EQ(bar.openItem(), 1);
    bar.pointerMove(centreOf(4));
    EXPECT_EQ(actions.take(), "close 1");
    EXPECT_EQ(state(4), MenuItemState::Hot);
    EXPECT_TRUE(actions.timer);
    // Past the items while something is open, nothing changes.
    bar.buttonDown(centreOf(0));
    actions.take();
    bar.pointerMove(away);
    EXPECT_EQ(bar.openItem(), 0);
}

TEST_F(MenuBar, HoverAndTheTimer)
{
    bar.pointerMove(centreOf(3));
    EXPECT_EQ(state(3), MenuItemState::Hot);
    EXPECT_TRUE(actions.timer);
    bar.hoverTick(centreOf(3));  // still there
    EXPECT_EQ(state(3), MenuItemState::Hot);
    bar.pointerMove(centreOf(1));
    EXPECT_EQ(state(3), MenuItemState::Normal);
    EXPECT_EQ(state(1), MenuItemState::Hot);
    // The pointer left the bar without a move reaching it: the timer clears the hot item.
    const int before = actions.repaints;
    bar.hoverTick(SkinPoint{1000, 1000});
    EXPECT_EQ(bar.hotItem(), -1);
    EXPECT_EQ(state(1), MenuItemState::Normal);
    EXPECT_FALSE(actions.timer);
    EXPECT_GT(actions.repaints, before);
    // Moving past the items clears the hot item too.
    bar.pointerMove(centreOf(0));
    bar.pointerMove(away);
    EXPECT_EQ(bar.hotItem(), -1);
    EXPECT_FALSE(actions.timer);
}

TEST_F(MenuBar, AGreyedItemNeverOpens)
{
    bar.buttonDown(centreOf(2));
    bar.pointerMove(centreOf(2));
    EXPECT_FALSE(bar.key(MenuBarKey::Character, u'V', true));
    EXPECT_EQ(actions.take(), "");
    EXPECT_EQ(state(2), MenuItemState::Normal);
    // Greyed later by the window side, an item stops opening.
    bar.setItemEnabled(0, false);
    bar.buttonDown(centreOf(0));
    EXPECT_EQ(actions.take(), "");
    bar.setItemEnabled(0, true);
    bar.buttonDown(centreOf(0));
    EXPECT_EQ(actions.take(), "init; open 0");
}

TEST_F(MenuBar, ArrowsMnemonicsAndReset)
{
    // Right with nothing open opens the first item; arrows wrap and skip the greyed item.
    EXPECT_TRUE(bar.key(MenuBarKey::Right));
    EXPECT_EQ(actions.take(), "init; open 0");
    EXPECT_TRUE(bar.key(MenuBarKey::Right));
    EXPECT_EQ(actions.take(), "close 0; open 1");
    EXPECT_TRUE(bar.key(MenuBarKey::Right));
    EXPECT_EQ(actions.take(), "close 1; open 3");
    EXPECT_TRUE(bar.key(MenuBarKey::Left));
    EXPECT_EQ(actions.take(), "close 3; open 1");
    EXPECT_TRUE(bar.key(MenuBarKey::Left));
    EXPECT_TRUE(bar.key(MenuBarKey::Left));  // wraps to the command item: shown, not run
    EXPECT_EQ(actions.take(), "close 1; open 0; close 0");
    EXPECT_EQ(state(4), MenuItemState::Hot);
    EXPECT_FALSE(bar.inMenuMode());
    EXPECT_TRUE(bar.key(MenuBarKey::Right));
    EXPECT_EQ(actions.take(), "init; open 0");

    // Alt and a mnemonic, in either case; without Alt, or an unknown letter, the key is left.
    EXPECT_TRUE(bar.key(MenuBarKey::Character, u'T', true));
    EXPECT_EQ(actions.take(), "close 0; open 3");
    EXPECT_TRUE(bar.key(MenuBarKey::Character, u't', true));  // already open
    EXPECT_EQ(actions.take(), "");
    EXPECT_FALSE(bar.key(MenuBarKey::Character, u'e', false));
    EXPECT_FALSE(bar.key(MenuBarKey::Character, u'q', true));
    EXPECT_TRUE(bar.key(MenuBarKey::Character, u'O', true));
    EXPECT_EQ(actions.take(), "close 3; run 32790");

    EXPECT_TRUE(bar.key(MenuBarKey::F10));
    EXPECT_EQ(actions.take(), "");
    bar.key(MenuBarKey::Character, u'e', true);
    actions.take();
    EXPECT_TRUE(bar.key(MenuBarKey::Reset));
    EXPECT_EQ(actions.take(), "close 1");
    EXPECT_EQ(bar.hotItem(), -1);
    EXPECT_FALSE(bar.inMenuMode());
    EXPECT_FALSE(actions.timer);
}

TEST_F(MenuBar, EndOfMenuModeAndAPopupThatCannotOpen)
{
    bar.buttonDown(centreOf(1));
    actions.take();
    bar.endMenuMode();
    EXPECT_EQ(actions.take(), "close 1");
    EXPECT_EQ(state(1), MenuItemState::Normal);
    bar.endMenuMode();
    EXPECT_EQ(actions.take(), "");

    actions.popupsOpen = false;
    bar.buttonDown(centreOf(0));
    EXPECT_EQ(actions.take(), "init; open 0");
    EXPECT_FALSE(bar.inMenuMode());
    EXPECT_EQ(state(0), MenuItemState::Hot);

    // New entries (another interface language) close an open popup first.
    actions.popupsOpen = true;
    bar.buttonDown(centreOf(1));
    actions.take();
    bar.setEntries({entry(u"&Fichier", 50), entry(u"&Outils", 45)});
    EXPECT_EQ(actions.take(), "close 1");
    EXPECT_EQ(bar.items().size(), 2u);
    EXPECT_FALSE(bar.inMenuMode());
    EXPECT_EQ(bar.hotItem(), -1);
}

TEST_F(MenuBar, MdiButtons)
{
    bar.layout(4, 28, 504, true);
    const auto at = [&](MdiButtonIndex b) {
        const SkinRect &r = bar.mdiButtonRect(b);
        return SkinPoint{r.left + 8, r.top + 8};
    };
    bar.pointerMove(at(kMdiClose));
    EXPECT_EQ(bar.mdiButtonState(kMdiClose), MdiButtonState::Hot);
    EXPECT_TRUE(actions.timer);
    bar.buttonDown(at(kMdiRestore));
    EXPECT_EQ(bar.mdiButtonState(kMdiRestore), MdiButtonState::Pressed);
    bar.buttonUp(at(kMdiRestore));
    EXPECT_EQ(actions.take(), "mdi 2");
    EXPECT_EQ(bar.mdiButtonState(kMdiRestore), MdiButtonState::Hot);
    // A press released elsewhere does nothing.
    bar.buttonDown(at(kMdiMinimize));
    bar.buttonUp(at(kMdiClose));
    EXPECT_EQ(actions.take(), "");
    EXPECT_EQ(bar.mdiButtonState(kMdiMinimize), MdiButtonState::Normal);
    bar.buttonDown(at(kMdiSystemIcon));
    EXPECT_EQ(actions.take(), "system menu");
    // Moving onto an item returns the buttons to normal.
    bar.pointerMove(at(kMdiClose));
    bar.pointerMove(centreOf(0));
    EXPECT_EQ(bar.mdiButtonState(kMdiClose), MdiButtonState::Normal);
}

TEST(MenuBarSkin, MetricsFromTheDefaultSkin)
{
    SkinRepository repository;
    ASSERT_TRUE(repository.loadFromFile(defaultSkinPath("skin.gvf").c_str())) << repository.errorCode();
    const auto *frame = dynamic_cast<const FrameWndDefinition *>(repository.findObject("MainFrame"));
    ASSERT_NE(frame, nullptr);
    const MenuBarMetrics m = menuBarMetrics(frame->menuBar);
    EXPECT_EQ(m.barMargins, (SkinRect{2, 2, 2, 2}));
    EXPECT_EQ(m.itemPadding, (SkinRect{4, 3, 4, 3}));
    // Unset nine-grids add no margins.
    MenuBarDefinition bare;
    EXPECT_EQ(menuBarMetrics(bare).barMargins, (SkinRect{0, 0, 0, 0}));
}

}  // namespace
