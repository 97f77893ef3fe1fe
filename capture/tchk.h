// The capture library's interface as the program binds it.
#pragma once
#include <windows.h>

#ifdef TCHK_BUILDING
#define TCHK_API extern "C"  // exports and their ordinals come from tchk.def
#else
#define TCHK_API extern "C" __declspec(dllimport)
#endif

TCHK_API HWND WINAPI TCHKInitTextCapture(HMODULE module, HWND notifyWindow);
TCHK_API void WINAPI TCHKDisableTextCapture();
TCHK_API UINT_PTR WINAPI TCHKBeginTextCapture(const POINT* point);
TCHK_API BOOL WINAPI TCHKCopyCapturedText(wchar_t* buffer, int capacity);
TCHK_API void WINAPI SetAllTextHooks();
TCHK_API void WINAPI TCHKEndTextCapture();
TCHK_API void WINAPI TCHKGetProcessFileName(wchar_t* buffer);
TCHK_API void WINAPI TCHKSetActivationMethod(int virtualKey, int button, BOOL swallow);
TCHK_API void WINAPI UnhookAllTextHooks();
TCHK_API wchar_t gsTraceFileName[260];
