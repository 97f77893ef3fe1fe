#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/lxutilities.h"
#include "format/lxcompressor.h"
#include "format/lxd.h"
#include "format/lxdwriter.h"
#include "format/lxstreamfile.h"
#include "model/lxtokenizer.h"
#include "testing/lxtest_files.h"
#include "testing/lxtest_terms.h"
#include "testing/lxtest_text.h"

namespace {

struct Engine {
    std::unique_ptr<LXCompressor> compressor{LXCompressor::create()};
    std::unique_ptr<LXTokenizer> tokenizer{LXTokenizer::create()};
};

// The raw streams of a module, written through the container as they stand.
struct RawModule {
    std::vector<std::string> streams;
    bool compressed = true;

    static std::string int32(uint32_t v)
    {
        unsigned char b[4];
        LXUtilities::writeInt32ToBuffer(b, v);
        return std::string(reinterpret_cast<char *>(b), 4);
    }
    static std::string base255(uint32_t v) { return int32(LXUtilities::intToBase255(v)); }

    // A minimal English-French module with the given headword keys, each holding one
    // term "key" translated as "key!"; published (7 streams) or additions (5).
    static RawModule make(const std::vector<std::string> &keys, bool published, uint32_t version = 0x60)
    {
        RawModule m;
        std::string index, terms;
        for (const std::string &k : keys) {
            index += base255(static_cast<uint32_t>(terms.size())) + k + '\0';
            terms += std::string("\x04\x02\x01\x02\x04", 5) + k + "!" + std::string("\x01\x02\x03\x00", 4);
        }
        std::string header = int32(LXD::kMagic) + int32(7) + int32((version << 24) | 10) +
                             std::string("\x00\x01\x00\x02", 4) + int32(uint32_t(keys.size())) + int32(0) +
                             int32(uint32_t(index.size())) + int32(0) + int32(1) + int32(5) + int32(0) + int32(0);
        std::string pos = std::string("\x41", 1) + std::string("", 0) + '\0';   // the empty name, English
        uint32_t marker = published ? ~((1u << 16) | 2u) : 1u * 67 + 2u * 23;
        m.streams = {header, pos, index, int32(marker), terms};
        if (published) {
            std::string sparse;
            for (size_t i = 0, at = 0; i < keys.size(); ++i) {
                if (i % 2 == 0)
                    sparse += base255(static_cast<uint32_t>(at)) + keys[i] + '\0';
                at += 4 + keys[i].size() + 1;
            }
            m.streams.push_back(sparse);
            m.streams.push_back("");
        }
        return m;
    }

    bool write(const std::string &path, LXCompressor *c) const
    {
        LXStreamFile f(c);
        if (!f.open(u8(path), LXStreamFile::ModeWrite, static_cast<int32_t>(streams.size())))
            return false;
        for (size_t s = 0; s < streams.size(); ++s) {
            uint32_t at = 0;
            for (char ch : streams[s])
                f.writeByte(static_cast<int32_t>(s), at, static_cast<uint8_t>(ch));
        }
        if (compressed && streams.size() > 4) {
            f.setCompressed(LXD::Index, true);
            f.setCompressed(LXD::Terms, true);
        }
        bool ok = f.write();
        f.close();
        return ok;
    }
};

class LXDTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(e.compressor);
        ASSERT_TRUE(e.tokenizer);
    }

    std::string build(const std::vector<LXTerm> &terms, const std::string &name, uint32_t sparseEvery = 16,
                      uint32_t priority = 5)
    {
        LXDWriter w(e.compressor.get(), e.tokenizer.get(), LXEnglish, LXFrench);
        w.setPriority(priority);
        w.setSparseInterval(sparseEvery);
        std::string why;
        for (const LXTerm &t : terms)
            EXPECT_TRUE(w.addTerm(t, why)) << why;
        std::string path = tempPath(name);
        EXPECT_TRUE(w.write(path, why)) << why;
        return path;
    }

    Engine e;
};

// Every headword word list the search tests use: varied, with keys that share
// prefixes, differ only by case, accent or ligature, and a multi-byte key.
std::vector<std::string> wordList()
{
    std::vector<std::string> w = {"a",      "abbey",  "abbot", "able",   "Abc",   "abc",   "zoo",
                                  "zoology", "résumé", "resume", "Straße", "strasse", "æther", "aether",
                                  "naïve",  "naive",  "über",  "2nd",    "Øre",   "ore",   "x-ray"};
    for (int i = 0; i < 300; ++i)
        w.push_back("word" + std::to_string(i * 7919 % 1000));
    return w;
}

// A module written in parts: each part a valid module of the pair with one consecutive
// range of each direction's headword records (never one record cut in two), the parts
// together every term once, in the order of the whole module.
TEST_F(LXDTest, PartsHoldConsecutiveRangesOfTheWholeModule)
{
    LXDWriter w(e.compressor.get(), e.tokenizer.get(), LXEnglish, LXFrench);
    std::string why;
    for (const std::string &word : wordList()) {
        ASSERT_TRUE(w.addTerm(makeTerm(LXEnglish, word, {word + "-fr"}), why)) << why;
        ASSERT_TRUE(w.addTerm(makeTerm(LXEnglish, word, {word + "-v"}, "v", 6), why)) << why;   // same record
    }
    for (const char *word : {"maison", "zèbre", "chat", "arbre", "eau"})
        ASSERT_TRUE(w.addTerm(makeTerm(LXFrench, word, {"x"}), why)) << why;
    const std::string whole = tempPath("parts-whole.lxd");
    ASSERT_TRUE(w.write(whole, why)) << why;
    LXD all(e.compressor.get(), e.tokenizer.get());
    ASSERT_TRUE(all.validate(u8(whole)));
    LXList<LXTerm> expected;
    all.readAllTerms(expected);

    const auto label = [](const LXTerm &t) {
        return text(t.getSearchKey()) + "|" + text(t.getHeadword()) + "|" + text(t.getPartOfSpeechName());
    };
    const uint32_t parts = 3;
    std::vector<std::string> got[2];
    uint32_t records = 0;
    for (uint32_t part = 0; part < parts; ++part) {
        const std::string path = tempPath("parts-" + std::to_string(part) + ".lxd");
        ASSERT_TRUE(w.writePart(path, part, parts, why)) << why;
        LXD d(e.compressor.get(), e.tokenizer.get());
        ASSERT_TRUE(d.validate(u8(path))) << part;
        EXPECT_EQ(d.getLanguage1(), LXEnglish);
        EXPECT_EQ(d.getLanguage2(), LXFrench);
        EXPECT_GT(d.getHeadwordCount1(), 0u) << part;
        records += d.getHeadwordCount1() + d.getHeadwordCount2();
        LXList<LXTerm> terms;
        d.readAllTerms(terms);
        for (LXList<LXTerm>::iterator t = terms.begin(); !t.isAtEnd(); ++t)
            got[t->getLanguage() == LXFrench].push_back(label(*t));
        std::remove(path.c_str());
    }
    EXPECT_EQ(records, all.getHeadwordCount1() + all.getHeadwordCount2());
    // readAllTerms goes direction by direction; the parts' English terms come first
    // part by part, then their French ones: compare each direction in order.
    std::vector<std::string> want[2];
    for (LXList<LXTerm>::iterator t = expected.begin(); !t.isAtEnd(); ++t)
        want[t->getLanguage() == LXFrench].push_back(label(*t));
    EXPECT_EQ(got[0], want[0]);
    EXPECT_EQ(got[1], want[1]);

    EXPECT_FALSE(w.writePart(tempPath("parts-none.lxd"), parts, parts, why));
    EXPECT_FALSE(w.wasTooLarge());
    std::remove(whole.c_str());
}

TEST_F(LXDTest, FindsEveryKeyAndTheInsertionPointOfOthersWithAnySparseIndex)
{
    std::vector<std::string> words = wordList();
    std::vector<LXTerm> terms;
    for (const std::string &w : words)
        terms.push_back(makeTerm(LXEnglish, w, {w + "-fr"}));
    terms.push_back(makeTerm(LXFrench, "maison", {"house"}));
    terms.push_back(makeTerm(LXFrench, "zèbre", {"zebra"}));

    // The oracle: the distinct keys in the collation's order.
    std::vector<std::string> keys = words;
    std::sort(keys.begin(), keys.end(), [](const std::string &a, const std::string &b) {
        int c = u8(a).compare(u8(b), LXLanguageNone);
        return c ? c < 0 : a < b;
    });
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());

    for (uint32_t every : {1u, 2u, 16u, 1000u}) {
        std::string path = build(terms, "search" + std::to_string(every), every);
        LXD d(e.compressor.get(), e.tokenizer.get());
        ASSERT_TRUE(d.validate(u8(path)));
        ASSERT_TRUE(d.open());
        EXPECT_TRUE(d.isPublished());
        EXPECT_FALSE(d.isAdditions());
        EXPECT_EQ(d.getHeadwordCount1(), keys.size());
        EXPECT_EQ(d.getHeadwordCount2(), 2u);

        // Walk the records: they are the oracle's keys in order.
        uint32_t start, end;
        d.getDirectionRange(LXEnglish, start, end);
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, d.getDirection2Start());
        std::vector<uint32_t> positions;
        for (uint32_t h = start; h < end;) {
            lxstring k;
            positions.push_back(h);
            uint32_t next = d.readIndexKey(h, k);
            EXPECT_EQ(text(k), keys[positions.size() - 1]);
            h = next;
        }
        ASSERT_EQ(positions.size(), keys.size());

        for (size_t i = 0; i < keys.size(); ++i) {
            lxstring key;
            uint32_t rs, re, pos;
            bool found = d.findHeadword(u8(keys[i]), LXEnglish, key, rs, re, pos);
            ASSERT_TRUE(found) << keys[i] << " every " << every;
            // Collation-equal spellings (Straße, strasse) may answer each other's record.
            EXPECT_EQ(u8(keys[i]).compare(key, LXLanguageNone), 0) << keys[i];
            EXPECT_EQ(rs, start);
            EXPECT_EQ(re, end);
            // A text just above this key lands on the next record.
            found = d.findHeadword(u8(keys[i] + "\x7F"), LXEnglish, key, rs, re, pos);
            EXPECT_FALSE(found);
            size_t expect = i + 1;
            while (expect < keys.size() && u8(keys[i] + "\x7F").compare(u8(keys[expect]), LXLanguageNone) > 0)
                ++expect;
            EXPECT_EQ(pos, expect < keys.size() ? positions[expect] : end) << keys[i];
        }

        // Below every key: the direction's first record; above every key: its end, with
        // the next stream record's key (the first of direction 2).
        lxstring key;
        uint32_t rs, re, pos;
        EXPECT_FALSE(d.findHeadword(u8(""), LXEnglish, key, rs, re, pos));
        EXPECT_EQ(pos, start);
        EXPECT_FALSE(d.findHeadword(u8("!!!"), LXEnglish, key, rs, re, pos));
        EXPECT_EQ(pos, start);
        EXPECT_EQ(text(key), keys[0]);
        EXPECT_FALSE(d.findHeadword(u8("9999"), LXEnglish, key, rs, re, pos));
        EXPECT_EQ(pos, end);
        EXPECT_EQ(text(key), "maison");
        // Direction 2 has its own range; above it the stream ends and the key is empty.
        EXPECT_TRUE(d.findHeadword(u8("MAISON"), LXFrench, key, rs, re, pos) == false);
        EXPECT_EQ(pos, rs);
        EXPECT_TRUE(d.findHeadword(u8("zèbre"), LXFrench, key, rs, re, pos));
        EXPECT_FALSE(d.findHeadword(u8("zz"), LXFrench, key, rs, re, pos));
        EXPECT_EQ(pos, re);
        EXPECT_TRUE(key.empty());
        EXPECT_EQ(rs, d.getDirection2Start());
        EXPECT_EQ(re, d.getIndexSize());
    }
}

TEST_F(LXDTest, TermsReadBackWithHeadwordsFeaturesAndPartsOfSpeech)
{
    LXTerm run = makeTerm(LXEnglish, "run", {"courir", "filer"}, "v", 6);
    run.addFeature(LXFeaturePronunciation, u8("rʌn"));
    run.addFeature(LXFeatureSynonyms, u8("sprint"));
    LXDefinition &first = run.getDefinitions()[0];
    first.setPartOfSpeechName(u8("v"));
    first.setPartOfSpeechCode(6);
    first.addFeature(LXFeatureLabel, u8("sport"));
    LXTerm toRun = makeTerm(LXEnglish, "to run", {"courir"});
    LXTerm runRun = makeTerm(LXEnglish, "run and run", {"courir encore"});   // the key twice
    LXTerm noun = makeTerm(LXEnglish, "run", {"course"}, "n", 2);
    LXTerm tab = makeTerm(LXEnglish, "odd\tone", {"a\x01" "b"});               // markers in texts
    LXTerm fr = makeTerm(LXFrench, "courir", {"run"}, "v", 6);
    std::string path = build({toRun, run, runRun, noun, tab, fr}, "terms", 16, 7);

    LXD d(e.compressor.get(), e.tokenizer.get());
    ASSERT_TRUE(d.validate(u8(path)));
    EXPECT_EQ(d.getPriority(), 7u);
    EXPECT_EQ(d.getProduct(), 10u);
    EXPECT_EQ(d.getFormatWord() >> 24, 0x60u);
    lxstring key;
    uint32_t rs, re, h;
    ASSERT_TRUE(d.findHeadword(u8("run"), LXEnglish, key, rs, re, h));

    // The run of the key "run": single words first (by part-of-speech code), then expressions.
    std::vector<LXTerm> got;
    for (uint32_t t = d.readIndexOffset(h); d.readTermsByte(t) != 0;) {
        LXTerm term;
        uint32_t next = d.readTerm(term, h, t);
        ASSERT_GT(next, t);
        got.push_back(term);
        t = next;
    }
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(text(got[0].getHeadword()), "run");
    EXPECT_EQ(text(got[0].getPartOfSpeechName()), "n");
    EXPECT_EQ(got[0].getPartOfSpeechCode(), 2u);
    EXPECT_EQ(text(got[1].getHeadword()), "run");
    EXPECT_EQ(got[1].getPartOfSpeechCode(), 6u);
    EXPECT_EQ(text(got[2].getHeadword()), "run and run");
    EXPECT_EQ(text(got[3].getHeadword()), "to run");

    const LXTerm &v = got[1];
    EXPECT_EQ(v.getLanguage(), LXEnglish);
    EXPECT_EQ(v.getTranslationLanguage(), LXFrench);
    EXPECT_EQ(text(v.getSearchKey()), "run");
    ASSERT_EQ(v.getFeatures().size(), 2u);
    EXPECT_EQ(v.getFeatures()[0].first, uint32_t(LXFeaturePronunciation));
    EXPECT_EQ(text(v.getFeatures()[0].second), "rʌn");
    ASSERT_EQ(v.getDefinitions().size(), 2u);
    const LXDefinition &d0 = v.getDefinitions()[0];
    EXPECT_EQ(text(d0.getText()), "courir");
    EXPECT_EQ(text(d0.getPartOfSpeechName()), "v");
    EXPECT_EQ(d0.getPartOfSpeechCode(), 6u);
    EXPECT_EQ(d0.getOriginNumber(), 7u);   // the module's priority
    ASSERT_EQ(d0.getFeatures().size(), 1u);
    EXPECT_EQ(text(d0.getFeatures()[0].second), "sport");
    EXPECT_EQ(text(v.getDefinitions()[1].getText()), "filer");
    EXPECT_EQ(v.getDefinitions()[1].getPartOfSpeechCode(), 1u);   // no name: code 1

    // The stored form of "to run" is "to ", the byte 2 and the end of the text.
    std::string raw = readFile(path);
    (void)raw;
    ASSERT_TRUE(d.findHeadword(u8("odd"), LXEnglish, key, rs, re, h));
    LXTerm odd;
    d.readTerm(odd, h, d.readIndexOffset(h));
    EXPECT_EQ(text(odd.getHeadword()), "odd one");
    EXPECT_EQ(text(odd.getDefinitions()[0].getText()), "a b");

    ASSERT_TRUE(d.findHeadword(u8("courir"), LXFrench, key, rs, re, h));
    LXTerm c;
    d.readTerm(c, h, d.readIndexOffset(h));
    EXPECT_EQ(c.getLanguage(), LXFrench);
    EXPECT_EQ(c.getTranslationLanguage(), LXEnglish);
    EXPECT_EQ(text(c.getDefinitions()[0].getText()), "run");

    EXPECT_EQ(d.partOfSpeechCode(u8("v")), 6u);
    EXPECT_EQ(d.partOfSpeechCode(u8("adverb of doubt")), 8u);
    EXPECT_EQ(d.partOfSpeechCode(u8("")), 1u);

    LXList<LXPair<lxstring, uint32_t>> pos;
    // In name order; the unnamed entry that "to run" and the unmarked definitions refer to
    // is no language's choice.
    d.getPartsOfSpeech(pos, LXEnglish);
    ASSERT_EQ(pos.size(), 2u);
    EXPECT_EQ(text(pos[0].first), "n");
    EXPECT_EQ(pos[0].second, 2u);
    EXPECT_EQ(text(pos[1].first), "v");
    d.getPartsOfSpeech(pos, LXFrench);   // the French term's
    ASSERT_EQ(pos.size(), 1u);
    EXPECT_EQ(text(pos[0].first), "v");

    LXList<LXTerm> all;
    d.readAllTerms(all);
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[5].getLanguage(), LXFrench);
}

TEST_F(LXDTest, StoresTheSearchKeyOfAHeadwordAsOneByte)
{
    std::string path = build({makeTerm(LXEnglish, "to give up", {"abandonner"})}, "keybyte");
    std::string bytes = readFile(path);
    LXD d(e.compressor.get(), e.tokenizer.get());
    ASSERT_TRUE(d.validate(u8(path)));
    ASSERT_TRUE(d.open());
    // Stream 4 is compressed: read it through the container.
    std::string terms;
    for (uint32_t i = 0; i < d.getTermsSize(); ++i)
        terms += static_cast<char>(d.readTermsByte(i));
    EXPECT_EQ(terms.substr(1, 8), std::string("to \x02 up\x01", 8));
    lxstring key;
    uint32_t rs, re, h;
    ASSERT_TRUE(d.findHeadword(u8("give"), LXEnglish, key, rs, re, h));
    LXTerm t;
    d.readTerm(t, h, d.readIndexOffset(h));
    EXPECT_EQ(text(t.getHeadword()), "to give up");
}

TEST_F(LXDTest, EditDistanceAndApproximateMatches)
{
    LXD d(e.compressor.get(), e.tokenizer.get());
    struct { const char *a, *b; uint32_t distance; } cases[] = {
        {"CAT", "CUT", 2}, {"CAT", "CART", 1}, {"CAT", "CAT", 0}, {"", "ABC", 3},
        {"ABCDEFGHIJKLMNOXYZ", "ABCDEFGHIJKLMNOPQR", 0},   // only the first 15 count
        {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNQP", 2},
    };
    for (auto &c : cases)
        EXPECT_EQ(d.editDistance(u8(c.a), u8(c.b)), c.distance) << c.a << " " << c.b;

    std::vector<LXTerm> terms;
    for (const char *w : {"house", "horse", "hose", "hound", "houses", "hous", "mouse", "Hause", "housing",
                          "hour", "hours", "houseboat"})
        terms.push_back(makeTerm(LXEnglish, w, {"x"}));
    std::string path = build(terms, "approx", 2);
    ASSERT_TRUE(d.validate(u8(path)));
    LXList<lxstring> list;
    d.getApproximateMatches(u8("house"), LXEnglish, 0, list);
    std::vector<std::string> got;
    for (LXList<lxstring>::iterator it = list.begin(); !it.isAtEnd(); ++it)
        got.push_back(text(*it));
    // The walk from the prefix "HO" keeps horse (2), hose (1), hours (2), hous (1) and
    // house (0), and stops at five: houses, also at 1, comes too late.
    EXPECT_EQ(got, (std::vector<std::string>{"house", "hose", "hous", "horse", "hours"}));
    for (const std::string &g : got)
        EXPECT_NE(g, "mouse");
    EXPECT_EQ(std::count(got.begin(), got.end(), "Hause"), 0);   // another prefix
    d.getApproximateMatches(u8("qqq"), LXEnglish, 0, list);
    EXPECT_TRUE(list.empty());
}

TEST_F(LXDTest, AdditionsFileIsSearchedInTheIndexAlone)
{
    RawModule m = RawModule::make({"alpha", "beta", "gamma"}, false);
    std::string path = tempPath("additions");
    ASSERT_TRUE(m.write(path, e.compressor.get()));
    LXD d(e.compressor.get(), e.tokenizer.get());
    ASSERT_TRUE(d.validate(u8(path)));
    EXPECT_TRUE(d.isAdditions());
    EXPECT_FALSE(d.isPublished());
    lxstring key;
    uint32_t rs, re, h;
    for (const char *k : {"alpha", "beta", "gamma"}) {
        ASSERT_TRUE(d.findHeadword(u8(k), LXEnglish, key, rs, re, h)) << k;
        LXTerm t;
        d.readTerm(t, h, d.readIndexOffset(h));
        EXPECT_EQ(text(t.getHeadword()), k);
        EXPECT_EQ(text(t.getDefinitions()[0].getText()), std::string(k) + "!");
    }
    EXPECT_FALSE(d.findHeadword(u8("delta"), LXEnglish, key, rs, re, h));
    EXPECT_EQ(text(key), "gamma");
}

TEST_F(LXDTest, ValidationRefusesWhatIsNoModule)
{
    struct Case {
        const char *what;
        bool valid;
        void (*change)(RawModule &);
    } cases[] = {
        {"as made", true, [](RawModule &) {}},
        {"format 0x54", true, [](RawModule &m) { m.streams[0][8] = 0x54; }},
        {"format 0x53", false, [](RawModule &m) { m.streams[0][8] = 0x53; }},
        {"format 0x61", false, [](RawModule &m) { m.streams[0][8] = 0x61; }},
        {"wrong magic", false, [](RawModule &m) { m.streams[0][0] = 0x00; }},
        {"kind marker of neither form", false, [](RawModule &m) { m.streams[3] = RawModule::int32(12345); }},
        {"marker of other languages", false, [](RawModule &m) { m.streams[0][15] = 4; }},
        {"additions marker", true, [](RawModule &m) { m.streams[3] = RawModule::int32(67 + 46); }},
        {"header cut short", false, [](RawModule &m) { m.streams[0].resize(40); }},
        {"no kind marker", false, [](RawModule &m) { m.streams[3].clear(); }},
        {"three streams", false, [](RawModule &m) { m.streams.resize(3); }},
    };
    for (const Case &c : cases) {
        RawModule m = RawModule::make({"alpha", "beta"}, true);
        c.change(m);
        std::string path = tempPath("validate");
        ASSERT_TRUE(m.write(path, e.compressor.get())) << c.what;
        LXD d(e.compressor.get(), e.tokenizer.get());
        EXPECT_EQ(d.validate(u8(path)), c.valid) << c.what;
        EXPECT_FALSE(d.isOpen());
        EXPECT_EQ(d.open(), c.valid) << c.what;
    }

    // Not a container at all, and a container file cut anywhere.
    std::string path = tempPath("validate");
    RawModule m = RawModule::make({"alpha", "beta"}, true);
    ASSERT_TRUE(m.write(path, e.compressor.get()));
    std::string whole = readFile(path);
    LXD d(e.compressor.get(), e.tokenizer.get());
    EXPECT_FALSE(d.validate(u8(tempPath("no-such-file"))));
    for (size_t cut : {size_t(0), size_t(3), size_t(16), size_t(100), whole.size() / 2, whole.size() - 1}) {
        writeFile(path, whole.substr(0, cut));
        if (d.validate(u8(path))) {
            // A cut that leaves the header whole: reads end early with the neutral answer.
            lxstring key;
            uint32_t rs, re, h;
            d.findHeadword(u8("beta"), LXEnglish, key, rs, re, h);
            LXTerm t;
            d.readTerm(t, h, d.readIndexOffset(h));
            LXList<LXTerm> all;
            d.readAllTerms(all);
        }
        d.close();
    }
}

TEST_F(LXDTest, DamagedTermRecordsEndEarly)
{
    // Term records that run off the end of their stream, or hold markers out of place.
    struct { const char *what; std::string terms; } cases[] = {
        {"headword without its end", std::string("\x04" "alp", 4)},
        {"features without their end", std::string("\x04\x02\x01\x0D" "x", 5)},
        {"definition without its end", std::string("\x04\x02\x01\x02\x04" "alpha!", 11)},
        {"a zero inside the headword", std::string("\x04" "al\x00pha\x01\x02\x03\x00", 11)},
        {"part of speech past the table", std::string("\x40\x02\x01\x02\xF0" "x\x01\x02\x03\x00", 11)},
        {"a run that never ends", std::string("\x04\x02\x01\x02\x03\x04\x02\x01\x02\x03", 10)},
        {"nothing at all", std::string()},
    };
    for (auto &c : cases) {
        RawModule m = RawModule::make({"alpha"}, true);
        m.streams[4] = c.terms;
        std::string path = tempPath("damaged");
        ASSERT_TRUE(m.write(path, e.compressor.get()));
        LXD d(e.compressor.get(), e.tokenizer.get());
        ASSERT_TRUE(d.validate(u8(path))) << c.what;
        lxstring key;
        uint32_t rs, re, h;
        ASSERT_TRUE(d.findHeadword(u8("alpha"), LXEnglish, key, rs, re, h)) << c.what;
        LXTerm t;
        uint32_t end = d.readTerm(t, h, d.readIndexOffset(h));
        EXPECT_LE(end, d.getTermsSize() + 6) << c.what;
        LXList<LXTerm> all;
        d.readAllTerms(all);
        EXPECT_LE(all.size(), 2u) << c.what;
        for (uint32_t p = 0; p < 16; ++p)
            d.readTerm(t, 0, p);   // from every position, never past the stream
    }
}

TEST_F(LXDTest, IndexRecordsWithoutTheirEndOrWithWildPositions)
{
    struct { const char *what; std::string index; std::string sparse; } cases[] = {
        {"key without its zero", RawModule::base255(0) + "alpha", ""},
        {"number cut short", std::string("\x01\x01", 2), ""},
        {"position past the terms", RawModule::base255(999999) + "alpha" + '\0', ""},
        {"sparse pointing past the index", RawModule::base255(0) + "alpha" + '\0',
         RawModule::base255(500) + "alpha" + '\0'},
        {"sparse without zeros", RawModule::base255(0) + "alpha" + '\0', "\x01\x01\x01\x01zzzz"},
        {"zero bytes only", std::string(40, '\0'), std::string(40, '\0')},
    };
    for (auto &c : cases) {
        RawModule m = RawModule::make({"alpha"}, true);
        m.streams[2] = c.index;
        m.streams[5] = c.sparse;
        std::string header = m.streams[0];
        m.streams[0] = header.substr(0, 24) + RawModule::int32(uint32_t(c.index.size())) + header.substr(28);
        std::string path = tempPath("wild");
        ASSERT_TRUE(m.write(path, e.compressor.get()));
        LXD d(e.compressor.get(), e.tokenizer.get());
        ASSERT_TRUE(d.validate(u8(path))) << c.what;
        for (const char *probe : {"", "alpha", "zzz", "a"}) {
            lxstring key;
            uint32_t rs, re, h;
            d.findHeadword(u8(probe), LXEnglish, key, rs, re, h);
            EXPECT_LE(h, d.getIndexSize()) << c.what;
            LXTerm t;
            d.readTerm(t, h, d.readIndexOffset(h));
            LXList<lxstring> near;
            d.getApproximateMatches(u8(probe), LXEnglish, 0, near);
        }
        LXList<LXTerm> all;
        d.readAllTerms(all);
    }
}

TEST_F(LXDTest, WriterRefusesTermsItCannotStoreAndLeavesNoPartialFile)
{
    LXDWriter w(e.compressor.get(), e.tokenizer.get(), LXEnglish, LXFrench);
    std::string why;
    EXPECT_FALSE(w.addTerm(makeTerm(LXGerman, "Haus", {"house"}), why));
    EXPECT_NE(why.find("language"), std::string::npos);
    EXPECT_FALSE(w.addTerm(makeTerm(LXEnglish, "", {"x"}), why));
    LXTerm bad = makeTerm(LXEnglish, "x", {"y"});
    bad.addFeature(2, u8("marker"));
    EXPECT_FALSE(w.addTerm(bad, why));
    for (int i = 0; i < 251; ++i)
        ASSERT_TRUE(w.addTerm(makeTerm(LXEnglish, "w" + std::to_string(i), {"x"}, "pos" + std::to_string(i), 9), why))
            << i << why;
    // The empty name of the earlier terms' definitions took a place: the table is full.
    EXPECT_FALSE(w.addTerm(makeTerm(LXEnglish, "one more", {"x"}, "another", 9), why));

    // A module that cannot be written leaves nothing at its path.
    std::string path = tempPath("no-such-dir") + "/module.lxd";
    EXPECT_FALSE(w.write(path, why));
    EXPECT_FALSE(fileExists(path));
    EXPECT_FALSE(fileExists(path + ".part"));
}

} // namespace
