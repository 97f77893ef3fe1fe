// Spanish and Portuguese spelling rules and compound tenses of the Romance conjugator.
#ifndef WORDMERE_CONJUGATION_LXIBERIANRULES_H
#define WORDMERE_CONJUGATION_LXIBERIANRULES_H

#include <cstdint>

#include "base/lxlanguage.h"
#include "base/lxstring.h"

// Rule numbers are a model's feature 16 value minus 2. The stem changes for the tense and
// person, and for the ending that is about to be appended.
void lx_applySpanishRule(int rule, lxstring &stem, uint32_t tense, uint32_t person, const lxstring &ending);
void lx_applyPortugueseRule(int rule, lxstring &stem, uint32_t tense, uint32_t person, const lxstring &ending);

// The auxiliary tense of a Spanish or Portuguese compound tense; 0 for a simple tense.
uint32_t lx_iberianAuxiliaryTense(LXLanguage language, uint32_t tense);

// The reflexive pronoun of a Spanish person ("me", "te", "se", "nos", "os", "se").
const char *lx_spanishReflexivePronoun(uint32_t person);
// An affirmative imperative with its reflexive pronoun attached, the written accent set
// by the stress rules: acerca: acércate, acerquemos: acerquémonos, acercad: acercaos.
lxstring lx_spanishEnclitic(const lxstring &form, uint32_t person);

enum : uint32_t {
    LXSpanishAuxiliaryModel = 26,       // haber
    LXPortugueseAuxiliaryModel = 17     // ter
};

#endif
