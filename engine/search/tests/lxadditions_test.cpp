// User additions end to end through the data manager: entries added in both directions,
// found at once and after a restart, deleted again; the files' names and contents; files
// of the additions name that belong to something else; writes that fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "format/lxd.h"
#include "format/lxstreamfile.h"
#include "lxadditions_fixture.h"
#include "lxdm_fixture.h"
#include "search/lxdatamanager.h"
#include "search/lxdmanager.h"

using namespace lxdm;
using namespace lxadditions;

namespace {

TEST_F(AdditionsTest, AWordPairIsFoundBothWaysAfterARestartAndDeletedAgain)
{
    ASSERT_TRUE(dm->addTerm(u8("teapot"), u8("n"), 2, u8("théière"), u8("n"), 2, LXEnglish, LXFrench, 10, dir()));
    EXPECT_EQ(dm->getLastAdditionsResult(), LXDataManager::AdditionsAdded);
    const std::string path = folder + "english-french-additions.lxd";
    ASSERT_TRUE(std::filesystem::exists(path));

    // At once, in both directions: the translation is the user's (origin 100, feature 73).
    EXPECT_EQ(lookUp(*dm, "teapot", LXEnglish, LXFrench), "teapot [n]: théière/100");
    EXPECT_EQ(lookUp(*dm, "théière", LXFrench, LXEnglish), "théière [n]: teapot/100");
    LXDMIterator it;
    dm->find(u8("teapot"), LXEnglish, LXFrench, 10, it);
    while (!it.isAtEnd() && (*it).getDefinitions().empty())
        ++it;   // past the headword's bare entry
    ASSERT_FALSE(it.isAtEnd());
    lxstring mark;
    EXPECT_TRUE((*(*it).getDefinitions().begin()).getFeature(73, mark));
    EXPECT_TRUE(mark.empty());

    // One headword record per direction, in a five-stream additions module.
    LXD module(dm->getCompressor(), dm->getTokenizer());
    ASSERT_TRUE(module.validate(u8(path)));
    EXPECT_TRUE(module.isAdditions());
    EXPECT_FALSE(module.isPublished());
    EXPECT_EQ(module.getPriority(), 100u);
    EXPECT_EQ(module.getHeadwordCount1(), 1u);
    EXPECT_EQ(module.getHeadwordCount2(), 1u);
    EXPECT_EQ(module.getModuleVersion(), static_cast<uint32_t>(std::filesystem::file_size(path)));

    // A new data manager that registers the folder's modules, as the module scan does.
    std::unique_ptr<LXDataManager> again = restart();
    EXPECT_EQ(lookUp(*again, "teapot", LXEnglish, LXFrench), "teapot [n]: théière/100");
    ASSERT_TRUE(deleteUserDefinition(*again, "teapot", LXEnglish, LXFrench));
    EXPECT_EQ(lookUp(*again, "teapot", LXEnglish, LXFrench), "");
    EXPECT_EQ(lookUp(*again, "théière", LXFrench, LXEnglish), "");
    // The published entries around are untouched.
    EXPECT_EQ(lookUp(*again, "house", LXEnglish, LXFrench), "house [n]: maison/5");

    std::unique_ptr<LXDataManager> third = restart();
    EXPECT_EQ(lookUp(*third, "teapot", LXEnglish, LXFrench), "");
    EXPECT_EQ(lookUp(*third, "théière", LXFrench, LXEnglish), "");
}

TEST_F(AdditionsTest, WhichSideBecomesAHeadword)
{
    struct Case {
        const char *headword, *translation;
        bool forward, reverse;
    } cases[] = {
        {"cup", "tasse", true, true},
        {"kettle", "bouilloire électrique", true, false},   // a single word keeps its expression
        {"tea bag", "sachet", false, true},
        {"tea cosy", "couvre théière", true, true},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(dm->addTerm(u8(c.headword), u8("n"), 2, u8(c.translation), u8("n"), 2, LXEnglish, LXFrench, 10,
                                dir()))
            << c.headword;
        EXPECT_EQ(lookUp(*dm, c.headword, LXEnglish, LXFrench) == std::string(c.headword) + " [n]: " + c.translation + "/100",
                  c.forward)
            << c.headword << ": " << lookUp(*dm, c.headword, LXEnglish, LXFrench);
        EXPECT_EQ(lookUp(*dm, c.translation, LXFrench, LXEnglish) == std::string(c.translation) + " [n]: " + c.headword + "/100",
                  c.reverse)
            << c.translation << ": " << lookUp(*dm, c.translation, LXFrench, LXEnglish);
    }
}

TEST_F(AdditionsTest, FileNamesOfThePairs)
{
    struct Case {
        LXLanguage a, b;
        uint32_t product;
        const char *name;
    } cases[] = {
        {LXEnglish, LXSpanish, 10, "english-spanish-additions.lxd"},
        {LXSpanish, LXEnglish, 10, "english-spanish-additions.lxd"},
        {LXFrench, LXFrench, 10, "french-additions.lxd"},
        {LXEnglish, LXSynonyms, 10, "english-synonyms-additions.lxd"},
        {LXGerman, LXItalian, 8, "quillet-additions.lxd"},
        {LXSynonyms, LXSynonyms, 10, ""},
        {LXLanguageNone, LXFrench, 10, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(text(LXDataManager::additionsFileName(c.a, c.b, c.product)), c.name) << c.a << " " << c.b;

    // Files are made in the folder as given: only the file name is lower-cased.
    const std::string mixed = folder + "Mixed Case/";
    std::filesystem::create_directories(mixed);
    LXD *module = dm->getAdditionsLXD(LXSpanish, LXEnglish, 10, u8(mixed));
    ASSERT_TRUE(module);
    EXPECT_EQ(text(module->getPath()), mixed + "english-spanish-additions.lxd");
    EXPECT_EQ(dm->getAdditionsLXD(LXEnglish, LXSpanish, 10, u8(mixed)), module);   // registered: the same one
    EXPECT_EQ(dm->getAdditionsLXD(LXEnglish, LXSpanish, 0, u8(mixed)), nullptr);   // another product's file
    EXPECT_EQ(dm->getLastAdditionsResult(), LXDataManager::AdditionsForeignFile);
    EXPECT_EQ(dm->getAdditionsLXD(LXSynonyms, LXSynonyms, 10, u8(mixed)), nullptr);
    EXPECT_EQ(dm->getLastAdditionsResult(), LXDataManager::AdditionsNoFileName);
}

TEST_F(AdditionsTest, OneLanguagePairsKeepTheirEntriesAcrossRewrites)
{
    // A thesaurus (second language 255) and a monolingual dictionary have one direction:
    // entries of theirs are written, and still there after the next addition.
    ASSERT_TRUE(dm->addTerm(u8("big"), u8("adj"), 3, u8("large"), u8(""), 1, LXEnglish, LXSynonyms, 10, dir()));
    ASSERT_TRUE(dm->addTerm(u8("small"), u8("adj"), 3, u8("little"), u8(""), 1, LXEnglish, LXSynonyms, 10, dir()));
    EXPECT_EQ(lookUp(*dm, "big", LXEnglish, LXSynonyms), "big [adj]: large/100");
    EXPECT_EQ(lookUp(*dm, "small", LXEnglish, LXSynonyms), "small [adj]: little/100");
    ASSERT_TRUE(dm->addTerm(u8("maison"), u8("n"), 2, u8("demeure"), u8("n"), 2, LXFrench, LXFrench, 10, dir()));
    ASSERT_TRUE(dm->addTerm(u8("logis"), u8("n"), 2, u8("habitation"), u8("n"), 2, LXFrench, LXFrench, 10, dir()));
    EXPECT_EQ(lookUp(*dm, "maison", LXFrench, LXFrench), "maison [n]: demeure/100");
    std::unique_ptr<LXDataManager> again = restart();
    EXPECT_EQ(lookUp(*again, "big", LXEnglish, LXSynonyms), "big [adj]: large/100");
    EXPECT_EQ(lookUp(*again, "logis", LXFrench, LXFrench), "logis [n]: habitation/100");
    EXPECT_TRUE(std::filesystem::exists(folder + "english-synonyms-additions.lxd"));
    EXPECT_TRUE(std::filesystem::exists(folder + "french-additions.lxd"));
}

TEST_F(AdditionsTest, RepeatedAndFurtherTranslationsMerge)
{
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(dm->addTerm(u8("mug"), u8("n"), 2, u8("chope"), u8("n"), 2, LXEnglish, LXFrench, 10, dir()));
    ASSERT_TRUE(dm->addTerm(u8("mug"), u8("n"), 2, u8("grande tasse"), u8("n"), 2, LXEnglish, LXFrench, 10, dir()));
    // A headword the dictionary has already (house) gets no bare entry; the user's part of
    // speech, new to the module, reads back with its code.
    ASSERT_TRUE(dm->addTerm(u8("house"), u8("vt"), 6, u8("loger"), u8("vt"), 6, LXEnglish, LXFrench, 10, dir()));
    EXPECT_EQ(lookUp(*dm, "mug", LXEnglish, LXFrench), "mug [n]: chope/100; grande tasse/100");
    EXPECT_EQ(lookUp(*dm, "house", LXEnglish, LXFrench), "house [n]: maison/5 | house [vt]: loger/100");
    LXDMIterator it;
    dm->find(u8("loger"), LXFrench, LXEnglish, 10, it);
    while (!it.isAtEnd() && (*it).getDefinitions().empty())
        ++it;   // past the headword's bare entry
    ASSERT_FALSE(it.isAtEnd());
    EXPECT_EQ((*it).getPartOfSpeechCode(), 6u);
}

TEST_F(AdditionsTest, ControlCodesBecomeBlanksAndBlankTextIsEmpty)
{
    ASSERT_TRUE(dm->addTerm(u8("\x01saucer\x03"), u8("n"), 2, u8("sou\x02tasse"), u8("n"), 2, LXEnglish, LXFrench, 10,
                            dir()));
    EXPECT_EQ(lookUp(*dm, "saucer", LXEnglish, LXFrench), "saucer [n]: sou tasse/100");
    std::unique_ptr<LXDataManager> again = restart();
    EXPECT_EQ(lookUp(*again, "saucer", LXEnglish, LXFrench), "saucer [n]: sou tasse/100");
    const char *empty[] = {"", "   ", "\x01\x02 \x03"};
    for (const char *e : empty) {
        EXPECT_FALSE(dm->addTerm(u8(e), u8("n"), 2, u8("x"), u8("n"), 2, LXEnglish, LXFrench, 10, dir()));
        EXPECT_EQ(dm->getLastAdditionsResult(), LXDataManager::AdditionsEmptyText);
        EXPECT_FALSE(dm->addTerm(u8("x"), u8("n"), 2, u8(e), u8("n"), 2, LXEnglish, LXFrench, 10, dir()));
    }
}

TEST_F(AdditionsTest, MorePartsOfSpeechThanARecordByteNamesAreRefused)
{
    // The module starts with the empty name; 251 more fill the table.
    auto batch = [&](int from, int count) {
        LXList<LXTerm> terms;
        for (int i = from; i < from + count; ++i) {
            LXTerm t = userTerm("w" + std::to_string(i), "pos" + std::to_string(i), "x");
            terms.insert(t);
        }
        return dm->addTerms(terms, 10, dir());
    };
    ASSERT_TRUE(batch(0, 200));
    const std::string path = folder + "english-french-additions.lxd";
    const std::string before = fileBytes(path);
    EXPECT_FALSE(batch(200, 52));
    EXPECT_EQ(dm->getLastAdditionsResult(), LXDataManager::AdditionsTooManyPartsOfSpeech);
    EXPECT_EQ(fileBytes(path), before);
    ASSERT_TRUE(batch(200, 51));
    EXPECT_EQ(lookUp(*dm, "w250", LXEnglish, LXFrench), "w250 [pos250]: x/100");
    EXPECT_FALSE(batch(251, 1));
}

TEST_F(AdditionsTest, AFileOfTheNameThatIsNotTheModuleIsLeftAlone)
{
    const std::string path = folder + "english-french-additions.lxd";
    struct Case {
        const char *what;
        std::string bytes;
    } cases[] = {
        {"text", "my notes, not a dictionary\n"},
        {"an empty file", ""},
        {"a published module", fileBytes(publishedPath)},
    };
    for (const Case &c : cases) {
        writeFile(path, c.bytes);
        std::unique_ptr<LXDataManager> fresh(LXDataManager::create());
        EXPECT_FALSE(fresh->addTerm(u8("cup"), u8("n"), 2, u8("tasse"), u8("n"), 2, LXEnglish, LXFrench, 10, dir()))
            << c.what;
        EXPECT_EQ(fresh->getLastAdditionsResult(), LXDataManager::AdditionsForeignFile) << c.what;
        EXPECT_EQ(fileBytes(path), c.bytes) << c.what;
    }
    // An additions module of the pair that no manager registered is taken, its entries kept.
    std::filesystem::remove(path);
    ASSERT_TRUE(dm->addTerm(u8("cup"), u8("n"), 2, u8("tasse"), u8("n"), 2, LXEnglish, LXFrench, 10, dir()));
    dm->closeAllDictionaries();
    std::unique_ptr<LXDataManager> fresh(LXDataManager::create());
    ASSERT_TRUE(fresh->addTerm(u8("plate"), u8("n"), 2, u8("assiette"), u8("n"), 2, LXEnglish, LXFrench, 10, dir()));
    EXPECT_EQ(lookUp(*fresh, "cup", LXEnglish, LXFrench), "cup [n]: tasse/100");
    EXPECT_EQ(lookUp(*fresh, "plate", LXEnglish, LXFrench), "plate [n]: assiette/100");
}

TEST_F(AdditionsTest, DeletingWhatIsNotTheUsersChangesNothing)
{
    ASSERT_TRUE(dm->addTerm(u8("cup"), u8("n"), 2, u8("tasse"), u8("n"), 2, LXEnglish, LXFrench, 10, dir()));
    const std::string before = fileBytes(folder + "english-french-additions.lxd");
    LXDMIterator it;
    dm->find(u8("house"), LXEnglish, LXFrench, 10, it);
    EXPECT_FALSE(it.isDefinitionModifiable(1));
    EXPECT_FALSE(it.deleteDefinition(1));
    // A definition that is no longer stored: nothing is deleted, nothing written.
    LXD *module = dm->getAdditionsLXD(LXEnglish, LXFrench, 10, dir());
    ASSERT_TRUE(module);
    LXTerm gone = userTerm("cup", "n", "bol");
    EXPECT_FALSE(module->deleteDefinition(gone));
    EXPECT_EQ(fileBytes(folder + "english-french-additions.lxd"), before);
}

// One change to the user's entries, applied through a data manager.
struct Change {
    enum Kind { Add, Delete } kind;
    const char *headword, *pos;
    uint32_t code;
    const char *translation;
    LXLanguage language, other;
};

bool apply(LXDataManager &dm, const Change &c, const lxstring &folder)
{
    if (c.kind == Change::Delete)
        return deleteUserDefinition(dm, c.headword, c.language, c.other);
    return dm.addTerm(u8(c.headword), u8(c.pos), c.code, u8(c.translation), u8("n"), 2, c.language, c.other, 10,
                      folder);
}

TEST_F(AdditionsTest, ChangesKeptInMemoryWriteWhatAFreshReadingWrites)
{
    // One manager keeps the module's terms from change to change; beside it, every change is
    // made by a new manager that reads the file afresh. The files stay the same byte for byte.
    const Change changes[] = {
        {Change::Add, "cup", "n", 2, "tasse", LXEnglish, LXFrench},
        {Change::Add, "été", "n", 2, "summer", LXFrench, LXEnglish},
        {Change::Add, "Paris", "n", 2, "Paris", LXEnglish, LXFrench},       // key and headword differ
        {Change::Add, "tea bag", "n", 2, "sachet", LXEnglish, LXFrench},    // only the reverse is a headword
        {Change::Add, "run", "v", 3, "courir", LXEnglish, LXFrench},        // a part of speech new to the file
        {Change::Add, "cup", "n", 2, "tasse", LXEnglish, LXFrench},         // the same again: merged
        {Change::Add, "cup", "n", 2, "bol", LXEnglish, LXFrench},           // a further translation
        {Change::Add, "cup", "n", 9, "coupe", LXEnglish, LXFrench},         // another code, the same name
        {Change::Add, "cup", "v", 3, "boire", LXEnglish, LXFrench},
        // The file's table gives "n" the code 2: the term reads back before "cup" [v].
        {Change::Add, "Cup", "n", 9, "Coupe", LXEnglish, LXFrench},
        {Change::Add, "house", "vt", 6, "loger", LXEnglish, LXFrench},      // beside a published entry
        {Change::Add, "aa aa", "n", 2, "double", LXEnglish, LXFrench},
        {Change::Delete, "cup", "", 0, "", LXEnglish, LXFrench},
        {Change::Delete, "été", "", 0, "", LXFrench, LXEnglish},
        {Change::Add, "été", "n", 2, "summertime", LXFrench, LXEnglish},
        {Change::Delete, "run", "", 0, "", LXEnglish, LXFrench},
        {Change::Delete, "run", "", 0, "", LXEnglish, LXFrench},             // nothing left to delete
        {Change::Add, "zebra", "n", 2, "zèbre", LXEnglish, LXFrench},
    };
    const std::string fresh = folder + "fresh/";
    std::filesystem::create_directories(fresh);
    std::filesystem::copy_file(publishedPath, fresh + "english-french.lxd");
    const lxstring freshDir = u8(fresh.substr(0, fresh.size() - 1));
    const std::string kept = folder + "english-french-additions.lxd", read = fresh + "english-french-additions.lxd";
    for (const Change &c : changes) {
        const bool answer = apply(*dm, c, dir());
        std::unique_ptr<LXDataManager> reader = managerOf(fresh);
        EXPECT_EQ(apply(*reader, c, freshDir), answer) << c.headword;
        reader.reset();
        ASSERT_TRUE(fileBytes(kept) == fileBytes(read)) << "the files part after " << c.headword;
    }
    EXPECT_EQ(lookUp(*dm, "cup", LXEnglish, LXFrench), "cup [n]: bol/100; coupe/100 | cup [v]: boire/100");
    EXPECT_EQ(lookUp(*dm, "summertime", LXEnglish, LXFrench), "summertime [n]: été/100");
}

TEST_F(AdditionsTest, AnotherProgramsEntriesSurviveTheNextChange)
{
    // Two copies of the program on one file: what one of them wrote is in the file the other
    // writes next, although the other kept the module's terms from its own last change.
    ASSERT_TRUE(dm->addTerm(u8("cup"), u8("n"), 2, u8("tasse"), u8("n"), 2, LXEnglish, LXFrench, 10, dir()));
    std::unique_ptr<LXDataManager> other = restart();
    ASSERT_TRUE(other->addTerm(u8("saucer"), u8("n"), 2, u8("soucoupe"), u8("n"), 2, LXEnglish, LXFrench, 10, dir()));
    other->closeAllDictionaries();
    ASSERT_TRUE(dm->addTerm(u8("plate"), u8("n"), 2, u8("assiette"), u8("n"), 2, LXEnglish, LXFrench, 10, dir()));
    std::unique_ptr<LXDataManager> third = restart();
    EXPECT_EQ(lookUp(*third, "cup", LXEnglish, LXFrench), "cup [n]: tasse/100");
    EXPECT_EQ(lookUp(*third, "saucer", LXEnglish, LXFrench), "saucer [n]: soucoupe/100");
    EXPECT_EQ(lookUp(*third, "assiette", LXFrench, LXEnglish), "assiette [n]: plate/100");
}

} // namespace
