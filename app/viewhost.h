// What the main view asks of the window that holds it (the main frame). The view finds its
// host as the object of its parent window, so it never calls a frame that is gone; the
// frame implements this without the view knowing its class.
#pragma once
#include <windows.h>
#include <string>

class LXViewHost {
public:
    virtual ~LXViewHost() = default;
    // The owner of the view's menus and dialogs.
    virtual HWND hostWindow() const = 0;
    // The toolbar's history buttons: whether a step forward (newer) and back (older) is possible.
    virtual void showHistoryButtons(bool forwardPossible, bool backPossible) = 0;
    virtual void showStatusText(const std::wstring& text) = 0;
    virtual void showIdlePrompt() = 0;
    // A command down the program's route (view, frame, application).
    virtual void runCommand(int id) = 0;
    virtual void applyInterfaceLanguage(int code) = 0;
    virtual void broadcastHotKeyQuestion() = 0;
};
