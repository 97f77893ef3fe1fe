// What the Windows tests of the controls share: the run's slowness factor, pumping this
// thread's messages while waiting for a condition, and the clip files in the temporary folder.
#ifndef WORDMERE_SKIN_CONTROLS_TESTS_WINE_WAITS_H
#define WORDMERE_SKIN_CONTROLS_TESTS_WINE_WAITS_H

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <thread>

// WORDMERE_TEST_TIME_SCALE, 1 when unset: waits grow with it on an emulated machine.
inline int timeScale()
{
    const char *scale = std::getenv("WORDMERE_TEST_TIME_SCALE");
    int value = scale ? std::atoi(scale) : 1;
    return value > 0 ? value : 1;
}

// Dispatches this thread's messages until the condition holds (true) or the time, scaled, is
// over (false). The condition is checked after each round of messages.
inline bool pumpUntil(const std::function<bool()> &condition, int milliseconds)
{
    auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds * timeScale());
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() > limit)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

inline void pumpFor(int milliseconds)
{
    pumpUntil([] { return false; }, milliseconds);
}

// The names of the files in the temporary folder that a clip written there could have.
inline std::set<std::wstring> temporaryClipFiles()
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((std::wstring(folder) + L"GV$*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

#endif
