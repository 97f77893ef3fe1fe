// Under Wine: the date controls and the link window of the harness dialog, skinned with the
// default skin. The picker's drop button opens our own calendar (DTN_DROPDOWN, then DTN_CLOSEUP
// once a day is clicked with the real pointer, which sets the date; a real click elsewhere
// closes it unchanged), its button shows the pressed picture while the calendar is open, and
// pickers in the up-down style or the time format draw no button. The month calendar takes the
// skin's colours and shows the next-month picture pressed until the button is released. The
// link window (a stand-in of that class: Wine has none) shows its own text over the skin's
// background. The process's skinned tooltip window lives exactly as long as the engine and
// shows a control's tooltip text. Colours are read from the skin's own pictures.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar_drop_down.h"
#include "control_factory.h"
#include "date_link_skinners.h"
#include "harness_dialog.h"
#include "harness_fixture.h"
#include "skin_codes.h"
#include "skin_interface.h"
#include "skin_manager.h"
#include "skin_repository.h"
#include "skin_test_support.h"
#include "skin_tooltip.h"
#include "win_test_support.h"
#include "wine_waits.h"
#include "window_skinner.h"

namespace {

// Real pointer input at a screen point; the caller's loop (ours or the calendar's) takes it.
void pointerInput(POINT screen, DWORD extra)
{
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = screen.x * 65535 / (w - 1);
    input.mi.dy = screen.y * 65535 / (h - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | extra;
    SendInput(1, &input, sizeof input);
}

void realClick(POINT screen)
{
    pointerInput(screen, 0);
    pointerInput(screen, MOUSEEVENTF_LEFTDOWN);
    pointerInput(screen, MOUSEEVENTF_LEFTUP);
}

COLORREF windowPixel(HWND w, int x, int y)
{
    HDC dc = GetDC(w);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    return c;
}

SYSTEMTIME dateOf(int year, int month, int day)
{
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    return t;
}

// What the gesture inside the calendar's own loop saw and did.
struct DropDownRun {
    enum Gesture { kClickDay15, kClickElsewhere } gesture = kClickDay15;
    HWND picker = nullptr;
    POINT elsewhere{0, 0};
    POINT buttonProbe{0, 0};
    HWND calendar = nullptr;       // DTM_GETMONTHCAL while open
    HWND calendarByName = nullptr;  // the popup found by its class and title
    COLORREF buttonWhileOpen = CLR_INVALID;
    bool dayFound = false;
    bool clicked = false;
    int ticks = 0;
};
DropDownRun gRun;

// The screen point where the calendar shows day 15 of its month, through its own hit test.
bool day15On(HWND calendar, POINT *screen)
{
    RECT client;
    GetClientRect(calendar, &client);
    for (int y = 0; y < client.bottom; y += 2)
        for (int x = 0; x < client.right; x += 2) {
            MCHITTESTINFO hit{};
            hit.cbSize = MCHITTESTINFO_V1_SIZE;
            hit.pt = POINT{x, y};
            SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.uHit == kHitCalendarDate && hit.st.wDay == 15) {
                *screen = POINT{x + 2, y + 2};
                ClientToScreen(calendar, screen);
                return true;
            }
        }
    return false;
}

// Runs in the calendar's loop, which dispatches the thread's timer messages.
void CALLBACK gesture(HWND, UINT, UINT_PTR, DWORD)
{
    DropDownRun &r = gRun;
    ++r.ticks;
    HWND open = reinterpret_cast<HWND>(SendMessageW(r.picker, DTM_GETMONTHCAL, 0, 0));
    if (r.clicked || open == nullptr || !IsWindowVisible(open)) {
        // Never opened, or the click got lost: end the loop rather than hang.
        if (r.ticks > 100 * timeScale()) PostMessageW(r.picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        return;
    }
    r.calendar = open;
    r.calendarByName = FindWindowW(MONTHCAL_CLASSW, kCalendarPopupTitle);
    UpdateWindow(r.picker);
    r.buttonWhileOpen = windowPixel(r.picker, r.buttonProbe.x, r.buttonProbe.y);
    POINT at = r.elsewhere;
    if (r.gesture == DropDownRun::kClickDay15) {
        r.dayFound = day15On(open, &at);
        if (!r.dayFound) return;
    }
    r.clicked = true;
    realClick(at);
}

class DateLinkHarness : public HarnessDialogTest {
protected:
    void SetUp() override
    {
        HarnessDialogTest::SetUp();
        if (HasFatalFailure()) return;
        field_ = readFileBytes(defaultSkinPath("pictures/field.bmp"));
        calendarPicture_ = readFileBytes(defaultSkinPath("pictures/calendar.bmp"));
        ASSERT_GT(field_.size(), 54u) << "the default skin's field picture is missing";
        ASSERT_GT(calendarPicture_.size(), 54u) << "the default skin's calendar picture is missing";
    }
    template <class Skinner>
    Skinner *skinnerOf(HWND w) const
    {
        WindowSkinner *s = SkinManager::instance().findSkinner(w);
        return s != nullptr && GetPropW(w, kSkinObjectProperty) == s ? dynamic_cast<Skinner *>(s) : nullptr;
    }
    SYSTEMTIME pickerDate() const
    {
        SYSTEMTIME t{};
        SendMessageW(item(kHarnessDateTime), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
        return t;
    }
    // Drops the picker's calendar down with a real click on its button and runs the gesture.
    void dropDown(DropDownRun::Gesture which)
    {
        HWND picker = item(kHarnessDateTime);
        SYSTEMTIME start = dateOf(2026, 12, 11);
        ASSERT_TRUE(SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&start)));
        RECT client;
        GetClientRect(picker, &client);
        gRun = DropDownRun{};
        gRun.gesture = which;
        gRun.picker = picker;
        gRun.buttonProbe = buttonProbe(picker);
        RECT away;
        GetWindowRect(item(kHarnessStatic), &away);
        gRun.elsewhere = POINT{away.left + 4, away.top + 4};
        UINT_PTR timer = SetTimer(nullptr, 0, 100, &gesture);
        POINT button{client.right - kPickerDropButtonWidth / 2, client.bottom / 2};
        ClientToScreen(picker, &button);
        pointerInput(button, 0);
        pointerInput(button, MOUSEEVENTF_LEFTDOWN);
        pointerInput(button, MOUSEEVENTF_LEFTUP);
        // The press reaches the picker here; its calendar's loop runs until the gesture ends it.
        pumpUntil([] { return gRun.clicked && SendMessageW(gRun.picker, DTM_GETMONTHCAL, 0, 0) == 0; }, 20000);
        KillTimer(nullptr, timer);
        pumpFor(200);
    }
    // In the button's upper band, away from its arrow: the picture's fill at source row 3.
    static POINT buttonProbe(HWND picker)
    {
        RECT client;
        GetClientRect(picker, &client);
        return POINT{client.right - kPickerDropButtonWidth + 8, 3};
    }
    // The fill of a drop-button look of field.bmp (normal at x 20, pressed at 54), at the probe's place.
    COLORREF buttonColor(int sourceLeft) const { return filePixel(field_, sourceLeft + 8, 3); }

    Bytes field_, calendarPicture_;
};

TEST_F(DateLinkHarness, DateAndLinkControlsGetTheirSkinnersAndTheCalendarTheSkinsColours)
{
    pump();
    EXPECT_NE(skinnerOf<DateTimePickerSkinner>(item(kHarnessDateTime)), nullptr);
    EXPECT_NE(skinnerOf<MonthCalendarSkinner>(item(kHarnessMonthCalendar)), nullptr);
    ASSERT_NE(item(kHarnessLink), nullptr) << "the stand-in link window was not made";
    auto *link = skinnerOf<LinkWindowSkinner>(item(kHarnessLink));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->typeCode(), kSkinLinkWnd);
    EXPECT_EQ(link->definition() ? link->definition()->type() : 0, kSkinStatic) << "drawn from a Static definition";
    // The default skin's MonthCalendar colours, set through the calendar's own messages.
    HWND calendar = item(kHarnessMonthCalendar);
    const struct {
        int which;
        COLORREF color;
    } colors[] = {{MCSC_TITLEBK, RGB(0x2F, 0x5D, 0x8C)}, {MCSC_TITLETEXT, RGB(0xFF, 0xFF, 0xFF)},
                  {MCSC_TRAILINGTEXT, RGB(0x8A, 0x97, 0xA6)}, {MCSC_TEXT, RGB(0x1E, 0x2A, 0x36)},
                  {MCSC_MONTHBK, RGB(0xFF, 0xFF, 0xFF)}};
    for (const auto &c : colors) EXPECT_EQ(static_cast<COLORREF>(SendMessageW(calendar, MCM_GETCOLOR, c.which, 0)), c.color) << c.which;
    saveShot(dialog_, "dates-harness.bmp");
}

TEST_F(DateLinkHarness, ChoosingADayInOurCalendarSetsThePickersDate)
{
    const COLORREF normal = buttonColor(20), pressed = buttonColor(54);
    ASSERT_NE(normal, pressed);
    HWND picker = item(kHarnessDateTime);
    const POINT probe = buttonProbe(picker);
    UpdateWindow(picker);
    EXPECT_EQ(windowPixel(picker, probe.x, probe.y), normal) << "the drop button's normal picture";
    dropDown(DropDownRun::kClickDay15);
    ASSERT_NE(gRun.calendar, nullptr) << "the drop button opened no calendar";
    EXPECT_EQ(gRun.calendar, gRun.calendarByName) << "the calendar is our own popup, titled MonthCal32";
    ASSERT_TRUE(gRun.dayFound) << "the calendar showed no day 15";
    EXPECT_EQ(gRun.buttonWhileOpen, pressed) << "the pressed picture while the calendar is open";
    EXPECT_EQ(log_.pickerNotices, (std::vector<UINT>{DTN_DROPDOWN, DTN_CLOSEUP}));
    const SYSTEMTIME chosen = pickerDate();
    EXPECT_EQ(chosen.wYear, 2026);
    EXPECT_EQ(chosen.wMonth, 12);
    EXPECT_EQ(chosen.wDay, 15);
    EXPECT_FALSE(IsWindow(gRun.calendar)) << "the calendar is gone";
    UpdateWindow(picker);
    EXPECT_EQ(windowPixel(picker, probe.x, probe.y), normal);
    saveShot(dialog_, "dates-picker-chosen.bmp");
}

TEST_F(DateLinkHarness, AClickElsewhereClosesOurCalendarWithTheDateUnchanged)
{
    dropDown(DropDownRun::kClickElsewhere);
    ASSERT_NE(gRun.calendar, nullptr) << "the drop button opened no calendar";
    EXPECT_TRUE(gRun.clicked);
    EXPECT_EQ(log_.pickerNotices, (std::vector<UINT>{DTN_DROPDOWN}));
    EXPECT_EQ(pickerDate().wDay, 11);
    EXPECT_FALSE(IsWindow(gRun.calendar));
}

TEST_F(DateLinkHarness, UpDownAndTimePickersDrawNoDropButton)
{
    const COLORREF normal = buttonColor(20);
    const COLORREF fieldColor = filePixel(field_, 10, 10);  // the field picture's middle
    ASSERT_NE(normal, fieldColor);
    const struct {
        DWORD style;
        bool button;
    } cases[] = {{0, true}, {DTS_LONGDATEFORMAT, true}, {DTS_UPDOWN, false}, {DTS_TIMEFORMAT, false}};
    int id = 5000;
    for (const auto &c : cases) {
        HWND picker = CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", WS_CHILD | WS_VISIBLE | c.style, 500, 120, 120, 22,
                                      dialog_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(picker, nullptr);
        pump();
        auto *skinner = skinnerOf<DateTimePickerSkinner>(picker);
        ASSERT_NE(skinner, nullptr) << c.style;
        // The skinner's own drawing, without the control's child windows over it.
        RECT client;
        GetClientRect(picker, &client);
        HDC screen = GetDC(picker);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
        HGDIOBJ old = SelectObject(memory, bitmap);
        skinner->paint(memory);
        const POINT probe = buttonProbe(picker);
        EXPECT_EQ(GetPixel(memory, probe.x, probe.y), c.button ? normal : fieldColor) << "style " << c.style;
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(picker, screen);
        DestroyWindow(picker);
    }
}

TEST_F(DateLinkHarness, NextMonthButtonShowsItsPressedPictureUntilReleased)
{
    HWND calendar = item(kHarnessMonthCalendar);
    auto *skinner = skinnerOf<MonthCalendarSkinner>(calendar);
    ASSERT_NE(skinner, nullptr);
    const SkinRect next = skinner->titleButtons().next;
    ASSERT_FALSE(next.isEmpty()) << "no next-month button found through the calendar's hit test";
    ASSERT_FALSE(skinner->titleButtons().previous.isEmpty());
    // The next pictures start at x 48 (normal) and 64 (pressed) of calendar.bmp; the probe lies
    // in the left margin (three pixels, drawn one to one) at the picture's middle row.
    const int probeX = next.left + 2, probeY = (next.top + next.bottom) / 2;
    const COLORREF normal = filePixel(calendarPicture_, 48 + 2, 8), pressed = filePixel(calendarPicture_, 64 + 2, 8);
    ASSERT_NE(normal, pressed);
    UpdateWindow(calendar);
    EXPECT_EQ(windowPixel(calendar, probeX, probeY), normal);
    const LPARAM at = MAKELPARAM((next.left + next.right) / 2, probeY);
    SendMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_EQ(skinner->pressedButton(), 2);
    UpdateWindow(calendar);
    EXPECT_EQ(windowPixel(calendar, probeX, probeY), pressed) << "pressed while held";
    saveShot(dialog_, "dates-calendar-pressed.bmp");
    SendMessageW(calendar, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(skinner->pressedButton(), 0);
    UpdateWindow(calendar);
    EXPECT_EQ(windowPixel(calendar, probeX, probeY), normal) << "normal again once released";
}

TEST_F(DateLinkHarness, LinkShowsItsOwnTextOverTheSkinBackground)
{
    HWND link = item(kHarnessLink);
    ASSERT_NE(link, nullptr);
    RedrawWindow(link, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(link, &client);
    HDC dc = GetDC(link);
    // Text pixels: the link colour, or blends of it with the window colour at the glyphs' edges.
    int textPixels = 0, windowColour = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            if (GetBValue(c) > GetRValue(c) + 60) ++textPixels;
            if (c == GetSysColor(COLOR_WINDOW)) ++windowColour;
        }
    const COLORREF corner = GetPixel(dc, client.right - 2, client.bottom - 2);
    ReleaseDC(link, dc);
    // Beside the link, the dialog's own skinned background.
    RECT r;
    GetWindowRect(link, &r);
    POINT beside{r.left - 3, r.bottom - 2};
    ScreenToClient(dialog_, &beside);
    const COLORREF dialogBackground = windowPixel(dialog_, beside.x, beside.y);
    ASSERT_NE(dialogBackground, GetSysColor(COLOR_WINDOW)) << "the probe needs a skin background other than the window colour";
    EXPECT_GT(textPixels, 10) << "the control's own text is shown";
    EXPECT_EQ(windowColour, 0) << "none of the control's window colour is left";
    EXPECT_EQ(corner, dialogBackground) << "the skin's background shows through";
}

TEST_F(DateLinkHarness, TheTooltipWindowLivesWithTheEngineAndShowsAControlsText)
{
    SkinTooltip &tooltip = SkinTooltip::instance();
    HWND window = tooltip.window();
    ASSERT_NE(window, nullptr) << "no tooltip window after the engine started";
    wchar_t cls[64] = L"";
    GetClassNameW(window, cls, 64);
    EXPECT_EQ(std::wstring(cls), L"GlossvaneTooltip32");
    SkinRepository *skin = SkinManager::instance().currentSkin();
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(static_cast<const SkinObject *>(&tooltip.definition()), skin->findObjectByType(kSkinTooltip))
        << "the skin's Tooltip object frames it";

    // A control's tooltip text, shown after the pointer enters the control and the show delay ends.
    HWND button = item(kHarnessPush);
    WindowSkinner *skinner = SkinManager::instance().findSkinner(button);
    ASSERT_NE(skinner, nullptr);
    skinner->setTooltipText(L"A tip");
    RECT r;
    GetWindowRect(button, &r);
    pointerInput(POINT{r.left + 3, r.top + 3}, 0);
    EXPECT_TRUE(pumpUntil([&] { return tooltip.state() != kTooltipHidden; }, 4000)) << "the pointer's entry arms it";
    EXPECT_TRUE(pumpUntil([&] { return tooltip.state() == kTooltipShown && IsWindowVisible(window); }, 8000));
    EXPECT_EQ(tooltip.text(), u"A tip");
    saveShot(window, "dates-tooltip.bmp");
    tooltip.hide();

    DestroyWindow(dialog_);
    dialog_ = nullptr;
    while (skinIsStarted()) skinShutdown();
    EXPECT_FALSE(IsWindow(window)) << "the tooltip window goes with the engine";
    EXPECT_EQ(tooltip.window(), nullptr);
    EXPECT_EQ(tooltip.setSkin(nullptr), nullptr) << "the ended engine's Tooltip object is forgotten with its skin";
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), L"GlossvaneTooltip32", &info)) << "and its class";
    ASSERT_TRUE(startWithDefaultSkin());
    EXPECT_NE(tooltip.window(), nullptr) << "a new start makes it again";
}

}  // namespace
