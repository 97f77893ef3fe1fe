// Character classes, folding and collation ranks.
#include "base/lxchar.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

struct MapCase {
    uint32_t in;
    uint32_t out;
};

// The dictionary order as the engine documents it, written out group by group. The
// rank of a code point is its position here.
std::vector<uint32_t> generalOrder(bool norwegian)
{
    std::vector<uint32_t> v = {0, 167, 149};
    auto range = [&v](uint32_t a, uint32_t b) {
        for (uint32_t c = a; c <= b; ++c) v.push_back(c);
    };
    range(3, 47);
    range(58, 64);
    range(91, 93);
    v.push_back(95);
    v.push_back(96);
    range(123, 126);
    const std::vector<std::vector<uint32_t>> letters = {
        {65, 193, 192, 194, 196, 195, 197, 198}, {97, 225, 224, 226, 228, 227, 229, 230},
        {66, 98}, {67, 199, 99, 231}, {68, 100}, {69, 201, 200, 202, 203, 101, 233, 232, 234, 235},
        {70, 102}, {71, 103}, {72, 104}, {73, 205, 204, 206, 207, 105, 237, 236, 238, 239},
        {74, 106}, {75, 107}, {76, 108}, {77, 109}, {78, 209, 110, 241},
        {79, 211, 210, 212, 214, 213, 216, 140, 111, 243, 242, 244, 246, 245, 248, 156},
        {80, 112}, {81, 113}, {82, 114}, {83, 138, 115, 154, 223}, {84, 116},
        {85, 218, 217, 219, 220, 117, 250, 249, 251, 252}, {86, 118}, {87, 119}, {88, 120},
        {89, 221, 159, 121, 253, 255}, {90, 142, 122, 158}};
    const std::set<uint32_t> moved = {197, 198, 216, 229, 230, 248};
    for (const auto &group : letters)
        for (uint32_t c : group)
            if (!norwegian || !moved.count(c)) v.push_back(c);
    if (norwegian)
        for (uint32_t c : {198u, 230u, 216u, 248u, 197u, 229u}) v.push_back(c);
    v.push_back(94);
    range(48, 57);
    range(127, 137);
    v.push_back(139);
    v.push_back(141);
    range(143, 148);
    v.push_back(2);
    range(150, 153);
    v.push_back(155);
    v.push_back(157);
    range(160, 166);
    v.push_back(1);
    range(168, 191);
    for (uint32_t c : {208u, 215u, 222u, 240u, 247u, 254u}) v.push_back(c);
    return v;
}

TEST(LxChar, RankTablesFollowTheDocumentedOrder)
{
    for (bool norwegian : {false, true}) {
        SCOPED_TRACE(norwegian ? "language 7" : "general");
        std::vector<uint32_t> order = generalOrder(norwegian);
        ASSERT_EQ(order.size(), 256u);
        LXLanguage lang = norwegian ? LXNorwegian : LXEnglish;
        for (uint32_t rank = 0; rank < 256; ++rank) {
            // Signed bytes widened to 32 bits.
            uint32_t expected = rank < 128 ? rank : 0xFFFFFF00u | rank;
            EXPECT_EQ(lx_rank(order[rank], lang), expected) << "code point " << order[rank];
        }
        EXPECT_EQ(std::set<uint32_t>(order.begin(), order.end()).size(), 256u);
    }
}

TEST(LxChar, RankEdgeCases)
{
    EXPECT_EQ(lx_rank('0', LXLanguageNone), 0xFFFFFFB6u);
    EXPECT_EQ(lx_rank('9', LXLanguageNone), 0xFFFFFFBFu);
    EXPECT_EQ(lx_rank(0x430, LXLanguageNone), 0x430u);
    EXPECT_GT(lx_rank('0', LXLanguageNone), lx_rank(0x430, LXLanguageNone));
    EXPECT_GT(lx_rank(198, LXNorwegian), lx_rank('z', LXNorwegian));
    EXPECT_LT(lx_rank(198, LXLanguageNone), lx_rank('b', LXLanguageNone));
    // Only language 7 has its own table; everything else, unknown values too, is general.
    for (int lang : {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 255, 1000})
        for (uint32_t c = 0; c < 256; ++c)
            ASSERT_EQ(lx_rank(c, static_cast<LXLanguage>(lang)), lx_rank(c, LXLanguageNone));
    // Language 7: Æ æ Ø ø Å å follow ž, before ^.
    const uint32_t tail[] = {158, 198, 230, 216, 248, 197, 229, 94};
    for (size_t i = 0; i + 1 < sizeof tail / sizeof tail[0]; ++i)
        EXPECT_EQ(lx_rank(tail[i], LXNorwegian) + 1, lx_rank(tail[i + 1], LXNorwegian));
    EXPECT_EQ(lx_rank('^', LXNorwegian), lx_rank('^', LXLanguageNone));
}

TEST(LxChar, BaseLetters)
{
    const std::vector<std::pair<std::pair<uint32_t, uint32_t>, uint32_t>> ranges = {
        {{192, 198}, 'A'}, {{199, 199}, 'C'}, {{200, 203}, 'E'}, {{204, 207}, 'I'},
        {{209, 209}, 'N'}, {{210, 214}, 'O'}, {{217, 220}, 'U'}, {{221, 221}, 'Y'},
        {{224, 230}, 'a'}, {{231, 231}, 'c'}, {{232, 235}, 'e'}, {{236, 239}, 'i'},
        {{241, 241}, 'n'}, {{242, 246}, 'o'}, {{249, 252}, 'u'}, {{253, 253}, 'y'},
        {{255, 255}, 'y'}, {{138, 138}, 'S'}, {{140, 140}, 'O'}, {{154, 154}, 's'},
        {{156, 156}, 'o'}, {{159, 159}, 'Y'}};
    uint32_t expected[256];
    for (uint32_t c = 0; c < 256; ++c) expected[c] = c;
    for (const auto &r : ranges)
        for (uint32_t c = r.first.first; c <= r.first.second; ++c) expected[c] = r.second;
    for (uint32_t c = 0; c < 256; ++c) EXPECT_EQ(lx_base(c), expected[c]) << c;
    // Letters without an ASCII base keep themselves; above 255 nothing is mapped.
    for (uint32_t c : {216u, 248u, 208u, 240u, 222u, 254u, 223u, 142u, 158u, 0x100u, 0x152u, 0x10FFFFu})
        EXPECT_EQ(lx_base(c), c);
}

TEST(LxChar, CaseMapping)
{
    const MapCase lower[] = {
        {'A', 'a'}, {'Z', 'z'}, {'a', 'a'}, {'@', '@'}, {'[', '['}, {192, 224}, {215, 247},
        {222, 254}, {223, 223}, {138, 154}, {140, 156}, {142, 142}, {159, 255}, {0x152, 0x52},
        {0x153, 0x53}, {0x100, 0x00}, {0x1F600, 0x00}, {0xFFFFFFFFu, 0xFF}};
    for (const MapCase &m : lower) EXPECT_EQ(lx_tolower(m.in), m.out) << m.in;
    const MapCase upper[] = {
        {'a', 'A'}, {'z', 'Z'}, {'A', 'A'}, {'`', '`'}, {'{', '{'}, {224, 192}, {247, 215},
        {254, 222}, {223, 223}, {154, 138}, {156, 140}, {158, 158}, {255, 159}, {0x153, 0x153},
        {0x1F600, 0x1F600}};
    for (const MapCase &m : upper) EXPECT_EQ(lx_toupper(m.in), m.out) << m.in;
    // Every result of lx_tolower fits in a byte.
    for (uint32_t c = 0; c < 0x20000; c += 7) ASSERT_LT(lx_tolower(c), 256u);
}

TEST(LxChar, Classes)
{
    for (uint32_t c = 0; c < 0x200; ++c) {
        EXPECT_EQ(lx_isspace(c), c == 9 || c == 10 || c == 13 || c == 32) << c;
        EXPECT_EQ(lx_isdigit(c), c >= '0' && c <= '9') << c;
    }

    std::set<uint32_t> word = {39, 45, 140, 142, 156, 158, 338, 339};
    for (uint32_t c = 'A'; c <= 'Z'; ++c) word.insert(c);
    for (uint32_t c = 'a'; c <= 'z'; ++c) word.insert(c);
    for (uint32_t c = '0'; c <= '9'; ++c) word.insert(c);
    for (uint32_t c = 192; c <= 255; ++c)
        if (c != 215 && c != 247) word.insert(c);
    for (uint32_t c = 0; c < 0x400; ++c) EXPECT_EQ(lx_iswordchar(c), word.count(c) == 1) << c;
    EXPECT_FALSE(lx_iswordchar(138));
    EXPECT_TRUE(lx_iswordchar(140));

    struct ClassCase {
        uint32_t c;
        bool alpha;
        bool vowel;
    };
    const ClassCase cases[] = {
        {'a', true, true},    {'B', true, false},   {'Y', true, true},    {'z', true, false},
        {192, true, true},    {199, true, false},   {209, true, false},   {221, true, true},
        {255, true, true},    {138, true, false},   {140, true, true},    {156, true, true},
        {159, true, true},    {216, false, false},  {248, false, false},  {223, false, false},
        {208, false, false},  {222, false, false},  {142, false, false},  {158, false, false},
        {'1', false, false},  {'-', false, false},  {0x161, true, true},  {0x152, false, false},
        {0x162, true, false}, {0x1E9, false, false}, {0x141, false, false}};
    for (const ClassCase &k : cases) {
        EXPECT_EQ(lx_isalpha(k.c), k.alpha) << k.c;
        EXPECT_EQ(lx_isvowel(k.c), k.vowel) << k.c;
    }
    // Exactly the code points below 256 with an ASCII letter as base are letters.
    for (uint32_t c = 0; c < 256; ++c) {
        uint32_t b = lx_base(c);
        bool ascii = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        EXPECT_EQ(lx_isalpha(c), ascii) << c;
    }
}

TEST(LxChar, AccentsAndLigatures)
{
    const char plain[] = "AEIOUYaeiouy";
    const uint32_t acute[] = {193, 201, 205, 211, 218, 221, 225, 233, 237, 243, 250, 253};
    const uint32_t diaeresis[] = {196, 203, 207, 214, 220, 159, 228, 235, 239, 246, 252, 255};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(lx_toacute(uint32_t(plain[i])), acute[i]);
        EXPECT_EQ(lx_todiaeresis(uint32_t(plain[i])), diaeresis[i]);
    }
    for (uint32_t c : {uint32_t('b'), uint32_t('Z'), uint32_t('1'), 193u, 0x141u}) {
        EXPECT_EQ(lx_toacute(c), c);
        EXPECT_EQ(lx_todiaeresis(c), c);
    }

    struct Lig {
        uint32_t c;
        bool split;
        uint32_t first, second;
    };
    const Lig ligs[] = {{198, true, 'A', 'E'}, {223, true, 's', 's'}, {230, true, 'a', 'e'},
                        {338, true, 'O', 'E'}, {339, true, 'o', 'e'}, {140, false, 140, 0},
                        {156, false, 156, 0},  {'a', false, 'a', 0}};
    for (const Lig &l : ligs) {
        uint32_t f = 1, s = 1;
        EXPECT_EQ(lx_splitLigature(l.c, f, s), l.split) << l.c;
        EXPECT_EQ(f, l.first);
        EXPECT_EQ(s, l.second);
    }
}

} // namespace
