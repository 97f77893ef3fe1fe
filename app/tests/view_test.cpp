// The main view's rules: dictionary command ids, history texts, the list proportion and the
// search types of the modes.
#include "lxview.h"
#include <gtest/gtest.h>

namespace {

TEST(DictionaryCommand, EncodesAndDecodes) {
    struct {
        int l1, l2, product, id;
    } cases[] = {
        {1, 255, 10, 20000 + 1 + 13 * 12 + 169 * 10},  // the thesaurus language
        {1, 2, 10, 20000 + 1 + 26 + 1690},
        {4, 1, 0, 20000 + 4 + 13},
        {0, 0, 0, 20000},  // "Other...": the module download
    };
    for (auto& c : cases) {
        EXPECT_EQ(dictionaryCommandId(c.l1, c.l2, c.product), c.id);
        int a = -1, b = -1, p = -1;
        ASSERT_TRUE(decodeDictionaryCommand(c.id, a, b, p));
        EXPECT_EQ(a, c.l1);
        EXPECT_EQ(b, c.l2);
        EXPECT_EQ(p, c.product);
    }
    int a, b, p;
    EXPECT_FALSE(decodeDictionaryCommand(19999, a, b, p));
    EXPECT_FALSE(decodeDictionaryCommand(25000, a, b, p));
}

TEST(ViewRules, HistoryTextsAndListShare) {
    struct {
        const wchar_t *a, *b;
        bool oneAtEnd;
    } texts[] = {{L"ab", L"abc", true}, {L"abc", L"ab", true}, {L"ab", L"ax", false}, {L"ab", L"ab", false},
                 {L"", L"a", true},     {L"ab", L"xab", false}, {L"ab", L"abcd", false}};
    for (auto& t : texts) EXPECT_EQ(differsByLastCharacter(t.a, t.b), t.oneAtEnd) << t.a << " " << t.b;
    struct {
        int stored, percent;
    } shares[] = {{0, 65}, {5, 10}, {10, 10}, {50, 50}, {90, 90}, {95, 90}, {-3, 10}};
    for (auto& s : shares) EXPECT_EQ(clampedMainListPercent(s.stored), s.percent) << s.stored;
    EXPECT_EQ(searchTypeOfMode(1), 2);
    EXPECT_EQ(searchTypeOfMode(2), 1);
    EXPECT_EQ(searchTypeOfMode(3), 3);
}

}  // namespace
