#include "moduledata.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "base/lxutilities.h"
#include "format/lxcompressor.h"
#include "lxconjugationwriter.h"
#include "lxconjugator.h"
#include "modulewriter.h"
#include "utf8text.h"

namespace {

std::string trim(const std::string &t)
{
    size_t a = t.find_first_not_of(" \t\r\n");
    if (a == std::string::npos)
        return std::string();
    size_t b = t.find_last_not_of(" \t\r\n");
    return t.substr(a, b - a + 1);
}

bool readLines(const std::string &path, std::vector<std::string> &lines, std::string &error)
{
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        std::string t = trim(line);
        if (t.empty() || t[0] == '#')
            continue;
        lines.push_back(line);
    }
    return true;
}

bool parseNumber(const std::string &t, uint32_t &v)
{
    if (t.empty() || t.find_first_not_of("0123456789") != std::string::npos)
        return false;
    v = static_cast<uint32_t>(std::stoul(t));
    return true;
}

bool parsePersons(const std::string &t, std::vector<uint32_t> &persons)
{
    persons.clear();
    if (t == "-")
        return true;
    std::stringstream s(t);
    std::string piece;
    while (std::getline(s, piece, ',')) {
        size_t dash = piece.find('-');
        uint32_t a, b;
        if (dash == std::string::npos) {
            if (!parseNumber(piece, a))
                return false;
            persons.push_back(a);
        } else {
            if (!parseNumber(piece.substr(0, dash), a) || !parseNumber(piece.substr(dash + 1), b) || b < a)
                return false;
            for (uint32_t p = a; p <= b; ++p)
                persons.push_back(p);
        }
    }
    return true;
}

// Letters (of the Latin-1 range), apostrophe and hyphen, beginning with a letter.
bool plausibleInfinitive(const std::string &s)
{
    lxstring t = utf8(s);
    if (t.empty() || !lx_isalpha(t[0]))
        return false;
    for (lxstring_iterator it = t.begin(); !it.isAtEnd(); ++it) {
        uint32_t c = *it;
        if (!lx_isalpha(c) && c != '\'' && c != '-')
            return false;
    }
    return true;
}

bool endsWith(const std::string &s, const std::string &end)
{
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

} // namespace

bool TenseRow::isSimple() const
{
    return source.find('/') != std::string::npos;
}

bool TenseRow::isCompound() const
{
    return source.compare(0, 9, "compound ") == 0;
}

std::string TenseRow::table() const
{
    size_t hash = source.find('#');
    return hash == std::string::npos ? source : source.substr(0, hash);
}

int TenseRow::slot() const
{
    size_t hash = source.find('#');
    return hash == std::string::npos ? 0 : std::atoi(source.c_str() + hash + 1);
}

bool TenseRow::slotPerson(size_t k, uint32_t &person) const
{
    const int only = slot();
    if (only > 0) {
        if (static_cast<int>(k) + 1 != only)
            return false;
        person = LXPersonFirst;
        return true;
    }
    if (k >= persons.size())
        return false;
    person = persons[k];
    return true;
}

bool TenseRow::isApertium() const
{
    return source.compare(0, 9, "apertium ") == 0;
}

bool TenseRow::isDerived() const
{
    return source.compare(0, 8, "derived ") == 0;
}

bool TenseRow::isRules() const
{
    return source == "rules";
}

bool TenseRow::isTense() const
{
    return isSimple() || isCompound() || isApertium() || isDerived() || isRules() || source == "unused";
}

std::vector<std::string> TenseRow::apertiumTags() const
{
    std::vector<std::string> tags;
    if (!isApertium())
        return tags;
    std::stringstream s(source.substr(9));
    std::string tag;
    while (s >> tag)
        tags.push_back(tag);
    return tags;
}

bool TenseRow::derivation(uint32_t &tense, std::string &from, std::string &to) const
{
    if (!isDerived())
        return false;
    std::stringstream s(source.substr(8));
    std::string number, change;
    if (!(s >> number >> change) || !parseNumber(number, tense))
        return false;
    size_t arrow = change.find('>');
    if (arrow == std::string::npos || arrow == 0)
        return false;
    from = change.substr(0, arrow);
    to = change.substr(arrow + 1);
    return true;
}

uint32_t TenseRow::auxiliaryTense() const
{
    return isCompound() ? static_cast<uint32_t>(std::atoi(source.c_str() + 9)) : 0;
}

std::string TenseRow::modelTemplate() const
{
    return source.compare(0, 6, "model ") == 0 ? trim(source.substr(6)) : std::string();
}

std::vector<std::string> splitColumns(const std::string &line)
{
    std::vector<std::string> out;
    std::stringstream s(line);
    std::string piece;
    while (std::getline(s, piece, '|'))
        out.push_back(trim(piece));
    if (!line.empty() && line.back() == '|')
        out.push_back(std::string());
    return out;
}

bool readColumns(const std::string &path, size_t columns, std::vector<std::vector<std::string>> &rows,
                 std::string &error)
{
    std::ifstream probe(path);
    if (!probe)
        return true;
    std::vector<std::string> lines;
    if (!readLines(path, lines, error))
        return false;
    for (const std::string &line : lines) {
        std::vector<std::string> c = splitColumns(line);
        if (c.size() != columns) {
            error = path + ": " + std::to_string(columns) + " columns expected: " + line;
            return false;
        }
        rows.push_back(c);
    }
    return true;
}

uint32_t languageCode(const std::string &language)
{
    if (language == "en")
        return LXEnglish;
    if (language == "de")
        return LXGerman;
    if (language == "fr")
        return LXFrench;
    if (language == "it")
        return LXItalian;
    if (language == "es")
        return LXSpanish;
    if (language == "pt")
        return LXPortuguese;
    return 0;
}

bool readTenseTable(const std::string &path, const std::string &language, std::vector<TenseRow> &rows,
                    std::string &error)
{
    std::vector<std::string> lines;
    if (!readLines(path, lines, error))
        return false;
    for (const std::string &line : lines) {
        std::vector<std::string> c = splitColumns(line);
        if (c.size() < 6) {
            error = path + ": six columns expected: " + line;
            return false;
        }
        if (c[0] != language)
            continue;
        TenseRow row;
        row.language = c[0];
        row.source = c[2];
        row.heading = c[3] == "-" ? std::string() : c[3];
        row.name = c[5];
        uint32_t from;
        std::string a, b;
        if (!parseNumber(c[1], row.code) || !parsePersons(c[4], row.persons) ||
            (row.isDerived() && !row.derivation(from, a, b))) {
            error = path + ": bad code, persons or derivation: " + line;
            return false;
        }
        rows.push_back(row);
    }
    if (rows.empty()) {
        error = path + ": no rows for " + language;
        return false;
    }
    return true;
}

bool readVerbFeatures(const std::string &path, std::map<std::string, std::vector<uint32_t>> &features,
                      std::string &error)
{
    std::vector<std::string> lines;
    if (!readLines(path, lines, error))
        return false;
    for (const std::string &line : lines) {
        std::vector<std::string> c = splitColumns(line);
        if (c.size() != 2 || c[0].empty()) {
            error = path + ": infinitive | codes expected: " + line;
            return false;
        }
        std::stringstream s(c[1]);
        uint32_t code;
        std::vector<uint32_t> &codes = features[c[0]];
        while (s >> code) {
            if (code == 0 || code > 72) {
                error = path + ": feature code out of range: " + line;
                return false;
            }
            codes.push_back(code);
        }
    }
    return true;
}

bool readCorrections(const std::string &path, std::vector<Correction> &corrections, std::string &error)
{
    std::ifstream probe(path);
    if (!probe)
        return true;    // a language may have none
    std::vector<std::string> lines;
    if (!readLines(path, lines, error))
        return false;
    for (const std::string &line : lines) {
        std::vector<std::string> c = splitColumns(line);
        if (c.size() != 6) {
            error = path + ": six columns expected: " + line;
            return false;
        }
        Correction k;
        k.templateName = c[0];
        k.table = c[1];
        k.slot = std::atoi(c[2].c_str());
        k.wrong = c[3];
        k.right = c[4];
        k.reason = c[5];
        corrections.push_back(k);
    }
    return true;
}

namespace {

struct Model {
    uint32_t number = 0;
    const VerbisteTemplate *tpl = nullptr;
    LXModelCache cache;
    bool onlyThirdPerson = false;
};

void expectedForms(const std::vector<TenseRow> &rows, const VerbisteTemplate &tpl, const std::string &radical,
                   FormTable &table)
{
    table.clear();
    for (const TenseRow &row : rows) {
        if (!row.isSimple())
            continue;
        auto t = tpl.tenses.find(row.table());
        if (t == tpl.tenses.end())
            continue;
        const std::vector<VerbisteSlot> &slots = t->second;
        for (size_t k = 0; k < slots.size(); ++k) {
            uint32_t person;
            if (!row.slotPerson(k, person))
                continue;
            std::vector<std::string> &forms = table[std::make_pair(row.code, person)];
            for (const std::string &ending : slots[k]) {
                std::string form = radical + ending;
                if (std::find(forms.begin(), forms.end(), form) == forms.end())
                    forms.push_back(form);
            }
            if (forms.empty())
                table.erase(std::make_pair(row.code, person));
        }
    }
}

} // namespace

bool buildModule(const BuildOptions &options, BuildReport &report, std::string &error)
{
    uint32_t language = languageCode(options.language);
    if (!language) {
        error = "unknown language " + options.language;
        return false;
    }
    std::vector<TenseRow> rows;
    if (options.language == "en") {
        return readTenseTable(options.dataDir + "/tenses.txt", options.language, rows, error) &&
               buildEnglishModule(options, rows, report, error);
    }
    if (options.language == "de") {
        return readTenseTable(options.dataDir + "/tenses.txt", options.language, rows, error) &&
               buildGermanModule(options, rows, report, error);
    }
    if (isApertiumLanguage(options.language)) {
        return readTenseTable(options.dataDir + "/tenses.txt", options.language, rows, error) &&
               buildApertiumModule(options, rows, report, error);
    }
    std::map<std::string, std::vector<uint32_t>> listed;
    std::vector<Correction> corrections;
    std::vector<VerbisteTemplate> templates;
    std::vector<VerbisteVerb> verbisteVerbs;
    if (!readTenseTable(options.dataDir + "/tenses.txt", options.language, rows, error) ||
        !readVerbFeatures(options.dataDir + "/" + options.language + "-verbs.txt", listed, error) ||
        !readCorrections(options.dataDir + "/" + options.language + "-corrections.txt", corrections, error) ||
        !readTemplates(options.verbisteDir + "/conjugation-" + options.language + ".xml", templates, error) ||
        !readVerbs(options.verbisteDir + "/verbs-" + options.language + ".xml", verbisteVerbs, error))
        return false;

    // Reviewed choices among an infinitive's several templates.
    std::map<std::string, std::string> chosen;
    {
        std::ifstream probe(options.dataDir + "/" + options.language + "-duplicates.txt");
        std::vector<std::string> lines;
        if (probe && !readLines(options.dataDir + "/" + options.language + "-duplicates.txt", lines, error))
            return false;
        for (const std::string &line : lines) {
            std::vector<std::string> c = splitColumns(line);
            if (c.size() != 3) {
                error = "duplicates: infinitive | template | reason expected: " + line;
                return false;
            }
            chosen[c[0]] = c[1];
        }
    }
    std::map<std::string, std::string> templateOf;
    std::map<std::string, int> entries;
    for (const VerbisteVerb &v : verbisteVerbs) {
        if (++entries[v.infinitive] == 1)
            templateOf[v.infinitive] = v.templateName;
    }
    for (auto &e : entries) {
        if (e.second < 2)
            continue;
        auto c = chosen.find(e.first);
        if (c == chosen.end()) {
            error = "infinitive listed more than once, choose its template in the duplicates file: " + e.first;
            return false;
        }
        templateOf[e.first] = c->second;
    }

    // A verb that needs corrections its template's other verbs must not get receives a
    // copy of the template of its own.
    for (Correction &k : corrections) {
        if (k.templateName.compare(0, 5, "verb:") != 0)
            continue;
        std::string infinitive = k.templateName.substr(5);
        auto t = templateOf.find(infinitive);
        if (t == templateOf.end()) {
            error = "correction for an unknown verb: " + infinitive;
            return false;
        }
        std::string own = t->second.find('@') == std::string::npos ? t->second + "@" + infinitive : t->second;
        if (t->second != own) {
            for (const VerbisteTemplate &tpl : templates) {
                if (tpl.name == t->second) {
                    VerbisteTemplate copy = tpl;
                    copy.name = own;
                    templates.push_back(copy);
                    break;
                }
            }
            t->second = own;
        }
        k.templateName = own;
    }

    // Corrections of plainly wrong forms; each must still find the form it corrects.
    for (const Correction &k : corrections) {
        bool applied = false;
        for (VerbisteTemplate &tpl : templates) {
            if (tpl.name != k.templateName)
                continue;
            auto t = tpl.tenses.find(k.table);
            if (t == tpl.tenses.end() || k.slot < 1 || static_cast<size_t>(k.slot) > t->second.size())
                break;
            for (std::string &ending : t->second[k.slot - 1]) {
                if (ending == k.wrong) {
                    ending = k.right;
                    applied = true;
                }
            }
        }
        if (!applied) {
            error = "correction no longer applies: " + k.templateName + " " + k.table + " " + k.wrong;
            return false;
        }
        report.notes.push_back("corrected " + k.templateName + " " + k.table + " " + k.wrong + " -> " + k.right);
    }

    // Models: the fixed numbers of the auxiliaries first, the others in file order.
    std::map<std::string, uint32_t> fixed;
    for (const TenseRow &row : rows) {
        if (!row.modelTemplate().empty())
            fixed[row.modelTemplate()] = row.code;
    }
    std::map<uint32_t, Model> models;
    std::map<std::string, uint32_t> numberOf;
    uint32_t next = 1;
    for (const VerbisteTemplate &tpl : templates) {
        if (numberOf.count(tpl.name))
            continue;
        uint32_t number;
        auto f = fixed.find(tpl.name);
        if (f != fixed.end()) {
            number = f->second;
        } else {
            std::set<uint32_t> taken;
            for (const auto &x : fixed)
                taken.insert(x.second);
            while (taken.count(next) || models.count(next))
                ++next;
            number = next++;
        }
        if (number == 0 || number > 255) {
            error = "too many models";
            return false;
        }
        Model &m = models[number];
        m.number = number;
        m.tpl = &tpl;
        numberOf[tpl.name] = number;
        m.cache.model = number;
        if (!tpl.termination.empty())
            m.cache.features.push_back(LXCodeText(LXFeatureModelEnding, utf8(tpl.termination)));
        bool personal = false, other = false;
        for (const TenseRow &row : rows) {
            if (!row.isSimple())
                continue;
            auto t = tpl.tenses.find(row.table());
            if (t == tpl.tenses.end())
                continue;
            LXTenseInfo info;
            info.tense = row.code;
            for (size_t k = 0; k < t->second.size(); ++k) {
                uint32_t person;
                if (!row.slotPerson(k, person))
                    continue;
                const VerbisteSlot &slot = t->second[k];
                if (slot.empty())
                    continue;       // the person does not exist for this model
                std::string text;
                for (size_t a = 0; a < slot.size(); ++a)
                    text += (a ? "," : "") + slot[a];
                info.persons.push_back(LXCodeText(person, utf8(text)));
                if (!LXConjugator::isPersonless(static_cast<LXLanguage>(language), row.code)) {
                    personal = true;
                    other = other || person != 39;
                }
            }
            if (!info.persons.empty())
                m.cache.tenses.push_back(info);
        }
        listCompoundTenses(rows, m.cache);
        m.onlyThirdPerson = personal && !other;
    }
    for (const auto &f : fixed) {
        if (!numberOf.count(f.first)) {
            error = "auxiliary template missing: " + f.first;
            return false;
        }
    }

    std::map<uint32_t, LXModelCache> caches;
    for (const auto &m : models)
        caches[m.first] = m.second.cache;

    // Verbs: the first entry of an infinitive wins; names that are not words are left out.
    std::set<std::string> seen;
    std::vector<ModuleVerb> written;
    for (const VerbisteVerb &v : verbisteVerbs) {
        if (!plausibleInfinitive(v.infinitive)) {
            report.notes.push_back("left out (not a verb): " + v.infinitive);
            continue;
        }
        if (seen.count(v.infinitive) || (templateOf[v.infinitive] != v.templateName &&
                                             templateOf[v.infinitive].find('@') == std::string::npos)) {
            report.notes.push_back("duplicate left out: " + v.infinitive + " " + v.templateName);
            continue;
        }
        const std::string &templateName = templateOf[v.infinitive];
        auto n = numberOf.find(templateName);
        if (n == numberOf.end() || !endsWith(v.infinitive, models[n->second].tpl->termination)) {
            report.notes.push_back("left out (template " + templateName + " does not fit): " + v.infinitive);
            continue;
        }
        seen.insert(v.infinitive);
        const Model &model = models[n->second];
        LXVerb verb;
        verb.model = model.number;
        verb.infinitive = utf8(v.infinitive);
        if (v.aspirateH)
            verb.addEntry(LXFeatureNoElision, lxstring(LXEncodingUtf8));
        if (model.onlyThirdPerson)
            verb.addEntry(LXFeatureOnlyThirdPerson, lxstring(LXEncodingUtf8));
        auto l = listed.find(v.infinitive);
        if (l != listed.end()) {
            for (uint32_t code : l->second)
                verb.addEntry(code, lxstring(LXEncodingUtf8));
        }
        ModuleVerb w;
        w.verb = verb;
        std::string radical = v.infinitive.substr(0, v.infinitive.size() - model.tpl->termination.size());
        expectedForms(rows, *model.tpl, radical, w.forms);
        w.forms.erase(std::make_pair(static_cast<uint32_t>(LXTenseFirst), static_cast<uint32_t>(LXPersonFirst)));
        written.push_back(w);
    }
    for (const auto &l : listed) {
        if (!seen.count(l.first)) {
            error = "listed verb unknown to verbiste: " + l.first;
            return false;
        }
    }

    return writeModule(options, static_cast<LXLanguage>(language), rows, caches, written, report, error);
}
