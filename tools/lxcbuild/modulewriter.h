// The part of the module builder that every data source shares: the module's names,
// models, suffix models, stemming models (data/<language>-stems.txt), verbs and inflected
// forms written through LXConjugationWriter,
// and the written file read back through the conjugator and checked form by form.
#ifndef WORDMERE_TOOLS_LXCBUILD_MODULEWRITER_H
#define WORDMERE_TOOLS_LXCBUILD_MODULEWRITER_H

#include <map>
#include <string>
#include <vector>

#include "lxconjugationrecords.h"
#include "moduledata.h"
#include "romancemodels.h"

// A verb record with the forms the module must give for it (not the infinitive).
struct ModuleVerb {
    LXVerb verb;
    FormTable forms;
    // Forms of another spelling ("realised" of "realize") or of a verb of the same
    // spelling that the module does not keep ("canned" of "can"): indexed so that they
    // lead to the verb, never given by it.
    FormTable variants;
};

// Lists the compound tenses of the tense table in a model, with the persons its auxiliary
// tense has there: the conjugator builds them, the tense and person queries show them.
void listCompoundTenses(const std::vector<TenseRow> &rows, LXModelCache &model);

// Writes options.output and, when options.verify, reads every model, suffix model, verb
// and form back. Fills the report's counts.
bool writeModule(const BuildOptions &options, LXLanguage language, const std::vector<TenseRow> &rows,
                 const std::map<uint32_t, LXModelCache> &models, const std::vector<ModuleVerb> &verbs,
                 BuildReport &report, std::string &error);

#endif
