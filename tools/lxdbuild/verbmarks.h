// Verbs for headwords that the dictionary data leaves without a part of speech.
//
// Some FreeDict databases (Spanish, Italian, Portuguese to English) mark no part of speech
// at all, so the standard search could never take one of their headwords for the base
// form of an inflected verb. A headword without a mark that is an infinitive of the
// language's conjugation module is marked as a verb instead.
#ifndef WORDMERE_TOOLS_LXDBUILD_VERBMARKS_H
#define WORDMERE_TOOLS_LXDBUILD_VERBMARKS_H

#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/lxlanguage.h"

class LXCompressor;
struct FreeDictArticle;

// The infinitives of each language, from its conjugation modules (UTF-8).
typedef std::map<LXLanguage, std::set<std::string>> VerbLists;

// The mark a headword gets when it is one of the language's infinitives.
extern const char *const kInferredVerbMark;

// Reads the infinitives of every module into lists; false with the reason when a module
// cannot be opened.
bool readVerbLists(const std::vector<std::string> &modules, LXCompressor *compressor, VerbLists &lists,
                   std::string &error);

// Gives an article of the language without a part of speech the verb mark when its
// headword is among the language's infinitives.
void markInferredVerb(FreeDictArticle &article, LXLanguage language, const VerbLists &lists);

#endif
