#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/lxterm.h"
#include "testing/lxtest_text.h"

namespace {

LXTerm term(const char *headword, const char *key, const char *pos = "", uint32_t posCode = 1)
{
    LXTerm t;
    t.setLanguage(LXEnglish);
    t.setTranslationLanguage(LXFrench);
    t.setHeadword(u8(headword));
    t.setSearchKey(u8(key));
    t.setPartOfSpeechName(u8(pos));
    t.setPartOfSpeechCode(posCode);
    return t;
}

LXDefinition definition(const char *text, uint32_t origin, const char *pos = "")
{
    LXDefinition d;
    d.setText(u8(text));
    d.setOriginNumber(origin);
    d.setPartOfSpeechName(u8(pos));
    return d;
}

std::vector<std::string> definitionTexts(const LXTerm &t)
{
    std::vector<std::string> out;
    for (LXList<LXDefinition>::const_iterator d = t.getDefinitions().begin(); !d.isAtEnd(); ++d)
        out.push_back(text(d->getText()));
    return out;
}

TEST(LXTerm, NewAndClearedValues)
{
    LXTerm t = term("run", "run", "v", 6);
    t.addFeature(LXFeaturePronunciation, u8("rʌn"));
    t.addDefinition(definition("courir", 5));
    t.clear();
    EXPECT_EQ(t.getLanguage(), LXLanguageNone);
    EXPECT_EQ(t.getPartOfSpeechCode(), 1u);
    EXPECT_TRUE(t.getHeadword().empty());
    EXPECT_TRUE(t.getFeatures().empty());
    EXPECT_TRUE(t.getDefinitions().empty());
    EXPECT_EQ(LXTerm().getPartOfSpeechCode(), 1u);

    LXDefinition d = definition("x", 7, "n");
    d.setPartOfSpeechCode(3);
    d.addFeature(LXFeatureLabel, u8("jur."));
    d.clear();
    EXPECT_EQ(d.getPartOfSpeechCode(), 0u);
    EXPECT_EQ(d.getOriginNumber(), 1u);
    EXPECT_TRUE(d.getFeatures().empty());
    EXPECT_EQ(LXDefinition().getOriginNumber(), 1u);
}

TEST(LXTerm, EqualityIgnoresCodeAndLists)
{
    LXTerm a = term("run", "run", "v", 6), b = term("run", "run", "v", 2);
    a.addDefinition(definition("courir", 1));
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(a.canBeMergedWith(b));
    LXTerm c = term("run", "run", "n", 2);
    EXPECT_TRUE(a != c);
    EXPECT_FALSE(a.canBeMergedWith(c));
    // Exact text: collation-equal spellings are different terms.
    EXPECT_FALSE(term("Straße", "Straße") == term("Strasse", "Strasse"));
    EXPECT_FALSE(term("Run", "Run") == term("run", "run"));
    LXTerm d = b;
    d.setTranslationLanguage(LXGerman);
    EXPECT_FALSE(b == d);
}

TEST(LXTerm, OrderOfStoredTerms)
{
    // Each term of the list sorts before the next one.
    LXTerm byLanguage = term("zoo", "zoo");
    byLanguage.setLanguage(LXLanguageNone);
    std::vector<LXTerm> ordered = {
        byLanguage,
        term("able", "able"),
        term("run", "run", "v", 2),        // single word, lower part-of-speech code
        term("Run", "run", "n", 6),         // same code: headword decides, capital first
        term("run", "run", "n", 6),
        term("to run", "run", "", 1),      // expressions after single words, whatever the code
        term("zoo", "zoo"),
    };
    for (size_t i = 0; i + 1 < ordered.size(); ++i) {
        EXPECT_TRUE(ordered[i] < ordered[i + 1]) << i;
        EXPECT_FALSE(ordered[i + 1] < ordered[i]) << i;
        EXPECT_TRUE(ordered[i] <= ordered[i + 1]) << i;
    }
    EXPECT_TRUE(term("x", "x") <= term("x", "x"));
    // Same headword and key, different names: the lower code first.
    EXPECT_TRUE(term("fast", "fast", "adv", 4) < term("fast", "fast", "adj", 5));
    EXPECT_FALSE(term("fast", "fast", "adj", 5) < term("fast", "fast", "adv", 4));
}

TEST(LXTerm, SortedListInsertionKeepsOneOfEqualTerms)
{
    LXList<LXTerm> list;
    EXPECT_TRUE(list.insert(term("zoo", "zoo")));
    EXPECT_TRUE(list.insert(term("able", "able")));
    EXPECT_TRUE(list.insert(term("run", "run")));
    EXPECT_FALSE(list.insert(term("run", "run")));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(text(list[0].getHeadword()), "able");
    EXPECT_EQ(text(list[1].getHeadword()), "run");
    EXPECT_EQ(text(list[2].getHeadword()), "zoo");
}

TEST(LXTerm, MergeKeepsDefinitionsInOriginOrder)
{
    LXTerm t = term("run", "run");
    t.addDefinition(definition("five", 5));
    t.addDefinition(definition("hundred", 100));
    LXTerm other = term("run", "run");
    other.addDefinition(definition("one", 1));
    other.addDefinition(definition("last", 100));
    other.addDefinition(definition("six", 6));
    t.merge(other);
    EXPECT_EQ(definitionTexts(t), (std::vector<std::string>{"one", "five", "six", "hundred", "last"}));
}

TEST(LXTerm, MergeAbsorbsEqualDefinitionsAndFeatures)
{
    LXTerm a = term("run", "run");
    a.addFeature(LXFeaturePronunciation, u8("rʌn"));
    LXDefinition da = definition("courir", 1, "v");
    da.addFeature(LXFeatureLabel, u8("sport"));
    a.addDefinition(da);

    LXTerm b = term("run", "run");
    b.addFeature(LXFeaturePronunciation, u8("rʌn"));        // already there
    b.addFeature(LXFeatureSynonyms, u8("sprint"));
    LXDefinition db = definition("courir", 2, "v");
    db.addFeature(LXFeatureLabel, u8("sport"));     // already there
    db.addFeature(LXFeatureLabel, u8("fam."));
    b.addDefinition(db);
    b.addDefinition(definition("courir", 2, "n"));   // other part of speech: a new definition
    b.addDefinition(definition("filer", 3, "v"));

    a.merge(b);
    EXPECT_EQ(definitionTexts(a), (std::vector<std::string>{"courir", "courir", "filer"}));
    ASSERT_EQ(a.getFeatures().size(), 2u);
    const LXDefinition &first = a.getDefinitions()[0];
    ASSERT_EQ(first.getFeatures().size(), 2u);
    EXPECT_EQ(text(first.getFeatures()[1].second), "fam.");
    EXPECT_EQ(first.getOriginNumber(), 1u);
    EXPECT_EQ(text(a.getDefinitions()[1].getPartOfSpeechName()), "n");

    lxstring f;
    EXPECT_TRUE(a.getFeature(LXFeatureSynonyms, f));
    EXPECT_EQ(text(f), "sprint");
    EXPECT_FALSE(a.getFeature(99, f));
    EXPECT_TRUE(f.empty());
}

TEST(LXTerm, PrintShowsLanguagesTagsAndDefinitions)
{
    LXTerm t = term("to run", "run", "v", 6);
    t.addFeature(11, u8("rʌn"));
    t.addFeature(40, u8("odd"));
    LXDefinition d = definition("courir", 1, "v");
    d.setPartOfSpeechCode(6);
    d.addFeature(26, u8("sport"));
    t.addDefinition(d);
    std::ostringstream os;
    t.print(os);
    EXPECT_EQ(os.str(), "[en-->fr] to run <run> [v:6] (pron: rʌn) (?!: odd)\n"
                        "    courir [v:6] (dom: sport)\n");
    EXPECT_STREQ(lx_featureTag(0), "!");
    EXPECT_STREQ(lx_featureTag(29), "ddia");
    EXPECT_STREQ(lx_featureTag(30), "?!");
}

TEST(LXModuleType, EqualByLanguagesAndProduct)
{
    LXModuleType a, b;
    EXPECT_TRUE(a.path.empty());
    a.language1 = b.language1 = LXEnglish;
    a.language2 = b.language2 = LXFrench;
    a.product = b.product = 10;
    a.moduleVersion = 1;
    b.moduleVersion = 2;
    b.path = u8("x.lxd");
    EXPECT_TRUE(a == b);
    b.product = 2;
    EXPECT_TRUE(a != b);
}

} // namespace
