// The conjugation module file: header checks, opening, name lookups, record readers and
// the searches in the sorted streams, including damaged modules.
#include <gtest/gtest.h>

#include <fstream>

#include "format/lxstreamfile.h"

#include "lxc_fixture.h"

namespace {

// A small French module: one model, a few verbs, a name table of seven persons.
LXConjugationWriter smallModule(LXLanguage language = LXFrench)
{
    LXConjugationWriter w(language);
    addNames(w, {"je", "tu", "il", "nous", "vous", "ils", "septième"}, {"Infinitif", "Participe passé"});
    w.addModel(makeModel(3, {{27, "er"}}, {six(80, "e", "es", "e", "ons", "ez", "ent"), {74, {{37, "é"}}}}));
    for (const char *v : {"aimer", "chanter", "donner", "ETRE", "être"})
        w.addVerb(makeVerb(v, 3));
    return w;
}

std::string header(uint32_t signature, uint32_t format, uint32_t models = 4)
{
    std::string h;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i)
            h.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    put(signature, 2);
    put(LXFrench, 2);
    put(1, 4);
    put(format, 4);
    put(models, 4);
    return h;
}

TEST(ConjugationModule, HeaderSignatureAndFormatWord)
{
    struct Case {
        uint32_t signature, format;
        bool accepted;
    } cases[] = {
        {0xDADA, 0x53FFFFFF, false}, {0xDADA, 0x54000000, true}, {0xDADA, 0x60FFFFFF, true},
        {0xDADA, 0x61000000, false}, {0xDADA, 0x5A123456, true}, {0xDADB, 0x60000000, false},
        {0x5ADA, 0x60000000, false}, {0xDAD8, 0x54000000, false},
    };
    for (const Case &c : cases) {
        LXConjugationWriter w = smallModule();
        w.setHeader(c.signature, 7, c.format);
        std::string path = tempPath("header.lxc");
        ASSERT_TRUE(writeModule(w, path));
        OpenModule m;
        EXPECT_EQ(m.conjugator.validateModule(U(path.c_str())), c.accepted) << std::hex << c.signature << " " << c.format;
        EXPECT_EQ(m.open(path), c.accepted);
        EXPECT_EQ(m.conjugator.isOpen(), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(m.conjugator.getFormatWord(), c.format);
            EXPECT_EQ(m.conjugator.getHeaderWord(), 7u);
            EXPECT_EQ(m.conjugator.getLanguage(), LXFrench);
        }
    }
}

TEST(ConjugationModule, EverySignatureBitMatters)
{
    for (int bit = 0; bit < 16; ++bit) {
        LXConjugationWriter w = smallModule();
        w.setHeader(0xDADA ^ (1u << bit), 1, 0x60000000);
        std::string path = tempPath("signature.lxc");
        ASSERT_TRUE(writeModule(w, path));
        OpenModule m;
        EXPECT_FALSE(m.open(path)) << bit;
    }
}

TEST(ConjugationModule, NotAContainerOrTooFewStreams)
{
    std::string junk = tempPath("junk.lxc");
    {
        std::ofstream f(junk, std::ios::binary);
        f << "this is not a module at all, just text";
    }
    OpenModule m;
    EXPECT_FALSE(m.open(junk));
    EXPECT_FALSE(m.open(tempPath("does-not-exist.lxc")));

    // A container with only the header stream.
    LXCompressor *c = LXCompressor::create();
    LXStreamFile file(c);
    std::string few = tempPath("few.lxc");
    ASSERT_TRUE(file.open(U(few.c_str()), LXStreamFile::ModeWrite, 1));
    uint32_t pos = 0;
    for (char ch : header(0xDADA, 0x60000000))
        file.writeByte(0, pos, static_cast<uint8_t>(ch));
    ASSERT_TRUE(file.write());
    file.close();
    delete c;
    EXPECT_FALSE(m.open(few));
    EXPECT_FALSE(m.conjugator.isOpen());

    // A header stream shorter than 16 bytes reads as zeros and fails the signature.
    std::string streams[LXConjugationStreamCount];
    streams[0] = header(0xDADA, 0x60000000).substr(0, 6);
    std::string shortHeader = tempPath("short.lxc");
    ASSERT_TRUE(writeStreams(streams, shortHeader));
    EXPECT_FALSE(m.open(shortHeader));
}

TEST(ConjugationModule, AnOpenModuleIsKeptUntilItsFileChangesAndAnotherModuleReplacesTheFirst)
{
    LXConjugationWriter fr = smallModule(LXFrench);
    LXConjugationWriter it = smallModule(LXItalian);
    std::string pf = tempPath("reopen-fr.lxc"), pi = tempPath("reopen-it.lxc");
    ASSERT_TRUE(writeModule(fr, pf));
    ASSERT_TRUE(writeModule(it, pi));
    OpenModule m;
    LXVerb v;
    ASSERT_TRUE(m.open(pf));
    EXPECT_TRUE(m.conjugator.findVerb(U("aimer"), v));
    ASSERT_TRUE(m.open(pf));
    EXPECT_TRUE(m.conjugator.findVerb(U("aimer"), v));
#ifndef _WIN32
    // A module put in the open one's place (Windows keeps an open file from being replaced)
    // is read at the next open of the path.
    LXConjugationWriter other = smallModule(LXItalian);
    other.addVerb(makeVerb("amare", 3));
    ASSERT_TRUE(writeModule(other, pf));
    ASSERT_TRUE(m.open(pf));
    EXPECT_EQ(m.conjugator.getLanguage(), LXItalian);
    EXPECT_TRUE(m.conjugator.findVerb(U("amare"), v));
    ASSERT_TRUE(writeModule(fr, pf));
    ASSERT_TRUE(m.open(pf));
    EXPECT_EQ(m.conjugator.getLanguage(), LXFrench);
#endif
    ASSERT_TRUE(m.open(pi));
    EXPECT_EQ(m.conjugator.getLanguage(), LXItalian);
    EXPECT_EQ(S(m.conjugator.getPath()), pi);
    m.conjugator.closeModule();
    EXPECT_FALSE(m.conjugator.isOpen());
    EXPECT_FALSE(m.conjugator.findVerb(U("aimer"), v));
}

TEST(ConjugationModule, NameLookups)
{
    LXConjugationWriter w = smallModule();
    std::string path = tempPath("names.lxc");
    ASSERT_TRUE(writeModule(w, path));
    OpenModule m;
    ASSERT_TRUE(m.open(path));
    lxstring t;
    struct Case {
        bool person;
        uint32_t code;
        const char *name;
    } cases[] = {
        {true, 37, "je"}, {true, 43, "septième"}, {true, 36, ""}, {true, 44, ""},
        {false, 73, "Infinitif"}, {false, 74, "Participe passé"}, {false, 72, ""},
        {false, 75, ""}, {false, 0xFFFFFFFFu, ""},
    };
    for (const Case &c : cases) {
        t = U("stale");
        if (c.person)
            m.conjugator.getPersonName(c.code, t);
        else
            m.conjugator.getTenseName(c.code, t);
        EXPECT_EQ(S(t), c.name) << c.code;
    }
}

TEST(ConjugationModule, EnglishPersonDescriptions)
{
    for (LXLanguage lang : {LXFrench, LXGerman}) {
        LXConjugationWriter w = smallModule(lang);
        std::string path = tempPath("desc.lxc");
        ASSERT_TRUE(writeModule(w, path));
        OpenModule m;
        ASSERT_TRUE(m.open(path));
        lxstring t;
        m.conjugator.getEnglishPersonDescription(41, t);
        EXPECT_EQ(S(t), lang == LXGerman ? "2nd person plural informal" : "2nd person plural");
        m.conjugator.getEnglishPersonDescription(42, t);
        EXPECT_EQ(S(t), lang == LXGerman ? "2nd person plural" : "3rd person plural");
        t = U("kept");
        m.conjugator.getEnglishPersonDescription(44, t);
        EXPECT_EQ(S(t), "kept");
    }
}

TEST(ConjugationModule, FindVerbPrefersTheExactSpelling)
{
    LXConjugationWriter w = smallModule();
    std::string path = tempPath("find.lxc");
    ASSERT_TRUE(writeModule(w, path));
    OpenModule m;
    ASSERT_TRUE(m.open(path));
    LXVerb v;
    uint32_t pos = 0;
    EXPECT_TRUE(m.conjugator.findVerb(U("être"), v));
    EXPECT_EQ(S(v.infinitive), "être");
    EXPECT_TRUE(m.conjugator.findVerb(U("etre"), v));
    EXPECT_EQ(S(v.infinitive), "ETRE");
    EXPECT_TRUE(m.conjugator.findVerb(U("CHANTER"), v));
    EXPECT_EQ(S(v.infinitive), "chanter");
    // Before the first and after the last record: a miss with the insertion point.
    EXPECT_FALSE(m.conjugator.findVerb(U("a"), pos, v));
    EXPECT_EQ(pos, 0u);
    EXPECT_EQ(S(v.infinitive), "aimer");
    EXPECT_FALSE(m.conjugator.findVerb(U("zzz"), pos, v));
    EXPECT_EQ(v.model, 0u);
    EXPECT_TRUE(v.infinitive.empty());
    EXPECT_FALSE(m.conjugator.findVerb(U("bouger"), pos, v));
    EXPECT_EQ(S(v.infinitive), "chanter");
}

TEST(ConjugationModule, EmptySortedStreamsFindNothing)
{
    LXConjugationWriter w(LXFrench);
    w.addModel(makeModel(1, {}, {}));
    std::string path = tempPath("empty.lxc");
    ASSERT_TRUE(writeModule(w, path));
    OpenModule m;
    ASSERT_TRUE(m.open(path));
    LXVerb v;
    uint32_t pos = 77;
    EXPECT_FALSE(m.conjugator.findVerb(U("aimer"), pos, v));
    EXPECT_EQ(pos, 0u);
    LXList<LXStem> stems;
    m.conjugator.findVerbForms(U("aime"), stems);
    m.conjugator.getVerbStems(U("aime"), stems, 2);
    m.conjugator.getModelStems(U("aime"), stems);
    EXPECT_TRUE(stems.empty());
    LXList<lxstring> list;
    m.conjugator.getMatchingVerbs(U("a"), list, true, 0);
    EXPECT_TRUE(list.empty());
}

TEST(ConjugationModule, ModelTables)
{
    LXConjugationWriter w = smallModule();
    w.addModel(makeModel(2, {{27, "x"}, {16, "\x05"}}, {{94, {{38, "a,b"}, {41, "c"}}}}));
    w.setModelCount(3);
    std::string path = tempPath("models.lxc");
    ASSERT_TRUE(writeModule(w, path));
    OpenModule m;
    ASSERT_TRUE(m.open(path));
    LXModelCache cache;
    m.conjugator.loadModel(2, cache);
    EXPECT_EQ(cache.model, 2u);
    ASSERT_EQ(cache.features.size(), 2u);
    EXPECT_EQ(cache.features[1].first, 16u);
    ASSERT_EQ(cache.tenses.size(), 1u);
    EXPECT_EQ(cache.tenses[0].tense, 94u);
    lxstring t;
    EXPECT_TRUE(findTenseForms(cache, 94, 38, t));
    EXPECT_EQ(S(t), "a,b");
    EXPECT_FALSE(findTenseForms(cache, 94, 37, t));
    EXPECT_FALSE(findTenseForms(cache, 80, 38, t));
    // Model 3 exists in the tables but lies beyond the model count of 3; 0 is no model.
    for (uint32_t model : {0u, 3u, 200u, 0xFFFFFFFFu}) {
        m.conjugator.loadModel(model, cache);
        EXPECT_EQ(cache.model, 0u) << model;
        EXPECT_TRUE(cache.tenses.empty());
    }
}

// Streams cut short or filled with bytes that are no records: every query answers
// without running off the stream or looping.
TEST(ConjugationModule, DamagedStreams)
{
    LXConjugationWriter w = smallModule();
    std::string streams[LXConjugationStreamCount];
    std::string error;
    ASSERT_TRUE(w.build(streams, error)) << error;
    struct Damage {
        const char *what;
        void (*apply)(std::string *s);
    } damages[] = {
        {"verb list cut inside a text", [](std::string *s) { s[5].resize(s[5].size() / 2 + 1); }},
        {"verb list without any 0 byte", [](std::string *s) { s[5] = std::string(300, 'a'); }},
        {"verb list of 0 bytes", [](std::string *s) { s[5] = std::string(50, '\0'); }},
        {"model table cut after the tense code", [](std::string *s) { s[4].resize(3); }},
        {"model offset beyond the tables", [](std::string *s) { s[1].replace(12, 4, "\x7f\xff\xff\xff", 4); }},
        {"model offsets stream too short", [](std::string *s) { s[1].resize(6); }},
        {"huge model count", [](std::string *s) { s[0].replace(12, 4, "\xff\xff\xff\xff", 4); }},
        {"names without terminator", [](std::string *s) { s[2] = "jetu"; s[3] = std::string(10, 'x'); }},
        {"forms and suffixes of 0xFE bytes", [](std::string *s) { s[7] = std::string(40, '\xfe'); s[8] = s[7]; }},
        {"text with lead bytes that promise more", [](std::string *s) { s[5] = std::string("\x03\xfc\xfc\xfc", 4); }},
    };
    for (const Damage &d : damages) {
        std::string copy[LXConjugationStreamCount];
        for (uint32_t i = 0; i < LXConjugationStreamCount; ++i)
            copy[i] = streams[i];
        d.apply(copy);
        std::string path = tempPath("damaged.lxc");
        ASSERT_TRUE(writeStreams(copy, path)) << d.what;
        OpenModule m;
        ASSERT_TRUE(m.open(path)) << d.what;
        LXVerb v;
        m.conjugator.findVerb(U("aimer"), v);
        m.conjugator.findVerb(U("zzz"), v);
        LXList<lxstring> list;
        m.conjugator.getMatchingVerbs(U("a"), list, true, 0);
        v = makeVerb("aimer", 3);
        for (uint32_t t = 73; t < 96; ++t)
            for (uint32_t p = 37; p < 44; ++p)
                m.conjugator.getConjugations(v, t, p, list);
        lxstring text;
        m.conjugator.getConjugationDisplayText(v, ' ', 80, 37, text);
        m.conjugator.getTenseName(90, text);
        m.conjugator.getPersonName(43, text);
        LXList<LXStem> stems;
        m.conjugator.getVerbStems(U("aime"), stems, 2);
        m.conjugator.getModelStems(U("aimerions"), stems);
        LXList<int> tenses;
        m.conjugator.getTenses(v, tenses, true);
        SUCCEED() << d.what;
    }
}

TEST(ConjugationModule, VerbRecordKeepsTheFirstOfARepeatedCode)
{
    LXConjugationWriter w = smallModule();
    std::string streams[LXConjugationStreamCount];
    std::string error;
    ASSERT_TRUE(w.build(streams, error));
    static const char record[] = "\x03" "aimer\x01" "\x1e" "first\x01" "\x1e" "second\x01" "\x12\x01";
    streams[5] = std::string(record, sizeof record);    // with the closing 0
    std::string path = tempPath("repeated.lxc");
    ASSERT_TRUE(writeStreams(streams, path));
    OpenModule m;
    ASSERT_TRUE(m.open(path));
    LXVerb v;
    ASSERT_TRUE(m.conjugator.findVerb(U("aimer"), v));
    ASSERT_EQ(v.entries.size(), 2u);
    EXPECT_EQ(v.entries[0].first, 18u);     // sorted by code
    lxstring t;
    EXPECT_TRUE(findEntry(v.entries, 30, t));
    EXPECT_EQ(S(t), "first");
    EXPECT_FALSE(v.addEntry(30, U("third")));
}

TEST(ConjugationModule, InflectedFormRecords)
{
    LXStem stem;
    stem.tense = 80;
    stem.person = 39;
    stem.word = U("aimée");     // 6 bytes
    stem.base = U("aimer");     // 5 bytes
    EXPECT_EQ(stem.verbFormSize(), 16u);
    unsigned char buffer[32] = {0};
    unsigned char *end = stem.writeVerbForm(buffer);
    EXPECT_EQ(end - buffer, 16);
    EXPECT_EQ(buffer[0], 80);
    EXPECT_EQ(buffer[1], 39);
    EXPECT_EQ(buffer[8], 1);
    EXPECT_EQ(buffer[15], 0);

    // Written into stream 8 and read back through the search.
    LXConjugationWriter w = smallModule();
    w.addVerbForm(stem);
    LXStem other = stem;
    other.base = U("aimanter");
    w.addVerbForm(other);
    std::string path = tempPath("forms.lxc");
    ASSERT_TRUE(writeModule(w, path));
    OpenModule m;
    ASSERT_TRUE(m.open(path));
    LXList<LXStem> found;
    m.conjugator.findVerbForms(U("AIMEE"), found);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].source, 1u);
    EXPECT_EQ(found[0].tense, 80u);
    LXStem at;
    EXPECT_EQ(m.conjugator.readVerbForm(1000000, at), m.conjugator.readVerbForm(999999, at));
    EXPECT_EQ(at.tense, 72u);
    EXPECT_TRUE(at.word.empty());
}

TEST(ConjugationRecords, StemEqualityAndOrder)
{
    LXStem a, b;
    a.word = b.word = U("mange");
    a.base = b.base = U("manger");
    a.source = 1;
    b.source = 2;
    EXPECT_TRUE(a == b);
    b.partOfSpeechCode = 7;
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(a < b);
    EXPECT_FALSE(b < a);
    b = a;
    b.grammarCode1 = 4;
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(a < b);

    LXList<LXStem> list;
    addUniqueStem(a, list);
    b = a;
    b.tense = 90;   // same word, base and part of speech: not added
    addUniqueStem(b, list);
    b.base = U("mangeur");
    addUniqueStem(b, list);
    EXPECT_EQ(list.size(), 2u);

    LXStem fresh;
    fresh.word = U("x");
    fresh.tense = 80;
    fresh.clear();
    EXPECT_TRUE(fresh.word.empty());
    EXPECT_EQ(fresh.tense, 72u);
    EXPECT_EQ(fresh.person, 37u);
    EXPECT_EQ(fresh.grammarCode1, 3u);
    EXPECT_EQ(fresh.grammarCode2, 13u);
}

TEST(ConjugationRecords, SortedModelLists)
{
    LXList<LXSuffixModel> suffixes;
    LXSuffixModel s;
    s.ending = U("re");
    s.model = 4;
    suffixes.insert(s);
    s.model = 2;
    suffixes.insert(s);
    suffixes.insert(s);
    s.ending = U("a");
    suffixes.insert(s);
    ASSERT_EQ(suffixes.size(), 3u);
    EXPECT_EQ(S(suffixes[0].ending), "a");
    EXPECT_EQ(suffixes[1].model, 2u);

    LXList<int> tenses;
    for (int t : {90, 80, 90, 73})
        tenses.insert(t);
    ASSERT_EQ(tenses.size(), 3u);
    EXPECT_EQ(tenses[0], 73);
    EXPECT_EQ(tenses[2], 90);
}

} // namespace

namespace {

TEST(ConjugationStems, ModelStems)
{
    LXConjugationWriter w(LXFrench);
    w.addModel(makeModel(1, {}, {}));
    auto model = [&](const char *key, const char *replacement, const char *pos) {
        LXStemmingModel m;
        m.key = U(key);
        m.replacement = U(replacement);
        m.partOfSpeechName = U(pos);
        m.partOfSpeechCode = 2;
        m.grammarCode1 = 4;
        m.grammarCode2 = 9;
        w.addStemmingModel(m);
    };
    model("xua-", "-al", "n.");      // chevaux -> cheval
    model("s-", "", "n.");           // chats -> chat
    model("xuey", "œil", "n.");      // yeux -> œil, a whole word
    model("a", "avoir", "v.");       // one letter: never tried
    std::string path = tempPath("stemming.lxc");
    ASSERT_TRUE(writeModule(w, path));
    OpenModule m;
    ASSERT_TRUE(m.open(path));
    struct Case {
        const char *word;
        const char *bases;
    } cases[] = {
        {"chevaux", "cheval"}, {"CHATS", "CHAT"}, {"yeux", "œil"}, {"a", ""}, {"s", ""}, {"zz", ""},
    };
    for (const Case &c : cases) {
        LXList<LXStem> stems;
        m.conjugator.getModelStems(U(c.word), stems);
        std::string bases;
        for (LXList<LXStem>::iterator s = stems.begin(); !s.isAtEnd(); ++s) {
            bases += (bases.empty() ? "" : "|") + S((*s).base);
            EXPECT_EQ((*s).source, 2u);
            EXPECT_EQ((*s).grammarCode1, 4u);
            EXPECT_EQ((*s).grammarCode2, 9u);
            EXPECT_EQ((*s).partOfSpeechCode, 2u);
            EXPECT_EQ(S((*s).word), c.word);
        }
        EXPECT_EQ(bases, c.bases) << c.word;
    }
}

} // namespace

#include "lxconjugationadapter.h"

namespace {

// What the data manager sees: the engine interface made by the factory.
TEST(ConjugationEngine, ThroughTheEngineInterface)
{
    LXConjugationWriter w = smallModule();
    std::string path = tempPath("engine.lxc");
    ASSERT_TRUE(writeModule(w, path));
    LXConjugationEngineFactory factory = LXCreateConjugationEngine;
    LXConjugationEngine *engine = factory();
    ASSERT_NE(engine, nullptr);
    LXCompressor *compressor = LXCompressor::create();
    engine->setCompressor(compressor);
    EXPECT_TRUE(engine->validateModule(U(path.c_str())));
    EXPECT_EQ(engine->getLanguage(), LXFrench);
    ASSERT_TRUE(engine->openModule(U(path.c_str())));
    LXVerb v;
    ASSERT_TRUE(engine->findVerb(U("chanter"), v));
    lxstring text;
    EXPECT_TRUE(engine->getConjugation(v, 80, 40, text));
    EXPECT_EQ(S(text), "chantons");
    engine->getConjugationDisplayText(v, '\t', 80, 37, text);
    EXPECT_EQ(S(text), "je\tchante");
    engine->getEnglishPersonDescription(37, text);
    EXPECT_EQ(S(text), "1st person singular");
    engine->closeModule();
    delete engine;
    delete compressor;
}

} // namespace
