#include "systemtray.h"
#include "framework/fwapp.h"
#include "settings.h"
#include <algorithm>

namespace {
const wchar_t kTrayWindowClass[] = L"WordmereTrayIcon";
constexpr int kClockMargin = 5;
constexpr int kTaskbarEndOffset = 100, kTaskbarEndInset = 16, kCornerWidth = 150, kCornerHeight = 30;

bool systemAnimates() {
    ANIMATIONINFO info{};
    info.cbSize = sizeof info;
    return SystemParametersInfoW(SPI_GETANIMATION, sizeof info, &info, 0) && info.iMinAnimate != 0;
}

template <size_t N>
void copyText(wchar_t (&dst)[N], const std::wstring& text, size_t limit) {
    size_t n = std::min({text.size(), limit, N - 1});
    std::copy(text.begin(), text.begin() + static_cast<ptrdiff_t>(n), dst);
    dst[n] = L'\0';
}
}  // namespace

CSystemTray::CSystemTray() { taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated"); }

CSystemTray::~CSystemTray() {
    removeIcon();
    destroy();
}

HWND CSystemTray::target() const {
    if (target_) return target_;
    FwApp* app = FwApp::instance();
    return app ? app->mainWindow() : nullptr;
}

bool CSystemTray::create(HWND target, UINT callbackMessage, const std::wstring& tip, int iconId, int menuId,
                         bool hidden, const std::wstring& balloonText, const std::wstring& balloonTitle,
                         DWORD balloonIconFlags, UINT balloonSeconds) {
    DWORD version = GetVersion();
    enabled_ = LOBYTE(LOWORD(version)) >= 4;
    if (!enabled_) return false;
    OSVERSIONINFOW vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    balloonCapable_ = GetVersionExW(&vi) && vi.dwPlatformId == VER_PLATFORM_WIN32_NT && vi.dwMajorVersion > 4;
    target_ = target;
    callback_ = callbackMessage;
    if (!hwnd_) {
        FwCreateParams p;
        p.className = kTrayWindowClass;
        p.style = WS_POPUP;
        if (!FwWindow::create(p)) return false;
    }
    data_ = NOTIFYICONDATAW{};
    data_.cbSize = kNotifyIconDataSize;
    // The icon's messages come to the hidden window, which hands the commands to the target.
    data_.hWnd = hwnd_;
    data_.uID = static_cast<UINT>(menuId);
    data_.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId));
    data_.uCallbackMessage = callbackMessage;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    copyText(data_.szTip, tip, 127);
    if (balloonCapable_ && !balloonText.empty()) {
        data_.uFlags |= NIF_INFO;
        copyText(data_.szInfo, balloonText, 255);
        copyText(data_.szInfoTitle, balloonTitle, 63);
        data_.uTimeout = balloonSeconds * 1000;
        data_.dwInfoFlags = balloonIconFlags;
    }
    if (balloonCapable_ && hidden) {
        data_.uFlags |= NIF_STATE;
        data_.dwState = NIS_HIDDEN;
        data_.dwStateMask = NIS_HIDDEN;
    }
    if (hidden && !balloonCapable_) {
        hidden_ = removed_ = true;
        return true;
    }
    bool ok = add();
    hidden_ = removed_ = readdPending_ = !ok;
    if (ok && hidden) hidden_ = true;
    return ok;
}

bool CSystemTray::add() { return Shell_NotifyIconW(NIM_ADD, &data_) != FALSE; }

bool CSystemTray::removeIcon() {
    if (!enabled_ || removed_) return true;
    NOTIFYICONDATAW d = data_;
    d.uFlags = 0;
    if (!Shell_NotifyIconW(NIM_DELETE, &d)) return false;
    removed_ = hidden_ = true;
    return true;
}

void CSystemTray::setMenuDefaultItem(UINT item, bool byPosition) {
    if (item == defaultItem_ && byPosition == defaultByPosition_) return;
    defaultItem_ = item;
    defaultByPosition_ = byPosition;
}

UINT CSystemTray::defaultCommand(HMENU popup) const {
    if (!defaultByPosition_) return defaultItem_;
    return popup ? GetMenuItemID(popup, static_cast<int>(defaultItem_)) : 0;
}

void CSystemTray::onIconMessage(WPARAM id, LPARAM mouse) {
    if (id != data_.uID) return;
    HWND to = target();
    if (mouse == WM_RBUTTONUP) {
        HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(data_.uID));
        if (!menu) return;
        if (HMENU popup = GetSubMenu(menu, 0)) {
            SetMenuDefaultItem(popup, defaultItem_, defaultByPosition_ ? TRUE : FALSE);
            POINT at;
            GetCursorPos(&at);
            SetForegroundWindow(to);
            TrackPopupMenu(popup, TPM_LEFTBUTTON, at.x, at.y, 0, to, nullptr);
            PostMessageW(to, WM_NULL, 0, 0);
        }
        DestroyMenu(menu);
    } else if (mouse == WM_LBUTTONDBLCLK) {
        UINT command = defaultItem_;
        if (defaultByPosition_) {
            HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(data_.uID));
            command = menu ? defaultCommand(GetSubMenu(menu, 0)) : 0;
            if (menu) DestroyMenu(menu);
        }
        SetForegroundWindow(to);
        if (command && command != static_cast<UINT>(-1)) PostMessageW(to, WM_COMMAND, command, 0);
    }
}

LRESULT CSystemTray::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (callback_ && msg == callback_) {
        onIconMessage(wp, lp);
        return 0;
    }
    if (taskbarCreated_ && msg == taskbarCreated_) {
        // An icon whose add failed (no notification area then) is added now; one hidden on
        // purpose stays hidden.
        bool wanted = !hidden_ || readdPending_;
        readdPending_ = true;
        if (wanted) {
            // A shell that kept the icon (Wine does) refuses a second add; the icon is there.
            bool ok = add() || Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
            hidden_ = readdPending_ = !ok;
            removed_ = !ok;
        }
        return 0;
    }
    if (msg == WM_SETTINGCHANGE && wp == SPI_SETWORKAREA) {
        // A failed add stays pending for the taskbar's announcement.
        if (!hidden_) {
            readdPending_ = true;
            add();
        }
        return 0;
    }
    return FwWindow::handleMessage(msg, wp, lp);
}

RECT CSystemTray::trayRectangle() {
    RECT r{};
    if (HWND bar = FindWindowW(L"Shell_TrayWnd", nullptr)) {
        GetWindowRect(bar, &r);
        // Without a notification child (as under Wine) the taskbar's own rectangle stays.
        if (HWND notify = FindWindowExW(bar, nullptr, L"TrayNotifyWnd", nullptr)) {
            GetWindowRect(notify, &r);
            if (HWND clock = FindWindowExW(notify, nullptr, L"TrayClockWClass", nullptr)) {
                RECT c;
                GetWindowRect(clock, &c);
                if (c.bottom < r.bottom - kClockMargin)
                    r.top = c.bottom;
                else
                    r.right = c.left;
            }
        }
        return r;
    }
    APPBARDATA bar{};
    bar.cbSize = sizeof bar;
    if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar)) {
        r = bar.rc;
        if (bar.uEdge == ABE_LEFT || bar.uEdge == ABE_RIGHT) {
            r.top = bar.rc.bottom - kTaskbarEndOffset;
            r.bottom = bar.rc.bottom - kTaskbarEndInset;
        } else {
            r.left = bar.rc.right - kTaskbarEndOffset;
            r.right = bar.rc.right - kTaskbarEndInset;
        }
        return r;
    }
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    r.left = r.right - kCornerWidth;
    r.top = r.bottom - kCornerHeight;
    return r;
}

HWND CSystemTray::trayParking() {
    static HWND parking = nullptr;
    if (parking && IsWindow(parking)) return parking;
    std::wstring title = applicationName() + L"_tray";
    parking = CreateWindowExW(0, L"Static", title.c_str(), WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    return parking;
}

void CSystemTray::minimizeToTray(HWND window, bool force) {
    if (force || systemAnimates()) {
        RECT from, to = trayRectangle();
        GetWindowRect(window, &from);
        DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
    }
    if (HWND parking = trayParking()) SetParent(window, parking);
    SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) & ~WS_VISIBLE);
}

void CSystemTray::restoreFromTray(HWND window, bool force) {
    SetParent(window, nullptr);
    if (force || systemAnimates()) {
        RECT from = trayRectangle(), to;
        GetWindowRect(window, &to);
        DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
    }
    SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_VISIBLE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    if (HWND parking = FindWindowW(nullptr, (applicationName() + L"_tray").c_str())) SetActiveWindow(parking);
    SetActiveWindow(window);
    SetForegroundWindow(window);
}
