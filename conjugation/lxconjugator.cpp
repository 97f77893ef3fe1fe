// The conjugation module file: opening, record readers, name lookups and the searches
// in the sorted streams.
#include "lxconjugator.h"

#include "lxconjugationadapter.h"

#include <new>

#include "base/lxchar.h"
#include "format/lxstreamfile.h"
#include "model/lxterm.h"

namespace {

// The inflected-form index (megabytes) through a block cache, the rest whole. The verb list
// (a few hundred kilobytes at most) is searched several times for every stem look-up: its
// blocks stay once loaded.
const int kLoadModes[LXConjugationStreamCount] = {
    LXStream::WholeStream, LXStream::WholeStream, LXStream::WholeStream, LXStream::WholeStream,
    LXStream::WholeStream, LXStream::WholeStream, LXStream::WholeStream, LXStream::WholeStream,
    LXStream::BlockCache};
// The index's cache holds the blocks near the top of its binary search, which every search
// passes through, besides the few at the bottom (64 blocks of 1 kB).
const int kSlots = LXStreamFile::kDefaultCacheSlots;
const int kFormIndexSlots = 64;
const int kCacheSizes[LXConjugationStreamCount] = {kSlots, kSlots, kSlots, kSlots, kSlots,
                                                   kSlots, kSlots, kSlots, kFormIndexSlots};
const int kHeaderOnly[LXConjugationStreamCount] = {
    LXStream::WholeStream, LXStream::NotLoaded, LXStream::NotLoaded, LXStream::NotLoaded,
    LXStream::NotLoaded,   LXStream::NotLoaded, LXStream::NotLoaded, LXStream::NotLoaded,
    LXStream::NotLoaded};

bool formatAccepted(uint32_t formatWord)
{
    uint32_t top = formatWord >> 24;
    return top >= 0x54 && top <= 0x60;
}

} // namespace

LXConjugator *LXConjugator::create()
{
    return new (std::nothrow) LXConjugator();
}

LXConjugationEngine *LXCreateConjugationEngine()
{
    return LXConjugator::create();
}

LXConjugator::LXConjugator()
    : m_signature(LXConjugationSignature), m_language(LXLanguageNone), m_headerWord(0),
      m_formatWord(0x60000000), m_modelCount(0), m_file(nullptr), m_path(LXEncodingUtf8),
      m_compressor(nullptr)
{
}

LXConjugator::~LXConjugator()
{
    closeModule();
}

void LXConjugator::setCompressor(LXCompressor *compressor)
{
    m_compressor = compressor;
}

bool LXConjugator::isOpen() const
{
    return m_file && m_file->isOpen();
}

void LXConjugator::closeModule()
{
    if (m_file) {
        m_file->close();
        delete m_file;
        m_file = nullptr;
    }
}

bool LXConjugator::validateModule(const lxstring &path)
{
    closeModule();
    m_path = path;
    m_file = new (std::nothrow) LXStreamFile(m_compressor);
    if (!m_file)
        return false;
    bool ok = m_file->open(m_path, LXStreamFile::ModeRead, LXConjugationStreamCount, kHeaderOnly, kCacheSizes) &&
              m_file->getStreamCount() >= LXConjugationStreamCount;
    if (ok) {
        m_signature = m_file->readInt16(LXStreamHeader, 0);
        m_language = static_cast<LXLanguage>(m_file->readInt16(LXStreamHeader, 2));
        m_headerWord = m_file->readInt32(LXStreamHeader, 4);
        m_formatWord = m_file->readInt32(LXStreamHeader, 8);
        m_modelCount = m_file->readInt32(LXStreamHeader, 12);
        ok = m_signature == LXConjugationSignature && formatAccepted(m_formatWord);
    }
    closeModule();
    return ok;
}

bool LXConjugator::openStreams()
{
    if (isOpen())
        return true;
    closeModule();
    m_file = new (std::nothrow) LXStreamFile(m_compressor);
    if (!m_file)
        return false;
    if (!m_file->open(m_path, LXStreamFile::ModeRead, LXConjugationStreamCount, kLoadModes, kCacheSizes) ||
        m_file->getStreamCount() < LXConjugationStreamCount) {
        closeModule();
        return false;
    }
    return true;
}

bool LXConjugator::openModule(const lxstring &path)
{
    LXFileStamp now;
    const bool stamped = LXFileSystem::stamp(path, now);
    if (stamped && isOpen() && lx_sameText(path, m_path) && now == m_stamp)
        return true;
    if (!validateModule(path) || !openStreams())
        return false;
    m_stamp = stamped ? now : LXFileStamp();
    return true;
}

// ---- stream access ----

uint32_t LXConjugator::streamSize(uint32_t stream) const
{
    return isOpen() ? m_file->getStreamSize(stream) : 0;
}

// The container answers 0 at and beyond a stream's end.
uint32_t LXConjugator::byteAt(uint32_t stream, uint32_t position) const
{
    return m_file ? m_file->readByte(stream, position) : 0;
}

uint32_t LXConjugator::int32At(uint32_t stream, uint32_t position) const
{
    uint32_t size = streamSize(stream);
    if (position >= size || size - position < 4)
        return 0;
    return m_file->readInt32(stream, position);
}

// A 0 code point is a record boundary in every stream that has records, so the text stops
// there without consuming it: a text whose terminator is missing cannot run on into the
// next record.
void LXConjugator::readText(uint32_t stream, uint32_t &position, uint32_t terminator,
                            lxstring &text) const
{
    if (text.getEncoding() == LXEncodingUtf8)
        text.clear();           // keeps the buffer: this runs for every text of a record
    else
        text = lxstring(LXEncodingUtf8);
    uint32_t size = streamSize(stream);
    while (position < size) {
        if (byteAt(stream, position) == 0) {
            if (terminator == 0)
                ++position;
            return;
        }
        uint32_t cp = 0;
        uint32_t before = position;
        bool inside = m_file->readCodePoint(stream, position, size, cp);
        if (position <= before)
            position = before + 1;
        if (!inside && position > size) {
            position = size;
            return;
        }
        if (cp == terminator)
            return;
        text += cp;
    }
}

// The position after the next 0 byte at or after position, but not beyond limit.
uint32_t LXConjugator::skipRecord(uint32_t stream, uint32_t position, uint32_t limit) const
{
    uint32_t size = streamSize(stream);
    if (limit > size)
        limit = size;
    while (position < limit) {
        if (byteAt(stream, position++) == 0)
            break;
    }
    return position;
}

// The start of the record holding position: just after the previous 0 byte, and never
// below floor.
uint32_t LXConjugator::recordStart(uint32_t stream, uint32_t position, uint32_t floor) const
{
    while (position > floor && byteAt(stream, position - 1) != 0)
        --position;
    return position;
}

// ---- model tables ----

void LXConjugator::loadModel(uint32_t model, LXModelCache &cache)
{
    if (cache.model != 0 && cache.model == model)
        return;
    cache.clear();
    if (model == 0 || model >= m_modelCount || !isOpen())
        return;
    uint64_t slot = static_cast<uint64_t>(model) * 4;
    if (slot + 4 > streamSize(LXStreamModelOffsets))
        return;
    uint32_t position = int32At(LXStreamModelOffsets, static_cast<uint32_t>(slot));
    uint32_t size = streamSize(LXStreamModels);
    if (position >= size)
        return;
    cache.model = byteAt(LXStreamModels, position++);
    lxstring text;
    while (position < size) {
        uint32_t code = byteAt(LXStreamModels, position);
        if (code == 0)
            break;
        ++position;
        if (code > LXNoTense) {
            // Filled in place: copying a tense with its texts would double the allocations.
            if (!cache.tenses.push_back(LXTenseInfo()))
                break;
            LXTenseInfo &info = cache.tenses.top();
            info.tense = code;
            while (position < size) {
                uint32_t person = byteAt(LXStreamModels, position);
                if (person < LXPersonFirst || person > LXPersonLast)
                    break;
                ++position;
                readText(LXStreamModels, position, 1, text);
                info.persons.push_back(LXCodeText(person, text));
            }
        } else {
            readText(LXStreamModels, position, 1, text);
            cache.features.push_back(LXCodeText(code, text));
        }
    }
}

// ---- record readers ----

uint32_t LXConjugator::readVerb(uint32_t position, LXVerb &verb)
{
    verb.reset();
    uint32_t size = streamSize(LXStreamVerbs);
    if (position >= size)
        return size;
    uint32_t model = byteAt(LXStreamVerbs, position++);
    if (model == 0)
        return position;        // an empty record
    lxstring infinitive;
    readText(LXStreamVerbs, position, 1, infinitive);
    if (infinitive.empty())
        return skipRecord(LXStreamVerbs, position, size);
    verb.model = model;
    verb.infinitive = infinitive;
    lxstring text;
    while (position < size) {
        uint32_t code = byteAt(LXStreamVerbs, position++);
        if (code == 0)
            break;
        readText(LXStreamVerbs, position, 1, text);
        verb.addEntry(code, text);
    }
    return position;
}

uint32_t LXConjugator::readStemmingModel(uint32_t position, LXStemmingModel &model)
{
    model = LXStemmingModel();
    uint32_t size = streamSize(LXStreamStemmingModels);
    if (position >= size)
        return size;
    const uint32_t s = LXStreamStemmingModels;
    uint32_t start = position;
    model.grammarCode1 = byteAt(s, position++);
    if (model.grammarCode1 == 0)
        return position;
    readText(s, position, 1, model.key);
    ++position;                                 // skipped byte
    model.partOfSpeechCode = byteAt(s, position++);
    readText(s, position, 1, model.partOfSpeechName);
    ++position;                                 // skipped byte
    readText(s, position, 1, model.replacement);
    model.grammarCode2 = byteAt(s, position++);
    (void)start;
    return skipRecord(s, position, size);
}

uint32_t LXConjugator::readSuffixModel(uint32_t position, LXSuffixModel &model)
{
    model = LXSuffixModel();
    uint32_t size = streamSize(LXStreamSuffixModels);
    if (position >= size)
        return size;
    const uint32_t s = LXStreamSuffixModels;
    model.model = byteAt(s, position++);
    if (model.model == 0)
        return position;
    model.tense = byteAt(s, position++);
    model.person = byteAt(s, position++);
    readText(s, position, 0, model.ending);
    return position;
}

uint32_t LXConjugator::readVerbForm(uint32_t position, LXStem &stem)
{
    uint32_t size = streamSize(LXStreamVerbForms);
    if (position >= size) {
        stem.clear();
        return size;
    }
    const uint32_t s = LXStreamVerbForms;
    stem.source = 1;
    stem.tense = byteAt(s, position++);
    if (stem.tense == 0) {
        stem.clear();
        return position;
    }
    stem.person = byteAt(s, position++);
    readText(s, position, 1, stem.word);
    readText(s, position, 1, stem.base);
    return skipRecord(s, position, size);
}

// ---- names ----

void LXConjugator::readName(uint32_t stream, uint32_t first, uint32_t code, lxstring &text)
{
    uint32_t size = streamSize(stream);
    uint32_t position = 0;
    for (uint32_t c = first; c < code && position < size; ++c)
        position = skipRecord(stream, position, size);
    readText(stream, position, 0, text);
}

void LXConjugator::getTenseName(uint32_t tense, lxstring &text)
{
    text = lxstring(LXEncodingUtf8);
    if (tense < LXTenseFirst)
        return;
    readName(LXStreamTenseNames, LXTenseFirst, tense, text);
}

void LXConjugator::getPersonName(uint32_t person, lxstring &text)
{
    text = lxstring(LXEncodingUtf8);
    if (person < LXPersonFirst || person > LXPersonLast)
        return;
    readName(LXStreamPersonNames, LXPersonFirst, person, text);
}

void LXConjugator::getEnglishPersonDescription(uint32_t person, lxstring &text)
{
    text.setEncoding(LXEncodingUtf8);
    const char *d = nullptr;
    bool german = m_language == LXGerman;
    switch (person) {
    case 37: d = "1st person singular"; break;
    case 38: d = "2nd person singular"; break;
    case 39: d = "3rd person singular"; break;
    case 40: d = "1st person plural"; break;
    case 41: d = german ? "2nd person plural informal" : "2nd person plural"; break;
    case 42: d = german ? "2nd person plural" : "3rd person plural"; break;
    case 43: d = "3rd person plural"; break;
    default: return;
    }
    text = lxstring(d, LXEncodingUtf8);
}

// ---- searches ----

bool LXConjugator::searchSorted(uint32_t stream, const lxstring &key, RecordCompare compare,
                                uint32_t &first)
{
    // Signed positions: an empty stream gives hi = -1, and a record at the very start
    // gives hi = -1 when the key is smaller, without wrapping round.
    int64_t lo = 0;
    int64_t hi = static_cast<int64_t>(streamSize(stream)) - 1;
    while (lo < hi) {
        int64_t mid = lo + (hi - lo) / 2;
        uint32_t start = recordStart(stream, static_cast<uint32_t>(mid), static_cast<uint32_t>(lo));
        int c = compare(*this, key, start);
        if (c == 0) {
            while (start > 0) {
                uint32_t previous = recordStart(stream, start - 1, 0);
                if (compare(*this, key, previous) != 0)
                    break;
                start = previous;
            }
            first = start;
            return true;
        }
        if (c < 0)
            hi = static_cast<int64_t>(start) - 1;
        else
            lo = skipRecord(stream, start, static_cast<uint32_t>(hi + 1));
    }
    first = static_cast<uint32_t>(lo);
    return false;
}

namespace {

int compareVerbRecord(LXConjugator &self, const lxstring &key, uint32_t position)
{
    LXVerb verb;
    self.readVerb(position, verb);
    return LXConjugator::compareVerbText(key, verb.infinitive, true, true);
}

int compareStemmingRecord(LXConjugator &self, const lxstring &key, uint32_t position)
{
    LXStemmingModel model;
    self.readStemmingModel(position, model);
    return key.compare(model.key, true, true, LXLanguageNone);
}

int compareSuffixRecord(LXConjugator &self, const lxstring &key, uint32_t position)
{
    LXSuffixModel model;
    self.readSuffixModel(position, model);
    return key.compare(model.ending, true, true, LXLanguageNone);
}

int compareFormRecord(LXConjugator &self, const lxstring &key, uint32_t position)
{
    LXStem stem;
    self.readVerbForm(position, stem);
    return key.compare(stem.word, true, true, LXLanguageNone);
}

} // namespace

bool LXConjugator::findVerb(const lxstring &word, LXVerb &verb)
{
    uint32_t position = 0;
    return findVerb(word, position, verb);
}

bool LXConjugator::findVerb(const lxstring &word, uint32_t &position, LXVerb &verb)
{
    uint32_t first = 0;
    if (!searchSorted(LXStreamVerbs, word, compareVerbRecord, first)) {
        position = first;
        readVerb(first, verb);
        return false;
    }
    uint32_t size = streamSize(LXStreamVerbs);
    uint32_t chosen = first;
    uint32_t at = first;
    while (at < size) {
        uint32_t next = readVerb(at, verb);
        if (compareVerbText(word, verb.infinitive, true, true) != 0)
            break;
        if (compareVerbText(word, verb.infinitive, false, false) == 0) {
            chosen = at;
            break;
        }
        if (next <= at)
            break;
        at = next;
    }
    position = chosen;
    readVerb(chosen, verb);
    return true;
}

void LXConjugator::findStemmingModels(const lxstring &key, LXList<LXStemmingModel> &models)
{
    uint32_t at = 0;
    if (!searchSorted(LXStreamStemmingModels, key, compareStemmingRecord, at))
        return;
    uint32_t size = streamSize(LXStreamStemmingModels);
    LXStemmingModel model;
    while (at < size) {
        uint32_t next = readStemmingModel(at, model);
        if (key.compare(model.key, true, true, LXLanguageNone) != 0)
            break;
        models.push_back(model);
        at = next;
    }
}

void LXConjugator::findSuffixModels(const lxstring &reversedEnding, LXList<LXSuffixModel> &models)
{
    uint32_t at = 0;
    if (!searchSorted(LXStreamSuffixModels, reversedEnding, compareSuffixRecord, at))
        return;
    uint32_t size = streamSize(LXStreamSuffixModels);
    LXSuffixModel model;
    while (at < size) {
        uint32_t next = readSuffixModel(at, model);
        if (reversedEnding.compare(model.ending, true, true, LXLanguageNone) != 0)
            break;
        models.push_back(model);
        at = next;
    }
}

void LXConjugator::findVerbForms(const lxstring &form, LXList<LXStem> &stems)
{
    uint32_t at = 0;
    if (!searchSorted(LXStreamVerbForms, form, compareFormRecord, at))
        return;
    uint32_t size = streamSize(LXStreamVerbForms);
    LXStem stem;
    while (at < size) {
        uint32_t next = readVerbForm(at, stem);
        if (form.compare(stem.word, true, true, LXLanguageNone) != 0)
            break;
        stems.push_back(stem);
        at = next;
    }
}
