// The screenshot test's phases of the driver. "shot NAME FOLDER" writes FOLDER\NAME.txt, one
// line per visible top-level window of the program ("CLASS LEFT TOP RIGHT BOTTOM", tab-separated,
// the main window first as "frame"), then FOLDER\NAME.ready, and waits for FOLDER\NAME.done, which
// the script writes once its screenshot is taken. "openmenu" opens the menu bar's first menu and
// "closemenu" closes it; "opendialog COMMAND" posts the main window a command that shows a dialog
// and "closedialog" cancels it.
#include "driver_shots.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver_time.h"

namespace {

int failures = 0;
const wchar_t kFrameClass[] = L"WordmereFrame";
const wchar_t kFrameTitle[] = L"Wordmere";
const wchar_t kSkinnedMenuClass[] = L"GlossvanePopupMenuWnd";
const wchar_t kSystemMenuClass[] = L"#32768";
const wchar_t kDialogClass[] = L"#32770";
// Posted to a skinned frame: show the submenu of its menu bar's item wParam.
constexpr UINT kOpenMenuBarItem = 6039;
constexpr DWORD kShotWaitMs = 120000;

void check(bool ok, const std::wstring& what) {
    wprintf(L"%ls %ls\n", ok ? L"ok  " : L"FAIL", what.c_str());
    fflush(stdout);
    if (!ok) ++failures;
}

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

int phaseShot(const std::wstring& name, const std::wstring& folder) {
    HWND frame = frameWindow();
    check(frame != nullptr, L"the main window is there for the screenshot " + name);
    if (!frame) return failures;
    // The program has drawn what it was asked for before its windows are listed.
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, scaledMs(5000), &answer);
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
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input[2] = {};
    for (INPUT &i : input) {
        i.type = INPUT_MOUSE;
        i.mi.dx = at.x * 65535 / (w - 1);
        i.mi.dy = at.y * 65535 / (h - 1);
    }
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
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

}  // namespace

int shotPhase(int argc, wchar_t** argv, bool& known) {
    known = true;
    const std::wstring phase = argc > 1 ? argv[1] : L"";
    if (phase == L"shot" && argc > 3) return phaseShot(argv[2], argv[3]);
    if (phase == L"openmenu") return phaseOpenMenu();
    if (phase == L"closemenu") return phaseCloseMenu();
    if (phase == L"opendialog" && argc > 2) return phaseOpenDialog(_wtoi(argv[2]));
    if (phase == L"closedialog") return phaseCloseDialog();
    known = false;
    return failures;
}
