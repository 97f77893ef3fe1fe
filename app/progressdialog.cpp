#include "progressdialog.h"
#include "lxframe.h"
#include "settings.h"
#include <commctrl.h>
#include <memory>

namespace {
constexpr int kCancelCaption = 12030;
std::unique_ptr<CProgressDialog> gProgress;
}  // namespace

void CProgressDialog::clampedPosition(long long position, long long total, int& outPosition, int& outTotal) {
    if (total < 0) total = 0;
    if (total > INT_MAX) total = INT_MAX;
    if (position < 0) position = 0;
    if (position > total) position = total;
    outPosition = static_cast<int>(position);
    outTotal = static_cast<int>(total);
}

bool CProgressDialog::open(HWND owner, const std::wstring& text) {
    owner_ = owner;
    text_ = text;
    if (!createModeless(owner)) return false;
    ShowWindow(hwnd_, SW_SHOW);
    return true;
}

bool CProgressDialog::onInitDialog() {
    SetDlgItemTextW(hwnd_, IDCANCEL, loadLocalizedString(kCancelCaption).c_str());
    SetDlgItemTextW(hwnd_, kProgressText, text_.c_str());
    SetWindowTextW(hwnd_, applicationName().c_str());
    SendDlgItemMessageW(hwnd_, kProgressBar, PBM_SETRANGE32, 0, 100);
    return true;
}

bool CProgressDialog::onCommand(int id, int, HWND) {
    if (id != IDCANCEL) return false;
    int position = static_cast<int>(SendDlgItemMessageW(hwnd_, kProgressBar, PBM_GETPOS, 0, 0));
    if (owner_) PostMessageW(owner_, WM_PROGRESS_CANCELLED, static_cast<WPARAM>(position), 0);
    DestroyWindow(hwnd_);
    return true;
}

INT_PTR CProgressDialog::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PROGRESS_SETPOS: {
        int position, total;
        // The counts are unsigned on the way (bytes of a download).
        clampedPosition(static_cast<long long>(static_cast<UINT>(wp)), static_cast<long long>(static_cast<UINT>(lp)),
                        position, total);
        SendDlgItemMessageW(hwnd_, kProgressBar, PBM_SETRANGE32, 0, total);
        SendDlgItemMessageW(hwnd_, kProgressBar, PBM_SETPOS, position, 0);
        return TRUE;
    }
    case WM_PROGRESS_SETTEXT:
        if (lp) SetDlgItemTextW(hwnd_, kProgressText, reinterpret_cast<const wchar_t*>(lp));
        UpdateWindow(hwnd_);
        return TRUE;
    }
    return FALSE;
}

HWND openProgressWindow(HWND owner, const std::wstring& text) {
    gProgress = std::make_unique<CProgressDialog>();
    if (!gProgress->open(owner, text)) return nullptr;
    return gProgress->hwnd();
}
