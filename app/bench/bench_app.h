// The program object and the libraries the program's timing tools start the way the program does.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "lxapp.h"

namespace bench {

inline void startProgram(LXApp &app) {
    app.setRegistryKey(L"WordmereBench");
    app.setAppName(L"Wordmere");
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
}

}  // namespace bench
