// The main frame: menus in the interface language, toolbar, status bar, placement kept in
// the settings, the messages other programs send, the hot-key agreement between running
// copies, and the commands that are the frame's own.
#pragma once
#include "framework/fwframe.h"
#include "base/lxlanguage.h"
#include "frameview.h"
#include "systemtray.h"
#include "viewhost.h"
#include <atomic>
#include <cstdint>
#include <string>

class LXDataManager;

enum AppMessage : UINT {
    WM_PING_INSTANCE = 0x8001,
    WM_QUERY_LANGUAGE_PAIR = 0x8002,
    WM_GET_SEARCH_LANGUAGE = 0x8003,
    WM_GET_TRANSLATION_LANGUAGE = 0x8004,
    WM_SET_LANGUAGE_PAIR = 0x8005,
    WM_TRAY_NOTIFY = 0x8007,
    WM_HOTKEY_ENABLE = 0x800D,
    WM_HOTKEY_RELOAD = 0x800E,
    WM_UPDATER_RESULT = 0x8064,
    WM_UPDATER_PROGRESS = 0x8065,
    WM_PROGRESS_SETPOS = 0x8067,
    WM_PROGRESS_SETTEXT = 0x8068,
    WM_PROGRESS_CANCELLED = 0x8069,
};
constexpr LRESULT kPingAnswer = static_cast<LRESULT>(0xC0C0FFEEu);
constexpr UINT_PTR kHotKeyConflictTimer = 5;
// A running copy answers the hot-key question with its method index and these bits set.
constexpr uint32_t kHotKeyAnswerMark = 0xFF00;
// The highest language code another program may ask for with WM_SET_LANGUAGE_PAIR.
constexpr ULONG_PTR kLastPairLanguage = LXDutch;
// The smallest size the frame can be dragged to.
constexpr int kMinTrackWidth = 200, kMinTrackHeight = 220;
// The frame's window class: other programs and a second copy find the window by it and
// the application name as title.
constexpr wchar_t kFrameClassName[] = L"WordmereFrame";

// The menu bar for an interface language with the option word's deletions applied.
HMENU buildFrameMenu(int interfaceLanguage, uint32_t options);
int frameMenuResource(int interfaceLanguage);
// The stored placement, or the default rectangle when the stored one is unusable.
RECT checkedPlacement(int left, int top, int width, int height, int desktopWidth, int desktopHeight);
// Whether an automatic update check is due, given "Last Update" (yyyymmdd) and the local time now.
bool updateCheckDue(int lastUpdate, const SYSTEMTIME& now);
// Copies a tool-tip text into a fixed buffer, cut at a character boundary and always terminated.
void copyTipText(wchar_t* dst, size_t capacity, const std::wstring& text);
void copyTipTextAnsi(char* dst, size_t capacity, const std::wstring& text);

class LXFrame : public FwFrameWindow, public LXViewHost {
public:
    LXFrame();
    ~LXFrame() override;
    static LXFrame* instance() { return instance_; }

    bool createMainFrame();
    // The data manager whose modules the frame answers other programs about.
    void setDataManager(LXDataManager* dm) { dataManager_ = dm; }

    void restorePlacementAndCheckUpdates();
    void savePlacement();
    void startHotKeyConflictTimer();
    void setHistoryButtons(bool forwardPossible, bool backPossible);
    std::wstring searchText() const;

    // LXViewHost
    HWND hostWindow() const override { return hwnd_; }
    void showHistoryButtons(bool forwardPossible, bool backPossible) override;
    void showStatusText(const std::wstring& text) override;
    void showIdlePrompt() override;
    void runCommand(int id) override { routeCommand(id); }
    void applyInterfaceLanguage(int code) override;
    void broadcastHotKeyQuestion() override;

    std::wstring messageString(int id) override;
    bool onRoutedCommand(int id) override;
    bool onUpdateCommandUI(FwCmdUI& ui) override;

protected:
    int onCreate(CREATESTRUCTW& cs) override;
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool onClose() override;
    bool onMove(int x, int y) override;
    bool onGetMinMaxInfo(MINMAXINFO& info) override;
    bool onNotify(NMHDR& header, LRESULT& result) override;
    bool onTimer(UINT_PTR id) override;

private:
    static VOID CALLBACK hotKeyAnswer(HWND hwnd, UINT msg, ULONG_PTR data, LRESULT result);
    void onHotKeyConflictTimer();
    void setTopmost(bool on);
    void openPreferences();
    void onUpdaterResult(WPARAM code, LPARAM index);
    // An updater task; with a text, under a progress window showing it.
    void startUpdater(int task, const std::wstring* progressText);
    void closeProgressWindow();
    void offerUpdate();
    void runInstaller(const std::wstring& path);
    void offerModules();
    void runDownloadedInstallers();
    // The document loads its modules again and the view shows them.
    void reloadModules();
    bool onNeedText(NMHDR* hdr, LRESULT& result);
    void rebuildMenu();
    // False (nothing hidden) while the notification area shows no icon of ours.
    bool hideToTray();
    void showFromTray();
    // The view's object, while one is bound to the view window.
    LXFrameView* frameView() const;

    static LXFrame* instance_;
    CSystemTray tray_;
    LXDataManager* dataManager_ = nullptr;
    HWND progressWindow_ = nullptr;
    HANDLE guard_ = nullptr;
    UINT_PTR conflictTimer_ = 0;
    bool placementValid_ = false;
    HIMAGELIST images_ = nullptr;
    // The menu in the interface language, whether the window or a skinned menu bar shows it.
    HMENU menu_ = nullptr;
};

// Updater flags shared with the updater's workers.
extern std::atomic<bool> gUpdaterUserStarted;
extern std::atomic<bool> gUpdaterCancel;
