// Character classes, case and accent folding and the collation ranks of the engine.
// Text is Latin-1 in its lower 256 code points, with the Windows-1252 letters
// Š Œ Ž š œ ž Ÿ at 138..159; code points of 256 and above are handled only where noted.
//
// This file and lxchar.cpp are self-contained (no other engine code) so that the
// capture library can compile its own copy.
#ifndef LXCHAR_H
#define LXCHAR_H

#include <cstdint>

#include "base/lxlanguage.h"

// 256-entry tables indexed by code point.
extern const unsigned char lx_baseTable[256];     // unaccented ASCII letter, or the code point itself
extern const signed char lx_rankTable[256];       // general collation rank (a permutation of 0..255)
extern const signed char lx_rankTableNorwegian[256]; // rank for language 7: Æ Ø Å after Z

bool lx_isspace(uint32_t c);      // 9, 10, 13, 32
bool lx_isdigit(uint32_t c);      // '0'..'9'
bool lx_iswordchar(uint32_t c);   // letters, digits, ' and - as the tokenizer sees them
bool lx_isalpha(uint32_t c);      // letter with an ASCII base (low 8 bits only for c >= 256)
bool lx_isvowel(uint32_t c);      // a e i o u y after the same folding as lx_isalpha

// Lower case; the result is always cut to 8 bits (so U+0152 gives 'R').
uint32_t lx_tolower(uint32_t c);
// Upper case; values it does not map come back unchanged.
uint32_t lx_toupper(uint32_t c);
// Accent-free base letter for c < 256; c itself from 256 on.
uint32_t lx_base(uint32_t c);
// Collation rank. Table entries are signed bytes widened to 32 bits: compare ranks as
// unsigned 32-bit numbers. Code points of 256 and above rank as themselves.
uint32_t lx_rank(uint32_t c, LXLanguage lang);
uint32_t lx_toacute(uint32_t c);       // A E I O U Y a e i o u y with acute accent
uint32_t lx_todiaeresis(uint32_t c);   // A E I O U Y a e i o u y with diaeresis (Y gives 159)

// Ligatures the collation reads as two letters: Æ æ ß Œ œ (U+00C6, U+00E6, U+00DF,
// U+0152, U+0153). Answers true and the two letters for those; false otherwise (and
// first = c, second = 0). The 1252 one-byte forms 140 and 156 are not split.
bool lx_splitLigature(uint32_t c, uint32_t &first, uint32_t &second);

#endif
