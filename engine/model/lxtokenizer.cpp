#include "model/lxtokenizer.h"

#include <new>

#include "base/lxchar.h"

uint32_t LXTokenizerHashKey::hash(uint32_t n) const
{
    if (n == 0)
        return 0;
    uint32_t lang = static_cast<uint32_t>(language);
    return (word.hash(n) ^ (lang | (lang << 8))) % n;
}

bool operator==(const LXTokenizerHashKey &a, const LXTokenizerHashKey &b)
{
    if (a.language != b.language || a.word.length() != b.word.length())
        return false;
    lxstring_iterator i = a.word.begin(), j = b.word.begin();
    for (; !i.isAtEnd() && !j.isAtEnd(); ++i, ++j) {
        if (*i != *j)
            return false;
    }
    return i.isAtEnd() && j.isAtEnd();
}

bool operator!=(const LXTokenizerHashKey &a, const LXTokenizerHashKey &b)
{
    return !(a == b);
}

bool operator<(const LXTokenizerHashKey &a, const LXTokenizerHashKey &b)
{
    if (a.language != b.language)
        return a.language < b.language;
    return a.word < b.word;
}

namespace {

struct StopWords {
    LXLanguage language;
    const char *const *words;
};

const char *const english[] = {"an", "the", "of", "for", "with", "this", "these", "in", "that",
                               "to", "on", "sth", "one's", "at", "and", "be", "from", "your",
                               "over", "when", nullptr};
const char *const french[] = {"le", "la", "les", "un", "une", "au", "aux", "se", "en", "du",
                              "de", "des", "avec", "pour", "ce", "ces", "cet", "cette", "qqn",
                              "qqch", "sur", "dans", "\xC3\xAAtre", nullptr};
const char *const spanish[] = {"la", "las", "los", "el", "un", "una", "uno", "no", "que", "sin",
                               "al", "del", "en", "de", "con", "por", "para", "se", "lo", nullptr};
const char *const german[] = {"der", "die", "das", "den", "dem", "von", "mit", "diese", "dieses",
                              "dieser", "dies", "zu", "nach", "in", "etwas", "ein", "eine",
                              "eines", "etw", "einen", "einem", "bei", "sich", "Der", "Die",
                              "Das", "aus", nullptr};
const char *const italian[] = {"un", "una", "la", "del", "fra", "di", "ci", "che", "non", "in",
                               "chi", "per", "se", "al", "il", "ai", "con", "da", "qc", nullptr};
const char *const portuguese[] = {"as", "os", "um", "uma", "de", "do", "da", "dos", "das",
                                  "para", "com", "em", "no", "na", "nos", "nas", "este", "esta",
                                  "isto", "estes", "estas", "isso", "esse", "esses", "essa",
                                  "essas", "aquilo", "aquele", "aquela", "aqueles", "aquelas",
                                  nullptr};

const StopWords stopWordTable[] = {
    {LXEnglish, english}, {LXFrench, french},   {LXSpanish, spanish},
    {LXGerman, german},   {LXItalian, italian}, {LXPortuguese, portuguese},
};

} // namespace

LXTokenizer *LXTokenizer::create()
{
    LXTokenizer *t = new (std::nothrow) LXTokenizer();
    if (t && !t->init()) {
        delete t;
        t = nullptr;
    }
    return t;
}

LXTokenizer::LXTokenizer() : m_initialised(false) {}

bool LXTokenizer::init()
{
    if (m_initialised)
        return true;
    if (!m_stopWords.resize(401))
        return false;
    for (const StopWords &s : stopWordTable) {
        for (const char *const *w = s.words; *w; ++w)
            m_stopWords.add(LXTokenizerHashKey(*w, s.language), 1);
    }
    m_initialised = true;
    return true;
}

int32_t LXTokenizer::nextToken(lxstring_iterator &position, lxstring &token) const
{
    token.clear();
    while (!position.isAtEnd() && !lx_iswordchar(*position))
        ++position;
    if (position.isAtEnd())
        return -1;
    int32_t start = position.getCharIndex();
    uint32_t first = *position;
    token += first;
    ++position;
    if (first == '\'')
        return start;   // an apostrophe on its own
    if (!position.isAtEnd() && *position == '\'') {
        ++position;     // an elided word: "l'" is the token "l"
        return start;
    }
    while (!position.isAtEnd() && lx_iswordchar(*position)) {
        token += *position;
        ++position;
    }
    return start;
}

bool LXTokenizer::isStopWord(const lxstring &token, LXLanguage language) const
{
    lxstring word(token);
    word.setEncoding(LXEncodingUtf8);   // the table holds UTF-8 words
    return m_stopWords.find(LXTokenizerHashKey(word, language));
}

bool LXTokenizer::qualifies(const lxstring &token, LXLanguage language) const
{
    return token.length() >= 2 && token[0] != '-' && !isStopWord(token, language);
}

void LXTokenizer::makeKeys(LXList<lxstring> &keys, int32_t &tokenCount, LXLanguage language,
                           const lxstring &text) const
{
    keys.clear();
    tokenCount = 0;
    lxstring token, first;
    lxstring_iterator pos = text.begin();
    while (nextToken(pos, token) >= 0) {
        if (tokenCount++ == 0)
            first = token;
        if (qualifies(token, language))
            keys.add(token);
    }
    if (keys.empty() && tokenCount > 0)
        keys.push_back(first);
}

void LXTokenizer::makeKeyPositions(LXList<LXPair<lxstring, uint32_t>> &keys, int32_t &tokenCount,
                                   LXLanguage language, const lxstring &text) const
{
    keys.clear();
    tokenCount = 0;
    lxstring token, first;
    int32_t firstStart = 0;
    lxstring_iterator pos = text.begin();
    int32_t start;
    while ((start = nextToken(pos, token)) >= 0) {
        if (tokenCount++ == 0) {
            first = token;
            firstStart = start;
        }
        if (!qualifies(token, language))
            continue;
        bool seen = false;
        for (LXList<LXPair<lxstring, uint32_t>>::iterator it = keys.begin(); !it.isAtEnd(); ++it)
            seen = seen || it->first == token;
        if (!seen)
            keys.push_back(LXPair<lxstring, uint32_t>(token, static_cast<uint32_t>(start)));
    }
    if (keys.empty() && tokenCount > 0)
        keys.push_back(LXPair<lxstring, uint32_t>(first, static_cast<uint32_t>(firstStart)));
}

lxstring LXTokenizer::searchKey(const lxstring &text, LXLanguage language) const
{
    LXList<lxstring> keys;
    int32_t count = 0;
    makeKeys(keys, count, language, text);
    if (keys.empty())
        return text;
    return *keys.begin();
}
