// Drives wordmere.exe from outside, as another program would: starts it, answers its
// message boxes, sends it the application messages, reads its settings from the registry
// and checks the answers. One phase per invocation; gui_test.sh runs the phases in order.
// Prints one line per check and exits with the number of failed checks.
#include <windows.h>
#include <ole2.h>
#include <fcntl.h>
#include <io.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "oletext.h"
#include "driver_dialogs.h"
#include "driver_updater.h"
#include "driver_skin.h"
#include "driver_pixels.h"
#include "driver_shots.h"
#include "driver_check.h"
#include "driver_time.h"

namespace {
const wchar_t kFrameClass[] = L"WordmereFrame";
const wchar_t kTitle[] = L"Wordmere";
const wchar_t kSettingsKey[] = L"Software\\Wordmere\\Wordmere\\Settings";

std::wstring hex(unsigned long long v) {
    wchar_t b[32];
    swprintf(b, 32, L"0x%llX", v);
    return b;
}

HWND mainWindow() { return FindWindowW(kFrameClass, kTitle); }

LRESULT send(HWND w, UINT msg, WPARAM wp, LPARAM lp) { return sendWithin(5000, w, msg, wp, lp); }

std::wstring regString(const wchar_t* name) {
    wchar_t buf[512] = L"";
    DWORD size = sizeof buf - sizeof(wchar_t), type = 0;
    HKEY k;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &k) != ERROR_SUCCESS) return L"<no key>";
    LONG rc = RegQueryValueExW(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS) return L"<missing>";
    return type == REG_SZ ? std::wstring(buf) : L"<not a string>";
}

long long regInt(const wchar_t* name) {
    DWORD v = 0, size = sizeof v, type = 0;
    HKEY k;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &k) != ERROR_SUCCESS) return -1000000;
    LONG rc = RegQueryValueExW(k, name, nullptr, &type, reinterpret_cast<BYTE*>(&v), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS || type != REG_DWORD) return -1000000;
    return static_cast<long>(v);
}

void regSetString(const wchar_t* name, const std::wstring& v) {
    HKEY k;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                   static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
}

std::wstring windowText(HWND w) {
    wchar_t buf[1024] = L"";
    DWORD_PTR r = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, scaledMs(5000), &r);
    return buf;
}

struct Dialogs {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK collectDialogs(HWND w, LPARAM lp) {
    auto* d = reinterpret_cast<Dialogs*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[32] = L"";
    GetClassNameW(w, cls, 32);
    if (pid == d->pid && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(w)) d->found.push_back(w);
    return TRUE;
}

int countFrames() {
    int n = 0;
    for (HWND w = FindWindowExW(nullptr, nullptr, kFrameClass, nullptr); w; w = FindWindowExW(nullptr, w, kFrameClass, nullptr))
        ++n;
    return n;
}

// The status-bar prompt the frame shows for a highlighted menu command.
std::wstring promptFor(HWND frame, int command) {
    send(frame, WM_MENUSELECT, MAKEWPARAM(command, MF_HILITE), reinterpret_cast<LPARAM>(GetMenu(frame)));
    HWND status = FindWindowExW(frame, nullptr, L"msctls_statusbar32", nullptr);
    std::wstring text = status ? windowText(status) : L"<no status bar>";
    send(frame, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    return text;
}

std::wstring expectedScanMessage(const std::wstring& lang, const std::wstring& file) {
    if (lang == L"de")
        return L"Die Datei \u201E" + file +
               L"\u201C konnte nicht ge\u00F6ffnet werden, entweder weil sie keine g\u00FCltige W\u00F6rterbuchdatei "
               L"ist oder wegen eines Windows-Systemfehlers.";
    return L"The file \"" + file +
           L"\" could not be opened, either because it is an invalid dictionary file, or because of a Windows system error.";
}

std::vector<std::wstring> split(const std::wstring& s, wchar_t sep) {
    std::vector<std::wstring> out;
    size_t start = 0;
    while (start <= s.size()) {
        size_t p = s.find(sep, start);
        if (p == std::wstring::npos) p = s.size();
        if (p > start) out.push_back(s.substr(start, p - start));
        start = p + 1;
    }
    return out;
}

// Fields between separators, empty ones kept: a batch line's "" argument stays an argument.
std::vector<std::wstring> fields(const std::wstring& s, wchar_t sep) {
    std::vector<std::wstring> out;
    for (size_t start = 0;;) {
        size_t p = s.find(sep, start);
        out.push_back(s.substr(start, p == std::wstring::npos ? std::wstring::npos : p - start));
        if (p == std::wstring::npos) return out;
        start = p + 1;
    }
}

// start EXE LANG FILES: starts the program, answers its start-up messages (checking each
// names the next of FILES, comma-separated, in the interface language LANG) and waits for
// the main window.
int phaseStart(const std::wstring& exe, const std::wstring& lang, const std::wstring& files) {
    check(mainWindow() == nullptr, L"no copy runs before the start");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\"";
    std::wstring dir = exe.substr(0, exe.find_last_of(L"\\/"));
    if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) {
        check(false, L"the program starts");
        return failures;
    }
    std::vector<std::wstring> expected = files == L"-" ? std::vector<std::wstring>() : split(files, L',');
    std::vector<std::wstring> seen;
    HWND frame = nullptr;
    // A start under an emulated Wine (program, skin, modules, the capture library's hook) takes
    // minutes on a loaded machine.
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(90000);) {
        Dialogs d{pi.dwProcessId, {}};
        EnumWindows(collectDialogs, reinterpret_cast<LPARAM>(&d));
        if (!d.found.empty()) {
            HWND box = d.found.front();
            HWND text = GetDlgItem(box, 2101);
            if (text) {
                seen.push_back(windowText(text));
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
            }
            Sleep(300);
            continue;
        }
        frame = mainWindow();
        if (frame && IsWindowVisible(frame)) break;
        if (WaitForSingleObject(pi.hProcess, 100) == WAIT_OBJECT_0) break;
    }
    check(frame && IsWindowVisible(frame), L"the main window appears");
    check(seen.size() == expected.size(),
          L"one message per refused file: " + std::to_wstring(seen.size()) + L" of " + std::to_wstring(expected.size()));
    for (size_t i = 0; i < seen.size() && i < expected.size(); ++i)
        check(seen[i] == expectedScanMessage(lang, expected[i]), L"message " + std::to_wstring(i + 1) + L": " + seen[i]);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return failures;
}

// checks: the application messages, settings and commands of a first run in English.
int phaseChecks() {
    HWND w = mainWindow();
    check(w != nullptr, L"main window found");
    if (!w) return failures;
    check(static_cast<unsigned long>(send(w, 0x8001, 0, 0)) == 0xC0C0FFEEul,
          L"WM_PING_INSTANCE answers 0xC0C0FFEE: " + hex(static_cast<unsigned long>(send(w, 0x8001, 0, 0))));
    // No module is installed, so every pair is reported missing.
    check(send(w, 0x8002, 1, 2) == 0, L"WM_QUERY_LANGUAGE_PAIR English-French (not installed) answers 0");
    check(send(w, 0x8002, 4, 1) == 0, L"WM_QUERY_LANGUAGE_PAIR German-English (not installed) answers 0");

    check(send(w, 0x8005, 2, 1) == 1, L"WM_SET_LANGUAGE_PAIR French->English answers 1");
    check(send(w, 0x8003, 0, 0) == 2, L"WM_GET_SEARCH_LANGUAGE reports French");
    check(send(w, 0x8004, 0, 0) == 1, L"WM_GET_TRANSLATION_LANGUAGE reports English");
    check(regString(L"Search Language") == L"French", L"registry Search Language = French: " + regString(L"Search Language"));
    check(regString(L"Translation Language") == L"English",
          L"registry Translation Language = English: " + regString(L"Translation Language"));
    check(regInt(L"Product") == 10, L"registry Product = 10");
    struct {
        WPARAM s;
        LPARAM t;
    } invalid[] = {{12, 1}, {1, 12}, {static_cast<WPARAM>(-1), 2}, {0x10003, 1}};
    for (auto& c : invalid)
        check(send(w, 0x8005, c.s, c.t) == 0,
              L"WM_SET_LANGUAGE_PAIR " + std::to_wstring(c.s) + L"," + std::to_wstring(c.t) + L" refused");
    check(send(w, 0x8003, 0, 0) == 2 && send(w, 0x8004, 0, 0) == 1, L"a refused pair changes nothing");
    check(regString(L"Search Language") == L"French", L"registry unchanged after refused pairs");

    send(w, WM_COMMAND, 11570, 0);
    check((GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, L"stay on top sets WS_EX_TOPMOST");
    check(regInt(L"Topmost") == 1, L"registry Topmost = 1");
    send(w, WM_COMMAND, 11580, 0);
    check((GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0, L"stop staying on top clears WS_EX_TOPMOST");
    check(regInt(L"Topmost") == 0, L"registry Topmost = 0");
    send(w, WM_COMMAND, 11570, 0);  // left on, for the restart

    UINT conflict = RegisterWindowMessageW(L"LXHotKeyConflicMessage");
    check(static_cast<unsigned long>(send(w, conflict, 0, 0)) == 0xFF00ul, L"hot-key question answered with method 0 | 0xFF00");
    regSetString(L"Hotkey", L"F11");
    check(static_cast<unsigned long>(send(w, conflict, 0, 0)) == 0xFF04ul, L"with Hotkey F11 the answer is 4 | 0xFF00");

    check(promptFor(w, 11310) == L"Look for a newer version of Wordmere", L"English prompt: " + promptFor(w, 11310));
    send(w, WM_COMMAND, 11350, 0);  // interface language German
    check(regString(L"Interface Language") == L"German", L"registry Interface Language = German");
    check(promptFor(w, 11310) == L"Nach einer neueren Version von Wordmere suchen", L"German prompt: " + promptFor(w, 11310));
    check(windowText(w) == L"Wordmere", L"the title stays the application name");

    SetWindowPos(w, nullptr, 100, 80, 420, 330, SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(500);
    check(regInt(L"Window Left") == 100 && regInt(L"Window Top") == 80, L"moving saves Window Left/Top 100,80: " +
          std::to_wstring(regInt(L"Window Left")) + L"," + std::to_wstring(regInt(L"Window Top")));
    check(regInt(L"Window Width") == 420 && regInt(L"Window Height") == 330, L"and Window Width/Height 420,330: " +
          std::to_wstring(regInt(L"Window Width")) + L"," + std::to_wstring(regInt(L"Window Height")));
    return failures;
}

// second EXE: a second copy restores and raises the first and ends without a window.
int phaseSecond(const std::wstring& exe) {
    HWND w = mainWindow();
    check(w != nullptr, L"main window found");
    if (!w) return failures;
    ShowWindow(w, SW_MINIMIZE);
    for (int i = 0; i < 50 && !IsIconic(w); ++i) Sleep(100);
    check(IsIconic(w) != 0, L"the first copy is minimised");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\"";
    std::wstring dir = exe.substr(0, exe.find_last_of(L"\\/"));
    if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi)) {
        check(false, L"the second copy starts");
        return failures;
    }
    bool ended = WaitForSingleObject(pi.hProcess, scaledMs(20000)) == WAIT_OBJECT_0;
    check(ended, L"the second copy ends by itself");
    if (!ended) TerminateProcess(pi.hProcess, 1);
    for (int i = 0; i < 50 && IsIconic(w); ++i) Sleep(100);
    check(!IsIconic(w) && IsWindowVisible(w), L"the first copy's window is restored");
    check(GetForegroundWindow() == w, L"and brought to the front");
    check(countFrames() == 1, L"one main window exists: " + std::to_wstring(countFrames()));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return failures;
}

// keys: the accelerators reach the frame's commands: Ctrl+Shift+B switches beta updates
// on and confirms it with a message (in German: the checks left the interface German).
int phaseKeys() {
    HWND w = mainWindow();
    check(w != nullptr, L"main window found");
    if (!w) return failures;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    SetForegroundWindow(w);
    Sleep(300);
    INPUT in[6] = {};
    WORD keys[3] = {VK_CONTROL, VK_SHIFT, 'B'};
    for (int i = 0; i < 3; ++i) {
        in[i].type = in[5 - i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = in[5 - i].ki.wVk = keys[i];
        in[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    check(SendInput(6, in, sizeof(INPUT)) == 6, L"keys sent");
    std::wstring text;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(10000) && text.empty(); Sleep(100)) {
        Dialogs d{pid, {}};
        EnumWindows(collectDialogs, reinterpret_cast<LPARAM>(&d));
        if (!d.found.empty()) {
            text = windowText(GetDlgItem(d.found.front(), 2101));
            PostMessageW(d.found.front(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
    check(text == L"Ab jetzt bietet die Update-Suche Beta-Versionen an.", L"Ctrl+Shift+B confirms: " + text);
    check(regInt(L"Use Beta Updater") == 1, L"registry Use Beta Updater = 1");
    return failures;
}

// restarted: the second run starts in German with the stored placement and topmost state.
int phaseRestarted() {
    HWND w = mainWindow();
    check(w != nullptr, L"main window found");
    if (!w) return failures;
    RECT r{};
    GetWindowRect(w, &r);
    check(r.left == 100 && r.top == 80 && r.right - r.left == 420 && r.bottom - r.top == 330,
          L"placement restored: " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" " +
              std::to_wstring(r.right - r.left) + L"x" + std::to_wstring(r.bottom - r.top));
    check((GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, L"Topmost restored");
    check(promptFor(w, 11080) == L"Wordmere beenden", L"German prompt at start: " + promptFor(w, 11080));
    send(w, WM_COMMAND, 11320, 0);  // back to English
    check(regString(L"Interface Language") == L"English", L"registry Interface Language = English");
    check(promptFor(w, 11080) == L"Quit Wordmere", L"English prompt again: " + promptFor(w, 11080));
    send(w, WM_COMMAND, 11350, 0);  // German for the screenshot
    return failures;
}

// quit: message 0x800E ends the program.
int phaseQuit() {
    HWND w = mainWindow();
    check(w != nullptr, L"main window found");
    if (!w) return failures;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE p = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    check(send(w, 0x800E, 0, 0) == 1, L"message 0x800E answers 1");
    bool ended = p && WaitForSingleObject(p, scaledMs(15000)) == WAIT_OBJECT_0;
    check(ended, L"and the program ends");
    if (p) CloseHandle(p);
    return failures;
}

RECT clientOnScreen(HWND w) {
    RECT r;
    GetClientRect(w, &r);
    MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring colourText(COLORREF c) {
    wchar_t b[16];
    swprintf(b, 16, L"#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return b;
}

// bars PICTURE: the main window's toolbar and status bar are painted from the skin, whose bars
// picture (the file) holds, in cells 24 rows high, the toolbar's background (x 0-19, a face
// colour; the toolbar's normal buttons are that face too) and the status bar's (x 20-39, a
// lighter fill; its panels are filled alike). The screen shows the toolbar mostly in the face,
// its divider above the client area painted over with the face as well, and the status bar
// mostly in its fill; the platform's own button face is hardly anywhere.
int phaseBars(const std::wstring& picture) {
    BmpPixels bars;
    check(bars.read(picture), L"the skin's bars picture is read: " + picture);
    HWND w = mainWindow();
    check(w != nullptr, L"main window found");
    if (!w || bars.bytes.empty()) return failures;
    SetForegroundWindow(w);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(scaledMs(1000));
    HWND toolbar = FindWindowExW(w, nullptr, L"ToolbarWindow32", nullptr);
    HWND status = FindWindowExW(w, nullptr, L"msctls_statusbar32", nullptr);
    check(toolbar && IsWindowVisible(toolbar) && status, L"the toolbar is shown, the status bar made");
    if (!toolbar || !status) return failures;
    // The program as shipped hides its status bar (option bit 0x80000): it is shown here for the
    // probe, along the frame's bottom, and hidden again afterwards.
    const bool statusHidden = !IsWindowVisible(status);
    if (statusHidden) {
        ShowWindow(status, SW_SHOWNOACTIVATE);
        send(status, WM_SIZE, 0, 0);
        RedrawWindow(status, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        Sleep(scaledMs(500));
    }
    const COLORREF face = bars.at(10, 12), fill = bars.at(30, 12), platform = GetSysColor(COLOR_BTNFACE);
    check(face != platform && fill != platform, L"the skin's colours differ from the platform's face " + colourText(platform));
    RECT toolWindow;
    GetWindowRect(toolbar, &toolWindow);
    const RECT toolClient = clientOnScreen(toolbar);
    ScreenPixels tb(toolWindow), sb(clientOnScreen(status));
    const int above = toolClient.top - toolWindow.top;
    const int toolFace = tb.share(face, above), divider = above > 0 ? tb.share(face, 0, above) : 100;
    check(toolFace >= 40, L"the toolbar is mostly the skin's face " + colourText(face) + L": " + std::to_wstring(toolFace) + L"%");
    check(divider >= 90, L"its divider (" + std::to_wstring(above) + L" rows) is painted with the face: " +
                             std::to_wstring(divider) + L"%");
    const int statusFill = sb.share(fill);
    check(statusFill >= 50, L"the status bar is mostly the skin's fill " + colourText(fill) + L": " +
                                std::to_wstring(statusFill) + L"%");
    const int left = tb.share(platform) + sb.share(platform);
    check(left < 10, L"the platform's face is hardly left on the bars: " + std::to_wstring(left) + L"%");
    if (statusHidden) ShowWindow(status, SW_HIDE);
    return failures;
}

// exports DLL: the capture library's functions are found by ordinal and by name.
int phaseExports(const std::wstring& dll) {
    HMODULE m = LoadLibraryW(dll.c_str());
    check(m != nullptr, L"tchk.dll loads");
    if (!m) return failures;
    const char* byName[] = {"TCHKInitTextCapture", "TCHKDisableTextCapture", "TCHKBeginTextCapture",
                            "TCHKCopyCapturedText"};
    for (int i = 0; i < 4; ++i) {
        FARPROC o = GetProcAddress(m, MAKEINTRESOURCEA(13 + i));
        check(o && o == GetProcAddress(m, byName[i]), L"ordinal " + std::to_wstring(13 + i) + L" is " +
              std::wstring(byName[i], byName[i] + strlen(byName[i])));
    }
    check(GetProcAddress(m, "TCHKGetProcessFileName") != nullptr, L"TCHKGetProcessFileName by name");
    check(GetProcAddress(m, "TCHKSetActivationMethod") != nullptr, L"TCHKSetActivationMethod by name");
    check(GetProcAddress(m, "gsTraceFileName") != nullptr, L"gsTraceFileName by name");
    FreeLibrary(m);
    return failures;
}

// ----- the look-up, driven through the view's controls ----------------------------------

const int kView = 0xE900, kCombo = 1001, kGo = 1003, kCancel = 1004, kMainList = 1012, kProgress = 1014;

HWND viewOf(HWND frame) { return frame ? GetDlgItem(frame, kView) : nullptr; }

std::wstring listText(HWND list) {
    std::vector<wchar_t> buf(65536);
    DWORD_PTR r = 0;
    SendMessageTimeoutW(list, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG, scaledMs(10000), &r);
    return std::wstring(buf.data());
}

std::vector<std::wstring> linesOf(const std::wstring& text) {
    std::vector<std::wstring> out;
    size_t start = 0;
    for (;;) {
        size_t p = text.find(L'\n', start);
        out.push_back(text.substr(start, p == std::wstring::npos ? std::wstring::npos : p - start));
        if (p == std::wstring::npos) break;
        start = p + 1;
    }
    return out;
}

std::wstring clipboardText() {
    for (int i = 0; i < 50; ++i) {
        if (OpenClipboard(nullptr)) {
            std::wstring text;
            if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
                if (auto* p = static_cast<const wchar_t*>(GlobalLock(h))) {
                    text = p;
                    GlobalUnlock(h);
                }
            } else {
                text = L"<no text>";
            }
            CloseClipboard();
            return text;
        }
        Sleep(100);
    }
    return L"<clipboard busy>";
}

void clearClipboard() {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

void clickButton(HWND view, int id) {
    send(view, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(view, id)));
}

void searchFor(HWND view, const std::wstring& text) {
    send(GetDlgItem(view, kCombo), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    clickButton(view, kGo);
}

// A press, a move and a release in the list, in its client coordinates.
void dragInList(HWND list, int x1, int y1, int x2, int y2) {
    send(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x1, y1));
    send(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x2, y2));
    send(list, WM_LBUTTONUP, 0, MAKELPARAM(x2, y2));
}

// Selects the list's first result: a drag from the margin left of its first character
// (outside the selected headword, so no drag of it starts) to a point on a later line; the
// selection stops at the end of the result it began in. (A point below every cell would
// select nothing, and so would one outside the list: the pop-up's list is narrower than the
// main view's.)
void selectFirstResult(HWND list) {
    RECT r{};
    GetClientRect(list, &r);
    dragInList(list, 2, 3, std::min<int>(300, r.right - 2), std::min<int>(100, r.bottom - 2));
}

std::wstring copyFromList(HWND frame) {
    clearClipboard();
    send(frame, WM_COMMAND, 57634, 0);
    return clipboardText();
}

std::wstring oneLine(std::wstring s) {
    std::replace(s.begin(), s.end(), L'\n', L' ');
    return s.size() > 160 ? s.substr(0, 160) + L"..." : s;
}

// The text begins with the word, or with the arrow before a stem search's first result.
bool startsWithWord(const std::wstring& text, const std::wstring& word) {
    const size_t at = text.compare(0, 1, L"\u2192") == 0 ? 1 : 0;
    return text.compare(at, word.size(), word) == 0;
}

// size W H: the main window at 0,0 with that size.
int phaseSize(int w, int h) {
    HWND frame = mainWindow();
    check(frame != nullptr, L"main window found");
    if (!frame) return failures;
    SetWindowPos(frame, nullptr, 0, 0, w, h, SWP_NOZORDER);
    Sleep(300);
    return failures;
}

// lookup S T WORD ANY: with the pair S->T the word is looked up with Go; its whole first
// result, copied through the program's Copy command, begins with the word and holds at
// least one of the translations ANY ('|'-separated) that the dictionary source has.
int phaseLookup(int s, int t, const std::wstring& word, const std::wstring& any) {
    HWND frame = mainWindow(), view = viewOf(frame);
    check(view != nullptr, L"view found");
    if (!view) return failures;
    check(send(frame, 0x8005, s, t) == 1, L"language pair " + std::to_wstring(s) + L"->" + std::to_wstring(t));
    check(send(frame, 0x8003, 0, 0) == s, L"search language is " + std::to_wstring(s));
    searchFor(view, word);
    HWND list = GetDlgItem(view, kMainList);
    std::wstring shown = listText(list);
    check(startsWithWord(shown, word), L"the list begins with " + word + L": " + oneLine(shown));
    selectFirstResult(list);
    std::wstring copied = copyFromList(frame);
    bool found = false;
    for (const std::wstring& tr : split(any, L'|'))
        if (copied.find(tr) != std::wstring::npos) found = true;
    check(startsWithWord(copied, word) && found, L"copied " + word + L": " + oneLine(copied));
    return failures;
}

// mode N: the search-mode command of mode N (1 Standard, 2 Browse, 3 Advanced) and a search.
int phaseMode(int mode, const std::wstring& text) {
    HWND frame = mainWindow(), view = viewOf(frame);
    if (!view) return check(false, L"view found"), failures;
    send(frame, WM_COMMAND, mode == 1 ? 11400 : mode == 2 ? 11420 : 11440, 0);
    send(GetDlgItem(view, kCombo), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (mode != 2) clickButton(view, kGo);
    else send(view, WM_COMMAND, MAKEWPARAM(kCombo, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(view, kCombo)));
    Sleep(300);
    return failures;
}

bool waitHidden(HWND w, DWORD ms) {
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(ms); Sleep(50))
        if (!IsWindowVisible(w)) return true;
    return !IsWindowVisible(w);
}

// advanced PATTERN MATCH: an advanced search runs to its end; every match shown fits the
// pattern's example MATCH and the list ends with the finished caption.
int phaseAdvanced(const std::wstring& pattern, const std::wstring& match) {
    HWND frame = mainWindow(), view = viewOf(frame);
    if (!view) return check(false, L"view found"), failures;
    send(frame, WM_COMMAND, 11440, 0);
    check(IsWindowVisible(GetDlgItem(view, 1011)) && IsWindowVisible(GetDlgItem(view, 1010)),
          L"Wildcards and Options shown in advanced mode");
    DWORD t0 = GetTickCount();
    searchFor(view, pattern);
    check(IsWindowVisible(GetDlgItem(view, kCancel)) || !IsWindowVisible(GetDlgItem(view, kProgress)),
          L"Cancel shown while the search runs");
    bool ended = waitHidden(GetDlgItem(view, kCancel), 120000);
    DWORD took = GetTickCount() - t0;
    check(ended, L"the advanced search ends (" + std::to_wstring(took) + L" ms)");
    check(!IsWindowVisible(GetDlgItem(view, kProgress)), L"the progress bar is hidden at the end");
    Sleep(200);
    std::wstring shown = listText(GetDlgItem(view, kMainList));
    check(shown.find(match) != std::wstring::npos, L"a match " + match + L" is listed");
    check(shown.find(L"Search finished.") != std::wstring::npos, L"finished caption: " + oneLine(shown));
    return failures;
}

// cancel PATTERN: an advanced search over a large module, cancelled mid-way.
int phaseCancel(const std::wstring& pattern) {
    HWND frame = mainWindow(), view = viewOf(frame);
    if (!view) return check(false, L"view found"), failures;
    send(frame, WM_COMMAND, 11440, 0);
    searchFor(view, pattern);
    Sleep(20);
    HWND cancel = GetDlgItem(view, kCancel);
    check(IsWindowVisible(cancel), L"the search runs");
    clickButton(view, kCancel);
    check(!IsWindowVisible(cancel) && !IsWindowVisible(GetDlgItem(view, kProgress)),
          L"Cancel hides the button and the progress bar at once");
    Sleep(500);
    // The status line ends the list.
    send(GetDlgItem(view, kMainList), WM_VSCROLL, SB_BOTTOM, 0);
    std::wstring shown = listText(GetDlgItem(view, kMainList));
    check(shown.find(L"Search cancelled.") != std::wstring::npos, L"cancelled caption: " + oneLine(shown));
    // A new search starts again after the cancelled one.
    searchFor(view, L"hou?e");
    bool ended = waitHidden(cancel, 120000);
    check(ended, L"a new advanced search runs to its end after a cancel");
    send(frame, WM_COMMAND, 11400, 0);
    return failures;
}

// scroll WORD: in Browse mode the scroll bar and the keys move the view.
int phaseScroll(const std::wstring& word) {
    HWND frame = mainWindow(), view = viewOf(frame);
    if (!view) return check(false, L"view found"), failures;
    HWND list = GetDlgItem(view, kMainList);
    send(frame, WM_COMMAND, 11420, 0);
    send(GetDlgItem(view, kCombo), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(word.c_str()));
    send(view, WM_COMMAND, MAKEWPARAM(kCombo, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(view, kCombo)));
    clickButton(view, kGo);
    std::vector<std::wstring> before = linesOf(listText(list));
    check(before.size() > 6, L"the list is full: " + std::to_wstring(before.size()) + L" lines");
    if (before.size() <= 6) return failures;
    for (int i = 0; i < 3; ++i) send(list, WM_VSCROLL, SB_LINEDOWN, 0);
    std::vector<std::wstring> down = linesOf(listText(list));
    bool shifted = down.size() + 3 >= before.size();
    for (size_t i = 0; shifted && i + 4 < before.size(); ++i) shifted = down[i] == before[i + 3];
    check(shifted, L"three lines down: the view moved by three lines: " + down[0]);
    send(list, WM_VSCROLL, SB_LINEUP, 0);
    check(linesOf(listText(list))[0] == before[2], L"one line up again");
    send(list, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), 0);
    check(linesOf(listText(list))[0] == before[3], L"a wheel turn of -360 is one line");
    // Keys reach the list through the program's message pump.
    SetForegroundWindow(frame);
    std::vector<std::wstring> top = linesOf(listText(list));
    // A posted key is handled when the program's thread gets to it: wait for the top line to move.
    auto topLine = [list] { return linesOf(listText(list))[0]; };
    PostMessageW(list, WM_KEYDOWN, VK_NEXT, 0);
    waitFor([&] { return topLine() != top[0]; }, 5000);
    std::vector<std::wstring> paged = linesOf(listText(list));
    size_t at = std::find(top.begin(), top.end(), paged[0]) - top.begin();
    check(at >= 2 && at < top.size(), L"Page Down moves a page less a line: line " + std::to_wstring(at) + L" on top");
    PostMessageW(list, WM_KEYDOWN, VK_PRIOR, 0);
    check(waitFor([&] { return topLine() == top[0]; }, 5000), L"Page Up comes back");
    send(list, WM_VSCROLL, SB_TOP, 0);
    std::wstring first = topLine();
    check(first != top[0], L"the scroll bar's top is the dictionary's beginning: " + first);
    PostMessageW(list, WM_KEYDOWN, VK_END, 0);
    waitFor([&] { return topLine() != first; }, 5000);
    std::wstring last = topLine();
    check(last != first, L"End goes to the dictionary's end: " + last);
    PostMessageW(list, WM_KEYDOWN, VK_HOME, 0);
    check(waitFor([&] { return topLine() == first; }, 5000), L"Home comes back to the beginning");
    send(frame, WM_COMMAND, 11400, 0);
    return failures;
}

// select WORD: selecting with the mouse and copying yields the selected characters.
int phaseSelect(const std::wstring& word) {
    HWND frame = mainWindow(), view = viewOf(frame);
    if (!view) return check(false, L"view found"), failures;
    HWND list = GetDlgItem(view, kMainList);
    searchFor(view, word);
    std::wstring line = linesOf(listText(list))[0];
    // A selection that leaves the headword's first letters free, then a drag from the second
    // character across a few letters (the headword begins at x 4).
    dragInList(list, 2, 3, 10, 3);
    dragInList(list, 13, 3, 34, 3);
    std::wstring copied = copyFromList(frame);
    check(copied.size() >= 2 && line.compare(1, copied.size(), copied) == 0,
          L"the selected characters are copied: '" + copied + L"' of '" + line + L"'");
    // A click on one letter selects its word.
    dragInList(list, 8, 3, 8, 3);
    check(copyFromList(frame) == word, L"a click on a letter selects the word " + word);
    return failures;
}

// drop TEXT ID LANG TOP: text dragged with OLE from this program onto control ID of the
// view is looked up (a language button switches the direction to its language). The
// pointer is moved by a second thread; the drop source drops when that thread says so, so
// the drag does not depend on how the display reports the button.
volatile LONG gReleased = 0;
std::wstring gStatusWhileOver;  // the frame's status bar while the text is over the target
HWND gStatusBar = nullptr;

class DriverDropSource : public IDropSource {
public:
    virtual ~DriverDropSource() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *out = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
        if (escape) return DRAGDROP_S_CANCEL;
        return gReleased ? DRAGDROP_S_DROP : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

DWORD WINAPI moveAndRelease(void* arg) {
    POINT to = *static_cast<POINT*>(arg);
    Sleep(400);
    for (int i = 1; i <= 10; ++i) {
        SetCursorPos(to.x - 50 + 5 * i, to.y);
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = MOUSEEVENTF_MOVE;
        SendInput(1, &in, sizeof in);
        Sleep(60);
    }
    Sleep(300);
    if (gStatusBar) gStatusWhileOver = windowText(gStatusBar);
    InterlockedExchange(&gReleased, 1);
    // One more move, so the drag loop looks at the source again.
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
    INPUT up{};
    up.type = INPUT_MOUSE;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &up, sizeof up);
    return 0;
}

bool dropOn(HWND frame, HWND target, const std::wstring& text) {
    gStatusBar = FindWindowExW(frame, nullptr, L"msctls_statusbar32", nullptr);
    gStatusWhileOver.clear();
    SetForegroundWindow(frame);
    Sleep(300);
    RECT r;
    GetWindowRect(target, &r);
    POINT to{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    OleInitialize(nullptr);
    SetCursorPos(10, 700);
    INPUT down{};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &down, sizeof down);
    InterlockedExchange(&gReleased, 0);
    HANDLE mover = CreateThread(nullptr, 0, moveAndRelease, &to, 0, nullptr);
    IDataObject* data = createTextDataObject(text);
    DriverDropSource source;
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr = DoDragDrop(data, &source, DROPEFFECT_COPY, &effect);
    WaitForSingleObject(mover, scaledMs(10000));
    CloseHandle(mover);
    data->Release();
    OleUninitialize();
    check(hr == DRAGDROP_S_DROP && effect == DROPEFFECT_COPY,
          L"the drop is taken as a copy: hr " + hex(static_cast<unsigned long>(hr)) + L" effect " + std::to_wstring(effect));
    Sleep(500);
    return hr == DRAGDROP_S_DROP;
}

int phaseDrop(const std::wstring& text, int id, int expectedLanguage, const std::wstring& expectTop) {
    HWND frame = mainWindow(), view = viewOf(frame);
    if (!view) return check(false, L"view found"), failures;
    dropOn(frame, GetDlgItem(view, id), text);
    check(gStatusWhileOver == L"Translate \"" + text + L"\"", L"over the target the status bar says: " + gStatusWhileOver);
    check(windowText(gStatusBar).empty(), L"and after the drop the idle message: " + windowText(gStatusBar));
    check(windowText(GetDlgItem(view, kCombo)) == text, L"the dropped text is in the search box: " +
          windowText(GetDlgItem(view, kCombo)));
    check(send(frame, 0x8003, 0, 0) == expectedLanguage, L"search language " + std::to_wstring(expectedLanguage));
    std::wstring shown = listText(GetDlgItem(view, kMainList));
    check(startsWithWord(shown, expectTop), L"and looked up: " + oneLine(shown));
    return failures;
}

// dropadvanced TEXT: in advanced mode a drop only sets the search text.
int phaseDropAdvanced(const std::wstring& text) {
    HWND frame = mainWindow(), view = viewOf(frame);
    if (!view) return check(false, L"view found"), failures;
    send(frame, WM_COMMAND, 11440, 0);
    HWND list = GetDlgItem(view, kMainList);
    std::wstring before = listText(list);
    dropOn(frame, list, text);
    check(windowText(GetDlgItem(view, kCombo)) == text, L"advanced mode: the dropped text is in the search box");
    check(!IsWindowVisible(GetDlgItem(view, kCancel)) && listText(list) == before, L"and nothing is searched");
    send(frame, WM_COMMAND, 11400, 0);
    return failures;
}

// help FILE: the User's Manual command; with FILE "missing" the message names the help
// file and the data folder; otherwise the viewer window or, where the viewer cannot show
// pages, the same message.
int phaseHelp(const std::wstring& expect, const std::wstring& folder) {
    HWND frame = mainWindow();
    if (!frame) return check(false, L"main window found"), failures;
    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    PostMessageW(frame, WM_COMMAND, 11600, 0);
    std::wstring text;
    HWND viewer = nullptr;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(15000) && text.empty() && !viewer; Sleep(100)) {
        Dialogs d{pid, {}};
        EnumWindows(collectDialogs, reinterpret_cast<LPARAM>(&d));
        if (!d.found.empty()) {
            text = windowText(GetDlgItem(d.found.front(), 2101));
            PostMessageW(d.found.front(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        viewer = FindWindowW(L"HH Parent", nullptr);
    }
    std::wstring message = L"The program cannot find the file \"wordmerehelp.chm\", which should be in the folder \"" +
                           folder + L"\".";
    if (text.compare(0, 4, L"Das ") == 0)
        message = L"Das Programm findet die Datei \u201Ewordmerehelp.chm\u201C nicht, die im Ordner \u201E" + folder +
                  L"\u201C liegen sollte.";
    if (expect == L"missing") {
        check(text == message, L"message 16000: " + text);
    } else {
        check(viewer != nullptr || text == message, viewer ? L"the help viewer opens: " + windowText(viewer)
                                                             : L"the viewer shows no window here; message: " + text);
        if (viewer) PostMessageW(viewer, WM_CLOSE, 0, 0);
    }
    return failures;
}

// timing N WORDS: the time from pressing Go to the list painted, over N look-ups of the
// comma-separated words in turn.
int phaseTiming(int n, const std::wstring& words) {
    HWND frame = mainWindow(), view = viewOf(frame);
    if (!view) return check(false, L"view found"), failures;
    HWND combo = GetDlgItem(view, kCombo), list = GetDlgItem(view, kMainList), go = GetDlgItem(view, kGo);
    std::vector<std::wstring> w = split(words, L',');
    std::vector<double> ms;
    LARGE_INTEGER f, a, b;
    QueryPerformanceFrequency(&f);
    for (int i = 0; i < n && !w.empty(); ++i) {
        const std::wstring& word = w[static_cast<size_t>(i) % w.size()];
        send(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(word.c_str()));
        QueryPerformanceCounter(&a);
        send(view, WM_COMMAND, MAKEWPARAM(kGo, BN_CLICKED), reinterpret_cast<LPARAM>(go));
        RedrawWindow(list, nullptr, nullptr, RDW_UPDATENOW);
        send(list, WM_NULL, 0, 0);
        QueryPerformanceCounter(&b);
        ms.push_back(1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart));
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms) sum += v;
    if (!ms.empty())
        wprintf(L"timing: %d look-ups, Go to painted: median %.2f ms, mean %.2f ms, 90th %.2f ms, max %.2f ms\n",
                static_cast<int>(ms.size()), ms[ms.size() / 2], sum / ms.size(), ms[ms.size() * 9 / 10], ms.back());
    // What one message to the program and back costs by itself, for the share of the Go
    // that is the messages between the processes.
    std::vector<double> trips;
    for (int i = 0; i < n; ++i) {
        QueryPerformanceCounter(&a);
        send(list, WM_NULL, 0, 0);
        QueryPerformanceCounter(&b);
        trips.push_back(1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart));
    }
    std::sort(trips.begin(), trips.end());
    if (!trips.empty()) wprintf(L"timing: one message round trip: median %.3f ms\n", trips[trips.size() / 2]);
    check(!ms.empty(), L"look-ups timed");
    return failures;
}

HWND focusOf(HWND w) {
    GUITHREADINFO gi{};
    gi.cbSize = sizeof gi;
    DWORD tid = GetWindowThreadProcessId(w, nullptr);
    return GetGUIThreadInfo(tid, &gi) ? gi.hwndFocus : nullptr;
}

HWND editOf(HWND view) { return FindWindowExW(GetDlgItem(view, kCombo), nullptr, L"Edit", nullptr); }

// typing: keys typed in the list go to the search box, typing never searches (the shipped
// option word), Enter does; Tab cycles the search box and the list.
int phaseTyping() {
    HWND frame = mainWindow(), view = viewOf(frame);
    if (!view) return check(false, L"view found"), failures;
    HWND list = GetDlgItem(view, kMainList), edit = editOf(view);
    send(frame, WM_COMMAND, 11400, 0);
    searchFor(view, L"house");
    std::wstring before = listText(list);
    SetFocus(nullptr);
    send(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 3));
    send(list, WM_LBUTTONUP, 0, MAKELPARAM(2, 3));
    check(focusOf(list) == list, L"a click puts the focus in the list");
    // The first key goes to the list, which has the focus; the next ones to whatever has it then.
    PostMessageW(list, WM_KEYDOWN, 'C', 1);
    Sleep(300);
    for (wchar_t ch : std::wstring(L"AT")) PostMessageW(focusOf(list), WM_KEYDOWN, ch, 1);
    Sleep(500);
    check(windowText(GetDlgItem(view, kCombo)) == L"cat", L"keys typed in the list go to the search box: '" +
          windowText(GetDlgItem(view, kCombo)) + L"'");
    check(focusOf(list) == edit, L"and the search box has the focus");
    check(listText(list) == before, L"typing does not search");
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    Sleep(500);
    check(startsWithWord(listText(list), L"cat"), L"Enter searches: " + oneLine(listText(list)));
    check(focusOf(list) == list, L"a standard search puts the focus in the list");
    PostMessageW(list, WM_KEYDOWN, VK_TAB, 1);
    Sleep(300);
    check(focusOf(list) == edit, L"Tab from the list (no reverse list) returns to the search box");
    PostMessageW(edit, WM_KEYDOWN, VK_TAB, 1);
    Sleep(300);
    check(focusOf(list) == list, L"Tab goes from the search box to the list");
    return failures;
}

// history: the same typed search twice adds one entry; picking an older entry and
// searching again adds none; clearing empties the list.
int phaseHistory() {
    HWND frame = mainWindow(), view = viewOf(frame);
    if (!view) return check(false, L"view found"), failures;
    HWND combo = GetDlgItem(view, kCombo);
    send(frame, WM_COMMAND, 11470, 0);
    check(send(combo, CB_GETCOUNT, 0, 0) == 0, L"Clear history empties the list");
    searchFor(view, L"house");
    searchFor(view, L"house");
    check(send(combo, CB_GETCOUNT, 0, 0) == 1, L"the same search twice: one entry");
    searchFor(view, L"cat");
    check(send(combo, CB_GETCOUNT, 0, 0) == 2, L"another search: two entries");
    send(combo, CB_SETCURSEL, 1, 0);
    PostMessageW(view, WM_COMMAND, MAKEWPARAM(kCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    Sleep(500);
    check(windowText(combo) == L"house", L"picking the older entry puts its text in the box: " + windowText(combo));
    check(startsWithWord(listText(GetDlgItem(view, kMainList)), L"house"), L"and searches it");
    check(send(combo, CB_GETCOUNT, 0, 0) == 2, L"searching a picked entry adds none");
    // Back in the toolbar steps to the older entry.
    send(frame, WM_COMMAND, 11810, 0);
    check(windowText(combo) == L"cat", L"Forward steps to the newer entry: " + windowText(combo));
    return failures;
}

// nohelp: a help command whose topic string does not exist does nothing.
int phaseNoHelp() {
    HWND frame = mainWindow();
    if (!frame) return check(false, L"main window found"), failures;
    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    PostMessageW(frame, WM_COMMAND, 9599, 0);
    Sleep(1500);
    Dialogs d{pid, {}};
    EnumWindows(collectDialogs, reinterpret_cast<LPARAM>(&d));
    check(d.found.empty(), L"help topic 9599 (no such string) shows nothing");
    for (HWND box : d.found) PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return failures;
}

struct FindWindowOf {
    DWORD pid;
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK findWindowOf(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<FindWindowOf*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[64] = L"";
    GetClassNameW(w, cls, 64);
    if (pid == f->pid && lstrcmpW(cls, f->cls) == 0 && IsWindowVisible(w)) {
        f->found = w;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of the process with that class, waited for.
HWND findProcessWindow(DWORD pid, const wchar_t* cls, DWORD ms) {
    FindWindowOf f{pid, cls, nullptr};
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(ms) && !f.found; Sleep(100))
        EnumWindows(findWindowOf, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

int visibleLines(HWND list) {
    int n = 0;
    for (const std::wstring& l : linesOf(listText(list)))
        if (!l.empty()) ++n;
    return n;
}

// font: the font dialog starts from the lists' font; a larger size chosen there is applied
// to the list (fewer lines fit) and stored.
int phaseFont() {
    HWND frame = mainWindow(), view = viewOf(frame);
    if (!view) return check(false, L"view found"), failures;
    HWND list = GetDlgItem(view, kMainList);
    searchFor(view, L"house");
    int before = visibleLines(list);
    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    PostMessageW(frame, WM_COMMAND, 11480, 0);
    HWND dlg = findProcessWindow(pid, L"#32770", 10000);
    check(dlg != nullptr, L"the font dialog opens: " + (dlg ? windowText(dlg) : std::wstring()));
    if (!dlg) return failures;
    // A face Wine always has, and 14 points, chosen as a user would: an item picked in each box.
    auto pick = [&](int box, const wchar_t* item) {
        HWND cb = GetDlgItem(dlg, box);
        LRESULT at = send(cb, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item));
        send(dlg, WM_COMMAND, MAKEWPARAM(box, CBN_SELCHANGE), reinterpret_cast<LPARAM>(cb));
        return at >= 0;
    };
    // The face: the last one the dialog offers, which is not the one it started with.
    HWND faces = GetDlgItem(dlg, 0x470);
    LRESULT count = send(faces, CB_GETCOUNT, 0, 0);
    wchar_t face[LF_FACESIZE + 8] = L"";
    if (count > 0) send(faces, CB_GETLBTEXT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(face));
    if (windowText(faces) == face && count > 1)
        send(faces, CB_GETLBTEXT, static_cast<WPARAM>(count - 2), reinterpret_cast<LPARAM>(face));
    check(face[0] && pick(0x470, face), L"face " + std::wstring(face) + L" chosen");
    check(pick(0x472, L"14"), L"size 14 offered");
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
    for (int i = 0; i < 50 && IsWindow(dlg); ++i) Sleep(100);
    check(!IsWindow(dlg), L"OK closes it");
    Sleep(300);
    check(regInt(L"Font Size") == 140, L"Font Size stored: " + std::to_wstring(regInt(L"Font Size")));
    check(regString(L"Font") == face, L"Font stored: " + regString(L"Font"));
    int after = visibleLines(list);
    check(after < before, L"the larger font shows fewer lines: " + std::to_wstring(before) + L" -> " + std::to_wstring(after));
    // Opened again, the dialog starts from the font now in use.
    PostMessageW(frame, WM_COMMAND, 11480, 0);
    dlg = findProcessWindow(pid, L"#32770", 10000);
    check(dlg != nullptr, L"the font dialog opens again");
    if (!dlg) return failures;
    check(windowText(GetDlgItem(dlg, 0x470)) == face && windowText(GetDlgItem(dlg, 0x472)) == L"14",
          L"and starts at the font chosen: " + windowText(GetDlgItem(dlg, 0x470)) + L" " + windowText(GetDlgItem(dlg, 0x472)));
    PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDCANCEL)));
    for (int i = 0; i < 50 && IsWindow(dlg); ++i) Sleep(100);
    check(regInt(L"Font Size") == 140, L"Cancel changes nothing");
    return failures;
}

// contextmenu: a right click in the list opens the context menu; Escape closes it.
int phaseContextMenu() {
    HWND frame = mainWindow(), view = viewOf(frame);
    if (!view) return check(false, L"view found"), failures;
    HWND list = GetDlgItem(view, kMainList);
    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    SetForegroundWindow(frame);
    PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 40));
    HWND menu = findProcessWindow(pid, L"#32768", 5000);
    check(menu != nullptr, L"a right click in the list opens the context menu");
    if (menu) {
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        for (int i = 0; i < 30 && IsWindowVisible(menu); ++i) Sleep(100);
        if (IsWindowVisible(menu)) PostMessageW(frame, WM_CANCELMODE, 0, 0);
        for (int i = 0; i < 30 && IsWindowVisible(menu); ++i) Sleep(100);
        check(!IsWindowVisible(menu), L"and Escape closes it");
    }
    check(send(frame, 0x8001, 0, 0) == static_cast<LRESULT>(0xC0C0FFEEu), L"the program answers afterwards");
    return failures;
}

// clipboardbusy: while another program holds the clipboard open, Copy says so.
int phaseClipboardBusy() {
    HWND frame = mainWindow(), view = viewOf(frame);
    if (!view) return check(false, L"view found"), failures;
    send(frame, WM_COMMAND, 11400, 0);
    searchFor(view, L"house");  // a standard search leaves the focus in the list
    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    check(OpenClipboard(nullptr) != 0, L"the driver holds the clipboard");
    PostMessageW(frame, WM_COMMAND, 57634, 0);
    std::wstring text;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(10000) && text.empty(); Sleep(100)) {
        Dialogs d{pid, {}};
        EnumWindows(collectDialogs, reinterpret_cast<LPARAM>(&d));
        if (!d.found.empty()) {
            text = windowText(GetDlgItem(d.found.front(), 2101));
            PostMessageW(d.found.front(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
    CloseClipboard();
    check(text == L"Cannot open the Clipboard", L"Copy reports: " + text);
    // Closing the message box gives the view, and so the search box, the focus; Tab goes on
    // to the list, whose selection is unchanged.
    Sleep(300);
    PostMessageW(editOf(view), WM_KEYDOWN, VK_TAB, 1);
    Sleep(300);
    std::wstring copied = copyFromList(frame);
    check(copied == L"house", L"and copies once the clipboard is free: " + copied);
    return failures;
}

// stem S T WORD HEADWORD ANY: an inflected form found through the stems of the conjugation
// module: the list shows the base form HEADWORD with one of the translations ANY.
int phaseStem(int s, int t, const std::wstring& word, const std::wstring& headword, const std::wstring& any) {
    HWND frame = mainWindow(), view = viewOf(frame);
    if (!view) return check(false, L"view found"), failures;
    send(frame, 0x8005, s, t);
    send(frame, WM_COMMAND, 11400, 0);
    searchFor(view, word);
    std::wstring shown = listText(GetDlgItem(view, kMainList));
    bool found = false;
    for (const std::wstring& tr : split(any, L'|'))
        if (shown.find(tr) != std::wstring::npos) found = true;
    check(shown.find(headword) != std::wstring::npos && found, word + L" leads to " + headword + L": " + oneLine(shown));
    return failures;
}
// pairs: with the English-French and English-German modules installed, those pairs are
// reported available (either direction) and a pair without a module is not.
int phasePairs() {
    HWND w = mainWindow();
    check(w != nullptr, L"main window found");
    if (!w) return failures;
    struct {
        WPARAM a;
        LPARAM b;
        LRESULT expected;
    } pairs[] = {{1, 2, 1}, {2, 1, 1}, {1, 4, 1}, {4, 1, 1}, {1, 3, 0}, {2, 4, 0}};
    for (auto& p : pairs)
        check(send(w, 0x8002, p.a, p.b) == p.expected,
              L"WM_QUERY_LANGUAGE_PAIR " + std::to_wstring(p.a) + L"," + std::to_wstring(p.b) + L" answers " +
                  std::to_wstring(p.expected));
    return failures;
}
}  // namespace

// ----- the pop-up look-up window -------------------------------------------------------

const wchar_t kPopupClass[] = L"WordmereHotkey", kPopupTitle[] = L"Wordmere Hotkey";
const int kPopupSearchBox = 2301, kPopupList = 2305, kPopupWidth = 278, kPopupHeight = 325;
const UINT kCaptureByAccessibility = 0x83F5;

struct PopupProbe {
    std::wstring label, word;
    POINT at;
};

struct PopupTarget {
    std::vector<PopupProbe> probes;
    POINT blank{};
};

// The target's probe file (written once it has painted; a program's start takes minutes under
// an emulated Wine).
bool readPopupProbes(const std::wstring& file, PopupTarget& t) {
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(60000);) {
        FILE* f = _wfopen(file.c_str(), L"r, ccs=UTF-8");
        if (f) {
            std::vector<std::wstring> lines;
            wchar_t buf[512];
            while (fgetws(buf, 512, f)) {
                std::wstring l = buf;
                while (!l.empty() && (l.back() == L'\n' || l.back() == L'\r')) l.pop_back();
                lines.push_back(l);
            }
            fclose(f);
            if (!lines.empty() && lines.back() == L"ready") {
                for (const std::wstring& l : lines) {
                    std::vector<std::wstring> c = split(l, L'\t');
                    if (c.size() == 5 && c[0] == L"probe")
                        t.probes.push_back({c[1], c[2], {_wtoi(c[3].c_str()), _wtoi(c[4].c_str())}});
                    else if (c.size() == 3 && c[0] == L"blank")
                        t.blank = {_wtoi(c[1].c_str()), _wtoi(c[2].c_str())};
                }
                return !t.probes.empty();
            }
        }
        Sleep(100);
    }
    return false;
}

// The translations the dictionary source has, one "word<TAB>a|b|c" line per word.
std::vector<std::pair<std::wstring, std::wstring>> readOracle(const std::wstring& file) {
    std::vector<std::pair<std::wstring, std::wstring>> out;
    FILE* f = _wfopen(file.c_str(), L"r, ccs=UTF-8");
    if (!f) return out;
    wchar_t buf[4096];
    while (fgetws(buf, 4096, f)) {
        std::wstring l = buf;
        while (!l.empty() && (l.back() == L'\n' || l.back() == L'\r')) l.pop_back();
        size_t tab = l.find(L'\t');
        if (tab != std::wstring::npos) out.push_back({l.substr(0, tab), l.substr(tab + 1)});
    }
    fclose(f);
    return out;
}

HWND popupWindow() { return FindWindowW(kPopupClass, kPopupTitle); }

void pressKey(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof in[0]);
}

double nowMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

HWND windowAtTop(POINT p) { return GetAncestor(WindowFromPoint(p), GA_ROOT); }

// Brings the program under the point to the front (the pop-up, when it covers the point,
// is no such program).
void foregroundAt(POINT p) {
    SetCursorPos(p.x, p.y);
    HWND top = windowAtTop(p);
    if (top && top != popupWindow() && GetForegroundWindow() != top) {
        SetForegroundWindow(top);
        // Under an emulated Wine the change reaches the window system's state late.
        for (DWORD t0 = GetTickCount(); GetForegroundWindow() != top && GetTickCount() - t0 < scaledMs(2000);) Sleep(20);
        // The program raises its window when it takes its activation, which comes before a
        // message sent now: a pop-up shown later is not put behind it again.
        send(top, WM_NULL, 0, 0);
        Sleep(150);
    }
}

// The pop-up shows `word` in its search box and its list begins with it.
bool popupShows(HWND popup, const std::wstring& word) {
    return IsWindowVisible(popup) && windowText(GetDlgItem(popup, kPopupSearchBox)) == word &&
           startsWithWord(listText(GetDlgItem(popup, kPopupList)), word);
}

// Points at the probe, presses the activation key and waits until the pop-up shows the
// word; the milliseconds from the key press, or -1.
double captureWith(HWND popup, const PopupProbe& p, double waitMs = 4000) {
    foregroundAt(p.at);
    const double t0 = nowMs();
    pressKey(VK_F2);
    while (nowMs() - t0 < waitMs * scaledMs(1)) {
        if (popupShows(popup, p.word)) return nowMs() - t0;
        Sleep(1);
    }
    return -1;
}

bool waitVisible(HWND w, bool visible, DWORD ms) {
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(ms); Sleep(20))
        if ((IsWindowVisible(w) != FALSE) == visible) return true;
    return (IsWindowVisible(w) != FALSE) == visible;
}

std::wstring rectText(const RECT& r) {
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" - " + std::to_wstring(r.right) + L"," +
           std::to_wstring(r.bottom);
}

// popupsettings HOTKEY SEARCH TRANSLATION: fresh settings with the activation method and
// the pair (English language names), as the options dialog stores them.
int phasePopupSettings(const std::wstring& hotkey, const std::wstring& search, const std::wstring& translation) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wordmere");
    regSetString(L"Hotkey", hotkey);
    regSetString(L"Search Language", search);
    regSetString(L"Translation Language", translation);
    check(regString(L"Hotkey") == hotkey, L"Hotkey = " + hotkey);
    return failures;
}

// popup PROBES ORACLE [LAST]: each word the target shows is captured with the activation
// key: the pop-up appears next to the pointer inside the screen, its search box holds the
// word, and its first result, copied through the program's Copy command, holds one of the
// translations the dictionary source has. The probe labelled LAST goes last, and its
// pop-up stays up (for the screenshot).
int phasePopup(const std::wstring& probeFile, const std::wstring& oracleFile, const std::wstring& last) {
    PopupTarget t;
    check(readPopupProbes(probeFile, t), L"the target's words are known");
    HWND popup = popupWindow();
    check(popup != nullptr && !IsWindowVisible(popup), L"the pop-up window exists and is hidden");
    if (!popup) return failures;
    auto oracle = readOracle(oracleFile);
    std::stable_partition(t.probes.begin(), t.probes.end(), [&](const PopupProbe& p) { return p.label != last; });
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    for (const PopupProbe& p : t.probes) {
        const std::wstring what = p.label + L" \"" + p.word + L"\"";
        double ms = captureWith(popup, p);
        check(ms >= 0, what + L": the pop-up shows the word (" + std::to_wstring(static_cast<int>(ms)) + L" ms)");
        if (ms < 0) {
            wprintf(L"     search box \"%ls\", visible %d\n", windowText(GetDlgItem(popup, kPopupSearchBox)).c_str(),
                    IsWindowVisible(popup) ? 1 : 0);
            continue;
        }
        RECT r;
        GetWindowRect(popup, &r);
        const bool below = r.top == p.at.y + 12, above = r.bottom <= p.at.y;
        const int wantLeft = std::min<int>(p.at.x, sw - kPopupWidth) - 3;
        check(r.right - r.left == kPopupWidth && r.bottom - r.top == kPopupHeight && r.left == wantLeft &&
                  (below || above) && r.left >= 0 && r.top >= 0 && r.right <= sw && r.bottom <= sh,
              what + L": next to the pointer " + std::to_wstring(p.at.x) + L"," + std::to_wstring(p.at.y) +
                  L" and on the screen: " + rectText(r) + (above ? L" (above)" : L" (below)"));
        std::wstring any;
        for (const auto& o : oracle)
            if (o.first == p.word) any = o.second;
        HWND list = GetDlgItem(popup, kPopupList);
        selectFirstResult(list);
        std::wstring copied = copyFromList(popup);
        bool found = false;
        for (const std::wstring& tr : split(any, L'|'))
            if (copied.find(tr) != std::wstring::npos) found = true;
        check(startsWithWord(copied, p.word) && found, what + L": copied " + oneLine(copied));
    }
    if (!last.empty()) {
        // The last pop-up stays up: where it is, for the script's screenshot of it.
        RECT r;
        GetWindowRect(popup, &r);
        const bool up = IsWindowVisible(popup) != FALSE;
        check(up, L"the last pop-up is still up for the screenshot: " + rectText(r));
        if (FILE* f = _wfopen((probeFile + L".shown").c_str(), L"w")) {
            if (up) fwprintf(f, L"%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
            fclose(f);
        }
    }
    return failures;
}

// popuptrack PROBES WORD: after a capture of WORD, the pointer 10 pixels left of the pop-up
// keeps it; 16 pixels left of it hides it at the next tick.
int phasePopupTrack(const std::wstring& probeFile, const std::wstring& word) {
    PopupTarget t;
    check(readPopupProbes(probeFile, t), L"the target's words are known");
    HWND popup = popupWindow();
    if (!popup) return check(false, L"the pop-up window exists"), failures;
    const PopupProbe* p = nullptr;
    for (const PopupProbe& q : t.probes)
        if (q.word == word) p = &q;
    if (!p) return check(false, L"a probe of " + word), failures;
    check(captureWith(popup, *p) >= 0, L"the pop-up shows " + word);
    RECT r;
    GetWindowRect(popup, &r);
    const int y = (r.top + r.bottom) / 2;
    SetCursorPos(r.left - 10, y);
    Sleep(700);  // three ticks
    check(IsWindowVisible(popup) != FALSE, L"10 pixels left of the pop-up keeps it");
    SetCursorPos(r.left - 16, y);
    const double t0 = nowMs();
    bool hidden = waitVisible(popup, false, 4000);
    check(hidden, L"16 pixels left of the pop-up hides it (" + std::to_wstring(static_cast<int>(nowMs() - t0)) + L" ms)");
    return failures;
}

// popuplatency PROBES N: the time from the activation key to the pop-up painted with the
// word's translation, over N captures that change words each time; beside it, in the same
// run, the main view's Go to painted list for the same words.
int phasePopupLatency(const std::wstring& probeFile, int n) {
    PopupTarget t;
    check(readPopupProbes(probeFile, t), L"the target's words are known");
    HWND popup = popupWindow();
    if (!popup) return check(false, L"the pop-up window exists"), failures;
    std::vector<double> ms;
    int missed = 0;
    for (int i = 0; i < n; ++i) {
        const PopupProbe& p = t.probes[static_cast<size_t>(i) % t.probes.size()];
        double v = captureWith(popup, p);
        if (v < 0)
            ++missed;
        else
            ms.push_back(v);
    }
    HWND frame = mainWindow(), view = viewOf(frame);
    std::vector<double> go;
    if (view) {
        HWND combo = GetDlgItem(view, kCombo), list = GetDlgItem(view, kMainList), button = GetDlgItem(view, kGo);
        for (int i = 0; i < n; ++i) {
            const std::wstring& word = t.probes[static_cast<size_t>(i) % t.probes.size()].word;
            send(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(word.c_str()));
            const double t0 = nowMs();
            send(view, WM_COMMAND, MAKEWPARAM(kGo, BN_CLICKED), reinterpret_cast<LPARAM>(button));
            RedrawWindow(list, nullptr, nullptr, RDW_UPDATENOW);
            send(list, WM_NULL, 0, 0);
            go.push_back(nowMs() - t0);
        }
    }
    std::sort(ms.begin(), ms.end());
    std::sort(go.begin(), go.end());
    check(missed == 0, std::to_wstring(n) + L" captures show their words (" + std::to_wstring(missed) + L" missed)");
    if (ms.empty() || go.empty()) return failures;
    const double m = ms[ms.size() / 2], g = go[go.size() / 2];
    wprintf(L"latency: key press to pop-up painted with the translation: median %.1f ms, 90th %.1f ms, max %.1f ms "
            L"over %d captures; the main view's Go to painted for the same words: median %.2f ms; ratio %.1f\n",
            m, ms[ms.size() * 9 / 10], ms.back(), static_cast<int>(ms.size()), g, g > 0 ? m / g : 0.0);
    const double limit = 150.0 * scaledMs(1);
    check(m < limit, L"median latency under " + std::to_wstring(static_cast<int>(limit)) + L" ms");
    return failures;
}

// The program's message box that appears within `ms`: its text, closed with OK.
std::wstring answerMessageBox(DWORD pid, DWORD ms) {
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(ms); Sleep(50)) {
        Dialogs d{pid, {}};
        EnumWindows(collectDialogs, reinterpret_cast<LPARAM>(&d));
        if (d.found.empty()) continue;
        HWND box = d.found.front();
        std::wstring text = windowText(GetDlgItem(box, 2101));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        waitVisible(box, false, 3000);
        return text;
    }
    return L"<no message>";
}

// popupfallback PROBES none|VIEWER_EXE EXPECTED_TEXT: with the pointer over the target's
// blank background, 0x83F5 gives the "no word" message; with a stand-in viewer program in
// front, the activation key over its page view (which draws no text) gives its message.
int phasePopupFallback(const std::wstring& probeFile, const std::wstring& viewer, const std::wstring& expected) {
    HWND popup = popupWindow();
    if (!popup) return check(false, L"the pop-up window exists"), failures;
    DWORD pid = 0;
    GetWindowThreadProcessId(popup, &pid);
    if (viewer == L"none") {
        PopupTarget t;
        check(readPopupProbes(probeFile, t), L"the target's words are known");
        foregroundAt(t.blank);
        PostMessageW(popup, kCaptureByAccessibility, 0, 0);
        std::wstring text = answerMessageBox(pid, 5000);
        check(text == expected, L"0x83F5 over no viewer: \"" + text + L"\"");
        return failures;
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    // Each viewer says "ready" in the same file: the previous one's word must not be taken for it.
    DeleteFileW((probeFile + L".viewer").c_str());
    std::wstring cmd = L"\"" + viewer + L"\" \"" + probeFile + L".viewer\" --viewer";
    if (!CreateProcessW(viewer.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return check(false, L"the viewer starts"), failures;
    PopupTarget none;  // the viewer says "ready" once it has painted
    readPopupProbes(probeFile + L".viewer", none);
    POINT middle{GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
    foregroundAt(middle);
    wchar_t cls[32] = L"";
    GetClassNameW(WindowFromPoint(middle), cls, 32);
    check(lstrcmpW(cls, L"AVL_AVView") == 0, std::wstring(L"the viewer's page view is under the pointer: ") + cls);
    pressKey(VK_F2);
    std::wstring text = answerMessageBox(pid, 5000);
    check(text == expected, L"the activation key over " + viewer.substr(viewer.find_last_of(L"\\/") + 1) + L": \"" +
                                text + L"\"");
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, scaledMs(5000));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return failures;
}

constexpr int kUsage = 100;
int dialogFailures = 0;   // the dialog phases count their own failed checks
int updaterFailures = 0;  // and so do the updater phases
int skinFailures = 0;     // and the skin's
int shotFailures = 0;     // and the screenshots'

int runPhase(int argc, wchar_t** argv) {
    std::wstring phase = argc > 1 ? argv[1] : L"";
    if (phase == L"start" && argc > 4) return phaseStart(argv[2], argv[3], argv[4]);
    if (phase == L"checks") return phaseChecks();
    if (phase == L"pairs") return phasePairs();
    if (phase == L"second" && argc > 2) return phaseSecond(argv[2]);
    if (phase == L"restarted") return phaseRestarted();
    if (phase == L"keys") return phaseKeys();
    if (phase == L"quit") return phaseQuit();
    if (phase == L"exports" && argc > 2) return phaseExports(argv[2]);
    if (phase == L"bars" && argc > 2) return phaseBars(argv[2]);
    if (phase == L"size" && argc > 3) return phaseSize(_wtoi(argv[2]), _wtoi(argv[3]));
    if (phase == L"lookup" && argc > 5) return phaseLookup(_wtoi(argv[2]), _wtoi(argv[3]), argv[4], argv[5]);
    if (phase == L"mode" && argc > 3) return phaseMode(_wtoi(argv[2]), argv[3]);
    if (phase == L"advanced" && argc > 3) return phaseAdvanced(argv[2], argv[3]);
    if (phase == L"cancel" && argc > 2) return phaseCancel(argv[2]);
    if (phase == L"scroll" && argc > 2) return phaseScroll(argv[2]);
    if (phase == L"select" && argc > 2) return phaseSelect(argv[2]);
    if (phase == L"drop" && argc > 5) return phaseDrop(argv[2], _wtoi(argv[3]), _wtoi(argv[4]), argv[5]);
    if (phase == L"help" && argc > 3) return phaseHelp(argv[2], argv[3]);
    if (phase == L"typing") return phaseTyping();
    if (phase == L"stem" && argc > 6) return phaseStem(_wtoi(argv[2]), _wtoi(argv[3]), argv[4], argv[5], argv[6]);
    if (phase == L"clipboardbusy") return phaseClipboardBusy();
    if (phase == L"font") return phaseFont();
    if (phase == L"contextmenu") return phaseContextMenu();
    if (phase == L"dropadvanced" && argc > 2) return phaseDropAdvanced(argv[2]);
    if (phase == L"history") return phaseHistory();
    if (phase == L"nohelp") return phaseNoHelp();
    if (phase == L"timing" && argc > 3) return phaseTiming(_wtoi(argv[2]), argv[3]);
    if (phase == L"popupsettings" && argc > 4) return phasePopupSettings(argv[2], argv[3], argv[4]);
    if (phase == L"popup" && argc > 3) return phasePopup(argv[2], argv[3], argc > 4 ? argv[4] : L"");
    if (phase == L"popuptrack" && argc > 3) return phasePopupTrack(argv[2], argv[3]);
    if (phase == L"popuplatency" && argc > 3) return phasePopupLatency(argv[2], _wtoi(argv[3]));
    if (phase == L"popupfallback" && argc > 4) return phasePopupFallback(argv[2], argv[3], argv[4]);
    bool known = false;
    int result = dialogPhase(argc, argv, known);
    if (known) return dialogFailures = result;
    result = updaterPhase(argc, argv, known);
    if (known) return updaterFailures = result;
    result = skinPhase(argc, argv, known);
    if (known) return skinFailures = result;
    result = shotPhase(argc, argv, known);
    if (known) return shotFailures = result;
    fwprintf(stderr, L"usage: wordmere_driver start EXE LANG FILES | checks | second EXE | keys | restarted | quit | "
                     L"pairs | exports DLL | size W H | lookup S T WORD ANY | mode N TEXT | advanced PATTERN MATCH | "
                     L"cancel PATTERN | scroll WORD | select WORD | drop TEXT ID LANG TOP | help FILE FOLDER | "
                     L"timing N WORDS | popup PROBES ORACLE [LAST] | popuptrack PROBES WORD | popuplatency PROBES N | "
                     L"popupfallback PROBES none|VIEWER TEXT | winversion MODE | resultbars skinned|system WORD ENTRIES PICTURES SHOT | "
                     L"fields SHOT | screenshot NAME FOLDER | openmenu | closemenu | opendialog COMMAND | "
                     L"closedialog | tooltip N | tooltiphide | tooltipnext | batch FILE\n");
    return kUsage;
}

// batch FILE: the phases of FILE in one process, one a line, the phase and its arguments
// separated by tabs (UTF-8). Under an emulated 32-bit side each program start costs a minute
// or more; the phases run as they would one process each. Exits with the failed checks of all.
int phaseBatch(const std::wstring& file) {
    FILE* f = _wfopen(file.c_str(), L"rb");
    if (!f) return check(false, L"batch file " + file + L" opens"), failures;
    std::string bytes;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
    fclose(f);
    std::wstring text(bytes.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0],
                                    static_cast<int>(text.size())));
    for (std::wstring line : split(text, L'\n')) {
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::wstring> args = fields(line, L'\t');
        args.insert(args.begin(), L"wordmere_driver");
        std::vector<wchar_t*> argv;
        for (std::wstring& a : args) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        wprintf(L"== driver %ls\n", args[1].c_str());
        fflush(stdout);
        const int before = failures + dialogFailures + updaterFailures + skinFailures + shotFailures;
        if (args[1] == L"batch" || runPhase(static_cast<int>(args.size()), argv.data()) == kUsage) {
            check(false, L"a known phase: " + args[1]);
        } else if (failures + dialogFailures + updaterFailures + skinFailures + shotFailures > before) {
            wprintf(L"FAIL driver %ls\n", args[1].c_str());
        }
    }
    return failures + dialogFailures + updaterFailures + skinFailures + shotFailures;
}

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_U8TEXT);  // the checks name German texts
    if (argc > 2 && std::wstring(argv[1]) == L"batch") return phaseBatch(argv[2]);
    return runPhase(argc, argv);
}
