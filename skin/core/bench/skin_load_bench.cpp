// Loading the default skin (expansion, parsing every record, decoding the pictures, cutting
// them out) against the expansion alone, on the same file in the same run.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "skin_repository.h"

namespace {
std::vector<uint8_t> defaultSkin()
{
    std::ifstream in(WORDMERE_DEFAULT_SKIN "/skin.gvf", std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ExpandOnly(benchmark::State &state)
{
    const std::vector<uint8_t> file = defaultSkin();
    for (auto _ : state) {
        MemoryStream stream(file.data(), static_cast<uint32_t>(file.size()));
        MemoryStream body;
        benchmark::DoNotOptimize(stream.expandInto(body));
    }
}
BENCHMARK(ExpandOnly)->Unit(benchmark::kMicrosecond);

void LoadDefaultSkin(benchmark::State &state)
{
    const std::vector<uint8_t> file = defaultSkin();
    for (auto _ : state) {
        MemoryStream stream(file.data(), static_cast<uint32_t>(file.size()));
        SkinRepository repository;
        benchmark::DoNotOptimize(repository.loadFromStream(stream));
    }
}
BENCHMARK(LoadDefaultSkin)->Unit(benchmark::kMicrosecond);
}  // namespace

BENCHMARK_MAIN();
