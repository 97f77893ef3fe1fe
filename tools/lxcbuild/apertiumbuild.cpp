// The Spanish and Portuguese modules from the generators of Debian's apertium packages:
// every verb's forms listed with lt-paradigm, the tenses the generator lacks derived from
// others by the tense table's rules, reviewed corrections applied, and the verbs grouped
// into models (romancemodels.h).
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <set>
#include <sstream>

#include "apertium.h"
#include "lxconjugator.h"
#include "moduledata.h"
#include "modulewriter.h"
#include "romancemodels.h"

namespace {

// The verb categories of apertium's dictionaries: lexical verbs, "ser", "haber"/"ter"
// and the modal verbs.
const char *const kVerbCategories[] = {"vblex", "vbser", "vbhaver", "vbmod"};

bool isVerbCategory(const std::string &tag)
{
    for (const char *c : kVerbCategories) {
        if (tag == c)
            return true;
    }
    return false;
}

// The person code of an entry's person and number tags; 0 when it has none.
uint32_t personOf(const ParadigmEntry &e)
{
    static const char *const persons[] = {"p1", "p2", "p3"};
    for (int p = 0; p < 3; ++p) {
        if (std::find(e.tags.begin(), e.tags.end(), persons[p]) == e.tags.end())
            continue;
        if (std::find(e.tags.begin(), e.tags.end(), "sg") != e.tags.end())
            return LXPersonFirst + p;
        if (std::find(e.tags.begin(), e.tags.end(), "pl") != e.tags.end())
            return LXPersonFirst + 3 + p;
    }
    return 0;
}

// A soft hyphen (U+00AD) that the data carries inside some forms is dropped.
std::string withoutSoftHyphens(std::string form)
{
    size_t at;
    while ((at = form.find("\xC2\xAD")) != std::string::npos)
        form.erase(at, 2);
    return form;
}

void addForm(std::vector<std::string> &forms, const std::string &form)
{
    if (std::find(forms.begin(), forms.end(), form) == forms.end())
        forms.push_back(form);
}

// Replaces the last occurrence of from by to; false when there is none.
bool replaceLast(std::string &form, const std::string &from, const std::string &to)
{
    size_t at = form.rfind(from);
    if (at == std::string::npos)
        return false;
    form.replace(at, from.size(), to);
    return true;
}

bool endsWith(const std::string &s, const std::string &end)
{
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

bool personListed(const TenseRow &row, uint32_t person)
{
    return std::find(row.persons.begin(), row.persons.end(), person) != row.persons.end();
}

// The forms of one lemma by the tense table's apertium rows.
FormTable formsOfLemma(LXLanguage language, const std::vector<TenseRow> &rows,
                       const std::vector<ParadigmEntry> &entries)
{
    FormTable table;
    for (const TenseRow &row : rows) {
        if (!row.isApertium())
            continue;
        std::vector<std::string> tags = row.apertiumTags();
        bool personless = row.persons.size() == 1 && LXConjugator::isPersonless(language, row.code);
        for (const ParadigmEntry &e : entries) {
            if (!e.hasTags(tags))
                continue;
            uint32_t person = personless ? static_cast<uint32_t>(LXPersonFirst) : personOf(e);
            if (person == 0 || !personListed(row, person))
                continue;
            addForm(table[std::make_pair(row.code, person)], withoutSoftHyphens(e.form));
        }
    }
    return table;
}

// The forms of the tense table's derived rows, from the other tenses' forms.
void deriveForms(const std::vector<TenseRow> &rows, FormTable &table)
{
    for (const TenseRow &row : rows) {
        uint32_t source;
        std::string from, to;
        if (!row.derivation(source, from, to))
            continue;
        for (uint32_t person : row.persons) {
            auto s = table.find(std::make_pair(source, person));
            if (s == table.end())
                continue;
            std::vector<std::string> &forms = table[std::make_pair(row.code, person)];
            for (std::string form : s->second) {
                if (replaceLast(form, from, to))
                    addForm(forms, form);
            }
            if (forms.empty())
                table.erase(std::make_pair(row.code, person));
        }
    }
}

// Reviewed corrections of plainly wrong forms: infinitive | tense | person | wrong | right
// | reason. Each must still find the form it corrects.
// An empty right form drops the wrong one. Corrections whose form is not found stay in
// the list for a later pass (after the derived tenses are made); with last set they fail.
bool applyCorrections(std::vector<Correction> &corrections, bool last, std::map<std::string, FormTable> &verbs,
                      BuildReport &report, std::string &error)
{
    std::vector<Correction> pending;
    for (const Correction &k : corrections) {
        uint32_t tense = static_cast<uint32_t>(std::atoi(k.table.c_str()));
        uint32_t person = static_cast<uint32_t>(k.slot);
        auto v = verbs.find(k.templateName);
        bool applied = false;
        if (v != verbs.end()) {
            auto slot = v->second.find(std::make_pair(tense, person));
            if (slot != v->second.end()) {
                std::vector<std::string> &forms = slot->second;
                for (size_t f = 0; f < forms.size(); ++f) {
                    if (forms[f] != k.wrong)
                        continue;
                    applied = true;
                    if (k.right.empty())
                        forms.erase(forms.begin() + f--);
                    else
                        forms[f] = k.right;
                }
            }
        }
        if (!applied && last) {
            error = "correction no longer applies: " + k.templateName + " " + k.table + "/" +
                    std::to_string(person) + " " + k.wrong;
            return false;
        }
        if (!applied) {
            pending.push_back(k);
            continue;
        }
        report.notes.push_back("corrected " + k.templateName + " " + k.table + "/" + std::to_string(person) + " " +
                               k.wrong + " -> " + k.right + " (" + k.reason + ")");
    }
    corrections.swap(pending);
    return true;
}

// Spelling fixes of a whole class of verbs: lemma ending | tenses ("*" or codes) | from |
// to | reason. In each form of the tenses of a lemma with that ending, every "from" is
// replaced by "to" (only a final one when "from" ends in "$"). Each line must still
// change some form.
bool applySpellingFixes(const std::string &path, std::map<std::string, FormTable> &verbs, BuildReport &report,
                        std::string &error)
{
    std::vector<std::vector<std::string>> lines;
    if (!readColumns(path, 5, lines, error))
        return false;
    for (const std::vector<std::string> &c : lines) {
        if (c[0].empty() || c[2].empty()) {
            error = path + ": a lemma ending and the text to replace are needed: " + c[0] + " | " + c[2];
            return false;
        }
        std::set<uint32_t> tenses;
        if (c[1] != "*") {
            std::stringstream t(c[1]);
            uint32_t code;
            while (t >> code)
                tenses.insert(code);
        }
        const bool anchored = c[2].back() == '$';
        const std::string from = anchored ? c[2].substr(0, c[2].size() - 1) : c[2];
        size_t changed = 0;
        for (auto &v : verbs) {
            if (!endsWith(v.first, c[0]))
                continue;
            for (auto &slot : v.second) {
                if (!tenses.empty() && !tenses.count(slot.first.first))
                    continue;
                for (std::string &form : slot.second) {
                    if (anchored) {
                        if (endsWith(form, from)) {
                            form.replace(form.size() - from.size(), from.size(), c[3]);
                            ++changed;
                        }
                        continue;
                    }
                    size_t at;
                    while ((at = form.find(from)) != std::string::npos) {
                        form.replace(at, from.size(), c[3]);
                        ++changed;
                    }
                }
            }
        }
        if (changed == 0) {
            error = "spelling fix no longer applies: -" + c[0] + " " + c[2];
            return false;
        }
        report.notes.push_back("spelling: -" + c[0] + " " + c[2] + " -> " + c[3] + " in " + std::to_string(changed) +
                               " forms (" + c[4] + ")");
    }
    return true;
}

// Verbs whose data is wrong in many forms, conjugated like another verb: infinitive |
// like | reason. Answers infinitive -> the verb it is conjugated like.
bool readLikes(const std::string &path, std::map<std::string, std::string> &likes, std::string &error)
{
    std::vector<std::vector<std::string>> lines;
    if (!readColumns(path, 3, lines, error))
        return false;
    for (const std::vector<std::string> &c : lines) {
        if (c[0].empty() || c[1].empty()) {
            error = path + ": an infinitive and the verb it is conjugated like are needed: " + c[0];
            return false;
        }
        likes[c[0]] = c[1];
    }
    return true;
}

} // namespace

bool isApertiumLanguage(const std::string &language)
{
    return language == "es" || language == "pt";
}

bool buildApertiumModule(const BuildOptions &options, const std::vector<TenseRow> &rows, BuildReport &report,
                         std::string &error)
{
    LXLanguage language = static_cast<LXLanguage>(languageCode(options.language));
    if (options.transducer.empty()) {
        error = "--apertium names the generator of " + options.language;
        return false;
    }
    std::vector<std::string> patterns;
    for (const char *c : kVerbCategories)
        patterns.push_back(std::string("*<") + c + "><*>");
    std::vector<ParadigmEntry> entries;
    if (!listParadigms(options.transducer, false, patterns, entries, error))
        return false;

    // Lemmas with their forms; a lemma listed under two categories ("ter" as a lexical
    // verb and as the auxiliary) keeps the forms of both.
    std::map<std::string, std::vector<ParadigmEntry>> byLemma = groupByLemma(entries);
    std::map<std::string, FormTable> tables;
    std::set<std::string> reflexive;
    for (const auto &l : byLemma) {
        if (l.second.empty() || l.second[0].tags.empty() || !isVerbCategory(l.second[0].tags[0]))
            continue;
        FormTable t = formsOfLemma(language, rows, l.second);
        t.erase(std::make_pair(static_cast<uint32_t>(LXTenseFirst), static_cast<uint32_t>(LXPersonFirst)));
        if (t.empty()) {
            report.notes.push_back("left out (no simple forms): " + l.first);
            continue;
        }
        tables[l.first] = t;
        if (l.second[0].hasTags({"pron"}))
            reflexive.insert(l.first);
    }
    const std::string data = options.dataDir + "/" + options.language;
    std::map<std::string, std::string> likes;
    std::vector<Correction> corrections;
    if (!readCorrections(data + "-corrections.txt", corrections, error) ||
        !applySpellingFixes(data + "-spelling.txt", tables, report, error) ||
        !applyCorrections(corrections, false, tables, report, error))
        return false;
    for (auto &t : tables)
        deriveForms(rows, t.second);
    if (!applyCorrections(corrections, true, tables, report, error) || !readLikes(data + "-likes.txt", likes, error))
        return false;

    std::map<std::string, uint32_t> fixed;
    for (const TenseRow &row : rows) {
        if (!row.modelTemplate().empty())
            fixed[row.modelTemplate()] = row.code;
    }
    std::vector<ModelVerb> verbs;
    for (const auto &t : tables) {
        ModelVerb v;
        v.infinitive = t.first;
        v.forms = t.second;
        v.auxiliary = fixed.count(t.first) > 0;
        verbs.push_back(v);
    }
    for (const auto &f : fixed) {
        if (!tables.count(f.first)) {
            error = "auxiliary verb missing from the data: " + f.first;
            return false;
        }
    }
    std::vector<InducedModel> induced;
    std::vector<size_t> modelOf;
    induceModels(language, verbs, induced, modelOf);
    // The verbs conjugated like another take its model, and the forms it gives them.
    std::map<std::string, size_t> indexOf;
    for (size_t i = 0; i < verbs.size(); ++i)
        indexOf[verbs[i].infinitive] = i;
    for (const auto &like : likes) {
        auto v = indexOf.find(like.first), l = indexOf.find(like.second);
        if (v == indexOf.end() || l == indexOf.end() || likes.count(like.second)) {
            error = "conjugated like: unknown verb, or a verb itself on the list: " + like.first + " | " + like.second;
            return false;
        }
        size_t m = modelOf[l->second];
        if (!endsWith(like.first, induced[m].ending)) {
            // A reflexive verb like a plain one: the plain verb's model with "se" on its ending.
            InducedModel reflexive = induced[m];
            reflexive.ending += "se";
            if (!endsWith(like.first, reflexive.ending)) {
                error = like.first + " does not end in -" + induced[m].ending + " like " + like.second;
                return false;
            }
            m = induced.size();
            for (size_t k = 0; k < induced.size(); ++k) {
                if (induced[k].ending == reflexive.ending && induced[k].rules == reflexive.rules &&
                    induced[k].endings == reflexive.endings)
                    m = k;
            }
            if (m == induced.size())
                induced.push_back(reflexive);
        }
        modelOf[v->second] = m;
        verbs[v->second].forms = formsOf(language, induced[m], like.first);
        report.notes.push_back("conjugated like " + like.second + ": " + like.first);
    }
    // Models no verb uses any more are dropped.
    {
        std::vector<size_t> renumber(induced.size(), SIZE_MAX);
        std::vector<InducedModel> kept;
        for (size_t &m : modelOf) {
            if (renumber[m] == SIZE_MAX) {
                renumber[m] = kept.size();
                kept.push_back(induced[m]);
            }
            m = renumber[m];
        }
        induced.swap(kept);
    }

    // Model numbers: the auxiliaries on theirs, the others from 1 in order of first use.
    std::set<uint32_t> taken;
    for (const auto &f : fixed)
        taken.insert(f.second);
    std::vector<uint32_t> numberOf(induced.size(), 0);
    uint32_t next = 1;
    for (size_t i = 0; i < verbs.size(); ++i) {
        uint32_t &n = numberOf[modelOf[i]];
        if (n)
            continue;
        if (verbs[i].auxiliary) {
            n = fixed[verbs[i].infinitive];
            continue;
        }
        while (taken.count(next))
            ++next;
        n = next++;
    }
    for (uint32_t n : numberOf) {
        if (n == 0 || n > 255) {
            error = std::to_string(induced.size()) + " models are needed, more than a module holds (255)";
            return false;
        }
    }

    std::map<uint32_t, LXModelCache> caches;
    std::map<uint32_t, bool> onlyThird;
    for (size_t m = 0; m < induced.size(); ++m) {
        LXModelCache &cache = caches[numberOf[m]];
        cache.model = numberOf[m];
        cache.features = induced[m].features();
        // The infinitive is the verb's own (the conjugator never reads this entry); it is
        // stored so that the tense list names it.
        LXTenseInfo infinitive;
        infinitive.tense = LXTenseFirst;
        infinitive.persons.push_back(LXCodeText(LXPersonFirst, lxstring(induced[m].ending.c_str(), LXEncodingUtf8)));
        cache.tenses.push_back(infinitive);
        bool personal = false, other = false;
        for (const TenseRow &row : rows) {
            if ((!row.isApertium() && !row.isDerived()) || row.code == LXTenseFirst)
                continue;
            bool listed = false;
            for (LXList<LXTenseInfo>::const_iterator t = cache.tenses.begin(); !t.isAtEnd(); ++t)
                listed = listed || (*t).tense == row.code;
            if (listed)
                continue;       // a second row of the same tense: its persons come below
            LXTenseInfo info;
            info.tense = row.code;
            for (uint32_t person = LXPersonFirst; person <= LXPersonLast; ++person) {
                auto e = induced[m].endings.find(std::make_pair(row.code, person));
                if (e == induced[m].endings.end())
                    continue;
                std::string text;
                for (size_t a = 0; a < e->second.size(); ++a)
                    text += (a ? "," : "") + e->second[a];
                info.persons.push_back(LXCodeText(person, lxstring(text.c_str(), LXEncodingUtf8)));
                if (!LXConjugator::isPersonless(language, row.code)) {
                    personal = true;
                    other = other || person != 39;
                }
            }
            if (!info.persons.empty())
                cache.tenses.push_back(info);
        }
        listCompoundTenses(rows, cache);
        onlyThird[numberOf[m]] = personal && !other;
    }

    std::vector<ModuleVerb> written;
    for (size_t i = 0; i < verbs.size(); ++i) {
        ModuleVerb w;
        w.verb.model = numberOf[modelOf[i]];
        w.verb.infinitive = lxstring(verbs[i].infinitive.c_str(), LXEncodingUtf8);
        if (reflexive.count(verbs[i].infinitive))
            w.verb.addEntry(LXFeatureReflexive, lxstring(LXEncodingUtf8));
        if (onlyThird[w.verb.model])
            w.verb.addEntry(LXFeatureOnlyThirdPerson, lxstring(LXEncodingUtf8));
        w.forms = verbs[i].forms;
        written.push_back(w);
    }
    report.notes.push_back(std::to_string(induced.size()) + " models for " + std::to_string(verbs.size()) + " verbs");
    std::vector<size_t> users(induced.size(), 0);
    std::vector<std::string> example(induced.size());
    for (size_t i = 0; i < verbs.size(); ++i) {
        if (users[modelOf[i]]++ == 0)
            example[modelOf[i]] = verbs[i].infinitive;
    }
    // A verb alone on its model that a shared model misses by one or two forms: a
    // candidate for the corrections file (a typo in the data), to be reviewed.
    for (size_t i = 0; i < verbs.size(); ++i) {
        if (users[modelOf[i]] > 2 || verbs[i].auxiliary)
            continue;
        for (size_t m = 0; m < induced.size(); ++m) {
            if (users[m] < 3 || !endsWith(verbs[i].infinitive, induced[m].ending))
                continue;
            FormTable would = formsOf(language, induced[m], verbs[i].infinitive);
            std::string differences;
            int count = 0;
            for (const auto &slot : verbs[i].forms) {
                auto w = would.find(slot.first);
                std::string theirs = w == would.end() || w->second.empty() ? "" : w->second[0];
                if (theirs != slot.second[0]) {
                    ++count;
                    differences += " " + std::to_string(slot.first.first) + "/" + std::to_string(slot.first.second) +
                                   " " + slot.second[0] + " (model: " + theirs + ")";
                }
            }
            if (count > 0 && count <= 2 && would.size() == verbs[i].forms.size())
                report.notes.push_back("near model " + std::to_string(numberOf[m]) + ": " + verbs[i].infinitive +
                                       differences);
        }
    }
    for (size_t m = 0; m < induced.size(); ++m) {
        std::string rules;
        for (int r : induced[m].rules)
            rules += " " + std::to_string(r);
        report.notes.push_back("model " + std::to_string(numberOf[m]) + ": -" + induced[m].ending + ", rules" +
                               (rules.empty() ? " none" : rules) + ", " + std::to_string(users[m]) + " verbs (" +
                               example[m] + ")");
    }
    return writeModule(options, language, rows, caches, written, report, error);
}
