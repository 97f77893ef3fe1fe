// LXStemFinder: finds the dictionary headwords that an inflected or variant word leads
// to: the word itself when it is a headword, its spelling variant, and the base forms the
// conjugation engine derives from it (infinitives of verb forms, base forms by stemming
// models), each kept only when the dictionary has a matching headword. Links the module
// set, the conjugation engine and the tokenizer, all borrowed from the data manager.
#ifndef WORDMERE_ENGINE_LXSTEMFINDER_H
#define WORDMERE_ENGINE_LXSTEMFINDER_H

#include <cstdint>

#include "base/lxlanguage.h"
#include "base/lxlist.h"
#include "base/lxpair.h"
#include "base/lxstring.h"
#include "model/lxstem.h"
#include "search/lxdmiterator.h"

class LXConjugationEngine;
class LXDManager;
class LXTokenizer;

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

    // Empties the results, then fills them with one (stem, position) pair per headword
    // and part of speech found, in display order: headwords the word begins with first.
    // The conjugation engine must have the module of the language open.
    void getStems(LXStemResults &results, const lxstring &word, LXLanguage language, LXLanguage language2,
                  uint32_t product, int strategy);

    // The English spelling variant of a word ending in "ise", "ises", "ised" or "ising":
    // that "s" becomes "z". The word itself when no ending applies.
    static lxstring spellingVariant(const lxstring &word);

private:
    // The single-word search: the word's own entries, then the engine's candidates.
    struct Search;
    void findWord(const Search &search, LXStem &record, LXStemResults &results);
    void findCandidates(const Search &search, const lxstring &word, LXStemResults &results);
    // The merged iterator on text folded to upper case and base letters.
    void position(const Search &search, const lxstring &text, LXDMIterator &iterator);

    LXDManager *m_modules;
    LXConjugationEngine *m_conjugation;
    LXTokenizer *m_tokenizer;
};

#endif
