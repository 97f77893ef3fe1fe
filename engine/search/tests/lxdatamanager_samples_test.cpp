// Searches through the data manager on the sample modules built from FreeDict data.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "base/lxchar.h"
#include "format/lxd.h"
#include "format/lxdwriter.h"
#include "lxdm_fixture.h"
#include "model/lxtokenizer.h"
#include "search/lxdatamanager.h"
#include "search/lxdmanager.h"
#include "testing/lxtest_samples.h"

using namespace lxdm;

namespace {

struct RegexCase {
    const char *pattern;                 // as the user types it (wildcards, whole words)
    const wchar_t *oracle;               // the same search in ECMAScript, over folded text
    const char *keyPrefix;               // the keys a whole-word search starting with letters covers
    LXLanguage language;
    LXLanguage other;
};

class SampleTest : public ::testing::Test {
protected:
    // Registers every module of a sample dictionary (accepting its product); false when
    // it is missing (the test then failed, or is skipped in a build without sample modules).
    bool registerSample(const std::string &name)
    {
        std::vector<std::string> paths;
        if (!lx_findSampleModules(name, paths))
            return false;
        for (const std::string &path : paths) {
            LXD probe(dm->getCompressor(), dm->getTokenizer());
            EXPECT_TRUE(probe.validate(u8(path)));
            product = probe.getProduct();
            dm->addAllowedProduct(product);
            EXPECT_EQ(dm->addDictionaryModule(u8(path)), 0) << path;
        }
        return true;
    }

    void checkRegexCases(const RegexCase *cases, int count, const std::wstring &start, const std::wstring &stop);

    std::unique_ptr<LXDataManager> dm{LXDataManager::create()};
    uint32_t product = 10;
};

TEST_F(SampleTest, EnglishGermanWalksForwardsAndBackwardsInMirrorOrder)
{
    if (!registerSample("english-german"))
        return;

    // The modules' own count of English terms, read record by record (the dictionary
    // may be in several modules: the walk goes through all of them in one order).
    size_t english = 0;
    for (uint32_t m = 0; m < dm->getLXDManager()->getModules().size(); ++m) {
        LXList<LXTerm> all;
        (*dm->getLXDManager())[m]->readAllTerms(all);
        for (LXList<LXTerm>::iterator t = all.begin(); !t.isAtEnd(); ++t)
            english += t->getLanguage() == LXEnglish;
    }
    ASSERT_GT(english, 100000u);

    LXDMIterator it;
    dm->begin(LXEnglish, LXGerman, product, it);
    std::vector<std::string> forward;
    forward.reserve(english);
    LXTerm previous;
    size_t disorder = 0;
    for (; !it.isAtEnd(); ++it) {
        if (!forward.empty() && *it < previous)
            ++disorder;
        previous = *it;
        forward.push_back(label(*it));
        if (forward.size() > english)
            break;
    }
    EXPECT_EQ(forward.size(), english);
    EXPECT_EQ(disorder, 0u);

    dm->end(LXEnglish, LXGerman, product, it);
    size_t back = 0, mismatches = 0;
    while (!it.isAtBeginning() && back <= forward.size()) {
        --it;
        ++back;
        if (back <= forward.size() && label(*it) != forward[forward.size() - back] && mismatches++ < 5)
            ADD_FAILURE() << "backwards step " << back << ": " << label(*it) << " / "
                          << forward[forward.size() - back];
    }
    EXPECT_EQ(back, forward.size());
    EXPECT_EQ(mismatches, 0u);
}

TEST_F(SampleTest, EnglishFrenchRegisteredTwiceShowsEachTermOnceWithBothDefinitions)
{
    std::string path;
    if (!lx_findSample(LXSampleDictionary, "english-french.lxd", path))
        return;
    LXD original(dm->getCompressor(), dm->getTokenizer());
    ASSERT_TRUE(original.validate(u8(path)));
    LXList<LXTerm> terms;
    original.readAllTerms(terms);
    ASSERT_GT(terms.size(), 1000u);

    // The copy: the same terms with marked definitions, under a greater priority.
    const uint32_t priority = original.getPriority() + 7;
    LXDWriter writer(dm->getCompressor(), dm->getTokenizer(), original.getLanguage1(), original.getLanguage2());
    writer.setPriority(priority);
    writer.setProduct(original.getProduct());
    std::string why;
    for (LXList<LXTerm>::iterator t = terms.begin(); !t.isAtEnd(); ++t) {
        LXTerm copy = *t;
        for (LXList<LXDefinition>::iterator d = copy.getDefinitions().begin(); !d.isAtEnd(); ++d)
            d->setText(d->getText() + "#");
        ASSERT_TRUE(writer.addTerm(copy, why)) << why;
    }
    std::string copyPath = tempPath("english-french-copy.lxd");
    ASSERT_TRUE(writer.write(copyPath, why)) << why;

    ASSERT_TRUE(registerSample("english-french"));
    ASSERT_EQ(dm->addDictionaryModule(u8(copyPath)), 0);
    ASSERT_EQ(dm->getNModules(), 2u);

    // Every English and French term, looked up: found once, with the original's
    // definitions first and the copy's after them.
    size_t checked = 0, failures = 0;
    for (LXList<LXTerm>::iterator t = terms.begin(); !t.isAtEnd() && failures < 5; ++t) {
        LXDMIterator it;
        dm->find(*t, product, it);
        int seen = 0;
        LXTerm found;
        for (; !it.isAtEnd() && lx_sameText((*it).getSearchKey(), t->getSearchKey()); ++it) {
            if (*it == *t) {
                ++seen;
                found = *it;
            }
        }
        std::vector<std::string> want = definitionTexts(*t);
        // Equal definitions of one module merge; the copy's are marked and follow.
        std::vector<std::string> unique;
        for (const std::string &w : want)
            if (std::find(unique.begin(), unique.end(), w) == unique.end())
                unique.push_back(w);
        size_t n = unique.size();
        for (size_t i = 0; i < n; ++i)
            unique.push_back(unique[i] + "#");
        std::vector<std::string> got = definitionTexts(found);
        if (seen != 1 || got.size() != unique.size()) {
            ++failures;
            ADD_FAILURE() << label(*t) << ": seen " << seen << " times, " << got.size() << " definitions";
            continue;
        }
        std::vector<std::string> a(got.begin(), got.begin() + long(n)), b(unique.begin(), unique.begin() + long(n));
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        EXPECT_EQ(a, b) << label(*t);
        for (size_t i = n; i < got.size(); ++i)
            EXPECT_EQ(got[i].back(), '#') << label(*t);
        LXList<LXDefinition>::const_iterator d = found.getDefinitions().begin();
        for (size_t i = 0; i < got.size(); ++i, ++d)
            EXPECT_EQ(d->getOriginNumber(), i < n ? original.getPriority() : priority) << label(*t);
        ++checked;
    }
    EXPECT_EQ(checked, terms.size());
}

// ---------------------------------------------------------------------------------------
// Regular expressions against an independent matcher over the module's own listing.

std::wstring folded(const lxstring &s)
{
    std::wstring w;
    for (lxstring_iterator i = s.begin(); !i.isAtEnd(); ++i) {
        uint32_t c = *i;
        if (c < 256)
            c = lx_tolower(lx_base(c));
        w.push_back(wchar_t(c));
    }
    return w;
}


TEST_F(SampleTest, RegularExpressionsSelectWhatAnIndependentFilterSelects)
{
    // Boost's word start and end, written for ECMAScript.
    const std::wstring start = L"(?:^|\\b(?=\\w))", stop = L"(?:(?!\\w)|$)";
    const RegexCase english[] = {
        {"hous*", L"hous[^ ]*", "hous", LXEnglish, LXGerman},      // prefix with a star
        {"house", L"house", "house", LXEnglish, LXGerman},         // a whole word, also inside expressions
        {"*ouse*", L"[^ ]*ouse[^ ]*", "", LXEnglish, LXGerman},    // infix
        {"?at", L"[^ ]at", "", LXEnglish, LXGerman},               // one wildcard letter
    };
    const RegexCase french[] = {
        {"ecole*", L"ecole[^ ]*", "ecole", LXFrench, LXGerman},    // accents ignored
        {"etre", L"etre", "etre", LXFrench, LXGerman},
        {"*ete", L"[^ ]*ete", "", LXFrench, LXGerman},
    };
    for (int part = 0; part < 2; ++part) {
        const char *name = part == 0 ? "english-german" : "french-german";
        dm->clear();
        if (!registerSample(name))
            return;
        checkRegexCases(part == 0 ? english : french, part == 0 ? 4 : 3, start, stop);
    }
}

void SampleTest::checkRegexCases(const RegexCase *cases, int count, const std::wstring &start, const std::wstring &stop)
{
    // The terms of every module of the dictionary (it may be split into several).
    LXList<LXTerm> all;
    for (uint32_t m = 0; m < dm->getLXDManager()->getModules().size(); ++m) {
        LXList<LXTerm> terms;
        (*dm->getLXDManager())[m]->readAllTerms(terms);
        for (LXList<LXTerm>::iterator t = terms.begin(); !t.isAtEnd(); ++t)
            all.push_back(*t);
    }
    LXTokenizer *tokenizer = dm->getTokenizer();
    for (int ci = 0; ci < count; ++ci) {
        const RegexCase &c = cases[ci];
        std::wregex oracle(start + c.oracle + stop, std::regex::ECMAScript);
        std::multiset<std::string> expected;
        size_t expressions = 0;
        for (LXList<LXTerm>::iterator t = all.begin(); !t.isAtEnd(); ++t) {
            if (t->getLanguage() != c.language)
                continue;
            std::wstring key = folded(t->getSearchKey());
            std::wstring prefix(c.keyPrefix, c.keyPrefix + std::string(c.keyPrefix).size());
            if (!prefix.empty() && key.compare(0, prefix.size(), prefix) != 0)
                continue;
            std::wstring head = folded(t->getHeadword());
            std::wsmatch m;
            if (!std::regex_search(head, m, oracle))
                continue;
            bool multi = head.find(L' ') != std::wstring::npos;
            if (multi && prefix.empty()) {
                // The match must begin in the token that is the term's key.
                LXList<LXPair<lxstring, uint32_t>> tokens;
                int32_t count = 0;
                tokenizer->makeKeyPositions(tokens, count, LXLanguageNone, t->getHeadword());
                uint32_t at = uint32_t(m.position(0)), token = 0;
                for (LXList<LXPair<lxstring, uint32_t>>::iterator k = tokens.begin(); !k.isAtEnd(); ++k)
                    if (k->second <= at && k->second >= token)
                        token = k->second;
                lxstring_iterator keyAt = t->getHeadword().find(t->getSearchKey());
                if (keyAt.isAtEnd() || uint32_t(keyAt.getCharIndex()) != token)
                    continue;
            }
            expressions += multi;
            expected.insert(text(t->getHeadword()));
        }

        LXDMIterator it;
        ASSERT_TRUE(dm->initRegex(u8(c.pattern), c.language, c.other, product, LXDMRegexOptions(), it)) << c.pattern;
        std::multiset<std::string> got;
        for (; !it.isAtEnd(); ++it)
            if (it.isRegexMatch())
                got.insert(text((*it).getHeadword()));
        EXPECT_GT(expected.size(), 2u) << c.pattern;
        EXPECT_EQ(got.size(), expected.size()) << c.pattern;
        std::vector<std::string> onlyGot, onlyExpected;
        std::set_difference(got.begin(), got.end(), expected.begin(), expected.end(), std::back_inserter(onlyGot));
        std::set_difference(expected.begin(), expected.end(), got.begin(), got.end(),
                            std::back_inserter(onlyExpected));
        onlyGot.resize(std::min<size_t>(onlyGot.size(), 5));
        onlyExpected.resize(std::min<size_t>(onlyExpected.size(), 5));
        EXPECT_EQ(onlyGot, std::vector<std::string>()) << c.pattern << ": accepted by the search only";
        EXPECT_EQ(onlyExpected, std::vector<std::string>()) << c.pattern << ": selected by the filter only";
        if (std::string(c.pattern) == "house") {
            EXPECT_GT(expressions, 0u) << "whole word inside expressions";
        }
    }
}

} // namespace
