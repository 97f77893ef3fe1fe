// The writing side of LXD: user-additions modules, created empty and rewritten whole on
// every change. An additions file has five streams: header, parts of speech, headword
// index, kind marker and term records (no sparse indexes, nothing compressed but the
// index and the terms).
#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/lxutilities.h"
#include "format/lxcontainerwriter.h"
#include "format/lxd.h"
#include "format/lxdencoding.h"
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

// The place of a part-of-speech name, spelt exactly so; -1 when it is not there.
int32_t placeOf(const lxstring &name, const std::vector<lxstring> &names, const LXHashTable<lxstring, uint32_t> &index)
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

// The parts of speech of a module being changed, with the names added to them.
struct PosTable {
    LXList<LXPair<lxstring, uint32_t>> list;   // (name, flags) in stream order
    LXHashTable<lxstring, uint32_t> index;     // name -> place in list
    std::vector<lxstring> names;               // the names of list, for exact look-ups

    PosTable() { index.resize(kPartOfSpeechTableSize); }

    void complete()
    {
        names.clear();
        for (LXList<LXPair<lxstring, uint32_t>>::const_iterator p = list.begin(); !p.isAtEnd(); ++p)
            names.push_back(p->first);
    }

    // Enters a name the module lacks, its code as its flags. False when no place is left.
    bool enter(const lxstring &name, uint32_t code)
    {
        if (placeOf(name, names, index) >= 0)
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

    // Every name a term and its definitions use, so that none reads back empty.
    bool enterAll(const LXTerm &term)
    {
        if (!enter(term.getPartOfSpeechName(), term.getPartOfSpeechCode()))
            return false;
        for (LXList<LXDefinition>::const_iterator d = term.getDefinitions().begin(); !d.isAtEnd(); ++d) {
            if (!enter(d->getPartOfSpeechName(), d->getPartOfSpeechCode()))
                return false;
        }
        return true;
    }
};

// What two equal terms share, spelt out: languages and search key as code points.
std::string equalityKey(const LXTerm &term)
{
    lxstring key(term.getSearchKey());
    key.setEncoding(LXEncodingUtf8);
    std::string k(key.c_str(), static_cast<size_t>(key.size()));
    k += '\0';
    k += std::to_string(term.getLanguage()) + "/" + std::to_string(term.getTranslationLanguage());
    return k;
}

// A term on its way into the headword index: its direction and key as stored.
struct Placed {
    const LXTerm *term;
    uint32_t direction;
    lxstring key;
};

// The order of the headword index (keys under the engine's comparison with language 0,
// keys that compare equal but are spelt otherwise apart), then the term order.
bool indexOrder(const Placed &a, const Placed &b)
{
    if (a.direction != b.direction)
        return a.direction < b.direction;
    // Keys spelt the same compare equal: the collating comparison is needed only for others.
    const int spelt = std::strcmp(a.key.c_str(), b.key.c_str());
    if (!spelt)
        return *a.term < *b.term;
    const int c = a.key.compare(b.key, LXLanguageNone);
    return c ? c < 0 : spelt < 0;
}

// Removes from every stored term of the headword (languages, headword and part of speech
// as given) each definition of that text and part of speech. True when one went.
bool removeDefinitions(LXList<LXTerm> &terms, LXLanguage language, LXLanguage translation, const lxstring &headword,
                       const lxstring &partOfSpeech, const lxstring &text, const lxstring &textPartOfSpeech)
{
    bool removed = false;
    for (LXList<LXTerm>::iterator t = terms.begin(); !t.isAtEnd(); ++t) {
        if (t->getLanguage() != language || t->getTranslationLanguage() != translation ||
            !lx_sameText(t->getHeadword(), headword) || !lx_sameText(t->getPartOfSpeechName(), partOfSpeech))
            continue;
        LXList<LXDefinition> kept;
        for (LXList<LXDefinition>::const_iterator d = t->getDefinitions().begin(); !d.isAtEnd(); ++d) {
            if (lx_sameText(d->getText(), text) && lx_sameText(d->getPartOfSpeechName(), textPartOfSpeech))
                removed = true;
            else
                kept.push_back(*d);
        }
        t->getDefinitions() = kept;
    }
    return removed;
}

} // namespace

bool LXD::failWrite(WriteResult result, const std::string &error)
{
    m_writeResult = result;
    m_writeError = error;
    return false;
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
    LXList<LXTerm> terms;
    readAllTerms(terms);
    PosTable parts;
    readPartsOfSpeech(parts.list, parts.index);
    parts.complete();
    // The stored terms by key, to find the one a new term equals.
    std::unordered_multimap<std::string, std::pair<size_t, LXTerm *>> byKey;
    byKey.reserve(terms.size());
    size_t place = 0;
    for (LXList<LXTerm>::iterator t = terms.begin(); !t.isAtEnd(); ++t)
        byKey.emplace(equalityKey(*t), std::make_pair(place++, &*t));
    for (LXList<LXTerm>::const_iterator n = newTerms.begin(); !n.isAtEnd(); ++n) {
        LXTerm *same = nullptr;
        size_t first = 0;
        auto range = byKey.equal_range(equalityKey(*n));
        for (auto at = range.first; at != range.second; ++at) {
            if (*at->second.second == *n && (!same || at->second.first < first)) {
                same = at->second.second;   // the first stored of the equal ones
                first = at->second.first;
            }
        }
        if (same) {
            same->merge(*n);
            continue;
        }
        if (!parts.enterAll(*n))
            return failWrite(TooManyPartsOfSpeech, "more than " + std::to_string(kMaxPartsOfSpeech) +
                                                       " parts of speech");
        if (!terms.push_back(*n))
            return failWrite(WriteFailed, "out of memory");
    }
    return rewrite(terms, parts.list, parts.index);
}

bool LXD::deleteDefinition(const LXTerm &term)
{
    if (!isAdditions() || !open())
        return failWrite(NotWritable, "not an additions module that opens");
    if (term.getDefinitions().empty())
        return false;
    const LXDefinition &gone = *term.getDefinitions().begin();
    LXList<LXTerm> terms;
    readAllTerms(terms);
    bool deleted = removeDefinitions(terms, term.getLanguage(), term.getTranslationLanguage(), term.getHeadword(),
                                     term.getPartOfSpeechName(), gone.getText(), gone.getPartOfSpeechName());
    // The same translation seen from the other side.
    deleted = removeDefinitions(terms, term.getTranslationLanguage(), term.getLanguage(), gone.getText(),
                                gone.getPartOfSpeechName(), term.getHeadword(), term.getPartOfSpeechName()) ||
              deleted;
    if (!deleted)
        return false;
    // Terms left with nothing in them go.
    LXList<LXTerm> kept;
    for (LXList<LXTerm>::const_iterator t = terms.begin(); !t.isAtEnd(); ++t) {
        if ((!t->getDefinitions().empty() || !t->getFeatures().empty()) && !kept.push_back(*t))
            return failWrite(WriteFailed, "out of memory");
    }
    PosTable parts;
    readPartsOfSpeech(parts.list, parts.index);
    return rewrite(kept, parts.list, parts.index);
}

bool LXD::rewrite(const LXList<LXTerm> &terms, const LXList<LXPair<lxstring, uint32_t>> &partsOfSpeech,
                  const LXHashTable<lxstring, uint32_t> &nameToIndex)
{
    m_writeResult = Written;
    m_writeError.clear();
    close();
    const bool twoDirections = m_language1 != m_language2 && m_language2 != LXSynonyms;
    std::vector<Placed> placed;
    for (LXList<LXTerm>::const_iterator t = terms.begin(); !t.isAtEnd(); ++t) {
        Placed p;
        p.term = &*t;
        if (t->getLanguage() == m_language1)
            p.direction = 0;
        else if (twoDirections && t->getLanguage() == m_language2)
            p.direction = 1;
        else {
            open();
            return failWrite(TermNotStorable, "a term of language " + std::to_string(t->getLanguage()) +
                                                  " does not belong in the module");
        }
        lxstring key = t->getSearchKey();
        if (key.empty() && m_tokenizer)
            key = m_tokenizer->searchKey(t->getHeadword(), t->getLanguage());
        p.key = storedKey(key);
        placed.push_back(p);
    }
    // The stored terms come in index order already, the new ones after them: only those are
    // sorted, then merged in (the same order as sorting the whole, for fewer comparisons).
    const auto inOrder = std::is_sorted_until(placed.begin(), placed.end(), indexOrder);
    std::stable_sort(inOrder, placed.end(), indexOrder);
    std::inplace_merge(placed.begin(), inOrder, placed.end(), indexOrder);

    std::vector<lxstring> names;
    LXContainerWriter file(m_compressor, kAdditionsStreams);
    std::string &pos = file.stream(PartsOfSpeech);
    for (LXList<LXPair<lxstring, uint32_t>>::const_iterator p = partsOfSpeech.begin(); !p.isAtEnd(); ++p) {
        names.push_back(p->first);
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
            const int32_t at = placeOf(name, names, nameToIndex);
            lastName = name;
            lastAt = at < 0 ? 0 : static_cast<int>(at);
        }
        return lastAt;
    };

    std::string &index = file.stream(Index);
    std::string &records = file.stream(Terms);
    uint32_t counts[2] = {0, 0};
    uint32_t direction2Start = 0;
    bool direction2Seen = false;
    const Placed *previous = nullptr;
    std::string error;
    for (const Placed &p : placed) {
        if (!previous || p.direction != previous->direction || !lx_sameText(p.key, previous->key)) {
            if (!records.empty())
                putByte(records, kEndOfRun);   // ends the previous headword's run
            if (p.direction == 1 && !direction2Seen) {
                direction2Seen = true;
                direction2Start = static_cast<uint32_t>(index.size());
            }
            ++counts[p.direction];
            putBase255(index, static_cast<uint32_t>(records.size()));
            index.append(p.key.c_str(), static_cast<size_t>(p.key.size()));
            index += '\0';
        }
        if (!putTerm(records, *p.term, p.key, posIndex, error)) {
            open();
            return failWrite(TermNotStorable, error);
        }
        previous = &p;
    }
    if (!records.empty())
        putByte(records, kEndOfRun);
    if (!direction2Seen)
        direction2Start = static_cast<uint32_t>(index.size());

    file.stream(Header) = header(0, m_formatWord, m_language1, m_language2, counts[0], counts[1], direction2Start,
                                 static_cast<uint32_t>(names.size()), m_priority);
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
