// Skinned frames and dialogs on real windows under Wine in Xvfb (no window manager, so every
// pixel of a frame is ours): screenshots of a skinned main window and of a message box in the
// active and the inactive look, with pixel probes at places computed from the window rectangle
// and the skin's pieces (caption, border, menu bar, client, a corner outside the region showing
// what was on the screen before); hit tests through the window's own WM_NCHITTEST; the caption
// buttons clicked with SendInput; the caption dragged; the menu bar opening its submenu.
// The caption drag and the maximised hit tests run first in a process of their own each (see
// skin/core/CMakeLists.txt): under Wine a move loop or a maximise in a
// process that has made and destroyed windows before is often ended by the X11 driver with a
// BadWindow error from X_UnmapWindow.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "frame_skinner.h"
#include "skin_definitions.h"
#include "skin_interface.h"
#include "skin_manager.h"
#include "input_script_win.h"
#include "screenshot_win.h"
#include "skin_test_support.h"

namespace {

// The default skin's colours (skin/default/draw_pictures.sh).
constexpr COLORREF kCaption = RGB(0x2F, 0x5D, 0x8C);
constexpr COLORREF kCaptionInactive = RGB(0x8A, 0x97, 0xA6);
constexpr COLORREF kMenuFace = RGB(0xE9, 0xED, 0xF2);
constexpr COLORREF kDialogClient = RGB(0xF4, 0xF6, 0xF8);
constexpr COLORREF kKey = RGB(0xFF, 0x00, 0xFF);
// The test window's own background: no colour of the skin.
constexpr COLORREF kOwnClient = RGB(0x20, 0xC0, 0x40);

constexpr wchar_t kFrameClass[] = L"WordmereSkinnedFrameTest";
constexpr UINT kToggleCommand = 4101;

using input_script::button;
using input_script::click;
using input_script::dragBy;
using input_script::InputScript;
using input_script::key;
using input_script::pollFor;
using input_script::pump;
using input_script::timeScale;
using input_script::waitFor;

struct FrameState {
    std::atomic<int> commands{0};
    std::atomic<UINT> lastCommand{0};
    std::atomic<int> initMenuPopups{0};
    std::atomic<int> systemCommands{0};
    std::atomic<int> maximisedSizes{0};
    // The first system commands the window procedure saw, for the failure messages.
    UINT seen[8] = {};
    std::string systemCommandsSeen() const
    {
        std::string out;
        for (int i = 0; i < systemCommands && i < 8; ++i) {
            char one[16];
            std::snprintf(one, sizeof one, " %04X", seen[i]);
            out += one;
        }
        return out;
    }
};

LRESULT CALLBACK frameProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    auto *state = reinterpret_cast<FrameState *>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (state) {
        if (m == WM_COMMAND) {
            ++state->commands;
            state->lastCommand = LOWORD(wp);
        }
        if (m == WM_INITMENUPOPUP) ++state->initMenuPopups;
        if (m == WM_SIZE && wp == SIZE_MAXIMIZED) ++state->maximisedSizes;
        if (m == WM_SYSCOMMAND) {
            if (state->systemCommands < 8) state->seen[state->systemCommands] = static_cast<UINT>(wp & 0xFFF0);
            ++state->systemCommands;
        }
    }
    return DefWindowProcW(w, m, wp, lp);
}

HMENU makeMenu()
{
    HMENU bar = CreateMenu();
    const wchar_t *names[] = {L"&File", L"&View", L"&Help"};
    UINT id = 4100;
    for (const wchar_t *name : names) {
        HMENU sub = CreatePopupMenu();
        AppendMenuW(sub, MF_STRING, ++id, L"&Toggle");
        AppendMenuW(sub, MF_STRING, id + 100, L"&Other");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), name);
    }
    return bar;
}

HWND makeFrame(FrameState *state, int x, int y, int width, int height, DWORD style = WS_OVERLAPPEDWINDOW)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = frameProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = CreateSolidBrush(kOwnClient);
        wc.lpszClassName = kFrameClass;
        RegisterClassW(&wc);
        registered = true;
    }
    HWND w = CreateWindowExW(0, kFrameClass, L"Wordmere", style, x, y, width, height, nullptr, makeMenu(),
                             GetModuleHandleW(nullptr), nullptr);
    if (w) SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    return w;
}

const FrameWndDefinition &skinFrame(const char *name)
{
    auto *d = dynamic_cast<FrameWndDefinition *>(SkinManager::instance().findObject(name));
    if (d == nullptr) {
        ADD_FAILURE() << "the default skin has no " << name;
        static FrameWndDefinition none;
        return none;
    }
    return *d;
}

// Window-relative points to screen points.
POINT at(HWND w, int x, int y)
{
    RECT r{};
    GetWindowRect(w, &r);
    return POINT{r.left + x, r.top + y};
}

SIZE sizeOf(HWND w)
{
    RECT r{};
    GetWindowRect(w, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

LRESULT hitAt(HWND w, int x, int y)
{
    const POINT p = at(w, x, y);
    return SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
}

// A caption button's centre for the window's current width (anchored to the right edge).
POINT buttonCentre(HWND w, const FrameWndDefinition &d, const char *name)
{
    const auto *b = dynamic_cast<const AreaDefinition *>(d.findChild(name));
    if (b == nullptr) {
        ADD_FAILURE() << "no caption button " << name;
        return POINT{0, 0};
    }
    const int dx = sizeOf(w).cx - d.referenceWidth();
    return at(w, (b->rect.left + b->rect.right) / 2 + dx, (b->rect.top + b->rect.bottom) / 2);
}

// A plain window that takes the activation away from the one under test.
HWND makeOther()
{
    HWND w = CreateWindowExW(0, L"Static", L"other", WS_POPUP | WS_VISIBLE | WS_BORDER, 700, 600, 120, 80, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    return w;
}

void activate(HWND w)
{
    SetForegroundWindow(w);
    SetActiveWindow(w);
    waitFor([&] { return GetActiveWindow() == w; }, 3000);
    pump(300);
}

class SkinnedFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Everything the test says reaches the log even if the process ends abruptly.
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        ASSERT_EQ(skinStartup(GetModuleHandleW(nullptr)), 1);
        const std::string path = defaultSkinPath("skin.gvf");
        ASSERT_EQ(skinOpenFile(std::wstring(path.begin(), path.end()).c_str()), 1);
    }
    void TearDown() override
    {
        for (HWND w : windows_) {
            if (IsWindow(w)) DestroyWindow(w);
        }
        pump(100);
        while (skinIsStarted()) skinShutdown();
    }
    HWND keep(HWND w)
    {
        windows_.push_back(w);
        return w;
    }
    // A frame skinned with the main window's skin, shown and active.
    HWND skinnedFrame(FrameState *state, int x, int y, int width, int height)
    {
        HWND frame = keep(makeFrame(state, x, y, width, height));
        EXPECT_EQ(skinApplyToFrame(frame, L"MainFrame"), 1);
        ShowWindow(frame, SW_SHOW);
        activate(frame);
        return frame;
    }
    std::vector<HWND> windows_;
};

TEST_F(SkinnedFrame, CaptionDragMovesTheWindow)
{
    const FrameWndDefinition &d = skinFrame("MainFrame");
    FrameState state;
    HWND frame = skinnedFrame(&state, 100, 80, 400, 300);
    ASSERT_NE(GetPropW(frame, L"OBJECT"), nullptr);

    // Dragging the caption moves the window by as much as the pointer moved.
    RECT before{};
    GetWindowRect(frame, &before);
    const POINT grip = at(frame, 60, d.pieces[kPieceTopLeft].height() / 2);
    InputScript drag([&] { dragBy(grip, 40, 32); });
    ASSERT_TRUE(drag.finish());
    EXPECT_TRUE(waitFor([&] {
        RECT r{};
        GetWindowRect(frame, &r);
        return r.left == before.left + 40 && r.top == before.top + 32;
    })) << "the caption drag did not move the window by 40,32";
}

TEST_F(SkinnedFrame, MainWindowActiveAndInactiveLooks)
{
    const FrameWndDefinition &d = skinFrame("MainFrame");
    const SkinRect *pieces = d.pieces;
    const int left = 120, top = 90, width = 420, height = 300;
    const COLORREF rootAtCorner = Screenshot().at(left, top);
    FrameState state;
    HWND frame = keep(makeFrame(&state, left, top, width, height));
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(skinApplyToFrame(frame, L"MainFrame"), 1);
    ShowWindow(frame, SW_SHOW);
    activate(frame);
    EXPECT_EQ(GetMenu(frame), nullptr) << "the skinned bar draws the menu";

    // The client area lies under the skin's borders and the menu bar.
    RECT client{};
    GetClientRect(frame, &client);
    EXPECT_EQ(client.right, width - pieces[kPieceLeft].width() - pieces[kPieceRight].width());
    const int barTop = pieces[kPieceTopLeft].height();
    const int bottomBorder = pieces[kPieceBottomLeft].height();
    const int barHeight = height - barTop - bottomBorder - client.bottom;
    EXPECT_GT(barHeight, 10) << "one row of menu items";
    EXPECT_LT(barHeight, 40);

    const int mid = width / 2;
    const int sideY = barTop + barHeight + client.bottom / 2;
    struct Probe {
        const char *what;
        int x, y;
        COLORREF active, inactive;
    } probes[] = {
        {"caption", mid, 3, kCaption, kCaptionInactive},
        {"left border", 1, sideY, kCaption, kCaptionInactive},
        {"right border", width - 2, sideY, kCaption, kCaptionInactive},
        {"bottom border", mid, height - 2, kCaption, kCaptionInactive},
        {"menu bar", width - pieces[kPieceRight].width() - 8, barTop + barHeight / 2, kMenuFace, kMenuFace},
        {"client", mid, barTop + barHeight + client.bottom / 2, kOwnClient, kOwnClient},
        {"corner outside the region", 0, 0, rootAtCorner, rootAtCorner},
    };
    const auto check = [&](const Screenshot &shot, bool active) {
        for (const Probe &p : probes) {
            const COLORREF seen = shot.at(left + p.x, top + p.y);
            EXPECT_EQ(hex(seen), hex(active ? p.active : p.inactive))
                << p.what << " at " << p.x << "," << p.y << (active ? " (active)" : " (inactive)");
        }
        EXPECT_NE(shot.at(left, top), kKey) << "the key colour is never shown";
    };
    ASSERT_TRUE(waitFor([&] { return Screenshot().at(left + mid, top + 3) == kCaption; }))
        << "the caption never showed the active colour";
    Screenshot activeShot;
    activeShot.save(WORDMERE_FRAME_ARTIFACTS, "main-active");
    check(activeShot, true);

    HWND other = keep(makeOther());
    activate(other);
    ASSERT_TRUE(waitFor([&] { return Screenshot().at(left + mid, top + 3) == kCaptionInactive; }))
        << "the caption never showed the inactive colour";
    Screenshot inactiveShot;
    inactiveShot.save(WORDMERE_FRAME_ARTIFACTS, "main-inactive");
    check(inactiveShot, false);
}

TEST_F(SkinnedFrame, HitTestsOfEdgesCornersCaptionMenuAndClient)
{
    const FrameWndDefinition &d = skinFrame("MainFrame");
    FrameState state;
    HWND frame = keep(makeFrame(&state, 100, 100, 400, 300));
    ASSERT_EQ(skinApplyToFrame(frame, L"MainFrame"), 1);
    ShowWindow(frame, SW_SHOW);
    pump(200);
    const SIZE s = sizeOf(frame);
    const int captionY = d.pieces[kPieceTopLeft].height() / 2;
    const int barY = d.pieces[kPieceTopLeft].height() + 4;
    // The caption text covers the top rows from its left edge to its right one (anchored to
    // both sides); the top edge sizes the window between it and the first caption button.
    const auto *text = dynamic_cast<const AreaDefinition *>(d.findChild("Caption"));
    const auto *minimize = dynamic_cast<const AreaDefinition *>(d.findChild("Minimize"));
    ASSERT_TRUE(text && minimize);
    const int dx = s.cx - d.referenceWidth();
    const int topEdgeX = (text->rect.right + minimize->rect.left) / 2 + dx;
    ASSERT_GT(minimize->rect.left, text->rect.right + 1) << "no bare top edge in this skin";
    struct Case {
        const char *what;
        int x, y;
        LRESULT resizable, maximised;
    } cases[] = {
        {"top-left corner", 2, 2, HTTOPLEFT, HTCAPTION},
        {"top edge", topEdgeX, 1, HTTOP, HTCAPTION},
        {"top rows under the caption text", s.cx / 2, 1, HTCAPTION, HTCAPTION},
        {"top-right corner", s.cx - 3, 3, HTTOPRIGHT, HTCAPTION},
        {"caption", s.cx / 3, captionY, HTCAPTION, HTCAPTION},
        {"caption under a button", s.cx - 30, captionY, HTCAPTION, HTCAPTION},
        {"left edge", 1, s.cy / 2, HTLEFT, HTNOWHERE},
        {"right edge", s.cx - 1, s.cy / 2, HTRIGHT, HTNOWHERE},
        {"bottom edge", s.cx / 2, s.cy - 1, HTBOTTOM, HTNOWHERE},
        {"bottom-left corner", 1, s.cy - 2, HTBOTTOMLEFT, HTNOWHERE},
        {"bottom-right corner", s.cx - 4, s.cy - 4, HTBOTTOMRIGHT, HTNOWHERE},
        {"menu bar", 30, barY, HTMENU, HTMENU},
        {"client", s.cx / 2, s.cy / 2, HTCLIENT, HTCLIENT},
    };
    for (const Case &c : cases) EXPECT_EQ(hitAt(frame, c.x, c.y), c.resizable) << c.what;

    // Maximised, the frame cannot be sized: the same places, scaled to the new size.
    ShowWindow(frame, SW_MAXIMIZE);
    ASSERT_TRUE(waitFor([&] { return IsZoomed(frame) != FALSE; }, 10000))
        << "style " << std::hex << GetWindowLongW(frame, GWL_STYLE);
    const SIZE m = sizeOf(frame);
    for (const Case &c : cases) {
        // Places at the right keep their distance from the right edge, those below the middle
        // their distance from the bottom.
        const int x = c.x > s.cx / 2 ? m.cx - (s.cx - c.x) : c.x, y = c.y > s.cy / 2 ? m.cy - (s.cy - c.y) : c.y;
        EXPECT_EQ(hitAt(frame, x, y), c.maximised) << c.what << " (maximised)";
    }
    // The minimum tracking size the skin's pieces give: wider top corners + 2, top and bottom heights + 2.
    MINMAXINFO info{};
    SendMessageW(frame, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_GE(info.ptMinTrackSize.x, d.pieces[kPieceTopLeft].width() + d.pieces[kPieceTopRight].width() + 2);
    EXPECT_GE(info.ptMinTrackSize.y, d.pieces[kPieceTopLeft].height() + d.pieces[kPieceBottomLeft].height() + 2);

    ShowWindow(frame, SW_RESTORE);
    EXPECT_TRUE(waitFor([&] { return !IsZoomed(frame); }, 10000));
    // A fixed-size frame moves by its top edge and answers nowhere on its other edges.
    HWND fixed = keep(makeFrame(&state, 150, 150, 300, 200, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU));
    ASSERT_EQ(skinApplyToFrame(fixed, L"MainFrame"), 1);
    ShowWindow(fixed, SW_SHOW);
    pump(200);
    const SIZE f = sizeOf(fixed);
    EXPECT_EQ(hitAt(fixed, 2, 2), HTCAPTION);
    EXPECT_EQ(hitAt(fixed, f.cx / 2, 1), HTCAPTION);
    EXPECT_EQ(hitAt(fixed, 1, f.cy / 2), HTNOWHERE);
    EXPECT_EQ(hitAt(fixed, f.cx - 4, f.cy - 4), HTNOWHERE);
}

TEST_F(SkinnedFrame, MenuBarOpensItsSubmenuAndRunsTheCommand)
{
    const FrameWndDefinition &d = skinFrame("MainFrame");
    FrameState state;
    HWND frame = skinnedFrame(&state, 100, 80, 400, 300);
    ASSERT_NE(GetPropW(frame, L"OBJECT"), nullptr);
    const int barY = d.pieces[kPieceTopLeft].height() + 8;
    // A click on the first item opens its submenu (the frame is asked to fill it in); Down and
    // Enter run its first command. Alt and a mnemonic open the third item; Escape closes it.
    const POINT file = at(frame, d.pieces[kPieceLeft].width() + 12, barY);
    std::atomic<bool> opened{false}, ran{false}, openedByKey{false};
    InputScript input([&] {
        click(file.x, file.y);
        opened = pollFor([&] { return state.initMenuPopups > 0; });
        if (!opened) return;
        Sleep(static_cast<DWORD>(300 * timeScale()));
        key(VK_DOWN, false);
        key(VK_DOWN, true);
        key(VK_RETURN, false);
        key(VK_RETURN, true);
        ran = pollFor([&] { return state.commands > 0; });
        const int popupsBefore = state.initMenuPopups;
        key(VK_MENU, false);
        key('H', false);
        key('H', true);
        key(VK_MENU, true);
        openedByKey = pollFor([&] { return state.initMenuPopups > popupsBefore; });
        Sleep(static_cast<DWORD>(300 * timeScale()));
        key(VK_ESCAPE, false);
        key(VK_ESCAPE, true);
    });
    ASSERT_TRUE(input.finish());
    EXPECT_TRUE(opened) << "the submenu never opened";
    EXPECT_TRUE(ran) << "Enter ran nothing";
    EXPECT_EQ(state.lastCommand, kToggleCommand);
    EXPECT_TRUE(openedByKey) << "Alt+H opened nothing";
    pump(300);
}

// Under Wine without a window manager a maximised top-level window that is given a window
// region is sent SC_RESTORE by the system at once (a plain window with a region does the same):
// the skinned frame, shaped by the skin's key colour, is maximised by its button and then
// restored by Wine, so the restore button is clicked only while the window is still zoomed.
TEST_F(SkinnedFrame, CaptionButtonsMinimiseMaximiseRestoreAndClose)
{
    const FrameWndDefinition &d = skinFrame("MainFrame");
    FrameState state;
    HWND frame = skinnedFrame(&state, 100, 80, 400, 300);
    ASSERT_NE(GetPropW(frame, L"OBJECT"), nullptr);

    // Each button is clicked at its centre for the window's size at that moment.
    const auto clickButton = [&](const char *name) {
        const POINT centre = buttonCentre(frame, d, name);
        InputScript input([&] { click(centre.x, centre.y); });
        ASSERT_TRUE(input.finish());
    };
    // Without a window manager each change of a top-level window's size waits on the X server.
    constexpr DWORD kSizeChange = 10000;
    clickButton("Maximize");
    ASSERT_TRUE(waitFor([&] { return state.maximisedSizes > 0; }, kSizeChange))
        << "maximise; system commands seen:" << state.systemCommandsSeen();
    EXPECT_EQ(state.seen[0], static_cast<UINT>(SC_MAXIMIZE)) << "the button's command";
    pump(500);
    if (IsZoomed(frame)) {
        clickButton("Maximize");
        ASSERT_TRUE(waitFor([&] { return !IsZoomed(frame); }, kSizeChange))
            << "restore; system commands seen:" << state.systemCommandsSeen();
    } else {
        std::printf("the system restored the maximised frame itself; system commands seen:%s\n",
                    state.systemCommandsSeen().c_str());
    }
    activate(frame);
    clickButton("Minimize");
    ASSERT_TRUE(waitFor([&] { return IsIconic(frame) != FALSE; }, kSizeChange))
        << "minimise; system commands seen:" << state.systemCommandsSeen();
    ShowWindow(frame, SW_RESTORE);
    ASSERT_TRUE(waitFor([&] { return !IsIconic(frame); }, kSizeChange));
    activate(frame);
    clickButton("Close");
    EXPECT_TRUE(waitFor([&] { return !IsWindow(frame); })) << "close; system commands seen:" << state.systemCommandsSeen();
}

// A message box made on a (system) thread of its own: it runs its own modal loop there.
struct MessageBoxThread {
    HANDLE thread = nullptr;
    void start() { thread = CreateThread(nullptr, 0, &MessageBoxThread::run, nullptr, 0, nullptr); }
    static DWORD WINAPI run(void *)
    {
        skinStartup(GetModuleHandleW(nullptr));
        MessageBoxW(nullptr, L"Skinned message box", L"Wordmere test", MB_OK);
        skinShutdown();
        return 0;
    }
    ~MessageBoxThread()
    {
        if (thread != nullptr) {
            WaitForSingleObject(thread, INFINITE);
            CloseHandle(thread);
        }
    }
};

TEST_F(SkinnedFrame, MessageBoxActiveAndInactiveLooks)
{
    const FrameWndDefinition &d = skinFrame("Dialog");
    ASSERT_EQ(skinSetDefaultDialog(L"Dialog"), 1);
    MessageBoxThread box;
    box.start();
    HWND dialog = nullptr;
    ASSERT_TRUE(waitFor([&] { return (dialog = FindWindowW(L"#32770", L"Wordmere test")) != nullptr; }, 20000));
    ASSERT_TRUE(waitFor([&] { return GetPropW(dialog, L"OBJECT") != nullptr; })) << "the message box was not skinned";
    pump(500);
    RECT r{};
    GetWindowRect(dialog, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, width - d.pieces[kPieceLeft].width() - d.pieces[kPieceRight].width());
    EXPECT_EQ(client.bottom, height - d.pieces[kPieceTopLeft].height() - d.pieces[kPieceBottomLeft].height());
    const int clientTop = d.pieces[kPieceTopLeft].height();
    const auto probe = [&](const char *look, COLORREF caption) {
        const bool shown = waitFor([&] { return Screenshot().at(r.left + width / 2, r.top + 3) == caption; });
        Screenshot shot;
        shot.save(WORDMERE_FRAME_ARTIFACTS, std::string("messagebox-") + look);
        ASSERT_TRUE(shown) << "the caption never showed the " << look << " colour: "
                           << hex(shot.at(r.left + width / 2, r.top + 3)) << " at " << r.left << "," << r.top << " "
                           << width << "x" << height;
        EXPECT_EQ(hex(shot.at(r.left + 1, r.top + height / 2)), hex(caption)) << "left border, " << look;
        EXPECT_EQ(hex(shot.at(r.left + width / 2, r.bottom - 2)), hex(caption)) << "bottom border, " << look;
        EXPECT_EQ(hex(shot.at(r.right - 12, r.top + clientTop + 3)), hex(kDialogClient)) << "client, " << look;
        EXPECT_NE(shot.at(r.left, r.top), kKey) << "corner, " << look;
    };
    // The box is made on a thread of its own, whose activation this Wine does not always
    // report to it: it is told the active look as the system tells it.
    SetForegroundWindow(dialog);
    SendMessageW(dialog, WM_NCACTIVATE, TRUE, 0);
    probe("active", kCaption);
    HWND other = keep(makeOther());
    activate(other);
    probe("inactive", kCaptionInactive);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(dialog); }, 10000));
}

// An MDI frame: the MDI client, and its document windows skinned as frames themselves.
LRESULT CALLBACK mdiFrameProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return DefFrameProcW(w, FindWindowExW(w, nullptr, L"MDIClient", nullptr), m, wp, lp);
}

LRESULT CALLBACK mdiChildProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefMDIChildProcW(w, m, wp, lp); }

struct MdiFrame {
    HWND frame = nullptr, client = nullptr;
    bool open()
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = mdiFrameProc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.lpszClassName = L"WordmereMdiFrameTest";
            RegisterClassW(&wc);
            wc.lpfnWndProc = mdiChildProc;
            wc.lpszClassName = L"WordmereMdiChildTest";
            RegisterClassW(&wc);
            registered = true;
        }
        frame = CreateWindowExW(0, L"WordmereMdiFrameTest", L"Wordmere", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 120, 100,
                                460, 340, nullptr, makeMenu(), GetModuleHandleW(nullptr), nullptr);
        CLIENTCREATESTRUCT ccs{nullptr, 50000};
        client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 400, 250,
                                 frame, reinterpret_cast<HMENU>(0xCAC), GetModuleHandleW(nullptr), &ccs);
        return frame && client;
    }
    HWND document(const wchar_t *title)
    {
        return CreateMDIWindowW(L"WordmereMdiChildTest", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 150,
                                client, GetModuleHandleW(nullptr), 0);
    }
};

TEST_F(SkinnedFrame, MdiButtonsOfAMaximisedDocument)
{
    MdiFrame mdi;
    ASSERT_TRUE(mdi.open());
    keep(mdi.frame);
    ASSERT_EQ(skinApplyToFrame(mdi.frame, L"MainFrame"), 1);
    auto *skinner = dynamic_cast<FrameSkinner *>(SkinManager::instance().findSkinner(mdi.frame));
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(SkinManager::instance().findSkinner(mdi.client), nullptr) << "the MDI client is skinned with its frame";
    ShowWindow(mdi.frame, SW_SHOW);
    pump(200);
    const MenuBarModel &bar = skinner->menuBar()->model();
    HWND first = mdi.document(L"first"), second = mdi.document(L"second");
    ASSERT_TRUE(first && second);
    ASSERT_EQ(skinApplyToFrame(first, L"MainFrame"), 1);
    ASSERT_EQ(skinApplyToFrame(second, L"MainFrame"), 1);
    pump(200);
    EXPECT_FALSE(bar.mdiButtonsShown()) << "no document is maximised";
    const int barHeightWithout = bar.barRect().height();

    // A click on a button in the bar, in the frame's window coordinates.
    const auto press = [&](MdiButtonIndex b) {
        const SkinRect r = bar.mdiButtonRect(b);
        const POINT p = at(mdi.frame, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        const LPARAM lp = MAKELPARAM(p.x, p.y);
        EXPECT_EQ(SendMessageW(mdi.frame, WM_NCHITTEST, 0, lp), HTMENU);
        SendMessageW(mdi.frame, WM_NCLBUTTONDOWN, HTMENU, lp);
        SendMessageW(mdi.frame, WM_NCLBUTTONUP, HTMENU, lp);
        pump(200);
    };
    SendMessageW(mdi.client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second), 0);
    ASSERT_TRUE(waitFor([&] { return IsZoomed(second) != FALSE; }));
    ASSERT_TRUE(waitFor([&] { return bar.mdiButtonsShown(); })) << "the maximised document's buttons never showed";
    EXPECT_GE(bar.barRect().height(), barHeightWithout);
    press(kMdiRestore);
    EXPECT_FALSE(IsZoomed(second)) << "restore";
    EXPECT_TRUE(waitFor([&] { return !bar.mdiButtonsShown(); })) << "the buttons stayed after the restore";

    SendMessageW(mdi.client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second), 0);
    ASSERT_TRUE(waitFor([&] { return bar.mdiButtonsShown(); }));
    press(kMdiMinimize);
    EXPECT_TRUE(IsIconic(second)) << "minimise";

    SendMessageW(mdi.client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(first), 0);
    ASSERT_TRUE(waitFor([&] { return IsZoomed(first) != FALSE && bar.mdiButtonsShown(); }));
    press(kMdiClose);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(first); })) << "close";
    EXPECT_TRUE(IsWindow(second)) << "only the active document closes";
}

}  // namespace
