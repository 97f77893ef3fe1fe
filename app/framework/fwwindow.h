// A thin window base: one window procedure finds the object of a HWND and calls its
// virtual handler. Notifications a control sends to its parent are offered back to the
// control's own object first ("reflection"), so controls can handle their own events.
#pragma once
#include <windows.h>
#include <string>

class FwWindow {
public:
    FwWindow() = default;
    virtual ~FwWindow();
    FwWindow(const FwWindow&) = delete;
    FwWindow& operator=(const FwWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    operator HWND() const { return hwnd_; }

    // Registers (once) a window class of ours and creates the window bound to this object.
    bool create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                int x, int y, int w, int h, HWND parent, HMENU menuOrId, HICON icon = nullptr,
                UINT classStyle = CS_DBLCLKS);
    // Binds an existing window (e.g. a common control) to this object by subclassing it.
    void subclass(HWND hwnd);
    // Gives a subclassed window its own procedure back and unbinds it from this object.
    void unsubclass();
    void destroy();

    // The object bound to a window, or null.
    static FwWindow* fromHandle(HWND hwnd);

    // Message-pump hook: called for the window a message is for and each of its parents,
    // innermost first, before the message is dispatched. Return true to consume it.
    virtual bool preTranslateMessage(MSG& msg) { return false; }
    // A notification this control sent to its parent (WM_COMMAND, WM_NOTIFY); true when handled.
    virtual bool onReflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) { return false; }

protected:
    // The one handler; the default passes the message on to the default or original procedure.
    virtual LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp);
    // Called after WM_NCDESTROY, when the handle is no longer valid.
    virtual void onFinalDestroy() {}

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK subclassProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT dispatch(FwWindow* self, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    WNDPROC original_ = nullptr;
};

// Offers a child's notification to the child's own object; used by every parent's default route.
bool fwReflectNotification(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

std::wstring fwWindowText(HWND hwnd);
