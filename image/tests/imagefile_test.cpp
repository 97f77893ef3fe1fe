// ImageMemoryFile: reading, writing, growth, seeking and the byte interface.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "imagefile.h"

TEST(ImageMemoryFile, GrowsInWholePagesAndKeepsWhatWasWritten)
{
    ImageMemoryFile file;
    EXPECT_EQ(file.Size(), 0);
    EXPECT_EQ(file.Capacity(), 0u);
    std::vector<uint8_t> data(5000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uint8_t(i * 7);
    EXPECT_EQ(file.Write(data.data(), 1, 5000), 5000u);
    EXPECT_EQ(file.Capacity(), 8192u);
    EXPECT_EQ(file.Size(), 5000);
    EXPECT_EQ(file.Tell(), 5000);
    // One more page only when the next write passes the capacity.
    EXPECT_EQ(file.Write(data.data(), 4, 798), 798u); // 8192 bytes in all
    EXPECT_EQ(file.Capacity(), 8192u);
    EXPECT_EQ(file.Write(data.data(), 1, 1), 1u);
    EXPECT_EQ(file.Capacity(), 12288u);
    EXPECT_EQ(std::memcmp(file.GetBuffer(), data.data(), 5000), 0);
}

TEST(ImageMemoryFile, SeeksFromEachOriginAndRefusesNegativePositions)
{
    uint8_t block[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    ImageMemoryFile file(block, sizeof(block));
    EXPECT_FALSE(file.Seek(-1, kImageSeekSet));
    EXPECT_TRUE(file.Seek(4, kImageSeekSet));
    EXPECT_TRUE(file.Seek(2, kImageSeekCurrent));
    EXPECT_EQ(file.GetC(), 6);
    EXPECT_TRUE(file.Seek(-3, kImageSeekEnd));
    EXPECT_EQ(file.Tell(), 7);
    EXPECT_FALSE(file.Seek(-8, kImageSeekCurrent));
    EXPECT_EQ(file.Tell(), 7); // a refused seek moves nothing
    EXPECT_FALSE(file.Seek(0, 3)); // no such origin

    // Past the end is a valid position: reads give nothing and the error flag says so.
    EXPECT_TRUE(file.Seek(100, kImageSeekSet));
    uint8_t out[4];
    EXPECT_EQ(file.Read(out, 1, 4), 0u);
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(file.Error(), 1);
    EXPECT_EQ(file.GetC(), -1);
}

TEST(ImageMemoryFile, ReadsWholeElementsAndBytesAsUnsigned)
{
    uint8_t block[10] = {0xFF, 0x80, 2, 3, 4, 5, 6, 7, 8, 9};
    ImageMemoryFile file(block, sizeof(block));
    EXPECT_EQ(file.GetC(), 0xFF); // a byte of all ones is not the end
    EXPECT_EQ(file.GetC(), 0x80);
    uint32_t words[3] = {};
    // Eight bytes are left: two whole elements of four; the position moves by all eight.
    EXPECT_EQ(file.Read(words, 4, 3), 2u);
    EXPECT_EQ(file.Tell(), 10);
    EXPECT_EQ(file.Read(words, 0, 3), 0u);
    EXPECT_EQ(file.Read(nullptr, 1, 1), 0u);
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(file.Error(), 0);
}

TEST(ImageMemoryFile, WritingAfterASeekPastTheEndFillsTheGapWithZeros)
{
    // Fresh heap memory is not zero (AddressSanitizer fills it), so a gap left as the
    // allocator gave it shows here.
    const uint8_t a[3] = {1, 2, 3};
    ImageMemoryFile fresh;
    ASSERT_EQ(fresh.Write(a, 1, 3), 3u);
    ASSERT_TRUE(fresh.Seek(100, kImageSeekSet));
    ASSERT_TRUE(fresh.PutC(9));
    ASSERT_TRUE(fresh.Seek(150, kImageSeekSet));
    ASSERT_EQ(fresh.Write(a, 1, 3), 3u);
    EXPECT_EQ(fresh.Size(), 153);
    const uint8_t *b = fresh.GetBuffer();
    for (int i = 3; i < 100; ++i)
        ASSERT_EQ(b[i], 0) << i;
    EXPECT_EQ(b[100], 9);
    for (int i = 101; i < 150; ++i)
        ASSERT_EQ(b[i], 0) << i;
    EXPECT_EQ(b[152], 3);
}

TEST(ImageMemoryFile, WritingPastACallersBlockMovesTheDataAndLeavesTheBlockAlone)
{
    uint8_t block[4] = {1, 2, 3, 4};
    {
        ImageMemoryFile file(block, sizeof(block));
        EXPECT_FALSE(file.OwnsBuffer());
        ASSERT_TRUE(file.Seek(2, kImageSeekSet));
        const uint8_t more[4] = {7, 8, 9, 10};
        ASSERT_EQ(file.Write(more, 1, 4), 4u); // needs 6 bytes
        EXPECT_TRUE(file.OwnsBuffer());
        EXPECT_NE(file.GetBuffer(), block);
        const uint8_t want[6] = {1, 2, 7, 8, 9, 10};
        EXPECT_EQ(std::memcmp(file.GetBuffer(), want, 6), 0);
    } // the file frees its own block, never the caller's
    const uint8_t untouched[4] = {1, 2, 3, 4};
    EXPECT_EQ(std::memcmp(block, untouched, 4), 0);
}

TEST(ImageMemoryFile, APositionThatWouldOverflowWritesNothingAndKeepsTheData)
{
    ImageMemoryFile file;
    const uint8_t a[2] = {5, 6};
    ASSERT_EQ(file.Write(a, 1, 2), 2u);
    const uint8_t *before = file.GetBuffer();
    ASSERT_TRUE(file.Seek(int32_t(ImageMemoryFile::kMaxSize), kImageSeekSet));
    EXPECT_EQ(file.Write(a, 1, 2), 0u);
    EXPECT_FALSE(file.PutC(1));
    EXPECT_FALSE(file.Seek(1, kImageSeekCurrent));
    EXPECT_EQ(file.GetBuffer(), before);
    EXPECT_EQ(file.Size(), 2);
    // An element count whose byte size passes 32 bits is refused as well.
    ASSERT_TRUE(file.Seek(0, kImageSeekSet));
    EXPECT_EQ(file.Write(a, 0x10000, 0x10000), 0u);
    EXPECT_EQ(file.GetBuffer()[1], 6);
}

TEST(ImageMemoryFile, ClosedFilesAnswerNeutrallyAndADetachedBlockOutlivesTheFile)
{
    uint8_t *kept;
    {
        ImageMemoryFile file;
        ASSERT_TRUE(file.PutC(42));
        kept = file.GetBuffer(true);
        EXPECT_FALSE(file.OwnsBuffer());
    }
    EXPECT_EQ(kept[0], 42);
    std::free(kept);

    ImageMemoryFile file;
    ASSERT_TRUE(file.PutC(1));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(file.GetBuffer(), nullptr);
    EXPECT_EQ(file.Tell(), -1);
    EXPECT_EQ(file.Size(), -1);
    EXPECT_EQ(file.Error(), -1);
    EXPECT_TRUE(file.Eof());
    EXPECT_FALSE(file.Flush());
    EXPECT_FALSE(file.Seek(0, kImageSeekSet));
    EXPECT_FALSE(file.PutC(1));
    EXPECT_EQ(file.Write("x", 1, 1), 0u);
    EXPECT_TRUE(file.Close());
}
