#include "fwtooltip.h"
#include <commctrl.h>
#include <vector>

namespace {
// Long texts wrap at this width, in pixels.
constexpr int kMaxTipWidth = 300;
}  // namespace

FwToolTip::~FwToolTip() { destroy(); }

bool FwToolTip::create(HWND owner) {
    destroy();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return false;
    owner_ = owner;
    SendMessageW(hwnd_, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    return true;
}

void FwToolTip::destroy() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    owner_ = nullptr;
}

TTTOOLINFOW FwToolTip::toolFor(HWND control) const {
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = owner_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    return ti;
}

bool FwToolTip::setText(HWND control, const std::wstring& text) {
    if (!hwnd_ || !control) return false;
    TTTOOLINFOW ti = toolFor(control);
    bool present = SendMessageW(hwnd_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
    ti = toolFor(control);
    if (text.empty()) {
        if (present) SendMessageW(hwnd_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        return true;
    }
    std::wstring copy = text;
    ti.lpszText = &copy[0];
    if (present) {
        SendMessageW(hwnd_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
        return true;
    }
    return SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

std::wstring FwToolTip::text(HWND control) const {
    if (!hwnd_) return std::wstring();
    std::vector<wchar_t> buf(1024, L'\0');
    TTTOOLINFOW ti = toolFor(control);
    ti.lpszText = buf.data();
    SendMessageW(hwnd_, TTM_GETTEXTW, buf.size(), reinterpret_cast<LPARAM>(&ti));
    return buf.data();
}

int FwToolTip::toolCount() const {
    return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, TTM_GETTOOLCOUNT, 0, 0)) : 0;
}
