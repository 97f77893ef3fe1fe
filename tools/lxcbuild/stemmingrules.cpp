#include "stemmingrules.h"

#include <fstream>

#include "base/lxutilities.h"
#include "format/lxcompressor.h"
#include "lxconjugator.h"
#include "moduledata.h"

namespace {

const uint32_t kDefaultGrammarCode1 = 3;
const uint32_t kDefaultGrammarCode2 = 12;
// Part-of-speech codes are the low six bits of a module's part-of-speech flags.
const uint32_t kMaxPartOfSpeechCode = 0x3F;
const uint32_t kMaxCode = 255;

bool parseCode(const std::string &text, uint32_t max, uint32_t &value)
{
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = static_cast<uint32_t>(std::stoul(text));
    return value >= 1 && value <= max;
}

// Texts of a record end at code point 1 and records at 0: neither may stand inside.
bool storable(const std::string &text)
{
    for (char c : text) {
        if (c == '\0' || c == '\x01')
            return false;
    }
    return true;
}

} // namespace

bool stemmingModelOf(const std::vector<std::string> &c, LXStemmingModel &model, std::string &error)
{
    if (c.size() != 4 && c.size() != 6) {
        error = "form | base | part of speech | code [| grammar code 1 | grammar code 2] expected";
        return false;
    }
    const std::string &form = c[0];
    const bool ending = !form.empty() && form[0] == '-';
    lxstring word(ending ? form.c_str() + 1 : form.c_str(), LXEncodingUtf8);
    // A whole word is looked up only when it has two letters or more.
    if (word.empty() || (!ending && word.length() < 2) || !word.find(static_cast<uint32_t>('-')).isAtEnd()) {
        error = "an ending or a word of two letters or more, without inner hyphens, expected: " + form;
        return false;
    }
    if (!storable(form) || !storable(c[1]) || !storable(c[2])) {
        error = "a text holds a control code";
        return false;
    }
    model = LXStemmingModel();
    if (!parseCode(c[3], kMaxPartOfSpeechCode, model.partOfSpeechCode)) {
        error = "part-of-speech code 1.." + std::to_string(kMaxPartOfSpeechCode) + " expected: " + c[3];
        return false;
    }
    model.grammarCode1 = kDefaultGrammarCode1;
    model.grammarCode2 = kDefaultGrammarCode2;
    if (c.size() == 6 && (!parseCode(c[4], kMaxCode, model.grammarCode1) ||
                          !parseCode(c[5], kMaxCode, model.grammarCode2))) {
        error = "grammar codes 1..255 expected";
        return false;
    }
    // The key is the word reversed; an ending's key is followed by "-".
    LXUtilities::reverse(word);
    if (ending)
        word += static_cast<uint32_t>('-');
    model.key = word;
    model.partOfSpeechName = lxstring(c[2].c_str(), LXEncodingUtf8);
    model.replacement = lxstring(c[1].c_str(), LXEncodingUtf8);
    return true;
}

bool readStemmingRules(const std::string &path, std::vector<LXStemmingModel> &models, std::string &error)
{
    std::ifstream in(path);
    if (!in)
        return true;   // a language without rules has no stemming models
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#')
            continue;
        LXStemmingModel model;
        std::string reason;
        if (!stemmingModelOf(splitColumns(line), model, reason)) {
            error = path + ":" + std::to_string(number) + ": " + reason;
            return false;
        }
        models.push_back(model);
    }
    return true;
}

bool verifyStemmingModels(const lxstring &modulePath, const std::vector<LXStemmingModel> &models,
                          std::string &error)
{
    LXCompressor *compressor = LXCompressor::create();
    LXConjugator conjugator;
    conjugator.setCompressor(compressor);
    bool ok = conjugator.openModule(modulePath);
    if (!ok)
        error = "the written module does not open";
    for (size_t i = 0; ok && i < models.size(); ++i) {
        LXList<LXStemmingModel> found;
        conjugator.findStemmingModels(models[i].key, found);
        bool hit = false;
        for (LXList<LXStemmingModel>::iterator f = found.begin(); !f.isAtEnd(); ++f)
            hit = hit || *f == models[i];
        if (!hit) {
            lxstring key = models[i].key;
            key.setEncoding(LXEncodingUtf8);
            error = "stemming model not found: " + std::string(key.c_str(), key.size());
            ok = false;
        }
    }
    conjugator.closeModule();
    delete compressor;
    return ok;
}
