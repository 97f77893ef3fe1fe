// The German conjugator: simple tenses as stem + spelling rules + stored ending, with the
// separable particle and a trailing word put in place ("kommt an", "ankommt"); the
// participles with their declined forms; the compound tenses as the carrier verb
// ("werden", "sein", "haben") conjugated for the person + infinitive or participle.
#include "lxconjugator.h"
#include "lxformlist.h"

#include "base/lxchar.h"
#include "lxgermanconjugator.h"

namespace {

lxstring text(const char *utf8)
{
    return lxstring(utf8, LXEncodingUtf8);
}

lxstring trimmed(const lxstring &s)
{
    int32_t a = 0, b = s.length();
    while (a < b && s[a] == ' ')
        ++a;
    while (b > a && s[b - 1] == ' ')
        --b;
    return s.substr(a, b - a);
}

bool endsWith(const lxstring &s, const char *ascii)
{
    lxstring end = text(ascii);
    if (end.length() > s.length())
        return false;
    for (int32_t i = 0; i < end.length(); ++i) {
        if (s[s.length() - end.length() + i] != end[i])
            return false;
    }
    return true;
}

int32_t lastVowelIndex(const lxstring &s)
{
    for (int32_t i = s.length() - 1; i >= 0; --i) {
        if (lx_isvowel(s[i]))
            return i;
    }
    return -1;
}

uint32_t withDiaeresis(uint32_t c)
{
    switch (c) {
    case 'a': return 0xE4;
    case 'o': return 0xF6;
    case 'u': return 0xFC;
    case 'A': return 0xC4;
    case 'O': return 0xD6;
    case 'U': return 0xDC;
    default: return c;
    }
}

// The suffixes of the declined participles: gegangen, gegangene, gegangenes, ...
const char *const kDeclension[] = {"e", "es", "er", "en", "em"};

void addDeclined(const lxstring &form, LXList<lxstring> &list)
{
    addUniqueForm(list, form);
    for (const char *d : kDeclension) {
        lxstring declined = form;
        declined += text(d);
        addUniqueForm(list, declined);
    }
}

// The infinitive without a separable particle or a reflexive pronoun: what follows its
// last separator.
lxstring infinitivePart(const lxstring &infinitive)
{
    for (int32_t i = infinitive.length() - 1; i >= 0; --i) {
        uint32_t c = infinitive[i];
        if (c == ' ' || c == 0xB7 || c == 0xBC)
            return infinitive.substr(i + 1);
    }
    return infinitive;
}

// The text with the last occurrence of cut removed (the text itself when cut is empty or
// not in it).
lxstring withoutLast(const lxstring &s, const lxstring &cut)
{
    if (cut.empty() || cut.length() > s.length())
        return s;
    for (int32_t at = s.length() - cut.length(); at >= 0; --at) {
        bool same = true;
        for (int32_t k = 0; k < cut.length() && same; ++k)
            same = s[at + k] == cut[k];
        if (same)
            return s.substr(0, at) + s.substr(at + cut.length());
    }
    return s;
}

// One German rule on a stem and the ending about to be appended.
void applyGermanRule(int rule, lxstring &stem, lxstring &ending, uint32_t tense, uint32_t person)
{
    const bool present23 = tense == 76 && (person == 38 || person == 39);
    const uint32_t x = stem.empty() ? 0 : stem[-1];
    switch (rule) {
    case 1: {
        int32_t i = lastVowelIndex(stem);
        if (present23 && i >= 0 && stem[i] == 'e')
            stem.replace(i, 1, text("ie"));
        break;
    }
    case 2: {
        int32_t i = lastVowelIndex(stem);
        if (i < 0)
            break;
        if ((present23 || (tense == 89 && person == 38)) && stem[i] == 'e')
            stem.setAt(i, 'i');
        else if (present23 && stem[i] == 'a')
            stem.setAt(i, 0xE4);
        break;
    }
    case 3:
        if (tense != 79 || stem.empty())
            break;
        if (person == 38 && (x == 's' || x == 'z'))
            ending = text("est");
        else if (person == 41 && (x == 't' || x == 'd'))
            ending = text("et");
        else if (x == 'e' && (person == 40 || person == 42 || person == 43))
            ending = text("n");
        break;
    case 4:
        if (!(tense == 76 || (tense == 89 && person == 41)) || stem.length() < 2)
            break;
        if (endsWith(stem, "st") && (person == 38 || person == 39 || person == 41))
            ending = text("");
        else if (person == 38 && (x == 's' || x == 'z'))
            ending = text("t");
        else if (x == 't' || x == 'd') {
            if (person == 38)
                ending = text("st");
            else if (person == 39)
                ending = text("");
            else if (person == 41)
                ending = text("et");
        }
        break;
    case 5: {
        int32_t i = lastVowelIndex(stem);
        if (present23 && i >= 0)
            stem.setAt(i, withDiaeresis(stem[i]));
        break;
    }
    case 6:
        if (present23) {
            for (int32_t i = stem.length() - 2; i >= 0; --i) {
                if (stem[i] == 'a' && stem[i + 1] == 'u') {
                    stem.setAt(i, 0xE4);
                    break;
                }
            }
        }
        break;
    case 7:
        if (tense == 79 && x == 0xDF && (person == 38 || person == 40 || person == 42 || person == 43))
            stem.replace(stem.length() - 1, 1, text("ss"));
        break;
    case 8:
        if (present23 && stem.length() >= 3 && stem[-3] == 'b' && stem[-2] == 0xE4 && stem[-1] == 'r')
            stem.replace(stem.length() - 3, 3, text("bier"));
        break;
    case 9:
        if (tense == 79 && person == 38 && x == 'e')
            stem.chop();
        break;
    case 10:
        if (tense == 89 && person == 38 &&
            (x == 't' || x == 'd' || (x == 'g' && stem.length() >= 2 && stem[-2] == 'i')))
            ending = text("e");
        break;
    default:
        break;
    }
}

} // namespace

void lx_applyGermanRules(const LXCodeTextList &features, lxstring &stem, lxstring &ending, uint32_t tense,
                         uint32_t person)
{
    for (LXCodeTextList::const_iterator f = features.begin(); !f.isAtEnd(); ++f) {
        if ((*f).first != LXFeatureSpellingRule)
            continue;
        int rule = (*f).second.empty() ? 0 : static_cast<int>((*f).second[0]) - 2;
        if (rule == 0)
            break;
        applyGermanRule(rule, stem, ending, tense, person);
    }
}

namespace {

struct GermanCompound {
    uint32_t tense;
    uint32_t carrierTense;
    bool werden;        // the carrier is "werden", else the verb's auxiliary
    bool participle;    // the main part is the participle, else the infinitive
    bool closing;       // the auxiliary's infinitive closes the form
};

const GermanCompound kCompounds[] = {
    {77, 76, true, false, false},  {78, 76, true, true, true},    {80, 76, false, true, false},
    {81, 79, false, true, false},  {84, 82, true, true, true},    {85, 83, true, false, false},
    {86, 83, true, true, true},    {87, 82, false, true, false},  {88, 83, false, true, false},
    {0, 0, false, false, false}};

const GermanCompound *compoundOf(uint32_t tense)
{
    for (const GermanCompound *c = kCompounds; c->tense; ++c) {
        if (c->tense == tense)
            return c;
    }
    return nullptr;
}

} // namespace

bool LXConjugator::germanStemText(const LXVerb &verb, uint32_t tense, const LXModelCache &cache, lxstring &stem)
{
    lxstring cut;
    switch (tense) {
    case 75:
    case 76:
    case 89:
        findEntry(cache.features, LXFeatureModelEnding, cut);
        stem = withoutLast(infinitivePart(verb.infinitive), cut);
        return true;
    case 82:
        findEntry(cache.features, LXFeatureGermanStem49, cut);
        stem = withoutLast(infinitivePart(verb.infinitive), cut);
        return true;
    case 79:
        return findEntry(verb.entries, LXGermanPastStem, stem);
    case 83:
        if (hasEntry(cache.features, LXFeatureGermanStem52))
            return findEntry(verb.entries, LXGermanSubjunctiveStem, stem);
        if (hasEntry(cache.features, LXFeatureGermanStem51))
            return findEntry(verb.entries, LXGermanPastStem, stem);
        return false;
    default:
        return false;
    }
}

void LXConjugator::simpleGermanForms(const LXVerb &verb, uint32_t tense, uint32_t person, LXModelCache &cache,
                                     LXList<lxstring> &list)
{
    loadModel(verb.model, cache);
    lxstring stemText;
    LXList<lxstring> endings;
    // A verb without the stem its model reads for the tense, or a tense or person the
    // model does not store, has no form (not a bare ending).
    if (!germanStemText(verb, tense, cache, stemText) || !getForms(verb, tense, person, cache, endings))
        return;
    lxstring particle, trailing;
    const bool separable = findEntry(verb.entries, LXGermanParticle, particle) && !particle.empty();
    const bool hasTrailing = findEntry(verb.entries, LXGermanTrailingWord, trailing) && !trailing.empty();
    LXList<lxstring> stems;
    splitForms(stemText, stems);
    for (LXList<lxstring>::iterator s = stems.begin(); !s.isAtEnd(); ++s) {
        for (LXList<lxstring>::iterator e = endings.begin(); !e.isAtEnd(); ++e) {
            lxstring stem = *s, ending = *e;
            lx_applyGermanRules(cache.features, stem, ending, tense, person);
            lxstring form = stem + ending;
            if (separable && tense == 75) {
                form = particle + form;
            } else if (separable) {
                form += static_cast<uint32_t>(' ');
                form += particle;
            }
            if (hasTrailing) {
                form += static_cast<uint32_t>(' ');
                form += trailing;
            }
            form = trimmed(form);
            if (form.empty())
                continue;
            if (tense == 75)
                addDeclined(form, list);
            else
                addUniqueForm(list, form);
            // "kommt an" is also written "ankommt" (in a subordinate clause); an
            // imperative ("komm an") never stands in one.
            lxstring_iterator space = form.find(static_cast<uint32_t>(' '));
            if (!space.isAtEnd() && tense != LXGermanImperative) {
                int32_t at = space.getCharIndex();
                addUniqueForm(list, form.substr(at + 1) + form.substr(0, at));
            }
        }
    }
}

bool LXConjugator::conjugateGerman(const LXVerb &verb, uint32_t tense, uint32_t person, LXModelCache &cache,
                                   LXList<lxstring> &list)
{
    list.clear();
    loadModel(verb.model, cache);
    lxstring own;
    if (tense == LXTenseFirst) {
        lxstring shown;
        displayForm(verb.infinitive, shown);
        list.push_back(trimmed(shown));
        return true;
    }
    if (tense == 74) {
        LXList<lxstring> participles;
        if (findEntry(verb.entries, 74, own))
            splitForms(own, participles);
        for (LXList<lxstring>::iterator p = participles.begin(); !p.isAtEnd(); ++p) {
            if (!(*p).empty())
                addDeclined(*p, list);
        }
        return !list.empty();
    }
    const GermanCompound *compound = compoundOf(tense);
    if (!compound) {
        simpleGermanForms(verb, tense, person, cache, list);
        return !list.empty();
    }

    // Compound tense: the carrier's form for the person, then the infinitive or the
    // participle, then the auxiliary's infinitive where the tense closes with it. Without
    // the carrier verb or the participle there is no form, never half of one.
    const bool sein = hasEntry(verb.entries, LXFeatureSein) || hasEntry(verb.entries, LXFeatureSeinHaben);
    const char *auxiliary = sein ? "sein" : "haben";
    lxstring main;
    if (compound->participle) {
        LXList<lxstring> participles;
        if (!findEntry(verb.entries, 74, own))
            return false;
        splitForms(own, participles);
        main = *participles.begin();
    } else {
        displayForm(verb.infinitive, main);
        main = trimmed(main);
    }
    if (main.empty())
        return false;
    LXVerb carrier;
    lxstring carrierName = text(compound->werden ? "werden" : auxiliary);
    if (!findVerb(carrierName, carrier) || carrier.infinitive.compare(carrierName, false, false, LXLanguageNone) != 0)
        return false;
    LXModelCache carrierCache;
    LXList<lxstring> carrierForms;
    simpleGermanForms(carrier, compound->carrierTense, person, carrierCache, carrierForms);
    if (carrierForms.empty())
        return false;
    lxstring form = *carrierForms.begin();
    form += static_cast<uint32_t>(' ');
    form += main;
    if (compound->closing) {
        form += static_cast<uint32_t>(' ');
        form += text(auxiliary);
    }
    list.push_back(trimmed(form));
    return true;
}
