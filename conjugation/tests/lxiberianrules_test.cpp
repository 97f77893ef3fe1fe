// The Spanish and Portuguese form builders over small hand-made modules: the stem-vowel
// and consonant rules in the tenses and persons they act in, several rules in order, the
// compound tenses with the auxiliary models, the imperative's display and the spelling
// variants that lead changed stems back to their verbs (the modules hold no form index).
#include <gtest/gtest.h>

#include "lxc_fixture.h"
#include "lxiberianrules.h"

namespace {

// A rule feature: the rule number plus 2 as one code point.
std::string rule(int n)
{
    return std::string(1, static_cast<char>(n + 2));
}

struct Iberian : public testing::Test {
    std::string forms(const char *infinitive, uint32_t tense, uint32_t person)
    {
        LXVerb v;
        EXPECT_TRUE(m.conjugator.findVerb(U(infinitive), v)) << infinitive;
        LXList<lxstring> list;
        m.conjugator.getConjugations(v, tense, person, list);
        return joined(list);
    }
    std::string display(const char *infinitive, uint32_t tense, uint32_t person)
    {
        LXVerb v;
        EXPECT_TRUE(m.conjugator.findVerb(U(infinitive), v)) << infinitive;
        lxstring text;
        m.conjugator.getConjugationDisplayText(v, ' ', tense, person, text);
        return S(text);
    }
    std::string stems(const char *word)
    {
        LXList<LXStem> list;
        m.conjugator.getVerbStems(U(word), list, 2);
        std::string out;
        for (LXList<LXStem>::iterator s = list.begin(); !s.isAtEnd(); ++s)
            out += (out.empty() ? "" : "|") + S((*s).base) + " " + std::to_string((*s).tense) + "/" +
                   std::to_string((*s).person);
        return out;
    }
    OpenModule m;
};

// Spanish: haber on model 26; the regular -ar, -er and -ir endings with rule features.
class Spanish : public Iberian {
protected:
    static void SetUpTestSuite()
    {
        LXConjugationWriter w(LXSpanish);
        addNames(w, {"yo", "tú", "él", "nosotros", "vosotros", "ellos"},
                 {"Infinitivo", "Participio", "", "", "", "", "Gerundio"});
        w.addModel(makeModel(26, {{27, "haber"}}, {six(80, "he", "has", "ha", "hemos", "habéis", "han"),
                                                   six(85, "hube", "hubiste", "hubo", "hubimos", "hubisteis", "hubieron"),
                                                   {74, {{37, "habido"}}}}));
        const TenseForms ar80 = six(80, "o", "as", "a", "amos", "áis", "an");
        const TenseForms ar85 = six(85, "é", "aste", "ó", "amos", "asteis", "aron");
        const TenseForms ar90 = six(90, "e", "es", "e", "emos", "éis", "en");
        const TenseForms ar98{98, {{38, "a"}, {39, "e"}, {40, "emos"}, {41, "ad"}, {42, "en"}}};
        const TenseForms ir80 = six(80, "o", "es", "e", "imos", "ís", "en");
        const TenseForms ir85 = six(85, "í", "iste", "ió", "imos", "isteis", "ieron");
        const TenseForms ir90 = six(90, "a", "as", "a", "amos", "áis", "an");
        const TenseForms ir98{98, {{38, "e"}, {39, "a"}, {40, "amos"}, {41, "id"}, {42, "an"}}};
        const TenseForms er80 = six(80, "o", "es", "e", "emos", "éis", "en");
        w.addModel(makeModel(1, {{27, "ar"}}, {ar80, ar85, ar90, ar98, {74, {{37, "ado"}}}, {79, {{37, "ando"}}}}));
        w.addModel(makeModel(2, {{27, "ar"}, {16, rule(1).c_str()}}, {ar80, ar90, ar98}));
        // Two rules in order: e to ie, then z to c (empiezo, empecé, empiece).
        w.addModel(makeModel(3, {{27, "ar"}, {16, rule(1).c_str()}, {16, rule(28).c_str()}}, {ar80, ar85, ar90}));
        // The value 2 ends the rules: z to c is not applied.
        w.addModel(makeModel(4, {{27, "ar"}, {16, rule(1).c_str()}, {16, "\x02"}, {16, rule(28).c_str()}}, {ar85, ar90}));
        w.addModel(makeModel(5, {{27, "ir"}, {16, rule(7).c_str()}},
                             {ir80, ir85, ir90, ir98, {74, {{37, "ido"}}}, {79, {{37, "iendo"}}}}));
        w.addModel(makeModel(6, {{27, "ir"}, {16, rule(3).c_str()}, {16, rule(36).c_str()}},
                             {ir80, ir85, ir90, ir98, {79, {{37, "iendo"}}}}));
        w.addModel(makeModel(7, {{27, "er"}, {16, rule(9).c_str()}}, {er80, six(90, "a", "as", "a", "amos", "áis", "an")}));
        w.addModel(makeModel(8, {{27, "ar"}, {16, rule(25).c_str()}, {16, rule(32).c_str()}}, {ar80, ar85}));
        w.addModel(makeModel(9, {{27, "er"}, {16, rule(3).c_str()}, {16, rule(29).c_str()}}, {er80}));
        w.addModel(makeModel(10, {{27, "ar"}, {16, rule(27).c_str()}}, {ar85, ar90}));
        w.addModel(makeModel(11, {{27, "er"}, {16, rule(34).c_str()}}, {er80}));
        w.addModel(makeModel(12, {{27, "ar"}, {16, rule(4).c_str()}}, {ar80}));
        w.addModel(makeModel(13, {{27, "er"}, {16, rule(30).c_str()}}, {er80}));
        w.addModel(makeModel(14, {{27, "ar"}, {16, rule(33).c_str()}, {16, rule(31).c_str()}}, {ar80}));
        w.addModel(makeModel(15, {{27, "er"}, {16, rule(3).c_str()}}, {er80, {74, {{37, "ido"}}}}));
        w.addModel(makeModel(16, {{27, "ir"}, {16, rule(1).c_str()}, {16, rule(35).c_str()}}, {ir85, ir90, ir98}));
        w.addModel(makeModel(17, {{27, "arse"}, {16, rule(25).c_str()}}, {ar80, ar98, {74, {{37, "ado"}}}}));
        for (uint32_t model : {1u, 5u, 6u, 15u}) {
            LXModelCache endings = makeModel(model, {}, {ar80, ir80, ir85, er80});
            addSuffixModels(w, endings);
        }
        w.addVerb(makeVerb("haber", 26));
        w.addVerb(makeVerb("hablar", 1));
        w.addVerb(makeVerb("pensar", 2));
        w.addVerb(makeVerb("empezar", 3));
        w.addVerb(makeVerb("rezar", 4));
        w.addVerb(makeVerb("pedir", 5));
        w.addVerb(makeVerb("dormir", 6));
        w.addVerb(makeVerb("conocer", 7));
        w.addVerb(makeVerb("enviar", 8));
        w.addVerb(makeVerb("cocer", 9));
        w.addVerb(makeVerb("averiguar", 10));
        w.addVerb(makeVerb("oler", 11));
        w.addVerb(makeVerb("jugar", 12));
        w.addVerb(makeVerb("coger", 13));
        w.addVerb(makeVerb("errar", 14));
        w.addVerb(makeVerb("agorar", 14));
        w.addVerb(makeVerb("poder", 15));
        w.addVerb(makeVerb("sentir", 16));
        w.addVerb(makeVerb("acercarse", 17, {24}));
        ASSERT_TRUE(writeModule(w, path()));
    }
    static std::string path() { return tempPath("spanish-rules.lxc"); }
    void SetUp() override { ASSERT_TRUE(m.open(path())); }
};

TEST_F(Spanish, RulesActInTheirTensesAndPersons)
{
    struct Case {
        const char *verb;
        uint32_t tense, person;
        const char *forms;
    } cases[] = {
        {"hablar", 73, 40, "hablar"},
        {"hablar", 80, 37, "hablo"},
        {"hablar", 74, 41, "hablado"},
        {"pensar", 80, 37, "pienso"},        // rule 1 in the stressed persons
        {"pensar", 80, 42, "piensan"},
        {"pensar", 80, 40, "pensamos"},      // not for nosotros
        {"pensar", 90, 41, "penséis"},
        {"pensar", 98, 38, "piensa"},        // imperative tú, usted, ustedes
        {"pensar", 98, 40, "pensemos"},
        {"empezar", 80, 39, "empieza"},      // two rules in order
        {"empezar", 85, 37, "empecé"},
        {"empezar", 90, 37, "empiece"},
        {"empezar", 85, 39, "empezó"},
        {"rezar", 85, 37, "rezé"},           // the value 2 stops the rules before z to c
        {"pedir", 80, 37, "pido"},           // rule 7
        {"pedir", 80, 40, "pedimos"},
        {"pedir", 85, 39, "pidió"},
        {"pedir", 85, 38, "pediste"},
        {"pedir", 90, 40, "pidamos"},
        {"pedir", 79, 37, "pidiendo"},
        {"pedir", 98, 41, "pedid"},
        {"dormir", 80, 37, "duermo"},        // rules 3 and 36
        {"dormir", 85, 42, "durmieron"},
        {"dormir", 90, 40, "durmamos"},
        {"dormir", 90, 37, "duerma"},
        {"dormir", 79, 37, "durmiendo"},
        {"dormir", 98, 40, "durmamos"},
        {"sentir", 85, 39, "sintió"},        // rules 1 and 35
        {"sentir", 90, 41, "sintáis"},
        {"sentir", 98, 38, "siente"},
        {"conocer", 80, 37, "conozco"},      // rule 9 before o and a only
        {"conocer", 80, 38, "conoces"},
        {"conocer", 90, 40, "conozcamos"},
        {"enviar", 80, 37, "envío"},         // rule 32; rule 25 needs a final c
        {"enviar", 80, 40, "enviamos"},
        {"cocer", 80, 37, "cuezo"},          // rules 3 and 29
        {"cocer", 80, 41, "cocéis"},
        {"averiguar", 85, 37, "averigüé"},   // rule 27
        {"averiguar", 85, 39, "averiguó"},
        {"oler", 80, 39, "huele"},           // rule 34
        {"oler", 80, 40, "olemos"},
        {"jugar", 80, 37, "juego"},          // rule 4
        {"coger", 80, 37, "cojo"},           // rule 30
        {"coger", 80, 38, "coges"},
        {"errar", 80, 37, "yerro"},          // rule 33 (then 31 finds no o)
        {"agorar", 80, 37, "agüero"},        // rule 31 (33 finds no e)
        {"poder", 80, 37, "puedo"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(forms(c.verb, c.tense, c.person), c.forms) << c.verb << " " << c.tense << "/" << c.person;
}

TEST_F(Spanish, CompoundTensesDisplayAndDetails)
{
    EXPECT_EQ(forms("hablar", 84, 37), "he hablado");
    EXPECT_EQ(forms("pedir", 84, 42), "han pedido");
    EXPECT_EQ(forms("hablar", 87, 39), "hubo hablado");
    EXPECT_EQ(forms("hablar", 86, 39), " hablado");        // the auxiliary lacks tense 83
    EXPECT_EQ(forms("dormir", 84, 37), "");                 // no participle, no compound
    EXPECT_EQ(display("hablar", 80, 38), "tú hablas");
    EXPECT_EQ(display("hablar", 98, 38), "(tú) habla");
    EXPECT_EQ(display("hablar", 84, 40), "nosotros hemos hablado");
    EXPECT_EQ(display("hablar", 74, 40), "hablado");
    EXPECT_EQ(display("acercarse", 73, 37), "acercarse");
    EXPECT_EQ(display("acercarse", 80, 37), "yo me acerco");
    EXPECT_EQ(display("acercarse", 80, 41), "vosotros os acercáis");
    EXPECT_EQ(display("acercarse", 84, 39), "él se ha acercado");
    EXPECT_EQ(display("acercarse", 98, 38), "(tú) acércate");
    EXPECT_EQ(display("acercarse", 98, 41), "(vosotros) acercaos");
    EXPECT_EQ(display("acercarse", 98, 40), "(nosotros) acerquémonos");
    EXPECT_EQ(display("acercarse", 74, 37), "acercado");
    LXVerb v;
    ASSERT_TRUE(m.conjugator.findVerb(U("pedir"), v));
    lxstring text;
    m.conjugator.getVerbDetails(v, text);
    EXPECT_EQ(S(text), "Participio: pedido\nGerundio: pidiendo\n");
}

TEST_F(Spanish, ChangedStemsLeadBackToTheirVerbs)
{
    // No form index: the candidates come from the variants of the word's beginning.
    EXPECT_EQ(stems("puedo"), "poder 80/37");      // ue read as o
    EXPECT_EQ(stems("pidió"), "pedir 85/39");      // i read as e
    EXPECT_EQ(stems("duermo"), "dormir 80/37");
    EXPECT_EQ(stems("durmieron"), "dormir 85/42");
    EXPECT_EQ(stems("hablo"), "hablar 80/37");
    EXPECT_EQ(stems("zzz"), "");
}

// Portuguese: ter on model 17; rule 3 only before a and o; the imperative of rule 5.
class Portuguese : public Iberian {
protected:
    static void SetUpTestSuite()
    {
        LXConjugationWriter w(LXPortuguese);
        addNames(w, {"eu", "tu", "ele", "nós", "vós", "eles"},
                 {"Infinitivo", "Particípio", "", "", "", "", "Gerúndio"});
        w.addModel(makeModel(17, {{27, "ter"}}, {six(80, "tenho", "tens", "tem", "temos", "tendes", "têm"),
                                                 six(95, "tiver", "tiveres", "tiver", "tivermos", "tiverdes", "tiverem"),
                                                 {74, {{37, "tido"}}}}));
        const TenseForms ir80 = six(80, "o", "es", "e", "imos", "is", "em");
        const TenseForms ir90 = six(90, "a", "as", "a", "amos", "ais", "am");
        const TenseForms ir98{98, {{38, "e"}, {39, "a"}, {40, "amos"}, {41, "i"}, {42, "am"}}};
        const TenseForms ir84 = six(84, "i", "iste", "iu", "imos", "istes", "iram");
        w.addModel(makeModel(1, {{27, "ir"}, {16, rule(5).c_str()}}, {ir80, ir90, ir98, {74, {{37, "ido"}}}}));
        w.addModel(makeModel(2, {{27, "ir"}, {16, rule(3).c_str()}}, {ir80, ir90, ir98}));
        w.addModel(makeModel(3, {{27, "ir"}, {16, rule(2).c_str()}}, {ir80, ir90, ir98}));
        w.addModel(makeModel(4, {{27, "ir"}, {16, rule(6).c_str()}}, {ir80, ir98, ir84}));
        w.addModel(makeModel(5, {{27, "ir"}, {16, rule(4).c_str()}}, {ir80, ir90, ir98}));
        w.addModel(makeModel(6, {{27, "ar"}, {16, rule(1).c_str()}}, {six(80, "o", "as", "a", "amos", "ais", "am")}));
        addSuffixModels(w, makeModel(1, {}, {ir80}));
        addSuffixModels(w, makeModel(4, {}, {ir80}));
        w.addVerb(makeVerb("ter", 17));
        w.addVerb(makeVerb("dormir", 1));
        w.addVerb(makeVerb("reagir", 2));
        w.addVerb(makeVerb("fugir", 2));
        w.addVerb(makeVerb("mentir", 3));
        w.addVerb(makeVerb("subir", 4));
        w.addVerb(makeVerb("agredir", 5));
        w.addVerb(makeVerb("saudar", 6));
        ASSERT_TRUE(writeModule(w, path()));
    }
    static std::string path() { return tempPath("portuguese-rules.lxc"); }
    void SetUp() override { ASSERT_TRUE(m.open(path())); }
};

TEST_F(Portuguese, RulesActInTheirTensesAndPersons)
{
    struct Case {
        const char *verb;
        uint32_t tense, person;
        const char *forms;
    } cases[] = {
        {"dormir", 80, 37, "durmo"},       // rule 5
        {"dormir", 80, 38, "dormes"},
        {"dormir", 90, 40, "durmamos"},
        // The imperative follows the subjunctive's persons (rule 2's pattern), not 38 and 41.
        {"dormir", 98, 38, "dorme"},
        {"dormir", 98, 39, "durma"},
        {"dormir", 98, 40, "durmamos"},
        {"dormir", 98, 41, "dormi"},
        {"dormir", 98, 42, "durmam"},
        {"reagir", 80, 37, "reajo"},       // rule 3 before o and a only
        {"reagir", 90, 39, "reaja"},
        {"reagir", 80, 39, "reage"},
        {"reagir", 80, 40, "reagimos"},
        {"reagir", 98, 38, "reage"},
        {"fugir", 80, 37, "fugo"},         // "ug": no change
        {"mentir", 80, 37, "minto"},       // rule 2
        {"mentir", 80, 38, "mentes"},
        {"mentir", 90, 41, "mintais"},
        {"mentir", 98, 39, "minta"},
        {"mentir", 98, 38, "mente"},
        {"subir", 80, 38, "sobes"},        // rule 6
        {"subir", 80, 37, "subo"},
        {"subir", 98, 38, "sobe"},
        {"subir", 84, 39, "subiu"},
        {"agredir", 80, 37, "agrido"},     // rule 4
        {"agredir", 80, 40, "agredimos"},
        {"agredir", 90, 40, "agridamos"},
        {"agredir", 98, 40, "agridamos"},
        {"agredir", 98, 41, "agredi"},
        {"saudar", 80, 37, "saúdo"},       // rule 1
        {"saudar", 80, 40, "saudamos"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(forms(c.verb, c.tense, c.person), c.forms) << c.verb << " " << c.tense << "/" << c.person;
}

TEST_F(Portuguese, CompoundTensesDisplayAndStems)
{
    EXPECT_EQ(forms("dormir", 85, 37), "tenho dormido");     // perfect: ter's present
    EXPECT_EQ(forms("dormir", 94, 42), "tiverem dormido");   // future perfect subjunctive: 95
    EXPECT_EQ(display("dormir", 98, 40), "(nós) durmamos");
    EXPECT_EQ(display("dormir", 85, 41), "vós tendes dormido");
    EXPECT_EQ(stems("durmo"), "dormir 80/37");               // u read as o
    EXPECT_EQ(stems("sobes"), "subir 80/38");                // o read as u
}

} // namespace

TEST(SpanishReflexive, ImperativeTakesTheEncliticAndItsAccent)
{
    struct Case {
        const char *form;
        uint32_t person;
        const char *shown;
    } cases[] = {
        {"acerca", 38, "acércate"},  {"acerque", 39, "acérquese"}, {"acerquemos", 40, "acerquémonos"},
        {"acercad", 41, "acercaos"}, {"acerquen", 42, "acérquense"}, {"sienta", 38, "siéntate"},
        {"vestid", 41, "vestíos"},   {"id", 41, "idos"},            {"ve", 38, "vete"},
        {"vamos", 40, "vámonos"},    {"está", 38, "estate"},        {"dé", 39, "dese"},
        {"pon", 38, "ponte"},        {"duerme", 38, "duérmete"},    {"averigüe", 39, "averígüese"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(S(lx_spanishEnclitic(U(c.form), c.person)), c.shown) << c.form;
}
