// The Spanish and Portuguese spelling rules of the Romance scheme: stem-vowel changes in
// the tenses and persons whose stress falls on the stem, and consonant changes that keep
// the sound of the stem's last consonant before the ending's first vowel.
#include "lxiberianrules.h"

#include <utility>
#include <vector>

#include "base/lxchar.h"

namespace {

bool pSet(uint32_t person)
{
    return person == 37 || person == 38 || person == 39 || person == 42;
}

bool isOneOf(uint32_t person, uint32_t a, uint32_t b, uint32_t c, uint32_t d = 0)
{
    return person == a || person == b || person == c || (d != 0 && person == d);
}

int32_t lastVowelIndex(const lxstring &s)
{
    for (int32_t i = s.length() - 1; i >= 0; --i) {
        if (lx_isvowel(s[i]))
            return i;
    }
    return -1;
}

// The stem's last vowel when it is exactly c (accents count), else -1.
int32_t stemVowel(const lxstring &stem, uint32_t c)
{
    int32_t i = lastVowelIndex(stem);
    return i >= 0 && stem[i] == c ? i : -1;
}

void replaceAt(lxstring &s, int32_t index, int32_t count, const char *utf8)
{
    s.replace(index, count, lxstring(utf8, LXEncodingUtf8));
}

// The stem vowel becomes the text when it is the wanted vowel.
void changeVowel(lxstring &stem, uint32_t vowel, const char *to)
{
    int32_t i = stemVowel(stem, vowel);
    if (i >= 0)
        replaceAt(stem, i, 1, to);
}

// The acute accent on the stem's last vowel (an accented vowel stays as it is).
void accentVowel(lxstring &stem)
{
    int32_t i = lastVowelIndex(stem);
    if (i < 0)
        return;
    switch (stem[i]) {
    case 'a': stem.setAt(i, 0xE1); break;
    case 'e': stem.setAt(i, 0xE9); break;
    case 'i': stem.setAt(i, 0xED); break;
    case 'o': stem.setAt(i, 0xF3); break;
    case 'u': stem.setAt(i, 0xFA); break;
    default: break;
    }
}

bool endsWith(const lxstring &stem, const char *ascii)
{
    lxstring end(ascii, LXEncodingUtf8);
    if (end.length() > stem.length())
        return false;
    for (int32_t i = 0; i < end.length(); ++i) {
        if (stem[stem.length() - end.length() + i] != end[i])
            return false;
    }
    return true;
}

// The ending begins with "a" or "o" (with or without an accent), or with "e".
bool beginsBackVowel(const lxstring &ending)
{
    uint32_t c = ending.empty() ? 0 : ending[0];
    return c == 'a' || c == 'o' || c == 0xE1 || c == 0xF3;
}

bool beginsE(const lxstring &ending)
{
    uint32_t c = ending.empty() ? 0 : ending[0];
    return c == 'e' || c == 0xE9;
}

// Spanish: the persons and tenses where the stem carries the stress (rules 1 to 34).
bool spanishStressed(uint32_t tense, uint32_t person)
{
    return ((tense == 80 || tense == 90) && pSet(person)) ||
           (tense == 98 && isOneOf(person, 38, 39, 42));
}

// Spanish rule 7 ("pedir": pido, pidió, pidiendo, pida, pidiera).
bool spanishRaised(uint32_t tense, uint32_t person)
{
    switch (tense) {
    case 79: case 90: case 91: case 93: case 94:
        return true;
    case 80:
        return pSet(person);
    case 85:
        return person == 39 || person == 42;
    case 98:
        return isOneOf(person, 38, 39, 40, 42);
    default:
        return false;
    }
}

// Spanish rules 35 and 36 ("sentir": sintió, sintamos; "dormir": durmió, durmamos), where
// rules 1 and 3 take the stressed persons.
bool spanishRaisedUnstressed(uint32_t tense, uint32_t person)
{
    switch (tense) {
    case 79: case 91: case 93: case 94:
        return true;
    case 85:
        return person == 39 || person == 42;
    case 90:
        return person == 40 || person == 41;
    case 98:
        return person == 40;
    default:
        return false;
    }
}

void replaceLast(lxstring &stem, int32_t count, const char *to)
{
    replaceAt(stem, stem.length() - count, count, to);
}

} // namespace

void lx_applySpanishRule(int rule, lxstring &stem, uint32_t tense, uint32_t person, const lxstring &ending)
{
    switch (rule) {
    case 1:
        if (spanishStressed(tense, person))
            changeVowel(stem, 'e', "ie");
        break;
    case 3:
        if (spanishStressed(tense, person))
            changeVowel(stem, 'o', "ue");
        break;
    case 4:
        if (spanishStressed(tense, person)) {
            if (stemVowel(stem, 'u') >= 0)
                changeVowel(stem, 'u', "ue");
            else
                changeVowel(stem, 'o', "ue");
        }
        break;
    case 31:
        if (spanishStressed(tense, person))
            changeVowel(stem, 'o', "\xC3\xBC" "e");
        break;
    case 32:
        if (spanishStressed(tense, person))
            accentVowel(stem);
        break;
    case 33:
        if (spanishStressed(tense, person))
            changeVowel(stem, 'e', "ye");
        break;
    case 34:
        if (spanishStressed(tense, person))
            changeVowel(stem, 'o', "hue");
        break;
    case 7:
        if (spanishRaised(tense, person))
            changeVowel(stem, 'e', "i");
        break;
    case 35:
        if (spanishRaisedUnstressed(tense, person))
            changeVowel(stem, 'e', "i");
        break;
    case 36:
        if (spanishRaisedUnstressed(tense, person))
            changeVowel(stem, 'o', "u");
        break;
    case 9:
        if (endsWith(stem, "c") && beginsBackVowel(ending))
            replaceLast(stem, 1, "zc");
        break;
    case 25:
        if (endsWith(stem, "c") && beginsE(ending))
            replaceLast(stem, 1, "qu");
        break;
    case 27:
        if (endsWith(stem, "gu") && beginsE(ending))
            replaceLast(stem, 1, "\xC3\xBC");
        break;
    case 28:
        if (endsWith(stem, "z") && beginsE(ending))
            replaceLast(stem, 1, "c");
        break;
    case 29:
        if (endsWith(stem, "c") && beginsBackVowel(ending))
            replaceLast(stem, 1, "z");
        break;
    case 30:
        if (endsWith(stem, "g") && beginsBackVowel(ending))
            replaceLast(stem, 1, "j");
        break;
    default:
        break;
    }
}

void lx_applyPortugueseRule(int rule, lxstring &stem, uint32_t tense, uint32_t person, const lxstring &ending)
{
    switch (rule) {
    case 1:
        if (((tense == 80 || tense == 90) && pSet(person)) || (tense == 98 && isOneOf(person, 38, 39, 42)))
            accentVowel(stem);
        break;
    case 2:
        // "mentir": minto, minta, mintamos; the imperative's subjunctive persons.
        if ((tense == 80 && person == 37) || tense == 90 || (tense == 98 && isOneOf(person, 39, 40, 42)))
            changeVowel(stem, 'e', "i");
        break;
    case 3:
        // "reagir": reajo, reaja, but reage, reagimos: only before "a" and "o".
        if (stem.length() >= 3 && (endsWith(stem, "ag") || endsWith(stem, "og")) && beginsBackVowel(ending))
            replaceLast(stem, 1, "j");
        break;
    case 4:
        // "agredir": agrido, agrides, agride, agridem; every person of the present
        // subjunctive and the imperative's persons but the 2nd plural (agredi).
        if (((tense == 80) && pSet(person)) || tense == 90 || (tense == 98 && isOneOf(person, 38, 39, 40, 42)))
            changeVowel(stem, 'e', "i");
        break;
    case 5:
        // "dormir": durmo, durma, durmamos; the imperative follows the subjunctive
        // (durma, durmamos, durmam) and keeps "dorme" and "dormi".
        if ((tense == 80 && person == 37) || tense == 90 || (tense == 98 && isOneOf(person, 39, 40, 42)))
            changeVowel(stem, 'o', "u");
        break;
    case 6:
        // "subir": sobes, sobe, sobem; the imperative "sobe".
        if ((tense == 80 && isOneOf(person, 38, 39, 42)) || (tense == 98 && person == 38))
            changeVowel(stem, 'u', "o");
        break;
    default:
        break;
    }
}

namespace {

struct CompoundTense {
    uint32_t tense;
    uint32_t auxiliaryTense;
};

const CompoundTense kSpanishCompounds[] = {
    {82, 81}, {84, 80}, {86, 83}, {87, 85}, {89, 88}, {92, 91}, {95, 90}, {96, 93}, {97, 94}, {0, 0}};
const CompoundTense kPortugueseCompounds[] = {
    {82, 81}, {85, 80}, {86, 83}, {89, 88}, {92, 91}, {93, 90}, {94, 95}, {97, 96}, {0, 0}};

} // namespace

uint32_t lx_iberianAuxiliaryTense(LXLanguage language, uint32_t tense)
{
    const CompoundTense *table = language == LXSpanish ? kSpanishCompounds
                                 : language == LXPortuguese ? kPortugueseCompounds : nullptr;
    for (const CompoundTense *c = table; c && c->tense; ++c) {
        if (c->tense == tense)
            return c->auxiliaryTense;
    }
    return 0;
}

// ---- Spanish reflexive pronouns ----

const char *lx_spanishReflexivePronoun(uint32_t person)
{
    switch (person) {
    case 37: return "me";
    case 38: return "te";
    case 39: case 42: return "se";
    case 40: return "nos";
    case 41: return "os";
    default: return "";
    }
}

namespace {

uint32_t unaccented(uint32_t c)
{
    switch (c) {
    case 0xE1: return 'a';
    case 0xE9: return 'e';
    case 0xED: return 'i';
    case 0xF3: return 'o';
    case 0xFA: return 'u';
    default: return c;
    }
}

bool isAccented(uint32_t c)
{
    return unaccented(c) != c;
}

bool isStrong(uint32_t c)
{
    uint32_t u = unaccented(c);
    return u == 'a' || u == 'e' || u == 'o' || isAccented(c);
}

bool isSpanishVowel(const lxstring &w, int32_t i)
{
    uint32_t c = unaccented(w[i]);
    if (c != 'a' && c != 'e' && c != 'i' && c != 'o' && c != 'u' && w[i] != 0xFC)
        return false;
    // The u of "que", "qui", "gue", "gui" is not pronounced.
    if (c == 'u' && i > 0 && (w[i - 1] == 'q' || w[i - 1] == 'g') && i + 1 < w.length()) {
        uint32_t n = unaccented(w[i + 1]);
        if (n == 'e' || n == 'i')
            return false;
    }
    return true;
}

// The syllable nuclei of a word: for each, its first and last character index. Two
// strong vowels, or an accented i or u beside another vowel, are two nuclei.
std::vector<std::pair<int32_t, int32_t>> nuclei(const lxstring &w)
{
    std::vector<std::pair<int32_t, int32_t>> out;
    for (int32_t i = 0; i < w.length(); ++i) {
        if (!isSpanishVowel(w, i))
            continue;
        bool joins = !out.empty() && out.back().second == i - 1 && !(isStrong(w[i]) && isStrong(w[i - 1]));
        if (joins)
            out.back().second = i;
        else
            out.push_back(std::make_pair(i, i));
    }
    return out;
}

// The vowel that carries the stress inside a nucleus: the strong one, else the last.
int32_t stressedVowel(const lxstring &w, std::pair<int32_t, int32_t> n)
{
    for (int32_t i = n.first; i <= n.second; ++i) {
        if (isStrong(w[i]))
            return i;
    }
    return n.second;
}

// The nucleus that takes the stress by default: the last but one for a word ending in a
// vowel, n or s, else the last.
size_t defaultStress(const lxstring &w, size_t count)
{
    uint32_t last = unaccented(w[w.length() - 1]);
    bool penultimate = last == 'a' || last == 'e' || last == 'i' || last == 'o' || last == 'u' || last == 'n' ||
                       last == 's';
    return penultimate && count > 1 ? count - 2 : count - 1;
}

} // namespace

lxstring lx_spanishEnclitic(const lxstring &form, uint32_t person)
{
    if (form.empty())
        return form;
    // The stressed vowel of the form as it stands.
    std::vector<std::pair<int32_t, int32_t>> before = nuclei(form);
    if (before.empty())
        return form;
    int32_t stressed = -1;
    for (int32_t i = 0; i < form.length() && stressed < 0; ++i) {
        if (isAccented(form[i]))
            stressed = i;
    }
    if (stressed < 0)
        stressed = stressedVowel(form, before[defaultStress(form, before.size())]);

    // The form loses its final s before "nos" (sentemos: sentémonos) and its final d
    // before "os" (sentad: sentaos), except a monosyllable (id: idos).
    lxstring w(LXEncodingUtf8);
    for (int32_t i = 0; i < form.length(); ++i)
        w += unaccented(form[i]);
    if (person == 40 && w[-1] == 's')
        w.chop();
    else if (person == 41 && w[-1] == 'd' && before.size() > 1)
        w.chop();
    w += lxstring(lx_spanishReflexivePronoun(person), LXEncodingUtf8);

    // The written accent goes where the stress now is not the default one, or on a weak
    // vowel that would otherwise join the following vowel (vestíos).
    std::vector<std::pair<int32_t, int32_t>> after = nuclei(w);
    size_t at = 0;
    while (at < after.size() && !(after[at].first <= stressed && stressed <= after[at].second))
        ++at;
    if (at == after.size())
        return w;
    bool hiatus = !isStrong(w[stressed]) && after[at].first != after[at].second;
    if (at != defaultStress(w, after.size()) || hiatus) {
        static const uint32_t accented[][2] = {{'a', 0xE1}, {'e', 0xE9}, {'i', 0xED}, {'o', 0xF3}, {'u', 0xFA}};
        for (const auto &a : accented) {
            if (w[stressed] == a[0])
                w.setAt(stressed, a[1]);
        }
    }
    return w;
}
