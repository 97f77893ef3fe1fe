// The updater's progress dialog, the notification-area icon and the frame in tray mode, in real
// windows.
#include "driver_time.h"
#include "lxframe.h"
#include "options.h"
#include "progressdialog.h"
#include "resource.h"
#include "systemtray.h"
#include "test_app.h"
#include "tray_standin.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <atomic>
#include <memory>
#include <string>

namespace {

// A plain window that records the progress dialog's cancel message.
class Owner : public FwWindow {
public:
    int cancels = 0;
    WPARAM position = 0;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == WM_PROGRESS_CANCELLED) {
            ++cancels;
            position = wp;
            return 1;
        }
        return FwWindow::handleMessage(msg, wp, lp);
    }
};

void pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

TEST(ProgressDialog, ClampsPositionsAndTellsTheOwnerOfACancel) {
    testApp();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    Owner owner;
    ASSERT_TRUE(createTopLevel(owner, L"WordmereProgressOwner", 200, 100));
    HWND dialog = openProgressWindow(owner.hwnd(), L"Contacting the update server...");
    ASSERT_TRUE(dialog);
    HWND bar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
    EXPECT_EQ(fwWindowText(GetDlgItem(dialog, IDC_PROGRESS_TEXT)), L"Contacting the update server...");
    EXPECT_EQ(fwWindowText(GetDlgItem(dialog, IDCANCEL)), L"Cancel");
    struct {
        WPARAM position;
        LPARAM total;
        int expected, range;
    } cases[] = {{50, 100, 50, 100}, {150, 100, 100, 100}, {0, 0, 0, 0}, {30000, 60000, 30000, 60000}};
    for (auto& c : cases) {
        SendMessageW(dialog, WM_PROGRESS_SETPOS, c.position, c.total);
        EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), c.expected) << c.position;
        EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), c.range) << c.position;
    }
    SendMessageW(dialog, WM_PROGRESS_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Downloading en-fr.lxd..."));
    EXPECT_EQ(fwWindowText(GetDlgItem(dialog, IDC_PROGRESS_TEXT)), L"Downloading en-fr.lxd...");
    SendMessageW(dialog, WM_PROGRESS_SETTEXT, 0, 0);  // only a refresh
    EXPECT_EQ(fwWindowText(GetDlgItem(dialog, IDC_PROGRESS_TEXT)), L"Downloading en-fr.lxd...");

    SendMessageW(dialog, WM_PROGRESS_SETPOS, 42, 100);
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(dialog));
    pump();
    EXPECT_EQ(owner.cancels, 1);
    EXPECT_EQ(owner.position, 42u);
}

// The operations the stand-in saw, as "add 600, modify 600, delete 600"; empty with a real shell.
std::string trayLog(const TrayStandIn& shell) {
    std::string s;
    for (auto& c : shell.calls()) {
        const char* op = c.op == NIM_ADD ? "add" : c.op == NIM_MODIFY ? "modify" : c.op == NIM_DELETE ? "delete" : "other";
        s += (s.empty() ? "" : ", ") + std::string(op) + " " + std::to_string(c.id);
    }
    return s;
}

TEST(SystemTray, IconDataAndTheTaskbarComingBack) {
    testApp();
    TrayStandIn shell;
    FwWindow target;
    ASSERT_TRUE(createTopLevel(target, L"WordmereTrayTarget", 200, 100));
    CSystemTray tray;
    ASSERT_TRUE(tray.create(target.hwnd(), WM_TRAY_NOTIFY, std::wstring(200, L'x'), IDR_MAINFRAME, IDR_TRAYMENU));
    const NOTIFYICONDATAW& d = tray.iconData();
    EXPECT_EQ(d.cbSize, kNotifyIconDataSize);
    EXPECT_EQ(d.uID, static_cast<UINT>(IDR_TRAYMENU));
    EXPECT_EQ(d.uCallbackMessage, static_cast<UINT>(WM_TRAY_NOTIFY));
    EXPECT_EQ(d.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(std::wstring(d.szTip).size(), 127u);
    EXPECT_TRUE(d.hIcon);
    EXPECT_FALSE(tray.isHidden());
    if (shell.active()) {
        // What reached the notification area: the icon's own window, id, message and cut tip.
        auto calls = shell.calls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].op, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(calls[0].window, tray.hwnd());
        EXPECT_EQ(calls[0].callback, static_cast<UINT>(WM_TRAY_NOTIFY));
        EXPECT_EQ(calls[0].tip, std::wstring(127, L'x'));
    }

    SendMessageW(tray.hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_FALSE(tray.isHidden());
    EXPECT_TRUE(tray.removeIcon());
    EXPECT_TRUE(tray.isRemoved());
    EXPECT_TRUE(tray.isHidden());
    if (shell.active()) {
        EXPECT_EQ(trayLog(shell), "add 600, add 600, modify 600, delete 600");
        EXPECT_EQ(shell.iconCount(), 0u);
    }
}

// Without a notification area the icon's add fails and nothing crashes; the icon comes when
// the taskbar announces itself, and one hidden on purpose does not.
TEST(SystemTray, AnIconAddedBeforeTheShellComesWithTheTaskbar) {
    testApp();
    if (FindWindowW(L"Shell_TrayWnd", nullptr)) GTEST_SKIP() << "a real notification area is up";
    FwWindow target;
    ASSERT_TRUE(createTopLevel(target, L"WordmereTrayEarly", 200, 100));
    CSystemTray tray, hidden;
    EXPECT_FALSE(tray.create(target.hwnd(), WM_TRAY_NOTIFY, L"Wordmere", IDR_MAINFRAME, IDR_TRAYMENU));
    EXPECT_TRUE(tray.isHidden());
    ASSERT_TRUE(tray.hwnd());
    TrayStandIn shell;
    ASSERT_TRUE(shell.active());
    EXPECT_TRUE(hidden.create(target.hwnd(), WM_TRAY_NOTIFY, L"Hidden", IDR_MAINFRAME, 601, true));
    shell.clear();
    UINT created = RegisterWindowMessageW(L"TaskbarCreated");
    SendMessageW(tray.hwnd(), created, 0, 0);
    SendMessageW(hidden.hwnd(), created, 0, 0);
    EXPECT_FALSE(tray.isHidden());
    EXPECT_TRUE(hidden.isHidden());
    EXPECT_EQ(trayLog(shell), "add 600");
}

// A double click runs the default command in the target.
class CommandTarget : public FwWindow {
public:
    int last = 0;

protected:
    bool onCommand(int id, int, HWND) override {
        last = id;
        return true;
    }
};

TEST(SystemTray, DoubleClickRunsTheDefaultCommand) {
    testApp();
    TrayStandIn shell;
    CommandTarget target;
    ASSERT_TRUE(createTopLevel(target, L"WordmereTrayCommands", 200, 100));
    CSystemTray tray;
    ASSERT_TRUE(tray.create(target.hwnd(), WM_TRAY_NOTIFY, L"Wordmere", IDR_MAINFRAME, IDR_TRAYMENU));
    tray.setMenuDefaultItem(ID_TRAY_SHOW, false);
    SendMessageW(tray.hwnd(), WM_TRAY_NOTIFY, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
    pump();
    EXPECT_EQ(target.last, ID_TRAY_SHOW);
    target.last = 0;
    SendMessageW(tray.hwnd(), WM_TRAY_NOTIFY, 4242, WM_LBUTTONDBLCLK);  // another icon's id
    pump();
    EXPECT_EQ(target.last, 0);
    tray.setMenuDefaultItem(1, true);  // by position: the menu's second item
    SendMessageW(tray.hwnd(), WM_TRAY_NOTIFY, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
    pump();
    EXPECT_EQ(target.last, ID_TRAY_HIDE);
}

TEST(SystemTray, HidingKeepsTheWindowUnderTheTrayWindow) {
    testApp();
    FwWindow w;
    ASSERT_TRUE(createTopLevel(w, L"WordmereTrayHidden", 200, 100));
    ShowWindow(w.hwnd(), SW_SHOW);
    CSystemTray::minimizeToTray(w.hwnd(), false);
    EXPECT_FALSE(IsWindowVisible(w.hwnd()));
    HWND parking = FindWindowW(nullptr, L"Wordmere_tray");
    ASSERT_TRUE(parking);
    EXPECT_EQ(GetAncestor(w.hwnd(), GA_PARENT), parking);
    CSystemTray::restoreFromTray(w.hwnd(), false);
    EXPECT_TRUE(IsWindowVisible(w.hwnd()));
    EXPECT_NE(GetAncestor(w.hwnd(), GA_PARENT), parking);
    RECT r = CSystemTray::trayRectangle();
    EXPECT_LT(r.left, r.right);
    EXPECT_LT(r.top, r.bottom);
}

}  // namespace

namespace {

// The frame in tray mode, with the notification area the run has (the stand-in where no shell is
// up); the settings and option bits go back afterwards.
class TrayMode : public ::testing::Test {
protected:
    void SetUp() override {
        clearTestSettings();
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        saved_ = AppOptionFlags;
        AppOptionFlags |= kOptTrayMode;
    }
    void TearDown() override {
        AppOptionFlags = saved_;
        clearTestSettings();
    }
    // The frame's icon window (the one of its class while the test's frame is the only one).
    static HWND iconWindow() { return FindWindowW(L"WordmereTrayIcon", nullptr); }
    static HWND parking() { return FindWindowW(nullptr, L"Wordmere_tray"); }
    uint32_t saved_ = 0;
};

TEST_F(TrayMode, CloseHidesToTheIconWhoseDoubleClickAndRestartBringItBack) {
    TrayStandIn shell;
    auto frame = std::make_unique<LXFrame>();
    ASSERT_TRUE(frame->createMainFrame());
    ShowWindow(frame->hwnd(), SW_SHOW);
    HWND icon = iconWindow();
    ASSERT_TRUE(icon);
    if (shell.active()) {
        EXPECT_EQ(trayLog(shell), "add 600");
    }

    SendMessageW(frame->hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(frame->hwnd()));
    EXPECT_FALSE(IsWindowVisible(frame->hwnd()));
    EXPECT_EQ(GetAncestor(frame->hwnd(), GA_PARENT), parking());
    // The double click runs the menu's default item, which is "Show" while hidden.
    if (shell.active())
        ASSERT_TRUE(shell.click(IDR_TRAYMENU, WM_LBUTTONDBLCLK));
    else
        PostMessageW(icon, WM_TRAY_NOTIFY, IDR_TRAYMENU, WM_LBUTTONDBLCLK);
    pump();
    EXPECT_TRUE(IsWindowVisible(frame->hwnd()));
    EXPECT_NE(GetAncestor(frame->hwnd(), GA_PARENT), parking());

    if (shell.active()) {
        // The shell starts again without the icons it had, and announces its taskbar.
        shell.clear();
        SendMessageW(icon, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        EXPECT_EQ(trayLog(shell), "add 600");
        EXPECT_EQ(shell.iconCount(), 1u);
    }
    // The icon goes with the frame.
    frame.reset();
    if (shell.active()) {
        EXPECT_EQ(shell.iconCount(), 0u);
    }
}

// Chooses the first item of the popup menu once one shows: Down, then Enter, as a user would. A
// system thread (under an emulated Wine a std::thread ends the process).
struct MenuChooser {
    std::atomic<bool> menuSeen{false};
    static DWORD WINAPI run(LPVOID p) {
        auto* self = static_cast<MenuChooser*>(p);
        const DWORD started = GetTickCount(), limit = scaledMs(30000);
        HWND menu = nullptr;
        while (!menu && GetTickCount() - started < limit) {
            HWND m = FindWindowW(L"#32768", nullptr);
            if (m && IsWindowVisible(m))
                menu = m;
            else
                Sleep(50);
        }
        if (!menu) return 1;
        self->menuSeen = true;
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        // A menu still up after that would hold the test thread for good: it is ended.
        const DWORD chosen = GetTickCount();
        while (IsWindowVisible(menu) && GetTickCount() - chosen < scaledMs(10000)) Sleep(50);
        if (IsWindowVisible(menu)) {
            EndMenu();
            PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        }
        return 0;
    }
};

// The icon's menu on a right click: its first item ("Show") chosen with the keyboard, as a
// user would, from another thread while the menu runs.
TEST_F(TrayMode, TheIconsMenuShowsTheWindow) {
    TrayStandIn shell;
    LXFrame frame;
    ASSERT_TRUE(frame.createMainFrame());
    ShowWindow(frame.hwnd(), SW_SHOW);
    HWND icon = iconWindow();
    ASSERT_TRUE(icon);
    SendMessageW(frame.hwnd(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindowVisible(frame.hwnd()));
    MenuChooser chooser;
    HANDLE thread = CreateThread(nullptr, 0, &MenuChooser::run, &chooser, 0, nullptr);
    ASSERT_TRUE(thread);
    EXPECT_TRUE(shell.active() ? shell.click(IDR_TRAYMENU, WM_RBUTTONUP)
                               : PostMessageW(icon, WM_TRAY_NOTIFY, IDR_TRAYMENU, WM_RBUTTONUP) != FALSE);
    // The menu runs inside the handling of the click, on this thread.
    const DWORD started = GetTickCount(), limit = scaledMs(40000);
    while (!IsWindowVisible(frame.hwnd()) && GetTickCount() - started < limit) {
        pump();
        Sleep(20);
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_TRUE(chooser.menuSeen);
    EXPECT_TRUE(IsWindowVisible(frame.hwnd()));
    frame.destroy();
}

// Without any notification area the frame still starts; its icon is not there, so closing
// closes instead of hiding the window where nothing could bring it back.
TEST_F(TrayMode, WithoutANotificationAreaClosingCloses) {
    if (FindWindowW(L"Shell_TrayWnd", nullptr)) GTEST_SKIP() << "a real notification area is up";
    LXFrame frame;
    ASSERT_TRUE(frame.createMainFrame());
    ShowWindow(frame.hwnd(), SW_SHOW);
    HWND w = frame.hwnd();
    SendMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(w));
}

}  // namespace
