// Standard-mode stem look-ups per second on the English-French sample module with the French
// conjugation module: inflected forms taken evenly from the module's inflected-form index go
// through the data manager's stem search (the word's own entries, its candidates by stemming
// models and by verbs, each candidate's look-up).
//
// Baseline, measured in the same run on the same forms: plain look-ups (`find`) per second.
// The counter "ratio" is how many plain look-ups take the time of one stem look-up.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "format/lxcompressor.h"
#include "lxconjugationadapter.h"
#include "lxconjugator.h"
#include "search/lxdatamanager.h"
#include "testing/lxsample_paths.h"

namespace {

const size_t kForms = 2000;
const uint32_t kProduct = 10;

lxstring text(const std::string &s)
{
    return lxstring(s.c_str(), LXEncodingUtf8);
}

// Every n-th distinct form of the conjugation module's inflected-form index.
std::vector<lxstring> sampleForms(const std::string &modulePath)
{
    std::unique_ptr<LXCompressor> compressor(LXCompressor::create());
    LXConjugator conjugator;
    conjugator.setCompressor(compressor.get());
    std::vector<lxstring> all;
    if (conjugator.openModule(text(modulePath))) {
        LXStem stem;
        for (uint32_t position = 0;;) {
            const uint32_t next = conjugator.readVerbForm(position, stem);
            if (next <= position || stem.word.empty())
                break;
            if (all.empty() || all.back() != stem.word)
                all.push_back(stem.word);
            position = next;
        }
    }
    conjugator.closeModule();
    std::vector<lxstring> sample;
    const size_t step = all.size() > kForms ? all.size() / kForms : 1;
    for (size_t i = 0; i < all.size() && sample.size() < kForms; i += step)
        sample.push_back(all[i]);
    return sample;
}

struct Setup {
    std::unique_ptr<LXDataManager> dm{LXDataManager::create(LXCreateConjugationEngine)};
    std::vector<lxstring> forms;
    bool ok = false;

    Setup()
    {
        const std::string dictionary = lx_sampleFolder(LXSampleDictionary) + "/english-french.lxd";
        const std::string module = lx_sampleFolder(LXSampleConjugation) + "/fr.lxc";
        ok = dm && dm->addDictionaryModule(text(dictionary)) == 0 && dm->addStemmingModule(text(module));
        if (ok)
            forms = sampleForms(module);
        ok = ok && !forms.empty();
    }
};

Setup &setup()
{
    static Setup s;
    return s;
}

void BM_FrenchStemLookups(benchmark::State &state)
{
    Setup &s = setup();
    if (!s.ok) {
        state.SkipWithError("english-french.lxd and fr.lxc are needed: build them or set WORDMERE_SAMPLE_MODULES "
                            "and WORDMERE_CONJUGATION_MODULES");
        return;
    }
    size_t i = 0, results = 0;
    const auto began = std::chrono::steady_clock::now();
    for (auto _ : state) {
        LXStemResults found;
        s.dm->getStems(found, s.forms[i++ % s.forms.size()], LXFrench, LXEnglish, kProduct, 1);
        results += found.size();
    }
    const double stemSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    const size_t lookups = i;

    // The baseline: as many plain look-ups of the same forms.
    LXDMIterator it;
    size_t hits = 0;
    const auto start = std::chrono::steady_clock::now();
    for (size_t n = 0; n < lookups; ++n) {
        s.dm->find(s.forms[n % s.forms.size()], LXFrench, LXEnglish, kProduct, it);
        hits += !it.isAtEnd();
    }
    const double plainSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    benchmark::DoNotOptimize(hits);

    const double stemRate = stemSeconds > 0 ? double(lookups) / stemSeconds : 0;
    const double plainRate = plainSeconds > 0 ? double(lookups) / plainSeconds : 0;
    state.counters["stem_lookups/s"] = stemRate;
    state.counters["plain_lookups/s"] = plainRate;
    state.counters["ratio"] = stemRate > 0 ? plainRate / stemRate : 0;
    state.counters["results"] = double(results) / double(lookups ? lookups : 1);
}
BENCHMARK(BM_FrenchStemLookups);

} // namespace

BENCHMARK_MAIN();
