// Turning FreeDict databases into a published dictionary module, and printing a module.
#ifndef LXDBUILD_BUILDER_H
#define LXDBUILD_BUILDER_H

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "base/lxlanguage.h"
#include "freedict.h"
#include "model/lxterm.h"

class LXCompressor;
class LXDWriter;
class LXTokenizer;

// The most modules one dictionary is split into.
const uint32_t kMaxModuleParts = 64;

struct BuildOptions {
    std::string output;
    std::vector<std::string> sources;   // dictd base paths, e.g. /usr/share/dictd/freedict-eng-fra
    uint32_t priority = 1;
    uint32_t product = 10;
    uint32_t moduleVersion = 1;
    uint32_t sparseInterval = 16;
    // What besides headwords and translations goes into the module.
    bool pronunciations = true;
    bool notes = true;           // synonyms, see-also, usage notes, examples
    bool explanations = true;    // the explanations under a translation, and labels
    // Conjugation modules (.lxc) whose infinitives mark the headwords of their language
    // that the data leaves without a part of speech as verbs.
    std::vector<std::string> verbModules;
};

struct BuildReport {
    LXLanguage language1 = LXLanguageNone;
    LXLanguage language2 = LXLanguageNone;
    uint32_t articles[2] = {0, 0};     // index lines read, per direction
    uint32_t terms[2] = {0, 0};        // after merging articles of the same headword
    uint32_t headwords[2] = {0, 0};    // headword records (distinct keys)
    uint32_t partsOfSpeech = 0;
    std::vector<std::string> modules;  // the files written
};

// ISO 639-3 code of a FreeDict database ("eng") as an engine language; 0 when unknown.
LXLanguage freedictLanguage(const std::string &code);
// The two languages of a database from its name, "…/freedict-eng-fra".
bool freedictLanguages(const std::string &base, LXLanguage &from, LXLanguage &to);
// The part-of-speech code the module gives a FreeDict mark (6 for verbs, as the stem
// finder expects; 1 for none).
uint32_t freedictPartOfSpeechCode(const std::string &mark);
// The term an article becomes (no search key yet: the module writer makes it).
void freedictTerm(const FreeDictArticle &article, LXLanguage from, LXLanguage to, const BuildOptions &options,
                  LXTerm &term);

// Writes the dictionary to options.output. One module holds at most 16 MiB of compressed
// terms (its blocks are addressed in 24 bits); a larger dictionary becomes as few
// complete modules of the same pair as hold it, "NAME-1.lxd", "NAME-2.lxd", ..., each
// with one consecutive range of each direction's headwords. Module files of an earlier
// build that this one does not write are removed.
bool buildModule(const BuildOptions &options, LXCompressor *compressor, LXTokenizer *tokenizer,
                 BuildReport &report, std::string &error);
// The writer's terms as the module, or the fewest parts that hold them (as buildModule).
bool writeModules(LXDWriter &writer, const std::string &output, BuildReport &report, std::string &error);
// "NAME.lxd" -> "NAME-part.lxd".
std::string modulePartPath(const std::string &output, uint32_t part);

// Prints the header, the parts of speech and up to maxTerms terms (all when negative).
bool inspectModule(const std::string &path, LXCompressor *compressor, LXTokenizer *tokenizer, long maxTerms,
                   std::ostream &out, std::string &error);

#endif
