// The updater's progress dialog and the notification-area icon in real windows.
#include "lxframe.h"
#include "options.h"
#include "progressdialog.h"
#include "resource.h"
#include "systemtray.h"
#include "test_app.h"
#include <commctrl.h>
#include <gtest/gtest.h>

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

TEST(SystemTray, IconDataAndTheTaskbarComingBack) {
    testApp();
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

    SendMessageW(tray.hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_FALSE(tray.isHidden());
    EXPECT_TRUE(tray.removeIcon());
    EXPECT_TRUE(tray.isRemoved());
    EXPECT_TRUE(tray.isHidden());
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
