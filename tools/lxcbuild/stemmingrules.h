// The stemming models of a conjugation module (its stream 6): how an inflected noun or
// adjective leads to its base form. They come from a rules file of the builder's data
// folder, data/<language>-stems.txt, one rule a line:
//
//   form | base | part of speech | code [| grammar code 1 | grammar code 2]
//
// form: "-ending" for every word that ends so (the part before the ending is the stem),
//       or a whole word of at least two letters;
// base: empty for the stem itself, "-text" for the stem followed by text, anything else
//       for the whole base form;
// code: the part-of-speech code the dictionary modules give the base form's headwords
//       (2 noun, 3 adjective), which the stem finder requires the headword to have;
// grammar codes: passed through to the stems unchanged (3 and 12 when left out).
//
// Nothing here depends on the language: a language without a rules file gets no models.
#ifndef WORDMERE_TOOLS_LXCBUILD_STEMMINGRULES_H
#define WORDMERE_TOOLS_LXCBUILD_STEMMINGRULES_H

#include <string>
#include <vector>

#include "lxconjugationrecords.h"

// The model of one rule; false with a reason for a rule the module cannot hold.
bool stemmingModelOf(const std::vector<std::string> &columns, LXStemmingModel &model, std::string &error);

// Every rule of the file. A missing file is no error (no models); a bad line is, with
// its line number.
bool readStemmingRules(const std::string &path, std::vector<LXStemmingModel> &models, std::string &error);

// Every model is found again under its key in the written module.
bool verifyStemmingModels(const lxstring &modulePath, const std::vector<LXStemmingModel> &models,
                          std::string &error);

#endif
