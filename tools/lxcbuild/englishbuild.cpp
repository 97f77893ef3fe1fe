// The English module from the English generators of Debian's apertium-eng-spa: every verb's
// infinitive, present, past, participle and form in -ing listed with lt-paradigm, turned
// into the conjugator's inflection switches (an ending the conjugator adds) or, where no
// switch makes a form, the verb's own entries. "be", "have" and the modals come from the
// builder's data/en-verbs.txt. The other spelling's generator (British forms such as
// "realised", "travelled") adds index entries that lead to the same verbs.
#include <algorithm>
#include <cstdint>
#include <set>

#include "apertium.h"
#include "base/lxchar.h"
#include "lxconjugator.h"
#include "lxenglishconjugator.h"
#include "moduledata.h"
#include "modulewriter.h"
#include "utf8text.h"

namespace {

const char *const kEnglishCategories[] = {"vblex", "vbser", "vbhaver", "vbmod", "vbdo", "vaux"};

// The one-word forms of a verb, as the generator gives them.
struct EnglishForms {
    std::vector<std::string> infinitive, present, third, past, participle, ing;
    std::map<uint32_t, std::vector<std::string>> pastOf;   // person-specific pasts (be)
};

void addForm(std::vector<std::string> &forms, const std::string &form)
{
    if (!form.empty() && std::find(forms.begin(), forms.end(), form) == forms.end())
        forms.push_back(form);
}

bool has(const ParadigmEntry &e, const char *tag)
{
    return std::find(e.tags.begin(), e.tags.end(), tag) != e.tags.end();
}

void collect(const ParadigmEntry &e, EnglishForms &f)
{
    if (has(e, "inf"))
        addForm(f.infinitive, e.form);
    else if (has(e, "pri") && has(e, "p3") && has(e, "sg"))
        addForm(f.third, e.form);
    else if (has(e, "pri") && has(e, "p1") && has(e, "sg"))
        addForm(f.pastOf[0], e.form);  // "am": kept apart, used only by the hand data check
    else if (has(e, "pres"))
        addForm(f.present, e.form);
    else if (has(e, "past") && (has(e, "p1") || has(e, "p3")))
        addForm(f.pastOf[has(e, "p1") ? 37 : 39], e.form);
    else if (has(e, "past"))
        addForm(f.past, e.form);
    else if (has(e, "pp"))
        addForm(f.participle, e.form);
    else if (has(e, "ger"))
        addForm(f.ing, e.form);
}

// Lowercase letters, apostrophe and hyphen (Latin-1 letters too: "première").
bool plausibleVerb(const std::string &s)
{
    lxstring t = utf8(s);
    if (t.empty() || !lx_isalpha(t[0]))
        return false;
    for (lxstring_iterator it = t.begin(); !it.isAtEnd(); ++it) {
        if (!lx_isalpha(*it) && *it != '\'' && *it != '-')
            return false;
    }
    return true;
}

// Verbs by infinitive (the generator's own spelling), from one generator.
bool readGenerator(const std::string &transducer, std::map<std::string, EnglishForms> &verbs,
                   std::map<std::string, std::string> &infinitiveOfLemma, std::string &error)
{
    std::vector<std::string> patterns;
    for (const char *c : kEnglishCategories)
        patterns.push_back(std::string("*<") + c + "><*>");
    std::vector<ParadigmEntry> entries;
    if (!listParadigms(transducer, false, patterns, entries, error))
        return false;
    std::map<std::string, std::vector<ParadigmEntry>> byLemma = groupByLemma(entries);
    for (const auto &l : byLemma) {
        EnglishForms f;
        for (const ParadigmEntry &e : l.second)
            collect(e, f);
        if (f.infinitive.empty() || !plausibleVerb(f.infinitive[0]))
            continue;
        // Two lemmas of one spelling ("realise" and "realize" both give "realize") are one verb.
        const std::string infinitive = f.infinitive[0];
        infinitiveOfLemma[l.first] = infinitive;
        EnglishForms &into = verbs[infinitive];
        for (auto part : {&EnglishForms::infinitive, &EnglishForms::present, &EnglishForms::third,
                          &EnglishForms::past, &EnglishForms::participle, &EnglishForms::ing}) {
            for (const std::string &form : f.*part)
                addForm(into.*part, form);
        }
        for (const auto &p : f.pastOf) {
            for (const std::string &form : p.second)
                addForm(into.pastOf[p.first], form);
        }
    }
    return true;
}

struct Switch {
    uint32_t code;
    int kind;           // 0 appended, 1 last letter doubled, 2 last letter replaced
    const char *ending;
};

const Switch kPast[] = {{LXEnglishPastEd, 0, "ed"},  {LXEnglishPastDoubledEd, 1, "ed"}, {LXEnglishPastD, 0, "d"},
                        {LXEnglishPastIed, 2, "ied"}, {LXEnglishPastId, 2, "id"},        {LXEnglishPastKed, 0, "ked"},
                        {LXEnglishPastApostropheEd, 0, "'ed"}};
const Switch kPresent[] = {{LXEnglishPresentS, 0, "s"},
                           {LXEnglishPresentIes, 2, "ies"},
                           {LXEnglishPresentEs, 0, "es"},
                           {LXEnglishPresentDoubledEs, 1, "es"},
                           {LXEnglishPresentApostropheS, 0, "'s"}};
const Switch kIng[] = {{LXEnglishIng, 0, "ing"},         {LXEnglishDoubledIng, 1, "ing"},
                       {LXEnglishReplacedIng, 2, "ing"}, {LXEnglishKing, 0, "king"},
                       {LXEnglishApostropheIng, 0, "'ing"}};

// The builder's own reading of a switch; the written module is checked against the
// generator's forms through the conjugator, so the two readings must agree.
std::string applySwitch(const Switch &s, const std::string &infinitive)
{
    lxstring form = utf8(infinitive);
    if (s.kind != 0 && form.empty())
        return std::string();
    if (s.kind == 1)
        form += form[-1];
    else if (s.kind == 2)
        form.chop();
    form += utf8(s.ending);
    return bytes(form);
}

// The switches that make the forms, in switch order with the forms they make; false when
// some form is made by none.
template <size_t N>
bool switchesFor(const Switch (&switches)[N], const std::string &infinitive, const std::vector<std::string> &forms,
                 std::vector<uint32_t> &codes, std::vector<std::string> &made, std::vector<std::string> &left)
{
    std::set<std::string> covered;
    for (const Switch &s : switches) {
        std::string form = applySwitch(s, infinitive);
        if (std::find(forms.begin(), forms.end(), form) != forms.end() && !covered.count(form)) {
            codes.push_back(s.code);
            made.push_back(form);
            covered.insert(form);
        }
    }
    for (const std::string &f : forms) {
        if (!covered.count(f))
            left.push_back(f);
    }
    return left.empty();
}

std::string joined(const std::vector<std::string> &forms)
{
    std::string text;
    for (size_t i = 0; i < forms.size(); ++i)
        text += (i ? "," : "") + forms[i];
    return text;
}

void addEntry(LXVerb &verb, uint32_t code, const std::string &text)
{
    verb.addEntry(code, utf8(text));
}

void setSlot(FormTable &table, uint32_t tense, uint32_t person, const std::vector<std::string> &forms)
{
    if (!forms.empty())
        table[std::make_pair(tense, person)] = forms;
}

// A regular verb: switches where they make the generator's forms, entries elsewhere.
bool regularVerb(const std::string &infinitive, const EnglishForms &f, ModuleVerb &out, std::string &why)
{
    LXVerb &verb = out.verb;
    verb.model = LXEnglishModelRegular;
    verb.infinitive = utf8(infinitive);
    for (const std::string &p : f.present) {
        if (p != infinitive) {
            why = "present " + p + " unlike the infinitive";
            return false;
        }
    }
    std::vector<uint32_t> codes;
    std::vector<std::string> third, past, ing, left;
    if (f.third.empty() || !switchesFor(kPresent, infinitive, f.third, codes, third, left)) {
        why = "no switch makes the third person " + (left.empty() ? std::string("(none)") : left[0]);
        return false;
    }
    std::vector<std::string> pastShown;
    left.clear();
    std::vector<uint32_t> pastCodes;
    if (!f.past.empty() && switchesFor(kPast, infinitive, f.past, pastCodes, past, left)) {
        codes.insert(codes.end(), pastCodes.begin(), pastCodes.end());
        pastShown = past;
    } else if (!f.past.empty()) {
        addEntry(verb, 81, joined(f.past));
        pastShown = f.past;
    }
    std::vector<std::string> participles = f.participle.empty() ? pastShown : f.participle;
    if (!f.participle.empty() &&
        (std::set<std::string>(f.participle.begin(), f.participle.end()) !=
             std::set<std::string>(pastShown.begin(), pastShown.end()) ||
         f.participle.size() != pastShown.size()))
        addEntry(verb, 74, joined(f.participle));
    else
        participles = pastShown;
    left.clear();
    switchesFor(kIng, infinitive, f.ing, codes, ing, left);
    if (!left.empty())
        addEntry(verb, 75, joined(left));
    ing.insert(ing.end(), left.begin(), left.end());
    for (uint32_t c : codes)
        verb.addEntry(c, lxstring(LXEncodingUtf8));

    FormTable &t = out.forms;
    setSlot(t, 74, LXPersonFirst, participles);
    setSlot(t, 75, LXPersonFirst, ing);
    for (uint32_t person = LXPersonFirst; person <= 42; ++person) {
        setSlot(t, 76, person, person == 39 ? third : std::vector<std::string>{infinitive});
        setSlot(t, 81, person, pastShown);
    }
    return true;
}

// One row of data/en-verbs.txt.
struct HandRow {
    std::string infinitive;
    uint32_t model = 0;
    uint32_t code = 0;          // 0: none
    std::vector<std::string> forms;
};

bool readHandVerbs(const std::string &path, std::vector<HandRow> &rows, std::string &error)
{
    std::vector<std::vector<std::string>> lines;
    if (!readColumns(path, 5, lines, error))
        return false;
    if (lines.empty()) {
        error = path + " is missing or holds no verbs";
        return false;
    }
    for (const std::vector<std::string> &c : lines) {
        HandRow r;
        r.infinitive = c[0];
        r.model = static_cast<uint32_t>(std::atoi(c[1].c_str()));
        r.code = c[2] == "-" ? 0 : static_cast<uint32_t>(std::atoi(c[2].c_str()));
        std::string rest = c[3];
        size_t at = 0;
        while (!rest.empty() && at != std::string::npos) {
            size_t comma = rest.find(',', at);
            std::string piece = rest.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
            piece.erase(0, piece.find_first_not_of(' '));
            piece.erase(piece.find_last_not_of(' ') + 1);
            r.forms.push_back(piece);
            at = comma == std::string::npos ? comma : comma + 1;
        }
        const bool switchCode = r.code >= LXEnglishPresentS && r.code <= LXEnglishApostropheIng;
        const bool table = (r.model == LXEnglishModelBe || r.model == LXEnglishModelHave) &&
                           (r.code == 76 || r.code == 81) && r.forms.size() > 1;
        if (r.infinitive.empty() || r.model < LXEnglishModelBe || r.model > LXEnglishModelInvariable ||
            (r.code != 0 && !switchCode && r.code != 74 && r.code != 75 && r.code != 76 && r.code != 81) ||
            (switchCode && !r.forms.empty()) || (table && r.forms.size() != 6) ||
            (r.code == 76 && !table)) {
            error = path + ": bad row for " + c[0] + " (model 2..4; a table of six forms, an entry, or a switch)";
            return false;
        }
        rows.push_back(r);
    }
    return true;
}

// The model tables: every tense of the tense table with its persons; models 2 and 3 with
// the forms of their verb's table, model 4 with only the tenses a modal has.
std::map<uint32_t, LXModelCache> englishModels(const std::vector<TenseRow> &rows, const std::vector<HandRow> &hand)
{
    std::map<uint32_t, LXModelCache> models;
    for (uint32_t m = LXEnglishModelRegular; m <= LXEnglishModelInvariable; ++m) {
        LXModelCache &cache = models[m];
        cache.model = m;
        for (const TenseRow &row : rows) {
            if (!row.isRules())
                continue;
            if (m == LXEnglishModelInvariable && row.code != 73 && row.code != 76 && row.code != 81)
                continue;
            LXTenseInfo info;
            info.tense = row.code;
            for (size_t k = 0; k < row.persons.size(); ++k) {
                std::string text;
                for (const HandRow &h : hand) {
                    if (h.model == m && h.code == row.code && h.forms.size() == 6 && row.persons[k] <= 42)
                        text = h.forms[row.persons[k] - LXPersonFirst];
                }
                info.persons.push_back(LXCodeText(row.persons[k], utf8(text)));
            }
            cache.tenses.push_back(info);
        }
    }
    return models;
}

// A verb of the hand data, with the forms the generator gives it (when it knows it) as
// the forms the module must give.
bool handVerb(const std::string &infinitive, const std::vector<HandRow> &hand, const EnglishForms *generated,
              ModuleVerb &out, std::string &error)
{
    LXVerb &verb = out.verb;
    verb.infinitive = utf8(infinitive);
    std::vector<std::string> table76, table81, own81, own74, own75;
    for (const HandRow &h : hand) {
        if (h.infinitive != infinitive)
            continue;
        verb.model = h.model;
        if (h.code == 0)
            continue;
        if (h.forms.size() == 6)
            (h.code == 76 ? table76 : table81) = h.forms;
        else if (h.code == 81 || h.code == 74 || h.code == 75)
            verb.addEntry(h.code, utf8(joined(h.forms)));
        else
            verb.addEntry(h.code, lxstring(LXEncodingUtf8));
        if (h.forms.size() != 6)
            (h.code == 81 ? own81 : h.code == 74 ? own74 : own75) = h.forms;
    }
    FormTable &t = out.forms;
    for (uint32_t person = LXPersonFirst; person <= 42; ++person) {
        const size_t k = person - LXPersonFirst;
        setSlot(t, 76, person, table76.empty() ? std::vector<std::string>{infinitive}
                                                : std::vector<std::string>{table76[k]});
        std::vector<std::string> past = table81.empty() ? own81 : std::vector<std::string>{table81[k]};
        if (past.empty() && verb.model == LXEnglishModelInvariable)
            past.push_back(infinitive);
        setSlot(t, 81, person, past);
    }
    const bool modal = verb.model == LXEnglishModelInvariable;
    if (!modal)
        setSlot(t, 74, LXPersonFirst, own74.empty() ? own81 : own74);
    if (!generated || modal)
        return true;
    // The form in -ing comes from the verb's switch; the generator says which it is.
    setSlot(t, 75, LXPersonFirst, generated->ing);
    // What the generator knows of the verb must be what the hand data gives.
    auto check = [&](uint32_t tense, uint32_t person, const std::vector<std::string> &theirs) {
        if (theirs.empty())
            return true;
        auto slot = t.find(std::make_pair(tense, person));
        std::vector<std::string> ours = slot == t.end() ? std::vector<std::string>() : slot->second;
        for (const std::string &f : theirs) {
            if (std::find(ours.begin(), ours.end(), f) == ours.end()) {
                error = "en-verbs.txt: " + infinitive + " lacks the generator's " + f + " (" + std::to_string(tense) +
                        "/" + std::to_string(person) + ")";
                return false;
            }
        }
        return true;
    };
    return check(76, 39, generated->third) && check(81, 42, generated->past) &&
           check(74, LXPersonFirst, generated->participle);
}

// The forms of the other spelling that the verb does not give, as index entries.
void addVariants(const EnglishForms &other, ModuleVerb &v)
{
    auto add = [&](uint32_t tense, uint32_t person, const std::vector<std::string> &forms) {
        auto slot = v.forms.find(std::make_pair(tense, person));
        for (const std::string &f : forms) {
            if (slot != v.forms.end() && std::find(slot->second.begin(), slot->second.end(), f) != slot->second.end())
                continue;
            addForm(v.variants[std::make_pair(tense, person)], f);
        }
    };
    add(74, LXPersonFirst, other.participle);
    add(75, LXPersonFirst, other.ing);
    add(76, 39, other.third);
    add(81, LXPersonFirst, other.past);
    // An infinitive of the other spelling leads to the verb as well.
    for (const std::string &f : other.infinitive) {
        if (f != bytes(v.verb.infinitive))
            addForm(v.variants[std::make_pair(73u, static_cast<uint32_t>(LXPersonFirst))], f);
    }
}

// Reviewed corrections (data/en-corrections.txt): infinitive | past, participle or ing |
// wrong | right | reason. Each must find the form it corrects; an empty right drops it,
// an empty wrong adds the right one (which must be new).
bool applyCorrections(const std::string &path, std::map<std::string, EnglishForms> &verbs, BuildReport &report,
                      std::string &error)
{
    std::vector<std::vector<std::string>> rows;
    if (!readColumns(path, 5, rows, error))
        return false;
    for (const std::vector<std::string> &c : rows) {
        auto v = verbs.find(c[0]);
        std::vector<std::string> *forms = nullptr;
        if (v != verbs.end()) {
            if (c[1] == "past")
                forms = &v->second.past;
            else if (c[1] == "participle")
                forms = &v->second.participle;
            else if (c[1] == "ing")
                forms = &v->second.ing;
        }
        if (forms && c[2].empty() && !c[3].empty() &&
            std::find(forms->begin(), forms->end(), c[3]) == forms->end()) {
            forms->push_back(c[3]);
            report.notes.push_back("added " + c[0] + " " + c[1] + " " + c[3] + " (" + c[4] + ")");
            continue;
        }
        auto at = forms ? std::find(forms->begin(), forms->end(), c[2]) : std::vector<std::string>::iterator();
        if (!forms || c[2].empty() || at == forms->end()) {
            error = path + ": correction no longer applies: " + c[0] + " " + c[1] + " " + c[2];
            return false;
        }
        if (c[3].empty() || std::find(forms->begin(), forms->end(), c[3]) != forms->end())
            forms->erase(at);
        else
            *at = c[3];
        report.notes.push_back("corrected " + c[0] + " " + c[1] + " " + c[2] + " -> " + c[3] + " (" + c[4] + ")");
    }
    return true;
}

} // namespace

bool buildEnglishModule(const BuildOptions &options, const std::vector<TenseRow> &rows, BuildReport &report,
                        std::string &error)
{
    if (options.transducer.empty()) {
        error = "--apertium names the English generator";
        return false;
    }
    std::vector<HandRow> hand;
    std::map<std::string, EnglishForms> generated, other;
    std::map<std::string, std::string> lemmas, otherLemmas;
    if (!readHandVerbs(options.dataDir + "/en-verbs.txt", hand, error) ||
        !readGenerator(options.transducer, generated, lemmas, error) ||
        (!options.variantTransducer.empty() &&
         !readGenerator(options.variantTransducer, other, otherLemmas, error)) ||
        !applyCorrections(options.dataDir + "/en-corrections.txt", generated, report, error))
        return false;

    std::set<std::string> handNames;
    for (const HandRow &h : hand)
        handNames.insert(h.infinitive);
    std::vector<ModuleVerb> verbs;
    std::map<std::string, size_t> indexOf;
    for (const std::string &name : handNames) {
        auto g = generated.find(name);
        ModuleVerb v;
        if (!handVerb(name, hand, g == generated.end() ? nullptr : &g->second, v, error))
            return false;
        // A lexical verb of the same spelling ("to can", "to will"): its forms lead here.
        if (g != generated.end() && v.verb.model == LXEnglishModelInvariable) {
            addVariants(g->second, v);
            report.notes.push_back("modal " + name + " keeps the lexical verb's forms in the index only");
        }
        indexOf[name] = verbs.size();
        verbs.push_back(v);
    }
    for (const auto &g : generated) {
        if (handNames.count(g.first))
            continue;
        ModuleVerb v;
        std::string why;
        if (!regularVerb(g.first, g.second, v, why)) {
            report.notes.push_back("left out: " + g.first + ": " + why);
            continue;
        }
        indexOf[g.first] = verbs.size();
        verbs.push_back(v);
    }
    // The other spelling's forms, by the generator's lemma that both share.
    size_t variants = 0;
    for (const auto &l : otherLemmas) {
        auto ours = lemmas.find(l.first);
        auto form = other.find(l.second);
        if (ours == lemmas.end() || form == other.end())
            continue;
        auto v = indexOf.find(ours->second);
        if (v == indexOf.end() || verbs[v->second].verb.model == LXEnglishModelInvariable)
            continue;
        size_t before = verbs[v->second].variants.size();
        addVariants(form->second, verbs[v->second]);
        variants += verbs[v->second].variants.size() - before;
    }
    report.notes.push_back(std::to_string(verbs.size()) + " verbs, " + std::to_string(variants) +
                           " slots with forms of the other spelling");
    return writeModule(options, LXEnglish, rows, englishModels(rows, hand), verbs, report, error);
}
