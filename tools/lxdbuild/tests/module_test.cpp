// The sample modules against the FreeDict databases they were made from, and the
// builder's handling of bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "builder.h"
#include "format/lxcompressor.h"
#include "format/lxd.h"
#include "freedict.h"
#include "model/lxtokenizer.h"
#include "search/lxdatamanager.h"
#include "search/lxdmiterator.h"
#include "testing/lxtest_files.h"
#include "testing/lxtest_samples.h"
#include "testing/lxtest_text.h"
#include "verbmarks.h"

namespace {

// What the writer stores for a text: control characters as blanks.
std::string stored(const std::string &s)
{
    std::string out = s;
    for (char &c : out) {
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    }
    return out;
}

const char *const kSampleNames[] = {"english-french", "english-german", "english-spanish",
                                    "english-italian", "english-portuguese", "french-german"};

std::string samplePath(const char *name)
{
    return lx_sampleFolder(LXSampleDictionary) + "/" + name + ".lxd";
}

// Every module of a sample dictionary, opened (one, or the parts of a split one).
struct SampleDictionary {
    std::vector<std::unique_ptr<LXD>> modules;

    bool open(const char *name, LXCompressor *compressor, LXTokenizer *tokenizer)
    {
        std::vector<std::string> paths;
        if (!lx_findSampleModules(name, paths))
            return false;
        for (const std::string &path : paths) {
            modules.emplace_back(new LXD(compressor, tokenizer));
            EXPECT_TRUE(modules.back()->validate(u8(path)) && modules.back()->open()) << path;
        }
        return true;
    }
    std::vector<LXD *> list() const
    {
        std::vector<LXD *> out;
        for (const std::unique_ptr<LXD> &m : modules)
            out.push_back(m.get());
        return out;
    }
};

std::string freedictBase(const char *pair)
{
    return std::string(WORDMERE_FREEDICT_DIR) + "/freedict-" + pair;
}

struct Engine {
    std::unique_ptr<LXCompressor> compressor{LXCompressor::create()};
    std::unique_ptr<LXTokenizer> tokenizer{LXTokenizer::create()};
};

// Looks an article up the way a reader does: its search key through findHeadword, then
// the record of exactly that key among the collation-equal neighbours, then the term of
// its headword and part of speech in the record's run. Checks what the term holds. A
// dictionary split into several modules holds each record in one of them.
class ArticleChecker {
public:
    ArticleChecker(const std::vector<LXD *> &modules, LXTokenizer &tokenizer, bool features)
        : m_modules(modules), m_tokenizer(tokenizer), m_features(features)
    {
    }

    ::testing::AssertionResult check(const FreeDictArticle &a, LXLanguage language)
    {
        bool holds = false;
        for (LXD *module : m_modules) {
            ::testing::AssertionResult r = checkIn(*module, a, language, holds);
            if (holds)
                return r;
        }
        return ::testing::AssertionFailure() << "no record of " << a.headword << " in any module";
    }

    // Whether the term has every pronunciation of the article.
    static bool hasPronunciations(const FreeDictArticle &a, const LXTerm &term)
    {
        for (const std::string &p : a.pronunciations) {
            if (!hasFeature(term.getFeatures(), LXFeaturePronunciation, stored(p)))
                return false;
        }
        return true;
    }

private:
    static bool hasFeature(const LXFeatureList &features, uint32_t code, const std::string &want)
    {
        for (LXFeatureList::const_iterator f = features.begin(); !f.isAtEnd(); ++f) {
            if ((code == 0 || f->first == code) && text(f->second) == want)
                return true;
        }
        return false;
    }

    // The check in one module; holds tells whether the module has the exact record.
    ::testing::AssertionResult checkIn(LXD &module, const FreeDictArticle &a, LXLanguage language, bool &holds)
    {
        holds = false;
        lxstring key = m_tokenizer.searchKey(u8(stored(a.headword)), language), found;
        uint32_t rs, re, h;
        if (!module.findHeadword(key, language, found, rs, re, h))
            return ::testing::AssertionFailure() << "key " << text(key) << " not found";
        // Records of keys equal under the collation lie together; take the exact one.
        while (h > rs) {
            uint32_t prev = module.indexRecordStart(h - 1, rs);
            lxstring k;
            module.readIndexKey(prev, k);
            if (k.compare(key, LXLanguageNone) != 0)
                break;
            h = prev;
        }
        std::string want = text(key);
        while (h < re) {
            lxstring k;
            uint32_t next = module.readIndexKey(h, k);
            if (text(k) == want)
                break;
            if (k.compare(key, LXLanguageNone) != 0 || next <= h)
                return ::testing::AssertionFailure() << "no record of exactly " << want;
            h = next;
        }
        if (h >= re)
            return ::testing::AssertionFailure() << "no record of exactly " << want;
        holds = true;
        std::string headword = stored(a.headword);
        for (uint32_t t = module.readIndexOffset(h); module.readTermsByte(t) != 0;) {
            LXTerm term;
            uint32_t next = module.readTerm(term, h, t);
            if (next <= t)
                break;
            t = next;
            if (text(term.getHeadword()) != headword || text(term.getPartOfSpeechName()) != a.partOfSpeech)
                continue;
            if (term.getLanguage() != language || text(term.getSearchKey()) != want)
                return ::testing::AssertionFailure() << "languages or key of " << headword;
            return checkTerm(a, term, module.getPriority());
        }
        return ::testing::AssertionFailure() << "no term " << headword << " <" << a.partOfSpeech << "> under "
                                             << want;
    }

    ::testing::AssertionResult checkTerm(const FreeDictArticle &a, const LXTerm &term, uint32_t priority)
    {
        // Merged articles of one headword: each sense is among the definitions, with its
        // labels and explanations when the module keeps them.
        for (const FreeDictSense &s : a.senses) {
            const LXDefinition *match = nullptr;
            for (LXList<LXDefinition>::const_iterator d = term.getDefinitions().begin(); !d.isAtEnd() && !match; ++d) {
                if (text(d->getText()) == stored(s.text) && text(d->getPartOfSpeechName()) == s.partOfSpeech &&
                    d->getOriginNumber() == priority)
                    match = &*d;
            }
            if (!match)
                return ::testing::AssertionFailure() << a.headword << ": translation " << s.text << " missing";
            for (const std::string &l : m_features ? s.labels : std::vector<std::string>()) {
                if (!hasFeature(match->getFeatures(), LXFeatureLabel, stored(l)))
                    return ::testing::AssertionFailure() << a.headword << ": label " << l << " missing";
            }
            for (const std::string &g : m_features ? s.glosses : std::vector<std::string>()) {
                if (!hasFeature(match->getFeatures(), LXFeatureExplanation, stored(g)))
                    return ::testing::AssertionFailure() << a.headword << ": explanation " << g << " missing";
            }
        }
        if (m_features) {
            if (!hasPronunciations(a, term))
                return ::testing::AssertionFailure() << a.headword << ": a pronunciation is missing";
            for (const auto &n : a.notes) {
                if (!hasFeature(term.getFeatures(), 0, stored(n.second)))
                    return ::testing::AssertionFailure() << a.headword << ": note " << n.second << " missing";
            }
        }
        return ::testing::AssertionSuccess();
    }

    std::vector<LXD *> m_modules;
    LXTokenizer &m_tokenizer;
    bool m_features;
};

class SampleModules : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *name : kSampleNames) {
            std::vector<std::string> paths;
            if (!lx_findSampleModules(name, paths))
                return;
        }
        ASSERT_TRUE(e.compressor && e.tokenizer);
    }

    // Checks the given index lines of a database (all when sample is 0).
    // Articles without a part of speech are expected with the verb mark when verbs lists
    // their headword, as the builder gives it.
    void checkDatabase(const std::vector<LXD *> &modules, const char *pair, bool features, size_t sample,
                       const VerbLists &verbs = VerbLists())
    {
        FreeDictDatabase db;
        std::string why;
        ASSERT_TRUE(db.open(freedictBase(pair), why)) << why;
        LXLanguage from, to;
        ASSERT_TRUE(freedictLanguages(freedictBase(pair), from, to));
        std::vector<size_t> picks;
        if (sample == 0 || sample >= db.lines().size()) {
            for (size_t i = 0; i < db.lines().size(); ++i)
                picks.push_back(i);
        } else {
            std::mt19937 rng(20261210);
            std::uniform_int_distribution<size_t> pick(0, db.lines().size() - 1);
            for (size_t i = 0; i < sample; ++i)
                picks.push_back(pick(rng));
        }
        ArticleChecker checker(modules, *e.tokenizer, features);
        size_t failures = 0;
        for (size_t i : picks) {
            const FreeDictIndexLine &l = db.lines()[i];
            FreeDictArticle a;
            ASSERT_TRUE(freedictParseArticle(db.article(l), a)) << pair << ":" << l.line;
            markInferredVerb(a, from, verbs);
            ::testing::AssertionResult r = checker.check(a, from);
            if (!r && ++failures <= 10)
                ADD_FAILURE() << pair << ".index:" << l.line << ": " << r.message();
        }
        EXPECT_EQ(failures, 0u) << pair << ": of " << picks.size();
    }

    Engine e;
};

TEST_F(SampleModules, EnglishFrenchHoldsEveryHeadwordOfBothIndexes)
{
    LXD module(e.compressor.get(), e.tokenizer.get());
    ASSERT_TRUE(module.validate(u8(samplePath("english-french"))));
    EXPECT_EQ(module.getLanguage1(), LXEnglish);
    EXPECT_EQ(module.getLanguage2(), LXFrench);
    EXPECT_EQ(module.getProduct(), 10u);
    EXPECT_EQ(module.getFormatWord() >> 24, 0x60u);
    ASSERT_TRUE(module.open());
    ASSERT_EQ(module.getStreamFile().getStreamCount(), 7u);
    EXPECT_TRUE(module.getStreamFile().getStream(LXD::Index)->isCompressed());
    EXPECT_TRUE(module.getStreamFile().getStream(LXD::Terms)->isCompressed());
    // The English side marks no part of speech: infinitives of the English module are verbs.
    VerbLists verbs;
    std::string lxc, why;
    if (!lx_findSample(LXSampleConjugation, "en.lxc", lxc))
        return;
    ASSERT_TRUE(readVerbLists({lxc}, e.compressor.get(), verbs, why)) << why;
    checkDatabase({&module}, "eng-fra", true, 0, verbs);
    checkDatabase({&module}, "fra-eng", true, 0, verbs);
}

// English-German is too large for one module: complete modules of the pair, each with one
// range of each direction's headwords, the ranges in index order.
TEST_F(SampleModules, EnglishGermanIsSplitIntoCompleteModulesInHeadwordOrder)
{
    SampleDictionary de;
    ASSERT_TRUE(de.open("english-german", e.compressor.get(), e.tokenizer.get()));
    ASSERT_GE(de.modules.size(), 2u);
    uint32_t headwords = 0;
    lxstring previousLast[2];
    for (size_t m = 0; m < de.modules.size(); ++m) {
        LXD &module = *de.modules[m];
        SCOPED_TRACE("part " + std::to_string(m + 1));
        EXPECT_EQ(module.getLanguage1(), LXEnglish);
        EXPECT_EQ(module.getLanguage2(), LXGerman);
        EXPECT_EQ(module.getProduct(), de.modules[0]->getProduct());
        EXPECT_EQ(module.getPriority(), de.modules[0]->getPriority());
        EXPECT_TRUE(module.getStreamFile().getStream(LXD::Terms)->isCompressed());
        headwords += module.getHeadwordCount1() + module.getHeadwordCount2();
        for (int dir = 0; dir < 2; ++dir) {
            uint32_t start, end;
            module.getDirectionRange(dir ? LXGerman : LXEnglish, start, end);
            ASSERT_LT(start, end);
            lxstring first, last;
            module.readIndexKey(start, first);
            module.readIndexKey(module.indexRecordStart(end - 1, start), last);
            EXPECT_LE(first.compare(last, LXLanguageNone), 0);
            if (m > 0) {
                EXPECT_LE(previousLast[dir].compare(first, LXLanguageNone), 0)
                    << text(previousLast[dir]) << " / " << text(first);
            }
            previousLast[dir] = last;
        }
    }
    // About 460,000 and 520,000 articles, merged by headword and part of speech.
    EXPECT_GT(headwords, 300000u);
}

// Every annotation is kept: pronunciations, notes, labels and explanations, checked on a
// random sample of each direction against the FreeDict sources.
TEST_F(SampleModules, EnglishGermanHoldsEveryAnnotation)
{
    SampleDictionary de;
    ASSERT_TRUE(de.open("english-german", e.compressor.get(), e.tokenizer.get()));
    checkDatabase(de.list(), "eng-deu", true, 5000);
    checkDatabase(de.list(), "deu-eng", true, 5000);
}

// Words of each part, looked up through the data manager with every part registered, come
// with their pronunciations.
TEST_F(SampleModules, WordsOfEveryPartOfEnglishGermanShowTheirPronunciations)
{
    std::vector<std::string> paths;
    ASSERT_TRUE(lx_findSampleModules("english-german", paths));
    SampleDictionary de;
    ASSERT_TRUE(de.open("english-german", e.compressor.get(), e.tokenizer.get()));
    std::unique_ptr<LXDataManager> dm(LXDataManager::create());
    ASSERT_TRUE(dm);
    dm->addAllowedProduct(de.modules[0]->getProduct());
    for (const std::string &p : paths)
        ASSERT_EQ(dm->addDictionaryModule(u8(p)), 0) << p;

    FreeDictDatabase db;
    std::string why;
    ASSERT_TRUE(db.open(freedictBase("eng-deu"), why)) << why;
    const size_t wanted = 25;   // words with a pronunciation, per part
    std::vector<size_t> checked(de.modules.size(), 0);
    std::mt19937 rng(20261211);
    std::uniform_int_distribution<size_t> pick(0, db.lines().size() - 1);
    for (int tries = 0; tries < 200000; ++tries) {
        if (*std::min_element(checked.begin(), checked.end()) >= wanted)
            break;
        FreeDictArticle a;
        ASSERT_TRUE(freedictParseArticle(db.article(db.lines()[pick(rng)]), a));
        if (a.pronunciations.empty())
            continue;
        // The part that holds the word.
        const lxstring key = e.tokenizer->searchKey(u8(stored(a.headword)), LXEnglish);
        size_t part = de.modules.size();
        for (size_t m = 0; m < de.modules.size() && part == de.modules.size(); ++m) {
            lxstring found;
            uint32_t rs, re, h;
            if (de.modules[m]->findHeadword(key, LXEnglish, found, rs, re, h) && text(found) == text(key))
                part = m;
        }
        ASSERT_LT(part, de.modules.size()) << a.headword << " is in no part";
        if (checked[part] >= wanted)
            continue;
        LXDMIterator it;
        dm->find(u8(stored(a.headword)), LXEnglish, LXGerman, de.modules[0]->getProduct(), it);
        bool shown = false;
        for (int step = 0; step < 50 && !it.isAtEnd() && !shown; ++step, ++it)
            shown = text((*it).getHeadword()) == stored(a.headword) && ArticleChecker::hasPronunciations(a, *it);
        EXPECT_TRUE(shown) << a.headword << " (part " << part + 1 << ") without its pronunciation";
        ++checked[part];
    }
    for (size_t m = 0; m < checked.size(); ++m)
        EXPECT_EQ(checked[m], wanted) << "part " << m + 1;
}

TEST_F(SampleModules, AColdLookUpInEnglishGermanInflatesFewBlocks)
{
    // The sparse index narrows the search to about one block of the compressed headword
    // index; reading the term takes one or two blocks of the term stream.
    SampleDictionary de;
    ASSERT_TRUE(de.open("english-german", e.compressor.get(), e.tokenizer.get()));
    LXD &module = *de.modules[0];
    std::vector<std::pair<lxstring, LXLanguage>> keys;
    for (LXLanguage lang : {LXEnglish, LXGerman}) {
        uint32_t start, end;
        module.getDirectionRange(lang, start, end);
        for (uint32_t h = start; h < end;) {
            lxstring k;
            uint32_t next = module.readIndexKey(h, k);
            keys.emplace_back(k, lang);
            h = next;
        }
    }
    std::mt19937 rng(7);
    std::uniform_int_distribution<size_t> pick(0, keys.size() - 1);
    uint64_t inflations = 0;
    const int lookups = 1000;
    for (int i = 0; i < lookups; ++i) {
        module.close();
        ASSERT_TRUE(module.open());
        const auto &k = keys[pick(rng)];
        lxstring found;
        uint32_t rs, re, h;
        ASSERT_TRUE(module.findHeadword(k.first, k.second, found, rs, re, h)) << text(k.first);
        LXTerm term;
        module.readTerm(term, h, module.readIndexOffset(h));
        EXPECT_FALSE(term.getHeadword().empty());
        for (int32_t s : {int32_t(LXD::Index), int32_t(LXD::Terms)})
            inflations += module.getStreamFile().getStream(s)->getInflateCount();
    }
    EXPECT_LE(double(inflations) / lookups, 4.0);
}

TEST_F(SampleModules, OtherPairsHoldSamplesOfBothDirections)
{
    // The Spanish, Italian and Portuguese databases mark no part of speech: their
    // headwords that are infinitives of the conjugation module are marked as verbs.
    struct { const char *name, *a, *b; LXLanguage l1, l2; const char *verbs; } samples[] = {
        {"english-spanish", "eng-spa", "spa-eng", LXEnglish, LXSpanish, "es.lxc"},
        {"english-italian", "eng-ita", "ita-eng", LXEnglish, LXItalian, "it.lxc"},
        {"english-portuguese", "eng-por", "por-eng", LXEnglish, LXPortuguese, "pt.lxc"},
        {"french-german", "fra-deu", "deu-fra", LXFrench, LXGerman, nullptr},
    };
    for (auto &s : samples) {
        SCOPED_TRACE(s.name);
        LXD module(e.compressor.get(), e.tokenizer.get());
        ASSERT_TRUE(module.validate(u8(samplePath(s.name))));
        EXPECT_EQ(module.getLanguage1(), s.l1);
        EXPECT_EQ(module.getLanguage2(), s.l2);
        VerbLists verbs;
        std::string lxc, why;
        if (s.verbs) {
            if (!lx_findSample(LXSampleConjugation, s.verbs, lxc))
                return;
            ASSERT_TRUE(readVerbLists({lxc}, e.compressor.get(), verbs, why)) << why;
            EXPECT_GT(verbs[s.l2].size(), 200u);
        }
        checkDatabase({&module}, s.a, true, 500, verbs);
        checkDatabase({&module}, s.b, true, 500, verbs);
    }
}

TEST_F(SampleModules, InfinitivesWithoutAMarkBecomeVerbsOthersStayUnmarked)
{
    struct { const char *name; const char *headword; LXLanguage language; const char *mark; } cases[] = {
        {"english-spanish", "poder", LXSpanish, "v"},   {"english-spanish", "casa", LXSpanish, ""},
        {"english-portuguese", "dormir", LXPortuguese, "v"}, {"english-italian", "parlare", LXItalian, "v"},
        {"english-french", "manger", LXFrench, "v"},   {"english-french", "go", LXEnglish, "v"},
        {"english-french", "apple", LXEnglish, ""},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.headword);
        std::unique_ptr<LXDataManager> dm(LXDataManager::create());
        ASSERT_EQ(dm->addDictionaryModule(u8(samplePath(c.name))), 0);
        LXLanguage other = c.language == LXEnglish ? LXFrench : LXEnglish;
        LXDMIterator it;
        dm->find(u8(c.headword), c.language, other, 10, it);
        bool found = false;
        for (int step = 0; step < 20 && !it.isAtEnd(); ++step, ++it) {
            if (text((*it).getHeadword()) != c.headword)
                continue;
            found = true;
            EXPECT_EQ(text((*it).getPartOfSpeechName()), c.mark);
            if (std::string(c.mark) == "v")
                EXPECT_EQ((*it).getPartOfSpeechCode(), 6u);
        }
        EXPECT_TRUE(found);
    }
}

// The parts of speech offered for a user's entry are named ones: articles without a mark
// still read as having none, but the unnamed entry they refer to is no choice of either
// language. English-French's lists therefore open on a named part of speech.
TEST_F(SampleModules, PartsOfSpeechOfferedForEntriesAllHaveNames)
{
    for (const char *name : kSampleNames) {
        SampleDictionary dictionary;
        ASSERT_TRUE(dictionary.open(name, e.compressor.get(), e.tokenizer.get())) << name;
        for (LXD *module : dictionary.list()) {
            for (LXLanguage language : {module->getLanguage1(), module->getLanguage2()}) {
                LXList<LXPair<lxstring, uint32_t>> parts;
                module->getPartsOfSpeech(parts, language);
                for (LXList<LXPair<lxstring, uint32_t>>::iterator p = parts.begin(); !p.isAtEnd(); ++p)
                    EXPECT_FALSE(p->first.empty()) << name << ", language " << language << ": code " << p->second;
            }
        }
    }

    std::unique_ptr<LXDataManager> dm(LXDataManager::create());
    ASSERT_EQ(dm->addDictionaryModule(u8(samplePath("english-french"))), 0);
    const struct { LXLanguage language, other; const char *first; uint32_t code; } lists[] = {
        {LXEnglish, LXFrench, "n", 2}, {LXFrench, LXEnglish, "adj", 3},
    };
    for (auto &l : lists) {
        LXList<LXPair<lxstring, uint32_t>> parts;
        dm->getAdditionsPartsOfSpeech(parts, l.language, l.other, 10);
        ASSERT_FALSE(parts.empty()) << l.language;
        EXPECT_EQ(text(parts[0].first), l.first) << l.language;
        EXPECT_EQ(parts[0].second, l.code) << l.language;
    }
    LXDMIterator it;
    dm->find(u8("apple"), LXEnglish, LXFrench, 10, it);
    ASSERT_FALSE(it.isAtEnd());
    EXPECT_EQ(text((*it).getHeadword()), "apple");
    EXPECT_EQ(text((*it).getPartOfSpeechName()), "");
    EXPECT_EQ((*it).getPartOfSpeechCode(), 1u);
}

TEST_F(SampleModules, InspectionPrintsHeaderPartsOfSpeechAndTerms)
{
    std::ostringstream out;
    std::string why;
    ASSERT_TRUE(inspectModule(samplePath("english-french"), e.compressor.get(), e.tokenizer.get(), 3, out, why))
        << why;
    std::string s = out.str();
    for (const char *line : {"kind published, 7 streams", "languages 1 English, 2 French",
                             "format word 0x6000000a (version 0x60, product 10)", "parts of speech of French:",
                             "[n, masc:2]", "[v:6]", "[en-->fr] a <a> [:1]", "terms:"})
        EXPECT_NE(s.find(line), std::string::npos) << line << "\n" << s;
    // Three terms: each starts a line with "[".
    size_t terms = 0;
    for (size_t p = s.find("\n[en-->fr]"); p != std::string::npos; p = s.find("\n[en-->fr]", p + 1))
        ++terms;
    EXPECT_EQ(terms, 3u);
    EXPECT_FALSE(inspectModule(freedictBase("eng-fra") + ".index", e.compressor.get(), e.tokenizer.get(), 3, out,
                               why));
}

class Builder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(e.compressor && e.tokenizer); }

    // A pair of small dictd databases in the temporary folder.
    std::string makeDatabase(const char *pair, const std::string &data, const std::string &index)
    {
        std::string base = testRunFolder() + "lxdbuild-freedict-" + pair;
        std::remove((base + ".dict.dz").c_str());
        writeFile(base + ".dict", data);
        writeFile(base + ".index", index);
        return base;
    }

    Engine e;
};

TEST_F(Builder, WritesAModuleFromSmallDatabasesAndMergesArticles)
{
    std::string enfr = makeDatabase("eng-fra",
                                    "run /rʌn/ <v>\n1. courir\n2. filer\n"
                                    "run /rʌn/ <v>\ncourir, galoper\n"
                                    "to give up\nabandonner\n",
                                    "run\tA\ti\nrun\ti\tf\nto give up\tBB\tW\n00databaseinfo\tA\tB\n");
    std::string fren = makeDatabase("fra-eng", "courir /kuʁiʁ/ <v>\nrun\n", "courir\tA\tZ\n");
    BuildOptions o;
    o.output = testRunFolder() + "lxdbuild-small.lxd";
    o.sources = {fren, enfr};   // either order: the pair is sorted
    o.priority = 3;
    o.product = 2;
    BuildReport r;
    std::string why;
    ASSERT_TRUE(buildModule(o, e.compressor.get(), e.tokenizer.get(), r, why)) << why;
    EXPECT_EQ(r.language1, LXEnglish);
    EXPECT_EQ(r.articles[0], 3u);   // the 00-database line is no article
    EXPECT_EQ(r.terms[0], 2u);      // the two "run <v>" articles merged
    EXPECT_EQ(r.terms[1], 1u);

    LXD d(e.compressor.get(), e.tokenizer.get());
    ASSERT_TRUE(d.validate(u8(o.output)));
    EXPECT_EQ(d.getProduct(), 2u);
    EXPECT_EQ(d.getPriority(), 3u);
    lxstring key;
    uint32_t rs, re, h;
    ASSERT_TRUE(d.findHeadword(u8("run"), LXEnglish, key, rs, re, h));
    LXTerm t;
    d.readTerm(t, h, d.readIndexOffset(h));
    EXPECT_EQ(text(t.getHeadword()), "run");
    EXPECT_EQ(t.getPartOfSpeechCode(), 6u);
    ASSERT_EQ(t.getDefinitions().size(), 3u);   // courir, filer, and "courir, galoper"
    EXPECT_EQ(text(t.getDefinitions()[2].getText()), "courir, galoper");
    ASSERT_EQ(t.getFeatures().size(), 1u);     // one pronunciation, not two
    ASSERT_TRUE(d.findHeadword(u8("give"), LXEnglish, key, rs, re, h));
    ASSERT_TRUE(d.findHeadword(u8("courir"), LXFrench, key, rs, re, h));
}

TEST_F(Builder, ReportsBadInputWithFileAndLineAndLeavesNoModule)
{
    std::string good = makeDatabase("fra-eng", "courir\nrun\n", "courir\tA\tL\n");
    struct { const char *what; std::string data, index, message; } cases[] = {
        {"a line that does not parse", "run\ncourir\n", "run\tA\tL\nsecond line\n", ".index:2: "},
        {"an offset beyond the data", "run\ncourir\n", "run\tA\tL\nwalk\tZZ\tB\n", ".index:2: "},
        {"an article without headword", "\n\n\nrun\ncourir\n", "blank\tA\tC\n", ".index:1: "},
    };
    for (auto &c : cases) {
        std::string bad = makeDatabase("eng-fra", c.data, c.index);
        BuildOptions o;
        o.output = testRunFolder() + "lxdbuild-bad.lxd";
        std::remove(o.output.c_str());
        o.sources = {bad, good};
        BuildReport r;
        std::string why;
        EXPECT_FALSE(buildModule(o, e.compressor.get(), e.tokenizer.get(), r, why)) << c.what;
        EXPECT_NE(why.find(bad + c.message), std::string::npos) << c.what << ": " << why;
        EXPECT_FALSE(fileExists(o.output)) << c.what;
        EXPECT_FALSE(fileExists(o.output + ".part")) << c.what;
    }

    BuildOptions o;
    o.output = testRunFolder() + "lxdbuild-bad.lxd";
    BuildReport r;
    std::string why;
    o.sources = {good + "-missing"};
    EXPECT_FALSE(buildModule(o, e.compressor.get(), e.tokenizer.get(), r, why));
    o.sources = {testRunFolder() + "lxdbuild-freedict-fra-xyz"};
    EXPECT_FALSE(buildModule(o, e.compressor.get(), e.tokenizer.get(), r, why));
    EXPECT_NE(why.find("freedict-fra-xyz"), std::string::npos) << why;
    o.sources = {good, good};   // not opposite directions
    EXPECT_FALSE(buildModule(o, e.compressor.get(), e.tokenizer.get(), r, why));
    EXPECT_NE(why.find("opposite"), std::string::npos) << why;
    EXPECT_FALSE(fileExists(o.output));
}

TEST(BuilderMarks, PartOfSpeechCodes)
{
    struct { const char *mark; uint32_t code; } cases[] = {
        {"", 1},         {"v", 6},        {"vt", 6},     {"v, trans", 6}, {"n", 2},
        {"n, masc", 2},  {"masc, n, sg", 2}, {"adj", 3}, {"adv", 4},      {"demonstrativePronoun", 5},
        {"prep", 7},     {"conj", 9},     {"int", 10},   {"num", 11},     {"art", 12},
        {"suffix", 13},
    };
    for (auto &c : cases)
        EXPECT_EQ(freedictPartOfSpeechCode(c.mark), c.code) << c.mark;
    LXLanguage a, b;
    EXPECT_TRUE(freedictLanguages("/usr/share/dictd/freedict-deu-fra", a, b));
    EXPECT_EQ(a, LXGerman);
    EXPECT_EQ(b, LXFrench);
    EXPECT_FALSE(freedictLanguages("freedict-eng", a, b));
    EXPECT_FALSE(freedictLanguages("freedict-eng-eng", a, b));
}

} // namespace
