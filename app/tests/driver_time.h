// The drivers' waits and time limits, stretched on slow machines: WORDMERE_TEST_TIME_SCALE (1 when
// unset) multiplies them where the whole Windows side runs under an emulator, where a program's
// start or a message's answer can take a hundred times as long.
#pragma once
#include <windows.h>
#include <cstdlib>

inline DWORD scaledMs(DWORD ms) {
    static const DWORD scale = [] {
        const char* v = std::getenv("WORDMERE_TEST_TIME_SCALE");
        const int s = v ? std::atoi(v) : 1;
        return static_cast<DWORD>(s >= 1 ? s : 1);
    }();
    return ms * scale;
}
