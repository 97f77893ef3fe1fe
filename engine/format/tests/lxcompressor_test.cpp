#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "format/lxcompressor.h"

namespace {

std::vector<uint8_t> someText(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(n);
    for (auto &b : v)
        b = static_cast<uint8_t>("abcdefgh  \n"[rng() % 11]);
    return v;
}

TEST(LXCompressor, RoundTripsBlocksAsCompleteZlibStreams)
{
    std::unique_ptr<LXCompressor> c(LXCompressor::create());
    ASSERT_TRUE(c);
    for (size_t n : {size_t(0), size_t(1), size_t(1023), size_t(1024)}) {
        std::vector<uint8_t> in = someText(n, static_cast<unsigned>(n));
        std::vector<uint8_t> packed(2048), out(1024 + 1);
        uint32_t packedLen = c->compress(in.data(), static_cast<uint32_t>(n), packed.data(), 2048);
        ASSERT_GT(packedLen, 2u) << n;
        // zlib header: deflate with a 2^13 window, header checksum valid.
        EXPECT_EQ(packed[0], 0x58) << n;
        EXPECT_EQ(((packed[0] << 8) | packed[1]) % 31, 0) << n;
        uint32_t outLen = c->decompress(packed.data(), packedLen, out.data(), 1024);
        EXPECT_EQ(outLen, n);
        out.resize(outLen);
        EXPECT_EQ(out, in);
    }
}

TEST(LXCompressor, AnswersZeroWhenTheStreamDoesNotEnd)
{
    std::unique_ptr<LXCompressor> c(LXCompressor::create());
    ASSERT_TRUE(c);
    std::vector<uint8_t> in = someText(1024, 7), packed(2048), out(1024);
    uint32_t packedLen = c->compress(in.data(), 1024, packed.data(), 2048);
    ASSERT_GT(packedLen, 0u);

    EXPECT_EQ(c->compress(in.data(), 1024, packed.data(), 4), 0u) << "output too small";
    EXPECT_EQ(c->decompress(packed.data(), packedLen - 1, out.data(), 1024), 0u) << "truncated";
    EXPECT_EQ(c->decompress(packed.data(), packedLen, out.data(), 1023), 0u) << "output too small";
    std::vector<uint8_t> junk(100, 0xAB);
    EXPECT_EQ(c->decompress(junk.data(), 100, out.data(), 1024), 0u);
    std::vector<uint8_t> flipped(packed.begin(), packed.begin() + packedLen);
    flipped[packedLen - 1] ^= 1; // checksum
    EXPECT_EQ(c->decompress(flipped.data(), packedLen, out.data(), 1024), 0u);
    std::vector<uint8_t> trailing(packed.begin(), packed.begin() + packedLen);
    trailing.push_back(0);
    EXPECT_EQ(c->decompress(trailing.data(), packedLen + 1, out.data(), 1024), 0u) << "data after the stream";
    // The state is reset on every call: a good block still inflates after the failures.
    EXPECT_EQ(c->decompress(packed.data(), packedLen, out.data(), 1024), 1024u);
    EXPECT_EQ(c->getDecompressCount(), 6u);
}

} // namespace
