// The date-time picker skinner (Windows).
#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <map>
#include <string>

#include "calendar_drop_down.h"
#include "control_paint.h"
#include "date_link_skinners.h"
#include "skin_codes.h"
#include "skin_definitions.h"
#include "skin_draw.h"

namespace {

constexpr int kFieldTextChars = 100;
constexpr int kFormattedChars = 128;
constexpr int kFieldTextIndent = 3;
constexpr UINT kFieldTextFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
// The picker's up-down part, a child window of the control.
constexpr UINT_PTR kPickerUpDownId = 1000;

DateTimeDefinition *pickerDefinition(SkinObject *definition) { return dynamic_cast<DateTimeDefinition *>(definition); }

uint32_t styleOf(HWND w) { return static_cast<uint32_t>(GetWindowLongW(w, GWL_STYLE)); }

// The calendar each picker has dropped down, while its loop runs. Kept beside the skinners, so
// a picker destroyed while its calendar is open leaves nothing behind that points at it.
std::map<HWND, HWND> &openCalendars()
{
    static std::map<HWND, HWND> open;
    return open;
}

// The width of the border the system draws around a control of these extended styles.
SIZE borderOf(HWND w)
{
    const LONG ex = GetWindowLongW(w, GWL_EXSTYLE);
    SIZE border{0, 0};
    if ((ex & WS_EX_CLIENTEDGE) != 0) {
        border.cx += GetSystemMetrics(SM_CXEDGE);
        border.cy += GetSystemMetrics(SM_CYEDGE);
    }
    if ((ex & WS_EX_DLGMODALFRAME) != 0) {
        border.cx += GetSystemMetrics(SM_CXDLGFRAME);
        border.cy += GetSystemMetrics(SM_CXDLGFRAME);
    }
    if ((ex & WS_EX_STATICEDGE) != 0) {
        border.cx += 1;
        border.cy += 1;
    }
    return border;
}

}  // namespace

DateTimePickerSkinner::DateTimePickerSkinner(WindowSkinner *container) : ControlSkinner(kSkinDateTime, container) {}

bool DateTimePickerSkinner::attach(HWND window)
{
    if (!ControlSkinner::attach(window))
        return false;
    // The skinned field shows the control's text; it never lets the user type a date in.
    modifyStyle(kPickerAppCanParse, 0, 0);
    return true;
}

bool DateTimePickerSkinner::calendarOpen() const { return openCalendars().count(window_) != 0; }

HWND DateTimePickerSkinner::openCalendar() const
{
    auto found = openCalendars().find(window_);
    return found == openCalendars().end() ? nullptr : found->second;
}

std::wstring DateTimePickerSkinner::fieldText()
{
    std::wstring text = skinWindowText(window_, kFieldTextChars);
    if (!text.empty())
        return text;
    // A picker that keeps no window text: the date as the control formats it by its style.
    SYSTEMTIME date{};
    if (callPrevious(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date)) != GDT_VALID)
        return text;
    wchar_t formatted[kFormattedChars] = L"";
    const uint32_t style = styleOf(window_);
    int length = 0;
    if ((style & kPickerTimeFormat) == kPickerTimeFormat) {
        length = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &date, nullptr, formatted, kFormattedChars);
    } else {
        const DWORD kind = (style & kPickerLongDateFormat) != 0 ? DATE_LONGDATE : DATE_SHORTDATE;
        length = GetDateFormatW(LOCALE_USER_DEFAULT, kind, &date, nullptr, formatted, kFormattedChars);
    }
    return length > 0 ? std::wstring(formatted) : text;
}

void DateTimePickerSkinner::drawDropButton(HDC dc, const RECT &button)
{
    DateTimeDefinition *def = pickerDefinition(definition_);
    const bool enabled = IsWindowEnabled(window_) != FALSE;
    const bool open = calendarOpen();
    const DateButtonPictures set{def->buttons[kDateButtonNormal].isSet(), def->buttons[kDateButtonPressed].isSet(),
                                 def->buttons[kDateButtonDisabled].isSet()};
    const int32_t look = pickerButtonLook(enabled, open, set);
    if (look == kDateLookNone) {
        RECT r = button;
        UINT state = DFCS_SCROLLCOMBOBOX;
        if (!enabled) state |= DFCS_INACTIVE;
        if (open) state |= DFCS_PUSHED;
        DrawFrameControl(dc, &r, DFC_SCROLL, state);
        return;
    }
    skinDrawNineGrid(def->owner(), dc, button, def->buttons[look], GetSysColor(COLOR_BTNFACE), kSkinFill, false);
}

void DateTimePickerSkinner::paint(HDC dc)
{
    DateTimeDefinition *def = pickerDefinition(definition_);
    if (def == nullptr)
        return;
    RECT client;
    GetClientRect(window_, &client);
    const uint32_t style = styleOf(window_);
    const bool enabled = IsWindowEnabled(window_) != FALSE;
    const bool mirror = skinIsRightToLeft(window_);
    if (enabled) {
        skinDrawPicture(def->owner(), dc, client, def->field, def->bgColor, kSkinFill, mirror);
    } else {
        skinDrawPicture(def->owner(), dc, client, def->disabledField, def->disabledBgColor, kSkinFill, mirror);
    }
    const std::wstring text = fieldText();
    if (!text.empty()) {
        RECT field = toRECT(pickerField(toSkinRect(client), style));
        field.left += kFieldTextIndent;
        ControlFontSelection font(window_, dc);
        SetBkMode(dc, TRANSPARENT);
        skinStyledText(dc, enabled ? def->fieldText : def->disabledFieldText, field, text.c_str(),
                       static_cast<int>(text.size()), kFieldTextFormat);
    }
    if (pickerHasDropButton(style))
        drawDropButton(dc, toRECT(pickerDropButton(toSkinRect(client), style)));
}

void DateTimePickerSkinner::onPaint()
{
    if (pickerDefinition(definition_) == nullptr) {
        callPrevious(WM_PAINT, 0, 0);
        return;
    }
    ControlSkinner::onPaint();
}

void DateTimePickerSkinner::onNcPaint(WPARAM wp)
{
    callPrevious(WM_NCPAINT, wp, 0);
    DateTimeDefinition *def = pickerDefinition(definition_);
    const SIZE border = borderOf(window_);
    if (def == nullptr || !def->frame.isSet() || (border.cx == 0 && border.cy == 0))
        return;
    RECT whole;
    GetWindowRect(window_, &whole);
    OffsetRect(&whole, -whole.left, -whole.top);
    HDC dc = GetWindowDC(window_);
    if (dc == nullptr)
        return;
    ExcludeClipRect(dc, border.cx, border.cy, whole.right - border.cx, whole.bottom - border.cy);
    skinDrawNineGrid(def->owner(), dc, whole, def->frame, def->bgColor, kSkinFill, false);
    ReleaseDC(window_, dc);
}

LRESULT DateTimePickerSkinner::onButtonDown(WPARAM wp, LPARAM lp)
{
    hideTooltip();
    if (calendarOpen())
        return 1;
    RECT client;
    GetClientRect(window_, &client);
    const uint32_t style = styleOf(window_);
    const RECT button = toRECT(pickerDropButton(toSkinRect(client), style));
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (pickerDefinition(definition_) == nullptr || !PtInRect(&button, at))
        return callPrevious(WM_LBUTTONDOWN, wp, lp);
    HWND picker = window_;
    if (GetFocus() != picker)
        SetFocus(picker);
    // The slot lives in the map, not in this skinner: the picker may be destroyed meanwhile.
    HWND &slot = openCalendars()[picker];
    RedrawWindow(picker, &button, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    dropDownCalendar(picker, GetModuleHandleW(nullptr), &slot);
    openCalendars().erase(picker);
    if (IsWindow(picker))
        RedrawWindow(picker, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return 0;
}

LRESULT DateTimePickerSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        return onButtonDown(wp, lp);
    case WM_NCPAINT:
        onNcPaint(wp);
        return 0;
    case DTM_GETMONTHCAL:
        return reinterpret_cast<LRESULT>(openCalendar());
    case WM_NOTIFY: {
        const LRESULT result = callPrevious(message, wp, lp);
        auto *header = reinterpret_cast<const NMHDR *>(lp);
        if (header != nullptr && header->idFrom == kPickerUpDownId)
            InvalidateRect(window_, nullptr, FALSE);
        return result;
    }
    case WM_ENABLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case DTM_SETSYSTEMTIME: {
        const LRESULT result = ControlSkinner::windowProc(message, wp, lp);
        InvalidateRect(window_, nullptr, FALSE);
        return result;
    }
    default:
        break;
    }
    return ControlSkinner::windowProc(message, wp, lp);
}

#endif
