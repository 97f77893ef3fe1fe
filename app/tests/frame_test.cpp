#include "lxdoc.h"
#include "lxframe.h"
#include "messagebox.h"
#include "options.h"
#include "resource.h"
#include "settings.h"
#include "test_app.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>

namespace {

// The command ids of a menu as a nested text: "[id id [id] ...]", sub-menus in brackets,
// separators as "-".
std::wstring shape(HMENU m) {
    std::wstring s = L"[";
    int n = GetMenuItemCount(m);
    for (int i = 0; i < n; ++i) {
        if (i) s += L" ";
        if (HMENU sub = GetSubMenu(m, i))
            s += shape(sub);
        else if (GetMenuItemID(m, i) == 0)
            s += L"-";
        else
            s += std::to_wstring(GetMenuItemID(m, i));
    }
    return s + L"]";
}

bool hasCommand(HMENU m, UINT id) {
    int n = GetMenuItemCount(m);
    for (int i = 0; i < n; ++i) {
        if (HMENU sub = GetSubMenu(m, i)) {
            if (hasCommand(sub, id)) return true;
        } else if (GetMenuItemID(m, i) == id) {
            return true;
        }
    }
    return false;
}

std::wstring topTitle(HMENU m, int pos) {
    wchar_t buf[128] = L"";
    GetMenuStringW(m, pos, buf, 128, MF_BYPOSITION);
    return buf;
}

TEST(FrameMenu, EveryLanguageHasTheSameCommands) {
    HMENU en = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_TRUE(en);
    for (int id : {IDR_MENU_FRENCH, IDR_MENU_SPANISH, IDR_MENU_GERMAN, IDR_MENU_ITALIAN, IDR_MENU_PORTUGUESE,
                   IDR_MENU_OTHER}) {
        HMENU m = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
        ASSERT_TRUE(m) << id;
        EXPECT_EQ(shape(m), shape(en)) << id;
        DestroyMenu(m);
    }
    DestroyMenu(en);
}

TEST(FrameMenu, ResourceByInterfaceLanguage) {
    struct {
        int language, resource;
    } cases[] = {{1, 500}, {2, 601}, {3, 602}, {4, 603}, {5, 604}, {6, 605}, {10, 606}, {11, 606}, {7, 500}, {0, 500}};
    for (auto& c : cases) EXPECT_EQ(frameMenuResource(c.language), c.resource) << c.language;
    HMENU de = buildFrameMenu(4, kAppOptionFlagsInitial);
    EXPECT_EQ(topTitle(de, 0), L"&Datei");
    EXPECT_EQ(topTitle(de, 2), L"&Ansicht");
    DestroyMenu(de);
}

TEST(FrameMenu, OptionBitsDeleteItems) {
    HMENU m = buildFrameMenu(1, kAppOptionFlagsInitial);
    ASSERT_TRUE(m);
    EXPECT_EQ(GetMenuItemCount(m), 5);
    EXPECT_FALSE(hasCommand(m, ID_PRODUCTS_PAGE));   // 0x800
    EXPECT_FALSE(hasCommand(m, ID_WEB_TRANSLATE));   // 0x400
    EXPECT_FALSE(hasCommand(m, ID_SHOW_REVERSE));    // 0x40
    EXPECT_FALSE(hasCommand(m, ID_NO_ACTION));       // always
    EXPECT_FALSE(hasCommand(m, ID_LANG_ITALIAN));
    EXPECT_FALSE(hasCommand(m, ID_LANG_PORTUGUESE));
    EXPECT_TRUE(hasCommand(m, ID_LANG_GERMAN));
    EXPECT_TRUE(hasCommand(m, ID_VIEW_TOOLBAR_CMD));
    EXPECT_TRUE(hasCommand(m, ID_ADD_ENTRY));
    EXPECT_EQ(shape(GetSubMenu(m, 0)), L"[11300 11310 - 11080]");
    DestroyMenu(m);

    struct Case {
        uint32_t options;
        std::function<void(HMENU)> expect;
    } cases[] = {
        {0x80, [](HMENU m) {
             EXPECT_EQ(GetMenuItemCount(m), 4);
             EXPECT_FALSE(hasCommand(m, ID_ADD_ENTRY));
             EXPECT_FALSE(hasCommand(m, ID_VIEW_TOOLBAR_CMD));
             EXPECT_EQ(shape(GetSubMenu(m, 2)), L"[11140 11480 [11320 11330 11340 11350] 11560]");
         }},
        {0x800000, [](HMENU m) { EXPECT_EQ(shape(GetSubMenu(m, 3)), L"[11490 11530 11540 11550]"); }},
        {0x1000000, [](HMENU m) { EXPECT_EQ(shape(GetSubMenu(m, 2)), L"[11140 11480 - 59392 11560]"); }},
        {0x1000, [](HMENU m) { EXPECT_EQ(shape(GetSubMenu(m, 0)), L"[11310 - 11080]"); }},
        {0x1000 | 0x20000, [](HMENU m) { EXPECT_EQ(shape(GetSubMenu(m, 0)), L"[11080]"); }},
        {0, [](HMENU m) {
             EXPECT_TRUE(hasCommand(m, ID_PRODUCTS_PAGE));
             EXPECT_TRUE(hasCommand(m, ID_SHOW_REVERSE));
             EXPECT_FALSE(hasCommand(m, ID_NO_ACTION));
         }},
    };
    for (auto& c : cases) {
        HMENU menu = buildFrameMenu(1, c.options);
        ASSERT_TRUE(menu);
        SCOPED_TRACE(c.options);
        c.expect(menu);
        DestroyMenu(menu);
    }
}

// Every command of the menus and the toolbar has a status prompt and a tool tip in every language.
TEST(FrameMenu, EveryCommandHasAPromptInEveryLanguage) {
    HMENU m = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    std::vector<UINT> ids;
    std::function<void(HMENU)> walk = [&](HMENU h) {
        for (int i = 0; i < GetMenuItemCount(h); ++i) {
            if (HMENU sub = GetSubMenu(h, i))
                walk(sub);
            else if (UINT id = GetMenuItemID(h, i))
                ids.push_back(id);
        }
    };
    walk(m);
    DestroyMenu(m);
    for (int id : {ID_TOPMOST_ON, ID_TOPMOST_OFF, ID_HISTORY_BACK_GREY, ID_HISTORY_FORWARD_GREY, ID_WEBSITE})
        ids.push_back(static_cast<UINT>(id));
    for (UINT id : ids)
        for (int language = 1; language <= 6; ++language) {
            std::wstring s = loadLocalizedString(static_cast<int>(id), language);
            size_t lf = s.find(L'\n');
            EXPECT_TRUE(lf != std::wstring::npos && lf > 0 && lf + 1 < s.size()) << id << " in " << language;
        }
}

TEST(Placement, StoredRectangleOrDefault) {
    const int W = 1024, H = 768;
    const RECT def{50, 50, W / 4 + 50, H / 2 + 50};
    struct {
        int l, t, w, h;
        bool kept;
    } cases[] = {
        {100, 80, 420, 330, true},  {W, 80, 420, 330, false},   {W - 1, 80, 420, 330, true},
        {100, H, 420, 330, false},  {0, 80, 420, 330, false},   {100, 0, 420, 330, false},
        {100, 80, 0, 330, false},   {-420, 80, 420, 330, false}, {-419, 80, 420, 330, true},
        {100, -330, 420, 330, false}, {100, 80, -50, 330, false}, {100, 80, 420, -5, false},
    };
    for (auto& c : cases) {
        RECT r = checkedPlacement(c.l, c.t, c.w, c.h, W, H);
        RECT want = c.kept ? RECT{c.l, c.t, c.l + c.w, c.t + c.h} : def;
        EXPECT_TRUE(EqualRect(&r, &want)) << c.l << "," << c.t << " " << c.w << "x" << c.h;
    }
}

SYSTEMTIME daysAfter(int year, int month, int day, int days, int hour) {
    SYSTEMTIME s{};
    s.wYear = static_cast<WORD>(year);
    s.wMonth = static_cast<WORD>(month);
    s.wDay = static_cast<WORD>(day);
    FILETIME f;
    SystemTimeToFileTime(&s, &f);
    ULARGE_INTEGER u{{f.dwLowDateTime, f.dwHighDateTime}};
    u.QuadPart += (static_cast<ULONGLONG>(days) * 24 + hour) * 36000000000ULL;
    f.dwLowDateTime = u.LowPart;
    f.dwHighDateTime = u.HighPart;
    FileTimeToSystemTime(&f, &s);
    return s;
}

TEST(UpdateCheck, DueAfterSixDays) {
    struct {
        int last, days, hour;
        bool due;
    } cases[] = {
        {0, 0, 0, true},               // never checked
        {20261310, 0, 0, true},        // month 13 is no date
        {20260431, 0, 0, true},        // neither is the 31st of April
        {19691231, 0, 0, true},        // before 1970
        {20261201, 5, 23, false},      // five days and some hours: not yet
        {20261201, 6, 0, true},        // six days
        {20261201, -3, 0, false},      // a date in the future
        {20261231, 6, 1, true},        // across the year's end
    };
    for (auto& c : cases) {
        SYSTEMTIME now = c.last ? daysAfter(c.last / 10000, c.last / 100 % 100 == 13 || c.last == 20260431 ? 1 : c.last / 100 % 100,
                                            c.last == 20260431 ? 1 : c.last % 100, c.days, c.hour)
                                : daysAfter(2026, 12, 10, 0, 0);
        EXPECT_EQ(updateCheckDue(c.last, now), c.due) << c.last << " +" << c.days << "d" << c.hour << "h";
    }
}

TEST(ToolTips, LongTextsAreCutSafely) {
    wchar_t buf[82];
    buf[80] = buf[81] = L'#';
    copyTipText(buf, 80, std::wstring(300, L'x'));
    EXPECT_EQ(std::wstring(buf), std::wstring(79, L'x'));
    EXPECT_EQ(buf[80], L'#');
    // A surrogate pair at the cut is dropped whole.
    std::wstring pair = std::wstring(78, L'a') + L"\xD83D\xDE00" + L"b";
    copyTipText(buf, 80, pair);
    EXPECT_EQ(std::wstring(buf), std::wstring(78, L'a'));
    copyTipText(buf, 80, L"Conjugate");
    EXPECT_EQ(std::wstring(buf), L"Conjugate");

    char a[82];
    a[80] = a[81] = '#';
    copyTipTextAnsi(a, 80, std::wstring(300, L'y'));
    EXPECT_EQ(std::string(a), std::string(79, 'y'));
    EXPECT_EQ(a[80], '#');
    copyTipTextAnsi(a, 80, L"Zur\u00FCck");
    EXPECT_EQ(strlen(a), 6u);
}

TEST(Folder, ListingIsSortedAndExact) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring dir = std::wstring(tmp) + L"wordmere-list-test-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir.c_str(), nullptr);
    for (const wchar_t* n : {L"zeta.lxd", L"Alpha.lxd", L"beta.LXD", L"notes.lxdata", L"x.lxc", L"mid.lxd"}) {
        HANDLE f = CreateFileW((dir + L"\\" + n).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(f);
    }
    CreateDirectoryW((dir + L"\\folder.lxd").c_str(), nullptr);
    std::vector<std::wstring> got = listFolder(dir + L"/*.lxd");
    std::vector<std::wstring> want = {L"Alpha.lxd", L"beta.LXD", L"mid.lxd", L"zeta.lxd"};
    EXPECT_EQ(got, want);
    EXPECT_TRUE(listFolder(dir + L"/missing/*.lxd").empty());
    for (const wchar_t* n : {L"zeta.lxd", L"Alpha.lxd", L"beta.LXD", L"notes.lxdata", L"x.lxc", L"mid.lxd"})
        DeleteFileW((dir + L"\\" + n).c_str());
    RemoveDirectoryW((dir + L"\\folder.lxd").c_str());
    RemoveDirectoryW(dir.c_str());
}

// Runs a message box and inspects it from inside its own modal loop.
std::function<void(HWND)> sInspect;
int sPress = IDOK;
const wchar_t* sTitle = L"";
void CALLBACK answerBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = FindWindowW(L"#32770", sTitle);
    if (!dlg) return;
    KillTimer(nullptr, id);
    if (sInspect) sInspect(dlg);
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(sPress, BN_CLICKED), 0);
}

INT_PTR runBox(CYesNoMessageBox& box, std::function<void(HWND)> inspect, int pressId) {
    sInspect = inspect;
    sPress = pressId;
    sTitle = L"Box test";
    UINT_PTR timer = SetTimer(nullptr, 0, 50, answerBox);
    box.setTitle(L"Box test");
    INT_PTR r = box.runModal();
    KillTimer(nullptr, timer);
    return r;
}

TEST(YesNoBox, ButtonsFollowTheirCaptions) {
    CYesNoMessageBox one(L"OK", L"", L"", nullptr, false, false);
    one.setText(L"Only one button.");
    INT_PTR r = runBox(one, [](HWND dlg) {
        RECT client, yes;
        GetClientRect(dlg, &client);
        GetWindowRect(GetDlgItem(dlg, IDOK), &yes);
        MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&yes), 2);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(dlg, IDOK)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, kMessageBoxNo)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, IDCANCEL)));
        EXPECT_EQ(yes.right, client.right - 8);
        wchar_t t[64];
        GetDlgItemTextW(dlg, kMessageBoxText, t, 64);
        EXPECT_STREQ(t, L"Only one button.");
    }, IDOK);
    EXPECT_EQ(r, IDOK);

    CYesNoMessageBox three(L"Yes", L"No", L"Cancel", nullptr, true, true);
    three.setText(std::wstring(400, L'w'));
    r = runBox(three, [](HWND dlg) {
        RECT y, n, c, text, client;
        GetWindowRect(GetDlgItem(dlg, IDOK), &y);
        GetWindowRect(GetDlgItem(dlg, kMessageBoxNo), &n);
        GetWindowRect(GetDlgItem(dlg, IDCANCEL), &c);
        EXPECT_GT(y.left, n.left);
        EXPECT_GT(n.left, c.left);
        EXPECT_EQ(y.top, n.top);
        EXPECT_TRUE(GetWindowLongW(dlg, GWL_EXSTYLE) & WS_EX_TOPMOST);
        // The long text pushes the buttons below it, inside the window.
        GetWindowRect(GetDlgItem(dlg, kMessageBoxText), &text);
        EXPECT_GE(y.top, text.bottom);
        GetWindowRect(dlg, &client);
        EXPECT_LE(y.bottom, client.bottom);
    }, kMessageBoxNo);
    EXPECT_EQ(r, kMessageBoxNo);
}

class FrameWindow : public ::testing::Test {
protected:
    void SetUp() override {
        clearTestSettings();
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        ASSERT_TRUE(frame.createMainFrame());
    }
    void TearDown() override { clearTestSettings(); }
    LXFrame frame;
};

TEST_F(FrameWindow, ToolbarStatusBarAndMenu) {
    HWND tb = frame.toolBar().hwnd();
    ASSERT_TRUE(tb);
    EXPECT_EQ(SendMessageW(tb, TB_BUTTONCOUNT, 0, 0), 18);
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(tb, TB_GETIMAGELIST, 0, 0));
    EXPECT_EQ(ImageList_GetImageCount(images), 15);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 24);
    EXPECT_EQ(cy, 22);
    EXPECT_TRUE(frame.statusBar().hwnd());
    EXPECT_EQ(GetMenuItemCount(GetMenu(frame.hwnd())), 5);
    EXPECT_EQ(SendMessageW(frame.hwnd(), WM_PING_INSTANCE, 0, 0), kPingAnswer);
    EXPECT_EQ(SendMessageW(frame.hwnd(), WM_GET_SEARCH_LANGUAGE, 0, 0), 0);  // no view yet
    EXPECT_EQ(SendMessageW(frame.hwnd(), WM_SET_LANGUAGE_PAIR, 12, 1), 0);
    MINMAXINFO mm{};
    SendMessageW(frame.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mm));
    EXPECT_EQ(mm.ptMinTrackSize.x, 200);
    EXPECT_EQ(mm.ptMinTrackSize.y, 220);
}

// A skinned frame takes the menu off the window and draws it in its own bar, so the window
// answers no menu: the frame still frees the menu it replaces.
TEST_F(FrameWindow, MenusAreFreedWhenTheWindowHoldsNone) {
    HMENU english = GetMenu(frame.hwnd());
    ASSERT_TRUE(IsMenu(english));
    SetMenu(frame.hwnd(), nullptr);
    frame.applyInterfaceLanguage(2);
    EXPECT_FALSE(IsMenu(english));
    HMENU french = GetMenu(frame.hwnd());
    ASSERT_TRUE(IsMenu(french));
    wchar_t text[64] = {};
    GetMenuStringW(french, 0, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"&Fichier");
    // Rebuilt while the window shows it, the menu is replaced once, not freed twice.
    frame.applyInterfaceLanguage(1);
    EXPECT_FALSE(IsMenu(french));
    HMENU last = GetMenu(frame.hwnd());
    EXPECT_TRUE(IsMenu(last));
}

TEST_F(FrameWindow, StatusBarPrompts) {
    auto prompt = [&](UINT id, UINT flags) {
        SendMessageW(frame.hwnd(), WM_MENUSELECT, MAKEWPARAM(id, flags), reinterpret_cast<LPARAM>(GetMenu(frame.hwnd())));
        return frame.statusBar().text();
    };
    EXPECT_EQ(prompt(ID_CHECK_UPDATES, MF_HILITE), L"Look for a newer version of Wordmere");
    EXPECT_EQ(prompt(ID_EDIT_COPY_CMD, MF_HILITE), L"Copy the selection to the clipboard");
    EXPECT_EQ(prompt(SC_CLOSE, MF_HILITE | MF_SYSMENU), L"Close the window");
    EXPECT_EQ(prompt(SC_RESTORE, MF_HILITE | MF_SYSMENU), L"Restore the window to its normal size");
    setCurrentInterfaceLanguage(3);
    EXPECT_EQ(prompt(SC_MOVE, MF_HILITE | MF_SYSMENU), L"Mover la ventana");
    setCurrentInterfaceLanguage(1);
    SendMessageW(frame.hwnd(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);  // menu closed: idle prompt
    EXPECT_EQ(frame.statusBar().text(), L"");
}

TEST_F(FrameWindow, ToolTipTextsInTheInterfaceLanguage) {
    auto tip = [&](UINT code, UINT_PTR id) {
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = frame.toolBar().tooltips();
        info.hdr.idFrom = id;
        info.hdr.code = code;
        SendMessageW(frame.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return std::wstring(info.lpszText ? info.lpszText : L"");
    };
    EXPECT_EQ(tip(TTN_NEEDTEXTW, ID_CONJUGATE), L"Conjugate");
    setCurrentInterfaceLanguage(4);
    EXPECT_EQ(tip(TTN_NEEDTEXTW, ID_CONJUGATE), L"Konjugieren");
    EXPECT_EQ(tip(TTN_NEEDTEXTW, ID_EDIT_COPY_CMD), L"Kopieren");
    setCurrentInterfaceLanguage(1);
    EXPECT_EQ(tip(TTN_NEEDTEXTW, 424242), L"");  // no string: no text
}

TEST_F(FrameWindow, PlacementAndTopmostRoundTrip) {
    setSettingInt(kSetWindowLeft, 120);
    setSettingInt(kSetWindowTop, 90);
    setSettingInt(kSetWindowWidth, 300);
    setSettingInt(kSetWindowHeight, 250);
    setSettingInt(kSetTopmost, 1);
    frame.restorePlacementAndCheckUpdates();
    RECT r;
    GetWindowRect(frame.hwnd(), &r);
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_TRUE(GetWindowLongW(frame.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(frame.toolBar().isButtonHidden(ID_TOPMOST_ON));
    EXPECT_FALSE(frame.toolBar().isButtonHidden(ID_TOPMOST_OFF));
    EXPECT_TRUE(frame.toolBar().isButtonHidden(ID_WEBSITE));
    EXPECT_TRUE(frame.toolBar().isButtonHidden(ID_WEB_TRANSLATE));  // option 0x400
    EXPECT_FALSE(IsWindowVisible(frame.statusBar().hwnd()));         // option 0x80000

    SendMessageW(frame.hwnd(), WM_COMMAND, ID_TOPMOST_OFF, 0);
    EXPECT_FALSE(GetWindowLongW(frame.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(getSettingInt(kSetTopmost), 0);

    SendMessageW(frame.hwnd(), WM_COMMAND, ID_VIEW_TOOLBAR_CMD, 0);
    EXPECT_EQ(getSettingInt(kSetHideToolbar), 1);
    EXPECT_FALSE(IsWindowVisible(frame.toolBar().hwnd()));
    SendMessageW(frame.hwnd(), WM_COMMAND, ID_VIEW_TOOLBAR_CMD, 0);
    EXPECT_EQ(getSettingInt(kSetHideToolbar), 0);
    EXPECT_TRUE(IsWindowVisible(frame.toolBar().hwnd()));

    MoveWindow(frame.hwnd(), 140, 100, 333, 444, TRUE);
    EXPECT_EQ(getSettingInt(kSetWindowLeft), 140);
    EXPECT_EQ(getSettingInt(kSetWindowWidth), 333);
    EXPECT_EQ(getSettingInt(kSetWindowHeight), 444);
    EXPECT_EQ(getSettingInt(kSetMaximize), 0);
}

TEST_F(FrameWindow, MaximizedStateIsRestoredAndSaved) {
    setSettingInt(kSetMaximize, 1);
    frame.restorePlacementAndCheckUpdates();
    EXPECT_TRUE(IsZoomed(frame.hwnd()));
    EXPECT_EQ(getSettingInt(kSetMaximize), 1);
    // The default rectangle stays the normal position behind the maximised window.
    EXPECT_EQ(getSettingInt(kSetWindowLeft), 50);
    EXPECT_EQ(getSettingInt(kSetWindowTop), 50);
    ShowWindow(frame.hwnd(), SW_RESTORE);
    SendMessageW(frame.hwnd(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(getSettingInt(kSetMaximize), 0);
}

TEST_F(FrameWindow, NothingIsSavedBeforeThePlacementWasApplied) {
    MoveWindow(frame.hwnd(), 140, 100, 333, 444, TRUE);
    EXPECT_EQ(getSettingInt(kSetWindowLeft), 0);
    EXPECT_EQ(getSettingString(kSetWindowLeft), L"");
}

TEST_F(FrameWindow, BetaAndAlphaToggles) {
    // The toggles confirm with a message box; answer it as soon as it shows.
    auto press = [&](int command) {
        sInspect = nullptr;
        sPress = IDOK;
        sTitle = L"Wordmere";
        UINT_PTR t = SetTimer(nullptr, 0, 50, answerBox);
        SendMessageW(frame.hwnd(), WM_COMMAND, command, 0);
        KillTimer(nullptr, t);
        return getSettingInt(kSetUseBetaUpdater);
    };
    EXPECT_EQ(press(ID_BETA_UPDATES), 1);
    EXPECT_EQ(press(ID_ALPHA_UPDATES), 2);
    EXPECT_EQ(press(ID_ALPHA_UPDATES), 0);
    EXPECT_EQ(press(ID_ALPHA_UPDATES), 2);
    EXPECT_EQ(press(ID_BETA_UPDATES), 1);
    EXPECT_EQ(press(ID_BETA_UPDATES), 0);
}

}  // namespace

namespace {

// Another running copy, as the broadcast sees it: a top-level window answering the
// hot-key question with a fixed answer.
LRESULT gPeerAnswer = 0;
LRESULT CALLBACK peerProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (theApp() && msg == theApp()->conflictMessageId()) return gPeerAnswer;
    return DefWindowProcW(w, msg, wp, lp);
}

HWND makePeer(LRESULT answer) {
    gPeerAnswer = answer;
    WNDCLASSW wc{};
    wc.lpfnWndProc = peerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"WordmereTestPeer";
    RegisterClassW(&wc);
    return CreateWindowW(L"WordmereTestPeer", L"peer", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// Pumps messages for a while; true when WM_QUIT was posted meanwhile.
bool pump(DWORD ms) {
    bool quit = false;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < ms;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) quit = true;
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Sleep(10);
    }
    return quit;
}

std::wstring gSeenText;
void CALLBACK cancelConflict(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = FindWindowW(L"#32770", L"Wordmere");
    if (!dlg) return;
    KillTimer(nullptr, id);
    wchar_t t[512] = L"";
    GetDlgItemTextW(dlg, kMessageBoxText, t, 512);
    gSeenText = t;
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

TEST_F(FrameWindow, AnswersOfOtherCopiesAreCollected) {
    setSettingString(kSetHotkey, L"F2");  // method 2
    struct {
        LRESULT answer;
        std::vector<int> reported;
    } cases[] = {{0xFF04, {4}}, {0x0004, {}}, {0xFE02, {}}};
    for (auto& c : cases) {
        HWND peer = makePeer(c.answer);
        frame.broadcastHotKeyQuestion();
        bool quit = pump(1200);
        EXPECT_EQ(theApp()->reportedHotKeyMethods(), c.reported) << std::hex << c.answer;
        EXPECT_FALSE(quit);
        EXPECT_TRUE(IsWindow(frame.hwnd()));
        DestroyWindow(peer);
    }
}

TEST_F(FrameWindow, SameHotKeyAsAnotherCopyAsksAndCancelEnds) {
    setSettingString(kSetHotkey, L"F2");
    HWND peer = makePeer(0xFF02);
    gSeenText.clear();
    UINT_PTR t = SetTimer(nullptr, 0, 50, cancelConflict);
    frame.broadcastHotKeyQuestion();
    bool quit = pump(3000);
    KillTimer(nullptr, t);
    EXPECT_EQ(theApp()->reportedHotKeyMethods(), std::vector<int>{2});
    EXPECT_EQ(gSeenText, L"Another copy of Wordmere already uses the hotkey \"F2\". Please select a different hotkey for "
                         L"this copy.");
    EXPECT_TRUE(quit);
    EXPECT_FALSE(IsWindow(frame.hwnd()));
    DestroyWindow(peer);
}

}  // namespace
