// The month calendar skinner (Windows).
#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "date_link_skinners.h"
#include "scrolled_skinners.h"
#include "skin_codes.h"
#include "skin_definitions.h"
#include "skin_draw.h"

namespace {

MonthCalendarDefinition *calendarDefinition(SkinObject *definition)
{
    return dynamic_cast<MonthCalendarDefinition *>(definition);
}

DateButtonPictures picturesOf(const SkinNineGrid *three)
{
    return DateButtonPictures{three[kDateLookNormal].isSet(), three[kDateLookPressed].isSet(),
                              three[kDateLookDisabled].isSet()};
}

}  // namespace

MonthCalendarSkinner::MonthCalendarSkinner(WindowSkinner *container) : ControlSkinner(kSkinMonthCalendar, container) {}

bool MonthCalendarSkinner::attach(HWND window)
{
    if (!ControlSkinner::attach(window))
        return false;
    findTitleButtons();
    PostMessageW(window_, WM_SKIN_REFRESH, 0, 0);
    return true;
}

SkinObject *MonthCalendarSkinner::setSkin(SkinObject *definition)
{
    SkinObject *previous = ControlSkinner::setSkin(definition);
    if (window_ != nullptr)
        PostMessageW(window_, WM_SKIN_REFRESH, 0, 0);
    return previous;
}

void MonthCalendarSkinner::findTitleButtons()
{
    RECT client;
    GetClientRect(window_, &client);
    HWND calendar = window_;
    buttons_ = findCalendarTitleButtons(client.right, client.bottom, [calendar](int32_t x, int32_t y) {
        MCHITTESTINFO hit{};
        hit.cbSize = MCHITTESTINFO_V1_SIZE;
        hit.pt = POINT{x, y};
        SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        return static_cast<uint32_t>(hit.uHit);
    });
}

void MonthCalendarSkinner::applyColors()
{
    MonthCalendarDefinition *def = calendarDefinition(definition_);
    if (def == nullptr)
        return;
    const struct {
        int which;
        SkinColor color;
    } colors[] = {
        {MCSC_BACKGROUND, def->bgColor},      {MCSC_MONTHBK, def->monthBgColor},
        {MCSC_TEXT, def->textColor},          {MCSC_TITLEBK, def->titleBgColor},
        {MCSC_TITLETEXT, def->titleTextColor}, {MCSC_TRAILINGTEXT, def->trailingTextColor},
    };
    for (const auto &c : colors)
        SendMessageW(window_, MCM_SETCOLOR, c.which, static_cast<LPARAM>(c.color));
}

LRESULT MonthCalendarSkinner::callHidden(UINT message, WPARAM wp, LPARAM lp)
{
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    SetWindowLongW(window_, GWL_STYLE, style & ~WS_VISIBLE);
    const LRESULT result = callPrevious(message, wp, lp);
    if (!destroyed_ && IsWindow(window_))
        SetWindowLongW(window_, GWL_STYLE, style);
    return result;
}

void MonthCalendarSkinner::setPressed(int32_t button)
{
    if (pressed_ == button)
        return;
    pressed_ = button;
    InvalidateRect(window_, nullptr, FALSE);
}

void MonthCalendarSkinner::paint(HDC dc)
{
    RECT client;
    GetClientRect(window_, &client);
    MonthCalendarDefinition *def = calendarDefinition(definition_);
    if (def == nullptr)
        return;
    skinDrawNineGrid(def->owner(), dc, client, def->frame, def->bgColor, kSkinFill, false);
    callPrevious(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    const bool enabled = IsWindowEnabled(window_) != FALSE;
    const struct {
        const SkinRect &place;
        const SkinNineGrid *pictures;
        int32_t id;
    } buttons[] = {
        {buttons_.previous, &def->buttons[kCalendarPreviousNormal], 1},
        {buttons_.next, &def->buttons[kCalendarNextNormal], 2},
    };
    for (const auto &b : buttons) {
        if (b.place.isEmpty())
            continue;
        const int32_t look = calendarButtonLook(enabled, pressed_ == b.id, picturesOf(b.pictures));
        if (look == kDateLookNone)
            continue;
        skinDrawKeyedNineGrid(def->owner(), dc, toRECT(b.place), b.pictures[look], keyColor_);
    }
}

void MonthCalendarSkinner::onPaint()
{
    if (calendarDefinition(definition_) == nullptr) {
        callPrevious(WM_PAINT, 0, 0);
        return;
    }
    ControlSkinner::onPaint();
}

LRESULT MonthCalendarSkinner::windowProc(UINT message, WPARAM wp, LPARAM lp)
{
    switch (message) {
    case WM_SKIN_REFRESH:
        applyColors();
        return 1;
    case WM_SIZE: {
        const LRESULT result = ControlSkinner::windowProc(message, wp, lp);
        findTitleButtons();
        return result;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
        hideTooltip();
        const int32_t at = calendarButtonAt(buttons_, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        if (at == 0) {
            setPressed(0);
            return callPrevious(message, wp, lp);
        }
        setPressed(message == WM_LBUTTONDOWN ? at : 0);
        HWND self = window_;
        const LRESULT result = callHidden(message, wp, lp);
        // The control changed its month without painting: show it, with the button's look.
        if (IsWindow(self)) {
            InvalidateRect(self, nullptr, FALSE);
            UpdateWindow(self);
        }
        return result;
    }
    case WM_MOUSEMOVE:
        if ((wp & MK_LBUTTON) != 0) {
            startHover();
            const int32_t at = calendarButtonAt(buttons_, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
            const LRESULT result = callHidden(message, wp, lp);
            setPressed(at);
            return result;
        }
        break;
    default:
        break;
    }
    return ControlSkinner::windowProc(message, wp, lp);
}

#endif
