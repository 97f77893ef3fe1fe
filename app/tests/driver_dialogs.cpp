// The dialogs, driven from outside as a user would: the add-entry, conjugation, numbers,
// web look-up and options dialogs of a running wordmere.exe are opened by their commands,
// filled through their controls and read back; the view's tooltips and the menu prompts are
// read in the interface language. One phase per invocation; dialogs_test.sh
// runs them in order (with screenshots between them).
#include "driver_dialogs.h"
#include "driver_check.h"
#include "driver_time.h"
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {
const int kViewId = 0xE900;
enum Command { kBetaUpdates = 401, kConjugate = 11490, kAddEntry = 11500, kNumbers = 11530, kWebExamples = 11550, kPreferences = 11560 };

HWND frameWindow() { return FindWindowW(L"WordmereFrame", L"Wordmere"); }

LRESULT send(HWND w, UINT msg, WPARAM wp, LPARAM lp) { return sendWithin(20000, w, msg, wp, lp); }

std::wstring textOf(HWND w) {
    std::vector<wchar_t> buf(8192);
    DWORD_PTR r = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG, scaledMs(20000), &r);
    return buf.data();
}

std::wstring oneLine(std::wstring s) {
    for (wchar_t& c : s)
        if (c == L'\r' || c == L'\n') c = L' ';
    return s.size() > 200 ? s.substr(0, 200) + L"..." : s;
}

struct DialogSearch {
    DWORD pid;
    int control;
    HWND found;
};

BOOL CALLBACK findDialog(HWND w, LPARAM lp) {
    auto* s = static_cast<DialogSearch*>(reinterpret_cast<void*>(lp));
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[16] = L"";
    GetClassNameW(w, cls, 16);
    if (pid == s->pid && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(w) && GetDlgItem(w, s->control)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

// The program's visible dialog that has the control, waited for.
HWND waitDialog(int control, DWORD ms = 30000) {
    HWND frame = frameWindow();
    DialogSearch s{0, control, nullptr};
    if (!frame) return nullptr;
    GetWindowThreadProcessId(frame, &s.pid);
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(ms); Sleep(100)) {
        EnumWindows(findDialog, reinterpret_cast<LPARAM>(&s));
        if (s.found) return s.found;
    }
    return nullptr;
}

bool waitGone(HWND dialog, DWORD ms = 30000) {
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < scaledMs(ms); Sleep(100))
        if (!IsWindow(dialog) || !IsWindowVisible(dialog)) return true;
    return false;
}

// Waits until the program's thread has handled the messages sent before.
void sync(HWND w) { send(w, WM_NULL, 0, 0); }

HWND openDialog(int command, int control) {
    HWND frame = frameWindow();
    if (!frame) return nullptr;
    PostMessageW(frame, WM_COMMAND, command, 0);
    return waitDialog(control);
}

void setText(HWND dialog, int id, const std::wstring& text) {
    send(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Characters as typed: posted, so they pass the program's message loop and the dialog's
// navigation; waits until the control reads `expected`.
bool typeInto(HWND control, const std::wstring& text, const std::wstring& expected) {
    for (wchar_t c : text) PostMessageW(control, WM_CHAR, c, 1);
    return waitFor([&] { return textOf(control) == expected; });
}

void postKey(HWND control, UINT key) {
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 0xC0000001);
}

// A button pressed: posted (a modal dialog or a message box may open from it).
void click(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// A button pressed and handled before this returns.
void push(HWND dialog, int id) {
    send(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Selects the list entry with that text and tells the dialog, as a user's choice does.
bool chooseEntry(HWND dialog, int id, const std::wstring& text) {
    HWND combo = GetDlgItem(dialog, id);
    LRESULT at = send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (at < 0) return false;
    send(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    send(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    return true;
}

std::wstring listEntry(HWND list, int i) {
    wchar_t buf[512] = L"";
    send(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    return buf;
}

std::wstring comboEntry(HWND combo, int i) {
    wchar_t buf[512] = L"";
    send(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    return buf;
}

HWND viewWindow() { return GetDlgItem(frameWindow(), kViewId); }

std::wstring mainListText() { return textOf(GetDlgItem(viewWindow(), 1012)); }

void searchInView(const std::wstring& text) {
    HWND view = viewWindow();
    send(GetDlgItem(view, 1001), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    send(view, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(view, 1003)));
}

bool listBegins(const std::wstring& list, const std::wstring& word) {
    size_t at = list.compare(0, 1, L"\u2192") == 0 ? 1 : 0;
    return list.compare(at, word.size(), word) == 0;
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The text of the program's message box (dialog 2101), answered with OK.
std::wstring answerMessage() {
    HWND box = waitDialog(2101, 20000);
    if (!box) return L"<no message>";
    std::wstring text = textOf(GetDlgItem(box, 2101));
    click(box, IDOK);
    return text;
}

// ----- phases ------------------------------------------------------------------------------

// addentry FOLDER WORD TRANSLATION: the dialog over English-French; a blank translation
// adds nothing; a foreign file in the additions file's place is refused with message
// 12840; then the entry is added and found in both directions.
int phaseAddEntry(const std::wstring& folder, const std::wstring& word, const std::wstring& translation) {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"main window found"), failures;
    check(send(frame, 0x8005, 1, 2) == 1, L"English->French selected");
    const std::wstring file = folder + L"\\english-french-additions.lxd";

    HWND dialog = openDialog(kAddEntry, 1202);
    check(dialog != nullptr, L"the add-entry dialog opens");
    if (!dialog) return failures;
    check(textOf(GetDlgItem(dialog, 1201)) == L"English" && textOf(GetDlgItem(dialog, 1204)) == L"French",
          L"labels name the languages: " + textOf(GetDlgItem(dialog, 1201)) + L", " + textOf(GetDlgItem(dialog, 1204)));
    check(IsWindowVisible(GetDlgItem(dialog, 1206)) != 0, L"a bilingual pair has two part-of-speech lists");
    check(send(GetDlgItem(dialog, 1203), CB_GETCOUNT, 0, 0) > 0, L"parts of speech offered: " +
          comboEntry(GetDlgItem(dialog, 1203), 0));
    check(textOf(dialog) == L"Add entries" && textOf(GetDlgItem(dialog, IDOK)) == L"Add", L"title and OK caption");
    setText(dialog, 1202, word);
    setText(dialog, 1205, L"   ");
    click(dialog, IDOK);
    check(waitGone(dialog), L"a blank translation ends the dialog");
    Sleep(500);
    check(!fileExists(file), L"and adds nothing");

    // Something else in the additions file's place: refused, the file left alone.
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, "not a module", 12, &written, nullptr);
    CloseHandle(h);
    dialog = openDialog(kAddEntry, 1202);
    check(dialog != nullptr, L"the dialog opens again");
    if (!dialog) return failures;
    setText(dialog, 1202, word);
    setText(dialog, 1205, translation);
    click(dialog, IDOK);
    std::wstring message = answerMessage();
    check(message == L"The entry could not be added.", L"a refused entry shows message 12840: " + message);
    DeleteFileW(file.c_str());

    dialog = openDialog(kAddEntry, 1202);
    check(dialog != nullptr, L"the dialog opens a third time");
    if (!dialog) return failures;
    setText(dialog, 1202, L"  " + word + L" ");
    setText(dialog, 1205, translation);
    click(dialog, IDOK);
    check(waitGone(dialog), L"the entry is added");
    sync(frame);
    check(fileExists(file), L"english-french-additions.lxd appears in the dictionaries folder");
    check(listBegins(mainListText(), word), L"the list browses to the new word: " + oneLine(mainListText()));
    searchInView(word);
    std::wstring shown = mainListText();
    check(listBegins(shown, word) && shown.find(translation) != std::wstring::npos,
          L"found English->French: " + oneLine(shown));
    check(send(frame, 0x8005, 2, 1) == 1, L"French->English selected");
    searchInView(translation);
    shown = mainListText();
    check(listBegins(shown, translation) && shown.find(word) != std::wstring::npos,
          L"found French->English: " + oneLine(shown));
    send(frame, 0x8005, 1, 2);
    return failures;
}

// conjugate LANGUAGE PREFIX VERB FORM: the conjugation dialog in that language; typing the
// prefix offers the verb, choosing it shows the form among its table; an unknown verb
// shows message 12630. Leaves the dialog open.
int phaseConjugate(const std::wstring& language, const std::wstring& prefix, const std::wstring& verb,
                   const std::wstring& form) {
    HWND dialog = openDialog(kConjugate, 1401);
    check(dialog != nullptr, L"the conjugation dialog opens");
    if (!dialog) return failures;
    check(chooseEntry(dialog, 1402, language), L"the language " + language + L" is offered");
    HWND edit = GetDlgItem(dialog, 1401), list = GetDlgItem(dialog, 1661);
    setText(dialog, 1401, L"");
    check(typeInto(edit, prefix, prefix), L"typed " + prefix + L": " + textOf(edit));
    check(waitFor([&] { return IsWindowVisible(list) != 0; }), L"typing " + prefix + L" shows the suggestions");
    LRESULT at = send(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(verb.c_str()));
    check(at >= 0, L"offered: " + verb + L" (first " + listEntry(list, 0) + L")");
    // Down arrows to the verb, then Enter.
    for (LRESULT i = 0; i <= at && at >= 0; ++i) postKey(edit, VK_DOWN);
    check(waitFor([&] { return send(list, LB_GETCURSEL, 0, 0) == at; }), L"the arrows reach it");
    postKey(edit, VK_RETURN);
    check(waitFor([&] { return !IsWindowVisible(list) && textOf(edit) == verb; }), L"Enter takes it: " + textOf(edit));
    std::wstring table = textOf(GetDlgItem(dialog, 1403));
    check(table.find(form) != std::wstring::npos, L"its table holds " + form + L": " + oneLine(table));

    setText(dialog, 1401, L"qqqzzzer");
    push(dialog, IDOK);
    std::wstring unknown = textOf(GetDlgItem(dialog, 1403));
    check(unknown == L"This verb was not found. Please check that you typed its infinitive.",
          L"an unknown verb: " + unknown);
    setText(dialog, 1401, verb);
    push(dialog, IDOK);
    return failures;
}

// conjugateclose: WM_CLOSE hides the dialog; the command shows the same window again.
int phaseConjugateClose() {
    HWND dialog = waitDialog(1401, 5000);
    check(dialog != nullptr, L"the conjugation dialog is open");
    if (!dialog) return failures;
    send(dialog, WM_CLOSE, 0, 0);
    check(waitGone(dialog) && IsWindow(dialog), L"closing only hides it");
    HWND again = openDialog(kConjugate, 1401);
    check(again == dialog, L"opening again shows the same window");
    if (again) send(again, WM_CLOSE, 0, 0);
    return failures;
}

// numbers LANGUAGE: typing 1, 2, a, 3 leaves 123 and its words; pasting "1,234" gives the
// words of 1234; French 21 is "vingt et un". Leaves the dialog open.
int phaseNumbers(const std::wstring& words123, const std::wstring& words1234) {
    HWND dialog = openDialog(kNumbers, 1101);
    check(dialog != nullptr, L"the numbers dialog opens");
    if (!dialog) return failures;
    check(chooseEntry(dialog, 1103, L"French"), L"French is offered");
    HWND edit = GetDlgItem(dialog, 1101);
    setText(dialog, 1101, L"");
    check(typeInto(edit, L"12a3", L"123"), L"1, 2, a, 3 leaves " + textOf(edit));
    check(textOf(GetDlgItem(dialog, 1102)) == words123, L"123 in French: " + textOf(GetDlgItem(dialog, 1102)));
    setText(dialog, 1101, L"");
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        const wchar_t text[] = L"1,234";
        HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
        memcpy(GlobalLock(g), text, sizeof text);
        GlobalUnlock(g);
        SetClipboardData(CF_UNICODETEXT, g);
        CloseClipboard();
    }
    typeInto(edit, L"\x16", L"1,234");
    check(textOf(GetDlgItem(dialog, 1102)) == words1234,
          L"pasting 1,234 (" + textOf(edit) + L"): " + textOf(GetDlgItem(dialog, 1102)));
    setText(dialog, 1101, L"21");
    check(textOf(GetDlgItem(dialog, 1102)) == L"vingt et un", L"21 in French: " + textOf(GetDlgItem(dialog, 1102)));
    check(chooseEntry(dialog, 1103, L"Spanish"), L"Spanish is offered");
    check(textOf(GetDlgItem(dialog, 1102)) == L"veintiuno", L"21 in Spanish: " + textOf(GetDlgItem(dialog, 1102)));
    chooseEntry(dialog, 1103, L"French");
    send(dialog, WM_CLOSE, 0, 0);
    check(waitGone(dialog) && IsWindow(dialog), L"closing only hides it");
    check(openDialog(kNumbers, 1101) == dialog, L"opening again shows the same window");
    return failures;
}

// web FILE EXPRESSION CONTEXT LANGUAGE ADDRESS: the search hands the browser exactly the
// address (the test's browser writes its command line to FILE).
int phaseWeb(const std::wstring& file, const std::wstring& expression, const std::wstring& context,
             const std::wstring& language, const std::wstring& address) {
    DeleteFileW(file.c_str());
    HWND dialog = openDialog(kWebExamples, 1501);
    check(dialog != nullptr, L"the web look-up dialog opens");
    if (!dialog) return failures;
    setText(dialog, 1501, expression);
    setText(dialog, 1502, context);
    HWND combo = GetDlgItem(dialog, 1507);
    LRESULT at = send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(language.c_str()));
    check(at >= 0, L"the language " + language + L" is offered");
    send(combo, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    click(dialog, 1509);
    check(waitGone(dialog), L"the search ends the dialog");
    std::string got;
    for (DWORD t0 = GetTickCount(); GetTickCount() - t0 < 120000 && got.empty(); Sleep(200)) {
        HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                               nullptr);
        if (h == INVALID_HANDLE_VALUE) continue;
        char buf[4096];
        DWORD n = 0;
        if (ReadFile(h, buf, sizeof buf, &n, nullptr)) got.assign(buf, n);
        CloseHandle(h);
    }
    while (!got.empty() && (got.back() == '\n' || got.back() == '\r')) got.pop_back();
    std::wstring wide(got.begin(), got.end());
    check(wide == address, L"the browser is given " + wide);
    return failures;
}

// browser FILE ADDRESS: stands in for the web browser; writes the address it was given.
int phaseBrowser(const std::wstring& file, const std::wstring& address) {
    std::string bytes(address.begin(), address.end());
    for (wchar_t c : address)
        if (c > 0x7F) bytes = "<not ASCII>";
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return 0;
}

// options LANGUAGE METHOD ENABLED CONJUGATION: chooses the interface language and the
// hot key's method in the preferences and sets the hot key on or off; the view's
// Conjugation button then reads CONJUGATION.
int phaseOptions(const std::wstring& language, const std::wstring& method, int enabled,
                 const std::wstring& conjugation) {
    HWND dialog = openDialog(kPreferences, 1602);
    check(dialog != nullptr, L"the preferences open");
    if (!dialog) return failures;
    HWND languages = GetDlgItem(dialog, 1602);
    int count = static_cast<int>(send(languages, CB_GETCOUNT, 0, 0));
    std::wstring offered;
    for (int i = 0; i < count; ++i) offered += comboEntry(languages, i) + L" ";
    check(count == 6, L"six interface languages: " + offered);
    check(!IsWindowVisible(GetDlgItem(dialog, 1611)), L"no description with the shipped option word");
    LRESULT at = send(languages, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(language.c_str()));
    check(at >= 0, L"offered: " + language);
    send(languages, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    HWND methods = GetDlgItem(dialog, 1603);
    at = send(methods, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(method.c_str()));
    check(at >= 0, L"offered: " + method);
    send(methods, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    send(GetDlgItem(dialog, 1601), BM_SETCHECK, enabled ? BST_CHECKED : BST_UNCHECKED, 0);
    click(dialog, IDOK);
    check(waitGone(dialog), L"OK ends the preferences");
    sync(frameWindow());
    std::wstring caption = textOf(GetDlgItem(viewWindow(), 1009));
    check(caption == conjugation, L"the view's captions follow: " + caption);
    return failures;
}

// The text of the program's tooltip that shows now; empty while none shows.
struct TipSearch {
    DWORD pid;
    std::wstring text;
};

BOOL CALLBACK findShownTip(HWND w, LPARAM lp) {
    auto* s = static_cast<TipSearch*>(reinterpret_cast<void*>(lp));
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[32] = L"";
    GetClassNameW(w, cls, 32);
    if (pid != s->pid || lstrcmpiW(cls, L"tooltips_class32") != 0 || !IsWindowVisible(w)) return TRUE;
    s->text = textOf(w);
    return s->text.empty();
}

std::wstring shownTip(DWORD pid) {
    TipSearch s{pid, L""};
    EnumWindows(findShownTip, reinterpret_cast<LPARAM>(&s));
    return s.text;
}

void movePointer(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
}

// tips ID=TEXT...: the pointer rests on each of the view's controls in turn; the tooltip
// that comes up reads TEXT.
int phaseTips(int argc, wchar_t** argv) {
    HWND frame = frameWindow(), view = viewWindow();
    if (!frame || !view) return check(false, L"main window found"), failures;
    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    SetForegroundWindow(frame);
    for (int i = 0; i < argc; ++i) {
        std::wstring pair = argv[i];
        size_t eq = pair.find(L'=');
        if (eq == std::wstring::npos) continue;
        int id = _wtoi(pair.substr(0, eq).c_str());
        std::wstring expected = pair.substr(eq + 1);
        HWND control = GetDlgItem(view, id);
        RECT r{};
        GetWindowRect(control, &r);
        // Off every control first (the frame's status bar), so the tip is shown anew.
        RECT f{};
        GetWindowRect(frame, &f);
        movePointer(POINT{(f.left + f.right) / 2, f.bottom - 4});
        Sleep(300);
        // Every move starts the tooltip's delay again: the pointer rests, and moves by a pixel
        // only when no tip came up for a while.
        POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        bool shown = false;
        for (int nudge = 0; nudge < 4 && !shown; ++nudge) {
            movePointer(POINT{at.x + nudge % 2, at.y});
            shown = waitFor([&] { return shownTip(pid) == expected; }, 8000);
        }
        POINT cursor{};
        GetCursorPos(&cursor);
        HWND under = WindowFromPoint(cursor);
        check(control && shown, L"the tooltip of control " + std::to_wstring(id) + L": " +
                                    (shown ? expected
                                           : L"'" + shownTip(pid) + L"', expected '" + expected + L"' (pointer at " +
                                                 std::to_wstring(cursor.x) + L"," + std::to_wstring(cursor.y) +
                                                 L" over control " + std::to_wstring(GetDlgCtrlID(under)) + L")"));
    }
    RECT f{};
    GetWindowRect(frame, &f);
    movePointer(POINT{(f.left + f.right) / 2, f.bottom - 4});
    return failures;
}

// prompts COMMAND=TEXT...: the status-bar prompt of each highlighted menu command.
int phasePrompts(int argc, wchar_t** argv) {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"main window found"), failures;
    HWND status = FindWindowExW(frame, nullptr, L"msctls_statusbar32", nullptr);
    for (int i = 0; i < argc; ++i) {
        std::wstring pair = argv[i];
        size_t eq = pair.find(L'=');
        if (eq == std::wstring::npos) continue;
        int command = _wtoi(pair.substr(0, eq).c_str());
        send(frame, WM_MENUSELECT, MAKEWPARAM(command, MF_HILITE), reinterpret_cast<LPARAM>(GetMenu(frame)));
        std::wstring text = status ? textOf(status) : L"<no status bar>";
        send(frame, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        check(text == pair.substr(eq + 1), L"the prompt of command " + std::to_wstring(command) + L": " + text);
    }
    return failures;
}

// menubar FILE: writes to FILE the screen rectangle between the frame's top and its client
// area (its caption and menu bar) as "X Y WIDTH HEIGHT", for the script to compare screenshots.
int phaseMenuBar(const std::wstring& file) {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"main window found"), failures;
    RECT w{};
    GetWindowRect(frame, &w);
    POINT client{0, 0};
    ClientToScreen(frame, &client);
    check(client.y > w.top, L"the frame has a caption and menu strip");
    char line[96];
    int n = snprintf(line, sizeof line, "%ld %ld %ld %ld\n", w.left, w.top, w.right - w.left, client.y - w.top);
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    check(h != INVALID_HANDLE_VALUE && WriteFile(h, line, static_cast<DWORD>(n), &written, nullptr),
          L"the strip's place written");
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return failures;
}

// beta MESSAGE: the Beta updates command switches the update channel and says so.
int phaseBeta(const std::wstring& expected) {
    HWND frame = frameWindow();
    if (!frame) return check(false, L"main window found"), failures;
    PostMessageW(frame, WM_COMMAND, kBetaUpdates, 0);
    std::wstring message = answerMessage();
    check(message == expected, L"the update channel: " + message);
    return failures;
}

// fresh DRIVER FILE: no settings of the program; web addresses open DRIVER as a stand-in
// browser that writes what it was given to FILE.
int phaseFresh(const std::wstring& driver, const std::wstring& file) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wordmere");
    const std::wstring command = L"\"" + driver + L"\" browser \"" + file + L"\" \"%1\"";
    for (const wchar_t* scheme : {L"http", L"https"}) {
        std::wstring key = std::wstring(scheme) + L"\\shell\\open\\command";
        HKEY k = nullptr;
        bool ok = RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) ==
                      ERROR_SUCCESS &&
                  RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                 static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
        if (k) RegCloseKey(k);
        check(ok, L"the stand-in browser opens " + std::wstring(scheme) + L" addresses");
    }
    return failures;
}

// shot FILE NAME: asks the script for a screenshot called NAME (by writing NAME to FILE)
// and waits until it was taken (the script removes FILE).
int phaseShot(const std::wstring& file, const std::wstring& name) {
    Sleep(scaledMs(500));
    std::string bytes(name.begin(), name.end());
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    bool asked = h != INVALID_HANDLE_VALUE && WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    check(asked && waitFor([&] { return !fileExists(file); }, 60000), L"screenshot " + name + L" taken");
    return failures;
}

// show COMMAND CONTROL: opens a dialog and leaves it open (for a screenshot);
// dismiss CONTROL: closes it again.
int phaseShow(int command, int control) {
    check(openDialog(command, control) != nullptr, L"dialog " + std::to_wstring(control) + L" opens");
    return failures;
}

int phaseDismiss(int control) {
    HWND dialog = waitDialog(control, 5000);
    if (!dialog) return check(false, L"dialog " + std::to_wstring(control) + L" is open"), failures;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    check(waitGone(dialog), L"dialog " + std::to_wstring(control) + L" closes");
    return failures;
}
}  // namespace

int dialogPhase(int argc, wchar_t** argv, bool& known) {
    known = true;
    std::wstring phase = argc > 1 ? argv[1] : L"";
    if (phase == L"addentry" && argc > 4) return phaseAddEntry(argv[2], argv[3], argv[4]);
    if (phase == L"conjugate" && argc > 5) return phaseConjugate(argv[2], argv[3], argv[4], argv[5]);
    if (phase == L"conjugateclose") return phaseConjugateClose();
    if (phase == L"numbers" && argc > 3) return phaseNumbers(argv[2], argv[3]);
    if (phase == L"web" && argc > 6) return phaseWeb(argv[2], argv[3], argv[4], argv[5], argv[6]);
    if (phase == L"browser" && argc > 3) return phaseBrowser(argv[2], argv[3]);
    if (phase == L"options" && argc > 5) return phaseOptions(argv[2], argv[3], _wtoi(argv[4]), argv[5]);
    if (phase == L"fresh" && argc > 3) return phaseFresh(argv[2], argv[3]);
    if (phase == L"shot" && argc > 3) return phaseShot(argv[2], argv[3]);
    if (phase == L"beta" && argc > 2) return phaseBeta(argv[2]);
    if (phase == L"tips") return phaseTips(argc - 2, argv + 2);
    if (phase == L"prompts") return phasePrompts(argc - 2, argv + 2);
    if (phase == L"menubar" && argc > 2) return phaseMenuBar(argv[2]);
    if (phase == L"show" && argc > 3) return phaseShow(_wtoi(argv[2]), _wtoi(argv[3]));
    if (phase == L"dismiss" && argc > 2) return phaseDismiss(_wtoi(argv[2]));
    known = false;
    return 0;
}
