// STAND-IN for the notification-area icon until it is built: it keeps the calls the frame
// makes and, instead of an icon, only hides and shows the window.
#pragma once
#include <windows.h>
#include <string>

class CSystemTray {
public:
    bool create(HWND owner, UINT callbackMessage, const std::wstring& tip, int iconId, int menuId) {
        owner_ = owner;
        return owner != nullptr;
    }
    void setMenuDefaultItem(int id) { defaultItem_ = id; }
    int menuDefaultItem() const { return defaultItem_; }
    void hideToTray(HWND w) { ShowWindow(w, SW_HIDE); }
    void restoreFromTray(HWND w) {
        ShowWindow(w, SW_RESTORE);
        SetForegroundWindow(w);
    }
    void remove() { owner_ = nullptr; }

private:
    HWND owner_ = nullptr;
    int defaultItem_ = 0;
};
