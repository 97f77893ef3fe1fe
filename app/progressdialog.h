// The progress dialog of an updater task (modeless, owned by the frame): an explanation
// line, a bar, and Cancel, which tells the owner (WM_PROGRESS_CANCELLED with the bar's
// position) and closes.
#pragma once
#include "framework/fwdialog.h"
#include <string>

#include "resource.h"
enum { kProgressDialog = IDD_PROGRESS, kProgressBar = IDC_PROGRESS_BAR, kProgressText = IDC_PROGRESS_TEXT };

class CProgressDialog : public FwDialog {
public:
    CProgressDialog() : FwDialog(kProgressDialog) {}
    // Shows the dialog owned by `owner` with the explanation `text`.
    bool open(HWND owner, const std::wstring& text);
    // The bar's range 0..total with the position clamped into it.
    static void clampedPosition(long long position, long long total, int& outPosition, int& outTotal);

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    INT_PTR handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    HWND owner_ = nullptr;
    std::wstring text_;
};

// Opens the frame's progress window (the one before it, if any, is closed).
HWND openProgressWindow(HWND owner, const std::wstring& text);
