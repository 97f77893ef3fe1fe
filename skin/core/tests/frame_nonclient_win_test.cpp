// The skinned non-client answers on real windows under Wine: the client area the system gives
// the window under the default skin's borders and menu bar, hit tests at screen points computed
// from the window rectangle and the skin's piece sizes (resizable, fixed, maximised, a dialog,
// right-to-left), the smallest size the system lets the window take and the rectangle it
// maximises to.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "frame_nonclient.h"
#include "menu_entries.h"
#include "skin_gdi.h"
#include "skin_repository.h"
#include "silent_menu_actions.h"
#include "skin_test_support.h"

namespace {

constexpr wchar_t kTestClass[] = L"WordmereNonClientTest";

LRESULT CALLBACK testProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto *nc = reinterpret_cast<FrameNonClient *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (nc) {
        switch (msg) {
        case WM_NCCALCSIZE: return nc->onNcCalcSize(lp);
        case WM_NCHITTEST: return nc->hitTest(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
        case WM_GETMINMAXINFO:
            nc->onGetMinMaxInfo(*reinterpret_cast<MINMAXINFO *>(lp), [&](MINMAXINFO &info) {
                DefWindowProcW(hwnd, msg, wp, reinterpret_cast<LPARAM>(&info));
            });
            return 0;
        default: break;
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void registerClass()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = testProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTestClass;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassW(&wc);
}

HMENU makeMenu()
{
    HMENU bar = CreateMenu();
    const wchar_t *names[] = {L"&File", L"&Edit", L"&View", L"&Tools", L"&Help"};
    for (const wchar_t *name : names) {
        HMENU sub = CreatePopupMenu();
        AppendMenuW(sub, MF_STRING, 100, L"Item");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), name);
    }
    return bar;
}

class SkinnedWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { registerClass(); }
    void SetUp() override
    {
        ASSERT_TRUE(repository.loadFromFile(defaultSkinPath("skin.gvf").c_str()));
        frame = dynamic_cast<FrameWndDefinition *>(repository.findObject("MainFrame"));
        ASSERT_NE(frame, nullptr);
        font = static_cast<HFONT>(skinCreateFont(frame->menuBar.font));
        menu = makeMenu();
        HDC dc = CreateCompatibleDC(nullptr);
        bar.setEntries(readMenuBarEntries(menu, dc, font));
        DeleteDC(dc);
        bar.setMetrics(menuBarMetrics(frame->menuBar));
    }
    void TearDown() override
    {
        if (window) DestroyWindow(window);
        DestroyMenu(menu);
        skinDeleteGdiObject(font);
    }
    // A window with the skin's non-client answers, never activated (no window manager here).
    bool create(uint32_t style, FrameNonClient::Kind kind, bool withBar, uint32_t exStyle = 0)
    {
        window = CreateWindowExW(exStyle, kTestClass, L"Skinned", style, 50, 60, 300, 200, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        if (!window) return false;
        nonClient = std::make_unique<FrameNonClient>(window, frame, withBar ? &bar : nullptr, kind, style);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(nonClient.get()));
        SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return true;
    }
    RECT windowRect() const
    {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }
    int32_t hitAt(int x, int y) const
    {
        const RECT r = windowRect();
        return static_cast<int32_t>(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y)));
    }

    SkinRepository repository;
    FrameWndDefinition *frame = nullptr;
    HFONT font = nullptr;
    HMENU menu = nullptr;
    SilentMenuBarActions quiet;
    MenuBarModel bar{quiet};
    HWND window = nullptr;
    std::unique_ptr<FrameNonClient> nonClient;
};

TEST_F(SkinnedWindow, ClientAreaUnderTheBordersAndTheMenuBar)
{
    ASSERT_TRUE(create(WS_OVERLAPPEDWINDOW, FrameNonClient::Kind::Frame, true));
    const int32_t menuHeight = bar.heightForWidth(300 - 4 - 4, false);
    ASSERT_GT(menuHeight, 0);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 300 - 4 - 4);
    EXPECT_EQ(client.bottom, 200 - 28 - menuHeight - 4);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    EXPECT_EQ(origin.x, 50 + 4);
    EXPECT_EQ(origin.y, 60 + 28 + menuHeight);
    const SkinRect menuBar = nonClient->menuBarRect();
    EXPECT_EQ(menuBar.top, 28);
    EXPECT_EQ(menuBar.bottom, 28 + menuHeight);
    EXPECT_EQ(hitAt(150, 28), kHitMenu);
    EXPECT_EQ(hitAt(150, 28 + menuHeight), kHitClient);

    // Narrowed, the bar wraps: the client area starts lower.
    SetWindowPos(window, nullptr, 0, 0, 120, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT narrow = windowRect();  // the system's minimum tracking width may hold
    const int32_t wrapped = bar.heightForWidth(narrow.right - narrow.left - 8, false);
    EXPECT_GT(wrapped, menuHeight);
    origin = POINT{0, 0};
    ClientToScreen(window, &origin);
    EXPECT_EQ(origin.y, 60 + 28 + wrapped);
}

TEST_F(SkinnedWindow, HitTestsAtTheEdgesCornersAndCaption)
{
    ASSERT_TRUE(create(WS_OVERLAPPEDWINDOW, FrameNonClient::Kind::Frame, false));
    const struct {
        int x, y;
        int32_t code;
    } cases[] = {
        {0, 0, kHitTopLeft},      {4, 4, kHitTopLeft},        {100, 0, kHitTop},        {100, 10, kHitCaption},
        {299, 0, kHitTopRight},   {0, 100, kHitLeft},         {299, 100, kHitRight},    {0, 199, kHitBottomLeft},
        {150, 199, kHitBottom},   {299, 199, kHitBottomRight}, {150, 100, kHitClient},  {300, 100, kHitError},
    };
    for (const auto &c : cases) EXPECT_EQ(hitAt(c.x, c.y), c.code) << c.x << "," << c.y;
}

TEST_F(SkinnedWindow, FixedWindowsAreNotSized)
{
    ASSERT_TRUE(create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, FrameNonClient::Kind::Frame, false));
    EXPECT_EQ(hitAt(0, 0), kHitCaption);
    EXPECT_EQ(hitAt(100, 0), kHitCaption);
    EXPECT_EQ(hitAt(0, 100), kHitNowhere);
    EXPECT_EQ(hitAt(299, 199), kHitNowhere);
}

// Run first in a process of its own (see skin/core/CMakeLists.txt): under Wine a maximise in a
// process that has made and destroyed windows before is often ended by the X11 driver.
TEST_F(SkinnedWindow, MaximisedWindowsAreNotSized)
{
    ASSERT_TRUE(create(WS_OVERLAPPEDWINDOW, FrameNonClient::Kind::Frame, false));
    ShowWindow(window, SW_SHOWMAXIMIZED);
    ASSERT_TRUE(IsZoomed(window));
    // Maximised over the work area exactly: the skin's borders are not pushed off the screen.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT r = windowRect();
    EXPECT_EQ(r.left, work.left);
    EXPECT_EQ(r.top, work.top);
    EXPECT_EQ(r.right, work.right);
    EXPECT_EQ(r.bottom, work.bottom);
    const int w = r.right - r.left, h = r.bottom - r.top;
    EXPECT_EQ(hitAt(0, 0), kHitCaption);
    EXPECT_EQ(hitAt(w / 2, 0), kHitCaption);
    EXPECT_EQ(hitAt(0, h / 2), kHitNowhere);
    EXPECT_EQ(hitAt(w - 1, h - 1), kHitNowhere);
    EXPECT_EQ(hitAt(w / 2, h / 2), kHitClient);
}

TEST_F(SkinnedWindow, TheSystemKeepsTheSkinsMinimumTrackingSize)
{
    ASSERT_TRUE(create(WS_OVERLAPPEDWINDOW, FrameNonClient::Kind::Frame, false));
    SetWindowPos(window, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT r = windowRect();
    // The skin asks for 82 × 34 (its top corners and piece heights); the system's own minimum
    // holds where it is larger.
    EXPECT_EQ(r.right - r.left, std::max(82, GetSystemMetrics(SM_CXMINTRACK)));
    EXPECT_EQ(r.bottom - r.top, std::max(34, GetSystemMetrics(SM_CYMINTRACK)));
}

TEST_F(SkinnedWindow, DialogsAndRightToLeftWindows)
{
    ASSERT_TRUE(create(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, FrameNonClient::Kind::Dialog, false));
    EXPECT_EQ(hitAt(0, 0), kHitCaption);
    EXPECT_EQ(hitAt(150, 10), kHitCaption);
    EXPECT_EQ(hitAt(0, 100), kHitNowhere);
    EXPECT_EQ(hitAt(150, 100), kHitClient);
    EXPECT_EQ(hitAt(300, 100), kHitNowhere);
    DestroyWindow(window);
    window = nullptr;

    // Mirrored: the left edge of the screen is the window's logical right.
    ASSERT_TRUE(create(WS_OVERLAPPEDWINDOW, FrameNonClient::Kind::Frame, false, WS_EX_LAYOUTRTL));
    EXPECT_EQ(hitAt(0, 100), kHitRight);
    EXPECT_EQ(hitAt(299, 100), kHitLeft);
    EXPECT_EQ(hitAt(0, 0), kHitTopRight);
    EXPECT_EQ(hitAt(299, 199), kHitBottomLeft);
}

}  // namespace
