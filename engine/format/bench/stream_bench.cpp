// Random reads of a large compressed stream through the block cache (4 slots) and
// through the whole-stream buffer: reads per second and inflations per 1000 reads. The
// Run16 case reads 16 bytes in a row at each place, as a key comparison does.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "base/lxstring.h"
#include "format/lxcompressor.h"
#include "format/lxstreamfile.h"

namespace {

const uint32_t kStreamBytes = 16 * 1024 * 1024;

// Dictionary-like text: deflates to about a third, as the headword and term streams do.
const std::string &containerPath()
{
    static const std::string path = [] {
        // Named by the process: the benchmark of another checkout may run at the same time.
        const std::string p = "/tmp/wm_stream_bench_" + std::to_string(getpid()) + ".lxs";
        std::unique_ptr<LXCompressor> c(LXCompressor::create());
        LXStreamFile f(c.get());
        f.open(lxstring(p.c_str(), LXEncodingUtf8), LXStreamFile::ModeWrite, 1);
        std::mt19937 rng(1);
        static const char *const words[] = {"maison", "house", "Haus", "casa", "\xC3\xA9t\xC3\xA9", "Sommer",
                                            "summer", "verano", "estate", "zomer", "ferme", "farm"};
        uint32_t pos = 0;
        while (pos < kStreamBytes) {
            for (const char *w = words[rng() % 12]; *w; ++w)
                f.writeByte(0, pos, static_cast<uint8_t>(*w));
            f.writeByte(0, pos, static_cast<uint8_t>(rng() % 4 ? ' ' : 0));
        }
        f.setCompressed(0, true);
        f.write();
        f.close();
        std::atexit([] { std::remove(containerPath().c_str()); });
        return p;
    }();
    return path;
}

void randomReads(benchmark::State &state, int mode, int width)
{
    std::unique_ptr<LXCompressor> c(LXCompressor::create());
    LXStreamFile f(c.get());
    const int modes[] = {mode}, slots[] = {4};
    if (!f.open(lxstring(containerPath().c_str(), LXEncodingUtf8), LXStreamFile::ModeRead, 1, modes, slots)) {
        state.SkipWithError("cannot open the container");
        return;
    }
    const uint32_t size = f.getStreamSize(0);
    std::vector<uint32_t> positions(1 << 16);
    std::mt19937 rng(7);
    for (uint32_t &p : positions)
        p = rng() % (size - 16);
    if (mode == LXStream::WholeStream) // the whole buffer is filled once; measure the steady state
        for (uint32_t p = 0; p < size; p += 1024)
            f.readByte(0, p);
    const uint32_t inflationsBefore = c->getDecompressCount();
    size_t i = 0;
    uint64_t reads = 0;
    for (auto _ : state) {
        const uint32_t p = positions[i++ & (positions.size() - 1)];
        if (width == 16) { // one search key: a short run of bytes at one place
            uint32_t sum = 0;
            for (uint32_t k = 0; k < 16; ++k)
                sum += f.readByte(0, p + k);
            benchmark::DoNotOptimize(sum);
            reads += 16;
        } else {
            benchmark::DoNotOptimize(width == 1 ? f.readByte(0, p) : f.readInt32(0, p));
            ++reads;
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(reads));
    state.counters["inflations_per_1000_reads"] =
        reads ? 1000.0 * (c->getDecompressCount() - inflationsBefore) / static_cast<double>(reads) : 0.0;
}

void BM_CacheFourSlots_Byte(benchmark::State &s) { randomReads(s, LXStream::BlockCache, 1); }
void BM_CacheFourSlots_Int32(benchmark::State &s) { randomReads(s, LXStream::BlockCache, 4); }
void BM_CacheFourSlots_Run16(benchmark::State &s) { randomReads(s, LXStream::BlockCache, 16); }
void BM_WholeStream_Byte(benchmark::State &s) { randomReads(s, LXStream::WholeStream, 1); }
void BM_WholeStream_Int32(benchmark::State &s) { randomReads(s, LXStream::WholeStream, 4); }

BENCHMARK(BM_CacheFourSlots_Byte);
BENCHMARK(BM_CacheFourSlots_Int32);
BENCHMARK(BM_CacheFourSlots_Run16);
BENCHMARK(BM_WholeStream_Byte);
BENCHMARK(BM_WholeStream_Int32);

} // namespace

BENCHMARK_MAIN();
