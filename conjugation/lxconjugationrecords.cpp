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
