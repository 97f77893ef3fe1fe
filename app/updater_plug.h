// Where the updater's workers, the progress dialog and the options dialog plug into the
// frame. Until they are built the calls answer "not available" and do nothing, so the
// frame's commands that need them are inert (and store nothing).
#pragma once
#include <windows.h>
#include <string>

enum UpdaterTask { kUpdaterVersionCheck, kUpdaterModuleList, kUpdaterModuleDownload, kUpdaterInstallerDownload };

inline bool updaterAvailable() { return false; }
inline bool startUpdaterTask(UpdaterTask, HWND) { return false; }
inline HWND openProgressWindow(HWND, const std::wstring&) { return nullptr; }
// Results 1, 5, 7 and 8 need the worker's findings (version, module list, downloaded files).
inline void handleUpdaterResult(int, int, HWND) {}
// True when the dialog ended with OK after storing the preferences.
inline bool runOptionsDialog(HWND) { return false; }
