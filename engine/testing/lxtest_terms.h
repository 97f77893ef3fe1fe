// Terms made from a few strings, for the tests and fuzzers of several folders.
#ifndef WORDMERE_ENGINE_TESTING_LXTEST_TERMS_H
#define WORDMERE_ENGINE_TESTING_LXTEST_TERMS_H

#include <string>
#include <vector>

#include "model/lxterm.h"
#include "testing/lxtest_text.h"

// A term with one definition per translation. The part of speech, given by name and code
// (none when the name is empty), goes on the term and, with posOnDefinitions, on
// every definition.
inline LXTerm makeTerm(LXLanguage language, const std::string &headword, const std::vector<std::string> &translations,
                       const std::string &pos = "", uint32_t posCode = LXPartOfSpeechNone,
                       bool posOnDefinitions = false)
{
    const uint32_t code = pos.empty() ? static_cast<uint32_t>(LXPartOfSpeechNone) : posCode;
    LXTerm t;
    t.setLanguage(language);
    t.setHeadword(u8(headword));
    t.setPartOfSpeechName(u8(pos));
    t.setPartOfSpeechCode(code);
    for (const std::string &tr : translations) {
        LXDefinition d;
        d.setText(u8(tr));
        if (posOnDefinitions) {
            d.setPartOfSpeechName(u8(pos));
            d.setPartOfSpeechCode(code);
        }
        t.addDefinition(d);
    }
    return t;
}

#endif
