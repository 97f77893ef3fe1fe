// The driver's phases for the skin of a running wordmere.exe, read from the screen: the result
// list's scroll bar (the skin's own bar where the platform class gives skinned bars, the
// system's bar elsewhere) following the keys and the wheel, and the search box's edit and drop
// list in the skin's colours. The expected bar comes from the skin's scroll picture (the BMP file
// the build draws), at places computed from the windows' rectangles.
#include "driver_skin.h"
#include "driver_check.h"
#include "driver_time.h"
#include "driver_pixels.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
const int kViewId = 0xE900, kSearchCombo = 1001, kGoButton = 1003, kMainList = 1012;
const int kStandardSearch = 11400;
// The text colour that no picture holds (skin/default/skin.txt): the combo box's and the list
// box's.
const COLORREF kSkinFieldText = RGB(0x1E, 0x2A, 0x36);
// The scroll picture's cells (skin/default/draw_pictures.sh): 16 x 16, the normal row first;
// the vertical bar's up arrow, down arrow, track and thumb columns.
const int kCell = 16, kUpArrowX = 64, kDownArrowX = 80, kTrackX = 96, kThumbX = 112;
// The property by which the skin engine keeps a window's skinned scroll bars.
const wchar_t kSkinnedBarsProp[] = L"SkinSBSubclassPtr";
const wchar_t kAppDefaultsKey[] = L"Software\\Wine\\AppDefaults\\wordmere.exe";
const wchar_t kProgramKey[] = L"Software\\Wordmere";

LRESULT send(HWND w, UINT msg, WPARAM wp, LPARAM lp) { return sendWithin(20000, w, msg, wp, lp); }

std::wstring colourText(COLORREF c) {
    wchar_t b[16];
    swprintf(b, 16, L"#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return b;
}

std::wstring num(long v) { return std::to_wstring(v); }

HWND frameWindow() { return FindWindowW(L"WordmereFrame", L"Wordmere"); }

RECT windowRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

// winversion MODE: the Windows version Wine reports to the next start of wordmere.exe
// (AppDefaults); "default" removes the program's own setting.
int phaseWinVersion(const std::wstring& mode) {
    if (mode == L"default") {
        const LONG rc = RegDeleteKeyW(HKEY_CURRENT_USER, kAppDefaultsKey);
        check(rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND, L"wordmere.exe runs under Wine's own version");
        return failures;
    }
    HKEY k = nullptr;
    bool ok = RegCreateKeyExW(HKEY_CURRENT_USER, kAppDefaultsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) == ERROR_SUCCESS;
    if (ok) {
        ok = RegSetValueExW(k, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(mode.c_str()),
                            static_cast<DWORD>((mode.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
        RegCloseKey(k);
    }
    check(ok, L"wordmere.exe is given Windows version " + mode);
    return failures;
}

// forget: the program starts as on a new machine, without stored settings.
int phaseForget() {
    const LONG rc = RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
    check(rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND, L"the program's settings are removed");
    return failures;
}

// The list's vertical bar on the screen: right of its client area, as high as it.
RECT barOf(HWND list, int thickness) {
    RECT c{};
    GetClientRect(list, &c);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&c), 2);
    return RECT{c.right, c.top, c.right + thickness, c.bottom};
}

// The rows of the bar's middle column between its arrows that are not the track: the thumb.
struct Span {
    int first = -1, last = -1;
    bool whole = true;  // one run, no other non-track pixel
};
Span thumbIn(const ScreenPixels& s, const RECT& bar, COLORREF track) {
    Span t;
    const int x = bar.left + kCell / 2;
    for (int y = bar.top + kCell; y < bar.bottom - kCell; ++y) {
        if (s.onScreen(x, y) == track) continue;
        if (t.first < 0) t.first = y;
        else if (y != t.last + 1) t.whole = false;
        t.last = y;
    }
    return t;
}

// Pixels of a 16 x 16 square of the screen that differ from a picture's cell.
int cellMismatch(const ScreenPixels& s, int left, int top, const BmpPixels& p, int cellX, int cellY) {
    int n = 0;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) n += s.onScreen(left + x, top + y) != p.at(cellX + x, cellY + y);
    return n;
}

std::wstring listText(HWND list) {
    std::vector<wchar_t> buf(65536);
    DWORD_PTR r = 0;
    SendMessageTimeoutW(list, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG, scaledMs(10000), &r);
    return buf.data();
}

// The fixture's entries are STEM01, STEM02, ...; each takes a line and is followed by an empty
// one. The index (from 0) of the entry that holds the list's top line, -1 when none is seen.
int entryAtTop(const std::wstring& text, const std::wstring& stem) {
    size_t at = 0;
    bool blankFirst = false;
    while (at < text.size() && text[at] == L'\n') {
        blankFirst = true;
        ++at;
    }
    if (text.compare(at, stem.size(), stem) != 0) return -1;
    const int number = _wtoi(text.c_str() + at + stem.size());
    return number > 0 ? number - 1 - (blankFirst ? 1 : 0) : -1;
}

std::wstring firstLine(const std::wstring& text) {
    const size_t at = text.find_first_not_of(L'\n');
    return at == std::wstring::npos ? std::wstring() : text.substr(at, text.find(L'\n', at) - at);
}

// A key posted to the list (through the program's message loop, as typed) and time to paint.
void postKey(HWND list, WORD vk) {
    PostMessageW(list, WM_KEYDOWN, vk, 1);
    PostMessageW(list, WM_KEYUP, vk, 0xC0000001);
    Sleep(scaledMs(400));
}

void wheelDown(HWND list, int notches) {
    for (int i = 0; i < notches; ++i) send(list, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    Sleep(scaledMs(400));
}

// resultbars skinned|system WORD ENTRIES PICTURES SHOT: the main list over a dictionary of
// ENTRIES entries named like WORD (see entryAtTop), filled by a standard search for WORD, is
// scrolled by Home, the wheel, Page Down and End. With the skin's bar every step shows the
// skin's arrows at the bar's ends, the track elsewhere and one thumb where the entry at the
// list's top puts it: the list's range is 0 to ENTRIES (one past the last entry's position) with
// a page of one, so the thumb's offset in the space it moves in is the entry's share of ENTRIES.
// With the system's bar the window carries no skinned bar, the skin's arrows are not there, and
// the bar still moves between Home and End.
int phaseResultBars(const std::wstring& kind, const std::wstring& word, int entries, const std::wstring& pictures,
                    const std::wstring& shot) {
    const bool skinned = kind == L"skinned";
    BmpPixels scroll;
    check(scroll.read(pictures + L"\\scroll.bmp"), L"the skin's scroll picture is read");
    HWND frame = frameWindow(), view = frame ? GetDlgItem(frame, kViewId) : nullptr;
    HWND list = view ? GetDlgItem(view, kMainList) : nullptr;
    check(list != nullptr, L"the main list found");
    if (!list || scroll.bytes.empty()) return failures;
    SetForegroundWindow(frame);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 4, GetSystemMetrics(SM_CYSCREEN) - 4);  // no hot part
    send(frame, WM_COMMAND, kStandardSearch, 0);
    HWND combo = GetDlgItem(view, kSearchCombo);
    send(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(word.c_str()));
    send(view, WM_COMMAND, MAKEWPARAM(kGoButton, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(view, kGoButton)));
    Sleep(scaledMs(500));
    check(skinned == (GetPropW(list, kSkinnedBarsProp) != nullptr),
          skinned ? L"the list has the skin's bar" : L"the list keeps the system's bar");

    const int thickness = skinned ? kCell : GetSystemMetrics(SM_CXVSCROLL);
    const RECT bar = barOf(list, thickness);
    const RECT win = windowRect(list);
    check(bar.right <= win.right && bar.bottom - bar.top > 6 * kCell,
          L"the bar stands right of the list's client area: " + num(bar.left) + L"," + num(bar.top) + L" to " +
              num(bar.right) + L"," + num(bar.bottom));
    const COLORREF track = scroll.at(kTrackX + kCell / 2, kCell / 2), thumbFill = scroll.at(kThumbX + kCell / 2, kCell / 2);
    // The thumb's geometry for the list's range: a page of one over ENTRIES + 1 positions gives
    // the skin's minimum thumb (its picture's length) in any bar this test makes.
    const std::wstring stem = word.substr(0, word.find_last_not_of(L"0123456789") + 1);
    const int space = (bar.bottom - bar.top) - 2 * kCell;
    const int thumbLength = std::max(MulDiv(1, space, entries + 1), kCell);
    const auto thumbRowFor = [&](int entry) { return kCell + MulDiv(entry, space - thumbLength, entries); };

    struct Step {
        const wchar_t* name;
        Span thumb;
        std::wstring text;
        int entry;
        std::vector<COLORREF> column;
    };
    std::vector<Step> steps;
    const auto look = [&](const wchar_t* name) {
        const ScreenPixels s(bar);
        const std::wstring text = listText(list);
        Step step{name, thumbIn(s, bar, track), text, entryAtTop(text, stem), {}};
        for (int y = bar.top; y < bar.bottom; ++y) step.column.push_back(s.onScreen(bar.left + thickness / 2, y));
        if (skinned) {
            const int up = cellMismatch(s, bar.left, bar.top, scroll, kUpArrowX, 0);
            const int down = cellMismatch(s, bar.left, bar.bottom - kCell, scroll, kDownArrowX, 0);
            check(up == 0 && down == 0, std::wstring(name) + L": the skin's arrows at the bar's ends (" + num(up) + L" and " +
                                            num(down) + L" pixels differ)");
            const Span& t = step.thumb;
            const COLORREF middle = s.onScreen(bar.left + kCell / 2, (t.first + t.last) / 2);
            check(t.first >= 0 && t.whole && t.last - t.first + 1 == thumbLength && middle == thumbFill,
                  std::wstring(name) + L": one thumb on the track, rows " + num(t.first - bar.top) + L" to " +
                      num(t.last - bar.top) + L", its middle " + colourText(middle));
            check(step.entry >= 0 && t.first - bar.top == thumbRowFor(step.entry),
                  std::wstring(name) + L": entry " + num(step.entry) + L" of " + num(entries) + L" at the top (" +
                      firstLine(text) + L") puts the thumb at row " + num(thumbRowFor(step.entry)) + L": row " +
                      num(t.first - bar.top));
        }
        steps.push_back(step);
        return steps.back();
    };

    postKey(list, VK_HOME);
    const Step home = look(L"Home");
    const ScreenPixels whole(windowRect(frame));
    check(whole.save(shot), L"screenshot " + shot);
    wheelDown(list, 3);
    const Step wheel = look(L"three notches of the wheel");
    postKey(list, VK_NEXT);
    const Step page = look(L"Page Down");
    postKey(list, VK_END);
    const Step end = look(L"End");
    check(wheel.text != home.text && page.text != wheel.text && end.text != page.text,
          L"the list moved at every step: " + firstLine(home.text) + L" / " + firstLine(wheel.text) + L" / " +
              firstLine(page.text) + L" / " + firstLine(end.text));
    if (skinned) {
        check(home.entry == 0 && home.thumb.first == bar.top + kCell,
              L"at Home the first entry and the thumb right below the up arrow");
        check(wheel.entry > home.entry && page.entry > wheel.entry && end.entry == entries - 1,
              L"the wheel and Page Down move on, End shows the last entry: entries " + num(wheel.entry) + L", " +
                  num(page.entry) + L", " + num(end.entry));
    } else {
        const ScreenPixels s(bar);
        const int up = cellMismatch(s, bar.left, bar.top, scroll, kUpArrowX, 0);
        check(up > kCell * kCell / 4, L"the skin's up arrow is not there: " + num(up) + L" pixels differ");
        check(home.column != end.column, L"the system's bar shows Home and End apart");
        int thumbPixels = 0;
        for (COLORREF c : home.column) thumbPixels += c == thumbFill;
        check(thumbPixels == 0, L"no pixel of the skin's thumb in the bar: " + num(thumbPixels));
    }
    postKey(list, VK_HOME);
    return failures;
}

// The visible drop list of a process's combo box.
struct DropSearch {
    DWORD pid;
    HWND found;
};
BOOL CALLBACK findDropList(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<DropSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    wchar_t cls[16] = L"";
    GetClassNameW(w, cls, 16);
    if (pid == s->pid && lstrcmpW(cls, L"ComboLBox") == 0 && IsWindowVisible(w)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

// fields SHOT: the search box's edit shows its text in the skin's text colour and nothing in
// the system's, and so do the items of its drop list (the looked-up words), opened.
int phaseFields(const std::wstring& shot) {
    HWND frame = frameWindow(), view = frame ? GetDlgItem(frame, kViewId) : nullptr;
    HWND combo = view ? GetDlgItem(view, kSearchCombo) : nullptr;
    HWND edit = combo ? FindWindowExW(combo, nullptr, L"Edit", nullptr) : nullptr;
    check(edit != nullptr, L"the search box's edit found");
    if (!edit) return failures;
    SetForegroundWindow(frame);
    send(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"WWW house"));
    RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Sleep(scaledMs(500));
    RECT c{};
    GetClientRect(edit, &c);
    MapWindowPoints(edit, nullptr, reinterpret_cast<POINT*>(&c), 2);
    const ScreenPixels text(c);
    const int ours = text.count(kSkinFieldText), black = text.count(GetSysColor(COLOR_WINDOWTEXT));
    check(ours > 20 && black == 0, L"the edit's text in the skin's colour " + colourText(kSkinFieldText) + L": " + num(ours) +
                                       L" pixels, " + num(black) + L" in the system's " + colourText(GetSysColor(COLOR_WINDOWTEXT)));

    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    send(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Sleep(scaledMs(800));
    DropSearch drop{pid, nullptr};
    EnumWindows(findDropList, reinterpret_cast<LPARAM>(&drop));
    check(drop.found != nullptr, L"the search box's drop list is open");
    if (drop.found) {
        RedrawWindow(drop.found, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Sleep(scaledMs(300));
        RECT inside{};
        GetClientRect(drop.found, &inside);
        MapWindowPoints(drop.found, nullptr, reinterpret_cast<POINT*>(&inside), 2);
        const ScreenPixels items(inside);
        const int inSkin = items.count(kSkinFieldText), inSystem = items.count(GetSysColor(COLOR_WINDOWTEXT));
        check(inSkin > 10 && inSystem == 0, L"the drop list's items in the skin's colour: " + num(inSkin) + L" pixels, " +
                                                num(inSystem) + L" in the system's");
        const ScreenPixels all(windowRect(frame));
        check(all.save(shot), L"screenshot " + shot);
    }
    send(combo, CB_SHOWDROPDOWN, FALSE, 0);
    send(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    return failures;
}

}  // namespace

int skinPhase(int argc, wchar_t** argv, bool& known) {
    known = true;
    const std::wstring phase = argc > 1 ? argv[1] : L"";
    if (phase == L"forget") return phaseForget();
    if (phase == L"winversion" && argc > 2) return phaseWinVersion(argv[2]);
    if (phase == L"resultbars" && argc > 6) return phaseResultBars(argv[2], argv[3], _wtoi(argv[4]), argv[5], argv[6]);
    if (phase == L"fields" && argc > 2) return phaseFields(argv[2]);
    known = false;
    return 0;
}
