// Irregular forms lead back to their infinitives through the built modules' inflected-form
// index and candidate verbs; typed beginnings list the verbs.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "lxcompressor.h"
#include "lxconjugator.h"

namespace {

std::string utf8(const lxstring &s)
{
    lxstring t = s;
    t.setEncoding(0);
    return std::string(t.c_str(), t.size());
}

struct Module {
    LXCompressor *compressor = LXCompressor::create();
    LXConjugator c;
    bool ok = false;
    explicit Module(const char *lang)
    {
        std::string path = std::string(WORDMERE_CONJUGATION_MODULES) + "/" + lang + ".lxc";
        c.setCompressor(compressor);
        ok = std::ifstream(path).good() && c.openModule(lxstring(path.c_str(), 0, 0));
    }
    ~Module()
    {
        c.closeModule();
        delete compressor;
    }
    std::string bases(const char *word, int strategy)
    {
        LXList<LXStem> stems;
        c.getVerbStems(lxstring(word, 0, 0), stems, strategy);
        std::string out;
        for (LXList<LXStem>::iterator s = stems.begin(); !s.isAtEnd(); ++s) {
            std::string b = utf8((*s).base);
            if (out.find("|" + b + "|") == std::string::npos)
                out += "|" + b + "|";
        }
        return out;
    }
};

TEST(ConjugationModules, FormsLeadBackToTheirInfinitives)
{
    Module fr("fr");
    if (!fr.ok)
        GTEST_SKIP() << "no French module";
    struct Case {
        const char *word, *base;
    } french[] = {
        {"vais", "aller"}, {"fûmes", "être"}, {"FUMES", "être"}, {"bu", "boire"}, {"sachions", "savoir"},
        {"peignîtes", "peindre"}, {"appellerions", "appeler"}, {"s'assied", "asseoir"}, {"eûmes", "avoir"},
    };
    for (const Case &c : french)
        EXPECT_NE(fr.bases(c.word, 2).find(std::string("|") + c.base + "|"), std::string::npos) << c.word;
    EXPECT_EQ(fr.bases("zzzzq", 2), "");

    Module it("it");
    if (!it.ok)
        GTEST_SKIP() << "no Italian module";
    struct Case italian[] = {{"vado", "andare"}, {"fu", "essere"}, {"ebbero", "avere"}, {"dissi", "dire"}};
    for (const Case &c : italian)
        EXPECT_NE(it.bases(c.word, 2).find(std::string("|") + c.base + "|"), std::string::npos) << c.word;
}

TEST(ConjugationModules, MatchingVerbsAndDetails)
{
    Module fr("fr");
    if (!fr.ok)
        GTEST_SKIP() << "no French module";
    LXList<lxstring> list;
    fr.c.getMatchingVerbs(lxstring("s'évano", 0, 0), list, true, 0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(utf8(list[0]), "évanouir");
    fr.c.getMatchingVerbs(lxstring("ETRE", 0, 0), list, true, 0);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(utf8(list[0]), "être");
    fr.c.getMatchingVerbs(lxstring("a", 0, 0), list, true, 10);
    EXPECT_EQ(list.size(), 10u);
    LXVerb verb;
    ASSERT_TRUE(fr.c.findVerb(lxstring("Etre", 0, 0), verb));
    EXPECT_EQ(utf8(verb.infinitive), "être");
    lxstring text;
    ASSERT_TRUE(fr.c.findVerb(lxstring("aller", 0, 0), verb));
    fr.c.getVerbDetails(verb, text);
    EXPECT_EQ(utf8(text), "Participe présent: allant\nParticipe passé: allé(e)(s)\nAux: être\n");
}

} // namespace
