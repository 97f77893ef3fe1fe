// LXD: one dictionary module file (".lxd"), a stream container of seven streams (a
// published module) or five (a user-additions module):
//   0 header (48 bytes)          4 term records, per headword record a run ended by 0
//   1 parts of speech            5 sparse index of direction 1 (published only)
//   2 headword index, both       6 sparse index of direction 2 (published only)
//     directions, sorted
//   3 kind marker
// A headword record is [base-255 position in stream 4][search key][0]; a sparse record
// is [base-255 position in stream 2][key][0]. Keys are sorted by lxstring::compare with
// language 0. Everything read from the file is treated as untrusted: a damaged module
// reads as shorter records or the neutral answer, never past a stream's end.
#ifndef WORDMERE_ENGINE_LXD_H
#define WORDMERE_ENGINE_LXD_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/lxhashtable.h"
#include "base/lxlanguage.h"
#include "base/lxlist.h"
#include "base/lxpair.h"
#include "base/lxstring.h"
#include "format/lxstreamfile.h"
#include "model/lxterm.h"

class LXCompressor;
class LXTokenizer;
struct LXDAdditionsEntry;
struct LXDAdditionsTerms;

class LXD {
public:
    enum {
        kMagic = 0xC0C0FFEEu,
        kHeaderSize = 48,
        kPublishedStreams = 7,
        kAdditionsStreams = 5,
        kFormatVersion = 0x60,     // written; 0x54..0x60 are read
        kMinFormatVersion = 0x54,
        kMaxPartsOfSpeech = 252    // index + kFirstPartOfSpeech must fit the record byte
    };
    enum Stream { Header = 0, PartsOfSpeech = 1, Index = 2, Kind = 3, Terms = 4, Sparse1 = 5, Sparse2 = 6 };
    // Byte offsets of the header's fields.
    enum HeaderField {
        kHeaderMagic = 0,
        kHeaderModuleVersion = 4,
        kHeaderFormatWord = 8,          // version in the top byte, product in the low byte
        kHeaderLanguage1 = 12,          // 16 bits
        kHeaderLanguage2 = 14,          // 16 bits
        kHeaderHeadwords1 = 16,
        kHeaderHeadwords2 = 20,
        kHeaderDirection2Start = 24,
        kHeaderPartsOfSpeech = 32,
        kHeaderPriority = 36
    };
    enum { kVersionShift = 24, kProductMask = 0xFF, kPartOfSpeechCodeMask = 0x3F };
    // Bytes of the term records. A term and each of its definitions start with its
    // part-of-speech index + kFirstPartOfSpeech; then a text ended by kEndOfText and
    // features (code >= kFirstFeatureCode, text, kEndOfText) ended by kEndOfFeatures.
    // kEndOfTerm closes a term, kEndOfRun a headword's run of terms. Inside a headword's
    // text kKeyPlaceholder stands for the search key.
    enum RecordByte : uint32_t {
        kEndOfRun = 0,
        kEndOfText = 1,
        kEndOfFeatures = 2,
        kKeyPlaceholder = 2,
        kEndOfTerm = 3,
        kFirstPartOfSpeech = 4,
        kFirstFeatureCode = 4
    };

    // Both are borrowed and must outlive the module.
    LXD(LXCompressor *compressor, LXTokenizer *tokenizer);
    ~LXD();
    LXD(const LXD &) = delete;
    LXD &operator=(const LXD &) = delete;

    // Reads the header and kind marker of the file and closes it again; true when it is
    // a module: magic 0xC0C0FFEE, format version 0x54..0x60 and a kind marker of either
    // form for its languages.
    bool validate(const lxstring &path);
    // Opens the validated file for reading (the terms through a block cache, the headword
    // index block by block into a buffer where its blocks stay) and loads the parts of
    // speech; every read operation calls it first.
    bool open();
    void close();
    bool isOpen() const;

    const lxstring &getPath() const { return m_path; }
    LXLanguage getLanguage1() const { return m_language1; }
    LXLanguage getLanguage2() const { return m_language2; }
    bool isAdditions() const;
    // The kind marker of an additions module of the pair.
    static uint32_t additionsKindMarker(LXLanguage language1, LXLanguage language2);
    bool isPublished() const { return m_streamCount >= kPublishedStreams; }
    uint32_t getFormatWord() const { return m_formatWord; }
    uint32_t getProduct() const { return m_formatWord & 0xFF; }
    uint32_t getModuleVersion() const { return m_moduleVersion; }
    uint32_t getPriority() const { return m_priority; }
    uint32_t getHeadwordCount1() const { return m_count1; }
    uint32_t getHeadwordCount2() const { return m_count2; }
    uint32_t getDirection2Start() const { return m_direction2Start; }

    // Finds text in the headword index of the language's direction: first in the sparse
    // index (published modules), then by binary search in the narrowed range. True with
    // position = the record when a key equals text; otherwise false with position = the
    // first record whose key is greater (the insertion point) and key = that record's key
    // (empty at the end of the stream). rangeStart and rangeEnd are the direction's.
    bool findHeadword(const lxstring &text, LXLanguage language, lxstring &key, uint32_t &rangeStart,
                      uint32_t &rangeEnd, uint32_t &position);

    // Reads the term at termPosition of stream 4 whose headword record is at
    // headwordPosition of stream 2. Answers the position after the term's closing 0x03
    // (after what was read when the record is damaged; termPosition itself when nothing
    // could be read). A module that cannot be opened gives an empty term.
    uint32_t readTerm(LXTerm &term, uint32_t headwordPosition, uint32_t termPosition);
    // Every term of direction 1 in file order, then of direction 2 (unless language 2
    // equals language 1 or is 255).
    void readAllTerms(LXList<LXTerm> &list);
    // The same, each term handed to visit (which may take it).
    void readAllTerms(const std::function<void(LXTerm &)> &visit);

    // (name, code) of the parts of speech the language uses, sorted by name, then code.
    void getPartsOfSpeech(LXList<LXPair<lxstring, uint32_t>> &list, LXLanguage language);
    // At most 5 keys near word (edit distance 2 or less, sharing its first prefixLength
    // folded letters, 2 when 0), ordered by distance, then key.
    void getApproximateMatches(const lxstring &word, LXLanguage language, int32_t prefixLength,
                               LXList<lxstring> &list);
    // User additions (an additions module only; each change rewrites the whole file
    // safely, see rewrite). Why the last write failed:
    enum WriteResult {
        Written = 0,
        NotWritable,             // not an additions module, or its file does not open
        TooManyPartsOfSpeech,    // a new part-of-speech name would not fit the record byte
        TermNotStorable,         // a language outside the pair, a feature code below 4 or above 255
        WriteFailed              // the new file could not be written or put in place
    };
    WriteResult getLastWriteResult() const { return m_writeResult; }
    const std::string &getLastWriteError() const { return m_writeError; }

    // Creates an empty additions file for the pair and product (priority 100).
    static bool createAdditionsFile(const lxstring &path, LXLanguage language1, LXLanguage language2,
                                    uint32_t product, LXCompressor *compressor);
    // Merges the terms into the module's terms (equal terms take the new definitions),
    // enters unknown part-of-speech names and rewrites the file.
    bool addTerms(const LXList<LXTerm> &terms);
    bool addTerm(const LXTerm &term);
    // Deletes the term's one definition from the stored terms of its headword, and its
    // counterpart from the reverse term; terms left empty go. True when something was
    // deleted and the file rewritten.
    bool deleteDefinition(const LXTerm &term);
    // Writes terms (any order) with the parts of speech as (name, flags) in stream order,
    // nameToIndex giving each name's place, to a new file that then replaces the old one
    // in one step, and opens it. On any failure the old file stays, the module is open on
    // it, and the answer is false.
    bool rewrite(const LXList<LXTerm> &terms, const LXList<LXPair<lxstring, uint32_t>> &partsOfSpeech,
                 const LXHashTable<lxstring, uint32_t> &nameToIndex);

    // Edit distance over the first 15 code points of each; a substitution costs 2.
    uint32_t editDistance(const lxstring &a, const lxstring &b);
    // Code of a part-of-speech name: 1 for the empty name, the table's flags AND 0x3F for
    // a name the module knows, 8 for any other.
    uint32_t partOfSpeechCode(const lxstring &name) const;

    // Record-level access for the module iterators.
    void getDirectionRange(LXLanguage language, uint32_t &start, uint32_t &end);
    uint32_t getIndexSize();
    uint32_t getTermsSize();
    // The stored stream-4 position of the headword record at position.
    uint32_t readIndexOffset(uint32_t position);
    // Reads the key of the record at position; answers the position after its 0 byte.
    uint32_t readIndexKey(uint32_t position, lxstring &key);
    // Start of the record holding position, not below floor.
    uint32_t indexRecordStart(uint32_t position, uint32_t floor);
    uint8_t readTermsByte(uint32_t position);
    LXCompressor *getCompressor() const { return m_compressor; }
    LXTokenizer *getTokenizer() const { return m_tokenizer; }
    // The container, for diagnostics (block counts) and tests.
    LXStreamFile &getStreamFile() { return m_file; }

private:
    bool readHeader();
    // The parts of speech as stored: (name, flags) in stream order, and each name's place.
    void readPartsOfSpeech(LXList<LXPair<lxstring, uint32_t>> &list, LXHashTable<lxstring, uint32_t> &nameToIndex);
    bool failWrite(WriteResult result, const std::string &error);
    // A change that failed: the terms kept in memory are read again from the file next time.
    bool failChange(WriteResult result, const std::string &error);
    // The module's terms as the file now holds them: those kept from the last change when the
    // file is still as that change wrote it, else read afresh. Null when they cannot be read.
    LXDAdditionsTerms *additionsTerms();
    // The direction and stored key of a term; false for a language outside the pair.
    bool placeEntry(LXDAdditionsEntry &entry) const;
    // Writes the terms to a new file that replaces the old one in one step and opens it
    // (see rewrite); encodes the entries that changed.
    bool writeAdditions(LXDAdditionsTerms &terms);
    // After a write: the changed entries as the new file gives them back, in index order,
    // with the file's stamp; kept for the next change. False when they cannot be.
    bool keepAdditions(std::unique_ptr<LXDAdditionsTerms> terms);
    void loadPartsOfSpeech();
    void dropPartsOfSpeech();
    // Code points from position up to the terminator (consumed) or limit; with a key, the
    // byte 0x02 stands for it. False when the text was cut short.
    bool readText(int32_t stream, uint32_t &position, uint32_t limit, uint32_t terminator, lxstring &out,
                  const lxstring *key);
    void readFeatures(uint32_t &position, uint32_t limit, LXFeatureList &features, bool &ok);
    void partOfSpeechOf(uint8_t byte, lxstring &name, uint32_t &code) const;
    // Binary search over records in [lo, end) of a stream; see findHeadword.
    bool searchRecords(int32_t stream, const lxstring &text, uint32_t lo, uint32_t end, uint32_t &found,
                       uint32_t &below, uint32_t &above, bool &hasBelow, bool &hasAbove);
    uint32_t recordStart(int32_t stream, uint32_t position, uint32_t floor);
    uint32_t readKey(int32_t stream, uint32_t position, uint32_t limit, lxstring &key);

    LXStreamFile m_file;
    LXCompressor *m_compressor;
    LXTokenizer *m_tokenizer;
    lxstring m_path;
    uint32_t m_streamCount;
    uint32_t m_magic;
    uint32_t m_moduleVersion;
    uint32_t m_formatWord;
    LXLanguage m_language1;
    LXLanguage m_language2;
    uint32_t m_count1;
    uint32_t m_count2;
    uint32_t m_direction2Start;
    uint32_t m_partOfSpeechCount;
    uint32_t m_priority;
    uint32_t m_kindMarker;
    bool m_valid;
    lxstring *m_posNames;
    uint32_t m_posNameCount;
    LXHashTable<lxstring, uint32_t> m_posFlags;
    uint16_t m_distance[16][16];
    WriteResult m_writeResult;
    std::string m_writeError;
    std::unique_ptr<LXDAdditionsTerms> m_additions;   // see additionsTerms
};

#endif
