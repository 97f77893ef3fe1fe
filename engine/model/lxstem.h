// LXStem: a base form that a word may come from, as the conjugation engine derives it
// (from its verb list, inflected-form index or stemming models) and as the stem finder
// hands it on with the dictionary term it leads to. The engine owns the record so that
// both sides share it; the codes it carries are the conjugation engine's.
#ifndef WORDMERE_ENGINE_LXSTEM_H
#define WORDMERE_ENGINE_LXSTEM_H

#include <cstdint>

#include "base/lxlist.h"
#include "base/lxstring.h"

enum : uint32_t {
    LXPersonFirst = 37,             // 1st person singular; also "no person" in stems
    LXNoTense = 72,
    LXTenseFirst = 73,              // the infinitive in every language
    LXPartOfSpeechVerb = 6          // with the name "v."
};

// Where a stem came from.
enum : uint32_t {
    LXStemFromVerbs = 1,            // the verb list or the inflected-form index
    LXStemFromModels = 2            // the stemming models
};

// A base form that a word may come from.
struct LXStem {
    LXStem();
    void clear();

    // Equal: grammar codes, tense, person, word, base and part-of-speech name (not the
    // source nor the part-of-speech code).
    bool operator==(const LXStem &o) const;
    bool operator!=(const LXStem &o) const { return !(*this == o); }
    // Part-of-speech code, name, word, base, tense, person, grammar codes 2 and 1.
    bool operator<(const LXStem &o) const;

    // Bytes of the inflected-form record writeVerbForm makes.
    uint32_t verbFormSize() const;
    // Tense, person, word + code point 1, base + code point 1, 0; returns the position
    // after the 0.
    unsigned char *writeVerbForm(unsigned char *buffer) const;

    uint32_t source;                // 1: verb list or form index; 2: stemming models
    lxstring word;
    lxstring base;
    lxstring partOfSpeechName;
    uint32_t partOfSpeechCode;
    uint32_t tense;
    uint32_t person;
    uint32_t grammarCode1;
    uint32_t grammarCode2;
};

// Appends the stem unless one with the same word, base and part-of-speech name is there.
void addUniqueStem(const LXStem &stem, LXList<LXStem> &list);

#endif
