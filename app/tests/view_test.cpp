// The main view: its rules (dictionary command ids, history texts, the list proportion, the
// search types of the modes), and a view with the reverse list (option bit 0x40 cleared):
// the lists' layout around the splitter, the stored proportion and the Tab cycle.
#include "framework/fwcom.h"
#include "lxframe.h"
#include "resource.h"
#include "lxview.h"
#include "options.h"
#include "settings.h"
#include "test_app.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <memory>
#include <ole2.h>

namespace {

TEST(DictionaryCommand, EncodesAndDecodes) {
    struct {
        int l1, l2, product, id;
    } cases[] = {
        {1, 255, 10, 20000 + 1 + 13 * 12 + 169 * 10},  // the thesaurus language
        {1, 2, 10, 20000 + 1 + 26 + 1690},
        {4, 1, 0, 20000 + 4 + 13},
        {0, 0, 0, 20000},  // "Other...": the module download
    };
    for (auto& c : cases) {
        EXPECT_EQ(dictionaryCommandId(c.l1, c.l2, c.product), c.id);
        int a = -1, b = -1, p = -1;
        ASSERT_TRUE(decodeDictionaryCommand(c.id, a, b, p));
        EXPECT_EQ(a, c.l1);
        EXPECT_EQ(b, c.l2);
        EXPECT_EQ(p, c.product);
    }
    int a, b, p;
    EXPECT_FALSE(decodeDictionaryCommand(19999, a, b, p));
    EXPECT_FALSE(decodeDictionaryCommand(25000, a, b, p));
}

TEST(ViewRules, HistoryTextsAndListShare) {
    struct {
        const wchar_t *a, *b;
        bool oneAtEnd;
    } texts[] = {{L"ab", L"abc", true}, {L"abc", L"ab", true}, {L"ab", L"ax", false}, {L"ab", L"ab", false},
                 {L"", L"a", true},     {L"ab", L"xab", false}, {L"ab", L"abcd", false}};
    for (auto& t : texts) EXPECT_EQ(differsByLastCharacter(t.a, t.b), t.oneAtEnd) << t.a << " " << t.b;
    struct {
        int stored, percent;
    } shares[] = {{0, 65}, {5, 10}, {10, 10}, {50, 50}, {90, 90}, {95, 90}, {-3, 10}};
    for (auto& s : shares) EXPECT_EQ(clampedMainListPercent(s.stored), s.percent) << s.stored;
    EXPECT_EQ(searchTypeOfMode(searchModeOf(1)), 2);
    EXPECT_EQ(searchTypeOfMode(searchModeOf(2)), 1);
    EXPECT_EQ(searchTypeOfMode(searchModeOf(3)), 3);
    // A stored mode below 1 or above 3 is Standard.
    EXPECT_EQ(searchModeOf(0), SearchMode::Standard);
    EXPECT_EQ(searchModeOf(4), SearchMode::Standard);
}

std::wstring shape(HMENU m) {
    std::wstring s = L"[";
    for (int i = 0, n = GetMenuItemCount(m); i < n; ++i) {
        if (i) s += L" ";
        if (HMENU sub = GetSubMenu(m, i))
            s += shape(sub);
        else if (GetMenuItemID(m, i) == 0)
            s += L"-";
        else
            s += std::to_wstring(GetMenuItemID(m, i));
    }
    return s + L"]";
}

TEST(ContextMenu, ByInterfaceLanguageAndOptions) {
    struct {
        int lang;
        uint32_t options;
        const wchar_t* shape;
        const wchar_t* copy;
    } cases[] = {
        {1, kAppOptionFlagsInitial, L"[57634 - 11300 11310 - [11320 11330 11340 11350]]", L"&Copy\tCtrl+C"},
        {2, kAppOptionFlagsInitial, L"[57634 - 11300 11310 - [11320 11330 11340 11350]]", L"Co&pier\tCtrl+C"},
        {4, kAppOptionFlagsInitial | 0x1000000, L"[57634 - 11300 11310]", L"&Kopieren\tStrg+C"},
        {11, 0, L"[57634 - 11300 11310 - [11320 11330 11340 11350]]", L"&Copy\tCtrl+C"},
    };
    for (auto& c : cases) {
        HMENU m = contextMenuFor(c.lang, c.options);
        ASSERT_TRUE(m) << c.lang;
        HMENU popup = GetSubMenu(m, 0);
        ASSERT_TRUE(popup);
        EXPECT_EQ(shape(popup), c.shape) << c.lang;
        wchar_t text[64] = L"";
        GetMenuStringW(popup, 57634, text, 64, MF_BYCOMMAND);
        EXPECT_STREQ(text, c.copy) << c.lang;
        DestroyMenu(m);
    }
}

RECT inParent(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class ViewWithReverseList : public ::testing::Test {
protected:
    void SetUp() override {
        clearTestSettings();
        saved_ = AppOptionFlags;
        AppOptionFlags &= ~static_cast<uint32_t>(kOptNoReverseList);
        setSettingInt(kSetShowReverse, 1);
        setSettingInt(kSetMainListPercent, 5);  // clamped to 10
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        ASSERT_TRUE(frame_.createMainFrame());
        ASSERT_TRUE(view_.createView(frame_.hwnd(), nullptr));
        frame_.setView(view_.hwnd());
        view_.initialUpdate();
        MoveWindow(frame_.hwnd(), 0, 0, 600, 500, TRUE);
        frame_.recalcLayout();
    }
    void TearDown() override {
        frame_.destroy();
        AppOptionFlags = saved_;
        clearTestSettings();
    }
    uint32_t saved_ = 0;
    LXFrame frame_;
    LXView view_;
};

TEST_F(ViewWithReverseList, ListsAroundTheSplitter) {
    ASSERT_TRUE(view_.reverseList());
    HWND main = view_.mainList()->hwnd(), reverse = view_.reverseList()->hwnd();
    HWND bar = GetDlgItem(view_.hwnd(), 998);
    ASSERT_TRUE(bar);
    EXPECT_TRUE(GetWindowLongW(reverse, GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE);
    RECT a = inParent(main), b = inParent(reverse), s = inParent(bar);
    int total = (a.bottom - a.top) + (b.bottom - b.top);
    // A stored share of 5 per cent gives the main list 10 per cent.
    EXPECT_NEAR((a.bottom - a.top) * 100.0 / total, 10.0, 3.0);
    EXPECT_LE(a.bottom, b.top);
    EXPECT_GE(s.bottom, a.bottom - 2);
    EXPECT_LE(s.top, b.top + 2);

    // Dragging the bar down stores the new proportion.
    int across = (a.top + b.bottom) / 2;
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 1));
    SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(2, static_cast<WORD>(across - s.top)));
    a = inParent(main);
    b = inParent(reverse);
    EXPECT_EQ(getSettingInt(kSetMainListPercent), (a.bottom - a.top) * 100 / ((a.bottom - a.top) + (b.bottom - b.top)));
    EXPECT_NEAR(getSettingInt(kSetMainListPercent), 50, 5);

    // The skin engine's exclude query shares the splitter's number: it carries a control and
    // is answered "keep it skinned" without storing a proportion.
    setSettingInt(kSetMainListPercent, 77);
    EXPECT_EQ(SendMessageW(view_.hwnd(), WM_SPLITTER_MOVED, 998, reinterpret_cast<LPARAM>(bar)), 0);
    EXPECT_EQ(getSettingInt(kSetMainListPercent), 77);
    SendMessageW(view_.hwnd(), WM_SPLITTER_MOVED, 0, 0);
    EXPECT_NEAR(getSettingInt(kSetMainListPercent), 50, 5);

    // The reverse-list command hides it and the bar; the main list takes the whole area.
    view_.onRoutedCommand(11140);
    EXPECT_EQ(getSettingInt(kSetShowReverse), 0);
    EXPECT_FALSE(GetWindowLongW(reverse, GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE);
    RECT whole = inParent(main);
    EXPECT_GE(whole.bottom, b.bottom - 2);
}

TEST_F(ViewWithReverseList, TabCyclesSearchBoxAndBothLists) {
    ShowWindow(frame_.hwnd(), SW_SHOWNOACTIVATE);
    HWND edit = view_.searchEdit(), main = view_.mainList()->hwnd(), reverse = view_.reverseList()->hwnd();
    ASSERT_TRUE(edit);
    auto tab = [&](bool shift) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG m{GetFocus(), WM_KEYDOWN, VK_TAB, 1, 0, {}};
        bool consumed = view_.preTranslateMessage(m);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        EXPECT_TRUE(consumed);
        return GetFocus();
    };
    SetFocus(edit);
    ASSERT_EQ(GetFocus(), edit);
    EXPECT_EQ(tab(false), main);
    EXPECT_EQ(tab(false), reverse);
    EXPECT_EQ(tab(false), edit);   // from the reverse list back to the search box
    EXPECT_EQ(tab(true), reverse);  // Shift+Tab from the search box goes to the reverse list
    EXPECT_EQ(tab(true), main);
}

TEST_F(ViewWithReverseList, PickedWordsInBrowseModeAndDictionaryCommands) {
    HWND combo = GetDlgItem(view_.hwnd(), 1001);
    auto count = [&] { return static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)); };
    view_.setSearchMode(SearchMode::Browse);
    std::wstring ab = L"ab", abc = L"abc", ax = L"ax";
    view_.recordHistory(&ab);
    view_.recordHistory(&abc);
    EXPECT_EQ(count(), 1);  // "abc" grew from "ab" by its last letter: it replaces it
    view_.recordHistory(&ax);
    EXPECT_EQ(count(), 2);
    view_.onRoutedCommand(11470);
    EXPECT_EQ(count(), 0);

    // The thesaurus language 255 through its command id.
    EXPECT_TRUE(view_.onRoutedCommand(20000 + 1 + 13 * 12 + 169 * 10));
    EXPECT_EQ(view_.searchLanguage(), 1);
    EXPECT_EQ(view_.translationLanguage(), 255);
    EXPECT_EQ(view_.product(), 10);
}

// The view's clean-up runs whichever goes first, its object or its window: the drop target
// is revoked and released, and the frame never reaches a view that is gone.
TEST(ViewTeardown, ObjectOrWindowFirst) {
    clearTestSettings();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));  // drop targets need OLE, as the program has it
    const long before = FwComObjectCount::live();
    for (bool objectFirst : {true, false}) {
        SCOPED_TRACE(objectFirst ? "object first" : "window first");
        LXFrame frame;
        ASSERT_TRUE(frame.createMainFrame());
        auto view = std::make_unique<LXView>();
        ASSERT_TRUE(view->createView(frame.hwnd(), nullptr));
        frame.setView(view->hwnd());
        view->initialUpdate();
        std::wstring word = L"maison";
        view->recordHistory(&word);
        EXPECT_EQ(FwComObjectCount::live(), before + 1);  // the drop target, held by OLE too
        HWND viewWindow = view->hwnd();
        if (objectFirst) {
            view.reset();
            EXPECT_FALSE(IsWindow(viewWindow));
            EXPECT_EQ(FwComObjectCount::live(), before);
            // The frame's questions and commands for the view find none.
            EXPECT_EQ(SendMessageW(frame.hwnd(), WM_GET_SEARCH_LANGUAGE, 0, 0), 0);
            EXPECT_EQ(SendMessageW(frame.hwnd(), WM_SET_LANGUAGE_PAIR, 1, 2), 1);
            SendMessageW(frame.hwnd(), WM_COMMAND, ID_HISTORY_BACK, 0);
            SendMessageW(frame.hwnd(), WM_PASTE, 0, 0);
            EXPECT_EQ(frame.searchText(), L"");
            frame.destroy();
        } else {
            frame.destroy();
            EXPECT_FALSE(IsWindow(viewWindow));
            EXPECT_EQ(view->hwnd(), nullptr);
            EXPECT_EQ(FwComObjectCount::live(), before);
            view.reset();
        }
    }
    OleUninitialize();
}

}  // namespace
