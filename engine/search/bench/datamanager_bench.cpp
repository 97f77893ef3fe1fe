// Look-ups and regular-expression scans through the data manager on the sample modules.
//
// The six sample dictionaries (six language pairs, one or more modules each) are
// registered; a search opens only the modules of its own pair and closes the others'
// files. WORDMERE_SAMPLE_MODULES in the environment overrides the folder.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "format/lxd.h"
#include "search/lxdatamanager.h"
#include "search/lxdmanager.h"
#include "testing/lxsample_paths.h"

namespace {

const char *const kSamples[] = {"english-french",  "english-german",     "english-spanish",
                                "english-italian", "english-portuguese", "french-german"};

struct Setup {
    std::unique_ptr<LXDataManager> dm;
    uint32_t product = 10;
    int dictionaries = 0;   // of the six, those whose every module was registered
    std::vector<lxstring> germanWords;    // English headwords of English-German
    std::vector<lxstring> frenchWords;    // English headwords of English-French

    Setup() : dm(LXDataManager::create())
    {
        for (const char *name : kSamples) {
            const std::vector<std::string> paths = lx_sampleModulePaths(name);
            bool all = !paths.empty();
            for (const std::string &path : paths) {
                LXD probe(dm->getCompressor(), dm->getTokenizer());
                lxstring p(path.c_str(), LXEncodingUtf8);
                if (!probe.validate(p)) {
                    all = false;
                    continue;
                }
                product = probe.getProduct();
                dm->addAllowedProduct(product);
                all = dm->addDictionaryModule(p) == 0 && all;
            }
            dictionaries += all;
        }
        collect(LXGerman, germanWords);
        collect(LXFrench, frenchWords);
    }

    // Every 37th English headword of the pair, spread over the whole direction.
    void collect(LXLanguage other, std::vector<lxstring> &words)
    {
        LXDMIterator it;
        dm->begin(LXEnglish, other, product, it);
        for (uint32_t n = 0; !it.isAtEnd(); it.stepForward(), ++n) {
            if (n % 37 == 0)
                words.push_back((*it).getHeadword());
        }
        dm->closeAllDictionaries();
    }
};

Setup &setup()
{
    static Setup s;
    return s;
}

void BM_FindEnglishGerman(benchmark::State &state)
{
    Setup &s = setup();
    if (s.dictionaries < 6 || s.germanWords.empty()) {
        state.SkipWithError("the six sample modules are needed: build them or set WORDMERE_SAMPLE_MODULES");
        return;
    }
    LXDMIterator it;
    size_t i = 0, found = 0;
    for (auto _ : state) {
        const lxstring &word = s.germanWords[i++ % s.germanWords.size()];
        s.dm->find(word, LXEnglish, LXGerman, s.product, it);
        found += !it.isAtEnd();
        benchmark::DoNotOptimize((*it).getHeadword());
    }
    state.SetItemsProcessed(int64_t(state.iterations()));
    state.counters["lookups/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["found"] = double(found) / double(state.iterations());
}
BENCHMARK(BM_FindEnglishGerman);

// Look-ups that change pair every time: each closes the other pair's files, so every
// look-up reopens its module and starts with cold block caches.
void BM_FindAlternatingPairs(benchmark::State &state)
{
    Setup &s = setup();
    if (s.dictionaries < 6 || s.germanWords.empty() || s.frenchWords.empty()) {
        state.SkipWithError("the six sample modules are needed: build them or set WORDMERE_SAMPLE_MODULES");
        return;
    }
    LXDMIterator it;
    size_t i = 0;
    for (auto _ : state) {
        bool german = (i & 1) == 0;
        const std::vector<lxstring> &words = german ? s.germanWords : s.frenchWords;
        s.dm->find(words[(i / 2) % words.size()], LXEnglish, german ? LXGerman : LXFrench, s.product, it);
        ++i;
        benchmark::DoNotOptimize((*it).getHeadword());
    }
    state.counters["lookups/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FindAlternatingPairs);

// A full scan of the English direction of English-German with an expression that has no
// prefix to restrict it.
void BM_RegexScanEnglishGerman(benchmark::State &state)
{
    Setup &s = setup();
    if (s.dictionaries < 6) {
        state.SkipWithError("the six sample modules are needed: build them or set WORDMERE_SAMPLE_MODULES");
        return;
    }
    int64_t scanned = 0, matched = 0;
    for (auto _ : state) {
        LXDMIterator it;
        s.dm->initRegex(lxstring("*ouse*", LXEncodingUtf8), LXEnglish, LXGerman, s.product, LXDMRegexOptions(), it);
        for (; !it.isAtEnd(); ++it) {
            ++scanned;
            matched += it.isRegexMatch();
        }
    }
    state.SetItemsProcessed(scanned);
    state.counters["terms/s"] = benchmark::Counter(double(scanned), benchmark::Counter::kIsRate);
    state.counters["matches"] = double(matched) / double(state.iterations());
}
BENCHMARK(BM_RegexScanEnglishGerman)->Unit(benchmark::kMillisecond);

// The same walk without matching: what the scan costs beyond stepping the iterator.
void BM_WalkEnglishGerman(benchmark::State &state)
{
    Setup &s = setup();
    if (s.dictionaries < 6) {
        state.SkipWithError("the six sample modules are needed: build them or set WORDMERE_SAMPLE_MODULES");
        return;
    }
    int64_t scanned = 0;
    for (auto _ : state) {
        LXDMIterator it;
        s.dm->begin(LXEnglish, LXGerman, s.product, it);
        for (; !it.isAtEnd(); ++it)
            ++scanned;
    }
    state.SetItemsProcessed(scanned);
    state.counters["terms/s"] = benchmark::Counter(double(scanned), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WalkEnglishGerman)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
