// The result list's delete command on the user's own entries: a translation the user added,
// clicked in the list, is deleted from the additions file in both directions; a published
// translation or no selection deletes nothing and leaves the file as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "search/tests/lxadditions_fixture.h"
#include "testrenderer.h"

using namespace lxadditions;

namespace {

class ListBoxDeletesUserEntries : public AdditionsTest {
protected:
    void SetUp() override
    {
        AdditionsTest::SetUp();
        ASSERT_TRUE(dm->addTerm(u8("teapot"), u8("n"), 2, u8("théière"), u8("n"), 2, LXEnglish, LXFrench, 10, dir()));
        additions = folder + "english-french-additions.lxd";
        list.reset(new TestRenderer(dm.get(), LXLRectangle(0, 0, 300, 200)));
        list->setLanguages(LXEnglish, LXFrench, 10, false);
        list->setSearchType(LXListBox::Browse);
    }

    // Clicks the text in the list shown for the word; false when it is not shown.
    bool click(const char *word, const char *shown)
    {
        list->find(u8(word), LXEnglish);
        int32_t x = 0, y = 0;
        if (!list->locate(shown, x, y))
            return false;
        list->onPenDown(x, y);
        list->onPenUp(x, y);
        return true;
    }

    std::string additions;
    std::unique_ptr<TestRenderer> list;
};

TEST_F(ListBoxDeletesUserEntries, TheClickedUserTranslationGoesInBothDirections)
{
    ASSERT_TRUE(click("teapot", "théière")) << list->text();
    EXPECT_TRUE(list->isSelectedDefinitionModifiable());
    ASSERT_TRUE(list->deleteSelectedDefinition());
    EXPECT_EQ(lookUp(*dm, "teapot", LXEnglish, LXFrench), "");
    EXPECT_EQ(lookUp(*dm, "théière", LXFrench, LXEnglish), "");
    // Gone from the file, not only from this manager's view of it.
    std::unique_ptr<LXDataManager> again = restart();
    EXPECT_EQ(lookUp(*again, "teapot", LXEnglish, LXFrench), "");
    EXPECT_EQ(lookUp(*again, "théière", LXFrench, LXEnglish), "");
    EXPECT_EQ(lookUp(*again, "house", LXEnglish, LXFrench), "house [n]: maison/5");
}

TEST_F(ListBoxDeletesUserEntries, APublishedTranslationOrNoSelectionDeletesNothing)
{
    const std::string before = fileBytes(additions);
    ASSERT_TRUE(click("house", "maison")) << list->text();
    EXPECT_FALSE(list->isSelectedDefinitionModifiable());
    EXPECT_FALSE(list->deleteSelectedDefinition());
    list->clearSelection();
    EXPECT_FALSE(list->isSelectedDefinitionModifiable());
    EXPECT_FALSE(list->deleteSelectedDefinition());
    EXPECT_TRUE(fileBytes(additions) == before);
    EXPECT_EQ(lookUp(*dm, "teapot", LXEnglish, LXFrench), "teapot [n]: théière/100");
}

} // namespace
