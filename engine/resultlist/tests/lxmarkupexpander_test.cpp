#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/lxterm.h"
#include "resultlist/lxmarkupexpander.h"

namespace {

lxstring u8(const std::string &s)
{
    return lxstring(s.c_str(), LXEncodingUtf8);
}

std::string str(const lxstring &s)
{
    lxstring c(s);
    c.setEncoding(LXEncodingUtf8);
    return std::string(c.c_str(), static_cast<size_t>(c.size()));
}

class Expander : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(e.init()); }

    std::string convert(const std::string &in)
    {
        lxstring out;
        e.convert(u8(in), out);
        return str(out);
    }

    std::string expand(const LXTerm &t, bool first = true, bool last = true, uint32_t flags = 1)
    {
        lxstring out;
        e.expandTerm(t, first, last, flags, out);
        return str(out);
    }

    static LXTerm term(const std::string &headword, LXLanguage from = LXEnglish, LXLanguage to = LXFrench)
    {
        LXTerm t;
        t.setLanguage(from);
        t.setTranslationLanguage(to);
        t.setHeadword(u8(headword));
        t.setSearchKey(u8(headword));
        return t;
    }

    static LXDefinition def(const std::string &text, uint32_t origin = 1)
    {
        LXDefinition d;
        d.setText(u8(text));
        d.setOriginNumber(origin);
        return d;
    }

    LXMarkupExpander e;
};

TEST_F(Expander, TableHoldsTheCodesAsStored)
{
    EXPECT_EQ(str(e.getOpening(1)), "\\SB\\Sb\\SS");
    EXPECT_EQ(str(e.getClosing(1)), "\\sS\\sb\\sB");
    // A range row: every code from 43 to 48 is italic, 49 has its plus sign.
    for (uint32_t c : {43u, 46u, 48u, 50u, 51u, 53u, 58u})
        EXPECT_EQ(str(e.getOpening(c)), "\\SI") << c;
    EXPECT_EQ(str(e.getOpening(49)), "+ \\SI");
    EXPECT_EQ(str(e.getClosing(59)), "\\Sy\xC2\xAE\\sy");
    EXPECT_EQ(str(e.getClosing(103)), "\\sL\\sb\n");
    EXPECT_TRUE(e.isDisplayCode(34));
    EXPECT_FALSE(e.isDisplayCode(39));
    EXPECT_TRUE(e.isDisplayCode(117 - 6));   // o
    // Unlisted codes and codes outside the table have empty markup.
    EXPECT_EQ(str(e.getOpening(3)), "");
    EXPECT_EQ(str(e.getOpening(118)), "");
    EXPECT_FALSE(e.isDisplayCode(500));
}

TEST_F(Expander, FinalConversion)
{
    struct Case {
        const char *in;
        const char *out;
    } cases[] = {
        {"a {b} c", "a \\SIb\\sI c"},
        {"\\F{x}", "\\F{x\\sI"},               // the brace right after \F stays
        {"\\M\x01word\\m\x01", "\\SB\\Sb\\SSword\\sS\\sb\\sB"},
        {"\\M{x", "\\M{x"},                     // code character above 117: copied with the backslash
        {"\\M\x7F", "\\M\x7F"},
        {"ends \\M", "ends \\M"},               // "\M" at the end
        {"a\\M;b\\m;", "a b\\Sy\xC2\xAE\\sy"},   // code 59 opens empty, after a blank
        {"\\SB{x}\\sB", "\\SB\\SIx\\sI\\sB"},
        {"back\\\\slash", "back\\\\slash"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(convert(c.in), c.out) << c.in;
    EXPECT_EQ(convert("a \\M;b\\m;"), "a b\\Sy\xC2\xAE\\sy");
}

TEST_F(Expander, WordMarking)
{
    struct Case {
        const char *in;
        const char *out;
    } cases[] = {
        {"two words", "\\SXtwo\\sX \\SXwords\\sX"},
        {"s'allumer", "\\SXs'allumer\\sX"},
        {"'quoted' 42nd -ism", "'\\SXquoted'\\sX 42\\SXnd\\sX -\\SXism\\sX"},
        {"a\\SBb\\sB", "\\SXa\\sX\\SB\\SXb\\sX\\sB"},
        {"x\\M\x01y", "\\SXx\\sX\\M\x01\\SXy\\sX"},
        {"\\", "\\"},
        {"", ""},
        {"caf\xC3\xA9!", "\\SXcaf\xC3\xA9\\sX!"},
    };
    for (const Case &c : cases) {
        lxstring out;
        LXMarkupExpander::markWords(u8(c.in), 'X', out);
        EXPECT_EQ(str(out), c.out) << c.in;
    }
}

TEST_F(Expander, HeadwordBlockAndDefinitions)
{
    LXTerm t = term("cat");
    t.addFeature(LXFeaturePronunciation, u8("k\xC3\xA6t"));
    t.addDefinition(def("chat"));
    t.addDefinition(def("matou"));
    EXPECT_EQ(expand(t),
              "\\TM\\F0\\SB\\Sb\\SS\\SWcat\\sW\\sS\\sb\\sB \\S-\\Sy\\SU/k\xC3\xA6t/\\sU\\sy\\s-"
              "\\F1 \\Sk\\ST\\SXchat\\sX\\sT\\sk\\F2, \\Sk\\ST\\SXmatou\\sX\\sT\\sk\n");
    // Without word marking, inside a headword, not its last term.
    std::string inner = expand(t, false, false, 0);
    EXPECT_EQ(inner.find("\\TM"), std::string::npos);
    EXPECT_EQ(inner.find("\\SX"), std::string::npos);
    EXPECT_EQ(inner.substr(0, 3), "\\F0");
    EXPECT_EQ(inner.find('\n'), std::string::npos);
}

TEST_F(Expander, ForcedHeadwordBlockHasArrowAndNoPronunciationOrLineEnd)
{
    LXTerm t = term("cat");
    t.addFeature(LXFeaturePronunciation, u8("kat"));
    t.addDefinition(def("chat"));
    std::string s = expand(t, false, true, 3);
    EXPECT_EQ(s.substr(0, 6), "\\TM\\F0");
    EXPECT_NE(s.find("\\SU\xE2\x86\x92\\sU\\SB\\Sb\\SS\\SWcat"), std::string::npos) << s;
    EXPECT_EQ(s.find("kat"), std::string::npos);
    EXPECT_EQ(s.find('\n'), std::string::npos);
}

TEST_F(Expander, FurtherTermsOfAHeadwordStartByTheirKind)
{
    struct Case {
        const char *pos;
        uint32_t feature;
        const char *start;
    } cases[] = {
        {"noun", 0, "\\TE\\F0\\SP\\Sy\\S<NOUN"},
        {"", 32, "\\TB\\F0"},
        {"", 15, "\\TC\\F0 "},
        {"", 0, "\\F0"},
    };
    for (const Case &c : cases) {
        LXTerm t = term("cat");
        t.setPartOfSpeechName(u8(c.pos));
        if (c.feature)
            t.addFeature(c.feature, u8("x"));
        std::string s = expand(t, false, false);
        EXPECT_EQ(s.substr(0, std::string(c.start).size()), c.start) << c.pos << " " << c.feature;
    }
}

TEST_F(Expander, PartOfSpeechWithLikeFeature)
{
    LXTerm t = term("big");
    t.setPartOfSpeechName(u8("adj"));
    t.addFeature(LXFeatureLike, u8("large"));
    std::string s = expand(t);
    EXPECT_NE(s.find(" \\SP\\Sy\\S<(ADJ: \\SIlike\\sI \\SBlarge\\sB)\\s<\\sy\\sP"), std::string::npos) << s;
}

TEST_F(Expander, DefinitionCodeByFlagOrOrigin)
{
    struct Case {
        uint32_t origin;
        uint32_t feature;
        const char *opening;
    } cases[] = {
        {100, 0, "\\Sp\\ST"},           // added by the user: code 6
        {1, 0, "\\Sk\\ST"},             // published: code 8
        {100, 77, "\\SI\\SXchat\\sX"},  // a flagged feature decides
        {1, 39, "\\Sk\\ST"},            // 39 is not flagged
    };
    for (const Case &c : cases) {
        LXTerm t = term("cat");
        LXDefinition d = def("chat", c.origin);
        if (c.feature)
            d.addFeature(c.feature, lxstring());
        t.addDefinition(d);
        std::string s = expand(t);
        EXPECT_NE(s.find(c.opening), std::string::npos) << c.origin << "/" << c.feature << ": " << s;
    }
}

TEST_F(Expander, PartOfSpeechOfDefinitionsAndPlaceholders)
{
    LXTerm t = term("run");
    LXDefinition d = def("courir");
    d.setPartOfSpeechName(u8("v"));
    t.addDefinition(d);
    LXDefinition p = def("il $$ et $$ ici $");
    p.setPartOfSpeechName(u8("vt, vi, pron"));
    t.addDefinition(p);
    std::string first = expand(t, true, true);
    EXPECT_NE(first.find("\\SXcourir\\sX \\SP\\Sy\\S<V\\s<\\sy\\sP"), std::string::npos) << first;
    EXPECT_NE(first.find("\\SXil\\sX \\SP\\Sy\\S<vt\\s<\\sy\\sP \\SXet\\sX \\SP\\Sy\\S<vi, pron\\s<\\sy\\sP "
                         "\\SXici\\sX $"),
              std::string::npos)
        << first;
    // Not at the first term of the headword: code 5 and the name as it is.
    std::string later = expand(t, false, true);
    EXPECT_NE(later.find("\\SXcourir\\sX \\SP\\SI\\Sy\\S<v\\s<\\sy\\sI\\sP"), std::string::npos) << later;
}

TEST_F(Expander, InlineLabelsGroupAndClose)
{
    LXTerm t = term("bank");
    LXDefinition d = def("banque");
    d.addFeature(LXFeatureLabel, u8("fin."));
    d.addFeature(LXFeatureLabel, u8("Br."));
    d.addFeature(LXFeatureExplanation, u8("money"));
    t.addDefinition(d);
    std::string s = expand(t);
    EXPECT_NE(s.find(" \\Sy\\S-(\\SI\\SWfin\\sW.\\sI)\\s-\\sy \\Sy\\S-(\\SI\\SWBr\\sW.\\sI)\\s-\\sy"),
              std::string::npos)
        << s;
    EXPECT_NE(s.find("\\SP\\Sy\\S-(\\SImoney\\sI)\\s-\\sy\\sP"), std::string::npos) << s;

    // A label of code 45 keeps the group open for the next one.
    LXTerm g = term("bank");
    LXDefinition d2 = def("banque");
    d2.addFeature(LXFeatureLabelJoined, u8("a"));
    d2.addFeature(LXFeatureLabel, u8("b"));
    g.addDefinition(d2);
    std::string s2 = expand(g);
    EXPECT_NE(s2.find("\\Sy\\S-(\\SI\\SWa\\sW\\sI \\SI\\SWb\\sW\\sI)\\s-\\sy"), std::string::npos) << s2;
}

TEST_F(Expander, UsageBlocksAndExamples)
{
    LXTerm t = term("cat");
    t.addFeature(LXFeatureUsage, u8("pet animal"));
    t.addFeature(LXFeatureUsage, u8("informal"));
    t.addFeature(LXFeatureExample, u8("the cat sat"));
    t.addDefinition(def("chat"));
    std::string s = expand(t);
    EXPECT_NE(s.find("\\TP\\Sy\\SU\xE2\x8B\x84\\sU\\sy \\Sb\\SWpet\\sW \\SWanimal\\sW\\sb\\Sk,\\sk \\Sb\\SWinformal\\sW\\sb"),
              std::string::npos)
        << s;
    EXPECT_NE(s.find("\\TE\\Sy\\SU\xE2\x8B\x84\\sU\\sy \\Sbthe cat sat\\sb"), std::string::npos) << s;
}

TEST_F(Expander, DefinitionNumbersAppearOnlyForTwoOrMore)
{
    LXTerm one = term("a");
    LXDefinition d = def("x");
    d.addFeature(LXFeatureNumberedSense, lxstring());
    one.addDefinition(d);
    EXPECT_EQ(expand(one).find("\\D"), std::string::npos);

    LXTerm two = term("a");
    two.addDefinition(d);
    two.addDefinition(d);
    std::string s = expand(two);
    EXPECT_NE(s.find("\\D"), std::string::npos) << s;
}

TEST_F(Expander, SeparatorsBetweenDefinitions)
{
    // (features of the first definition, of the second) -> what goes between their texts.
    struct Case {
        std::vector<uint32_t> first, second;
        const char *between;
    } cases[] = {
        {{}, {}, "\\sX\\sT\\sk\\F2, \\Sk"},          // a comma after a definition with text
        {{75}, {}, "\\sB)\\sk\\F2 \\Sk"},          // not after feature 75
        {{}, {111}, "\\sX\\sT\\sk\\F2 \\TE"},        // nor before an example
        {{86}, {86}, "\\F2; \\Sy\\SI"},            // two of feature 86 in a row: a semicolon
        {{109}, {109}, "\\F2; \\Sk"},              // an earlier 109 and no label between
        // Feature 114: no blank before the text, the part of speech after it.
        {{}, {114}, "\\F2\\TC,\\Sk\\ST\\SXb\\sX \\sT\\sk \\SP\\SI\\Sy\\S<n\\s<\\sy\\sI\\sP"},
    };
    for (const Case &c : cases) {
        LXTerm t = term("w");
        LXDefinition a = def("a");
        for (uint32_t f : c.first)
            a.addFeature(f, lxstring());
        LXDefinition b = def("b");
        b.setPartOfSpeechName(u8("n"));
        for (uint32_t f : c.second)
            b.addFeature(f, lxstring());
        t.addDefinition(a);
        t.addDefinition(b);
        std::string s = expand(t, false, false);
        EXPECT_NE(s.find(c.between), std::string::npos) << c.between << " in " << s;
    }
}

TEST_F(Expander, NumberedAndPairedDefinitions)
{
    // Two definitions of feature 73 keep their numbers; with feature 37 the numbers start
    // a block each.
    LXTerm t = term("w");
    t.addFeature(LXFeatureSenseParagraphs, lxstring());
    for (const char *text : {"a", "b"}) {
        LXDefinition d = def(text);
        d.addFeature(LXFeatureNumberedSense, lxstring());
        t.addDefinition(d);
    }
    std::string s = expand(t, true, false);
    EXPECT_NE(s.find("\\F1\\SB\\Sb\\S<\\TP\\D\\s<\\sb\\sB"), std::string::npos) << s;
    EXPECT_NE(s.find("\\F2\\SB\\Sb\\S<\\TP\\D"), std::string::npos) << s;

    // With one, "\TP\D" becomes a usage mark.
    LXTerm one = term("w");
    one.addFeature(LXFeatureSenseParagraphs, lxstring());
    LXDefinition d = def("a");
    d.addFeature(LXFeatureNumberedSense, lxstring());
    one.addDefinition(d);
    s = expand(one, true, false);
    EXPECT_NE(s.find("\\TP\\SP\\Sy\\SU\xE2\x8B\x84\\sU\\sy\\sP"), std::string::npos) << s;
    EXPECT_EQ(s.find("\\D"), std::string::npos) << s;

    // Feature 74: " \P" is a number only when more than one definition has it.
    for (int n : {1, 2}) {
        LXTerm p = term("w");
        for (int i = 0; i < n; ++i) {
            LXDefinition e = def("x");
            e.addFeature(LXFeatureSubSense, lxstring());
            p.addDefinition(e);
        }
        s = expand(p, true, false);
        EXPECT_EQ(s.find("\\P"), std::string::npos) << s;
        EXPECT_EQ(s.find(" \\D") != std::string::npos, n == 2) << s;
    }
}

TEST_F(Expander, LabelsOfFeature107AndOncePerTermExamples)
{
    LXTerm t = term("w");
    LXDefinition d = def("x");
    d.addFeature(LXFeatureLabelsAsHeadings, lxstring());
    d.addFeature(LXFeatureLabel, u8("law"));
    t.addDefinition(d);
    LXDefinition s1 = def("y");
    s1.addFeature(LXFeatureCrossReference, lxstring());
    LXDefinition s2 = def("z");
    s2.addFeature(LXFeatureCrossReference, lxstring());
    t.addDefinition(s1);
    t.addDefinition(s2);
    std::string s = expand(t, true, true);
    // The label goes before the text (in the definition's flagged code 107), not after it
    // as an inline label.
    EXPECT_NE(s.find("\\F1 \\SI\\Sylaw:\\sy\\sI \\SB\\SXx\\sX\\sB"), std::string::npos) << s;
    EXPECT_EQ(s.find("\\S-("), std::string::npos) << s;
    // Only the first definition of feature 80 starts a block, and only at the last term.
    // (without a comma at the start of its line).
    EXPECT_NE(s.find("\\TE\\F2 \\Sk\\SU"), std::string::npos) << s;
    EXPECT_EQ(s.find("\\TE\\F3"), std::string::npos) << s;
    EXPECT_EQ(expand(t, true, false).find("\\TE"), std::string::npos);
}

TEST_F(Expander, BracketsOfFeature40)
{
    LXTerm t = term("a");
    t.addFeature(LXFeatureNote, u8("[[x]] and [y]"));
    std::string s = expand(t);
    EXPECT_NE(s.find(" \\Sbx\\sb and , \\Sy\\SIy\\sI\\sy"), std::string::npos) << s;
}

TEST_F(Expander, PronunciationWithCodeInside)
{
    LXTerm t = term("a");
    t.addFeature(LXFeaturePronunciation, u8("ab\\M\x01" "c\\m\x01"));
    std::string s = expand(t);
    EXPECT_NE(s.find(" \\S-\\Sy\\SU/ab/\\sU\\sy\\s- \\SB\\Sb\\SSc\\sS\\sb\\sB"), std::string::npos) << s;
}

TEST_F(Expander, BoxReferenceByLanguages)
{
    struct Case {
        LXLanguage from, to;
        const char *text;
    } cases[] = {
        {LXFrench, LXEnglish, "\\Skbox\\sk"},
        {LXSpanish, LXEnglish, "\\Skbox\\sk"},
        {LXEnglish, LXFrench, "\\Skencadr\xC3\xA9\\sk"},
        {LXEnglish, LXSpanish, "\\Skrecuadro\\sk"},
        {LXEnglish, LXGerman, nullptr},
    };
    for (const Case &c : cases) {
        LXTerm t = term("a", c.from, c.to);
        LXDefinition d = def("x");
        d.addFeature(LXFeatureBoxReference, lxstring());
        t.addDefinition(d);
        std::string s = expand(t);
        if (c.text)
            EXPECT_NE(s.find(c.text), std::string::npos) << s;
        else
            EXPECT_EQ(s.find("\\Sk"), s.find("\\Sk\\ST")) << s;
        // Once per term, at its last term, such a definition starts an example block.
        EXPECT_NE(s.find("\\TE\\F1"), std::string::npos) << s;
    }
}

} // namespace
