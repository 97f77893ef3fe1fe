#include "lxnumbertranslator.h"

#include <gtest/gtest.h>

#include <string>

#include "base/lxstring.h"

namespace {

std::string spell(const char *input, LXLanguage language) {
    lxstring in(input, LXEncodingUtf8), out;
    LXNumberTranslator::numberToText(in, out, language);
    return std::string(out.c_str(), size_t(out.size()));
}

struct Case {
    LXLanguage language;
    const char *number;
    const char *words;
};

class Spelling : public ::testing::TestWithParam<Case> {};

TEST_P(Spelling, WritesTheNumberOutInWords) {
    const Case &c = GetParam();
    EXPECT_EQ(spell(c.number, c.language), c.words) << "number " << c.number;
}

// The documented examples, with the corrected forms where the old tables were wrong.
const Case kDocumented[] = {
    {LXEnglish, "1 234,5", "twelve thousand three hundred (and) forty-five"},
    {LXEnglish, "000", "zero"},
    {LXEnglish, "1005", "one thousand (and) five"},
    {LXEnglish, "105", "one hundred (and) five"},
    {LXEnglish, "110", "one hundred (and) ten"},
    {LXEnglish, "2000", "two thousand "},
    {LXEnglish, "1000000", "one million "},
    {LXEnglish, "21", "twenty-one"},
    {LXFrench, "80", "quatre-vingts"},
    {LXFrench, "180", "cent quatre-vingts"},
    {LXFrench, "200", "deux cents"},
    {LXFrench, "1000", "mille"},
    {LXFrench, "2000000", "deux millions"},
    {LXGerman, "21", "einundzwanzig"},
    {LXGerman, "101", "hunderteins"},
    {LXGerman, "1000", "tausend"},
    {LXGerman, "1000000", "eine Million"},
    {LXGerman, "2000000", "zwei Millionen"},
    {LXSpanish, "100", "cien"},
    {LXSpanish, "101", "ciento uno"},
    {LXSpanish, "1000000", "un millón"},
    {LXPortuguese, "100", "cem"},
    {LXPortuguese, "2304", "dois mil, trezentos e quatro"},
    {LXPortuguese, "2000000", "dois milhões"},
    {LXItalian, "1000", "mille"},
    {LXItalian, "2000", "duemila"},
    {LXItalian, "21", "ventuno"},
    {LXItalian, "38", "trentotto"},
};
INSTANTIATE_TEST_SUITE_P(Documented, Spelling, ::testing::ValuesIn(kDocumented));

// Words that the old tables and rules got wrong.
const Case kMended[] = {
    // Misspellings.
    {LXFrench, "94", "quatre-vingt-quatorze"},
    {LXGerman, "16", "sechzehn"},
    {LXSpanish, "29", "veintinueve"},
    {LXPortuguese, "55", "cinquenta e cinco"},
    // French plural of "cent" and "quatre-vingt": at the end and before a noun, never
    // before another number word or "mille".
    {LXFrench, "080", "quatre-vingts"},
    {LXFrench, "280", "deux cent quatre-vingts"},
    {LXFrench, "201", "deux cent un"},
    {LXFrench, "285", "deux cent quatre-vingt-cinq"},
    {LXFrench, "200000", "deux cent mille"},
    {LXFrench, "80000", "quatre-vingt mille"},
    {LXFrench, "200000000", "deux cents millions"},
    {LXFrench, "80000000", "quatre-vingts millions"},
    {LXFrench, "300000000000", "trois cents milliards"},
    {LXFrench, "280000", "deux cent quatre-vingt mille"},
    {LXFrench, "1500000000000000", "mille cinq cents billions"},
    // Spanish "un" before "mil" and the scale nouns; thousands of millions read as one
    // count of millions.
    {LXSpanish, "21000", "veintiún mil"},
    {LXSpanish, "31000", "treinta y un mil"},
    {LXSpanish, "101000", "ciento un mil"},
    {LXSpanish, "21000000", "veintiún millones"},
    {LXSpanish, "1021000000", "mil veintiún millones"},
    {LXSpanish, "1500000000", "mil quinientos millones"},
    {LXSpanish, "2500000000", "dos mil quinientos millones"},
    {LXSpanish, "1000000000", "mil millones"},
    {LXSpanish, "1001000000000", "un billón mil millones"},
    {LXSpanish, "1000000000000000000000", "mil trillones"},
    // German "ein" inside a compound.
    {LXGerman, "101000", "hunderteintausend"},
    {LXGerman, "21000", "einundzwanzigtausend"},
    // Italian: a thousand miliardi and more count in miliardi.
    {LXItalian, "1001000000000", "milleuno miliardi "},
    {LXItalian, "1000000000000", "mille miliardi "},
    // Italian accent on a final compound "tre".
    {LXItalian, "23", "ventitré"},
    {LXItalian, "103", "centotré"},
    {LXItalian, "3", "tre"},
    {LXItalian, "23000", "ventitremila"},
    {LXItalian, "23000000", "ventitré milioni "},
};
INSTANTIATE_TEST_SUITE_P(Mended, Spelling, ::testing::ValuesIn(kMended));

// The frame: scale words, joins between groups, zero groups, very large numbers.
const Case kFrame[] = {
    {LXEnglish, "1000001", "one million (and) one"},
    {LXEnglish, "100", "one hundred"},
    {LXEnglish, "1100", "one thousand one hundred"},
    {LXEnglish, "0105", "one hundred (and) five"},
    {LXEnglish, "005", "five"},
    {LXEnglish, "999999999999999",
     "nine hundred ninety-nine trillion nine hundred ninety-nine billion nine hundred "
     "ninety-nine million nine hundred ninety-nine thousand nine hundred (and) ninety-nine"},
    {LXEnglish, "1000000000000000000000000000000", "one nonillion "},
    {LXEnglish, "1000000000000000000000000000000000", "one thousand nonillion "},
    {LXEnglish, "2000000000000000000000000000000001", "two thousand nonillion (and) one"},
    {LXFrench, "21", "vingt et un"},
    {LXFrench, "71", "soixante et onze"},
    {LXFrench, "81", "quatre-vingt-un"},
    {LXFrench, "1001", "mille un"},
    {LXFrench, "21000", "vingt et un mille"},
    {LXFrench, "1000000", "un million"},
    {LXFrench, "1000000000", "un milliard"},
    {LXFrench, "1001000000000", "un billion un milliard"},
    {LXFrench, "1000000000000000", "mille billions"},
    {LXFrench, "1000000000000000000000000000000", "un quintillion"},
    {LXFrench, "1000000000000000000000000000000000", "mille quintillions"},
    {LXFrench, "1000000000000000000000000000000000000", "un million de quintillions"},
    {LXGerman, "1001", "tausendeins"},
    {LXGerman, "2001000", "zwei Millionen tausend"},
    {LXGerman, "1000000000", "eine Milliarde"},
    {LXGerman, "3000000000000000", "drei Billiarden"},
    {LXGerman, "2000000000000000000000000", "zweitausend Trilliarden"},
    {LXSpanish, "1000", "mil"},
    {LXSpanish, "2001", "dos mil uno"},
    {LXSpanish, "100000", "cien mil"},
    {LXSpanish, "1000000000000", "un billón"},
    {LXSpanish, "1000000000000000000", "un trillón"},
    {LXSpanish, "1000000000000000000000000", "un millón de trillones"},
    {LXItalian, "1000000", "un milione "},
    {LXItalian, "2000001", "due milioni uno"},
    {LXItalian, "1001", "milleuno"},
    {LXItalian, "1000000000", "un miliardo "},
    {LXPortuguese, "1001000", "um milhão, mil"},
    {LXPortuguese, "101", "cento e um"},
    {LXPortuguese, "1000000000", "um bilhão"},
    {LXPortuguese, "1000000000000000", "um quatrilhão"},
    {LXPortuguese, "1000000000000000000", "mil quatrilhões"},
};
INSTANTIATE_TEST_SUITE_P(Frame, Spelling, ::testing::ValuesIn(kFrame));

TEST(NumberTranslator, InputWithoutDigitsGivesEmptyOutput) {
    for (LXLanguage language : {LXEnglish, LXFrench, LXSpanish, LXGerman, LXItalian,
                                LXPortuguese, LXLatin}) {
        EXPECT_EQ(spell("", language), "");
        EXPECT_EQ(spell("abc, -", language), "");
    }
}

TEST(NumberTranslator, OtherLanguagesAreWrittenInEnglish) {
    EXPECT_EQ(spell("42", LXLatin), "forty-two");
    EXPECT_EQ(spell("42", LXLanguageNone), "forty-two");
    EXPECT_EQ(spell("42", LXLanguage(999)), "forty-two");
}

TEST(NumberTranslator, KeepsTheOutputEncoding) {
    lxstring in("12", LXEncodingUtf8), out(1, 1);
    LXNumberTranslator::numberToText(in, out, LXFrench);
    EXPECT_EQ(out.getEncoding(), 1);
    EXPECT_EQ(out.getByteOrder(), 1);
    ASSERT_EQ(out.length(), 5);
    EXPECT_EQ(out[0], uint32_t('d'));
    out.setEncoding(LXEncodingUtf8);
    EXPECT_STREQ(out.c_str(), "douze");

    lxstring zero("0", LXEncodingUtf8), wide(2, 0);
    LXNumberTranslator::numberToText(zero, wide, LXFrench);
    EXPECT_EQ(wide.length(), 4);
    EXPECT_EQ(wide[1], 0xE9u);  // é
}

TEST(NumberTranslator, ReadsDigitsInAnyInputEncoding) {
    lxstring in("4 2", LXEncodingUtf8);
    in.setEncoding(LXEncodingUnits32);
    lxstring out;
    LXNumberTranslator::numberToText(in, out, LXGerman);
    EXPECT_STREQ(out.c_str(), "zweiundvierzig");
}

TEST(NumberTranslator, VeryLongInputsGetAnAnswer) {
    // Hundreds of digits: the largest scale word repeats; nothing overruns.
    for (LXLanguage language : {LXEnglish, LXFrench, LXSpanish, LXGerman, LXItalian,
                                LXPortuguese}) {
        std::string nines(600, '9');
        const std::string words = spell(nines.c_str(), language);
        EXPECT_GT(words.size(), 600u) << language;
        std::string one = "1" + std::string(900, '0');
        EXPECT_FALSE(spell(one.c_str(), language).empty()) << language;
        std::string sparse = "7" + std::string(400, '0') + "7";
        EXPECT_FALSE(spell(sparse.c_str(), language).empty()) << language;
    }
    // 10^90 in English is a nonillion of nonillions of nonillions.
    EXPECT_EQ(spell(("1" + std::string(90, '0')).c_str(), LXEnglish),
              "one nonillion nonillion nonillion ");
}

}  // namespace
