// LXDWriter: writes a published dictionary module (seven streams, headword index and
// terms compressed, both sparse indexes) from terms handed to it one by one.
//
// Keys come from the engine's tokenizer and records are sorted with the engine's own
// comparison, so LXD finds what was written. Each term is encoded when it is added;
// only the encoded records are kept, which holds large dictionaries in little memory.
#ifndef WORDMERE_ENGINE_LXDWRITER_H
#define WORDMERE_ENGINE_LXDWRITER_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/lxhashtable.h"
#include "base/lxlanguage.h"
#include "base/lxstring.h"
#include "model/lxterm.h"

class LXCompressor;
class LXTokenizer;

class LXDWriter {
public:
    // Both are borrowed. Languages must be given in ascending order (255 second).
    LXDWriter(LXCompressor *compressor, LXTokenizer *tokenizer, LXLanguage language1, LXLanguage language2);

    void setPriority(uint32_t priority) { m_priority = priority; }
    void setProduct(uint32_t product) { m_product = product & 0xFF; }
    void setModuleVersion(uint32_t version) { m_moduleVersion = version; }
    // Every n-th headword record of a direction goes into its sparse index (n >= 1).
    void setSparseInterval(uint32_t n) { m_sparseInterval = n ? n : 1; }

    // Encodes a term of either language of the pair (the direction follows its
    // language). An empty search key is made by the tokenizer. Text code points below
    // 0x20 are stored as blanks. False, with the reason, when the term cannot be stored:
    // a language outside the pair, an empty headword, a feature code below 4 or above
    // 255, or more parts of speech than a module can name.
    bool addTerm(const LXTerm &term, std::string &error);

    // Writes the module to path through a temporary file beside it, which replaces path
    // only when everything was written; on failure nothing is left behind.
    bool write(const std::string &path, std::string &error);
    // Writes the part-th (from 0) of parts modules that together hold every term: each a
    // complete module of the pair with one slice of each direction's headword records,
    // consecutive in index order and of about equal bytes. Written as write does.
    bool writePart(const std::string &path, uint32_t part, uint32_t parts, std::string &error);
    // Whether the last write failed only because a stream held too much for one module
    // (a compressed stream's blocks are addressed in 24 bits); more parts then fit.
    bool wasTooLarge() const { return m_tooLarge; }

    uint32_t getTermCount() const { return static_cast<uint32_t>(m_entries.size()); }
    uint32_t getHeadwordCount(int direction) const { return m_headwords[direction & 1]; }
    uint32_t getPartOfSpeechCount() const { return static_cast<uint32_t>(m_posNames.size()); }

private:
    struct Entry {
        lxstring key;
        std::string headword;    // UTF-8
        std::string posName;
        uint32_t posCode;
        bool expression;         // the headword holds a blank
        uint8_t direction;
        std::string record;      // the encoded term, pos byte to closing 0x03
    };

    int partOfSpeechIndex(const lxstring &name, uint32_t code, bool secondLanguage);
    static bool entryLess(const Entry &a, const Entry &b);
    std::vector<std::pair<size_t, size_t>> keyRuns(int direction) const;
    std::vector<std::pair<size_t, size_t>> partRuns(int direction, uint32_t part, uint32_t parts) const;

    LXCompressor *m_compressor;
    LXTokenizer *m_tokenizer;
    LXLanguage m_language1;
    LXLanguage m_language2;
    uint32_t m_priority;
    uint32_t m_product;
    uint32_t m_moduleVersion;
    uint32_t m_sparseInterval;
    std::vector<Entry> m_entries;
    std::vector<std::string> m_posNames;
    std::vector<uint8_t> m_posFlags;
    LXHashTable<lxstring, uint32_t> m_posIndex;
    uint32_t m_headwords[2];
    bool m_sorted;                  // the entries are in index order
    bool m_tooLarge;
};

#endif
