#include "format/lxd.h"

#include <new>
#include <utility>

#include "base/lxutilities.h"
#include "format/lxdadditionsterms.h"
#include "model/lxtokenizer.h"

namespace {

// The header and the kind marker only.
const int validateModes[LXD::kPublishedStreams] = {
    LXStream::WholeStream, LXStream::NotLoaded, LXStream::NotLoaded, LXStream::WholeStream,
    LXStream::NotLoaded, LXStream::NotLoaded, LXStream::NotLoaded};
// The terms through a block cache, the rest whole. The headword index is loaded block by
// block as searches touch it and its blocks stay: every look-up's binary search passes
// through the same few hundred blocks near the top of the search, so a small cache would
// inflate the same blocks again and again.
const int openModes[LXD::kPublishedStreams] = {
    LXStream::WholeStream, LXStream::WholeStream, LXStream::WholeStream, LXStream::WholeStream,
    LXStream::BlockCache, LXStream::WholeStream, LXStream::WholeStream};
const int kTermsCacheSlots = 4;
const int kDefaultSlots = LXStreamFile::kDefaultCacheSlots;
const int openSlots[LXD::kPublishedStreams] = {kDefaultSlots, kDefaultSlots, kDefaultSlots, kDefaultSlots,
                                               kTermsCacheSlots, kDefaultSlots, kDefaultSlots};

uint32_t publishedMarker(uint32_t l1, uint32_t l2)
{
    return ~((l1 << 16) | l2);
}

uint32_t additionsMarker(uint32_t l1, uint32_t l2)
{
    return LXD::additionsKindMarker(static_cast<LXLanguage>(l1), static_cast<LXLanguage>(l2));
}

bool startsWith(const lxstring &s, const lxstring &prefix)
{
    if (prefix.length() > s.length())
        return false;
    lxstring_iterator i = s.begin(), j = prefix.begin();
    for (; !j.isAtEnd(); ++i, ++j) {
        if (*i != *j)
            return false;
    }
    return true;
}

} // namespace

LXD::LXD(LXCompressor *compressor, LXTokenizer *tokenizer)
    : m_file(compressor), m_compressor(compressor), m_tokenizer(tokenizer), m_streamCount(0), m_magic(0),
      m_moduleVersion(0), m_formatWord(0), m_language1(LXLanguageNone), m_language2(LXLanguageNone), m_count1(0),
      m_count2(0), m_direction2Start(0), m_partOfSpeechCount(0), m_priority(0), m_kindMarker(0), m_valid(false),
      m_posNames(nullptr), m_posNameCount(0), m_writeResult(Written)
{
    m_posFlags.resize(397);
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j)
            m_distance[i][j] = 0;
}

LXD::~LXD()
{
    close();
    dropPartsOfSpeech();
}

uint32_t LXD::additionsKindMarker(LXLanguage language1, LXLanguage language2)
{
    return static_cast<uint32_t>(language1) * 67 + static_cast<uint32_t>(language2) * 23;
}

bool LXD::isAdditions() const
{
    return m_kindMarker == additionsMarker(static_cast<uint32_t>(m_language1), static_cast<uint32_t>(m_language2));
}

bool LXD::readHeader()
{
    m_streamCount = m_file.getStreamCount();
    m_valid = false;
    // Streams 0 to 4 are read by every operation; a short header cannot be a module.
    if (m_streamCount < kAdditionsStreams || m_file.getStreamSize(Header) < kHeaderSize ||
        m_file.getStreamSize(Kind) < sizeof(uint32_t))
        return false;
    m_magic = m_file.readInt32(Header, kHeaderMagic);
    m_moduleVersion = m_file.readInt32(Header, kHeaderModuleVersion);
    m_formatWord = m_file.readInt32(Header, kHeaderFormatWord);
    m_language1 = static_cast<LXLanguage>(m_file.readInt16(Header, kHeaderLanguage1));
    m_language2 = static_cast<LXLanguage>(m_file.readInt16(Header, kHeaderLanguage2));
    m_count1 = m_file.readInt32(Header, kHeaderHeadwords1);
    m_count2 = m_file.readInt32(Header, kHeaderHeadwords2);
    m_direction2Start = m_file.readInt32(Header, kHeaderDirection2Start);
    m_partOfSpeechCount = m_file.readInt32(Header, kHeaderPartsOfSpeech);
    m_priority = m_file.readInt32(Header, kHeaderPriority);
    m_kindMarker = m_file.readInt32(Kind, 0);
    uint32_t version = m_formatWord >> kVersionShift;
    uint32_t l1 = static_cast<uint32_t>(m_language1), l2 = static_cast<uint32_t>(m_language2);
    m_valid = m_magic == kMagic && version >= kMinFormatVersion && version <= kFormatVersion &&
              (m_kindMarker == publishedMarker(l1, l2) || m_kindMarker == additionsMarker(l1, l2));
    return m_valid;
}

bool LXD::validate(const lxstring &path)
{
    close();
    m_path = path;
    bool ok = m_file.open(path, LXStreamFile::ModeRead, kPublishedStreams, validateModes, nullptr) && readHeader();
    m_file.close();
    if (!ok) {
        m_valid = false;
        dropPartsOfSpeech();
    }
    return ok;
}

bool LXD::open()
{
    if (m_file.isOpen())
        return true;
    if (!m_valid || m_path.empty())
        return false;
    // The header is read again: the file may have changed since it was validated.
    if (!m_file.open(m_path, LXStreamFile::ModeRead, kPublishedStreams, openModes, openSlots) || !readHeader()) {
        m_file.close();
        m_valid = false;
        return false;
    }
    loadPartsOfSpeech();
    return true;
}

void LXD::close()
{
    m_file.close();
}

bool LXD::isOpen() const
{
    return m_file.isOpen();
}

void LXD::dropPartsOfSpeech()
{
    delete[] m_posNames;
    m_posNames = nullptr;
    m_posNameCount = 0;
    m_posFlags.clear();
}

void LXD::loadPartsOfSpeech()
{
    dropPartsOfSpeech();
    const uint32_t size = m_file.getStreamSize(PartsOfSpeech);
    // A record takes at least two bytes; a count beyond that is not believed.
    uint32_t count = m_partOfSpeechCount;
    if (count > size / 2)
        count = size / 2;
    if (count > kMaxPartsOfSpeech)
        count = kMaxPartsOfSpeech;
    if (count == 0)
        return;
    m_posNames = new (std::nothrow) lxstring[count];
    if (!m_posNames)
        return;
    uint32_t pos = 0;
    for (uint32_t i = 0; i < count && pos < size; ++i) {
        uint8_t flags = m_file.readByte(PartsOfSpeech, pos++);
        lxstring name;
        readText(PartsOfSpeech, pos, size, 0, name, nullptr);
        m_posNames[i] = name;
        m_posFlags.add(name, flags);
        m_posNameCount = i + 1;
    }
}

uint32_t LXD::partOfSpeechCode(const lxstring &name) const
{
    if (name.empty())
        return LXPartOfSpeechNone;
    uint32_t flags = 0;
    if (m_posFlags.find(name, flags))
        return flags & kPartOfSpeechCodeMask;
    return LXPartOfSpeechUnknown;
}

void LXD::partOfSpeechOf(uint8_t byte, lxstring &name, uint32_t &code) const
{
    // An index outside the table reads as no part of speech.
    if (byte >= kFirstPartOfSpeech && static_cast<uint32_t>(byte - kFirstPartOfSpeech) < m_posNameCount)
        name = m_posNames[byte - kFirstPartOfSpeech];
    else
        name.clear();
    code = partOfSpeechCode(name);
}

bool LXD::readText(int32_t stream, uint32_t &position, uint32_t limit, uint32_t terminator, lxstring &out,
                   const lxstring *key)
{
    out.clear();
    while (position < limit) {
        if (m_file.readByte(stream, position) >= 0xFE) {
            ++position;   // no code point
            continue;
        }
        uint32_t cp = 0;
        m_file.readCodePoint(stream, position, limit, cp);
        if (cp == terminator)
            return true;
        if (cp == 0)
            return false;   // a zero inside a text: the record was cut short
        if (key && cp == kKeyPlaceholder)
            out += *key;
        else
            out += cp;
    }
    return false;
}

uint32_t LXD::readKey(int32_t stream, uint32_t position, uint32_t limit, lxstring &key)
{
    uint32_t p = position + 4;
    if (p < position || p > limit) {   // no room for the number
        key.clear();
        return limit;
    }
    readText(stream, p, limit, 0, key, nullptr);
    return p < limit ? p : limit;
}

uint32_t LXD::recordStart(int32_t stream, uint32_t position, uint32_t floor)
{
    while (position > floor && m_file.readByte(stream, position - 1) != 0)
        --position;
    return position;
}

bool LXD::searchRecords(int32_t stream, const lxstring &text, uint32_t lo, uint32_t end, uint32_t &found,
                        uint32_t &below, uint32_t &above, bool &hasBelow, bool &hasAbove)
{
    hasBelow = hasAbove = false;
    if (lo >= end) {
        found = lo;
        return false;
    }
    uint32_t hi = end - 1;
    lxstring key;
    while (lo <= hi) {
        uint32_t mid = recordStart(stream, lo + (hi - lo) / 2, lo);
        uint32_t next = readKey(stream, mid, end, key);
        int c = text.compare(key, LXLanguageNone);
        if (c == 0) {
            found = mid;
            return true;
        }
        if (c < 0) {
            hasAbove = true;
            above = mid;
            if (mid == 0 || mid <= lo)
                break;
            hi = mid - 1;
        } else {
            hasBelow = true;
            below = mid;
            if (next <= mid || next >= end) {   // no record after this one
                lo = end;
                break;
            }
            lo = next;
        }
    }
    found = hasAbove ? above : end;
    return false;
}

void LXD::getDirectionRange(LXLanguage language, uint32_t &start, uint32_t &end)
{
    uint32_t size = m_file.getStreamSize(Index);
    uint32_t split = m_direction2Start < size ? m_direction2Start : size;
    if (language == m_language1) {
        start = 0;
        end = split;
    } else {
        start = split;
        end = size;
    }
}

bool LXD::findHeadword(const lxstring &text, LXLanguage language, lxstring &key, uint32_t &rangeStart,
                       uint32_t &rangeEnd, uint32_t &position)
{
    key.clear();
    rangeStart = rangeEnd = position = 0;
    if (!open())
        return false;
    lxstring probe(text);
    probe.setEncoding(LXEncodingUtf8);
    getDirectionRange(language, rangeStart, rangeEnd);
    uint32_t lo = rangeStart, end = rangeEnd;

    if (isPublished()) {
        int32_t sparse = language == m_language1 ? Sparse1 : Sparse2;
        uint32_t size = m_file.getStreamSize(sparse);
        uint32_t found = 0, below = 0, above = 0;
        bool hasBelow, hasAbove;
        if (searchRecords(sparse, probe, 0, size, found, below, above, hasBelow, hasAbove)) {
            uint32_t at = m_file.readBase255(sparse, found);
            if (at >= rangeStart && at < rangeEnd) {
                position = at;
                readIndexKey(position, key);
                return true;
            }
            // A sparse record pointing outside the direction: search the whole direction.
        } else {
            if (hasBelow) {
                uint32_t at = m_file.readBase255(sparse, below);
                if (at >= rangeStart && at <= rangeEnd)
                    lo = at;
            }
            if (hasAbove) {
                uint32_t at = m_file.readBase255(sparse, above);
                if (at >= lo && at <= rangeEnd)
                    end = at;
            }
        }
    }
    if (lo >= end) {
        position = rangeStart;   // an empty (narrowed) range
        readIndexKey(position, key);
        return false;
    }

    uint32_t found = 0, below = 0, above = 0;
    bool hasBelow, hasAbove;
    bool exact = searchRecords(Index, probe, lo, end, found, below, above, hasBelow, hasAbove);
    position = found;
    if (position < m_file.getStreamSize(Index))
        readIndexKey(position, key);
    else
        key.clear();
    return exact;
}

uint32_t LXD::getIndexSize()
{
    return open() ? m_file.getStreamSize(Index) : 0;
}

uint32_t LXD::getTermsSize()
{
    return open() ? m_file.getStreamSize(Terms) : 0;
}

uint32_t LXD::readIndexOffset(uint32_t position)
{
    if (!open() || position >= m_file.getStreamSize(Index))
        return getTermsSize();
    return m_file.readBase255(Index, position);
}

uint32_t LXD::readIndexKey(uint32_t position, lxstring &key)
{
    key.clear();
    if (!open())
        return 0;
    return readKey(Index, position, m_file.getStreamSize(Index), key);
}

uint32_t LXD::indexRecordStart(uint32_t position, uint32_t floor)
{
    if (!open())
        return floor;
    return recordStart(Index, position, floor);
}

uint8_t LXD::readTermsByte(uint32_t position)
{
    return open() ? m_file.readByte(Terms, position) : 0;
}

void LXD::readFeatures(uint32_t &position, uint32_t limit, LXFeatureList &features, bool &ok)
{
    lxstring text;
    while (ok && position < limit) {
        uint8_t code = m_file.readByte(Terms, position);
        if (code == kEndOfFeatures) {
            ++position;
            return;
        }
        if (code < kFirstFeatureCode) {
            ok = false;   // a structure marker where a feature or its end should be
            return;
        }
        ++position;
        ok = readText(Terms, position, limit, kEndOfText, text, nullptr);
        features.push_back(LXFeature(code, text));
    }
    ok = false;
}

uint32_t LXD::readTerm(LXTerm &term, uint32_t headwordPosition, uint32_t termPosition)
{
    term.clear();
    if (!open())
        return termPosition;
    const uint32_t limit = m_file.getStreamSize(Terms);
    if (termPosition >= limit)
        return termPosition;
    bool second = headwordPosition >= m_direction2Start;
    term.setLanguage(second ? m_language2 : m_language1);
    term.setTranslationLanguage(second ? m_language1 : m_language2);
    lxstring key;
    readIndexKey(headwordPosition, key);
    term.setSearchKey(key);

    uint32_t p = termPosition;
    uint8_t byte = m_file.readByte(Terms, p);
    if (byte < kFirstPartOfSpeech)
        return termPosition;   // not a term: the end of a run or a damaged record
    ++p;
    lxstring name, text;
    uint32_t code = LXPartOfSpeechNone;
    partOfSpeechOf(byte, name, code);
    term.setPartOfSpeechName(name);
    term.setPartOfSpeechCode(code);
    bool ok = readText(Terms, p, limit, kEndOfText, text, &key);
    term.setHeadword(text);
    if (ok)
        readFeatures(p, limit, term.getFeatures(), ok);
    while (ok && p < limit) {
        byte = m_file.readByte(Terms, p);
        if (byte == kEndOfTerm) {
            ++p;
            break;
        }
        if (byte < kFirstPartOfSpeech) {
            ok = false;
            break;
        }
        ++p;
        LXDefinition d;
        partOfSpeechOf(byte, name, code);
        d.setPartOfSpeechName(name);
        d.setPartOfSpeechCode(code);
        d.setOriginNumber(m_priority);
        ok = readText(Terms, p, limit, kEndOfText, text, nullptr);
        d.setText(text);
        if (ok)
            readFeatures(p, limit, d.getFeatures(), ok);
        term.addDefinition(d);
    }
    return p;
}

void LXD::readAllTerms(LXList<LXTerm> &list)
{
    readAllTerms([&list](LXTerm &term) { list.push_back(std::move(term)); });
}

void LXD::readAllTerms(const std::function<void(LXTerm &)> &visit)
{
    if (!open())
        return;
    const uint32_t indexSize = m_file.getStreamSize(Index);
    const uint32_t termsSize = m_file.getStreamSize(Terms);
    int directions = (m_language2 == m_language1 || m_language2 == LXSynonyms) ? 1 : 2;
    for (int d = 0; d < directions; ++d) {
        uint32_t start, end;
        getDirectionRange(d == 0 ? m_language1 : m_language2, start, end);
        for (uint32_t h = start; h < end;) {
            lxstring key;
            uint32_t next = readKey(Index, h, indexSize, key);
            uint32_t t = m_file.readBase255(Index, h);
            while (t < termsSize && m_file.readByte(Terms, t) != 0) {
                LXTerm term;
                uint32_t after = readTerm(term, h, t);
                if (after <= t)
                    break;
                visit(term);
                t = after;
            }
            if (next <= h)
                break;
            h = next;
        }
    }
}

void LXD::getPartsOfSpeech(LXList<LXPair<lxstring, uint32_t>> &list, LXLanguage language)
{
    list.clear();
    if (!open())
        return;
    uint32_t bit = language == m_language1 ? 0x40 : language == m_language2 ? 0x80 : 0;
    for (uint32_t i = 0; i < m_posNameCount; ++i) {
        uint32_t flags = 0;
        if (m_posFlags.find(m_posNames[i], flags) && (flags & bit))
            list.insert(LXPair<lxstring, uint32_t>(m_posNames[i], flags & kPartOfSpeechCodeMask));
    }
}

uint32_t LXD::editDistance(const lxstring &a, const lxstring &b)
{
    uint32_t ca[15], cb[15];
    int n = 0, m = 0;
    for (lxstring_iterator i = a.begin(); !i.isAtEnd() && n < 15; ++i)
        ca[n++] = *i;
    for (lxstring_iterator j = b.begin(); !j.isAtEnd() && m < 15; ++j)
        cb[m++] = *j;
    for (int i = 0; i <= n; ++i)
        m_distance[i][0] = static_cast<uint16_t>(i);
    for (int j = 0; j <= m; ++j)
        m_distance[0][j] = static_cast<uint16_t>(j);
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= m; ++j) {
            uint32_t best = m_distance[i - 1][j] + 1u;
            uint32_t left = m_distance[i][j - 1] + 1u;
            uint32_t diag = m_distance[i - 1][j - 1] + (ca[i - 1] == cb[j - 1] ? 0u : 2u);
            if (left < best)
                best = left;
            if (diag < best)
                best = diag;
            m_distance[i][j] = static_cast<uint16_t>(best);
        }
    }
    return m_distance[n][m];
}

void LXD::getApproximateMatches(const lxstring &word, LXLanguage language, int32_t prefixLength,
                                LXList<lxstring> &list)
{
    list.clear();
    if (!open())
        return;
    lxstring target = LXUtilities::foldedKey(word);
    int32_t n = prefixLength > 0 ? prefixLength : 2;
    lxstring prefix = target.substr(0, n);
    lxstring key;
    uint32_t start, end, position;
    findHeadword(prefix, language, key, start, end, position);
    LXList<LXPair<uint32_t, lxstring>> kept;
    int keptCount = 0;
    const int32_t length = target.length();
    for (uint32_t h = position; h < end && keptCount < 5;) {
        uint32_t next = readKey(Index, h, end, key);
        lxstring f = LXUtilities::foldedKey(key);
        if (!startsWith(f, prefix))
            break;
        int32_t diff = f.length() - length;
        if (diff >= -1 && diff <= 1) {
            uint32_t d = editDistance(f, target);
            if (d <= 2 && kept.insert(LXPair<uint32_t, lxstring>(d, key)))
                ++keptCount;
        }
        if (next <= h)
            break;
        h = next;
    }
    for (LXList<LXPair<uint32_t, lxstring>>::iterator it = kept.begin(); !it.isAtEnd(); ++it)
        list.push_back(it->second);
}
