// Reader of dictd databases as FreeDict ships them: a tab-separated .index of
// (headword, base64 offset, base64 length) lines and the article text in a .dict file,
// usually dictzip-compressed (.dict.dz, which is gzip with a chunk table that plain
// gzip readers skip). Articles are parsed into the parts the module builder needs.
//
// Plain std::string/UTF-8 throughout: this side knows nothing of the engine.
#ifndef LXDBUILD_FREEDICT_H
#define LXDBUILD_FREEDICT_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// dictd's base64 numbers: most significant digit first, alphabet A-Z a-z 0-9 + /.
// False for an empty text, a character outside the alphabet or a value above 2^48.
bool freedictDecodeNumber(const std::string &text, uint64_t &value);

// Inflates a gzip file image (one or more members; dictzip is one). False with a reason
// when the data is not gzip or is cut short.
bool freedictInflate(const std::string &compressed, std::string &out, std::string &error);

struct FreeDictIndexLine {
    std::string headword;   // as the index has it (dictd lower-cases and strips it)
    uint64_t offset = 0;
    uint64_t length = 0;
    uint32_t line = 0;      // 1-based line number in the .index file
};

// One sense of an article: a line of translations with what was attached to it.
struct FreeDictSense {
    std::string text;                    // the translations, labels and marks removed
    std::string partOfSpeech;            // the mark shared by the whole line, if any
    std::vector<std::string> labels;     // [jur.], [Br.] ...
    std::vector<std::string> glosses;    // explanatory lines in the headword's language
};

enum FreeDictNoteKind {
    FreeDictSynonyms,
    FreeDictAntonyms,
    FreeDictSeeAlso,
    FreeDictNote,
    FreeDictExample
};

struct FreeDictArticle {
    std::string headword;
    std::vector<std::string> pronunciations;
    std::vector<std::string> alternatives;  // "(FA /.../)" after the headword
    std::string partOfSpeech;               // headword marks joined with ", "
    std::vector<FreeDictSense> senses;
    std::vector<std::pair<FreeDictNoteKind, std::string>> notes;
};

// Parses one article's text. False when it has no headword line.
bool freedictParseArticle(const std::string &text, FreeDictArticle &article);

class FreeDictDatabase {
public:
    // base is the path without extension: base.index and base.dict.dz (or base.dict).
    // On failure error names the file and, for the index, the line.
    bool open(const std::string &base, std::string &error);

    // Index lines in file order, the 00-database-* pseudo-entries left out.
    const std::vector<FreeDictIndexLine> &lines() const { return m_lines; }
    // The article text of a line; checked against the data at open time.
    std::string article(const FreeDictIndexLine &line) const;
    const std::string &indexPath() const { return m_indexPath; }
    const std::string &dataPath() const { return m_dataPath; }

private:
    std::vector<FreeDictIndexLine> m_lines;
    std::string m_data;
    std::string m_indexPath;
    std::string m_dataPath;
};

bool freedictReadFile(const std::string &path, std::string &content);

#endif
