// Decoding a 256 x 256 24-bit BMP and TGA from memory, per second, beside ImageMagick's own
// decode of the same files (its -bench loop, one thread) measured in the same run: the
// counters imagemagick_per_s and ratio (ours over ImageMagick's) come with each result.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include "imagefile.h"
#include "rasterimage.h"

namespace {

const int32_t kSide = 256;
const int kImageMagickRounds = 400;

std::vector<uint8_t> encoded(int32_t format)
{
    RasterImage image(kSide, kSide, 24);
    for (int32_t y = 0; y < kSide; ++y)
        for (int32_t x = 0; x < kSide; ++x)
            image.SetPixelColor(x, y, uint32_t((x * 7) & 0xFF) | uint32_t(((y * 3) & 0xFF) << 8) |
                                          uint32_t(((x ^ y) & 0xFF) << 16));
    ImageMemoryFile file;
    image.Encode(&file, format);
    return std::vector<uint8_t>(file.GetBuffer(), file.GetBuffer() + file.Size());
}

// Decodes per second by ImageMagick, single-threaded, of the same bytes; 0 when it cannot run.
double imageMagickRate(const std::vector<uint8_t> &data, const char *extension)
{
    const std::string path = "/tmp/wm_codec_bench_" + std::to_string(getpid()) + extension;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(data.data()), std::streamsize(data.size()));
    const std::string command = "convert -bench " + std::to_string(kImageMagickRounds) + " " + path + " null: 2>&1";
    double rate = 0;
    if (FILE *p = popen(command.c_str(), "r")) {
        char line[256];
        while (std::fgets(line, sizeof(line), p)) {
            double ips;
            // The first line is the one-thread round: "Performance[1]: 400i 2853.4ips ...".
            if (std::sscanf(line, " Performance[1]: %*di %lfips", &ips) == 1)
                rate = ips;
        }
        pclose(p);
    }
    std::remove(path.c_str());
    return rate;
}

void decode(benchmark::State &state, int32_t format, const char *extension)
{
    const std::vector<uint8_t> data = encoded(format);
    static std::map<int32_t, double> imageMagick;
    if (!imageMagick.count(format))
        imageMagick[format] = imageMagickRate(data, extension);
    std::vector<uint8_t> copy(data);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        ImageMemoryFile file(copy.data(), uint32_t(copy.size()));
        RasterImage image;
        if (!image.Decode(&file, format)) {
            state.SkipWithError(image.lastError);
            return;
        }
        benchmark::DoNotOptimize(image.RowPointer(0));
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetItemsProcessed(state.iterations());
    const double ours = seconds > 0 ? double(state.iterations()) / seconds : 0;
    const double theirs = imageMagick[format];
    state.counters["imagemagick_per_s"] = theirs;
    state.counters["ratio"] = theirs > 0 ? ours / theirs : 0; // ours per second over ImageMagick's
}

void BM_DecodeBmp24(benchmark::State &state)
{
    decode(state, kRasterFormatBmp, ".bmp");
}

void BM_DecodeTga24(benchmark::State &state)
{
    decode(state, kRasterFormatTga, ".tga");
}

} // namespace

BENCHMARK(BM_DecodeBmp24);
BENCHMARK(BM_DecodeTga24);
BENCHMARK_MAIN();
