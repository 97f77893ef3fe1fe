// Drives wordmere.exe from outside, as another program would: starts it, answers its
// message boxes, sends it the application messages, reads its settings from the registry
// and checks the answers. One phase per invocation; gui_test.sh runs the phases in order.
// Prints one line per check and exits with the number of failed checks.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {
int failures = 0;
const wchar_t kFrameClass[] = L"WordmereFrame";
const wchar_t kTitle[] = L"Wordmere";
const wchar_t kSettingsKey[] = L"Software\\Wordmere\\Wordmere\\Settings";

void check(bool ok, const std::wstring& what) {
    wprintf(L"%ls %ls\n", ok ? L"ok  " : L"FAIL", what.c_str());
    fflush(stdout);
    if (!ok) ++failures;
}

std::wstring hex(unsigned long long v) {
    wchar_t b[32];
    swprintf(b, 32, L"0x%llX", v);
    return b;
}

HWND mainWindow() { return FindWindowW(kFrameClass, kTitle); }

LRESULT send(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &r)) return static_cast<LRESULT>(-12345);
    return static_cast<LRESULT>(r);
}

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
    SendMessageTimeoutW(w, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, &r);
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
    std::vector<std::wstring> expected = split(files, L',');
    std::vector<std::wstring> seen;
    HWND frame = nullptr;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < 40000;) {
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
    bool ended = WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0;
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
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < 10000 && text.empty(); Sleep(100)) {
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
    bool ended = p && WaitForSingleObject(p, 15000) == WAIT_OBJECT_0;
    check(ended, L"and the program ends");
    if (p) CloseHandle(p);
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
}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_U8TEXT);  // the checks name German texts
    std::wstring phase = argc > 1 ? argv[1] : L"";
    if (phase == L"start" && argc > 4) return phaseStart(argv[2], argv[3], argv[4]);
    if (phase == L"checks") return phaseChecks();
    if (phase == L"second" && argc > 2) return phaseSecond(argv[2]);
    if (phase == L"restarted") return phaseRestarted();
    if (phase == L"keys") return phaseKeys();
    if (phase == L"quit") return phaseQuit();
    if (phase == L"exports" && argc > 2) return phaseExports(argv[2]);
    fwprintf(stderr, L"usage: wordmere_driver start EXE LANG FILES | checks | second EXE | keys | restarted | quit | exports DLL\n");
    return 100;
}
