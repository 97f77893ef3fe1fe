// The Spanish and Portuguese modules against their source, apertium's generators listed
// with lt-paradigm: every verb, every simple tense and person the generator has. And every
// simple form the modules give against hunspell with Debian's dictionaries.
//
// Normalisation of the two sides' conventions:
// - tense 73 of a reflexive verb is its infinitive with "se" ("acercarse"), where the
//   generator gives "acercar";
// - soft hyphens (U+00AD) inside the generator's forms are dropped;
// - the Portuguese imperative's 2nd plural is the vós form, made from the present
//   (falai), where the generator repeats the vocês form (falem): that slot is not compared;
// - the -se subjunctive and the Spanish future subjunctive are derived (no source form).
// Every other difference must be explained by the builder's reviewed data files
// (tools/lxcbuild/data/xx-corrections.txt, -spelling.txt, -likes.txt), each entry with its
// reason; an entry that no longer explains a difference fails too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "apertium.h"
#include "format/lxcompressor.h"
#include "lxconjugator.h"
#include "moduledata.h"

namespace {

const std::string kData = std::string(WORDMERE_SOURCE_DIR) + "/tools/lxcbuild/data";

// The sanitizer build compares every eighth verb (the native build compares them all),
// and then does not ask that every reviewed entry be seen.
#ifdef __SANITIZE_ADDRESS__
const size_t kEvery = 8;
#else
const size_t kEvery = 1;
#endif

[[maybe_unused]] std::string text(const lxstring &s)
{
    lxstring t = s;
    t.setEncoding(LXEncodingUtf8);
    return std::string(t.c_str(), t.size());
}

[[maybe_unused]] std::vector<std::vector<std::string>> dataLines(const std::string &path, size_t columns)
{
    std::vector<std::vector<std::string>> rows;
    std::string error;
    EXPECT_TRUE(readColumns(path, columns, rows, error)) << error;
    return rows;
}

struct Module {
    LXCompressor *compressor = LXCompressor::create();
    LXConjugator c;
    bool ok = false;
    explicit Module(const std::string &lang)
    {
        std::string path = std::string(WORDMERE_CONJUGATION_MODULES) + "/" + lang + ".lxc";
        c.setCompressor(compressor);
        ok = c.openModule(lxstring(path.c_str(), LXEncodingUtf8));
    }
    ~Module()
    {
        c.closeModule();
        delete compressor;
    }
    std::string forms(const LXVerb &verb, uint32_t tense, uint32_t person)
    {
        LXList<lxstring> list;
        c.getConjugations(verb, tense, person, list);
        std::string out;
        for (LXList<lxstring>::iterator f = list.begin(); !f.isAtEnd(); ++f)
            out += (out.empty() ? "" : ", ") + text(*f);
        return out;
    }
};

[[maybe_unused]] std::string withoutSoftHyphens(std::string s)
{
    size_t at;
    while ((at = s.find("\xC2\xAD")) != std::string::npos)
        s.erase(at, 2);
    return s;
}

[[maybe_unused]] bool endsWith(const std::string &s, const std::string &end)
{
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// The source's form through the spelling lines that apply to it, in file order; the lines
// that changed it are added to touched.
[[maybe_unused]] std::string respelled(const std::vector<std::vector<std::string>> &lines, const std::string &lemma,
                                       uint32_t tense, std::string form, std::set<size_t> &touched)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::vector<std::string> &l = lines[i];
        if (!endsWith(lemma, l[0]))
            continue;
        if (l[1] != "*" && (" " + l[1] + " ").find(" " + std::to_string(tense) + " ") == std::string::npos)
            continue;
        bool anchored = l[2].back() == '$';
        std::string from = anchored ? l[2].substr(0, l[2].size() - 1) : l[2];
        std::string before = form;
        if (anchored) {
            if (endsWith(form, from))
                form.replace(form.size() - from.size(), from.size(), l[3]);
        } else {
            size_t at;
            while ((at = form.find(from)) != std::string::npos)
                form.replace(at, from.size(), l[3]);
        }
        if (form != before)
            touched.insert(i);
    }
    return form;
}

struct Corrected {
    std::string wrong, right;
    bool seen = false;
};

void roundTrip(const std::string &lang, const std::string &generator)
{
#ifdef _WIN32
    GTEST_SKIP() << "lt-paradigm runs natively only";
#else
    std::vector<TenseRow> rows;
    std::string error;
    ASSERT_TRUE(readTenseTable(kData + "/tenses.txt", lang, rows, error)) << error;
    std::vector<ParadigmEntry> entries;
    ASSERT_TRUE(listParadigms(generator, false,
                              {"*<vblex><*>", "*<vbser><*>", "*<vbhaver><*>", "*<vbmod><*>"}, entries, error))
        << error;
    std::map<std::string, std::vector<ParadigmEntry>> lemmas = groupByLemma(entries);
    ASSERT_GT(lemmas.size(), 1000u);

    // The reviewed explanations.
    std::map<std::string, bool> likes;      // infinitive -> seen
    for (const auto &l : dataLines(kData + "/" + lang + "-likes.txt", 3))
        likes[l[0]] = false;
    std::map<std::string, std::vector<Corrected>> corrections;   // "infinitive|tense|person"
    for (const auto &l : dataLines(kData + "/" + lang + "-corrections.txt", 6)) {
        Corrected c;
        c.wrong = l[3];
        c.right = l[4];
        // A slot of a derived tense is not compared (it has no source form).
        uint32_t tense = static_cast<uint32_t>(std::stoul(l[1])), person = static_cast<uint32_t>(std::stoul(l[2]));
        for (const TenseRow &row : rows)
            c.seen = c.seen || (row.code == tense && row.isDerived() &&
                                std::find(row.persons.begin(), row.persons.end(), person) != row.persons.end());
        corrections[l[0] + "|" + l[1] + "|" + l[2]].push_back(c);
    }
    std::vector<std::vector<std::string>> spelling = dataLines(kData + "/" + lang + "-spelling.txt", 5);
    std::set<size_t> spellingUsed;

    Module m(lang);
    ASSERT_TRUE(m.ok) << "no module " << lang;
    std::vector<std::string> failures;
    size_t compared = 0;
    const char *const persons[][2] = {{"p1", "sg"}, {"p2", "sg"}, {"p3", "sg"}, {"p1", "pl"}, {"p2", "pl"}, {"p3", "pl"}};
    size_t index = 0;
    for (const auto &lemma : lemmas) {
        if (index++ % kEvery != 0)
            continue;
        LXVerb verb;
        lxstring word(lemma.first.c_str(), 0, 0);
        if (!m.c.findVerb(word, verb) || verb.infinitive.compare(word, false, false, LXLanguageNone) != 0) {
            failures.push_back(lemma.first + ": not in the module");
            continue;
        }
        bool liked = likes.count(lemma.first) > 0;
        for (const TenseRow &row : rows) {
            if (!row.isApertium())
                continue;
            std::vector<std::string> tags = row.apertiumTags();
            bool personless = LXConjugator::isPersonless(static_cast<LXLanguage>(languageCode(lang)), row.code);
            for (uint32_t person : row.persons) {
                std::string slot = lemma.first + "|" + std::to_string(row.code) + "|" + std::to_string(person);
                std::vector<std::string> wanted = tags;
                if (!personless) {
                    wanted.push_back(persons[person - 37][0]);
                    wanted.push_back(persons[person - 37][1]);
                }
                std::vector<std::string> source;
                for (const ParadigmEntry &e : lemma.second) {
                    std::string f = withoutSoftHyphens(e.form);
                    if (e.hasTags(wanted) && std::find(source.begin(), source.end(), f) == source.end())
                        source.push_back(f);
                }
                std::string theirs;
                for (const std::string &f : source)
                    theirs += (theirs.empty() ? "" : ", ") + f;
                if (theirs.empty()) {
                    // A verb conjugated like another may fill what the source lacks.
                    if (liked && !m.forms(verb, row.code, personless ? 37 : person).empty())
                        likes[lemma.first] = true;
                    continue;
                }
                if (row.code == LXTenseFirst)
                    theirs = lemma.first;   // the reflexive's infinitive keeps its "se"
                std::string ours = m.forms(verb, row.code, personless ? 37 : person);
                ++compared;
                if (ours == theirs)
                    continue;
                if (liked) {
                    likes[lemma.first] = true;
                    continue;
                }
                // As the builder does: the spelling lines, then the corrections.
                std::set<size_t> touched;
                std::vector<Corrected *> applied;
                std::vector<std::string> fixed;
                std::vector<Corrected> none;
                auto k = corrections.find(slot);
                std::vector<Corrected> &slotCorrections = k == corrections.end() ? none : k->second;
                for (const std::string &f : source) {
                    std::string g = row.code == LXTenseFirst ? f : respelled(spelling, lemma.first, row.code, f, touched);
                    bool dropped = false;
                    for (Corrected &c : slotCorrections) {
                        if (c.wrong != g)
                            continue;
                        applied.push_back(&c);
                        dropped = c.right.empty();
                        g = c.right;
                    }
                    if (!dropped && std::find(fixed.begin(), fixed.end(), g) == fixed.end())
                        fixed.push_back(g);
                }
                std::string explained;
                for (const std::string &f : fixed)
                    explained += (explained.empty() ? "" : ", ") + f;
                if (explained == ours && (!touched.empty() || !applied.empty())) {
                    spellingUsed.insert(touched.begin(), touched.end());
                    for (Corrected *c : applied)
                        c->seen = true;
                } else {
                    failures.push_back(slot + "|" + theirs + "|" + ours);
                }
            }
        }
    }
    for (const auto &k : corrections) {
        for (const Corrected &c : k.second) {
            if (kEvery > 1)
                break;
            if (!c.seen)
                failures.push_back("correction no longer seen: " + k.first + " " + c.wrong);
        }
    }
    for (const auto &l : likes) {
        if (!l.second && kEvery == 1)
            failures.push_back("verb conjugated like another no longer differs: " + l.first);
    }
    for (size_t i = 0; i < spelling.size() && kEvery == 1; ++i) {
        if (!spellingUsed.count(i))
            failures.push_back("spelling fix no longer seen: " + spelling[i][0] + " " + spelling[i][2]);
    }
    std::string report;
    for (size_t i = 0; i < failures.size() && i < 40; ++i)
        report += failures[i] + "\n";
    EXPECT_TRUE(failures.empty()) << failures.size() << " differences (of " << compared << " compared), first ones:\n"
                                  << report;
    EXPECT_GT(compared, 80000u / kEvery);
#endif
}

} // namespace

TEST(ApertiumOracle, SpanishSimpleTenses)
{
    roundTrip("es", WORDMERE_APERTIUM_ES);
}

TEST(ApertiumOracle, PortugueseSimpleTenses)
{
    roundTrip("pt", WORDMERE_APERTIUM_PT);
}
