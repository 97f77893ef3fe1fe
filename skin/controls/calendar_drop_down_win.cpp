#include "calendar_drop_down.h"

#include <commctrl.h>

const wchar_t kCalendarPopupTitle[] = L"MonthCal32";

namespace {

constexpr DWORD kPopupStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_BORDER;

void notifyParent(HWND picker, UINT code)
{
    HWND parent = GetParent(picker);
    if (!parent)
        return;
    NMHDR header{};
    header.hwndFrom = picker;
    header.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrW(picker, GWLP_ID));
    header.code = code;
    SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

// The thread's messages while the popup is open.
class CalendarMessages : public PickerMessageSource {
public:
    explicit CalendarMessages(HWND popup) : popup_(popup) {}

    int32_t next(bool *forPopup) override
    {
        // A popup destroyed by someone else ends the loop as a click elsewhere would.
        if (!IsWindow(popup_)) {
            *forPopup = false;
            return kPickerButtonDown;
        }
        BOOL got = GetMessageW(&msg_, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            quitCode_ = got == 0 ? static_cast<int>(msg_.wParam) : 0;
            return kPickerQuit;
        }
        *forPopup = msg_.hwnd == popup_ || IsChild(popup_, msg_.hwnd);
        switch (msg_.message) {
        case WM_LBUTTONDOWN:
        case WM_NCLBUTTONDOWN: return kPickerButtonDown;
        case WM_LBUTTONUP: return kPickerButtonUp;
        default: return kPickerOtherMessage;
        }
    }

    void dispatch() override
    {
        TranslateMessage(&msg_);
        DispatchMessageW(&msg_);
    }

    // At the point of the button-up (the pointer's place when it was released).
    uint32_t hitTestAtPointer() override
    {
        if (!IsWindow(popup_))
            return kCalendarHitNowhere;
        POINT at{static_cast<short>(LOWORD(msg_.lParam)), static_cast<short>(HIWORD(msg_.lParam))};
        MapWindowPoints(msg_.hwnd, popup_, &at, 1);
        MCHITTESTINFO hit{};
        hit.cbSize = MCHITTESTINFO_V1_SIZE;
        hit.pt = at;
        SendMessageW(popup_, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        return hit.uHit;
    }

    void repostQuit() override { PostQuitMessage(quitCode_); }

private:
    HWND popup_;
    MSG msg_{};
    int quitCode_ = 0;
};

// Sizes the popup to the calendar's smallest whole size and shows it under the picker.
void placeUnder(HWND popup, HWND picker)
{
    RECT picked;
    GetWindowRect(picker, &picked);
    RECT need{};
    SendMessageW(popup, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
    AdjustWindowRectEx(&need, kPopupStyle, FALSE, 0);
    SetWindowPos(popup, HWND_TOP, picked.left, picked.bottom, need.right - need.left, need.bottom - need.top,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

}  // namespace

int32_t dropDownCalendar(HWND picker, HINSTANCE module, HWND *openPopup)
{
    RECT picked;
    GetWindowRect(picker, &picked);
    // Made hidden and shown once sized, without taking the activation from the picker's window.
    HWND popup = CreateWindowExW(0, MONTHCAL_CLASSW, kCalendarPopupTitle, kPopupStyle, picked.left, picked.bottom, 0,
                                 0, GetParent(picker), nullptr, module, nullptr);
    if (!popup)
        return kPickerClosed;
    if (openPopup)
        *openPopup = popup;
    SYSTEMTIME date{};
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    notifyParent(picker, DTN_DROPDOWN);
    SendMessageW(popup, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date));
    placeUnder(popup, picker);

    CalendarMessages messages(popup);
    int32_t outcome = runPickerLoop(messages);
    SYSTEMTIME chosen{};
    if (outcome == kPickerDateChosen)
        SendMessageW(popup, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&chosen));
    if (IsWindow(popup))
        DestroyWindow(popup);
    if (openPopup)
        *openPopup = nullptr;
    if (outcome == kPickerDateChosen) {
        chosen.wHour = chosen.wMinute = chosen.wSecond = chosen.wMilliseconds = 0;
        notifyParent(picker, DTN_CLOSEUP);
        SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&chosen));
        InvalidateRect(picker, nullptr, TRUE);
    }
    return outcome;
}
