// The visual-styles functions, looked up in UxTheme.dll at run time so the program also
// starts where the library is missing; without it (or without an entry point) every call
// gives the "no theme" answer: 0 for the handle and the two queries, E_FAIL for the rest.
#pragma once
#include <windows.h>
#include <uxtheme.h>
#include <string>

class CThemeApi {
public:
    // The process-wide instance over "UxTheme.dll", loaded once before start-up.
    static CThemeApi& instance();
    explicit CThemeApi(const wchar_t* library);
    ~CThemeApi();
    CThemeApi(const CThemeApi&) = delete;
    CThemeApi& operator=(const CThemeApi&) = delete;

    bool loaded() const { return module_ != nullptr; }

    HTHEME OpenThemeData(HWND window, LPCWSTR classList);
    HRESULT CloseThemeData(HTHEME theme);
    HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip);
    HRESULT GetThemeBackgroundContentRect(HTHEME theme, HDC dc, int part, int state, const RECT* bounds,
                                          RECT* content);
    BOOL IsThemeActive();
    BOOL IsAppThemed();
    HRESULT DrawThemeParentBackground(HWND window, HDC dc, const RECT* rect);

private:
    FARPROC entry(const char* name) const { return module_ ? GetProcAddress(module_, name) : nullptr; }
    HMODULE module_ = nullptr;
};

// Shows topic `id` (a string holding a path inside the help file, "::/...") of the help
// file in the data folder, or explains where the file was expected.
void openHelpTopic(int id);
// The help file's full path: data folder + "\" + string 8010.
std::wstring helpFilePath();
