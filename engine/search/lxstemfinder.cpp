#include "search/lxstemfinder.h"

#include <cstring>

#include "base/lxchar.h"
#include "base/lxutilities.h"
#include "model/lxterm.h"
#include "search/lxconjugationengine.h"
#include "search/lxdmanager.h"

struct LXStemFinder::Search {
    lxstring typed;          // the search word as typed, without blanks around it
    LXLanguage language;
    LXLanguage language2;
    uint32_t product;
    int strategy;
};

namespace {

// Features of a term that steer the scan of the word's own entries.
const uint32_t kFeatureEndOfOwnEntries = 38;   // the scan stops before this term
// An expression with a usage note is shown only when nothing came before it.
const uint32_t kFeatureSecondaryEntry = LXFeatureUsage;
// The stem record a search starts from.
const uint32_t kStartGrammarCode1 = 0;
const uint32_t kStartGrammarCode2 = 12;

bool hasBlank(const lxstring &s)
{
    return !s.find(static_cast<uint32_t>(' ')).isAtEnd();
}

bool sameText(const lxstring &a, const lxstring &b, LXLanguage language)
{
    return a.compare(b, true, true, language) == 0;
}

// The iterator is on a term filed under the word.
bool onKey(const LXDMIterator &it, const lxstring &word, LXLanguage language)
{
    return !it.isAtEnd() && sameText((*it).getSearchKey(), word, language);
}

// The headword without the style codes that raise part of it.
lxstring baseForm(const lxstring &headword)
{
    lxstring base(headword);
    LXUtilities::replaceAll(base, "\\SU", "");
    LXUtilities::replaceAll(base, "\\Su", "");
    return base;
}

bool beginsWith(const lxstring &text, const lxstring &start)
{
    lxstring_iterator at = text.find(start);
    return !at.isAtEnd() && at.getCharIndex() == 0;
}

bool holds(const lxstring &text, const lxstring &part)
{
    return !text.find(part).isAtEnd();
}

// Adds a result for the iterator's term unless one of the same headword and part of
// speech is there. A headword the search word begins with (the word itself, or a word it
// extends) goes before the first result whose headword the search word does not hold;
// any other goes last. Both are compared folded, so letter case and accents don't matter.
void addResult(LXStemResults &results, LXStem record, const LXDMIterator &position, const lxstring &typed)
{
    const LXTerm &term = *position;
    for (LXStemResults::iterator r = results.begin(); !r.isAtEnd(); ++r) {
        const LXTerm &other = *(*r).second;
        if (other.getHeadword() == term.getHeadword() && other.getPartOfSpeechName() == term.getPartOfSpeechName())
            return;
    }
    record.base = baseForm(term.getHeadword());
    record.partOfSpeechName = term.getPartOfSpeechName();
    const LXPair<LXStem, LXDMIterator> result(record, position);
    const lxstring word = LXUtilities::foldedKey(typed);
    if (!beginsWith(word, LXUtilities::foldedKey(record.base))) {
        results.push_back(result);
        return;
    }
    LXStemResults::iterator at = results.begin();
    while (!at.isAtEnd() && holds(word, LXUtilities::foldedKey((*at).first.base)))
        ++at;
    results.insert(at, result);
}

} // namespace

lxstring LXStemFinder::spellingVariant(const lxstring &word)
{
    static const char *const endings[] = {"ise", "ises", "ised", "ising"};
    for (const char *ending : endings) {
        const int32_t n = static_cast<int32_t>(std::strlen(ending));
        const int32_t at = word.length() - n;
        if (at < 0)
            continue;
        bool match = true;
        for (int32_t i = 0; match && i < n; ++i)
            match = lx_tolower(word[at + i]) == static_cast<uint32_t>(ending[i]);
        if (!match)
            continue;
        // The "s" of the ending, in the letter case it has.
        lxstring variant(word);
        variant.replace(at + 1, 1, word[at + 1] == 'S' ? static_cast<uint32_t>('Z') : static_cast<uint32_t>('z'));
        return variant;
    }
    return word;
}

void LXStemFinder::position(const Search &search, const lxstring &text, LXDMIterator &iterator)
{
    m_modules->find(LXUtilities::foldedKey(text), search.language, search.language2, search.product, iterator);
}

void LXStemFinder::getStems(LXStemResults &results, const lxstring &word, LXLanguage language, LXLanguage language2,
                            uint32_t product, int strategy)
{
    results.clear();
    if (!m_conjugation || !m_modules || m_modules->size() == 0 || !m_tokenizer)
        return;
    Search search = {word, language, language2, product, strategy};
    LXUtilities::trim(search.typed);
    if (search.typed.empty())
        return;

    LXStem record;
    record.person = LXPersonFirst;
    record.grammarCode1 = kStartGrammarCode1;
    record.grammarCode2 = kStartGrammarCode2;
    record.word = LXUtilities::foldedKey(search.typed);

    if (hasBlank(search.typed)) {
        // An expression is only ever itself: its entry, when the dictionary has it.
        LXDMIterator it;
        position(search, search.typed, it);
        if (!it.isAtEnd() && sameText((*it).getHeadword(), search.typed, language))
            addResult(results, record, it, search.typed);
        return;
    }
    findWord(search, record, results);
}

void LXStemFinder::findWord(const Search &search, LXStem &record, LXStemResults &results)
{
    lxstring word = search.typed;
    LXDMIterator it;
    position(search, word, it);
    // An English word spelt with "ise" is also looked for with "ize", but only a variant
    // that is a headword replaces the word as typed.
    if (!onKey(it, word, search.language) && search.language == LXEnglish) {
        lxstring variant = spellingVariant(word);
        LXDMIterator found;
        if (variant != word) {
            position(search, variant, found);
            if (onKey(found, variant, search.language)) {
                word = variant;
                it = found;
            }
        }
    }

    // The word's own entries.
    for (; onKey(it, word, search.language); ++it) {
        const LXTerm &term = *it;
        const bool verb = term.getPartOfSpeechCode() == LXPartOfSpeechVerb;
        record.source = verb ? LXStemFromVerbs : LXStemFromModels;
        record.tense = verb ? LXTenseFirst : LXNoTense;
        if (term.hasFeature(kFeatureEndOfOwnEntries))
            break;
        if (!hasBlank(term.getHeadword()) || !term.hasFeature(kFeatureSecondaryEntry) || results.empty())
            addResult(results, record, it, search.typed);
    }
    findCandidates(search, word, results);
}

void LXStemFinder::findCandidates(const Search &search, const lxstring &word, LXStemResults &results)
{
    LXList<LXStem> candidates;
    m_conjugation->getModelStems(word, candidates);
    m_conjugation->getVerbStems(word, candidates, search.strategy);
    for (LXList<LXStem>::iterator c = candidates.begin(); !c.isAtEnd(); ++c) {
        const LXStem &candidate = *c;
        LXStem record = candidate;
        record.word = word;
        LXDMIterator it;
        position(search, candidate.base, it);
        // Only a single-word headword of the candidate's part of speech counts.
        for (; onKey(it, candidate.base, search.language); ++it) {
            const LXTerm &term = *it;
            if (!term.getPartOfSpeechName().empty() && term.getPartOfSpeechCode() == candidate.partOfSpeechCode &&
                !hasBlank(term.getHeadword()))
                addResult(results, record, it, search.typed);
        }
    }
}
