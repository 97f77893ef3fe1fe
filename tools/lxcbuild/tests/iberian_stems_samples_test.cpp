// Spanish and Portuguese inflected words lead to their infinitives through the data
// manager's standard-mode stem search, on the sample dictionaries and conjugation modules.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "lxconjugationadapter.h"
#include "search/lxdatamanager.h"
#include "testing/lxtest_samples.h"

namespace {

lxstring text(const std::string &s)
{
    return lxstring(s.c_str(), LXEncodingUtf8);
}

std::string utf8(const lxstring &s)
{
    lxstring t = s;
    t.setEncoding(LXEncodingUtf8);
    return std::string(t.c_str(), t.size());
}

struct StemCase {
    const char *dictionary;
    const char *module;
    LXLanguage language;
    const char *form;
    const char *infinitive;
};

TEST(IberianStems, InflectedFormsLeadToTheirInfinitives)
{
    const StemCase cases[] = {
        {"english-spanish", "es.lxc", LXSpanish, "puedo", "poder"},
        {"english-spanish", "es.lxc", LXSpanish, "pidió", "pedir"},
        {"english-spanish", "es.lxc", LXSpanish, "pienso", "pensar"},
        {"english-spanish", "es.lxc", LXSpanish, "hablado", "hablar"},
        {"english-portuguese", "pt.lxc", LXPortuguese, "durmo", "dormir"},
        {"english-portuguese", "pt.lxc", LXPortuguese, "tive", "ter"},
    };
    for (const StemCase &c : cases) {
        std::vector<std::string> dictionaries;
        std::string module;
        if (!lx_findSampleModules(c.dictionary, dictionaries) ||
            !lx_findSample(LXSampleConjugation, c.module, module))
            return;
        std::unique_ptr<LXDataManager> dm(LXDataManager::create(LXCreateConjugationEngine));
        ASSERT_TRUE(dm);
        for (const std::string &d : dictionaries)
            ASSERT_EQ(dm->addDictionaryModule(text(d)), 0) << d;
        ASSERT_TRUE(dm->addStemmingModule(text(module)));
        LXStemResults results;
        dm->getStems(results, text(c.form), c.language, LXEnglish, 10, 1);
        std::set<std::string> found;
        for (LXStemResults::const_iterator r = results.begin(); !r.isAtEnd(); ++r)
            found.insert(utf8((*r).first.base));
        EXPECT_TRUE(found.count(c.infinitive)) << c.form << " should lead to " << c.infinitive;
    }
}

} // namespace
