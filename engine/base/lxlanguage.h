// Language codes of the engine. The values are stored in module files (as 16-bit
// numbers) and passed between the engine and the shell, so they never change.
#ifndef LXLANGUAGE_H
#define LXLANGUAGE_H

#include <cstdint>

enum LXLanguage : int32_t {
    LXLanguageNone = 0,
    LXEnglish = 1,
    LXFrench = 2,
    LXSpanish = 3,
    LXGerman = 4,
    LXItalian = 5,
    LXPortuguese = 6,
    LXNorwegian = 7,
    LXLatin = 8,
    LXEsperanto = 9,
    LXRussian = 10,
    LXDutch = 11,
    // A thesaurus: a module within one language. Always the second member of a pair.
    LXSynonyms = 255
};

#endif
