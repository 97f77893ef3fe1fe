// LXDAdditionsTerms: the terms of a user-additions module as its file holds them, kept in
// memory from one change to the next. They stand in the order of the file's headword index,
// each with its direction, its key as the index stores it and its encoded record, so that a
// change encodes only the terms it touches and lays the new file out from the records.
//
// The state belongs to one file as one write left it (path, size and time): a file in any
// other state (another program wrote it, a write failed) is read afresh.
#ifndef WORDMERE_ENGINE_LXDADDITIONSTERMS_H
#define WORDMERE_ENGINE_LXDADDITIONSTERMS_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/lxhashtable.h"
#include "base/lxlist.h"
#include "base/lxpair.h"
#include "base/lxstring.h"
#include "format/lxfilesystem.h"
#include "model/lxterm.h"

// One stored term.
struct LXDAdditionsEntry {
    LXTerm term;                     // as the file gives it back
    uint32_t direction = 0;          // 0 for the first language's headwords, 1 for the second's
    lxstring key;                    // the search key as the headword index stores it
    std::string record;              // the term's bytes in the terms stream; empty until encoded
    bool changed = false;            // differs from the file: encoded afresh, then read back
    bool fresh = false;              // added by the change under way
    uint32_t headwordPosition = 0;   // where the last write put its headword record
    uint32_t termPosition = 0;       // and its record
};

// The parts of speech of the module, with the names a change adds to them.
struct LXDPartsOfSpeech {
    LXList<LXPair<lxstring, uint32_t>> list;   // (name, flags) in stream order
    LXHashTable<lxstring, uint32_t> index;     // name -> place in list
    std::vector<lxstring> names;               // the names of list, for exact look-ups

    LXDPartsOfSpeech();
    // Takes the names from list.
    void complete();
    // The place of a name spelt exactly so; -1 when it is not there.
    int32_t placeOf(const lxstring &name) const;
    // Enters a name the module lacks, its code as its flags. False when no place is left.
    bool enter(const lxstring &name, uint32_t code);
    // Every name a term and its definitions use, so that none reads back empty.
    bool enterAll(const LXTerm &term);
};

struct LXDAdditionsTerms {
    lxstring path;
    LXFileStamp stamp;
    LXDPartsOfSpeech parts;
    std::vector<std::unique_ptr<LXDAdditionsEntry>> entries;   // in index order
};

#endif
