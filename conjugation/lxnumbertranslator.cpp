#include "lxnumbertranslator.h"

#include <cstdint>
#include <new>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------
// Word tables

const SNumTrans kEnglishWords[] = {
    {0, "zero"}, {1, "one"}, {2, "two"}, {3, "three"}, {4, "four"}, {5, "five"},
    {6, "six"}, {7, "seven"}, {8, "eight"}, {9, "nine"}, {10, "ten"}, {11, "eleven"},
    {12, "twelve"}, {13, "thirteen"}, {14, "fourteen"}, {15, "fifteen"}, {16, "sixteen"},
    {17, "seventeen"}, {18, "eighteen"}, {19, "nineteen"}, {20, "twenty"}, {30, "thirty"},
    {40, "forty"}, {50, "fifty"}, {60, "sixty"}, {70, "seventy"}, {80, "eighty"},
    {90, "ninety"}, {100, "hundred"}, {-1, nullptr}};

const char *const kEnglishScale[] = {"", "thousand", "million", "billion", "trillion",
                                     "quadrillion", "quintillion", "sextillion", "septillion",
                                     "octillion", "nonillion", nullptr};

// French 0..99 spelled out whole (the seventies and nineties are built on 60 and 80), and
// 100. 80 is "quatre-vingt": its plural "s" depends on what follows.
const SNumTrans kFrenchWords[] = {
    {0, "zéro"}, {1, "un"}, {2, "deux"}, {3, "trois"}, {4, "quatre"}, {5, "cinq"},
    {6, "six"}, {7, "sept"}, {8, "huit"}, {9, "neuf"}, {10, "dix"}, {11, "onze"},
    {12, "douze"}, {13, "treize"}, {14, "quatorze"}, {15, "quinze"}, {16, "seize"},
    {17, "dix-sept"}, {18, "dix-huit"}, {19, "dix-neuf"},
    {20, "vingt"}, {21, "vingt et un"}, {22, "vingt-deux"}, {23, "vingt-trois"},
    {24, "vingt-quatre"}, {25, "vingt-cinq"}, {26, "vingt-six"}, {27, "vingt-sept"},
    {28, "vingt-huit"}, {29, "vingt-neuf"},
    {30, "trente"}, {31, "trente et un"}, {32, "trente-deux"}, {33, "trente-trois"},
    {34, "trente-quatre"}, {35, "trente-cinq"}, {36, "trente-six"}, {37, "trente-sept"},
    {38, "trente-huit"}, {39, "trente-neuf"},
    {40, "quarante"}, {41, "quarante et un"}, {42, "quarante-deux"}, {43, "quarante-trois"},
    {44, "quarante-quatre"}, {45, "quarante-cinq"}, {46, "quarante-six"},
    {47, "quarante-sept"}, {48, "quarante-huit"}, {49, "quarante-neuf"},
    {50, "cinquante"}, {51, "cinquante et un"}, {52, "cinquante-deux"},
    {53, "cinquante-trois"}, {54, "cinquante-quatre"}, {55, "cinquante-cinq"},
    {56, "cinquante-six"}, {57, "cinquante-sept"}, {58, "cinquante-huit"},
    {59, "cinquante-neuf"},
    {60, "soixante"}, {61, "soixante et un"}, {62, "soixante-deux"}, {63, "soixante-trois"},
    {64, "soixante-quatre"}, {65, "soixante-cinq"}, {66, "soixante-six"},
    {67, "soixante-sept"}, {68, "soixante-huit"}, {69, "soixante-neuf"},
    {70, "soixante-dix"}, {71, "soixante et onze"}, {72, "soixante-douze"},
    {73, "soixante-treize"}, {74, "soixante-quatorze"}, {75, "soixante-quinze"},
    {76, "soixante-seize"}, {77, "soixante-dix-sept"}, {78, "soixante-dix-huit"},
    {79, "soixante-dix-neuf"},
    {80, "quatre-vingt"}, {81, "quatre-vingt-un"}, {82, "quatre-vingt-deux"},
    {83, "quatre-vingt-trois"}, {84, "quatre-vingt-quatre"}, {85, "quatre-vingt-cinq"},
    {86, "quatre-vingt-six"}, {87, "quatre-vingt-sept"}, {88, "quatre-vingt-huit"},
    {89, "quatre-vingt-neuf"},
    {90, "quatre-vingt-dix"}, {91, "quatre-vingt-onze"}, {92, "quatre-vingt-douze"},
    {93, "quatre-vingt-treize"}, {94, "quatre-vingt-quatorze"}, {95, "quatre-vingt-quinze"},
    {96, "quatre-vingt-seize"}, {97, "quatre-vingt-dix-sept"}, {98, "quatre-vingt-dix-huit"},
    {99, "quatre-vingt-dix-neuf"},
    {100, "cent"}, {-1, nullptr}};

const SNumTrans kGermanWords[] = {
    {0, "null"}, {1, "eins"}, {2, "zwei"}, {3, "drei"}, {4, "vier"}, {5, "fünf"},
    {6, "sechs"}, {7, "sieben"}, {8, "acht"}, {9, "neun"}, {10, "zehn"}, {11, "elf"},
    {12, "zwölf"}, {13, "dreizehn"}, {14, "vierzehn"}, {15, "fünfzehn"}, {16, "sechzehn"},
    {17, "siebzehn"}, {18, "achtzehn"}, {19, "neunzehn"}, {20, "zwanzig"}, {30, "dreißig"},
    {40, "vierzig"}, {50, "fünfzig"}, {60, "sechzig"}, {70, "siebzig"}, {80, "achtzig"},
    {90, "neunzig"}, {100, "hundert"}, {-1, nullptr}};

const char *const kGermanScale[] = {"", "tausend", "Million", "Milliarde", "Billion",
                                    "Billiarde", "Trillion", "Trilliarde", nullptr};

const SNumTrans kSpanishWords[] = {
    {0, "cero"}, {1, "uno"}, {2, "dos"}, {3, "tres"}, {4, "cuatro"}, {5, "cinco"},
    {6, "seis"}, {7, "siete"}, {8, "ocho"}, {9, "nueve"}, {10, "diez"}, {11, "once"},
    {12, "doce"}, {13, "trece"}, {14, "catorce"}, {15, "quince"}, {16, "dieciséis"},
    {17, "diecisiete"}, {18, "dieciocho"}, {19, "diecinueve"}, {20, "veinte"},
    {21, "veintiuno"}, {22, "veintidós"}, {23, "veintitrés"}, {24, "veinticuatro"},
    {25, "veinticinco"}, {26, "veintiséis"}, {27, "veintisiete"}, {28, "veintiocho"},
    {29, "veintinueve"}, {30, "treinta"}, {40, "cuarenta"}, {50, "cincuenta"},
    {60, "sesenta"}, {70, "setenta"}, {80, "ochenta"}, {90, "noventa"},
    {100, "ciento"}, {200, "doscientos"}, {300, "trescientos"}, {400, "cuatrocientos"},
    {500, "quinientos"}, {600, "seiscientos"}, {700, "setecientos"}, {800, "ochocientos"},
    {900, "novecientos"}, {-1, nullptr}};

const SNumTrans kItalianWords[] = {
    {0, "zero"}, {1, "uno"}, {2, "due"}, {3, "tre"}, {4, "quattro"}, {5, "cinque"},
    {6, "sei"}, {7, "sette"}, {8, "otto"}, {9, "nove"}, {10, "dieci"}, {11, "undici"},
    {12, "dodici"}, {13, "tredici"}, {14, "quattordici"}, {15, "quindici"}, {16, "sedici"},
    {17, "diciassette"}, {18, "diciotto"}, {19, "diciannove"}, {20, "venti"},
    {30, "trenta"}, {40, "quaranta"}, {50, "cinquanta"}, {60, "sessanta"}, {70, "settanta"},
    {80, "ottanta"}, {90, "novanta"}, {100, "cento"}, {-1, nullptr}};

const SNumTrans kPortugueseWords[] = {
    {0, "zero"}, {1, "um"}, {2, "dois"}, {3, "três"}, {4, "quatro"}, {5, "cinco"},
    {6, "seis"}, {7, "sete"}, {8, "oito"}, {9, "nove"}, {10, "dez"}, {11, "onze"},
    {12, "doze"}, {13, "treze"}, {14, "catorze"}, {15, "quinze"}, {16, "dezesseis"},
    {17, "dezessete"}, {18, "dezoito"}, {19, "dezenove"}, {20, "vinte"}, {30, "trinta"},
    {40, "quarenta"}, {50, "cinquenta"}, {60, "sessenta"}, {70, "setenta"}, {80, "oitenta"},
    {90, "noventa"}, {100, "cento"}, {200, "duzentos"}, {300, "trezentos"},
    {400, "quatrocentos"}, {500, "quinhentos"}, {600, "seiscentos"}, {700, "setecentos"},
    {800, "oitocentos"}, {900, "novecentos"}, {-1, nullptr}};

const char *const kPortugueseScale[] = {"", "mil", "milhões", "bilhões", "trilhões", nullptr};
const char *const kPortugueseScaleOne[] = {"", "mil", "um milhão", "um bilhão", "um trilhão",
                                           nullptr};

// ---------------------------------------------------------------------------------------
// The common frame: the digits are cut into groups of three from the right, and the
// groups into chunks that one language's scale words can name. Between two chunks the
// language's largest scale word stands as a multiplier of everything above it.

struct Groups {
    std::vector<uint16_t> values;   // lowest group first
    long long highestNonZero = -1;  // index of the highest group that is not 0
};

Groups splitGroups(const std::string &digits) {
    Groups g;
    const size_t n = digits.size();
    g.values.reserve(n / 3 + 1);
    for (size_t end = n; end > 0;) {
        size_t begin = end >= 3 ? end - 3 : 0;
        unsigned v = 0;
        for (size_t k = begin; k < end; ++k) v = v * 10 + unsigned(digits[k] - '0');
        if (v != 0) g.highestNonZero = (long long)g.values.size();
        g.values.push_back(uint16_t(v));
        end = begin;
    }
    return g;
}

// A chunk of a number: chunkGroups groups starting at group index first (missing groups
// above the number count as 0).
struct Chunk {
    uint16_t g[16] = {};
    bool lowest = true;       // the chunk that ends the number
    bool rest = false;        // everything from this chunk upwards is not 0
    bool restIsOne = false;   // ... and is exactly 1
};

// Walks the chunks from the highest down and hands each to write(chunk, out).
template <typename Write>
void forEachChunk(const Groups &groups, int chunkGroups, Write write) {
    const long long count = (long long)groups.values.size();
    if (count == 0) return;
    const long long chunks = (count + chunkGroups - 1) / chunkGroups;
    for (long long j = chunks - 1; j >= 0; --j) {
        Chunk c;
        const long long first = j * chunkGroups;
        for (int k = 0; k < chunkGroups && first + k < count; ++k)
            c.g[k] = groups.values[size_t(first + k)];
        c.lowest = j == 0;
        c.rest = groups.highestNonZero >= first;
        c.restIsOne = groups.highestNonZero == first && c.g[0] == 1;
        write(c);
    }
}

// Appends piece to out with sep between them when both are not empty.
void join(std::string &out, const std::string &piece, const char *sep) {
    if (piece.empty()) return;
    if (!out.empty()) out += sep;
    out += piece;
}

// The word of value in table, or "" when the table has none.
const char *wordOf(const SNumTrans *table, int value) {
    for (; table && table->value != -1; ++table)
        if (table->value == value) return table->word;
    return "";
}

// A number from 1 to 99: the table's own word up to `whole`, above it the word of the
// tens, then joiner and the unit's word when the unit is not 0.
std::string tensAndUnits(const SNumTrans *table, unsigned r, unsigned whole, const char *joiner) {
    if (r <= whole) return wordOf(table, int(r));
    std::string s = wordOf(table, int(r - r % 10));
    if (r % 10) s += std::string(joiner) + wordOf(table, int(r % 10));
    return s;
}

bool endsWith(const std::string &s, const char *suffix) {
    const std::string t(suffix);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

std::string keepDigits(const std::string &text) {
    std::string digits;
    for (char ch : text)
        if (ch >= '0' && ch <= '9') digits += ch;
    return digits;
}

}  // namespace

void LXNumberTranslator::getNumberWord(int value, const SNumTrans *table, std::string &word) {
    word = wordOf(table, value);
}

// ---------------------------------------------------------------------------------------
// English

void LXNumberTranslator::englishNumberToText(const std::string &digits, std::string &output) {
    output.clear();
    if (digits.empty()) return;
    const size_t n = digits.size();
    // "(and)" before the last two digits when something stands before them.
    bool andFlag = false;
    if (n > 2 && !(digits[n - 1] == '0' && digits[n - 2] == '0'))
        for (size_t k = 0; k + 2 < n && !andFlag; ++k) andFlag = digits[k] != '0';

    std::string w;
    auto group = [&](unsigned v, bool withAnd) {
        std::string s;
        const unsigned h = v / 100, r = v % 100;
        if (h > 0) {
            getNumberWord(int(h), kEnglishWords, w);
            s = w + " hundred";
        }
        if (r > 0) {
            if (h > 0) s += " ";
            if (withAnd) s += "(and) ";
            s += tensAndUnits(kEnglishWords, r, 19, "-");
        }
        return s;
    };

    const Groups groups = splitGroups(digits);
    forEachChunk(groups, 10, [&](const Chunk &c) {
        std::string text;
        for (int i = 0; i < 10; ++i) {
            if (c.g[i] == 0) continue;
            std::string s = group(c.g[i], andFlag && c.lowest && i == 0);
            if (i > 0) s += std::string(" ") + kEnglishScale[i] + " ";
            text.insert(0, s);
        }
        if (!c.lowest && c.rest) {
            if (!text.empty() && text.back() != ' ') text += " ";
            text += std::string(kEnglishScale[10]) + " ";
        }
        output += text;  // every scale word already ends with its space
    });
    if (output.empty()) getNumberWord(0, kEnglishWords, output);
}

// ---------------------------------------------------------------------------------------
// French. "cent" and "quatre-vingt" take their plural "s" when they end the number or
// stand before a noun (million, milliard, ...), not before another number word or
// "mille". From the billions on, a scale noun counts up to 999 999 of itself
// ("mille cinq cents billions").

namespace {

std::string frenchGroup(unsigned v, bool pluralAllowed) {
    std::string s;
    const unsigned h = v / 100, r = v % 100;
    if (h > 1) s = std::string(wordOf(kFrenchWords, int(h))) + " ";
    if (h > 0) s += "cent";
    if (r > 0) {
        if (h > 0) s += " ";
        s += wordOf(kFrenchWords, int(r));
    }
    if (pluralAllowed && ((r == 0 && h > 1) || r == 80)) s += "s";
    return s;
}

// A number below a million; the last word is followed by the end or by a noun.
std::string frenchPeriod(unsigned low, unsigned high) {
    std::string s;
    if (high > 0) s = (high == 1 ? std::string() : frenchGroup(high, false) + " ") + "mille";
    if (low > 0) join(s, frenchGroup(low, true), " ");
    return s;
}

// "un million", "deux millions", "mille cinq cents billions" ...
std::string frenchScaled(unsigned value, const std::string &period, const char *noun) {
    if (value == 1) return std::string("un ") + noun;
    return period + " " + noun + "s";
}

}  // namespace

void LXNumberTranslator::frenchNumberToText(const std::string &digits, std::string &output) {
    output.clear();
    if (digits.empty()) return;
    static const char *const kPairNouns[] = {"billion", "trillion", "quadrillion"};
    const Groups groups = splitGroups(digits);
    forEachChunk(groups, 10, [&](const Chunk &c) {
        std::string text;
        for (int p = 2; p >= 0; --p) {  // groups 4-5, 6-7, 8-9
            const unsigned low = c.g[4 + 2 * p], high = c.g[5 + 2 * p];
            if (low == 0 && high == 0) continue;
            join(text, frenchScaled(high * 1000 + low, frenchPeriod(low, high), kPairNouns[p]),
                 " ");
        }
        if (c.g[3]) join(text, frenchScaled(c.g[3], frenchGroup(c.g[3], true), "milliard"), " ");
        if (c.g[2]) join(text, frenchScaled(c.g[2], frenchGroup(c.g[2], true), "million"), " ");
        const std::string units = frenchPeriod(c.g[0], c.g[1]);
        if (c.lowest || !c.rest) {
            join(text, units, " ");
        } else if (c.restIsOne) {
            join(text, "un quintillion", " ");
        } else {
            join(text, units, " ");
            // After a noun, a scale noun takes "de": "un million de quintillions".
            join(text, std::string(c.g[0] == 0 && c.g[1] == 0 ? "de " : "") + "quintillions", " ");
        }
        join(output, text, " ");
    });
    if (output.empty()) getNumberWord(0, kFrenchWords, output);
}

// ---------------------------------------------------------------------------------------
// German

void LXNumberTranslator::germanNumberToText(const std::string &digits, std::string &output) {
    output.clear();
    if (digits.empty()) return;
    std::string w;
    auto group = [&](unsigned v) {
        std::string s;
        const unsigned h = v / 100, r = v % 100;
        if (h > 1) {
            getNumberWord(int(h), kGermanWords, w);
            s = w;
        }
        if (h > 0) s += "hundert";
        if (r > 19) {
            const unsigned u = r % 10;
            if (u == 1) {
                s += "einund";
            } else if (u > 1) {
                getNumberWord(int(u), kGermanWords, w);
                s += w + "und";
            }
            getNumberWord(int(r - u), kGermanWords, w);
            s += w;
        } else if (r > 0) {
            getNumberWord(int(r), kGermanWords, w);
            s += w;
        }
        return s;
    };
    auto scaled = [](std::string text, unsigned v, const char *noun) {
        if (v == 1) text = "eine";
        text += " ";
        text += noun;
        if (v > 1) text += endsWith(text, "e") ? "n" : "en";
        return text;
    };

    const Groups groups = splitGroups(digits);
    forEachChunk(groups, 7, [&](const Chunk &c) {
        std::string text;
        for (int i = 6; i >= 2; --i)
            if (c.g[i]) join(text, scaled(group(c.g[i]), c.g[i], kGermanScale[i]), " ");
        // The thousands join the units without a space: "zweitausendeins".
        std::string units;
        if (c.g[1]) {
            if (c.g[1] > 1) {
                units = group(c.g[1]);
                // "eins" only ends a number: "hunderteintausend".
                if (endsWith(units, "eins")) units.pop_back();
            }
            units += "tausend";
        }
        if (c.g[0]) units += group(c.g[0]);
        if (c.lowest || !c.rest) {
            join(text, units, " ");
        } else if (c.restIsOne) {
            join(text, std::string("eine ") + kGermanScale[7], " ");
        } else {
            join(text, units, " ");
            join(text, std::string(kGermanScale[7]) + "n", " ");
        }
        join(output, text, " ");
    });
    if (output.empty()) getNumberWord(0, kGermanWords, output);
}

// ---------------------------------------------------------------------------------------
// Spanish. Scale nouns count up to 999 999 of themselves ("mil quinientos millones");
// "uno" shortens to "un" before "mil" and before a noun ("veintiún mil", "treinta y un
// millones").

namespace {

std::string spanishGroup(unsigned v, bool beforeScale) {
    std::string s;
    const unsigned h = v / 100, r = v % 100;
    if (h > 0) {
        if (h == 1 && r == 0) return "cien";
        s = wordOf(kSpanishWords, int(h * 100));
    }
    if (r > 0) {
        if (h > 0) s += " ";
        s += tensAndUnits(kSpanishWords, r, 30, " y ");
    }
    if (beforeScale) {
        if (endsWith(s, "veintiuno"))
            s.replace(s.size() - 9, 9, "veintiún");
        else if (endsWith(s, "uno"))
            s.pop_back();
    }
    return s;
}

std::string spanishPeriod(unsigned low, unsigned high, bool beforeNoun) {
    std::string s;
    if (high > 0) s = high == 1 ? std::string("mil") : spanishGroup(high, true) + " mil";
    if (low > 0) join(s, spanishGroup(low, beforeNoun), " ");
    return s;
}

}  // namespace

void LXNumberTranslator::spanishNumberToText(const std::string &digits, std::string &output) {
    output.clear();
    if (digits.empty()) return;
    static const char *const kOne[] = {"", "un millón", "un billón"};
    static const char *const kMany[] = {"", "millones", "billones"};
    const Groups groups = splitGroups(digits);
    forEachChunk(groups, 6, [&](const Chunk &c) {
        std::string text;
        for (int p = 2; p >= 1; --p) {
            const unsigned low = c.g[2 * p], high = c.g[2 * p + 1];
            if (low == 0 && high == 0) continue;
            if (low == 1 && high == 0)
                join(text, kOne[p], " ");
            else
                join(text, spanishPeriod(low, high, true) + " " + kMany[p], " ");
        }
        if (c.lowest || !c.rest) {
            join(text, spanishPeriod(c.g[0], c.g[1], false), " ");
        } else if (c.restIsOne) {
            join(text, "un trillón", " ");
        } else {
            join(text, spanishPeriod(c.g[0], c.g[1], true), " ");
            // After a noun, a scale noun takes "de": "un millón de trillones".
            join(text, std::string(c.g[0] == 0 && c.g[1] == 0 ? "de " : "") + "trillones", " ");
        }
        join(output, text, " ");
    });
    if (output.empty()) getNumberWord(0, kSpanishWords, output);
}

// ---------------------------------------------------------------------------------------
// Italian. Words are written together; "milione" and "miliardo" stand apart, each
// followed by a space. Beyond the miliardi the count goes on in miliardi
// ("mille miliardi").

namespace {

// A compound that ends in "tre" takes the accent: "ventitré", "centotré", "milletré".
void italianAccents(std::string &text) {
    static const std::string kTre = "tre";
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        if (end - start > kTre.size() && text.compare(end - 3, 3, kTre) == 0) {
            text.replace(end - 1, 1, "é");
            end += 1;  // "é" takes two bytes
        }
        start = end + 1;
    }
}

}  // namespace

void LXNumberTranslator::italianNumberToText(const std::string &digits, std::string &output) {
    output.clear();
    if (digits.empty()) return;
    std::string w;
    auto group = [&](unsigned v) {
        std::string s;
        const unsigned h = v / 100, r = v % 100;
        if (h > 1) {
            getNumberWord(int(h), kItalianWords, w);
            s = w;
        }
        if (h > 0) s += "cento";
        if (r == 1) {
            s += "uno";
        } else if (r >= 2 && r <= 20) {
            getNumberWord(int(r), kItalianWords, w);
            s += w;
        } else if (r > 20) {
            getNumberWord(int(r - r % 10), kItalianWords, w);
            s += w;
            if (r % 10) {
                getNumberWord(int(r % 10), kItalianWords, w);
                // "ventuno", "trentotto": a vowel of the unit swallows the tens' last one.
                if (w[0] == 'u' || w[0] == 'o') s.pop_back();
                s += w;
            }
        }
        return s;
    };

    const Groups groups = splitGroups(digits);
    forEachChunk(groups, 3, [&](const Chunk &c) {
        std::string text;
        if (c.g[2]) text = c.g[2] == 1 ? std::string("un milione ") : group(c.g[2]) + " milioni ";
        if (c.g[1]) text += c.g[1] == 1 ? std::string("mille") : group(c.g[1]) + "mila";
        if (c.g[0]) text += group(c.g[0]);
        if (!c.lowest && c.rest) {
            if (c.restIsOne) {
                text = "un miliardo ";
            } else {
                if (!text.empty() && text.back() != ' ') text += " ";
                text += "miliardi ";
            }
        }
        output += text;  // "milione" and "miliardo" already end with their space
    });
    italianAccents(output);
    if (output.empty()) getNumberWord(0, kItalianWords, output);
}

// ---------------------------------------------------------------------------------------
// Portuguese

void LXNumberTranslator::portugueseNumberToText(const std::string &digits,
                                                std::string &output) {
    output.clear();
    if (digits.empty()) return;
    std::string w;
    auto group = [&](unsigned v) {
        std::string s;
        const unsigned h = v / 100, r = v % 100;
        if (h > 0) {
            if (h == 1 && r == 0) return std::string("cem");
            getNumberWord(int(h * 100), kPortugueseWords, w);
            s = w;
        }
        if (r > 0) {
            if (h > 0) s += " e ";
            s += tensAndUnits(kPortugueseWords, r, 20, " e ");
        }
        return s;
    };

    const Groups groups = splitGroups(digits);
    forEachChunk(groups, 5, [&](const Chunk &c) {
        std::string text;
        for (int i = 4; i >= 1; --i) {
            if (!c.g[i]) continue;
            join(text,
                 c.g[i] == 1 ? std::string(kPortugueseScaleOne[i])
                             : group(c.g[i]) + " " + kPortugueseScale[i],
                 ", ");
        }
        if (c.g[0]) join(text, group(c.g[0]), ", ");
        if (!c.lowest && c.rest) {
            if (c.restIsOne)
                text = "um quatrilhão";
            else
                join(text, "quatrilhões", text.empty() ? "" : " ");
        }
        join(output, text, ", ");
    });
    if (output.empty()) getNumberWord(0, kPortugueseWords, output);
}

// ---------------------------------------------------------------------------------------

std::string LXNumberTranslator::numberToText(const std::string &text, LXLanguage language) {
    std::string output;
    try {
        const std::string digits = keepDigits(text);
        switch (language) {
        case LXFrench: frenchNumberToText(digits, output); break;
        case LXSpanish: spanishNumberToText(digits, output); break;
        case LXGerman: germanNumberToText(digits, output); break;
        case LXItalian: italianNumberToText(digits, output); break;
        case LXPortuguese: portugueseNumberToText(digits, output); break;
        default: englishNumberToText(digits, output); break;
        }
    } catch (const std::bad_alloc &) {
        output.clear();  // a number too long to spell out in memory: no answer
    }
    return output;
}

void LXNumberTranslator::numberToText(const lxstring &input, lxstring &output,
                                      LXLanguage language) {
    std::string digits;
    try {
        for (lxstring_iterator it = input.begin(); !it.isAtEnd(); ++it) {
            const uint32_t cp = *it;
            if (cp >= '0' && cp <= '9') digits += char(cp);
        }
    } catch (const std::bad_alloc &) {
        digits.clear();
    }
    const std::string words = numberToText(digits, language);
    lxstring result(words.c_str(), LXEncodingUtf8);
    if (output.getEncoding() != LXEncodingUtf8) result.setEncoding(output.getEncoding());
    if (result.getByteOrder() != output.getByteOrder()) result.setByteOrder(output.getByteOrder());
    output.swap(result);
}
