#include "format/lxdencoding.h"

#include "base/lxutilities.h"

namespace LXDEncoding {

namespace {

const uint32_t kFirstPrintable = 0x20;

// Code points below the surrogates spelt out at once; the rest as the string class spells them.
void putCodePoint(std::string &out, uint32_t cp)
{
    if (cp < kFirstPrintable)
        cp = ' ';
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0xD800) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        lxstring one;
        one += cp;
        out.append(one.c_str(), static_cast<size_t>(one.size()));
    }
}

} // namespace

std::string utf8(const lxstring &s)
{
    lxstring c(s);
    c.setEncoding(LXEncodingUtf8);
    return std::string(c.c_str(), static_cast<size_t>(c.size()));
}

void putText(std::string &out, const lxstring &text)
{
    for (lxstring_iterator i = text.begin(); !i.isAtEnd(); ++i)
        putCodePoint(out, *i);
}

void putHeadword(std::string &out, const lxstring &headword, const lxstring &key)
{
    lxstring_iterator i = headword.begin();
    const int32_t n = key.length();
    while (!i.isAtEnd()) {
        bool match = n > 0;
        lxstring_iterator h = i, k = key.begin();
        for (int32_t m = 0; match && m < n; ++m, ++h, ++k)
            match = !h.isAtEnd() && *h == *k;
        if (match) {
            putByte(out, LXD::kKeyPlaceholder);
            i = h;
            continue;
        }
        putCodePoint(out, *i);
        ++i;
    }
}

bool putFeatures(std::string &out, const LXFeatureList &features, std::string &error)
{
    for (LXFeatureList::const_iterator f = features.begin(); !f.isAtEnd(); ++f) {
        if (f->first < LXD::kFirstFeatureCode || f->first > kMaxFeatureCode) {
            error = "feature code " + std::to_string(f->first) + " cannot be stored";
            return false;
        }
        out += static_cast<char>(f->first);
        putText(out, f->second);
        putByte(out, LXD::kEndOfText);
    }
    putByte(out, LXD::kEndOfFeatures);
    return true;
}

void putBase255(std::string &out, uint32_t n)
{
    putInt32(out, LXUtilities::intToBase255(n));
}

void putInt32(std::string &out, uint32_t v)
{
    unsigned char b[4];
    LXUtilities::writeInt32ToBuffer(b, v);
    out.append(reinterpret_cast<char *>(b), 4);
}

void putInt16(std::string &out, uint32_t v)
{
    unsigned char b[2];
    LXUtilities::writeInt16ToBuffer(b, v);
    out.append(reinterpret_cast<char *>(b), 2);
}

lxstring storedKey(const lxstring &key)
{
    lxstring clean(LXEncodingUtf8);
    for (lxstring_iterator i = key.begin(); !i.isAtEnd(); ++i)
        clean += *i < kFirstPrintable ? static_cast<uint32_t>(' ') : *i;
    return clean;
}

} // namespace LXDEncoding
