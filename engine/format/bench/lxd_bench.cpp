// Look-ups of random existing headwords (findHeadword, then readTerm of the first term)
// in the English-German sample module: cold (the module opened just before each look-up)
// and warm (opened once), with the block inflations per look-up; beside them the same
// keys found by std::lower_bound in a sorted in-memory array of every key, the floor no
// file-based search can beat.
//
// The module is the build's english-german.lxd; WORDMERE_SAMPLE_MODULES in the
// environment points elsewhere.
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

#ifndef WORDMERE_SAMPLE_MODULES
#define WORDMERE_SAMPLE_MODULES ""
#endif

namespace {

struct Key {
    lxstring text;
    LXLanguage language;
};

struct Fixture {
    std::unique_ptr<LXCompressor> compressor{LXCompressor::create()};
    std::unique_ptr<LXTokenizer> tokenizer{LXTokenizer::create()};
    std::string path;
    std::vector<Key> sample;         // random existing keys of both directions
    std::vector<lxstring> sorted[2]; // every key of each direction, in index order
    LXLanguage language1 = LXLanguageNone;
    bool ok = false;

    Fixture()
    {
        const char *dir = std::getenv("WORDMERE_SAMPLE_MODULES");
        path = std::string(dir && *dir ? dir : WORDMERE_SAMPLE_MODULES) + "/english-german.lxd";
        LXD d(compressor.get(), tokenizer.get());
        if (!d.validate(lxstring(path.c_str(), LXEncodingUtf8)) || !d.open())
            return;
        language1 = d.getLanguage1();
        std::vector<Key> all;
        for (int dir2 = 0; dir2 < 2; ++dir2) {
            LXLanguage lang = dir2 ? d.getLanguage2() : d.getLanguage1();
            uint32_t start, end;
            d.getDirectionRange(lang, start, end);
            for (uint32_t h = start; h < end;) {
                lxstring k;
                uint32_t next = d.readIndexKey(h, k);
                sorted[dir2].push_back(k);
                all.push_back(Key{k, lang});
                if (next <= h)
                    break;
                h = next;
            }
        }
        std::mt19937 rng(4);
        std::shuffle(all.begin(), all.end(), rng);
        all.resize(std::min<size_t>(all.size(), 20000));
        sample = all;
        ok = !sample.empty();
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

bool lookUp(LXD &d, const Key &k)
{
    lxstring found;
    uint32_t rs, re, h;
    bool hit = d.findHeadword(k.text, k.language, found, rs, re, h);
    LXTerm term;
    d.readTerm(term, h, d.readIndexOffset(h));
    benchmark::DoNotOptimize(term);
    return hit;
}

void BM_LookupCold(benchmark::State &state)
{
    Fixture &f = fixture();
    if (!f.ok) {
        state.SkipWithError("no english-german.lxd: build the sample modules or set WORDMERE_SAMPLE_MODULES");
        return;
    }
    LXD d(f.compressor.get(), f.tokenizer.get());
    d.validate(lxstring(f.path.c_str(), LXEncodingUtf8));
    size_t i = 0, misses = 0;
    uint64_t inflated = 0;
    for (auto _ : state) {
        state.PauseTiming();
        d.close();
        d.open();
        state.ResumeTiming();
        const Key &k = f.sample[i++ % f.sample.size()];
        misses += !lookUp(d, k);
        state.PauseTiming();
        inflated += inflations(d);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["inflations/lookup"] = double(inflated) / double(state.iterations());
    state.counters["misses"] = double(misses);
}

void BM_LookupWarm(benchmark::State &state)
{
    Fixture &f = fixture();
    if (!f.ok) {
        state.SkipWithError("no english-german.lxd: build the sample modules or set WORDMERE_SAMPLE_MODULES");
        return;
    }
    LXD d(f.compressor.get(), f.tokenizer.get());
    d.validate(lxstring(f.path.c_str(), LXEncodingUtf8));
    d.open();
    // Warm up: every key once, so the whole-stream buffers (sparse indexes) are loaded.
    for (const Key &k : f.sample)
        lookUp(d, k);
    uint32_t before = inflations(d);
    size_t i = 0, misses = 0;
    for (auto _ : state)
        misses += !lookUp(d, f.sample[i++ % f.sample.size()]);
    state.SetItemsProcessed(state.iterations());
    state.counters["inflations/lookup"] = double(inflations(d) - before) / double(state.iterations());
    state.counters["misses"] = double(misses);
}

void BM_LowerBoundFloor(benchmark::State &state)
{
    Fixture &f = fixture();
    if (!f.ok) {
        state.SkipWithError("no english-german.lxd: build the sample modules or set WORDMERE_SAMPLE_MODULES");
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
BENCHMARK(BM_LowerBoundFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
