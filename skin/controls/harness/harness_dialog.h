// The skinned-controls harness: a dialog holding one control of every type the skinned
// controls draw, skinned with the default skin like any dialog of the program. The program
// skin_harness.exe shows it; the Wine tests make it inside their own process and drive it.
// To add a control, add a line to harnessControls() (harness_dialog_win.cpp) with an id of
// its own from HarnessId.
#ifndef WORDMERE_SKIN_CONTROLS_HARNESS_HARNESS_DIALOG_H
#define WORDMERE_SKIN_CONTROLS_HARNESS_HARNESS_DIALOG_H

#include <windows.h>

#include <utility>
#include <vector>

enum HarnessId : int {
    kHarnessPush = 1001,
    kHarnessDefaultPush,
    kHarnessDisabledPush,
    kHarnessCheck,
    kHarnessThreeState,
    kHarnessRadio1,
    kHarnessRadio2,
    kHarnessRadio3,
    kHarnessOtherRadio,
    kHarnessGroup,
    kHarnessStatic,
    kHarnessEdit,
    kHarnessRichEdit,
    kHarnessList,
    kHarnessCombo,
    kHarnessProgress,
    kHarnessScrollBar,
    kHarnessTrackbar,
    kHarnessUpDown,
    kHarnessTab,
    kHarnessListView,
    kHarnessTreeView,
    kHarnessDateTime,
    kHarnessMonthCalendar,
    kHarnessHeader,
    kHarnessAnimate,
    kHarnessIPAddress,
    kHarnessToolbar,
    kHarnessRebar,
    kHarnessStatusBar,
    kHarnessLink,
    kHarnessVerticalProgress,
};

// One control of the harness: class, text, style (WS_CHILD | WS_VISIBLE are added), place in pixels.
struct HarnessControl {
    const wchar_t *className;
    const wchar_t *text;
    DWORD style;
    int id;
    int x, y, width, height;
};
const std::vector<HarnessControl> &harnessControls();

// What the harness dialog saw, for the tests.
struct HarnessLog {
    int commands[64] = {};  // WM_COMMAND per control id - kHarnessPush
    std::vector<UINT> pickerNotices;  // the date-time picker's DTN_DROPDOWN and DTN_CLOSEUP, in order
    int commandCount(int id) const { return id >= kHarnessPush && id < kHarnessPush + 64 ? commands[id - kHarnessPush] : 0; }
    // Every WM_COMMAND in order: control id and notification code.
    std::vector<std::pair<int, int>> notifications;
    // The scroll requests of the scroll-bar control (low word of WM_HSCROLL / WM_VSCROLL), in
    // order, with the position they carried; the dialog moves the bar as an owner does.
    std::vector<std::pair<int, int>> scrolls;
};

// Makes the harness dialog (modeless, visible) at (x, y) of the screen; its log, when given,
// counts the commands. The controls' libraries (common controls, rich edit) are loaded first;
// where the system has no "Link Window" class, a stand-in of that name is registered (it draws
// its text in kHarnessLinkColor on the window colour, as a link control does).
HWND createHarnessDialog(HINSTANCE instance, HarnessLog *log, int x = 0, int y = 0);
constexpr COLORREF kHarnessLinkColor = RGB(0, 0, 255);
// The size of the harness dialog's client area in pixels.
constexpr int kHarnessWidth = 640, kHarnessHeight = 420;

#endif
