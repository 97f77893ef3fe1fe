// The questions asked about verbs: matching infinitives, tenses, persons, forms, display
// lines, details and the base forms a word may come from.
#include "lxconjugator.h"

#include "base/lxchar.h"
#include "lxenglishconjugator.h"
#include "lxgermanconjugator.h"
#include "lxiberianrules.h"
#include "base/lxutilities.h"

// ---- text helpers ----

void LXConjugator::normaliseWord(const lxstring &text, lxstring &out, bool lower, bool baseOnly)
{
    lxstring result(LXEncodingUtf8);
    for (lxstring_iterator it = text.begin(); !it.isAtEnd(); ++it) {
        uint32_t c = *it;
        if (lower)
            c = lx_tolower(c);
        if (baseOnly)
            c = lx_base(c);
        if (c == '+')
            continue;
        if (c == 0xB7 || c == 0xBC)
            c = ' ';
        if (lx_iswordchar(c))
            result += c;
    }
    // An elided prefix such as "s'" is ignored.
    lxstring_iterator apostrophe = result.find(static_cast<uint32_t>('\''));
    if (!apostrophe.isAtEnd() && apostrophe.getCharIndex() * 2 < result.length())
        result = result.substr(apostrophe.getCharIndex() + 1);
    out = result;
}

void LXConjugator::displayForm(const lxstring &infinitive, lxstring &out)
{
    lxstring result(LXEncodingUtf8);
    for (lxstring_iterator it = infinitive.begin(); !it.isAtEnd(); ++it) {
        uint32_t c = *it;
        if (c == '+' || c == 0xB7)
            continue;
        result += c == 0xBC ? static_cast<uint32_t>(' ') : c;
    }
    out = result;
}

namespace {

bool skippedInVerbList(uint32_t c)
{
    return c == ' ' || c == '+' || c == 0xB7 || c == 0xBC;
}

// One walk of the verb-list comparison. Answers the stopping keys (0 at an end).
void verbWalk(const lxstring &a, const lxstring &b, bool ignoreCase, bool reduce, bool &aEnd,
              bool &bEnd, uint32_t &ka, uint32_t &kb)
{
    lxstring_iterator i = a.begin();
    lxstring_iterator j = b.begin();
    ka = kb = 0;
    for (;;) {
        while (!i.isAtEnd() && skippedInVerbList(*i))
            ++i;
        while (!j.isAtEnd() && skippedInVerbList(*j))
            ++j;
        aEnd = i.isAtEnd();
        bEnd = j.isAtEnd();
        if (aEnd || bEnd)
            return;
        ka = *i;
        kb = *j;
        if (reduce) {
            ka = lx_base(ka);
            kb = lx_base(kb);
        }
        if (ignoreCase) {
            ka = lx_tolower(ka);
            kb = lx_tolower(kb);
        }
        if (ka != kb)
            return;
        ++i;
        ++j;
    }
}

} // namespace

int LXConjugator::compareVerbText(const lxstring &word, const lxstring &infinitive, bool ignoreCase,
                                  bool baseOnly)
{
    bool aEnd, bEnd;
    uint32_t ka, kb;
    verbWalk(word, infinitive, ignoreCase, true, aEnd, bEnd, ka, kb);
    if (!baseOnly && aEnd && bEnd)
        verbWalk(word, infinitive, ignoreCase, false, aEnd, bEnd, ka, kb);
    if (aEnd && bEnd)
        return 0;
    if (aEnd)
        return -1;
    if (bEnd)
        return 1;
    uint32_t ra = lx_rank(ka, LXLanguageNone);
    uint32_t rb = lx_rank(kb, LXLanguageNone);
    return ra == rb ? 0 : (ra < rb ? -1 : 1);
}

void LXConjugator::splitForms(const lxstring &text, LXList<lxstring> &forms)
{
    lxstring current(LXEncodingUtf8);
    bool taken = false;
    for (lxstring_iterator it = text.begin(); !it.isAtEnd(); ++it) {
        uint32_t c = *it;
        if (c == ',') {
            forms.push_back(current);
            current = lxstring(LXEncodingUtf8);
            taken = false;
        } else if (c == ' ') {
            if (taken)
                current += c;
        } else if (lx_iswordchar(c) || c == '(' || c == ')' || c == '/' || c == '<' || c == '>') {
            current += c;
            taken = true;
        }
    }
    forms.push_back(current);
}

uint32_t LXConjugator::personlessEnd(LXLanguage language)
{
    switch (language) {
    case LXEnglish:
    case LXGerman:
        return 75;
    case LXItalian:
        return 80;
    case LXFrench:
    case LXSpanish:
    case LXPortuguese:
        return 79;
    default:
        return LXNoTense;
    }
}

bool LXConjugator::isPersonless(LXLanguage language, uint32_t tense)
{
    return tense >= LXTenseFirst && tense <= personlessEnd(language);
}

namespace {

bool isRomance(LXLanguage l)
{
    return l == LXFrench || l == LXSpanish || l == LXItalian || l == LXPortuguese;
}

bool startsWith(const lxstring &text, const lxstring &prefix)
{
    if (prefix.length() > text.length())
        return false;
    lxstring_iterator i = text.begin();
    for (lxstring_iterator j = prefix.begin(); !j.isAtEnd(); ++j, ++i) {
        if (*i != *j)
            return false;
    }
    return true;
}

} // namespace

// ---- queries ----

void LXConjugator::getMatchingVerbs(const lxstring &text, LXList<lxstring> &list, bool clear,
                                    uint32_t maxCount)
{
    if (clear)
        list.clear();
    lxstring wanted;
    normaliseWord(text, wanted, true, true);
    if (wanted.empty() || !isOpen())
        return;
    uint32_t count = list.size();
    uint32_t position = 0;
    LXVerb verb;
    findVerb(wanted, position, verb);
    uint32_t size = streamSize(LXStreamVerbs);
    lxstring normal, shown;
    while (verb.model != 0) {
        normaliseWord(verb.infinitive, normal, true, true);
        if (!startsWith(normal, wanted))
            break;
        if (maxCount != 0 && count >= maxCount)
            break;
        displayForm(verb.infinitive, shown);
        list.push_back(shown);
        ++count;
        uint32_t next = skipRecord(LXStreamVerbs, position, size);
        if (next <= position || next >= size)
            break;
        position = next;
        readVerb(position, verb);
    }
}

void LXConjugator::getTenses(const LXVerb &verb, LXList<int> &list, bool all)
{
    list.clear();
    LXModelCache cache;
    loadModel(verb.model, cache);
    for (LXList<LXTenseInfo>::const_iterator t = cache.tenses.begin(); !t.isAtEnd(); ++t) {
        uint32_t tense = (*t).tense;
        if (!all && isPersonless(m_language, tense))
            continue;
        list.insert(static_cast<int>(tense));
    }
}

void LXConjugator::getPersons(const LXVerb &verb, uint32_t tense, LXList<int> &list)
{
    list.clear();
    LXModelCache cache;
    loadModel(verb.model, cache);
    if (hasEntry(verb.entries, LXFeatureOnlyThirdPerson)) {
        list.push_back(39);
        return;
    }
    for (LXList<LXTenseInfo>::const_iterator t = cache.tenses.begin(); !t.isAtEnd(); ++t) {
        if ((*t).tense != tense)
            continue;
        for (LXCodeTextList::const_iterator p = (*t).persons.begin(); !p.isAtEnd(); ++p)
            list.push_back(static_cast<int>((*p).first));
        return;
    }
}

bool LXConjugator::getForms(const LXVerb &verb, uint32_t tense, uint32_t person,
                            LXModelCache &cache, LXList<lxstring> &list)
{
    list.clear();
    loadModel(verb.model, cache);
    lxstring text;
    uint32_t asked = isPersonless(m_language, tense) ? static_cast<uint32_t>(LXPersonFirst) : person;
    bool found = findEntry(verb.entries, tense, text) || findTenseForms(cache, tense, asked, text);
    if (!found && tense == 74 && isRomance(m_language))
        found = findEntry(verb.entries, 75, text) || findTenseForms(cache, 75, asked, text);
    if (!found)
        text = lxstring(LXEncodingUtf8);
    splitForms(text, list);
    return found;
}

bool LXConjugator::conjugate(const LXVerb &verb, uint32_t tense, uint32_t person,
                             LXModelCache &cache, LXList<lxstring> &list)
{
    list.clear();
    switch (m_language) {
    case LXFrench:
    case LXSpanish:
    case LXItalian:
    case LXPortuguese:
        conjugateRomance(verb, tense, person, cache, list);
        break;
    case LXEnglish:
        conjugateEnglish(verb, tense, person, cache, list);
        break;
    case LXGerman:
        conjugateGerman(verb, tense, person, cache, list);
        break;
    default:
        break;
    }
    return !list.empty();
}

bool LXConjugator::getConjugation(const LXVerb &verb, uint32_t tense, uint32_t person, lxstring &text)
{
    LXModelCache cache;
    LXList<lxstring> forms;
    if (!conjugate(verb, tense, person, cache, forms)) {
        text = lxstring(LXEncodingUtf8);
        return false;
    }
    text = *forms.begin();
    return true;
}

bool LXConjugator::getConjugations(const LXVerb &verb, uint32_t tense, uint32_t person,
                                   LXList<lxstring> &list)
{
    LXModelCache cache;
    return conjugate(verb, tense, person, cache, list);
}

namespace {

bool frenchCompound(uint32_t tense)
{
    switch (tense) {
    case 82: case 84: case 85: case 87: case 89: case 91: case 93:
        return true;
    default:
        return false;
    }
}

bool beginsElidable(const lxstring &form, bool aspirateH)
{
    uint32_t c = form[0];
    if (lx_isvowel(c))
        return true;
    return (c == 'h' || c == 'H') && !aspirateH;
}

void appendUtf8(lxstring &text, const char *s)
{
    text += lxstring(s, LXEncodingUtf8);
}

} // namespace

void LXConjugator::getConjugationDisplayText(const LXVerb &verb, uint32_t separator, uint32_t tense,
                                             uint32_t person, lxstring &text)
{
    text = lxstring(LXEncodingUtf8);
    LXModelCache cache;
    LXList<lxstring> forms;
    conjugate(verb, tense, person, cache, forms);
    if (isPersonless(m_language, tense)) {
        if (!forms.empty())
            text = *forms.begin();
        return;
    }

    // The forms as shown: for a French reflexive verb each gets its reflexive pronoun, and
    // the compound tenses of verbs with "être" their agreement mark.
    LXList<lxstring> shown;
    bool french = m_language == LXFrench;
    bool aspirateH = hasEntry(verb.entries, LXFeatureNoElision);
    bool reflexive = french && hasEntry(verb.entries, LXFeatureReflexive);
    bool agreement = french && frenchCompound(tense) &&
                     (hasEntry(verb.entries, LXFeatureEtre) || hasEntry(verb.entries, LXFeatureEtreAvoir));
    const bool spanishReflexive = m_language == LXSpanish && hasEntry(verb.entries, LXFeatureReflexive);
    for (LXList<lxstring>::iterator f = forms.begin(); !f.isAtEnd(); ++f) {
        lxstring s(LXEncodingUtf8);
        if (spanishReflexive) {
            // The pronoun goes before the verb ("me acerco", "me he acercado"), after the
            // affirmative imperative and joined to it ("acércate").
            if (tense == 98) {
                shown.push_back(lx_spanishEnclitic(*f, person));
                continue;
            }
            appendUtf8(s, lx_spanishReflexivePronoun(person));
            appendUtf8(s, " ");
        }
        if (reflexive && tense == 94) {
            // The affirmative imperative puts the pronoun after the verb: "lave-toi",
            // "lavons-nous" (never "te lave").
            s += *f;
            appendUtf8(s, person == 38 ? "-toi" : person == 40 ? "-nous" : person == 41 ? "-vous" : "");
            shown.push_back(s);
            continue;
        }
        if (reflexive && person != 43) {
            // The pronoun elides before a vowel or a mute h of what follows it, which in a
            // compound tense is the auxiliary.
            bool elide = person != 40 && person != 41 && beginsElidable(*f, aspirateH);
            switch (person) {
            case 37: appendUtf8(s, elide ? "m'" : "me "); break;
            case 38: appendUtf8(s, elide ? "t'" : "te "); break;
            case 40: appendUtf8(s, "nous "); break;
            case 41: appendUtf8(s, "vous "); break;
            case 39: case 42: appendUtf8(s, elide ? "s'" : "se "); break;
            default: break;
            }
        }
        s += *f;
        if (agreement) {
            switch (person) {
            case 37: case 38: case 39: appendUtf8(s, "(e)"); break;
            case 40: case 42: appendUtf8(s, "(e)s"); break;
            case 41: appendUtf8(s, "(e)(s)"); break;
            default: break;
            }
        }
        shown.push_back(s);
    }

    lxstring pronoun(LXEncodingUtf8);
    lxstring name;
    getPersonName(person, name);
    // The imperative (French 94, Italian 95, Spanish and Portuguese 98) puts the person in
    // parentheses.
    const bool imperative = (m_language == LXFrench && tense == 94) || (m_language == LXItalian && tense == 95) ||
                            (m_language == LXGerman && tense == LXGermanImperative) ||
                            ((m_language == LXSpanish || m_language == LXPortuguese) && tense == 98);
    // Chosen from the first form as shown, so "me" of a reflexive verb keeps "je".
    if (m_language == LXEnglish && tense == LXEnglishImperative) {
        // "let's go", "(you) go".
        appendUtf8(pronoun, person == 40 ? "let's" : "(you)");
    } else if (m_language == LXFrench && person == 37 && !shown.empty() && beginsElidable(*shown.begin(), aspirateH)) {
        appendUtf8(pronoun, "j'");
    } else if (imperative) {
        appendUtf8(pronoun, "(");
        pronoun += name;
        appendUtf8(pronoun, ")");
    } else {
        pronoun = name;
    }

    if (m_language == LXGerman && tense == LXGermanImperative && person != 38 && person != 41) {
        // "Gehen wir!", "Gehen Sie!": the verb first, capitalised, the pronoun after it;
        // a separable particle stays at the end ("Kommen wir an!").
        bool firstForm = true;
        for (LXList<lxstring>::iterator f = shown.begin(); !f.isAtEnd(); ++f) {
            if (!firstForm)
                appendUtf8(text, ", ");
            firstForm = false;
            lxstring form = *f;
            if (!form.empty())
                form.setAt(0, lx_toupper(form[0]));
            lxstring_iterator space = form.find(static_cast<uint32_t>(' '));
            const int32_t verbEnd = space.isAtEnd() ? form.length() : space.getCharIndex();
            text += form.substr(0, verbEnd);
            appendUtf8(text, " ");
            text += name;
            text += form.substr(verbEnd);
            appendUtf8(text, "!");
        }
        return;
    }

    text = pronoun;
    text += separator;
    bool firstForm = true;
    for (LXList<lxstring>::iterator f = shown.begin(); !f.isAtEnd(); ++f) {
        if (!firstForm)
            appendUtf8(text, ", ");
        firstForm = false;
        text += *f;
    }
}

void LXConjugator::getVerbDetails(const LXVerb &verb, lxstring &text)
{
    text = lxstring(LXEncodingUtf8);
    static const uint32_t french[] = {79, 74, 0};
    static const uint32_t italian[] = {80, 74, 79, 0};
    static const uint32_t iberian[] = {74, 79, 0};
    static const uint32_t germanic[] = {75, 74, 0};
    const uint32_t *tenses = nullptr;
    if (m_language == LXEnglish || m_language == LXGerman)
        tenses = germanic;
    else if (m_language == LXFrench)
        tenses = french;
    else if (m_language == LXItalian)
        tenses = italian;
    else if (m_language == LXSpanish || m_language == LXPortuguese)
        tenses = iberian;
    if (!tenses)
        return;
    bool etre = hasEntry(verb.entries, LXFeatureEtre);
    bool etreAvoir = hasEntry(verb.entries, LXFeatureEtreAvoir);
    lxstring name, form;
    for (const uint32_t *t = tenses; *t; ++t) {
        getTenseName(*t, name);
        bool has = getConjugation(verb, *t, LXPersonFirst, form);
        // An English modal has no participles: no line rather than an empty one.
        if (!has && m_language == LXEnglish)
            continue;
        text += name;
        appendUtf8(text, ": ");
        text += form;
        if (m_language == LXFrench && *t == 74 && has && (etre || etreAvoir))
            appendUtf8(text, "(e)(s)");
        appendUtf8(text, "\n");
    }
    if (m_language == LXFrench) {
        if (etre)
            appendUtf8(text, "Aux: \xC3\xAAtre\n");
        else if (etreAvoir)
            appendUtf8(text, "Aux: \xC3\xAAtre, avoir\n");
    } else if (m_language == LXGerman) {
        if (hasEntry(verb.entries, LXFeatureSein))
            appendUtf8(text, "Aux: sein\n");
        else if (hasEntry(verb.entries, LXFeatureSeinHaben))
            appendUtf8(text, "Aux: sein, haben\n");
    } else if (m_language == LXItalian) {
        if (hasEntry(verb.entries, LXFeatureEssere))
            appendUtf8(text, "Aux: essere\n");
        else if (hasEntry(verb.entries, LXFeatureAvereEssere))
            appendUtf8(text, "Aux: avere, essere\n");
    }
}
