// Under Wine: the harness dialog's animation control skinned with the default skin plays the
// test program's three-frame "AVI" resource itself: start and stop notifications to the
// dialog, a play of repeat 1 that ends on its last frame without a stop notification (the
// frame's pixels probed on the screen against the formula the clip was written with), stops
// that answer while nothing plays, and no temporary clip file left behind, also for a clip the
// library cannot play.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "animate_skinner.h"
#include "control_factory.h"
#include "harness_dialog.h"
#include "harness_fixture.h"
#include "skin_codes.h"
#include "skin_interface.h"
#include "skin_manager.h"
#include "win_test_support.h"
#include "wine_waits.h"

namespace {

constexpr int kClipWidth = 5, kClipHeight = 3;
const wchar_t *const kGoodClip = MAKEINTRESOURCEW(1);
const wchar_t *const kBrokenClip = MAKEINTRESOURCEW(2);

COLORREF clipPixel(int frame, int x, int y) { return RGB(50 * x + 10, 80 * y + 20, 100 * frame + 30); }

class AnimateControl : public HarnessDialogTest {
protected:
    void SetUp() override
    {
        HarnessDialogTest::SetUp();
        if (HasFatalFailure()) return;
        animation_ = item(kHarnessAnimate);
        skinner_ = dynamic_cast<AnimateSkinner *>(SkinManager::instance().findSkinner(animation_));
        ASSERT_NE(skinner_, nullptr) << "no animation skinner (is the video library missing?)";
    }
    // The animation control's notifications to the dialog so far.
    std::vector<int> notifications() const
    {
        std::vector<int> codes;
        for (const auto &n : log_.notifications)
            if (n.first == kHarnessAnimate) codes.push_back(n.second);
        return codes;
    }
    LRESULT send(UINT message, WPARAM wp = 0, LPARAM lp = 0) { return SendMessageW(animation_, message, wp, lp); }
    bool waitForEnd() { return pumpUntil([&] { return !skinner_->playing(); }, 20000); }

    HWND animation_ = nullptr;
    AnimateSkinner *skinner_ = nullptr;
};

TEST_F(AnimateControl, ResourceClipPlaysOnceToItsLastFrameAndStopsWhenAsked)
{
    const std::set<std::wstring> before = temporaryClipFiles();
    ASSERT_EQ(send(ACM_OPENW, reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)), reinterpret_cast<LPARAM>(kGoodClip)), 1);
    RECT client;
    GetClientRect(animation_, &client);
    EXPECT_EQ(client.right, kClipWidth) << "the control takes the clip's size";
    EXPECT_EQ(client.bottom, kClipHeight);

    ASSERT_EQ(send(ACM_PLAY, 1, MAKELONG(0, 2)), 1);
    EXPECT_EQ(notifications(), std::vector<int>{ACN_START});
    ASSERT_TRUE(waitForEnd()) << "the play of repeat 1 never ended";
    EXPECT_EQ(skinner_->currentFrame(), 2);
    EXPECT_EQ(notifications(), std::vector<int>{ACN_START}) << "a play that ends by itself sends no stop";
    EXPECT_EQ(send(ACM_STOP), 1);
    EXPECT_EQ(notifications(), std::vector<int>{ACN_START}) << "nothing was playing";
    // The last frame stays on the screen, also after a repaint.
    InvalidateRect(animation_, nullptr, TRUE);
    UpdateWindow(animation_);
    HDC dc = GetDC(animation_);
    for (int y = 0; y < kClipHeight; ++y)
        for (int x = 0; x < kClipWidth; ++x)
            EXPECT_EQ(GetPixel(dc, x, y), clipPixel(2, x, y)) << x << "," << y;
    ReleaseDC(animation_, dc);
    saveShot(dialog_, "animate-last-frame.bmp");

    // A start before the clip (top bit set) is frame 0, an end beyond it the last frame.
    log_.notifications.clear();
    ASSERT_EQ(send(ACM_PLAY, 1, MAKELONG(0xFFFF, 50)), 1);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(skinner_->currentFrame(), 2);

    // Played forever and stopped: both notifications, in order.
    log_.notifications.clear();
    ASSERT_EQ(send(ACM_PLAY, static_cast<WPARAM>(-1), MAKELONG(0, 0xFFFF)), 1);
    pumpFor(400);
    EXPECT_TRUE(skinner_->playing());
    EXPECT_EQ(send(ACM_STOP), 1);
    EXPECT_FALSE(skinner_->playing());
    EXPECT_EQ(notifications(), (std::vector<int>{ACN_START, ACN_STOP}));

    // Closing the clip, and a clip the library cannot play, leave no file behind.
    EXPECT_EQ(send(ACM_OPENW, 0, 0), 1);
    EXPECT_EQ(send(ACM_OPENW, reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)), reinterpret_cast<LPARAM>(kBrokenClip)), 0);
    EXPECT_EQ(send(ACM_PLAY, 1, MAKELONG(0, 2)), 0) << "nothing to play";
    EXPECT_EQ(temporaryClipFiles(), before) << "a temporary clip file is left behind";
}

TEST_F(AnimateControl, DestroyedWhilePlayingStopsItsThreadFirst)
{
    ASSERT_EQ(send(ACM_OPENW, reinterpret_cast<WPARAM>(GetModuleHandleW(nullptr)), reinterpret_cast<LPARAM>(kGoodClip)), 1);
    ASSERT_EQ(send(ACM_PLAY, static_cast<WPARAM>(-1), MAKELONG(0, 0xFFFF)), 1);
    pumpFor(300);
    const std::set<std::wstring> files = temporaryClipFiles();
    DestroyWindow(dialog_);
    dialog_ = nullptr;
    pumpFor(300);
    EXPECT_EQ(SkinManager::instance().findSkinner(animation_), nullptr);
    EXPECT_LE(temporaryClipFiles().size(), files.size());
}

}  // namespace
