// The stem finder over small modules with a scripted conjugation engine: which headwords a
// word leads to, in which order, and what it asks the engine.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "search/tests/lxstem_fixture.h"

using namespace lxstems;

namespace {

TEST_F(StemFinderTest, HeadwordsFoundThroughTheWordAndItsCandidates)
{
    script.verbs["mangeons"] = {{"manger", 6}};
    script.verbs["porte"] = {{"porter", 6}};
    script.verbs["manger"] = {{"manger", 6}};
    script.models["mises"] = {{"mettre", 6}};
    script.verbs["mises"] = {{"mise", 2}};
    script.verbs["allons"] = {{"aller", 6}};
    script.verbs["prises"] = {{"prendre", 6}, {"prise", 2}};
    struct Case {
        const char *word;
        Labels expected;
    } cases[] = {
        {"mangeons", {"manger [v]"}},
        // The word itself first, then what it leads to.
        {"porte", {"porte [n]", "porter [v]"}},
        {"PORTÉ", {"porte [n]"}},
        // Reached directly and through a verb: listed once.
        {"manger", {"manger [v]"}},
        // A headword the word begins with goes before those it does not hold.
        {"mises", {"mise [n]", "mettre [v]"}},
        // Only a headword of the candidate's part of speech counts ("aller" the noun does not).
        {"allons", {"aller [v]"}},
        // A headword without a part of speech is no base form.
        {"prises", {"prendre [v]"}},
        {"inconnu", {}},
        {"   ", {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(stems(c.word), c.expected) << c.word;
}

TEST_F(StemFinderTest, TheWordsOwnEntries)
{
    // A term of feature 38 ends the scan of the word's own entries: "vol" the adverb,
    // after it, is not listed; the expressions under the key are not either.
    EXPECT_EQ(stems("vol"), (Labels{"vol [n]"}));
    // Expressions under a key are listed, unless they carry feature 85 and something came before.
    EXPECT_EQ(stems("chat"), (Labels{"chat [n]", "chat perché [n]"}));
    // A headword's raising codes are not part of its base form.
    LXStemResults results;
    dm->getStems(results, u8("premier"), LXFrench, LXEnglish, 10, 1);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(text((*results.begin()).first.base), "premier");
    EXPECT_EQ((*results.begin()).first.tense, LXNoTense);
    EXPECT_EQ((*results.begin()).first.source, LXStemFromModels);
    EXPECT_EQ(text((*results.begin()).first.word), "PREMIER");
}

TEST_F(StemFinderTest, AnExpressionIsOnlyItself)
{
    EXPECT_EQ(stems("pomme de terre"), (Labels{"pomme de terre [n]"}));
    EXPECT_EQ(stems(" Pomme de Terre "), (Labels{"pomme de terre [n]"}));
    EXPECT_EQ(stems("pommes de terre"), (Labels{}));
    EXPECT_TRUE(script.asked.empty());   // the engine is not asked about expressions
}

TEST_F(StemFinderTest, TheIseVariantIsEnglishAndKeptOnlyWhenItIsAHeadword)
{
    struct Case {
        const char *word;
        LXLanguage language;
        Labels expected;
        const char *asked;   // the word the engine was asked about
    } cases[] = {
        {"realising", LXEnglish, {"realizing [v]"}, "realizing"},
        {"REALISING", LXEnglish, {"realizing [v]"}, "REALIZING"},
        // "organised" leads nowhere with a "z" either: the word stays as typed.
        {"organised", LXEnglish, {}, "organised"},
        // Never in another language: "prises" stays "prises" and finds prendre.
        {"prises", LXFrench, {"prendre [v]"}, "prises"},
    };
    script.verbs["prises"] = {{"prendre", 6}};
    for (const Case &c : cases) {
        script.asked.clear();
        EXPECT_EQ(stems(c.word, c.language), c.expected) << c.word;
        ASSERT_EQ(script.asked.size(), 1u) << c.word;
        EXPECT_EQ(script.asked[0], c.asked);
    }
    EXPECT_EQ(text(LXStemFinder::spellingVariant(u8("realise"))), "realize");
    EXPECT_EQ(text(LXStemFinder::spellingVariant(u8("realises"))), "realizes");
    EXPECT_EQ(text(LXStemFinder::spellingVariant(u8("REALISED"))), "REALIZED");
    EXPECT_EQ(text(LXStemFinder::spellingVariant(u8("rise"))), "rize");
    EXPECT_EQ(text(LXStemFinder::spellingVariant(u8("is"))), "is");
    EXPECT_EQ(text(LXStemFinder::spellingVariant(u8("house"))), "house");
}

TEST_F(StemFinderTest, WithoutAConjugationModuleTheResultsStayAsTheyWere)
{
    LXStemResults results;
    results.push_back(LXPair<LXStem, LXDMIterator>(LXStem(), LXDMIterator()));
    dm->getStems(results, u8("organize"), LXGerman, LXFrench, 10, 1);   // no German module
    EXPECT_EQ(results.size(), 1u);
    LXDataManager none;
    ASSERT_TRUE(none.init());
    none.getStems(results, u8("mangeons"), LXFrench, LXEnglish, 10, 1);
    EXPECT_EQ(results.size(), 1u);
}

} // namespace
