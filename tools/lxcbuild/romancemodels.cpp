#include "romancemodels.h"

#include <set>

#include "lxconjugator.h"
#include "utf8text.h"

namespace {

LXCodeTextList ruleFeature(int rule)
{
    LXCodeTextList f;
    lxstring value(LXEncodingUtf8);
    value += static_cast<uint32_t>(rule + 2);
    f.push_back(LXCodeText(LXFeatureSpellingRule, value));
    return f;
}

// The rule sets tried for a verb, each in the order its rules apply: stem-vowel rules
// before the consonant rules, and the pairs of vowel rules that share a verb's tenses.
std::vector<std::vector<int>> ruleSets(LXLanguage language)
{
    std::vector<int> vowels, consonants;
    std::vector<std::vector<int>> vowelPairs;
    if (language == LXSpanish) {
        vowels = {1, 3, 4, 31, 32, 33, 34, 7, 35, 36};
        consonants = {9, 25, 27, 28, 29, 30};
        vowelPairs = {{1, 35}, {3, 36}};
    } else if (language == LXPortuguese) {
        vowels = {1, 2, 4, 5, 6};
        consonants = {3};
    }
    std::vector<std::vector<int>> sets;
    for (int v : vowels)
        sets.push_back({v});
    for (const std::vector<int> &p : vowelPairs)
        sets.push_back(p);
    for (int c : consonants) {
        sets.push_back({c});
        for (int v : vowels)
            sets.push_back({v, c});
        for (std::vector<int> p : vowelPairs) {
            p.push_back(c);
            sets.push_back(p);
        }
    }
    return sets;
}

// Whether a rule changes the stem in any of a few tenses and persons before any of a few
// ending vowels: rules that cannot act on the stem are not tried.
bool mayChange(LXLanguage language, int rule, const lxstring &stem)
{
    static const uint32_t probes[][2] = {{79, 37}, {80, 37}, {80, 38}, {80, 39}, {85, 39}, {90, 40}, {98, 40}};
    static const char *const endings[] = {"a", "e", "o"};
    LXCodeTextList f = ruleFeature(rule);
    for (const auto &probe : probes) {
        for (const char *e : endings) {
            lxstring s = stem;
            LXConjugator::applySpellingRules(language, f, s, probe[0], probe[1], utf8(e));
            if (s.compare(stem, false, false, LXLanguageNone) != 0)
                return true;
        }
    }
    return false;
}

// The endings that reproduce the verb's forms from the stem with the rules, or false.
// Every rule must change the stem of at least one form.
bool invert(LXLanguage language, const ModelVerb &verb, const lxstring &stem, const std::vector<int> &rules,
            FormTable &endings)
{
    endings.clear();
    std::vector<bool> used(rules.size(), false);
    std::vector<LXCodeTextList> features;
    for (int r : rules)
        features.push_back(ruleFeature(r));
    for (const auto &slot : verb.forms) {
        uint32_t tense = slot.first.first, person = slot.first.second;
        std::vector<std::string> &out = endings[slot.first];
        for (const std::string &form : slot.second) {
            lxstring f = utf8(form);
            bool found = false;
            for (int32_t k = f.length(); k >= 0 && !found; --k) {
                lxstring ending = f.substr(k);
                lxstring s = stem;
                std::vector<bool> changed(rules.size(), false);
                for (size_t i = 0; i < rules.size(); ++i) {
                    lxstring before = s;
                    LXConjugator::applySpellingRules(language, features[i], s, tense, person, ending);
                    changed[i] = s.compare(before, false, false, LXLanguageNone) != 0;
                }
                if (s.length() != k || s.compare(f.substr(0, k), false, false, LXLanguageNone) != 0)
                    continue;
                found = true;
                for (size_t i = 0; i < rules.size(); ++i)
                    used[i] = used[i] || changed[i];
                out.push_back(bytes(ending));
            }
            if (!found)
                return false;
        }
    }
    for (bool u : used) {
        if (!u)
            return false;
    }
    return true;
}

std::string tableKey(const std::string &ending, const FormTable &endings)
{
    std::string key = ending + "\x1f";
    for (const auto &slot : endings) {
        key += std::to_string(slot.first.first) + "/" + std::to_string(slot.first.second) + ":";
        for (const std::string &e : slot.second)
            key += e + ",";
        key += ";";
    }
    return key;
}

std::string modelKey(const InducedModel &m)
{
    std::string key = tableKey(m.ending, m.endings) + "\x1e";
    for (int r : m.rules)
        key += std::to_string(r) + " ";
    return key;
}

// Every rule set (the empty one first) with the longest stem it reproduces the forms from.
std::vector<InducedModel> candidates(LXLanguage language, const ModelVerb &verb,
                                     const std::vector<std::vector<int>> &sets)
{
    std::vector<InducedModel> out;
    lxstring infinitive = utf8(verb.infinitive);
    if (verb.auxiliary) {
        InducedModel m;
        m.ending = verb.infinitive;
        invert(language, verb, lxstring(LXEncodingUtf8), {}, m.endings);
        out.push_back(m);
        return out;
    }
    std::vector<std::vector<int>> all = {{}};
    all.insert(all.end(), sets.begin(), sets.end());
    for (const std::vector<int> &rules : all) {
        for (int32_t cut = 1; cut <= infinitive.length(); ++cut) {
            lxstring stem = infinitive.substr(0, infinitive.length() - cut);
            bool possible = true;
            for (int r : rules)
                possible = possible && mayChange(language, r, stem);
            if (!possible)
                continue;
            InducedModel m;
            if (!invert(language, verb, stem, rules, m.endings))
                continue;
            m.ending = bytes(infinitive.substr(infinitive.length() - cut));
            m.rules = rules;
            out.push_back(m);
            break;
        }
    }
    return out;
}

} // namespace

LXCodeTextList InducedModel::features() const
{
    LXCodeTextList f;
    f.push_back(LXCodeText(LXFeatureModelEnding, utf8(ending)));
    for (int r : rules) {
        LXCodeTextList one = ruleFeature(r);
        f.push_back(*one.begin());
    }
    return f;
}

std::string stemOf(const std::string &infinitive, const std::string &ending)
{
    lxstring i = utf8(infinitive), e = utf8(ending);
    return e.length() >= i.length() ? std::string() : bytes(i.substr(0, i.length() - e.length()));
}

FormTable formsOf(LXLanguage language, const InducedModel &model, const std::string &infinitive)
{
    FormTable out;
    lxstring stem = utf8(stemOf(infinitive, model.ending));
    LXCodeTextList features = model.features();
    for (const auto &slot : model.endings) {
        std::vector<std::string> &forms = out[slot.first];
        for (const std::string &e : slot.second) {
            lxstring s = stem, ending = utf8(e);
            LXConjugator::applySpellingRules(language, features, s, slot.first.first, slot.first.second, ending);
            s += ending;
            forms.push_back(bytes(s));
        }
    }
    return out;
}

void induceModels(LXLanguage language, const std::vector<ModelVerb> &verbs, std::vector<InducedModel> &models,
                  std::vector<size_t> &modelOfVerb)
{
    std::vector<std::vector<int>> sets = ruleSets(language);
    std::vector<std::vector<InducedModel>> all;
    std::map<std::string, size_t> shared;     // endings -> verbs that can take them
    for (const ModelVerb &v : verbs) {
        all.push_back(candidates(language, v, sets));
        std::set<std::string> keys;
        for (const InducedModel &m : all.back())
            keys.insert(tableKey(m.ending, m.endings));
        for (const std::string &k : keys)
            ++shared[k];
    }
    models.clear();
    modelOfVerb.clear();
    std::map<std::string, size_t> index;
    for (size_t i = 0; i < verbs.size(); ++i) {
        const InducedModel *best = nullptr;
        size_t bestCount = 0;
        for (const InducedModel &m : all[i]) {
            size_t count = shared[tableKey(m.ending, m.endings)];
            // More verbs sharing the endings wins; then fewer rules; then the first found.
            if (!best || count > bestCount || (count == bestCount && m.rules.size() < best->rules.size())) {
                best = &m;
                bestCount = count;
            }
        }
        std::string key = modelKey(*best);
        auto at = index.find(key);
        if (at == index.end()) {
            at = index.emplace(key, models.size()).first;
            models.push_back(*best);
        }
        modelOfVerb.push_back(at->second);
    }
}
