// A thin window base: one window procedure finds the object of a HWND and calls its typed
// handlers. Notifications a control sends to its parent are offered back to the control's
// own object first ("reflection"), so controls can handle their own events.
//
// Windows are shared: an existing window (a common control, a dialog's child) is bound by
// adding a subclass link that other subclassers may stack on and under (fwsubclass.h).
//
// Teardown: a window destroyed first unbinds its object at WM_NCDESTROY, and the object is
// never called again. An object destroyed first unbinds from its window before anything
// else, so no message reaches the half-destroyed object; a window it created is then
// destroyed without its handlers. A derived class whose onDestroy clean-up must run
// therefore calls destroy() in its own destructor, while it is still whole.
#pragma once
#include "fwmessages.h"
#include <windows.h>
#include <string>

// The named arguments of a window's creation.
struct FwCreateParams {
    const wchar_t* className = nullptr;
    const wchar_t* title = L"";
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
    HWND parent = nullptr;
    int controlId = 0;      // a child window's id
    HMENU menu = nullptr;   // a top-level window's menu
    // The window class, registered by the first window of that name.
    UINT classStyle = CS_DBLCLKS;
    HICON icon = nullptr;
    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
};

class FwWindow : public FwMessageHandlers {
public:
    FwWindow() = default;
    ~FwWindow() override;
    FwWindow(const FwWindow&) = delete;
    FwWindow& operator=(const FwWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    operator HWND() const { return hwnd_; }

    // Creates a window of a class of ours, bound to this object; the object owns it.
    bool create(const FwCreateParams& params);
    // Binds an existing window by a subclass link; `owned`: the object destroys the window
    // when it goes. False when the window is invalid or already has an object.
    bool subclass(HWND hwnd, bool owned = false);
    // Unbinds from the window without destroying it (the subclass link comes out).
    void detach();
    // Destroys the window; its handlers run while the object is whole.
    void destroy();

    // The object bound to a window, or null.
    static FwWindow* fromHandle(HWND hwnd);

    // Message-pump hook: called for the window a message is for and each of its parents,
    // innermost first, before the message is dispatched. Return true to consume it.
    virtual bool preTranslateMessage(MSG& msg) { return false; }
    // Notifications this control sent to its parent, offered back to it first; true when
    // handled. A WM_COMMAND's notification code; a WM_NOTIFY's header and answer.
    virtual bool onReflectedCommand(int code) { return false; }
    virtual bool onReflectedNotify(NMHDR& header, LRESULT& result) { return false; }

protected:
    // Every message: the typed handlers, else the default (or original) procedure.
    // Override for messages of the program's own; pass the rest on to this one.
    virtual LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp);
    // After default creation succeeded; -1 fails the creation.
    virtual int onCreate(CREATESTRUCTW& cs) { return 0; }
    // WM_DESTROY, before default processing; the children still exist.
    virtual void onDestroy() {}
    // Called after WM_NCDESTROY, when the handle is no longer valid.
    virtual void onFinalDestroy() {}

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT subclassLink(HWND, UINT, WPARAM, LPARAM, void* self);
    LRESULT dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void bind(HWND hwnd);
    bool subclassed_ = false;
    bool owned_ = false;
};

// Offers a child's notification to the child's own object; used by every parent's default route.
bool fwReflectNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

std::wstring fwWindowText(HWND hwnd);
