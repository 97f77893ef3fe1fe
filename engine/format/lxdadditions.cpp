// The writing side of LXD: user-additions modules, created empty and rewritten whole on
// every change. An additions file has five streams: header, parts of speech, headword
// index, kind marker and term records (no sparse indexes, nothing compressed but the
// index and the terms).
#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <memory>
#include <utility>
#include <vector>

#include "base/lxutilities.h"
#include "format/lxcontainerwriter.h"
#include "format/lxd.h"
#include "format/lxdadditionsterms.h"
#include "format/lxdencoding.h"
#include "format/lxfilesystem.h"
#include "model/lxtokenizer.h"

using namespace LXDEncoding;

namespace {

const uint32_t kAdditionsPriority = LXOriginUserAdded;
const uint32_t kCreatedModuleVersion = 150;
const uint32_t kPartOfSpeechTableSize = 397;

// The header of stream 0 (the module version word is 0 until the file's size replaces it).
std::string header(uint32_t moduleVersion, uint32_t formatWord, LXLanguage l1, LXLanguage l2, uint32_t count1,
                   uint32_t count2, uint32_t direction2Start, uint32_t partsOfSpeech, uint32_t priority)
{
    std::string h;
    putInt32(h, LXD::kMagic);
    putInt32(h, moduleVersion);
    putInt32(h, formatWord);
    putInt16(h, static_cast<uint32_t>(l1));
    putInt16(h, static_cast<uint32_t>(l2));
    putInt32(h, count1);
    putInt32(h, count2);
    putInt32(h, direction2Start);
    putInt32(h, 0);
    putInt32(h, partsOfSpeech);
    putInt32(h, priority);
    putInt32(h, 0);
    putInt32(h, 0);
    return h;
}

// The order of the headword index over keys: the directions apart, keys spelt the same
// together, other keys under the engine's comparison with language 0 and then by spelling.
int compareKeys(const LXDAdditionsEntry &a, const LXDAdditionsEntry &b)
{
    if (a.direction != b.direction)
        return a.direction < b.direction ? -1 : 1;
    // Keys spelt the same compare equal: the collating comparison is needed only for others.
    const int spelt = std::strcmp(a.key.c_str(), b.key.c_str());
    if (!spelt)
        return 0;
    const int c = a.key.compare(b.key, LXLanguageNone);
    return c ? c : spelt;
}

typedef std::unique_ptr<LXDAdditionsEntry> EntryPointer;

bool keyOrder(const EntryPointer &a, const EntryPointer &b)
{
    return compareKeys(*a, *b) < 0;
}

// The order of the file: the keys, then the term order.
bool indexOrder(const EntryPointer &a, const EntryPointer &b)
{
    const int c = compareKeys(*a, *b);
    return c ? c < 0 : a->term < b->term;
}

bool sameBytes(const lxstring &a, const lxstring &b)
{
    return a.size() == b.size() && std::memcmp(a.c_str(), b.c_str(), static_cast<size_t>(a.size())) == 0;
}

// Removes from every stored term of the headword (languages, headword and part of speech
// as given) each definition of that text and part of speech. True when one went.
bool removeDefinitions(std::vector<EntryPointer> &entries, LXLanguage language, LXLanguage translation,
                       const lxstring &headword, const lxstring &partOfSpeech, const lxstring &text,
                       const lxstring &textPartOfSpeech)
{
    bool removed = false;
    for (EntryPointer &e : entries) {
        LXTerm &t = e->term;
        if (t.getLanguage() != language || t.getTranslationLanguage() != translation ||
            !lx_sameText(t.getHeadword(), headword) || !lx_sameText(t.getPartOfSpeechName(), partOfSpeech))
            continue;
        LXList<LXDefinition> kept;
        bool here = false;
        for (LXList<LXDefinition>::iterator d = t.getDefinitions().begin(); !d.isAtEnd(); ++d) {
            if (lx_sameText(d->getText(), text) && lx_sameText(d->getPartOfSpeechName(), textPartOfSpeech))
                here = true;
            else
                kept.push_back(std::move(*d));
        }
        t.getDefinitions() = std::move(kept);
        if (here) {
            removed = true;
            e->changed = true;
        }
    }
    return removed;
}

// Whether the entry at i stands in index order with its neighbours.
bool inPlace(const std::vector<EntryPointer> &entries, size_t i)
{
    return (i == 0 || !indexOrder(entries[i], entries[i - 1])) &&
           (i + 1 >= entries.size() || !indexOrder(entries[i + 1], entries[i]));
}

} // namespace

LXDPartsOfSpeech::LXDPartsOfSpeech()
{
    index.resize(kPartOfSpeechTableSize);
}

void LXDPartsOfSpeech::complete()
{
    names.clear();
    for (LXList<LXPair<lxstring, uint32_t>>::const_iterator p = list.begin(); !p.isAtEnd(); ++p)
        names.push_back(p->first);
}

int32_t LXDPartsOfSpeech::placeOf(const lxstring &name) const
{
    uint32_t at = 0;
    // The table's equality is the collating one; the exact name decides.
    if (index.find(name, at) && at < names.size() && lx_sameText(names[at], name))
        return static_cast<int32_t>(at);
    for (size_t i = 0; i < names.size(); ++i) {
        if (lx_sameText(names[i], name))
            return static_cast<int32_t>(i);
    }
    return -1;
}

bool LXDPartsOfSpeech::enter(const lxstring &name, uint32_t code)
{
    if (placeOf(name) >= 0)
        return true;
    if (names.size() >= LXD::kMaxPartsOfSpeech)
        return false;
    const uint32_t at = static_cast<uint32_t>(names.size());
    if (!list.push_back(LXPair<lxstring, uint32_t>(name, code & LXD::kPartOfSpeechCodeMask)))
        return false;
    names.push_back(name);
    index.add(name, at);
    return true;
}

bool LXDPartsOfSpeech::enterAll(const LXTerm &term)
{
    if (!enter(term.getPartOfSpeechName(), term.getPartOfSpeechCode()))
        return false;
    for (LXList<LXDefinition>::const_iterator d = term.getDefinitions().begin(); !d.isAtEnd(); ++d) {
        if (!enter(d->getPartOfSpeechName(), d->getPartOfSpeechCode()))
            return false;
    }
    return true;
}

bool LXD::failWrite(WriteResult result, const std::string &error)
{
    m_writeResult = result;
    m_writeError = error;
    return false;
}

bool LXD::failChange(WriteResult result, const std::string &error)
{
    m_additions.reset();
    return failWrite(result, error);
}

bool LXD::createAdditionsFile(const lxstring &path, LXLanguage language1, LXLanguage language2, uint32_t product,
                              LXCompressor *compressor)
{
    LXUtilities::sortLanguages(language1, language2);
    LXContainerWriter file(compressor, kAdditionsStreams);
    const uint32_t format = (static_cast<uint32_t>(kFormatVersion) << kVersionShift) | (product & kProductMask);
    file.stream(Header) = header(kCreatedModuleVersion, format, language1, language2, 0, 0, 0, 1, kAdditionsPriority);
    // One part of speech: the empty name.
    putByte(file.stream(PartsOfSpeech), LXPartOfSpeechNone);
    putByte(file.stream(PartsOfSpeech), 0);
    putInt32(file.stream(Kind), additionsKindMarker(language1, language2));
    std::string error;
    return file.write(path, error);
}

void LXD::readPartsOfSpeech(LXList<LXPair<lxstring, uint32_t>> &list, LXHashTable<lxstring, uint32_t> &nameToIndex)
{
    list.clear();
    nameToIndex.clear();
    const uint32_t size = m_file.getStreamSize(PartsOfSpeech);
    uint32_t pos = 0;
    for (uint32_t i = 0; i < m_posNameCount && pos < size; ++i) {
        const uint32_t flags = m_file.readByte(PartsOfSpeech, pos++);
        lxstring name;
        readText(PartsOfSpeech, pos, size, 0, name, nullptr);
        if (!nameToIndex.find(name))
            nameToIndex.add(name, i);
        list.push_back(LXPair<lxstring, uint32_t>(name, flags));
    }
}

bool LXD::placeEntry(LXDAdditionsEntry &entry) const
{
    const LXTerm &t = entry.term;
    const bool twoDirections = m_language1 != m_language2 && m_language2 != LXSynonyms;
    if (t.getLanguage() == m_language1)
        entry.direction = 0;
    else if (twoDirections && t.getLanguage() == m_language2)
        entry.direction = 1;
    else
        return false;
    lxstring key = t.getSearchKey();
    if (key.empty() && m_tokenizer)
        key = m_tokenizer->searchKey(t.getHeadword(), t.getLanguage());
    entry.key = storedKey(key);
    return true;
}

LXDAdditionsTerms *LXD::additionsTerms()
{
    LXFileStamp now;
    if (m_additions && m_additions->path == m_path && LXFileSystem::stamp(m_path, now) && now == m_additions->stamp)
        return m_additions.get();
    m_additions.reset();
    std::unique_ptr<LXDAdditionsTerms> terms(new (std::nothrow) LXDAdditionsTerms);
    if (!terms)
        return nullptr;
    // Read through a new opening, so that what is read is the file as it is now.
    close();
    terms->path = m_path;
    if (!LXFileSystem::stamp(m_path, terms->stamp) || !open())
        return nullptr;
    readPartsOfSpeech(terms->parts.list, terms->parts.index);
    terms->parts.complete();
    bool placed = true;
    readAllTerms([&](LXTerm &term) {
        EntryPointer e(new (std::nothrow) LXDAdditionsEntry);
        if (!e) {
            placed = false;
            return;
        }
        e->term = std::move(term);
        placed = placeEntry(*e) && placed;
        terms->entries.push_back(std::move(e));
    });
    if (!placed)
        return nullptr;
    // A file written here is in index order already.
    if (!std::is_sorted(terms->entries.begin(), terms->entries.end(), indexOrder))
        std::stable_sort(terms->entries.begin(), terms->entries.end(), indexOrder);
    m_additions = std::move(terms);
    return m_additions.get();
}

bool LXD::addTerm(const LXTerm &term)
{
    LXList<LXTerm> one;
    one.push_back(term);
    return addTerms(one);
}

bool LXD::addTerms(const LXList<LXTerm> &newTerms)
{
    if (!isAdditions() || !open())
        return failWrite(NotWritable, "not an additions module that opens");
    LXDAdditionsTerms *terms = additionsTerms();
    if (!terms)
        return failWrite(NotWritable, "the additions module cannot be read");
    std::vector<EntryPointer> &entries = terms->entries;
    std::string notStorable;
    for (LXList<LXTerm>::const_iterator n = newTerms.begin(); !n.isAtEnd(); ++n) {
        EntryPointer e(new (std::nothrow) LXDAdditionsEntry);
        if (!e)
            return failChange(WriteFailed, "out of memory");
        e->term = *n;
        if (!placeEntry(*e)) {
            notStorable = "a term of language " + std::to_string(n->getLanguage()) + " does not belong in the module";
            continue;
        }
        // A term equal to a stored one (not to one this change adds) is merged into the
        // first of them; the equal ones share its key.
        const auto run = std::equal_range(entries.begin(), entries.end(), e, keyOrder);
        auto same = run.first;
        while (same != run.second && ((*same)->fresh || !((*same)->term == *n)))
            ++same;
        if (same != run.second) {
            (*same)->term.merge(*n);
            (*same)->changed = true;
            continue;
        }
        if (!terms->parts.enterAll(*n))
            return failChange(TooManyPartsOfSpeech,
                              "more than " + std::to_string(kMaxPartsOfSpeech) + " parts of speech");
        e->fresh = true;
        e->changed = true;
        entries.insert(std::upper_bound(run.first, run.second, e, indexOrder), std::move(e));
    }
    if (!notStorable.empty())
        return failChange(TermNotStorable, notStorable);
    if (!writeAdditions(*terms))
        return failChange(m_writeResult, m_writeError);
    // The write stands; the terms kept for the next change only spare it a reading.
    keepAdditions(std::move(m_additions));
    return true;
}

bool LXD::deleteDefinition(const LXTerm &term)
{
    if (!isAdditions() || !open())
        return failWrite(NotWritable, "not an additions module that opens");
    if (term.getDefinitions().empty())
        return false;
    LXDAdditionsTerms *terms = additionsTerms();
    if (!terms)
        return failWrite(NotWritable, "the additions module cannot be read");
    const LXDefinition &gone = *term.getDefinitions().begin();
    std::vector<EntryPointer> &entries = terms->entries;
    bool deleted = removeDefinitions(entries, term.getLanguage(), term.getTranslationLanguage(), term.getHeadword(),
                                     term.getPartOfSpeechName(), gone.getText(), gone.getPartOfSpeechName());
    // The same translation seen from the other side.
    deleted = removeDefinitions(entries, term.getTranslationLanguage(), term.getLanguage(), gone.getText(),
                                gone.getPartOfSpeechName(), term.getHeadword(), term.getPartOfSpeechName()) ||
              deleted;
    if (!deleted)
        return false;
    // Terms left with nothing in them go.
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const EntryPointer &e) {
                                     return e->term.getDefinitions().empty() && e->term.getFeatures().empty();
                                 }),
                  entries.end());
    if (!writeAdditions(*terms))
        return failChange(m_writeResult, m_writeError);
    // The write stands; the terms kept for the next change only spare it a reading.
    keepAdditions(std::move(m_additions));
    return true;
}

bool LXD::rewrite(const LXList<LXTerm> &terms, const LXList<LXPair<lxstring, uint32_t>> &partsOfSpeech,
                  const LXHashTable<lxstring, uint32_t> &nameToIndex)
{
    m_additions.reset();
    std::unique_ptr<LXDAdditionsTerms> all(new (std::nothrow) LXDAdditionsTerms);
    if (!all)
        return failWrite(WriteFailed, "out of memory");
    all->parts.list = partsOfSpeech;
    all->parts.index = nameToIndex;
    all->parts.complete();
    for (LXList<LXTerm>::const_iterator t = terms.begin(); !t.isAtEnd(); ++t) {
        EntryPointer e(new (std::nothrow) LXDAdditionsEntry);
        if (!e)
            return failWrite(WriteFailed, "out of memory");
        e->term = *t;
        e->changed = true;
        if (!placeEntry(*e)) {
            open();
            return failWrite(TermNotStorable, "a term of language " + std::to_string(t->getLanguage()) +
                                                  " does not belong in the module");
        }
        all->entries.push_back(std::move(e));
    }
    std::stable_sort(all->entries.begin(), all->entries.end(), indexOrder);
    return writeAdditions(*all);
}

bool LXD::writeAdditions(LXDAdditionsTerms &terms)
{
    m_writeResult = Written;
    m_writeError.clear();
    close();
    LXContainerWriter file(m_compressor, kAdditionsStreams);
    std::string &pos = file.stream(PartsOfSpeech);
    for (LXList<LXPair<lxstring, uint32_t>>::const_iterator p = terms.parts.list.begin(); !p.isAtEnd(); ++p) {
        putByte(pos, p->second);
        putText(pos, p->first);
        pos += '\0';
    }
    // A name the table lacks is stored as the first part of speech. Terms in a row mostly
    // share one, so the last answer is kept.
    lxstring lastName;
    int lastAt = -1;
    auto posIndex = [&](const lxstring &name, uint32_t, bool) {
        if (lastAt < 0 || !lx_sameText(name, lastName)) {
            const int32_t at = terms.parts.placeOf(name);
            lastName = name;
            lastAt = at < 0 ? 0 : static_cast<int>(at);
        }
        return lastAt;
    };

    std::string &index = file.stream(Index);
    std::string &records = file.stream(Terms);
    size_t recordBytes = 0;
    std::string error;
    for (EntryPointer &e : terms.entries) {
        if (e->changed || e->record.empty()) {
            e->record.clear();
            if (!putTerm(e->record, e->term, e->key, posIndex, error)) {
                open();
                return failWrite(TermNotStorable, error);
            }
        }
        recordBytes += e->record.size() + 1;
    }
    records.reserve(recordBytes);
    uint32_t counts[2] = {0, 0};
    uint32_t direction2Start = 0;
    bool direction2Seen = false;
    const LXDAdditionsEntry *previous = nullptr;
    uint32_t headword = 0;
    for (EntryPointer &p : terms.entries) {
        if (!previous || p->direction != previous->direction || !sameBytes(p->key, previous->key)) {
            if (!records.empty())
                putByte(records, kEndOfRun);   // ends the previous headword's run
            if (p->direction == 1 && !direction2Seen) {
                direction2Seen = true;
                direction2Start = static_cast<uint32_t>(index.size());
            }
            ++counts[p->direction];
            headword = static_cast<uint32_t>(index.size());
            putBase255(index, static_cast<uint32_t>(records.size()));
            index.append(p->key.c_str(), static_cast<size_t>(p->key.size()));
            index += '\0';
        }
        p->headwordPosition = headword;
        p->termPosition = static_cast<uint32_t>(records.size());
        records += p->record;
        previous = p.get();
    }
    if (!records.empty())
        putByte(records, kEndOfRun);
    if (!direction2Seen)
        direction2Start = static_cast<uint32_t>(index.size());

    file.stream(Header) = header(0, m_formatWord, m_language1, m_language2, counts[0], counts[1], direction2Start,
                                 static_cast<uint32_t>(terms.parts.names.size()), m_priority);
    putInt32(file.stream(Kind), additionsKindMarker(m_language1, m_language2));
    file.setCompressed(Index);
    file.setCompressed(Terms);
    file.storeSizeInHeader();
    const lxstring path = m_path;
    const bool written = file.write(path, error);
    // The module reads whichever file is now in place: the new one, or the old one kept.
    const bool reopened = validate(path) && open();
    if (!written)
        return failWrite(WriteFailed, error);
    if (!reopened)
        return failWrite(WriteFailed, "the rewritten file does not open");
    return true;
}

bool LXD::keepAdditions(std::unique_ptr<LXDAdditionsTerms> terms)
{
    std::vector<EntryPointer> &entries = terms->entries;
    bool ordered = true;
    for (size_t i = 0; i < entries.size(); ++i) {
        LXDAdditionsEntry &e = *entries[i];
        e.fresh = false;
        if (!e.changed)
            continue;
        LXTerm back;
        if (readTerm(back, e.headwordPosition, e.termPosition) <= e.termPosition)
            return false;
        e.term = std::move(back);
        e.changed = false;
        ordered = ordered && inPlace(entries, i);
    }
    // The file keeps the order it was written in: terms that read back otherwise than they
    // were given (a part-of-speech code the module's table gives) take their places again.
    if (!ordered)
        std::stable_sort(entries.begin(), entries.end(), indexOrder);
    terms->path = m_path;
    if (!LXFileSystem::stamp(m_path, terms->stamp))
        return false;
    m_additions = std::move(terms);
    return true;
}
