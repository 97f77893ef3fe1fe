// The application object the tests share: settings go to a registry key of their own
// (HKCU\Software\WordmereTests\Wordmere), so the program's real settings are never touched.
#pragma once
#include "lxapp.h"
#include <windows.h>

inline LXApp& testApp() {
    static LXApp* app = [] {
        auto* a = new LXApp();
        a->setRegistryKey(L"WordmereTests");
        a->setAppName(L"Wordmere");
        return a;
    }();
    return *app;
}

inline void clearTestSettings() {
    testApp();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\WordmereTests");
}
