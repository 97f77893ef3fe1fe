// Dialogs from templates: one dialog procedure finds the object and calls its handlers.
#pragma once
#include <windows.h>

class FwDialog {
public:
    explicit FwDialog(int templateId) : templateId_(templateId) {}
    virtual ~FwDialog();
    FwDialog(const FwDialog&) = delete;
    FwDialog& operator=(const FwDialog&) = delete;

    // Runs the dialog modally; the result is what endDialog was given, or -1 when the
    // template could not be loaded.
    INT_PTR runModal(HWND parent);
    // Creates the dialog modeless; the object stays bound until the window is destroyed.
    bool createModeless(HWND parent);
    HWND hwnd() const { return hwnd_; }

protected:
    virtual bool onInitDialog() { return true; }
    // A WM_COMMAND; the default ends on IDOK and IDCANCEL with that id.
    virtual bool onCommand(int id, int code, HWND control);
    virtual INT_PTR handleMessage(UINT msg, WPARAM wp, LPARAM lp) { return FALSE; }
    void endDialog(INT_PTR result);

    HWND hwnd_ = nullptr;
    int templateId_;
    bool modal_ = false;

private:
    static INT_PTR CALLBACK dialogProc(HWND, UINT, WPARAM, LPARAM);
};
