// What the skinned scroll bars and the process-wide interception of the scroll-bar and
// colour functions offer the flat interface. They live with the skinned controls, above
// this library, which fills these in before the engine starts (skinControlsUseScrollBars);
// without them windows keep the platform's bars and nothing is intercepted.
#pragma once
#include <windows.h>

// The drawing style the interface gives attached bars: flat and hot-tracked.
constexpr int kSkinScrollBarsHotTracked = 2;

struct SkinScrollBarServices {
    int (*install)(HWND window) = nullptr;               // 1, or 0 when the window has them already
    int (*uninstall)(HWND window) = nullptr;
    int (*setSize)(HWND window, int which, int arrowLength, int thickness) = nullptr;
    int (*setStyle)(HWND window, int which, int style) = nullptr;
    int (*setMinThumb)(HWND window, int which, int size) = nullptr;
    int (*installHooks)() = nullptr;                      // when the engine first starts
    int (*removeHooks)() = nullptr;                       // when the last thread leaves it
};

void skinSetScrollBarServices(const SkinScrollBarServices &services);
const SkinScrollBarServices &skinScrollBarServices();
