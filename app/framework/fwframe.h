// The frame window of a single-document program: menu, accelerators and icon of one
// resource id, a toolbar and a status bar laid out around one view, command routing
// (view, frame, application) and command-UI updates of the menus as they open.
#pragma once
#include "fwbars.h"
#include "fwwindow.h"
#include <string>

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
    virtual bool onCommand(int id) { return false; }
    virtual bool onUpdateCommand(FwCmdUI& ui) { return false; }
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
    void setView(HWND view, FwCommandTarget* target) { view_ = view; viewTarget_ = target; }
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
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    virtual int onCreate(CREATESTRUCTW* cs) { return 0; }
    HACCEL accel_ = nullptr;
    FwToolBar toolBar_;
    FwStatusBar statusBar_;
    HWND view_ = nullptr;
    FwCommandTarget* viewTarget_ = nullptr;
    int resourceId_ = 0;

private:
    void updateMenu(HMENU menu);
};
