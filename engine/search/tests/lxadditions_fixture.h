// A folder of its own per test with a small published English-French module, a data
// manager on it, and what the additions tests read back.
#ifndef WORDMERE_ENGINE_TESTS_LXADDITIONS_FIXTURE_H
#define WORDMERE_ENGINE_TESTS_LXADDITIONS_FIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "lxdm_fixture.h"
#include "search/lxdatamanager.h"
#include "testing/lxtest_text.h"
#include "testing/lxtest_files.h"

namespace lxadditions {

inline std::string fileBytes(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// A new data manager with every module of the folder registered, as the module scan does.
inline std::unique_ptr<LXDataManager> managerOf(const std::string &folder)
{
    std::unique_ptr<LXDataManager> dm(LXDataManager::create());
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".lxd") {
            EXPECT_EQ(dm->addDictionaryModule(u8(entry.path().u8string())), 0) << entry.path();
        }
    }
    return dm;
}

// The entries filed under the word whose headword is the word: "headword [pos]: text/origin;
// text/origin", entries separated by " | "; headword entries without definitions left out.
inline std::string lookUp(LXDataManager &dm, const std::string &word, LXLanguage language, LXLanguage other)
{
    LXDMIterator it;
    dm.find(u8(word), language, other, 10, it);
    std::string out;
    for (; !it.isAtEnd(); ++it) {
        const LXTerm &t = *it;
        if (text(t.getHeadword()) != word) {
            if (!out.empty() || t.getSearchKey().compare(u8(word), true, true, language) != 0)
                break;
            continue;
        }
        if (t.getDefinitions().empty())
            continue;
        out += (out.empty() ? "" : " | ") + lxdm::label(t) + ":";
        const char *sep = " ";
        for (LXList<LXDefinition>::const_iterator d = t.getDefinitions().begin(); !d.isAtEnd(); ++d) {
            out += sep + text(d->getText()) + "/" + std::to_string(d->getOriginNumber());
            sep = "; ";
        }
    }
    return out;
}

// Deletes the first definition the user added to the word's entries.
inline bool deleteUserDefinition(LXDataManager &dm, const std::string &word, LXLanguage language, LXLanguage other)
{
    LXDMIterator it;
    dm.find(u8(word), language, other, 10, it);
    for (; !it.isAtEnd() && text((*it).getHeadword()) == word; ++it) {
        int32_t n = 1;
        for (LXList<LXDefinition>::const_iterator d = (*it).getDefinitions().begin(); !d.isAtEnd(); ++d, ++n) {
            if (it.isDefinitionModifiable(n))
                return it.deleteDefinition(n);
        }
    }
    return false;
}

// An English term of the user's with one French translation.
inline LXTerm userTerm(const std::string &headword, const std::string &pos, const std::string &translation)
{
    LXTerm t = lxdm::term(LXEnglish, headword, {translation}, pos, 2);
    t.setTranslationLanguage(LXFrench);
    t.setSearchKey(u8(headword));
    LXDefinition &d = *t.getDefinitions().begin();
    d.setOriginNumber(100);
    d.getFeatures().push_back(LXFeature(73, u8("")));
    return t;
}

class AdditionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = testRunFolder() + "additions-" + info->name() + "/";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        dm.reset(LXDataManager::create());
        ASSERT_TRUE(dm);
        lxdm::ModuleContents c;
        c.terms = {lxdm::term(LXEnglish, "house", {"maison"}, "n", 2), lxdm::term(LXEnglish, "cat", {"chat"}, "n", 2),
                   lxdm::term(LXFrench, "maison", {"house"}, "n", 2)};
        for (LXTerm &t : c.terms)
            t.setTranslationLanguage(t.getLanguage() == LXEnglish ? LXFrench : LXEnglish);
        const std::string written = lxdm::writeModule(dm->getCompressor(), dm->getTokenizer(), c, "additions-base");
        publishedPath = folder + "english-french.lxd";
        std::filesystem::copy_file(written, publishedPath, std::filesystem::copy_options::overwrite_existing);
        ASSERT_EQ(dm->addDictionaryModule(u8(publishedPath)), 0);
    }
    void TearDown() override
    {
        dm.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    lxstring dir() const { return u8(folder.substr(0, folder.size() - 1)); }
    // A second manager on the folder. The first one's files are closed: Windows does not
    // let a file that another reader holds open be replaced (such a write keeps the old
    // file and answers false).
    std::unique_ptr<LXDataManager> restart() const
    {
        dm->closeAllDictionaries();
        return managerOf(folder);
    }

    std::string folder, publishedPath;
    std::unique_ptr<LXDataManager> dm;
};

} // namespace lxadditions

#endif
