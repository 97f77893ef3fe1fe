#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "format/lxd.h"
#include "lxdm_fixture.h"
#include "search/lxdmanager.h"
#include "search/lxdmiterator.h"

using namespace lxdm;

namespace {

class LXDManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(compressor);
        ASSERT_TRUE(tokenizer);
        set.setTokenizer(tokenizer.get());
    }

    // Writes, validates and registers a module; answers it (owned by the set).
    LXD *add(const ModuleContents &contents, const std::string &name)
    {
        std::string path = writeModule(compressor.get(), tokenizer.get(), contents, name);
        LXD *d = new LXD(compressor.get(), tokenizer.get());
        EXPECT_TRUE(d->validate(u8(path))) << path;
        EXPECT_TRUE(set.insert(d));
        return d;
    }

    LXD *add(const std::vector<LXTerm> &terms, const std::string &name, uint32_t priority = 5)
    {
        ModuleContents s;
        s.terms = terms;
        s.priority = priority;
        return add(s, name);
    }

    // Labels of every merged term from the iterator's position to the end.
    static std::vector<std::string> walkForward(LXDMIterator it)
    {
        std::vector<std::string> out;
        for (int guard = 0; !it.isAtEnd() && guard < 100000; ++guard, ++it)
            out.push_back(label(*it));
        return out;
    }

    std::unique_ptr<LXCompressor> compressor{LXCompressor::create()};
    std::unique_ptr<LXTokenizer> tokenizer{LXTokenizer::create()};
    LXDManager set;
};

TEST_F(LXDManagerTest, InsertOrdersByPriorityAfterEqualOnesAndNumbersTheModules)
{
    LXD *p5 = add({term(LXEnglish, "a", {"x"})}, "prio5", 5);
    LXD *p1 = add({term(LXEnglish, "b", {"x"})}, "prio1", 1);
    LXD *p5b = add({term(LXEnglish, "c", {"x"})}, "prio5b", 5);
    LXD *p9 = add({term(LXEnglish, "d", {"x"})}, "prio9", 9);
    EXPECT_FALSE(set.insert(p5));   // already held
    ASSERT_EQ(set.size(), 4u);
    EXPECT_EQ(set[0], p1);
    EXPECT_EQ(set[1], p5);
    EXPECT_EQ(set[2], p5b);
    EXPECT_EQ(set[3], p9);
    EXPECT_EQ(set[4], nullptr);
    EXPECT_EQ(set.getModuleNumber(p1), 1u);
    EXPECT_EQ(set.getModuleNumber(p5b), 3u);
    EXPECT_EQ(set.getModuleNumber(nullptr), 0u);

    LXD *taken = set.removeAt(1);
    EXPECT_EQ(taken, p5);
    EXPECT_EQ(set.getModuleNumber(p5b), 2u);
    delete taken;
    set.erase(0);
    ASSERT_EQ(set.size(), 2u);
    EXPECT_EQ(set[0], p5b);
    EXPECT_EQ(set.removeAt(7), nullptr);
}

TEST_F(LXDManagerTest, EqualTermsOfThreeModulesMergeEvenWithTheMiddleOneAtItsEnd)
{
    add({term(LXEnglish, "apple", {"pomme A"}), term(LXEnglish, "cat", {"chat A"})}, "merge-a", 1);
    add({term(LXEnglish, "apple", {"pomme B"})}, "merge-b", 2);
    add({term(LXEnglish, "apple", {"pomme C"}), term(LXEnglish, "cat", {"chat C"}), term(LXEnglish, "dog", {"chien C"})},
        "merge-c", 3);

    LXDMIterator it;
    set.begin(LXEnglish, LXFrench, 10, it);
    ASSERT_EQ(it.getIterators().size(), 3u);
    ASSERT_FALSE(it.isAtEnd());
    EXPECT_EQ(label(*it), "apple");
    // Definitions in ascending origin (priority) order.
    EXPECT_EQ(definitionTexts(*it), (std::vector<std::string>{"pomme A", "pomme B", "pomme C"}));

    ++it;   // one step passes the apple of all three
    EXPECT_EQ(label(*it), "cat");
    EXPECT_EQ(definitionTexts(*it), (std::vector<std::string>{"chat A", "chat C"}));
    ++it;
    EXPECT_EQ(label(*it), "dog");
    EXPECT_EQ(definitionTexts(*it), (std::vector<std::string>{"chien C"}));
    ++it;
    EXPECT_TRUE(it.isAtEnd());
    EXPECT_TRUE((*it).getHeadword().empty());
    ++it;   // stays at the end
    EXPECT_TRUE(it.isAtEnd());

    // And back, through the same merged terms.
    --it;
    EXPECT_EQ(label(*it), "dog");
    --it;
    EXPECT_EQ(definitionTexts(*it), (std::vector<std::string>{"chat A", "chat C"}));
    --it;
    EXPECT_EQ(definitionTexts(*it), (std::vector<std::string>{"pomme A", "pomme B", "pomme C"}));
    EXPECT_TRUE(it.isAtBeginning());

    // Postfix forms answer the old position.
    LXDMIterator old = it++;
    EXPECT_EQ(label(*old), "apple");
    EXPECT_EQ(label(*it), "cat");
    old = it--;
    EXPECT_EQ(label(*old), "cat");
    EXPECT_EQ(label(*it), "apple");
}

TEST_F(LXDManagerTest, StepBackFromTheFirstTermOfEveryModuleStaysThere)
{
    add({term(LXEnglish, "bee", {"abeille"}), term(LXEnglish, "cow", {"vache"})}, "first-a", 1);
    add({term(LXEnglish, "ant", {"fourmi"}), term(LXEnglish, "bee", {"abeille 2"})}, "first-b", 2);
    LXDMIterator it;
    set.begin(LXEnglish, LXFrench, 10, it);
    EXPECT_EQ(label(*it), "ant");
    uint32_t position = it.getPosition(), offset = it.getTermOffset();
    EXPECT_TRUE(it.isAtBeginning());
    --it;
    EXPECT_EQ(label(*it), "ant");
    EXPECT_EQ(it.getPosition(), position);
    EXPECT_EQ(it.getTermOffset(), offset);

    // One module at its first term, the other not: stepping back moves only the other.
    ++it;
    EXPECT_EQ(label(*it), "bee");
    EXPECT_EQ(definitionTexts(*it), (std::vector<std::string>{"abeille", "abeille 2"}));
    EXPECT_FALSE(it.isAtBeginning());
    --it;
    EXPECT_EQ(label(*it), "ant");
    ++it;
    EXPECT_EQ(definitionTexts(*it), (std::vector<std::string>{"abeille", "abeille 2"}));

    // An empty iterator: at its end and (vacuously) at its beginning; steps do nothing.
    LXDMIterator none;
    EXPECT_TRUE(none.isAtEnd());
    EXPECT_TRUE(none.isAtBeginning());
    EXPECT_FALSE(none.isAtFirstTermOfHeadword());
    --none;
    ++none;
    none.move(1, 2);
    EXPECT_TRUE(none.isAtEnd());
    EXPECT_EQ(none.getLXD(), nullptr);
}

// Random overlapping modules: the merged walk forwards equals the sorted union of their
// terms, and the walk backwards is its mirror.
TEST_F(LXDManagerTest, WalksForwardsAndBackwardsThroughTheSortedUnionOfThreeModules)
{
    std::mt19937 rng(20261210);
    const std::vector<std::string> stems = {"ab", "Ab", "abc", "ace", "bä", "ba", "bar", "Bar", "café", "cafe",
                                            "dé", "de", "ice", "Ice", "zo", "zoé", "straße"};
    const std::vector<std::pair<std::string, uint32_t>> parts = {{"", 1}, {"n.", 3}, {"v.", 6}};
    std::vector<std::vector<LXTerm>> modules(3);
    std::vector<LXTerm> all;
    for (int i = 0; i < 360; ++i) {
        std::string head = stems[rng() % stems.size()] + std::to_string(rng() % 40);
        if (rng() % 5 == 0)
            head += " " + stems[rng() % stems.size()];
        if (rng() % 7 == 0)
            head = "the " + head;   // a stop word before the key
        auto pos = parts[rng() % parts.size()];
        LXTerm t = term(LXEnglish, head, {"t" + std::to_string(i)}, pos.first, pos.second);
        t.setSearchKey(tokenizer->searchKey(t.getHeadword(), LXEnglish));
        t.setTranslationLanguage(LXFrench);
        size_t m = rng() % 3;
        bool dup = false;
        for (const LXTerm &o : modules[m])
            dup = dup || o == t;
        if (dup)
            continue;   // one module holds a term once
        modules[m].push_back(t);
        all.push_back(t);
        if (rng() % 3 == 0) {   // the same term in another module
            size_t n = (m + 1) % 3;
            bool dup2 = false;
            for (const LXTerm &o : modules[n])
                dup2 = dup2 || o == t;
            if (!dup2)
                modules[n].push_back(t);
        }
    }
    for (int m = 0; m < 3; ++m)
        add(modules[m], "walk-" + std::to_string(m), uint32_t(m + 1));

    // The oracle: the distinct terms. Keys that collate as equal but differ in their text
    // (straße, strasse) are left out: such records follow in the writer's order, which
    // the term order does not decide. The walk must be in term order and hold exactly the
    // distinct terms.
    std::vector<std::string> expected;
    for (size_t i = 0; i < all.size(); ++i) {
        bool seen = false;
        for (size_t j = 0; j < i && !seen; ++j)
            seen = all[j] == all[i];
        if (!seen)
            expected.push_back(label(all[i]));
    }
    std::sort(expected.begin(), expected.end());

    LXDMIterator it;
    set.begin(LXEnglish, LXFrench, 10, it);
    std::vector<std::string> forward;
    LXTerm previous;
    for (int guard = 0; !it.isAtEnd() && guard < 100000; ++guard, ++it) {
        if (!forward.empty()) {
            EXPECT_FALSE(*it < previous) << label(*it) << " after " << label(previous);
        }
        previous = *it;
        forward.push_back(label(*it));
    }
    std::vector<std::string> sortedForward = forward;
    std::sort(sortedForward.begin(), sortedForward.end());
    EXPECT_EQ(sortedForward, expected);

    set.end(LXEnglish, LXFrench, 10, it);
    EXPECT_TRUE(it.isAtEnd());
    std::vector<std::string> backward;
    for (int guard = 0; guard < 100000 && !it.isAtBeginning(); ++guard) {
        --it;
        backward.push_back(label(*it));
    }
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, forward);

    // Positions stay within the summed ranges.
    set.begin(LXEnglish, LXFrench, 10, it);
    EXPECT_EQ(it.getPosition(), it.getMinPosition());
    set.end(LXEnglish, LXFrench, 10, it);
    EXPECT_EQ(it.getPosition(), it.getMaxPosition());
}

TEST_F(LXDManagerTest, HeadwordBoundariesAndStepForwardAcrossModules)
{
    add({term(LXEnglish, "run", {"courir"}, "v.", 6), term(LXEnglish, "run", {"course"}, "n.", 3),
         term(LXEnglish, "sun", {"soleil"})},
        "heads-a", 1);
    add({term(LXEnglish, "run", {"manche"}, "n.", 3), term(LXEnglish, "run away", {"s'enfuir"}),
         term(LXEnglish, "tan", {"bronzer"})},
        "heads-b", 2);
    LXDMIterator it;
    set.find(u8("run"), LXEnglish, LXFrench, 10, it);
    // Term order under one key: single words first, then by part-of-speech code.
    EXPECT_EQ(label(*it), "run [n.]");
    EXPECT_EQ(definitionTexts(*it), (std::vector<std::string>{"course", "manche"}));
    EXPECT_TRUE(it.isAtFirstTermOfHeadword());
    EXPECT_FALSE(it.isAtLastTermOfHeadword());
    ++it;
    EXPECT_EQ(label(*it), "run [v.]");
    EXPECT_FALSE(it.isAtFirstTermOfHeadword());
    EXPECT_FALSE(it.isAtLastTermOfHeadword());   // "run away" of the other module follows
    ++it;
    EXPECT_EQ(label(*it), "run away");
    EXPECT_TRUE(it.isAtLastTermOfHeadword());

    set.find(u8("run"), LXEnglish, LXFrench, 10, it);
    it.stepForward();   // past every run term of both modules
    EXPECT_EQ(label(*it), "sun");
    EXPECT_TRUE(it.isAtFirstTermOfHeadword());
    EXPECT_TRUE(it.isAtLastTermOfHeadword());
    it.stepForward();
    EXPECT_EQ(label(*it), "tan");
    it.stepForward();
    EXPECT_TRUE(it.isAtEnd());
}

TEST_F(LXDManagerTest, FindPrefersTheExactKeyAmongCaseAndAccentVariants)
{
    add({term(LXEnglish, "Abc", {"1"}), term(LXEnglish, "abc", {"2"}), term(LXEnglish, "abd", {"3"}),
         term(LXEnglish, "résumé", {"4"}), term(LXEnglish, "resume", {"5"}), term(LXEnglish, "Resume", {"6"}),
         term(LXEnglish, "zebra", {"7"})},
        "variants");
    struct Case {
        const char *text;
        const char *found;
    } cases[] = {
        {"abc", "abc"},       {"Abc", "Abc"},       {"ABC", "Abc"},   // no exact key: the first variant
        {"résumé", "résumé"}, {"Resume", "Resume"}, {"resume", "resume"},
        {"abca", "abd"},      {"a", "Abc"},         {"", "Abc"},      // insertion point, empty text = begin
    };
    for (const Case &c : cases) {
        LXDMIterator it;
        set.find(u8(c.text), LXEnglish, LXFrench, 10, it);
        ASSERT_FALSE(it.isAtEnd()) << c.text;
        EXPECT_EQ(label(*it), c.found) << c.text;
    }
    LXDMIterator it;
    set.find(u8("zz"), LXEnglish, LXFrench, 10, it);
    EXPECT_TRUE(it.isAtEnd());
    --it;   // the end steps back to the last term
    EXPECT_EQ(label(*it), "zebra");
}

TEST_F(LXDManagerTest, MultiWordSearchFindsTheExpressionUnderItsKey)
{
    add({term(LXEnglish, "ice", {"glace"}), term(LXEnglish, "ice age", {"ère glaciaire"}),
         term(LXEnglish, "ice cream", {"crème glacée"}, "n.", 3), term(LXEnglish, "ice hockey", {"hockey"}),
         term(LXEnglish, "iceberg", {"iceberg"}), term(LXEnglish, "to break the ice", {"briser la glace"}),
         term(LXEnglish, "to go", {"aller"}), term(LXEnglish, "go", {"aller 2"})},
        "expressions");
    struct Case {
        const char *text;
        const char *found;
    } cases[] = {
        {"ice cream", "ice cream [n.]"},   // contains the searched headword
        {"ICE CREAM", "ice cream [n.]"},   // the folded expression
        {"ice box", "ice hockey"},         // the first whose tail sorts after "ICE BOX"
        {"ice zzz", "ice"},                // nothing fits: the start position
        {"to go", "to go"},                // under the key "go"
    };
    for (const Case &c : cases) {
        LXDMIterator it;
        set.find(u8(c.text), LXEnglish, LXFrench, 10, it);
        ASSERT_FALSE(it.isAtEnd()) << c.text;
        EXPECT_EQ(label(*it), c.found) << c.text;
    }

    // A term asking for a part of speech skips an expression of another.
    LXTerm wanted = term(LXEnglish, "ice cream", {}, "v.", 6);
    wanted.setTranslationLanguage(LXFrench);
    wanted.setSearchKey(u8("ice"));
    LXDMIterator it;
    set.find(wanted, 10, it);
    EXPECT_EQ(label(*it), "ice cream [n.]");   // only the folded containment remains
}

TEST_F(LXDManagerTest, MoveGoesToTheProportionalRecord)
{
    std::vector<LXTerm> terms;
    for (int i = 0; i < 200; ++i)
        terms.push_back(term(LXEnglish, "w" + std::to_string(1000 + i), {"x"}));
    LXD *d = add(terms, "move");
    LXDMIterator it;
    set.begin(LXEnglish, LXFrench, 10, it);
    // Record starts of the direction, by walking it.
    std::vector<uint32_t> records;
    for (LXDMIterator w = it; !w.isAtEnd(); w.stepForward())
        records.push_back(w.getPosition());
    ASSERT_EQ(records.size(), 200u);
    uint32_t start = it.getMinPosition(), end = it.getMaxPosition();

    struct Case {
        uint32_t n, d;
    } cases[] = {{1, 2}, {0, 1}, {1, 3}, {2, 3}, {99, 100}, {1, 1000}};
    for (const Case &c : cases) {
        LXDMIterator m = it;
        m.move(c.n, c.d);
        uint32_t target = start + uint32_t(uint64_t(end - start) * c.n / c.d);
        uint32_t expected = *(std::upper_bound(records.begin(), records.end(), target) - 1);
        EXPECT_EQ(m.getPosition(), expected) << c.n << "/" << c.d;
        EXPECT_TRUE(m.isAtFirstTermOfHeadword());
    }
    LXDMIterator m = it;
    m.move(1, 2);
    EXPECT_NEAR(double(m.getPosition() - start), double(end - start) / 2, double(end - start) / 100);

    // The whole range: at the end, stepped back to the last term; a zero denominator: nothing.
    m.move(1, 1);
    EXPECT_FALSE(m.isAtEnd());
    EXPECT_EQ(label(*m), "w1199");
    m = it;
    ++m;
    m.move(1, 0);
    EXPECT_EQ(label(*m), "w1001");
    EXPECT_EQ(it.getLXD(), d);
}

TEST_F(LXDManagerTest, MoveWithSeveralModulesPositionsTheOthersOnTheTerm)
{
    std::vector<LXTerm> big, small;
    for (int i = 0; i < 100; ++i)
        big.push_back(term(LXEnglish, "k" + std::to_string(100 + i), {"big"}));
    for (int i = 0; i < 100; i += 10)
        small.push_back(term(LXEnglish, "k" + std::to_string(100 + i), {"small"}));
    add(small, "move-small", 1);
    add(big, "move-big", 2);
    LXDMIterator it;
    set.begin(LXEnglish, LXFrench, 10, it);
    it.move(1, 2);
    ASSERT_FALSE(it.isAtEnd());
    std::string here = label(*it);
    int n = std::stoi(here.substr(1));
    EXPECT_NEAR(n, 150, 3);
    // The walk from here shows every later term once, merged where both hold it.
    std::vector<std::string> rest = walkForward(it);
    ASSERT_EQ(rest.size(), size_t(200 - n));
    for (LXDMIterator w = it; !w.isAtEnd(); ++w) {
        int k = std::stoi(label(*w).substr(1));
        EXPECT_EQ((*w).getDefinitions().size(), k % 10 == 0 ? 2u : 1u) << k;
    }
}

TEST_F(LXDManagerTest, SearchesCloseTheFilesOfOtherPairsAndSkipOtherProducts)
{
    ModuleContents de;
    de.terms = {term(LXEnglish, "dog", {"Hund"})};
    de.language2 = LXGerman;
    LXD *german = add(de, "pair-de");
    ModuleContents p2;
    p2.terms = {term(LXEnglish, "dog", {"chien 2"})};
    p2.product = 2;
    add(p2, "product-2");
    ModuleContents p3;
    p3.terms = {term(LXEnglish, "dog", {"chien 3"})};
    p3.product = 3;
    LXD *three = add(p3, "product-3");
    ModuleContents p0;
    p0.terms = {term(LXEnglish, "dog", {"chien 0"})};
    p0.product = 0;
    add(p0, "product-0");

    LXDMIterator it;
    set.find(u8("dog"), LXGerman, LXEnglish, 10, it);   // the search language comes first
    EXPECT_TRUE(it.isAtEnd());                          // no German headwords
    set.find(u8("dog"), LXEnglish, LXGerman, 10, it);
    EXPECT_EQ(definitionTexts(*it), (std::vector<std::string>{"Hund"}));
    EXPECT_TRUE(german->isOpen());

    set.find(u8("dog"), LXEnglish, LXFrench, 0, it);    // products 0 and 2 together
    EXPECT_EQ(it.getIterators().size(), 2u);
    EXPECT_EQ((*it).getDefinitions().size(), 2u);
    EXPECT_FALSE(german->isOpen());
    EXPECT_FALSE(three->isOpen());

    set.closeModules(LXFrench, LXEnglish, 2);
    for (uint32_t i = 0; i < set.size(); ++i)
        EXPECT_FALSE(set[i]->isOpen()) << i;
    // A closed module reopens on the next step.
    ++it;
    EXPECT_TRUE(it.isAtEnd());
    set.find(u8("dog"), LXEnglish, LXFrench, 3, it);
    EXPECT_TRUE(three->isOpen());
    set.closeAll();
    EXPECT_FALSE(three->isOpen());
}

TEST_F(LXDManagerTest, UserDefinitionsAreModifiable)
{
    add({term(LXEnglish, "cat", {"chat"})}, "published", 5);
    add({term(LXEnglish, "cat", {"minou", "matou"})}, "own", 100);   // origin 100: the user's
    LXDMIterator it;
    set.find(u8("cat"), LXEnglish, LXFrench, 10, it);
    ASSERT_EQ((*it).getDefinitions().size(), 3u);
    struct Case {
        int32_t n;
        bool modifiable;
    } cases[] = {{0, false}, {1, false}, {2, true}, {3, true}, {4, false}, {-1, false}};
    for (const Case &c : cases)
        EXPECT_EQ(it.isDefinitionModifiable(c.n), c.modifiable) << c.n;

    set.clear();
    add({term(LXEnglish, "cat", {"minou"})}, "own-only", 100);
    set.find(u8("cat"), LXEnglish, LXFrench, 10, it);
    EXPECT_TRUE(it.isDefinitionModifiable(0));   // 0 asks about the first definition
    EXPECT_FALSE(it.deleteDefinition(1));        // no user-additions module among them
}

// ---------------------------------------------------------------------------------------
// Regular-expression search

class LXDMRegexTest : public LXDManagerTest {
protected:
    void SetUp() override
    {
        LXDManagerTest::SetUp();
        add({term(LXEnglish, "abbey", {"abbaye"}), term(LXEnglish, "abbot", {"abbé"}),
             term(LXEnglish, "able", {"capable"}), term(LXEnglish, "about", {"environ"}),
             term(LXEnglish, "abstract art", {"art abstrait"}), term(LXEnglish, "cab", {"taxi"}),
             term(LXEnglish, "tab", {"onglet"}), term(LXEnglish, "taxi cab", {"taxi"}),
             term(LXEnglish, "kebab shop", {"kebab"}), term(LXEnglish, "Café", {"bistrot"}),
             term(LXEnglish, "café", {"café"}), term(LXEnglish, "résumé", {"curriculum"}),
             term(LXEnglish, "resume", {"reprendre"}), term(LXEnglish, "jazz", {"jazz"}),
             term(LXEnglish, "jazzy", {"jazzy"}), term(LXEnglish, "jay", {"geai"}),
             term(LXEnglish, "zoo", {"jardin zoologique"}), term(LXEnglish, "zzz", {"ronflement"}),
             term(LXEnglish, "a cappella", {"a cappella"})},
            "regex");
    }

    // Headwords the search accepts, with each option set as given.
    std::vector<std::string> matches(const std::string &pattern, LXDMRegexOptions o = LXDMRegexOptions())
    {
        LXDMIterator it;
        std::vector<std::string> out;
        if (!set.initRegex(u8(pattern), LXEnglish, LXFrench, 10, o, it))
            return {"<refused>"};
        for (; !it.isAtEnd(); ++it) {
            if (it.isRegexMatch())
                out.push_back(text((*it).getHeadword()));
        }
        return out;
    }
};

TEST_F(LXDMRegexTest, WholeWordWildcardPatternIsRewrittenAndRestrictedToItsPrefix)
{
    LXDMIterator it;
    ASSERT_TRUE(set.initRegex(u8("ab*"), LXEnglish, LXFrench, 10, LXDMRegexOptions(), it));
    EXPECT_TRUE(it.usingRegex());
    EXPECT_EQ(text(it.getRegexExpression()), "(\\<|^)ab[^ ]*(\\>|$)");
    EXPECT_TRUE(it.isPrefixRestricted());
    EXPECT_EQ(text(it.getRegexPrefix()), "AB");
    EXPECT_EQ(text(it.getRegexBound()), "ac");
    // The iterator walks only the keys from "AB" up to "ac".
    std::vector<std::string> walked = walkForward(it);
    EXPECT_EQ(walked, (std::vector<std::string>{"abbey", "abbot", "able", "about", "abstract art"}));
    EXPECT_EQ(matches("ab*"), walked);
    EXPECT_EQ(matches("^\\<ab*"), walked);   // leading anchors do not hide the prefix

    struct Case {
        const char *pattern;
        const char *expression;
        const char *prefix;
        const char *bound;
    } cases[] = {
        {"ab?ey", "(\\<|^)ab[^ ]ey(\\>|$)", "AB", "ac"},
        {"a+", "(\\<|^)a[^ ]+(\\>|$)", "A", "b"},
        {"jaz*", "(\\<|^)jaz[^ ]*(\\>|$)", "JAZ", "jb"},   // a last z carries to the letter before
        {"zz*", "(\\<|^)zz[^ ]*(\\>|$)", "ZZ", ""},         // all z: to the end of the direction
        {"Résu*", "(\\<|^)Resu[^ ]*(\\>|$)", "RESU", "resv"},
        {"a\\.b", "(\\<|^)a\\.b(\\>|$)", "A", "b"},          // an escaped dot stays a dot
        {"[.]x", "(\\<|^)[.]x(\\>|$)", "", ""},
        {"*ab", "(\\<|^)[^ ]*ab(\\>|$)", "", ""},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(set.initRegex(u8(c.pattern), LXEnglish, LXFrench, 10, LXDMRegexOptions(), it)) << c.pattern;
        EXPECT_EQ(text(it.getRegexExpression()), c.expression) << c.pattern;
        EXPECT_EQ(text(it.getRegexPrefix()), c.prefix) << c.pattern;
        EXPECT_EQ(text(it.getRegexBound()), c.bound) << c.pattern;
        EXPECT_EQ(it.isPrefixRestricted(), *c.prefix != 0) << c.pattern;
    }
}

TEST_F(LXDMRegexTest, MatchesFollowTheOptions)
{
    LXDMRegexOptions plain;   // no wildcards, no whole words, accents and case as typed
    plain.posixSyntax = 1;
    plain.wholeWords = 0;
    plain.ignoreAccents = 0;
    LXDMRegexOptions posixWords = plain;
    posixWords.wholeWords = 1;
    LXDMRegexOptions caseSensitive = plain;
    caseSensitive.matchCase = 1;
    caseSensitive.ignoreAccents = 1;
    LXDMRegexOptions definitions;
    definitions.searchDefinitions = 1;
    LXDMRegexOptions noWords;
    noWords.wholeWords = 0;

    struct Case {
        const char *pattern;
        LXDMRegexOptions options;
        std::vector<std::string> expected;
    } cases[] = {
        {"jaz*", LXDMRegexOptions(), {"jazz", "jazzy"}},
        {"ja?", LXDMRegexOptions(), {"jay"}},                       // one character, whole word
        {"zz*", LXDMRegexOptions(), {"zzz"}},
        {"*ab", LXDMRegexOptions(), {"cab", "kebab shop", "tab"}},  // not "taxi cab": its key is "taxi"
        {"*ab", definitions, {"cab", "kebab shop", "tab"}},
        {"*axi", definitions, {"cab", "taxi cab"}},                 // by definition; the headword's key
        {"resume", LXDMRegexOptions(), {"résumé", "resume"}},       // accents ignored
        {"résumé", LXDMRegexOptions(), {"résumé", "resume"}},
        {"résumé", plain, {"résumé"}},
        {"resume", plain, {"resume"}},
        {"Caf", caseSensitive, {"Café"}},
        {"caf", caseSensitive, {"café"}},
        {"CAF", plain, {"Café", "café"}},
        {"ab+ey", plain, {"abbey"}},                                // POSIX: + is a quantifier
        {"ab*ey", posixWords, {"abbey"}},                           // prefix "A" only
        {"cab|jay", posixWords, {"cab", "jay"}},                    // an alternation: no prefix
        {"ca", noWords, {"Café", "café", "a cappella", "cab"}},     // inside a word; key "cappella"
        {"ppel", noWords, {"a cappella"}},
        {"b$", noWords, {"cab", "tab"}},
    };
    for (const Case &c : cases) {
        std::vector<std::string> got = matches(c.pattern, c.options);
        std::vector<std::string> want = c.expected;
        std::sort(got.begin(), got.end());
        std::sort(want.begin(), want.end());
        EXPECT_EQ(got, want) << c.pattern;
    }
}

TEST_F(LXDMRegexTest, MatchStateCopiesAndRefusals)
{
    LXDMRegexOptions definitions;
    definitions.searchDefinitions = 1;
    LXDMIterator it;
    ASSERT_TRUE(set.initRegex(u8("*axi"), LXEnglish, LXFrench, 10, definitions, it));
    while (!it.isAtEnd() && text((*it).getHeadword()) != "cab")
        ++it;
    ASSERT_TRUE(it.isRegexMatch());
    EXPECT_FALSE(it.lastMatchWasOnHeadword());
    EXPECT_EQ(it.getMatchStart(), 0u);
    EXPECT_EQ(it.getMatchEnd(), 4u);

    // A copy is compiled again and matches alike, also after the original is gone.
    std::unique_ptr<LXDMIterator> original(new LXDMIterator(it));
    LXDMIterator copy;
    copy = *original;
    original.reset();
    EXPECT_TRUE(copy.usingRegex());
    EXPECT_TRUE(copy.isRegexMatch());
    ++copy;
    EXPECT_FALSE(copy.isAtEnd());

    LXDMRegexOptions posix;
    posix.posixSyntax = 1;
    for (const char *bad : {"(ab", "[a", "a)("}) {
        EXPECT_FALSE(set.initRegex(u8(bad), LXEnglish, LXFrench, 10, posix, it)) << bad;
        EXPECT_FALSE(it.usingRegex()) << bad;
        EXPECT_FALSE(it.isRegexMatch()) << bad;
        LXDMIterator c(it);
        EXPECT_FALSE(c.isRegexMatch()) << bad;
    }
    // An empty pattern clears the iterator.
    EXPECT_FALSE(set.initRegex(u8(""), LXEnglish, LXFrench, 10, LXDMRegexOptions(), it));
    EXPECT_TRUE(it.getIterators().empty());
    EXPECT_TRUE(it.isAtEnd());
    // An iterator without a search never matches.
    set.begin(LXEnglish, LXFrench, 10, it);
    EXPECT_FALSE(it.usingRegex());
    EXPECT_FALSE(it.isRegexMatch());
}

} // namespace
