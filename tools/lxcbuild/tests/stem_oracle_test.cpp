// Standard-mode stems against verbiste's own deconjugator: for a sample of the forms in a
// built module's inflected-form index, the infinitives that french-deconjugator gives for
// a form and that are headwords of the dictionary must all be among the stems found.
//
// Both languages go through the data manager's stem search on the English-French and
// English-Italian sample modules (whose Italian infinitives the module builder marks as
// verbs, since the Italian data marks no part of speech).
//
// Every difference must be on tests/data/stem-differences.txt with its reason; an entry
// there that no longer differs (or whose form left the sample) fails too.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "format/lxcompressor.h"
#include "lxconjugationadapter.h"
#include "lxconjugator.h"
#include "search/lxdatamanager.h"
#include "moduledata.h"
#include "testing/lxtest_samples.h"
#include "testing/lxtest_files.h"

#ifndef WORDMERE_SAMPLE_MODULES
#define WORDMERE_SAMPLE_MODULES ""
#endif

namespace {

#ifndef _WIN32
const std::string kKnown = std::string(WORDMERE_SOURCE_DIR) + "/tools/lxcbuild/tests/data/stem-differences.txt";
// Forms compared per language; the index is sampled evenly over its whole length.
const size_t kSampleForms = 2400;

std::string utf8(const lxstring &s)
{
    lxstring t = s;
    t.setEncoding(LXEncodingUtf8);
    return std::string(t.c_str(), t.size());
}

lxstring text(const std::string &s)
{
    return lxstring(s.c_str(), LXEncodingUtf8);
}

bool run(const std::string &command, std::string &out)
{
    FILE *p = popen(command.c_str(), "r");
    if (!p)
        return false;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    return pclose(p) == 0;
}

// Every n-th distinct form of the inflected-form index, in index order.
std::vector<std::string> sampleForms(const std::string &modulePath, size_t wanted)
{
    LXCompressor *compressor = LXCompressor::create();
    LXConjugator conjugator;
    conjugator.setCompressor(compressor);
    std::vector<std::string> all;
    if (conjugator.openModule(text(modulePath))) {
        LXStem stem;
        for (uint32_t position = 0;;) {
            uint32_t next = conjugator.readVerbForm(position, stem);
            if (next <= position || stem.word.empty())
                break;
            std::string form = utf8(stem.word);
            if (all.empty() || all.back() != form)
                all.push_back(form);
            position = next;
        }
    }
    conjugator.closeModule();
    delete compressor;
    std::vector<std::string> sample;
    const size_t step = all.size() > wanted ? all.size() / wanted : 1;
    for (size_t i = 0; i < all.size() && sample.size() < wanted; i += step)
        sample.push_back(all[i]);
    return sample;
}

// form -> the infinitives verbiste's deconjugator gives for it. Its answer for each word
// read is a block of "infinitive, mood, tense, person, number" lines ended by an empty line.
bool deconjugate(const std::string &lang, const std::vector<std::string> &forms,
                 std::map<std::string, std::set<std::string>> &out)
{
    std::string list = testRunFolder() + "stem-oracle-" + lang + ".txt";
    {
        std::ofstream f(list);
        for (const std::string &form : forms)
            f << form << "\n";
    }
    std::string printed;
    bool ok = run("french-deconjugator --lang=" + lang + " < '" + list + "'", printed);
    std::remove(list.c_str());
    if (!ok)
        return false;
    std::stringstream s(printed);
    std::string line;
    size_t at = 0;
    while (std::getline(s, line) && at < forms.size()) {
        if (line.empty()) {
            ++at;
            continue;
        }
        out[forms[at]].insert(line.substr(0, line.find(',')));
    }
    return at == forms.size();
}

// The infinitive is a headword of the language's direction, spelt exactly so.
bool isHeadword(LXDataManager &dm, const std::string &word, LXLanguage language, LXLanguage other)
{
    LXDMIterator it;
    lxstring w = text(word);
    dm.find(w, language, other, 10, it);
    for (; !it.isAtEnd() && (*it).getSearchKey().compare(w, true, true, language) == 0; ++it) {
        if (utf8((*it).getHeadword()) == word)
            return true;
    }
    return false;
}

struct Known {
    std::string reason;
    bool seen = false;
};

// lang | form | infinitive | reason
std::map<std::string, Known> readKnown(const std::string &lang)
{
    std::map<std::string, Known> known;
    std::ifstream in(kKnown);
    EXPECT_TRUE(in) << kKnown;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> c = splitColumns(line);
        EXPECT_EQ(c.size(), 4u) << line;
        if (c.size() == 4 && c[0] == lang)
            known[c[1] + "|" + c[2]].reason = c[3];
    }
    return known;
}

// Compares the infinitives expected for each form with the stems found for it.
template <typename Found>
void compare(const std::string &lang, LXDataManager &dm, LXLanguage language, LXLanguage other, Found found)
{
    std::string probe;
    if (!run("french-deconjugator --version >/dev/null 2>&1 && echo ok", probe) || probe.empty())
        GTEST_SKIP() << "french-deconjugator is not installed";
    std::string module;
    if (!lx_findSample(LXSampleConjugation, lang + ".lxc", module))
        return;

    std::vector<std::string> forms = sampleForms(module, kSampleForms);
    ASSERT_GE(forms.size(), 2000u);
    std::map<std::string, std::set<std::string>> theirs;
    ASSERT_TRUE(deconjugate(lang, forms, theirs)) << "verbiste's output does not follow the forms asked for";
    std::map<std::string, Known> known = readKnown(lang);

    std::map<std::string, bool> headword;
    std::vector<std::string> failures;
    size_t compared = 0;
    for (const std::string &form : forms) {
        std::set<std::string> expected;
        for (const std::string &infinitive : theirs[form]) {
            auto h = headword.find(infinitive);
            if (h == headword.end())
                h = headword.emplace(infinitive, isHeadword(dm, infinitive, language, other)).first;
            if (h->second)
                expected.insert(infinitive);
        }
        if (expected.empty())
            continue;
        ++compared;
        std::set<std::string> ours = found(form);
        for (const std::string &infinitive : expected) {
            if (ours.count(infinitive))
                continue;
            auto k = known.find(form + "|" + infinitive);
            if (k != known.end())
                k->second.seen = true;
            else
                failures.push_back(lang + " | " + form + " | " + infinitive + " | (not among the stems found)");
        }
    }
    for (const auto &k : known) {
        if (!k.second.seen)
            failures.push_back("no longer differs (remove it from the list): " + lang + " | " + k.first);
    }
    std::printf("%s: %zu forms sampled, %zu with an infinitive that is a headword\n", lang.c_str(), forms.size(),
                compared);
    EXPECT_GE(compared, 300u) << "too few forms whose infinitive is a headword";
    for (size_t i = 0; i < failures.size() && i < 40; ++i)
        ADD_FAILURE() << failures[i];
    EXPECT_TRUE(failures.empty()) << failures.size() << " differences; " << compared << " forms compared";
}

std::set<std::string> bases(const LXStemResults &results)
{
    std::set<std::string> out;
    for (LXStemResults::const_iterator r = results.begin(); !r.isAtEnd(); ++r)
        out.insert(utf8((*r).first.base));
    return out;
}
#endif

TEST(StemOracle, FrenchFormsLeadToTheInfinitivesVerbisteGives)
{
#ifdef _WIN32
    GTEST_SKIP() << "verbiste's deconjugator runs natively only";
#else
    std::string dictionary, module;
    if (!lx_findSample(LXSampleDictionary, "english-french.lxd", dictionary) ||
        !lx_findSample(LXSampleConjugation, "fr.lxc", module))
        return;
    std::unique_ptr<LXDataManager> dm(LXDataManager::create(LXCreateConjugationEngine));
    ASSERT_TRUE(dm);
    ASSERT_EQ(dm->addDictionaryModule(text(dictionary)), 0);
    ASSERT_TRUE(dm->addStemmingModule(text(module)));
    LXDataManager &m = *dm;
    compare("fr", m, LXFrench, LXEnglish, [&m](const std::string &form) {
        LXStemResults results;
        m.getStems(results, text(form), LXFrench, LXEnglish, 10, 1);
        return bases(results);
    });
#endif
}

TEST(StemOracle, ItalianFormsLeadToTheInfinitivesVerbisteGives)
{
#ifdef _WIN32
    GTEST_SKIP() << "verbiste's deconjugator runs natively only";
#else
    std::string dictionary, module;
    if (!lx_findSample(LXSampleDictionary, "english-italian.lxd", dictionary) ||
        !lx_findSample(LXSampleConjugation, "it.lxc", module))
        return;
    std::unique_ptr<LXDataManager> dm(LXDataManager::create(LXCreateConjugationEngine));
    ASSERT_TRUE(dm);
    ASSERT_EQ(dm->addDictionaryModule(text(dictionary)), 0);
    ASSERT_TRUE(dm->addStemmingModule(text(module)));
    LXDataManager &m = *dm;
    compare("it", m, LXItalian, LXEnglish, [&m](const std::string &form) {
        LXStemResults results;
        m.getStems(results, text(form), LXItalian, LXEnglish, 10, 1);
        return bases(results);
    });
#endif
}

} // namespace
