// The screenshot test's phases of the driver. "screenshot NAME FOLDER" writes FOLDER\NAME.txt, one
// line per visible top-level window of the program ("CLASS LEFT TOP RIGHT BOTTOM", tab-separated,
// the main window first as "frame"), then FOLDER\NAME.ready, and waits for FOLDER\NAME.done, which
// the script writes once its screenshot is taken. "openmenu" opens the menu bar's first menu and
// "closemenu" closes it; "opendialog COMMAND" posts the main window a command that shows a dialog
// and "closedialog" cancels it. "tooltip N" puts the pointer on the toolbar's N-th shown button
// and waits for the program's skinned tooltip beside it; "tooltiphide" waits for it to hide by
// itself; "tooltipnext" moves the pointer on to the next shown button and waits for the tooltip
// there.
#include "driver_shots.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "driver_check.h"
#include "driver_time.h"

namespace {

const wchar_t kFrameClass[] = L"WordmereFrame";
const wchar_t kFrameTitle[] = L"Wordmere";
const wchar_t kSkinnedMenuClass[] = L"GlossvanePopupMenuWnd";
const wchar_t kSystemMenuClass[] = L"#32768";
const wchar_t kDialogClass[] = L"#32770";
// Posted to a skinned frame: show the submenu of its menu bar's item wParam.
constexpr UINT kOpenMenuBarItem = 6039;
constexpr DWORD kShotWaitMs = 120000;
const wchar_t kTooltipClass[] = L"GlossvaneTooltip32";
// The default skin's Tooltip object: shown 1000 ms after the pointer stops on a button, hidden
// 8000 ms after it shows, placed with its top-left corner 2 pixels right of and 22 below the pointer.
constexpr DWORD kTooltipShowDelayMs = 1000, kTooltipHideDelayMs = 8000;
constexpr int kTooltipOffsetX = 2, kTooltipOffsetY = 22;

HWND frameWindow() { return FindWindowW(kFrameClass, kFrameTitle); }

DWORD processOf(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    return pid;
}

std::wstring classOf(HWND w) {
    wchar_t cls[128] = L"";
    GetClassNameW(w, cls, 128);
    return cls;
}

struct Collected {
    DWORD pid;
    std::vector<HWND> windows;
};

BOOL CALLBACK collect(HWND w, LPARAM lp) {
    auto* c = reinterpret_cast<Collected*>(lp);
    if (processOf(w) == c->pid && IsWindowVisible(w)) c->windows.push_back(w);
    return TRUE;
}

// The program's visible top-level windows, front to back.
std::vector<HWND> programWindows() {
    HWND frame = frameWindow();
    Collected c{frame ? processOf(frame) : 0, {}};
    if (c.pid != 0) EnumWindows(collect, reinterpret_cast<LPARAM>(&c));
    return c.windows;
}

std::vector<HWND> programWindowsOf(const std::vector<std::wstring>& classes) {
    std::vector<HWND> found;
    for (HWND w : programWindows())
        for (const std::wstring& cls : classes)
            if (classOf(w) == cls) found.push_back(w);
    return found;
}

bool waitFor(const std::vector<std::wstring>& classes, bool shown, DWORD ms) {
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(ms); Sleep(100))
        if (programWindowsOf(classes).empty() != shown) return true;
    return programWindowsOf(classes).empty() != shown;
}

bool writeUtf8(const std::wstring& path, const std::wstring& text) {
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    std::string bytes(text.size() * 3 + 1, '\0');
    bytes.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &bytes[0],
                                     static_cast<int>(bytes.size()), nullptr, nullptr));
    const bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

std::wstring rectLine(const std::wstring& name, HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return name + L"\t" + std::to_wstring(r.left) + L"\t" + std::to_wstring(r.top) + L"\t" + std::to_wstring(r.right) +
           L"\t" + std::to_wstring(r.bottom) + L"\n";
}

BOOL CALLBACK findPending(HWND w, LPARAM lp) {
    if (IsWindowVisible(w) && GetUpdateRect(w, nullptr, FALSE)) *reinterpret_cast<bool*>(lp) = true;
    return TRUE;
}

// Whether a visible window of the program, or a child of one, still waits to be painted.
bool paintsPending() {
    bool pending = false;
    for (HWND w : programWindows()) {
        findPending(w, reinterpret_cast<LPARAM>(&pending));
        EnumChildWindows(w, findPending, reinterpret_cast<LPARAM>(&pending));
    }
    return pending;
}

// Waits until the program has painted everything it was asked for (no window waits for a paint
// at two looks in a row); false when it never settles.
bool waitForPaints(HWND frame, DWORD ms) {
    int quiet = 0;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(ms); Sleep(250)) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, scaledMs(5000), &answer);
        quiet = paintsPending() ? 0 : quiet + 1;
        if (quiet >= 2) return true;
    }
    return false;
}

// Moves the real pointer to a screen point, with a button going down or up there when buttons
// names one.
void sendPointer(POINT at, DWORD buttons) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = at.x * 65535 / (w - 1);
    input.mi.dy = at.y * 65535 / (h - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &input, sizeof input);
}

int phaseShot(const std::wstring& name, const std::wstring& folder) {
    HWND frame = frameWindow();
    check(frame != nullptr, L"the main window is there for the screenshot " + name);
    if (!frame) return failures;
    // The program has drawn what it was asked for before its windows are listed.
    check(waitForPaints(frame, 30000), L"the program's windows are painted for the screenshot " + name);
    Sleep(300);
    std::wstring layout = rectLine(L"frame", frame);
    for (HWND w : programWindows())
        if (w != frame) layout += rectLine(classOf(w), w);
    const std::wstring base = folder + L"\\" + name;
    check(writeUtf8(base + L".txt", layout) && writeUtf8(base + L".ready", L"ready\n"),
          L"the windows of " + name + L" are written out");
    bool taken = false;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(kShotWaitMs) && !taken; Sleep(200))
        taken = GetFileAttributesW((base + L".done").c_str()) != INVALID_FILE_ATTRIBUTES;
    check(taken, L"the screenshot " + name + L" is taken");
    return failures;
}

int phaseOpenMenu() {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"the main window is there"), failures;
    SetForegroundWindow(frame);
    // A real click on the menu bar's first item, which lies just above the client area's
    // top-left corner.
    RECT client;
    GetClientRect(frame, &client);
    POINT at{client.left + 15, client.top - 8};
    ClientToScreen(frame, &at);
    sendPointer(at, MOUSEEVENTF_LEFTDOWN);
    sendPointer(at, MOUSEEVENTF_LEFTUP);
    if (!waitFor({kSkinnedMenuClass, kSystemMenuClass}, true, 10000)) PostMessageW(frame, kOpenMenuBarItem, 0, 0);
    check(waitFor({kSkinnedMenuClass, kSystemMenuClass}, true, 20000), L"the menu bar's first menu opens");
    return failures;
}

int phaseCloseMenu() {
    HWND frame = frameWindow();
    for (HWND menu : programWindowsOf({kSkinnedMenuClass, kSystemMenuClass})) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    if (!waitFor({kSkinnedMenuClass, kSystemMenuClass}, false, 5000) && frame) PostMessageW(frame, WM_CANCELMODE, 0, 0);
    check(waitFor({kSkinnedMenuClass, kSystemMenuClass}, false, 10000), L"the menu closes");
    return failures;
}

int phaseOpenDialog(int command) {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"the main window is there"), failures;
    PostMessageW(frame, WM_COMMAND, command, 0);
    check(waitFor({kDialogClass}, true, 30000), L"command " + std::to_wstring(command) + L" shows a dialog");
    return failures;
}

int phaseCloseDialog() {
    for (HWND dialog : programWindowsOf({kDialogClass}))
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    check(waitFor({kDialogClass}, false, 20000), L"the dialog closes");
    return failures;
}

// The program's skinned tooltip window (null when it has none).
HWND tooltipWindow() {
    HWND frame = frameWindow();
    for (HWND w = FindWindowExW(nullptr, nullptr, kTooltipClass, nullptr); w != nullptr;
         w = FindWindowExW(nullptr, w, kTooltipClass, nullptr))
        if (frame && processOf(w) == processOf(frame)) return w;
    return nullptr;
}

bool tooltipShown() {
    HWND t = tooltipWindow();
    return t != nullptr && IsWindowVisible(t);
}

// Waits until the tooltip is shown (or hidden); answers the milliseconds waited, or -1.
long waitForTooltip(bool shown, DWORD ms) {
    const DWORD t0 = GetTickCount();
    for (; GetTickCount() - t0 < scaledMs(ms); Sleep(50))
        if (tooltipShown() == shown) return static_cast<long>(GetTickCount() - t0);
    return tooltipShown() == shown ? static_cast<long>(GetTickCount() - t0) : -1;
}

int hotItem(HWND toolbar) { return static_cast<int>(SendMessageW(toolbar, TB_GETHOTITEM, 0, 0)); }

// The toolbar's hot item once the pointer has been moved to at: it changes when the toolbar has
// handled the move, and stays when the pointer stayed on the same button (or off all of them).
int hotItemAt(HWND toolbar, POINT at, int before) {
    sendPointer(at, 0);
    constexpr DWORD kSettleMs = 1500;
    int hot = hotItem(toolbar);
    for (DWORD t0 = GetTickCount(); hot == before && GetTickCount() - t0 < kSettleMs; Sleep(50)) hot = hotItem(toolbar);
    return hot;
}

struct ShownButton {
    int index;    // the button's index among all of the toolbar's buttons
    POINT centre;  // on the screen
};

// The toolbar's first count shown buttons, found by the pointer: it steps along the toolbar's
// middle by half a button and reads the toolbar's hot item at each step (the toolbar's messages
// that tell a button's rectangle carry pointers, which can not reach into the program's memory
// under an emulated 32-bit side). Each button's centre lies between the first and the last step
// on it.
std::vector<ShownButton> findShownButtons(HWND toolbar, int count) {
    std::vector<ShownButton> found;
    RECT client;
    GetClientRect(toolbar, &client);
    const LRESULT size = SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0);
    const int step = std::max(2, LOWORD(size) / 2);
    int hot = hotItem(toolbar), runIndex = -1, runFirst = 0, runLast = 0;
    auto endRun = [&] {
        if (runIndex < 0) return;
        POINT centre{(runFirst + runLast) / 2, (client.top + client.bottom) / 2};
        ClientToScreen(toolbar, &centre);
        found.push_back(ShownButton{runIndex, centre});
        runIndex = -1;
    };
    for (int x = client.left + step / 2; x < client.right && static_cast<int>(found.size()) < count; x += step) {
        POINT at{x, (client.top + client.bottom) / 2};
        ClientToScreen(toolbar, &at);
        hot = hotItemAt(toolbar, at, hot);
        if (hot != runIndex) endRun();
        if (hot >= 0 && runIndex < 0) {
            runIndex = hot;
            runFirst = x;
        }
        if (hot >= 0) runLast = x;
    }
    if (static_cast<int>(found.size()) < count) endRun();
    return found;
}

int tooltipButton = -1;     // the shown button the pointer was put on
DWORD tooltipShownAt = 0;   // when the tooltip was seen shown
std::vector<ShownButton> shownButtons;  // found by "tooltip", used again by "tooltipnext"

HWND mainToolbar() {
    HWND frame = frameWindow();
    return frame ? FindWindowExW(frame, nullptr, L"ToolbarWindow32", nullptr) : nullptr;
}

// Puts the pointer on the toolbar's shown button number index (a small step inside it first, as
// a real pointer enters) and checks the tooltip shows after the delay, beside the pointer.
int showTooltipAt(int index) {
    check(static_cast<int>(shownButtons.size()) > index, L"the toolbar shows button " + std::to_wstring(index) +
                                                             L" (" + std::to_wstring(shownButtons.size()) + L" found)");
    if (static_cast<int>(shownButtons.size()) <= index) return failures;
    const POINT at = shownButtons[static_cast<size_t>(index)].centre;
    const bool wasShown = tooltipShown();
    sendPointer(POINT{at.x - 2, at.y}, 0);
    Sleep(100);
    DWORD moved = GetTickCount();
    sendPointer(at, 0);
    if (wasShown) {
        // Another button is another subject: the shown tooltip goes at once, then comes back.
        check(waitForTooltip(false, 10000) >= 0, L"the shown tooltip hides when the pointer moves to another button");
        moved = GetTickCount();
    }
    const long waited = waitForTooltip(true, 30000);
    const DWORD sinceMove = GetTickCount() - moved;
    check(waited >= 0, L"the skinned tooltip shows over button " + std::to_wstring(index) + L" (the toolbar's item " +
                           std::to_wstring(shownButtons[static_cast<size_t>(index)].index) + L") after " +
                           std::to_wstring(sinceMove) + L" ms");
    if (waited < 0) return failures;
    check(sinceMove + 200 >= kTooltipShowDelayMs, L"not before the show delay of " + std::to_wstring(kTooltipShowDelayMs) + L" ms");
    tooltipButton = index;
    tooltipShownAt = GetTickCount();
    RECT r;
    GetWindowRect(tooltipWindow(), &r);
    POINT cursor;
    GetCursorPos(&cursor);
    check(r.left == cursor.x + kTooltipOffsetX && r.top == cursor.y + kTooltipOffsetY,
          L"placed below right of the pointer (" + std::to_wstring(cursor.x) + L"," + std::to_wstring(cursor.y) +
              L"): at " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" size " +
              std::to_wstring(r.right - r.left) + L"x" + std::to_wstring(r.bottom - r.top));
    return failures;
}

int phaseTooltip(int index) {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"the main window is there"), failures;
    SetForegroundWindow(frame);
    Sleep(scaledMs(300));
    HWND toolbar = mainToolbar();
    check(toolbar != nullptr && IsWindowVisible(toolbar), L"the main window's toolbar is shown");
    check(tooltipWindow() != nullptr, L"the program has its skinned tooltip window");
    if (!toolbar || !tooltipWindow()) return failures;
    shownButtons = findShownButtons(toolbar, index + 2);
    // The search itself rests the pointer on buttons: it leaves the toolbar for the middle of the
    // caption (where nothing has a tooltip), and whatever tooltip showed goes, before the measured
    // entry.
    RECT outer;
    GetWindowRect(frame, &outer);
    sendPointer(POINT{(outer.left + outer.right) / 2, outer.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2}, 0);
    check(waitForTooltip(false, 20000) >= 0, L"no tooltip once the pointer has left the toolbar");
    Sleep(scaledMs(500));
    return showTooltipAt(index);
}

int phaseTooltipHide() {
    check(tooltipShown(), L"the tooltip is still shown");
    const long waited = waitForTooltip(false, kTooltipHideDelayMs + 30000);
    const DWORD shownFor = GetTickCount() - tooltipShownAt;
    check(waited >= 0, L"it hides by itself, " + std::to_wstring(shownFor) + L" ms after it showed");
    check(shownFor + 500 >= kTooltipHideDelayMs, L"not before the hide delay of " + std::to_wstring(kTooltipHideDelayMs) + L" ms");
    return failures;
}

int phaseTooltipNext() { return showTooltipAt(tooltipButton + 1); }

}  // namespace

int shotPhase(int argc, wchar_t** argv, bool& known) {
    known = true;
    const std::wstring phase = argc > 1 ? argv[1] : L"";
    if (phase == L"screenshot" && argc > 3) return phaseShot(argv[2], argv[3]);
    if (phase == L"openmenu") return phaseOpenMenu();
    if (phase == L"closemenu") return phaseCloseMenu();
    if (phase == L"opendialog" && argc > 2) return phaseOpenDialog(_wtoi(argv[2]));
    if (phase == L"closedialog") return phaseCloseDialog();
    if (phase == L"tooltip" && argc > 2) return phaseTooltip(_wtoi(argv[2]));
    if (phase == L"tooltiphide") return phaseTooltipHide();
    if (phase == L"tooltipnext") return phaseTooltipNext();
    known = false;
    return failures;
}
