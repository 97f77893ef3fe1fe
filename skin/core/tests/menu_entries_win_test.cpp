// The menu bar's entries read from real menus under Wine: texts, submenus, command ids and
// greyed items by position, extents measured in the default skin's menu-bar font as the bar
// draws them (checked against the font's own extent of the text without its ampersand), and the
// bar's model wrapping those real extents into more rows when the frame is narrow.
#include <gtest/gtest.h>

#include "menu_entries.h"
#include "skin_gdi.h"
#include "skin_repository.h"
#include "silent_menu_actions.h"
#include "skin_test_support.h"

namespace {

constexpr UINT kTopmostId = 32790;

struct MemoryContext {
    MemoryContext() : dc(CreateCompatibleDC(nullptr)) {}
    ~MemoryContext() { DeleteDC(dc); }
    HDC dc;
};

// File (a submenu), a separator, View (a greyed submenu), Tools & More (a submenu), Topmost (a command).
HMENU makeMenu()
{
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu(), view = CreatePopupMenu(), tools = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 100, L"E&xit");
    AppendMenuW(view, MF_STRING, 101, L"&Toolbar");
    AppendMenuW(tools, MF_STRING, 102, L"&Options");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(bar, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(view), L"&View");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"&Tools && More");
    AppendMenuW(bar, MF_STRING, kTopmostId, L"T&opmost");
    return bar;
}

SkinSize plainExtent(HDC dc, HFONT font, const wchar_t *text)
{
    HGDIOBJ old = SelectObject(dc, font);
    SIZE s{};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &s);
    SelectObject(dc, old);
    return SkinSize{s.cx, s.cy};
}

class MenuEntries : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(repository.loadFromFile(defaultSkinPath("skin.gvf").c_str()));
        frame = dynamic_cast<FrameWndDefinition *>(repository.findObject("MainFrame"));
        ASSERT_NE(frame, nullptr);
        font = static_cast<HFONT>(skinCreateFont(frame->menuBar.font));
        ASSERT_NE(font, nullptr);
        menu = makeMenu();
    }
    void TearDown() override
    {
        DestroyMenu(menu);
        skinDeleteGdiObject(font);
    }
    SkinRepository repository;
    FrameWndDefinition *frame = nullptr;
    HFONT font = nullptr;
    HMENU menu = nullptr;
    MemoryContext context;
};

TEST_F(MenuEntries, ReadsEveryTopLevelItem)
{
    const std::vector<MenuBarEntry> entries = readMenuBarEntries(menu, context.dc, font);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].text, u"&File");
    EXPECT_TRUE(entries[0].hasSubmenu);
    EXPECT_TRUE(entries[1].text.empty());  // the separator
    EXPECT_FALSE(entries[2].enabled);
    EXPECT_TRUE(entries[3].enabled);
    EXPECT_FALSE(entries[4].hasSubmenu);
    EXPECT_EQ(entries[4].commandId, kTopmostId);
    // Measured as drawn: without the mnemonic's ampersand, "&&" as one ampersand.
    EXPECT_EQ(entries[0].textExtent, plainExtent(context.dc, font, L"File"));
    EXPECT_EQ(entries[3].textExtent, plainExtent(context.dc, font, L"Tools & More"));
    EXPECT_GT(entries[4].textExtent.width, entries[0].textExtent.width);

}

TEST_F(MenuEntries, EnabledStatesFollowTheMenu)
{
    SilentMenuBarActions quiet;
    MenuBarModel model(quiet);
    model.setEntries(readMenuBarEntries(menu, context.dc, font));
    ASSERT_EQ(model.items().size(), 4u);
    EXPECT_FALSE(model.items()[1].entry.enabled);
    EnableMenuItem(menu, 2, MF_BYPOSITION | MF_ENABLED);
    EnableMenuItem(menu, 0, MF_BYPOSITION | MF_DISABLED);
    refreshMenuBarEnabled(model, menu);
    EXPECT_TRUE(model.items()[1].entry.enabled);
    EXPECT_FALSE(model.items()[0].entry.enabled);
    EXPECT_EQ(menuItemText(menu, 99), L"");
    EXPECT_FALSE(menuItemEnabled(menu, 99));

    // With the real extents, a bar narrower than its items wraps them into more rows.
    model.setMetrics(menuBarMetrics(frame->menuBar));
    const int32_t wide = model.heightForWidth(1000, false);
    const int32_t narrow = model.heightForWidth(90, false);
    EXPECT_GT(wide, 0);
    EXPECT_GT(narrow, wide);
    EXPECT_EQ(readMenuBarEntries(nullptr, context.dc, font).size(), 0u);
}

}  // namespace
