// The picker's own calendar under Wine, on a real date-time picker: a click on a day (found
// with the calendar's own hit test) sets the picker's date after DTN_DROPDOWN and DTN_CLOSEUP; a
// click elsewhere closes it with the date unchanged and no DTN_CLOSEUP; a quit request ends the
// loop and is still in the queue afterwards.
#include "calendar_drop_down.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kPickerId = 31;
std::vector<UINT> gNotices;
HWND gPopup = nullptr;
HWND gPicker = nullptr;

enum class Gesture { ClickDay15, ClickPicker, Quit };
Gesture gGesture = Gesture::ClickDay15;
bool gFoundDay = false;
int gTicks = 0;

LRESULT CALLBACK parentProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_NOTIFY) {
        auto *header = reinterpret_cast<NMHDR *>(lp);
        if (header->idFrom == kPickerId && (header->code == DTN_DROPDOWN || header->code == DTN_CLOSEUP))
            gNotices.push_back(header->code);
    }
    return DefWindowProcW(w, m, wp, lp);
}

// The client point of the popup where the calendar shows day 15 of its month.
bool findDay15(POINT *at)
{
    RECT client;
    GetClientRect(gPopup, &client);
    for (int y = 0; y < client.bottom; y += 2)
        for (int x = 0; x < client.right; x += 2) {
            MCHITTESTINFO hit{};
            hit.cbSize = MCHITTESTINFO_V1_SIZE;
            hit.pt = POINT{x, y};
            SendMessageW(gPopup, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.uHit == kHitCalendarDate && hit.st.wDay == 15) {
                *at = hit.pt;
                return true;
            }
        }
    return false;
}

// Runs inside the calendar's loop, which dispatches the thread's timer messages.
void CALLBACK gesture(HWND, UINT, UINT_PTR timer, DWORD)
{
    ++gTicks;
    if (!gPopup || !IsWindowVisible(gPopup)) {
        if (gTicks > 200)  // never opened: end the loop rather than hang
            PostMessageW(gPicker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        return;
    }
    KillTimer(nullptr, timer);
    POINT at{};
    switch (gGesture) {
    case Gesture::ClickDay15:
        gFoundDay = findDay15(&at);
        if (!gFoundDay) {
            PostMessageW(gPicker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
            return;
        }
        PostMessageW(gPopup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        PostMessageW(gPopup, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        break;
    case Gesture::ClickPicker: PostMessageW(gPicker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)); break;
    case Gesture::Quit: PostQuitMessage(7); break;
    }
}

class CalendarDropDownTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
        InitCommonControlsEx(&icc);
        WNDCLASSW wc{};
        wc.lpfnWndProc = parentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CalendarDropDownParent";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassW(&wc);
        parent_ = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 30, 30, 300, 60, nullptr, nullptr,
                                  wc.hInstance, nullptr);
        SetWindowPos(parent_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        gPicker = CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 160, 24, parent_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPickerId)), wc.hInstance, nullptr);
        ASSERT_NE(gPicker, nullptr);
        SYSTEMTIME date{};
        date.wYear = 2026;
        date.wMonth = 12;
        date.wDay = 11;
        ASSERT_TRUE(SendMessageW(gPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date)));
        gNotices.clear();
        gFoundDay = false;
        gTicks = 0;
    }
    void TearDown() override { DestroyWindow(parent_); }

    int32_t dropDown(Gesture gesture)
    {
        gGesture = gesture;
        SetTimer(nullptr, 0, 50, &::gesture);
        return dropDownCalendar(gPicker, GetModuleHandleW(nullptr), &gPopup);
    }
    static SYSTEMTIME pickerDate()
    {
        SYSTEMTIME date{};
        SendMessageW(gPicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
        return date;
    }

    HWND parent_ = nullptr;
};

TEST_F(CalendarDropDownTest, ChoosingADaySetsTheDateAfterDropDownAndCloseUp)
{
    EXPECT_EQ(dropDown(Gesture::ClickDay15), kPickerDateChosen);
    ASSERT_TRUE(gFoundDay) << "the calendar showed no day 15";
    EXPECT_EQ(gNotices, (std::vector<UINT>{DTN_DROPDOWN, DTN_CLOSEUP}));
    SYSTEMTIME date = pickerDate();
    EXPECT_EQ(date.wYear, 2026);
    EXPECT_EQ(date.wMonth, 12);
    EXPECT_EQ(date.wDay, 15);
    EXPECT_EQ(gPopup, nullptr);
    EXPECT_EQ(FindWindowW(MONTHCAL_CLASSW, kCalendarPopupTitle), nullptr) << "the popup is gone";
}

TEST_F(CalendarDropDownTest, AClickElsewhereClosesItWithTheDateUnchanged)
{
    EXPECT_EQ(dropDown(Gesture::ClickPicker), kPickerClosed);
    EXPECT_EQ(gNotices, (std::vector<UINT>{DTN_DROPDOWN}));
    EXPECT_EQ(pickerDate().wDay, 11);
    EXPECT_EQ(FindWindowW(MONTHCAL_CLASSW, kCalendarPopupTitle), nullptr);
    // The click that closed it was not handed on.
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, gPicker, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE));
}

TEST_F(CalendarDropDownTest, AQuitRequestEndsTheLoopAndStaysQueued)
{
    EXPECT_EQ(dropDown(Gesture::Quit), kPickerQuitting);
    EXPECT_EQ(pickerDate().wDay, 11);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
