#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/lxstring.h"
#include "base/lxutilities.h"
#include "testing/lxtest_files.h"

namespace {

lxstring utf8(const char *s) { return lxstring(s, LXEncodingUtf8); }

std::string bytesOf(const lxstring &s) { return std::string(s.c_str(), static_cast<size_t>(s.size())); }

TEST(LXUtilities, StringToLanguage)
{
    struct Case {
        const char *text;
        LXLanguage expected;
    };
    const Case cases[] = {
        {"Deutsch", LXGerman},       {"Thesaurus", LXSynonyms}, {"Espa\xC3\xB1ol", LXSpanish},
        {"Esperanto", LXEsperanto},  {"French", LXFrench},      {"Swedish", LXLanguageNone},
        {"ENGLISH", LXEnglish},      {"spanish", LXSpanish},    {"German", LXGerman},
        {"Portugu\xC3\xAAs", LXPortuguese}, {"Norsk", LXNorwegian}, {"latin", LXLatin},
        {"Russian", LXRussian},      {"nl", LXDutch},           {"Dutch", LXDutch},
        {"synonyms", LXSynonyms},    {"Italiano", LXItalian},   {"", LXLanguageNone},
        {"e", LXLanguageNone},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LXUtilities::stringToLanguage(utf8(c.text)), c.expected) << c.text;

    // Text in another encoding is re-encoded before the test.
    lxstring wide(utf8("Esperanto"));
    wide.setEncoding(LXEncodingUnits16);
    wide.setByteOrder(1);
    EXPECT_EQ(LXUtilities::stringToLanguage(wide), LXEsperanto);
}

TEST(LXUtilities, LanguageNamesAndCodes)
{
    struct Case {
        int language;
        const char *name;
        const char *code;
    };
    const Case cases[] = {
        {0, "", ""},           {1, "English", "en"},       {2, "French", "fr"},    {3, "Spanish", "es"},
        {4, "German", "de"},   {5, "Italian", "it"},       {6, "Portuguese", "po"}, {7, "Norwegian", "no"},
        {8, "Latin", "la"},    {9, "Esperanto", "esper"},  {10, "Russian", "ru"},  {11, "Dutch", "nl"},
        {12, "", ""},          {255, "Synonyms", ""},      {-1, "", ""},
    };
    for (const Case &c : cases) {
        lxstring name = utf8("old"), code = utf8("old");
        LXUtilities::languageToEnglishString(static_cast<LXLanguage>(c.language), name);
        LXUtilities::languageToAbbreviation(static_cast<LXLanguage>(c.language), code);
        EXPECT_EQ(bytesOf(name), c.name) << c.language;
        EXPECT_EQ(bytesOf(code), c.code) << c.language;
    }
    // The result keeps the target's encoding.
    lxstring wide(LXEncodingUnits16, LXLeastSignificantFirst);
    LXUtilities::languageToEnglishString(LXFrench, wide);
    EXPECT_EQ(wide.getEncoding(), 1);
    EXPECT_EQ(wide.length(), 6);
    EXPECT_EQ(wide[0], uint32_t('F'));

    LXLanguage a = LXSynonyms, b = LXFrench;
    LXUtilities::sortLanguages(a, b);
    EXPECT_EQ(a, LXFrench);
    EXPECT_EQ(b, LXSynonyms);
    sortLanguages(a, b);
    EXPECT_EQ(a, LXFrench);
}

TEST(LXUtilities, ReverseAndTrim)
{
    lxstring s = utf8("ab\xE2\x88\xAB\xF0\x9F\x98\x80");
    LXUtilities::reverse(s);
    EXPECT_EQ(bytesOf(s), "\xF0\x9F\x98\x80\xE2\x88\xAB" "ba");
    EXPECT_EQ(s.length(), 4);

    lxstring w = utf8("xyz");
    w.setEncoding(LXEncodingUnits32);
    w.setByteOrder(1);
    reverse(w);
    EXPECT_EQ(w.getEncoding(), 2);
    EXPECT_EQ(w.getByteOrder(), 1);
    EXPECT_EQ(std::string(w.c_str(), 12), std::string("z\0\0\0y\0\0\0x\0\0\0", 12));

    struct Case {
        const char *in, *out;
    };
    const Case cases[] = {
        {"  a b \t", "a b"}, {"\r\n\t ", ""}, {"", ""}, {"x", "x"}, {"\n\xC3\xA9t\xC3\xA9\n", "\xC3\xA9t\xC3\xA9"},
        {"a\xC2\xA0", "a\xC2\xA0"}, // no-break space is not a blank here
    };
    for (const Case &c : cases) {
        lxstring t = utf8(c.in);
        trim(t);
        EXPECT_EQ(bytesOf(t), c.out) << '"' << c.in << '"';
        EXPECT_EQ(t.length(), utf8(c.out).length());
    }
}

TEST(LXUtilities, ReplaceAll)
{
    struct Case {
        const char *text, *from, *to, *expected;
    };
    const Case cases[] = {
        {"<N> of <N>", "<N>", "10", "10 of 10"},
        {"aaa", "a", "aa", "aaaaaa"}, // resumes after the inserted text: no endless growth
        {"aaaa", "aa", "b", "bb"},
        {"abc", "", "x", "abc"},
        {"abc", "b", "b", "abc"},
        {"abc", "b", "", "ac"},
        {"abc", "x", "y", "abc"},
        {"caf\xC3\xA9 caf\xC3\xA9", "\xC3\xA9", "e", "cafe cafe"},
        {"", "a", "b", ""},
    };
    for (const Case &c : cases) {
        lxstring s = utf8(c.text);
        replaceAll(s, c.from, c.to);
        EXPECT_EQ(bytesOf(s), c.expected) << c.text << " / " << c.from << " / " << c.to;
    }
    lxstring s = utf8("abc");
    replaceAll(s, nullptr, "x");
    replaceAll(s, "a", nullptr);
    EXPECT_EQ(bytesOf(s), "abc");

    lxstring wide = utf8("1 <N> 2");
    wide.setEncoding(LXEncodingUnits16);
    replaceAll(wide, "<N>", "ten");
    wide.setEncoding(LXEncodingUtf8);
    EXPECT_EQ(bytesOf(wide), "1 ten 2");
}

TEST(LXUtilities, BigEndianBuffers)
{
    unsigned char b[9] = {0};
    unsigned char *p = LXUtilities::writeInt16ToBuffer(b, 0x12345678);
    p = LXUtilities::writeInt24ToBuffer(p, 0xAABBCCDD);
    p = writeInt32ToBuffer(p, 0xFEDCBA98);
    EXPECT_EQ(p, b + 9);
    const unsigned char expected[9] = {0x56, 0x78, 0xBB, 0xCC, 0xDD, 0xFE, 0xDC, 0xBA, 0x98};
    EXPECT_EQ(std::memcmp(b, expected, 9), 0);
    EXPECT_EQ(LXUtilities::readInt16FromBuffer(b), 0x5678u);
    EXPECT_EQ(LXUtilities::readInt24FromBuffer(b + 2), 0xBBCCDDu);
    EXPECT_EQ(readInt32FromBuffer(b + 5), 0xFEDCBA98u);
    EXPECT_EQ(LXUtilities::readInt16FromBuffer(nullptr), 21345u);
    EXPECT_EQ(LXUtilities::readInt24FromBuffer(nullptr), 21345u);
    EXPECT_EQ(LXUtilities::readInt32FromBuffer(nullptr), 21345u);
    EXPECT_EQ(LXUtilities::writeInt32ToBuffer(nullptr, 1), nullptr);
}

TEST(LXUtilities, WriteStringToBuffer)
{
    struct Case {
        const char *text;
        int encoding;
        uint32_t cp, max;
        std::string expected;
    };
    const Case cases[] = {
        {"abc", 0, 0, 0, std::string("abc\0", 4)},
        {"abc", 0, 1, 0, std::string("abc\x01", 4)},
        {"abc", 0, 0, 4, std::string("abc\0", 4)},
        {"abcd", 0, 0, 4, std::string("abc\0", 4)},
        // Cut at a character boundary, never inside the two bytes of é.
        {"ab\xC3\xA9", 0, 0, 4, std::string("ab\0", 3)},
        {"ab", 1, 0, 5, std::string("\0a\0\0", 4)},
        {"ab", 1, 0, 0, std::string("\0a\0b\0\0", 6)},
        {"ab", 0, 0, 1, std::string("\0", 1)},
    };
    for (const Case &c : cases) {
        lxstring s = utf8(c.text);
        s.setEncoding(c.encoding);
        unsigned char buf[16];
        std::memset(buf, 0xEE, sizeof buf);
        unsigned char *end = writeStringToBuffer(buf, s, c.cp, c.max);
        EXPECT_EQ(std::string(reinterpret_cast<char *>(buf), static_cast<size_t>(end - buf)), c.expected)
            << c.text << " max " << c.max;
        EXPECT_EQ(buf[end - buf], 0xEE) << "nothing written past the returned position";
        if (c.max) {
            EXPECT_LE(static_cast<uint32_t>(end - buf), c.max);
        }
    }
    unsigned char buf[4] = {9, 9, 9, 9};
    lxstring w = utf8("a");
    w.setEncoding(LXEncodingUnits32);
    EXPECT_EQ(writeStringToBuffer(buf, w, 0, 3), buf) << "not even the terminator fits";
    EXPECT_EQ(buf[0], 9);
}

TEST(LXUtilities, BigEndianStreams)
{
    std::stringstream ss;
    EXPECT_TRUE(LXUtilities::writeInt16(ss, 0x1234));
    EXPECT_TRUE(LXUtilities::writeInt24(ss, 0x56789A));
    EXPECT_TRUE(LXUtilities::writeInt32(ss, 0xBCDEF012));
    EXPECT_EQ(ss.str(), std::string("\x12\x34\x56\x78\x9A\xBC\xDE\xF0\x12", 9));
    uint32_t a = 1, b = 1, c = 1, d = 1;
    EXPECT_TRUE(LXUtilities::readInt16(ss, a));
    EXPECT_TRUE(LXUtilities::readInt24(ss, b));
    EXPECT_TRUE(LXUtilities::readInt32(ss, c));
    EXPECT_EQ(a, 0x1234u);
    EXPECT_EQ(b, 0x56789Au);
    EXPECT_EQ(c, 0xBCDEF012u);
    EXPECT_FALSE(LXUtilities::readInt16(ss, d));
    EXPECT_EQ(d, 0u);
    std::stringstream shortStream(std::string("\x01\x02", 2));
    d = 7;
    EXPECT_FALSE(LXUtilities::readInt24(shortStream, d)) << "a short read fails";
    EXPECT_EQ(d, 0u);
}

TEST(LXUtilities, Base255)
{
    struct Case {
        uint32_t n, encoded;
    };
    const Case cases[] = {
        {0, 0x01010101}, {1, 0x01010102}, {254, 0x010101FF}, {255, 0x01010201}, {65025, 0x01020101},
        {16581375, 0x02010101}, {4228250624u, 0xFFFFFFFF},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(intToBase255(c.n), c.encoded) << c.n;
        EXPECT_EQ(base255ToInt(c.encoded), c.n) << c.n;
    }
    // No byte is ever 0, over a spread of values.
    for (uint32_t n = 0; n < 4228250624u; n += 999983u) {
        uint32_t v = LXUtilities::intToBase255(n);
        for (int s = 0; s < 32; s += 8)
            ASSERT_NE((v >> s) & 0xFF, 0u) << n;
        ASSERT_EQ(LXUtilities::base255ToInt(v), n);
    }
    EXPECT_EQ(intToBase255(0xFFFFFFFFu), 0xFFFFFFFFu) << "beyond the range: the largest value";
    EXPECT_EQ(base255ToInt(0x00000000), 0u) << "zero bytes do not wrap";
}

TEST(LXUtilities, PalmDBName)
{
    struct Case {
        int a, b;
        uint32_t flags;
        bool additions;
        const char *expected;
    };
    const Case cases[] = {
        {1, 2, 0, false, "lxd-english-french"},
        {1, 1, 2, true, "lxd-english-definitions-medical-addns"},
        {1, 255, 0, false, "lxd-english-synonyms"},
        {4, 6, 1, true, "lxd-german-portuguese-addns"},
        {9, 11, 3, false, "lxd-esperanto-dutch-medical"},
    };
    for (const Case &c : cases) {
        lxstring name(LXEncodingUnits16, LXLeastSignificantFirst);
        getPalmDBName(name, static_cast<LXLanguage>(c.a), static_cast<LXLanguage>(c.b), c.flags, c.additions);
        EXPECT_EQ(name.getEncoding(), 0);
        EXPECT_EQ(bytesOf(name), c.expected);
    }
}

class MakeSpaceInFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = testRunFolder() + "wordmere_makespace_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bin";
    }
    void TearDown() override { std::remove(path_.c_str()); }

    std::string run(const std::string &initial, int32_t gap, int32_t position, bool *moved)
    {
        {
            std::ofstream out(path_, std::ios::binary | std::ios::trunc);
            out << initial;
        }
        {
            std::fstream f(path_, std::ios::in | std::ios::out | std::ios::binary);
            *moved = makeSpaceInFile(f, gap, position);
        }
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::string path_;
};

TEST_F(MakeSpaceInFile, OpensAGapThatKeepsTheOldBytes)
{
    struct Case {
        std::string initial;
        int32_t gap, position;
        bool moved;
        std::string expected;
    };
    const Case cases[] = {
        {"0123456789", 4, 2, true, "01234523456789"},
        {"0123456789", 3, 0, true, "0120123456789"},
        {"0123456789", 4, 9, true, std::string("012345678") + std::string("9\0\0\0", 4) + "9"},
        {"0123456789", 1, 5, true, "01234556789"},
        {"0123456789", 0, 2, false, "0123456789"},
        {"0123456789", -3, 2, false, "0123456789"},
        {"0123456789", 4, 10, false, "0123456789"},
        {"0123456789", 4, -1, false, "0123456789"},
    };
    for (const Case &c : cases) {
        bool moved = false;
        EXPECT_EQ(run(c.initial, c.gap, c.position, &moved), c.expected) << c.gap << " at " << c.position;
        EXPECT_EQ(moved, c.moved);
    }
}

TEST_F(MakeSpaceInFile, LargeFileAndGapLargerThanTheTail)
{
    std::string initial;
    for (int i = 0; i < 300000; ++i)
        initial += static_cast<char>('a' + i % 26);
    for (int32_t gap : {7, 70000, 400000}) {
        bool moved = false;
        std::string got = run(initial, gap, 1000, &moved);
        ASSERT_TRUE(moved);
        ASSERT_EQ(got.size(), initial.size() + static_cast<size_t>(gap)) << "the file grows by the gap, exactly";
        EXPECT_EQ(got.substr(0, 1000), initial.substr(0, 1000));
        EXPECT_EQ(got.substr(1000 + static_cast<size_t>(gap)), initial.substr(1000)) << gap;
    }
}

} // namespace
