// The English and German form builders over small hand-made modules. English: the
// inflection switches of each form, the verb's own forms, "be" and "have" from their model
// tables, the modals, the compound tenses, "let's" and "(you)" in the imperative, and the
// verb details. German: stems from the infinitive and the verb's entries, the spelling
// rules, separable particles, declined participles, the compound tenses with their
// carrier verbs, the imperative's display and the "Aux:" line.
#include <gtest/gtest.h>

#include "lxc_fixture.h"
#include "lxenglishconjugator.h"
#include "lxgermanconjugator.h"

namespace {

struct Germanic : public testing::Test {
    LXVerb verb(const char *infinitive)
    {
        LXVerb v;
        EXPECT_TRUE(m.conjugator.findVerb(U(infinitive), v)) << infinitive;
        return v;
    }
    std::string forms(const char *infinitive, uint32_t tense, uint32_t person)
    {
        LXList<lxstring> list;
        m.conjugator.getConjugations(verb(infinitive), tense, person, list);
        return joined(list);
    }
    std::string display(const char *infinitive, uint32_t tense, uint32_t person)
    {
        lxstring text;
        m.conjugator.getConjugationDisplayText(verb(infinitive), ' ', tense, person, text);
        return S(text);
    }
    std::string details(const char *infinitive)
    {
        lxstring text;
        m.conjugator.getVerbDetails(verb(infinitive), text);
        return S(text);
    }
    OpenModule m;
};

TenseForms persons(uint32_t tense, std::initializer_list<uint32_t> codes)
{
    TenseForms t{tense, {}};
    for (uint32_t p : codes)
        t.persons.push_back({p, ""});
    return t;
}

class English : public Germanic {
protected:
    static void SetUpTestSuite()
    {
        LXConjugationWriter w(LXEnglish);
        addNames(w, {"I", "you", "he/she/it", "we", "you", "they"},
                 {"infinitive", "past participle", "present participle", "present", "present progressive",
                  "future", "future progressive", "future perfect", "past", "past progressive",
                  "present perfect", "past perfect", "conditional", "conditional perfect", "imperative"});
        std::initializer_list<uint32_t> all = {37, 38, 39, 40, 41, 42};
        std::vector<TenseForms> tenses = {{73, {{37, ""}}}, {74, {{37, ""}}}, {75, {{37, ""}}}};
        for (uint32_t t = 76; t <= 86; ++t)
            tenses.push_back(persons(t, all));
        tenses.push_back(persons(87, {38, 40}));
        LXModelCache regular = makeModel(1, {}, {});
        for (const TenseForms &t : tenses) {
            LXModelCache one = makeModel(1, {}, {t});
            regular.tenses.push_back(*one.tenses.begin());
        }
        w.addModel(regular);
        w.addModel(makeModel(2, {}, {six(76, "am", "are", "is", "are", "are", "are"),
                                     six(81, "was", "were", "was", "were", "were", "were"), {74, {{37, ""}}}}));
        w.addModel(makeModel(3, {}, {six(76, "have", "have", "has", "have", "have", "have"), persons(81, all)}));
        w.addModel(makeModel(4, {}, {{73, {{37, ""}}}, persons(76, all), persons(81, all)}));
        w.addVerb(makeVerb("walk", 1, {54, 60, 67}));
        w.addVerb(makeVerb("stop", 1, {54, 61, 68}));
        w.addVerb(makeVerb("cry", 1, {55, 63, 67}));
        w.addVerb(makeVerb("make", 1, {54, 69}, {{81, "made"}}));
        w.addVerb(makeVerb("panic", 1, {54, 65, 70}));
        w.addVerb(makeVerb("pay", 1, {54, 64, 67}));
        w.addVerb(makeVerb("go", 1, {56, 67}, {{74, "gone"}, {81, "went"}}));
        w.addVerb(makeVerb("quiz", 1, {57, 61, 68}));
        w.addVerb(makeVerb("ok", 1, {58, 66, 71}));
        // Two past forms by two switches, and two pasts with one participle between them.
        w.addVerb(makeVerb("learn", 1, {54, 60, 67}, {{81, "learned, learnt"}}));
        w.addVerb(makeVerb("dream", 1, {54, 67}, {{74, "dreamt"}, {81, "dreamed,dreamt"}}));
        w.addVerb(makeVerb("agree", 1, {54, 60, 62, 67}));
        w.addVerb(makeVerb("be", 2, {67}, {{74, "been"}}));
        w.addVerb(makeVerb("have", 3, {69}, {{81, "had"}}));
        w.addVerb(makeVerb("can", 4, {}, {{81, "could"}}));
        w.addVerb(makeVerb("must", 4));
        ASSERT_TRUE(writeModule(w, path()));
    }
    static std::string path() { return tempPath("english-rules.lxc"); }
    void SetUp() override { ASSERT_TRUE(m.open(path())); }
};

TEST_F(English, SwitchesAndOwnForms)
{
    struct Case {
        const char *verb;
        uint32_t tense, person;
        const char *forms;
    } cases[] = {
        {"walk", 73, 37, "walk"},         {"walk", 76, 39, "walks"},       {"walk", 76, 42, "walk"},
        {"walk", 81, 37, "walked"},       {"walk", 74, 37, "walked"},      {"walk", 75, 37, "walking"},
        {"stop", 81, 38, "stopped"},      {"stop", 75, 37, "stopping"},    {"cry", 76, 39, "cries"},
        {"cry", 81, 39, "cried"},         {"make", 75, 37, "making"},      {"make", 74, 37, "made"},
        {"panic", 81, 37, "panicked"},    {"panic", 75, 37, "panicking"},  {"pay", 81, 37, "paid"},
        {"go", 76, 39, "goes"},           {"go", 81, 37, "went"},          {"go", 74, 37, "gone"},
        {"quiz", 76, 39, "quizzes"},      {"ok", 76, 39, "ok's"},          {"ok", 81, 37, "ok'ed"},
        {"ok", 75, 37, "ok'ing"},         {"agree", 81, 37, "agreeed|agreed"},
        // The verb's own past replaces the switches.
        {"learn", 81, 37, "learned|learnt"},
        // "be" and "have" from their tables; "be" has its own participle.
        {"be", 76, 37, "am"},             {"be", 76, 39, "is"},            {"be", 81, 39, "was"},
        {"be", 81, 40, "were"},           {"be", 74, 37, "been"},          {"be", 75, 37, "being"},
        {"have", 76, 39, "has"},          {"have", 81, 37, "had"},         {"have", 83, 39, "has had"},
        // A modal's one form, its own past in tense 81 (or the one form), and no participles.
        {"can", 76, 39, "can"},           {"can", 81, 37, "could"},        {"can", 73, 37, "can"},
        {"can", 74, 37, ""},              {"can", 75, 37, ""},             {"can", 78, 37, "can"},
        {"must", 76, 37, "must"},         {"must", 81, 37, "must"},
        // A tense the language does not have.
        {"walk", 90, 37, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(forms(c.verb, c.tense, c.person), c.forms) << c.verb << " " << c.tense << "/" << c.person;
}

TEST_F(English, CompoundTenses)
{
    struct Case {
        const char *verb;
        uint32_t tense, person;
        const char *forms;
    } cases[] = {
        {"walk", 77, 37, "am walking"},     {"walk", 77, 39, "is walking"},      {"walk", 77, 40, "are walking"},
        {"walk", 78, 38, "will walk"},      {"walk", 79, 37, "will be walking"}, {"walk", 80, 42, "will have walked"},
        {"walk", 82, 39, "was walking"},    {"walk", 82, 41, "were walking"},    {"walk", 83, 39, "has walked"},
        {"walk", 83, 37, "have walked"},    {"walk", 84, 37, "had walked"},      {"walk", 85, 37, "would walk"},
        {"walk", 86, 40, "would have walked"}, {"go", 84, 37, "had gone"},      {"be", 83, 37, "have been"},
        // Each past form gives its perfect; one participle of several pasts is given once.
        {"learn", 84, 37, "had learned|had learnt"}, {"dream", 84, 37, "had dreamt"},
        {"dream", 81, 37, "dreamed|dreamt"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(forms(c.verb, c.tense, c.person), c.forms) << c.verb << " " << c.tense << "/" << c.person;
}

TEST_F(English, DisplayTextsAndDetails)
{
    EXPECT_EQ(display("walk", 87, 40), "let's walk");
    EXPECT_EQ(display("walk", 87, 38), "(you) walk");
    EXPECT_EQ(display("go", 81, 39), "he/she/it went");
    EXPECT_EQ(display("learn", 81, 37), "I learned, learnt");
    EXPECT_EQ(display("go", 74, 39), "gone");       // personless: the form alone
    EXPECT_EQ(details("go"), "present participle: going\npast participle: gone\n");
    EXPECT_EQ(details("be"), "present participle: being\npast participle: been\n");
    EXPECT_EQ(details("can"), "");
    LXList<int> tenses;
    m.conjugator.getTenses(verb("can"), tenses, false);
    std::string listed;
    for (LXList<int>::iterator t = tenses.begin(); !t.isAtEnd(); ++t)
        listed += std::to_string(*t) + " ";
    EXPECT_EQ(listed, "76 81 ");
    LXList<int> imperative;
    m.conjugator.getPersons(verb("walk"), 87, imperative);
    ASSERT_EQ(imperative.size(), 2u);
    EXPECT_EQ(*imperative.begin(), 38);
}

// A rule feature: the rule number plus 2 as one code point.
std::string rule(int n)
{
    return std::string(1, static_cast<char>(n + 2));
}

// Tenses 73..89 with the seven German persons, the endings of each simple tense.
TenseForms seven(uint32_t tense, const char *a, const char *b, const char *c, const char *d, const char *e,
                 const char *f, const char *g)
{
    return TenseForms{tense, {{37, a}, {38, b}, {39, c}, {40, d}, {41, e}, {42, f}, {43, g}}};
}

LXModelCache germanModel(uint32_t number, std::initializer_list<std::pair<uint32_t, const char *>> features,
                         const TenseForms &present, const TenseForms &past, const TenseForms &subjunctive1,
                         const TenseForms &subjunctive2)
{
    LXModelCache m = makeModel(number, features,
                               {{73, {{37, ""}}}, {74, {{37, ""}}}, {75, {{37, "end"}}}, present, past, subjunctive1,
                                subjunctive2, {89, {{38, "e"}, {40, "en"}, {41, "t"}, {42, "en"}}}});
    for (uint32_t t : {77u, 78u, 80u, 81u, 84u, 85u, 86u, 87u, 88u}) {
        LXModelCache one = makeModel(number, {}, {seven(t, "", "", "", "", "", "", "")});
        m.tenses.push_back(*one.tenses.begin());
    }
    return m;
}

class German : public Germanic {
protected:
    static void SetUpTestSuite()
    {
        LXConjugationWriter w(LXGerman);
        addNames(w, {"ich", "du", "er/sie/es", "wir", "ihr", "Sie", "sie"},
                 {"Infinitiv", "Partizip II", "Partizip I", "Präsens", "Futur I", "Futur II", "Präteritum",
                  "Perfekt", "Plusquamperfekt", "Konjunktiv I", "Konjunktiv II", "Futur II Konjunktiv I",
                  "Futur I Konjunktiv II", "Futur II Konjunktiv II", "Perfekt Konjunktiv I",
                  "Plusquamperfekt Konjunktiv II", "Imperativ"});
        const TenseForms present = seven(76, "e", "st", "t", "en", "t", "en", "en");
        const TenseForms weakPast = seven(79, "", "st", "", "n", "t", "n", "n");
        const TenseForms strongPast = seven(79, "", "st", "", "en", "t", "en", "en");
        const TenseForms subjunctive1 = seven(82, "e", "est", "e", "en", "et", "en", "en");
        const TenseForms weak83 = seven(83, "", "st", "", "n", "t", "n", "n");
        const TenseForms strong83 = seven(83, "e", "est", "e", "en", "et", "en", "en");
        // Weak verbs; strong ones with their vowel rules; the three carrier verbs whose
        // model cuts the whole infinitive, so their tables hold whole forms.
        w.addModel(germanModel(1, {{27, "en"}, {49, "en"}, {51, ""}}, present, weakPast, subjunctive1, weak83));
        w.addModel(germanModel(2, {{27, "en"}, {49, "en"}, {52, ""}}, present, strongPast, subjunctive1, strong83));
        w.addModel(germanModel(3, {{27, "en"}, {49, "en"}, {52, ""}, {16, rule(1).c_str()}, {16, rule(4).c_str()},
                                   {16, rule(3).c_str()}},
                               present, strongPast, subjunctive1, strong83));
        w.addModel(germanModel(4, {{27, "en"}, {49, "en"}, {52, ""}, {16, rule(5).c_str()}, {16, rule(4).c_str()},
                                   {16, rule(10).c_str()}},
                               present, strongPast, subjunctive1, strong83));
        w.addModel(germanModel(5, {{27, "en"}, {49, "en"}, {52, ""}, {16, rule(6).c_str()}, {16, rule(2).c_str()},
                                   {16, rule(8).c_str()}, {16, rule(7).c_str()}, {16, "\x02"}, {16, rule(5).c_str()}},
                               present, strongPast, subjunctive1, strong83));
        w.addModel(germanModel(6, {{27, "werden"}, {49, "en"}, {52, ""}},
                               seven(76, "werde", "wirst", "wird", "werden", "werdet", "werden", "werden"), strongPast,
                               subjunctive1, strong83));
        w.addModel(germanModel(7, {{27, "sein"}, {49, "n"}, {52, ""}},
                               seven(76, "bin", "bist", "ist", "sind", "seid", "sind", "sind"), strongPast,
                               seven(82, "", "st", "", "en", "et", "en", "en"), strong83));
        w.addModel(germanModel(8, {{27, "haben"}, {49, "en"}, {52, ""}},
                               seven(76, "habe", "hast", "hat", "haben", "habt", "haben", "haben"), weakPast,
                               subjunctive1, weak83));
        // The past's ending rules (3, 9) of a weak stem that ends in "e".
        w.addModel(germanModel(9, {{27, "en"}, {49, "en"}, {51, ""}, {16, rule(3).c_str()}, {16, rule(9).c_str()}},
                               present, seven(79, "", "est", "", "en", "t", "en", "en"), subjunctive1, weak83));
        // The present's endings of the lesen model as suffix models.
        for (uint32_t person = 37; person <= 43; ++person) {
            LXSuffixModel suffix;
            suffix.model = 3;
            suffix.tense = 76;
            suffix.person = person;
            const char *ending = person == 37 ? "e" : person == 38 ? "ts" : person == 39 || person == 41 ? "t" : "ne";
            suffix.ending = U(ending);
            w.addSuffixModel(suffix);
        }
        w.addVerb(makeVerb("machen", 1, {}, {{48, "machte"}, {74, "gemacht"}}));
        w.addVerb(makeVerb("an\xC2\xB7kommen", 2, {30}, {{46, "an"}, {48, "kam"}, {50, "k\xC3\xA4m"}, {74, "angekommen"}}));
        w.addVerb(makeVerb("lesen", 3, {}, {{48, "las"}, {50, "l\xC3\xA4s"}, {74, "gelesen"}}));
        w.addVerb(makeVerb("halten", 4, {}, {{48, "hielt"}, {50, "hielt"}, {74, "gehalten"}}));
        w.addVerb(makeVerb("fahren", 4, {30}, {{48, "fuhr"}, {50, "f\xC3\xBChr"}, {74, "gefahren"}}));
        w.addVerb(makeVerb("laufen", 5, {31}, {{48, "lief"}, {50, "lief"}, {74, "gelaufen"}}));
        w.addVerb(makeVerb("geben", 5, {}, {{48, "gab"}, {50, "g\xC3\xA4" "b"}, {74, "gegeben"}}));
        w.addVerb(makeVerb("geb\xC3\xA4ren", 5, {}, {{48, "gebar"}, {74, "geboren"}}));
        w.addVerb(makeVerb("schlie\xC3\x9F" "en", 5, {}, {{48, "schlo\xC3\x9F"}, {74, "geschlossen"}}));
        w.addVerb(makeVerb("sagen", 9, {}, {{48, "sagte"}, {74, "gesagt"}}));
        w.addVerb(makeVerb("bitten", 9, {}, {{48, "bat"}, {74, "gebeten"}}));
        w.addVerb(makeVerb("werden", 6, {30}, {{48, "wurde"}, {50, "w\xC3\xBCrd"}, {74, "geworden"}}));
        w.addVerb(makeVerb("sein", 7, {30}, {{48, "war"}, {50, "w\xC3\xA4r"}, {74, "gewesen"}}));
        w.addVerb(makeVerb("haben", 8, {}, {{48, "hatte"}, {50, "h\xC3\xA4tte"}, {74, "gehabt"}}));
        // No participle and no past stem: no form where they are needed.
        w.addVerb(makeVerb("bangen", 1));
        ASSERT_TRUE(writeModule(w, path()));
    }
    static std::string path() { return tempPath("german-rules.lxc"); }
    void SetUp() override { ASSERT_TRUE(m.open(path())); }
};

TEST_F(German, SimpleTensesRulesAndParticles)
{
    struct Case {
        const char *verb;
        uint32_t tense, person;
        const char *forms;
    } cases[] = {
        {"machen", 73, 37, "machen"},      {"machen", 76, 38, "machst"},       {"machen", 76, 43, "machen"},
        {"machen", 79, 37, "machte"},      {"machen", 79, 40, "machten"},      {"machen", 83, 39, "machte"},
        {"machen", 82, 38, "machest"},     {"machen", 89, 38, "mache"},
        {"machen", 75, 37, "machend|machende|machendes|machender|machenden|machendem"},
        {"machen", 74, 37, "gemacht|gemachte|gemachtes|gemachter|gemachten|gemachtem"},
        // The separable particle after the verb (and joined before it), in front of the
        // participle; the infinitive shown without its separator.
        {"ankommen", 73, 37, "ankommen"},  {"ankommen", 76, 39, "kommt an|ankommt"},
        {"ankommen", 79, 40, "kamen an|ankamen"}, {"ankommen", 83, 37, "k\xC3\xA4me an|ank\xC3\xA4me"},
        {"ankommen", 75, 37, "ankommend|ankommende|ankommendes|ankommender|ankommenden|ankommendem"},
        // Rules 1 and 4 (lies, liest), 3 (lasest), 5 with 4 (hältst, hält, haltet), 10.
        {"lesen", 76, 38, "liest"},        {"lesen", 76, 39, "liest"},         {"lesen", 76, 41, "lest"},
        {"lesen", 79, 38, "lasest"},       {"halten", 76, 38, "h\xC3\xA4ltst"}, {"halten", 76, 39, "h\xC3\xA4lt"},
        {"halten", 76, 41, "haltet"},      {"halten", 89, 38, "halte"},        {"fahren", 76, 39, "f\xC3\xA4hrt"},
        {"fahren", 76, 40, "fahren"},
        // Rules 6 (läuft), 2 (gibst, gib), 8 (gebierst), 7 (schlossen); a rule after the
        // value 2 is not applied (laufen keeps "au" for rule 5).
        {"laufen", 76, 39, "l\xC3\xA4uft"}, {"geben", 76, 38, "gibst"},        {"geben", 76, 39, "gibt"},
        {"geb\xC3\xA4ren", 76, 38, "gebierst"}, {"schlie\xC3\x9F" "en", 79, 40, "schlossen"},
        {"schlie\xC3\x9F" "en", 79, 39, "schlo\xC3\x9F"},
        // Rules 9 and 3 on a past stem ending in "e", and 3 after "t".
        {"sagen", 79, 38, "sagtest"},      {"sagen", 79, 40, "sagten"},        {"bitten", 79, 41, "batet"},
        // Carrier verbs from whole forms.
        {"sein", 76, 37, "bin"},           {"sein", 82, 39, "sei"},            {"werden", 83, 38, "w\xC3\xBCrdest"},
        // Without the past stem or the participle there is no form.
        {"bangen", 79, 37, ""},            {"bangen", 74, 37, ""},             {"bangen", 76, 37, "bange"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(forms(c.verb, c.tense, c.person), c.forms) << c.verb << " " << c.tense << "/" << c.person;
}

TEST_F(German, CompoundTensesWithTheirCarrierVerbs)
{
    struct Case {
        const char *verb;
        uint32_t tense, person;
        const char *forms;
    } cases[] = {
        {"machen", 77, 37, "werde machen"},          {"machen", 78, 37, "werde gemacht haben"},
        {"machen", 80, 37, "habe gemacht"},          {"machen", 80, 39, "hat gemacht"},
        {"machen", 81, 38, "hattest gemacht"},       {"machen", 84, 39, "werde gemacht haben"},
        {"machen", 85, 37, "w\xC3\xBCrde machen"},   {"machen", 86, 38, "w\xC3\xBCrdest gemacht haben"},
        {"machen", 87, 37, "habe gemacht"},          {"machen", 88, 40, "h\xC3\xA4tten gemacht"},
        {"ankommen", 80, 37, "bin angekommen"},      {"ankommen", 78, 39, "wird angekommen sein"},
        {"ankommen", 77, 40, "werden ankommen"},     {"fahren", 81, 37, "war gefahren"},
        {"laufen", 80, 40, "sind gelaufen"},         {"sein", 80, 37, "bin gewesen"},
        // No participle: no form, not the auxiliary alone.
        {"bangen", 80, 37, ""},                      {"bangen", 77, 37, "werde bangen"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(forms(c.verb, c.tense, c.person), c.forms) << c.verb << " " << c.tense << "/" << c.person;
}

TEST_F(German, DisplayTextsDetailsAndStems)
{
    EXPECT_EQ(display("machen", 89, 38), "(du) mache");
    EXPECT_EQ(display("machen", 89, 41), "(ihr) macht");
    EXPECT_EQ(display("machen", 89, 40), "Machen wir!");
    // The particle stays at the end, and an imperative has no joined form ("ankomme" is
    // only ever a subordinate clause's present).
    EXPECT_EQ(display("ankommen", 89, 42), "Kommen Sie an!");
    EXPECT_EQ(display("ankommen", 89, 38), "(du) komme an");
    EXPECT_EQ(display("machen", 76, 37), "ich mache");
    EXPECT_EQ(display("machen", 74, 39), "gemacht");
    EXPECT_EQ(details("ankommen"), "Partizip I: ankommend\nPartizip II: angekommen\nAux: sein\n");
    EXPECT_EQ(details("laufen"), "Partizip I: laufend\nPartizip II: gelaufen\nAux: sein, haben\n");
    EXPECT_EQ(details("machen"), "Partizip I: machend\nPartizip II: gemacht\n");
    // The module holds no form index: changed stems lead back through the spelling variants.
    LXList<LXStem> stems;
    m.conjugator.getVerbStems(U("liest"), stems, 2);
    bool lesen = false;
    for (LXList<LXStem>::iterator s = stems.begin(); !s.isAtEnd(); ++s)
        lesen = lesen || S((*s).base) == "lesen";
    EXPECT_TRUE(lesen);
    lxstring description;
    m.conjugator.getEnglishPersonDescription(41, description);
    EXPECT_EQ(S(description), "2nd person plural informal");
}

// A module without the carrier verbs gives no compound form rather than a lone participle.
TEST(GermanWithoutCarriers, CompoundTensesHaveNoForm)
{
    LXConjugationWriter w(LXGerman);
    w.addModel(germanModel(1, {{27, "en"}, {49, "en"}, {51, ""}}, seven(76, "e", "st", "t", "en", "t", "en", "en"),
                           seven(79, "", "st", "", "n", "t", "n", "n"), seven(82, "e", "est", "e", "en", "et", "en", "en"),
                           seven(83, "", "st", "", "n", "t", "n", "n")));
    w.addVerb(makeVerb("machen", 1, {}, {{48, "machte"}, {74, "gemacht"}}));
    std::string path = tempPath("german-no-carriers.lxc");
    ASSERT_TRUE(writeModule(w, path));
    OpenModule m;
    ASSERT_TRUE(m.open(path));
    LXVerb v;
    ASSERT_TRUE(m.conjugator.findVerb(U("machen"), v));
    for (uint32_t tense : {77u, 78u, 80u, 81u, 84u, 85u, 86u, 87u, 88u}) {
        LXList<lxstring> list;
        EXPECT_FALSE(m.conjugator.getConjugations(v, tense, 37, list)) << tense;
        EXPECT_TRUE(list.empty()) << tense;
    }
}

} // namespace
