// STAND-IN for the capture library until it is built: the same exports and ordinals, and
// no capture at all. Init refuses (no fly window), a capture request is refused, and there
// is never any captured text.
#define TCHK_BUILDING
#include "tchk.h"

wchar_t gsTraceFileName[260] = {0};

HWND WINAPI TCHKInitTextCapture(HMODULE, HWND) { return nullptr; }
void WINAPI TCHKDisableTextCapture() {}
UINT_PTR WINAPI TCHKBeginTextCapture(const POINT*) { return 0; }
BOOL WINAPI TCHKCopyCapturedText(wchar_t* buffer, int capacity) {
    // The result is empty: it fits any buffer of at least one character.
    if (!buffer || capacity < 1) return FALSE;
    buffer[0] = L'\0';
    return TRUE;
}
void WINAPI SetAllTextHooks() {}
void WINAPI TCHKEndTextCapture() {}
void WINAPI TCHKGetProcessFileName(wchar_t* buffer) {
    if (buffer) buffer[0] = L'\0';
}
void WINAPI TCHKSetActivationMethod(int, int, BOOL) {}
void WINAPI UnhookAllTextHooks() {}
