#include "format/lxdwriter.h"

#include <algorithm>
#include <cstring>

#include "base/lxutilities.h"
#include "format/lxcontainerwriter.h"
#include "format/lxd.h"
#include "format/lxdencoding.h"
#include "format/lxstreamfile.h"
#include "model/lxtokenizer.h"

using namespace LXDEncoding;

namespace {

bool hasBlank(const lxstring &s)
{
    return !s.find(static_cast<uint32_t>(' ')).isAtEnd();
}

} // namespace

LXDWriter::LXDWriter(LXCompressor *compressor, LXTokenizer *tokenizer, LXLanguage language1, LXLanguage language2)
    : m_compressor(compressor), m_tokenizer(tokenizer), m_language1(language1), m_language2(language2),
      m_priority(LXOriginDefault), m_product(LXProductDefault), m_moduleVersion(1), m_sparseInterval(16),
      m_sorted(true), m_tooLarge(false)
{
    m_posIndex.resize(397);
    m_headwords[0] = m_headwords[1] = 0;
}

int LXDWriter::partOfSpeechIndex(const lxstring &name, uint32_t code, bool secondLanguage)
{
    // The unnamed entry stands for "no part of speech": terms without one refer to it,
    // but no language uses it as a part of speech, so it is never offered as one.
    uint8_t bit = name.empty() ? 0 : secondLanguage ? 0x80 : 0x40;
    uint32_t index = 0;
    std::string text = utf8(name);
    // The hash table's equality is the collating one; the exact name decides.
    if (m_posIndex.find(name, index) && m_posNames[index] == text) {
        m_posFlags[index] |= bit;
        return static_cast<int>(index);
    }
    for (size_t i = 0; i < m_posNames.size(); ++i) {
        if (m_posNames[i] == text) {
            m_posFlags[i] |= bit;
            return static_cast<int>(i);
        }
    }
    if (m_posNames.size() >= LXD::kMaxPartsOfSpeech)
        return -1;
    m_posNames.push_back(text);
    m_posFlags.push_back(static_cast<uint8_t>((code & LXD::kPartOfSpeechCodeMask) | bit));
    m_posIndex.add(name, static_cast<uint32_t>(m_posNames.size() - 1));
    return static_cast<int>(m_posNames.size() - 1);
}

bool LXDWriter::addTerm(const LXTerm &term, std::string &error)
{
    bool second;
    if (term.getLanguage() == m_language1)
        second = false;
    else if (term.getLanguage() == m_language2 && m_language1 != m_language2 && m_language2 != LXSynonyms)
        second = true;
    else {
        error = "language " + std::to_string(term.getLanguage()) + " is not a headword language of the module";
        return false;
    }
    if (term.getHeadword().empty()) {
        error = "empty headword";
        return false;
    }
    Entry e;
    e.key = term.getSearchKey();
    if (e.key.empty())
        e.key = m_tokenizer->searchKey(term.getHeadword(), term.getLanguage());
    // Keys are read up to a zero byte: no control characters in them either.
    e.key = storedKey(e.key);
    e.headword = utf8(term.getHeadword());
    e.posName = utf8(term.getPartOfSpeechName());
    e.posCode = term.getPartOfSpeechCode();
    e.expression = hasBlank(term.getHeadword());
    e.direction = second ? 1 : 0;

    auto posIndex = [&](const lxstring &name, uint32_t code, bool) {
        return partOfSpeechIndex(name, code, second);
    };
    if (!putTerm(e.record, term, e.key, posIndex, error)) {
        if (m_posNames.size() >= LXD::kMaxPartsOfSpeech)
            error = "more than " + std::to_string(LXD::kMaxPartsOfSpeech) + " parts of speech";
        return false;
    }
    m_entries.push_back(std::move(e));
    m_sorted = false;
    return true;
}

bool LXDWriter::entryLess(const Entry &a, const Entry &b)
{
    if (a.direction != b.direction)
        return a.direction < b.direction;
    int c = a.key.compare(b.key, LXLanguageNone);
    if (c)
        return c < 0;
    // Keys equal under the collation but spelt differently get records of their own.
    int bytes = std::strcmp(a.key.c_str(), b.key.c_str());
    if (bytes)
        return bytes < 0;
    // Within a key: the term order (single words first, part-of-speech code, headword,
    // part-of-speech name).
    if (a.expression != b.expression)
        return !a.expression;
    if (a.posCode != b.posCode)
        return a.posCode < b.posCode;
    if (a.headword != b.headword) {
        c = lxstring(a.headword.c_str(), LXEncodingUtf8)
                .compare(lxstring(b.headword.c_str(), LXEncodingUtf8), LXLanguageNone);
        if (c)
            return c < 0;
        return a.headword < b.headword;
    }
    if (a.posName != b.posName) {
        c = lxstring(a.posName.c_str(), LXEncodingUtf8)
                .compare(lxstring(b.posName.c_str(), LXEncodingUtf8), LXLanguageNone);
        if (c)
            return c < 0;
        return a.posName < b.posName;
    }
    return false;
}

// The runs of entries filed under one key, [first, end) each, of one direction in index
// order; the sort comes first.
std::vector<std::pair<size_t, size_t>> LXDWriter::keyRuns(int direction) const
{
    std::vector<std::pair<size_t, size_t>> runs;
    for (size_t i = 0; i < m_entries.size();) {
        if (m_entries[i].direction != direction) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < m_entries.size() && m_entries[j].direction == direction &&
               std::strcmp(m_entries[j].key.c_str(), m_entries[i].key.c_str()) == 0)
            ++j;
        runs.emplace_back(i, j);
        i = j;
    }
    return runs;
}

// The runs of the part-th of parts slices of a direction: consecutive runs, cut where the
// record bytes so far pass each part's share of the direction's bytes.
std::vector<std::pair<size_t, size_t>> LXDWriter::partRuns(int direction, uint32_t part, uint32_t parts) const
{
    const std::vector<std::pair<size_t, size_t>> runs = keyRuns(direction);
    if (parts <= 1)
        return runs;
    std::vector<uint64_t> bytes(runs.size());
    uint64_t total = 0;
    for (size_t r = 0; r < runs.size(); ++r) {
        for (size_t e = runs[r].first; e < runs[r].second; ++e)
            bytes[r] += m_entries[e].record.size();
        total += bytes[r];
    }
    std::vector<std::pair<size_t, size_t>> mine;
    uint64_t before = 0;
    for (size_t r = 0; r < runs.size(); ++r) {
        // A run belongs to the slice in which its first byte falls.
        const uint64_t slice = total ? before * parts / total : 0;
        if (slice == part)
            mine.push_back(runs[r]);
        before += bytes[r];
    }
    return mine;
}

bool LXDWriter::write(const std::string &path, std::string &error)
{
    return writePart(path, 0, 1, error);
}

bool LXDWriter::writePart(const std::string &path, uint32_t part, uint32_t parts, std::string &error)
{
    m_tooLarge = false;
    if (parts == 0 || part >= parts) {
        error = "no such part of the module";
        return false;
    }
    if (!m_sorted) {
        std::stable_sort(m_entries.begin(), m_entries.end(), entryLess);
        m_sorted = true;
    }

    std::string index, terms, sparse[2];
    uint32_t direction2Start = 0;
    m_headwords[0] = m_headwords[1] = 0;
    for (int dir = 0; dir < 2; ++dir) {
        if (dir == 1)
            direction2Start = static_cast<uint32_t>(index.size());
        uint32_t records = 0;
        for (const std::pair<size_t, size_t> &run : partRuns(dir, part, parts)) {
            const Entry &first = m_entries[run.first];
            uint32_t recordPosition = static_cast<uint32_t>(index.size());
            std::string keyBytes(first.key.c_str(), static_cast<size_t>(first.key.size()));
            if (records % m_sparseInterval == 0) {
                putBase255(sparse[dir], recordPosition);
                sparse[dir] += keyBytes;
                sparse[dir] += '\0';
            }
            putBase255(index, static_cast<uint32_t>(terms.size()));
            index += keyBytes;
            index += '\0';
            // The run of every term filed under this exact key.
            for (size_t j = run.first; j < run.second; ++j)
                terms += m_entries[j].record;
            terms += static_cast<char>(LXD::kEndOfRun);
            ++records;
        }
        m_headwords[dir] = records;
        if (index.size() > 0xFFFFFFFFu / 2 || terms.size() > 0xFFFFFFFFu / 2 ||
            terms.size() >= 255u * 255u * 255u * 255u) {
            error = "too much data for one module";
            m_tooLarge = true;
            return false;
        }
    }

    std::string header;
    putInt32(header, LXD::kMagic);
    putInt32(header, m_moduleVersion);
    putInt32(header, (static_cast<uint32_t>(LXD::kFormatVersion) << LXD::kVersionShift) | m_product);
    putInt16(header, static_cast<uint32_t>(m_language1));
    putInt16(header, static_cast<uint32_t>(m_language2));
    putInt32(header, m_headwords[0]);
    putInt32(header, m_headwords[1]);
    putInt32(header, direction2Start);
    putInt32(header, 0);
    putInt32(header, static_cast<uint32_t>(m_posNames.size()));
    putInt32(header, m_priority);
    putInt32(header, 0);
    putInt32(header, 0);

    std::string pos;
    for (size_t i = 0; i < m_posNames.size(); ++i) {
        pos += static_cast<char>(m_posFlags[i]);
        pos += m_posNames[i];
        pos += '\0';
    }
    std::string kind;
    putInt32(kind, ~((static_cast<uint32_t>(m_language1) << 16) | static_cast<uint32_t>(m_language2)));

    const std::string *streams[LXD::kPublishedStreams] = {&header, &pos, &index, &kind, &terms, &sparse[0], &sparse[1]};
    LXContainerWriter file(m_compressor, LXD::kPublishedStreams);
    for (uint32_t s = 0; s < LXD::kPublishedStreams; ++s)
        file.stream(s) = *streams[s];
    // A module promises both big streams compressed.
    file.setCompressed(LXD::Index);
    file.setCompressed(LXD::Terms);
    file.requireCompression();
    const bool ok = file.write(lxstring(path.c_str(), LXEncodingUtf8), error);
    m_tooLarge = file.wasTooLarge();
    return ok;
}
