// Arbitrary bytes through the UTF-8 reading and re-encoding paths of lxstring: the
// constructor, raw append, iteration both ways, indexing, re-encoding to every
// encoding and back, collation, hashing, searching, editing and stream reading.
// Invariants that must hold for any input are checked with __builtin_trap.
#include "base/lxstring.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

void check(bool ok)
{
    if (!ok) __builtin_trap();
}

std::vector<uint32_t> forward(const lxstring &s)
{
    std::vector<uint32_t> v;
    for (lxstring_iterator it = s.begin(); !it.isAtEnd(); ++it) v.push_back(*it);
    return v;
}

std::vector<uint32_t> backward(const lxstring &s)
{
    std::vector<uint32_t> v;
    for (lxstring_reverse_iterator it = s.rbegin(); !it.isAtEnd(); ++it) v.insert(v.begin(), *it);
    return v;
}

void exercise(const lxstring &s)
{
    std::vector<uint32_t> cps = forward(s);
    check(backward(s) == cps);
    check(int32_t(cps.size()) == s.length());
    if (!cps.empty()) {
        check(s[0] == cps.front());
        check(s[-1] == cps.back());
        check(s[int32_t(cps.size() / 2)] == cps[cps.size() / 2]);
    }

    // Every encoding and back: UTF-8 holds 31 bits, so a second trip changes nothing.
    for (int e = 1; e <= 3; ++e) {
        lxstring t(s);
        t.setEncoding(e);
        check(t.length() == s.length());
        uint32_t mask = e == 1 ? 0xFFFF : e == 3 ? 0xFF : 0xFFFFFFFF;
        std::vector<uint32_t> got = forward(t);
        check(got.size() == cps.size());
        for (size_t i = 0; i < got.size(); ++i) check(got[i] == (cps[i] & mask));
        t.setByteOrder(1);
        t.setEncoding(LXEncodingUtf8);
        lxstring u(t);
        u.setEncoding(LXEncodingUnits32);
        u.setEncoding(LXEncodingUtf8);
        check(std::memcmp(u.c_str(), t.c_str(), size_t(t.sizeWithNull())) == 0);
    }

    lxstring copy(s);
    check(copy.compare(s, LXLanguageNone) == 0);
    check(copy.compare(s, true, false, LXNorwegian) == 0);
    check(s.hash(397) < 397);
    lxstring lower(s);
    lower.tolower();
    lower.strip();
    check(lower.compare(s, LXLanguageNone) == -s.compare(lower, LXLanguageNone));
    if (s.length() > 2) {
        lxstring part = s.substr(1, 2);
        check(!s.find(part).isAtEnd());
        check(!s.rfind(part).isAtEnd());
    }
    copy.erase(0, 1);
    bool replaced = copy.length() > 0;
    copy.replace(-1, 1, "xy");
    copy.insert(copy.begin(), uint32_t(0x20AC));
    check(copy[0] == 0x20AC);
    if (replaced) check(copy.chop() == 'y' && copy.chop() == 'x');
    (void)copy.getIntValue();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Text up to the first zero byte, the way callers hand raw UTF-8 over.
    std::string text(reinterpret_cast<const char *>(data), size);
    lxstring s(text.c_str(), LXEncodingUtf8);
    exercise(s);

    // The same bytes, zeros included, through append: the count is the caller's to keep,
    // but nothing may read past the content.
    lxstring raw;
    raw.append(reinterpret_cast<const char *>(data), uint32_t(size));
    for (lxstring_iterator it = raw.begin(); !it.isAtEnd(); ++it) (void)*it;
    lxstring rawCopy(raw);
    rawCopy.setEncoding(LXEncodingUnits32);
    rawCopy.setEncoding(LXEncodingUtf8);

    // Stream reading in every encoding and byte order.
    for (int e = 0; e < 4; ++e) {
        for (int order = 0; order < 2; ++order) {
            std::istringstream in(text);
            lxstring line(e, order);
            int guard = 0;
            while (getline(in, line, '\n') && ++guard < 10000) {
                if (e == 0) exercise(line);
            }
            std::istringstream words(text);
            lxstring w(e, order);
            while (words >> w && ++guard < 20000) w.clear();
        }
    }
    return 0;
}
