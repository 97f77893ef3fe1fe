// The driver's checks, shared by its phase files: each file that includes this counts the
// failures of its own phases (the names live in the file's own unnamed namespace).
#pragma once
#include <windows.h>
#include <cstdio>
#include <string>
#include "driver_time.h"

namespace {
int failures = 0;

void check(bool ok, const std::wstring& what) {
    wprintf(L"%ls %ls\n", ok ? L"ok  " : L"FAIL", what.c_str());
    fflush(stdout);
    if (!ok) ++failures;
}

// A message sent to the program, answered within ms (scaled); -12345 when it is not.
LRESULT sendWithin(DWORD ms, HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, scaledMs(ms), &r)) return static_cast<LRESULT>(-12345);
    return static_cast<LRESULT>(r);
}
}  // namespace
