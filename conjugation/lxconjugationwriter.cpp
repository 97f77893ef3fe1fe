#include "lxconjugationwriter.h"

#include "format/lxstreamfile.h"

namespace {

void putByte(std::string &s, uint32_t v)
{
    s.push_back(static_cast<char>(v & 0xFF));
}

void putInt16(std::string &s, uint32_t v)
{
    putByte(s, v >> 8);
    putByte(s, v);
}

void putInt32(std::string &s, uint32_t v)
{
    putByte(s, v >> 24);
    putByte(s, v >> 16);
    putByte(s, v >> 8);
    putByte(s, v);
}

// The text's UTF-8 bytes; false when it holds a 0 or a 1, which end texts and records.
bool putText(std::string &s, const lxstring &text, std::string &error)
{
    lxstring t = text;
    t.setEncoding(LXEncodingUtf8);
    for (lxstring_iterator it = t.begin(); !it.isAtEnd(); ++it) {
        if (*it == 0 || *it == 1) {
            error = "text with a control code: ";
            error.append(t.c_str(), t.size());
            return false;
        }
    }
    s.append(t.c_str(), t.size());
    return true;
}

bool putCode(std::string &s, uint32_t code, std::string &error)
{
    if (code == 0 || code > 255) {
        error = "code out of range: " + std::to_string(code);
        return false;
    }
    putByte(s, code);
    return true;
}

int verbOrder(LXVerb &a, LXVerb &b, void *)
{
    int c = LXConjugator::compareVerbText(a.infinitive, b.infinitive, true, true);
    if (c == 0)
        c = LXConjugator::compareVerbText(a.infinitive, b.infinitive, false, false);
    return c;
}

int stemmingOrder(LXStemmingModel &a, LXStemmingModel &b, void *)
{
    int c = a.key.compare(b.key, true, true, LXLanguageNone);
    if (c == 0)
        c = a < b ? -1 : (b < a ? 1 : 0);
    return c;
}

int suffixOrder(LXSuffixModel &a, LXSuffixModel &b, void *)
{
    int c = a.ending.compare(b.ending, true, true, LXLanguageNone);
    if (c == 0)
        c = a < b ? -1 : (b < a ? 1 : 0);
    return c;
}

int formOrder(LXStem &a, LXStem &b, void *)
{
    int c = a.word.compare(b.word, true, true, LXLanguageNone);
    if (c == 0)
        c = a.word.compare(b.word, false, false, LXLanguageNone);
    if (c == 0)
        c = a.base.compare(b.base, false, false, LXLanguageNone);
    if (c == 0)
        c = a.tense < b.tense ? -1 : (a.tense > b.tense ? 1 : 0);
    if (c == 0)
        c = a.person < b.person ? -1 : (a.person > b.person ? 1 : 0);
    return c;
}

// Sorts and drops neighbours that compare equal.
template <typename T>
void sortUnique(LXList<T> &list, int (*order)(T &, T &, void *))
{
    list.mergeSort(order, nullptr);
    typename LXList<T>::iterator it = list.begin();
    if (it.isAtEnd())
        return;
    typename LXList<T>::iterator next = it;
    ++next;
    while (!next.isAtEnd()) {
        if (order(*it, *next, nullptr) == 0) {
            list.erase(next);   // moves to the following node
            if (next.getNode() == it.getNode())
                break;
        } else {
            it = next;
            ++next;
        }
    }
}

} // namespace

LXConjugationWriter::LXConjugationWriter(LXLanguage language)
    : m_language(language), m_signature(LXConjugationSignature), m_headerWord(1),
      m_formatWord(0x60000001), m_modelCount(0)
{
}

void LXConjugationWriter::setHeader(uint32_t signature, uint32_t headerWord, uint32_t formatWord)
{
    m_signature = signature;
    m_headerWord = headerWord;
    m_formatWord = formatWord;
}

bool LXConjugationWriter::build(std::string streams[LXConjugationStreamCount], std::string &error)
{
    for (uint32_t i = 0; i < LXConjugationStreamCount; ++i)
        streams[i].clear();

    uint32_t modelCount = m_modelCount;
    if (modelCount == 0) {
        for (LXList<LXModelCache>::iterator m = m_models.begin(); !m.isAtEnd(); ++m) {
            if ((*m).model + 1 > modelCount)
                modelCount = (*m).model + 1;
        }
    }

    // 0: header.
    std::string &header = streams[LXStreamHeader];
    putInt16(header, m_signature);
    putInt16(header, static_cast<uint32_t>(m_language));
    putInt32(header, m_headerWord);
    putInt32(header, m_formatWord);
    putInt32(header, modelCount);

    // 1 and 4: model offsets and tables.
    uint32_t slots = modelCount;
    for (LXList<LXModelCache>::iterator m = m_models.begin(); !m.isAtEnd(); ++m) {
        if ((*m).model + 1 > slots)
            slots = (*m).model + 1;
    }
    std::string offsets(static_cast<size_t>(slots) * 4, '\0');
    std::string &tables = streams[LXStreamModels];
    for (LXList<LXModelCache>::iterator m = m_models.begin(); !m.isAtEnd(); ++m) {
        const LXModelCache &model = *m;
        uint32_t at = static_cast<uint32_t>(tables.size());
        for (int k = 0; k < 4; ++k)
            offsets[model.model * 4 + k] = static_cast<char>((at >> (24 - 8 * k)) & 0xFF);
        if (!putCode(tables, model.model, error))
            return false;
        for (LXCodeTextList::const_iterator f = model.features.begin(); !f.isAtEnd(); ++f) {
            if ((*f).first > LXNoTense || !putCode(tables, (*f).first, error) ||
                !putText(tables, (*f).second, error)) {
                if (error.empty())
                    error = "model feature code above 72";
                return false;
            }
            putByte(tables, 1);
        }
        for (LXList<LXTenseInfo>::const_iterator t = model.tenses.begin(); !t.isAtEnd(); ++t) {
            if ((*t).tense <= LXNoTense || !putCode(tables, (*t).tense, error)) {
                if (error.empty())
                    error = "tense code of 72 or less";
                return false;
            }
            for (LXCodeTextList::const_iterator p = (*t).persons.begin(); !p.isAtEnd(); ++p) {
                if ((*p).first < LXPersonFirst || (*p).first > LXPersonLast) {
                    error = "person code out of range";
                    return false;
                }
                putByte(tables, (*p).first);
                if (!putText(tables, (*p).second, error))
                    return false;
                putByte(tables, 1);
            }
        }
        putByte(tables, 0);
    }
    streams[LXStreamModelOffsets] = offsets;

    // 2 and 3: names.
    for (LXList<lxstring>::iterator n = m_personNames.begin(); !n.isAtEnd(); ++n) {
        if (!putText(streams[LXStreamPersonNames], *n, error))
            return false;
        putByte(streams[LXStreamPersonNames], 0);
    }
    for (LXList<lxstring>::iterator n = m_tenseNames.begin(); !n.isAtEnd(); ++n) {
        if (!putText(streams[LXStreamTenseNames], *n, error))
            return false;
        putByte(streams[LXStreamTenseNames], 0);
    }

    // 5: verbs.
    sortUnique(m_verbs, verbOrder);
    for (LXList<LXVerb>::iterator v = m_verbs.begin(); !v.isAtEnd(); ++v) {
        std::string &s = streams[LXStreamVerbs];
        if (!putCode(s, (*v).model, error) || !putText(s, (*v).infinitive, error))
            return false;
        putByte(s, 1);
        for (LXCodeTextList::const_iterator e = (*v).entries.begin(); !e.isAtEnd(); ++e) {
            if (!putCode(s, (*e).first, error) || !putText(s, (*e).second, error))
                return false;
            putByte(s, 1);
        }
        putByte(s, 0);
    }

    // 6: stemming models.
    sortUnique(m_stemmingModels, stemmingOrder);
    for (LXList<LXStemmingModel>::iterator m = m_stemmingModels.begin(); !m.isAtEnd(); ++m) {
        std::string &s = streams[LXStreamStemmingModels];
        const LXStemmingModel &r = *m;
        if (!putCode(s, r.grammarCode1, error) || !putText(s, r.key, error))
            return false;
        putByte(s, 1);
        putByte(s, 1);      // skipped by the reader; never 0
        if (!putCode(s, r.partOfSpeechCode, error) || !putText(s, r.partOfSpeechName, error))
            return false;
        putByte(s, 1);
        putByte(s, 1);      // skipped by the reader; never 0
        if (!putText(s, r.replacement, error))
            return false;
        putByte(s, 1);
        if (!putCode(s, r.grammarCode2, error))
            return false;
        putByte(s, 0);
    }

    // 7: suffix models.
    sortUnique(m_suffixModels, suffixOrder);
    for (LXList<LXSuffixModel>::iterator m = m_suffixModels.begin(); !m.isAtEnd(); ++m) {
        std::string &s = streams[LXStreamSuffixModels];
        if (!putCode(s, (*m).model, error) || !putCode(s, (*m).tense, error) ||
            !putCode(s, (*m).person, error) || !putText(s, (*m).ending, error))
            return false;
        putByte(s, 0);
    }

    // 8: inflected forms.
    sortUnique(m_verbForms, formOrder);
    for (LXList<LXStem>::iterator f = m_verbForms.begin(); !f.isAtEnd(); ++f) {
        std::string &s = streams[LXStreamVerbForms];
        if (!putCode(s, (*f).tense, error) || !putCode(s, (*f).person, error) ||
            !putText(s, (*f).word, error))
            return false;
        putByte(s, 1);
        if (!putText(s, (*f).base, error))
            return false;
        putByte(s, 1);
        putByte(s, 0);
    }
    return true;
}

bool LXConjugationWriter::writeContainer(const lxstring &path,
                                         const std::string streams[LXConjugationStreamCount],
                                         LXCompressor *compressor, bool compress)
{
    LXStreamFile file(compressor);
    if (!file.open(path, LXStreamFile::ModeWrite, LXConjugationStreamCount, nullptr, nullptr))
        return false;
    for (uint32_t i = 0; i < LXConjugationStreamCount; ++i) {
        uint32_t position = 0;
        for (size_t k = 0; k < streams[i].size(); ++k)
            file.writeByte(i, position, static_cast<uint8_t>(streams[i][k]));
        if (compress && (i == LXStreamVerbs || i == LXStreamVerbForms))
            file.setCompressed(i, true);
    }
    bool ok = file.write();
    file.close();
    return ok;
}

bool LXConjugationWriter::write(const lxstring &path, LXCompressor *compressor, bool compress,
                                std::string &error)
{
    std::string streams[LXConjugationStreamCount];
    if (!build(streams, error))
        return false;
    if (!writeContainer(path, streams, compressor, compress)) {
        error = "cannot write the container";
        return false;
    }
    return true;
}
