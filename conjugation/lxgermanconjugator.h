// Codes of the German conjugator: the verb entries it reads besides its forms.
#ifndef WORDMERE_CONJUGATION_LXGERMANCONJUGATOR_H
#define WORDMERE_CONJUGATION_LXGERMANCONJUGATOR_H

#include <cstdint>

#include "lxconjugationrecords.h"

enum : uint32_t {
    LXGermanParticle = 46,          // separable particle: "an" of "ankommen"
    LXGermanTrailingWord = 47,      // a word after the verb
    LXGermanPastStem = 48,          // stem of the past (tense 79), and of tense 83 with model feature 51
    LXGermanSubjunctiveStem = 50,   // stem of tense 83 with model feature 52

    LXGermanImperative = 89         // "(du) geh", "Gehen wir!"
};

// The model's spelling rules (its features 16, in order, up to one of rule 0) on a stem
// and the ending about to be appended to it, for one tense and person; a rule may change
// the stem, replace the ending, or both.
void lx_applyGermanRules(const LXCodeTextList &features, lxstring &stem, lxstring &ending, uint32_t tense,
                         uint32_t person);

#endif
