// Terms and definitions: a headword in one language with its part of speech, numbered
// features and definitions (translations), as modules store them, the merging iterator
// yields them and the result list shows them. LXModuleType describes one module in the
// lists the data manager hands to the shell. All are plain value types.
#ifndef WORDMERE_ENGINE_LXTERM_H
#define WORDMERE_ENGINE_LXTERM_H

#include <cstdint>
#include <iosfwd>

#include "base/lxlanguage.h"
#include "base/lxlist.h"
#include "base/lxpair.h"
#include "base/lxstring.h"

// A numbered feature: (code, text). Codes 0x00-0x03 cannot be stored in a module file.
typedef LXPair<uint32_t, lxstring> LXFeature;
typedef LXList<LXFeature> LXFeatureList;

// Feature codes of terms and definitions, as the module builder writes them and the
// markup expander reads them. A code doubles as the character whose markup code wraps the
// feature's text (shown after each name); codes 0-29 have the tags that print shows.
enum LXFeatureCode : uint32_t {
    LXFeaturePronunciation = 13,    // carriage return; listed after the headword
    LXFeatureSubEntry = 15,         // a term that goes on on its headword's line
    LXFeatureSynonyms = 17,
    LXFeatureBoxedHeadword = 32,    // blank; a headword drawn in a box
    LXFeatureRunOn = 34,            // "; a run-on form, bold after a comma
    LXFeatureSenseParagraphs = 37,  // %; numbered senses in paragraphs of their own
    LXFeatureNote = 40,             // (; [[bold]] and [bracketed] parts
    LXFeatureLabelFirst = 43,       // 43 to 72 other than 59: inline labels
    LXFeatureLabelJoined = 45,      // -; a label that joins the group before or after it
    LXFeatureLabel = 46,            // an inline label such as a subject field
    LXFeatureTrademark = 59,        // ;; not a label: closes with a registered sign
    LXFeatureLabelLast = 72,
    LXFeatureNumberedSense = 73,    // I; a sense with its number
    LXFeatureUserAdded = 73,        // the same code with an empty text: a definition the user added
    LXFeatureSubSense = 74,         // J
    LXFeatureGloss = 75,            // K; "(=gloss)"
    LXFeatureSeeAlso = 79,          // O
    LXFeatureCrossReference = 80,   // P
    LXFeatureUsage = 85,            // U
    LXFeatureQualifier = 86,        // V
    LXFeatureLike = 87,             // W; "like ..." after the part of speech
    LXFeatureAlternative = 89,      // Y
    LXFeatureOpposites = 99,        // c
    LXFeatureLabelsAsHeadings = 107,// k; the definition's labels head it, "label:"
    LXFeatureSeeEtc = 108,          // l; "-> word etc"
    LXFeatureSemicolonGroup = 109,  // m; definitions of one group are set off by ";"
    LXFeatureExample = 111,         // o
    LXFeatureNoUsageMark = 112,     // p; usages without the diamond
    LXFeatureSlashAlternative = 113,// q; " / "
    LXFeatureInlineSense = 114,     // r; goes on on the line, its part of speech after it
    LXFeatureBoxReference = 115,    // s; "-> box" in the reader's language
    LXFeatureExplanation = 116,     // t
    LXFeatureParenthetical = 117    // u; "(italic)" after the part of speech
};

inline bool lx_isLabelFeature(uint32_t code)
{
    return code >= LXFeatureLabelFirst && code <= LXFeatureLabelLast && code != LXFeatureTrademark;
}

// Part-of-speech codes every module shares; the rest are the module's own.
enum LXPartOfSpeechCode : uint32_t {
    LXPartOfSpeechAny = 0,          // of a search term: any part of speech; a new definition's
    LXPartOfSpeechNone = 1,
    LXPartOfSpeechUnknown = 8       // a name the module does not know
};

// Origin numbers of definitions: the priority of the module a definition came from.
enum LXOrigin : uint32_t {
    LXOriginDefault = 1,
    LXOriginUserAdded = 100
};

// Tag of a feature code for print: "!" "?" ... "ddia" for 0-29, "?!" for any other.
const char *lx_featureTag(uint32_t code);

// Code-point equality, whatever the encodings (no collation: straße differs from strasse).
bool lx_sameText(const lxstring &a, const lxstring &b);

class LXDefinition {
public:
    LXDefinition();
    void clear();   // empty texts, no features, part-of-speech code 0, origin 1

    const lxstring &getText() const { return m_text; }
    void setText(const lxstring &t) { m_text = t; }
    const lxstring &getPartOfSpeechName() const { return m_posName; }
    void setPartOfSpeechName(const lxstring &n) { m_posName = n; }
    uint32_t getPartOfSpeechCode() const { return m_posCode; }
    void setPartOfSpeechCode(uint32_t c) { m_posCode = c; }
    // The priority of the module the definition came from; 100 marks one the user added.
    uint32_t getOriginNumber() const { return m_origin; }
    void setOriginNumber(uint32_t o) { m_origin = o; }

    LXFeatureList &getFeatures() { return m_features; }
    const LXFeatureList &getFeatures() const { return m_features; }
    void addFeature(uint32_t code, const lxstring &text);
    bool getFeature(uint32_t code, lxstring &text) const;
    bool hasFeature(uint32_t code) const;
    // Appends each of the other's features unless one of the same code and text is here.
    void mergeFeatures(const LXFeatureList &other);

private:
    lxstring m_text;
    lxstring m_posName;
    uint32_t m_posCode;
    uint32_t m_origin;
    LXFeatureList m_features;
};

class LXTerm {
public:
    LXTerm();
    void clear();   // languages 0, empty strings, part-of-speech code 1, empty lists

    LXLanguage getLanguage() const { return m_language; }
    void setLanguage(LXLanguage l) { m_language = l; }
    LXLanguage getTranslationLanguage() const { return m_translationLanguage; }
    void setTranslationLanguage(LXLanguage l) { m_translationLanguage = l; }
    const lxstring &getSearchKey() const { return m_searchKey; }
    void setSearchKey(const lxstring &k) { m_searchKey = k; }
    const lxstring &getHeadword() const { return m_headword; }
    void setHeadword(const lxstring &h) { m_headword = h; }
    const lxstring &getPartOfSpeechName() const { return m_posName; }
    void setPartOfSpeechName(const lxstring &n) { m_posName = n; }
    // 1 for no part of speech, 8 for a name the module does not know.
    uint32_t getPartOfSpeechCode() const { return m_posCode; }
    void setPartOfSpeechCode(uint32_t c) { m_posCode = c; }

    LXFeatureList &getFeatures() { return m_features; }
    const LXFeatureList &getFeatures() const { return m_features; }
    LXList<LXDefinition> &getDefinitions() { return m_definitions; }
    const LXList<LXDefinition> &getDefinitions() const { return m_definitions; }

    void addFeature(uint32_t code, const lxstring &text);
    void addDefinition(const LXDefinition &d) { m_definitions.push_back(d); }
    // The text of the first feature with that code; false and empty when there is none.
    bool getFeature(uint32_t code, lxstring &text) const;
    bool hasFeature(uint32_t code) const;

    // Same languages, headword, search key and part-of-speech name.
    bool canBeMergedWith(const LXTerm &other) const;
    // Adds the other's features and definitions; definitions stay in ascending origin.
    void merge(const LXTerm &other);

    // Writes the term to the console for debugging.
    void print() const;
    void print(std::ostream &os) const;

private:
    LXLanguage m_language;
    LXLanguage m_translationLanguage;
    lxstring m_searchKey;
    lxstring m_headword;
    lxstring m_posName;
    uint32_t m_posCode;
    LXFeatureList m_features;
    LXList<LXDefinition> m_definitions;
};

// Equal languages, search key, headword and part-of-speech name (exact text; the code
// and the lists are not compared).
bool operator==(const LXTerm &a, const LXTerm &b);
bool operator!=(const LXTerm &a, const LXTerm &b);
// The order in which terms are stored and shown: languages, search key, single words
// before expressions, part-of-speech code, headword, part-of-speech name.
bool operator<(const LXTerm &a, const LXTerm &b);
bool operator<=(const LXTerm &a, const LXTerm &b);

// LXList<LXTerm>::insert(term), the list's sorted insertion, uses these two: the term
// goes before the first term not less than it, and nothing is added when that one is
// equal to it.

// Product codes: the low byte of a module's format word. Products 0 and 2 count as one
// wherever modules are matched against a product.
enum LXProduct : uint32_t {
    LXProductBasic = 0,
    LXProductBasicToo = 2,          // the same product as LXProductBasic
    LXProductOwnAdditions = 8,      // its additions file has a name of its own
    LXProductDefault = 10           // the one accepted when none was registered
};

class LXModuleType {
public:
    LXModuleType();

    LXLanguage language1;      // the pair, ascending
    LXLanguage language2;
    uint32_t product;          // low byte of the module's format word
    uint32_t versionWord;      // format word AND 0xFFF00000
    uint32_t moduleVersion;    // the header's module version word
    lxstring path;
};

// Same two languages and product.
bool operator==(const LXModuleType &a, const LXModuleType &b);
bool operator!=(const LXModuleType &a, const LXModuleType &b);

#endif
