// STAND-IN for the skin engine until it is linked into the program: every call answers as
// the engine does when it was never started (0, with the thread's error code 19), so the
// program runs with the platform's own look.
#include "skin_interface.h"

namespace {
thread_local uint32_t tError = 0;
int notStarted() {
    tError = 19;
    return 0;
}
}  // namespace

int skinStartup(HINSTANCE, uint32_t, uint32_t, uint32_t) { return notStarted(); }
int skinShutdown() { return 0; }
int skinOpenFile(const wchar_t*) { return notStarted(); }
int skinOpenResource(HINSTANCE, const wchar_t*, const wchar_t*) { return notStarted(); }
int skinApplyToFrame(HWND, const wchar_t*) { return notStarted(); }
int skinDetachWindow(HWND) { return notStarted(); }
int skinSetDefaultDialog(const wchar_t*) { return notStarted(); }
int skinClearDefaultDialog() { return notStarted(); }
int skinApplyToDialog(HWND, const wchar_t*) { return notStarted(); }
int skinApplyToControl(HWND, const wchar_t*, const wchar_t*) { return notStarted(); }
int skinAttachScrollBars(HWND, int) { return notStarted(); }
int skinDetachScrollBars(HWND) { return notStarted(); }
int skinShowPopupMenu(HMENU, UINT, int, int, HWND) { return notStarted(); }
int skinWatchWindow(HWND, UINT) { return notStarted(); }
int skinUnwatchWindow(HWND) { return notStarted(); }
void* skinFindObject(const wchar_t*) {
    tError = 8;  // no current skin: nothing is found
    return nullptr;
}
int skinObjectColor(void*, const wchar_t*, COLORREF*) { return 0; }
int skinReleaseObject(void*) { return 0; }
COLORREF skinSystemColor(int) { return static_cast<COLORREF>(notStarted()); }
uint32_t skinLastError() { return tError; }
