// The English form builder over a small hand-made module: the inflection switches of
// each form, the verb's own forms, "be" and "have" from their model tables, the modals,
// the compound tenses, "let's" and "(you)" in the imperative, and the verb details.
#include <gtest/gtest.h>

#include "lxc_fixture.h"
#include "lxenglishconjugator.h"

namespace {

std::string joined(const LXList<lxstring> &list)
{
    std::string out;
    for (LXList<lxstring>::const_iterator it = list.begin(); !it.isAtEnd(); ++it)
        out += (it == list.begin() ? "" : "|") + S(*it);
    return out;
}

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

} // namespace
