// The capture library's interface as the program binds it: the control functions, the
// notifications it sends and the trace-file name the program sets.
#pragma once
#include <windows.h>

#ifdef TCHK_BUILDING
#define TCHK_API extern "C"  // exports and their ordinals come from tchk.def
#else
#define TCHK_API extern "C" __declspec(dllimport)
#endif

// Messages to the notify window given to TCHKInitTextCapture. Each exchange is closed by a
// WM_LBUTTONDOWN with lParam 0x10001.
#define TCHK_WM_TEXT_CAPTURED 0x83F3              // the word is ready: TCHKCopyCapturedText
#define TCHK_WM_BEGIN_CAPTURE 0x83F4              // the activation: answer with TCHKBeginTextCapture
#define TCHK_WM_CAPTURE_BY_ACCESSIBILITY 0x83F5   // 200 ms passed without a word

// Arms the library: the system-wide message hook and the fly window, which it returns (null
// on failure). The module handle is not used.
TCHK_API HWND WINAPI TCHKInitTextCapture(HMODULE module, HWND notifyWindow);
TCHK_API void WINAPI TCHKDisableTextCapture();
// Starts a capture at a screen point: the timer id (above 1), 1 while a capture runs, 0 when
// refused.
TCHK_API UINT_PTR WINAPI TCHKBeginTextCapture(const POINT* point);
// The captured word followed by one blank; false when it does not fit.
TCHK_API BOOL WINAPI TCHKCopyCapturedText(wchar_t* buffer, int capacity);
TCHK_API void WINAPI SetAllTextHooks();
TCHK_API void WINAPI TCHKEndTextCapture();
// The program path of the last target (260 characters).
TCHK_API void WINAPI TCHKGetProcessFileName(wchar_t* buffer);
// Virtual key (0: none), button (0 key press, 1 left, 2 middle, 3 right), whether the
// triggering message is swallowed.
TCHK_API void WINAPI TCHKSetActivationMethod(int virtualKey, int button, BOOL swallow);
TCHK_API void WINAPI UnhookAllTextHooks();
TCHK_API wchar_t gsTraceFileName[260];
