// The data manager's conjugation calls, forwarded to the conjugator over the French and
// Italian modules built from verbiste: each answer equals the one a conjugator of its
// own gives on the same module.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "format/lxcompressor.h"
#include "lxconjugationadapter.h"
#include "lxconjugator.h"
#include "search/lxdatamanager.h"
#include "testing/lxtest_samples.h"
#include "testing/lxtest_text.h"
#include "testing/lxtest_files.h"

namespace {

template <typename T>
std::vector<T> items(const LXList<T> &list)
{
    std::vector<T> out;
    for (typename LXList<T>::const_iterator it = list.begin(); !it.isAtEnd(); ++it)
        out.push_back(*it);
    return out;
}

std::vector<std::string> texts(const LXList<lxstring> &list)
{
    std::vector<std::string> out;
    for (LXList<lxstring>::const_iterator it = list.begin(); !it.isAtEnd(); ++it)
        out.push_back(text(*it));
    return out;
}

std::string modulePath(const char *name)
{
    return lx_sampleFolder(LXSampleConjugation) + "/" + name;
}

class DataManagerConjugationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!lx_findSample(LXSampleConjugation, "fr.lxc", fr) || !lx_findSample(LXSampleConjugation, "it.lxc", it))
            return;
        dm.reset(LXDataManager::create(LXCreateConjugationEngine));
        ASSERT_TRUE(dm);
        ASSERT_NE(dm->getConjugationEngine(), nullptr);
        ASSERT_TRUE(dm->addStemmingModule(u8(fr)));
        ASSERT_TRUE(dm->addStemmingModule(u8(it)));
        compressor.reset(LXCompressor::create());
        direct.setCompressor(compressor.get());
    }

    std::string fr, it;
    std::unique_ptr<LXDataManager> dm;
    std::unique_ptr<LXCompressor> compressor;
    LXConjugator direct;
};

TEST_F(DataManagerConjugationTest, RegistrationAndModuleLists)
{
    EXPECT_FALSE(dm->addStemmingModule(u8(modulePath("no-such.lxc"))));
    EXPECT_TRUE(dm->isConjugationLanguageAvailable(LXFrench));
    EXPECT_TRUE(dm->isConjugationLanguageAvailable(LXItalian));
    EXPECT_FALSE(dm->isConjugationLanguageAvailable(LXGerman));
    LXList<LXLanguage> languages;
    dm->getConjugationLanguageList(languages);
    EXPECT_EQ(items(languages), (std::vector<LXLanguage>{LXFrench, LXItalian}));

    ASSERT_TRUE(direct.validateModule(u8(fr)));
    LXLanguage language = LXLanguageNone;
    uint32_t version = 0;
    EXPECT_TRUE(dm->getStemmingModuleInfo(u8(fr), language, version));
    EXPECT_EQ(language, LXFrench);
    EXPECT_EQ(version, direct.getFormatWord());
    EXPECT_FALSE(dm->getStemmingModuleInfo(u8(modulePath("no-such.lxc")), language, version));

    LXList<LXModuleType> list;
    dm->getConjugationModuleList(list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].language1, LXFrench);
    EXPECT_EQ(list[0].language2, LXFrench);
    EXPECT_EQ(list[0].product, 10u);
    EXPECT_EQ(list[0].versionWord, direct.getFormatWord() & 0xFFF00000u);
    EXPECT_EQ(list[0].moduleVersion, direct.getHeaderWord());
    EXPECT_EQ(text(list[0].path), fr);
    EXPECT_EQ(list[1].language1, LXItalian);

    dm->clear();
    EXPECT_FALSE(dm->isConjugationLanguageAvailable(LXFrench));
    LXVerb verb;
    EXPECT_FALSE(dm->getVerb(LXFrench, u8("aller"), verb));
}

TEST_F(DataManagerConjugationTest, EveryCallAnswersAsTheConjugatorDoes)
{
    struct Case {
        LXLanguage language;
        const char *infinitive;
        const char *start;   // for the matching verbs
    } cases[] = {
        {LXFrench, "être", "parl"}, {LXFrench, "aller", "man"},   {LXItalian, "essere", "parl"},
        {LXFrench, "finir", "fin"}, {LXItalian, "avere", "ave"}, {LXFrench, "se lever", "lev"},
    };
    // Languages alternate, so each call reopens its module after the other language's.
    for (const Case &c : cases) {
        const std::string path = c.language == LXFrench ? fr : it;
        ASSERT_TRUE(direct.openModule(u8(path)));
        LXVerb mine, theirs;
        bool found = dm->getVerb(c.language, u8(c.infinitive), mine);
        EXPECT_EQ(found, direct.findVerb(u8(c.infinitive), theirs)) << c.infinitive;
        EXPECT_EQ(text(mine.infinitive), text(theirs.infinitive)) << c.infinitive;
        EXPECT_EQ(mine.model, theirs.model) << c.infinitive;

        LXList<lxstring> a, b;
        dm->getMatchingVerbs(c.language, u8(c.start), a, true, 7);
        direct.getMatchingVerbs(u8(c.start), b, true, 7);
        EXPECT_EQ(texts(a), texts(b)) << c.start;
        EXPECT_FALSE(a.empty()) << c.start;

        LXList<int> tensesA, tensesB;
        tensesA.push_back(-1);   // emptied first
        dm->getTenses(c.language, mine, tensesA, false);
        direct.getTenses(theirs, tensesB, false);
        EXPECT_EQ(items(tensesA), items(tensesB)) << c.infinitive;
        ASSERT_FALSE(tensesA.empty()) << c.infinitive;

        lxstring da = u8("stale"), db;
        dm->getVerbDetails(c.language, mine, da);
        direct.getVerbDetails(theirs, db);
        EXPECT_EQ(text(da), text(db)) << c.infinitive;

        for (LXList<int>::iterator t = tensesB.begin(); !t.isAtEnd(); ++t) {
            uint32_t tense = uint32_t(*t);
            lxstring na, nb;
            dm->getTenseName(c.language, tense, na);
            direct.getTenseName(tense, nb);
            EXPECT_EQ(text(na), text(nb)) << tense;
            LXList<int> pa, pb;
            dm->getPersons(c.language, mine, tense, pa);
            direct.getPersons(theirs, tense, pb);
            EXPECT_EQ(items(pa), items(pb)) << c.infinitive << " " << tense;
            for (LXList<int>::iterator p = pb.begin(); !p.isAtEnd(); ++p) {
                uint32_t person = uint32_t(*p);
                lxstring ca, cb;
                EXPECT_EQ(dm->getConjugation(c.language, mine, tense, person, ca),
                          direct.getConjugation(theirs, tense, person, cb));
                EXPECT_EQ(text(ca), text(cb)) << c.infinitive << " " << tense << " " << person;
                LXList<lxstring> la, lb;
                EXPECT_EQ(dm->getConjugation(c.language, mine, tense, person, la),
                          direct.getConjugations(theirs, tense, person, lb));
                EXPECT_EQ(texts(la), texts(lb));
                lxstring xa, xb;
                dm->getConjugationDisplayText(c.language, mine, 0, tense, person, xa);
                direct.getConjugationDisplayText(theirs, 0, tense, person, xb);
                EXPECT_EQ(text(xa), text(xb)) << c.infinitive << " " << tense << " " << person;
                lxstring pna, pnb, ea, eb;
                dm->getPersonName(c.language, person, pna);
                direct.getPersonName(person, pnb);
                EXPECT_EQ(text(pna), text(pnb));
                dm->getEnglishPersonDescription(c.language, person, ea);
                direct.getEnglishPersonDescription(person, eb);
                EXPECT_EQ(text(ea), text(eb));
            }
        }
    }
}

TEST_F(DataManagerConjugationTest, ALanguageWithoutAModuleAnswersNeutrally)
{
    LXVerb verb;
    verb.model = 77;
    EXPECT_FALSE(dm->getVerb(LXGerman, u8("sein"), verb));
    EXPECT_EQ(verb.model, 77u);   // untouched
    LXList<lxstring> verbs;
    verbs.push_back(u8("kept"));
    dm->getMatchingVerbs(LXGerman, u8("s"), verbs, true, 0);
    EXPECT_EQ(texts(verbs), (std::vector<std::string>{"kept"}));
    LXList<int> tenses;
    tenses.push_back(73);
    dm->getTenses(LXGerman, verb, tenses, true);
    EXPECT_TRUE(tenses.empty());   // emptied first
    lxstring s = u8("kept");
    EXPECT_FALSE(dm->getConjugation(LXGerman, verb, 73, 37, s));
    EXPECT_EQ(text(s), "kept");
    dm->getConjugationDisplayText(LXGerman, verb, 0, 73, 37, s);
    EXPECT_TRUE(s.empty());

    // A registered module that has gone since: the calls answer as for a missing one.
    std::string gone = testRunFolder() + "gone.lxc";
    {
        std::ifstream in(fr.c_str(), std::ios::binary);
        std::ofstream out(gone.c_str(), std::ios::binary | std::ios::trunc);
        out << in.rdbuf();
    }
    dm->clear();
    ASSERT_TRUE(dm->addStemmingModule(u8(gone)));
    dm->closeAllDictionaries();
    ASSERT_EQ(std::remove(gone.c_str()), 0);
    EXPECT_FALSE(dm->getVerb(LXFrench, u8("aller"), verb));
    LXList<LXModuleType> list;
    dm->getConjugationModuleList(list);
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(dm->isConjugationLanguageAvailable(LXFrench));   // still registered
}

} // namespace
