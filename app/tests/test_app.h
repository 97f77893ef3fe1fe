// The application object the tests share: settings go to a registry key of their own
// (HKCU\Software\WordmereTests\Wordmere), so the program's real settings are never touched.
#pragma once
#include "framework/fwwindow.h"
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

// A plain top-level window of a class of the test's own, at the screen's top left.
inline bool createTopLevel(FwWindow& window, const wchar_t* className, int width, int height) {
    FwCreateParams p;
    p.className = className;
    p.style = WS_OVERLAPPEDWINDOW;
    p.width = width;
    p.height = height;
    return window.create(p);
}

inline void clearTestSettings() {
    testApp();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\WordmereTests");
}
