// LXCompressor: one zlib deflate state and one inflate state, reused for every block.
//
// The data manager owns the single instance; every container borrows it. Not for use by
// two containers at the same moment.
#ifndef WORDMERE_ENGINE_LXCOMPRESSOR_H
#define WORDMERE_ENGINE_LXCOMPRESSOR_H

#include <cstdint>

#include <zlib.h>

class LXCompressor {
public:
    // Null when the deflate or inflate state cannot be initialised.
    static LXCompressor *create();
    ~LXCompressor();

    LXCompressor(const LXCompressor &) = delete;
    LXCompressor &operator=(const LXCompressor &) = delete;

    // Deflates the whole input as one zlib stream (header and checksum); the output's
    // length, or 0 when it does not fit or zlib fails.
    uint32_t compress(const uint8_t *input, uint32_t inputLength, uint8_t *output, uint32_t outputCapacity);

    // Inflates one complete zlib stream that fills the input exactly; the output's length,
    // or 0 when the input is not such a stream or its data does not fit.
    uint32_t decompress(const uint8_t *input, uint32_t inputLength, uint8_t *output, uint32_t outputCapacity);

    int getLastResult() const { return m_lastResult; }

    // Inflations since creation; lets tests and benchmarks see what a cache saved.
    uint32_t getDecompressCount() const { return m_decompressCount; }

private:
    LXCompressor();

    int m_lastResult;
    z_stream m_deflate;
    z_stream m_inflate;
    uint32_t m_decompressCount;
};

#endif
