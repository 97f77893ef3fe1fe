// Records and codes of the conjugation engine: verbs, tenses, model caches, suffix and
// stemming models, and stems.
//
// Codes are small integers, one byte in a module and 32 bits in memory:
//   1..72   features of a verb or a model (72 itself means "no tense" in records)
//   37..43  persons
//   73..    tenses
#ifndef WORDMERE_CONJUGATION_LXCONJUGATIONRECORDS_H
#define WORDMERE_CONJUGATION_LXCONJUGATIONRECORDS_H

#include <cstdint>

#include "base/lxlanguage.h"
#include "base/lxlist.h"
#include "base/lxpair.h"
#include "model/lxstem.h"
#include "base/lxstring.h"

enum : uint32_t {
    LXPersonLast = 43,      // German polite 3rd plural

    // Model features.
    LXFeatureSpellingRule = 16,     // first code point minus 2 (French: minus 3) is the rule
    LXFeatureModelEnding = 27,      // infinitive ending cut off to give the stem
    LXFeatureGermanStem49 = 49,
    LXFeatureGermanStem51 = 51,
    LXFeatureGermanStem52 = 52,

    // Verb features (tested by presence).
    LXFeatureNoElision = 18,        // French: aspirate h
    LXFeatureReflexive = 24,        // French: reflexive verb
    LXFeatureOnlyThirdPerson = 29,
    LXFeatureSein = 30,
    LXFeatureSeinHaben = 31,
    LXFeatureEssere = 32,
    LXFeatureAvereEssere = 33,
    LXFeatureEtre = 34,
    LXFeatureEtreAvoir = 35
};

typedef LXPair<uint32_t, lxstring> LXCodeText;
typedef LXList<LXCodeText> LXCodeTextList;

// A verb of the verb list. Model 0 means no verb.
class LXVerb {
public:
    LXVerb();
    void reset();
    // Inserts in code order; false (and nothing changed) when the code is already there.
    bool addEntry(uint32_t code, const lxstring &text);

    uint32_t model;
    lxstring infinitive;            // UTF-8
    LXCodeTextList entries;         // tense codes: own forms; 72 or less: features
};

struct LXTenseInfo {
    LXTenseInfo() : tense(LXNoTense) {}
    uint32_t tense;
    LXCodeTextList persons;         // (person, forms text) in module order
};

// One model table, loaded for the duration of a query.
struct LXModelCache {
    LXModelCache() : model(0) {}
    void clear();

    uint32_t model;                 // 0: empty
    LXCodeTextList features;
    LXList<LXTenseInfo> tenses;
};

struct LXSuffixModel {
    LXSuffixModel() : model(0), tense(LXNoTense), person(LXPersonFirst) {}
    uint32_t model;
    uint32_t tense;
    uint32_t person;
    lxstring ending;                // reversed
};
// Order of a suffix-model list: reversed ending, then model, tense, person.
bool operator<(const LXSuffixModel &a, const LXSuffixModel &b);
bool operator==(const LXSuffixModel &a, const LXSuffixModel &b);

struct LXStemmingModel {
    LXStemmingModel() : grammarCode1(3), partOfSpeechCode(1), grammarCode2(12) {}
    uint32_t grammarCode1;
    lxstring key;                   // a reversed word, or a reversed ending followed by "-"
    lxstring partOfSpeechName;
    uint32_t partOfSpeechCode;
    uint32_t grammarCode2;
    lxstring replacement;           // "": the stem; "-x": stem + "x"; else the base itself
};
// Order of a stemming-model list: key, part-of-speech code and name, grammar codes 1
// and 2, replacement.
bool operator<(const LXStemmingModel &a, const LXStemmingModel &b);
bool operator==(const LXStemmingModel &a, const LXStemmingModel &b);


// The text of the first pair with the code; an empty text and false when there is none.
bool findEntry(const LXCodeTextList &list, uint32_t code, lxstring &text);
bool hasEntry(const LXCodeTextList &list, uint32_t code);
// The forms text of a person in a tense of a model cache; false when either is absent.
bool findTenseForms(const LXModelCache &cache, uint32_t tense, uint32_t person, lxstring &text);

#endif
