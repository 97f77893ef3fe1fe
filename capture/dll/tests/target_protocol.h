// What the capture driver and the test target say to each other besides the probe file.
#pragma once

#include <windows.h>

namespace tchk_test {

constexpr UINT kMsgSleep = WM_APP + 1;  // the target sleeps wParam milliseconds
constexpr UINT kMsgCount = WM_APP + 2;  // answers the counter wParam names
enum Counter { kF2Presses = 0, kRightClicks = 1, kPaints = 2, kPatchedPaints = 3, kCounterCount };

}  // namespace tchk_test
