// LXDEncoding: the bytes of dictionary-module records, shared by the writer of published
// modules and the rewrite of user-additions modules.
//
// Texts are stored as UTF-8 with every code point below 0x20 as a blank: the values 0x00
// to 0x03 are the records' structure markers, and a text must never hold one.
#ifndef WORDMERE_ENGINE_LXDENCODING_H
#define WORDMERE_ENGINE_LXDENCODING_H

#include <cstdint>
#include <string>

#include "base/lxlist.h"
#include "base/lxstring.h"
#include "format/lxd.h"
#include "model/lxterm.h"

namespace LXDEncoding {

const uint32_t kMaxFeatureCode = 255;
inline void putByte(std::string &out, uint32_t byte) { out += static_cast<char>(byte); }

std::string utf8(const lxstring &s);
void putText(std::string &out, const lxstring &text);
// The headword with every occurrence of its key as the key placeholder.
void putHeadword(std::string &out, const lxstring &headword, const lxstring &key);
// Each feature as code byte, text, end of text; then the end of the features. False for
// a code that cannot be stored.
bool putFeatures(std::string &out, const LXFeatureList &features, std::string &error);
void putBase255(std::string &out, uint32_t n);
void putInt32(std::string &out, uint32_t v);
void putInt16(std::string &out, uint32_t v);
// A search key as the index stores it: UTF-8, code points below 0x20 as blanks.
lxstring storedKey(const lxstring &key);

// One term record: part-of-speech byte, headword, end of text, features, each definition
// (part-of-speech byte, text, end of text, features), end of term. posIndex(name, code, isDefinition)
// gives the index of a part of speech, or a negative value when there is none to give.
template <typename PosIndex>
bool putTerm(std::string &out, const LXTerm &term, const lxstring &key, PosIndex posIndex, std::string &error)
{
    int pos = posIndex(term.getPartOfSpeechName(), term.getPartOfSpeechCode(), false);
    if (pos < 0) {
        error = "no part of speech can be given to " + utf8(term.getPartOfSpeechName());
        return false;
    }
    putByte(out, pos + LXD::kFirstPartOfSpeech);
    putHeadword(out, term.getHeadword(), key);
    putByte(out, LXD::kEndOfText);
    if (!putFeatures(out, term.getFeatures(), error))
        return false;
    for (LXList<LXDefinition>::const_iterator d = term.getDefinitions().begin(); !d.isAtEnd(); ++d) {
        int dp = posIndex(d->getPartOfSpeechName(), d->getPartOfSpeechCode(), true);
        if (dp < 0) {
            error = "no part of speech can be given to " + utf8(d->getPartOfSpeechName());
            return false;
        }
        putByte(out, dp + LXD::kFirstPartOfSpeech);
        putText(out, d->getText());
        putByte(out, LXD::kEndOfText);
        if (!putFeatures(out, d->getFeatures(), error))
            return false;
    }
    putByte(out, LXD::kEndOfTerm);
    return true;
}

} // namespace LXDEncoding

#endif
