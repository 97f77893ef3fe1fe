#include "model/lxstem.h"

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

void addUniqueStem(const LXStem &stem, LXList<LXStem> &list)
{
    for (LXList<LXStem>::const_iterator it = list.begin(); !it.isAtEnd(); ++it) {
        const LXStem &s = *it;
        if (s.word == stem.word && s.base == stem.base && s.partOfSpeechName == stem.partOfSpeechName)
            return;
    }
    list.push_back(stem);
}
