// Probes of the controls' Windows tests on what a window shows: the colour at a client point,
// the pixels of an area that pass a test, and a real pointer move to a screen point.
#ifndef WORDMERE_SKIN_CONTROLS_TESTS_SCREEN_PROBES_H
#define WORDMERE_SKIN_CONTROLS_TESTS_SCREEN_PROBES_H

#include <windows.h>

#include "wine_waits.h"

// The colour a window shows at a client point (after its pending paints).
inline COLORREF shownAt(HWND w, int x, int y)
{
    UpdateWindow(w);
    HDC dc = GetDC(w);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}

template <class Test>
int countPixels(HWND w, const RECT &area, Test test)
{
    UpdateWindow(w);
    HDC dc = GetDC(w);
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += test(GetPixel(dc, x, y)) ? 1 : 0;
    ReleaseDC(w, dc);
    return n;
}

// Moves the real pointer to a screen point and lets the moves arrive.
inline void pointerAt(POINT screen)
{
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = screen.x * 65535 / (w - 1);
    input.mi.dy = screen.y * 65535 / (h - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    pumpFor(100);
}

#endif
