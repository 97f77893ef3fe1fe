// The cost of the skin at the program's start, in one run: the program's main window and view
// made, laid out, shown and painted as the program makes them, without the skin engine and
// with it (the engine started and the skin it carries loaded, the windows skinned), in
// alternating rounds so that both see the same load on the machine. Prints the median of each
// and their ratio.
//
// Usage: wordmere_skin_startup_bench [ROUNDS]
#include "bench_app.h"
#include "bench_clock.h"
#include "lxapp.h"
#include "lxframe.h"
#include "lxview.h"
#include "skin_interface.h"
#include <commctrl.h>
#include <ole2.h>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using bench::nowMs;
using bench::pump;

constexpr int kDefaultRounds = 5;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// One start: the engine (when skinned), the windows, their first paint. Answers the time in
// milliseconds, or a negative value when a window could not be made.
double timeStart(bool skinned) {
    const double t0 = nowMs();
    if (skinned) LXApp::startSkinEngine(GetModuleHandleW(nullptr));
    double elapsed = -1;
    {
        LXFrame frame;
        LXView view;
        if (frame.createMainFrame() && view.createView(frame.hwnd(), nullptr)) {
            frame.setView(view.hwnd());
            frame.recalcLayout();
            view.initialUpdate();
            if (skinned) LXApp::skinMainWindows(frame.hwnd());
            MoveWindow(frame.hwnd(), 40, 40, 560, 440, TRUE);
            ShowWindow(frame.hwnd(), SW_SHOWNOACTIVATE);
            RedrawWindow(frame.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            pump();
            GdiFlush();
            elapsed = nowMs() - t0;
        }
        // The program's end: the engine first, then the windows.
        if (skinned) skinShutdown();
        frame.destroy();
    }
    pump();
    return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : kDefaultRounds;
    LXApp app;
    bench::startProgram(app);
    // A first start of each, untimed: the classes registered and the code paged in.
    if (timeStart(false) < 0 || timeStart(true) < 0) {
        std::fprintf(stderr, "the program's windows could not be made\n");
        return 1;
    }
    std::vector<double> plain, skinned;
    for (int i = 0; i < rounds; ++i) {
        const bool skinnedFirst = (i % 2) != 0;
        const double a = timeStart(skinnedFirst), b = timeStart(!skinnedFirst);
        plain.push_back(skinnedFirst ? b : a);
        skinned.push_back(skinnedFirst ? a : b);
        std::printf("round %d: unskinned %.1f ms, skinned %.1f ms\n", i + 1, plain.back(), skinned.back());
        std::fflush(stdout);
    }
    const double p = median(plain), s = median(skinned);
    std::printf("rounds %d\nunskinned median %.1f ms\nskinned median %.1f ms\nratio skinned/unskinned %.2f\n", rounds, p,
                s, p > 0 ? s / p : 0.0);
    OleUninitialize();
    return 0;
}
