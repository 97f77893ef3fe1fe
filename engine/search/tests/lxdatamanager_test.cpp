#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/lxutilities.h"
#include "format/lxd.h"
#include "format/lxstreamfile.h"
#include "lxdm_fixture.h"
#include "search/lxdatamanager.h"
#include "search/lxdmanager.h"

using namespace lxdm;

namespace {

std::string int32(uint32_t v)
{
    unsigned char b[4];
    LXUtilities::writeInt32ToBuffer(b, v);
    return std::string(reinterpret_cast<char *>(b), 4);
}

// A user-additions module (five streams, additions kind marker, priority 100) holding one
// English headword per key, each translated as key + "!".
bool writeAdditions(LXCompressor *c, const std::string &path, const std::vector<std::string> &keys, uint32_t product)
{
    std::string index, terms;
    for (const std::string &k : keys) {
        index += int32(LXUtilities::intToBase255(static_cast<uint32_t>(terms.size()))) + k + '\0';
        terms += std::string("\x04\x02\x01\x02\x04", 5) + k + "!" + std::string("\x01\x49\x01\x02\x03\x00", 6);
    }
    std::vector<std::string> streams = {
        int32(LXD::kMagic) + int32(150) + int32(0x60000000u | product) + std::string("\x00\x01\x00\x02", 4) +
            int32(uint32_t(keys.size())) + int32(0) + int32(uint32_t(index.size())) + int32(0) + int32(1) +
            int32(100) + int32(0) + int32(0),
        std::string("\x01\x00", 2), index, int32(1 * 67 + 2 * 23), terms};
    LXStreamFile f(c);
    if (!f.open(u8(path), LXStreamFile::ModeWrite, 5))
        return false;
    for (size_t s = 0; s < streams.size(); ++s) {
        uint32_t at = 0;
        for (char ch : streams[s])
            f.writeByte(static_cast<int32_t>(s), at, static_cast<uint8_t>(ch));
    }
    bool ok = f.write();
    f.close();
    return ok;
}

class LXDataManagerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dm); }

    std::string module(const std::string &name, uint32_t product, LXLanguage l1 = LXEnglish, LXLanguage l2 = LXFrench,
                       std::vector<LXTerm> terms = {}, uint32_t priority = 5)
    {
        ModuleContents s;
        s.terms = terms.empty() ? std::vector<LXTerm>{term(l1, "word", {"mot"})} : terms;
        s.product = product;
        s.language1 = l1;
        s.language2 = l2;
        s.priority = priority;
        return writeModule(dm->getCompressor(), dm->getTokenizer(), s, name);
    }

    std::unique_ptr<LXDataManager> dm{LXDataManager::create()};
};

TEST_F(LXDataManagerTest, RegistrationCodes)
{
    const std::string p10 = module("p10", 10), p0 = module("p0", 0), p2 = module("p2", 2);
    const std::string de10 = module("de10", 10, LXEnglish, LXGerman);
    const std::string bare = tempPath("bare.lxd");

    struct Case {
        const char *what;
        std::vector<std::pair<int, int>> pairs;
        std::vector<uint32_t> products;
        std::string path;
        std::string bytes;   // written to path first when not empty
        int code;
    } cases[] = {
        {"product 10 with no accepted product", {}, {}, p10, "", 0},
        {"product 0 with no accepted product", {}, {}, p0, "", 1},
        {"accepted product", {}, {0}, p0, "", 0},
        {"products 0 and 2 are not one for acceptance", {}, {0}, p2, "", 1},
        {"pair registered in the other order", {{2, 1}}, {}, p10, "", 0},
        {"pair not accepted", {{1, 4}}, {}, p10, "", 2},
        {"both checks fail: the pair is reported", {{1, 4}}, {}, p0, "", 2},
        {"other pair accepted", {{4, 1}, {1, 3}}, {}, de10, "", 0},
        {"not a module container", {}, {}, bare, int32(0x0CC0D1C0u) + std::string(12, '\0'), 3},
        {"older bare module 0x52", {}, {}, bare, int32(0xC0C0FFEEu) + int32(0) + int32(0x52000000u) + int32(0), 4},
        {"older bare module 0x50", {}, {}, bare, int32(0xC0C0FFEEu) + int32(7) + int32(0x5000000Au) + int32(0), 4},
        {"bare module 0x54", {}, {}, bare, int32(0xC0C0FFEEu) + int32(0) + int32(0x54000000u) + int32(0), 5},
        {"bare module 0x4F", {}, {}, bare, int32(0xC0C0FFEEu) + int32(0) + int32(0x4F000000u) + int32(0), 5},
        {"too short to tell", {}, {}, bare, int32(0xC0C0FFEEu) + int32(0), 5},
        {"text", {}, {}, bare, "just some text, not a dictionary", 5},
        {"no such file", {}, {}, tempPath("missing.lxd"), "", 5},
    };
    for (const Case &c : cases) {
        dm->clear();
        for (auto &p : c.pairs)
            dm->addAllowedLanguagePair(LXLanguage(p.first), LXLanguage(p.second));
        for (uint32_t p : c.products)
            dm->addAllowedProduct(p);
        if (!c.bytes.empty())
            writeFile(c.path, c.bytes);
        EXPECT_EQ(dm->addDictionaryModule(u8(c.path)), c.code) << c.what;
        // Only an added module stays registered.
        EXPECT_EQ(dm->getNModules(), c.code == 0 ? 1u : 0u) << c.what;
    }

    LXDataManager idle;   // never initialised
    EXPECT_EQ(idle.addDictionaryModule(u8(p10)), 7);
    EXPECT_EQ(idle.getNModules(), 0u);
}

TEST_F(LXDataManagerTest, UninitialisedManagerAnswersNeutrally)
{
    const std::string p10 = module("idle", 10);
    LXDataManager idle;
    EXPECT_FALSE(idle.isInitialised());
    LXDMIterator it;
    dm->addDictionaryModule(u8(p10));
    dm->begin(LXEnglish, LXFrench, 10, it);
    ASSERT_FALSE(it.isAtEnd());
    idle.begin(LXEnglish, LXFrench, 10, it);
    EXPECT_TRUE(it.getIterators().empty());   // cleared
    dm->begin(LXEnglish, LXFrench, 10, it);
    idle.find(u8("word"), LXEnglish, LXFrench, 10, it);
    EXPECT_TRUE(it.isAtEnd());
    EXPECT_FALSE(idle.initRegex(u8("w*"), LXEnglish, LXFrench, 10, LXDMRegexOptions(), it));
    LXLanguage a = LXLanguageNone, b = LXLanguageNone;
    uint32_t v = 0;
    EXPECT_FALSE(idle.getDictionaryModuleInfo(u8(p10), a, b, v));
    EXPECT_FALSE(idle.isLanguageAvailable(LXEnglish));
    LXList<LXModuleType> list;
    list.push_back(LXModuleType());
    idle.getDictionaryList(list);
    EXPECT_TRUE(list.empty());
    LXList<lxstring> words;
    words.push_back(u8("x"));
    idle.getApproximateMatches(u8("word"), LXEnglish, LXFrench, 10, 2, words);
    EXPECT_TRUE(words.empty());
    EXPECT_EQ(idle.getLXDManager(), nullptr);
    EXPECT_FALSE(idle.addStemmingModule(u8(p10)));
}

TEST_F(LXDataManagerTest, ModuleInfoAndLists)
{
    const std::string p0 = module("list-p0", 0), p2 = module("list-p2", 2), p2b = module("list-p2b", 2),
                      de = module("list-de", 0, LXEnglish, LXGerman), add = tempPath("list-additions.lxd");
    ASSERT_TRUE(writeAdditions(dm->getCompressor(), add, {"word"}, 0));
    dm->addAllowedProduct(0);
    dm->addAllowedProduct(2);
    dm->addAllowedProduct(2);   // not twice
    for (const std::string &p : {p0, p2, p2b, de, add})
        ASSERT_EQ(dm->addDictionaryModule(u8(p)), 0) << p;

    LXLanguage a = LXLanguageNone, b = LXLanguageNone;
    uint32_t v = 0;
    EXPECT_TRUE(dm->getDictionaryModuleInfo(u8(de), a, b, v));
    EXPECT_EQ(a, LXEnglish);
    EXPECT_EQ(b, LXGerman);
    EXPECT_EQ(v, 0x60000000u);
    // Not a module: true, and the outputs are left as they were.
    writeFile(tempPath("list-text"), "text");
    a = b = LXItalian;
    v = 42;
    EXPECT_TRUE(dm->getDictionaryModuleInfo(u8(tempPath("list-text")), a, b, v));
    EXPECT_EQ(a, LXItalian);
    EXPECT_EQ(v, 42u);

    LXList<LXModuleType> list;
    dm->getDictionaryList(list);   // products 0 and 2 of one pair: one entry of product 2
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].language2, LXFrench);
    EXPECT_EQ(list[0].product, 2u);
    EXPECT_EQ(list[0].versionWord, 0u);
    EXPECT_EQ(list[1].language2, LXGerman);

    dm->getProductList(list);      // one entry per (pair, product), from its first module
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].product, 0u);
    EXPECT_EQ(list[1].product, 2u);
    EXPECT_EQ(text(list[1].path), p2);
    EXPECT_EQ(list[1].versionWord, 0x60000000u);
    EXPECT_EQ(list[2].language2, LXGerman);

    dm->getModuleList(list);       // every published module; the additions module is not
    ASSERT_EQ(list.size(), 4u);
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_NE(text(list[i].path), add);

    EXPECT_TRUE(dm->isLanguageAvailable(LXGerman));
    EXPECT_FALSE(dm->isLanguageAvailable(LXSpanish));
    EXPECT_TRUE(dm->isLanguagePairAvailable(LXFrench, LXEnglish));
    EXPECT_FALSE(dm->isLanguagePairAvailable(LXFrench, LXGerman));
    EXPECT_EQ(dm->getAdditionsLXD(LXFrench, LXEnglish, 2, u8(tempPath(""))), (*dm->getLXDManager())[4]);
    LXList<LXPair<lxstring, uint32_t>> parts;
    dm->getAdditionsPartsOfSpeech(parts, LXEnglish, LXFrench, 0);
    EXPECT_TRUE(parts.empty());   // the modules' terms name no part of speech: none to offer

    // The additions module merges into the look-up; its definition is the user's.
    LXDMIterator it;
    dm->find(u8("word"), LXEnglish, LXFrench, 2, it);
    // The published modules' equal definitions merge into one; the user's comes last.
    EXPECT_EQ(definitionTexts(*it), (std::vector<std::string>{"mot", "word!"}));
    EXPECT_FALSE(it.isDefinitionModifiable(1));
    EXPECT_TRUE(it.isDefinitionModifiable(2));
    // Deleting it rewrites the additions module; the look-up then shows the published ones.
    EXPECT_FALSE(it.deleteDefinition(1));
    EXPECT_TRUE(it.deleteDefinition(2));
    dm->find(u8("word"), LXEnglish, LXFrench, 2, it);
    EXPECT_EQ(definitionTexts(*it), (std::vector<std::string>{"mot"}));

    // Closing and attaching leave every module registered with its file closed.
    dm->closeDictionary(LXFrench, LXEnglish, 0);
    for (uint32_t i = 0; i < dm->getNModules(); ++i)
        EXPECT_FALSE((*dm->getLXDManager())[i]->isOpen()) << i;
    dm->find(u8("word"), LXEnglish, LXGerman, 0, it);
    EXPECT_TRUE((*dm->getLXDManager())[3]->isOpen());
    dm->attachAllModules();
    EXPECT_EQ(dm->getNModules(), 5u);
    EXPECT_FALSE((*dm->getLXDManager())[3]->isOpen());
    dm->find(u8("word"), LXEnglish, LXGerman, 0, it);
    dm->closeAllDictionaries();
    EXPECT_FALSE((*dm->getLXDManager())[3]->isOpen());
    dm->find(u8("word"), LXEnglish, LXGerman, 0, it);   // reopened on demand
    EXPECT_EQ(definitionTexts(*it), (std::vector<std::string>{"mot"}));

    dm->clear();
    EXPECT_EQ(dm->getNModules(), 0u);
    dm->getDictionaryList(list);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(dm->addDictionaryModule(u8(p0)), 1);   // the accepted products went too
}

TEST_F(LXDataManagerTest, ApproximateMatchesOfSeveralModulesAreListedOnce)
{
    dm->addAllowedProduct(10);
    dm->addAllowedProduct(3);
    std::vector<LXTerm> a = {term(LXEnglish, "house", {"maison"}), term(LXEnglish, "horse", {"cheval"})};
    std::vector<LXTerm> b = {term(LXEnglish, "house", {"logis"}), term(LXEnglish, "hose", {"tuyau"})};
    std::vector<LXTerm> c = {term(LXEnglish, "hour", {"other product"})};
    ASSERT_EQ(dm->addDictionaryModule(u8(module("near-a", 10, LXEnglish, LXFrench, a))), 0);
    ASSERT_EQ(dm->addDictionaryModule(u8(module("near-b", 10, LXEnglish, LXFrench, b))), 0);
    ASSERT_EQ(dm->addDictionaryModule(u8(module("near-c", 3, LXEnglish, LXFrench, c))), 0);
    LXList<lxstring> list;
    list.push_back(u8("stale"));
    dm->getApproximateMatches(u8("hous"), LXEnglish, LXFrench, 10, 2, list);
    std::vector<std::string> got;
    for (uint32_t i = 0; i < list.size(); ++i)
        got.push_back(text(list[i]));
    EXPECT_EQ(got, (std::vector<std::string>{"house", "hose"}));
}

TEST_F(LXDataManagerTest, ConjugationCallsWithoutAnEngine)
{
    // Created without a conjugation factory: every call has the answer of a missing engine.
    EXPECT_EQ(dm->getConjugationEngine(), nullptr);
    EXPECT_FALSE(dm->addStemmingModule(u8(tempPath("none.lxc"))));
    EXPECT_FALSE(dm->isConjugationLanguageAvailable(LXFrench));
    LXLanguage l = LXItalian;
    uint32_t v = 9;
    EXPECT_FALSE(dm->getStemmingModuleInfo(u8(tempPath("none.lxc")), l, v));
    EXPECT_EQ(l, LXItalian);
    lxstring s = u8("kept");
    dm->getTenseName(LXFrench, 73, s);
    EXPECT_TRUE(s.empty());   // emptied first
    LXList<lxstring> verbs;
    verbs.push_back(u8("kept"));
    dm->getMatchingVerbs(LXFrench, u8("a"), verbs, true, 0);
    EXPECT_EQ(verbs.size(), 1u);   // untouched
    LXList<LXModuleType> list;
    dm->getConjugationModuleList(list);
    EXPECT_TRUE(list.empty());
    LXList<LXLanguage> languages;
    dm->getConjugationLanguageList(languages);
    EXPECT_TRUE(languages.empty());
    dm->setPlatform(3);
    EXPECT_EQ(dm->getPlatform(), 3u);
    EXPECT_TRUE(dm->init());
    EXPECT_EQ(dm->getPlatform(), 0u);
}

// A factory that fails makes init fail and leaves nothing behind.
LXConjugationEngine *failingFactory()
{
    return nullptr;
}

TEST(LXDataManagerCreate, FailingPartsMakeNoManager)
{
    EXPECT_EQ(LXDataManager::create(failingFactory), nullptr);
    LXDataManager dm;
    EXPECT_FALSE(dm.init(failingFactory));
    EXPECT_FALSE(dm.isInitialised());
    EXPECT_EQ(dm.getCompressor(), nullptr);
    EXPECT_TRUE(dm.init());
    EXPECT_TRUE(dm.isInitialised());
}

} // namespace
