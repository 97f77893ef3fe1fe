// Small dictionary modules for the search and data-manager tests, written by the
// engine's own module writer into the test's temporary folder.
#ifndef WORDMERE_ENGINE_TESTS_LXDM_FIXTURE_H
#define WORDMERE_ENGINE_TESTS_LXDM_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "format/lxcompressor.h"
#include "format/lxd.h"
#include "format/lxdwriter.h"
#include "model/lxterm.h"
#include "model/lxtokenizer.h"
#include "testing/lxtest_files.h"
#include "testing/lxtest_terms.h"
#include "testing/lxtest_text.h"

namespace lxdm {

// A term whose definitions carry its part of speech too.
inline LXTerm term(LXLanguage language, const std::string &headword, const std::vector<std::string> &translations,
                   const std::string &pos = "", uint32_t posCode = LXPartOfSpeechNone)
{
    return makeTerm(language, headword, translations, pos, posCode, true);
}

struct ModuleContents {
    std::vector<LXTerm> terms;
    uint32_t priority = 5;
    uint32_t product = 10;
    LXLanguage language1 = LXEnglish;
    LXLanguage language2 = LXFrench;
    uint32_t sparseEvery = 4;
};

// Writes the module; fails the test when the writer refuses.
inline std::string writeModule(LXCompressor *compressor, LXTokenizer *tokenizer, const ModuleContents &contents,
                               const std::string &name)
{
    LXDWriter w(compressor, tokenizer, contents.language1, contents.language2);
    w.setPriority(contents.priority);
    w.setProduct(contents.product);
    w.setSparseInterval(contents.sparseEvery);
    std::string why;
    for (const LXTerm &t : contents.terms)
        EXPECT_TRUE(w.addTerm(t, why)) << why;
    std::string path = tempPath(name + ".lxd");
    EXPECT_TRUE(w.write(path, why)) << why;
    return path;
}

// "headword [pos]" of a term, what the tests compare.
inline std::string label(const LXTerm &t)
{
    std::string s = text(t.getHeadword());
    if (!t.getPartOfSpeechName().empty())
        s += " [" + text(t.getPartOfSpeechName()) + "]";
    return s;
}

inline std::vector<std::string> definitionTexts(const LXTerm &t)
{
    std::vector<std::string> out;
    for (LXList<LXDefinition>::const_iterator it = t.getDefinitions().begin(); !it.isAtEnd(); ++it)
        out.push_back(text(it->getText()));
    return out;
}

} // namespace lxdm

#endif
