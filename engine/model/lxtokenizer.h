// LXTokenizer: cuts headwords and search texts into word tokens and picks the search
// keys under which an entry is indexed: its significant words, leaving out one-letter
// words, words that start with "-" and the stop words of the text's language.
//
// The first key of a text is a term's search key, so the module builder and every
// reader must use this same tokenizer.
#ifndef WORDMERE_ENGINE_LXTOKENIZER_H
#define WORDMERE_ENGINE_LXTOKENIZER_H

#include <cstdint>

#include "base/lxhashtable.h"
#include "base/lxlanguage.h"
#include "base/lxlist.h"
#include "base/lxpair.h"
#include "base/lxstring.h"

// A stop word with its language. Words compare exactly, code point by code point, so
// letter case matters ("Der" and "der" are two keys).
struct LXTokenizerHashKey {
    lxstring word;
    LXLanguage language;

    LXTokenizerHashKey() : word(), language(LXLanguageNone) {}
    LXTokenizerHashKey(const char *utf8, LXLanguage lang) : word(utf8, LXEncodingUtf8), language(lang) {}
    LXTokenizerHashKey(const lxstring &w, LXLanguage lang) : word(w), language(lang) {}

    // (word hash mod n) XOR (language | language << 8), mod n.
    uint32_t hash(uint32_t n) const;
};

bool operator==(const LXTokenizerHashKey &a, const LXTokenizerHashKey &b);
bool operator!=(const LXTokenizerHashKey &a, const LXTokenizerHashKey &b);
bool operator<(const LXTokenizerHashKey &a, const LXTokenizerHashKey &b);   // language, then word

class LXTokenizer {
public:
    // A filled tokenizer, or null when its table cannot be allocated.
    static LXTokenizer *create();

    LXTokenizer();
    // Sizes the table to 401 buckets and enters the stop words; once done, does nothing.
    bool init();

    // The next token from position (which moves past it). Answers its start index, or -1
    // with an empty token when no word character is left.
    int32_t nextToken(lxstring_iterator &position, lxstring &token) const;

    bool isStopWord(const lxstring &token, LXLanguage language) const;

    // The keys of a text in order, without duplicates, and the number of its tokens.
    // When no token qualifies the first token (if any) is the only key.
    void makeKeys(LXList<lxstring> &keys, int32_t &tokenCount, LXLanguage language,
                  const lxstring &text) const;
    // The same keys, each with the character index where it starts.
    void makeKeyPositions(LXList<LXPair<lxstring, uint32_t>> &keys, int32_t &tokenCount,
                          LXLanguage language, const lxstring &text) const;

    // The search key of a text: its first key, or the text itself when it has none.
    lxstring searchKey(const lxstring &text, LXLanguage language) const;

private:
    bool qualifies(const lxstring &token, LXLanguage language) const;

    bool m_initialised;
    LXHashTable<LXTokenizerHashKey, uint32_t> m_stopWords;
};

#endif
