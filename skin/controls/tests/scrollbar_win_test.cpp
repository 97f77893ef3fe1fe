// Skinned scroll bars and the interception on real windows, in the three ways the platform
// class makes them work: this program runs the default class itself and runs copies of itself
// that Wine reports as Windows XP (entry patching) and Windows 98 (import patching), each
// copy's version set by its own AppDefaults key.
#include <windows.h>
#include <windowsx.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "control_factory.h"
#include "harness_dialog.h"
#include "interception.h"
#include "skin_manager.h"
#include "window_skinner.h"
#include "skin_interface.h"
#include "skin_platform.h"
#include "skin_scrollbar.h"
#include "win_test_support.h"
#include "version_copy_win.h"

namespace {

const char kModeVariable[] = "WORDMERE_BARS_MODE";

std::string mode()
{
    const char *m = std::getenv(kModeVariable);
    return m ? m : "default";
}

int32_t expectedClass()
{
    std::string m = mode();
    return m == "winxp" ? kPlatformWinXp : m == "win98" ? kPlatformWin98 : kPlatformOtherNt;
}

int timeScale()
{
    const char *s = std::getenv("WORDMERE_TEST_TIME_SCALE");
    int v = s ? std::atoi(s) : 1;
    return v > 0 ? v : 1;
}

// ---- a window that scrolls as the result list does: keys and the wheel move its bar
// through the platform's functions, and it records the scroll requests it receives.

struct Request {
    int code;
    int position;
    DWORD at;
};
std::vector<Request> requests;

void moveBy(HWND w, int delta)
{
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(w, SB_VERT, &si);
    si.fMask = SIF_POS;
    si.nPos += delta;
    SetScrollInfo(w, SB_VERT, &si, TRUE);
}

LRESULT CALLBACK listProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_VSCROLL:
        requests.push_back(Request{LOWORD(wp), static_cast<short>(HIWORD(wp)), GetTickCount()});
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_NEXT) {
            moveBy(w, 10);
        } else if (wp == VK_DOWN) {
            moveBy(w, 1);
        }
        return 0;
    case WM_MOUSEWHEEL:
        moveBy(w, GET_WHEEL_DELTA_WPARAM(wp) > 0 ? -3 : 3);
        return 0;
    default:
        return DefWindowProcW(w, msg, wp, lp);
    }
}

HWND makeList()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = listProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = L"WordmereBarsTestList";
        registered = RegisterClassW(&wc) != 0;
    }
    HWND w = CreateWindowExW(0, L"WordmereBarsTestList", L"bars", WS_POPUP | WS_BORDER | WS_VSCROLL | WS_VISIBLE, 40, 40,
                             240, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    SetScrollInfo(w, SB_VERT, &si, TRUE);
    return w;
}

void pumpFor(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    do {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

// The vertical bar's rectangle on the screen: the client area's right neighbour.
RECT barOnScreen(HWND w)
{
    RECT client;
    GetClientRect(w, &client);
    POINT tl{client.right, 0};
    POINT br{client.right, client.bottom};
    ClientToScreen(w, &tl);
    ClientToScreen(w, &br);
    RECT window;
    GetWindowRect(w, &window);
    return RECT{tl.x, tl.y, window.right - 1, br.y};  // inside the one-pixel border
}

COLORREF screenPixel(int x, int y)
{
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return c;
}

// The first bytes of each intercepted function's code, before anything is patched.
struct Entries {
    std::vector<std::vector<uint8_t>> bytes;
    std::vector<const uint8_t *> at;
};
const char *const kNames[] = {"EnableScrollBar", "GetScrollInfo", "GetScrollPos",   "GetScrollRange", "SetScrollInfo",
                              "SetScrollPos",    "SetScrollRange", "ShowScrollBar", "GetSysColor",    "GetSysColorBrush"};

Entries readEntries()
{
    Entries e;
    for (const char *name : kNames) {
        const auto *p = static_cast<const uint8_t *>(skinInterceptedEntry(name));
        e.at.push_back(p);
        e.bytes.push_back(p ? std::vector<uint8_t>(p, p + 16) : std::vector<uint8_t>());
    }
    return e;
}

// A crash in a window or patch test says where it happened before the process goes.
LONG WINAPI reportCrash(EXCEPTION_POINTERS *e)
{
    std::fprintf(stderr, "crash %08lx at %p (module %p):", e->ExceptionRecord->ExceptionCode,
                 e->ExceptionRecord->ExceptionAddress, static_cast<void *>(GetModuleHandleW(nullptr)));
    MEMORY_BASIC_INFORMATION info{};
    const auto *code = static_cast<const uint8_t *>(e->ExceptionRecord->ExceptionAddress);
    if (VirtualQuery(code, &info, sizeof info) == sizeof info && info.State == MEM_COMMIT) {
        for (int i = 0; i < 16; ++i) {
            std::fprintf(stderr, " %02x", code[i]);
        }
    }
    std::fprintf(stderr, "\n");
    std::fflush(stderr);
    return EXCEPTION_CONTINUE_SEARCH;
}

class BarsInMode : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetUnhandledExceptionFilter(&reportCrash);
        // Each line out at once, so a run that dies still says how far it came.
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        if (const char *trace = std::getenv("WORDMERE_BARS_TRACE")) {
            // The entries as the platform has them, before anything is patched.
            HMODULE user = GetModuleHandleW(L"user32.dll");
            for (const char *name : {"GetSysColor", "GetScrollPos", "ShowScrollBar"}) {
                const auto *p = reinterpret_cast<const uint8_t *>(GetProcAddress(user, name));
                std::fprintf(stderr, "%s %s %p:", trace, name, static_cast<const void *>(p));
                for (int i = 0; p && i < 16; ++i) {
                    std::fprintf(stderr, " %02x", p[i]);
                }
                std::fprintf(stderr, "\n");
            }
        }
        skinControlsUseScrollBars();
        user32_ = GetModuleHandleW(L"user32.dll");
        exportedBefore_ = reinterpret_cast<void *>(GetProcAddress(user32_, "GetScrollPos"));
        ASSERT_TRUE(startWithDefaultSkin());
    }
    void TearDown() override { skinShutdown(); }

    HMODULE user32_ = nullptr;
    void *exportedBefore_ = nullptr;
};

TEST_F(BarsInMode, ThePlatformClassIsTheOneTheVersionGives)
{
    EXPECT_EQ(skinEnginePlatformClass(), expectedClass()) << mode();
}

TEST_F(BarsInMode, SystemColoursComeFromTheSkinsTableWhereIntercepted)
{
    bool intercepted = skinInterceptionFor(skinEnginePlatformClass()) != kInterceptNone;
    COLORREF table1 = skinSystemColor(COLOR_ACTIVECAPTION);  // the table's answer
    EXPECT_EQ(table1, RGB(0x2F, 0x5D, 0x8C));
    if (intercepted) {
        EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), table1);
        EXPECT_EQ(GetSysColor(40), RGB(0xE9, 0xED, 0xF2)) << "an index out of range answers entry 0";
        HBRUSH brush = GetSysColorBrush(COLOR_ACTIVECAPTION);
        LOGBRUSH lb{};
        ASSERT_TRUE(GetObjectW(brush, sizeof lb, &lb));
        EXPECT_EQ(lb.lbColor, table1);
    } else {
        EXPECT_NE(GetSysColor(COLOR_ACTIVECAPTION), table1) << "the platform's own colours stay";
    }
}

TEST_F(BarsInMode, PatchingFollowsTheMode)
{
    SkinInterceptionKind kind = skinInterceptionFor(skinEnginePlatformClass());
    void *exported = reinterpret_cast<void *>(GetProcAddress(user32_, "GetScrollPos"));
    if (kind == kInterceptEntries) {
        EXPECT_EQ(skinPatchedEntryCount(), 10);
        Entries patched = readEntries();
        for (size_t i = 0; i < patched.at.size(); ++i) {
            ASSERT_NE(patched.at[i], nullptr) << kNames[i];
            EXPECT_EQ(patched.bytes[i][0], 0xE9) << kNames[i] << " starts with a jump";
        }
        // Shut down: every entry gets its bytes back; start again: patched again.
        skinShutdown();
        Entries restored = readEntries();
        EXPECT_EQ(skinPatchedEntryCount(), 0);
        ASSERT_EQ(skinStartup(GetModuleHandleW(nullptr)), 1);
        EXPECT_EQ(skinPatchedEntryCount(), 10) << "a new start patches again";
        for (size_t i = 0; i < restored.at.size(); ++i) {
            EXPECT_NE(restored.bytes[i][0], 0xE9) << kNames[i];
            EXPECT_EQ(readEntries().bytes[i][0], 0xE9) << kNames[i];
        }
        skinShutdown();
        Entries again = readEntries();
        EXPECT_EQ(again.bytes, restored.bytes) << "byte for byte, twice";
        ASSERT_EQ(skinStartup(GetModuleHandleW(nullptr)), 1);
    } else if (kind == kInterceptImports) {
        EXPECT_NE(exported, exportedBefore_) << "GetProcAddress answers the replacement";
        EXPECT_EQ(skinPatchedEntryCount(), 0);
        // A module loaded as a data file is left alone; loaded as a program module it is patched.
        HMODULE data = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        EXPECT_NE(data, nullptr);
        if (data) {
            FreeLibrary(data);
        }
        // A loader function handed out while patched is the replacement; called after the
        // shutdown it still loads.
        using LoadW = HMODULE(WINAPI *)(LPCWSTR);
        HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        auto handedOut = reinterpret_cast<LoadW>(reinterpret_cast<void *>(GetProcAddress(kernel, "LoadLibraryW")));
        ASSERT_NE(handedOut, nullptr);
        skinShutdown();
        EXPECT_EQ(reinterpret_cast<void *>(GetProcAddress(user32_, "GetScrollPos")), exportedBefore_)
            << "shutdown gives the tables back";
        EXPECT_NE(reinterpret_cast<void *>(handedOut), reinterpret_cast<void *>(GetProcAddress(kernel, "LoadLibraryW")))
            << "the loader handed out while patched is the replacement";
        HMODULE loaded = handedOut(L"comctl32.dll");
        EXPECT_NE(loaded, nullptr) << "the loader handed out while patched, called after the shutdown";
        if (loaded) FreeLibrary(loaded);
        ASSERT_EQ(skinStartup(GetModuleHandleW(nullptr)), 1);
        EXPECT_NE(reinterpret_cast<void *>(GetProcAddress(user32_, "GetScrollPos")), exportedBefore_);
    } else {
        EXPECT_EQ(exported, exportedBefore_);
        EXPECT_EQ(skinPatchedEntryCount(), 0);
    }
}

TEST_F(BarsInMode, TheBarFollowsKeysAndTheWheelAndIsDrawnFromTheSkin)
{
    HWND w = makeList();
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(skinAttachScrollBars(w, SB_VERT), 1);
    bool skinned = skinPlatformHasSkinnedScrollBars(skinEnginePlatformClass());
    EXPECT_EQ(skinScrollBarHas(w), skinned) << mode();
    pumpFor(300);

    SendMessageW(w, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(GetScrollPos(w, SB_VERT), 10);
    SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(GetScrollPos(w, SB_VERT), 13);
    SetScrollPos(w, SB_VERT, 200, TRUE);
    EXPECT_EQ(GetScrollPos(w, SB_VERT), 90) << "the position stops at the last page";
    SetScrollPos(w, SB_VERT, 45, TRUE);
    pumpFor(300);
    saveShot(w, "bar-" + mode() + ".bmp");

    if (skinned) {
        // The skin's bar: 16-pixel arrows, the track's face and the normal thumb's fill.
        RECT bar = barOnScreen(w);
        int x = (bar.left + bar.right) / 2;
        int space = (bar.bottom - bar.top) - 32;
        int thumb = MulDiv(10, space, 100);
        int start = bar.top + 16 + MulDiv(45, space - thumb, 90);
        EXPECT_EQ(screenPixel(x, start + thumb / 2), RGB(0xB7, 0xC3, 0xD0)) << "thumb";
        EXPECT_EQ(screenPixel(x, bar.top + 16 + 3), RGB(0xF0, 0xF2, 0xF5)) << "track before the thumb";
        EXPECT_EQ(screenPixel(x, bar.bottom - 16 - 3), RGB(0xF0, 0xF2, 0xF5)) << "track after the thumb";
    }
    DestroyWindow(w);
}

TEST_F(BarsInMode, ClicksSendTheRightRequestsWithRepeatAndSnapBack)
{
    if (!skinPlatformHasSkinnedScrollBars(skinEnginePlatformClass())) {
        GTEST_SKIP() << "the platform's own bars on this class";
    }
    HWND w = makeList();
    ASSERT_EQ(skinAttachScrollBars(w, SB_VERT), 1);
    SetScrollPos(w, SB_VERT, 45, TRUE);
    pumpFor(200);
    RECT bar = barOnScreen(w);
    int x = (bar.left + bar.right) / 2;
    auto press = [&](int y) {
        requests.clear();
        SetCursorPos(x, y);
        SendMessageW(w, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(x, y));
    };
    auto release = [&]() { SendMessageW(w, WM_LBUTTONUP, 0, 0); };

    // Arrows send line requests; the release ends the scroll.
    press(bar.bottom - 5);
    release();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].code, SB_LINEDOWN);
    EXPECT_EQ(requests[1].code, SB_ENDSCROLL);
    press(bar.top + 5);
    release();
    EXPECT_EQ(requests[0].code, SB_LINEUP);

    // Holding the track: one request at once, the next after the delay, then at the interval.
    press(bar.bottom - 16 - 4);
    pumpFor(700 * timeScale());
    release();
    std::vector<DWORD> pages;
    for (const Request &r : requests) {
        if (r.code == SB_PAGEDOWN) {
            pages.push_back(r.at);
        }
    }
    ASSERT_GE(pages.size(), 3u);
    EXPECT_GE(pages[1] - pages[0], 300u) << "the repeat waits 300 ms";
    // The system keeps a timer's cadence: a tick handled late is followed by one handled early,
    // so single gaps can be short while the repeats as a whole keep to the interval.
    ASSERT_GE(pages.size(), 4u);
    const DWORD repeats = static_cast<DWORD>(pages.size() - 2);
    const DWORD meanGap = (pages.back() - pages[1]) / repeats;
    EXPECT_GE(meanGap, 50u) << "every 55 ms, over " << repeats << " repeats";
    EXPECT_LE(meanGap, 110u * static_cast<DWORD>(timeScale())) << "every 55 ms, over " << repeats << " repeats";
    EXPECT_EQ(requests.back().code, SB_ENDSCROLL);

    // Dragging the thumb: tracks while near the bar, snaps back far from it.
    int space = (bar.bottom - bar.top) - 32;
    int thumb = MulDiv(10, space, 100);
    int start = bar.top + 16 + MulDiv(45, space - thumb, 90);
    press(start + thumb / 2);
    POINT closeBy{x, start + thumb / 2 + 40};
    ScreenToClient(w, &closeBy);
    SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(closeBy.x, closeBy.y));
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().code, SB_THUMBTRACK);
    EXPECT_GT(requests.back().position, 45);
    POINT farAway{x + 200, start + thumb / 2 + 40};
    ScreenToClient(w, &farAway);
    SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(farAway.x, farAway.y));
    EXPECT_EQ(requests.back().code, SB_THUMBTRACK);
    EXPECT_EQ(requests.back().position, 45) << "the thumb went back to where it started";
    release();
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ(requests[requests.size() - 2].code, SB_THUMBPOSITION);
    EXPECT_EQ(requests.back().code, SB_ENDSCROLL);
    DestroyWindow(w);
}

TEST_F(BarsInMode, ASkinnedEditsBarFollowsTypingWhereTheEditMovesItItself)
{
    skinInstallControls();
    ASSERT_EQ(skinSetDefaultDialog(L"Dialog"), 1);
    HWND dialog = createHarnessDialog(GetModuleHandleW(nullptr), nullptr, 40, 40);
    ASSERT_NE(dialog, nullptr);
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                                240, 330, 160, 60, dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
    WindowSkinner *dialogSkinner = SkinManager::instance().findSkinner(dialog);
    ASSERT_NE(dialogSkinner, nullptr);
    dialogSkinner->skinChild(edit, dialogSkinner->definition());
    pumpFor(300);
    const bool skinned = skinPlatformHasSkinnedScrollBars(skinEnginePlatformClass());
    EXPECT_EQ(skinScrollBarHas(edit), skinned) << mode();
    // Thirty typed lines: the edit scrolls its own bar to the caret.
    for (int line = 0; line < 30; ++line) {
        SendMessageW(edit, WM_CHAR, 'w', 1);
        SendMessageW(edit, WM_CHAR, VK_RETURN, 1);
    }
    pumpFor(300);
    SCROLLINFO real{};
    real.cbSize = sizeof real;
    real.fMask = SIF_ALL;
    ASSERT_TRUE(skinRealScrollFunctions().getScrollInfo ? skinRealScrollFunctions().getScrollInfo(edit, SB_VERT, &real)
                                                        : GetScrollInfo(edit, SB_VERT, &real));
    EXPECT_GT(real.nPos, 0) << "the edit scrolled";
    if (skinned && (skinEnginePlatformClass() == kPlatformWin98 || skinEnginePlatformClass() == kPlatformWinMe)) {
        SCROLLINFO copy{};
        copy.cbSize = sizeof copy;
        copy.fMask = SIF_ALL;
        ASSERT_TRUE(skinSbGetScrollInfo(edit, SB_VERT, &copy));
        EXPECT_EQ(copy.nPos, real.nPos) << "the skinned bar follows the caret";
        EXPECT_EQ(copy.nMax, real.nMax);
        EXPECT_EQ(copy.nPage, real.nPage);
        saveShot(dialog, "edit-bar-" + mode() + ".bmp");
    }
    DestroyWindow(dialog);
}

std::vector<int> sidewaysRequests;

LRESULT CALLBACK sidewaysProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_HSCROLL) {
        sidewaysRequests.push_back(LOWORD(wp));
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

TEST_F(BarsInMode, ARightToLeftWindowHasItsBarOnTheLeftAndItsSidewaysBarMirrored)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = sidewaysProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"WordmereBarsTestRtl";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(WS_EX_LAYOUTRTL, wc.lpszClassName, L"rtl", WS_POPUP | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE,
                             300, 40, 240, 200, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(skinScrollBarInstall(w), 1);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    si.nMax = 99;
    si.nPage = 10;
    skinSbSetScrollInfo(w, SB_VERT, &si, TRUE);
    skinSbSetScrollInfo(w, SB_HORZ, &si, TRUE);
    SetCursorPos(5, 5);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    pumpFor(300);
    saveShot(w, "bars-rtl-" + mode() + ".bmp");

    // Screen places worked out here: a one-pixel border, 16-pixel bars and arrows.
    RECT win;
    GetWindowRect(w, &win);
    const int bar = 16, arrow = 16;
    const RECT vertical{win.left + 1, win.top + 1, win.left + 1 + bar, win.bottom - 1 - bar};
    const RECT sideways{win.left + 1 + bar, win.bottom - 1 - bar, win.right - 1, win.bottom - 1};
    const int middleY = (sideways.top + sideways.bottom) / 2;
    EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(vertical.left + 8, (vertical.top + vertical.bottom) / 2)), HTVSCROLL);
    EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(win.right - 1 - 8, (vertical.top + vertical.bottom) / 2)), HTCLIENT)
        << "the right edge is the client's";
    EXPECT_EQ(screenPixel(vertical.left + 8, vertical.bottom - arrow - 4), RGB(0xF0, 0xF2, 0xF5)) << "the vertical track, on the left";

    // Position 0 puts the sideways thumb at the right, after the first arrow there.
    const int space = (sideways.right - sideways.left) - 2 * arrow;
    const int thumb = MulDiv(10, space, 100);
    EXPECT_EQ(screenPixel(sideways.right - 1 - arrow - thumb / 2, middleY), RGB(0xB7, 0xC3, 0xD0)) << "thumb at the right";
    EXPECT_EQ(screenPixel(sideways.left + arrow + 4, middleY), RGB(0xF0, 0xF2, 0xF5)) << "track at the left";

    // The right arrow is the first one: it asks for the line towards the start.
    sidewaysRequests.clear();
    SendMessageW(w, WM_NCLBUTTONDOWN, HTHSCROLL, MAKELPARAM(sideways.right - 5, middleY));
    SendMessageW(w, WM_LBUTTONUP, 0, 0);
    SendMessageW(w, WM_NCLBUTTONDOWN, HTHSCROLL, MAKELPARAM(sideways.left + 5, middleY));
    SendMessageW(w, WM_LBUTTONUP, 0, 0);
    ASSERT_EQ(sidewaysRequests.size(), 4u);
    EXPECT_EQ(sidewaysRequests[0], SB_LINELEFT);
    EXPECT_EQ(sidewaysRequests[2], SB_LINERIGHT);
    DestroyWindow(w);
}

// Runs this program again under another name whose AppDefaults key gives the Windows version.
int runCopy(const std::string &version, const std::wstring &filter)
{
    return runCopyUnderWindowsVersion(version, filter, kModeVariable);
}

TEST(BarsInOtherModes, WindowsXpPatchesEntriesAndWindows98PatchesImports)
{
    if (mode() != "default") {
        GTEST_SKIP() << "a copy runs only its own mode";
    }
    EXPECT_EQ(runCopy("winxp", L"BarsInMode.*"), 0) << "the tests failed under Windows XP";
    EXPECT_EQ(runCopy("win98", L"BarsInMode.*"), 0)
        << "the tests failed under Windows 98";
}

}  // namespace
