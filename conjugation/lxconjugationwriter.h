// LXConjugationWriter: builds the nine streams of a conjugation module from records and
// writes them as a stream container. The records are sorted here with the reader's own
// comparisons, so the reader's binary searches find them.
//
// Used by the module builder tool and by tests, which may also alter the streams before
// they are written (to make damaged modules).
#ifndef WORDMERE_CONJUGATION_LXCONJUGATIONWRITER_H
#define WORDMERE_CONJUGATION_LXCONJUGATIONWRITER_H

#include <cstdint>
#include <string>

#include "lxconjugationrecords.h"
#include "lxconjugator.h"

class LXCompressor;

class LXConjugationWriter {
public:
    explicit LXConjugationWriter(LXLanguage language);

    void setHeader(uint32_t signature, uint32_t headerWord, uint32_t formatWord);
    // By default the model count is the highest model number plus one.
    void setModelCount(uint32_t count) { m_modelCount = count; }

    // Names in code order, from person 37 and tense 73.
    void addPersonName(const lxstring &name) { m_personNames.push_back(name); }
    void addTenseName(const lxstring &name) { m_tenseNames.push_back(name); }

    // The model's number is cache.model (1..255).
    void addModel(const LXModelCache &model) { m_models.push_back(model); }
    void addVerb(const LXVerb &verb) { m_verbs.push_back(verb); }
    void addStemmingModel(const LXStemmingModel &model) { m_stemmingModels.push_back(model); }
    void addSuffixModel(const LXSuffixModel &model) { m_suffixModels.push_back(model); }
    void addVerbForm(const LXStem &stem) { m_verbForms.push_back(stem); }

    // Sorts the records (dropping exact duplicates) and lays out the streams. False when a
    // record cannot be stored: a code or model number of 0 or above 255, or a text that
    // holds a 0 byte or code point 1.
    bool build(std::string streams[LXConjugationStreamCount], std::string &error);

    // Writes streams as a container; streams 5 and 8 compressed when asked.
    static bool writeContainer(const lxstring &path, const std::string streams[LXConjugationStreamCount],
                               LXCompressor *compressor, bool compress);

    bool write(const lxstring &path, LXCompressor *compressor, bool compress, std::string &error);

    // Counts after build, for reports.
    uint32_t verbCount() const { return m_verbs.size(); }
    uint32_t verbFormCount() const { return m_verbForms.size(); }

private:
    LXLanguage m_language;
    uint32_t m_signature;
    uint32_t m_headerWord;
    uint32_t m_formatWord;
    uint32_t m_modelCount;
    LXList<lxstring> m_personNames;
    LXList<lxstring> m_tenseNames;
    LXList<LXModelCache> m_models;
    LXList<LXVerb> m_verbs;
    LXList<LXStemmingModel> m_stemmingModels;
    LXList<LXSuffixModel> m_suffixModels;
    LXList<LXStem> m_verbForms;
};

#endif
