// A conjugation engine that answers stems from a script, and small French-English modules
// for the stem finder and the result list's stem search to find headwords in.
#ifndef WORDMERE_ENGINE_SEARCH_TESTS_LXSTEM_FIXTURE_H
#define WORDMERE_ENGINE_SEARCH_TESTS_LXSTEM_FIXTURE_H

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/lxstem.h"
#include "search/lxdatamanager.h"
#include "search/lxstemfinder.h"
#include "search/tests/lxdm_fixture.h"

namespace lxstems {

using namespace lxdm;

// What the scripted engine answers: word -> (base, part-of-speech code) candidates.
struct Script {
    LXLanguage language = LXFrench;
    std::map<std::string, std::vector<std::pair<std::string, uint32_t>>> models, verbs;
    std::vector<std::string> asked;   // the words the finder asked for, in order
};
inline Script script;

class ScriptedEngine : public LXConjugationEngine {
public:
    void setCompressor(LXCompressor *) override {}
    bool validateModule(const lxstring &) override { return true; }
    bool openModule(const lxstring &) override { return true; }
    void closeModule() override {}
    LXLanguage getLanguage() const override { return script.language; }
    uint32_t getHeaderWord() const override { return 1; }
    uint32_t getFormatWord() const override { return 0x60000000u; }
    bool findVerb(const lxstring &, LXVerb &) override { return false; }
    void getMatchingVerbs(const lxstring &, LXList<lxstring> &, bool, uint32_t) override {}
    bool getConjugation(const LXVerb &, uint32_t, uint32_t, lxstring &) override { return false; }
    bool getConjugations(const LXVerb &, uint32_t, uint32_t, LXList<lxstring> &) override { return false; }
    void getVerbDetails(const LXVerb &, lxstring &) override {}
    void getTenses(const LXVerb &, LXList<int> &, bool) override {}
    void getTenseName(uint32_t, lxstring &) override {}
    void getPersons(const LXVerb &, uint32_t, LXList<int> &) override {}
    void getPersonName(uint32_t, lxstring &) override {}
    void getEnglishPersonDescription(uint32_t, lxstring &) override {}
    void getConjugationDisplayText(const LXVerb &, uint32_t, uint32_t, uint32_t, lxstring &) override {}
    void getModelStems(const lxstring &word, LXList<LXStem> &stems) override
    {
        script.asked.push_back(text(word));
        answer(script.models, word, LXStemFromModels, stems);
    }
    void getVerbStems(const lxstring &word, LXList<LXStem> &stems, int) override
    {
        answer(script.verbs, word, LXStemFromVerbs, stems);
    }

private:
    static void answer(const std::map<std::string, std::vector<std::pair<std::string, uint32_t>>> &table,
                       const lxstring &word, uint32_t source, LXList<LXStem> &stems)
    {
        auto it = table.find(text(word));
        if (it == table.end())
            return;
        for (const auto &c : it->second) {
            LXStem s;
            s.source = source;
            s.word = word;
            s.base = u8(c.first);
            s.partOfSpeechName = u8(c.second == LXPartOfSpeechVerb ? "v." : "n.");
            s.partOfSpeechCode = c.second;
            addUniqueStem(s, stems);
        }
    }
};

inline LXConjugationEngine *scriptedEngine()
{
    return new ScriptedEngine;
}

inline LXTerm withFeature(LXTerm t, uint32_t code)
{
    t.getFeatures().push_back(LXFeature(code, u8("")));
    return t;
}

inline LXTerm keyed(LXTerm t, const char *key)
{
    t.setSearchKey(u8(key));
    return t;
}

class StemFinderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        script = Script();
        ASSERT_TRUE(dm);
        const LXLanguage fr = LXFrench, en = LXEnglish;
        ModuleContents c;
        c.terms = {
            term(fr, "manger", {"eat"}, "v", 6),       term(fr, "porte", {"door"}, "n", 2),
            term(fr, "porter", {"carry"}, "v", 6),     term(fr, "mise", {"bet"}, "n", 2),
            term(fr, "mettre", {"put"}, "v", 6),       term(fr, "aller", {"going"}, "n", 2),
            term(fr, "aller", {"go"}, "v", 6),         term(fr, "prendre", {"take"}, "v", 6),
            term(fr, "prise", {"socket"}, ""),         term(fr, "vol", {"flight"}, "n", 2),
            withFeature(term(fr, "vol", {"theft"}, "adj", 3), 38),
            term(fr, "vol", {"x"}, "adv", 4),          withFeature(term(fr, "vol libre", {"gliding"}, "n", 2), 85),
            term(fr, "vol plané", {"glide"}, "n", 2),  term(fr, "pomme de terre", {"potato"}, "n", 2),
            term(fr, "chat", {"cat"}, "n", 2),         term(fr, "chat perché", {"tag"}, "n", 2),
            keyed(term(fr, "\\SUpre\\Sumier", {"first"}, "adj", 3), "premier"),
            term(en, "realizing", {"réalisant"}, "v", 6), term(en, "organize", {"organiser"}, "v", 6),
        };
        c.language1 = LXEnglish;
        c.language2 = LXFrench;
        ASSERT_EQ(dm->addDictionaryModule(u8(writeModule(dm->getCompressor(), dm->getTokenizer(), c, "stems"))), 0);
        // A French and an English module, as far as the data manager can tell.
        for (LXLanguage l : {LXFrench, LXEnglish}) {
            script.language = l;
            ASSERT_TRUE(dm->addStemmingModule(u8("scripted.lxc")));
        }
    }

    // "headword [pos]" of every result, in order.
    std::vector<std::string> stems(const char *word, LXLanguage language = LXFrench)
    {
        LXStemResults results;
        dm->getStems(results, u8(word), language, language == LXFrench ? LXEnglish : LXFrench, 10, 1);
        std::vector<std::string> out;
        for (LXStemResults::iterator r = results.begin(); !r.isAtEnd(); ++r) {
            EXPECT_EQ(text((*r).first.base), text((*r).second->getHeadword())) << word;
            out.push_back(label(*(*r).second));
        }
        return out;
    }

    std::unique_ptr<LXDataManager> dm{LXDataManager::create(scriptedEngine)};
};

typedef std::vector<std::string> Labels;

} // namespace lxstems

#endif
