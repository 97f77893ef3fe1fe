// The skin engine's flat interface as the shell calls it. Each call answers 0 (or null) on
// failure and leaves an error code for the calling thread (skinLastError); 19 when the engine
// was not started.
#pragma once
#include <windows.h>
#include <cstdint>

// Error codes left for the calling thread.
enum SkinErrorCode : uint32_t {
    kSkinErrorNone = 0,
    kSkinErrorClassNotRegistered = 1,
    kSkinErrorHookNotInstalled = 2,
    kSkinErrorFileUnreadable = 4,
    kSkinErrorExpansion = 5,
    kSkinErrorShortHeader = 6,
    kSkinErrorSignature = 7,
    kSkinErrorNoObject = 8,
    kSkinErrorScrollBars = 14,
    kSkinErrorResourceNotLoaded = 15,
    kSkinErrorNoResource = 16,
    kSkinErrorNotStarted = 19,
};

int skinStartup(HINSTANCE instance, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0);
int skinShutdown();
int skinOpenFile(const wchar_t* path);
int skinOpenResource(HINSTANCE instance, const wchar_t* name, const wchar_t* type);
int skinApplyToFrame(HWND window, const wchar_t* name);
int skinDetachWindow(HWND window);
int skinSetDefaultDialog(const wchar_t* name);
int skinClearDefaultDialog();
int skinApplyToDialog(HWND dialog, const wchar_t* name);
int skinApplyToControl(HWND control, const wchar_t* name, const wchar_t* container);
int skinAttachScrollBars(HWND window, int selector);
int skinDetachScrollBars(HWND window);
int skinShowPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner);
int skinWatchWindow(HWND window, UINT message);
int skinUnwatchWindow(HWND window);
void* skinFindObject(const wchar_t* name);
int skinObjectColor(void* object, const wchar_t* property, COLORREF* out);
int skinReleaseObject(void* object);
COLORREF skinSystemColor(int index);
// The calling thread's last error code.
uint32_t skinLastError();
// The default dialog skin (at most 50 characters), the platform class worked out at start-up,
// and whether the engine is started.
const char* skinDefaultDialog();
int32_t skinEnginePlatformClass();
bool skinIsStarted();
