// Text conversions the tests of every folder share: UTF-8 in std::string to lxstring
// and back.
#ifndef WORDMERE_ENGINE_TESTS_LXTEST_TEXT_H
#define WORDMERE_ENGINE_TESTS_LXTEST_TEXT_H

#include <cstddef>
#include <string>

#include "base/lxstring.h"

// UTF-8 text as an lxstring of encoding 0 (a null pointer gives an empty string).
inline lxstring u8(const char *s)
{
    return lxstring(s, LXEncodingUtf8);
}

inline lxstring u8(const std::string &s)
{
    return lxstring(s.c_str(), LXEncodingUtf8);
}

// The content as UTF-8 bytes, whatever the string's encoding.
inline std::string text(const lxstring &s)
{
    lxstring c(s);
    c.setEncoding(LXEncodingUtf8);
    return std::string(c.c_str(), static_cast<size_t>(c.size()));
}

#endif
