// The updater's worker threads and what they leave for the frame: one task at a time, each
// on a thread of its own with its own internet client, reporting to the frame's window.
#pragma once
#include "updatertasks.h"
#include <windows.h>
#include <string>

enum UpdaterTask {
    kUpdaterVersionCheck,
    // The start-up check: only when the system reports an internet connection, and then with
    // "Last Update" set to today; the asking is done on the task's thread.
    kUpdaterAutomaticCheck,
    kUpdaterModuleList,
    kUpdaterModuleDownload,
    kUpdaterInstallerDownload
};

// Starts a task reporting to `frame`; false (and nothing started) while another one runs.
// `today` (yyyymmdd) is what the automatic check stores as "Last Update".
bool startUpdaterTask(UpdaterTask task, HWND frame, int today = 0);
bool updaterTaskRunning();
// Sets the cancel flag and closes the running task's connection.
void cancelUpdaterTask();
// The findings of the last task; read on the user-interface thread after its result.
UpdaterState& updaterState();
// The address of an update-server string, moved to WORDMERE_UPDATE_BASE when that is set.
std::wstring updaterAddress(int stringId);
// Hands a downloaded installer to the shell with "/VERYSILENT"; false when it did not start.
bool runInstallerSilently(const std::wstring& path, HWND owner);
// Where modules are installed: the data folder's "dictionaries" folder.
std::wstring moduleFolder(const std::wstring& dataFolder);
