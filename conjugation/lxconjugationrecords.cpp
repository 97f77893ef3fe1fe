#include "lxconjugationrecords.h"

LXVerb::LXVerb() : model(0), infinitive(LXEncodingUtf8) {}

void LXVerb::reset()
{
    model = 0;
    infinitive = lxstring(LXEncodingUtf8);
    entries.clear();
}

bool LXVerb::addEntry(uint32_t code, const lxstring &text)
{
    LXCodeTextList::iterator it = entries.begin();
    while (!it.isAtEnd() && (*it).first < code)
        ++it;
    if (!it.isAtEnd() && (*it).first == code)
        return false;
    return entries.insert(it, LXCodeText(code, text));
}

void LXModelCache::clear()
{
    model = 0;
    features.clear();
    tenses.clear();
}

bool operator<(const LXSuffixModel &a, const LXSuffixModel &b)
{
    int c = a.ending.compare(b.ending, LXLanguageNone);
    if (c != 0)
        return c < 0;
    if (a.model != b.model)
        return a.model < b.model;
    if (a.tense != b.tense)
        return a.tense < b.tense;
    return a.person < b.person;
}

bool operator==(const LXSuffixModel &a, const LXSuffixModel &b)
{
    return a.model == b.model && a.tense == b.tense && a.person == b.person && a.ending == b.ending;
}

bool operator<(const LXStemmingModel &a, const LXStemmingModel &b)
{
    int c = a.key.compare(b.key, LXLanguageNone);
    if (c != 0)
        return c < 0;
    if (a.partOfSpeechCode != b.partOfSpeechCode)
        return a.partOfSpeechCode < b.partOfSpeechCode;
    c = a.partOfSpeechName.compare(b.partOfSpeechName, LXLanguageNone);
    if (c != 0)
        return c < 0;
    if (a.grammarCode1 != b.grammarCode1)
        return a.grammarCode1 < b.grammarCode1;
    if (a.grammarCode2 != b.grammarCode2)
        return a.grammarCode2 < b.grammarCode2;
    return a.replacement.compare(b.replacement, LXLanguageNone) < 0;
}

bool operator==(const LXStemmingModel &a, const LXStemmingModel &b)
{
    return a.grammarCode1 == b.grammarCode1 && a.partOfSpeechCode == b.partOfSpeechCode &&
           a.grammarCode2 == b.grammarCode2 && a.key == b.key &&
           a.partOfSpeechName == b.partOfSpeechName && a.replacement == b.replacement;
}

LXStem::LXStem()
    : source(0), partOfSpeechCode(0), tense(LXNoTense), person(LXPersonFirst), grammarCode1(3),
      grammarCode2(13)
{
}

void LXStem::clear()
{
    word.clear();
    base.clear();
    partOfSpeechName.clear();
    partOfSpeechCode = 0;
    tense = LXNoTense;
    person = LXPersonFirst;
    grammarCode1 = 3;
    grammarCode2 = 13;
}

bool LXStem::operator==(const LXStem &o) const
{
    return grammarCode2 == o.grammarCode2 && grammarCode1 == o.grammarCode1 && tense == o.tense &&
           person == o.person && word == o.word && base == o.base &&
           partOfSpeechName == o.partOfSpeechName;
}

bool LXStem::operator<(const LXStem &o) const
{
    if (partOfSpeechCode != o.partOfSpeechCode)
        return partOfSpeechCode < o.partOfSpeechCode;
    int c = partOfSpeechName.compare(o.partOfSpeechName, LXLanguageNone);
    if (c == 0)
        c = word.compare(o.word, LXLanguageNone);
    if (c == 0)
        c = base.compare(o.base, LXLanguageNone);
    if (c != 0)
        return c < 0;
    if (tense != o.tense)
        return tense < o.tense;
    if (person != o.person)
        return person < o.person;
    if (grammarCode2 != o.grammarCode2)
        return grammarCode2 < o.grammarCode2;
    return grammarCode1 < o.grammarCode1;
}

uint32_t LXStem::verbFormSize() const
{
    return static_cast<uint32_t>(word.size()) + static_cast<uint32_t>(base.size()) + 5;
}

// The terminator code point 1 in the text's own encoding and byte order.
static unsigned char *writeCodeOne(unsigned char *p, const lxstring &s)
{
    lxstring one(s.getEncoding(), s.getByteOrder());
    one += static_cast<uint32_t>(1);
    const char *bytes = one.c_str();
    for (int32_t i = 0; i < one.size(); ++i)
        *p++ = static_cast<unsigned char>(bytes[i]);
    return p;
}

unsigned char *LXStem::writeVerbForm(unsigned char *buffer) const
{
    unsigned char *p = buffer;
    *p++ = static_cast<unsigned char>(tense);
    *p++ = static_cast<unsigned char>(person);
    const char *w = word.c_str();
    for (int32_t i = 0; i < word.size(); ++i)
        *p++ = static_cast<unsigned char>(w[i]);
    p = writeCodeOne(p, word);
    const char *b = base.c_str();
    for (int32_t i = 0; i < base.size(); ++i)
        *p++ = static_cast<unsigned char>(b[i]);
    p = writeCodeOne(p, base);
    *p++ = 0;
    return p;
}

bool findEntry(const LXCodeTextList &list, uint32_t code, lxstring &text)
{
    for (LXCodeTextList::const_iterator it = list.begin(); !it.isAtEnd(); ++it) {
        if ((*it).first == code) {
            text = (*it).second;
            return true;
        }
    }
    text.clear();
    return false;
}

bool hasEntry(const LXCodeTextList &list, uint32_t code)
{
    for (LXCodeTextList::const_iterator it = list.begin(); !it.isAtEnd(); ++it) {
        if ((*it).first == code)
            return true;
    }
    return false;
}

bool findTenseForms(const LXModelCache &cache, uint32_t tense, uint32_t person, lxstring &text)
{
    for (LXList<LXTenseInfo>::const_iterator t = cache.tenses.begin(); !t.isAtEnd(); ++t) {
        if ((*t).tense == tense)
            return findEntry((*t).persons, person, text);
    }
    text.clear();
    return false;
}

void addUniqueStem(const LXStem &stem, LXList<LXStem> &list)
{
    for (LXList<LXStem>::const_iterator it = list.begin(); !it.isAtEnd(); ++it) {
        const LXStem &s = *it;
        if (s.word == stem.word && s.base == stem.base && s.partOfSpeechName == stem.partOfSpeechName)
            return;
    }
    list.push_back(stem);
}
