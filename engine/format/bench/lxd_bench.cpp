// Look-ups of random existing headwords (findHeadword, then readTerm of the first term)
// in the English-German sample modules, each key in the module that holds it: cold (the
// module opened just before each look-up) and warm (opened once), with the block
// inflations per look-up and the bytes the modules hold for reading once warm; the warm
// find alone shows how the look-up splits between finding and reading the term. Beside
// them the same keys found by std::lower_bound in a sorted in-memory array of every key,
// the floor no file-based search can beat.
//
// The modules are the build's english-german.lxd or its parts english-german-N.lxd;
// WORDMERE_SAMPLE_MODULES in the environment points elsewhere.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "format/lxcompressor.h"
#include "format/lxd.h"
#include "model/lxtokenizer.h"
#include "testing/lxsample_paths.h"

namespace {

struct Key {
    lxstring text;
    LXLanguage language;
    size_t module;                   // the part that holds it
};

struct Fixture {
    std::unique_ptr<LXCompressor> compressor{LXCompressor::create()};
    std::unique_ptr<LXTokenizer> tokenizer{LXTokenizer::create()};
    std::vector<std::string> paths;
    std::vector<Key> sample;         // random existing keys of both directions
    std::vector<lxstring> sorted[2]; // every key of each direction, in index order
    LXLanguage language1 = LXLanguageNone;
    bool ok = false;

    Fixture()
    {
        paths = lx_sampleModulePaths("english-german");
        std::vector<Key> all;
        for (size_t m = 0; m < paths.size(); ++m) {
            LXD d(compressor.get(), tokenizer.get());
            if (!d.validate(lxstring(paths[m].c_str(), LXEncodingUtf8)) || !d.open())
                return;
            language1 = d.getLanguage1();
            for (int dir = 0; dir < 2; ++dir) {
                LXLanguage lang = dir ? d.getLanguage2() : d.getLanguage1();
                uint32_t start, end;
                d.getDirectionRange(lang, start, end);
                for (uint32_t h = start; h < end;) {
                    lxstring k;
                    uint32_t next = d.readIndexKey(h, k);
                    sorted[dir].push_back(k);
                    all.push_back(Key{k, lang, m});
                    if (next <= h)
                        break;
                    h = next;
                }
            }
        }
        std::mt19937 rng(4);
        std::shuffle(all.begin(), all.end(), rng);
        all.resize(std::min<size_t>(all.size(), 20000));
        sample = all;
        ok = !sample.empty();
    }

    // Every module, validated (and opened when open is set).
    std::vector<std::unique_ptr<LXD>> modules(bool open) const
    {
        std::vector<std::unique_ptr<LXD>> out;
        for (const std::string &p : paths) {
            out.emplace_back(new LXD(compressor.get(), tokenizer.get()));
            out.back()->validate(lxstring(p.c_str(), LXEncodingUtf8));
            if (open)
                out.back()->open();
        }
        return out;
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

uint32_t inflations(LXD &d)
{
    uint32_t n = 0;
    for (int32_t s : {int32_t(LXD::Index), int32_t(LXD::Terms)}) {
        const LXStream *st = d.getStreamFile().getStream(s);
        if (st)
            n += st->getInflateCount();
    }
    return n;
}

// Bytes held by every stream of the module: buffers, cache slots, block tables.
uint64_t heldBytes(LXD &d)
{
    uint64_t n = 0;
    for (int32_t s = 0; s < int32_t(d.getStreamFile().getStreamCount()); ++s) {
        const LXStream *st = d.getStreamFile().getStream(s);
        if (st)
            n += st->getHeldBytes();
    }
    return n;
}

bool lookUp(LXD &d, const Key &k, bool readTerm = true)
{
    lxstring found;
    uint32_t rs, re, h;
    bool hit = d.findHeadword(k.text, k.language, found, rs, re, h);
    if (readTerm) {
        LXTerm term;
        d.readTerm(term, h, d.readIndexOffset(h));
        benchmark::DoNotOptimize(term);
    }
    return hit;
}

void BM_LookupCold(benchmark::State &state)
{
    Fixture &f = fixture();
    if (!f.ok) {
        state.SkipWithError("no english-german module: build the sample modules or set WORDMERE_SAMPLE_MODULES");
        return;
    }
    std::vector<std::unique_ptr<LXD>> modules = f.modules(false);
    size_t i = 0, misses = 0;
    uint64_t inflated = 0;
    for (auto _ : state) {
        const Key &k = f.sample[i++ % f.sample.size()];
        LXD &d = *modules[k.module];
        state.PauseTiming();
        d.close();
        d.open();
        state.ResumeTiming();
        misses += !lookUp(d, k);
        state.PauseTiming();
        inflated += inflations(d);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["inflations/lookup"] = double(inflated) / double(state.iterations());
    state.counters["misses"] = double(misses);
}

void warmLookups(benchmark::State &state, bool readTerm)
{
    Fixture &f = fixture();
    if (!f.ok) {
        state.SkipWithError("no english-german module: build the sample modules or set WORDMERE_SAMPLE_MODULES");
        return;
    }
    std::vector<std::unique_ptr<LXD>> modules = f.modules(true);
    const auto allInflations = [&modules] {
        uint64_t n = 0;
        for (const std::unique_ptr<LXD> &d : modules)
            n += inflations(*d);
        return n;
    };
    uint64_t openHeld = 0;
    for (const std::unique_ptr<LXD> &d : modules)
        openHeld += heldBytes(*d);
    // Warm up: every key once, so the blocks that stay (the headword index) are loaded.
    for (const Key &k : f.sample)
        lookUp(*modules[k.module], k, readTerm);
    const uint64_t before = allInflations();
    size_t i = 0, misses = 0;
    for (auto _ : state) {
        const Key &k = f.sample[i++ % f.sample.size()];
        misses += !lookUp(*modules[k.module], k, readTerm);
    }
    uint64_t warmHeld = 0;
    for (const std::unique_ptr<LXD> &d : modules)
        warmHeld += heldBytes(*d);
    state.SetItemsProcessed(state.iterations());
    state.counters["inflations/lookup"] = double(allInflations() - before) / double(state.iterations());
    state.counters["misses"] = double(misses);
    state.counters["KiB held open"] = double(openHeld) / 1024.0;
    state.counters["KiB held warm"] = double(warmHeld) / 1024.0;
}

void BM_LookupWarm(benchmark::State &state) { warmLookups(state, true); }
void BM_FindWarm(benchmark::State &state) { warmLookups(state, false); }

void BM_LowerBoundFloor(benchmark::State &state)
{
    Fixture &f = fixture();
    if (!f.ok) {
        state.SkipWithError("no english-german module: build the sample modules or set WORDMERE_SAMPLE_MODULES");
        return;
    }
    size_t i = 0, misses = 0;
    for (auto _ : state) {
        const Key &k = f.sample[i++ % f.sample.size()];
        const std::vector<lxstring> &keys = f.sorted[k.language == f.language1 ? 0 : 1];
        auto it = std::lower_bound(keys.begin(), keys.end(), k.text, [](const lxstring &a, const lxstring &b) {
            return a.compare(b, LXLanguageNone) < 0;
        });
        misses += it == keys.end() || it->compare(k.text, LXLanguageNone) != 0;
        benchmark::DoNotOptimize(it);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["misses"] = double(misses);
}

} // namespace

BENCHMARK(BM_LookupCold)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LookupWarm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindWarm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LowerBoundFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
