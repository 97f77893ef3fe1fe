#include "lxframe.h"
#include "optionsdialog.h"
#include "lxapp.h"
#include "search/lxdatamanager.h"
#include "messagebox.h"
#include "options.h"
#include "resource.h"
#include "settings.h"
#include "lxdoc.h"
#include "moduledialog.h"
#include "progressdialog.h"
#include "updater.h"
#include "httpaddress.h"
#include <commctrl.h>
#include <shellapi.h>
#include <wininet.h>
#include <algorithm>

LXFrame* LXFrame::instance_ = nullptr;
std::atomic<bool> gUpdaterUserStarted{false};
std::atomic<bool> gUpdaterCancel{false};

int frameMenuResource(int language) {
    switch (language) {
    case LXFrench: return IDR_MENU_FRENCH;
    case LXSpanish: return IDR_MENU_SPANISH;
    case LXGerman: return IDR_MENU_GERMAN;
    case LXItalian: return IDR_MENU_ITALIAN;
    case LXPortuguese: return IDR_MENU_PORTUGUESE;
    case LXRussian:
    case LXDutch: return IDR_MENU_OTHER;
    default: return IDR_MAINFRAME;
    }
}

HMENU buildFrameMenu(int language, uint32_t options) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(frameMenuResource(language)));
    if (!menu) return nullptr;
    auto has = [&](uint32_t bit) { return (options & bit) != 0; };
    if (GetMenuItemCount(menu) > 5) DeleteMenu(menu, 5, MF_BYPOSITION);

    HMENU help = GetSubMenu(menu, 4);
    if (help && has(kOptNoProductsPage)) DeleteMenu(help, ID_PRODUCTS_PAGE, MF_BYCOMMAND);

    if (has(kOptReducedFeatures)) {
        DeleteMenu(menu, 3, MF_BYPOSITION);
    } else if (HMENU tools = GetSubMenu(menu, 3)) {
        if (has(kOptNoWebTranslation)) DeleteMenu(tools, ID_WEB_TRANSLATE, MF_BYCOMMAND);
        if (has(kOptNoUserEntries)) {
            DeleteMenu(tools, 2, MF_BYPOSITION);
            DeleteMenu(tools, ID_ADD_ENTRY, MF_BYCOMMAND);
            DeleteMenu(tools, ID_DELETE_ENTRY, MF_BYCOMMAND);
        }
    }

    if (HMENU view = GetSubMenu(menu, 2)) {
        DeleteMenu(view, 4, MF_BYPOSITION);
        if (has(kOptFixedInterfaceLanguage)) {
            DeleteMenu(view, 3, MF_BYPOSITION);
        } else if (HMENU languages = GetSubMenu(view, 3)) {
            DeleteMenu(languages, ID_LANG_ITALIAN, MF_BYCOMMAND);
            DeleteMenu(languages, ID_LANG_PORTUGUESE, MF_BYCOMMAND);
        }
        if (has(kOptReducedFeatures)) {
            DeleteMenu(view, 2, MF_BYPOSITION);
            DeleteMenu(view, ID_TOOLBAR_BAR, MF_BYCOMMAND);
        }
        if (has(kOptNoReverseList)) DeleteMenu(view, ID_SHOW_REVERSE, MF_BYCOMMAND);
    }

    if (HMENU file = GetSubMenu(menu, 0)) {
        if (has(kOptNoModuleDownload)) DeleteMenu(file, ID_DOWNLOAD_MODULES, MF_BYCOMMAND);
        if (has(kOptNoUpdateCheck)) DeleteMenu(file, ID_CHECK_UPDATES, MF_BYCOMMAND);
        if (has(kOptNoModuleDownload) && has(kOptNoUpdateCheck)) DeleteMenu(file, 0, MF_BYPOSITION);
    }
    return menu;
}

RECT checkedPlacement(int left, int top, int width, int height, int dw, int dh) {
    // Besides the stored rectangle being off the desktop, a non-positive size is refused too:
    // moving the window to it would leave nothing on screen to grab.
    bool refused = left == 0 || top == 0 || width <= 0 || height <= 0 || left >= dw || top >= dh ||
                   static_cast<long long>(left) + width <= 0 || static_cast<long long>(top) + height <= 0;
    if (refused) return RECT{50, 50, dw / 4 + 50, dh / 2 + 50};
    return RECT{left, top, left + width, top + height};
}

bool updateCheckDue(int value, const SYSTEMTIME& now) {
    int year = value / 10000 % 10000, month = value / 100 % 100, day = value % 100;
    if (year < 1970 || year > 3000 || month < 1 || month > 12 || day < 1 || day > 31) return true;
    SYSTEMTIME then{};
    then.wYear = static_cast<WORD>(year);
    then.wMonth = static_cast<WORD>(month);
    then.wDay = static_cast<WORD>(day);
    FILETIME a, b;
    // A day that does not exist in its month (the 31st of April) counts as no date at all.
    if (!SystemTimeToFileTime(&then, &a) || !SystemTimeToFileTime(&now, &b)) return true;
    auto ticks = [](const FILETIME& f) {
        return static_cast<long long>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime);
    };
    long long diff = ticks(b) - ticks(a);
    const long long day100ns = 864000000000LL;
    return diff >= 6 * day100ns;
}

void copyTipText(wchar_t* dst, size_t capacity, const std::wstring& text) {
    if (!dst || capacity == 0) return;
    size_t n = std::min(text.size(), capacity - 1);
    // Do not leave the first half of a surrogate pair at the cut.
    if (n < text.size() && n > 0 && isLeadSurrogate(text[n - 1])) --n;
    std::copy(text.begin(), text.begin() + static_cast<ptrdiff_t>(n), dst);
    dst[n] = L'\0';
}

void copyTipTextAnsi(char* dst, size_t capacity, const std::wstring& text) {
    if (!dst || capacity == 0) return;
    dst[0] = '\0';
    // Convert character by character count until the bytes no longer fit, so a double-byte
    // character is never cut in half.
    size_t used = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t len = (isLeadSurrogate(text[i]) && i + 1 < text.size()) ? 2 : 1;
        char buf[16];
        int n = WideCharToMultiByte(CP_ACP, 0, text.c_str() + i, static_cast<int>(len), buf, sizeof buf, nullptr,
                                    nullptr);
        if (n <= 0 || used + static_cast<size_t>(n) + 1 > capacity) break;
        std::copy(buf, buf + n, dst + used);
        used += static_cast<size_t>(n);
        i += len - 1;
    }
    dst[used] = '\0';
}

LXFrame::LXFrame() {
    guard_ = CreateMutexW(nullptr, TRUE, nullptr);
    instance_ = this;
}

LXFrame::~LXFrame() {
    instance_ = nullptr;
    if (conflictTimer_ && hwnd_) KillTimer(hwnd_, conflictTimer_);
    conflictTimer_ = 0;
    if (guard_) {
        ReleaseMutex(guard_);
        CloseHandle(guard_);
    }
    if (progressWindow_ && IsWindow(progressWindow_)) DestroyWindow(progressWindow_);
    tray_.removeIcon();
    destroy();
    // A menu the window no longer held (a skinned bar showed it) is not freed with the window.
    if (menu_ && IsMenu(menu_)) DestroyMenu(menu_);
    if (images_) ImageList_Destroy(images_);
}

bool LXFrame::createMainFrame() {
    // The title is set from the application name once start-up is through; the document's
    // name is never added to it.
    return createFrame(kFrameClassName, IDR_MAINFRAME, applicationName(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
}

LXFrameView* LXFrame::frameView() const { return dynamic_cast<LXFrameView*>(FwWindow::fromHandle(view_)); }

void LXFrame::showHistoryButtons(bool forwardPossible, bool backPossible) {
    setHistoryButtons(forwardPossible, backPossible);
}

void LXFrame::showStatusText(const std::wstring& text) {
    if (statusBar_.hwnd()) statusBar_.setText(text);
}

void LXFrame::showIdlePrompt() { setMessageText(ID_IDLE_MESSAGE); }

int LXFrame::onCreate(CREATESTRUCTW&) {
    if (!toolBar_.create(hwnd_, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, ID_TOOLBAR_BAR) ||
        !toolBar_.loadToolBar(IDR_TOOLBAR))
        return -1;
    images_ = ImageList_Create(24, 22, 0xFF, 13, 1);
    if (HBITMAP bmp = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_TOOLBAR))) {
        ImageList_AddMasked(images_, bmp, RGB(0xF1, 0xF1, 0xF1));
        DeleteObject(bmp);
    }
    toolBar_.setImageList(images_);
    if (!statusBar_.create(hwnd_, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, ID_STATUS_BAR)) return -1;
    if (appOption(kOptTrayMode)) {
        // Without a notification area (no shell yet) the icon's add fails: the icon's window
        // stays and adds it when the taskbar announces itself; until then closing closes.
        if (!tray_.create(hwnd_, WM_TRAY_NOTIFY, applicationName(), IDR_MAINFRAME, IDR_TRAYMENU) && !tray_.hwnd())
            return -1;
        tray_.setMenuDefaultItem(ID_TRAY_HIDE, false);
    }
    rebuildMenu();
    return 0;
}

void LXFrame::rebuildMenu() {
    HMENU menu = buildFrameMenu(currentInterfaceLanguage(), AppOptionFlags);
    if (!menu) return;
    // The frame keeps its menu itself: a skinned frame draws the menu in its own bar, so the
    // window answers no menu, and the old one would be left behind at every language switch.
    HMENU old = menu_;
    menu_ = menu;
    SetMenu(hwnd_, menu);
    DrawMenuBar(hwnd_);  // a skinned frame takes the new menu into its bar here
    if (old && old != menu && IsMenu(old)) DestroyMenu(old);
}

std::wstring LXFrame::messageString(int id) {
    if (id == ID_IDLE_MESSAGE) return std::wstring();
    std::wstring s = loadLocalizedString(id);
    size_t lf = s.find(L'\n');
    return lf == std::wstring::npos ? s : s.substr(0, lf);
}

void LXFrame::applyInterfaceLanguage(int code) {
    storeInterfaceLanguage(code);
    rebuildMenu();
    setMessageText(ID_IDLE_MESSAGE);
    if (HWND tips = toolBar_.tooltips()) {
        for (int id : toolBar_.commandIds()) {
            if (id == 0) continue;
            std::wstring tip = lastLinePart(loadLocalizedString(id));
            TTTOOLINFOW ti{};
            ti.cbSize = sizeof ti;
            ti.hwnd = toolBar_.hwnd();
            ti.uId = static_cast<UINT_PTR>(id);
            ti.lpszText = &tip[0];
            SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
        }
    }
    if (LXFrameView* view = frameView()) view->refreshCaptions();
}

void LXFrame::savePlacement() {
    if (!placementValid_ || !hwnd_) return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(hwnd_, &wp)) return;
    // The normal position is in work-area coordinates, the restore moves the window in screen
    // coordinates: store screen coordinates, so a task bar at the top or left does not shift
    // the window a little further at every start.
    RECT r = wp.rcNormalPosition;
    if (!(GetWindowLongW(hwnd_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
        MONITORINFO mi{};
        mi.cbSize = sizeof mi;
        if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi))
            OffsetRect(&r, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
    }
    setSettingInt(kSetWindowLeft, r.left);
    setSettingInt(kSetWindowTop, r.top);
    setSettingInt(kSetWindowHeight, r.bottom - r.top);
    setSettingInt(kSetWindowWidth, r.right - r.left);
    setSettingInt(kSetMaximize, wp.showCmd == SW_SHOWMAXIMIZED ? 1 : 0);
}

void LXFrame::setTopmost(bool on) {
    SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    setSettingInt(kSetTopmost, on ? 1 : 0);
    toolBar_.hideButton(ID_TOPMOST_ON, on);
    toolBar_.hideButton(ID_TOPMOST_OFF, !on);
}

void LXFrame::restorePlacementAndCheckUpdates() {
    RECT desk;
    GetClientRect(GetDesktopWindow(), &desk);
    RECT r = checkedPlacement(getSettingInt(kSetWindowLeft), getSettingInt(kSetWindowTop),
                              getSettingInt(kSetWindowWidth), getSettingInt(kSetWindowHeight), desk.right, desk.bottom);
    MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    placementValid_ = true;
    setTopmost(getSettingInt(kSetTopmost) != 0);

    toolBar_.hideButton(ID_WEBSITE, true);
    if (appOption(kOptNoWebExamples)) toolBar_.hideButton(ID_WEB_EXAMPLES, true);
    if (appOption(kOptNoWebTranslation)) toolBar_.hideButton(ID_WEB_TRANSLATE, true);
    if (appOption(kOptNoUserEntries)) toolBar_.hideButton(ID_ADD_ENTRY, true);
    showControlBar(toolBar_, !appOption(kOptReducedFeatures) && getSettingInt(kSetHideToolbar) == 0);
    showControlBar(statusBar_, !appOption(kOptNoStatusBar));
    ShowWindow(hwnd_, getSettingInt(kSetMaximize) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    savePlacement();

    SYSTEMTIME now;
    GetLocalTime(&now);
    if (updateCheckDue(getSettingInt(kSetLastUpdate), now) && !updaterTaskRunning()) {
        // The task asks the system for a connection and stores today as "Last Update" only
        // then: the window never waits on the network.
        gUpdaterUserStarted = false;
        gUpdaterCancel = false;
        startUpdaterTask(kUpdaterAutomaticCheck, hwnd_, now.wYear * 10000 + now.wMonth * 100 + now.wDay);
    }
}

void LXFrame::setHistoryButtons(bool forwardPossible, bool backPossible) {
    if (appOption(kOptReducedFeatures)) return;
    toolBar_.hideButton(ID_HISTORY_FORWARD_GREY, forwardPossible);
    toolBar_.hideButton(ID_HISTORY_FORWARD, !forwardPossible);
    toolBar_.hideButton(ID_HISTORY_BACK_GREY, backPossible);
    toolBar_.hideButton(ID_HISTORY_BACK, !backPossible);
}

std::wstring LXFrame::searchText() const {
    LXFrameView* view = frameView();
    return view ? view->searchText() : std::wstring();
}

bool LXFrame::hideToTray() {
    // A window hidden with no icon to bring it back would be lost.
    if (tray_.isHidden()) return false;
    CSystemTray::minimizeToTray(hwnd_, false);
    tray_.setMenuDefaultItem(ID_TRAY_SHOW, false);
    return true;
}

void LXFrame::showFromTray() {
    CSystemTray::restoreFromTray(hwnd_, false);
    tray_.setMenuDefaultItem(ID_TRAY_HIDE, false);
}

void LXFrame::broadcastHotKeyQuestion() {
    LXApp* app = theApp();
    if (!app || !app->conflictMessageId()) return;
    WaitForSingleObject(guard_, INFINITE);
    app->clearReportedHotKeyMethods();
    ReleaseMutex(guard_);
    if (!SendMessageCallbackW(HWND_BROADCAST, app->conflictMessageId(), 0, 0, &LXFrame::hotKeyAnswer,
                              reinterpret_cast<ULONG_PTR>(this)))
        MessageBoxW(hwnd_, L"Failed to initiate callback", applicationName().c_str(), MB_OK);
}

VOID CALLBACK LXFrame::hotKeyAnswer(HWND hwnd, UINT msg, ULONG_PTR data, LRESULT result) {
    LXFrame* self = instance_;
    LXApp* app = theApp();
    if (!self || !app || reinterpret_cast<LXFrame*>(data) != self) return;
    uint32_t answer = static_cast<uint32_t>(result);
    if ((answer & kHotKeyAnswerMark) != kHotKeyAnswerMark || msg != app->conflictMessageId() || hwnd == self->hwnd_) return;
    int index = static_cast<int>(answer & ~kHotKeyAnswerMark);
    WaitForSingleObject(self->guard_, INFINITE);
    app->addReportedHotKeyMethod(index);
    ReleaseMutex(self->guard_);
    if (index == hotKeyMethodIndex()) self->startHotKeyConflictTimer();
}

void LXFrame::startHotKeyConflictTimer() {
    WaitForSingleObject(guard_, INFINITE);
    if (!conflictTimer_) conflictTimer_ = SetTimer(hwnd_, kHotKeyConflictTimer, 500, nullptr);
    ReleaseMutex(guard_);
}

void LXFrame::onHotKeyConflictTimer() {
    WaitForSingleObject(guard_, INFINITE);
    bool first = conflictTimer_ != 0;
    if (first) KillTimer(hwnd_, conflictTimer_);
    conflictTimer_ = 0;
    ReleaseMutex(guard_);
    if (!first) return;
    // The stored name is English whatever the interface language; show the localised one.
    std::wstring name = loadLocalizedString(hotKeyMethodStringId(hotKeyMethodIndex()));
    CYesNoMessageBox box(loadLocalizedString(16560), L"", loadLocalizedString(12030), hwnd_, false, false);
    box.setText(replaceAll(loadLocalizedString(16550), L"<HOTKEY>", name));
    box.setTitle(applicationName());
    if (box.runModal() == IDOK) {
        openPreferences();
    } else {
        SendMessageW(hwnd_, WM_CLOSE, 0, 0);
        PostQuitMessage(0);
    }
}

void LXFrame::openPreferences() {
    if (runOptionsDialog(hwnd_)) {
        int code = languageFromDisplayName(getSettingString(kSetInterfaceLanguage), 1);
        applyInterfaceLanguage(code == 0 ? 1 : code);
    }
    broadcastHotKeyQuestion();
}

void LXFrame::closeProgressWindow() {
    if (progressWindow_ && IsWindow(progressWindow_)) DestroyWindow(progressWindow_);
    progressWindow_ = nullptr;
}

void LXFrame::startUpdater(int task, const std::wstring* progressText) {
    // One task at a time: a second request while one runs is not started.
    if (updaterTaskRunning()) return;
    gUpdaterCancel = false;
    if (progressText) progressWindow_ = openProgressWindow(hwnd_, *progressText);
    if (!startUpdaterTask(static_cast<UpdaterTask>(task), hwnd_)) closeProgressWindow();
}

void LXFrame::reloadModules() {
    if (LXApp* app = theApp())
        if (LXDoc* doc = app->document()) doc->loadModules();
    if (LXFrameView* view = frameView()) view->refreshAfterModuleChange();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void LXFrame::offerUpdate() {
    const UpdaterState& st = updaterState();
    CYesNoMessageBox box(loadLocalizedString(12010), loadLocalizedString(12020), L"", hwnd_, false, false);
    box.setText(replaceAll(loadLocalizedString(13550), L"<VERSION>", formatVersion(parseVersion(st.latestVersion))));
    box.setTitle(applicationName());
    if (box.runModal() != IDOK) return;
    std::wstring text = loadLocalizedString(13530);
    startUpdater(kUpdaterInstallerDownload, &text);
}

void LXFrame::runInstaller(const std::wstring& path) {
    // The installer replaces the program: it runs once this copy has ended.
    if (!runInstallerSilently(path, hwnd_)) return;
    savePlacement();
    DestroyWindow(hwnd_);
    PostQuitMessage(0);
}

void LXFrame::offerModules() {
    CModuleDownloadDialog dialog(dataManager_);
    if (dialog.runModal(hwnd_) != IDOK || updaterState().downloadList.empty()) return;
    // The modules are closed here, on the user-interface thread that uses them, so their files
    // can be replaced; the lists show nothing until the modules are loaded again.
    if (dataManager_) dataManager_->clear();
    if (LXFrameView* view = frameView()) view->refreshAfterModuleChange();
    std::wstring text = replaceAll(loadLocalizedString(13520), L"<FILE>", L"") + L"...";
    startUpdater(kUpdaterModuleDownload, &text);
    if (!updaterTaskRunning()) reloadModules();
}

void LXFrame::runDownloadedInstallers() {
    // Modules are in place already; any other file the list named is an installer of ours.
    for (const std::wstring& path : updaterState().downloaded) {
        if (isModuleFileName(lastAddressPart(replaceAll(path, L"\\", L"/")))) continue;
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS;
        info.hwnd = hwnd_;
        info.lpFile = path.c_str();
        info.lpParameters = L"/VERYSILENT";
        info.nShow = SW_SHOW;
        if (!ShellExecuteExW(&info) || !info.hProcess) continue;
        // Waiting, the window keeps answering.
        while (MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        CloseHandle(info.hProcess);
    }
}

void LXFrame::onUpdaterResult(WPARAM code, LPARAM index) {
    closeProgressWindow();
    const bool cancelled = gUpdaterCancel;
    const UpdaterState& st = updaterState();
    auto notDownloaded = [&](const std::wstring& address) {
        showMessage(replaceAll(loadLocalizedString(13540), L"<FILE>", lastAddressPart(address)));
    };
    switch (code) {
    case kResultUpToDate:
        if (gUpdaterUserStarted && !cancelled) showMessageId(13500);
        break;
    case kResultUpdateAvailable:
        offerUpdate();
        break;
    case kResultInstallerDownloaded:
        runInstaller(st.installerPath);
        break;
    case kResultInstallerFailed:
        if (!cancelled) notDownloaded(st.installerAddress);
        break;
    case kResultModuleListFetched:
        offerModules();
        break;
    case kResultModuleListFailed:
        if (!cancelled)
            MessageBoxW(hwnd_, loadLocalizedString(13300).c_str(), applicationName().c_str(), MB_OK | MB_ICONEXCLAMATION);
        break;
    case kResultModulesDownloaded:
        runDownloadedInstallers();
        reloadModules();
        break;
    case kResultModuleDownloadFailed:
        // The worker removed its own partial file; installed modules stay as they are.
        if (index >= 0 && static_cast<size_t>(index) < st.downloadList.size())
            notDownloaded(st.downloadList[static_cast<size_t>(index)]);
        reloadModules();
        break;
    }
}

bool LXFrame::onNeedText(NMHDR* hdr, LRESULT& result) {
    UINT_PTR id = hdr->idFrom;
    bool wide = hdr->code == TTN_NEEDTEXTW;
    UINT flags = wide ? reinterpret_cast<NMTTDISPINFOW*>(hdr)->uFlags : reinterpret_cast<NMTTDISPINFOA*>(hdr)->uFlags;
    if (flags & TTF_IDISHWND) id = static_cast<UINT_PTR>(GetDlgCtrlID(reinterpret_cast<HWND>(id)));
    if (id == 0) return false;
    std::wstring text = loadLocalizedString(static_cast<int>(id)).substr(0, 256);
    if (text.empty()) return false;
    size_t lf = text.find(L'\n');
    std::wstring tip = lf == std::wstring::npos ? std::wstring() : text.substr(lf + 1);
    lf = tip.find(L'\n');
    if (lf != std::wstring::npos) tip.resize(lf);
    if (wide) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
        copyTipText(info->szText, sizeof info->szText / sizeof info->szText[0], tip);
        info->lpszText = info->szText;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(hdr);
        copyTipTextAnsi(info->szText, sizeof info->szText, tip);
        info->lpszText = info->szText;
    }
    result = 0;
    SetWindowPos(hdr->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);
    return true;
}

bool LXFrame::onRoutedCommand(int id) {
    switch (id) {
    case ID_CHECK_UPDATES: {
        if (updaterTaskRunning()) return true;
        SYSTEMTIME now;
        GetLocalTime(&now);
        setSettingInt(kSetLastUpdate, now.wYear * 10000 + now.wMonth * 100 + now.wDay);
        gUpdaterUserStarted = true;
        std::wstring text = loadLocalizedString(13510);
        startUpdater(kUpdaterVersionCheck, &text);
        return true;
    }
    case ID_DOWNLOAD_MODULES: {
        std::wstring text = loadLocalizedString(13510);
        startUpdater(kUpdaterModuleList, &text);
        return true;
    }
    case ID_BETA_UPDATES:
    case ID_ALPHA_UPDATES: {
        int mode = id == ID_BETA_UPDATES ? 1 : 2;
        bool was = getSettingInt(kSetUseBetaUpdater) == mode;
        setSettingInt(kSetUseBetaUpdater, was ? 0 : mode);
        showMessageId(was ? 13570 : (mode == 1 ? 13560 : 13580));
        return true;
    }
    case ID_HISTORY_FORWARD:
        if (LXFrameView* view = frameView()) view->stepHistory(1);
        return true;
    case ID_HISTORY_BACK:
        if (LXFrameView* view = frameView()) view->stepHistory(-1);
        return true;
    case ID_HISTORY_FORWARD_GREY:
    case ID_HISTORY_BACK_GREY:
        return true;
    case ID_TOPMOST_ON:
        setTopmost(true);
        return true;
    case ID_TOPMOST_OFF:
        setTopmost(false);
        return true;
    case ID_MODE_STANDARD:
    case ID_MODE_BROWSE:
    case ID_MODE_ADVANCED:
        if (LXFrameView* view = frameView()) view->setSearchMode(searchModeOfCommand(id));
        return true;
    case ID_PREFERENCES:
        openPreferences();
        return true;
    case ID_VIEW_TOOLBAR_CMD: {
        bool visible = toolBar_.hwnd() && IsWindowVisible(toolBar_.hwnd());
        setSettingInt(kSetHideToolbar, visible ? 1 : 0);
        showControlBar(toolBar_, !(visible || appOption(kOptReducedFeatures)));
        return true;
    }
    case ID_APP_EXIT_CMD:
        savePlacement();
        DestroyWindow(hwnd_);
        PostQuitMessage(0);
        return true;
    case ID_TRAY_SHOW:
        showFromTray();
        return true;
    case ID_TRAY_HIDE:
        if (!hideToTray()) ShowWindow(hwnd_, SW_MINIMIZE);
        return true;
    }
    return false;
}

bool LXFrame::onUpdateCommandUI(FwCmdUI& ui) {
    bool visible = IsWindowVisible(hwnd_) != 0, iconic = IsIconic(hwnd_) != 0;
    switch (ui.id()) {
    case ID_TRAY_SHOW:
        ui.enable(!iconic && !visible);
        ui.setText(loadLocalizedString(11850));
        return true;
    case ID_TRAY_HIDE:
        ui.enable(visible && !iconic);
        ui.setText(loadLocalizedString(11840));
        return true;
    case ID_PREFERENCES:
        ui.setText(loadLocalizedString(13240));
        return true;
    case ID_APP_EXIT_CMD:
        ui.setText(lastLinePart(loadLocalizedString(11080)));
        return true;
    case ID_VIEW_TOOLBAR_CMD:
        ui.setCheck(toolBar_.hwnd() && IsWindowVisible(toolBar_.hwnd()));
        return true;
    case ID_HISTORY_FORWARD_GREY:
    case ID_HISTORY_BACK_GREY:
        ui.enable(false);
        return true;
    }
    return false;
}

LRESULT LXFrame::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LXApp* app = theApp();
    if (app && app->conflictMessageId() && msg == app->conflictMessageId())
        return static_cast<LRESULT>(static_cast<uint32_t>(hotKeyMethodIndex()) | kHotKeyAnswerMark);
    switch (msg) {
    case WM_PASTE:
        if (LXFrameView* view = frameView()) view->pasteIntoSearchBox();
        return 0;
    case WM_PING_INSTANCE:
        return kPingAnswer;
    case WM_QUERY_LANGUAGE_PAIR:
        return dataManager_ && dataManager_->isLanguagePairAvailable(static_cast<LXLanguage>(wp),
                                                                     static_cast<LXLanguage>(lp))
                   ? 1
                   : 0;
    case WM_SET_LANGUAGE_PAIR:
        if (wp > kLastPairLanguage || static_cast<ULONG_PTR>(lp) > kLastPairLanguage) return 0;
        if (LXFrameView* view = frameView()) view->selectLanguagePair(static_cast<int>(wp), static_cast<int>(lp));
        return 1;
    case WM_GET_SEARCH_LANGUAGE: {
        LXFrameView* view = frameView();
        return view ? view->searchLanguage() : 0;
    }
    case WM_GET_TRANSLATION_LANGUAGE: {
        LXFrameView* view = frameView();
        return view ? view->translationLanguage() : 0;
    }
    case WM_UPDATER_RESULT:
        onUpdaterResult(wp, lp);
        return 1;
    case WM_UPDATER_PROGRESS:
        if (progressWindow_) SendMessageW(progressWindow_, WM_PROGRESS_SETPOS, wp, lp);
        return 1;
    case WM_PROGRESS_SETTEXT:
        if (progressWindow_) SendMessageW(progressWindow_, WM_PROGRESS_SETTEXT, wp, lp);
        return 1;
    case WM_PROGRESS_CANCELLED:
        cancelUpdaterTask();
        closeProgressWindow();
        return 1;
    case WM_HOTKEY_RELOAD:
        PostQuitMessage(0);
        return 1;
    case WM_ENTERSIZEMOVE:
        if (LXFrameView* view = frameView()) view->suspendListPainting(true);
        return 0;
    case WM_EXITSIZEMOVE:
        if (LXFrameView* view = frameView()) view->suspendListPainting(false);
        savePlacement();
        return 0;
    }
    return FwFrameWindow::handleMessage(msg, wp, lp);
}

bool LXFrame::onClose() {
    savePlacement();
    if (!appOption(kOptTrayMode) || !hideToTray()) DestroyWindow(hwnd_);
    return true;
}

bool LXFrame::onMove(int, int) {
    savePlacement();
    return false;
}

bool LXFrame::onGetMinMaxInfo(MINMAXINFO& mm) {
    mm.ptMinTrackSize.x = kMinTrackWidth;
    mm.ptMinTrackSize.y = kMinTrackHeight;
    return true;
}

bool LXFrame::onNotify(NMHDR& header, LRESULT& result) {
    if (header.code != TTN_NEEDTEXTW && header.code != TTN_NEEDTEXTA) return false;
    if (!onNeedText(&header, result)) result = 0;
    return true;
}

bool LXFrame::onTimer(UINT_PTR id) {
    if (id != kHotKeyConflictTimer) return false;
    onHotKeyConflictTimer();
    return true;
}
