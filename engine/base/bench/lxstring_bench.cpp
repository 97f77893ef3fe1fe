// lxstring hot paths: collation (module keys, merged results), appending, re-encoding
// (every search text goes to UTF-8) and hashing (string-keyed tables).
#include "base/lxstring.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

std::vector<lxstring> words(size_t n)
{
    const uint32_t alphabet[] = {'a', 'e', 'i', 'n', 'o', 'r', 's', 't', 'E', 'S',
                                 0xE9, 0xE8, 0xDF, 0xE6, 0xC6, 0xF6, '-', ' '};
    std::mt19937 rng(1);
    std::vector<lxstring> v;
    for (size_t i = 0; i < n; ++i) {
        lxstring s;
        size_t len = 3 + rng() % 10;
        for (size_t k = 0; k < len; ++k) s += alphabet[rng() % (sizeof alphabet / sizeof alphabet[0])];
        v.push_back(s);
    }
    return v;
}

void BM_SortHeadwords(benchmark::State &state)
{
    const std::vector<lxstring> base = words(size_t(state.range(0)));
    for (auto _ : state) {
        std::vector<lxstring> v = base;
        std::sort(v.begin(), v.end(), [](const lxstring &a, const lxstring &b) { return a < b; });
        benchmark::DoNotOptimize(v.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortHeadwords)->Arg(10000);

void BM_CompareEqualWords(benchmark::State &state)
{
    // Equal under ==: both passes run to the end.
    lxstring a("stra\xC3\x9F" "enbahnhaltestelle", LXEncodingUtf8), b("strassenbahnhaltestelle", LXEncodingUtf8);
    for (auto _ : state) benchmark::DoNotOptimize(a.compare(b, LXLanguageNone));
}
BENCHMARK(BM_CompareEqualWords);

void BM_AppendCodePoints(benchmark::State &state)
{
    for (auto _ : state) {
        lxstring s;
        for (uint32_t i = 0; i < 1000; ++i) s += uint32_t(0x41 + i % 300);
        benchmark::DoNotOptimize(s.c_str());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_AppendCodePoints);

void BM_Utf16RoundTrip(benchmark::State &state)
{
    lxstring text("Wortschatz \xC3\xBC" "ber W\xC3\xB6rterb\xC3\xBC" "cher und \xE2\x82\xAC", LXEncodingUtf8);
    for (auto _ : state) {
        lxstring s(text);
        s.setEncoding(LXEncodingUnits16);
        s.setByteOrder(1);
        s.setByteOrder(0);
        s.setEncoding(LXEncodingUtf8);
        benchmark::DoNotOptimize(s.c_str());
    }
}
BENCHMARK(BM_Utf16RoundTrip);

void BM_Hash(benchmark::State &state)
{
    const std::vector<lxstring> v = words(1000);
    for (auto _ : state)
        for (const lxstring &s : v) benchmark::DoNotOptimize(s.hash(397));
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Hash);

} // namespace
BENCHMARK_MAIN();
