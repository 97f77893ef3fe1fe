// The English module against independent lists: the irregular pasts and participles of
// the npm package english-verbs-irregular, the gerunds of english-verbs-gerunds (both
// pinned, installed by scripts/setup.sh) and WordNet's irregular-form exceptions, which
// must lead back to their infinitives. Inflected words find their infinitives through the
// data manager's standard-mode stems on the English-French sample dictionary.
//
// Every disagreement must be on tests/data/en-differences.txt with its reason, and an
// entry there that no longer disagrees fails too, so the list stays reviewed.
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
#include "json.h"
#include "lxconjugationadapter.h"
#include "lxconjugator.h"
#include "moduledata.h"
#include "search/lxdatamanager.h"
#include "dictionary_stems.h"
#include "sample_conjugator.h"
#include "testing/lxtest_samples.h"

#ifndef WORDMERE_NPM_DATA
#define WORDMERE_NPM_DATA ""
#endif
#ifndef WORDMERE_WORDNET_DIR
#define WORDMERE_WORDNET_DIR "/usr/share/wordnet"
#endif

namespace {

struct EnglishModule : SampleConjugator {
    EnglishModule() : SampleConjugator("en.lxc") {}
    bool verb(const std::string &infinitive, LXVerb &v)
    {
        return c.findVerb(text(infinitive), v) && utf8(v.infinitive) == infinitive;
    }
    std::set<std::string> forms(const LXVerb &v, uint32_t tense, uint32_t person = 37)
    {
        LXList<lxstring> list;
        c.getConjugations(v, tense, person, list);
        std::set<std::string> out;
        for (LXList<lxstring>::iterator f = list.begin(); !f.isAtEnd(); ++f)
            out.insert(utf8(*f));
        return out;
    }
    // The infinitives the inflected-form index and the candidate verbs give a word.
    std::set<std::string> bases(const std::string &word)
    {
        LXList<LXStem> stems;
        c.getVerbStems(text(word), stems, 2);
        std::set<std::string> out;
        for (LXList<LXStem>::iterator s = stems.begin(); !s.isAtEnd(); ++s)
            out.insert(utf8((*s).base));
        return out;
    }
};

// kind | verb | reason.
std::map<std::string, std::string> knownDifferences(const std::string &kind)
{
    std::map<std::string, std::string> known;
    std::vector<std::vector<std::string>> rows;
    std::string error;
    EXPECT_TRUE(readColumns(std::string(WORDMERE_SOURCE_DIR) + "/tools/lxcbuild/tests/data/en-differences.txt", 3,
                            rows, error))
        << error;
    for (const std::vector<std::string> &r : rows) {
        if (r[0] == kind)
            known[r[1]] = r[2];
    }
    return known;
}

// Compares the verbs that differ with the reviewed list.
void checkDifferences(const std::string &kind, size_t compared, const std::map<std::string, std::string> &differing)
{
    std::printf("en %s: %zu compared, %zu reviewed differences\n", kind.c_str(), compared, differing.size());
    std::map<std::string, std::string> known = knownDifferences(kind);
    for (const auto &d : differing)
        EXPECT_TRUE(known.count(d.first)) << kind << " differs, not on en-differences.txt: " << d.first << ": "
                                          << d.second;
    for (const auto &k : known)
        EXPECT_TRUE(differing.count(k.first)) << kind << " on en-differences.txt but agrees now: " << k.first;
}

std::string list(const std::set<std::string> &forms)
{
    std::string out;
    for (const std::string &f : forms)
        out += (out.empty() ? "" : ",") + f;
    return out;
}

bool readPackage(const std::string &file, JsonValue &value)
{
    std::string error;
    bool ok = readJsonFile(std::string(WORDMERE_NPM_DATA) + "/" + file, value, error);
    EXPECT_TRUE(ok) << error;
    return ok;
}

// Each of the package's pasts and participles of a verb the module has must be a form
// the module gives, or one of the other spelling that its index leads back to the verb;
// and the module's own past must be among the package's.
TEST(EnglishOracle, IrregularPastsAndParticiples)
{
#ifdef _WIN32
    GTEST_SKIP() << "the list oracles run natively; the module is the same file";
#endif
    EnglishModule m;
    JsonValue verbs;
    if (!m.ok || !readPackage("english-verbs-irregular/dist/verbs.json", verbs))
        return;
    std::map<std::string, std::string> differing;
    size_t compared = 0;
    for (const auto &entry : verbs.members) {
        LXVerb v;
        if (!m.verb(entry.first, v))
            continue;
        ++compared;
        std::set<std::string> past = m.forms(v, 81), participle = m.forms(v, 74);
        std::set<std::string> theirPast, theirParticiple;
        for (const JsonValue &pair : entry.second.items) {
            std::vector<std::string> p = pair.strings();
            if (p.size() == 2) {
                theirPast.insert(p[0]);
                theirParticiple.insert(p[1]);
            }
        }
        std::string why;
        for (const std::string &f : theirPast) {
            if (!past.count(f) && !m.bases(f).count(entry.first))
                why += " past " + f;
        }
        for (const std::string &f : theirParticiple) {
            if (!participle.count(f) && !m.bases(f).count(entry.first))
                why += " participle " + f;
        }
        for (const std::string &f : past) {
            if (!theirPast.count(f))
                why += " ours " + f;
        }
        if (!why.empty())
            differing[entry.first] = "module " + list(past) + " / " + list(participle) + ";" + why;
    }
    EXPECT_GT(compared, 150u);
    checkDifferences("irregular", compared, differing);
}

TEST(EnglishOracle, Gerunds)
{
#ifdef _WIN32
    GTEST_SKIP() << "the list oracles run natively; the module is the same file";
#endif
    EnglishModule m;
    JsonValue gerunds;
    if (!m.ok || !readPackage("english-verbs-gerunds/dist/gerunds.json", gerunds))
        return;
    std::map<std::string, std::string> differing;
    size_t compared = 0;
    for (const auto &entry : gerunds.members) {
        LXVerb v;
        if (!m.verb(entry.first, v))
            continue;
        ++compared;
        std::set<std::string> ing = m.forms(v, 75);
        if (!ing.count(entry.second.text) && !m.bases(entry.second.text).count(entry.first))
            differing[entry.first] = "module " + list(ing) + ", package " + entry.second.text;
    }
    EXPECT_GT(compared, 100u);
    checkDifferences("gerund", compared, differing);
}

// WordNet's verb.exc: "inflected-form infinitive..." a line; every exception whose
// infinitive the module has must lead back to it.
TEST(EnglishOracle, WordNetExceptionsLeadToTheirInfinitives)
{
#ifdef _WIN32
    GTEST_SKIP() << "the list oracles run natively; the module is the same file";
#endif
    EnglishModule m;
    if (!m.ok)
        return;
    const std::string path = std::string(WORDMERE_WORDNET_DIR) + "/verb.exc";
    std::ifstream in(path);
    ASSERT_TRUE(in) << path << " is missing (Debian's wordnet-base; scripts/setup.sh installs it)";
    std::map<std::string, std::string> differing;
    size_t compared = 0;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream s(line);
        std::string form, infinitive;
        s >> form;
        while (s >> infinitive) {
            LXVerb v;
            if (form.find('_') != std::string::npos || !m.verb(infinitive, v))
                continue;
            ++compared;
            if (!m.bases(form).count(infinitive))
                differing[form + " " + infinitive] = "no stem";
        }
    }
    EXPECT_GT(compared, 500u);
    checkDifferences("wordnet", compared, differing);
}

// Through the module's own index: irregular forms, the other spelling, the modals' pasts
// and the corrected forms.
TEST(EnglishStems, FormsLeadBackToTheirInfinitives)
{
    EnglishModule m;
    if (!m.ok)
        return;
    struct Case {
        const char *form, *infinitive;
    } cases[] = {{"was", "be"},          {"been", "be"},           {"am", "be"},        {"has", "have"},
                 {"could", "can"},       {"would", "will"},        {"might", "may"},    {"realised", "realize"},
                 {"travelling", "travel"}, {"quitting", "quit"},   {"permitted", "permit"}, {"gotten", "get"},
                 {"WENT", "go"}};
    for (const Case &c : cases)
        EXPECT_TRUE(m.bases(c.form).count(c.infinitive)) << c.form << " should lead to " << c.infinitive;
    EXPECT_TRUE(m.bases("zzzq").empty());
}

TEST(EnglishStems, InflectedWordsFindTheirInfinitivesInTheDictionary)
{
    expectDictionaryStems("english-french", "en.lxc", LXEnglish, LXFrench,
                          {{"went", "go"},
                           {"gone", "go"},
                           {"stopped", "stop"},
                           {"realising", "realize"},
                           {"realized", "realize"},
                           {"travelled", "travel"},
                           {"cries", "cry"}});
}

} // namespace
