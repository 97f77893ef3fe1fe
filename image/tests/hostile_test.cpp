// Hostile and broken pictures: each is refused (or, where the table says so, read within
// its bounds) without a crash, an overrun or an allocation the data cannot back. The
// sanitizer build runs these too.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image_test_support.h"
#include "rasterimage.h"

using namespace imagetest;

namespace {

void put16(Bytes &b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void put32(Bytes &b, uint32_t v)
{
    put16(b, v);
    put16(b, v >> 16);
}

struct BmpFields {
    int32_t width = 4, height = 2;
    uint16_t bits = 8;
    uint32_t compression = 0, sizeImage = 0, colours = 0;
    uint32_t headerSize = 40;
    int64_t pixelOffset = -1; // -1: right after the header and palette
    uint32_t paletteEntries = 256;
};

// A BMP with the given header fields, palette and data.
Bytes bmp(const BmpFields &f, const Bytes &data)
{
    Bytes info;
    put32(info, f.headerSize);
    put32(info, uint32_t(f.width));
    put32(info, uint32_t(f.height));
    put16(info, 1);
    put16(info, f.bits);
    put32(info, f.compression);
    put32(info, f.sizeImage);
    put32(info, 0);
    put32(info, 0);
    put32(info, f.colours);
    put32(info, 0);
    Bytes palette(size_t(f.paletteEntries) * 4, 0x40);
    const uint32_t offset = f.pixelOffset >= 0 ? uint32_t(f.pixelOffset) : uint32_t(14 + info.size() + palette.size());
    Bytes out = {'B', 'M'};
    put32(out, uint32_t(14 + info.size() + palette.size() + data.size()));
    put32(out, 0);
    put32(out, offset);
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), palette.begin(), palette.end());
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes tga(uint8_t type, uint32_t width, uint32_t height, uint8_t depth, uint8_t mapType, uint32_t mapLength,
          uint8_t mapBits, const Bytes &rest)
{
    Bytes out = {0, mapType, type};
    put16(out, 0);
    put16(out, mapLength);
    out.push_back(mapBits);
    put32(out, 0);
    put16(out, width);
    put16(out, height);
    out.push_back(depth);
    out.push_back(0);
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

BmpFields rle8(int32_t width, int32_t height)
{
    BmpFields f;
    f.width = width;
    f.height = height;
    f.compression = 1;
    return f;
}

struct HostileCase {
    const char *what;
    Bytes data;
    int32_t format;
    bool decodes;         // read within its bounds rather than refused
    const char *error;    // the refusal's text (null: not checked)
};

std::vector<HostileCase> hostileCases()
{
    std::vector<HostileCase> cases;
    auto add = [&](const char *what, Bytes data, int32_t format, bool decodes, const char *error = nullptr) {
        cases.push_back({what, std::move(data), format, decodes, error});
    };
    BmpFields f;

    add("empty input", Bytes(), kRasterFormatAny, false, "Decode: Unknown or wrong format");
    add("one byte", Bytes{'B'}, kRasterFormatBmp, false, "Not a BMP");

    f = {};
    f.width = 100000;
    f.height = 100000;
    f.bits = 24;
    f.paletteEntries = 0;
    add("BMP of 100000 x 100000 without data", bmp(f, Bytes(16)), kRasterFormatBmp, false,
        "BMP pixel data truncated");
    f.compression = 0;
    f.bits = 8;
    f.paletteEntries = 256;
    f.width = 65535;
    f.height = 65535;
    f.compression = 1;
    add("RLE8 BMP of 65535 x 65535 in two bytes", bmp(f, Bytes{0, 1}), kRasterFormatBmp, false,
        "corrupted BMP run-length data");
    f.width = 2000;
    f.height = 1000;
    add("RLE8 BMP of 2000 x 1000 that ends at once", bmp(f, Bytes{0, 1}), kRasterFormatBmp, false,
        "corrupted BMP run-length data");
    f.width = 1000;
    add("RLE8 BMP of 1000 x 1000 that ends at once", bmp(f, Bytes{0, 1}), kRasterFormatBmp, true);
    f = {};
    f.width = -4;
    add("negative width", bmp(f, Bytes(8)), kRasterFormatBmp, false, "Bad BMP dimensions");
    f = {};
    f.height = int32_t(0x80000000u);
    add("height of -2^31", bmp(f, Bytes(8)), kRasterFormatBmp, false, "Bad BMP dimensions");
    f = {};
    f.height = 0;
    add("height 0", bmp(f, Bytes(8)), kRasterFormatBmp, false, "Bad BMP dimensions");

    f = {};
    f.colours = 0x80000000u;
    add("palette count 2^31, pixels at their offset", bmp(f, Bytes(8, 1)), kRasterFormatBmp, true);
    f.pixelOffset = 0;
    {
        Bytes bare = bmp(f, Bytes(8, 1));
        bare.erase(bare.begin(), bare.begin() + 14);
        add("palette count 2^31 in a bare bitmap", bare, kRasterFormatBmp, false, "corrupted BMP palette");
    }
    f = {};
    f.sizeImage = 0xFFFFFFFFu;
    add("image size 2^32 - 1 over 8 bytes of pixels", bmp(f, Bytes(8, 2)), kRasterFormatBmp, true);
    f = {};
    f.pixelOffset = 0x7FFFFFF0;
    add("pixel offset past the end", bmp(f, Bytes(8)), kRasterFormatBmp, false, "BMP pixel data truncated");
    f = {};
    f.headerSize = 0xFFFFFFFFu;
    add("header size 2^32 - 1", bmp(f, Bytes(8)), kRasterFormatBmp, false, "Error reading BMP info");
    f = {};
    f.headerSize = 20;
    add("header size 20", bmp(f, Bytes(8)), kRasterFormatBmp, false, "Error reading BMP info");
    for (uint16_t bits : {0, 2, 7, 64}) {
        f = {};
        f.bits = bits;
        add("unusual bit count", bmp(f, Bytes(64)), kRasterFormatBmp, false, "bit count not supported");
    }
    f = {};
    f.compression = 2;
    add("RLE4 on an 8-bit bitmap", bmp(f, Bytes(8)), kRasterFormatBmp, false, "compression type not supported");
    f = rle8(4, 2);
    f.height = -2;
    add("top-down RLE8", bmp(f, Bytes{0, 1}), kRasterFormatBmp, false, "compression type not supported");
    f = {};
    f.bits = 16;
    f.compression = 3;
    f.paletteEntries = 0;
    {
        Bytes zeroMasks(12, 0);
        zeroMasks.insert(zeroMasks.end(), 16, 0xFF);
        add("16-bit with empty masks", bmp(f, zeroMasks), kRasterFormatBmp, false, "bad BMP bit-field masks");
    }

    // Run-length data that points outside the rows or ends early.
    add("RLE8 run longer than the row", bmp(rle8(4, 2), Bytes{255, 7, 0, 0, 2, 9, 0, 1}), kRasterFormatBmp, true);
    add("RLE8 delta far past the image", bmp(rle8(4, 2), Bytes{1, 3, 0, 2, 255, 255, 1, 5, 0, 1}),
        kRasterFormatBmp, true);
    add("RLE8 absolute run past the row", bmp(rle8(4, 2), Bytes{0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 1}),
        kRasterFormatBmp, true);
    add("RLE8 run without its value", bmp(rle8(4, 2), Bytes{0, 0, 4}), kRasterFormatBmp, false,
        "corrupted BMP run-length data");
    add("RLE8 absolute run cut short", bmp(rle8(4, 2), Bytes{0, 0, 0, 4, 1, 2}), kRasterFormatBmp, false,
        "corrupted BMP run-length data");
    add("RLE8 delta cut short", bmp(rle8(4, 2), Bytes{0, 2, 1}), kRasterFormatBmp, false,
        "corrupted BMP run-length data");
    add("RLE8 ending inside the last row", bmp(rle8(4, 2), Bytes{4, 1, 0, 0, 2, 1}), kRasterFormatBmp, false,
        "corrupted BMP run-length data");
    f = rle8(5, 2);
    f.bits = 4;
    f.compression = 2;
    f.paletteEntries = 16;
    add("RLE4 absolute run cut short", bmp(f, Bytes{0, 0, 0, 5, 0x12}), kRasterFormatBmp, false,
        "corrupted BMP run-length data");
    add("RLE4 run longer than the row", bmp(f, Bytes{200, 0x12, 0, 0, 5, 0x34, 0, 1}), kRasterFormatBmp, true);

    // TGA headers and data.
    add("TGA of 65535 x 65535 at 24 bits", tga(2, 65535, 65535, 24, 0, 0, 0, Bytes(30)), kRasterFormatTga, false,
        "corrupted TGA");
    add("TGA of 65535 x 65535 at 8 bits, run-length", tga(9, 65535, 65535, 8, 0, 0, 0, Bytes{0xFF, 1}),
        kRasterFormatTga, false, "corrupted TGA");
    add("TGA colour map of 257 entries", tga(1, 2, 2, 8, 1, 257, 24, Bytes(800)), kRasterFormatTga, false,
        "bad TGA header");
    add("TGA colour map entries of 7 bits", tga(1, 2, 2, 8, 1, 4, 7, Bytes(40)), kRasterFormatTga, false,
        "bad TGA header");
    add("TGA colour map cut short", tga(1, 2, 2, 8, 1, 200, 24, Bytes(30)), kRasterFormatTga, false,
        "corrupted TGA");
    add("TGA of depth 7", tga(2, 2, 2, 7, 0, 0, 0, Bytes(12)), kRasterFormatTga, false, "bad TGA header");
    add("TGA of width 0", tga(2, 0, 2, 24, 0, 0, 0, Bytes(12)), kRasterFormatTga, false, "bad TGA header");
    add("TGA image type 4", tga(4, 2, 2, 24, 0, 0, 0, Bytes(12)), kRasterFormatTga, false, "Unknown TGA image type");
    add("TGA image type 12", tga(12, 2, 2, 24, 0, 0, 0, Bytes(12)), kRasterFormatTga, false,
        "Unknown TGA image type");
    add("TGA run packet without its value", tga(10, 2, 2, 24, 0, 0, 0, Bytes{0x81, 1, 2, 3, 0x81, 1}),
        kRasterFormatTga, false, "corrupted TGA");
    add("TGA raw packet cut short", tga(10, 4, 1, 24, 0, 0, 0, Bytes{0x03, 1, 2, 3, 4, 5, 6, 7, 8}),
        kRasterFormatTga, false, "corrupted TGA");
    add("TGA run packet longer than the image", tga(10, 2, 2, 24, 0, 0, 0, Bytes{0xFF, 1, 2, 3}), kRasterFormatTga,
        true);
    Bytes shortHeader = tga(2, 2, 2, 24, 0, 0, 0, Bytes());
    shortHeader.resize(10);
    add("TGA header cut short", shortHeader, kRasterFormatTga, false, "Not a TGA");
    return cases;
}

} // namespace

TEST(ImageHostile, EveryCaseIsRefusedOrReadWithinBounds)
{
    for (const HostileCase &c : hostileCases()) {
        for (int32_t format : {c.format, int32_t(kRasterFormatAny)}) {
            SCOPED_TRACE(std::string(c.what) + (format == kRasterFormatAny ? " (any format)" : ""));
            RasterImage image;
            const bool decoded = decode(image, c.data, format);
            if (format == c.format || c.decodes) {
                EXPECT_EQ(decoded, c.decodes) << image.lastError;
            }
            if (!decoded) {
                EXPECT_FALSE(image.IsValid());
                if (format == c.format && c.error) {
                    EXPECT_STREQ(image.lastError, c.error);
                }
            } else {
                EXPECT_TRUE(image.IsValid());
                EXPECT_GT(image.Width(), 0);
            }
        }
    }
}

TEST(ImageHostile, RunsStayInTheirRow)
{
    // A run of 255 in a 4-pixel row fills that row only; the next row is untouched until
    // its own packet.
    RasterImage image;
    ASSERT_TRUE(decode(image, bmp(rle8(4, 2), Bytes{255, 7, 0, 0, 2, 9, 0, 1}), kRasterFormatBmp));
    for (int32_t x = 0; x < 4; ++x)
        EXPECT_EQ(image.PixelIndex(x, 0), 7) << x;
    EXPECT_EQ(image.PixelIndex(0, 1), 9);
    EXPECT_EQ(image.PixelIndex(1, 1), 9);
    EXPECT_EQ(image.PixelIndex(2, 1), 0);
    // A delta moves right and up; pixels it skips stay 0.
    ASSERT_TRUE(decode(image, bmp(rle8(4, 2), Bytes{1, 3, 0, 2, 2, 1, 1, 5, 0, 1}), kRasterFormatBmp));
    EXPECT_EQ(image.PixelIndex(0, 0), 3);
    EXPECT_EQ(image.PixelIndex(3, 1), 5);
    EXPECT_EQ(image.PixelIndex(1, 0), 0);
    EXPECT_EQ(image.PixelIndex(0, 1), 0);
}
