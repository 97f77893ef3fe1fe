// The view's delete command end to end: a translation the user added is looked up, clicked
// in the result list and deleted through the frame's command (Shift+Del's command id); it is
// gone from the additions file in both directions and the search box is emptied.
#include "framework/fwwindow.h"
#include "lxframe.h"
#include "lxview.h"
#include "jlistbox.h"
#include "lxwinlistbox.h"
#include "resource.h"
#include "search/tests/lxadditions_fixture.h"
#include "test_app.h"
#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

using namespace lxadditions;

class ViewDeletesUserEntries : public AdditionsTest {
protected:
    void SetUp() override {
        AdditionsTest::SetUp();
        clearTestSettings();
        ASSERT_TRUE(dm->addTerm(u8("teapot"), u8("n"), 2, u8("théière"), u8("n"), 2, LXEnglish, LXFrench, 10, dir()));
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&icc);
        ASSERT_TRUE(frame_.createMainFrame());
        ASSERT_TRUE(view_.createView(frame_.hwnd(), dm.get()));
        frame_.setView(view_.hwnd());
        view_.initialUpdate();
        MoveWindow(frame_.hwnd(), 0, 0, 600, 500, TRUE);
        frame_.recalcLayout();
        view_.setSearchMode(SearchMode::Browse);
        view_.selectDictionary(LXEnglish, LXFrench, 10, false);
    }
    void TearDown() override {
        frame_.destroy();
        clearTestSettings();
        AdditionsTest::TearDown();
    }

    // Clicks the middle of the first run of the list's cells that spells the text, as the
    // mouse would; false when the list does not show it.
    bool clickOn(const std::string& shown) {
        JListBox* list = view_.mainList();
        if (!list || !list->model()) return false;
        const LXListBox& model = *list->model();
        lxstring t = u8(shown);
        std::vector<uint32_t> want;
        for (lxstring_iterator it = t.begin(); !it.isAtEnd(); ++it) want.push_back(*it);
        std::vector<LXLCharInfo> cells;
        for (LXListConstIterator<LXLCharInfo> c = model.getScreenBuffer().begin(); !c.isAtEnd(); ++c)
            cells.push_back(*c);
        const int32_t topY = model.getTopVisibleChar().isAtEnd() ? 0 : model.getTopVisibleChar()->y;
        for (size_t i = 0; i + want.size() <= cells.size(); ++i) {
            bool same = true;
            for (size_t k = 0; same && k < want.size(); ++k) same = cells[i + k].codePoint == want[k];
            if (!same) continue;
            const LXLCharInfo& c = cells[i];
            const int x = model.getRect().left + c.x + c.width / 2;
            const int y = model.getRect().top + c.y - topY + c.height / 2;
            SendMessageW(list->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
            SendMessageW(list->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
            return true;
        }
        return false;
    }

    LXFrame frame_;
    LXView view_;
};

TEST_F(ViewDeletesUserEntries, TheDeleteCommandRemovesTheClickedUserTranslation) {
    view_.setSearchTextAndSearch(L"teapot");
    ASSERT_TRUE(clickOn("théière")) << "the list does not show the user's translation";
    ASSERT_TRUE(view_.mainList()->isSelectedDefinitionModifiable());
    SetFocus(view_.mainList()->hwnd());
    SendMessageW(frame_.hwnd(), WM_COMMAND, ID_DELETE_ENTRY, 0);
    EXPECT_EQ(view_.searchText(), L"");
    EXPECT_EQ(lookUp(*dm, "teapot", LXEnglish, LXFrench), "");
    EXPECT_EQ(lookUp(*dm, "théière", LXFrench, LXEnglish), "");
    EXPECT_EQ(lookUp(*dm, "house", LXEnglish, LXFrench), "house [n]: maison/5");
}

TEST_F(ViewDeletesUserEntries, APublishedTranslationCannotBeDeleted) {
    const std::string before = fileBytes(folder + "english-french-additions.lxd");
    view_.setSearchTextAndSearch(L"house");
    ASSERT_TRUE(clickOn("maison")) << "the list does not show the published translation";
    // The command is disabled there (the view would only explain how to delete an added one).
    EXPECT_FALSE(view_.mainList()->isSelectedDefinitionModifiable());
    EXPECT_TRUE(fileBytes(folder + "english-french-additions.lxd") == before);
    EXPECT_EQ(lookUp(*dm, "teapot", LXEnglish, LXFrench), "teapot [n]: théière/100");
}

}  // namespace
