// Under Wine: the skinned popup menu's own loop on a real owner window. Keys posted before
// the call drive it: arrows and Enter choose (TPM_RETURNCMD answers the id and posts nothing,
// otherwise WM_COMMAND reaches the owner); Escape in a submenu closes only the submenu; "&&"
// is no mnemonic and "&x" chooses with X; a menu taller than the screen shows whole items and
// its arrow areas scroll by one; a WM_QUIT met by the loop ends it and is posted again. Checks
// that need the open menu run from messages the owner gets while the loop runs; the open
// menu's screenshot is kept and its hot item is probed for the skin picture's colour. While a
// menu is shown, its owner's top-level window keeps its active caption. A right-to-left owner's
// menu is mirrored, frame and columns, while its text still reads as written.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "control_factory.h"
#include "popup_menu.h"
#include "screenshot_win.h"
#include "skin_interface.h"
#include "skin_test_support.h"
#include "win_test_support.h"

namespace {

constexpr UINT kProbe = WM_APP + 51;
constexpr UINT kProbeAgain = WM_APP + 52;

struct Owner {
    std::vector<WPARAM> commands;
    int initPopups = 0;
    int ncDeactivations = 0;
    std::function<void(UINT)> probe;
};
Owner *gOwner = nullptr;

LRESULT CALLBACK ownerProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (gOwner != nullptr) {
        if (m == WM_COMMAND) gOwner->commands.push_back(wp);
        if (m == WM_INITMENUPOPUP) ++gOwner->initPopups;
        if (m == WM_NCACTIVATE && wp == FALSE) ++gOwner->ncDeactivations;
        if ((m == kProbe || m == kProbeAgain) && gOwner->probe) gOwner->probe(m);
    }
    return DefWindowProcW(w, m, wp, lp);
}

class PopupMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        skinInstallControls();
        ASSERT_TRUE(startWithDefaultSkin());
        WNDCLASSW wc{};
        wc.lpfnWndProc = ownerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PopupMenuTestOwner";
        RegisterClassW(&wc);
        gOwner = &owner_;
        window_ = CreateWindowExW(0, L"PopupMenuTestOwner", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        pump();
    }
    void TearDown() override
    {
        for (HMENU m : menus_) DestroyMenu(m);
        DestroyWindow(window_);
        gOwner = nullptr;
        while (skinIsStarted()) skinShutdown();
    }
    HMENU menu(std::initializer_list<std::pair<UINT, const wchar_t *>> items)
    {
        HMENU m = CreatePopupMenu();
        for (const auto &i : items) {
            AppendMenuW(m, i.first == 0 ? MF_SEPARATOR : MF_STRING, i.first, i.second);
        }
        menus_.push_back(m);
        return m;
    }
    void keys(std::initializer_list<WPARAM> vks)
    {
        for (WPARAM vk : vks) {
            PostMessageW(window_, WM_KEYDOWN, vk, 1);
            PostMessageW(window_, WM_KEYUP, vk, 0xC0000001);
        }
    }
    int show(HMENU m, UINT flags) { return skinShowPopupMenu(m, flags, 100, 100, window_); }

    Owner owner_;
    HWND window_ = nullptr;
    std::vector<HMENU> menus_;
};

TEST_F(PopupMenu, ArrowsAndEnterChooseAndReturnCommandPostsNothing)
{
    HMENU m = menu({{101, L"&Open"}, {0, L""}, {102, L"&Save\tCtrl+S"}, {103, L"E&xit"}});
    // Down twice: the separator is skipped.
    keys({VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(show(m, TPM_RETURNCMD), 102);
    pump();
    EXPECT_TRUE(owner_.commands.empty());
    EXPECT_EQ(owner_.initPopups, 1);

    keys({VK_UP, VK_RETURN});
    EXPECT_EQ(show(m, TPM_LEFTALIGN), 1);
    pump();
    ASSERT_EQ(owner_.commands.size(), 1u);
    EXPECT_EQ(LOWORD(owner_.commands[0]), 103) << "Up from none starts at the last item";
}

TEST_F(PopupMenu, EscapeInASubmenuClosesOnlyTheSubmenu)
{
    HMENU inner = menu({{201, L"&Inner"}});
    HMENU m = menu({{101, L"&Open"}});
    AppendMenuW(m, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), L"&More");
    menus_.erase(std::find(menus_.begin(), menus_.end(), inner));  // destroyed with its menu
    bool submenuWasOpen = false, submenuClosed = false, topStillOpen = false;
    std::wstring className;
    owner_.probe = [&](UINT which) {
        SkinPopupMenu *open = SkinPopupMenu::current();
        if (open == nullptr) return;
        if (which == kProbe) {
            submenuWasOpen = open->submenu() != nullptr;
            wchar_t cls[64] = L"";
            GetClassNameW(open->window(), cls, 64);
            className = cls;
            PostMessageW(window_, WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageW(window_, kProbeAgain, 0, 0);
        } else {
            submenuClosed = open->submenu() == nullptr;
            topStillOpen = IsWindowVisible(open->window()) != FALSE;
            PostMessageW(window_, WM_KEYDOWN, VK_ESCAPE, 1);
        }
    };
    keys({VK_DOWN, VK_DOWN, VK_RIGHT});
    PostMessageW(window_, kProbe, 0, 0);
    EXPECT_EQ(show(m, TPM_RETURNCMD), 0);
    EXPECT_TRUE(submenuWasOpen);
    EXPECT_EQ(className, L"GlossvanePopupMenuWnd");
    EXPECT_TRUE(submenuClosed);
    EXPECT_TRUE(topStillOpen);
    EXPECT_EQ(owner_.initPopups, 2) << "the menu and its submenu";
    // Without TPM_RETURNCMD Escape also answers 0, and no command comes.
    keys({VK_ESCAPE});
    EXPECT_EQ(show(m, 0), 0);
    pump();
    EXPECT_TRUE(owner_.commands.empty());
}

TEST_F(PopupMenu, DoubledAmpersandIsNoMnemonicAndAmpersandXChoosesWithX)
{
    HMENU m = menu({{11, L"Fish && Chips"}, {12, L"Te&xt"}});
    keys({'C', 'X'});
    EXPECT_EQ(show(m, TPM_RETURNCMD), 12);
    keys({'F', VK_ESCAPE});
    EXPECT_EQ(show(m, TPM_RETURNCMD), 0);
}

TEST_F(PopupMenu, MenuTallerThanTheScreenScrollsByOneItem)
{
    HMENU m = CreatePopupMenu();
    menus_.push_back(m);
    for (UINT i = 0; i < 120; ++i) {
        AppendMenuW(m, MF_STRING, 300 + i, (L"Item " + std::to_wstring(i)).c_str());
    }
    RECT window{};
    bool scrolling = false;
    int visible = 0, afterDown = -1, afterUp = -1, afterTwoDowns = -1;
    owner_.probe = [&](UINT) {
        SkinPopupMenu *open = SkinPopupMenu::current();
        if (open == nullptr) return;
        GetWindowRect(open->window(), &window);
        scrolling = open->band().scrolling();
        visible = open->band().visibleCount();
        RECT client;
        GetClientRect(open->window(), &client);
        const LPARAM down = MAKELPARAM(client.right / 2, client.bottom - 3);
        const LPARAM up = MAKELPARAM(client.right / 2, 3);
        SendMessageW(open->window(), WM_LBUTTONDOWN, MK_LBUTTON, up);
        afterUp = open->band().firstVisible();
        SendMessageW(open->window(), WM_LBUTTONDOWN, MK_LBUTTON, down);
        afterDown = open->band().firstVisible();
        SendMessageW(open->window(), WM_LBUTTONDOWN, MK_LBUTTON, down);
        afterTwoDowns = open->band().firstVisible();
        PostMessageW(window_, WM_KEYDOWN, VK_ESCAPE, 1);
    };
    PostMessageW(window_, kProbe, 0, 0);
    EXPECT_EQ(show(m, TPM_RETURNCMD), 0) << "clicks in the arrow areas choose nothing";
    MONITORINFO info{sizeof info};
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &info);
    EXPECT_TRUE(scrolling);
    EXPECT_GT(visible, 5);
    EXPECT_LT(visible, 120);
    EXPECT_GE(window.top, info.rcWork.top);
    EXPECT_LE(window.bottom, info.rcWork.bottom);
    EXPECT_EQ(afterUp, 0) << "the first item was shown";
    EXPECT_EQ(afterDown, 1);
    EXPECT_EQ(afterTwoDowns, 2);
}

TEST_F(PopupMenu, HotItemInTheSkinsHighlightAndScreenshot)
{
    const Bytes picture = readFileBytes(defaultSkinPath("pictures/menus.bmp"));
    ASSERT_GT(picture.size(), 54u);
    HMENU m = menu({{101, L"&Open"}, {102, L"&Close"}});
    COLORREF hot = CLR_INVALID, cold = CLR_INVALID;
    owner_.probe = [&](UINT) {
        SkinPopupMenu *open = SkinPopupMenu::current();
        if (open == nullptr) return;
        RECT client;
        GetClientRect(open->window(), &client);
        // The frame lies around the client area, which holds the items alone.
        const int itemHeight = client.bottom / 2;
        HDC dc = GetDC(open->window());
        hot = GetPixel(dc, itemHeight / 2, itemHeight / 2);
        cold = GetPixel(dc, itemHeight / 2, itemHeight + itemHeight / 2);
        ReleaseDC(open->window(), dc);
        saveShot(open->window(), "popup-menu.bmp");
        PostMessageW(window_, WM_KEYDOWN, VK_ESCAPE, 1);
    };
    keys({VK_DOWN});
    PostMessageW(window_, kProbe, 0, 0);
    EXPECT_EQ(show(m, TPM_RETURNCMD), 0);
    // The highlight picture (20 x 20 at x 20 of menus.bmp) is stretched over the hot item.
    EXPECT_EQ(hot, filePixel(picture, 30, 10));
    EXPECT_EQ(cold, RGB(0xFF, 0xFF, 0xFF)) << "the skin's background fill";
}

TEST_F(PopupMenu, QuitMetByTheLoopEndsItAndIsPostedAgain)
{
    HMENU m = menu({{101, L"&Open"}});
    PostQuitMessage(7);
    EXPECT_EQ(show(m, TPM_RETURNCMD), 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(SkinPopupMenu::current(), nullptr);
}

TEST_F(PopupMenu, TheOwnersTopLevelWindowKeepsItsActiveCaptionWhileTheMenuIsShown)
{
    // The owner is a child: the window that would lose its caption is its top-level parent.
    HWND child = CreateWindowExW(0, L"PopupMenuTestOwner", L"", WS_CHILD | WS_VISIBLE, 10, 10, 50, 30, window_, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(child, nullptr);
    HMENU m = menu({{101, L"&Open"}});
    bool marked = false;
    LRESULT answered = 0;
    int reached = -1;
    owner_.probe = [&](UINT) {
        marked = GetPropW(window_, L"SKIN_WNDPROC") != nullptr;
        const int before = owner_.ncDeactivations;
        answered = SendMessageW(window_, WM_NCACTIVATE, FALSE, 0);
        reached = owner_.ncDeactivations - before;
        PostMessageW(child, WM_KEYDOWN, VK_ESCAPE, 1);
    };
    PostMessageW(child, kProbe, 0, 0);
    EXPECT_EQ(skinShowPopupMenu(m, TPM_RETURNCMD, 100, 100, child), 0);
    EXPECT_TRUE(marked);
    EXPECT_EQ(answered, TRUE);
    EXPECT_EQ(reached, 0) << "the deactivation is answered before the window's own procedure";
    // Once the menu is gone the window is told again.
    EXPECT_EQ(GetPropW(window_, L"SKIN_WNDPROC"), nullptr);
    const int before = owner_.ncDeactivations;
    SendMessageW(window_, WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(owner_.ncDeactivations - before, 1);
    DestroyWindow(child);
}

}  // namespace

namespace {

// A window's whole image (frame and client area) in unmirrored window coordinates.
Screenshot windowImage(HWND w)
{
    RECT r;
    GetWindowRect(w, &r);
    HDC dc = GetWindowDC(w);
    const DWORD layout = GetLayout(dc);
    SetLayout(dc, 0);
    Screenshot image(dc, r.right - r.left, r.bottom - r.top);
    SetLayout(dc, layout);
    ReleaseDC(w, dc);
    return image;
}

// What a shown menu of two items (a checked "Fig", and "Sub" with a submenu) looks like: its
// frame and client sizes, the pixels of its frame's middle row at both ends, where the check
// mark and the submenu arrow stand, and the ink of the first item's text column by column.
struct MenuLook {
    int frameWidth = 0, frameHeight = 0;
    COLORREF leftEdge = CLR_INVALID, rightEdge = CLR_INVALID;
    int checkInkLeft = 0, checkInkRight = 0, arrowInkLeft = 0, arrowInkRight = 0;
    int clientWidth = 0, itemHeight = 0;
    int textFirst = -1, textLast = -1;
    std::vector<int> textInk;
};
// At most this far from the check column: the item margin, the one-pixel gap and the glyph's
// own side bearing.
constexpr int kTextInset = 10;

MenuLook lookOf(HWND menu, COLORREF background)
{
    MenuLook look;
    RECT window, client;
    GetWindowRect(menu, &window);
    GetClientRect(menu, &client);
    const Screenshot image = windowImage(menu);
    look.frameWidth = (window.right - window.left) - client.right;
    look.frameHeight = (window.bottom - window.top) - client.bottom;
    // The default skin's frame is as wide on each side.
    const int left = look.frameWidth / 2, top = look.frameHeight / 2;
    const int itemHeight = client.bottom / 2;
    look.clientWidth = client.right;
    look.itemHeight = itemHeight;
    const int width = window.right - window.left, height = window.bottom - window.top;
    look.leftEdge = image.at(0, height / 2);
    look.rightEdge = image.at(width - 1, height / 2);
    const auto ink = [&](int x0, int x1, int row) {
        int n = 0;
        for (int y = top + row * itemHeight; y < top + (row + 1) * itemHeight; ++y)
            for (int x = left + x0; x < left + x1; ++x) n += image.at(x, y) != background;
        return n;
    };
    look.checkInkLeft = ink(0, itemHeight, 0);
    look.checkInkRight = ink(client.right - itemHeight, client.right, 0);
    look.arrowInkLeft = ink(0, itemHeight, 1);
    look.arrowInkRight = ink(client.right - itemHeight, client.right, 1);
    for (int x = itemHeight; x < client.right - itemHeight; ++x) {
        const int n = ink(x, x + 1, 0);
        if (n == 0) continue;
        if (look.textFirst < 0) look.textFirst = x;
        look.textLast = x;
    }
    for (int x = look.textFirst; x >= 0 && x <= look.textLast; ++x) look.textInk.push_back(ink(x, x + 1, 0));
    return look;
}

}  // namespace

// A right-to-left owner gets a mirrored menu: the frame around the client area is measured as
// the left-to-right one's, the check mark stands in the right column and the submenu arrow in
// the left one, and the text, drawn at the right, reads as it does left to right (the same
// columns of ink, not turned round).
TEST_F(PopupMenu, RightToLeftMenuIsMirroredButItsTextIsNot)
{
    HWND rtlOwner = CreateWindowExW(WS_EX_LAYOUTRTL, L"PopupMenuTestOwner", L"owner", WS_POPUP | WS_VISIBLE, 0, 300, 200,
                                    100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(rtlOwner, nullptr);
    HMENU inner = menu({{201, L"Inner"}});
    HMENU m = menu({{101, L"Fig"}});
    CheckMenuItem(m, 101, MF_BYCOMMAND | MF_CHECKED);
    AppendMenuW(m, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), L"Sub");
    menus_.erase(std::find(menus_.begin(), menus_.end(), inner));  // destroyed with its menu
    MenuLook looks[2];
    bool mirroredStyle[2] = {false, false};
    int shown = 0;
    owner_.probe = [&](UINT) {
        SkinPopupMenu *open = SkinPopupMenu::current();
        if (open == nullptr) return;
        mirroredStyle[shown] = (GetWindowLongW(open->window(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
        looks[shown] = lookOf(open->window(), RGB(0xFF, 0xFF, 0xFF));
        saveShot(open->window(), shown == 0 ? "popup-menu-ltr.bmp" : "popup-menu-rtl.bmp");
        PostMessageW(open->window(), WM_KEYDOWN, VK_ESCAPE, 1);
    };
    for (HWND owner : {window_, rtlOwner}) {
        PostMessageW(owner, kProbe, 0, 0);
        EXPECT_EQ(skinShowPopupMenu(m, TPM_RETURNCMD, 100, 100, owner), 0);
        ++shown;
    }
    DestroyWindow(rtlOwner);
    const MenuLook &ltr = looks[0], &rtl = looks[1];
    EXPECT_FALSE(mirroredStyle[0]);
    EXPECT_TRUE(mirroredStyle[1]);
    // The frame is in the non-client area, the default skin's 2 pixels on each side.
    EXPECT_EQ(ltr.frameWidth, 4);
    EXPECT_EQ(ltr.frameHeight, 4);
    EXPECT_EQ(rtl.frameWidth, 4);
    EXPECT_EQ(rtl.frameHeight, 4);
    const Bytes picture = readFileBytes(defaultSkinPath("pictures/menus.bmp"));
    ASSERT_GT(picture.size(), 54u);
    EXPECT_EQ(ltr.leftEdge, filePixel(picture, 0, 10));
    EXPECT_EQ(ltr.rightEdge, filePixel(picture, 19, 10));
    EXPECT_EQ(rtl.leftEdge, filePixel(picture, 19, 10));
    EXPECT_EQ(rtl.rightEdge, filePixel(picture, 0, 10));

    EXPECT_GT(ltr.checkInkLeft, 0);
    EXPECT_EQ(ltr.checkInkRight, 0);
    EXPECT_GT(ltr.arrowInkRight, 0);
    EXPECT_EQ(ltr.arrowInkLeft, 0);
    EXPECT_GT(rtl.checkInkRight, 0) << "the check mark is not in the right-hand column";
    EXPECT_EQ(rtl.checkInkLeft, 0);
    EXPECT_GT(rtl.arrowInkLeft, 0) << "the submenu arrow is not in the left-hand column";
    EXPECT_EQ(rtl.arrowInkRight, 0);

    ASSERT_FALSE(ltr.textInk.empty()) << "no text in the left-to-right menu";
    ASSERT_FALSE(rtl.textInk.empty()) << "no text in the right-to-left menu";
    EXPECT_EQ(rtl.textInk, ltr.textInk) << "the text's columns differ";
    const std::vector<int> turned(ltr.textInk.rbegin(), ltr.textInk.rend());
    ASSERT_NE(turned, ltr.textInk) << "the probe text reads the same both ways";
    // Left to right the text starts just after the check column, right to left it ends just
    // before it.
    EXPECT_LE(ltr.textFirst - ltr.itemHeight, kTextInset);
    EXPECT_LE(rtl.clientWidth - rtl.itemHeight - 1 - rtl.textLast, kTextInset) << "the text is not at the right";
}

// In a right-to-left menu the submenu opens on the left of its item, right to left itself.
TEST_F(PopupMenu, RightToLeftSubmenuOpensOnTheLeft)
{
    HWND rtlOwner = CreateWindowExW(WS_EX_LAYOUTRTL, L"PopupMenuTestOwner", L"owner", WS_POPUP | WS_VISIBLE, 300, 300,
                                    200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(rtlOwner, nullptr);
    HMENU inner = menu({{201, L"Inner"}});
    HMENU m = menu({{101, L"Fig"}});
    AppendMenuW(m, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), L"Sub");
    menus_.erase(std::find(menus_.begin(), menus_.end(), inner));  // destroyed with its menu
    RECT top{}, sub{};
    bool opened = false, subMirrored = false;
    owner_.probe = [&](UINT) {
        SkinPopupMenu *open = SkinPopupMenu::current();
        if (open == nullptr) return;
        opened = open->submenu() != nullptr;
        if (opened) {
            GetWindowRect(open->window(), &top);
            GetWindowRect(open->submenu()->window(), &sub);
            subMirrored = (GetWindowLongW(open->submenu()->window(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
        }
        PostMessageW(open->window(), WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageW(open->window(), WM_KEYDOWN, VK_ESCAPE, 1);
    };
    for (WPARAM vk : {VK_DOWN, VK_DOWN, VK_RIGHT}) PostMessageW(rtlOwner, WM_KEYDOWN, vk, 1);
    PostMessageW(rtlOwner, kProbe, 0, 0);
    // The owner's procedure is the fixture's: the probe runs there.
    EXPECT_EQ(skinShowPopupMenu(m, TPM_RETURNCMD, 600, 100, rtlOwner), 0);
    DestroyWindow(rtlOwner);
    ASSERT_TRUE(opened) << "Right did not open the submenu";
    EXPECT_TRUE(subMirrored);
    EXPECT_LT(sub.left, top.left) << "the submenu is not on the left";
    EXPECT_LE(sub.right, top.left + 4) << "the submenu lies over its menu";
    EXPECT_GE(sub.right, top.left) << "the submenu stands apart from its menu";
}
