// The builder's texts are UTF-8 std::strings; the engine's are lxstrings.
#ifndef WORDMERE_TOOLS_LXCBUILD_UTF8TEXT_H
#define WORDMERE_TOOLS_LXCBUILD_UTF8TEXT_H

#include <string>

#include "base/lxstring.h"

inline lxstring utf8(const std::string &s)
{
    return lxstring(s.c_str(), LXEncodingUtf8);
}

inline std::string bytes(const lxstring &s)
{
    lxstring t = s;
    t.setEncoding(LXEncodingUtf8);
    return std::string(t.c_str(), t.size());
}

#endif
