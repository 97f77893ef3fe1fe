// Queries and the French and Italian form builders over small hand-made modules.
#include <gtest/gtest.h>

#include "lxc_fixture.h"

namespace {

// French: the two auxiliaries on models 1 and 2, and models that exercise the rules.
class French : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        LXConjugationWriter w(LXFrench);
        addNames(w, {"je", "tu", "il", "nous", "vous", "ils"},
                 {"Infinitif", "Participe passé", "", "", "", "", "Participe présent"});
        w.addModel(makeModel(1, {{27, "avoir"}}, {six(80, "ai", "as", "a", "avons", "avez", "ont"),
                                                  six(81, "aurai", "auras", "aura", "aurons", "aurez", "auront"),
                                                  {74, {{37, "eu"}}}}));
        w.addModel(makeModel(2, {{27, "être"}}, {six(80, "suis", "es", "est", "sommes", "êtes", "sont"),
                                                 six(81, "serai", "seras", "sera", "serons", "serez", "seront"),
                                                 {74, {{37, "été"}}}}));
        w.addModel(makeModel(3, {{27, "er"}}, {six(80, "e", "es", "e", "ons", "ez", "ent"),
                                               six(81, "erai", "eras", "era", "erons", "erez", "eront"),
                                               {94, {{38, "e"}, {40, "ons"}, {41, "ez"}}},
                                               {74, {{37, "é"}}}, {75, {{37, "és"}}}, {79, {{37, "ant"}}}}));
        // Rule 0 (c -> ç), rule 1 (e -> è), rule 5 (y -> i): values 3, 4 and 8.
        w.addModel(makeModel(4, {{27, "er"}, {16, "\x03"}}, {six(80, "e", "es", "e", "ons", "ez", "ent")}));
        w.addModel(makeModel(5, {{27, "er"}, {16, "\x04"}}, {six(80, "e", "es", "e", "ons", "ez", "ent"),
                                                             six(81, "erai", "eras", "era", "erons", "erez", "eront")}));
        w.addModel(makeModel(6, {{27, "er"}, {16, "\x08"}}, {six(80, "e", "es", "e", "ons", "ez", "ent")}));
        // No feature 27: the whole infinitive is the stem. Person 39 only.
        w.addModel(makeModel(7, {}, {{80, {{39, "-x"}}}, {74, {{37, "u"}}}}));
        // Rule 3 (doubled consonant): value 6.
        w.addModel(makeModel(8, {{27, "er"}, {16, "\x06"}}, {six(80, "e", "es", "e", "ons", "ez", "ent")}));
        // Value 2: no rule.
        w.addModel(makeModel(9, {{27, "er"}, {16, "\x02"}}, {six(80, "e", "es", "e", "ons", "ez", "ent")}));

        LXModelCache regular = makeModel(3, {{27, "er"}}, {six(80, "e", "es", "e", "ons", "ez", "ent")});
        addSuffixModels(w, regular);
        addSuffixModels(w, makeModel(4, {}, {six(80, "e", "es", "e", "ons", "ez", "ent")}));
        w.addVerb(makeVerb("aimer", 3));
        w.addVerb(makeVerb("arriver", 3, {34}));
        w.addVerb(makeVerb("monter", 3, {35}));
        w.addVerb(makeVerb("habiter", 3));
        w.addVerb(makeVerb("hacher", 3, {18}));
        w.addVerb(makeVerb("laver", 3, {24, 34}));
        w.addVerb(makeVerb("écrier", 3, {24, 34}));
        w.addVerb(makeVerb("hâter", 3, {18, 24, 34}));
        w.addVerb(makeVerb("habiller", 3, {24, 34}));
        w.addVerb(makeVerb("placer", 4));
        w.addVerb(makeVerb("lever", 5));
        w.addVerb(makeVerb("employer", 6));
        w.addVerb(makeVerb("fal", 7, {29}));
        w.addVerb(makeVerb("jeter", 8));
        w.addVerb(makeVerb("garder", 9));
        w.addVerb(makeVerb("dire", 3, {}, {{74, "dit"}, {80, "X"}}));
        w.addVerb(makeVerb("clore", 3, {}, {{75, "clos"}}));
        for (const char *v : {"parler", "partir", "passer", "payer", "peindre"})
            w.addVerb(makeVerb(v, 3));
        ASSERT_TRUE(writeModule(w, path()));
    }
    static std::string path() { return tempPath("french-rules.lxc"); }

    void SetUp() override { ASSERT_TRUE(m.open(path())); }

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

    OpenModule m;
};

TEST_F(French, SimpleTensesAndOwnForms)
{
    struct Case {
        const char *verb;
        uint32_t tense, person;
        const char *forms;
    } cases[] = {
        {"aimer", 73, 40, "aimer"},
        {"aimer", 80, 37, "aime"},
        {"aimer", 81, 42, "aimeront"},
        {"aimer", 74, 41, "aimé"},          // personless: stored under 37
        {"aimer", 94, 38, "aime"},
        {"aimer", 94, 37, ""},              // not stored: no form, not the bare stem
        {"aimer", 88, 37, ""},              // a tense the model lacks
        {"fal", 80, 39, "fal-x"},           // no ending feature: whole infinitive
        {"fal", 80, 37, ""},
        {"dire", 74, 37, "dit"},            // own participle replaces the model's
        {"dire", 80, 38, "diX"},            // own finite forms are endings after the stem
        {"clore", 74, 37, "clos"},          // entry 75 stands in for a missing 74
        {"placer", 80, 40, "plaçons"},      // rule 0 before "o"
        {"placer", 80, 41, "placez"},
        {"lever", 80, 37, "lève"},          // rule 1
        {"lever", 80, 40, "levons"},
        {"lever", 81, 40, "lèverons"},      // future: every person
        {"employer", 80, 38, "emploies"},   // rule 5
        {"employer", 80, 42, "emploient"},  // "ils" too
        {"employer", 80, 41, "employez"},
        {"jeter", 80, 37, "jette"},         // rule 3
        {"jeter", 80, 40, "jetons"},
        {"garder", 80, 37, "garde"},        // value 2: no rule
    };
    for (const Case &c : cases)
        EXPECT_EQ(forms(c.verb, c.tense, c.person), c.forms) << c.verb << " " << c.tense << "/" << c.person;
    lxstring first;
    EXPECT_FALSE(m.conjugator.getConjugation(verb("aimer"), 94, 37, first));
    EXPECT_TRUE(first.empty());
    EXPECT_TRUE(m.conjugator.getConjugation(verb("aimer"), 80, 39, first));
    EXPECT_EQ(S(first), "aime");
}

TEST_F(French, CompoundTenses)
{
    EXPECT_EQ(forms("aimer", 84, 37), "ai aimé");
    EXPECT_EQ(forms("aimer", 82, 42), "auront aimé");
    EXPECT_EQ(forms("arriver", 84, 39), "est arrivé");
    EXPECT_EQ(forms("monter", 84, 40), "sommes monté");
    EXPECT_EQ(forms("dire", 84, 38), "as dit");
    EXPECT_EQ(forms("fal", 84, 39), "a falu");
    // The auxiliary table lacks tense 83: the auxiliary is empty.
    EXPECT_EQ(forms("aimer", 85, 37), " aimé");
}

TEST_F(French, DisplayTexts)
{
    struct Case {
        const char *verb;
        uint32_t tense, person;
        const char *text;
    } cases[] = {
        {"aimer", 80, 37, "j' aime"},
        {"aimer", 80, 40, "nous aimons"},
        {"aimer", 74, 40, "aimé"},
        {"habiter", 80, 37, "j' habite"},
        {"hacher", 80, 37, "je hache"},
        {"aimer", 94, 38, "(tu) aime"},
        {"aimer", 84, 37, "j' ai aimé"},
        {"arriver", 84, 37, "je suis arrivé(e)"},
        {"arriver", 84, 40, "nous sommes arrivé(e)s"},
        {"arriver", 84, 41, "vous êtes arrivé(e)(s)"},
        {"arriver", 84, 42, "ils sont arrivé(e)s"},
        {"monter", 84, 38, "tu es monté(e)"},
        // Reflexive: the subject pronoun follows the form as shown.
        {"laver", 80, 37, "je me lave"},
        {"laver", 80, 38, "tu te laves"},
        {"laver", 80, 40, "nous nous lavons"},
        {"laver", 80, 42, "ils se lavent"},
        {"écrier", 80, 37, "je m'écrie"},
        {"écrier", 80, 39, "il s'écrie"},
        {"écrier", 80, 41, "vous vous écriez"},
        {"habiller", 80, 37, "je m'habille"},
        {"hâter", 80, 37, "je me hâte"},
        // Compound tenses: the pronoun elides before the auxiliary's vowel.
        {"laver", 84, 37, "je me suis lavé(e)"},
        {"laver", 84, 38, "tu t'es lavé(e)"},
        {"laver", 84, 39, "il s'est lavé(e)"},
        {"laver", 84, 40, "nous nous sommes lavé(e)s"},
        {"laver", 84, 41, "vous vous êtes lavé(e)(s)"},
        {"laver", 84, 42, "ils se sont lavé(e)s"},
        {"laver", 82, 38, "tu te seras lavé(e)"},
        {"laver", 82, 39, "il se sera lavé(e)"},
        {"aimer", 94, 37, "(je) "},
        {"laver", 94, 38, "(tu) lave-toi"},
        {"laver", 94, 40, "(nous) lavons-nous"},
        {"écrier", 94, 41, "(vous) écriez-vous"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(display(c.verb, c.tense, c.person), c.text) << c.verb << " " << c.tense << "/" << c.person;
}

TEST_F(French, VerbDetails)
{
    lxstring text;
    m.conjugator.getVerbDetails(verb("aimer"), text);
    EXPECT_EQ(S(text), "Participe présent: aimant\nParticipe passé: aimé\n");
    m.conjugator.getVerbDetails(verb("arriver"), text);
    EXPECT_EQ(S(text), "Participe présent: arrivant\nParticipe passé: arrivé(e)(s)\nAux: être\n");
    m.conjugator.getVerbDetails(verb("monter"), text);
    EXPECT_EQ(S(text), "Participe présent: montant\nParticipe passé: monté(e)(s)\nAux: être, avoir\n");
}

TEST_F(French, TensesAndPersons)
{
    LXList<int> list;
    m.conjugator.getTenses(verb("aimer"), list, false);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], 80);
    EXPECT_EQ(list[2], 94);
    m.conjugator.getTenses(verb("aimer"), list, true);
    EXPECT_EQ(list.size(), 6u);
    EXPECT_EQ(list[0], 74);
    m.conjugator.getPersons(verb("aimer"), 94, list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1], 40);
    m.conjugator.getPersons(verb("fal"), 80, list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], 39);
    // Feature 29 gives person 39 even for a tense that stores other persons.
    LXVerb v = verb("aimer");
    v.addEntry(29, lxstring(LXEncodingUtf8));
    m.conjugator.getPersons(v, 80, list);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], 39);
    m.conjugator.getPersons(verb("aimer"), 92, list);
    EXPECT_TRUE(list.empty());
}

TEST_F(French, MatchingVerbs)
{
    LXList<lxstring> list;
    m.conjugator.getMatchingVerbs(U(" + +"), list, true, 0);
    EXPECT_TRUE(list.empty());
    m.conjugator.getMatchingVerbs(U("pa"), list, true, 3);
    EXPECT_EQ(joined(list), "parler|partir|passer");
    m.conjugator.getMatchingVerbs(U("PA"), list, true, 0);
    EXPECT_EQ(joined(list), "parler|partir|passer|payer");
    m.conjugator.getMatchingVerbs(U("p"), list, true, 0);
    EXPECT_EQ(list.size(), 6u);
    m.conjugator.getMatchingVerbs(U("ecr"), list, false, 0);
    EXPECT_EQ(list.size(), 7u);
    EXPECT_EQ(S(list[6]), "écrier");
    m.conjugator.getMatchingVerbs(U("s'habi"), list, true, 0);
    EXPECT_EQ(joined(list), "habiller|habiter");
}

TEST_F(French, VerbStems)
{
    LXList<LXStem> stems;
    m.conjugator.getVerbStems(U("Plaçons"), stems, 2);
    ASSERT_FALSE(stems.empty());
    EXPECT_EQ(S(stems[0].base), "placer");
    EXPECT_EQ(stems[0].tense, 80u);
    EXPECT_EQ(stems[0].person, 40u);
    EXPECT_EQ(S(stems[0].partOfSpeechName), "v.");
    EXPECT_EQ(stems[0].partOfSpeechCode, 6u);
    stems.clear();
    m.conjugator.getVerbStems(U("aimé"), stems, 2);
    ASSERT_EQ(stems.size(), 1u);
    EXPECT_EQ(stems[0].tense, 74u);
    // "parle" fits persons 37 and 39 of parler: strategy 0 keeps one.
    stems.clear();
    m.conjugator.getVerbStems(U("parle"), stems, 0);
    EXPECT_EQ(stems.size(), 1u);
    stems.clear();
    m.conjugator.getVerbStems(U("x"), stems, 2);
    EXPECT_TRUE(stems.empty());
}

TEST(ConjugationText, SplittingAndNormalising)
{
    struct Split {
        const char *text;
        const char *forms;
    } splits[] = {
        {" a , b", "a |b"}, {"", ""}, {"x,,y", "x||y"}, {"(il) mange, ! mangé/e", "(il) mange|mangé/e"},
        {"<1p>a</1p>", "<1p>a</1p>"},
    };
    for (const Split &s : splits) {
        LXList<lxstring> list;
        LXConjugator::splitForms(U(s.text), list);
        EXPECT_EQ(joined(list), s.forms) << s.text;
        EXPECT_FALSE(list.empty());
    }
    struct Norm {
        const char *text;
        bool lower, base;
        const char *out;
    } norms[] = {
        {"S'Élever", true, true, "elever"}, {"s'élever", false, false, "élever"},
        {"entr'aimer", true, true, "aimer"}, {"aujourd'hui", true, true, "aujourd'hui"},
        {"a+b\xC2\xB7" "c d", false, false, "abcd"}, {" + ", true, true, ""},
    };
    for (const Norm &n : norms) {
        lxstring out;
        LXConjugator::normaliseWord(U(n.text), out, n.lower, n.base);
        EXPECT_EQ(S(out), n.out) << n.text;
    }
    lxstring shown;
    LXConjugator::displayForm(U("a+b\xC2\xB7" "c\xC2\xBC" "d"), shown);
    EXPECT_EQ(S(shown), "abc d");
}

TEST(ConjugationText, VerbListComparison)
{
    struct Case {
        const char *a, *b;
        bool ignoreCase, baseOnly;
        int result;
    } cases[] = {
        {"etre", "être", true, true, 0},   {"etre", "être", false, false, -1},
        {"ETRE", "être", false, false, -1}, {"ETRE", "être", true, false, -1},
        {"être", "être", false, false, 0}, {"a b", "ab", false, false, 0},
        {"ab", "abc", true, true, -1},     {"abd", "abc", true, true, 1},
        {"a+b", "ab", true, true, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LXConjugator::compareVerbText(U(c.a), U(c.b), c.ignoreCase, c.baseOnly), c.result)
            << c.a << " " << c.b;
}

class Italian : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        LXConjugationWriter w(LXItalian);
        addNames(w, {"io", "tu", "lui", "noi", "voi", "loro"},
                 {"Infinito", "Participio passato", "", "", "", "", "Participio presente", "Gerundio"});
        w.addModel(makeModel(12, {{27, "essere"}}, {six(81, "sono", "sei", "è", "siamo", "siete", "sono")}));
        w.addModel(makeModel(23, {{27, "avere"}}, {six(81, "ho", "hai", "ha", "abbiamo", "avete", "hanno")}));
        w.addModel(makeModel(3, {{27, "are"}}, {six(81, "o", "i", "a", "iamo", "ate", "ano"),
                                                six(86, "erò", "erai", "erà", "eremo", "erete", "eranno"),
                                                {95, {{38, "a"}, {39, "i"}, {40, "iamo"}, {41, "ate"}, {42, "ino"}}},
                                                {74, {{37, "ato"}}}, {75, {{37, "ati"}}}, {79, {{37, "ante"}}},
                                                {80, {{37, "ando"}}}}));
        // Rule 3 (value 5) then rule 0 (value 2) stops the list before rule 1 (value 3).
        w.addModel(makeModel(4, {{27, "are"}, {16, "\x05"}, {16, "\x02"}, {16, "\x03"}},
                             {six(81, "o", "i", "a", "iamo", "ate", "ano")}));
        // Rule 1 (u -> e) and rule 2 (e -> ie).
        w.addModel(makeModel(5, {{27, "ire"}, {16, "\x03"}}, {six(81, "o", "i", "e", "iamo", "ite", "ono")}));
        w.addModel(makeModel(6, {{27, "ere"}, {16, "\x04"}}, {six(81, "o", "i", "e", "iamo", "ete", "ono")}));
        w.addVerb(makeVerb("amare", 3));
        w.addVerb(makeVerb("andare", 3, {32}));
        w.addVerb(makeVerb("passare", 3, {33}));
        w.addVerb(makeVerb("mangiare", 4));
        w.addVerb(makeVerb("uscire", 5));
        w.addVerb(makeVerb("sedere", 6));
        w.addVerb(makeVerb("fare", 3, {}, {{86, "<1p>farò, fo</1p><2p>farai</2p>"}}));
        ASSERT_TRUE(writeModule(w, path()));
    }
    static std::string path() { return tempPath("italian-rules.lxc"); }
    void SetUp() override { ASSERT_TRUE(m.open(path())); }

    std::string forms(const char *infinitive, uint32_t tense, uint32_t person)
    {
        LXVerb v;
        EXPECT_TRUE(m.conjugator.findVerb(U(infinitive), v));
        LXList<lxstring> list;
        m.conjugator.getConjugations(v, tense, person, list);
        return joined(list);
    }
    OpenModule m;
};

TEST_F(Italian, FormsRulesAndCompounds)
{
    struct Case {
        const char *verb;
        uint32_t tense, person;
        const char *forms;
    } cases[] = {
        {"amare", 81, 37, "amo"},
        {"amare", 80, 40, "amando"},        // gerund, personless in Italian
        {"mangiare", 81, 37, "mangio"},
        {"mangiare", 81, 38, "mangi"},      // rule 3: the stem's i merges
        {"mangiare", 81, 39, "mangia"},
        {"mangiare", 81, 40, "mangiamo"},
        {"uscire", 81, 37, "esco"},         // rule 1 in the P-set
        {"uscire", 81, 40, "usciamo"},
        {"sedere", 81, 38, "siedi"},        // rule 2
        {"sedere", 81, 41, "sedete"},
        {"fare", 86, 37, "farò|fo"},        // per-person sections, as they stand
        {"fare", 86, 38, "farai"},
        {"fare", 86, 39, "ferà"},           // no section: the model's entry as endings
        {"amare", 85, 37, "ho amato"},
        {"andare", 85, 39, "è andato"},
        {"andare", 85, 40, "siamo andati"},     // agreement with essere
        {"passare", 85, 42, "sono passati"},
        {"amare", 85, 40, "abbiamo amato"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(forms(c.verb, c.tense, c.person), c.forms) << c.verb << " " << c.tense << "/" << c.person;
}

TEST_F(Italian, TensesDisplayAndDetails)
{
    LXVerb v;
    ASSERT_TRUE(m.conjugator.findVerb(U("amare"), v));
    LXList<int> list;
    m.conjugator.getTenses(v, list, false);
    for (LXList<int>::iterator t = list.begin(); !t.isAtEnd(); ++t)
        EXPECT_GT(*t, 80);
    EXPECT_EQ(list.size(), 3u);
    m.conjugator.getTenses(v, list, true);
    EXPECT_EQ(list.size(), 7u);

    lxstring text;
    m.conjugator.getConjugationDisplayText(v, '\t', 81, 37, text);
    EXPECT_EQ(S(text), "io\tamo");
    m.conjugator.getConjugationDisplayText(v, ' ', 95, 38, text);
    EXPECT_EQ(S(text), "(tu) ama");
    m.conjugator.getConjugationDisplayText(v, ' ', 79, 40, text);
    EXPECT_EQ(S(text), "amante");
    m.conjugator.getVerbDetails(v, text);
    EXPECT_EQ(S(text), "Gerundio: amando\nParticipio passato: amato\nParticipio presente: amante\n");
    ASSERT_TRUE(m.conjugator.findVerb(U("andare"), v));
    m.conjugator.getVerbDetails(v, text);
    EXPECT_NE(S(text).find("Aux: essere\n"), std::string::npos);
    ASSERT_TRUE(m.conjugator.findVerb(U("passare"), v));
    m.conjugator.getVerbDetails(v, text);
    EXPECT_NE(S(text).find("Aux: avere, essere\n"), std::string::npos);
}

TEST(ConjugationLanguages, OtherLanguagesHaveNoFormsYet)
{
    LXConjugationWriter w(LXLatin);
    w.addModel(makeModel(3, {{27, "are"}}, {six(81, "o", "as", "at", "amus", "atis", "ant")}));
    w.addVerb(makeVerb("amare", 3));
    std::string path = tempPath("latin.lxc");
    ASSERT_TRUE(writeModule(w, path));
    OpenModule m;
    ASSERT_TRUE(m.open(path));
    LXVerb v;
    ASSERT_TRUE(m.conjugator.findVerb(U("amare"), v));
    LXList<lxstring> list;
    EXPECT_FALSE(m.conjugator.getConjugations(v, 81, 37, list));
    EXPECT_TRUE(list.empty());
    LXList<int> tenses;
    m.conjugator.getTenses(v, tenses, false);
    EXPECT_EQ(tenses.size(), 1u);   // no personless run
}

} // namespace
