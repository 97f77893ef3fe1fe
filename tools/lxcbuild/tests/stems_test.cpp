// Irregular forms lead back to their infinitives through the built modules' inflected-form
// index and candidate verbs; typed beginnings list the verbs; plurals and feminines of nouns
// and adjectives lead to their base forms through the stemming models of the rules files.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "format/lxcompressor.h"
#include "lxconjugator.h"
#include "moduledata.h"
#include "stemmingrules.h"
#include "testing/lxtest_samples.h"

namespace {

std::string utf8(const lxstring &s)
{
    lxstring t = s;
    t.setEncoding(LXEncodingUtf8);
    return std::string(t.c_str(), t.size());
}

struct Module {
    LXCompressor *compressor = LXCompressor::create();
    LXConjugator c;
    bool ok = false;
    explicit Module(const char *lang)
    {
        // A missing module fails the test (or skips it in a build without sample modules).
        std::string path;
        c.setCompressor(compressor);
        if (!lx_findSample(LXSampleConjugation, std::string(lang) + ".lxc", path))
            return;
        ok = c.openModule(lxstring(path.c_str(), LXEncodingUtf8));
        EXPECT_TRUE(ok) << path << " does not open";
    }
    ~Module()
    {
        c.closeModule();
        delete compressor;
    }
    // Base forms by stemming models, as "base/code" each between bars.
    std::string modelBases(const char *word)
    {
        LXList<LXStem> stems;
        c.getModelStems(lxstring(word, LXEncodingUtf8), stems);
        std::string out;
        for (LXList<LXStem>::iterator s = stems.begin(); !s.isAtEnd(); ++s)
            out += "|" + utf8((*s).base) + "/" + std::to_string((*s).partOfSpeechCode) + "|";
        return out;
    }
    std::string bases(const char *word, int strategy)
    {
        LXList<LXStem> stems;
        c.getVerbStems(lxstring(word, LXEncodingUtf8), stems, strategy);
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
        return;
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
        return;
    struct Case italian[] = {{"vado", "andare"}, {"fu", "essere"}, {"ebbero", "avere"}, {"dissi", "dire"}};
    for (const Case &c : italian)
        EXPECT_NE(it.bases(c.word, 2).find(std::string("|") + c.base + "|"), std::string::npos) << c.word;
}

TEST(ConjugationModules, PluralsAndFemininesLeadToTheirBaseForms)
{
    struct Case {
        const char *lang, *word, *expected;
    } cases[] = {
        {"fr", "chevaux", "|cheval/2|"},    {"fr", "travaux", "|travail/2|"}, {"fr", "yeux", "|œil/2|"},
        {"fr", "grandes", "|grand/3|"},     {"fr", "heureuses", "|heureux/3|"}, {"fr", "belles", "|beau/3|"},
        {"fr", "actives", "|actif/3|"},     {"fr", "Chats", "|Chat/2|"},      {"it", "libri", "|libro/2|"},
        {"it", "amiche", "|amica/2|"},      {"it", "rosse", "|rosso/3|"},     {"it", "uomini", "|uomo/2|"},
        {"es", "canciones", "|canción/2|"}, {"es", "luces", "|luz/2|"},       {"es", "blancas", "|blanco/3|"},
        {"es", "caracteres", "|carácter/2|"}, {"pt", "canções", "|canção/2|"}, {"pt", "animais", "|animal/2|"},
        {"pt", "homens", "|homem/2|"},      {"pt", "brancas", "|branco/3|"},
    };
    for (const Case &k : cases) {
        Module m(k.lang);
        if (!m.ok)
            return;
        EXPECT_NE(m.modelBases(k.word).find(k.expected), std::string::npos) << k.word << ": " << m.modelBases(k.word);
    }
    Module fr("fr");
    if (fr.ok) {
        EXPECT_EQ(fr.modelBases("x"), "");   // one letter: no key is tried
        EXPECT_EQ(fr.modelBases("yeu").find("œil"), std::string::npos);
    }
}

TEST(StemmingRules, RulesTheModuleCannotHoldAreRefused)
{
    struct Case {
        std::string line;
        bool ok;
    } cases[] = {
        {"-aux | -al | n. | 2", true},
        {"yeux | œil | n. | 2 | 4 | 9", true},
        {"-s |  | adj. | 3", true},
        {"- | x | n. | 2", false},          // an empty ending
        {"a | avoir | v. | 6", false},      // a one-letter word is never looked up
        {"ab-cd | x | n. | 2", false},      // a hyphen inside would be read as the ending mark
        {"-s | | n. | 0", false},           // code 0 ends a record
        {"-s | | n. | 64", false},          // beyond the six bits of a part-of-speech code
        {"-s | | n. | x", false},
        {"-s | | n.", false},               // a column missing
        {"-s | | n. | 2 | 4", false},
        {"-s | | n. | 2 | 256 | 1", false},
        {std::string("-s | a") + '\x01' + "b | n. | 2", false},   // code point 1 ends a text
    };
    for (const Case &c : cases) {
        LXStemmingModel model;
        std::string error;
        EXPECT_EQ(stemmingModelOf(splitColumns(c.line), model, error), c.ok) << c.line << ": " << error;
    }
    LXStemmingModel model;
    std::string error;
    ASSERT_TRUE(stemmingModelOf(splitColumns("-aux | -al | n. | 2"), model, error));
    EXPECT_EQ(utf8(model.key), "xua-");
    EXPECT_EQ(model.grammarCode1, 3u);
    EXPECT_EQ(model.grammarCode2, 12u);
    ASSERT_TRUE(stemmingModelOf(splitColumns("yeux | œil | n. | 2 | 4 | 9"), model, error));
    EXPECT_EQ(utf8(model.key), "xuey");
    EXPECT_EQ(utf8(model.replacement), "œil");
    EXPECT_EQ(model.grammarCode1, 4u);

    std::vector<LXStemmingModel> models;
    EXPECT_TRUE(readStemmingRules("no-such-rules-file.txt", models, error));
    EXPECT_TRUE(models.empty());
}

// Forms that the stem-vowel rules changed come back through the spelling variants of
// their beginning ("puedo": po-, "pidió": pe-, "durmo": do-); forms of the inflected-form
// index come back whatever their spelling.
TEST(ConjugationModules, SpanishAndPortugueseFormsLeadBackToTheirInfinitives)
{
    struct Case {
        const char *word, *base;
    };
    Module es("es");
    ASSERT_TRUE(es.ok) << "no Spanish module";
    const Case spanish[] = {{"puedo", "poder"}, {"pidió", "pedir"}, {"PIDIO", "pedir"}, {"duermo", "dormir"},
                            {"durmieron", "dormir"}, {"huele", "oler"}, {"juego", "jugar"}, {"fui", "ir"},
                            {"fui", "ser"}, {"hablase", "hablar"}, {"busqué", "buscar"}, {"sintamos", "sentir"},
                            {"yendo", "ir"}};
    for (const Case &c : spanish)
        EXPECT_NE(es.bases(c.word, 2).find(std::string("|") + c.base + "|"), std::string::npos) << c.word;
    EXPECT_EQ(es.bases("xqzw", 2), "");
    // Strategy 0 stops at the first hit.
    EXPECT_EQ(es.bases("pidió", 0), "|pedir|");

    Module pt("pt");
    ASSERT_TRUE(pt.ok) << "no Portuguese module";
    const Case portuguese[] = {{"durmo", "dormir"}, {"tive", "ter"}, {"minto", "mentir"}, {"sobe", "subir"},
                               {"reajo", "reagir"}, {"pus", "pôr"}, {"falai", "falar"}, {"tivesse", "ter"}};
    for (const Case &c : portuguese)
        EXPECT_NE(pt.bases(c.word, 2).find(std::string("|") + c.base + "|"), std::string::npos) << c.word;
}

TEST(ConjugationModules, MatchingVerbsAndDetails)
{
    Module fr("fr");
    if (!fr.ok)
        return;
    LXList<lxstring> list;
    fr.c.getMatchingVerbs(lxstring("s'évano", LXEncodingUtf8), list, true, 0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(utf8(list[0]), "évanouir");
    fr.c.getMatchingVerbs(lxstring("ETRE", LXEncodingUtf8), list, true, 0);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(utf8(list[0]), "être");
    fr.c.getMatchingVerbs(lxstring("a", LXEncodingUtf8), list, true, 10);
    EXPECT_EQ(list.size(), 10u);
    LXVerb verb;
    ASSERT_TRUE(fr.c.findVerb(lxstring("Etre", LXEncodingUtf8), verb));
    EXPECT_EQ(utf8(verb.infinitive), "être");
    lxstring text;
    ASSERT_TRUE(fr.c.findVerb(lxstring("aller", LXEncodingUtf8), verb));
    fr.c.getVerbDetails(verb, text);
    EXPECT_EQ(utf8(text), "Participe présent: allant\nParticipe passé: allé(e)(s)\nAux: être\n");

    // Spanish and Portuguese details: participle, then gerund, no auxiliary line.
    Module es("es");
    ASSERT_TRUE(es.ok);
    ASSERT_TRUE(es.c.findVerb(lxstring("decir", LXEncodingUtf8), verb));
    es.c.getVerbDetails(verb, text);
    EXPECT_EQ(utf8(text), "Participio: dicho\nGerundio: diciendo\n");
    Module pt("pt");
    ASSERT_TRUE(pt.ok);
    ASSERT_TRUE(pt.c.findVerb(lxstring("por", LXEncodingUtf8), verb));
    EXPECT_EQ(utf8(verb.infinitive), "pôr");
    pt.c.getVerbDetails(verb, text);
    EXPECT_EQ(utf8(text), "Particípio: posto\nGerúndio: pondo\n");
}

} // namespace
