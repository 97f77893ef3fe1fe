// The reverse direction: base forms a word may come from, by the stemming models and by
// the verbs (inflected-form index, then candidate verbs conjugated against the word).
#include "lxconjugator.h"

#include <utility>

#include "base/lxchar.h"
#include "base/lxutilities.h"

void LXConjugator::getModelStems(const lxstring &word, LXList<LXStem> &stems)
{
    lxstring w;
    normaliseWord(word, w, false, false);
    LXStem stem;
    stem.source = 2;
    stem.word = w;
    lxstring r = w;
    LXUtilities::reverse(r);
    lxstring k(LXEncodingUtf8);
    LXList<LXStemmingModel> models;
    while (r.length() > 1) {
        models.clear();
        findStemmingModels(r, models);
        for (LXList<LXStemmingModel>::iterator m = models.begin(); !m.isAtEnd(); ++m) {
            const LXStemmingModel &model = *m;
            if (model.replacement.empty())
                stem.base = k;
            else if (model.replacement[0] == '-')
                stem.base = k + model.replacement.substr(1);
            else
                stem.base = model.replacement;
            stem.grammarCode1 = model.grammarCode1;
            stem.grammarCode2 = model.grammarCode2;
            stem.partOfSpeechName = model.partOfSpeechName;
            stem.partOfSpeechCode = model.partOfSpeechCode;
            addUniqueStem(stem, stems);
        }
        if (r[-1] == '-') {
            r.chop();
            k += r[-1];
            r.chop();
        }
        r += static_cast<uint32_t>('-');
    }
}

namespace {

// Length of the common beginning, compared case-insensitively on base letters.
int32_t commonBeginning(const lxstring &a, const lxstring &b)
{
    int32_t n = 0;
    lxstring_iterator i = a.begin(), j = b.begin();
    for (; !i.isAtEnd() && !j.isAtEnd(); ++i, ++j, ++n) {
        if (lx_tolower(lx_base(*i)) != lx_tolower(lx_base(*j)))
            break;
    }
    return n;
}

int32_t bestAgreement(const lxstring &candidate, const LXList<lxstring> &variants)
{
    int32_t best = 0;
    for (LXList<lxstring>::const_iterator v = variants.begin(); !v.isAtEnd(); ++v) {
        int32_t n = commonBeginning(candidate, *v);
        if (n > best)
            best = n;
    }
    return best;
}

// A candidate verb with how far it agrees with the word's variants, worked out once.
struct Candidate {
    int32_t agreement;
    lxstring infinitive;
};

// The verbs agreeing longest first, then in the order of their infinitives.
int candidateOrder(Candidate &a, Candidate &b, void *)
{
    if (a.agreement != b.agreement)
        return a.agreement > b.agreement ? -1 : 1;
    return a.infinitive.compare(b.infinitive, LXLanguageNone);
}

void sortCandidates(LXList<lxstring> &candidates, const LXList<lxstring> &variants)
{
    LXList<Candidate> sorted;
    for (LXList<lxstring>::iterator c = candidates.begin(); !c.isAtEnd(); ++c)
        sorted.push_back(Candidate{bestAgreement(*c, variants), std::move(*c)});
    sorted.mergeSort(candidateOrder, nullptr);
    candidates.clear();
    for (LXList<Candidate>::iterator c = sorted.begin(); !c.isAtEnd(); ++c)
        candidates.push_back(std::move(c->infinitive));
}

void addVariant(LXList<lxstring> &variants, const lxstring &v)
{
    for (LXList<lxstring>::iterator it = variants.begin(); !it.isAtEnd(); ++it) {
        if ((*it).compare(v, false, false, LXLanguageNone) == 0)
            return;
    }
    variants.push_back(v);
}

lxstring replaced(const lxstring &w, int32_t index, int32_t count, const char *utf8)
{
    lxstring x = w;
    x.replace(index, count, lxstring(utf8, LXEncodingUtf8));
    return x;
}

// Variants of a word whose stem vowel (the last vowel among its first two characters, at
// vi) may have been changed by the language's rules, so the verbs beginning like the
// unchanged stem become candidates too.
void addSpellingVariants(LXLanguage language, const lxstring &w, int32_t vi, LXList<lxstring> &variants)
{
    uint32_t v = w[vi];
    uint32_t p = vi > 0 ? w[vi - 1] : 0;
    uint32_t n = vi + 1 < w.length() ? w[vi + 1] : 0;
    switch (language) {
    case LXFrench:
        if (v == 'i') {
            lxstring y;
            LXConjugator::normaliseWord(replaced(w, vi, 1, "y"), y, true, true);
            addVariant(variants, y);
        }
        break;
    case LXItalian:
        if (v == 'e') {
            addVariant(variants, replaced(w, vi, 1, "u"));
            if (p == 'i')
                addVariant(variants, replaced(w, vi - 1, 1, ""));
        } else if (v == 'i' && n == 'e') {
            addVariant(variants, replaced(w, vi, 1, ""));
        }
        break;
    case LXSpanish:
        if (v == 'e' && p == 'u') {
            addVariant(variants, replaced(w, vi - 1, 2, "o"));
            addVariant(variants, replaced(w, vi - 1, 2, "u"));
        } else if (v == 'e' && p == 'i') {
            addVariant(variants, replaced(w, vi - 1, 1, ""));
        } else if (v == 'i') {
            addVariant(variants, replaced(w, vi, 1, "e"));
            if (n == 'e')
                addVariant(variants, replaced(w, vi, 1, ""));
        } else if (v == 'u') {
            addVariant(variants, replaced(w, vi, 1, "o"));
            if (n == 'e') {
                addVariant(variants, replaced(w, vi, 2, "o"));
                addVariant(variants, replaced(w, vi, 2, "u"));
                if (p == 'h')
                    addVariant(variants, replaced(w, vi - 1, 3, "o"));
            }
        }
        break;
    case LXGerman:
        // lies(t): lesen, gibt: geben, bierst: bärst (gebären), fiel: fallen.
        if (v == 'e' && p == 'i') {
            addVariant(variants, replaced(w, vi - 1, 1, ""));
        } else if (v == 'i') {
            lxstring e = replaced(w, vi, 1, "e");
            addVariant(variants, e);
            if (n == 'e') {
                if (p == 'b' && vi + 2 < w.length() && w[vi + 2] == 'r')
                    addVariant(variants, replaced(w, vi - 1, 4, "bar"));
                addVariant(variants, replaced(e, vi, 1, ""));
            }
        }
        break;
    case LXPortuguese:
        if (v == 'i')
            addVariant(variants, replaced(w, vi, 1, "e"));
        else if (v == 'o')
            addVariant(variants, replaced(w, vi, 1, "u"));
        else if (v == 'u')
            addVariant(variants, replaced(w, vi, 1, "o"));
        break;
    default:
        break;
    }
}

} // namespace

void LXConjugator::getVerbStems(const lxstring &word, LXList<LXStem> &stems, int strategy)
{
    lxstring w;
    normaliseWord(word, w, true, true);
    if (w.empty() || !isOpen())
        return;

    LXStem stem;
    stem.source = 1;
    stem.word = w;
    stem.partOfSpeechName = lxstring("v.", LXEncodingUtf8);
    stem.partOfSpeechCode = LXPartOfSpeechVerb;

    // 1. The inflected-form index.
    LXList<LXStem> indexed;
    findVerbForms(w, indexed);
    for (LXList<LXStem>::iterator s = indexed.begin(); !s.isAtEnd(); ++s) {
        stem.base = (*s).base;
        stem.tense = (*s).tense;
        stem.person = (*s).person;
        addUniqueStem(stem, stems);
    }
    if (w.length() == 1)
        return;

    // 2. Spelling variants of the word's beginning, and the verbs that begin like them.
    LXList<lxstring> variants;
    variants.push_back(w);
    int32_t vi = -1;
    for (int32_t i = 0; i < 2 && i < w.length(); ++i) {
        if (lx_isvowel(w[i]))
            vi = i;
    }
    if (vi >= 0)
        addSpellingVariants(m_language, w, vi, variants);
    LXList<lxstring> candidates;
    LXList<lxstring> prefixes;
    for (LXList<lxstring>::iterator v = variants.begin(); !v.isAtEnd(); ++v) {
        lxstring prefix = (*v).substr(0, 2);
        bool used = false;
        for (LXList<lxstring>::iterator q = prefixes.begin(); !q.isAtEnd(); ++q)
            used = used || (*q).compare(prefix, false, false, LXLanguageNone) == 0;
        if (used)
            continue;
        prefixes.push_back(prefix);
        getMatchingVerbs(prefix, candidates, false, 0);
    }
    sortCandidates(candidates, variants);

    // 3. Suffix models of the empty ending, then of each ending of the word.
    LXList<LXSuffixModel> suffixes;
    lxstring reversed = w;
    LXUtilities::reverse(reversed);
    findSuffixModels(lxstring(LXEncodingUtf8), suffixes);
    for (int32_t len = 1; len <= reversed.length(); ++len)
        findSuffixModels(reversed.substr(0, len), suffixes);

    // 4. Candidates conjugated against the word.
    LXModelCache cache;
    LXList<lxstring> forms;
    LXVerb verb;
    uint32_t tried = 0;
    bool anyHit = false;
    uint32_t last = personlessEnd(m_language);
    for (LXList<lxstring>::iterator c = candidates.begin(); !c.isAtEnd() && tried < 100; ++c) {
        ++tried;
        if (!findVerb(*c, verb))
            continue;
        bool hit = false;
        auto tryForms = [&](uint32_t tense, uint32_t person) {
            conjugate(verb, tense, person, cache, forms);
            for (LXList<lxstring>::iterator f = forms.begin(); !f.isAtEnd(); ++f) {
                if ((*f).compare(w, true, true, LXLanguageNone) != 0)
                    continue;
                stem.base = verb.infinitive;
                stem.tense = tense;
                stem.person = person;
                addUniqueStem(stem, stems);
                hit = anyHit = true;
                return true;
            }
            return false;
        };
        for (uint32_t tense = LXTenseFirst + 1; tense <= last && !(hit && strategy == LXStemOnePerVerb); ++tense) {
            tryForms(tense, LXPersonFirst);
            if (hit && strategy == LXStemFirstHit)
                return;
        }
        for (LXList<LXSuffixModel>::iterator s = suffixes.begin(); !s.isAtEnd(); ++s) {
            if ((*s).model != verb.model)
                continue;
            if (anyHit && tried > 8)
                return;
            if (hit && strategy == LXStemOnePerVerb)
                break;
            tryForms((*s).tense, (*s).person);
            if (hit && strategy == LXStemFirstHit)
                return;
        }
    }
}
