// Inflected words looked up through the data manager with a sample dictionary pair and a
// sample conjugation module, as the program's stem search does: each word must lead to its
// base form (the test fails when a sample is missing, see lx_findSample).
#ifndef WORDMERE_TOOLS_LXCBUILD_TESTS_DICTIONARY_STEMS_H
#define WORDMERE_TOOLS_LXCBUILD_TESTS_DICTIONARY_STEMS_H

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "lxconjugationadapter.h"
#include "sample_conjugator.h"
#include "search/lxdatamanager.h"

struct InflectedWord {
    const char *form, *base;
};

inline void expectDictionaryStems(const char *pair, const char *module, LXLanguage language, LXLanguage language2,
                                  const std::vector<InflectedWord> &words)
{
    std::vector<std::string> dictionaries;
    std::string modulePath;
    if (!lx_findSampleModules(pair, dictionaries) || !lx_findSample(LXSampleConjugation, module, modulePath))
        return;
    std::unique_ptr<LXDataManager> dm(LXDataManager::create(LXCreateConjugationEngine));
    ASSERT_TRUE(dm);
    for (const std::string &d : dictionaries)
        ASSERT_EQ(dm->addDictionaryModule(text(d)), 0) << d;
    ASSERT_TRUE(dm->addStemmingModule(text(modulePath)));
    for (const InflectedWord &w : words) {
        LXStemResults results;
        dm->getStems(results, text(w.form), language, language2, 10, 1);
        std::set<std::string> found;
        for (LXStemResults::const_iterator r = results.begin(); !r.isAtEnd(); ++r)
            found.insert(utf8((*r).first.base));
        EXPECT_TRUE(found.count(w.base)) << w.form << " should lead to " << w.base;
    }
}

#endif
