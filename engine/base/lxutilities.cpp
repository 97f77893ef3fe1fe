#include "base/lxutilities.h"

#include <cstring>
#include <istream>
#include <memory>
#include <new>
#include <ostream>

#include "base/lxchar.h"

namespace {

struct LanguageName {
    LXLanguage language;
    const char *name;
    const char *code;
};

const LanguageName kLanguages[] = {
    {LXEnglish, "English", "en"},       {LXFrench, "French", "fr"},       {LXSpanish, "Spanish", "es"},
    {LXGerman, "German", "de"},         {LXItalian, "Italian", "it"},     {LXPortuguese, "Portuguese", "po"},
    {LXNorwegian, "Norwegian", "no"},   {LXLatin, "Latin", "la"},         {LXEsperanto, "Esperanto", "esper"},
    {LXRussian, "Russian", "ru"},       {LXDutch, "Dutch", "nl"},         {LXSynonyms, "Synonyms", ""},
};

const LanguageName *findLanguage(LXLanguage language)
{
    for (const LanguageName &l : kLanguages) {
        if (l.language == language)
            return &l;
    }
    return nullptr;
}

// Replaces out's content by UTF-8 text, keeping out's encoding and byte order.
void assignUtf8(lxstring &out, const char *text)
{
    lxstring value(out.getEncoding(), out.getByteOrder());
    value += lxstring(text, LXEncodingUtf8);
    out = value;
}

// The first prefix test that matches decides; "espe" precedes "es" so that Esperanto is
// not taken for Spanish.
struct Prefix {
    const char *prefix;
    LXLanguage language;
};

const Prefix kPrefixes[] = {
    {"en", LXEnglish},   {"fr", LXFrench},   {"espe", LXEsperanto}, {"sp", LXSpanish},   {"es", LXSpanish},
    {"ge", LXGerman},    {"de", LXGerman},   {"it", LXItalian},     {"po", LXPortuguese}, {"no", LXNorwegian},
    {"la", LXLatin},     {"ru", LXRussian},  {"nl", LXDutch},       {"dutch", LXDutch},  {"syn", LXSynonyms},
    {"thes", LXSynonyms},
};

const uint32_t kBase255Max = 255u * 255u * 255u * 255u - 1u; // 4228250624

} // namespace

LXLanguage LXUtilities::stringToLanguage(const lxstring &text)
{
    lxstring s(text);
    s.setEncoding(LXEncodingUtf8);
    s.tolower();
    const char *bytes = s.c_str();
    for (const Prefix &p : kPrefixes) {
        if (std::strncmp(bytes, p.prefix, std::strlen(p.prefix)) == 0)
            return p.language;
    }
    return LXLanguageNone;
}

void LXUtilities::languageToEnglishString(LXLanguage language, lxstring &out)
{
    const LanguageName *l = findLanguage(language);
    assignUtf8(out, l ? l->name : "");
}

void LXUtilities::languageToAbbreviation(LXLanguage language, lxstring &out)
{
    const LanguageName *l = findLanguage(language);
    assignUtf8(out, l ? l->code : "");
}

void LXUtilities::sortLanguages(LXLanguage &a, LXLanguage &b)
{
    if (b < a) {
        LXLanguage t = a;
        a = b;
        b = t;
    }
}

void LXUtilities::reverse(lxstring &s)
{
    lxstring r(s.getEncoding(), s.getByteOrder());
    for (lxstring_reverse_iterator it = s.rbegin(); !it.isAtEnd(); ++it)
        r += *it;
    s.swap(r);
}

void LXUtilities::trim(lxstring &s)
{
    int32_t count = s.length();
    int32_t lead = 0;
    for (lxstring_iterator it = s.begin(); !it.isAtEnd() && lx_isspace(*it); ++it)
        ++lead;
    if (lead == count) {
        s.clear();
        return;
    }
    int32_t trail = 0;
    for (lxstring_reverse_iterator it = s.rbegin(); !it.isAtEnd() && lx_isspace(*it); ++it)
        ++trail;
    if (lead == 0 && trail == 0)
        return;
    lxstring kept = s.substr(lead, count - lead - trail);
    s.swap(kept);
}

void LXUtilities::replaceAll(lxstring &s, const char *from, const char *to)
{
    if (!from || !to || !*from || std::strcmp(from, to) == 0)
        return;
    // As code points, so that text beyond ASCII is replaced whole as well.
    const lxstring needle(from, LXEncodingUtf8);
    const lxstring with(to, LXEncodingUtf8);
    int32_t at = 0;
    while (at < s.length()) {
        lxstring_iterator start = s.begin();
        start += at;
        lxstring_iterator hit = s.find(start, needle);
        if (hit.isAtEnd())
            break;
        int32_t index = hit.getCharIndex();
        s.replace(index, needle.length(), with);
        at = index + with.length();
    }
}

lxstring LXUtilities::foldedKey(const lxstring &s)
{
    lxstring f(s);
    f.setEncoding(LXEncodingUtf8);
    f.tobase();
    f.toupper();
    return f;
}

uint32_t LXUtilities::readInt16FromBuffer(const unsigned char *p)
{
    if (!p)
        return 21345;
    return (uint32_t(p[0]) << 8) | p[1];
}

uint32_t LXUtilities::readInt24FromBuffer(const unsigned char *p)
{
    if (!p)
        return 21345;
    return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

uint32_t LXUtilities::readInt32FromBuffer(const unsigned char *p)
{
    if (!p)
        return 21345;
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

unsigned char *LXUtilities::writeInt16ToBuffer(unsigned char *p, uint32_t v)
{
    if (!p)
        return nullptr;
    p[0] = static_cast<unsigned char>(v >> 8);
    p[1] = static_cast<unsigned char>(v);
    return p + 2;
}

unsigned char *LXUtilities::writeInt24ToBuffer(unsigned char *p, uint32_t v)
{
    if (!p)
        return nullptr;
    p[0] = static_cast<unsigned char>(v >> 16);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v);
    return p + 3;
}

unsigned char *LXUtilities::writeInt32ToBuffer(unsigned char *p, uint32_t v)
{
    if (!p)
        return nullptr;
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
    return p + 4;
}

unsigned char *LXUtilities::writeStringToBuffer(unsigned char *p, const lxstring &s, uint32_t cp, uint32_t max)
{
    if (!p)
        return nullptr;
    lxstring end(s.getEncoding(), s.getByteOrder());
    end += cp;
    const uint32_t endBytes = static_cast<uint32_t>(end.size());
    uint32_t n = static_cast<uint32_t>(s.size());
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(s.c_str());
    if (max != 0 && n + endBytes > max) {
        if (max < endBytes)
            return p; // not even the terminator fits
        n = max - endBytes;
        const uint32_t unit = static_cast<uint32_t>(s.unitSize());
        n -= n % unit;
        // Never leave half a UTF-8 sequence: a reader would take the terminator as its
        // continuation and run on past the end of the text.
        if (s.getEncoding() == LXEncodingUtf8) {
            while (n > 0 && (bytes[n] & 0xC0) == 0x80)
                --n;
        }
    }
    std::memcpy(p, bytes, n);
    std::memcpy(p + n, end.c_str(), endBytes);
    return p + n + endBytes;
}

namespace {

bool writeBigEndian(std::ostream &os, uint32_t v, int bytes)
{
    char b[4];
    for (int i = 0; i < bytes; ++i)
        b[i] = static_cast<char>(v >> (8 * (bytes - 1 - i)));
    os.write(b, bytes);
    return static_cast<bool>(os);
}

bool readBigEndian(std::istream &is, uint32_t &v, int bytes)
{
    unsigned char b[4];
    is.read(reinterpret_cast<char *>(b), bytes);
    if (!is || is.gcount() != bytes) {
        v = 0;
        return false;
    }
    v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | b[i];
    return true;
}

} // namespace

bool LXUtilities::writeInt16(std::ostream &os, uint32_t v) { return writeBigEndian(os, v, 2); }
bool LXUtilities::writeInt24(std::ostream &os, uint32_t v) { return writeBigEndian(os, v, 3); }
bool LXUtilities::writeInt32(std::ostream &os, uint32_t v) { return writeBigEndian(os, v, 4); }
bool LXUtilities::readInt16(std::istream &is, uint32_t &v) { return readBigEndian(is, v, 2); }
bool LXUtilities::readInt24(std::istream &is, uint32_t &v) { return readBigEndian(is, v, 3); }
bool LXUtilities::readInt32(std::istream &is, uint32_t &v) { return readBigEndian(is, v, 4); }

uint32_t LXUtilities::intToBase255(uint32_t n)
{
    // Above the largest representable value the digits would carry into each other;
    // saturate instead of wrapping to a small number.
    if (n > kBase255Max)
        n = kBase255Max;
    uint32_t v = 0;
    uint32_t scale = 255u * 255u * 255u;
    for (int i = 0; i < 4; ++i) {
        v = (v << 8) | (n / scale + 1);
        n %= scale;
        scale /= 255u;
    }
    return v;
}

uint32_t LXUtilities::base255ToInt(uint32_t v)
{
    uint32_t n = 0;
    for (int shift = 24; shift >= 0; shift -= 8) {
        uint32_t digit = (v >> shift) & 0xFF;
        // A zero byte is never written; read it as digit 0 rather than wrapping around.
        n = n * 255u + (digit ? digit - 1 : 0);
    }
    return n;
}

bool LXUtilities::makeSpaceInFile(std::iostream &file, int32_t gap, int32_t position)
{
    if (gap <= 0 || position < 0)
        return false;
    file.clear();
    file.seekg(0, std::ios::end);
    const std::streamoff end = file.tellg();
    if (end < 0 || position >= end)
        return false;
    // Moving in chunks from the end backwards gives the same file as moving gap-sized
    // blocks, without a buffer as large as the gap.
    const std::streamoff chunk = gap < 65536 ? gap : 65536;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<size_t>(chunk)]);
    if (!buffer)
        return false;
    std::streamoff sourceEnd = end;
    while (sourceEnd > position) {
        std::streamoff n = sourceEnd - position < chunk ? sourceEnd - position : chunk;
        std::streamoff from = sourceEnd - n;
        file.seekg(from);
        file.read(buffer.get(), n);
        if (file.gcount() != n)
            return false;
        file.seekp(from + gap);
        file.write(buffer.get(), n);
        if (!file)
            return false;
        sourceEnd = from;
    }
    file.flush();
    return static_cast<bool>(file);
}

void LXUtilities::getPalmDBName(lxstring &name, LXLanguage a, LXLanguage b, uint32_t flags, bool additions)
{
    lxstring r(LXEncodingUtf8);
    lxstring lang(LXEncodingUtf8);
    r += "lxd-";
    languageToEnglishString(a, lang);
    lang.tolower();
    r += lang;
    if (b == LXSynonyms) {
        r += "-synonyms";
    } else if (a == b) {
        r += "-definitions";
    } else {
        languageToEnglishString(b, lang);
        lang.tolower();
        r += "-";
        r += lang;
    }
    if (flags & 0x2)
        r += "-medical";
    if (additions)
        r += "-addns";
    name = r;
}
