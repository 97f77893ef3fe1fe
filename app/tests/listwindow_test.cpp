// The result list window and its GDI renderer under Wine, with the real data manager on
// the English-French sample module: palette and font styles, the model's rectangle on
// WM_SIZE, the scroll bar's page, the wheel, and the clipboard.
#include "jlistbox.h"
#include "search/lxdatamanager.h"
#include "lxwinlistbox.h"
#include "settings.h"
#include "test_app.h"
#include "testing/lxtest_samples.h"
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include <string>

namespace {

TEST(WinListBox, Palette) {
    struct {
        LXLColor type;
        COLORREF colour;
    } cases[] = {{0, 0}, {1, 0}, {2, 0xFF0000}, {3, 0x400080}, {4, 0x4000C0}, {5, 0x828282},
                 {6, 0x961E96}, {7, 0x1EE61E}, {8, 0xC8C8C8}, {9, 0}, {0xFFFFFFFF, 0}};
    for (auto& c : cases) EXPECT_EQ(LXWinListBox::paletteColor(c.type), c.colour) << c.type;
}

TEST(WinListBox, FontStyles) {
    struct {
        uint32_t style;
        int size, tenths;
        LONG weight;
        bool italic, underline;
        const wchar_t* face;
    } cases[] = {
        {0x21, 80, 70, FW_BOLD, false, false, L"Verdana"},  // bold, one point smaller
        {0x40, 20, 20, 0, false, false, L"Verdana"},       // too small to shrink
        {0x40, 80, 60, 0, false, false, L"Verdana"},
        {0x60, 80, 70, 0, false, false, L"Verdana"},       // only the one-point reduction
        {0x20, 10, 10, 0, false, false, L"Verdana"},
        {0x06, 90, 90, 0, true, true, L"Verdana"},
        {0x18, 90, 90, 0, false, false, L"Verdana"},       // super- and subscript: placed by the model
        {0x80, 90, 90, 0, false, false, L"Lucida Sans Unicode"},
    };
    for (auto& c : cases) {
        LOGFONTW lf = LXWinListBox::styledFont(c.style, c.size, L"Verdana");
        EXPECT_EQ(lf.lfHeight, c.tenths) << c.style;
        EXPECT_EQ(lf.lfWeight, c.weight) << c.style;
        EXPECT_EQ(lf.lfItalic != 0, c.italic) << c.style;
        EXPECT_EQ(lf.lfUnderline != 0, c.underline) << c.style;
        EXPECT_STREQ(lf.lfFaceName, c.face) << c.style;
    }
}

// A parent window with one list over the English-French module.
class ListWindow : public ::testing::Test {
protected:
    void SetUp() override {
        testApp();
        std::string found;
        if (!lx_findSample(LXSampleDictionary, "english-french.lxd", found))
            return;
        std::wstring path(found.begin(), found.end());
        dm_.reset(LXDataManager::create());
        ASSERT_TRUE(dm_);
        lxstring p;
        toEngineString(path, p);
        ASSERT_EQ(dm_->addDictionaryModule(p), 0);
        ASSERT_TRUE(createTopLevel(parent_, L"WordmereListTest", 400, 300));
        list_.reset(new JListBox(false));
        ASSERT_TRUE(list_->create(parent_.hwnd(), 1012, dm_.get(), false));
        MoveWindow(list_->hwnd(), 0, 0, 380, 260, TRUE);
        list_->setLanguages(LXEnglish, LXFrench, 10, false);
    }
    void TearDown() override {
        list_.reset();
        parent_.destroy();
        dm_.reset();
    }
    std::unique_ptr<LXDataManager> dm_;
    FwWindow parent_;
    std::unique_ptr<JListBox> list_;
};

TEST_F(ListWindow, SizeOfZeroGivesTheSmallestRectangle) {
    SendMessageW(list_->hwnd(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 0));
    LXLRectangle r = list_->model()->getRect();
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.width, 6);
    EXPECT_EQ(r.height, 10);
}

TEST_F(ListWindow, ScrollBarPageStaysOne) {
    list_->model()->setScrollBarInfo(3, 0, 100, 5);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(list_->hwnd(), SB_VERT, &si));
    EXPECT_EQ(si.nPage, 1u);
    EXPECT_EQ(si.nPos, 3);
    EXPECT_EQ(si.nMax, 100);
    int32_t v, mn, mx, pg;
    list_->model()->getScrollBarInfo(v, mn, mx, pg);
    EXPECT_EQ(v, 3);
    EXPECT_EQ(mx, 100);
    EXPECT_EQ(pg, 1);
}

TEST_F(ListWindow, WheelOfMinus360ScrollsOneLine) {
    list_->search(L"house", LXListBox::Browse);
    list_->refresh();
    std::wstring start = list_->visibleText();
    ASSERT_GT(list_->model()->getLineHeight(), 0);
    SendMessageW(list_->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), 0);
    std::wstring afterWheel = list_->visibleText();
    EXPECT_NE(afterWheel, start);
    SendMessageW(list_->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(list_->visibleText(), start);
    SendMessageW(list_->hwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(list_->visibleText(), afterWheel);
    // A scroll message from a scroll-bar control is not the window's own.
    SendMessageW(list_->hwnd(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(parent_.hwnd()));
    EXPECT_EQ(list_->visibleText(), afterWheel);
}

TEST_F(ListWindow, CopyWithoutSelectionPlacesAnEmptyString) {
    list_->search(L"house", LXListBox::Browse);
    list_->model()->clearSelection();
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, 8 * sizeof(wchar_t));
    lstrcpyW(static_cast<wchar_t*>(GlobalLock(g)), L"before");
    GlobalUnlock(g);
    SetClipboardData(CF_UNICODETEXT, g);
    CloseClipboard();
    list_->copyToClipboard();
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE h = GetClipboardData(CF_UNICODETEXT);
    ASSERT_TRUE(h);
    std::wstring text = static_cast<const wchar_t*>(GlobalLock(h));
    GlobalUnlock(h);
    CloseClipboard();
    EXPECT_EQ(text, L"");
}

TEST_F(ListWindow, SelectedTextAndTheWindowText) {
    list_->search(L"house", LXListBox::Browse);
    list_->refresh();
    std::wstring shown = list_->visibleText();
    EXPECT_EQ(shown.compare(0, 5, L"house"), 0) << std::string(shown.begin(), shown.end());
    wchar_t buf[64];
    int n = GetWindowTextW(list_->hwnd(), buf, 64);
    EXPECT_EQ(std::wstring(buf, n), shown.substr(0, 63));
    // A click and release on one letter of the headword selects the word.
    LXLRectangle r = list_->model()->getRect();
    int y = r.top + 3;
    SendMessageW(list_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, y));
    SendMessageW(list_->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(8, y));
    EXPECT_EQ(list_->getSelectedText(), L"house");
    // Pressing and dragging selects the characters passed over: "ou" of the headword (first
    // a press in the margin moves the selection off the headword, where a press would
    // begin to drag it).
    SendMessageW(list_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, y));
    SendMessageW(list_->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(6, y));
    SendMessageW(list_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(14, y));
    SendMessageW(list_->hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(22, y));
    SendMessageW(list_->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(22, y));
    EXPECT_EQ(list_->getSelectedText(), L"ou");
}

// The pixels of a band of the window, as drawn.
std::vector<COLORREF> band(HDC dc, int x, int y, int w, int h) {
    std::vector<COLORREF> px;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) px.push_back(GetPixel(dc, x + i, y + j));
    return px;
}

TEST_F(ListWindow, AnAmpersandIsDrawnAsItself) {
    ShowWindow(parent_.hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(parent_.hwnd());
    list_->suspendPainting();  // nothing else draws over the test's text
    HDC dc = GetDC(list_->hwnd());
    RECT client;
    GetClientRect(list_->hwnd(), &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    lxstring s;
    toEngineString(L"R&D", s);
    LXWinListBox* m = list_->model();
    m->setStyle(0);
    m->setColor(1);
    m->drawString(s, 10, 10, 0);
    // The same text drawn without prefix processing, and with it (the fault: an underlined D).
    HGDIOBJ old = SelectObject(dc, m->font());
    SetTextColor(dc, 0);
    int top = 10 + 0;
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT plain{10, 60 + m->baseline() - tm.tmAscent, 300, 200};
    DrawTextW(dc, L"R&D", 3, &plain, DT_NOCLIP | DT_NOPREFIX);
    RECT prefixed{10, 110 + m->baseline() - tm.tmAscent, 300, 250};
    DrawTextW(dc, L"R&D", 3, &prefixed, DT_NOCLIP);
    SelectObject(dc, old);
    int h = m->getLineHeight(), w = 60;
    std::vector<COLORREF> drawn = band(dc, 10, top, w, h), expected = band(dc, 10, 60, w, h),
                          wrong = band(dc, 10, 110, w, h);
    ReleaseDC(list_->hwnd(), dc);
    ASSERT_NE(drawn.front(), CLR_INVALID) << "the window's pixels cannot be read here";
    EXPECT_NE(expected, wrong);
    EXPECT_EQ(drawn, expected);
    list_->resumePainting();
}

// The pixels of the window's vertical scroll bar as they are on screen.
std::vector<COLORREF> scrollBarPixels(HWND w) {
    SCROLLBARINFO sb{};
    sb.cbSize = sizeof sb;
    GetScrollBarInfo(w, OBJID_VSCROLL, &sb);
    RECT win;
    GetWindowRect(w, &win);
    HDC dc = GetWindowDC(w);
    std::vector<COLORREF> px =
        band(dc, sb.rcScrollBar.left - win.left, sb.rcScrollBar.top - win.top, sb.rcScrollBar.right - sb.rcScrollBar.left,
             sb.rcScrollBar.bottom - sb.rcScrollBar.top);
    ReleaseDC(w, dc);
    return px;
}

// The bar is repainted only when its look changes: after every move, what is on screen is
// what a full repaint of the frame draws.
TEST_F(ListWindow, TheScrollBarShowsEveryMoveOfItsThumb) {
    ShowWindow(parent_.hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(parent_.hwnd());
    HWND w = list_->hwnd();
    LXWinListBox* m = list_->model();
    struct {
        int32_t position, maximum;
    } moves[] = {{0, 16000}, {1, 16000}, {2, 16000}, {8000, 16000}, {8001, 16000}, {16000, 16000}, {5, 10}, {0, 10}};
    for (auto& mv : moves) {
        m->setScrollBarInfo(mv.position, 0, mv.maximum, 1);
        std::vector<COLORREF> shown = scrollBarPixels(w);
        ASSERT_FALSE(shown.empty());
        ASSERT_NE(shown.front(), CLR_INVALID) << "the window's pixels cannot be read here";
        RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
        EXPECT_EQ(shown, scrollBarPixels(w)) << mv.position << " of " << mv.maximum;
        int32_t v, mn, mx, pg;
        m->getScrollBarInfo(v, mn, mx, pg);
        EXPECT_EQ(v, mv.position);
        EXPECT_EQ(mx, mv.maximum);
    }
}

// Records what a list tells its owner.
struct Recorder : JListBoxOwner {
    int selections = 0, menus = 0, activations = 0;
    POINT menuAt{};
    std::wstring activated;
    void onListSelectionChanged(int, const std::wstring&, bool) override { ++selections; }
    void onListContextMenu(int, POINT p) override {
        ++menus;
        menuAt = p;
    }
    void onListEntryActivated(int, const std::wstring& text, bool) override {
        ++activations;
        activated = text;
    }
};

TEST_F(ListWindow, NotificationsToTheOwnerAndThePopUpMode) {
    Recorder main;
    list_->setOwner(&main);
    MoveWindow(list_->hwnd(), 10, 20, 380, 260, TRUE);
    list_->search(L"house", LXListBox::Browse);
    list_->selectTopResult();
    EXPECT_EQ(main.selections, 1);
    SendMessageW(list_->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 40));
    EXPECT_EQ(main.menus, 1);
    POINT expected{30, 40};  // in the parent's client coordinates: position and client edge
    MapWindowPoints(list_->hwnd(), parent_.hwnd(), &expected, 1);
    EXPECT_GT(expected.x, 40);
    EXPECT_EQ(main.menuAt.x, expected.x);
    EXPECT_EQ(main.menuAt.y, expected.y);
    SendMessageW(list_->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(8, 3));
    EXPECT_EQ(main.activations, 1);
    EXPECT_EQ(main.activated, L"house");

    // The pop-up window's list: no selection notices and no context menu; a double click
    // is the pop-up window's own look-up.
    Recorder popup;
    JListBox inPopup(true);
    ASSERT_TRUE(inPopup.create(parent_.hwnd(), 1012, dm_.get(), true));
    inPopup.setOwner(&popup);
    MoveWindow(inPopup.hwnd(), 0, 0, 300, 200, TRUE);
    inPopup.setLanguages(LXEnglish, LXFrench, 10, false);
    inPopup.search(L"house", LXListBox::Browse);
    inPopup.selectTopResult();
    SendMessageW(inPopup.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 40));
    SendMessageW(inPopup.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(8, 3));
    EXPECT_EQ(popup.selections, 0);
    EXPECT_EQ(popup.menus, 0);
    EXPECT_EQ(popup.activations, 1);
    EXPECT_EQ(main.activations, 1);
}

}  // namespace
