// The shell's small controls under Wine: the splitter bar with real windows, the search
// box's edit, the image button's theme state and image placement, and the theme wrapper
// without its library.
#include "framework/fwwindow.h"
#include "imagebutton.h"
#include "searchtextcombo.h"
#include "splitterbar.h"
#include "test_app.h"
#include "themeapi.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <vssym32.h>

namespace {

TEST(ThemeApi, WithoutTheLibraryEveryCallFallsBack) {
    CThemeApi none(L"wordmere-no-such-uxtheme.dll");
    EXPECT_FALSE(none.loaded());
    EXPECT_EQ(none.IsAppThemed(), FALSE);
    EXPECT_EQ(none.IsThemeActive(), FALSE);
    EXPECT_EQ(none.OpenThemeData(nullptr, L"BUTTON"), nullptr);
    RECT r{0, 0, 10, 10}, content{};
    EXPECT_EQ(none.DrawThemeBackground(nullptr, nullptr, BP_PUSHBUTTON, PBS_NORMAL, &r, nullptr), E_FAIL);
    EXPECT_EQ(none.GetThemeBackgroundContentRect(nullptr, nullptr, BP_PUSHBUTTON, PBS_NORMAL, &r, &content), E_FAIL);
    EXPECT_EQ(none.DrawThemeParentBackground(nullptr, nullptr, &r), E_FAIL);
    EXPECT_EQ(none.CloseThemeData(nullptr), E_FAIL);
    // A library without the entry points answers the same.
    CThemeApi other(L"kernel32.dll");
    EXPECT_TRUE(other.loaded());
    EXPECT_EQ(other.IsAppThemed(), FALSE);
    EXPECT_EQ(other.DrawThemeBackground(nullptr, nullptr, 1, 1, &r, nullptr), E_FAIL);
    // Wine carries UxTheme.dll; the process-wide wrapper found it.
    EXPECT_TRUE(CThemeApi::instance().loaded());
}

TEST(ImageButton, ThemeStateAndImagePlacement) {
    EXPECT_EQ(pushButtonThemeState(true, true, true, true), PBS_DISABLED);
    EXPECT_EQ(pushButtonThemeState(false, true, true, true), PBS_PRESSED);
    EXPECT_EQ(pushButtonThemeState(false, false, true, true), PBS_HOT);
    EXPECT_EQ(pushButtonThemeState(false, false, false, true), PBS_DEFAULTED);
    EXPECT_EQ(pushButtonThemeState(false, false, false, false), PBS_NORMAL);
    RECT rc{10, 20, 50, 40};  // 40 wide, 20 high
    struct {
        DWORD style;
        SIZE image;
        RECT at;
    } cases[] = {
        {0, {16, 16}, {22, 22, 38, 38}},                   // centred both ways
        {BS_LEFT, {16, 16}, {10, 22, 26, 38}},
        {BS_RIGHT, {16, 16}, {34, 22, 50, 38}},
        {BS_TOP, {16, 30}, {22, 20, 38, 50}},              // at the top the height is not cut
        {BS_BOTTOM, {16, 16}, {22, 24, 38, 40}},
        {0, {16, 30}, {22, 20, 38, 40}},                   // cut to the rectangle's height
        {BS_RIGHT, {60, 10}, {10, 25, 70, 35}},            // wider than the rectangle: left edge
    };
    for (auto& c : cases) {
        RECT at = imageButtonPlacement(c.style, rc, c.image);
        EXPECT_TRUE(EqualRect(&at, &c.at)) << c.style << ": " << at.left << "," << at.top << "," << at.right << ","
                                           << at.bottom;
    }
}

TEST(ImageButton, IconSizeFromItsBitmaps) {
    HICON icon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, 32, 32, LR_SHARED));
    ASSERT_TRUE(icon);
    SIZE s = iconImageSize(icon);
    EXPECT_EQ(s.cx, 32);
    EXPECT_EQ(s.cy, 32);
    // A monochrome icon has only its mask, twice the icon's height.
    BYTE andBits[32 * 4] = {}, xorBits[32 * 4] = {};
    HICON mono = CreateIcon(GetModuleHandleW(nullptr), 32, 32, 1, 1, andBits, xorBits);
    ASSERT_TRUE(mono);
    s = iconImageSize(mono);
    EXPECT_EQ(s.cx, 32);
    EXPECT_EQ(s.cy, 32);
    DestroyIcon(mono);
    EXPECT_EQ(iconImageSize(nullptr).cx, 0);
}

// A plain parent window that counts the splitter's notifications.
struct Parent : FwWindow {
    int moved = 0;
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_SPLITTER_MOVED) ++moved;
        return FwWindow::handleMessage(msg, wp, lp);
    }
};

RECT inParent(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(SplitterBar, DragIsClampedToTheLimitsAndLaysThePanesOut) {
    testApp();
    Parent parent;
    ASSERT_TRUE(createTopLevel(parent, L"WordmereSplitterTest", 300, 400));
    RECT client;
    GetClientRect(parent.hwnd(), &client);
    HWND a = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, client.right, 200, parent.hwnd(), nullptr,
                             nullptr, nullptr);
    HWND b = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 202, client.right, client.bottom - 202,
                             parent.hwnd(), nullptr, nullptr, nullptr);
    CSplitterBar bar;
    RECT none{0, 0, 0, 0};
    ASSERT_TRUE(bar.create(0x50C00000, none, parent.hwnd(), 998, true));
    // The bar's cursors are the program's own.
    EXPECT_TRUE(LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(15491)));
    EXPECT_TRUE(LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(15490)));
    // Without a skin the colours are the system's.
    EXPECT_EQ(bar.background(), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(bar.highlight(), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(bar.shadow(), GetSysColor(COLOR_BTNSHADOW));
    bar.setMinPaneSize(-5);
    EXPECT_EQ(bar.minPaneSize(), 0);
    bar.setMinPaneSize(30);
    bar.setPanes(a, b);
    int f = GetSystemMetrics(SM_CXFRAME), e = GetSystemMetrics(SM_CYBORDER);
    RECT r = inParent(bar.hwnd());
    EXPECT_EQ(r.top, 200 - f / 2);
    EXPECT_EQ(r.bottom - r.top, f / 2 * 2);
    EXPECT_EQ(inParent(a).bottom, r.top + e);
    EXPECT_EQ(inParent(b).top, r.bottom - e);
    EXPECT_EQ(bar.lowerLimit(), 30);
    EXPECT_EQ(bar.upperLimit(), client.bottom - 30);

    struct {
        int releaseY, expectedTop;
    } drags[] = {{5, 30}, {-50, 30}, {client.bottom + 40, client.bottom - 30}, {150, 150}};
    for (auto& d : drags) {
        RECT before = inParent(bar.hwnd());
        // Button down on the bar, release at a client y of the parent (converted to the bar's).
        SendMessageW(bar.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 1));
        EXPECT_TRUE(bar.dragging());
        SendMessageW(bar.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, d.releaseY - before.top));
        SendMessageW(bar.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, static_cast<WORD>(static_cast<SHORT>(d.releaseY - before.top))));
        EXPECT_FALSE(bar.dragging());
        RECT after = inParent(bar.hwnd());
        EXPECT_EQ(after.top, d.expectedTop) << d.releaseY;
        EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
        RECT pa = inParent(a);
        EXPECT_GE(pa.bottom - pa.top, 30);
        EXPECT_EQ(pa.bottom, after.top + e);
        EXPECT_EQ(inParent(b).top, after.bottom - e);
    }
    EXPECT_EQ(parent.moved, 4);
    bar.destroy();
    parent.destroy();
}

TEST(SearchBox, EditRemembersItsSelectionWhenItLosesTheFocus) {
    testApp();
    Parent parent;
    ASSERT_TRUE(createTopLevel(parent, L"WordmereSearchBoxTest", 300, 200));
    HWND cb = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_AUTOHSCROLL, 4, 4, 200, 120,
                              parent.hwnd(), reinterpret_cast<HMENU>(1001), nullptr, nullptr);
    ASSERT_TRUE(cb);
    LXSearchTextComboBox combo;
    combo.subclass(cb);
    EXPECT_EQ(combo.editWindow(), nullptr);
    HWND edit = FindWindowExW(cb, nullptr, L"Edit", nullptr);
    ASSERT_TRUE(edit);
    // The edit's first colour request makes it ours.
    HDC dc = GetDC(edit);
    SendMessageW(cb, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
    ReleaseDC(edit, dc);
    EXPECT_EQ(combo.editWindow(), edit);
    SetWindowTextW(cb, L"maison");
    SendMessageW(edit, EM_SETSEL, 2, 5);
    SendMessageW(edit, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(combo.edit().selStart, 2u);
    EXPECT_EQ(combo.edit().selEnd, 5u);
    // Destroying the box hands the edit its own procedure back.
    DestroyWindow(cb);
    EXPECT_EQ(combo.editWindow(), nullptr);
    parent.destroy();
}

}  // namespace
