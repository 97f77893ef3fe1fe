// The skinned tooltip under Wine, framed by the default skin's Tooltip object: the show and
// hide delays, the placement beside the pointer and its fall-back near the screen's corner, the
// client area as the rich-text drawer paints the text, empty texts and a text provider.
#include "skin_tooltip.h"

#include <gtest/gtest.h>

#include "wine_waits.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "rich_text_drawer.h"
#include "skin_draw.h"
#include "skin_interface.h"

namespace {

using Clock = std::chrono::steady_clock;

class SkinTooltipTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_NE(skinStartup(GetModuleHandleW(nullptr)), 0);
        std::string narrow = std::string(WORDMERE_DEFAULT_SKIN) + "/skin.gvf";
        std::wstring path(narrow.begin(), narrow.end());
        ASSERT_NE(skinOpenFile(path.c_str()), 0) << narrow;
        ASSERT_TRUE(SkinTooltip::registerClass(GetModuleHandleW(nullptr)));
        owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(SkinTooltip::instance().create(owner_));
    }
    static void TearDownTestSuite()
    {
        SkinTooltip::instance().setSkin(nullptr);
        SkinTooltip::instance().destroy();
        SkinTooltip::unregisterClass(GetModuleHandleW(nullptr));
        DestroyWindow(owner_);
        skinShutdown();
    }
    void SetUp() override
    {
        definition_ = static_cast<SkinObject *>(skinFindObject(L"Tooltip"));
        ASSERT_NE(definition_, nullptr) << "the default skin has no Tooltip object";
        auto *look = static_cast<TooltipDefinition *>(definition_);
        look->showDelay = 300;
        look->hideDelay = 2000 * timeScale();
        tooltip().setSkin(definition_);
        tooltip().setTextProvider(nullptr);
        tooltip().hide();
    }
    void TearDown() override
    {
        tooltip().hide();
        skinReleaseObject(definition_);
    }

    static SkinTooltip &tooltip() { return SkinTooltip::instance(); }
    static bool shown() { return IsWindowVisible(tooltip().window()) != FALSE; }
    static RECT windowRect()
    {
        RECT r{};
        GetWindowRect(tooltip().window(), &r);
        return r;
    }
    // The size the tooltip must take for a text: measured by a drawer of our own, plus the frame.
    static SIZE expectedSize(const wchar_t *text)
    {
        RichTextDrawer drawer;
        HDC dc = GetDC(tooltip().window());
        SIZE size = drawer.measure(dc, text);
        ReleaseDC(tooltip().window(), dc);
        const auto &look = tooltip().definition();
        size.cx += look.pieces[kPieceLeft].width() + look.pieces[kPieceRight].width();
        size.cy += look.pieces[kPieceTopLeft].height() + look.pieces[kPieceBottomLeft].height();
        return size;
    }

    static HWND owner_;
    SkinObject *definition_ = nullptr;
};

HWND SkinTooltipTest::owner_ = nullptr;

TEST_F(SkinTooltipTest, ShowsAfterTheShowDelayBesideThePointerAndHidesAfterTheHideDelay)
{
    const wchar_t *text = L"<b>Open</b> a dictionary";
    POINT at{300, 300};
    auto start = Clock::now();
    ASSERT_TRUE(tooltip().showText(text, &at));
    EXPECT_FALSE(shown());
    ASSERT_TRUE(pumpUntil(shown, 10000));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(300));
    // Placement code 0: 2 pixels right of the pointer and 22 below it. The anchor is the
    // cursor position when the delay ends, so the test does not move the pointer.
    POINT cursor;
    GetCursorPos(&cursor);
    SIZE size = expectedSize(text);
    RECT r = windowRect();
    EXPECT_EQ(r.left, cursor.x + 2);
    EXPECT_EQ(r.top, cursor.y + 22);
    EXPECT_EQ(r.right - r.left, size.cx);
    EXPECT_EQ(r.bottom - r.top, size.cy);

    // The client area on screen holds what the rich-text drawer paints over the background.
    RECT client;
    GetClientRect(tooltip().window(), &client);
    ASSERT_TRUE(pumpUntil([] { return GetUpdateRect(tooltip().window(), nullptr, FALSE) == FALSE; }, 5000));
    HDC windowDc = GetDC(tooltip().window());
    MemoryDC expected(windowDc, client.right, client.bottom);
    const TooltipDefinition &look = tooltip().definition();
    skinDrawPicture(look.owner(), expected.dc(), client, look.pictures[kPieceCentre], look.backgroundFill, kSkinFill,
                    false);
    RichTextDrawer drawer;
    drawer.draw(expected.dc(), text, client);
    int differing = 0, dark = 0;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) {
            COLORREF seen = GetPixel(windowDc, x, y);
            differing += seen != GetPixel(expected.dc(), x, y);
            dark += GetRValue(seen) + GetGValue(seen) + GetBValue(seen) < 200;
        }
    ReleaseDC(tooltip().window(), windowDc);
    EXPECT_EQ(differing, 0);
    EXPECT_GT(dark, 20) << "no text drawn";

    auto shownAt = Clock::now();
    ASSERT_TRUE(pumpUntil([] { return !shown(); }, 20000));
    EXPECT_GE(Clock::now() - shownAt, std::chrono::milliseconds(look.hideDelay - 100));
    EXPECT_EQ(tooltip().state(), kTooltipHidden);
}

TEST_F(SkinTooltipTest, NearTheBottomRightCornerTakesTheFirstPlacementThatFits)
{
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_TRUE(SetCursorPos(screenW - 4, screenH - 3));
    POINT cursor;
    GetCursorPos(&cursor);
    const wchar_t *text = L"A tooltip near the corner";
    ASSERT_TRUE(tooltip().showText(text));
    ASSERT_TRUE(pumpUntil(shown, 10000));
    SIZE size = expectedSize(text);
    SkinRect screen = makeSkinRect(0, 0, screenW, screenH);
    int code = 0;
    while (code < kTooltipPlacementCount && !tooltipFits(tooltipRectAt(code, cursor.x, cursor.y, size.cx, size.cy), screen))
        ++code;
    ASSERT_LT(code, kTooltipPlacementCount);
    EXPECT_GE(code, 4) << "placements to the right or below cannot fit in the corner";
    EXPECT_EQ(toSkinRect(windowRect()), tooltipRectAt(code, cursor.x, cursor.y, size.cx, size.cy));
    EXPECT_TRUE(tooltipFits(toSkinRect(windowRect()), screen));
    SetCursorPos(300, 300);
}

TEST_F(SkinTooltipTest, AnEmptyTextHidesTheTooltipAndShowsNothing)
{
    POINT at{200, 200};
    ASSERT_TRUE(tooltip().showText(L"Shown first", &at));
    ASSERT_TRUE(pumpUntil(shown, 10000));
    EXPECT_FALSE(tooltip().showText(L"", &at));
    EXPECT_FALSE(shown());
    pumpFor(900);
    EXPECT_FALSE(shown());
    EXPECT_EQ(tooltip().state(), kTooltipHidden);
}

class CountingProvider : public TooltipTextProvider {
public:
    std::wstring tooltipTextAt(int, int) override
    {
        ++asked;
        return answer;
    }
    int asked = 0;
    std::wstring answer;
};

TEST_F(SkinTooltipTest, AProviderWithNoTextIsAskedAgainAfterEachDelay)
{
    CountingProvider provider;
    tooltip().setTextProvider(&provider);
    ASSERT_TRUE(tooltip().showText(L"TB"));
    ASSERT_TRUE(pumpUntil([&] { return provider.asked >= 3; }, 15000));
    EXPECT_FALSE(shown());
    EXPECT_EQ(tooltip().state(), kTooltipPending);
    provider.answer = L"Copy the <i>selection</i>";
    ASSERT_TRUE(pumpUntil(shown, 10000));
    EXPECT_EQ(tooltip().text(), u"Copy the <i>selection</i>");
    tooltip().setTextProvider(nullptr);
}

TEST_F(SkinTooltipTest, WithoutATooltipObjectTheBuiltInLookIsUsed)
{
    EXPECT_EQ(tooltip().setSkin(nullptr), definition_);
    EXPECT_EQ(tooltip().definition().showDelay, 1000);
    EXPECT_EQ(tooltip().definition().backgroundFill, GetSysColor(COLOR_INFOBK));
    POINT at{250, 250};
    ASSERT_TRUE(tooltip().showText(L"Built in", &at));
    ASSERT_TRUE(pumpUntil(shown, 10000));
    tooltip().hide();
    EXPECT_FALSE(shown());
}

}  // namespace
