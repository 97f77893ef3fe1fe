// Grouping of verbs into conjugation models for the Romance conjugators: a model is the
// infinitive ending cut off to give the stem (feature 27), the spelling rules applied to
// the stem (features 16) and the endings of each tense and person. For each verb every
// rule set and cut that reproduce all its forms is a candidate; a verb takes the candidate
// whose endings the most verbs share, so regular verbs with a stem change end up on the
// regular endings plus a rule, and only real irregulars get models of their own.
#ifndef WORDMERE_TOOLS_LXCBUILD_ROMANCEMODELS_H
#define WORDMERE_TOOLS_LXCBUILD_ROMANCEMODELS_H

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "lxconjugationrecords.h"
#include "base/lxlanguage.h"

// (tense, person) -> forms in order without repeats; personless tenses under person 37.
typedef std::map<std::pair<uint32_t, uint32_t>, std::vector<std::string>> FormTable;

struct ModelVerb {
    std::string infinitive;
    FormTable forms;            // every simple form but the infinitive's
    bool auxiliary = false;     // the stem is empty: the table holds whole forms
};

struct InducedModel {
    std::string ending;         // cut from the infinitive (feature 27)
    std::vector<int> rules;     // spelling rule numbers, in the order they apply
    FormTable endings;

    // The model's features: 27 with the ending, then one 16 per rule.
    LXCodeTextList features() const;
};

// The stem of an infinitive for a cut ending ("" when the ending is the whole word).
std::string stemOf(const std::string &infinitive, const std::string &ending);

// The forms a model gives for a verb, through the conjugator's own spelling rules.
FormTable formsOf(LXLanguage language, const InducedModel &model, const std::string &infinitive);

// Finds the models for the verbs: models (deduplicated) and, per verb, its model's index.
void induceModels(LXLanguage language, const std::vector<ModelVerb> &verbs, std::vector<InducedModel> &models,
                  std::vector<size_t> &modelOfVerb);

#endif
