#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/lxtokenizer.h"
#include "testing/lxtest_text.h"

namespace {

std::vector<std::string> keysOf(const LXTokenizer &t, LXLanguage lang, const char *s, int32_t *count = nullptr)
{
    LXList<lxstring> keys;
    int32_t n = -1;
    t.makeKeys(keys, n, lang, u8(s));
    if (count)
        *count = n;
    std::vector<std::string> out;
    for (LXList<lxstring>::iterator it = keys.begin(); !it.isAtEnd(); ++it)
        out.push_back(text(*it));
    return out;
}

class Tokenizer : public ::testing::Test {
protected:
    void SetUp() override { t.reset(LXTokenizer::create()); ASSERT_TRUE(t); }
    std::unique_ptr<LXTokenizer> t;
};

TEST_F(Tokenizer, CutsTokensAtNonWordCharactersAndElisions)
{
    // start index and token for each step through the text
    struct { const char *text; std::vector<std::pair<int, std::string>> tokens; } cases[] = {
        {"l'homme", {{0, "l"}, {2, "homme"}}},
        {"  one's  (well-known)!", {{2, "one's"}, {10, "well-known"}}},
        {"'tis", {{0, "'"}, {1, "tis"}}},          // a leading apostrophe stands alone
        {"a'", {{0, "a"}}},
        {"--x", {{0, "--x"}}},                     // hyphens are word characters
        {"\xC3\xA9t\xC3\xA9 \xC5\x93uvre", {{0, "\xC3\xA9t\xC3\xA9"}, {4, "\xC5\x93uvre"}}},
        {"?!", {}},
        {"", {}},
    };
    for (auto &c : cases) {
        lxstring s = u8(c.text), token;
        lxstring_iterator pos = s.begin();
        std::vector<std::pair<int, std::string>> got;
        int32_t start;
        while ((start = t->nextToken(pos, token)) >= 0)
            got.emplace_back(start, text(token));
        EXPECT_EQ(got, c.tokens) << c.text;
        EXPECT_TRUE(token.empty());
    }
}

TEST_F(Tokenizer, ChoosesSignificantWordsAsKeys)
{
    struct { LXLanguage lang; const char *text; std::vector<std::string> keys; int tokens; } cases[] = {
        {LXEnglish, "to run", {"run"}, 2},
        {LXEnglish, "run out of steam", {"run", "out", "steam"}, 4},
        {LXEnglish, "The End", {"The", "End"}, 2},                // stop words match exactly
        {LXEnglish, "the end", {"end"}, 2},
        {LXEnglish, "of the", {"of"}, 2},                         // only stop words: the first
        {LXEnglish, "a b c", {"a"}, 3},                           // one letter: only as fallback
        {LXEnglish, "x marks the spot", {"marks", "spot"}, 4},
        {LXEnglish, "-able", {"-able"}, 1},                       // a hyphen word only as fallback
        {LXEnglish, "so-and-so and so-and-so", {"so-and-so"}, 3}, // no duplicates
        {LXEnglish, "one's own", {"own"}, 2},
        {LXFrench, "l'homme", {"homme"}, 2},
        {LXFrench, "\xC3\xAAtre ou ne pas \xC3\xAAtre", {"ou", "ne", "pas"}, 5},
        {LXGerman, "Der Hund", {"Hund"}, 2},
        {LXGerman, "der Hund", {"Hund"}, 2},
        {LXGerman, "DER Hund", {"DER", "Hund"}, 2},
        {LXSpanish, "sin embargo", {"embargo"}, 2},
        {LXItalian, "fra poco", {"poco"}, 2},
        {LXPortuguese, "isso mesmo", {"mesmo"}, 2},
        {LXEnglish, "le chat", {"le", "chat"}, 2},                // another language's stop word
        {LXNorwegian, "the end", {"the", "end"}, 2},              // no stop words at all
        {LXEnglish, "...", {}, 0},
    };
    for (auto &c : cases) {
        int32_t n = -1;
        EXPECT_EQ(keysOf(*t, c.lang, c.text, &n), c.keys) << c.text;
        EXPECT_EQ(n, c.tokens) << c.text;
    }
}

TEST_F(Tokenizer, KeyPositionsAreTheStartsOfTheKeys)
{
    LXList<LXPair<lxstring, uint32_t>> keys;
    int32_t n = 0;
    t->makeKeyPositions(keys, n, LXEnglish, u8("to be or not to be"));
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(text(keys[0].first), "or");
    EXPECT_EQ(keys[0].second, 6u);
    EXPECT_EQ(text(keys[1].first), "not");
    EXPECT_EQ(keys[1].second, 9u);
    EXPECT_EQ(n, 6);
    t->makeKeyPositions(keys, n, LXEnglish, u8("  of the"));
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(text(keys[0].first), "of");
    EXPECT_EQ(keys[0].second, 2u);
}

TEST_F(Tokenizer, SearchKeyIsTheFirstKeyOrTheTextItself)
{
    EXPECT_EQ(text(t->searchKey(u8("to give up"), LXEnglish)), "give");
    EXPECT_EQ(text(t->searchKey(u8("..."), LXEnglish)), "...");
    // Text of another encoding gives the same key.
    lxstring wide = u8("to go");
    wide.setEncoding(LXEncodingUnits16);
    EXPECT_EQ(text(t->searchKey(wide, LXEnglish)), "go");
    EXPECT_TRUE(t->isStopWord(wide.substr(0, 2), LXEnglish));
}

TEST(TokenizerHashKey, EqualityHashAndOrder)
{
    LXTokenizerHashKey a("der", LXGerman), b("Der", LXGerman), c("der", LXEnglish), d("der", LXGerman);
    EXPECT_TRUE(a == d);
    EXPECT_FALSE(a == b);
    EXPECT_FALSE(a == c);
    EXPECT_TRUE(c < a);   // language first
    EXPECT_EQ(a.hash(401), d.hash(401));
    EXPECT_LT(a.hash(401), 401u);
    // ("a", English): hash of "a" is 97; XOR (1 | 1 << 8) = 257 ^ 97 = 352.
    EXPECT_EQ(LXTokenizerHashKey("a", LXEnglish).hash(401), 352u);
}

} // namespace
