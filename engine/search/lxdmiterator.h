// Search iterators over dictionary modules.
//
// LXDIterator walks one module's terms in file order within one translation direction:
// a headword record of stream 2 and, inside the run of that headword's terms in
// stream 4, the current term.
//
// LXDMIterator merges one LXDIterator per open module of a language pair: its front
// iterator always holds the smallest current term, into which the equal terms of the
// other modules are merged. It steps forwards, backwards, by headword and to
// proportional positions (the scroll bar), and carries the state of a regular-expression
// search.
#ifndef WORDMERE_ENGINE_LXDMITERATOR_H
#define WORDMERE_ENGINE_LXDMITERATOR_H

#include <cstdint>

#include "base/lxlanguage.h"
#include "base/lxlist.h"
#include "base/lxpair.h"
#include "base/lxstring.h"
#include "model/lxterm.h"

class LXD;
class LXTokenizer;

class LXDIterator {
public:
    // No module, an empty term, every position 0: at its end.
    LXDIterator();

    // At the first term of the language's direction. Detached (no module, empty term)
    // when the module cannot be opened; false then.
    bool begin(LXD *module, LXLanguage language);
    // At the end of the language's direction.
    bool end(LXD *module, LXLanguage language);
    // On the term's search key in the headword index of the term's language: the record
    // whose key equals it, else the first of the records that fold to the same text,
    // else the insertion point.
    bool find(LXD *module, const LXTerm &term);
    // The same for a text, whose first tokenizer key is the search key.
    bool find(LXD *module, const lxstring &text, LXLanguage language);

    LXDIterator &operator++();       // next term (first term of the next headword after the last)
    LXDIterator &operator--();       // previous term; nothing at the beginning
    void stepForward();              // first term of the next headword
    void moveToEnd();
    // To the record around start + n / d of the range; nothing when d is 0.
    void move(uint32_t numerator, uint32_t denominator);
    // Limits the iterator to the records in [start, end) and moves it to the record
    // holding position. Ignored (false) unless start <= position <= end, the range lies
    // inside the language's direction and the module opens.
    bool setRange(uint32_t start, uint32_t end, uint32_t position, LXLanguage language);
    // Drops the module: an iterator at its end.
    void detach();

    bool isAtEnd() const { return m_headwordPosition >= m_rangeEnd; }
    bool isAtBeginning() const;
    bool isAtFirstTermOfHeadword() const { return m_termPosition == m_headwordTermStart; }
    bool isAtLastTermOfHeadword() const;

    const LXTerm &operator*() const { return m_term; }
    const LXTerm *operator->() const { return &m_term; }
    LXTerm &getTerm() { return m_term; }
    LXD *getLXD() const { return m_module; }
    bool isAttached() const { return m_module != nullptr; }

    uint32_t getHeadwordPosition() const { return m_headwordPosition; }
    uint32_t getRangeStart() const { return m_rangeStart; }
    uint32_t getRangeEnd() const { return m_rangeEnd; }
    uint32_t getTermPosition() const { return m_termPosition; }
    uint32_t getHeadwordTermStart() const { return m_headwordTermStart; }

private:
    // Positions on the headword record at position (the end when not below the range
    // end) and reads its first term.
    void enterHeadword(uint32_t position);
    void readCurrent();
    uint32_t nextRecord(uint32_t position) const;
    LXLanguage directionLanguage() const;

    LXD *m_module;
    LXTerm m_term;
    uint32_t m_headwordPosition;
    uint32_t m_rangeStart;
    uint32_t m_rangeEnd;
    uint32_t m_termPosition;
    uint32_t m_headwordTermStart;
    uint32_t m_nextTermPosition;     // after the current term's closing 0x03
};

// Options of an advanced (regular-expression) search; one byte each, defaults shown.
struct LXDMRegexOptions {
    uint8_t posixSyntax = 0;         // 0: "*", "+" and "?" are wildcards
    uint8_t matchCase = 0;
    uint8_t wholeWords = 1;          // the pattern must cover whole words, "." never a blank
    uint8_t ignoreAccents = 1;
    uint8_t searchDefinitions = 0;   // also search the definitions' texts
};

bool operator==(const LXDMRegexOptions &a, const LXDMRegexOptions &b);
bool operator!=(const LXDMRegexOptions &a, const LXDMRegexOptions &b);

class LXDMIterator {
public:
    LXDMIterator();
    // Copies carry the per-module iterators, the term and the regular-expression state;
    // the expression is compiled again from its stored text and flags.
    LXDMIterator(const LXDMIterator &other);
    LXDMIterator &operator=(const LXDMIterator &other);
    ~LXDMIterator();

    // No iterators, an empty term, no expression, default options, no tokenizer.
    void clear();
    // Appends a copy of an iterator that is attached to a module.
    void addIterator(const LXDIterator &iterator);

    const LXTerm &operator*() const { return m_term; }
    const LXTerm *operator->() const { return &m_term; }
    // The front iterator's module; null without iterators.
    LXD *getLXD() const;
    const LXList<LXDIterator> &getIterators() const { return m_iterators; }

    bool isAtEnd() const;
    bool isAtBeginning() const;
    bool isAtFirstTermOfHeadword() const;
    bool isAtLastTermOfHeadword() const;

    // Definition n of the current term (from 1; 0 counts as 1) exists and was added by
    // the user (origin 100).
    bool isDefinitionModifiable(int32_t n) const;
    // Deletes such a definition through the user-additions module among the iterators.
    bool deleteDefinition(int32_t n);

    LXDMIterator &operator++();
    LXDMIterator operator++(int);
    LXDMIterator &operator--();
    LXDMIterator operator--(int);
    // To the first term of the next headword.
    void stepForward();
    // To the proportional position n / d of the largest module's range; nothing when d is 0.
    void move(uint32_t numerator, uint32_t denominator);

    // Puts the iterator with the smallest current term in front, then synchronizes.
    void adjust();
    // The current term: the front term with the equal terms of the others merged in.
    void synchronize();

    // Sums over the per-module iterators of the headword position, range start, range
    // end and term position; the result list's scroll bar works with them.
    uint32_t getPosition() const;
    uint32_t getMinPosition() const;
    uint32_t getMaxPosition() const;
    uint32_t getTermOffset() const;

    // Sets up a regular-expression search over the iterators already added; false for an
    // empty pattern (the iterator is cleared) or one that does not compile (no expression).
    bool initRegexSearch(const lxstring &pattern, LXLanguage language, const LXDMRegexOptions &options,
                         LXTokenizer *tokenizer);
    // Whether the current term matches the expression (its headword, or with the option
    // one of its definitions).
    bool isRegexMatch();
    bool usingRegex() const { return m_regexActive; }
    bool lastMatchWasOnHeadword() const { return m_matchOnHeadword; }
    // Code-point positions of the last match in the text it was found in.
    uint32_t getMatchStart() const { return m_matchStart; }
    uint32_t getMatchEnd() const { return m_matchEnd; }
    const LXDMRegexOptions &getRegexOptions() const { return m_options; }
    const lxstring &getRegexPattern() const { return m_pattern; }
    // The expression as compiled (after the wildcard, accent and whole-word rewriting).
    const lxstring &getRegexExpression() const { return m_expression; }
    // With a prefix restriction: the keys searched run from prefix up to, not including, bound
    // (an empty bound: to the end of the direction).
    bool isPrefixRestricted() const { return m_prefixRestricted; }
    const lxstring &getRegexPrefix() const { return m_prefix; }
    const lxstring &getRegexBound() const { return m_bound; }

    bool checkIntegrity() const { return true; }

    // Merged positioning for a search text of several words (after adjust): moves over
    // the terms under the search key to the best match of the headword.
    void positionOnExpression(const LXTerm &term);

private:
    struct Regex;
    // The iterator one term before a per-module iterator's position. A walk backwards
    // asks again at every step for the modules that did not move; the answer is kept
    // per module while its position stays (not copied with the iterator). Null when
    // memory runs out: that module then takes no part in the step, as the engine's
    // collections drop what they cannot hold.
    struct StepBack {
        const LXD *module;
        uint32_t headwordPosition;
        uint32_t termPosition;
        uint32_t rangeStart;
        uint32_t rangeEnd;
        LXDIterator before;
    };
    const LXDIterator *stepBack(const LXDIterator &iterator);

    void freeRegex();
    bool compileRegex();
    bool searchText(const lxstring &text, uint32_t &start, uint32_t &end) const;
    bool matchCountsForKey(const LXTerm &term, uint32_t start) const;
    lxstring foldForMatch(const lxstring &text) const;

    LXTerm m_term;
    LXList<LXDIterator> m_iterators;
    LXList<StepBack> m_stepBacks;

    bool m_regexActive;
    bool m_matchOnHeadword;
    LXDMRegexOptions m_options;
    uint32_t m_compileFlags;
    Regex *m_regex;
    uint32_t m_matchStart;
    uint32_t m_matchEnd;
    bool m_prefixRestricted;
    lxstring m_pattern;
    lxstring m_expression;
    lxstring m_prefix;
    lxstring m_bound;
    LXLanguage m_regexLanguage;
    LXTokenizer *m_tokenizer;
};

#endif
