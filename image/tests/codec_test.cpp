// BMP and TGA decoding checked against the pixels ImageMagick reads from the same files;
// the encoders' headers, round trips and the codecs' refusals.
#include <gtest/gtest.h>

#include <string>

#include "image_test_support.h"
#include "imagefile.h"
#include "rasterimage.h"

using namespace imagetest;

namespace {

struct DecodeCase {
    const char *file;
    const char *pixels; // the .rgba of what ImageMagick reads
    int32_t format;
    int32_t bitCount; // of the decoded image
    Precision precision;
};

const Precision kExact{};
const Precision kWithAlpha{8, 8, 8, true};
const Precision k555{5, 5, 5, false};
const Precision k565{5, 6, 5, false};

const DecodeCase kDecodeCases[] = {
    // Written by ImageMagick.
    {"bmp3_24.bmp", "bmp3_24", kRasterFormatBmp, 24, kExact},
    {"bmp3_8.bmp", "bmp3_8", kRasterFormatBmp, 8, kExact},
    {"bmp3_4.bmp", "bmp3_4", kRasterFormatBmp, 4, kExact},
    {"bmp3_1.bmp", "bmp3_1", kRasterFormatBmp, 1, kExact},
    {"bmp3_rle8.bmp", "bmp3_rle8", kRasterFormatBmp, 8, kExact},
    {"bmp3_32.bmp", "bmp3_32", kRasterFormatBmp, 24, kExact},
    {"bmp2_24.bmp", "bmp2_24", kRasterFormatBmp, 24, kExact},
    {"bmp2_4.bmp", "bmp2_4", kRasterFormatBmp, 4, kExact},
    {"bmp5_24.bmp", "bmp5_24", kRasterFormatBmp, 24, kExact},
    {"tga_24.tga", "tga_24", kRasterFormatTga, 24, kExact},
    {"tga_24_topdown.tga", "tga_24_topdown", kRasterFormatTga, 24, kExact},
    {"tga_24_rle.tga", "tga_24_rle", kRasterFormatTga, 24, kExact},
    {"tga_24_rle_topdown.tga", "tga_24_rle_topdown", kRasterFormatTga, 24, kExact},
    {"tga_8.tga", "tga_8", kRasterFormatTga, 8, kExact},
    {"tga_8_rle.tga", "tga_8_rle", kRasterFormatTga, 8, kExact},
    {"tga_grey.tga", "tga_grey", kRasterFormatTga, 8, kExact},
    {"tga_grey_rle.tga", "tga_grey_rle", kRasterFormatTga, 8, kExact},
    {"tga_32.tga", "tga_32", kRasterFormatTga, 24, kWithAlpha},
    {"tga_32_topdown.tga", "tga_32_topdown", kRasterFormatTga, 24, kWithAlpha},
    // Written by hand.
    {"rle4.bmp", "rle4", kRasterFormatBmp, 4, kExact},
    {"rle8_runs.bmp", "rle8_runs", kRasterFormatBmp, 8, kExact},
    {"topdown_24.bmp", "topdown_24", kRasterFormatBmp, 24, kExact},
    {"topdown_8.bmp", "topdown_8", kRasterFormatBmp, 8, kExact},
    {"bare_8.dib", "bmp3_8", kRasterFormatBmp, 8, kExact},
    {"bmp16_555.bmp", "bmp16_555", kRasterFormatBmp, 24, k555},
    {"bmp16_565.bmp", "bmp16_565", kRasterFormatBmp, 24, k565},
    {"tga_runs_plain.tga", "tga_runs_plain", kRasterFormatTga, 24, kExact},
    {"tga_runs_rle.tga", "tga_runs_rle", kRasterFormatTga, 24, kExact},
    {"tga_runs_topdown_plain.tga", "tga_runs_topdown_plain", kRasterFormatTga, 24, kExact},
    {"tga_runs_topdown_rle.tga", "tga_runs_topdown_rle", kRasterFormatTga, 24, kExact},
    {"tga_rtl.tga", "tga_rtl", kRasterFormatTga, 24, kExact},
    {"tga_16.tga", "tga_16", kRasterFormatTga, 24, k555},
    {"tga_map32.tga", "tga_map32", kRasterFormatTga, 8, kExact},
    {"tga_map16.tga", "tga_map16", kRasterFormatTga, 8, k555},
};

} // namespace

TEST(ImageDecode, EveryFixtureGivesThePixelsImageMagickReads)
{
    for (const DecodeCase &c : kDecodeCases) {
        SCOPED_TRACE(c.file);
        const Bytes data = fixture(c.file);
        const Pixels want = expected(c.pixels);
        // By its own format and by trying both.
        for (int32_t format : {c.format, int32_t(kRasterFormatAny)}) {
            RasterImage image;
            ASSERT_TRUE(decode(image, data, format)) << image.lastError;
            EXPECT_EQ(image.BitCount(), c.bitCount);
            EXPECT_EQ(image.type, c.format);
            EXPECT_TRUE(samePixels(want, pixelsOf(image), c.precision));
        }
    }
}

TEST(ImageDecode, TwinsDecodeAlike)
{
    // Runs across row ends against the plain file, top-down against bottom-up.
    const char *const pairs[][2] = {
        {"tga_runs_rle.tga", "tga_runs_plain.tga"},
        {"tga_runs_topdown_rle.tga", "tga_runs_topdown_plain.tga"},
        {"topdown_24.bmp", "bmp3_24.bmp"},
        {"bmp3_rle8.bmp", "bmp3_8.bmp"},
    };
    for (const auto &pair : pairs) {
        RasterImage a, b;
        ASSERT_TRUE(decode(a, fixture(pair[0]), kRasterFormatAny)) << pair[0] << ": " << a.lastError;
        ASSERT_TRUE(decode(b, fixture(pair[1]), kRasterFormatAny)) << pair[1] << ": " << b.lastError;
        EXPECT_TRUE(samePixels(pixelsOf(b), pixelsOf(a))) << pair[0] << " against " << pair[1];
    }
}

TEST(ImageDecode, ResolutionComesFromPixelsPerMetre)
{
    RasterImage image;
    ASSERT_TRUE(decode(image, fixture("rle4.bmp"), kRasterFormatBmp));
    EXPECT_EQ(image.xDpi, 72); // 2835 per metre
    EXPECT_EQ(image.yDpi, 72);
}

TEST(ImageDecode, AFailedDecodeLeavesTheImageAsItWas)
{
    RasterImage image;
    ASSERT_TRUE(decode(image, fixture("bmp3_8.bmp"), kRasterFormatBmp));
    const Pixels before = pixelsOf(image);
    const void *block = image.Dib();
    Bytes broken = fixture("bmp3_8.bmp");
    broken.resize(broken.size() - 10);
    EXPECT_FALSE(decode(image, broken, kRasterFormatBmp));
    EXPECT_STREQ(image.lastError, "BMP pixel data truncated");
    EXPECT_EQ(image.Dib(), block);
    EXPECT_TRUE(samePixels(before, pixelsOf(image)));
    EXPECT_FALSE(decode(image, Bytes{1, 2, 3}, kRasterFormatAny));
    EXPECT_STREQ(image.lastError, "Decode: Unknown or wrong format");
    EXPECT_TRUE(samePixels(before, pixelsOf(image)));
}

TEST(ImageDecode, FormatCodesAndCancellation)
{
    RasterImage image(2, 2, 24);
    EXPECT_FALSE(decode(image, fixture("bmp3_24.bmp"), 5));
    EXPECT_STREQ(image.lastError, "Decode: Unknown or wrong format");
    EXPECT_EQ(encode(image, 3), Bytes());
    EXPECT_STREQ(image.lastError, "Encode: Unknown format");
    EXPECT_FALSE(image.Decode(nullptr, kRasterFormatBmp));
    EXPECT_STREQ(image.lastError, "null file handler");
    EXPECT_FALSE(image.Encode(nullptr, kRasterFormatTga));
    EXPECT_STREQ(image.lastError, "null file handler");
    RasterImage empty;
    EXPECT_EQ(encode(empty, kRasterFormatBmp), Bytes());
    EXPECT_STREQ(empty.lastError, "null image!!!");
    // A TGA is first refused as a BMP, then read from the same place.
    Bytes tga = fixture("tga_8.tga");
    tga.insert(tga.begin(), {0xAA, 0xBB});
    ImageMemoryFile file(tga.data(), uint32_t(tga.size()));
    ASSERT_TRUE(file.Seek(2, kImageSeekSet));
    RasterImage any;
    ASSERT_TRUE(any.Decode(&file, kRasterFormatAny)) << any.lastError;
    EXPECT_EQ(any.type, kRasterFormatTga);

    for (const char *name : {"bmp3_24.bmp", "tga_24_rle.tga"}) {
        RasterImage cancelled;
        cancelled.escape = 1;
        EXPECT_FALSE(decode(cancelled, fixture(name), kRasterFormatAny)) << name;
        EXPECT_FALSE(cancelled.IsValid());
    }
    RasterImage cancelled;
    cancelled.escape = 1;
    EXPECT_FALSE(decode(cancelled, fixture("bmp3_24.bmp"), kRasterFormatBmp));
    EXPECT_STREQ(cancelled.lastError, "Cancelled");
}

TEST(ImageEncode, BmpHeadersDescribeTheBlock)
{
    struct Case {
        int32_t width, height, bits;
        uint32_t fileBytes, pixelOffset;
    };
    const Case cases[] = {
        {1, 1, 24, 58, 54},
        {3, 2, 24, 54 + 2 * 12, 54},
        {5, 3, 8, 54 + 1024 + 3 * 8, 54 + 1024},
        {9, 2, 4, 54 + 64 + 2 * 8, 54 + 64},
        {33, 1, 1, 54 + 8 + 8, 54 + 8},
    };
    for (const Case &c : cases) {
        RasterImage image(c.width, c.height, c.bits);
        const Bytes bmp = encode(image, kRasterFormatBmp);
        ASSERT_EQ(bmp.size(), c.fileBytes) << c.bits;
        EXPECT_EQ(le16(bmp, 0), 0x4D42u);
        EXPECT_EQ(le32(bmp, 2), c.fileBytes);
        EXPECT_EQ(le32(bmp, 6), 0u);
        EXPECT_EQ(le32(bmp, 10), c.pixelOffset);
        EXPECT_EQ(le32(bmp, 14), 40u);
        EXPECT_EQ(le32(bmp, 18), uint32_t(c.width));
        EXPECT_EQ(le32(bmp, 22), uint32_t(c.height));
        EXPECT_EQ(le16(bmp, 26), 1u);
        EXPECT_EQ(le16(bmp, 28), uint32_t(c.bits));
        EXPECT_EQ(le32(bmp, 30), 0u);
        EXPECT_EQ(le32(bmp, 34), c.fileBytes - c.pixelOffset);
        EXPECT_EQ(le32(bmp, 38), 3780u);
        EXPECT_EQ(le32(bmp, 46), (c.pixelOffset - 54) / 4);
    }
}

TEST(ImageEncode, TgaHeadersAndTheirRefusal)
{
    RasterImage indexed(4, 3, 8);
    Bytes tga = encode(indexed, kRasterFormatTga);
    ASSERT_EQ(tga.size(), 18u + 768 + 12);
    EXPECT_EQ(tga[1], 1);          // colour map
    EXPECT_EQ(tga[2], 1);          // colour-mapped
    EXPECT_EQ(le16(tga, 5), 256u); // map length
    EXPECT_EQ(tga[7], 24);
    EXPECT_EQ(le16(tga, 12), 4u);
    EXPECT_EQ(le16(tga, 14), 3u);
    EXPECT_EQ(tga[16], 8);
    EXPECT_EQ(tga[17], 0);

    RasterImage color(4, 3, 24);
    tga = encode(color, kRasterFormatTga);
    ASSERT_EQ(tga.size(), 18u + 36);
    EXPECT_EQ(tga[1], 0);
    EXPECT_EQ(tga[2], 2);
    EXPECT_EQ(tga[16], 24);
    ASSERT_TRUE(color.AlphaCreate());
    tga = encode(color, kRasterFormatTga);
    ASSERT_EQ(tga.size(), 18u + 48);
    EXPECT_EQ(tga[16], 32);

    RasterImage four(4, 3, 4);
    EXPECT_EQ(encode(four, kRasterFormatTga), Bytes());
    EXPECT_STREQ(four.lastError, "Bit depth must be 8 or 24");
}

TEST(ImageEncode, WhatIsWrittenDecodesToTheSameImage)
{
    for (int32_t bits : {1, 4, 8, 24}) {
        for (int32_t format : {int32_t(kRasterFormatBmp), int32_t(kRasterFormatTga)}) {
            if (format == kRasterFormatTga && bits < 8)
                continue;
            SCOPED_TRACE(testing::Message() << bits << " bits, format " << format);
            RasterImage image(7, 5, bits);
            const uint32_t entries = image.Header().biClrUsed;
            for (uint32_t i = 0; i < entries; ++i)
                image.SetPaletteEntry(uint8_t(i), uint8_t(i * 37), uint8_t(255 - i), uint8_t(i * 11));
            for (int32_t y = 0; y < 5; ++y)
                for (int32_t x = 0; x < 7; ++x) {
                    if (entries)
                        image.SetPixelIndex(x, y, uint8_t((x * 3 + y * 5) % entries));
                    else
                        image.SetPixelColor(x, y, rgb(uint8_t(x * 30), uint8_t(y * 50), uint8_t(x * y)));
                }
            const bool alpha = bits == 24 && format == kRasterFormatTga;
            if (alpha) {
                ASSERT_TRUE(image.AlphaCreate());
                for (int32_t x = 0; x < 7; ++x)
                    image.AlphaSet(x, 2, uint8_t(x * 40));
            }
            RasterImage back;
            ASSERT_TRUE(decode(back, encode(image, format), format)) << back.lastError;
            EXPECT_EQ(back.BitCount(), bits);
            EXPECT_TRUE(samePixels(pixelsOf(image), pixelsOf(back), alpha ? kWithAlpha : kExact));
        }
    }
}

TEST(ImageEncode, TgaAlphaIsScaledByTheOpacity)
{
    RasterImage image(2, 1, 24);
    ASSERT_TRUE(image.AlphaCreate());
    image.AlphaSet(0, 0, 200);
    image.AlphaSet(1, 0, 255);
    image.opacity = 128;
    const Bytes tga = encode(image, kRasterFormatTga);
    ASSERT_EQ(tga.size(), 18u + 8);
    EXPECT_EQ(tga[18 + 3], 200 * 128 / 255);
    EXPECT_EQ(tga[18 + 7], 128);
}

TEST(ImageEncode, SamplesForTheIndependentReaders)
{
    // Written only when encoder_readers.py asks (ImageMagick and gdk-pixbuf read them back).
    const char *out = std::getenv("WORDMERE_IMAGE_OUT");
    if (!out || !*out)
        GTEST_SKIP() << "run by encoder_readers.py";
    struct Sample {
        const char *name;
        int32_t bits, format, width, height;
        bool alpha;
    };
    const Sample samples[] = {
        {"bmp_24.bmp", 24, kRasterFormatBmp, 7, 5, false},  {"bmp_8.bmp", 8, kRasterFormatBmp, 13, 4, false},
        {"bmp_4.bmp", 4, kRasterFormatBmp, 9, 3, false},    {"bmp_1.bmp", 1, kRasterFormatBmp, 17, 3, false},
        {"bmp_1x1.bmp", 24, kRasterFormatBmp, 1, 1, false}, {"tga_24.tga", 24, kRasterFormatTga, 7, 5, false},
        {"tga_8.tga", 8, kRasterFormatTga, 13, 4, false},   {"tga_32.tga", 24, kRasterFormatTga, 6, 4, true},
    };
    for (const Sample &s : samples) {
        RasterImage image(s.width, s.height, s.bits);
        const uint32_t entries = image.Header().biClrUsed;
        for (uint32_t i = 0; i < entries; ++i)
            image.SetPaletteEntry(uint8_t(i), uint8_t(i * 53), uint8_t(i * 17 + 40), uint8_t(255 - i * 3));
        for (int32_t y = 0; y < s.height; ++y)
            for (int32_t x = 0; x < s.width; ++x) {
                if (entries)
                    image.SetPixelIndex(x, y, uint8_t((x * 7 + y * 3) % entries));
                else
                    image.SetPixelColor(x, y, rgb(uint8_t(x * 36), uint8_t(y * 60 + 5), uint8_t(x * y * 9 + 1)));
            }
        if (s.alpha) {
            ASSERT_TRUE(image.AlphaCreate());
            for (int32_t y = 0; y < s.height; ++y)
                for (int32_t x = 0; x < s.width; ++x)
                    image.AlphaSet(x, y, uint8_t((x + 2 * y) * 30 + 15));
        }
        const Bytes file = encode(image, s.format);
        ASSERT_FALSE(file.empty()) << s.name << ": " << image.lastError;
        const std::string base = std::string(out) + "/" + s.name;
        ASSERT_TRUE(writeFile(base, file));
        const Pixels p = pixelsOf(image);
        Bytes raw = {uint8_t(p.width), uint8_t(p.width >> 8), 0, 0, uint8_t(p.height), uint8_t(p.height >> 8), 0, 0};
        raw.insert(raw.end(), p.rgba.begin(), p.rgba.end());
        ASSERT_TRUE(writeFile(base + ".rgba", raw));
    }
}
