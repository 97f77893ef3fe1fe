// Helpers of the skinned controls' Windows tests: the engine started on the default skin, the
// thread's queue emptied, and screenshots kept as artifacts.
#ifndef WORDMERE_SKIN_CONTROLS_TESTS_WIN_TEST_SUPPORT_H
#define WORDMERE_SKIN_CONTROLS_TESTS_WIN_TEST_SUPPORT_H

#include <windows.h>

#include <cstdio>
#include <string>

#include "skin_interface.h"
#include "skin_test_support.h"

// Starts the engine on this thread with the default skin; false when either fails.
inline bool startWithDefaultSkin()
{
    const std::string path = defaultSkinPath("skin.gvf");
    return skinStartup(GetModuleHandleW(nullptr)) == 1 && skinOpenFile(std::wstring(path.begin(), path.end()).c_str()) == 1;
}

// Dispatches what the thread's queue holds (a quit message is dropped).
inline void pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) DispatchMessageW(&msg);
    }
}

// Saves the window as it is on the screen (a 24-bit BMP) in the artifacts folder.
inline void saveShot(HWND window, const std::string &name)
{
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB};
    void *bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + stride * h), 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    CreateDirectoryA(WORDMERE_GUI_ARTIFACTS, nullptr);
    const std::string path = std::string(WORDMERE_GUI_ARTIFACTS) + "/" + name;
    if (FILE *f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, f);
        std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f);
        std::fwrite(bits, 1, stride * h, f);
        std::fclose(f);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(dib);
    ReleaseDC(nullptr, screen);
}

#endif
