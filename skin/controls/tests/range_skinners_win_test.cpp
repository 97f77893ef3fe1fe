// Under Wine: the range controls of the harness dialog skinned with the default skin. The
// progress bar answers its messages from the values it took over and gives them back when the
// skin goes; the trackbar and the up-down control keep their own values and keys and are drawn
// from the skin's pictures; the scroll-bar control runs presses, repeats and thumb drags itself.
// Colours are probed on the screen at places computed from the control's geometry and compared
// with the skin picture's own pixels, read from the BMP file.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "control_factory.h"
#include "harness_dialog.h"
#include "harness_fixture.h"
#include "range_skinners.h"
#include "skin_codes.h"
#include "skin_interface.h"
#include "skin_manager.h"
#include "skin_test_support.h"
#include "win_test_support.h"
#include "wine_waits.h"

namespace {

class RangeControls : public HarnessDialogTest {
protected:
    template <class Skinner>
    Skinner *skinnerOf(int id) const
    {
        return dynamic_cast<Skinner *>(SkinManager::instance().findSkinner(item(id)));
    }
    LRESULT send(int id, UINT message, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(item(id), message, wp, lp); }
    // The colour on the screen at a client point of the control, after it painted.
    COLORREF shown(int id, int x, int y) const
    {
        UpdateWindow(item(id));
        HDC dc = GetDC(item(id));
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(item(id), dc);
        return c;
    }
    static Bytes picture(const char *name)
    {
        Bytes bytes = readFileBytes(defaultSkinPath((std::string("pictures/") + name + ".bmp").c_str()));
        EXPECT_GT(bytes.size(), 54u) << "the default skin's picture " << name << " is missing";
        return bytes;
    }
};

// The default skin's progress picture: the trough at 0..19, the bar at 20..39, 16 rows; their
// centres are plain colours (the nine-grids' margins are 2).
constexpr int kTroughX = 10, kBarX = 30, kProgressRow = 8;

TEST_F(RangeControls, ProgressBarAnswersFromTheValuesItTookOverAndGivesThemBack)
{
    ASSERT_EQ(SkinManager::instance().findSkinner(item(kHarnessProgress))->typeCode(), kSkinProgressBar);
    auto *skinner = skinnerOf<ProgressSkinner>(kHarnessProgress);
    ASSERT_NE(skinner, nullptr);
    ASSERT_TRUE(pumpUntil([&] { return skinner->active(); }, 2000)) << "the values were never taken over";
    // The harness set 60 of 0..100; the control's own step is 10.
    EXPECT_EQ(send(kHarnessProgress, PBM_GETPOS), 60);
    EXPECT_EQ(skinner->model().step(), 10);

    EXPECT_EQ(send(kHarnessProgress, PBM_SETRANGE32, 0, 200), MAKELONG(0, 100)) << "the old range, packed";
    EXPECT_EQ(send(kHarnessProgress, PBM_SETPOS, 300), 60) << "the old position";
    EXPECT_EQ(send(kHarnessProgress, PBM_GETPOS), 200) << "clamped to the maximum";
    EXPECT_EQ(send(kHarnessProgress, PBM_DELTAPOS, static_cast<WPARAM>(-500)), 200);
    EXPECT_EQ(send(kHarnessProgress, PBM_GETPOS), -300) << "no lower limit";
    PBRANGE range{-1, -1};
    EXPECT_EQ(send(kHarnessProgress, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), 0);
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 200);
    EXPECT_EQ(send(kHarnessProgress, PBM_GETRANGE, FALSE), 200);
    EXPECT_EQ(send(kHarnessProgress, PBM_SETBARCOLOR, 0, RGB(255, 0, 0)), static_cast<LRESULT>(CLR_DEFAULT));
    EXPECT_EQ(send(kHarnessProgress, PBM_SETBKCOLOR, 0, RGB(255, 0, 0)), static_cast<LRESULT>(CLR_DEFAULT));
    EXPECT_EQ(send(kHarnessProgress, PBM_SETSTEP, 7), 10);
    EXPECT_EQ(send(kHarnessProgress, PBM_STEPIT), -300);
    EXPECT_EQ(send(kHarnessProgress, PBM_GETPOS), -293);

    // A position below the minimum fills nothing: the trough shows where the bar would start.
    const Bytes progress = picture("progress");
    const COLORREF trough = filePixel(progress, kTroughX, kProgressRow), bar = filePixel(progress, kBarX, kProgressRow);
    ASSERT_NE(trough, bar);
    EXPECT_EQ(shown(kHarnessProgress, 8, kProgressRow), trough) << "a negative position drew a fill";
    // Half of 0..200 fills the left half of the 120-pixel bar.
    send(kHarnessProgress, PBM_SETPOS, 100);
    EXPECT_EQ(shown(kHarnessProgress, 30, kProgressRow), bar);
    EXPECT_EQ(shown(kHarnessProgress, 90, kProgressRow), trough);
    // A minimum above the maximum keeps the fill within the bar as well.
    send(kHarnessProgress, PBM_SETRANGE32, 150, 50);
    EXPECT_EQ(shown(kHarnessProgress, 8, kProgressRow), trough);
    send(kHarnessProgress, PBM_SETRANGE32, 10, 90);
    send(kHarnessProgress, PBM_SETPOS, 70);
    send(kHarnessProgress, PBM_SETSTEP, 4);
    saveShot(dialog_, "range-progress.bmp");

    // The skin goes: the control has the range, position and step it had while skinned.
    skinShutdown();
    ASSERT_EQ(SkinManager::instance().findSkinner(item(kHarnessProgress)), nullptr);
    EXPECT_EQ(send(kHarnessProgress, PBM_GETRANGE, TRUE), 10);
    EXPECT_EQ(send(kHarnessProgress, PBM_GETRANGE, FALSE), 90);
    EXPECT_EQ(send(kHarnessProgress, PBM_GETPOS), 70);
    EXPECT_EQ(send(kHarnessProgress, PBM_SETSTEP, 1), 4);
}

TEST_F(RangeControls, VerticalProgressBarFillsFromTheBottom)
{
    auto *skinner = skinnerOf<ProgressSkinner>(kHarnessVerticalProgress);
    ASSERT_NE(skinner, nullptr);
    ASSERT_TRUE(pumpUntil([&] { return skinner->active(); }, 2000));
    send(kHarnessVerticalProgress, PBM_SETRANGE32, 0, 100);
    send(kHarnessVerticalProgress, PBM_SETPOS, 50);
    const Bytes progress = picture("progress");
    // The horizontal drawing turned: the middle row of the picture runs down the middle column.
    EXPECT_EQ(shown(kHarnessVerticalProgress, 8, 75), filePixel(progress, kBarX, kProgressRow)) << "lower half";
    EXPECT_EQ(shown(kHarnessVerticalProgress, 8, 25), filePixel(progress, kTroughX, kProgressRow)) << "upper half";
}

RECT thumbRect(HWND trackbar)
{
    RECT r{};
    SendMessageW(trackbar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

TEST_F(RangeControls, TrackbarDrawsItsThumbWhereItsKeysMoveIt)
{
    HWND trackbar = item(kHarnessTrackbar);
    ASSERT_NE(skinnerOf<TrackbarSkinner>(kHarnessTrackbar), nullptr);
    EXPECT_NE(GetWindowLongW(trackbar, GWL_STYLE) & TBS_BOTH, 0) << "the channel is centred while skinned";
    const Bytes slider = picture("slider");
    // The thumb picture (20..30 x 0..19) is one colour inside its outline; the channel's centre
    // (0..19 x 0..5) is another.
    const COLORREF thumbColour = filePixel(slider, 25, 10), channelColour = filePixel(slider, 10, 3);
    ASSERT_NE(thumbColour, channelColour);
    auto centre = [](const RECT &r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; };

    EXPECT_EQ(send(kHarnessTrackbar, TBM_GETPOS), 0);
    const RECT start = thumbRect(trackbar);
    EXPECT_EQ(shown(kHarnessTrackbar, centre(start).x, centre(start).y), thumbColour);

    SetFocus(trackbar);
    send(kHarnessTrackbar, WM_KEYDOWN, VK_RIGHT);
    send(kHarnessTrackbar, WM_KEYUP, VK_RIGHT, 0xC0000000);
    EXPECT_EQ(send(kHarnessTrackbar, TBM_GETPOS), 1);
    send(kHarnessTrackbar, WM_KEYDOWN, VK_END);
    send(kHarnessTrackbar, WM_KEYUP, VK_END, 0xC0000000);
    pump();
    EXPECT_EQ(send(kHarnessTrackbar, TBM_GETPOS), send(kHarnessTrackbar, TBM_GETRANGEMAX));
    const RECT end = thumbRect(trackbar);
    ASSERT_GT(end.left, start.right) << "the thumb moved to the far end";
    EXPECT_EQ(shown(kHarnessTrackbar, centre(end).x, centre(end).y), thumbColour);
    // Where the thumb was, the channel shows again.
    RECT channel{};
    send(kHarnessTrackbar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const int formerX = std::max<int>(centre(start).x, channel.left + 3);  // clear of the channel's outline
    EXPECT_EQ(shown(kHarnessTrackbar, formerX, (channel.top + channel.bottom) / 2), channelColour);
    saveShot(dialog_, "range-trackbar.bmp");

    skinShutdown();
    EXPECT_EQ(GetWindowLongW(trackbar, GWL_STYLE) & TBS_BOTH, 0) << "the own style is back";
}

TEST_F(RangeControls, UpDownHalvesFollowThePointerAndTheControlKeepsItsValue)
{
    auto *skinner = skinnerOf<UpDownSkinner>(kHarnessUpDown);
    ASSERT_NE(skinner, nullptr);
    send(kHarnessUpDown, UDM_SETRANGE32, 0, 10);
    send(kHarnessUpDown, UDM_SETPOS32, 0, 5);
    const Bytes spin = picture("spin");
    // Rows of the spin picture: normal 0, hot 16, pressed 32; (1, row + 1) lies in a button's fill.
    auto look = [&](int row) { return filePixel(spin, 1, row + 1); };
    const COLORREF normal = look(0), hot = look(16), pressed = look(32);
    ASSERT_NE(normal, hot);
    ASSERT_NE(hot, pressed);
    // The 18 x 24 control: the upper button is 0..11, the lower 12..23.
    const int upperY = 2, lowerY = 14, x = 2;
    EXPECT_EQ(shown(kHarnessUpDown, x, upperY), normal);
    EXPECT_EQ(shown(kHarnessUpDown, x, lowerY), normal);

    send(kHarnessUpDown, WM_MOUSEMOVE, 0, MAKELPARAM(9, 6));
    EXPECT_EQ(skinner->buttonState(), kUpDownFirstHot);
    EXPECT_EQ(shown(kHarnessUpDown, x, upperY), hot);
    EXPECT_EQ(shown(kHarnessUpDown, x, lowerY), normal);

    send(kHarnessUpDown, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 18));
    EXPECT_EQ(skinner->buttonState(), kUpDownSecondPressed);
    EXPECT_EQ(shown(kHarnessUpDown, x, lowerY), pressed);
    EXPECT_EQ(shown(kHarnessUpDown, x, upperY), normal);
    send(kHarnessUpDown, WM_LBUTTONUP, 0, MAKELPARAM(9, 18));
    EXPECT_EQ(skinner->buttonState(), kUpDownSecondHot);
    EXPECT_EQ(shown(kHarnessUpDown, x, lowerY), hot);
    EXPECT_EQ(send(kHarnessUpDown, UDM_GETPOS32), 4) << "the lower button counts down";
    saveShot(dialog_, "range-updown.bmp");

    send(kHarnessUpDown, WM_MOUSELEAVE);
    EXPECT_EQ(skinner->buttonState(), kUpDownNormal);
    EXPECT_EQ(shown(kHarnessUpDown, x, lowerY), normal);

    // The arrow keys are the control's own.
    SetFocus(item(kHarnessUpDown));
    send(kHarnessUpDown, WM_KEYDOWN, VK_UP);
    send(kHarnessUpDown, WM_KEYUP, VK_UP, 0xC0000000);
    pump();
    EXPECT_EQ(send(kHarnessUpDown, UDM_GETPOS32), 5);
}

// The harness's scroll bar: 120 x 16, arrows of 16 (the skin's arrow pictures); with 0..100,
// page 10 and position 45 the space between the arrows is 88, the thumb MulDiv(10, 88, 101) =
// 9 below the minimum of 16 (the thumb picture's width) so 16, placed MulDiv(45, 72, 91) = 36
// into the free space: from 52 to 68.
constexpr int kThumbStart = 52, kThumbEnd = 68, kBarRow = 8;

TEST_F(RangeControls, ScrollBarControlDrawsItsCopyAndRepeatsWhileHeld)
{
    HWND bar = item(kHarnessScrollBar);
    auto *skinner = skinnerOf<ScrollBarControlSkinner>(kHarnessScrollBar);
    ASSERT_NE(skinner, nullptr);
    ASSERT_TRUE(pumpUntil([&] { return skinner->active(); }, 2000)) << "the values were never copied";
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 45};
    EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &info, TRUE), 45);
    SCROLLINFO read{};
    read.cbSize = sizeof read;
    read.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &read));
    EXPECT_EQ(read.nMax, 100);
    EXPECT_EQ(read.nPage, 10u);
    EXPECT_EQ(read.nPos, 45);

    const Bytes scroll = picture("scroll");
    // Normal group, row 0..15: the track at 32..47, the thumb at 48..63 (drawn 4 pixels inside).
    const COLORREF track = filePixel(scroll, 40, kBarRow), thumb = filePixel(scroll, 56, kBarRow);
    ASSERT_NE(track, thumb);
    EXPECT_EQ(shown(kHarnessScrollBar, (kThumbStart + kThumbEnd) / 2, kBarRow), thumb);
    EXPECT_EQ(shown(kHarnessScrollBar, kThumbStart - 8, kBarRow), track);
    EXPECT_EQ(shown(kHarnessScrollBar, kThumbEnd + 8, kBarRow), track);

    // Held on the first arrow: a line request at once, then one every 50 ms until released.
    log_.scrolls.clear();
    send(kHarnessScrollBar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, kBarRow));
    ASSERT_EQ(log_.scrolls.size(), 1u);
    EXPECT_EQ(log_.scrolls[0].first, SB_LINEUP);
    EXPECT_EQ(GetCapture(), bar);
    // The pressed arrow is drawn from the pressed group (rows 16..31).
    EXPECT_EQ(shown(kHarnessScrollBar, 1, kBarRow), filePixel(scroll, 1, 16 + kBarRow));
    pumpFor(500);
    const size_t held = log_.scrolls.size();
    EXPECT_GE(held, 3u) << "the press did not repeat";
    for (const auto &s : log_.scrolls) EXPECT_EQ(s.first, SB_LINEUP);
    send(kHarnessScrollBar, WM_LBUTTONUP, 0, MAKELPARAM(5, kBarRow));
    ASSERT_EQ(log_.scrolls.size(), held + 1);
    EXPECT_EQ(log_.scrolls.back().first, SB_ENDSCROLL);
    EXPECT_NE(GetCapture(), bar);
    pumpFor(300);
    EXPECT_EQ(log_.scrolls.size(), held + 1) << "requests went on after the release";
    EXPECT_EQ(SendMessageW(bar, SBM_GETPOS, 0, 0), std::max(0, 45 - static_cast<int>(held))) << "the owner moved the bar";

    // A drag of the thumb to the far end: the pointer 36 pixels further reaches the last position.
    SetScrollPos(bar, SB_CTL, 45, TRUE);
    log_.scrolls.clear();
    const int grab = (kThumbStart + kThumbEnd) / 2;
    send(kHarnessScrollBar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab, kBarRow));
    send(kHarnessScrollBar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab + 36, kBarRow));
    send(kHarnessScrollBar, WM_LBUTTONUP, 0, MAKELPARAM(grab + 36, kBarRow));
    ASSERT_EQ(log_.scrolls.size(), 4u);
    EXPECT_EQ(log_.scrolls[0], std::make_pair(static_cast<int>(SB_THUMBTRACK), 45));
    EXPECT_EQ(log_.scrolls[1], std::make_pair(static_cast<int>(SB_THUMBTRACK), 91));
    EXPECT_EQ(log_.scrolls[2], std::make_pair(static_cast<int>(SB_THUMBPOSITION), 91));
    EXPECT_EQ(log_.scrolls[3].first, SB_ENDSCROLL);
    EXPECT_EQ(SendMessageW(bar, SBM_GETPOS, 0, 0), 91);
    EXPECT_EQ(shown(kHarnessScrollBar, 120 - 16 - 8, kBarRow), thumb) << "the thumb at the far end";
    saveShot(dialog_, "range-scrollbar.bmp");
}

}  // namespace
