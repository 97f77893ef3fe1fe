// Toolbar tooltips under Wine, on a real toolbar: the pointer over a button shows, after the
// show delay, the tooltip part of that button's command string; moving within the button keeps
// the shown tooltip, moving to another button re-arms it with the new text, a separator or a
// toolbar without a tooltip text shows none; what the toolbar's owner answers for a command comes
// before the command string.
#include "toolbar_tooltips.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include "wine_waits.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "skin_interface.h"

namespace {

using Clock = std::chrono::steady_clock;

bool tooltipShown() { return IsWindowVisible(SkinTooltip::instance().window()) != FALSE; }

class ToolbarTooltipsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        ASSERT_NE(skinStartup(GetModuleHandleW(nullptr)), 0);
        std::string narrow = std::string(WORDMERE_DEFAULT_SKIN) + "/skin.gvf";
        ASSERT_NE(skinOpenFile(std::wstring(narrow.begin(), narrow.end()).c_str()), 0);
        definition_ = static_cast<SkinObject *>(skinFindObject(L"Tooltip"));
        ASSERT_NE(definition_, nullptr);
        static_cast<TooltipDefinition *>(definition_)->showDelay = 300;
        static_cast<TooltipDefinition *>(definition_)->hideDelay = 60000;
        ASSERT_TRUE(SkinTooltip::registerClass(GetModuleHandleW(nullptr)));
        parent_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 100, 100, 300, 40, nullptr, nullptr,
                                  nullptr, nullptr);
        SetWindowPos(parent_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        ASSERT_TRUE(SkinTooltip::instance().create(parent_));
        toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE,
                                   0, 0, 300, 30, parent_, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(toolbar_, nullptr);
        SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        TBBUTTON buttons[3] = {};
        buttons[0] = TBBUTTON{I_IMAGENONE, 40001, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
        buttons[1] = TBBUTTON{0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0};
        buttons[2] = TBBUTTON{I_IMAGENONE, 40002, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
        SendMessageW(toolbar_, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));
        SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(40, 24));
    }
    void TearDown() override
    {
        SkinTooltip::instance().setTextProvider(nullptr);
        SkinTooltip::instance().setSkin(nullptr);
        SkinTooltip::instance().destroy();
        DestroyWindow(parent_);
        skinReleaseObject(definition_);
        while (skinIsStarted())
            skinShutdown();
    }
    // The client centre of a button, with the cursor put on it.
    POINT pointAt(int index, int dx = 0)
    {
        RECT r{};
        SendMessageW(toolbar_, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        POINT client{(r.left + r.right) / 2 + dx, (r.top + r.bottom) / 2};
        POINT screen = client;
        ClientToScreen(toolbar_, &screen);
        SetCursorPos(screen.x, screen.y);
        return client;
    }

    SkinObject *definition_ = nullptr;
    HWND parent_ = nullptr;
    HWND toolbar_ = nullptr;
};

TEST_F(ToolbarTooltipsTest, TheButtonUnderThePointerGivesTheTooltipItsCommandsText)
{
    ToolbarTooltips tips(toolbar_);
    tips.setTooltipText(L"toolbar");
    SkinTooltip &tooltip = SkinTooltip::instance();

    tips.onMouseMove(pointAt(0), definition_);
    EXPECT_EQ(tips.subjectButton(), 0);
    EXPECT_EQ(tooltip.state(), kTooltipPending);
    ASSERT_TRUE(pumpUntil(tooltipShown, 10000));
    EXPECT_EQ(tooltip.text(), u"Open");

    // Within the same button: the shown tooltip stays.
    tips.onMouseMove(pointAt(0, 3), definition_);
    EXPECT_EQ(tooltip.state(), kTooltipShown);
    EXPECT_TRUE(tooltipShown());

    // Another button: hidden at once, then its own text after the delay.
    tips.onMouseMove(pointAt(2), definition_);
    EXPECT_EQ(tips.subjectButton(), 2);
    EXPECT_FALSE(tooltipShown());
    ASSERT_TRUE(pumpUntil(tooltipShown, 10000));
    EXPECT_EQ(tooltip.text(), u"<b>Save</b>");

    // The separator is no button: hidden, and the next button is new again.
    tips.onMouseMove(pointAt(1), definition_);
    EXPECT_EQ(tips.subjectButton(), -1);
    EXPECT_FALSE(tooltipShown());
    tips.onMouseMove(pointAt(2), definition_);
    EXPECT_EQ(tooltip.state(), kTooltipPending);
}

TEST_F(ToolbarTooltipsTest, AToolbarWithoutATooltipTextShowsNone)
{
    ToolbarTooltips tips(toolbar_);
    tips.onMouseMove(pointAt(0), definition_);
    EXPECT_EQ(tips.subjectButton(), -1);
    EXPECT_EQ(SkinTooltip::instance().state(), kTooltipHidden);
    EXPECT_FALSE(pumpUntil(tooltipShown, 900 / timeScale() + 1));
}

// The toolbar's owner answers the control's own tooltip requests in the interface's language.
LRESULT CALLBACK frenchOwner(HWND w, UINT message, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR)
{
    auto *info = reinterpret_cast<NMTTDISPINFOW *>(lp);
    if (message == WM_NOTIFY && info->hdr.code == TTN_GETDISPINFOW && info->hdr.idFrom == 40002) {
        lstrcpynW(info->szText, L"Enregistrer", 80);
        info->lpszText = info->szText;
        return 0;
    }
    return DefSubclassProc(w, message, wp, lp);
}

TEST_F(ToolbarTooltipsTest, TheOwnersAnswerForTheCommandComesFirst)
{
    ASSERT_TRUE(SetWindowSubclass(parent_, &frenchOwner, 1, 0));
    ToolbarTooltips tips(toolbar_);
    tips.setTooltipText(L"toolbar");
    SkinTooltip &tooltip = SkinTooltip::instance();
    tips.onMouseMove(pointAt(2), definition_);
    ASSERT_TRUE(pumpUntil(tooltipShown, 10000));
    EXPECT_EQ(tooltip.text(), u"Enregistrer");
    // A command the owner gives nothing for: the command string's tooltip part.
    tips.onMouseMove(pointAt(0), definition_);
    ASSERT_TRUE(pumpUntil(tooltipShown, 10000));
    EXPECT_EQ(tooltip.text(), u"Open");
    RemoveWindowSubclass(parent_, &frenchOwner, 1);
}

}  // namespace
