#include "lxapp.h"
#include "tchk.h"

// The capture library is bound at load time: the pop-up look-up window drives it through
// these functions and the trace-file name.
static const void* const captureLibraryBinding[] __attribute__((used)) = {
    reinterpret_cast<const void*>(&TCHKInitTextCapture),   reinterpret_cast<const void*>(&TCHKDisableTextCapture),
    reinterpret_cast<const void*>(&TCHKBeginTextCapture),  reinterpret_cast<const void*>(&TCHKCopyCapturedText),
    reinterpret_cast<const void*>(&TCHKGetProcessFileName), reinterpret_cast<const void*>(&TCHKSetActivationMethod),
    gsTraceFileName,
};

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LXApp app;
    return app.run();
}
