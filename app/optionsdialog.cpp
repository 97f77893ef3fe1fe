#include "optionsdialog.h"
#include "dialogsupport.h"
#include "lxapp.h"
#include "lxframe.h"
#include "options.h"
#include "settings.h"
#include <algorithm>

const wchar_t kHotKeyWindowName[] = L"Wordmere Hotkey";

namespace {
enum OptionsString {
    kTitleString = 13240, kGroupString = 13110, kDescriptionString = 13250, kActivationString = 13120,
    kEnableString = 13190, kNeedsNtString = 13230, kShowHotKeyString = 13260, kLanguageString = 13100,
    kUseThemeString = 13270, kRestartString = 13280, kOkString = 13590, kCancelString = 12030
};
// The layout, in pixels: margins and the gap between rows.
constexpr int kMargin = 20, kRowGap = 8, kLabelGap = 8;
constexpr int kWindows2000Major = 5;

bool windows2000OrLater() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return false;
#pragma GCC diagnostic pop
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= kWindows2000Major;
}

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
void setChecked(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

RECT controlRect(HWND dialog, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
int heightOf(HWND dialog, int id) {
    RECT r = controlRect(dialog, id);
    return r.bottom - r.top;
}
void place(HWND dialog, int id, int x, int y, int width, int height) {
    MoveWindow(GetDlgItem(dialog, id), x, y, width, height, FALSE);
}
// The height a wrapped text needs at that width in the control's font.
int wrappedHeight(HWND control, int width) {
    std::wstring text = fwWindowText(control);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return r.bottom - r.top;
}
}  // namespace

bool COptionsDialog::reported(int method) const {
    return std::find(reported_.begin(), reported_.end(), method) != reported_.end();
}

void COptionsDialog::fillActivations() {
    HWND combo = GetDlgItem(hwnd_, kOptActivation);
    std::wstring stored = getSettingString(kSetHotkey);
    int chosen = -1;
    for (int method = 0; method < kActivationMethods; ++method) {
        if (reported(method)) continue;
        addComboEntry(combo, loadLocalizedString(hotKeyMethodStringId(method)), method);
        if (stored == loadLocalizedString(hotKeyMethodStringId(method), LXEnglish)) chosen = method;
    }
    selectComboCode(combo, chosen);
}

bool COptionsDialog::onInitDialog() {
    SetWindowTextW(hwnd_, loadLocalizedString(kTitleString).c_str());
    const struct {
        int control, text;
    } captions[] = {{kOptHotKeyGroup, kGroupString},  {kOptDescription, kDescriptionString},
                    {kOptActivationLabel, kActivationString}, {kOptHotKeyEnabled, kEnableString},
                    {kOptShowHotKey, kShowHotKeyString}, {kOptLanguageLabel, kLanguageString},
                    {kOptUseTheme, kUseThemeString},  {IDOK, kOkString},
                    {IDCANCEL, kCancelString}};
    for (const auto& c : captions) setControlString(hwnd_, c.control, c.text);
    fillActivations();

    if (windows2000OrLater()) {
        setChecked(hwnd_, kOptHotKeyEnabled, getSettingInt(kSetHotkeyDisabled) == 0);
    } else {
        setChecked(hwnd_, kOptHotKeyEnabled, false);
        EnableWindow(GetDlgItem(hwnd_, kOptHotKeyEnabled), FALSE);
        setControlString(hwnd_, kOptHotKeyEnabled, kNeedsNtString);
    }
    setChecked(hwnd_, kOptShowHotKey, getSettingInt(kSetShowHotkey) != 0);
    setChecked(hwnd_, kOptUseTheme, getSettingInt(kSetSkinningDisabled) != 0);

    // The interface languages of the menus; the stored one selected (English when the
    // stored name is unknown).
    HWND languages = GetDlgItem(hwnd_, kOptInterfaceLanguage);
    for (int code = LXEnglish; code < LXEnglish + kInterfaceLanguages; ++code)
        addComboEntry(languages, languageDisplayName(code, 0), code);
    selectComboCode(languages, currentInterfaceLanguage());
    layout();
    return true;
}

void COptionsDialog::layout() {
    const bool description = !appOption(kOptNoOptionsDescription);
    const bool showHotKey = appOption(kOptShowHotkeySettingHonoured);
    const bool theme = appOption(kOptSkinningSettingHonoured);
    ShowWindow(GetDlgItem(hwnd_, kOptDescription), description ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(hwnd_, kOptShowHotKey), showHotKey ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(hwnd_, kOptUseTheme), theme ? SW_SHOW : SW_HIDE);

    RECT client;
    GetClientRect(hwnd_, &client);
    const int width = client.right, inner = width - 2 * kMargin;
    const int comboHeight = heightOf(hwnd_, kOptActivation), checkHeight = heightOf(hwnd_, kOptHotKeyEnabled);
    const int labelHeight = heightOf(hwnd_, kOptActivationLabel), labelWidth = inner * 2 / 5;
    const int groupLeft = kMargin / 2, groupTop = kMargin / 2;
    int y = kMargin + kRowGap;  // under the group's caption
    if (description) {
        int h = wrappedHeight(GetDlgItem(hwnd_, kOptDescription), inner);
        place(hwnd_, kOptDescription, kMargin, y, inner, h);
        y += h + kRowGap;
    }
    place(hwnd_, kOptActivationLabel, kMargin, y + (comboHeight - labelHeight) / 2, labelWidth, labelHeight);
    place(hwnd_, kOptActivation, kMargin + labelWidth + kLabelGap, y, inner - labelWidth - kLabelGap, comboHeight * 8);
    y += comboHeight + kRowGap;
    place(hwnd_, kOptHotKeyEnabled, kMargin, y, inner, checkHeight);
    y += checkHeight + kRowGap;
    if (showHotKey) {
        place(hwnd_, kOptShowHotKey, kMargin, y, inner, checkHeight);
        y += checkHeight + kRowGap;
    }
    place(hwnd_, kOptHotKeyGroup, groupLeft, groupTop, width - 2 * groupLeft, y - groupTop);
    y += kRowGap + kMargin / 2;
    place(hwnd_, kOptLanguageLabel, kMargin, y + (comboHeight - labelHeight) / 2, labelWidth, labelHeight);
    place(hwnd_, kOptInterfaceLanguage, kMargin + labelWidth + kLabelGap, y, inner - labelWidth - kLabelGap,
          comboHeight * 8);
    y += comboHeight + kRowGap;
    if (theme) {
        place(hwnd_, kOptUseTheme, kMargin, y, inner, checkHeight);
        y += checkHeight + kRowGap;
    }
    RECT ok = controlRect(hwnd_, IDOK);
    const int bw = ok.right - ok.left, bh = ok.bottom - ok.top;
    y += kRowGap;
    place(hwnd_, IDCANCEL, width - kMargin / 2 - bw, y, bw, bh);
    place(hwnd_, IDOK, width - kMargin / 2 - 2 * bw - kRowGap, y, bw, bh);
    RECT want{0, 0, width, y + bh + kMargin / 2};
    AdjustWindowRectEx(&want, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)));
    SetWindowPos(hwnd_, nullptr, 0, 0, want.right - want.left, want.bottom - want.top, SWP_NOMOVE | SWP_NOZORDER);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void COptionsDialog::store() {
    if (appOption(kOptSkinningSettingHonoured)) {
        bool was = getSettingInt(kSetSkinningDisabled) != 0, now = checked(hwnd_, kOptUseTheme);
        setSettingInt(kSetSkinningDisabled, now ? 1 : 0);
        if (was != now) showMessageId(kRestartString);
    }
    if (appOption(kOptShowHotkeySettingHonoured)) {
        bool on = checked(hwnd_, kOptShowHotKey);
        setSettingInt(kSetShowHotkey, on ? 1 : 0);
        AppOptionFlags = on ? (AppOptionFlags | kOptShowHotkey) : (AppOptionFlags & ~kOptShowHotkey);
    }
    int language = static_cast<int>(selectedComboCode(GetDlgItem(hwnd_, kOptInterfaceLanguage), LXEnglish));
    if (language < LXEnglish || language >= LXEnglish + kInterfaceLanguages) language = LXEnglish;
    setSettingString(kSetInterfaceLanguage, languageDisplayName(language, LXEnglish));
    int method = static_cast<int>(selectedComboCode(GetDlgItem(hwnd_, kOptActivation), 0));
    setSettingString(kSetHotkey, loadLocalizedString(hotKeyMethodStringId(method), LXEnglish));
    bool enabled = checked(hwnd_, kOptHotKeyEnabled);
    if (IsWindowEnabled(GetDlgItem(hwnd_, kOptHotKeyEnabled))) setSettingInt(kSetHotkeyDisabled, enabled ? 0 : 1);
    if (HWND popup = FindWindowW(nullptr, kHotKeyWindowName)) {
        SendMessageW(popup, WM_HOTKEY_RELOAD, 0, 0);
        SendMessageW(popup, WM_HOTKEY_ENABLE, enabled ? 1 : 0, 0);
    }
}

bool COptionsDialog::onCommand(int id, int code, HWND control) {
    if (id == IDOK) {
        store();
        endDialog(IDOK);
        return true;
    }
    return FwDialog::onCommand(id, code, control);
}

bool runOptionsDialog(HWND parent) {
    LXApp* app = theApp();
    COptionsDialog dialog(app ? app->reportedHotKeyMethods() : std::vector<int>());
    return dialog.run(parent) == IDOK;
}
