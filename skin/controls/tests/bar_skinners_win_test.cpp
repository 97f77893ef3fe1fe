// Under Wine: the bar-like controls of the harness dialog, skinned with the default skin. Each
// gets its skinner from the factory; pixels probed at positions computed from the controls'
// own item rectangles show the colours the skin's pictures hold there (read from the picture
// files themselves): tabs on every side (a left or right tab is the look turned, a bottom tab
// the look flipped, the page beside the tabs), header items with aligned text, rebar bands,
// toolbar buttons in their looks with the drop-down arrow, the status bar's panel with a text
// cut off by an ellipsis inside the panel's margins, its built-in look, a framework control
// bar and a toolbar docked sideways in it. The toolbar's tooltip subject follows the real
// pointer from button to button; a toolbar with tooltips of its own gets the skinned ones. Screenshots are kept as artifacts.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "bar_layout.h"
#include "bar_skinners.h"
#include "control_factory.h"
#include "harness_dialog.h"
#include "harness_fixture.h"
#include "screen_probes.h"
#include "skin_draw.h"
#include "skin_interface.h"
#include "skin_manager.h"
#include "skin_test_support.h"
#include "skin_tooltip.h"
#include "win_test_support.h"
#include "wine_waits.h"
#include "window_skinner.h"

namespace {

// Text pixels: dark ones (the default skin's text colour is #1E2A36; smoothed glyphs keep
// dark cores).
bool isDark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 110; }

// Cells of the default skin's "bars" picture (24 rows high): x of a column inside each.
constexpr int kBarsMiddleRow = 12;
constexpr int kToolbarCell = 10, kStatusCell = 30, kPanelLeftEdge = 40, kHeaderItemLeftEdge = 80,
              kRebarCell = 110, kBandLeftEdge = 120, kControlBarCell = 150, kToolHotCell = 196, kToolPressedCell = 220;
constexpr int kToolbarBottomLine = 23;  // the toolbar cell's bottom row is a line
// The "tabs" picture: looks of 40 x 22 (normal at x 0, selected at x 80), the page at x 160.
constexpr int kTabNormalMiddle = 20, kTabSelectedMiddle = 100, kTabPageMiddle = 170;

HWND makeChild(HWND parent, const wchar_t *cls, DWORD style, int id, int x, int y, int w, int h)
{
    HWND child = CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, SendMessageW(parent, WM_GETFONT, 0, 0), FALSE);
    return child;
}

int countDark(HWND w, const RECT &area) { return countPixels(w, area, isDark); }

// Pixels that differ from the panel's or item's fill: the drawn text.
int countUnlike(HWND w, const RECT &area, COLORREF fill)
{
    return countPixels(w, area, [fill](COLORREF c) { return c != fill; });
}

class BarSkinners : public HarnessDialogTest {
protected:
    void SetUp() override
    {
        bars_ = readFileBytes(defaultSkinPath("pictures/bars.bmp"));
        tabs_ = readFileBytes(defaultSkinPath("pictures/tabs.bmp"));
        ASSERT_GT(bars_.size(), 54u) << "the default skin's bars picture is missing";
        ASSERT_GT(tabs_.size(), 54u) << "the default skin's tabs picture is missing";
        HarnessDialogTest::SetUp();
    }
    WindowSkinner *skinnerOf(HWND w) const
    {
        WindowSkinner *s = SkinManager::instance().findSkinner(w);
        return s != nullptr && GetPropW(w, kSkinObjectProperty) == s ? s : nullptr;
    }
    COLORREF bars(int x, int row = kBarsMiddleRow) const { return filePixel(bars_, x, row); }
    COLORREF tabs(int x, int row) const { return filePixel(tabs_, x, row); }
    RECT tabRect(HWND tab, int index) const
    {
        RECT r{};
        SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return r;
    }
    HWND makeTabs(DWORD style, int x, int y, int w, int h)
    {
        HWND tab = makeChild(dialog_, WC_TABCONTROLW, style, 3000 + static_cast<int>(style & 0xFFF), x, y, w, h);
        const wchar_t *names[] = {L"One", L"Two"};
        for (int i = 0; i < 2; ++i) {
            TCITEMW t{};
            t.mask = TCIF_TEXT;
            t.pszText = const_cast<wchar_t *>(names[i]);
            SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&t));
        }
        SendMessageW(tab, TCM_SETCURSEL, 0, 0);
        InvalidateRect(tab, nullptr, TRUE);
        return tab;
    }

    Bytes bars_, tabs_;
};

TEST_F(BarSkinners, EachBarGetsItsSkinnerFromTheFactory)
{
    struct {
        int id;
        int32_t type;
    } expected[] = {{kHarnessTab, kSkinTab},         {kHarnessHeader, kSkinHeader},      {kHarnessToolbar, kSkinToolBar},
                    {kHarnessRebar, kSkinRebar},     {kHarnessStatusBar, kSkinStatusBar}};
    for (const auto &e : expected) {
        WindowSkinner *s = skinnerOf(item(e.id));
        ASSERT_NE(s, nullptr) << e.id;
        EXPECT_EQ(s->typeCode(), e.type) << e.id;
    }
    // An owner-drawn tab control is left to its owner.
    HWND ownerDrawn = makeTabs(TCS_OWNERDRAWFIXED, 10, 300, 100, 40);
    pump();
    EXPECT_EQ(skinnerOf(ownerDrawn), nullptr);
    // The status bar clips its children from now on.
    EXPECT_NE(GetWindowLongW(item(kHarnessStatusBar), GWL_STYLE) & WS_CLIPCHILDREN, 0);
}

TEST_F(BarSkinners, TabsOnEverySideAreTheLookTurnedOrFlipped)
{
    // The tab control's dialog neighbours are moved away: these tabs stand alone.
    ShowWindow(item(kHarnessMonthCalendar), SW_HIDE);
    ShowWindow(item(kHarnessTab), SW_HIDE);
    const COLORREF line = tabs(kTabNormalMiddle, 2);  // the normal look's top stroke
    const COLORREF pageFill = tabs(kTabPageMiddle, 10);
    ASSERT_NE(line, pageFill);
    ASSERT_EQ(tabs(kTabNormalMiddle, 0), RGB(255, 0, 255)) << "the look's first rows are the key colour";

    HWND top = makeTabs(0, 10, 170, 220, 60);
    HWND bottom = makeTabs(TCS_BOTTOM, 10, 236, 220, 60);
    HWND left = makeTabs(TCS_VERTICAL | TCS_MULTILINE, 10, 300, 100, 110);
    HWND right = makeTabs(TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, 120, 300, 100, 110);
    pump();
    for (HWND tab : {top, bottom, left, right}) ASSERT_NE(skinnerOf(tab), nullptr);
    saveShot(dialog_, "bars-tabs.bmp");

    // Along the tab's outer side: first the key colour (the parent shows), then the stroke.
    struct Probe {
        HWND tab;
        const char *side;
        int dx, dy;  // one step from the outer side inwards
    } probes[] = {{top, "top", 0, 1}, {bottom, "bottom", 0, -1}, {left, "left", 1, 0}, {right, "right", -1, 0}};
    for (const Probe &p : probes) {
        SCOPED_TRACE(p.side);
        const RECT r = tabRect(p.tab, 1);  // the normal tab
        ASSERT_FALSE(IsRectEmpty(&r));
        const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
        // The outer side's first pixel, then two steps in.
        const int ox = p.dx > 0 ? r.left : p.dx < 0 ? r.right - 1 : cx;
        const int oy = p.dy > 0 ? r.top : p.dy < 0 ? r.bottom - 1 : cy;
        EXPECT_NE(shownAt(p.tab, ox, oy), line) << "the outer edge is the look's transparent top";
        EXPECT_EQ(shownAt(p.tab, ox + 2 * p.dx, oy + 2 * p.dy), line) << "the look's top stroke";
    }
    // The page lies beside the tabs: below top tabs, above bottom ones, right of left ones.
    RECT client;
    GetClientRect(top, &client);
    const RECT t = tabRect(top, 0), b = tabRect(bottom, 0), l = tabRect(left, 0), rr = tabRect(right, 0);
    EXPECT_EQ(shownAt(top, client.right / 2, (t.bottom + client.bottom) / 2), pageFill);
    EXPECT_EQ(shownAt(bottom, client.right / 2, b.top / 2), pageFill);
    GetClientRect(left, &client);
    EXPECT_EQ(shownAt(left, (l.right + client.right) / 2, client.bottom / 2), pageFill);
    EXPECT_EQ(shownAt(right, rr.left / 2, client.bottom / 2), pageFill);
    // The selected tab shows the selected look (white, its stroke on the outer side's first row).
    const RECT s = tabRect(top, 0);
    EXPECT_EQ(shownAt(top, (s.left + s.right) / 2, s.top), tabs(kTabSelectedMiddle, 0));
}

TEST_F(BarSkinners, HeaderItemsAndRebarBandsFromTheirPictures)
{
    HWND header = item(kHarnessHeader);
    ShowWindow(item(kHarnessAnimate), SW_HIDE);
    SetWindowPos(header, nullptr, 0, 0, 360, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const struct {
        const wchar_t *text;
        int format;
    } items[] = {{L"ab", HDF_LEFT}, {L"ab", HDF_RIGHT}, {L"ab", HDF_CENTER}};
    for (int i = 0; i < 3; ++i) {
        HDITEMW h{};
        h.mask = HDI_TEXT | HDI_FORMAT | HDI_WIDTH;
        h.pszText = const_cast<wchar_t *>(items[i].text);
        h.fmt = items[i].format | HDF_STRING;
        h.cxy = 120;
        SendMessageW(header, HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&h));
    }
    InvalidateRect(header, nullptr, FALSE);
    const int kMargin = 6;  // the default skin's Header text margins
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        RECT r{};
        ASSERT_TRUE(SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)));
        const int cy = (r.top + r.bottom) / 2;
        EXPECT_EQ(shownAt(header, r.left, cy), bars(kHeaderItemLeftEdge)) << "the item's left edge";
        // The text's dark pixels lie in the third of the room its alignment names, none in the others.
        const int third = (r.right - r.left - 2 * kMargin) / 3;
        RECT parts[3];
        for (int k = 0; k < 3; ++k)
            parts[k] = RECT{r.left + kMargin + k * third, r.top + 2, r.left + kMargin + (k + 1) * third, r.bottom - 2};
        const int want = i == 0 ? 0 : i == 1 ? 2 : 1;
        for (int k = 0; k < 3; ++k) {
            const int dark = countDark(header, parts[k]);
            if (k == want) {
                EXPECT_GT(dark, 0) << "third " << k;
            } else {
                EXPECT_EQ(dark, 0) << "third " << k;
            }
        }
    }

    HWND rebar = item(kHarnessRebar);
    REBARBANDINFOW band{};
    band.cbSize = REBARBANDINFOW_V6_SIZE;
    band.fMask = RBBIM_TEXT | RBBIM_SIZE;
    band.lpText = const_cast<wchar_t *>(L"Band");
    band.cx = 180;
    ASSERT_TRUE(SendMessageW(rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)));
    InvalidateRect(rebar, nullptr, FALSE);
    RECT b{};
    ASSERT_TRUE(SendMessageW(rebar, RB_GETRECT, 0, reinterpret_cast<LPARAM>(&b)));
    EXPECT_EQ(shownAt(rebar, b.left, (b.top + b.bottom) / 2), bars(kBandLeftEdge)) << "the band's left edge";
    EXPECT_GT(countDark(rebar, RECT{b.left + 4, b.top + 2, b.right - 4, b.bottom - 2}), 0) << "its text";
    RECT client;
    GetClientRect(rebar, &client);
    if (b.bottom < client.bottom) {
        EXPECT_EQ(shownAt(rebar, client.right / 2, client.bottom - 2), bars(kRebarCell)) << "below the band";
    }
    saveShot(dialog_, "bars-header-rebar.bmp");
}

TEST_F(BarSkinners, ToolbarButtonsInTheirLooksAndTheDropDownArrow)
{
    pointerAt(POINT{2, 2});  // no button is hot by the pointer
    HWND toolbar = item(kHarnessToolbar);
    SetWindowLongW(toolbar, GWL_STYLE, GetWindowLongW(toolbar, GWL_STYLE) | TBSTYLE_FLAT);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    TBBUTTON buttons[] = {
        {I_IMAGENONE, 40001, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
        {I_IMAGENONE, 40002, TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECK, {}, 0, -1},
        {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, -1},
        {I_IMAGENONE, 40003, TBSTATE_ENABLED, BTNS_DROPDOWN, {}, 0, -1},
        {I_IMAGENONE, 40004, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
    };
    SendMessageW(toolbar, TB_ADDBUTTONSW, 5, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(32, 24));
    SendMessageW(toolbar, TB_SETHOTITEM, 4, 0);
    InvalidateRect(toolbar, nullptr, FALSE);
    auto rectOf = [&](int i) {
        RECT r{};
        SendMessageW(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        return r;
    };
    auto lookAt = [&](int i) {
        const RECT r = rectOf(i);
        return shownAt(toolbar, r.left + 5, (r.top + r.bottom) / 2);
    };
    ASSERT_EQ(SendMessageW(toolbar, TB_GETHOTITEM, 0, 0), 4);
    EXPECT_EQ(lookAt(1), bars(kToolPressedCell)) << "checked";
    EXPECT_EQ(lookAt(4), bars(kToolHotCell)) << "hot";
    EXPECT_EQ(lookAt(0), bars(kToolbarCell + 160)) << "normal";
    RECT client;
    GetClientRect(toolbar, &client);
    EXPECT_EQ(shownAt(toolbar, client.right - 3, client.bottom / 2), bars(kToolbarCell)) << "the background";
    // The drop-down arrow: black lines of 7, 5, 3 and 1 pixels where the layout puts them.
    for (const SkinRect &l : dropArrowLines(toSkinRect(rectOf(3)))) {
        EXPECT_EQ(shownAt(toolbar, l.left, l.top), RGB(0, 0, 0));
        EXPECT_EQ(shownAt(toolbar, l.right - 1, l.top), RGB(0, 0, 0));
        EXPECT_NE(shownAt(toolbar, l.left - 1, l.top), RGB(0, 0, 0));
    }
    // Pressing a button gives it the pressed look at once.
    SendMessageW(toolbar, TB_PRESSBUTTON, 40001, TRUE);
    EXPECT_EQ(lookAt(0), bars(kToolPressedCell));
    saveShot(dialog_, "bars-toolbar.bmp");
}

TEST_F(BarSkinners, TheTooltipSubjectFollowsThePointerAcrossButtons)
{
    HWND toolbar = item(kHarnessToolbar);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[] = {
        {I_IMAGENONE, 40001, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
        {0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, -1},
        {I_IMAGENONE, 40002, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
    };
    SendMessageW(toolbar, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(40, 24));
    auto *skinner = dynamic_cast<ToolbarSkinner *>(skinnerOf(toolbar));
    ASSERT_NE(skinner, nullptr);
    SetWindowLongW(toolbar, GWL_STYLE, GetWindowLongW(toolbar, GWL_STYLE) | TBSTYLE_TOOLTIPS);
    skinner->setTooltipText(L"toolbar");
    EXPECT_EQ(GetWindowLongW(toolbar, GWL_STYLE) & TBSTYLE_TOOLTIPS, 0) << "the control's own tooltips are off";

    auto screenAt = [&](int index, int dx) {
        RECT r{};
        SendMessageW(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        POINT p{(r.left + r.right) / 2 + dx, (r.top + r.bottom) / 2};
        ClientToScreen(toolbar, &p);
        return p;
    };
    SkinTooltip &tooltip = SkinTooltip::instance();
    struct Step {
        int button, dx;
        int32_t subject;
        bool rearmed;
    } path[] = {{0, 0, 0, true}, {0, 6, 0, false}, {2, 0, 2, true}, {2, -6, 2, false}, {1, 0, -1, false}, {2, 0, 2, true}};
    for (const Step &s : path) {
        SCOPED_TRACE(testing::Message() << "button " << s.button << " dx " << s.dx);
        if (!s.rearmed && s.subject >= 0) tooltip.hide();  // a re-arm would show as pending again
        pointerAt(screenAt(s.button, s.dx));
        EXPECT_EQ(skinner->tooltipButton(), s.subject);
        if (s.rearmed) {
            EXPECT_EQ(tooltip.state(), kTooltipPending);
        } else {
            EXPECT_NE(tooltip.state(), kTooltipPending);
        }
        if (s.subject >= 0) {
            EXPECT_NE(tooltip.textProvider(), nullptr);
        }
    }
    // Leaving the toolbar forgets the button: coming back to it is a change again.
    pointerAt(POINT{2, 2});
    ASSERT_TRUE(pumpUntil([&] { return skinner->tooltipButton() == -1; }, 5000));
    pointerAt(screenAt(2, 0));
    EXPECT_EQ(skinner->tooltipButton(), 2);
    EXPECT_EQ(tooltip.state(), kTooltipPending);
    tooltip.hide();
}

TEST_F(BarSkinners, AToolbarWithTooltipsOfItsOwnGetsTheSkinnedOnesInstead)
{
    // As the program's main window makes its toolbar: with the control's own tooltips on.
    HWND toolbar = makeChild(dialog_, TOOLBARCLASSNAMEW, TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER,
                             3102, 500, 130, 110, 28);
    ASSERT_NE(toolbar, nullptr);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[] = {{I_IMAGENONE, 40001, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1},
                          {I_IMAGENONE, 40002, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1}};
    SendMessageW(toolbar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(40, 24));
    pump();
    auto *skinner = dynamic_cast<ToolbarSkinner *>(skinnerOf(toolbar));
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(GetWindowLongW(toolbar, GWL_STYLE) & TBSTYLE_TOOLTIPS, 0) << "the control's own tooltips are off";
    EXPECT_FALSE(skinner->tooltipText(0, 0).empty()) << "the skinner took a tooltip text of its own";

    // Nobody gave the skinner a text: the pointer on a button still arms the skinned tooltip.
    RECT r{};
    SendMessageW(toolbar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(toolbar, &at);
    SkinTooltip &tooltip = SkinTooltip::instance();
    pointerAt(at);
    EXPECT_EQ(skinner->tooltipButton(), 1);
    EXPECT_EQ(tooltip.state(), kTooltipPending);
    ASSERT_TRUE(pumpUntil([&] { return tooltip.state() == kTooltipShown; }, 10000));
    EXPECT_EQ(tooltip.text(), u"<b>Save</b>") << "the tooltip part of the button's command string";
    tooltip.hide();

    // Without the skin the control has its own tooltips again.
    EXPECT_EQ(skinDetachWindow(toolbar), 1);
    EXPECT_NE(GetWindowLongW(toolbar, GWL_STYLE) & TBSTYLE_TOOLTIPS, 0);
    DestroyWindow(toolbar);
}

TEST_F(BarSkinners, StatusPanelTextEndsInsideItsMarginsAndTheBuiltInLookStandsIn)
{
    HWND status = item(kHarnessStatusBar);
    auto *skinner = dynamic_cast<StatusBarSkinner *>(skinnerOf(status));
    ASSERT_NE(skinner, nullptr);
    // Made while the dialog had no size yet: the bar takes its place along the bottom now.
    SendMessageW(status, WM_SIZE, 0, 0);
    int widths[] = {200, -1};
    SendMessageW(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(widths));
    SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
    SendMessageW(status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"short"));
    RECT panel{};
    ASSERT_TRUE(SendMessageW(status, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&panel)));
    const int cy = (panel.top + panel.bottom) / 2;
    EXPECT_EQ(shownAt(status, panel.left, cy), bars(kPanelLeftEdge)) << "the panel's left edge";
    const int kMargin = 4;  // the default skin's panel margins
    const RECT rightMargin{panel.right - kMargin, panel.top + 3, panel.right, panel.bottom - 3};
    const RECT room{panel.left + kMargin, panel.top + 3, panel.right - kMargin, panel.bottom - 3};
    const COLORREF fill = shownAt(status, (panel.left + panel.right) / 2, cy);
    const int marginEmpty = countUnlike(status, rightMargin, fill);
    EXPECT_EQ(countUnlike(status, room, fill), 0) << "an empty panel";

    SendMessageW(status, SB_SETTEXTW, 0,
                 reinterpret_cast<LPARAM>(L"A status text much too long for its panel, which is cut off at the end"));
    EXPECT_GT(countUnlike(status, room, fill), 0) << "the text is drawn";
    EXPECT_EQ(countUnlike(status, rightMargin, fill), marginEmpty) << "nothing of it in the right margin";
    // The text runs on to the margin: it was cut there, not left short.
    const RECT tail{room.right - 16, room.top, room.right, room.bottom};
    EXPECT_GT(countDark(status, tail), 0);
    saveShot(dialog_, "bars-status.bmp");

    // Without a skin definition the built-in look: the button face, the text in the window-text colour.
    skinner->setSkin(nullptr);
    EXPECT_EQ(skinner->definition(), &skinner->builtIn());
    InvalidateRect(status, nullptr, FALSE);
    RECT client;
    GetClientRect(status, &client);
    EXPECT_EQ(shownAt(status, client.right - 30, client.bottom / 2), GetSysColor(COLOR_BTNFACE));
    EXPECT_GT(countDark(status, room), 0);
}

TEST_F(BarSkinners, AControlBarAndAToolbarDockedSidewaysInIt)
{
    WNDCLASSW cls{};
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"AfxControlBar42s";
    RegisterClassW(&cls);
    constexpr DWORD kAlignLeft = 0x1000;
    HWND bar = makeChild(dialog_, L"AfxControlBar42s", kAlignLeft, 3100, 580, 10, 50, 200);
    ASSERT_NE(bar, nullptr);
    HWND toolbar = makeChild(bar, TOOLBARCLASSNAMEW, CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 3101, 4, 4, 32, 150);
    pump();
    WindowSkinner *barSkinner = skinnerOf(bar);
    ASSERT_NE(barSkinner, nullptr);
    EXPECT_EQ(barSkinner->typeCode(), kSkinControlBar);
    ASSERT_NE(skinnerOf(toolbar), nullptr);
    InvalidateRect(bar, nullptr, FALSE);
    EXPECT_EQ(shownAt(bar, 45, 190), bars(kControlBarCell));
    // The toolbar cell's bottom line, turned back by a quarter, runs down its right side.
    InvalidateRect(toolbar, nullptr, FALSE);
    RECT client;
    GetClientRect(toolbar, &client);
    EXPECT_EQ(shownAt(toolbar, client.right - 1, client.bottom / 2), bars(kToolbarCell, kToolbarBottomLine));
    EXPECT_EQ(shownAt(toolbar, client.right / 2, client.bottom - 1), bars(kToolbarCell));
    saveShot(dialog_, "bars-control-bar.bmp");
    DestroyWindow(bar);
    UnregisterClassW(L"AfxControlBar42s", GetModuleHandleW(nullptr));
}

}  // namespace
