// Times the repaint of a whole frame (non-client area and client background) of a window
// skinned with the default skin against the same window painted by the system, in one run:
//   skin_frame_paint_bench [SKIN_FILE] [ROUNDS]
// It prints the median of each and their ratio. A timed tool, not a test: run it in a display.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "skin_interface.h"

namespace {

constexpr UINT kWholeRepaint = RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN;
constexpr int kDefaultRounds = 40;

void pump()
{
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

HMENU makeMenu()
{
    HMENU bar = CreateMenu();
    for (const wchar_t *name : {L"&File", L"&Edit", L"&View", L"&Tools", L"&Help"}) {
        HMENU sub = CreatePopupMenu();
        AppendMenuW(sub, MF_STRING, 100, L"Item");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), name);
    }
    return bar;
}

HWND makeWindow(int x)
{
    HWND w = CreateWindowExW(0, L"WordmerePaintBench", L"Wordmere", WS_OVERLAPPEDWINDOW, x, 40, 460, 360, nullptr,
                             makeMenu(), GetModuleHandleW(nullptr), nullptr);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    UpdateWindow(w);
    return w;
}

double microseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return 1e6 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double timeRepaint(HWND w, LARGE_INTEGER frequency)
{
    LARGE_INTEGER from, to;
    QueryPerformanceCounter(&from);
    RedrawWindow(w, nullptr, nullptr, kWholeRepaint);
    GdiFlush();
    QueryPerformanceCounter(&to);
    return microseconds(from, to, frequency);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    const std::wstring skin = argc > 1 ? argv[1] : std::wstring(L"skin.gvf");
    const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : kDefaultRounds;
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"WordmerePaintBench";
    RegisterClassW(&wc);
    if (skinStartup(GetModuleHandleW(nullptr)) != 1 || skinOpenFile(skin.c_str()) != 1) {
        std::fprintf(stderr, "cannot load the skin %ls (error %u)\n", skin.c_str(), skinLastError());
        return 1;
    }
    HWND plain = makeWindow(10);
    HWND skinned = makeWindow(500);
    if (skinApplyToFrame(skinned, L"MainFrame") != 1) {
        std::fprintf(stderr, "the frame could not be skinned (error %u)\n", skinLastError());
        return 1;
    }
    pump();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> plainTimes, skinnedTimes;
    // Alternating rounds, so that both see the same load on the machine.
    for (int i = 0; i < rounds; ++i) {
        plainTimes.push_back(timeRepaint(plain, frequency));
        pump();
        skinnedTimes.push_back(timeRepaint(skinned, frequency));
        pump();
    }
    const double p = median(plainTimes), s = median(skinnedTimes);
    std::printf("rounds %d\nunskinned median %.0f us\nskinned median %.0f us\nratio skinned/unskinned %.2f\n", rounds, p,
                s, p > 0 ? s / p : 0.0);
    DestroyWindow(skinned);
    DestroyWindow(plain);
    skinShutdown();
    return 0;
}
