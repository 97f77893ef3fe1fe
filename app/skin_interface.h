// The skin engine's flat interface as the shell calls it.
#pragma once
#include <windows.h>
#include <cstdint>

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
