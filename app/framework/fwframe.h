// The frame window of a single-document program: menu, accelerators and icon of one
// resource id, a toolbar and a status bar laid out around one view, command routing
// (view, frame, application) and command-UI updates of the menus as they open.
#pragma once
#include "fwbars.h"
#include "fwwindow.h"
#include <string>

// The framework's idle prompt (the status bar's text while no menu item is picked), and
// where the prompts of the system-menu commands SC_SIZE .. SC_RESTORE live: the prompt of
// command c is kFwFirstSysPrompt + (c - kFwFirstSysCommand) / 16.
constexpr int kFwIdleMessage = 0xE001;
constexpr UINT kFwFirstSysCommand = SC_SIZE;
constexpr UINT kFwEndSysCommands = 0xF1F0;
constexpr UINT kFwFirstSysPrompt = 0xEF00;

// What a command-UI handler can change on a menu item.
class FwCmdUI {
public:
    FwCmdUI(HMENU menu, UINT index, int id) : menu_(menu), index_(index), id_(id) {}
    int id() const { return id_; }
    void enable(bool on);
    void setCheck(bool on);
    void setText(const std::wstring& text);
    bool handled() const { return handled_; }
    void setHandled() { handled_ = true; }

private:
    HMENU menu_;
    UINT index_;
    int id_;
    bool handled_ = false;
};

// A window taking part in the command route below the frame (the view).
class FwCommandTarget {
public:
    virtual ~FwCommandTarget() = default;
    // A menu, toolbar or accelerator command; true when handled.
    virtual bool onRoutedCommand(int id) { return false; }
    // The state of a command's menu item as its menu opens; true when handled.
    virtual bool onUpdateCommandUI(FwCmdUI& ui) { return false; }
};

class FwDocument {
public:
    virtual ~FwDocument() = default;
    // The open routine; the document decides what the path means.
    virtual bool onOpenDocument(const std::wstring& path) = 0;
};

class FwFrameWindow : public FwWindow, public FwCommandTarget {
public:
    // Creates the frame with the menu, accelerators and icon of resource `resourceId`.
    bool createFrame(const wchar_t* className, int resourceId, const std::wstring& title, DWORD style);
    HACCEL accelerators() const { return accel_; }
    // The view: the frame's child window that fills the space between the bars. Its
    // object takes part in the command route while it is bound to that window.
    void setView(HWND view) { view_ = view; }
    HWND view() const { return view_; }
    FwToolBar& toolBar() { return toolBar_; }
    FwStatusBar& statusBar() { return statusBar_; }
    void showControlBar(FwWindow& bar, bool show);
    void recalcLayout();
    // The status-bar text for a command id (the menu prompt); the default is empty.
    virtual std::wstring messageString(int id) { return std::wstring(); }
    void setMessageText(int id);
    // Runs a command down the route; true when somebody handled it.
    bool routeCommand(int id);

protected:
    bool onSize(UINT kind, int cx, int cy) override;
    bool onSetFocus(HWND previous) override;
    bool onInitMenuPopup(HMENU menu, int position, bool systemMenu) override;
    bool onMenuSelect(UINT item, UINT flags, HMENU menu) override;
    bool onCommand(int id, int code, HWND control) override;
    bool onClose() override;
    void onDestroy() override;
    // The view's object, while one is bound to the view window.
    FwCommandTarget* viewTarget() const;

    HACCEL accel_ = nullptr;
    FwToolBar toolBar_;
    FwStatusBar statusBar_;
    HWND view_ = nullptr;
    int resourceId_ = 0;

private:
    void updateMenu(HMENU menu);
};
