// Codes of the English conjugator: its models and the inflection switches of a verb
// (verb entries tested by presence), each a way of making one form from the infinitive.
#ifndef WORDMERE_CONJUGATION_LXENGLISHCONJUGATOR_H
#define WORDMERE_CONJUGATION_LXENGLISHCONJUGATOR_H

#include <cstdint>

enum : uint32_t {
    LXEnglishModelRegular = 1,      // every form from the switches and entries
    LXEnglishModelBe = 2,           // present and past from the model table
    LXEnglishModelHave = 3,         // present from the model table
    LXEnglishModelInvariable = 4,   // one form for every tense; entry 81 the past

    LXEnglishImperative = 87,       // "let's go", "(you) go"

    // 3rd person singular present.
    LXEnglishPresentS = 54,         // walks
    LXEnglishPresentIes = 55,       // cries: last letter replaced
    LXEnglishPresentEs = 56,        // goes
    LXEnglishPresentDoubledEs = 57, // quizzes: last letter doubled
    LXEnglishPresentApostropheS = 58,
    // Past (and participle, unless the verb has entry 74).
    LXEnglishPastEd = 60,           // walked
    LXEnglishPastDoubledEd = 61,    // stopped
    LXEnglishPastD = 62,            // loved
    LXEnglishPastIed = 63,          // cried
    LXEnglishPastId = 64,           // paid
    LXEnglishPastKed = 65,          // panicked
    LXEnglishPastApostropheEd = 66,
    // Form in -ing.
    LXEnglishIng = 67,              // walking
    LXEnglishDoubledIng = 68,       // stopping
    LXEnglishReplacedIng = 69,      // making
    LXEnglishKing = 70,             // panicking
    LXEnglishApostropheIng = 71
};

#endif
