// The notification-area icon: added in tray mode, its menu on a right click, the menu's
// default command on a double click, back after the taskbar is recreated, and the animated
// hiding of the main window into the tray and its restoring.
#pragma once
#include "framework/fwwindow.h"
#include <windows.h>
#include <shellapi.h>
#include <string>

// The icon data's size for the version-5 layout (up to the balloon fields and guidItem).
constexpr DWORD kNotifyIconDataSize = 936;

class CSystemTray : public FwWindow {
public:
    CSystemTray();
    ~CSystemTray() override;

    // Adds the icon; `target` (or the application's main window when null) gets the menu's
    // commands. False when the system has no notification area or the add failed.
    bool create(HWND target, UINT callbackMessage, const std::wstring& tip, int iconId, int menuId,
                bool hidden = false, const std::wstring& balloonText = L"", const std::wstring& balloonTitle = L"",
                DWORD balloonIconFlags = 0, UINT balloonSeconds = 0);
    bool removeIcon();
    void setMenuDefaultItem(UINT item, bool byPosition);
    UINT menuDefaultItem() const { return defaultItem_; }
    bool isHidden() const { return hidden_; }
    bool isRemoved() const { return removed_; }
    const NOTIFYICONDATAW& iconData() const { return data_; }

    // Into the tray: animated (system setting or `force`), then kept under the hidden
    // "<application>_tray" window and made invisible; and back.
    static void minimizeToTray(HWND window, bool forceAnimation);
    static void restoreFromTray(HWND window, bool forceAnimation);
    // Where the animation ends: the notification area, else near the taskbar's end, else
    // the work area's corner.
    static RECT trayRectangle();
    // The hidden window the main window is kept under while in the tray (made once).
    static HWND trayParking();

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HWND target() const;
    bool add();
    void onIconMessage(WPARAM id, LPARAM mouse);
    UINT defaultCommand(HMENU popup) const;

    NOTIFYICONDATAW data_{};
    bool enabled_ = false, hidden_ = true, removed_ = true, readdPending_ = false, balloonCapable_ = false;
    HWND target_ = nullptr;
    UINT callback_ = 0, defaultItem_ = 0;
    bool defaultByPosition_ = true;
    UINT taskbarCreated_ = 0;
};
