// The steps of one capture shared by the exports, the message hook and the fly window.
#pragma once

#include <windows.h>

namespace tchk {

// Applies the request of the shared section when this process is the target and has not
// applied that value yet: 1 patches the text-output functions, 0 restores them and stores
// the program path of this process.
void applyPendingRequest();

// request := 0, and the target told: at once when it is this process, else with a send (it
// returns once the target has finished what it was drawing) and a post (its hook restores
// the functions).
void endCapture();

// The message hook that watches for the activation and applies requests.
LRESULT CALLBACK messageHook(int code, WPARAM removal, LPARAM message);

// The fly window: created hidden, shown over the point without activation by each begin.
HWND createFlyWindow();

// The capture's time-out on the fly window; false when no timer could be set.
bool startCaptureTimer();

// A running capture ends without waiting for its time-out (and without notifications).
void cancelCapture();

}  // namespace tchk
