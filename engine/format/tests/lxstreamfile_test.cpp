#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/lxstring.h"
#include "format/lxbinaryfile.h"
#include "format/lxcompressor.h"
#include "format/lxstream.h"
#include "format/lxstreamfile.h"
#include "testing/lxtest_files.h"

namespace {

typedef std::vector<uint8_t> Bytes;

lxstring pathOf(const std::string &p) { return lxstring(p.c_str(), LXEncodingUtf8); }

void put32(Bytes &b, size_t at, uint32_t v)
{
    b[at] = uint8_t(v >> 24);
    b[at + 1] = uint8_t(v >> 16);
    b[at + 2] = uint8_t(v >> 8);
    b[at + 3] = uint8_t(v);
}

uint32_t get32(const Bytes &b, size_t at)
{
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
}

// Words and runs that deflate well, mixed with stretches of noise that do not.
Bytes randomStream(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    static const char *const words[] = {"maison ", "house ", "Haus ", "casa ", "\xC3\xA9t\xC3\xA9 ", "\n"};
    Bytes b;
    b.reserve(n);
    while (b.size() < n) {
        if (rng() % 4 == 0) {
            for (int i = rng() % 300; i > 0 && b.size() < n; --i)
                b.push_back(uint8_t(rng()));
        } else {
            const char *w = words[rng() % 6];
            for (const char *p = w; *p && b.size() < n; ++p)
                b.push_back(uint8_t(*p));
        }
    }
    return b;
}

struct StreamSpec {
    Bytes data;
    bool compressed;
};

class Containers : public ::testing::Test {
protected:
    void SetUp() override
    {
        compressor_.reset(LXCompressor::create());
        ASSERT_TRUE(compressor_);
    }
    void TearDown() override
    {
        for (const std::string &p : made_)
            std::remove(p.c_str());
    }

    std::string track(const std::string &p)
    {
        made_.push_back(p);
        return p;
    }

    // Writes through the engine's writer.
    std::string writeContainer(const std::string &name, const std::vector<StreamSpec> &streams)
    {
        const std::string path = track(tempPath(name));
        LXStreamFile f(compressor_.get());
        EXPECT_TRUE(f.open(pathOf(path), LXStreamFile::ModeWrite, static_cast<int32_t>(streams.size())));
        for (size_t i = 0; i < streams.size(); ++i) {
            uint32_t pos = 0;
            for (uint8_t b : streams[i].data)
                f.writeByte(static_cast<int32_t>(i), pos, b);
            f.setCompressed(static_cast<int32_t>(i), streams[i].compressed);
        }
        EXPECT_TRUE(f.write());
        f.close();
        return path;
    }

    std::unique_ptr<LXCompressor> compressor_;
    std::vector<std::string> made_;
};

// ---------------------------------------------------------------------------------------
// A container laid out by hand with zlib's own compress2, independent of the engine's
// writer, so that readers can be fed exactly the bytes a test wants.

struct HandStream {
    Bytes data;
    bool compressed = false;
    uint32_t blockSize = 1024;
};

Bytes handContainer(const std::vector<HandStream> &streams)
{
    const uint32_t n = static_cast<uint32_t>(streams.size());
    Bytes file(16 * (n + 1), 0);
    put32(file, 0, 0x05E9F17E);
    put32(file, 4, n);
    for (uint32_t i = 0; i < n; ++i) {
        const HandStream &s = streams[i];
        const uint32_t offset = static_cast<uint32_t>(file.size());
        uint32_t stored = static_cast<uint32_t>(s.data.size());
        if (!s.compressed) {
            file.insert(file.end(), s.data.begin(), s.data.end());
        } else {
            const size_t blocks = (s.data.size() + s.blockSize - 1) / s.blockSize;
            Bytes table, packed;
            for (size_t b = 0; b < blocks; ++b) {
                const size_t len = std::min<size_t>(s.blockSize, s.data.size() - b * s.blockSize);
                uLongf outLen = compressBound(static_cast<uLong>(len));
                Bytes out(outLen);
                compress2(out.data(), &outLen, s.data.data() + b * s.blockSize, static_cast<uLong>(len), 9);
                const uint32_t at = static_cast<uint32_t>(packed.size());
                table.push_back(uint8_t(at >> 16));
                table.push_back(uint8_t(at >> 8));
                table.push_back(uint8_t(at));
                packed.insert(packed.end(), out.begin(), out.begin() + static_cast<long>(outLen));
            }
            stored = static_cast<uint32_t>(packed.size());
            file.insert(file.end(), table.begin(), table.end());
            file.insert(file.end(), packed.begin(), packed.end());
        }
        put32(file, 16 * (i + 1), offset);
        put32(file, 16 * (i + 1) + 4, static_cast<uint32_t>(s.data.size()));
        put32(file, 16 * (i + 1) + 8, stored);
        put32(file, 16 * (i + 1) + 12, s.blockSize | (s.compressed ? 0x80000000u : 0));
    }
    return file;
}

HandStream hand(const Bytes &data, bool compressed, uint32_t blockSize = 1024)
{
    HandStream s;
    s.data = data;
    s.compressed = compressed;
    s.blockSize = blockSize;
    return s;
}

// Reads every byte of a stream, in the given order of positions.
void expectBytes(LXStreamFile &f, int32_t stream, const Bytes &want, const std::vector<uint32_t> &order,
                 const std::string &what)
{
    for (uint32_t p : order) {
        const uint8_t got = f.readByte(stream, p);
        if (got != want[p]) {
            ADD_FAILURE() << what << ": stream " << stream << " byte " << p << " is " << int(got) << ", wrote "
                          << int(want[p]);
            return;
        }
    }
}

std::vector<uint32_t> shuffled(size_t n, unsigned seed)
{
    std::vector<uint32_t> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = static_cast<uint32_t>(i);
    std::shuffle(order.begin(), order.end(), std::mt19937(seed));
    return order;
}

// ---------------------------------------------------------------------------------------

TEST_F(Containers, RoundTripAtScaleThroughEveryLoadMode)
{
    const size_t lengths[] = {0, 1, 1023, 1024, 1025, 3 * 1024 * 1024 + 17};
    std::vector<StreamSpec> streams;
    for (size_t len : lengths) {
        for (bool compressed : {false, true})
            streams.push_back({randomStream(len, static_cast<unsigned>(len * 2 + compressed)), compressed});
    }
    const std::string path = writeContainer("scale", streams);
    const int32_t count = static_cast<int32_t>(streams.size());

    struct Config {
        int mode;
        int slots;
    };
    const Config configs[] = {
        {LXStream::WholeStream, 0}, {LXStream::BlockCache, 1}, {LXStream::BlockCache, 4}, {LXStream::BlockCache, 8}};
    for (const Config &c : configs) {
        std::vector<int> modes(streams.size(), c.mode), slots(streams.size(), c.slots);
        LXStreamFile f(compressor_.get());
        ASSERT_TRUE(f.open(pathOf(path), LXStreamFile::ModeRead, count, modes.data(), slots.data()));
        const std::string what = "mode " + std::to_string(c.mode) + " slots " + std::to_string(c.slots);
        for (int32_t i = 0; i < count; ++i) {
            const Bytes &want = streams[i].data;
            ASSERT_EQ(f.getStreamSize(i), want.size()) << what;
            if (want.size() <= 4096 || c.mode == 1) {
                expectBytes(f, i, want, shuffled(want.size(), static_cast<unsigned>(i)), what);
            } else {
                // A random walk over the large stream (every read a likely miss with few
                // slots), then every byte once in order.
                std::mt19937 rng(static_cast<unsigned>(i));
                std::vector<uint32_t> walk(40000);
                for (uint32_t &p : walk)
                    p = static_cast<uint32_t>(rng() % want.size());
                expectBytes(f, i, want, walk, what);
                std::vector<uint32_t> all(want.size());
                for (size_t p = 0; p < all.size(); ++p)
                    all[p] = static_cast<uint32_t>(p);
                expectBytes(f, i, want, all, what);
            }
            EXPECT_EQ(f.readByte(i, static_cast<uint32_t>(want.size())), 0) << "past the end reads 0";
        }
    }
}

TEST_F(Containers, LayoutOfBlocksAndEmptyStreams)
{
    const Bytes b1025 = randomStream(1025, 1), b2048 = randomStream(2048, 2);
    const std::string path = writeContainer(
        "layout", {{b1025, true}, {Bytes(), true}, {b2048, true}, {Bytes(), false}, {Bytes{7}, false}});
    const std::string raw = readFile(path);
    const Bytes file(raw.begin(), raw.end());
    ASSERT_GE(file.size(), 96u);

    // A zero-length stream starts where the next one starts and stores nothing.
    EXPECT_EQ(get32(file, 32), get32(file, 48)) << "stream 1 offset equals stream 2 offset";
    EXPECT_EQ(get32(file, 40), 0u);
    EXPECT_EQ(get32(file, 64), get32(file, 80));
    EXPECT_EQ(get32(file, 72), 0u);

    LXStreamFile f(compressor_.get());
    ASSERT_TRUE(f.open(pathOf(path), LXStreamFile::ModeRead));
    // 1025 bytes: two blocks, the second holding one byte as a complete zlib stream.
    const LXStream *s0 = f.getStream(0);
    ASSERT_TRUE(s0);
    EXPECT_EQ(s0->getBlockCount(), 2u);
    const uint32_t offset = get32(file, 16), stored = get32(file, 24);
    const uint32_t second = (uint32_t(file[offset + 3]) << 16) | (uint32_t(file[offset + 4]) << 8) | file[offset + 5];
    const uint8_t *packed = file.data() + offset + 6 + second;
    uLongf outLen = 16;
    uint8_t out[16];
    ASSERT_EQ(uncompress(out, &outLen, packed, stored - second), Z_OK);
    ASSERT_EQ(outLen, 1u);
    EXPECT_EQ(out[0], b1025[1024]);
    EXPECT_EQ(f.readByte(0, 1024), b1025[1024]);
    // 2048 bytes: an exact multiple, so the last block is full.
    EXPECT_EQ(f.getStream(2)->getBlockCount(), 2u);
    EXPECT_EQ(f.readByte(2, 2047), b2048[2047]);
    EXPECT_EQ(f.readByte(2, 1024), b2048[1024]);
    EXPECT_EQ(f.getStreamSize(1), 0u);
    EXPECT_EQ(f.readByte(1, 0), 0);
    EXPECT_EQ(f.readByte(4, 0), 7);
}

TEST_F(Containers, CacheEvictsTheLeastRecentlyUsedBlockAndMovesHitsToTheFront)
{
    const Bytes data = randomStream(8 * 1024, 3);
    const std::string path = writeContainer("cache", {{data, true}});
    const int modes[] = {LXStream::BlockCache}, slots[] = {4};
    LXStreamFile f(compressor_.get());
    ASSERT_TRUE(f.open(pathOf(path), LXStreamFile::ModeRead, 1, modes, slots));
    const LXStream *s = f.getStream(0);
    ASSERT_TRUE(s);
    ASSERT_EQ(s->getSlotCount(), 4u);

    auto order = [&] {
        std::vector<int32_t> v;
        for (uint32_t i = 0; i < 4; ++i)
            v.push_back(s->getSlotBlock(i));
        return v;
    };
    auto readBlock = [&](uint32_t b) { EXPECT_EQ(f.readByte(0, b * 1024 + 5), data[b * 1024 + 5]) << b; };

    EXPECT_EQ(order(), (std::vector<int32_t>{-1, -1, -1, -1}));
    for (uint32_t b = 0; b < 5; ++b)
        readBlock(b);
    EXPECT_EQ(order(), (std::vector<int32_t>{4, 3, 2, 1})) << "block 0 was evicted";
    EXPECT_EQ(s->getInflateCount(), 5u);

    const uint32_t fileReads = f.getFile()->getReadCount();
    readBlock(1);
    EXPECT_EQ(order(), (std::vector<int32_t>{1, 4, 3, 2}));
    for (uint32_t p = 1024; p < 2048; p += 97)
        EXPECT_EQ(f.readByte(0, p), data[p]);
    EXPECT_EQ(s->getInflateCount(), 5u) << "a hit inflates nothing";
    EXPECT_EQ(f.getFile()->getReadCount(), fileReads) << "a hit reads nothing from the file";

    readBlock(0); // a miss again: the last slot (block 2) goes
    EXPECT_EQ(order(), (std::vector<int32_t>{0, 1, 4, 3}));
    EXPECT_EQ(s->getInflateCount(), 6u);
    EXPECT_EQ(s->getBlockLoadCount(), 6u);

    // Whole-stream mode: each block is inflated once, whatever the order of reads.
    const int whole[] = {LXStream::WholeStream};
    ASSERT_TRUE(f.open(pathOf(path), LXStreamFile::ModeRead, 1, whole, nullptr));
    std::mt19937 rng(9);
    for (int i = 0; i < 5000; ++i) {
        const uint32_t p = rng() % data.size();
        ASSERT_EQ(f.readByte(0, p), data[p]);
    }
    EXPECT_EQ(f.getStream(0)->getInflateCount(), 8u);
}

TEST_F(Containers, BlockTableIsReadInChunksThatStay)
{
    // 600 blocks: the table spans three chunks; block 255 ends where chunk 1 begins and
    // the last block ends at the stored size.
    const uint32_t chunk = LXStream::kTableChunkEntries;
    const Bytes data = randomStream(600 * 1024 - 300, 11);
    const std::string path = writeContainer("table-chunks", {{data, true}});
    const int modes[] = {LXStream::BlockCache}, slots[] = {2};
    LXStreamFile f(compressor_.get());
    ASSERT_TRUE(f.open(pathOf(path), LXStreamFile::ModeRead, 1, modes, slots));
    ASSERT_EQ(f.getStream(0)->getBlockCount(), 600u);

    struct Case {
        uint32_t block;
        uint32_t fileReads; // a chunk not read yet costs one read more than the block's data
    } cases[] = {{10, 2}, {200, 1}, {chunk - 1, 1}, {chunk, 2}, {599, 2}, {chunk - 1, 1}, {0, 1}, {2 * chunk - 1, 1}};
    for (const Case &c : cases) {
        const uint32_t before = f.getFile()->getReadCount();
        const uint32_t last = std::min<uint32_t>((c.block + 1) * 1024, uint32_t(data.size())) - 1;
        EXPECT_EQ(f.readByte(0, last), data[last]) << c.block;
        EXPECT_EQ(f.readByte(0, c.block * 1024), data[c.block * 1024]) << c.block;
        EXPECT_EQ(f.getFile()->getReadCount() - before, c.fileReads) << c.block;
    }

    // Every byte read back in a random order, through two slots and through the whole buffer.
    const int whole[] = {LXStream::WholeStream};
    for (const int *mode : {modes, whole}) {
        ASSERT_TRUE(f.open(pathOf(path), LXStreamFile::ModeRead, 1, mode, slots));
        std::mt19937 rng(5);
        for (int i = 0; i < 20000; ++i) {
            const uint32_t p = rng() % data.size();
            ASSERT_EQ(f.readByte(0, p), data[p]) << p;
        }
        EXPECT_EQ(f.readByte(0, uint32_t(data.size())), 0);
    }
}

TEST_F(Containers, TypedReaders)
{
    Bytes s = {0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02, 0x01, 0x12, 0x34, 0x56, 0x78, 0xFF, 0xFE};
    const size_t utf8At = s.size();
    // "a∫" 0xFE "é" then terminator 1, then "x" and the end of the stream.
    for (uint8_t b : {0x61, 0xE2, 0x88, 0xAB, 0xFE, 0xC3, 0xA9, 0x01, 0x78})
        s.push_back(b);
    writeFile(track(tempPath("typed")), handContainer({hand(s, false), hand(s, true, 4)}));
    LXStreamFile f(compressor_.get());
    ASSERT_TRUE(f.open(pathOf(tempPath("typed")), 1));
    for (int32_t st : {0, 1}) {
        EXPECT_EQ(f.readBase255(st, 0), 0u);
        EXPECT_EQ(f.readBase255(st, 4), 255u);
        EXPECT_EQ(f.readInt16(st, 8), 0x1234u);
        EXPECT_EQ(f.readInt32(st, 8), 0x12345678u);
        EXPECT_EQ(f.readInt16(st, 12), 0xFFFEu);
        EXPECT_EQ(f.readInt16(st, static_cast<uint32_t>(s.size()) - 1), 0x7800u) << "the byte past the end is 0";

        uint32_t pos = static_cast<uint32_t>(utf8At) + 1, cp = 0;
        EXPECT_TRUE(f.readCodePoint(st, pos, static_cast<uint32_t>(s.size()), cp));
        EXPECT_EQ(cp, 0x222Bu);
        EXPECT_EQ(pos, utf8At + 4);
        EXPECT_FALSE(f.readCodePoint(st, pos, 100, cp)) << "0xFE yields no code point";
        EXPECT_EQ(pos, utf8At + 5);
        EXPECT_FALSE(f.readCodePoint(st, pos, static_cast<uint32_t>(utf8At + 6), cp)) << "beyond the limit";
        EXPECT_EQ(cp, 0xE9u);

        lxstring text = pathOf("old");
        pos = static_cast<uint32_t>(utf8At);
        f.readString(text, st, pos, 1);
        EXPECT_EQ(std::string(text.c_str()), "a\xE2\x88\xAB\xC3\xA9");
        EXPECT_EQ(pos, utf8At + 8) << "the terminator is consumed";
        f.readString(text, st, pos, 1);
        EXPECT_EQ(std::string(text.c_str()), "x") << "the end of the stream ends the text";
        EXPECT_EQ(pos, s.size());
    }
    // Streams out of range read as 0.
    EXPECT_EQ(f.readByte(2, 0), 0);
    EXPECT_EQ(f.readByte(-1, 0), 0);
    EXPECT_EQ(f.getStreamSize(7), 0u);
}

TEST_F(Containers, WritersAndInPlaceRewrite)
{
    const std::string path = track(tempPath("writers"));
    LXStreamFile f(compressor_.get());
    ASSERT_TRUE(f.open(pathOf(path), LXStreamFile::ModeWrite, 3));
    uint32_t pos = 1000;
    f.writeByte(0, pos, 0xAA);
    EXPECT_EQ(pos, 1001u);
    EXPECT_EQ(f.getStream(0)->getWriteCapacity(), 1024u);
    EXPECT_EQ(f.getStreamSize(0), 1001u);
    pos = 0;
    f.writeInt16(1, pos, 0xBEEF);
    f.writeInt32(1, pos, 0x01020304);
    lxstring wide = pathOf("hi");
    wide.setEncoding(LXEncodingUnits16);
    wide.setByteOrder(1); // 'h' 0 'i' 0: the bytes stop at the first zero byte
    f.writeBytes(1, pos, pathOf("\xC3\xA9t\xC3\xA9"));
    f.writeBytes(1, pos, wide);
    EXPECT_EQ(pos, 6u + 5u + 1u);
    uint32_t ignored = 0;
    f.writeByte(3, ignored, 1);
    EXPECT_EQ(ignored, 0u) << "a stream out of range takes nothing";
    f.setCompressed(0, true);
    ASSERT_TRUE(f.write());

    // Rewrite stream 2 in place, as the additions files do with their header stream.
    pos = 0;
    for (int i = 0; i < 5; ++i)
        f.writeByte(2, pos, uint8_t(i + 1));
    ASSERT_TRUE(f.write());
    const int32_t end = f.seek(0, 3);
    const int32_t stream2At = static_cast<int32_t>(f.getStream(2)->getEntry().offset);
    ASSERT_EQ(f.seek(stream2At, 1), stream2At);
    for (int i = 0; i < 5; ++i) {
        pos = static_cast<uint32_t>(i);
        f.writeByte(2, pos, uint8_t(10 + i));
    }
    ASSERT_TRUE(f.writeStream(2));
    f.close();
    EXPECT_EQ(readFile(path).size(), static_cast<size_t>(end));

    ASSERT_TRUE(f.open(pathOf(path), LXStreamFile::ModeRead));
    EXPECT_EQ(f.readByte(0, 999), 0) << "bytes skipped over are 0";
    EXPECT_EQ(f.readByte(0, 1000), 0xAA);
    EXPECT_TRUE(f.getStream(0)->isCompressed());
    EXPECT_EQ(f.readInt16(1, 0), 0xBEEFu);
    EXPECT_EQ(f.readInt32(1, 2), 0x01020304u);
    EXPECT_EQ(f.readByte(1, 6), 0xC3);
    EXPECT_EQ(f.readByte(1, 11), 'h');
    EXPECT_EQ(f.getStreamSize(1), 12u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(f.readByte(2, static_cast<uint32_t>(i)), 10 + i);
}

TEST_F(Containers, LoadModesAndTables)
{
    const Bytes a = randomStream(3000, 4), b = randomStream(10, 5);
    const std::string path = writeContainer("modes", {{a, true}, {b, false}, {a, false}});
    LXStreamFile f(compressor_.get());
    const int modes[] = {LXStream::NotLoaded, LXStream::BlockCache};
    const int slots[] = {3, 3};
    // Tables shorter than the stream count: the rest are loaded whole with 8 slots.
    ASSERT_TRUE(f.open(pathOf(path), LXStreamFile::ModeRead, 2, modes, slots));
    EXPECT_EQ(f.getStreamCount(), 3u);
    EXPECT_EQ(f.getStream(0), nullptr);
    EXPECT_EQ(f.getStreamSize(0), 0u);
    EXPECT_EQ(f.readByte(0, 1), 0);
    EXPECT_EQ(f.getStream(1)->getSlotCount(), 3u);
    EXPECT_EQ(f.readByte(1, 9), b[9]);
    EXPECT_EQ(f.readByte(2, 2999), a[2999]);
    EXPECT_EQ(f.getStream(2)->getSlotCount(), 0u);
    EXPECT_TRUE(f.isOpen());
    f.close();
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(f.getStreamCount(), 0u);
    EXPECT_EQ(f.seek(0, 1), -1);
}

TEST_F(Containers, NamesBeyondAscii)
{
    const std::string path = track(tempPath("d\xC3\xA9j\xC3\xA0-\xE6\x97\xA5.lxd"));
    LXStreamFile f(compressor_.get());
    lxstring name = pathOf(path);
    name.setEncoding(LXEncodingUnits16); // as the shell hands paths over
    name.setByteOrder(1);
    ASSERT_TRUE(f.open(name, LXStreamFile::ModeWrite, 1));
    uint32_t pos = 0;
    f.writeByte(0, pos, 42);
    ASSERT_TRUE(f.write());
    f.close();
    ASSERT_TRUE(f.open(name, LXStreamFile::ModeRead));
    EXPECT_EQ(f.readByte(0, 0), 42);
}

// ---------------------------------------------------------------------------------------
// Bad input: every case gives a refusal to open or zero bytes; the sanitizer build and the
// fuzzer check that nothing is read or written out of bounds on the way.

TEST_F(Containers, RefusesFilesThatAreNotContainers)
{
    const Bytes good = handContainer({hand(randomStream(100, 6), false), hand(randomStream(3000, 7), true)});
    struct Case {
        const char *what;
        Bytes bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"empty file", Bytes()});
    cases.push_back({"short header", Bytes(good.begin(), good.begin() + 15)});
    Bytes magic = good;
    magic[3] ^= 1;
    cases.push_back({"wrong magic", magic});
    Bytes zero = good;
    put32(zero, 4, 0);
    cases.push_back({"stream count 0", zero});
    cases.push_back({"short directory", Bytes(good.begin(), good.begin() + 40)});
    Bytes huge = good;
    put32(huge, 4, 0xFFFFFFFF);
    cases.push_back({"count far beyond the file", huge});
    Bytes past = good;
    put32(past, 16, static_cast<uint32_t>(good.size()) + 1);
    cases.push_back({"offset past the end", past});
    Bytes longer = good;
    put32(longer, 20, get32(good, 20) + static_cast<uint32_t>(good.size()));
    cases.push_back({"plain length past the end", longer});
    Bytes storedLarge = good;
    put32(storedLarge, 40, static_cast<uint32_t>(good.size()));
    cases.push_back({"stored size larger than the file", storedLarge});
    Bytes tableLarge = good;
    put32(tableLarge, 36, 0x7FFFFFFF); // 2 G: the block table alone would be 6 MB
    cases.push_back({"length whose block table is past the end", tableLarge});
    Bytes ratio = handContainer({hand(Bytes(8 * 1024, 'x'), true, 0x7FFFFFFF)});
    put32(ratio, 20, 0x7FFFFFF0);
    cases.push_back({"length no stored bytes could inflate to", ratio});

    for (const Case &c : cases) {
        const std::string p = track(tempPath("bad"));
        writeFile(p, c.bytes);
        LXStreamFile f(compressor_.get());
        EXPECT_FALSE(f.open(pathOf(p), LXStreamFile::ModeRead)) << c.what;
        EXPECT_FALSE(f.isOpen()) << c.what;
        EXPECT_EQ(f.readByte(0, 0), 0) << c.what;
    }
    LXStreamFile f(compressor_.get());
    EXPECT_FALSE(f.open(pathOf(tempPath("missing")), 1));
    EXPECT_FALSE(f.open(pathOf(tempPath("x")), 3));
}

TEST_F(Containers, BadEntriesOfStreamsNotLoadedAreIgnored)
{
    Bytes file = handContainer({hand(Bytes{1, 2, 3}, false), hand(Bytes{4}, false)});
    put32(file, 32, 0xFFFFFF00);
    put32(file, 36, 0xFFFFFF00);
    const std::string p = track(tempPath("partial"));
    writeFile(p, file);
    const int modes[] = {LXStream::WholeStream, LXStream::NotLoaded};
    LXStreamFile f(compressor_.get());
    ASSERT_TRUE(f.open(pathOf(p), LXStreamFile::ModeRead, 2, modes, nullptr));
    EXPECT_EQ(f.readByte(0, 2), 3);
    EXPECT_EQ(f.getStreamSize(1), 0u);
    EXPECT_FALSE(f.open(pathOf(p), LXStreamFile::ModeRead)) << "loaded, the same entry is refused";
}

TEST_F(Containers, BadBlocksReadAsZeroAndLeaveTheirNeighboursReadable)
{
    const Bytes data = randomStream(4 * 1024, 8);
    const Bytes good = handContainer({hand(data, true)});
    const uint32_t offset = get32(good, 16);
    auto entry = [&](const Bytes &f, uint32_t b) {
        const size_t at = offset + 3 * b;
        return (uint32_t(f[at]) << 16) | (uint32_t(f[at + 1]) << 8) | f[at + 2];
    };
    auto setEntry = [&](Bytes &f, uint32_t b, uint32_t v) {
        const size_t at = offset + 3 * b;
        f[at] = uint8_t(v >> 16);
        f[at + 1] = uint8_t(v >> 8);
        f[at + 2] = uint8_t(v);
    };
    const size_t dataAt = offset + 12;

    struct Case {
        const char *what;
        Bytes bytes;
        std::vector<uint32_t> badBlocks;
    };
    std::vector<Case> cases;
    {
        Bytes f = good; // entries 1 and 2 swapped: block 1 has a negative size
        const uint32_t e1 = entry(f, 1), e2 = entry(f, 2);
        setEntry(f, 1, e2);
        setEntry(f, 2, e1);
        cases.push_back({"table not increasing", f, {0, 1, 2}});
    }
    {
        Bytes f = good; // block 1 ends where block 0 ends: no data
        setEntry(f, 1, entry(f, 2));
        cases.push_back({"empty block", f, {0, 1}});
    }
    {
        Bytes f = good;
        setEntry(f, 3, 0xFFFFFF);
        cases.push_back({"last entry past the stored size", f, {2, 3}});
    }
    {
        Bytes f = good;
        f[dataAt + entry(f, 2) + 7] ^= 0x55;
        cases.push_back({"damaged deflate data", f, {2}});
    }
    {
        // Block 1 replaced by a zlib stream of 1023 bytes, padded to its old size.
        Bytes f = good;
        const uint32_t size = entry(f, 2) - entry(f, 1);
        uLongf outLen = compressBound(1023);
        Bytes out(outLen);
        compress2(out.data(), &outLen, data.data() + 1024, 1023, 9);
        ASSERT_LE(outLen, size);
        std::copy(out.begin(), out.begin() + static_cast<long>(outLen), f.begin() + static_cast<long>(dataAt + entry(f, 1)));
        cases.push_back({"block inflates short", f, {1}});
    }
    {
        // Last block (1024 bytes) replaced by a zlib stream of 2000 bytes at the same place.
        Bytes f(good.begin(), good.begin() + static_cast<long>(dataAt + entry(good, 3)));
        uLongf outLen = compressBound(2000);
        Bytes out(outLen);
        Bytes longer = randomStream(2000, 11);
        compress2(out.data(), &outLen, longer.data(), 2000, 9);
        f.insert(f.end(), out.begin(), out.begin() + static_cast<long>(outLen));
        put32(f, 24, entry(good, 3) + static_cast<uint32_t>(outLen));
        cases.push_back({"block inflates long", f, {3}});
    }

    for (const Case &c : cases) {
        for (int mode : {LXStream::WholeStream, LXStream::BlockCache}) {
            const std::string p = track(tempPath("block"));
            writeFile(p, c.bytes);
            const int modes[] = {mode}, slots[] = {2};
            LXStreamFile f(compressor_.get());
            ASSERT_TRUE(f.open(pathOf(p), LXStreamFile::ModeRead, 1, modes, slots)) << c.what;
            for (int pass = 0; pass < 2; ++pass) { // a failed block is not kept as loaded
                for (uint32_t b = 0; b < 4; ++b) {
                    const bool bad = std::find(c.badBlocks.begin(), c.badBlocks.end(), b) != c.badBlocks.end();
                    for (uint32_t p : {b * 1024, b * 1024 + 1023}) {
                        const uint8_t got = f.readByte(0, p);
                        if (bad) {
                            EXPECT_EQ(got, 0) << c.what << " mode " << mode << " byte " << p;
                        } else {
                            EXPECT_EQ(got, data[p]) << c.what << " mode " << mode << " byte " << p;
                        }
                    }
                    if (mode == 2 && bad) {
                        EXPECT_EQ(f.getStream(0)->getSlotBlock(0), -1) << c.what;
                    }
                }
            }
        }
    }
}

TEST_F(Containers, BlockSizesOfZeroOrFarBeyondTheLength)
{
    const Bytes data = randomStream(5000, 12);
    Bytes zero = handContainer({hand(data, false), hand(data, true)});
    put32(zero, 28, 0);
    put32(zero, 44, 0x80000000u);
    const std::string p = track(tempPath("zero"));
    writeFile(p, zero);
    LXStreamFile f(compressor_.get());
    ASSERT_TRUE(f.open(pathOf(p), LXStreamFile::ModeRead));
    for (int32_t s : {0, 1}) {
        EXPECT_EQ(f.getStreamSize(s), 0u) << "no blocks, no bytes";
        EXPECT_EQ(f.readByte(s, 0), 0);
        EXPECT_EQ(f.readByte(s, 4999), 0);
    }

    // One block of nearly 2 GB holding 5000 bytes: read whole, nothing of that size made.
    const Bytes big = handContainer({hand(data, false, 0x7FFFFFFF), hand(data, true, 0x7FFFFFFF)});
    const std::string q = track(tempPath("big"));
    writeFile(q, big);
    for (int mode : {LXStream::WholeStream, LXStream::BlockCache}) {
        const int modes[] = {mode, mode}, slots[] = {8, 8};
        ASSERT_TRUE(f.open(pathOf(q), LXStreamFile::ModeRead, 2, modes, slots));
        for (int32_t s : {0, 1}) {
            EXPECT_EQ(f.getStream(s)->getBlockCount(), 1u);
            expectBytes(f, s, data, shuffled(data.size(), 3), "huge block size");
        }
    }
}

TEST_F(Containers, TruncatedFilesRefuseOrReadZeroes)
{
    const Bytes data = randomStream(6000, 13);
    const Bytes good = handContainer({hand(data, false), hand(data, true)});
    // Every cut of the file either fails to open or reads the bytes that are there.
    for (size_t cut = 0; cut < good.size(); cut += (cut < 200 ? 1 : 331)) {
        const std::string p = track(tempPath("cut" + std::to_string(cut)));
        writeFile(p, Bytes(good.begin(), good.begin() + static_cast<long>(cut)));
        LXStreamFile f(compressor_.get());
        if (!f.open(pathOf(p), LXStreamFile::ModeRead))
            continue;
        for (int32_t s : {0, 1}) {
            for (uint32_t pos = 0; pos < f.getStreamSize(s); pos += 500) {
                const uint8_t got = f.readByte(s, pos);
                EXPECT_TRUE(got == 0 || got == data[pos]) << cut;
            }
        }
    }
}

// ---------------------------------------------------------------------------------------
// Samples for the independent reader (engine/tests/container_reader.py): written only when
// the reader asks for them through WORDMERE_CONTAINER_OUT.

TEST(ContainerSamples, WriteForTheIndependentReader)
{
    const char *out = std::getenv("WORDMERE_CONTAINER_OUT");
    if (!out || !*out)
        GTEST_SKIP() << "run by container_reader.py";
    std::unique_ptr<LXCompressor> compressor(LXCompressor::create());
    ASSERT_TRUE(compressor);

    struct Sample {
        const char *name;
        std::vector<std::pair<size_t, bool>> streams;
        bool rewriteFirst;
    };
    const Sample samples[] = {
        {"edges", {{0, false}, {1, true}, {1023, true}, {1024, true}, {1025, true}, {1, false}, {0, true}, {1025, false}},
         false},
        {"large", {{48, false}, {2 * 1024 * 1024 + 5, true}, {300000, false}, {777777, true}}, false},
        {"rewritten", {{48, false}, {5000, true}, {10, false}, {0, false}, {4000, true}}, true},
    };
    for (const Sample &s : samples) {
        const std::string base = std::string(out) + "/" + s.name;
        std::vector<Bytes> data;
        LXStreamFile f(compressor.get());
        ASSERT_TRUE(f.open(pathOf(base + ".lxs"), LXStreamFile::ModeWrite, static_cast<int32_t>(s.streams.size())));
        std::ofstream manifest(base + ".manifest");
        for (size_t i = 0; i < s.streams.size(); ++i) {
            data.push_back(randomStream(s.streams[i].first, static_cast<unsigned>(100 + i)));
            uint32_t pos = 0;
            for (uint8_t b : data[i])
                f.writeByte(static_cast<int32_t>(i), pos, b);
            f.setCompressed(static_cast<int32_t>(i), s.streams[i].second);
            manifest << i << " " << data[i].size() << " " << (s.streams[i].second ? 1 : 0) << "\n";
        }
        ASSERT_TRUE(f.write());
        if (s.rewriteFirst) {
            // New contents for stream 0 in place, as the additions files rewrite their header.
            Bytes header = randomStream(48, 999);
            for (uint32_t i = 0; i < 48; ++i) {
                uint32_t pos = i;
                f.writeByte(0, pos, header[i]);
            }
            data[0] = header;
            ASSERT_EQ(f.seek(static_cast<int32_t>(16 * (s.streams.size() + 1)), 1),
                      static_cast<int32_t>(16 * (s.streams.size() + 1)));
            ASSERT_TRUE(f.writeStream(0));
        }
        f.close();
        for (size_t i = 0; i < data.size(); ++i)
            writeFile(base + "." + std::to_string(i) + ".raw", data[i]);
    }
}

} // namespace
