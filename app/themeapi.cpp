#include "themeapi.h"
#include "lxapp.h"
#include "options.h"
#include "settings.h"
#include "skin_interface.h"
#include <sys/stat.h>
#include <string>

namespace {
// Loaded by a static initialiser, before start-up, and released at process exit.
CThemeApi gTheme(L"UxTheme.dll");

template <typename F>
F as(FARPROC p) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(p));
}
}  // namespace

CThemeApi& CThemeApi::instance() { return gTheme; }

CThemeApi::CThemeApi(const wchar_t* library) : module_(LoadLibraryW(library)) {}

CThemeApi::~CThemeApi() {
    if (module_) FreeLibrary(module_);
}

HTHEME CThemeApi::OpenThemeData(HWND window, LPCWSTR classList) {
    auto f = as<HTHEME(WINAPI*)(HWND, LPCWSTR)>(entry("OpenThemeData"));
    return f ? f(window, classList) : nullptr;
}

HRESULT CThemeApi::CloseThemeData(HTHEME theme) {
    auto f = as<HRESULT(WINAPI*)(HTHEME)>(entry("CloseThemeData"));
    return f ? f(theme) : E_FAIL;
}

HRESULT CThemeApi::DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                                       const RECT* clip) {
    auto f = as<HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*)>(entry("DrawThemeBackground"));
    return f ? f(theme, dc, part, state, rect, clip) : E_FAIL;
}

HRESULT CThemeApi::GetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state, const RECT* bounds,
                                                 RECT* content) {
    auto f = as<HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, RECT*)>(entry("GetThemeBackgroundContentRect"));
    return f ? f(theme, dc, part, state, bounds, content) : E_FAIL;
}

BOOL CThemeApi::IsThemeActive() {
    auto f = as<BOOL(WINAPI*)()>(entry("IsThemeActive"));
    return f ? f() : FALSE;
}

BOOL CThemeApi::IsAppThemed() {
    auto f = as<BOOL(WINAPI*)()>(entry("IsAppThemed"));
    return f ? f() : FALSE;
}

HRESULT CThemeApi::DrawThemeParentBackground(HWND window, HDC dc, const RECT* rect) {
    auto f = as<HRESULT(WINAPI*)(HWND, HDC, const RECT*)>(entry("DrawThemeParentBackground"));
    return f ? f(window, dc, rect) : E_FAIL;
}

std::wstring helpFilePath() { return dataFolder() + L"\\" + loadLocalizedString(8010); }

void openHelpTopic(int id) {
    std::wstring topic = loadRawString(id);
    if (topic.empty()) return;
    std::wstring path = helpFilePath();
    std::wstring address = path + topic;
    HWND viewer = nullptr;
    struct _stat st;
    if (_wstat(path.c_str(), &st) == 0) {
        // The viewer lives in hhctrl.ocx; looked up at run time like the theme library.
        static HMODULE hh = LoadLibraryW(L"hhctrl.ocx");
        auto htmlHelp = hh ? as<HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR)>(GetProcAddress(hh, "HtmlHelpW"))
                           : nullptr;
        const UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC
        if (htmlHelp) viewer = htmlHelp(GetDesktopWindow(), address.c_str(), kDisplayTopic, 0);
        if (viewer) {
            if (!appOption(kOptSkinningOff)) {
                skinApplyToFrame(viewer, L"Dialog");
                skinAttachScrollBars(viewer, 3);
            }
            ShowWindow(viewer, SW_RESTORE);
        }
    }
    if (!viewer) {
        std::wstring text = replaceAll(loadLocalizedString(16000), L"<FOLDER>", dataFolder());
        showMessage(replaceAll(text, L"<FILE>", loadLocalizedString(8010)));
    }
}
