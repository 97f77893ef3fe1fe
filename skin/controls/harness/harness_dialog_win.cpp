#ifdef _WIN32
#include "harness_dialog.h"

#include <commctrl.h>
#include <richedit.h>

namespace {

constexpr DWORD kTab = WS_TABSTOP;
const wchar_t kLinkClass[] = L"Link Window";

// The stand-in link control: its text in the link colour on the window colour, painted and
// printed alike.
void drawLink(HWND w, HDC dc)
{
    RECT client;
    GetClientRect(w, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    wchar_t text[64] = L"";
    GetWindowTextW(w, text, 64);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(GetWindowLongPtrW(w, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kHarnessLinkColor);
    DrawTextW(dc, text, -1, &client, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
}

LRESULT CALLBACK linkProc(HWND w, UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_SETFONT:
        SetWindowLongPtrW(w, 0, static_cast<LONG_PTR>(wp));
        if (LOWORD(lp)) InvalidateRect(w, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrW(w, 0);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        drawLink(w, dc);
        EndPaint(w, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        drawLink(w, reinterpret_cast<HDC>(wp));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(w, message, wp, lp);
    }
}

void registerLinkStandIn(HINSTANCE instance)
{
    WNDCLASSEXW known{};
    known.cbSize = sizeof known;
    if (GetClassInfoExW(nullptr, kLinkClass, &known) || GetClassInfoExW(instance, kLinkClass, &known)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = linkProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_HAND);
    wc.lpszClassName = kLinkClass;
    RegisterClassExW(&wc);
}

// Moves the scroll-bar control as its owner: a line, a page or to the thumb's position.
void followScroll(HWND bar, int request, int position)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &info);
    const int page = info.nPage > 0 ? static_cast<int>(info.nPage) : 10;
    int pos = info.nPos;
    switch (request) {
    case SB_LINEUP: pos -= 1; break;
    case SB_LINEDOWN: pos += 1; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = position; break;
    default: return;
    }
    SetScrollPos(bar, SB_CTL, pos, TRUE);
}

INT_PTR CALLBACK harnessProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lp);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
        for (const HarnessControl &c : harnessControls()) {
            HWND w = CreateWindowExW(0, c.className, c.text, WS_CHILD | WS_VISIBLE | c.style, c.x, c.y, c.width, c.height,
                                     dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                     GetModuleHandleW(nullptr), nullptr);
            // As the dialog manager does for the controls of a template.
            if (w != nullptr) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        // The dialog's default button, which the dialog manager keeps default as the focus moves.
        SendMessageW(dialog, DM_SETDEFID, kHarnessDefaultPush, 0);
        SendDlgItemMessageW(dialog, kHarnessProgress, PBM_SETPOS, 60, 0);
        SendDlgItemMessageW(dialog, kHarnessList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"alpha"));
        SendDlgItemMessageW(dialog, kHarnessList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"beta"));
        SendDlgItemMessageW(dialog, kHarnessCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"first"));
        SendDlgItemMessageW(dialog, kHarnessCombo, CB_SETCURSEL, 0, 0);
        CheckDlgButton(dialog, kHarnessRadio1, BST_CHECKED);
        CheckDlgButton(dialog, kHarnessOtherRadio, BST_CHECKED);
        TCITEMW tab{TCIF_TEXT};
        tab.pszText = const_cast<wchar_t *>(L"Page");
        SendDlgItemMessageW(dialog, kHarnessTab, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&tab));
        return TRUE;
    }
    case WM_NOTIFY: {
        auto *log = reinterpret_cast<HarnessLog *>(GetWindowLongPtrW(dialog, DWLP_USER));
        const auto *header = reinterpret_cast<const NMHDR *>(lp);
        if (log != nullptr && header->idFrom == kHarnessDateTime && (header->code == DTN_DROPDOWN || header->code == DTN_CLOSEUP))
            log->pickerNotices.push_back(header->code);
        return FALSE;
    }
    case WM_COMMAND: {
        auto *log = reinterpret_cast<HarnessLog *>(GetWindowLongPtrW(dialog, DWLP_USER));
        const int id = LOWORD(wp);
        if (log != nullptr && id >= kHarnessPush && id < kHarnessPush + 64) ++log->commands[id - kHarnessPush];
        if (log != nullptr) log->notifications.emplace_back(id, HIWORD(wp));
        return TRUE;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
        auto *log = reinterpret_cast<HarnessLog *>(GetWindowLongPtrW(dialog, DWLP_USER));
        HWND bar = reinterpret_cast<HWND>(lp);
        if (bar == nullptr || GetDlgCtrlID(bar) != kHarnessScrollBar) return FALSE;
        if (log != nullptr) log->scrolls.emplace_back(LOWORD(wp), static_cast<short>(HIWORD(wp)));
        followScroll(bar, LOWORD(wp), static_cast<short>(HIWORD(wp)));
        return TRUE;
    }
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

const std::vector<HarnessControl> &harnessControls()
{
    static const std::vector<HarnessControl> controls = {
        {L"BUTTON", L"Push", BS_PUSHBUTTON | kTab | WS_GROUP, kHarnessPush, 10, 10, 100, 22},
        {L"BUTTON", L"Default", BS_DEFPUSHBUTTON | kTab, kHarnessDefaultPush, 120, 10, 100, 22},
        {L"BUTTON", L"Disabled", BS_PUSHBUTTON | WS_DISABLED | kTab, kHarnessDisabledPush, 230, 10, 100, 22},
        {L"BUTTON", L"Check", BS_AUTOCHECKBOX | kTab | WS_GROUP, kHarnessCheck, 10, 40, 100, 20},
        {L"BUTTON", L"Three states", BS_AUTO3STATE | kTab, kHarnessThreeState, 120, 40, 110, 20},
        {L"BUTTON", L"Group", BS_GROUPBOX | WS_GROUP, kHarnessGroup, 10, 66, 220, 96},
        {L"BUTTON", L"One", BS_AUTORADIOBUTTON | WS_GROUP | kTab, kHarnessRadio1, 20, 86, 90, 20},
        {L"BUTTON", L"Two", BS_AUTORADIOBUTTON, kHarnessRadio2, 20, 110, 90, 20},
        {L"BUTTON", L"Three", BS_AUTORADIOBUTTON, kHarnessRadio3, 20, 134, 90, 20},
        {L"BUTTON", L"Other", BS_AUTORADIOBUTTON | WS_GROUP | kTab, kHarnessOtherRadio, 120, 86, 90, 20},
        {L"STATIC", L"A static text", SS_LEFT | WS_GROUP, kHarnessStatic, 240, 40, 120, 20},
        {L"EDIT", L"edit", WS_BORDER | ES_AUTOHSCROLL | kTab, kHarnessEdit, 240, 66, 120, 22},
        {L"RICHEDIT", L"rich edit", WS_BORDER | kTab, kHarnessRichEdit, 240, 94, 120, 22},
        {L"LISTBOX", L"", WS_BORDER | WS_VSCROLL | LBS_NOTIFY | kTab, kHarnessList, 240, 122, 120, 60},
        {L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | kTab, kHarnessCombo, 370, 10, 120, 120},
        {PROGRESS_CLASSW, L"", 0, kHarnessProgress, 370, 40, 120, 16},
        {L"SCROLLBAR", L"", SBS_HORZ, kHarnessScrollBar, 370, 62, 120, 16},
        {TRACKBAR_CLASSW, L"", kTab, kHarnessTrackbar, 370, 84, 120, 26},
        {UPDOWN_CLASSW, L"", UDS_ARROWKEYS, kHarnessUpDown, 500, 10, 18, 24},
        {WC_TABCONTROLW, L"", 0, kHarnessTab, 10, 170, 220, 60},
        {WC_LISTVIEWW, L"", LVS_REPORT | WS_BORDER, kHarnessListView, 240, 190, 120, 60},
        {WC_TREEVIEWW, L"", WS_BORDER, kHarnessTreeView, 370, 120, 120, 60},
        {DATETIMEPICK_CLASSW, L"", 0, kHarnessDateTime, 370, 190, 120, 22},
        {MONTHCAL_CLASSW, L"", 0, kHarnessMonthCalendar, 10, 236, 220, 160},
        {WC_HEADERW, L"", 0, kHarnessHeader, 240, 256, 120, 20},
        {ANIMATE_CLASSW, L"", 0, kHarnessAnimate, 370, 220, 40, 40},
        {WC_IPADDRESSW, L"", 0, kHarnessIPAddress, 240, 282, 120, 22},
        {TOOLBARCLASSNAMEW, L"", CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, kHarnessToolbar, 370, 270, 200, 28},
        {REBARCLASSNAMEW, L"", CCS_NOPARENTALIGN | CCS_NORESIZE, kHarnessRebar, 370, 300, 200, 28},
        {STATUSCLASSNAMEW, L"Status", 0, kHarnessStatusBar, 0, 0, 0, 0},
        {kLinkClass, L"a link", 0, kHarnessLink, 500, 62, 120, 20},
        {PROGRESS_CLASSW, L"", PBS_VERTICAL, kHarnessVerticalProgress, 622, 10, 16, 100},
    };
    return controls;
}

HWND createHarnessDialog(HINSTANCE instance, HarnessLog *log, int x, int y)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES | ICC_COOL_CLASSES |
                                             ICC_USEREX_CLASSES};
    InitCommonControlsEx(&icc);
    LoadLibraryW(L"riched32.dll");
    registerLinkStandIn(GetModuleHandleW(nullptr));
    // A template without controls: the dialog makes them itself, in pixels.
    struct alignas(4) Template {
        DLGTEMPLATE dialog;
        WORD menu, cls, title, pointSize;
        wchar_t face[13];
    } t{};
    t.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | WS_VISIBLE;
    t.pointSize = 8;
    wcscpy(t.face, L"MS Shell Dlg");
    HWND dialog = CreateDialogIndirectParamW(instance, &t.dialog, nullptr, harnessProc, reinterpret_cast<LPARAM>(log));
    if (dialog == nullptr) return nullptr;
    RECT r{0, 0, kHarnessWidth, kHarnessHeight};
    AdjustWindowRectEx(&r, GetWindowLongW(dialog, GWL_STYLE), FALSE, GetWindowLongW(dialog, GWL_EXSTYLE));
    SetWindowPos(dialog, nullptr, x, y, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowTextW(dialog, L"Wordmere skinned controls");
    return dialog;
}

#endif
