// Dialogs from templates: one dialog procedure finds the object and calls its typed
// handlers (fwmessages.h). A control's WM_COMMAND and WM_NOTIFY are offered to the
// control's own object first, as windows do.
#pragma once
#include "fwmessages.h"
#include <windows.h>

class FwDialog : public FwMessageHandlers {
public:
    explicit FwDialog(int templateId) : templateId_(templateId) {}
    ~FwDialog() override;
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
    bool onCommand(int id, int code, HWND control) override;
    // A message no typed handler took; answers as a dialog procedure does (FALSE: not
    // handled). Messages with an answer of their own set it with setResult.
    virtual INT_PTR handleMessage(UINT msg, WPARAM wp, LPARAM lp) { return FALSE; }
    void setResult(LRESULT result);
    void endDialog(INT_PTR result);

    HWND hwnd_ = nullptr;
    int templateId_;
    bool modal_ = false;

private:
    static INT_PTR CALLBACK dialogProc(HWND, UINT, WPARAM, LPARAM);
    INT_PTR dispatch(UINT msg, WPARAM wp, LPARAM lp);
};
