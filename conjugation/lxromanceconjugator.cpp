// The common scheme of the Romance conjugators with the French and Italian spelling rules:
// stem (infinitive less the model's ending) + spelling rules + each stored ending, and the
// compound tenses as auxiliary + past participle.
#include "lxconjugator.h"
#include "lxformlist.h"

#include <cstdio>

#include "base/lxchar.h"
#include "lxiberianrules.h"

namespace {

struct CompoundTense {
    uint32_t tense;
    uint32_t auxiliaryTense;
};

const CompoundTense kFrenchCompounds[] = {
    {82, 81}, {84, 80}, {85, 83}, {87, 86}, {89, 88}, {91, 90}, {93, 92}, {0, 0}};
const CompoundTense kItalianCompounds[] = {
    {83, 82}, {85, 81}, {87, 84}, {88, 86}, {90, 89}, {93, 91}, {94, 92}, {0, 0}};

uint32_t auxiliaryTenseOf(LXLanguage language, uint32_t tense)
{
    if (language == LXSpanish || language == LXPortuguese)
        return lx_iberianAuxiliaryTense(language, tense);
    const CompoundTense *table = language == LXFrench ? kFrenchCompounds
                                 : language == LXItalian ? kItalianCompounds : nullptr;
    for (const CompoundTense *c = table; c && c->tense; ++c) {
        if (c->tense == tense)
            return c->auxiliaryTense;
    }
    return 0;
}

bool pSet(uint32_t person)
{
    return person == 37 || person == 38 || person == 39 || person == 42;
}

// Index of the last code point equal to c, or -1.
int32_t lastIndexOf(const lxstring &s, uint32_t c)
{
    for (int32_t i = s.length() - 1; i >= 0; --i) {
        if (s[i] == c)
            return i;
    }
    return -1;
}

int32_t lastVowelIndex(const lxstring &s)
{
    for (int32_t i = s.length() - 1; i >= 0; --i) {
        if (lx_isvowel(s[i]))
            return i;
    }
    return -1;
}

void replaceAt(lxstring &s, int32_t index, const char *utf8)
{
    s.replace(index, 1, lxstring(utf8, LXEncodingUtf8));
}

// French rules work on the stem only. The rule number is the feature's value minus 3, so
// the value 2 means "no rule" here as in the other languages.
void applyFrenchRule(int rule, lxstring &stem, uint32_t tense, uint32_t person, const lxstring &ending)
{
    bool imperative2 = tense == 94 && person == 38;
    bool presentP = (tense == 80 || tense == 90) && pSet(person);
    bool futureAll = tense == 81 || tense == 88;
    switch (rule) {
    case 0: {
        uint32_t b = lx_base(ending[0]);
        if ((b == 'o' || b == 'a') && stem.length() > 0 && stem[-1] == 'c')
            replaceAt(stem, stem.length() - 1, "\xC3\xA7");
        break;
    }
    case 1:
    case 4:
        // Rule 1 as first written limited the future and conditional to the persons of
        // the present ("nous leverons"); both tenses take the grave accent in every person.
        if (presentP || futureAll || imperative2) {
            int32_t i = lastIndexOf(stem, 'e');
            if (i >= 0)
                replaceAt(stem, i, "\xC3\xA8");
        }
        break;
    case 2:
        if (presentP || imperative2) {
            int32_t i = lastIndexOf(stem, 0xE9);
            if (i >= 0)
                replaceAt(stem, i, "\xC3\xA8");
        }
        break;
    case 3:
        if (presentP || futureAll || imperative2) {
            for (int32_t i = stem.length() - 1; i >= 0; --i) {
                if (!lx_isvowel(stem[i])) {
                    stem.insert(stem.begin() += i, stem[i]);
                    break;
                }
            }
        }
        break;
    case 5:
        // The present takes "i" in all four persons whose ending is mute, "ils" included
        // ("ils emploient").
        if (presentP || futureAll || imperative2) {
            if (stem.length() > 0 && stem[-1] == 'y')
                replaceAt(stem, stem.length() - 1, "i");
        }
        break;
    default:
        break;
    }
}

void applyItalianRule(int rule, lxstring &stem, uint32_t tense, uint32_t person)
{
    bool rule12 = ((tense == 81 || tense == 91) && pSet(person)) ||
                  (tense == 95 && (person == 38 || person == 39 || person == 42));
    switch (rule) {
    case 1:
    case 2:
        if (rule12) {
            int32_t i = lastVowelIndex(stem);
            if (i < 0)
                break;
            if (rule == 1 && stem[i] == 'u')
                replaceAt(stem, i, "e");
            else if (rule == 2 && stem[i] == 'e')
                replaceAt(stem, i, "ie");
        }
        break;
    case 3:
        // The stem's final "i" merges with an ending that begins with "i": "tu mangi",
        // "noi mangiamo"; "lui mangia" keeps it.
        if ((tense == 81 && (person == 38 || person == 40)) || tense == 91 ||
            (tense == 95 && (person == 39 || person == 40 || person == 42))) {
            if (stem.length() > 0 && stem[-1] == 'i')
                stem.chop();
        }
        break;
    default:
        break;
    }
}

} // namespace

void LXConjugator::applySpellingRules(LXLanguage language, const LXCodeTextList &features, lxstring &stem,
                                      uint32_t tense, uint32_t person, const lxstring &ending)
{
    if (language == LXFrench) {
        lxstring rule;
        if (findEntry(features, LXFeatureSpellingRule, rule) && !rule.empty())
            applyFrenchRule(static_cast<int>(rule[0]) - 3, stem, tense, person, ending);
        return;
    }
    for (LXCodeTextList::const_iterator f = features.begin(); !f.isAtEnd(); ++f) {
        if ((*f).first != LXFeatureSpellingRule)
            continue;
        int rule = (*f).second.empty() ? 0 : static_cast<int>((*f).second[0]) - 2;
        if (rule == 0)
            break;
        if (language == LXItalian)
            applyItalianRule(rule, stem, tense, person);
        else if (language == LXSpanish)
            lx_applySpanishRule(rule, stem, tense, person, ending);
        else if (language == LXPortuguese)
            lx_applyPortugueseRule(rule, stem, tense, person, ending);
    }
}

// Steps of the common scheme for one simple tense (or the participle of a compound):
// the verb's own forms for a personless tense, else stem + rules + each stored ending.
void LXConjugator::simpleRomanceForms(const LXVerb &verb, uint32_t wanted, uint32_t person,
                                      LXModelCache &cache, LXList<lxstring> &participles)
{
    participles.clear();
    lxstring own;
    bool overridden = false;
    if (wanted <= personlessEnd(m_language)) {
        overridden = findEntry(verb.entries, wanted, own) ||
                     (wanted == 74 && findEntry(verb.entries, 75, own));
        if (overridden)
            splitForms(own, participles);
    }

    if (!overridden) {
        loadModel(verb.model, cache);
        lxstring stem = verb.infinitive;
        lxstring ending;
        if (findEntry(cache.features, LXFeatureModelEnding, ending)) {
            int32_t cut = ending.length();
            stem = cut >= stem.length() ? lxstring(LXEncodingUtf8) : stem.substr(0, stem.length() - cut);
        }
        LXList<lxstring> endings;
        bool stored = getForms(verb, wanted, person, cache, endings);
        // Italian per-person sections: "<1p>...</1p><2p>...</2p>", forms as they stand.
        bool sections = false;
        if (stored && m_language == LXItalian && wanted == 86 && !endings.empty() &&
            !(*endings.begin()).find(static_cast<uint32_t>('<')).isAtEnd()) {
            lxstring raw;
            if (!findEntry(verb.entries, 86, raw))
                findTenseForms(cache, 86, person, raw);
            char open[16], close[16];
            std::snprintf(open, sizeof open, "<%dp>", static_cast<int>(person) - 36);
            std::snprintf(close, sizeof close, "</%dp>", static_cast<int>(person) - 36);
            lxstring_iterator a = raw.find(open);
            lxstring_iterator b = raw.find(close);
            if (!a.isAtEnd() && !b.isAtEnd()) {
                int32_t from = a.getCharIndex() + lxstring(open, LXEncodingUtf8).length();
                int32_t to = b.getCharIndex();
                if (to >= from) {
                    LXList<lxstring> pieces;
                    splitForms(raw.substr(from, to - from), pieces);
                    for (LXList<lxstring>::iterator p = pieces.begin(); !p.isAtEnd(); ++p)
                        addUniqueForm(participles, *p);
                    sections = true;
                }
            } else {
                lxstring direct;
                endings.clear();
                stored = findTenseForms(cache, 86, person, direct);
                if (stored)
                    splitForms(direct, endings);
            }
        }
        // A tense or person the module does not store has no form (not the bare stem).
        if (stored && !sections) {
            for (LXList<lxstring>::iterator e = endings.begin(); !e.isAtEnd(); ++e) {
                lxstring form = stem;
                applySpellingRules(m_language, cache.features, form, wanted, person, *e);
                form += *e;
                addUniqueForm(participles, form);
            }
        }
    }

}

bool LXConjugator::conjugateRomance(const LXVerb &verb, uint32_t tense, uint32_t person,
                                    LXModelCache &cache, LXList<lxstring> &list)
{
    list.clear();
    if (tense == LXTenseFirst) {
        list.push_back(verb.infinitive);
        return true;
    }
    uint32_t auxiliaryTense = auxiliaryTenseOf(m_language, tense);
    uint32_t wanted = auxiliaryTense ? 74u : tense;
    LXList<lxstring> participles;
    simpleRomanceForms(verb, wanted, person, cache, participles);

    if (!auxiliaryTense) {
        list = participles;
        return !list.empty();
    }

    // Compound tense: the auxiliary's form for the person, a space, the first participle.
    if (participles.empty() || (*participles.begin()).empty())
        return false;
    uint32_t auxiliaryModel;
    if (m_language == LXSpanish)
        auxiliaryModel = LXSpanishAuxiliaryModel;
    else if (m_language == LXPortuguese)
        auxiliaryModel = LXPortugueseAuxiliaryModel;
    else if (m_language == LXFrench)
        auxiliaryModel = hasEntry(verb.entries, LXFeatureEtre) || hasEntry(verb.entries, LXFeatureEtreAvoir) ? 2 : 1;
    else
        auxiliaryModel = hasEntry(verb.entries, LXFeatureEssere) || hasEntry(verb.entries, LXFeatureAvereEssere) ? 12 : 23;
    // With essere the participle agrees with the subject: "siamo andati", not "siamo
    // andato" (the masculine plural stands for the plural persons).
    if (m_language == LXItalian && auxiliaryModel == 12 && person >= 40 && person <= 42) {
        LXList<lxstring> plural;
        simpleRomanceForms(verb, 75, person, cache, plural);
        if (!plural.empty() && !(*plural.begin()).empty())
            participles = plural;
    }
    LXModelCache auxiliary;
    loadModel(auxiliaryModel, auxiliary);
    lxstring auxText;
    findTenseForms(auxiliary, auxiliaryTense, person, auxText);
    LXList<lxstring> auxForms;
    splitForms(auxText, auxForms);
    lxstring form = *auxForms.begin();
    form += static_cast<uint32_t>(' ');
    form += *participles.begin();
    list.push_back(form);
    return true;
}
