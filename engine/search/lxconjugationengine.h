// LXConjugationEngine: what the data manager and the stem finder ask of the conjugation
// engine. The engine library owns this interface; the conjugation library implements it
// (conjugation/lxconjugationadapter.h) and hands the data manager a factory, so the
// engine never links the conjugation library (which itself builds on the engine).
//
// The records are the conjugation library's own; the engine only passes them through
// by reference.
#ifndef WORDMERE_ENGINE_LXCONJUGATIONENGINE_H
#define WORDMERE_ENGINE_LXCONJUGATIONENGINE_H

#include <cstdint>

#include "base/lxlanguage.h"
#include "base/lxlist.h"
#include "base/lxstring.h"

class LXCompressor;
class LXVerb;
struct LXStem;

// How far getVerbStems goes once a form matched; any value above the last means every hit.
enum LXVerbStemStrategy {
    LXStemFirstHit = 0,             // stops the whole search at the first hit
    LXStemOnePerVerb = 1,           // at most one hit per candidate verb
    LXStemAllHits = 2
};

class LXConjugationEngine {
public:
    virtual ~LXConjugationEngine() {}

    // The data manager's shared compressor (borrowed).
    virtual void setCompressor(LXCompressor *compressor) = 0;

    // Reads the module's header and closes the file again; true for a conjugation module.
    virtual bool validateModule(const lxstring &path) = 0;
    // validateModule, then opens every stream; the engine holds one module at a time.
    virtual bool openModule(const lxstring &path) = 0;
    virtual void closeModule() = 0;
    // Header fields of the module last validated or opened.
    virtual LXLanguage getLanguage() const = 0;
    virtual uint32_t getHeaderWord() const = 0;
    virtual uint32_t getFormatWord() const = 0;

    // Queries on the open module.
    virtual bool findVerb(const lxstring &infinitive, LXVerb &verb) = 0;
    virtual void getMatchingVerbs(const lxstring &text, LXList<lxstring> &list, bool clear,
                                  uint32_t maxCount) = 0;
    virtual bool getConjugation(const LXVerb &verb, uint32_t tense, uint32_t person, lxstring &text) = 0;
    virtual bool getConjugations(const LXVerb &verb, uint32_t tense, uint32_t person, LXList<lxstring> &list) = 0;
    virtual void getVerbDetails(const LXVerb &verb, lxstring &text) = 0;
    virtual void getTenses(const LXVerb &verb, LXList<int> &list, bool all) = 0;
    virtual void getTenseName(uint32_t tense, lxstring &text) = 0;
    virtual void getPersons(const LXVerb &verb, uint32_t tense, LXList<int> &list) = 0;
    virtual void getPersonName(uint32_t person, lxstring &text) = 0;
    virtual void getEnglishPersonDescription(uint32_t person, lxstring &text) = 0;
    virtual void getConjugationDisplayText(const LXVerb &verb, uint32_t options, uint32_t tense,
                                           uint32_t person, lxstring &text) = 0;
    virtual void getModelStems(const lxstring &word, LXList<LXStem> &stems) = 0;
    virtual void getVerbStems(const lxstring &word, LXList<LXStem> &stems, int strategy) = 0;
};

// Makes a conjugation engine; null when memory runs out.
typedef LXConjugationEngine *(*LXConjugationEngineFactory)();

#endif
