#include "lxapp.h"
#include "control_factory.h"
#include "lxconjugationadapter.h"
#include "lxdoc.h"
#include "lxframe.h"
#include "lxview.h"
#include "options.h"
#include "resource.h"
#include "settings.h"
#include "skin_interface.h"
#include "skin_scrollbar.h"
#include "themeapi.h"
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>
#include <algorithm>

uint32_t AppOptionFlags = kAppOptionFlagsInitial;

namespace {
LXApp* gApp = nullptr;
}

LXApp* theApp() { return gApp; }
std::wstring dataFolder() { return gApp ? gApp->dataFolder() : std::wstring(); }

LXApp::LXApp() {
    gApp = this;
    conflictMessage_ = RegisterWindowMessageW(L"LXHotKeyConflicMessage");
    setCurrentInterfaceLanguage(1);
}

LXApp::~LXApp() {
    if (gApp == this) gApp = nullptr;
}

void LXApp::addReportedHotKeyMethod(int method) {
    if (std::find(reported_.begin(), reported_.end(), method) == reported_.end()) reported_.push_back(method);
}

std::wstring LXApp::dataFolderFromPath(const std::wstring& exePath) {
    std::wstring folder = exePath;
    size_t cut = folder.rfind(L'\\');
    if (cut != std::wstring::npos) folder.resize(cut);
    folder = trimRightChars(folder, L"/\\");
    size_t start = folder.find_first_not_of(L" \t\r\n");
    return start == std::wstring::npos ? std::wstring() : folder.substr(start);
}

void LXApp::activateRunningInstance(const std::wstring& appName) {
    if (appOption(kOptTrayMode)) {
        if (HWND tray = FindWindowW(nullptr, (appName + L"_tray").c_str())) {
            // The running copy brings its window back out of the tray itself (the window is
            // kept under the hidden tray window, where showing it alone shows nothing).
            if (HWND w = FindWindowExW(tray, nullptr, nullptr, appName.c_str()))
                SendMessageTimeoutW(w, WM_COMMAND, ID_TRAY_SHOW, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
        }
    }
    // Found by class as well as title, so a message box titled with the application name
    // is never taken for the main window.
    if (HWND w = FindWindowW(kFrameClassName, appName.c_str())) {
        if (IsIconic(w)) ShowWindow(w, SW_RESTORE);
        SetForegroundWindow(w);
    }
}

void LXApp::startSkinEngine(HINSTANCE instance) {
    skinControlsUseScrollBars();
    skinStartup(instance);
    skinInstallControls();
    if (GetFileAttributesW(L"skin.gvf") != INVALID_FILE_ATTRIBUTES)
        skinOpenFile(L"skin.gvf");
    else
        skinOpenResource(instance, L"SKIN", L"GLOSSVANE");
}

void LXApp::skinMainWindows(HWND frame) {
    skinApplyToFrame(frame, L"MainFrame");
    skinSetDefaultDialog(L"Dialog");
}

bool LXApp::initInstance() {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    std::wstring name = loadRawString(8001);
    setAppName(name);
    setRegistryKey(name);

    if (appOption(kOptSkinningSettingHonoured)) {
        if (getSettingInt(kSetSkinningDisabled))
            AppOptionFlags |= kOptSkinningOff;
        else
            AppOptionFlags &= ~static_cast<uint32_t>(kOptSkinningOff);
    }
    if (!appOption(kOptSkinningOff)) startSkinEngine(inst);
    if (appOption(kOptShowHotkeySettingHonoured)) {
        if (getSettingInt(kSetShowHotkey))
            AppOptionFlags |= kOptShowHotkey;
        else
            AppOptionFlags &= ~static_cast<uint32_t>(kOptShowHotkey);
    }

    mutex_ = CreateMutexW(nullptr, TRUE, L"WordmereMutex");
    if (!mutex_ || GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex_) CloseHandle(mutex_);
        mutex_ = nullptr;
        activateRunningInstance(name);
        return false;
    }

    if (FAILED(OleInitialize(nullptr))) return false;
    oleStarted_ = true;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    loadInterfaceLanguage();

    wchar_t path[MAX_PATH + 1] = L"";
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    dataFolder_ = dataFolderFromPath(std::wstring(path, std::min<DWORD>(n, MAX_PATH)));

    dataManager_ = LXDataManager::create(&LXCreateConjugationEngine);
    if (!dataManager_) return false;

    // The single-document template: document, frame (menu, accelerators, icon 500), view.
    doc_.reset(new LXDoc(dataManager_, dataFolder_));
    frame_.reset(new LXFrame());
    frame_->setDataManager(dataManager_);
    if (!frame_->createMainFrame()) return false;
    setMainFrame(frame_.get());
    view_.reset(new LXView());
    if (!view_->createView(frame_->hwnd(), dataManager_)) return false;
    frame_->setView(view_->hwnd());
    frame_->recalcLayout();
    doc_->onOpenDocument(L"nothing.lxd");
    view_->initialUpdate();

    if (!appOption(kOptSkinningOff)) skinMainWindows(frame_->hwnd());
    frame_->setMessageText(ID_IDLE_MESSAGE);
    SetWindowTextW(frame_->hwnd(), name.c_str());
    frame_->restorePlacementAndCheckUpdates();
    frame_->broadcastHotKeyQuestion();
    return true;
}

int LXApp::exitInstance() {
    if (!appOption(kOptSkinningOff)) skinShutdown();
    // Windows go before the data manager they show.
    view_.reset();
    setMainFrame(nullptr);
    frame_.reset();
    doc_.reset();
    if (mutex_) {
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
        mutex_ = nullptr;
    }
    delete dataManager_;
    dataManager_ = nullptr;
    if (oleStarted_) OleUninitialize();
    oleStarted_ = false;
    return exitCode_;
}

void LXApp::openWithShell(const std::wstring& path) {
    ShellExecuteW(mainWindow(), L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool LXApp::onRoutedCommand(int id) {
    switch (id) {
    case ID_DOWNLOAD_MODULES:
        if (frame_) frame_->onRoutedCommand(ID_DOWNLOAD_MODULES);
        return true;
    case ID_PRODUCTS_PAGE:
        openWithShell(loadRawString(9005));
        return true;
    case ID_APP_ABOUT_CMD:
        showMessage(applicationName() + L" " + currentVersionString());
        return true;
    case 57600:
    case 57601:
        return true;
    }
    if (id == ID_MANUAL || id == ID_HELP_TOPICS) {
        openHelpTopic(ID_HELP_MANUAL_TOPIC);
        return true;
    }
    if (id >= ID_HELP_TOPIC_FIRST && id <= ID_HELP_TOPIC_LAST) {
        if (!appOption(kOptReducedFeatures)) openHelpTopic(id);
        return true;
    }
    return false;
}

bool LXApp::onUpdateCommandUI(FwCmdUI& ui) {
    if (ui.id() == ID_APP_ABOUT_CMD) {
        ui.setText(loadLocalizedString(16500));
        return true;
    }
    if (ui.id() == ID_PRODUCTS_PAGE) {
        ui.enable(true);
        return true;
    }
    return false;
}
