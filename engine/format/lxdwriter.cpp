#include "format/lxdwriter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/lxutilities.h"
#include "format/lxd.h"
#include "format/lxstreamfile.h"
#include "model/lxtokenizer.h"

namespace {

std::string utf8(const lxstring &s)
{
    lxstring c(s);
    c.setEncoding(LXEncodingUtf8);
    return std::string(c.c_str(), static_cast<size_t>(c.size()));
}

void putCodePoint(std::string &out, uint32_t cp)
{
    lxstring one;
    one += cp;
    out.append(one.c_str(), static_cast<size_t>(one.size()));
}

// The text's code points as UTF-8; code points below 0x20 (the record markers among
// them) become blanks.
void putText(std::string &out, const lxstring &text)
{
    for (lxstring_iterator i = text.begin(); !i.isAtEnd(); ++i) {
        uint32_t cp = *i;
        putCodePoint(out, cp < 0x20 ? 0x20 : cp);
    }
}

// The headword with every occurrence of its key as the key placeholder.
void putHeadword(std::string &out, const lxstring &headword, const lxstring &key)
{
    lxstring_iterator i = headword.begin();
    const int32_t n = key.length();
    while (!i.isAtEnd()) {
        bool match = n > 0;
        lxstring_iterator h = i, k = key.begin();
        for (int32_t m = 0; match && m < n; ++m, ++h, ++k)
            match = !h.isAtEnd() && *h == *k;
        if (match) {
            out += static_cast<char>(LXD::kKeyPlaceholder);
            i = h;
            continue;
        }
        uint32_t cp = *i;
        putCodePoint(out, cp < 0x20 ? 0x20 : cp);
        ++i;
    }
}

bool putFeatures(std::string &out, const LXFeatureList &features, std::string &error)
{
    for (LXFeatureList::const_iterator f = features.begin(); !f.isAtEnd(); ++f) {
        if (f->first < LXD::kFirstFeatureCode || f->first > UINT8_MAX) {
            error = "feature code " + std::to_string(f->first) + " cannot be stored";
            return false;
        }
        out += static_cast<char>(f->first);
        putText(out, f->second);
        out += static_cast<char>(LXD::kEndOfText);
    }
    out += static_cast<char>(LXD::kEndOfFeatures);
    return true;
}

void putBase255(std::string &out, uint32_t n)
{
    unsigned char b[4];
    LXUtilities::writeInt32ToBuffer(b, LXUtilities::intToBase255(n));
    out.append(reinterpret_cast<char *>(b), 4);
}

void putInt32(std::string &out, uint32_t v)
{
    unsigned char b[4];
    LXUtilities::writeInt32ToBuffer(b, v);
    out.append(reinterpret_cast<char *>(b), 4);
}

void putInt16(std::string &out, uint32_t v)
{
    unsigned char b[2];
    LXUtilities::writeInt16ToBuffer(b, v);
    out.append(reinterpret_cast<char *>(b), 2);
}

bool hasBlank(const lxstring &s)
{
    return !s.find(static_cast<uint32_t>(' ')).isAtEnd();
}

} // namespace

LXDWriter::LXDWriter(LXCompressor *compressor, LXTokenizer *tokenizer, LXLanguage language1, LXLanguage language2)
    : m_compressor(compressor), m_tokenizer(tokenizer), m_language1(language1), m_language2(language2),
      m_priority(LXOriginDefault), m_product(LXProductDefault), m_moduleVersion(1), m_sparseInterval(16)
{
    m_posIndex.resize(397);
    m_headwords[0] = m_headwords[1] = 0;
}

int LXDWriter::partOfSpeechIndex(const lxstring &name, uint32_t code, bool secondLanguage)
{
    uint8_t bit = secondLanguage ? 0x80 : 0x40;
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
    e.key.setEncoding(LXEncodingUtf8);
    // Keys are read up to a zero byte: no control characters in them either.
    {
        lxstring clean;
        for (lxstring_iterator i = e.key.begin(); !i.isAtEnd(); ++i)
            clean += *i < 0x20 ? 0x20u : *i;
        e.key = clean;
    }
    e.headword = utf8(term.getHeadword());
    e.posName = utf8(term.getPartOfSpeechName());
    e.posCode = term.getPartOfSpeechCode();
    e.expression = hasBlank(term.getHeadword());
    e.direction = second ? 1 : 0;

    int pos = partOfSpeechIndex(term.getPartOfSpeechName(), term.getPartOfSpeechCode(), second);
    if (pos < 0) {
        error = "more than " + std::to_string(LXD::kMaxPartsOfSpeech) + " parts of speech";
        return false;
    }
    std::string &r = e.record;
    r += static_cast<char>(pos + LXD::kFirstPartOfSpeech);
    putHeadword(r, term.getHeadword(), e.key);
    r += static_cast<char>(LXD::kEndOfText);
    if (!putFeatures(r, term.getFeatures(), error))
        return false;
    for (LXList<LXDefinition>::const_iterator d = term.getDefinitions().begin(); !d.isAtEnd(); ++d) {
        int dp = partOfSpeechIndex(d->getPartOfSpeechName(), d->getPartOfSpeechCode(), second);
        if (dp < 0) {
            error = "more than " + std::to_string(LXD::kMaxPartsOfSpeech) + " parts of speech";
            return false;
        }
        r += static_cast<char>(dp + LXD::kFirstPartOfSpeech);
        putText(r, d->getText());
        r += static_cast<char>(LXD::kEndOfText);
        if (!putFeatures(r, d->getFeatures(), error))
            return false;
    }
    r += static_cast<char>(LXD::kEndOfTerm);
    m_entries.push_back(std::move(e));
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

bool LXDWriter::write(const std::string &path, std::string &error)
{
    std::stable_sort(m_entries.begin(), m_entries.end(), entryLess);

    std::string index, terms, sparse[2];
    uint32_t direction2Start = 0;
    m_headwords[0] = m_headwords[1] = 0;
    for (int dir = 0; dir < 2; ++dir) {
        if (dir == 1)
            direction2Start = static_cast<uint32_t>(index.size());
        uint32_t records = 0;
        for (size_t i = 0; i < m_entries.size();) {
            if (m_entries[i].direction != dir) {
                ++i;
                continue;
            }
            const Entry &first = m_entries[i];
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
            size_t j = i;
            while (j < m_entries.size() && m_entries[j].direction == dir &&
                   std::strcmp(m_entries[j].key.c_str(), first.key.c_str()) == 0) {
                terms += m_entries[j].record;
                ++j;
            }
            terms += static_cast<char>(LXD::kEndOfRun);
            ++records;
            i = j;
        }
        m_headwords[dir] = records;
        if (index.size() > 0xFFFFFFFFu / 2 || terms.size() > 0xFFFFFFFFu / 2 ||
            terms.size() >= 255u * 255u * 255u * 255u) {
            error = "too much data for one module";
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
    std::string temporary = path + ".part";
    std::remove(temporary.c_str());
    bool ok;
    {
        LXStreamFile file(m_compressor);
        ok = file.open(lxstring(temporary.c_str(), LXEncodingUtf8), LXStreamFile::ModeWrite, LXD::kPublishedStreams);
        if (!ok)
            error = temporary + ": cannot be created";
        for (int32_t s = 0; ok && s < LXD::kPublishedStreams; ++s) {
            uint32_t at = 0;
            for (char c : *streams[s])
                file.writeByte(s, at, static_cast<uint8_t>(c));
            if (file.getStream(s) && file.getStream(s)->getLength() != streams[s]->size()) {
                error = "out of memory for stream " + std::to_string(s);
                ok = false;
            }
        }
        file.setCompressed(LXD::Index, true);
        file.setCompressed(LXD::Terms, true);
        if (ok && !file.write()) {
            error = temporary + ": cannot be written";
            ok = false;
        }
        for (int32_t s : {int32_t(LXD::Index), int32_t(LXD::Terms)}) {
            // The container stores a stream whole when its blocks cannot be addressed;
            // a module promises both big streams compressed.
            if (ok && !streams[s]->empty() && file.getStream(s) && !file.getStream(s)->isCompressed()) {
                error = "stream " + std::to_string(s) + " (" + std::to_string(streams[s]->size()) +
                        " bytes) is too large to be stored compressed";
                ok = false;
            }
        }
        file.close();
    }
    if (ok) {
        std::remove(path.c_str());   // rename does not replace a file everywhere
        if (std::rename(temporary.c_str(), path.c_str()) != 0) {
            error = path + ": cannot be replaced";
            ok = false;
        }
    }
    if (!ok)
        std::remove(temporary.c_str());
    return ok;
}
