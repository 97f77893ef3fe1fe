// LXConjugator: reads one conjugation module (".lxc") at a time and answers the
// conjugation and stem questions about its verbs.
//
// A module is a stream container with nine streams:
//   0 header (signature 0xDADA, language, header word, format word, model count)
//   1 model offsets into stream 4     2 person names from 37    3 tense names from 73
//   4 model tables                    5 verb list, sorted       6 stemming models, sorted
//   7 suffix models, sorted           8 inflected-form index, sorted
// All numbers are big-endian; texts are UTF-8, ended by code point 1 inside records and
// by a 0 byte for names and at the end of records.
#ifndef WORDMERE_CONJUGATION_LXCONJUGATOR_H
#define WORDMERE_CONJUGATION_LXCONJUGATOR_H

#include <cstdint>

#include "base/lxlanguage.h"
#include "base/lxlist.h"
#include "base/lxstring.h"
#include "format/lxfilesystem.h"
#include "lxconjugationrecords.h"
#include "search/lxconjugationengine.h"

class LXCompressor;
class LXStreamFile;

enum : uint32_t {
    LXConjugationSignature = 0xDADA,
    LXConjugationStreamCount = 9,
    LXStreamHeader = 0,
    LXStreamModelOffsets = 1,
    LXStreamPersonNames = 2,
    LXStreamTenseNames = 3,
    LXStreamModels = 4,
    LXStreamVerbs = 5,
    LXStreamStemmingModels = 6,
    LXStreamSuffixModels = 7,
    LXStreamVerbForms = 8
};

// The data manager reaches it through the engine's LXConjugationEngine interface.
class LXConjugator : public LXConjugationEngine {
public:
    // Null when memory is exhausted.
    static LXConjugator *create();
    LXConjugator();
    ~LXConjugator() override;
    LXConjugator(const LXConjugator &) = delete;
    LXConjugator &operator=(const LXConjugator &) = delete;

    // The data manager's shared compressor, which inflates compressed blocks.
    void setCompressor(LXCompressor *compressor) override;

    // Reads the header with only stream 0 loaded, closes the file again, and answers
    // whether signature and format word are those of a conjugation module.
    bool validateModule(const lxstring &path) override;
    // Opens the stored path with all nine streams; true at once when already open.
    bool openStreams();
    // validateModule and openStreams; a module held open on the same unchanged file stays
    // as it is, with the blocks its caches hold.
    bool openModule(const lxstring &path) override;
    void closeModule() override;
    bool isOpen() const;

    uint32_t getSignature() const { return m_signature; }
    LXLanguage getLanguage() const override { return m_language; }
    uint32_t getHeaderWord() const override { return m_headerWord; }
    uint32_t getFormatWord() const override { return m_formatWord; }
    uint32_t getModelCount() const { return m_modelCount; }
    const lxstring &getPath() const { return m_path; }

    // Fills the cache with model m's table; an empty cache for 0 or m >= model count.
    void loadModel(uint32_t model, LXModelCache &cache);

    // Record readers at a byte position of their stream; each answers the position after
    // the record (the stream size when the position is at or beyond the end).
    uint32_t readVerb(uint32_t position, LXVerb &verb);
    uint32_t readStemmingModel(uint32_t position, LXStemmingModel &model);
    uint32_t readSuffixModel(uint32_t position, LXSuffixModel &model);
    uint32_t readVerbForm(uint32_t position, LXStem &stem);

    void getTenseName(uint32_t tense, lxstring &text) override;
    void getPersonName(uint32_t person, lxstring &text) override;
    void getEnglishPersonDescription(uint32_t person, lxstring &text) override;

    // Verb by infinitive: case and accents ignored, an exact spelling preferred. On a miss
    // the position is the insertion point and the verb holds the record found there.
    bool findVerb(const lxstring &word, LXVerb &verb) override;
    bool findVerb(const lxstring &word, uint32_t &position, LXVerb &verb);
    // All records whose key equals the text (case and accents ignored), in stream order.
    void findStemmingModels(const lxstring &key, LXList<LXStemmingModel> &models);
    void findSuffixModels(const lxstring &reversedEnding, LXList<LXSuffixModel> &models);
    void findVerbForms(const lxstring &form, LXList<LXStem> &stems);

    // Queries.
    void getMatchingVerbs(const lxstring &text, LXList<lxstring> &list, bool clear, uint32_t maxCount) override;
    void getTenses(const LXVerb &verb, LXList<int> &list, bool all) override;
    void getPersons(const LXVerb &verb, uint32_t tense, LXList<int> &list) override;
    // The stored forms of a tense and person before any rule; false when neither the verb
    // nor the model stores them (the list then holds the one empty form).
    bool getForms(const LXVerb &verb, uint32_t tense, uint32_t person, LXModelCache &cache,
                  LXList<lxstring> &list);
    bool conjugate(const LXVerb &verb, uint32_t tense, uint32_t person, LXModelCache &cache,
                   LXList<lxstring> &list);
    bool getConjugation(const LXVerb &verb, uint32_t tense, uint32_t person, lxstring &text) override;
    bool getConjugations(const LXVerb &verb, uint32_t tense, uint32_t person, LXList<lxstring> &list) override;
    // The data manager's option word is the separator code point.
    void getConjugationDisplayText(const LXVerb &verb, uint32_t separator, uint32_t tense,
                                   uint32_t person, lxstring &text) override;
    void getVerbDetails(const LXVerb &verb, lxstring &text) override;
    void getModelStems(const lxstring &word, LXList<LXStem> &stems) override;
    void getVerbStems(const lxstring &word, LXList<LXStem> &stems, int strategy) override;

    // Helpers shared with the module writer and the tests.
    static void normaliseWord(const lxstring &text, lxstring &out, bool lower, bool baseOnly);
    static void displayForm(const lxstring &infinitive, lxstring &out);
    // Verb-list order of a word against an infinitive: -1, 0, 1.
    static int compareVerbText(const lxstring &word, const lxstring &infinitive, bool ignoreCase,
                               bool baseOnly);
    static void splitForms(const lxstring &text, LXList<lxstring> &forms);
    // Last tense code of the language's personless run (72 when it has none).
    static uint32_t personlessEnd(LXLanguage language);
    static bool isPersonless(LXLanguage language, uint32_t tense);
    // The model's spelling rules (its feature 16 entries) applied to a stem before the
    // ending is appended, as the Romance conjugators do.
    static void applySpellingRules(LXLanguage language, const LXCodeTextList &features, lxstring &stem,
                                   uint32_t tense, uint32_t person, const lxstring &ending);

private:
    // Stream access, bounded by the stream's size.
    uint32_t streamSize(uint32_t stream) const;
    uint32_t byteAt(uint32_t stream, uint32_t position) const;
    uint32_t int32At(uint32_t stream, uint32_t position) const;
    // Reads code points up to the terminator (consumed) or the end of the stream.
    void readText(uint32_t stream, uint32_t &position, uint32_t terminator, lxstring &text) const;
    uint32_t skipRecord(uint32_t stream, uint32_t position, uint32_t limit) const;
    uint32_t recordStart(uint32_t stream, uint32_t position, uint32_t floor) const;
    void readName(uint32_t stream, uint32_t first, uint32_t code, lxstring &text);

    // Binary search of a sorted stream. keyOf reads the record's key at a position.
    // Answers true on a hit with first = the first record of the run of equal records;
    // on a miss first = the insertion point.
    typedef int (*RecordCompare)(LXConjugator &self, const lxstring &key, uint32_t position);
    bool searchSorted(uint32_t stream, const lxstring &key, RecordCompare compare, uint32_t &first);

    // Per-language form builders.
    bool conjugateRomance(const LXVerb &verb, uint32_t tense, uint32_t person, LXModelCache &cache,
                          LXList<lxstring> &list);
    void simpleRomanceForms(const LXVerb &verb, uint32_t tense, uint32_t person, LXModelCache &cache,
                            LXList<lxstring> &forms);
    bool conjugateEnglish(const LXVerb &verb, uint32_t tense, uint32_t person, LXModelCache &cache,
                          LXList<lxstring> &list);
    void englishPastForms(const LXVerb &verb, uint32_t person, LXModelCache &cache, LXList<lxstring> &past);
    bool conjugateGerman(const LXVerb &verb, uint32_t tense, uint32_t person, LXModelCache &cache,
                         LXList<lxstring> &list);
    void simpleGermanForms(const LXVerb &verb, uint32_t tense, uint32_t person, LXModelCache &cache,
                           LXList<lxstring> &list);
    // The stems of a simple tense, from the infinitive or the verb's entries; false when
    // the tense has no stem source or the verb lacks the entry.
    static bool germanStemText(const LXVerb &verb, uint32_t tense, const LXModelCache &cache, lxstring &stem);

    uint32_t m_signature;
    LXLanguage m_language;
    uint32_t m_headerWord;
    uint32_t m_formatWord;
    uint32_t m_modelCount;
    LXStreamFile *m_file;
    lxstring m_path;
    LXFileStamp m_stamp;     // of the file the open module was read from
    LXCompressor *m_compressor;
};

#endif
