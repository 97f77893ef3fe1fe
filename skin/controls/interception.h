// Process-wide interception of the platform's eight scroll-bar functions and GetSysColor /
// GetSysColorBrush, so that skinned scroll bars and the skin's colour table take effect for
// every caller in the process: by patching the functions' entries on NT 4, 2000 and XP, by
// patching every module's import tables on 98 and Me, not at all elsewhere.
#pragma once
#include <windows.h>

#include <cstdint>

// How the functions are intercepted on a platform class.
enum SkinInterceptionKind : int32_t { kInterceptNone = 0, kInterceptImports = 1, kInterceptEntries = 2 };
SkinInterceptionKind skinInterceptionFor(int32_t platformClass);

// 1 when installed, 0 on a platform class without interception.
int InstallScrollBarHooks();
// Undoes everything; 1, or 0 when nothing was installed.
int RemoveScrollBarHooks();

// Test seams: the number of functions whose entries are patched now, and the entry address of
// the platform's function of that name as the interception found it (null when unknown).
int skinPatchedEntryCount();
const void *skinInterceptedEntry(const char *name);
