// The built modules against verbiste's own command-line conjugator: every verb it knows,
// every simple tense and person.
//
// Normalisation of the two programs' conventions:
// - french-conjugator prints no pronouns (run without --pronouns); our forms are compared
//   as getConjugations gives them, without the display pronoun;
// - it prints a person's alternative forms on one line joined by ", ", and so are ours;
//   a person a verb does not have is an empty line, and getConjugations gives no form;
// - its four past-participle lines are the module's personless tenses 74..77;
// - its infinitive line may list the template's other spellings ("asseoir, assoir");
//   tense 73 is the verb's own infinitive and is compared with the first;
// - it prints one conjugation per template for an infinitive listed twice; the module
//   keeps one (data/xx-duplicates.txt), compared with the block that matches best.
// Any other difference must be on tests/data/known-differences.txt, with its reason;
// an entry there that no longer differs fails too, so the list stays reviewed.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "format/lxcompressor.h"
#include "lxconjugator.h"
#include "moduledata.h"
#include "testing/lxtest_samples.h"
#include "testing/lxtest_files.h"

namespace {

const std::string kData = std::string(WORDMERE_SOURCE_DIR) + "/tools/lxcbuild/data";
const std::string kKnown = std::string(WORDMERE_SOURCE_DIR) + "/tools/lxcbuild/tests/data/known-differences.txt";

[[maybe_unused]] std::string modulePath(const std::string &lang)
{
    return lx_sampleFolder(LXSampleConjugation) + "/" + lang + ".lxc";
}

#ifndef _WIN32
bool run(const std::string &command, std::string &out)
{
    FILE *p = popen(command.c_str(), "r");
    if (!p)
        return false;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    return pclose(p) == 0;
}
#endif

[[maybe_unused]] std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> out;
    std::stringstream s(text);
    std::string line;
    while (std::getline(s, line))
        out.push_back(line);
    return out;
}

// One conjugation as french-conjugator prints it: heading -> lines.
typedef std::map<std::string, std::vector<std::string>> Block;

[[maybe_unused]] std::string utf8(const lxstring &s)
{
    lxstring t = s;
    t.setEncoding(LXEncodingUtf8);
    return std::string(t.c_str(), t.size());
}

struct Difference {
    uint32_t tense, person;
    std::string theirs, ours;
};

struct Known {
    std::string reason;
    bool seen = false;
};

[[maybe_unused]] std::string knownKey(const std::string &lang, const std::string &infinitive, uint32_t tense, uint32_t person)
{
    return lang + "|" + infinitive + "|" + std::to_string(tense) + "|" + std::to_string(person);
}

void compareLanguage(const std::string &lang)
{
#ifdef _WIN32
    GTEST_SKIP() << "verbiste's conjugator runs natively only";
#else
    std::string probe;
    if (!run("french-conjugator --version >/dev/null 2>&1 && echo ok", probe) || probe.empty())
        GTEST_SKIP() << "french-conjugator is not installed";
    std::string module;
    if (!lx_findSample(LXSampleConjugation, lang + ".lxc", module))
        return;

    std::vector<TenseRow> rows;
    std::string error;
    ASSERT_TRUE(readTenseTable(kData + "/tenses.txt", lang, rows, error)) << error;

    // Known differences: lang | infinitive | tense | person | verbiste | ours | reason.
    std::map<std::string, Known> known;
    {
        std::ifstream in(kKnown);
        ASSERT_TRUE(in) << kKnown;
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#')
                continue;
            std::vector<std::string> c = splitColumns(line);
            ASSERT_EQ(c.size(), 7u) << line;
            if (c[0] != lang)
                continue;
            std::string key = c[0] + "|" + c[1] + "|" + c[2] + "|" + c[3] + "|" + c[4] + "|" + c[5];
            known[key].reason = c[6];
        }
    }

    std::string flag = lang == "fr" ? "" : " --lang=" + lang;
    std::string all;
    ASSERT_TRUE(run("french-conjugator" + flag + " --all-infinitives", all));
    std::vector<std::string> infinitives = lines(all);
    ASSERT_GT(infinitives.size(), 100u);
    std::string list = testRunFolder() + "oracle-" + lang + ".txt";
    {
        std::ofstream out(list);
        for (const std::string &v : infinitives)
            out << v << "\n";
    }
    std::string printed;
    ASSERT_TRUE(run("french-conjugator" + flag + " < '" + list + "'", printed));
    std::remove(list.c_str());

    // Blocks end with a line "-", in the order of the verbs asked for: one per template
    // of the verb (its infinitive line names it), or an empty one for a verb it does not know.
    std::vector<Block> printedBlocks;
    {
        Block block;
        std::string heading;
        for (const std::string &line : lines(printed)) {
            if (line == "-") {
                printedBlocks.push_back(block);
                block.clear();
                heading.clear();
            } else if (line.size() > 2 && line.compare(0, 2, "- ") == 0 && line.back() == ':') {
                heading = line.substr(2, line.size() - 3);
                block[heading];
            } else if (!heading.empty()) {
                block[heading].push_back(line);
            }
        }
    }
    auto names = [](const Block &b, const std::string &infinitive) {
        auto inf = b.find("infinitive present");
        if (inf == b.end() || inf->second.empty())
            return false;
        std::string spellings = ", " + inf->second[0] + ", ";
        return spellings.find(", " + infinitive + ", ") != std::string::npos;
    };
    std::map<std::string, std::vector<Block>> blocks;
    {
        size_t at = 0;
        for (const std::string &infinitive : infinitives) {
            if (at < printedBlocks.size() && printedBlocks[at].empty()) {
                ++at;
                continue;
            }
            // The first block is the verb's whatever its infinitive line says (":bevere"
            // prints "bere"); further ones must name it.
            if (at < printedBlocks.size())
                blocks[infinitive].push_back(printedBlocks[at++]);
            while (at < printedBlocks.size() && names(printedBlocks[at], infinitive))
                blocks[infinitive].push_back(printedBlocks[at++]);
        }
        ASSERT_EQ(at, printedBlocks.size()) << "verbiste's output does not follow the verbs asked for";
    }

    LXCompressor *compressor = LXCompressor::create();
    LXConjugator conjugator;
    conjugator.setCompressor(compressor);
    ASSERT_TRUE(conjugator.openModule(lxstring(modulePath(lang).c_str(), LXEncodingUtf8)));

    std::vector<std::string> failures;
    size_t compared = 0;
    std::set<std::string> done;
    for (const std::string &infinitive : infinitives) {
        if (!done.insert(infinitive).second)
            continue;
        LXVerb verb;
        lxstring word(infinitive.c_str(), LXEncodingUtf8);
        bool found = conjugator.findVerb(word, verb) &&
                     verb.infinitive.compare(word, false, false, LXLanguageNone) == 0;
        if (!found) {
            auto k = known.find(lang + "|" + infinitive + "|*|*||");
            if (k != known.end())
                k->second.seen = true;
            else
                failures.push_back(infinitive + ": not in the module");
            continue;
        }
        std::vector<Difference> best;
        bool first = true;
        for (const Block &block : blocks[infinitive]) {
            std::vector<Difference> diffs;
            for (const TenseRow &row : rows) {
                if (!row.isSimple())
                    continue;
                std::string heading = row.heading.substr(0, row.heading.find('#'));
                auto b = block.find(heading);
                if (b == block.end())
                    continue;
                for (size_t k = 0; k < b->second.size(); ++k) {
                    uint32_t person;
                    if (row.slot() > 0) {
                        if (static_cast<int>(k) + 1 != row.slot())
                            continue;
                        person = 37;
                    } else {
                        if (k >= row.persons.size())
                            break;
                        person = row.persons[k];
                    }
                    std::string theirs = b->second[k];
                    if (row.code == 73 && (", " + theirs + ", ").find(", " + infinitive + ", ") != std::string::npos)
                        theirs = infinitive;
                    LXList<lxstring> forms;
                    conjugator.getConjugations(verb, row.code, person, forms);
                    std::string ours;
                    for (LXList<lxstring>::iterator f = forms.begin(); !f.isAtEnd(); ++f)
                        ours += (ours.empty() && f == forms.begin() ? "" : ", ") + utf8(*f);
                    ++compared;
                    if (ours != theirs)
                        diffs.push_back(Difference{row.code, person, theirs, ours});
                }
            }
            if (first || diffs.size() < best.size())
                best = diffs;
            first = false;
        }
        if (first) {
            auto k = known.find(lang + "|" + infinitive + "|*|*||");
            if (k != known.end())
                k->second.seen = true;
            else
                failures.push_back(infinitive + ": verbiste printed nothing");
        }
        for (const Difference &d : best) {
            std::string key = knownKey(lang, infinitive, d.tense, d.person) + "|" + d.theirs + "|" + d.ours;
            auto k = known.find(key);
            if (k != known.end())
                k->second.seen = true;
            else
                failures.push_back(key);
        }
    }
    for (const auto &k : known) {
        if (!k.second.seen)
            failures.push_back("known difference no longer seen: " + k.first);
    }
    conjugator.closeModule();
    delete compressor;

    std::string report;
    for (size_t i = 0; i < failures.size() && i < 40; ++i)
        report += failures[i] + "\n";
    EXPECT_TRUE(failures.empty()) << failures.size() << " differences (of " << compared
                                  << " forms compared), first ones:\n" << report;
    EXPECT_GT(compared, lang == "fr" ? 300000u : 10000u);
#endif
}

} // namespace

TEST(VerbisteOracle, FrenchSimpleTenses)
{
    compareLanguage("fr");
}

TEST(VerbisteOracle, ItalianSimpleTenses)
{
    compareLanguage("it");
}
