// LXUtilities: stateless helpers of the engine and the shell: language names and codes,
// string chores, big-endian numbers in buffers and streams (the byte order of every
// engine file), base-255 numbers (four bytes, none of them zero), opening a gap inside a
// file, and the short data-module name.
#ifndef WORDMERE_ENGINE_LXUTILITIES_H
#define WORDMERE_ENGINE_LXUTILITIES_H

#include <cstdint>
#include <iosfwd>

#include "base/lxlanguage.h"
#include "base/lxstring.h"

class LXUtilities {
public:
    // Decided by how the lower-cased text begins ("en", "fr", "espe", "sp"/"es", "ge"/"de",
    // "it", "po", "no", "la", "ru", "nl"/"dutch", "syn"/"thes"); 0 for anything else.
    static LXLanguage stringToLanguage(const lxstring &text);
    // The English name ("English" ... "Synonyms") or the short code ("en" ... "nl"); empty
    // for unknown values (and the code of 255). The result keeps `out`'s encoding.
    static void languageToEnglishString(LXLanguage language, lxstring &out);
    static void languageToAbbreviation(LXLanguage language, lxstring &out);
    // Puts a pair in ascending order, so 255 (synonyms) is always second.
    static void sortLanguages(LXLanguage &a, LXLanguage &b);

    static void reverse(lxstring &s);
    // Removes leading and trailing tab, line feed, carriage return and space.
    static void trim(lxstring &s);
    // Replaces every occurrence of from by to, scanning forwards and resuming after the
    // inserted text. Both are UTF-8 text.
    static void replaceAll(lxstring &s, const char *from, const char *to);
    // Base letters in upper case, in UTF-8: the form under which module keys are looked up
    // and approximate matches compared.
    static lxstring foldedKey(const lxstring &s);

    // Big-endian values in a buffer; a null buffer reads as 0x5361.
    static uint32_t readInt16FromBuffer(const unsigned char *p);
    static uint32_t readInt24FromBuffer(const unsigned char *p);
    static uint32_t readInt32FromBuffer(const unsigned char *p);
    // Store the low 2, 3 or 4 bytes of v; return the position after them (null for null).
    static unsigned char *writeInt16ToBuffer(unsigned char *p, uint32_t v);
    static unsigned char *writeInt24ToBuffer(unsigned char *p, uint32_t v);
    static unsigned char *writeInt32ToBuffer(unsigned char *p, uint32_t v);
    // The string's bytes, then cp in its encoding and byte order; with max not 0 the whole
    // stays within max bytes (the text is cut at a character boundary). Returns the
    // position after what was written.
    static unsigned char *writeStringToBuffer(unsigned char *p, const lxstring &s, uint32_t cp, uint32_t max);

    static bool writeInt16(std::ostream &os, uint32_t v);
    static bool writeInt24(std::ostream &os, uint32_t v);
    static bool writeInt32(std::ostream &os, uint32_t v);
    // v becomes 0 when the stream fails; false then.
    static bool readInt16(std::istream &is, uint32_t &v);
    static bool readInt24(std::istream &is, uint32_t &v);
    static bool readInt32(std::istream &is, uint32_t &v);

    // n up to 255^4 - 1 as four base-255 digits, each plus one, most significant first.
    static uint32_t intToBase255(uint32_t n);
    static uint32_t base255ToInt(uint32_t v);

    // Opens a gap of `gap` bytes at `position` of a file open for reading and writing:
    // everything from position on moves gap bytes towards the end, the gap keeps its old
    // bytes. False when nothing was moved (gap <= 0, position outside the file, I/O error).
    static bool makeSpaceInFile(std::iostream &file, int32_t gap, int32_t position);

    // "lxd-english-french", "lxd-english-definitions-medical-addns", "lxd-english-synonyms".
    static void getPalmDBName(lxstring &name, LXLanguage a, LXLanguage b, uint32_t flags, bool additions);
};

// The short forms the shell calls.
inline void reverse(lxstring &s) { LXUtilities::reverse(s); }
inline void trim(lxstring &s) { LXUtilities::trim(s); }
inline void replaceAll(lxstring &s, const char *from, const char *to) { LXUtilities::replaceAll(s, from, to); }
inline void sortLanguages(LXLanguage &a, LXLanguage &b) { LXUtilities::sortLanguages(a, b); }
inline unsigned char *writeStringToBuffer(unsigned char *p, const lxstring &s, uint32_t cp, uint32_t max)
{
    return LXUtilities::writeStringToBuffer(p, s, cp, max);
}
inline uint32_t readInt32FromBuffer(const unsigned char *p) { return LXUtilities::readInt32FromBuffer(p); }
inline unsigned char *writeInt32ToBuffer(unsigned char *p, uint32_t v) { return LXUtilities::writeInt32ToBuffer(p, v); }
inline uint32_t intToBase255(uint32_t n) { return LXUtilities::intToBase255(n); }
inline uint32_t base255ToInt(uint32_t v) { return LXUtilities::base255ToInt(v); }
inline void getPalmDBName(lxstring &name, LXLanguage a, LXLanguage b, uint32_t flags, bool additions)
{
    LXUtilities::getPalmDBName(name, a, b, flags, additions);
}
inline bool makeSpaceInFile(std::iostream &file, int32_t gap, int32_t position)
{
    return LXUtilities::makeSpaceInFile(file, gap, position);
}

#endif
