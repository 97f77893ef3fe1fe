// The result list's stem search over the stem finder's results, with a scripted
// conjugation engine.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "search/tests/lxstem_fixture.h"
#include "testrenderer.h"

using namespace lxstems;

namespace {

class StemListTest : public StemFinderTest {
protected:
    void SetUp() override
    {
        StemFinderTest::SetUp();
        r.reset(new TestRenderer(dm.get(), LXLRectangle(0, 0, 300, 200)));
        r->setLanguages(LXFrench, LXEnglish, 10, false);
        r->setCaption(2, u8("No entry for <SEARCHSTRING>"));
    }
    std::unique_ptr<TestRenderer> r;
};

TEST_F(StemListTest, OneHeadwordIsBrowsedFromItsFirstEntry)
{
    script.verbs["allons"] = {{"aller", 6}};
    r->setSearchType(LXListBox::StemSearch);
    r->find(u8("allons"), LXFrench);
    EXPECT_EQ(r->getSearchType(), LXListBox::Browse);
    ASSERT_GE(r->getResultCount(), 1u);
    // The stem led to "aller" the verb; browsing starts at the noun, its headword's first entry.
    const LXDMIterator &top = *r->getResultPositions().begin();
    EXPECT_EQ(label(*top), "aller [n]");
}

TEST_F(StemListTest, SeveralHeadwordsStayAStemSearch)
{
    script.verbs["porte"] = {{"porter", 6}};
    r->setSearchType(LXListBox::StemSearch);
    r->find(u8("porte"), LXFrench);
    EXPECT_EQ(r->getSearchType(), LXListBox::StemSearch);
    std::vector<std::string> shown;
    for (LXList<LXDMIterator>::const_iterator p = r->getResultPositions().begin(); !p.isAtEnd(); ++p)
        shown.push_back(label(**p));
    EXPECT_EQ(shown, (Labels{"porte [n]", "porter [v]"}));
    // Without stems the not-found line is shown as before.
    r->find(u8("inconnu"), LXFrench);
    EXPECT_EQ(r->getSearchType(), LXListBox::StemSearch);
    EXPECT_EQ(r->getResultCount(), 1u);
}

} // namespace
