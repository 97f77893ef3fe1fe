// One user addition to an additions file of 10,000 entries (each entry a word pair in both
// directions, as the add-entry dialog makes it): the module keeps its terms from the last change,
// merges the new ones in and writes the whole file again beside the old one, flushed and put in
// its place. "first_addition_ms" is the first addition after a start, which reads the file too.
//
// Baseline, measured in the same run: the floor of any safe rewrite, the same number of bytes
// written to a file beside, flushed to the disk and put in the old one's place. The counter
// "ratio" is the addition's time over the baseline's.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "format/lxfilesystem.h"
#include "model/lxtokenizer.h"
#include "search/lxdatamanager.h"

namespace {

const int kEntries = 10000;
const uint32_t kProduct = 10;

lxstring u8(const std::string &s)
{
    return lxstring(s.c_str(), LXEncodingUtf8);
}

// A pair of the user's: the English word with its French translation, and the other way.
LXTerm userTerm(LXLanguage language, LXLanguage other, const std::string &headword, const std::string &translation,
                LXTokenizer *tokenizer)
{
    LXTerm t;
    t.setLanguage(language);
    t.setTranslationLanguage(other);
    t.setHeadword(u8(headword));
    t.setSearchKey(tokenizer->searchKey(u8(headword), language));
    t.setPartOfSpeechName(u8("n"));
    t.setPartOfSpeechCode(2);
    LXDefinition d;
    d.setText(u8(translation));
    d.setPartOfSpeechName(u8("n"));
    d.setPartOfSpeechCode(2);
    d.setOriginNumber(LXOriginUserAdded);
    d.getFeatures().push_back(LXFeature(LXFeatureUserAdded, lxstring(LXEncodingUtf8)));
    t.addDefinition(d);
    return t;
}

struct Folder {
    std::string path;
    Folder()
    {
        const char *tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/wm_additions_bench_XXXXXX";
        if (mkdtemp(&pattern[0]))
            path = pattern;
    }
    ~Folder()
    {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
};

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The baseline: bytes written beside the target, flushed and put in its place.
bool safeWrite(const std::string &target, const std::string &bytes)
{
    const std::string beside = target + ".copy";
    {
        std::ofstream f(beside, std::ios::binary | std::ios::trunc);
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!f.flush())
            return false;
    }
    return LXFileSystem::flushToDisk(u8(beside)) && LXFileSystem::replace(u8(beside), u8(target));
}

void BM_AddOneEntryToTenThousand(benchmark::State &state)
{
    Folder folder;
    std::unique_ptr<LXDataManager> dm(LXDataManager::create());
    if (folder.path.empty() || !dm) {
        state.SkipWithError("no temporary folder or data manager");
        return;
    }
    const lxstring directory = u8(folder.path);
    LXList<LXTerm> terms;
    for (int i = 0; i < kEntries; ++i) {
        const std::string word = "word" + std::to_string(i), mot = "mot" + std::to_string(i);
        terms.push_back(userTerm(LXEnglish, LXFrench, word, mot, dm->getTokenizer()));
        terms.push_back(userTerm(LXFrench, LXEnglish, mot, word, dm->getTokenizer()));
    }
    if (!dm->addTerms(terms, kProduct, directory)) {
        state.SkipWithError("the 10,000 entries could not be written");
        return;
    }
    const std::string path = folder.path + "/english-french-additions.lxd";

    int n = 0;
    const auto began = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (!dm->addTerm(u8("added" + std::to_string(n)), u8("n"), 2, u8("ajouté" + std::to_string(n)), u8("n"), 2,
                         LXEnglish, LXFrench, kProduct, directory)) {
            state.SkipWithError("an addition failed");
            return;
        }
        ++n;
    }
    const double additionMs = 1000.0 * secondsSince(began) / double(n ? n : 1);

    // The first addition of a new manager (a program just started) reads the file first.
    dm->closeAllDictionaries();
    dm.reset(LXDataManager::create());
    if (!dm || dm->addDictionaryModule(u8(path)) != 0) {
        state.SkipWithError("the additions file does not open again");
        return;
    }
    const auto first = std::chrono::steady_clock::now();
    if (!dm->addTerm(u8("first"), u8("n"), 2, u8("premier"), u8("n"), 2, LXEnglish, LXFrench, kProduct, directory)) {
        state.SkipWithError("the first addition after a start failed");
        return;
    }
    const double firstMs = 1000.0 * secondsSince(first);

    // The baseline over as many rounds, on a copy of the file as it is now.
    dm->closeAllDictionaries();
    std::string bytes;
    {
        std::ifstream f(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    const std::string copy = folder.path + "/baseline.lxd";
    const auto start = std::chrono::steady_clock::now();
    const int64_t rounds = state.iterations();
    for (int64_t r = 0; r < rounds; ++r) {
        if (!safeWrite(copy, bytes)) {
            state.SkipWithError("the baseline write failed");
            return;
        }
    }
    const double baselineMs = 1000.0 * secondsSince(start) / double(rounds ? rounds : 1);
    state.counters["file_kB"] = double(bytes.size()) / 1024.0;
    state.counters["baseline_ms"] = baselineMs;
    state.counters["addition_ms"] = additionMs;
    state.counters["first_addition_ms"] = firstMs;
    state.counters["ratio"] = baselineMs > 0 ? additionMs / baselineMs : 0;
    state.counters["entries_after"] = double(kEntries + n);
}
BENCHMARK(BM_AddOneEntryToTenThousand)->Unit(benchmark::kMillisecond)->Iterations(40);

} // namespace

BENCHMARK_MAIN();
