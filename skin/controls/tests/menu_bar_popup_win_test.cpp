// Under Wine: a skinned frame's menu bar opens the engine's popup menus (the skinned controls
// installed), driven by real input from a thread of its own while the test's thread runs the
// menus' loops. A click opens the item's menu just below it; the pointer moving over another
// item switches menus without a click; Left and Right move to the neighbouring items, wrapping;
// Alt and a mnemonic typed into the open menu move to that item; Escape closes the menu and
// leaves the bar; a click on the open item closes its menu and leaves the item hot; a click in
// the client area closes the menu and reaches the window; Down and Enter run the command. The
// menus are found as windows of the menu class, so the input thread sees them too. A frame
// destroyed while its bar's menu runs ends the menu.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <vector>

#include "control_factory.h"
#include "frame_skinner.h"
#include "input_script_win.h"
#include "menu_bar_element.h"
#include "popup_menu.h"
#include "skin_definitions.h"
#include "skin_manager.h"
#include "win_test_support.h"

namespace {

using input_script::click;
using input_script::InputScript;
using input_script::key;
using input_script::moveTo;
using input_script::pollFor;
using input_script::press;
using input_script::scaled;
using input_script::waitFor;

constexpr wchar_t kFrameClass[] = L"WordmereMenuBarPopupTest";
constexpr UINT kFirstCommand = 4201;

struct FrameSeen {
    std::atomic<HMENU> lastOpened{nullptr};
    std::atomic<int> opened{0};
    std::atomic<UINT> lastCommand{0};
    std::atomic<int> commands{0};
    std::atomic<int> clientClicks{0};
};
FrameSeen *gSeen = nullptr;

LRESULT CALLBACK frameProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (gSeen != nullptr) {
        if (m == WM_INITMENUPOPUP) {
            gSeen->lastOpened = reinterpret_cast<HMENU>(wp);
            ++gSeen->opened;
        }
        if (m == WM_COMMAND) {
            gSeen->lastCommand = LOWORD(wp);
            ++gSeen->commands;
        }
        if (m == WM_LBUTTONDOWN) ++gSeen->clientClicks;
    }
    return DefWindowProcW(w, m, wp, lp);
}

// File, Edit, View, Help; each menu's first item has its own command.
HMENU makeMenu(std::vector<HMENU> &submenus)
{
    HMENU bar = CreateMenu();
    const wchar_t *names[] = {L"&File", L"&Edit", L"&View", L"&Help"};
    UINT id = kFirstCommand;
    for (const wchar_t *name : names) {
        HMENU sub = CreatePopupMenu();
        AppendMenuW(sub, MF_STRING, id, L"&Toggle");
        AppendMenuW(sub, MF_STRING, id + 100, L"&Other");
        id += 1;
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), name);
        submenus.push_back(sub);
    }
    return bar;
}

struct PopupsFound {
    DWORD thread;
    std::vector<RECT> shown;
};

BOOL CALLBACK collectPopup(HWND w, LPARAM lp)
{
    wchar_t cls[64] = L"";
    GetClassNameW(w, cls, 64);
    if (lstrcmpW(cls, kPopupMenuClass) == 0 && IsWindowVisible(w)) {
        RECT r{};
        GetWindowRect(w, &r);
        reinterpret_cast<PopupsFound *>(lp)->shown.push_back(r);
    }
    return TRUE;
}

// The engine's menus the thread shows now (callable from the input thread).
std::vector<RECT> shownMenus(DWORD thread)
{
    PopupsFound found{thread, {}};
    EnumThreadWindows(thread, collectPopup, reinterpret_cast<LPARAM>(&found));
    return found.shown;
}

class MenuBarPopup : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        skinInstallControls();
        ASSERT_TRUE(startWithDefaultSkin());
        WNDCLASSW wc{};
        wc.lpfnWndProc = frameProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = kFrameClass;
        RegisterClassW(&wc);
        gSeen = &seen_;
        frame_ = CreateWindowExW(0, kFrameClass, L"Wordmere", WS_OVERLAPPEDWINDOW, 80, 60, 420, 320, nullptr,
                                 makeMenu(submenus_), GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(frame_, nullptr);
        ASSERT_EQ(skinApplyToFrame(frame_, L"MainFrame"), 1);
        ShowWindow(frame_, SW_SHOW);
        SetForegroundWindow(frame_);
        SetActiveWindow(frame_);
        waitFor([&] { return GetActiveWindow() == frame_; }, 3000);
        input_script::pump(300);
        auto *skinner = dynamic_cast<FrameSkinner *>(SkinManager::instance().findSkinner(frame_));
        bar_ = skinner ? skinner->menuBar() : nullptr;
        ASSERT_NE(bar_, nullptr) << "the frame has no skinned bar";
        ASSERT_EQ(bar_->model().items().size(), 4u);
    }
    void TearDown() override
    {
        if (IsWindow(frame_)) DestroyWindow(frame_);
        gSeen = nullptr;
        pump();
        while (skinIsStarted()) skinShutdown();
    }
    // An item's rectangle on the screen.
    RECT itemOnScreen(int item) const
    {
        RECT w{};
        GetWindowRect(frame_, &w);
        const SkinRect r = bar_->model().items()[static_cast<size_t>(item)].rect;
        return RECT{w.left + r.left, w.top + r.top, w.left + r.right, w.top + r.bottom};
    }
    static POINT centre(const RECT &r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

    FrameSeen seen_;
    HWND frame_ = nullptr;
    MenuBarElement *bar_ = nullptr;
    std::vector<HMENU> submenus_;
};

TEST_F(MenuBarPopup, BarItemsOpenTheEnginesMenusAndTheBarMovesBetweenThem)
{
    const DWORD thread = GetCurrentThreadId();
    RECT items[4];
    for (int i = 0; i < 4; ++i) items[i] = itemOnScreen(i);
    RECT client{};
    GetClientRect(frame_, &client);
    MapWindowPoints(frame_, nullptr, reinterpret_cast<POINT *>(&client), 2);
    const POINT inClient{client.left + 200, client.top + 150};

    // What the input thread saw, step by step.
    std::atomic<bool> clickOpened{false}, oneMenuBelowTheItem{false}, pointerSwitched{false},
        switchedMenuBelowView{false}, leftMoved{false}, leftWrapped{false}, rightWrapped{false}, altMoved{false},
        escapeClosed{false}, reopened{false}, clickOnOpenClosed{false}, clientClickClosed{false}, ran{false};
    const auto opened = [&](int item) { return seen_.lastOpened == submenus_[static_cast<size_t>(item)]; };
    const auto menuBelow = [&](int item) {
        const std::vector<RECT> shown = shownMenus(thread);
        return shown.size() == 1 && shown[0].left == items[item].left && shown[0].top == items[item].bottom;
    };
    const auto noMenu = [&] { return shownMenus(thread).empty(); };
    InputScript input([&] {
        const POINT file = centre(items[0]);
        click(file.x, file.y);
        clickOpened = pollFor([&] { return opened(0) && !shownMenus(thread).empty(); });
        if (!clickOpened) return;
        oneMenuBelowTheItem = menuBelow(0);
        // Over View with File open: View's menu replaces File's.
        const POINT view = centre(items[2]);
        moveTo((file.x + view.x) / 2, view.y);
        moveTo(view.x, view.y);
        pointerSwitched = pollFor([&] { return opened(2) && !shownMenus(thread).empty(); });
        switchedMenuBelowView = pollFor([&] { return menuBelow(2); });
        // Left to Edit; then from File, Left wraps to Help, and Right wraps back to File.
        press(VK_LEFT);
        leftMoved = pollFor([&] { return opened(1); });
        press(VK_LEFT);
        pollFor([&] { return opened(0); });
        press(VK_LEFT);
        leftWrapped = pollFor([&] { return opened(3); });
        press(VK_RIGHT);
        rightWrapped = pollFor([&] { return opened(0); });
        // Alt and V typed into File's menu, which has no such item: the bar moves to View.
        Sleep(scaled(200));
        key(VK_MENU, false);
        press('V');
        key(VK_MENU, true);
        altMoved = pollFor([&] { return opened(2) && !shownMenus(thread).empty(); });
        Sleep(scaled(200));
        press(VK_ESCAPE);
        escapeClosed = pollFor(noMenu) && seen_.commands == 0;
        // A click on the open item closes its menu (and does not open it again).
        const POINT help = centre(items[3]);
        const int before = seen_.opened;
        click(help.x, help.y);
        reopened = pollFor([&] { return opened(3) && !shownMenus(thread).empty(); });
        click(help.x, help.y);
        Sleep(scaled(500));
        clickOnOpenClosed = noMenu() && seen_.opened == before + 1;
        // Opened again, then a click in the client area closes it and reaches the window.
        click(file.x, file.y);
        pollFor([&] { return opened(0) && !shownMenus(thread).empty(); });
        click(inClient.x, inClient.y);
        clientClickClosed = pollFor([&] { return noMenu() && seen_.clientClicks > 0; });
        // Down and Enter run the first command of the menu.
        click(file.x, file.y);
        pollFor([&] { return !shownMenus(thread).empty(); });
        Sleep(scaled(200));
        press(VK_DOWN);
        press(VK_RETURN);
        ran = pollFor([&] { return seen_.commands > 0 && noMenu(); });
    });
    ASSERT_TRUE(input.finish(240000));
    EXPECT_TRUE(clickOpened) << "the click opened no menu of the engine";
    EXPECT_TRUE(oneMenuBelowTheItem) << "File's menu is not one menu just below the item";
    EXPECT_TRUE(pointerSwitched) << "the pointer over View did not switch menus";
    EXPECT_TRUE(switchedMenuBelowView) << "View's menu is not the only one, below View";
    EXPECT_TRUE(leftMoved) << "Left did not move from View to Edit";
    EXPECT_TRUE(leftWrapped) << "Left from File did not wrap to Help";
    EXPECT_TRUE(rightWrapped) << "Right from Help did not wrap to File";
    EXPECT_TRUE(altMoved) << "Alt+V in File's menu did not move to View";
    EXPECT_TRUE(escapeClosed) << "Escape left a menu open or ran a command";
    EXPECT_TRUE(reopened) << "a click on Help opened nothing";
    EXPECT_TRUE(clickOnOpenClosed) << "a click on the open item did not just close its menu";
    EXPECT_TRUE(clientClickClosed) << "a click in the client area did not close the menu and reach the window";
    EXPECT_TRUE(ran) << "Down and Enter ran nothing; last command " << seen_.lastCommand;
    EXPECT_EQ(seen_.lastCommand, kFirstCommand) << "File's first item";
    input_script::pump(200);
    EXPECT_FALSE(bar_->model().inMenuMode()) << "the bar stayed in menu mode";
}

// The frame that a timer destroys once its bar's menu runs, and what the timers saw.
struct DestroyWhileOpen {
    HWND frame = nullptr;
    bool menuWasOpen = false;
    bool loopRanOn = false;
};
DestroyWhileOpen gDestroy;

void CALLBACK destroyOnceOpen(HWND, UINT, UINT_PTR id, DWORD)
{
    if (SkinPopupMenu::current() == nullptr) return;
    KillTimer(nullptr, id);
    gDestroy.menuWasOpen = true;
    DestroyWindow(gDestroy.frame);
}

void CALLBACK endLoopLeftRunning(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (SkinPopupMenu::current() == nullptr) return;
    gDestroy.loopRanOn = true;
    PostQuitMessage(0);
}

TEST_F(MenuBarPopup, FrameDestroyedWhileItsMenuRunsEndsTheMenu)
{
    gDestroy = DestroyWhileOpen{frame_, false, false};
    const POINT file = centre(itemOnScreen(0));
    PostMessageW(frame_, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(file.x, file.y));
    const UINT_PTR destroyer = SetTimer(nullptr, 0, scaled(300), destroyOnceOpen);
    const UINT_PTR guard = SetTimer(nullptr, 0, scaled(15000), endLoopLeftRunning);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(frame_); }, 12000)) << "the frame was not destroyed";
    input_script::pump(300);
    KillTimer(nullptr, destroyer);
    KillTimer(nullptr, guard);
    pump();
    EXPECT_TRUE(gDestroy.menuWasOpen) << "the bar's menu never ran";
    EXPECT_FALSE(gDestroy.loopRanOn) << "the menu's loop ran on after its frame was gone";
    EXPECT_EQ(SkinPopupMenu::current(), nullptr);
    EXPECT_TRUE(shownMenus(GetCurrentThreadId()).empty()) << "a menu window was left on the screen";
}

}  // namespace
