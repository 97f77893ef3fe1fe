// lxstring: storage and growth, the four encodings, editing, searching, hashing,
// formatting, streams and the dictionary collation.
#include "base/lxstring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

lxstring u8(const char *s)
{
    return lxstring(s, LXEncodingUtf8);
}

std::string bytesOf(const lxstring &s)
{
    return std::string(s.c_str(), static_cast<size_t>(s.size()));
}

std::vector<uint32_t> cps(const lxstring &s)
{
    std::vector<uint32_t> v;
    for (lxstring_iterator it = s.begin(); !it.isAtEnd(); ++it) v.push_back(*it);
    return v;
}

std::vector<uint32_t> cpsBackwards(const lxstring &s)
{
    std::vector<uint32_t> v;
    for (lxstring_reverse_iterator it = s.rbegin(); !it.isAtEnd(); ++it) v.push_back(*it);
    std::reverse(v.begin(), v.end());
    return v;
}

lxstring fromCps(const std::vector<uint32_t> &v, int enc, int order = 0)
{
    lxstring s(enc, order);
    for (uint32_t c : v) s += c;
    return s;
}

int sign(int v)
{
    return v > 0 ? 1 : v < 0 ? -1 : 0;
}

// ---------------------------------------------------------------------------
// Storage

TEST(LxString, GrowthDoublesFrom32)
{
    lxstring s;
    EXPECT_EQ(s.capacity(), 32);
    for (int i = 0; i < 31; ++i) s += uint32_t('x');
    EXPECT_EQ(s.capacity(), 32);   // 31 bytes and the terminator fill it exactly
    s += uint32_t('x');
    EXPECT_EQ(s.capacity(), 64);
    s += "0123456789012345678901234567890";   // 63 bytes
    EXPECT_EQ(s.capacity(), 64);
    s += uint32_t('y');
    EXPECT_EQ(s.capacity(), 128);
    EXPECT_EQ(s.size(), 64);
    EXPECT_EQ(s.length(), 64);

    // Two-byte units: the terminator is two bytes wide too.
    lxstring w(LXEncodingUnits16);
    for (int i = 0; i < 15; ++i) w += uint32_t('a');
    EXPECT_EQ(w.capacity(), 32);
    w += uint32_t('a');
    EXPECT_EQ(w.capacity(), 64);

    // The buffer never shrinks.
    s.clear();
    EXPECT_EQ(s.capacity(), 128);
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(s.c_str()[0], 0);
}

TEST(LxString, ImpossibleSizesAreRefused)
{
    lxstring s = u8("abc");
    const char big[8] = "xyz";
    s.append(big, 0x80000000u);   // beyond the largest buffer: refused, nothing read
    s.append(big, (1u << 30));
    EXPECT_EQ(bytesOf(s), "abc");
    EXPECT_EQ(s.length(), 3);
    EXPECT_FALSE(s.reallocate(-1, true));
    EXPECT_FALSE(s.reallocate(0x7FFFFFFF, true));
    EXPECT_EQ(bytesOf(s), "abc");
}

TEST(LxString, ConstructionMeasuresUpToTheEncodingsTerminator)
{
    // Encoding 1 stops at a zero two-byte unit, not at a zero byte.
    const char utf16be[] = {0, 'a', 0, 'b', 0, 0};
    lxstring a(utf16be, LXEncodingUnits16);
    EXPECT_EQ(a.size(), 4);
    EXPECT_EQ(a.length(), 2);
    EXPECT_EQ(cps(a), (std::vector<uint32_t>{'a', 'b'}));
    EXPECT_EQ(a.sizeWithNull(), 6);

    const char utf32le[] = {'x', 0, 0, 0, 0x01, 0x01, 0, 0, 0, 0, 0, 0};
    lxstring b(utf32le, LXEncodingUnits32, LXLeastSignificantFirst);
    EXPECT_EQ(cps(b), (std::vector<uint32_t>{'x', 0x101}));

    // UTF-8: the count is the number of bytes that are not continuation bytes.
    lxstring c = u8("h\xC3\xA9llo \xE2\x82\xAC");
    EXPECT_EQ(c.size(), 10);
    EXPECT_EQ(c.length(), 7);

    lxstring none(nullptr, LXEncodingUtf8);
    EXPECT_EQ(none.capacity(), 0);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.c_str()[0], 0);   // never a null pointer for callers
    EXPECT_TRUE(none.begin().isAtEnd());
    lxstring copy(none);
    EXPECT_EQ(copy.capacity(), 0);
    none += uint32_t('q');
    EXPECT_EQ(bytesOf(none), "q");
    EXPECT_EQ(none.capacity(), 32);
}

TEST(LxString, CopyAssignAndSwapKeepTheWholeState)
{
    lxstring a(LXEncodingUnits16, LXLeastSignificantFirst);
    a += uint32_t(0x20AC);
    for (int i = 0; i < 20; ++i) a += uint32_t('k');
    lxstring b(a);
    EXPECT_EQ(b.capacity(), a.capacity());
    EXPECT_EQ(b.getEncoding(), 1);
    EXPECT_EQ(b.getByteOrder(), 1);
    EXPECT_EQ(bytesOf(b), bytesOf(a));

    lxstring c = u8("zz");
    c = a;   // takes the encoding and byte order as well
    EXPECT_EQ(c.getEncoding(), 1);
    EXPECT_EQ(c.getByteOrder(), 1);
    EXPECT_EQ(cps(c), cps(a));
    c = c;
    EXPECT_EQ(cps(c), cps(a));

    lxstring d = u8("\xC3\xA9t\xC3\xA9");
    lxstring e(LXEncodingUnits32);
    e += uint32_t(0x1F600);
    d.swap(e);
    EXPECT_EQ(d.getEncoding(), 2);
    EXPECT_EQ(cps(d), (std::vector<uint32_t>{0x1F600}));
    EXPECT_EQ(e.getEncoding(), 0);
    EXPECT_EQ(cps(e), (std::vector<uint32_t>{0xE9, 't', 0xE9}));

    // A moved-from string is empty, without a buffer, and still usable.
    lxstring moved(std::move(d));
    EXPECT_EQ(cps(moved), (std::vector<uint32_t>{0x1F600}));
    EXPECT_TRUE(d.empty());
    EXPECT_EQ(d.capacity(), 0);
    d += uint32_t('k');
    EXPECT_EQ(bytesOf(d), "\0\0\0k"s);
    e = std::move(moved);
    EXPECT_EQ(e.getEncoding(), 2);
    EXPECT_EQ(cps(e), (std::vector<uint32_t>{0x1F600}));

    // Raw bytes and single code points take this string's encoding.
    lxstring f(LXEncodingUnits16, LXLeastSignificantFirst);
    f = "a\0b\0\0\0";
    EXPECT_EQ(cps(f), (std::vector<uint32_t>{'a', 'b'}));
    f = uint32_t(0x3A9);
    EXPECT_EQ(cps(f), (std::vector<uint32_t>{0x3A9}));
    EXPECT_EQ(bytesOf(f), std::string("\xA9\x03", 2));

    // Assigning a string's own bytes to it.
    const char *text = "self assignment through c_str, long enough to need a growth";
    lxstring g = u8(text);
    g = g.c_str() + 5;
    EXPECT_EQ(bytesOf(g), text + 5);
    g += g.c_str();
    EXPECT_EQ(bytesOf(g), std::string(text + 5) + (text + 5));
    EXPECT_EQ(g.length(), int32_t(2 * std::strlen(text + 5)));
}

// ---------------------------------------------------------------------------
// Encodings

TEST(LxString, Utf8WritesEveryLengthOfTheTable)
{
    struct Case {
        uint32_t cp;
        const char *bytes;
    };
    const Case cases[] = {
        {0x41, "\x41"},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x1F600, "\xF0\x9F\x98\x80"},
        {0x1FFFFF, "\xF7\xBF\xBF\xBF"},
        {0x200000, "\xF8\x88\x80\x80\x80"},
        {0x3FFFFFF, "\xFB\xBF\xBF\xBF\xBF"},
        {0x4000000, "\xFC\x84\x80\x80\x80\x80"},
        {0x7FFFFFFF, "\xFD\xBF\xBF\xBF\xBF\xBF"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.cp);
        lxstring s;
        s += c.cp;
        EXPECT_EQ(bytesOf(s), c.bytes);
        EXPECT_EQ(s.length(), 1);
        EXPECT_EQ(s[0], c.cp);
        lxstring back = u8(c.bytes);
        EXPECT_EQ(cps(back), (std::vector<uint32_t>{c.cp}));
        std::ostringstream os;
        lxstring::putChar(os, c.cp, LXEncodingUtf8, LXMostSignificantFirst);
        EXPECT_EQ(os.str(), c.bytes);
        std::istringstream is(c.bytes);
        uint32_t read = 0;
        EXPECT_TRUE(lxstring::getChar(is, read, LXEncodingUtf8, LXMostSignificantFirst));
        EXPECT_EQ(read, c.cp);
    }
    // The six-byte form has a single payload bit: bit 31 is lost.
    lxstring top;
    top += uint32_t(0xFFFFFFFF);
    EXPECT_EQ(top[0], 0x7FFFFFFFu);
}

TEST(LxString, ReencodingSizesAndTruncates)
{
    // A code point above U+FFFF needs four UTF-8 bytes; encoding 1 keeps its low 16 bits.
    lxstring s = u8("a\xF0\x9F\x98\x80z");
    EXPECT_EQ(s.size(), 6);
    EXPECT_EQ(s.length(), 3);
    lxstring w(s);
    w.setEncoding(LXEncodingUnits16);
    EXPECT_EQ(w.size(), 6);
    EXPECT_EQ(w.length(), 3);
    EXPECT_EQ(cps(w), (std::vector<uint32_t>{'a', 0xF600, 'z'}));
    w.setEncoding(LXEncodingUtf8);
    EXPECT_EQ(bytesOf(w), "a\xEF\x98\x80z");

    lxstring one(s);
    one.setEncoding(LXEncodingBytes);
    EXPECT_EQ(bytesOf(one), std::string("a\x00z", 3));

    // Unknown encodings and the current one are ignored.
    lxstring same(s);
    same.setEncoding(7);
    same.setEncoding(-1);
    same.setEncoding(LXEncodingUtf8);
    EXPECT_EQ(bytesOf(same), bytesOf(s));

    // Growth on re-encoding doubles the current capacity.
    lxstring big;
    for (int i = 0; i < 20; ++i) big += uint32_t('m');
    big.setEncoding(LXEncodingUnits32);   // 80 bytes + 4
    EXPECT_EQ(big.capacity(), 128);
    EXPECT_EQ(big.size(), 80);
    big.setEncoding(LXEncodingUnits16);   // narrower: stays
    EXPECT_EQ(big.capacity(), 128);
    EXPECT_EQ(cps(big), std::vector<uint32_t>(20, 'm'));
}

TEST(LxString, ByteOrderSwapsEveryUnit)
{
    lxstring s(LXEncodingUnits16);
    s += uint32_t('a');
    s += uint32_t('b');
    EXPECT_EQ(bytesOf(s), std::string("\x00\x61\x00\x62", 4));
    s.setByteOrder(1);
    EXPECT_EQ(bytesOf(s), std::string("\x61\x00\x62\x00", 4));
    EXPECT_EQ(cps(s), (std::vector<uint32_t>{'a', 'b'}));
    s.setByteOrder(1);
    EXPECT_EQ(bytesOf(s), std::string("\x61\x00\x62\x00", 4));

    lxstring q(LXEncodingUnits32, LXLeastSignificantFirst);
    q += uint32_t(0x01020304);
    EXPECT_EQ(bytesOf(q), "\x04\x03\x02\x01");
    q.setByteOrder(0);
    EXPECT_EQ(bytesOf(q), "\x01\x02\x03\x04");
    EXPECT_EQ(q[0], 0x01020304u);

    lxstring u = u8("\xC3\xA9");
    u.setByteOrder(1);   // only the flag
    EXPECT_EQ(bytesOf(u), "\xC3\xA9");
    EXPECT_EQ(u.getByteOrder(), 1);
}

TEST(LxString, ReencodingRoundTripsEveryEncodingOnRandomCodePoints)
{
    std::mt19937 rng(12345);
    const uint32_t maxOf[4] = {0x7FFFFFFF, 0xFFFF, 0xFFFFFFFF, 0xFF};
    for (int from = 0; from < 4; ++from) {
        for (int to = 0; to < 4; ++to) {
            for (int order = 0; order < 2; ++order) {
                SCOPED_TRACE(testing::Message() << from << " -> " << to << " order " << order);
                uint32_t limit = std::min(maxOf[from], maxOf[to]);
                std::vector<uint32_t> v;
                for (int i = 0; i < 300; ++i) {
                    // Mix lengths: small values are as likely as large ones.
                    uint32_t bits = rng() % 32 + 1;
                    uint32_t cp = bits >= 32 ? uint32_t(rng()) : uint32_t(rng()) & ((1u << bits) - 1);
                    v.push_back(cp > limit ? cp & limit : cp);
                }
                lxstring s = fromCps(v, from, order);
                ASSERT_EQ(cps(s), v);
                ASSERT_EQ(cpsBackwards(s), v);
                s.setEncoding(to);
                ASSERT_EQ(s.getEncoding(), to);
                ASSERT_EQ(s.length(), 300);
                ASSERT_EQ(cps(s), v);
                // Bytes are exactly what appending the code points in that encoding writes.
                ASSERT_EQ(bytesOf(s), bytesOf(fromCps(v, to, order)));
                s.setEncoding(from);
                ASSERT_EQ(cps(s), v);
                ASSERT_EQ(s.c_str()[s.size()], 0);
            }
        }
    }
}

TEST(LxString, ShellRoundTripThroughUtf16)
{
    // The shell's conversion: switch to two-byte units, least significant byte first.
    lxstring s = u8("\xC3\x86r\xC3\xB8 \xE2\x82\xAC!");
    lxstring copy(s);
    copy.setEncoding(LXEncodingUnits16);
    copy.setByteOrder(1);
    const uint16_t expected[] = {0xC6, 'r', 0xF8, ' ', 0x20AC, '!', 0};
    ASSERT_EQ(copy.sizeWithNull(), int32_t(sizeof expected));
    for (size_t i = 0; i < 7; ++i) {
        const unsigned char *p = reinterpret_cast<const unsigned char *>(copy.c_str()) + 2 * i;
        EXPECT_EQ(p[0] | (p[1] << 8), expected[i]);
    }
    lxstring back(LXEncodingUtf8);
    back.setEncoding(LXEncodingUnits16);
    back.setByteOrder(1);
    back = copy.c_str();
    back.setEncoding(LXEncodingUtf8);
    back.setByteOrder(0);
    EXPECT_EQ(bytesOf(back), bytesOf(s));
}

// ---------------------------------------------------------------------------
// Malformed UTF-8

// Each case is padded in front to 31 bytes so that the content ends right before the
// terminator at the end of the 32-byte buffer: a read past the content is a read past
// the allocation, which the sanitizer build reports.
TEST(LxString, MalformedUtf8StaysInsideTheBuffer)
{
    struct Case {
        std::string tail;
        std::vector<uint32_t> decoded;   // code points of the tail
    };
    const Case cases[] = {
        {"\xC3", {0xC0}},                                // two-byte lead, cut short
        {"\xE2\x82", {0x2080}},                          // three-byte lead, one byte short
        {"\xF0\x9F\x98", {0x1F600 & ~0x3Fu}},            // four-byte lead, one short
        {"\xF8", {0}},                                   // five-byte lead alone
        {"\xFC\x80", {0}},                               // six-byte lead, four short
        {"\xFD", {0x40000000}},
        {"\xFE", {0}},
        {"\xFF\xFE", {0, 0}},
        {"\xFEz", {0, 'z'}},
        {"\xC3(", {0xC0, '('}},                          // a lead cut short by the next code point
        {"\xE2(\x82", {0x2000, '('}},
        {"x\x80\x80\xBF", {'x'}},                        // stray continuation bytes are skipped
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.tail));
        std::string text = std::string(31 - c.tail.size(), 'p') + c.tail;
        lxstring s = u8(text.c_str());
        ASSERT_EQ(s.size(), 31);
        ASSERT_EQ(s.capacity(), 32);
        std::vector<uint32_t> want(31 - c.tail.size(), 'p');
        want.insert(want.end(), c.decoded.begin(), c.decoded.end());
        EXPECT_EQ(cps(s), want);
        EXPECT_EQ(cpsBackwards(s), want);
        EXPECT_EQ(s.length(), int32_t(want.size()));
        EXPECT_EQ(s[-1], want.back());
        EXPECT_EQ(s.chop(), want.back());
        s = u8(text.c_str());
        for (int e : {1, 2, 3, 0}) {
            lxstring t(s);
            t.setEncoding(e);
            std::vector<uint32_t> masked = want;
            for (uint32_t &m : masked) m &= e == 1 ? 0xFFFF : e == 3 ? 0xFF : 0xFFFFFFFF;
            EXPECT_EQ(cps(t), masked);
        }
        lxstring low(s);
        low.tolower();
        low.strip();
        EXPECT_EQ(s.compare(s, true, false, LXLanguageNone), 0);
        EXPECT_EQ(s.hash(397), lxstring(s).hash(397));
        EXPECT_TRUE(s.find(uint32_t(0xFFFFFF)).isAtEnd());
        EXPECT_EQ(s.substr(20).length(), int32_t(want.size()) - 20);
    }

    // Leading continuation bytes belong to no code point.
    lxstring lead = u8("\x80\xBF" "ab");
    EXPECT_EQ(lead.length(), 2);
    EXPECT_EQ(cps(lead), (std::vector<uint32_t>{'a', 'b'}));
    EXPECT_EQ(lead[0], uint32_t('a'));
    lxstring only = u8("\x80\x81");
    EXPECT_TRUE(only.empty());
    EXPECT_TRUE(only.begin().isAtEnd());
    EXPECT_TRUE(only.rbegin().isAtEnd());
    EXPECT_EQ(only.chop(), 0u);
}

TEST(LxString, PartialUnitsAndStaleCountsAfterAppend)
{
    // append() copies raw bytes and leaves the count alone; walks still stop at the
    // content end, and a half unit is no code point.
    lxstring w(LXEncodingUnits16);
    w += uint32_t('a');
    w.append("\x00\x62\x00", 3);
    EXPECT_EQ(w.size(), 5);
    EXPECT_EQ(w.length(), 1);
    EXPECT_EQ(cps(w), (std::vector<uint32_t>{'a', 'b'}));
    w.setEncoding(LXEncodingUtf8);
    EXPECT_EQ(bytesOf(w), "ab");

    lxstring u = u8("ok");
    u.append("\xE2\x82", 2);   // a sequence cut short: the caller completes it
    EXPECT_EQ(u.length(), 2);
    EXPECT_EQ(u.size(), 4);
    u.append("\xAC", 1);
    EXPECT_EQ(cps(u).back(), 0x20ACu);
    EXPECT_EQ(u.c_str()[u.size()], 0);
}

// ---------------------------------------------------------------------------
// Appending and editing

TEST(LxString, Appending)
{
    lxstring s = u8("abc");
    s += s;   // a string appended to itself: nothing happens
    EXPECT_EQ(bytesOf(s), "abc");
    s += lxstring();
    EXPECT_EQ(bytesOf(s), "abc");

    s += uint32_t(0);   // a counted zero code point, then the terminator
    EXPECT_EQ(s.length(), 4);
    EXPECT_EQ(s.size(), 4);
    EXPECT_EQ(s[3], 0u);
    s += "d";
    EXPECT_EQ(bytesOf(s), std::string("abc\0d", 5));
    EXPECT_EQ(s.length(), 5);

    // Another encoding or byte order is converted before it is appended.
    lxstring t(LXEncodingUnits32, LXLeastSignificantFirst);
    t += uint32_t(0xE9);
    t += uint32_t(0x20AC);
    lxstring u = u8("x");
    u += t;
    EXPECT_EQ(bytesOf(u), "x\xC3\xA9\xE2\x82\xAC");
    lxstring be(LXEncodingUnits16), le(1, 1);
    be += uint32_t('Q');
    le += uint32_t(0x263A);
    be += le;
    EXPECT_EQ(cps(be), (std::vector<uint32_t>{'Q', 0x263A}));

    lxstring sum = u8("ab") + u8("cd") + "ef" + char(0xE9);
    EXPECT_EQ(bytesOf(sum), "abcdef\xC3\xA9");
    EXPECT_EQ(sum.length(), 7);
}

TEST(LxString, InsertEraseReplaceByIterator)
{
    lxstring s = u8("h\xC3\xA9llo");
    lxstring_iterator it = s.begin();
    ++it;
    s.insert(it, uint32_t(0x20AC));
    EXPECT_EQ(bytesOf(s), "h\xE2\x82\xAC\xC3\xA9llo");
    s.insert(s.end(), "!");
    EXPECT_EQ(bytesOf(s), "h\xE2\x82\xAC\xC3\xA9llo!");
    s.insert(s.begin(), s);   // into itself: nothing
    EXPECT_EQ(s.length(), 7);

    it = s.begin();
    it += 2;
    s.erase(it);   // é
    EXPECT_EQ(bytesOf(s), "h\xE2\x82\xACllo!");
    s.erase(s.end());
    EXPECT_EQ(s.length(), 6);
    it = s.begin();
    it += 4;
    s.erase(it, 10);   // fewer at the end
    EXPECT_EQ(bytesOf(s), "h\xE2\x82\xAC" "ll");

    lxstring r = u8("one two three");
    lxstring_iterator a = r.find(u8("two"));
    lxstring_iterator b = a;
    b += 3;
    r.replace(a, b, u8("2"));
    EXPECT_EQ(bytesOf(r), "one 2 three");
    a = r.find(uint32_t('t'));
    r.replace(a, r.end(), "3");   // last at the end reaches to the end
    EXPECT_EQ(bytesOf(r), "one 2 3");
    r.replace(r.find(uint32_t('2')), r.begin(), "X");   // last before first: unchanged
    EXPECT_EQ(bytesOf(r), "one 2 3");
    r.replace(r.begin(), 3, uint32_t(0x2460));
    EXPECT_EQ(bytesOf(r), "\xE2\x91\xA0 2 3");

    // Reverse iterators name the same positions.
    lxstring v = u8("abcd");
    lxstring_reverse_iterator rb = v.rbegin();
    v.insert(rb, uint32_t('X'));   // before the last code point
    EXPECT_EQ(bytesOf(v), "abcXd");
    rb = v.rbegin();
    ++rb;
    v.erase(rb);
    EXPECT_EQ(bytesOf(v), "abcd");
    lxstring_reverse_iterator first = v.rbegin();
    ++first;   // c
    lxstring_reverse_iterator last = v.rbegin();   // d
    v.replace(first, last, "C");
    EXPECT_EQ(bytesOf(v), "abCd");
}

TEST(LxString, ForeignIteratorsLeaveTheStringUnchanged)
{
    lxstring s = u8("abc"), other = u8("abc");
    lxstring_iterator foreign = other.begin();
    s.insert(foreign, "X");
    s.erase(foreign);
    s.erase(foreign, 2);
    s.replace(foreign, other.end(), "X");
    s.replace(s.begin(), other.end(), "X");
    s.replace(foreign, 1, uint32_t('X'));
    s.setAt(foreign, 'X');
    s.insert(lxstring_iterator(), "X");
    EXPECT_EQ(bytesOf(s), "abc");
    EXPECT_TRUE(s.substr(foreign, s.end()).empty());
    EXPECT_TRUE(s.find(foreign, uint32_t('a')).isAtEnd());
    // A forged position that is no code point of the string is refused as well.
    s.insert(lxstring_iterator(&s, 17, 1), "X");
    s.erase(lxstring_iterator(&s, -5, 0));
    EXPECT_EQ(bytesOf(s), "abc");
}

TEST(LxString, IndexForms)
{
    struct Case {
        int32_t index, n;
        const char *expected;
    };
    const Case replaces[] = {
        {-2, 1, "abXd"},   // the second-to-last code point
        {0, 1, "Xbcd"},    {1, 2, "aXd"},     {3, 5, "abcX"},  {4, 1, "abcdX"},
        {-4, 1, "Xbcd"},   {-5, 1, "abcd"},   {5, 1, "abcd"},  {1, 0, "abcd"},
        {1, -1, "abcd"},
    };
    for (const Case &c : replaces) {
        SCOPED_TRACE(testing::Message() << c.index << "," << c.n);
        lxstring s = u8("abcd");
        s.replace(c.index, c.n, "X");
        EXPECT_EQ(bytesOf(s), c.expected);
        lxstring t = u8("abcd");
        t.replace(c.index, c.n, u8("X"));
        EXPECT_EQ(bytesOf(t), c.expected);
        lxstring v = u8("abcd");
        v.replace(c.index, c.n, uint32_t('X'));
        EXPECT_EQ(bytesOf(v), c.expected);
    }

    const Case erases[] = {{0, 1, "bcd"}, {1, 2, "ad"}, {2, 9, "ab"}, {4, 1, "abcd"},
                           {0, 0, "abcd"}, {-1, 1, "abc"}, {-9, 1, "abcd"}};
    for (const Case &c : erases) {
        lxstring s = u8("abcd");
        s.erase(c.index, c.n);
        EXPECT_EQ(bytesOf(s), c.expected) << c.index << "," << c.n;
    }

    lxstring s = u8("\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(s[0], 0xE9u);
    EXPECT_EQ(s[-1], 0xE9u);   // the last code point
    EXPECT_EQ(s[-3], 0xE9u);
    EXPECT_EQ(s[1], uint32_t('t'));
    EXPECT_EQ(s[3], 0u);       // operator[](count) is 0
    EXPECT_EQ(s[-4], 0u);
    s.setAt(1, 0x1F600);
    EXPECT_EQ(bytesOf(s), "\xC3\xA9\xF0\x9F\x98\x80\xC3\xA9");
    s.setAt(3, 'x');
    s.setAt(-1, 'x');
    EXPECT_EQ(s.length(), 3);
    s.setAt(s.begin(), 'E');
    EXPECT_EQ(bytesOf(s), "E\xF0\x9F\x98\x80\xC3\xA9");
    EXPECT_EQ(s.chop(), 0xE9u);
    EXPECT_EQ(s.chop(), 0x1F600u);
    EXPECT_EQ(s.chop(), uint32_t('E'));
    EXPECT_EQ(s.chop(), 0u);
    EXPECT_TRUE(s.empty());

    lxstring t = u8("dictionary");
    EXPECT_EQ(bytesOf(t.substr(4, 3)), "ion");
    EXPECT_EQ(bytesOf(t.substr(4)), "ionary");
    EXPECT_EQ(bytesOf(t.substr(8, 9)), "ry");
    EXPECT_TRUE(t.substr(10).empty());
    EXPECT_TRUE(t.substr(11, 2).empty());
    lxstring_iterator a = t.begin(), b = t.begin();
    a += 2;
    b += 5;
    EXPECT_EQ(bytesOf(t.substr(a, b)), "cti");
    EXPECT_EQ(bytesOf(t.substr(b, t.end())), "onary");
    lxstring wide(LXEncodingUnits32, LXLeastSignificantFirst);
    wide = "a\0\0\0b\0\0\0c\0\0\0\0\0\0\0";
    lxstring part = wide.substr(1, 1);
    EXPECT_EQ(part.getEncoding(), 2);
    EXPECT_EQ(part.getByteOrder(), 1);
    EXPECT_EQ(cps(part), (std::vector<uint32_t>{'b'}));
}

// ---------------------------------------------------------------------------
// Iterators

TEST(LxString, ForwardIteratorWalk)
{
    lxstring s = u8("a\xC3\xA9\xE2\x82\xAC");
    lxstring_iterator it = s.begin();
    EXPECT_TRUE(it.isAtBeginning());
    EXPECT_EQ(*it, uint32_t('a'));
    ++it;
    EXPECT_EQ(it.getByteIndex(), 1);
    EXPECT_EQ(it.getCharIndex(), 1);
    EXPECT_EQ(*it++, 0xE9u);
    EXPECT_EQ(*it, 0x20ACu);
    EXPECT_EQ(it.getByteIndex(), 3);
    ++it;
    EXPECT_TRUE(it.isAtEnd());
    EXPECT_EQ(it, s.end());
    EXPECT_EQ(it.getByteIndex(), 6);   // the byte length at the end
    EXPECT_EQ(it.getCharIndex(), 3);
    EXPECT_EQ(*it, 0u);
    ++it;
    EXPECT_TRUE(it.isAtEnd());   // stays
    --it;                        // from the end to the last code point
    EXPECT_EQ(*it, 0x20ACu);
    EXPECT_EQ(it.getCharIndex(), 2);
    it -= 5;                     // stays on the first
    EXPECT_TRUE(it.isAtBeginning());
    EXPECT_EQ(*it, uint32_t('a'));
    it += -1;
    EXPECT_EQ(it, s.begin());
    it += 2;
    EXPECT_EQ(*it, 0x20ACu);
    EXPECT_TRUE(s.begin() < it);
    EXPECT_FALSE(it < s.begin());
    EXPECT_FALSE(it < u8("abc").end());   // different strings are not ordered
    it.moveToEnd();
    EXPECT_TRUE(it.isAtEnd());
    it.moveToBeginning();
    EXPECT_EQ(it, s.begin());

    lxstring empty;
    EXPECT_EQ(empty.begin(), empty.end());
    EXPECT_TRUE(empty.end().isAtBeginning());
    lxstring_iterator e = empty.end();
    --e;
    EXPECT_TRUE(e.isAtEnd());
    lxstring_iterator none;
    EXPECT_TRUE(none.isAtEnd());
    EXPECT_TRUE(none.isAtBeginning());
    ++none;
    --none;
    EXPECT_EQ(*none, 0u);
}

TEST(LxString, ReverseIteratorWalk)
{
    lxstring s(LXEncodingUnits16, LXLeastSignificantFirst);
    for (uint32_t c : {uint32_t('x'), 0x3B1u, uint32_t('z')}) s += c;
    lxstring_reverse_iterator it = s.rbegin();
    EXPECT_TRUE(it.isAtBeginning());
    EXPECT_EQ(*it, uint32_t('z'));
    EXPECT_EQ(it.getCharIndex(), 2);
    EXPECT_EQ(it.getByteIndex(), 4);
    --it;   // at the last code point it stays
    EXPECT_EQ(*it, uint32_t('z'));
    ++it;
    EXPECT_FALSE(it.isAtBeginning());
    EXPECT_EQ(*it, 0x3B1u);
    EXPECT_TRUE(s.rbegin() < it);
    it++;
    EXPECT_EQ(*it, uint32_t('x'));
    lxstring_iterator fwd = it;   // keeps the position
    EXPECT_EQ(fwd, s.begin());
    ++it;
    EXPECT_TRUE(it.isAtEnd());
    EXPECT_EQ(it, s.rend());
    --it;   // from the end to the first code point
    EXPECT_EQ(*it, uint32_t('x'));
    EXPECT_EQ(it.getCharIndex(), 0);
    it -= 10;
    EXPECT_EQ(it, s.rbegin());
    it.moveToEnd();
    it.moveToBeginning();
    EXPECT_EQ(it, s.rbegin());

    lxstring empty;
    EXPECT_EQ(empty.rbegin(), empty.rend());
    EXPECT_TRUE(empty.rbegin().isAtBeginning());
}

// ---------------------------------------------------------------------------
// Searching

TEST(LxString, FindAndRfind)
{
    lxstring s = u8("abc\xC3\xA9" "abc\xC3\xA9");
    EXPECT_EQ(s.find(u8("c\xC3\xA9")).getCharIndex(), 2);
    EXPECT_EQ(s.rfind(u8("c\xC3\xA9")).getCharIndex(), 6);
    EXPECT_EQ(s.find("b").getCharIndex(), 1);
    EXPECT_EQ(s.rfind("b").getCharIndex(), 5);
    EXPECT_EQ(s.find(uint32_t(0xE9)).getCharIndex(), 3);
    EXPECT_EQ(s.rfind(uint32_t(0xE9)).getCharIndex(), 7);
    EXPECT_TRUE(s.find(u8("cb")).isAtEnd());
    EXPECT_TRUE(s.rfind(uint32_t('z')).isAtEnd());
    EXPECT_TRUE(s.find(u8("\xC3\xA9" "abc\xC3\xA9X")).isAtEnd());   // runs off the end

    lxstring_iterator from = s.find(uint32_t('c'));
    ++from;
    EXPECT_EQ(s.find(from, uint32_t('c')).getCharIndex(), 6);
    EXPECT_EQ(s.find(from, "abc").getCharIndex(), 4);
    EXPECT_EQ(s.find(from, u8("\xC3\xA9")).getCharIndex(), 3);
    EXPECT_TRUE(s.find(s.end(), uint32_t('a')).isAtEnd());

    // An empty needle matches at the first position tried.
    EXPECT_EQ(s.find(lxstring()), s.begin());
    EXPECT_EQ(s.rfind(lxstring()).getCharIndex(), 7);
    EXPECT_TRUE(lxstring().find(lxstring()).isAtEnd());

    // Exact code points: the needle's encoding does not matter, Latin-1 é is not "e".
    lxstring needle(LXEncodingUnits32, LXLeastSignificantFirst);
    needle += uint32_t('c');
    needle += uint32_t(0xE9);
    EXPECT_EQ(s.find(needle).getCharIndex(), 2);
    EXPECT_TRUE(s.find(uint32_t('e')).isAtEnd());
    lxstring narrow(LXEncodingUnits16);
    narrow += uint32_t(0xF600);
    EXPECT_TRUE(narrow.find(uint32_t(0x1F600)).isAtEnd());
    EXPECT_FALSE(narrow.find(uint32_t(0xF600)).isAtEnd());
}

// ---------------------------------------------------------------------------
// Hash, numbers, folding

TEST(LxString, Hash)
{
    EXPECT_EQ(lxstring().hash(397), 0u);
    EXPECT_EQ(u8("a").hash(397), 97u);
    // Rotation is 32-bit on every build.
    EXPECT_EQ(u8("abcdefghij\xC3\xA9").hash(0xFFFFFFFFu), 517208750u % 0xFFFFFFFFu);
    EXPECT_EQ(u8("abcdefghij\xC3\xA9").hash(397), 326u);
    EXPECT_EQ(u8("abcdefghij\xC3\xA9").hash(0), 517208750u);
    // The encoding does not matter, only the code points.
    lxstring w(LXEncodingUnits32, LXLeastSignificantFirst);
    w += "a\0\0\0\0\0\0";   // one unit, then a zero unit
    EXPECT_EQ(w.hash(397), 97u);
    // Strings equal under == hash alike.
    EXPECT_EQ(u8("stra\xC3\x9F" "e").hash(397), u8("strasse").hash(397));
    EXPECT_EQ(u8("\xC3\x86" "ble").hash(401), u8("AEble").hash(401));
    EXPECT_NE(u8("ab").hash(0), u8("ba").hash(0));
}

TEST(LxString, IntValue)
{
    struct Case {
        const char *text;
        int32_t value;
    };
    const Case cases[] = {{"-42x", -42}, {"x1", 0},   {"", 0},       {"-", 0},
                          {"123", 123}, {"007", 7},  {"12 34", 12}, {"--1", 0},
                          {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}};
    for (const Case &c : cases) EXPECT_EQ(u8(c.text).getIntValue(), c.value) << c.text;
    lxstring w(LXEncodingUnits16, LXLeastSignificantFirst);
    w += "-\0" "9\0" "9\0\0\0";
    EXPECT_EQ(w.getIntValue(), -99);
}

TEST(LxString, CaseBaseAndStrip)
{
    lxstring s = u8("\xC3\x89t\xC3\xA9 \xC5\x92uvre \xC3\x9F");
    lxstring lower(s);
    lower.tolower();
    // U+0152 comes back as its low byte "R" (lower-casing is 8-bit).
    EXPECT_EQ(bytesOf(lower), "\xC3\xA9t\xC3\xA9 Ruvre \xC3\x9F");
    lxstring upper(s);
    upper.toupper();
    EXPECT_EQ(bytesOf(upper), "\xC3\x89T\xC3\x89 \xC5\x92UVRE \xC3\x9F");
    lxstring base(s);
    base.tobase();
    EXPECT_EQ(bytesOf(base), "Ete \xC5\x92uvre \xC3\x9F");

    lxstring t = u8("it's a well-known (test)!");
    t.strip();
    EXPECT_EQ(bytesOf(t), "it's a well-known test");
    lxstring u = u8("\ttab\xC5\xA0\xC5\x93 x\n");   // Š is no word character, œ is
    u.strip();
    EXPECT_EQ(bytesOf(u), "tab\xC5\x93 x");

    // Folding keeps the encoding and the byte order.
    lxstring w(LXEncodingUnits16, LXLeastSignificantFirst);
    w += uint32_t('A');
    w += uint32_t(0xC0);
    w.tolower();
    EXPECT_EQ(bytesOf(w), std::string("a\0\xE0\0", 4));
}

TEST(LxString, AppendFormat)
{
    lxstring s = u8("n=");
    s.appendFormat("%d-%s%%", 7, "ab");
    EXPECT_EQ(bytesOf(s), "n=7-ab%");

    lxstring t;
    t.appendFormat("%c%c|%f|%x%", 0xE9, 0x20AC, 1.5);   // %x stands for itself; a final % is dropped
    EXPECT_EQ(bytesOf(t), "\xC3\xA9\xE2\x82\xAC|1.500000|x");

    lxstring u;
    u.appendFormat("%s", "\xC3\xA9t\xC3\xA9");   // the argument is UTF-8
    EXPECT_EQ(u.length(), 3);
    u.appendFormat("\xE9");                      // format bytes are code points of their own
    EXPECT_EQ(cps(u), (std::vector<uint32_t>{0xE9, 't', 0xE9, 0xE9}));

    lxstring w(LXEncodingUnits16, LXLeastSignificantFirst);
    w += uint32_t('<');
    w.appendFormat("%d%s>", -12, "\xE2\x82\xAC");
    EXPECT_EQ(w.getEncoding(), 1);
    EXPECT_EQ(w.getByteOrder(), 1);
    EXPECT_EQ(cps(w), (std::vector<uint32_t>{'<', '-', '1', '2', 0x20AC, '>'}));
}

// ---------------------------------------------------------------------------
// Streams

TEST(LxString, StreamOutputAndDump)
{
    lxstring w(LXEncodingUnits16);
    w += uint32_t(0x20AC);
    std::ostringstream os;
    os << w;
    EXPECT_EQ(os.str(), "\x20\xAC");
    std::ostringstream d;
    u8("a\xC3\xA9").dump(d);
    EXPECT_EQ(d.str(), "\\x61\\xc3\\xa9");
    std::ostringstream p;
    lxstring::putChar(p, 0x1F600, LXEncodingUnits32, LXLeastSignificantFirst);
    lxstring::putChar(p, 0x1F600, LXEncodingUnits16, LXLeastSignificantFirst);
    lxstring::putChar(p, 0x1F600, LXEncodingBytes, LXMostSignificantFirst);
    EXPECT_EQ(p.str(), std::string("\x00\xF6\x01\x00\x00\xF6\x00", 7));
}

TEST(LxString, Getline)
{
    std::istringstream in("first line\nsecond \xC3\xA9\n\nlast");
    lxstring s = u8("old");
    std::vector<std::string> lines;
    while (getline(in, s, '\n')) lines.push_back(bytesOf(s));
    EXPECT_EQ(lines, (std::vector<std::string>{"first line", "second \xC3\xA9", "", "last"}));
    EXPECT_TRUE(s.empty());

    // Long lines go through the chunk several times.
    std::string longLine;
    for (int i = 0; i < 1000; ++i) longLine += i % 2 ? "\xC3\xA9" : "a";
    std::istringstream lin(longLine + "|rest");
    lxstring l;
    getline(lin, l, '|');
    EXPECT_EQ(bytesOf(l), longLine);
    EXPECT_EQ(l.length(), 1000);
    getstring(lin, l);
    EXPECT_EQ(bytesOf(l), "rest");

    // In two-byte units, least significant byte first.
    std::string utf16("a\0b\0\0\0c\0", 8);
    std::istringstream win(utf16);
    lxstring w(LXEncodingUnits16, LXLeastSignificantFirst);
    getstring(win, w);
    EXPECT_EQ(cps(w), (std::vector<uint32_t>{'a', 'b'}));
    getstring(win, w);
    EXPECT_EQ(cps(w), (std::vector<uint32_t>{'c'}));
    EXPECT_FALSE(getstring(win, w));

    // A sequence cut short by the end of the stream is dropped; one cut short by the
    // next code point ends there, as in the buffer.
    std::istringstream cut("ok\xE2\x82");
    lxstring c;
    getline(cut, c);
    EXPECT_EQ(bytesOf(c), "ok");
    std::istringstream early("\xC3z\xC3\xA9");
    getline(early, c);
    EXPECT_EQ(cps(c), (std::vector<uint32_t>{0xC0, 'z', 0xE9}));
}

TEST(LxString, ReadWords)
{
    std::istringstream in("alpha beta\t\xC3\xA9t\xC3\xA9\n  x");
    std::vector<std::string> words;
    lxstring w;
    while (in >> w) {
        words.push_back(bytesOf(w));
        w.clear();
    }
    // A blank read first ends the word at once.
    EXPECT_EQ(words, (std::vector<std::string>{"alpha", "beta", "\xC3\xA9t\xC3\xA9", "", "", "x"}));

    std::istringstream more("tail end");
    lxstring acc = u8("head-");
    more >> acc;   // appends, does not clear
    EXPECT_EQ(bytesOf(acc), "head-tail");
}

// ---------------------------------------------------------------------------
// Collation

TEST(LxString, CollationCases)
{
    struct Case {
        const char *a, *b;
        int expected;   // a.compare(b, 0)
    };
    const Case cases[] = {
        {"stra\xC3\x9F" "e", "strasse", 0},
        {"\xC3\x86" "ble", "AEble", 0},
        {"\xC5\x92uvre", "OEuvre", 0},
        {"\xC5\x93uvre", "oeuvre", 0},
        {"Apple", "apple", -1},        // capital before small of the same base
        {"zoo", "2nd", -1},            // letters before digits
        {"b", "C", -1},
        {"resume", "r\xC3\xA9sum\xC3\xA9", -1},   // unaccented before accented
        {"r\xC3\xA9sum\xC3\xA9", "resumes", -1},  // the base letters decide first
        {"abc", "ab", 1},
        {"", "", 0},
        {"", "a", -1},
        {"a", "", 1},
        {"A", "\xC3\x81", -1},
        {"\xC3\x81", "a", -1},         // Á before a: the rank order A Á À Â Ä Ã Å Æ a
        {"Zebra", "\xC3\x86r\xC3\xB8", 1},
        {"a b", "ab", -1},             // a blank ranks before every letter
        {"a-b", "a b", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " / " << c.b);
        lxstring a = u8(c.a), b = u8(c.b);
        EXPECT_EQ(a.compare(b, LXLanguageNone), c.expected);
        EXPECT_EQ(b.compare(a, LXLanguageNone), -c.expected);
        EXPECT_EQ(a == b, c.expected == 0);
        EXPECT_EQ(a != b, c.expected != 0);
        EXPECT_EQ(a < b, c.expected < 0);
        EXPECT_EQ(a <= b, c.expected <= 0);
        EXPECT_EQ(a > b, c.expected > 0);
        EXPECT_EQ(a >= b, c.expected >= 0);
        EXPECT_EQ(a < c.b, c.expected < 0);
        EXPECT_EQ(c.a < b, c.expected < 0);
        EXPECT_EQ(a == c.b, c.expected == 0);
        EXPECT_EQ(c.a != b, c.expected != 0);
        EXPECT_EQ(a.compare(c.b), c.expected);
    }

    // Language 7 puts Æ Ø Å after Z; elsewhere they sort under A and O.
    lxstring ae = u8("\xC3\x86r\xC3\xB8"), zebra = u8("Zebra"), oslo = u8("\xC3\x98sterdal");
    EXPECT_EQ(ae.compare(zebra, LXNorwegian), -1);   // primary keys a vs z still decide
    EXPECT_EQ(u8("\xC3\x86").compare(u8("Z"), true, true, LXNorwegian), -1);
    EXPECT_EQ(u8("\xC3\x98").compare(u8("Z"), LXNorwegian), 1);
    EXPECT_EQ(u8("\xC3\x98").compare(u8("Z"), LXLanguageNone), -1);
    EXPECT_EQ(oslo.compare(u8("Oslo"), LXNorwegian), 1);
    // Å has the base letter A, so only its own rank moves: after a in language 7.
    EXPECT_EQ(u8("\xC3\x85").compare(u8("a"), LXNorwegian), 1);
    EXPECT_EQ(u8("\xC3\x85").compare(u8("a"), LXLanguageNone), -1);
    EXPECT_EQ(u8("\xC3\x85").compare(u8("\xC3\x98"), LXNorwegian), -1);

    // A code point of 256 and more ranks as itself, after every letter, before digits.
    lxstring cyr(LXEncodingUnits32);
    cyr += uint32_t(0x430);
    EXPECT_EQ(cyr.compare(u8("0"), false, false, LXLanguageNone), -1);
}

TEST(LxString, CompareFlags)
{
    struct Case {
        const char *a, *b;
        bool ignoreCase, baseOnly;
        int expected;
    };
    const Case cases[] = {
        {"abc", "ABC", true, false, 0},
        {"abc", "ABC", false, false, 1},          // base keys differ in case: a ranks after A
        {"r\xC3\xA9sum\xC3\xA9", "resume", false, true, 0},    // base only: accents ignored
        {"r\xC3\xA9sum\xC3\xA9", "resume", false, false, 1},
        {"R\xC3\xA9sum\xC3\xA9", "resume", true, true, 0},
        {"R\xC3\xA9sum\xC3\xA9", "resume", false, true, -1},
        {"stra\xC3\x9F" "e", "STRASSE", true, false, 0},
        {"stra\xC3\x9F" "e", "strasse", false, false, 0},
        {"\xC3\xA9", "\xC3\x89", true, false, 0},
        {"ab", "abc", true, true, -1},
        {"b", "a", true, true, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " / " << c.b << " " << c.ignoreCase << c.baseOnly);
        EXPECT_EQ(u8(c.a).compare(u8(c.b), c.ignoreCase, c.baseOnly, LXLanguageNone), c.expected);
        EXPECT_EQ(u8(c.b).compare(u8(c.a), c.ignoreCase, c.baseOnly, LXLanguageNone), -c.expected);
    }
    // compare(const char*) reads the bytes in this string's encoding.
    lxstring w(LXEncodingUnits16);
    w += uint32_t('a');
    EXPECT_EQ(w.compare(std::string("\0a\0\0", 4).c_str()), 0);
}

// Random Latin-1/1252 text drawn from letters that collide under the collation:
// accents, case, ligatures and their spelled-out letters.
std::vector<lxstring> randomWords(std::mt19937 &rng, int count, int encoding)
{
    const uint32_t alphabet[] = {'a', 'A', 'e', 'E', 's', 'S', 'o', 'O', 'z', 0xE6, 0xC6,
                                 0xDF, 0xE9, 0xC9, 0xE0, 0x8C, 0x9C, 0x8A, 0x9A, 0x9F,
                                 0xFF, 0xD8, 0xF8, 0xC5, 0xE5, '1', '9', ' ', '-', 0xD0,
                                 0xFE, 0x152, 0x153, 0xB7};
    const size_t n = sizeof alphabet / sizeof alphabet[0];
    std::vector<lxstring> v;
    for (int i = 0; i < count; ++i) {
        lxstring s(encoding, i & 1);
        int len = int(rng() % 5);
        for (int k = 0; k < len; ++k) {
            uint32_t c = alphabet[rng() % n];
            if (encoding == 3 && c > 255) c = 'e';
            s += c;
        }
        v.push_back(s);
    }
    return v;
}

TEST(LxString, CollationIsAConsistentTotalOrder)
{
    std::mt19937 rng(2024);
    for (int encoding : {0, 3}) {
        SCOPED_TRACE(encoding);
        std::vector<lxstring> words = randomWords(rng, 3000, encoding);
        std::sort(words.begin(), words.end(),
                  [](const lxstring &a, const lxstring &b) { return a < b; });
        for (size_t i = 0; i + 1 < words.size(); ++i)
            ASSERT_TRUE(words[i] <= words[i + 1]) << i;
        // Equal strings are adjacent: once a run of equals ends, none comes back.
        for (size_t i = 0; i < words.size(); ++i) {
            size_t j = i + 1;
            while (j < words.size() && words[j] == words[i]) ++j;
            for (size_t k = j; k < words.size(); ++k)
                ASSERT_FALSE(words[k] == words[i]) << i << " " << k;
        }
    }
}

// The comparison against a sort key built independently of it: case-free base letters
// by rank, then the exact characters by rank, both after the ligature split.
std::pair<std::vector<uint32_t>, std::vector<uint32_t>> sortKey(const lxstring &s,
                                                                LXLanguage lang)
{
    std::vector<uint32_t> split;
    for (uint32_t c : cps(s)) {
        uint32_t f, g;
        if (lx_splitLigature(c, f, g)) {
            split.push_back(f);
            split.push_back(g);
        } else {
            split.push_back(c);
        }
    }
    std::pair<std::vector<uint32_t>, std::vector<uint32_t>> key;
    for (uint32_t c : split) key.first.push_back(lx_rank(lx_tolower(lx_base(c)), lang));
    for (uint32_t c : split) key.second.push_back(lx_rank(c, lang));
    return key;   // compared level by level, each level lexicographically (unsigned)
}

TEST(LxString, CollationMatchesAnIndependentSortKey)
{
    std::mt19937 rng(77);
    std::vector<lxstring> words = randomWords(rng, 400, 0);
    for (LXLanguage lang : {LXLanguageNone, LXNorwegian}) {
        std::vector<std::pair<std::vector<uint32_t>, std::vector<uint32_t>>> keys;
        for (const lxstring &w : words) keys.push_back(sortKey(w, lang));
        for (size_t i = 0; i < words.size(); ++i) {
            for (size_t j = 0; j < words.size(); ++j) {
                int expected = keys[i] < keys[j] ? -1 : keys[j] < keys[i] ? 1 : 0;
                ASSERT_EQ(sign(words[i].compare(words[j], lang)), expected)
                    << i << " " << j << " lang " << lang;
            }
        }
    }
}

} // namespace
