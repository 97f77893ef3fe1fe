#include "modulewriter.h"

#include <set>

#include "base/lxutilities.h"
#include "format/lxcompressor.h"
#include "lxconjugationwriter.h"
#include "lxconjugator.h"
#include "stemmingrules.h"
#include "utf8text.h"

namespace {

void addNames(LXConjugationWriter &writer, const std::vector<TenseRow> &rows)
{
    for (const TenseRow &row : rows) {
        if (row.source == "person")
            writer.addPersonName(utf8(row.name));
    }
    uint32_t lastTense = LXTenseFirst;
    for (const TenseRow &row : rows) {
        if (row.isTense())
            lastTense = std::max(lastTense, row.code);
    }
    for (uint32_t code = LXTenseFirst; code <= lastTense; ++code) {
        std::string name;
        for (const TenseRow &row : rows) {
            if (row.code == code && row.isTense())
                name = row.name;
        }
        writer.addTenseName(utf8(name));
    }
}

// Each ending of each simple finite tense and person of each model.
std::vector<LXSuffixModel> suffixModels(LXLanguage language, const std::vector<TenseRow> &rows,
                                        const std::map<uint32_t, LXModelCache> &models)
{
    std::set<uint32_t> compound;
    for (const TenseRow &row : rows) {
        if (row.isCompound())
            compound.insert(row.code);
    }
    std::vector<LXSuffixModel> suffixes;
    // English models store no endings: the conjugator makes every form from the verb's
    // switches and entries, and the inflected-form index holds each of them.
    if (language == LXEnglish)
        return suffixes;
    for (const auto &m : models) {
        for (LXList<LXTenseInfo>::const_iterator t = m.second.tenses.begin(); !t.isAtEnd(); ++t) {
            if (LXConjugator::isPersonless(language, (*t).tense) || compound.count((*t).tense))
                continue;
            for (LXCodeTextList::const_iterator p = (*t).persons.begin(); !p.isAtEnd(); ++p) {
                LXList<lxstring> endings;
                LXConjugator::splitForms((*p).second, endings);
                for (LXList<lxstring>::iterator e = endings.begin(); !e.isAtEnd(); ++e) {
                    LXSuffixModel s;
                    s.model = m.first;
                    s.tense = (*t).tense;
                    s.person = (*p).first;
                    s.ending = *e;
                    LXUtilities::reverse(s.ending);
                    suffixes.push_back(s);
                }
            }
        }
    }
    return suffixes;
}

bool verifyModule(const BuildOptions &options, const std::map<uint32_t, LXModelCache> &models,
                  const std::vector<ModuleVerb> &verbs, const std::vector<LXSuffixModel> &suffixes,
                  uint32_t formCount, std::string &error)
{
    LXCompressor *compressor = LXCompressor::create();
    LXConjugator conjugator;
    conjugator.setCompressor(compressor);
    bool ok = conjugator.openModule(utf8(options.output));
    if (!ok)
        error = "the written module does not open";
    for (auto m = models.begin(); ok && m != models.end(); ++m) {
        LXModelCache cache;
        conjugator.loadModel(m->first, cache);
        if (cache.model != m->first || cache.tenses.size() != m->second.tenses.size() ||
            cache.features.size() != m->second.features.size()) {
            error = "model " + std::to_string(m->first) + " does not read back";
            ok = false;
        }
    }
    for (size_t i = 0; ok && i < suffixes.size(); ++i) {
        LXList<LXSuffixModel> found;
        conjugator.findSuffixModels(suffixes[i].ending, found);
        bool hit = false;
        for (LXList<LXSuffixModel>::iterator f = found.begin(); !f.isAtEnd(); ++f)
            hit = hit || *f == suffixes[i];
        if (!hit) {
            error = "suffix model not found: " + bytes(suffixes[i].ending);
            ok = false;
        }
    }
    // The inflected-form index in stream order: every record there, in search order.
    if (ok) {
        uint32_t position = 0, count = 0;
        LXStem previous, stem;
        while (ok) {
            uint32_t next = conjugator.readVerbForm(position, stem);
            if (next <= position || stem.word.empty())
                break;
            if (count > 0 && previous.word.compare(stem.word, true, true, LXLanguageNone) > 0) {
                error = "inflected forms out of order at " + bytes(stem.word);
                ok = false;
            }
            previous = stem;
            ++count;
            position = next;
        }
        if (ok && count != formCount) {
            error = "inflected-form index holds " + std::to_string(count) + " records, not " +
                    std::to_string(formCount);
            ok = false;
        }
    }
    uint32_t sample = 0;
    for (size_t i = 0; ok && i < verbs.size(); ++i) {
        const LXVerb &written = verbs[i].verb;
        LXVerb verb;
        std::string infinitive = bytes(written.infinitive);
        if (!conjugator.findVerb(written.infinitive, verb) ||
            verb.infinitive.compare(written.infinitive, false, false, LXLanguageNone) != 0 ||
            verb.model != written.model) {
            error = "verb not found: " + infinitive;
            ok = false;
            break;
        }
        for (const auto &entry : verbs[i].forms) {
            uint32_t tense = entry.first.first, person = entry.first.second;
            LXList<lxstring> forms;
            conjugator.getConjugations(verb, tense, person, forms);
            std::vector<std::string> got;
            for (LXList<lxstring>::iterator f = forms.begin(); !f.isAtEnd(); ++f)
                got.push_back(bytes(*f));
            if (got != entry.second) {
                std::string gotText, wantText;
                for (const std::string &g : got)
                    gotText += (gotText.empty() ? "" : ",") + g;
                for (const std::string &w : entry.second)
                    wantText += (wantText.empty() ? "" : ",") + w;
                error = "conjugation differs: " + infinitive + " " + std::to_string(tense) + "/" +
                        std::to_string(person) + ": " + gotText + " for " + wantText;
                ok = false;
                break;
            }
            for (const std::string &form : entry.second) {
                // The index was read through in order above; a sample of the forms is
                // also searched for (searching all of them would take half a minute).
                if (sample++ % 16 != 0)
                    continue;
                LXList<LXStem> stems;
                conjugator.findVerbForms(utf8(form), stems);
                bool hit = false;
                for (LXList<LXStem>::iterator s = stems.begin(); !s.isAtEnd(); ++s) {
                    hit = hit || ((*s).tense == tense && (*s).person == person &&
                                  (*s).base.compare(written.infinitive, false, false, LXLanguageNone) == 0);
                }
                if (!hit) {
                    error = "inflected form not found: " + form + " of " + infinitive;
                    ok = false;
                    break;
                }
            }
        }
    }
    conjugator.closeModule();
    delete compressor;
    return ok;
}

} // namespace

void listCompoundTenses(const std::vector<TenseRow> &rows, LXModelCache &model)
{
    for (const TenseRow &row : rows) {
        if (!row.isCompound())
            continue;
        for (LXList<LXTenseInfo>::const_iterator t = model.tenses.begin(); !t.isAtEnd(); ++t) {
            if ((*t).tense != row.auxiliaryTense())
                continue;
            LXTenseInfo info;
            info.tense = row.code;
            for (LXCodeTextList::const_iterator p = (*t).persons.begin(); !p.isAtEnd(); ++p)
                info.persons.push_back(LXCodeText((*p).first, lxstring(LXEncodingUtf8)));
            model.tenses.push_back(info);
            break;
        }
    }
}

bool writeModule(const BuildOptions &options, LXLanguage language, const std::vector<TenseRow> &rows,
                 const std::map<uint32_t, LXModelCache> &models, const std::vector<ModuleVerb> &verbs,
                 BuildReport &report, std::string &error)
{
    LXConjugationWriter writer(language);
    addNames(writer, rows);
    for (const auto &m : models)
        writer.addModel(m.second);
    std::vector<LXStemmingModel> stemming;
    if (!readStemmingRules(options.dataDir + "/" + options.language + "-stems.txt", stemming, error))
        return false;
    for (const LXStemmingModel &s : stemming)
        writer.addStemmingModel(s);
    std::vector<LXSuffixModel> suffixes = suffixModels(language, rows, models);
    for (const LXSuffixModel &s : suffixes)
        writer.addSuffixModel(s);
    for (const ModuleVerb &v : verbs) {
        writer.addVerb(v.verb);
        for (const FormTable *table : {&v.forms, &v.variants}) {
        for (const auto &entry : *table) {
            for (const std::string &form : entry.second) {
                LXStem stem;
                stem.source = 1;
                stem.tense = entry.first.first;
                stem.person = entry.first.second;
                stem.word = utf8(form);
                stem.base = v.verb.infinitive;
                writer.addVerbForm(stem);
            }
        }
        }
    }
    LXCompressor *compressor = LXCompressor::create();
    bool ok = writer.write(utf8(options.output), compressor, true, error);
    delete compressor;
    if (!ok)
        return false;
    report.models = static_cast<uint32_t>(models.size());
    report.verbs = writer.verbCount();
    report.forms = writer.verbFormCount();
    report.suffixModels = static_cast<uint32_t>(suffixes.size());
    report.stemmingModels = static_cast<uint32_t>(stemming.size());
    return !options.verify || (verifyModule(options, models, verbs, suffixes, report.forms, error) &&
                               verifyStemmingModels(utf8(options.output), stemming, error));
}
