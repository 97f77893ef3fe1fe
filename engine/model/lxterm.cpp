#include "model/lxterm.h"

#include <iostream>

#include "base/lxutilities.h"

namespace {

const char *const featureTags[30] = {
    "!",     "?",    "??",       "???",  "????",  "ord",  "def",  "ind",  "type", "keyw",
    "categ", "pron", "usage",    "etym", "hom",   "syn",  "ant",  "altspell", "form", "dform",
    "prep",  "dprep", "con",     "dcon", "ton",   "dton", "dom",  "ddom", "dia",  "ddia",
};

bool hasBlank(const lxstring &s)
{
    return !s.find(static_cast<uint32_t>(' ')).isAtEnd();
}

void mergeFeatureLists(LXFeatureList &into, const LXFeatureList &from)
{
    for (LXFeatureList::const_iterator f = from.begin(); !f.isAtEnd(); ++f) {
        bool present = false;
        for (LXFeatureList::const_iterator g = into.begin(); !g.isAtEnd() && !present; ++g)
            present = g->first == f->first && lx_sameText(g->second, f->second);
        if (!present)
            into.push_back(*f);
    }
}

bool findFeature(const LXFeatureList &list, uint32_t code, lxstring &text)
{
    for (LXFeatureList::const_iterator f = list.begin(); !f.isAtEnd(); ++f) {
        if (f->first == code) {
            text = f->second;
            return true;
        }
    }
    text.clear();
    return false;
}

void printFeatures(std::ostream &os, const LXFeatureList &list)
{
    for (LXFeatureList::const_iterator f = list.begin(); !f.isAtEnd(); ++f) {
        lxstring t(f->second);
        t.setEncoding(LXEncodingUtf8);
        os << " (" << lx_featureTag(f->first) << ": " << t << ")";
    }
}

int compareNumbers(uint32_t a, uint32_t b)
{
    return a < b ? -1 : a > b ? 1 : 0;
}

// The term order, as -1, 0 or 1.
int compareTerms(const LXTerm &a, const LXTerm &b)
{
    int c = compareNumbers(static_cast<uint32_t>(a.getLanguage()), static_cast<uint32_t>(b.getLanguage()));
    if (c)
        return c;
    c = compareNumbers(static_cast<uint32_t>(a.getTranslationLanguage()),
                       static_cast<uint32_t>(b.getTranslationLanguage()));
    if (c)
        return c;
    LXLanguage lang = a.getLanguage();
    c = a.getSearchKey().compare(b.getSearchKey(), lang);
    if (c)
        return c;
    bool ea = hasBlank(a.getHeadword()), eb = hasBlank(b.getHeadword());
    if (ea != eb)
        return ea ? 1 : -1;   // single words before expressions
    c = compareNumbers(a.getPartOfSpeechCode(), b.getPartOfSpeechCode());
    if (c)
        return c;
    c = a.getHeadword().compare(b.getHeadword(), lang);
    if (c)
        return c;
    return a.getPartOfSpeechName().compare(b.getPartOfSpeechName(), lang);
}

} // namespace

const char *lx_featureTag(uint32_t code)
{
    return code < 30 ? featureTags[code] : "?!";
}

bool lx_sameText(const lxstring &a, const lxstring &b)
{
    if (a.length() != b.length())
        return false;
    lxstring_iterator i = a.begin(), j = b.begin();
    for (; !i.isAtEnd() && !j.isAtEnd(); ++i, ++j) {
        if (*i != *j)
            return false;
    }
    return i.isAtEnd() && j.isAtEnd();
}

// ---- LXDefinition

LXDefinition::LXDefinition() : m_posCode(LXPartOfSpeechAny), m_origin(LXOriginDefault) {}

void LXDefinition::clear()
{
    m_text.clear();
    m_posName.clear();
    m_posCode = LXPartOfSpeechAny;
    m_origin = LXOriginDefault;
    m_features.clear();
}

void LXDefinition::addFeature(uint32_t code, const lxstring &text)
{
    m_features.push_back(LXFeature(code, text));
}

bool LXDefinition::getFeature(uint32_t code, lxstring &text) const
{
    return findFeature(m_features, code, text);
}

bool LXDefinition::hasFeature(uint32_t code) const
{
    for (LXFeatureList::const_iterator f = m_features.begin(); !f.isAtEnd(); ++f) {
        if (f->first == code)
            return true;
    }
    return false;
}

void LXDefinition::mergeFeatures(const LXFeatureList &other)
{
    mergeFeatureLists(m_features, other);
}

// ---- LXTerm

LXTerm::LXTerm() : m_language(LXLanguageNone), m_translationLanguage(LXLanguageNone), m_posCode(LXPartOfSpeechNone) {}

void LXTerm::clear()
{
    m_language = LXLanguageNone;
    m_translationLanguage = LXLanguageNone;
    m_searchKey.clear();
    m_headword.clear();
    m_posName.clear();
    m_posCode = LXPartOfSpeechNone;
    m_features.clear();
    m_definitions.clear();
}

void LXTerm::addFeature(uint32_t code, const lxstring &text)
{
    m_features.push_back(LXFeature(code, text));
}

bool LXTerm::getFeature(uint32_t code, lxstring &text) const
{
    return findFeature(m_features, code, text);
}

bool LXTerm::hasFeature(uint32_t code) const
{
    for (LXFeatureList::const_iterator f = m_features.begin(); !f.isAtEnd(); ++f) {
        if (f->first == code)
            return true;
    }
    return false;
}

bool LXTerm::canBeMergedWith(const LXTerm &o) const
{
    return m_language == o.m_language && m_translationLanguage == o.m_translationLanguage &&
           lx_sameText(m_headword, o.m_headword) && lx_sameText(m_searchKey, o.m_searchKey) &&
           lx_sameText(m_posName, o.m_posName);
}

void LXTerm::merge(const LXTerm &other)
{
    mergeFeatureLists(m_features, other.m_features);
    for (LXList<LXDefinition>::const_iterator d = other.m_definitions.begin(); !d.isAtEnd(); ++d) {
        LXList<LXDefinition>::iterator mine = m_definitions.begin();
        for (; !mine.isAtEnd(); ++mine) {
            if (lx_sameText(mine->getText(), d->getText()) &&
                lx_sameText(mine->getPartOfSpeechName(), d->getPartOfSpeechName()))
                break;
        }
        if (!mine.isAtEnd()) {
            mine->mergeFeatures(d->getFeatures());
            continue;
        }
        // Before the first definition of a greater origin: lowest priority number first.
        LXList<LXDefinition>::iterator at = m_definitions.begin();
        while (!at.isAtEnd() && at->getOriginNumber() <= d->getOriginNumber())
            ++at;
        m_definitions.insert(at, *d);
    }
}

void LXTerm::print() const
{
    print(std::cout);
}

void LXTerm::print(std::ostream &os) const
{
    lxstring a, b;
    LXUtilities::languageToAbbreviation(m_language, a);
    LXUtilities::languageToAbbreviation(m_translationLanguage, b);
    lxstring h(m_headword), k(m_searchKey), p(m_posName);
    h.setEncoding(LXEncodingUtf8);
    k.setEncoding(LXEncodingUtf8);
    p.setEncoding(LXEncodingUtf8);
    os << "[" << a << "-->" << b << "] " << h << " <" << k << ">" << " [" << p << ":" << m_posCode << "]";
    printFeatures(os, m_features);
    os << "\n";
    for (LXList<LXDefinition>::const_iterator d = m_definitions.begin(); !d.isAtEnd(); ++d) {
        lxstring t(d->getText()), n(d->getPartOfSpeechName());
        t.setEncoding(LXEncodingUtf8);
        n.setEncoding(LXEncodingUtf8);
        os << "    " << t << " [" << n << ":" << d->getPartOfSpeechCode() << "]";
        printFeatures(os, d->getFeatures());
        os << "\n";
    }
}

bool operator==(const LXTerm &a, const LXTerm &b)
{
    return a.getLanguage() == b.getLanguage() && a.getTranslationLanguage() == b.getTranslationLanguage() &&
           lx_sameText(a.getSearchKey(), b.getSearchKey()) && lx_sameText(a.getHeadword(), b.getHeadword()) &&
           lx_sameText(a.getPartOfSpeechName(), b.getPartOfSpeechName());
}

bool operator!=(const LXTerm &a, const LXTerm &b)
{
    return !(a == b);
}

bool operator<(const LXTerm &a, const LXTerm &b)
{
    return compareTerms(a, b) < 0;
}

bool operator<=(const LXTerm &a, const LXTerm &b)
{
    return !(b < a);
}

// ---- LXModuleType

LXModuleType::LXModuleType()
    : language1(LXLanguageNone), language2(LXLanguageNone), product(0), versionWord(0), moduleVersion(0)
{
}

bool operator==(const LXModuleType &a, const LXModuleType &b)
{
    return a.language1 == b.language1 && a.language2 == b.language2 && a.product == b.product;
}

bool operator!=(const LXModuleType &a, const LXModuleType &b)
{
    return !(a == b);
}
