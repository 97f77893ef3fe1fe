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

// Waits for a condition the program brings about by handling what was posted to it (a
// sent message would overtake the posted ones, so there is nothing to wait on but the
// result itself).
template <typename Condition>
bool waitFor(Condition done, DWORD ms = 30000) {
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(ms); Sleep(50))
        if (done()) return true;
    return done();
}
