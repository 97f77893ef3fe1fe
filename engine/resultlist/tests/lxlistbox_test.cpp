// The result-list model end to end on the English-French sample module built from
// FreeDict, through the test renderer (6-pixel characters, 10-pixel lines).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "format/lxcompressor.h"
#include "format/lxd.h"
#include "format/lxdwriter.h"
#include "model/lxstem.h"
#include "model/lxtokenizer.h"
#include "resultlist/lxmarkupexpander.h"
#include "search/lxdatamanager.h"
#include "search/lxdmanager.h"
#include "testing/lxtest_files.h"
#include "testing/lxtest_samples.h"
#include "testing/lxtest_terms.h"
#include "testing/lxtest_text.h"
#include "testrenderer.h"

namespace {

// One data manager with the English-French module for the whole suite.
class ListBoxOnModule : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::string path = lx_sampleFolder(LXSampleDictionary) + "/english-french.lxd";
        dm = LXDataManager::create();
        if (dm && dm->addDictionaryModule(u8(path)) != 0) {
            delete dm;
            dm = nullptr;
        }
    }
    static void TearDownTestSuite()
    {
        delete dm;
        dm = nullptr;
    }
    void SetUp() override
    {
        if (!dm) {
            std::string path;
            if (lx_findSample(LXSampleDictionary, "english-french.lxd", path))
                FAIL() << path << " is not a module the data manager takes";
            return;
        }
        r.reset(new TestRenderer(dm, LXLRectangle(0, 0, 300, 200)));
        r->setLanguages(LXEnglish, LXFrench, 10, false);
        r->setCaption(0, u8("Type a word"));
        r->setCaption(2, u8("No entry for <SEARCHSTRING>"));
        r->setCaption(3, u8("Did you mean <SEARCHSTRING>?"));
        r->setCaption(4, u8("Search finished"));
        r->setCaption(5, u8("Searching"));
        r->setCaption(6, u8("Only the first <NRESULTS> results"));
        r->setCaption(7, u8("Search cancelled"));
    }

    void browse(const char *word)
    {
        r->setSearchType(LXListBox::Browse);
        r->find(u8(word), LXEnglish);
    }

    uint32_t resultsInBuffer() const
    {
        uint32_t n = 0;
        for (const LXLCharInfo &c : r->cells())
            n += (c.flags & LXLCellFirst) ? 1 : 0;
        return n;
    }

    bool locate(const std::string &text, int32_t &x, int32_t &y, int which = 0)
    {
        return r->locate(text, x, y, which);
    }

    static LXDataManager *dm;
    std::unique_ptr<TestRenderer> r;
};

LXDataManager *ListBoxOnModule::dm = nullptr;

TEST_F(ListBoxOnModule, BrowseFillsAScreenFromTheWord)
{
    browse("cat");
    std::vector<std::string> lines = r->lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].substr(0, 6), "4:cat ");
    EXPECT_EQ(lines[0], "4:cat /k\xC3\xA6t/ m\xC3\xA9g\xC3\xA8re, peau de vache, rosse, chat");
    // The screen is full, and the lists hold exactly the results laid out.
    const LXLCharInfo last = r->cells().back();
    EXPECT_GE(last.y + last.height, 200);
    EXPECT_EQ(r->getResultCount(), resultsInBuffer());
    EXPECT_EQ(r->getDisplayTexts().size(), r->getResultPositions().size());
    EXPECT_EQ(r->getSearchType(), LXListBox::Browse);
    // The headword is bold in colour 2 and a click target; the translations are
    // translation text (kind 2) and click targets too.
    const LXLCharInfo c = r->cells()[0];
    EXPECT_EQ(c.style, 1u);
    EXPECT_EQ(c.color, 2u);
    EXPECT_TRUE(c.flags & LXLCellTarget);
    EXPECT_TRUE(c.flags & LXLCellFirst);
    int32_t x, y;
    ASSERT_TRUE(locate("chat", x, y));
    bool found = false;
    for (const LXLCharInfo &k : r->cells()) {
        if (k.codePoint == 'h' && k.y == 0 && k.x + k.width / 2 == x + 6) {
            EXPECT_EQ(k.textKind, 2u);
            EXPECT_TRUE(k.flags & LXLCellTarget);
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(ListBoxOnModule, BrowsePastTheEndShowsTheLastTerm)
{
    browse("zzzzzzzz");
    ASSERT_EQ(r->getResultPositions().size(), 1u);
    EXPECT_TRUE(r->getResultPositions().begin()->isAtLastTermOfHeadword());
}

TEST_F(ListBoxOnModule, ScrollingDownAndBackUpReturnsToTheSameCells)
{
    browse("cat");
    const std::string first = r->text(false, true);
    const LXLCharInfo top = *r->getTopVisibleChar();
    std::set<std::string> screens;
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(r->scrollScreenBuffer(190)) << i;
        screens.insert(r->text(false, true));
        // Pruning keeps the buffer near one screen, however far the list scrolls.
        EXPECT_LT(r->getScreenBuffer().size(), 3000u);
        EXPECT_EQ(r->getResultCount(), resultsInBuffer());
    }
    EXPECT_EQ(screens.size(), 8u);
    EXPECT_EQ(screens.count(first), 0u);
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(r->scrollScreenBuffer(-190)) << i;
    EXPECT_EQ(r->text(false, true), first);
    const LXLCharInfo now = *r->getTopVisibleChar();
    EXPECT_EQ(now.codePoint, top.codePoint);
    EXPECT_EQ(now.x, top.x);
    EXPECT_EQ(r->getResultCount(), resultsInBuffer());

    // Line by line the same: ten lines down, ten up.
    for (int i = 0; i < 10; ++i)
        r->handleScrollEvent(LXLEventLineDown, 0);
    EXPECT_NE(r->text(false, true), first);
    for (int i = 0; i < 10; ++i)
        r->handleScrollEvent(LXLEventLineUp, 0);
    EXPECT_EQ(r->text(false, true), first);
}

TEST_F(ListBoxOnModule, ScrollingUpAtTheBeginningStops)
{
    browse("cat");
    r->goToTop();
    ASSERT_FALSE(r->getResultPositions().empty());
    const std::string first = r->text(false, true);
    EXPECT_FALSE(r->scrollScreenBuffer(-50));
    EXPECT_EQ(r->text(false, true), first);
    EXPECT_TRUE(r->getResultPositions().begin()->isAtBeginning());
}

TEST_F(ListBoxOnModule, ScrollBarFollowsTheDictionaryPosition)
{
    browse("cat");
    r->calls.clear();
    r->resetScrollBar();
    std::vector<TestRenderer::Call> sb = r->callsOf("setScrollBarInfo");
    ASSERT_EQ(sb.size(), 1u);
    const LXDMIterator &p = *r->getResultPositions().begin();
    int32_t value, max;
    uint32_t step;
    LXListBox::scaleScrollRange(p.getMinPosition(), p.getMaxPosition(), p.getPosition(), value, max, step);
    EXPECT_EQ(sb[0].a, value);
    EXPECT_EQ(sb[0].b, 0);
    EXPECT_EQ(sb[0].c, max);
    EXPECT_EQ(sb[0].d, 20);       // 200 / 10
    EXPECT_LE(max, 16000);
    EXPECT_GT(value, 0);
    EXPECT_LT(value, max);

    // The thumb at 0 and at the maximum: the first and the last terms.
    r->handleScrollEvent(LXLEventThumb, 0);
    EXPECT_TRUE(r->getResultPositions().begin()->isAtBeginning());
    r->handleScrollEvent(LXLEventThumb, static_cast<uint32_t>(max));
    LXDMIterator last = *r->getResultPositions().begin();
    int steps = 0;
    while (!last.isAtEnd() && steps < 1000) {
        ++last;
        ++steps;
    }
    EXPECT_LT(steps, 1000);
}

TEST(ListBoxScrollBar, RangeIsScaledToAtMost16000Steps)
{
    struct Case {
        uint32_t min, max, value;
        int32_t scaledValue, scaledMax;
        uint32_t step;
    } cases[] = {
        {0, 1000000, 500000, 7936, 15873, 63},
        {0, 16000, 16000, 8000, 8000, 2},
        {0, 15999, 15999, 15999, 15999, 1},
        {100, 100, 100, 0, 0, 1},
        {200, 100, 50, 0, 0, 1},     // an inverted range is empty
        {0, 0xFFFFFFFFu, 0xFFFFFFFFu, 15999, 15999, 268436},
    };
    for (const Case &c : cases) {
        int32_t v, m;
        uint32_t s;
        LXListBox::scaleScrollRange(c.min, c.max, c.value, v, m, s);
        EXPECT_EQ(s, c.step) << c.max;
        EXPECT_EQ(m, c.scaledMax) << c.max;
        EXPECT_EQ(v, c.scaledValue) << c.max;
    }
}

TEST_F(ListBoxOnModule, StemSearchForAnAbsentWordShowsSuggestions)
{
    r->setSearchType(LXListBox::StemSearch);
    r->find(u8("catx"), LXEnglish);
    std::vector<std::string> lines = r->lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "4:No entry for catx");
    LXList<lxstring> matches;
    dm->getApproximateMatches(u8("catx"), LXEnglish, LXFrench, 10, 2, matches);
    ASSERT_GE(matches.size(), 1u);
    ASSERT_LE(matches.size(), 5u);
    ASSERT_EQ(lines.size(), matches.size() + 1);
    size_t i = 1;
    for (LXListIterator<lxstring> m = matches.begin(); !m.isAtEnd(); ++m, ++i) {
        EXPECT_EQ(lines[i], "20:Did you mean " + testUtf8(*m) + "?");
        // Each suggestion's position is a module term of that headword.
        LXListConstIterator<LXDMIterator> p = r->getResultPositions().begin();
        for (size_t k = 0; k < i; ++k)
            ++p;
        EXPECT_EQ((**p).getHeadword().compare(*m, true, true, LXLanguageNone), 0) << testUtf8(*m);
    }
    EXPECT_EQ(r->getResultCount(), matches.size() + 1);

    // Without approximate search only the not-found line stays.
    r->enableApproximateSearch(false);
    r->find(u8("catx"), LXEnglish);
    EXPECT_EQ(r->lines(), std::vector<std::string>{"4:No entry for catx"});
}

// The interface language changes while a not-found result is shown: its line and the
// suggestions take the new captions at once, the word kept; other results are left alone.
TEST_F(ListBoxOnModule, NewCaptionsRemakeTheNotFoundLines)
{
    r->setSearchType(LXListBox::StemSearch);
    r->find(u8("catx"), LXEnglish);
    const std::vector<std::string> before = r->lines();
    ASSERT_GE(before.size(), 2u);
    r->setCaption(2, u8("Aucune entrée pour <SEARCHSTRING>."));
    r->setCaption(3, u8("Vouliez-vous dire <SEARCHSTRING> ?"));
    const std::vector<std::string> after = r->lines();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0], "4:Aucune entrée pour catx.");
    const std::string english = "20:Did you mean ", french = "20:Vouliez-vous dire ";
    for (size_t i = 1; i < after.size(); ++i) {
        ASSERT_EQ(before[i].compare(0, english.size(), english), 0) << before[i];
        const std::string word = before[i].substr(english.size(), before[i].size() - english.size() - 1);
        EXPECT_EQ(after[i], french + word + " ?");
    }
    EXPECT_EQ(r->getResultCount(), before.size());

    // A found word's results hold no caption: a new caption changes nothing in them.
    r->find(u8("cat"), LXEnglish);
    ASSERT_EQ(r->getSearchType(), LXListBox::Browse);
    const std::vector<std::string> found = r->lines();
    r->setCaption(2, u8("No entry for <SEARCHSTRING>"));
    EXPECT_EQ(r->lines(), found);
}

TEST_F(ListBoxOnModule, StemSearchForAHeadwordSwitchesToBrowse)
{
    r->setSearchType(LXListBox::StemSearch);
    r->find(u8("Cat"), LXEnglish);     // case and accents aside, a headword
    EXPECT_EQ(r->getSearchType(), LXListBox::Browse);
    EXPECT_EQ(r->lines()[0].substr(0, 6), "4:cat ");
}

// Terms filed under one key are ordered by part of speech before headword: the verb
// "water" follows the prefix "water" + U+2010 and the compounds written with it, all under
// the key "water". A stem search without a conjugation module for the language must still
// take the word for the headword it is, not say there is no entry.
TEST_F(ListBoxOnModule, StemSearchForAHeadwordFiledBehindOthersOfItsKeySwitchesToBrowse)
{
    r->setSearchType(LXListBox::StemSearch);
    r->find(u8("water"), LXEnglish);
    EXPECT_EQ(r->getSearchType(), LXListBox::Browse);
    bool eau = false;
    for (const std::string &line : r->lines())
        eau = eau || (line.compare(0, 8, "4:water ") == 0 && line.find("eau, onde") != std::string::npos);
    EXPECT_TRUE(eau) << "no line of the verb water with its translations";

    // The same for every one-word English headword the module holds.
    LXList<LXTerm> all;
    (*dm->getLXDManager())[0]->readAllTerms(all);
    std::set<std::string> tried;
    std::vector<std::string> missed;
    for (LXList<LXTerm>::iterator t = all.begin(); !t.isAtEnd(); ++t) {
        const std::string headword = testUtf8(t->getHeadword());
        if (t->getLanguage() != LXEnglish || headword.find(' ') != std::string::npos || !tried.insert(headword).second)
            continue;
        r->setSearchType(LXListBox::StemSearch);
        r->find(t->getHeadword(), LXEnglish);
        if (r->getSearchType() != LXListBox::Browse)
            missed.push_back(headword);
    }
    EXPECT_GT(tried.size(), 7000u);
    EXPECT_TRUE(missed.empty()) << missed.size() << " reported missing, the first " << missed.front();
}

TEST_F(ListBoxOnModule, EmptyStemSearchShowsCaptionZero)
{
    r->setSearchType(LXListBox::StemSearch);
    r->find(u8(""), LXEnglish);
    EXPECT_EQ(r->text(), "4:Type a word\n");
    EXPECT_EQ(r->getResultCount(), 0u);
    EXPECT_FALSE(r->scrollScreenBuffer(10));
}

TEST_F(ListBoxOnModule, RegexSearchSteppedToItsEnd)
{
    r->setSearchType(LXListBox::RegexSearch);
    r->find(u8("catastroph*"), LXEnglish);
    EXPECT_EQ(r->lines().back(), "20:Searching");
    int steps = 0;
    while (r->continueRegexSearch() && steps < 100000)
        ++steps;
    EXPECT_LT(steps, 100000);
    EXPECT_EQ(r->lines().back(), "20:Search finished");
    EXPECT_GE(r->getNRegexMatches(), 1);
    EXPECT_EQ(static_cast<int32_t>(r->getResultCount()), r->getNRegexMatches());
    EXPECT_EQ(r->lines()[0].substr(0, 14), "4:catastrophe ");
    // The status line is drawn in colour 8 and is no result.
    EXPECT_EQ(r->cells().back().codePoint, 0u);
    EXPECT_FALSE(r->continueRegexSearch());
}

TEST_F(ListBoxOnModule, RegexSearchStopsAtFiftyMatches)
{
    r->setSearchType(LXListBox::RegexSearch);
    r->find(u8("c*"), LXEnglish);
    int steps = 0;
    while (r->continueRegexSearch() && steps < 1000000)
        ++steps;
    EXPECT_EQ(r->getNRegexMatches(), 50);
    EXPECT_EQ(r->getResultCount(), 50u);
    EXPECT_FALSE(r->continueRegexSearch());     // the 51st is not collected
    EXPECT_EQ(r->getNRegexMatches(), 50);
    EXPECT_EQ(r->lines().back(), "20:Only the first 50 results");
    // Every result is laid out in this mode, beyond the screen.
    EXPECT_GT(r->cells().back().y, 200);
}

TEST_F(ListBoxOnModule, ScrollingAListOfMatches)
{
    r->setSearchType(LXListBox::RegexSearch);
    r->find(u8("c*"), LXEnglish);
    while (r->continueRegexSearch()) {
    }
    const size_t cells = r->getScreenBuffer().size();
    const int32_t lastY = r->cells().back().y;
    EXPECT_TRUE(r->scrollScreenBuffer(100));
    EXPECT_EQ(r->getTopVisibleChar()->y, 100);
    r->calls.clear();
    r->resetScrollBar();
    std::vector<TestRenderer::Call> sb = r->callsOf("setScrollBarInfo");
    ASSERT_EQ(sb.size(), 1u);
    EXPECT_EQ(sb[0].a, 10);
    EXPECT_EQ(sb[0].c, lastY / 10);
    EXPECT_EQ(sb[0].d, 20);
    // Nothing is pruned or fetched here: every match stays laid out.
    EXPECT_TRUE(r->scrollScreenBuffer(-1000));
    EXPECT_EQ(r->getTopVisibleChar()->y, 0);
    EXPECT_FALSE(r->scrollScreenBuffer(-10));
    EXPECT_TRUE(r->scrollScreenBuffer(1000000));
    EXPECT_EQ(r->getTopVisibleChar()->y, lastY);
    EXPECT_EQ(r->getScreenBuffer().size(), cells);
    EXPECT_EQ(r->getResultCount(), 50u);
    // The thumb counts lines by changes of y.
    r->handleScrollEvent(LXLEventThumb, 2);
    std::vector<int32_t> ys;
    for (const LXLCharInfo &c : r->cells()) {
        if (ys.empty() || ys.back() != c.y)
            ys.push_back(c.y);
    }
    EXPECT_EQ(r->getTopVisibleChar()->y, ys[2]);
    // Page down moves by the height less one line.
    r->handleScrollEvent(LXLEventThumb, 0);
    r->handleScrollEvent(LXLEventPageDown, 0);
    EXPECT_EQ(r->getTopVisibleChar()->y, 190);
}

TEST_F(ListBoxOnModule, RegexSearchCancelledAndEmpty)
{
    r->setSearchType(LXListBox::RegexSearch);
    r->find(u8("c*"), LXEnglish);
    r->continueRegexSearch();
    r->cancelRegexSearch();
    EXPECT_EQ(r->lines().back(), "20:Search cancelled");
    // An empty pattern, or one that does not compile, shows only the status line and
    // ends the stepping at once.
    for (const char *pattern : {"", "(ab", "[z"}) {
        r->find(u8(pattern), LXEnglish);
        EXPECT_EQ(r->lines(), std::vector<std::string>{"20:Search finished"}) << pattern;
        EXPECT_FALSE(r->continueRegexSearch()) << pattern;
    }
}

TEST_F(ListBoxOnModule, DragAcrossTwoWordsSelectsExactlyThem)
{
    browse("cat");
    int32_t x1, y1, x2, y2;
    ASSERT_TRUE(locate("peau de", x1, y1, 0));
    ASSERT_TRUE(locate("peau de", x2, y2, 6));
    EXPECT_TRUE(r->onPenDown(x1, y1));
    EXPECT_TRUE(r->onPenMove(x2 - 20, y2));
    EXPECT_TRUE(r->onPenMove(x2, y2));
    EXPECT_TRUE(r->onPenUp(x2, y2));
    lxstring s;
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "peau de");
    EXPECT_TRUE(r->isSelectionInATranslation());
    // Each change of a cell was drawn on its own, highlighted.
    std::vector<TestRenderer::Call> fills = r->callsOf("fillRect");
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills.back().color, 8u);

    // The selection survives a re-layout of the same term.
    r->setRect(LXLRectangle(0, 0, 300, 201));
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "");   // a new rectangle clears the selection
    r->onPenDown(x1, y1);
    r->onPenMove(x2, y2);
    r->onPenUp(x2, y2);
    r->fillScreenBuffer();
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "peau de");

    // Backwards, the same two words.
    r->onPenDown(x2, y2);
    r->onPenMove(x1, y1);
    r->onPenUp(x1, y1);
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "peau de");
    LXLRectangle rect;
    r->getSelectedRect(rect);
    EXPECT_EQ(rect.width, 7 * 6);
    EXPECT_EQ(rect.height, 10);
}

TEST_F(ListBoxOnModule, DragStopsAtTheEndOfThePressedResult)
{
    browse("cat");
    int32_t x1, y1, x2, y2;
    ASSERT_TRUE(locate("rosse", x1, y1, 0));
    ASSERT_TRUE(locate("Catalogne", x2, y2, 3));
    r->onPenDown(x1, y1);
    r->onPenMove(x2, y2);
    r->onPenUp(x2, y2);
    lxstring s;
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "rosse, chat");
}

TEST_F(ListBoxOnModule, SelectionSurvivesScrollingAwayAndBack)
{
    browse("cat");
    int32_t x1, y1, x2, y2;
    ASSERT_TRUE(locate("peau de", x1, y1, 0));
    ASSERT_TRUE(locate("peau de", x2, y2, 6));
    r->onPenDown(x1, y1);
    r->onPenMove(x2, y2);
    r->onPenUp(x2, y2);
    for (int i = 0; i < 3; ++i)
        r->scrollScreenBuffer(200);
    lxstring s;
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "");      // its cells were pruned with the term
    for (int i = 0; i < 3; ++i)
        r->scrollScreenBuffer(-200);
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "peau de");   // laid out again, selected again
}

TEST_F(ListBoxOnModule, HitTestKinds)
{
    browse("cat");
    LXDMIterator position;
    int32_t definition, counter, kind;
    LXListIterator<LXLCharInfo> cell, start;
    struct Case {
        int32_t x, y;
        int32_t kind;
        uint32_t cp;          // the cell hit
        const char *headword;
    } cases[] = {
        {5, 5, 0, 'c', "cat"},
        {1, 5, 1, 'c', "cat"},         // left of the first character
        {290, 5, 2, 0, "cat"},         // past the end of the line: the cell before the next line
        {100, 15, 2, 0, "cat"},        // the empty line after the entry
        {5, 25, 0, 'C', "Catalonia"},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(r->pointToCharPosition(c.x, c.y, position, definition, cell, start, counter, kind)) << c.x;
        EXPECT_EQ(kind, c.kind) << c.x << "," << c.y;
        EXPECT_EQ(cell->codePoint, c.cp) << c.x << "," << c.y;
        EXPECT_EQ(testUtf8((*position).getHeadword()), c.headword) << c.x << "," << c.y;
        EXPECT_TRUE(start->flags & LXLCellFirst);
        EXPECT_TRUE(r->hasSelectedTerm());
    }
    // The character counter counts the result's cells up to the hit.
    ASSERT_TRUE(r->pointToCharPosition(4 + 6 * 2 + 1, 5, position, definition, cell, start, counter, kind));
    EXPECT_EQ(counter, 2);
    EXPECT_EQ(cell->codePoint, static_cast<uint32_t>('t'));
    EXPECT_EQ(definition, 0);
    // Below every cell there is no result, and the selected term is cleared.
    TestRenderer tall(dm, LXLRectangle(0, 0, 300, 100000));
    tall.setLanguages(LXEnglish, LXFrench, 10, false);
    tall.setSearchType(LXListBox::StemSearch);
    tall.find(u8("catx"), LXEnglish);
    EXPECT_FALSE(tall.pointToCharPosition(5, 99990, position, definition, cell, start, counter, kind));
    EXPECT_FALSE(tall.hasSelectedTerm());
}

TEST_F(ListBoxOnModule, TextQueries)
{
    browse("cat");
    r->scrollScreenBuffer(20);
    EXPECT_EQ(testUtf8(r->getTopVisibleLine()), "Catalonia /k\xC3\xA6t\xC9\x99louni\xC9\x99/ Catalogne");
    const std::string visible = testUtf8(r->getVisibleString());
    EXPECT_EQ(visible.find("Catalonia"), 0u);
    EXPECT_EQ(visible.find("cat /"), std::string::npos);
    std::string rest = testUtf8(r->getScreenBufferString(r->getTopVisibleChar()));
    EXPECT_EQ(rest.find("Catalonia"), 0u);
    EXPECT_NE(rest.find("Catalogne*"), std::string::npos);
    EXPECT_GT(rest.size(), visible.size());
}

TEST_F(ListBoxOnModule, ClickSelectsTheWordUnderThePointer)
{
    browse("cat");
    int32_t x, y;
    ASSERT_TRUE(locate("vache", x, y, 2));
    EXPECT_TRUE(r->onPenDown(x, y));
    EXPECT_TRUE(r->onPenUp(x, y));
    lxstring s;
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "vache");
    LXDMIterator term;
    int32_t def = -5;
    r->getSelectedDefinition(term, def);
    EXPECT_EQ(testUtf8((*term).getHeadword()), "cat");
    EXPECT_EQ(def, 1);
    EXPECT_FALSE(r->isSelectedDefinitionModifiable());

    // Outside the rectangle nothing happens; a click in empty space clears.
    EXPECT_FALSE(r->onPenDown(400, 10));
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "vache");
}

TEST_F(ListBoxOnModule, ClickInAStemResultSelectsTheWholeResult)
{
    r->setSearchType(LXListBox::StemSearch);
    r->find(u8("catx"), LXEnglish);
    ASSERT_GE(r->lines().size(), 2u);
    r->calls.clear();
    // Anywhere on the second result's line, even on "Did".
    EXPECT_TRUE(r->onPenDown(30, 15));
    EXPECT_TRUE(r->onPenUp(30, 15));
    std::vector<TestRenderer::Call> fills = r->callsOf("fillRect");
    ASSERT_FALSE(fills.empty());
    // The result's whole area is highlighted across the list.
    EXPECT_EQ(fills.back().color, 8u);
    EXPECT_EQ(fills.back().a, 10);
    EXPECT_EQ(fills.back().b, 0);
    EXPECT_EQ(fills.back().c, 301);
    EXPECT_EQ(fills.back().d, 10);
    std::vector<TestRenderer::Call> runs = r->callsOf("drawString");
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs.back().background, 8);
    LXDMIterator term;
    int32_t def;
    r->getSelectedDefinition(term, def);
    lxstring word;
    r->getSelectedString(word);
    EXPECT_EQ((*term).getHeadword().compare(word, true, true, LXLanguageNone), 0) << testUtf8(word);

    // Enter on it browses to that word.
    r->browseToSelectedStem();
    EXPECT_EQ(r->getSearchType(), LXListBox::Browse);
    EXPECT_EQ(r->lines()[0].substr(0, 2 + word.size()), "4:" + testUtf8(word));
}

TEST_F(ListBoxOnModule, KeysInAStemSearchMoveByResults)
{
    r->setSearchType(LXListBox::StemSearch);
    r->find(u8("catx"), LXEnglish);
    LXList<lxstring> matches;
    dm->getApproximateMatches(u8("catx"), LXEnglish, LXFrench, 10, 2, matches);
    ASSERT_GE(matches.size(), 2u);
    r->selectTopResult();
    lxstring s;
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "catx");
    r->goDown();
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), testUtf8(*matches.begin()));
    r->goRight();
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), testUtf8(*++matches.begin()));
    r->goLeft();
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), testUtf8(*matches.begin()));
    r->goUp();
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "catx");
    EXPECT_FALSE(r->goLeft());        // nothing before the first result
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "catx");
}

TEST_F(ListBoxOnModule, DrawingRunsAndTheSelectionHighlight)
{
    browse("cat");
    r->calls.clear();
    r->draw(true);
    ASSERT_FALSE(r->calls.empty());
    EXPECT_EQ(r->calls[0].op, "eraseBackground");
    std::vector<TestRenderer::Call> runs = r->callsOf("drawString");
    ASSERT_GE(runs.size(), 3u);
    EXPECT_EQ(runs[0].text, "cat");
    EXPECT_EQ(runs[0].a, 4);
    EXPECT_EQ(runs[0].b, 0);
    EXPECT_EQ(runs[0].style, 1u);
    EXPECT_EQ(runs[0].color, 2u);
    for (const TestRenderer::Call &c : runs) {
        EXPECT_GE(c.b, 0);
        EXPECT_LT(c.b, 200);
        EXPECT_EQ(c.background, 0);
    }
    // The renderer's style and colour end as 0 and 1.
    EXPECT_EQ(r->getStyle(), 0u);
    EXPECT_EQ(r->getColor(), 1u);

    // With a selection the selected run is drawn again over colour 8.
    int32_t x, y;
    ASSERT_TRUE(locate("chat", x, y, 1));
    r->onPenDown(x, y);
    r->onPenUp(x, y);
    r->calls.clear();
    r->draw(false);
    runs = r->callsOf("drawString");
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs.back().text, "chat");
    EXPECT_EQ(runs.back().background, 8);
    std::vector<TestRenderer::Call> fills = r->callsOf("fillRect");
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].c, 4 * 6 + 2);
}

TEST_F(ListBoxOnModule, KeyboardMovesBetweenClickTargets)
{
    browse("cat");
    r->selectTopResult();
    lxstring s;
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "cat");
    r->goRight();
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "m\xC3\xA9g\xC3\xA8re");
    r->goRight();
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "peau");
    r->goLeft();
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "m\xC3\xA9g\xC3\xA8re");
    r->goDown();
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "Catalonia");
    r->goUp();
    r->getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "cat");

    // Down through many lines scrolls the list and keeps a selection.
    bool scrolled = false;
    for (int i = 0; i < 40; ++i)
        scrolled = r->goDown() || scrolled;
    EXPECT_TRUE(scrolled);
    r->getSelectedString(s);
    EXPECT_FALSE(s.empty());
    EXPECT_NE(r->getTopVisibleLine().compare(u8("cat")), 0);
}

TEST_F(ListBoxOnModule, TopAndBottom)
{
    browse("cat");
    EXPECT_TRUE(r->goToBottom());
    LXDMIterator last = *r->getResultPositions().begin();
    ++last;
    EXPECT_TRUE(last.isAtEnd());
    EXPECT_TRUE(r->goToTop());
    EXPECT_TRUE(r->getResultPositions().begin()->isAtBeginning());
    lxstring s;
    r->getSelectedString(s);
    EXPECT_FALSE(s.empty());
}

TEST_F(ListBoxOnModule, CopiesHaveTheirOwnCells)
{
    browse("cat");
    r->scrollScreenBuffer(30);
    TestRenderer copy(*r);
    EXPECT_EQ(copy.text(false, true), r->text(false, true));
    EXPECT_EQ(copy.getTopVisibleChar().getList(), &copy.getScreenBuffer());
    EXPECT_EQ(copy.getTopVisibleChar()->y, r->getTopVisibleChar()->y);
    // Scrolling the copy leaves the original alone.
    const std::string before = r->text(false, true);
    copy.scrollScreenBuffer(100);
    EXPECT_EQ(r->text(false, true), before);
    EXPECT_NE(copy.text(false, true), before);
}

TEST_F(ListBoxOnModule, EveryTranslationOfTheModuleIsShown)
{
    // Real oracle: the terms as the module stores them (from FreeDict). Laid out on a
    // wide line, each display text shows the headword and every translation text.
    TestRenderer wide(dm, LXLRectangle(0, 0, 1000000, 100));
    const LXMarkupExpander *e = LXMarkupExpander::shared();
    ASSERT_NE(e, nullptr);
    LXDMIterator it;
    dm->begin(LXEnglish, LXFrench, 10, it);
    int checked = 0;
    std::string previous;
    for (int i = 0; i < 3000 && !it.isAtEnd(); ++i, ++it) {
        lxstring display;
        e->getDisplayText(it, display, 1);
        wide.layout(testUtf8(display));
        std::string shown;
        for (const LXLCharInfo &c : wide.cells())
            shown += testUtf8(c.codePoint);
        const LXTerm &t = *it;
        std::string head = testUtf8(t.getHeadword());
        size_t from = 0;
        if (testUtf8(display).compare(0, 3, "\\TM") == 0) {
            ASSERT_EQ(shown.find(head), 0u) << head << " / " << shown;
            from = head.size();
        } else {
            // A further term of the headword shown just before it.
            EXPECT_EQ(head, previous) << shown;
        }
        previous = head;
        for (LXList<LXDefinition>::const_iterator d = t.getDefinitions().begin(); !d.isAtEnd(); ++d) {
            std::string want;
            for (char ch : testUtf8(d->getText())) {
                if (ch != '{' && ch != '}')
                    want += ch;
            }
            size_t at = shown.find(want, from);
            ASSERT_NE(at, std::string::npos) << head << ": " << want << " in " << shown;
            from = at + want.size();
        }
        EXPECT_EQ(shown.find('\\'), std::string::npos) << shown;
        ++checked;
    }
    EXPECT_EQ(checked, 3000);
}

TEST_F(ListBoxOnModule, SettingsAndNeutralAnswers)
{
    // Synonyms are always the translation language.
    r->setLanguages(LXSynonyms, LXEnglish, 10, true);
    EXPECT_EQ(r->getSearchLanguage(), LXEnglish);
    EXPECT_EQ(r->getTranslationLanguage(), LXSynonyms);
    EXPECT_EQ(r->getOtherLanguage(LXEnglish), LXSynonyms);
    EXPECT_EQ(r->getOtherLanguage(LXSynonyms), LXEnglish);
    EXPECT_FALSE(r->isSelectionInATranslation());

    EXPECT_FALSE(r->handleScrollEvent(LXLEventLineUp - 1, 0));
    EXPECT_FALSE(r->handleScrollEvent(LXLEventThumb + 1, 0));
    EXPECT_TRUE(r->handleScrollEvent(LXLEventThumb, 0));

    r->setApproxMatchPrefixLength(0);
    EXPECT_EQ(r->getApproxMatchPrefixLength(), 2);

    TestRenderer none;
    none.find(u8("cat"), LXEnglish);
    EXPECT_EQ(none.getResultCount(), 0u);
    EXPECT_FALSE(none.handleScrollEvent(LXLEventLineUp, 0));
    EXPECT_FALSE(none.goToTop());
    none.setLanguages(LXEnglish, LXFrench, 10, false);
    EXPECT_EQ(none.getSearchLanguage(), LXLanguageNone);

    // Defaults after clear.
    TestRenderer d;
    EXPECT_EQ(d.getSearchType(), LXListBox::StemSearch);
    EXPECT_EQ(d.getProduct(), 10u);
    EXPECT_EQ(d.getMaxLinesPerTerm(), 1u);
    EXPECT_TRUE(d.isApproximateSearchEnabled());
    EXPECT_EQ(d.getVerbStemStrategy(), 1);
    EXPECT_EQ(d.getRegexOptions().wholeWords, 1);
    EXPECT_EQ(d.getSelectionEnd(), -1);
}

TEST_F(ListBoxOnModule, NoHeightStillKeepsTheResult)
{
    TestRenderer flat(dm, LXLRectangle(0, 0, 300, 0));
    flat.setLanguages(LXEnglish, LXFrench, 10, false);
    flat.setSearchType(LXListBox::Browse);
    flat.find(u8("cat"), LXEnglish);
    EXPECT_EQ(flat.getResultCount(), 1u);
    flat.setRect(LXLRectangle(0, 0, 300, 200));
    EXPECT_EQ(flat.lines()[0].substr(0, 6), "4:cat ");
    EXPECT_GT(flat.getResultCount(), 5u);
}

TEST_F(ListBoxOnModule, WithoutLineHeightOrWidthTheWorkStaysBounded)
{
    // Before the renderer has a font its line height is 0: the list must not lay out
    // the whole dictionary trying to fill the screen.
    TestRenderer flat(dm, LXLRectangle(0, 0, 300, 200), 6, 0);
    flat.setLanguages(LXEnglish, LXFrench, 10, false);
    flat.setSearchType(LXListBox::Browse);
    flat.find(u8("cat"), LXEnglish);
    EXPECT_EQ(flat.getResultCount(), 1u);
    EXPECT_FALSE(flat.scrollScreenBuffer(0));
    flat.handleScrollEvent(LXLEventLineDown, 0);
    flat.handleScrollEvent(LXLEventPageDown, 0);
    EXPECT_EQ(flat.getResultCount(), 1u);
    flat.refresh();

    // A list one pixel wide puts every character on a line of its own.
    TestRenderer thin(dm, LXLRectangle(0, 0, 1, 50));
    thin.setLanguages(LXEnglish, LXFrench, 10, false);
    thin.setSearchType(LXListBox::Browse);
    thin.find(u8("cat"), LXEnglish);
    std::vector<std::string> lines = thin.lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "4:c");
    EXPECT_EQ(lines[1], "20:a");
    thin.setSearchType(LXListBox::StemSearch);
    thin.setCaption(2, u8("No entry for <SEARCHSTRING>"));
    thin.find(u8("catx"), LXEnglish);
    ASSERT_FALSE(thin.lines().empty());
    EXPECT_EQ(thin.lines()[0], "4:...");
}

TEST_F(ListBoxOnModule, RandomOperationsKeepTheListsInStep)
{
    // Searches, scrolling, pointer and keys in a fixed random order; after each, the
    // result lists match the results laid out and the visible cells lie in the buffer.
    const char *words[] = {"cat", "zebra", "house", "a", "catx", "run", "c*", "ho*e", "qqqq", ""};
    uint32_t seed = 12345;
    auto next = [&](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    for (int i = 0; i < 1500; ++i) {
        const uint32_t op = next(12);
        const int32_t x = static_cast<int32_t>(next(320)) - 10, y = static_cast<int32_t>(next(220)) - 10;
        switch (op) {
        case 0:
            r->setSearchType(static_cast<int32_t>(LXListBox::Browse + next(LXListBox::RegexSearch)));
            r->find(u8(words[next(10)]), LXEnglish);
            break;
        case 1:
            while (r->getSearchType() == LXListBox::RegexSearch && r->continueRegexSearch() && next(50)) {
            }
            break;
        case 2: r->handleScrollEvent(static_cast<int>(LXLEventLineUp + next(LXLEventThumb)), next(20000)); break;
        case 3: r->scrollScreenBuffer(static_cast<int32_t>(next(900)) - 450); break;
        case 4: r->onPenDown(x, y); break;
        case 5: r->onPenMove(x, y); break;
        case 6: r->onPenUp(x, y); break;
        case 7: r->goLeft(); r->goRight(); break;
        case 8: r->goUp(); r->goDown(); break;
        case 9: next(2) ? r->goToTop() : r->goToBottom(); break;
        case 10: r->refresh(); break;
        case 11:
            if (r->getSearchType() == LXListBox::StemSearch)
                r->browseToSelectedStem();
            else
                r->selectTopResult();
            break;
        }
        if (r->getSearchType() == LXListBox::Browse) {
            ASSERT_EQ(r->getResultCount(), resultsInBuffer()) << i << " op " << op;
        }
        ASSERT_EQ(r->getDisplayTexts().size(), r->getResultPositions().size()) << i;
        if (!r->getTopVisibleChar().isAtEnd()) {
            ASSERT_EQ(r->getTopVisibleChar().getList(), &r->getScreenBuffer());
        }
        ASSERT_LT(r->getScreenBuffer().size(), 20000u) << i;
    }
}

// A data manager on a small English-French module of the given terms, written at path;
// none (with the running test failed, saying why) when the module cannot be made or taken.
std::unique_ptr<LXDataManager> managerOnTerms(const std::vector<LXTerm> &terms, const std::string &path)
{
    std::unique_ptr<LXCompressor> compressor(LXCompressor::create());
    std::unique_ptr<LXTokenizer> tokenizer(LXTokenizer::create());
    if (!compressor || !tokenizer) {
        ADD_FAILURE() << "no compressor or tokenizer";
        return nullptr;
    }
    LXDWriter w(compressor.get(), tokenizer.get(), LXEnglish, LXFrench);
    std::string why;
    for (const LXTerm &t : terms) {
        if (!w.addTerm(t, why)) {
            ADD_FAILURE() << why;
            return nullptr;
        }
    }
    if (!w.write(path, why)) {
        ADD_FAILURE() << why;
        return nullptr;
    }
    std::unique_ptr<LXDataManager> dm(LXDataManager::create());
    if (!dm || dm->addDictionaryModule(u8(path)) != 0) {
        ADD_FAILURE() << "the data manager did not take " << path;
        return nullptr;
    }
    return dm;
}

// A small module of our own for the word-selection details.
TEST(ListBoxSelection, ClickOnAWordLeavesOutLeadingHyphens)
{
    LXTerm t;
    t.setLanguage(LXEnglish);
    t.setTranslationLanguage(LXFrench);
    t.setHeadword(u8("alpha"));
    LXDefinition d;
    d.setText(u8("--beta gamma - delta"));
    t.addDefinition(d);
    const std::string path = testRunFolder() + "listbox-hyphens.lxd";
    std::unique_ptr<LXDataManager> dm = managerOnTerms({t}, path);
    ASSERT_TRUE(dm);
    TestRenderer r(dm.get(), LXLRectangle(0, 0, 300, 100));
    r.setLanguages(LXEnglish, LXFrench, 10, false);
    r.setSearchType(LXListBox::Browse);
    r.find(u8("alpha"), LXEnglish);
    ASSERT_EQ(r.lines()[0], "4:alpha --beta gamma - delta");
    // 'e' of beta: x = 4 + 6 * 9 + 3.
    struct Case {
        int32_t x;
        const char *word;
    } cases[] = {
        {4 + 6 * 9 + 3, "beta"},     // on "e"
        {4 + 6 * 6 + 3, "beta"},     // on the first hyphen
        {4 + 6 * 7 + 3, "beta"},     // on the second hyphen
        {4 + 6 * 15 + 3, "gamma"},
        {4 + 6 * 2 + 3, "alpha"},
        {4 + 6 * 5 + 3, " "},        // a blank selects itself
        {4 + 6 * 19 + 3, ""},        // a hyphen alone is no word
    };
    for (const Case &c : cases) {
        r.onPenDown(c.x, 5);
        r.onPenUp(c.x, 5);
        lxstring s;
        r.getSelectedString(s);
        EXPECT_EQ(testUtf8(s), c.word) << c.x;
    }
    // Left of the first character (in the margin): nothing is selected on release.
    r.onPenDown(1, 5);
    r.onPenUp(1, 5);
    lxstring s;
    r.getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "");
    std::remove(path.c_str());
}

// goUp over lines without click targets: the first pass scrolls the term above into
// view, the next finds the dictionary's beginning. The view did scroll, and the window
// must be told so to repaint.
TEST(ListBoxKeys, UpAnswersThatItScrolledWhenAnEarlierPassDid)
{
    // Hyphens and digits start no word: the first term's line holds no click target.
    const std::string path = tempPath("listbox-up.lxd");
    std::unique_ptr<LXDataManager> dm =
        managerOnTerms({makeTerm(LXEnglish, "--", {"2"}), makeTerm(LXEnglish, "zz", {"beta"})}, path);
    ASSERT_TRUE(dm);
    TestRenderer r(dm.get(), LXLRectangle(0, 0, 300, 100));
    r.setLanguages(LXEnglish, LXFrench, LXProductDefault, false);
    r.setSearchType(LXListBox::Browse);
    r.find(u8("zz"), LXEnglish);
    ASSERT_EQ(r.lines()[0], "4:zz beta");
    r.selectTopResult();

    EXPECT_TRUE(r.goUp());
    EXPECT_EQ(testUtf8(r.getTopVisibleLine()), "-- 2");
    lxstring s;
    r.getSelectedString(s);
    EXPECT_EQ(testUtf8(s), "zz");
    // Nothing above any more: now it neither scrolls nor says so.
    EXPECT_FALSE(r.goUp());
    std::remove(path.c_str());
}

// A small module with four terms under the key "water", the typed headword among them in
// every place; a stem search without stems browses when a term of the key is the word, and
// only then.
TEST(ListBoxKeyRun, StemSearchWithoutStemsFindsTheWordAnywhereInItsKey)
{
    const std::string hyphen = "\xE2\x80\x90";   // U+2010, which separates words
    const std::string path = tempPath("listbox-keyrun.lxd");
    std::unique_ptr<LXDataManager> dm = managerOnTerms({makeTerm(LXEnglish, "water" + hyphen, {"aquatique"}),
                                                        makeTerm(LXEnglish, "water" + hyphen + "colour", {"aquarelle"}),
                                                        makeTerm(LXEnglish, "water", {"eau"}, "v", LXPartOfSpeechVerb),
                                                        makeTerm(LXEnglish, "of water", {"d'eau"}),
                                                        makeTerm(LXEnglish, "waterfall", {"cascade"})},
                                                       path);
    ASSERT_TRUE(dm);
    TestRenderer r(dm.get(), LXLRectangle(0, 0, 300, 100));
    r.setLanguages(LXEnglish, LXFrench, LXProductDefault, false);
    r.setCaption(2, u8("No entry for <SEARCHSTRING>"));
    r.enableApproximateSearch(false);

    const struct {
        std::string typed;
        bool headword;
    } cases[] = {
        {"water" + hyphen, true},              // the key's first term
        {"water", true},                       // its third, behind two of part of speech none
        {"WATER", true},                       // letter case aside
        {"water" + hyphen + "colour", true},
        {"waterfall", true},
        {"water" + hyphen + "proof", false},   // filed under the key, but no such headword
        {"wate", false},
    };
    for (const auto &c : cases) {
        r.setSearchType(LXListBox::StemSearch);
        r.find(u8(c.typed), LXEnglish);
        const std::vector<std::string> lines = r.lines();
        ASSERT_FALSE(lines.empty()) << c.typed;
        if (c.headword) {
            EXPECT_EQ(r.getSearchType(), LXListBox::Browse) << c.typed << ": " << lines[0];
        } else {
            EXPECT_EQ(r.getSearchType(), LXListBox::StemSearch) << c.typed;
            EXPECT_EQ(lines[0], "4:No entry for " + c.typed);
        }
    }
    // Browsing "water" shows the key's terms from its first, the verb with its translation among them.
    r.setSearchType(LXListBox::StemSearch);
    r.find(u8("water"), LXEnglish);
    const std::vector<std::string> lines = r.lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "4:water" + hyphen + " aquatique");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "4:water V eau"), lines.end()) << lines[2];
    std::remove(path.c_str());
}

} // namespace
