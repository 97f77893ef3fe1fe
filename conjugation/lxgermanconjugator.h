// Codes of the German conjugator: the verb entries it reads besides its forms.
#ifndef WORDMERE_CONJUGATION_LXGERMANCONJUGATOR_H
#define WORDMERE_CONJUGATION_LXGERMANCONJUGATOR_H

#include <cstdint>

enum : uint32_t {
    LXGermanParticle = 46,          // separable particle: "an" of "ankommen"
    LXGermanTrailingWord = 47,      // a word after the verb
    LXGermanPastStem = 48,          // stem of the past (tense 79), and of tense 83 with model feature 51
    LXGermanSubjunctiveStem = 50,   // stem of tense 83 with model feature 52

    LXGermanImperative = 89         // "(du) geh", "Gehen wir!"
};

#endif
