// The updater of a running wordmere.exe, driven from outside against a real update server on
// 127.0.0.1 (updater_gui_test.sh serves the version file, the module list, the modules and a
// stand-in installer): the update question at start-up and from the menu, the module download
// dialog's table, downloads cancelled and completed, and the installer's hand-over. While the
// program waits on the server, the frame must keep answering WM_PING_INSTANCE.
#include "driver_updater.h"
#include "driver_check.h"
#include "driver_time.h"
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

namespace {
enum Message : UINT { kPing = 0x8001, kQueryPair = 0x8002 };
constexpr DWORD_PTR kPingAnswer = 0xC0C0FFEE;
enum Command { kDownloadModules = 11300, kCheckForUpdates = 11310 };
enum Control {
    kMessageText = 2101,         // the program's own message box
    kSystemMessageText = 0xFFFF, // the system's message box
    kNoButton = 129,
    kProgressBar = 2001,
    kProgressText = 2002,
    kModuleList = 2201,
};
constexpr int kColumns = 3;

DWORD processOf(HWND w) {
    DWORD pid = 0;
    if (w) GetWindowThreadProcessId(w, &pid);
    return pid;
}

bool isProgram(DWORD pid) {
    HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!p) return false;
    wchar_t path[MAX_PATH] = L"";
    DWORD n = MAX_PATH;
    const bool ok = QueryFullProcessImageNameW(p, 0, path, &n) != FALSE;
    CloseHandle(p);
    const std::wstring name = L"\\wordmere.exe";
    std::wstring image(path, ok ? n : 0);
    for (wchar_t& c : image) c = static_cast<wchar_t>(towlower(c));
    return image.size() >= name.size() && image.compare(image.size() - name.size(), name.size(), name) == 0;
}

// The program's main window (a test program in the same session may show frames of its own).
HWND frameWindow() {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"WordmereFrame", L"Wordmere"); w;
         w = FindWindowExW(nullptr, w, L"WordmereFrame", L"Wordmere"))
        if (isProgram(processOf(w))) return w;
    return nullptr;
}

std::wstring textOf(HWND w) {
    std::vector<wchar_t> buf(4096);
    DWORD_PTR r = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG,
                        scaledMs(20000), &r);
    return buf.data();
}

LRESULT send(HWND w, UINT msg, WPARAM wp, LPARAM lp) { return sendWithin(20000, w, msg, wp, lp); }

// The frame's answers to WM_PING_INSTANCE while the program works on an updater task: each
// must come within 5 s (stretched by the run's slowness factor).
struct Responsiveness {
    HWND frame;
    int asked = 0, late = 0;
    DWORD slowest = 0;

    void ping() {
        DWORD_PTR r = 0;
        DWORD t0 = GetTickCount();
        BOOL ok = SendMessageTimeoutW(frame, kPing, 0, 0, SMTO_ABORTIFHUNG, scaledMs(5000), &r);
        DWORD took = GetTickCount() - t0;
        ++asked;
        if (!ok || r != kPingAnswer) ++late;
        if (took > slowest) slowest = took;
    }
    // Asks once more (the window must answer after the task too) and tells the answers.
    void report(const std::wstring& during) {
        ping();
        check(asked > 0 && late == 0, L"the window answers WM_PING_INSTANCE " + during + L": " + std::to_wstring(asked - late) +
                                          L" of " + std::to_wstring(asked) + L", slowest " + std::to_wstring(slowest) +
                                          L" ms");
    }
};

struct Search {
    DWORD pid;
    int control;
    HWND found;
};

BOOL CALLBACK findDialog(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    wchar_t cls[16] = L"";
    GetClassNameW(w, cls, 16);
    if (processOf(w) == s->pid && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(w) && GetDlgItem(w, s->control)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND visibleDialog(DWORD pid, int control) {
    Search s{pid, control, nullptr};
    EnumWindows(findDialog, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// A message box of the program (its own or the system's): the box and its text control.
bool messageBox(DWORD pid, HWND& box, HWND& text) {
    for (int id : {kMessageText, kSystemMessageText}) {
        box = visibleDialog(pid, id);
        if (box) {
            text = GetDlgItem(box, id);
            return true;
        }
    }
    return false;
}

// Waits for a message box of the program, asking the frame for its ping all along; false
// when none came in time.
bool waitMessage(Responsiveness& watch, DWORD ms, HWND& box, std::wstring& text) {
    const DWORD pid = processOf(watch.frame);
    HWND textControl = nullptr;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(ms); Sleep(200)) {
        if (messageBox(pid, box, textControl)) {
            text = textOf(textControl);
            return true;
        }
        watch.ping();
    }
    return false;
}

void click(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool waitGone(HWND w, DWORD ms) {
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(ms); Sleep(100))
        if (!IsWindow(w) || !IsWindowVisible(w)) return true;
    return false;
}

// Answers the message box that must come: its text contains `expected`; `button` pressed.
bool answerMessage(Responsiveness& watch, const std::wstring& expected, int button, DWORD ms = 120000) {
    HWND box = nullptr;
    std::wstring text;
    if (!waitMessage(watch, ms, box, text)) {
        check(false, L"a message box containing \"" + expected + L"\" appears");
        return false;
    }
    const bool ok = text.find(expected) != std::wstring::npos;
    check(ok, L"the message box says \"" + expected + L"\": " + text);
    click(box, button);
    check(waitGone(box, 20000), L"the message box closes");
    return ok;
}

// No message box of the program opens within `ms` (the frame pinged meanwhile).
void expectNoMessage(Responsiveness& watch, DWORD ms, const std::wstring& what) {
    HWND box = nullptr;
    std::wstring text;
    const bool came = waitMessage(watch, ms, box, text);
    check(!came, what + (came ? L": " + text : std::wstring()));
    if (came) click(box, IDCANCEL);
}

// ----- the list-view of another process ----------------------------------------------------

// Memory inside the program for the list-view messages that carry pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, size_t size) : size_(size) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processOf(owner));
        if (process_) at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool ok() const { return at_ != nullptr; }
    char* at() const { return static_cast<char*>(at_); }
    bool write(size_t offset, const void* data, size_t n) {
        SIZE_T done = 0;
        return offset + n <= size_ && WriteProcessMemory(process_, at() + offset, data, n, &done) && done == n;
    }
    bool read(size_t offset, void* data, size_t n) {
        SIZE_T done = 0;
        return offset + n <= size_ && ReadProcessMemory(process_, at() + offset, data, n, &done) && done == n;
    }

private:
    HANDLE process_ = nullptr;
    void* at_ = nullptr;
    size_t size_;
};

constexpr size_t kCellChars = 256;

std::wstring cellText(HWND list, RemoteBuffer& mem, int row, int column) {
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = kCellChars;
    item.pszText = reinterpret_cast<wchar_t*>(mem.at() + sizeof item);
    wchar_t text[kCellChars] = L"";
    if (!mem.write(0, &item, sizeof item) || !mem.write(sizeof item, text, sizeof text)) return L"<unwritable>";
    send(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(mem.at()));
    if (!mem.read(sizeof item, text, sizeof text)) return L"<unreadable>";
    text[kCellChars - 1] = 0;
    return text;
}

bool isChecked(HWND list, int row) {
    return ((send(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void postKey(HWND w, UINT key) {
    PostMessageW(w, WM_KEYDOWN, key, 1);
    PostMessageW(w, WM_KEYUP, key, 0xC0000001);
}

bool waitChecked(HWND list, int row, bool on) {
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(5000); Sleep(100))
        if (isChecked(list, row) == on) return true;
    return false;
}

// A row's check box set as given: through the list's item state, or, where that does not take,
// as a user does it: Home, Down to the row, Space.
bool setChecked(HWND list, RemoteBuffer& mem, int row, bool on) {
    if (isChecked(list, row) == on) return true;
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
    if (mem.ok() && mem.write(0, &item, sizeof item)) {
        send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(mem.at()));
        if (isChecked(list, row) == on) return true;
    }
    postKey(list, VK_HOME);
    for (int i = 0; i < row; ++i) postKey(list, VK_DOWN);
    postKey(list, VK_SPACE);
    return waitChecked(list, row, on);
}

std::vector<std::wstring> split(const std::wstring& s, wchar_t sep) {
    std::vector<std::wstring> out;
    size_t from = 0;
    for (size_t at; (at = s.find(sep, from)) != std::wstring::npos; from = at + 1) out.push_back(s.substr(from, at - from));
    out.push_back(s.substr(from));
    return out;
}

HWND moduleDialog() { return visibleDialog(processOf(frameWindow()), kModuleList); }

const wchar_t kSettingsKey[] = L"Software\\Wordmere\\Wordmere\\Settings";

// ----- phases ------------------------------------------------------------------------------

// settings LAST_UPDATE: the program's settings start afresh with "Last Update" as given.
int phaseSettings(DWORD lastUpdate) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wordmere");
    HKEY k = nullptr;
    bool ok = RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) ==
              ERROR_SUCCESS;
    ok = ok && RegSetValueExW(k, L"Last Update", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&lastUpdate),
                              sizeof lastUpdate) == ERROR_SUCCESS;
    if (k) RegCloseKey(k);
    check(ok, L"settings start afresh with Last Update " + std::to_wstring(lastUpdate));
    return failures;
}

// lastupdate: "Last Update" holds today's date (yyyymmdd, local time).
int phaseLastUpdate() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const DWORD today = now.wYear * 10000u + now.wMonth * 100u + now.wDay;
    DWORD v = 0, size = sizeof v, type = 0;
    HKEY k = nullptr;
    LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &k);
    if (rc == ERROR_SUCCESS) rc = RegQueryValueExW(k, L"Last Update", nullptr, &type, reinterpret_cast<BYTE*>(&v), &size);
    if (k) RegCloseKey(k);
    check(rc == ERROR_SUCCESS && type == REG_DWORD && v == today,
          L"Last Update is today: " + std::to_wstring(v) + L" (expected " + std::to_wstring(today) + L")");
    return failures;
}


// updatestart EXE VERSION: starts the program, whose start-up check finds VERSION published:
// the question names it and offers "Yes" and "No"; "No" keeps the program as it is.
int phaseUpdateStart(const std::wstring& exe, const std::wstring& version) {
    check(frameWindow() == nullptr, L"no copy runs before the start");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\"";
    std::wstring dir = exe.substr(0, exe.find_last_of(L"\\/"));
    if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
        return check(false, L"the program starts"), failures;
    CloseHandle(pi.hThread);
    HWND frame = nullptr;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(90000) && !frame; Sleep(100)) {
        frame = frameWindow();
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
    }
    CloseHandle(pi.hProcess);
    check(frame != nullptr, L"the main window appears");
    if (!frame) return failures;
    Responsiveness watch{frame};
    HWND box = nullptr;
    std::wstring text;
    if (!waitMessage(watch, 60000, box, text))
        return check(false, L"the start-up check asks whether to install version " + version), failures;
    check(text == L"Version " + version + L" of Wordmere is available. Do you want to download and install it now?",
          L"the start-up check asks about the published version: " + text);
    check(textOf(GetDlgItem(box, IDOK)) == L"Yes" && textOf(GetDlgItem(box, kNoButton)) == L"No",
          L"the question's buttons are \"Yes\" and \"No\"");
    click(box, kNoButton);
    check(waitGone(box, 20000), L"\"No\" closes the question");
    expectNoMessage(watch, 3000, L"after \"No\" nothing else opens");
    watch.report(L"during the start-up check");
    check(IsWindowVisible(frame) != FALSE, L"the main window stays");
    return failures;
}

// updatecheck EXPECTED BUTTON: the menu's update check; a message containing EXPECTED
// comes (BUTTON pressed: 1 OK or Yes, 129 No) and a progress window is shown meanwhile.
int phaseUpdateCheck(const std::wstring& expected, int button) {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"main window found"), failures;
    Responsiveness watch{frame};
    PostMessageW(frame, WM_COMMAND, kCheckForUpdates, 0);
    answerMessage(watch, expected, button);
    watch.report(L"during the update check");
    return failures;
}

// modulelistfails EXPECTED: the module list cannot be had; the program says so.
int phaseModuleListFails(const std::wstring& expected) {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"main window found"), failures;
    Responsiveness watch{frame};
    PostMessageW(frame, WM_COMMAND, kDownloadModules, 0);
    answerMessage(watch, expected, IDOK);
    check(moduleDialog() == nullptr, L"no module download dialog after a failed module list");
    watch.report(L"while the module list fails");
    return failures;
}

// moduletable ROWS: the module download dialog opens from the menu with one row per
// dictionary module of the served list, in order; ROWS is "STATUS:CHECKED" per row,
// separated by "|" (CHECKED 1 when the row starts checked). The dialog stays open.
int phaseModuleTable(const std::wstring& rows) {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"main window found"), failures;
    Responsiveness watch{frame};
    PostMessageW(frame, WM_COMMAND, kDownloadModules, 0);
    HWND dialog = nullptr;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(120000) && !dialog; Sleep(200)) {
        dialog = moduleDialog();
        if (!dialog) watch.ping();
    }
    watch.report(L"while the module list is fetched");
    if (!dialog) return check(false, L"the module download dialog opens"), failures;
    HWND list = GetDlgItem(dialog, kModuleList);
    RemoteBuffer mem(list, sizeof(LVITEMW) + kCellChars * sizeof(wchar_t));
    if (!mem.ok()) return check(false, L"memory in the program for the list's texts"), failures;
    const std::vector<std::wstring> expected = split(rows, L'|');
    const int count = static_cast<int>(send(list, LVM_GETITEMCOUNT, 0, 0));
    check(count == static_cast<int>(expected.size()),
          L"one row per served dictionary module: " + std::to_wstring(count) + L" of " + std::to_wstring(expected.size()));
    for (int i = 0; i < count && i < static_cast<int>(expected.size()); ++i) {
        std::wstring cells[kColumns];
        for (int c = 0; c < kColumns; ++c) cells[c] = cellText(list, mem, i, c);
        // Under Wine the list's texts do not reach another process (the screenshot shows them);
        // the check boxes do, and they follow the same rule.
        const std::wstring want = expected[i], checkedWant = want.substr(want.find(L':') + 1);
        const std::wstring checked = isChecked(list, i) ? L"1" : L"0";
        const bool ok = checked == checkedWant && (cells[2].empty() || cells[2] + L":" + checked == want);
        check(ok, L"row " + std::to_wstring(i + 1) + L" \"" + cells[0] + L"\", " + cells[1] + L": status \"" + cells[2] +
                      L"\", checked " + checked + L" (expected " + want + L")");
    }
    check(textOf(GetDlgItem(dialog, IDOK)) == L"Download", L"the dialog's OK button reads \"Download\"");
    return failures;
}

// Checks the rows of the open module dialog as CHECKS ("0" or "1" per row) and presses
// "Download"; the progress window that follows, or null.
HWND startDownload(const std::wstring& checks, Responsiveness& watch) {
    HWND dialog = moduleDialog();
    if (!dialog) return check(false, L"the module download dialog is open"), nullptr;
    HWND list = GetDlgItem(dialog, kModuleList);
    RemoteBuffer mem(list, sizeof(LVITEMW));
    bool set = true;
    std::wstring seen;
    for (size_t i = 0; i < checks.size(); ++i) {
        set = setChecked(list, mem, static_cast<int>(i), checks[i] == L'1') && set;
        seen += isChecked(list, static_cast<int>(i)) ? L'1' : L'0';
    }
    check(set, L"the rows are checked as " + checks + L": " + seen);
    click(dialog, IDOK);
    check(waitGone(dialog, 20000), L"\"Download\" closes the dialog");
    HWND progress = nullptr;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(30000) && !progress; Sleep(100))
        progress = visibleDialog(processOf(watch.frame), kProgressBar);
    check(progress != nullptr, L"a progress window shows the download");
    return progress;
}

// downloadcancel CHECKS FILE: starts the download of the checked rows, whose first file the
// server stalls after a part; once the bar has moved, Cancel ends it and the program reports
// FILE as not downloaded.
int phaseDownloadCancel(const std::wstring& checks, const std::wstring& file) {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"main window found"), failures;
    Responsiveness watch{frame};
    HWND progress = startDownload(checks, watch);
    if (!progress) return failures;
    HWND bar = GetDlgItem(progress, kProgressBar);
    LRESULT position = 0;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(60000) && position <= 0; Sleep(200)) {
        position = send(bar, PBM_GETPOS, 0, 0);
        watch.ping();
    }
    check(position > 0, L"the bar moves with the first bytes: " + std::to_wstring(position));
    const std::wstring explanation = textOf(GetDlgItem(progress, kProgressText));
    check(explanation == L"Downloading " + file + L"...", L"the progress window names the file: " + explanation);
    // The server sends nothing more: the download waits until it is cancelled.
    for (int i = 0; i < 10; ++i, Sleep(300)) watch.ping();
    watch.report(L"while the download stalls");
    click(progress, IDCANCEL);
    answerMessage(watch, L"The file \"" + file + L"\" could not be downloaded.", IDOK, 60000);
    check(!IsWindow(progress), L"the progress window is gone");
    return failures;
}

// downloadall CHECKS: downloads the checked rows to the end, the window answering all along;
// no message follows.
int phaseDownloadAll(const std::wstring& checks) {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"main window found"), failures;
    Responsiveness watch{frame};
    HWND progress = startDownload(checks, watch);
    if (!progress) return failures;
    bool gone = false;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(240000) && !gone; Sleep(200)) {
        gone = !IsWindow(progress);
        if (!gone) watch.ping();
    }
    check(gone, L"the progress window closes when the downloads end");
    expectNoMessage(watch, 3000, L"a complete download reports nothing");
    watch.report(L"during the download");
    return failures;
}

// pair S T ANSWER: WM_QUERY_LANGUAGE_PAIR for S and T answers ANSWER (1 installed, 0 not).
int phasePair(int s, int t, int answer) {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"main window found"), failures;
    LRESULT r = send(frame, kQueryPair, static_cast<WPARAM>(s), static_cast<LPARAM>(t));
    check(r == answer, L"WM_QUERY_LANGUAGE_PAIR " + std::to_wstring(s) + L"," + std::to_wstring(t) + L" answers " +
                           std::to_wstring(r) + L" (expected " + std::to_wstring(answer) + L")");
    return failures;
}

// shows S T WORD ANY: with the pair S->T the search for WORD lists it first, with one of the
// translations ANY ("|"-separated) in the list.
int phaseShows(int s, int t, const std::wstring& word, const std::wstring& any) {
    enum { kView = 0xE900, kSearchText = 1001, kGo = 1003, kMainList = 1012, kSetPair = 0x8005 };
    HWND frame = frameWindow();
    HWND view = frame ? GetDlgItem(frame, kView) : nullptr;
    if (!view) return check(false, L"the main view found"), failures;
    check(send(frame, kSetPair, static_cast<WPARAM>(s), static_cast<LPARAM>(t)) == 1,
          L"the pair " + std::to_wstring(s) + L"->" + std::to_wstring(t) + L" is taken");
    send(GetDlgItem(view, kSearchText), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(word.c_str()));
    send(view, WM_COMMAND, MAKEWPARAM(kGo, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(view, kGo)));
    std::wstring shown;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(20000); Sleep(200)) {
        shown = textOf(GetDlgItem(view, kMainList));
        if (!shown.empty() && shown[0] == L'\u2192') shown.erase(0, 1);
        if (shown.compare(0, word.size(), word) == 0) break;
    }
    bool found = false;
    for (const std::wstring& tr : split(any, L'|'))
        if (!tr.empty() && shown.find(tr) != std::wstring::npos) found = true;
    std::wstring line = shown.substr(0, 160);
    for (wchar_t& c : line)
        if (c == L'\r' || c == L'\n') c = L' ';
    check(shown.compare(0, word.size(), word) == 0 && found, L"the list shows " + word + L" with a translation: " + line);
    return failures;
}

// installer VERSION: the update check finds VERSION; "Yes" downloads the installer; the
// program then ends to let it run (the script reads what the installer was given).
int phaseInstaller(const std::wstring& version) {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"main window found"), failures;
    DWORD pid = processOf(frame);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    Responsiveness watch{frame};
    PostMessageW(frame, WM_COMMAND, kCheckForUpdates, 0);
    if (answerMessage(watch, L"Version " + version + L" of Wordmere is available.", IDOK)) {
        const bool ended = process && WaitForSingleObject(process, scaledMs(300000)) == WAIT_OBJECT_0;
        check(ended, L"the program ends once the installer is handed over");
    }
    if (process) CloseHandle(process);
    return failures;
}

// badinstaller VERSION FILE: as installer, but the download of FILE is cut short: the
// program says it could not be downloaded and stays.
int phaseBadInstaller(const std::wstring& version, const std::wstring& file) {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"main window found"), failures;
    Responsiveness watch{frame};
    PostMessageW(frame, WM_COMMAND, kCheckForUpdates, 0);
    if (answerMessage(watch, L"Version " + version + L" of Wordmere is available.", IDOK))
        answerMessage(watch, L"The file \"" + file + L"\" could not be downloaded.", IDOK);
    watch.report(L"during a cut-short installer download");
    check(IsWindow(frame) && IsWindowVisible(frame), L"the program stays after a failed installer download");
    return failures;
}
}  // namespace

int updaterPhase(int argc, wchar_t** argv, bool& known) {
    known = true;
    std::wstring phase = argc > 1 ? argv[1] : L"";
    if (phase == L"settings" && argc > 2) return phaseSettings(static_cast<DWORD>(_wtoi(argv[2])));
    if (phase == L"lastupdate") return phaseLastUpdate();
    if (phase == L"updatestart" && argc > 3) return phaseUpdateStart(argv[2], argv[3]);
    if (phase == L"updatecheck" && argc > 3) return phaseUpdateCheck(argv[2], _wtoi(argv[3]));
    if (phase == L"modulelistfails" && argc > 2) return phaseModuleListFails(argv[2]);
    if (phase == L"moduletable" && argc > 2) return phaseModuleTable(argv[2]);
    if (phase == L"downloadcancel" && argc > 3) return phaseDownloadCancel(argv[2], argv[3]);
    if (phase == L"downloadall" && argc > 2) return phaseDownloadAll(argv[2]);
    if (phase == L"pair" && argc > 4) return phasePair(_wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]));
    if (phase == L"shows" && argc > 5) return phaseShows(_wtoi(argv[2]), _wtoi(argv[3]), argv[4], argv[5]);
    if (phase == L"installer" && argc > 2) return phaseInstaller(argv[2]);
    if (phase == L"badinstaller" && argc > 3) return phaseBadInstaller(argv[2], argv[3]);
    known = false;
    return failures;
}
