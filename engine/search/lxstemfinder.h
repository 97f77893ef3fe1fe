// LXStemFinder: finds the dictionary headwords that an inflected or variant word leads
// to (the word itself, its spelling variant, the base forms the conjugation engine
// derives from it). Links the module set, the conjugation engine and the tokenizer, all
// borrowed from the data manager.
//
// Not built yet: getStems finds nothing and leaves the results as they are.
#ifndef WORDMERE_ENGINE_LXSTEMFINDER_H
#define WORDMERE_ENGINE_LXSTEMFINDER_H

#include <cstdint>

#include "base/lxlanguage.h"
#include "base/lxlist.h"
#include "base/lxpair.h"
#include "base/lxstring.h"
#include "search/lxdmiterator.h"

class LXConjugationEngine;
class LXDManager;
class LXTokenizer;
struct LXStem;

// Results of a stem search: the stem and an iterator on the term it leads to.
typedef LXList<LXPair<LXStem, LXDMIterator>> LXStemResults;

class LXStemFinder {
public:
    LXStemFinder() : m_modules(nullptr), m_conjugation(nullptr), m_tokenizer(nullptr) {}

    void setLinks(LXDManager *modules, LXConjugationEngine *conjugation, LXTokenizer *tokenizer)
    {
        m_modules = modules;
        m_conjugation = conjugation;
        m_tokenizer = tokenizer;
    }

    void getStems(LXStemResults &results, const lxstring &word, LXLanguage language, LXLanguage language2,
                  uint32_t product, int strategy)
    {
    }

private:
    LXDManager *m_modules;
    LXConjugationEngine *m_conjugation;
    LXTokenizer *m_tokenizer;
};

#endif
