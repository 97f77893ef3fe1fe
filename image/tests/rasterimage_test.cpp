// RasterImage: creation and its limits, queries, palette and pixel access, the alpha
// plane, and the copy, ghost and transfer rules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "rasterimage.h"

namespace {

uint32_t rgb(uint8_t r, uint8_t g, uint8_t b)
{
    return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16;
}

} // namespace

TEST(RasterImageCreate, RoundsTheBitCountAndSizesTheBlock)
{
    struct Case {
        int32_t width, height, bits;
        int32_t bitCount;
        uint32_t paletteBytes, rowBytes, blockBytes;
    };
    const Case cases[] = {
        {100, 100, 24, 24, 0, 300, 30040},
        {3, 1, 1, 1, 8, 4, 40 + 8 + 4},
        {3, 1, 0, 1, 8, 4, 40 + 8 + 4},
        {5, 2, 2, 4, 64, 4, 40 + 64 + 8},
        {9, 1, 4, 4, 64, 8, 40 + 64 + 8},
        {5, 3, 7, 8, 1024, 8, 40 + 1024 + 24},
        {2, 2, 15, 24, 0, 8, 40 + 16},
        {2, 2, 16, 24, 0, 8, 40 + 16},
        {2, 2, 32, 24, 0, 8, 40 + 16},
    };
    for (const Case &c : cases) {
        RasterImage image;
        ASSERT_NE(image.Create(c.width, c.height, c.bits, kRasterFormatBmp), nullptr) << c.bits;
        EXPECT_EQ(image.BitCount(), c.bitCount) << c.bits;
        EXPECT_EQ(image.PaletteSize(), c.paletteBytes) << c.bits;
        EXPECT_EQ(image.rowBytes, c.rowBytes) << c.bits;
        EXPECT_EQ(image.DibSize(), c.blockBytes) << c.bits;
        EXPECT_EQ(image.Header().biSizeImage, c.rowBytes * uint32_t(c.height));
        EXPECT_EQ(image.Header().biClrUsed, c.paletteBytes / 4);
        EXPECT_EQ(image.type, kRasterFormatBmp);
        // The block starts with the header, the palette follows it, then the rows.
        EXPECT_EQ(std::memcmp(image.Dib(), &image.Header(), sizeof(BITMAPINFOHEADER)), 0);
        EXPECT_EQ(image.RowPointer(0), static_cast<const uint8_t *>(image.Dib()) + 40 + c.paletteBytes);
        EXPECT_EQ(image.RowPointer(1 % c.height), image.RowPointer(0) + (1 % c.height) * c.rowBytes);
        EXPECT_EQ(image.RowPointer(c.height), nullptr);
        EXPECT_EQ(image.RowPointer(-1), nullptr);
    }
}

TEST(RasterImageCreate, StartsWithDefaultsAndClearedPixels)
{
    RasterImage image(7, 3, 24, kRasterFormatTga);
    EXPECT_EQ(image.quality, 75);
    EXPECT_EQ(image.opacity, 255);
    EXPECT_EQ(image.transparentIndex, -1);
    EXPECT_TRUE(image.enabled);
    EXPECT_EQ(image.xDpi, 96);
    EXPECT_EQ(image.Header().biXPelsPerMeter, 3780);
    EXPECT_EQ(image.Header().biYPelsPerMeter, 3780);
    // Pixels are zero even when the memory was used before.
    std::memset(image.RowPointer(0), 0xAB, image.Header().biSizeImage);
    ASSERT_TRUE(image.Create(7, 3, 8, 0));
    for (uint32_t i = 0; i < image.DibSize() - 40; ++i)
        ASSERT_EQ(static_cast<const uint8_t *>(image.Dib())[40 + i], 0) << i;
}

TEST(RasterImageCreate, RefusesEmptyAndOversizedImagesAndEndsEmpty)
{
    struct Case {
        int32_t width, height, bits;
        const char *error;
    };
    const Case cases[] = {
        {100000, 100000, 24, "RASTERIMAGE_MAX_MEMORY exceeded"},
        // Wraps to a small size in 32 bits.
        {65536, 65536, 24, "RASTERIMAGE_MAX_MEMORY exceeded"},
        // Under the limit, but a block no 32-bit process can hold.
        {65535, 65535, 8, "RasterImage::Create can't allocate memory"},
        {0, 10, 8, "RasterImage::Create: width and height must be at least 1"},
        {10, 0, 8, "RasterImage::Create: width and height must be at least 1"},
        {-5, 10, 24, "RasterImage::Create: width and height must be at least 1"},
        {10, -5, 24, "RasterImage::Create: width and height must be at least 1"},
    };
    for (const Case &c : cases) {
        RasterImage image(2, 2, 24);
        ASSERT_TRUE(image.IsValid());
        EXPECT_EQ(image.Create(c.width, c.height, c.bits, 0), nullptr) << c.width << "x" << c.height;
        EXPECT_FALSE(image.IsValid());
        EXPECT_STREQ(image.lastError, c.error);
        EXPECT_EQ(image.DibSize(), 0u);
        EXPECT_EQ(image.RowPointer(0), nullptr);
        EXPECT_EQ(image.Palette(), nullptr);
    }
}

TEST(RasterImagePixels, IndexesSitInBitsNibblesAndBytesFromTheLeft)
{
    struct Case {
        int32_t bits, x;
        uint8_t index;
        size_t byte;
        uint8_t value; // the row's byte after writing the index
    };
    const Case cases[] = {
        {1, 0, 1, 0, 0x80}, {1, 7, 1, 0, 0x01}, {1, 9, 1, 1, 0x40},
        {4, 0, 0xA, 0, 0xA0}, {4, 1, 0x5, 0, 0x05}, {4, 4, 0xC, 2, 0xC0},
        {8, 3, 200, 3, 200},
    };
    for (const Case &c : cases) {
        RasterImage image(12, 2, c.bits);
        image.SetPixelIndex(c.x, 1, c.index);
        EXPECT_EQ(image.RowPointer(1)[c.byte], c.value) << c.bits << " bits, x " << c.x;
        EXPECT_EQ(image.RowPointer(0)[c.byte], 0);
        EXPECT_EQ(image.PixelIndex(c.x, 1), c.index);
        EXPECT_EQ(image.PixelIndex(c.x + 1, 1), 0);
        // Writing zero clears only that pixel.
        image.SetPixelIndex(c.x + 1, 1, c.index);
        image.SetPixelIndex(c.x, 1, 0);
        EXPECT_EQ(image.PixelIndex(c.x, 1), 0);
        EXPECT_EQ(image.PixelIndex(c.x + 1, 1), c.index);
    }
    RasterImage color(2, 2, 24);
    color.SetPixelIndex(0, 0, 3); // no palette: nothing happens
    EXPECT_EQ(color.PixelIndex(0, 0), 0);
}

TEST(RasterImagePixels, ColoursGoThroughThePaletteOrTheThreeBytes)
{
    RasterImage image(4, 4, 8);
    image.SetPaletteEntry(0, 0, 0, 0);
    image.SetPaletteEntry(1, 255, 0, 0);
    image.SetPaletteEntry(2, 0, 0, 255);
    image.SetPaletteEntry(3, 250, 10, 10);
    image.SetPixelColor(1, 2, rgb(240, 5, 5));
    EXPECT_EQ(image.PixelIndex(1, 2), 3); // the nearest entry
    EXPECT_EQ(image.PixelColor(1, 2), rgb(250, 10, 10));

    RasterImage color(3, 2, 24);
    color.SetPixelColor(2, 1, rgb(1, 2, 3));
    EXPECT_EQ(color.RowPointer(1)[6], 3); // blue, green, red
    EXPECT_EQ(color.RowPointer(1)[7], 2);
    EXPECT_EQ(color.RowPointer(1)[8], 1);
    EXPECT_EQ(color.PixelColor(2, 1), rgb(1, 2, 3));
    // With an alpha plane the colour carries it in its top byte.
    ASSERT_TRUE(color.AlphaCreate());
    color.SetPixelColor(2, 1, rgb(1, 2, 3) | 0x7F000000u, true);
    EXPECT_EQ(color.PixelColor(2, 1), rgb(1, 2, 3) | 0x7F000000u);
    EXPECT_EQ(color.AlphaGet(2, 1), 0x7F);
    EXPECT_EQ(color.PixelColor(0, 0) >> 24, 0u);
}

TEST(RasterImagePixels, OutsideTheImageAnswersTheTransparentOrTheFirstPixel)
{
    RasterImage image(4, 4, 4);
    image.SetPaletteEntry(5, 9, 8, 7);
    image.SetPaletteEntry(6, 1, 2, 3);
    image.SetPixelIndex(0, 0, 6);
    EXPECT_EQ(image.PixelIndex(-1, 0), image.RowPointer(0)[0]); // the first pixel byte
    EXPECT_EQ(image.PixelColor(4, 0), rgb(1, 2, 3));            // pixel (0, 0)
    image.transparentIndex = 5;
    EXPECT_EQ(image.PixelIndex(0, 9), 5);
    EXPECT_EQ(image.PixelColor(0, -1), rgb(9, 8, 7));
    EXPECT_EQ(image.TransparentColor(), rgb(9, 8, 7));
    image.SetPixelIndex(9, 9, 3); // ignored
    image.SetPixelColor(-1, 0, 0);

    RasterImage color(2, 2, 24);
    color.transparentColor = {30, 20, 10, 0};
    color.SetPixelColor(0, 0, rgb(50, 60, 70));
    EXPECT_EQ(color.PixelColor(5, 5), rgb(50, 60, 70));
    color.transparentIndex = 0;
    EXPECT_EQ(color.PixelColor(5, 5), rgb(10, 20, 30));
    EXPECT_EQ(color.TransparentColor(), rgb(10, 20, 30));
}

TEST(RasterImagePalette, EntriesStayWithinThePaletteAndGreysStepEvenly)
{
    RasterImage image(2, 2, 4);
    image.SetPaletteEntry(15, 1, 2, 3, 4);
    EXPECT_EQ(image.PaletteEntry(15), rgb(1, 2, 3) | 0x04000000u);
    image.SetPaletteEntry(16, 9, 9, 9); // beyond 16 entries: ignored
    EXPECT_EQ(image.PaletteEntry(16), 0u);
    image.SetGreyPalette();
    EXPECT_EQ(image.PaletteEntry(1), rgb(17, 17, 17));
    EXPECT_EQ(image.PaletteEntry(15), rgb(255, 255, 255) | 0x04000000u); // the fourth byte stays

    const RGBQUAD four[4] = {{1, 1, 1, 0}, {2, 2, 2, 0}, {3, 3, 3, 0}, {4, 4, 4, 0}};
    RasterImage mono(2, 2, 1);
    mono.CopyPalette(four, 4); // only two entries fit
    EXPECT_EQ(mono.PaletteEntry(1), rgb(2, 2, 2));
    mono.SetGreyPalette();
    EXPECT_EQ(mono.PaletteEntry(1), rgb(255, 255, 255));

    RasterImage color(2, 2, 24);
    EXPECT_EQ(color.Palette(), nullptr);
    EXPECT_EQ(color.PaletteEntry(0), 0u);
    color.SetGreyPalette();
}

TEST(RasterImagePalette, NearestIndexPrefersTheLowerOfEqualEntriesAndForgetsOnChange)
{
    RasterImage image(1, 1, 4);
    for (uint8_t i = 0; i < 16; ++i)
        image.SetPaletteEntry(i, 100, 100, 100);
    image.SetPaletteEntry(3, 10, 10, 10);
    image.SetPaletteEntry(7, 10, 10, 10);
    EXPECT_EQ(image.NearestIndex(rgb(12, 12, 12)), 3);
    EXPECT_EQ(image.NearestIndex(rgb(12, 12, 12)), 3); // from the memo
    image.SetPaletteEntry(3, 200, 200, 200);
    EXPECT_EQ(image.NearestIndex(rgb(12, 12, 12)), 7); // the memo was dropped
    EXPECT_EQ(image.NearestIndex(rgb(100, 100, 100)), 0);
}

TEST(RasterImageAlpha, ThePlaneFlipsAndMirrorsWithItsRows)
{
    RasterImage image(3, 2, 24);
    EXPECT_FALSE(image.AlphaFlip());
    EXPECT_FALSE(image.AlphaMirror());
    EXPECT_EQ(image.AlphaGet(0, 0), 0);
    ASSERT_TRUE(image.AlphaCreate());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.AlphaSet(x, y, uint8_t(10 * y + x));
    image.AlphaSet(3, 0, 99); // outside: ignored
    ASSERT_TRUE(image.AlphaFlip());
    EXPECT_EQ(image.AlphaGet(0, 0), 10);
    EXPECT_EQ(image.AlphaGet(2, 1), 2);
    ASSERT_TRUE(image.AlphaMirror());
    EXPECT_EQ(image.AlphaGet(0, 0), 12);
    EXPECT_EQ(image.AlphaGet(2, 1), 0);
    image.AlphaClear();
    EXPECT_EQ(image.AlphaGet(0, 0), 0);
    image.AlphaDelete();
    EXPECT_FALSE(image.HasAlpha());
}

TEST(RasterImageLife, CopiesAreDeepAndCopyWithoutPixelsTakesThePalette)
{
    RasterImage source(5, 3, 8, kRasterFormatTga);
    source.SetPaletteEntry(9, 1, 2, 3);
    source.SetPixelIndex(4, 2, 9);
    source.opacity = 128;
    ASSERT_TRUE(source.AlphaCreate());
    source.AlphaSet(4, 2, 77);

    RasterImage copy(source);
    EXPECT_EQ(copy.type, kRasterFormatTga);
    EXPECT_EQ(copy.opacity, 128);
    EXPECT_EQ(copy.PixelColor(4, 2), rgb(1, 2, 3) | (77u << 24));
    EXPECT_NE(copy.Dib(), source.Dib());
    source.SetPixelIndex(4, 2, 0);
    EXPECT_EQ(copy.PixelIndex(4, 2), 9);

    RasterImage bare(source, false, false, false);
    EXPECT_EQ(bare.PaletteEntry(9), rgb(1, 2, 3));
    EXPECT_EQ(bare.PixelIndex(4, 2), 0);
    EXPECT_FALSE(bare.HasAlpha());

    RasterImage target(1, 1, 24);
    target.Copy(copy);
    EXPECT_EQ(target.BitCount(), 8);
    EXPECT_EQ(target.PixelIndex(4, 2), 9);
}

TEST(RasterImageLife, AGhostBorrowsAndFreesNothing)
{
    RasterImage source(4, 4, 24);
    source.SetPixelColor(1, 1, rgb(7, 8, 9));
    ASSERT_TRUE(source.AlphaCreate());
    {
        RasterImage ghost;
        ghost.Ghost(&source);
        EXPECT_EQ(ghost.ghostOf, &source);
        EXPECT_EQ(ghost.Dib(), source.Dib());
        EXPECT_EQ(ghost.PixelColor(1, 1), rgb(7, 8, 9));
        ghost.Destroy();
        EXPECT_FALSE(ghost.IsValid());
    } // and the destructor frees nothing either (the sanitizers watch)
    EXPECT_TRUE(source.IsValid());
    EXPECT_EQ(source.PixelColor(1, 1), rgb(7, 8, 9));
    EXPECT_TRUE(source.HasAlpha());
}

TEST(RasterImageLife, TransferTakesEverythingAndEmptiesTheSource)
{
    RasterImage source(6, 2, 4, kRasterFormatBmp);
    source.SetPaletteEntry(2, 5, 5, 5);
    source.SetPixelIndex(5, 1, 2);
    source.transparentIndex = 2;
    ASSERT_TRUE(source.AlphaCreate());
    const void *block = source.Dib();
    RasterImage target(1, 1, 24);
    target.Transfer(source);
    EXPECT_EQ(target.Dib(), block);
    EXPECT_EQ(target.Width(), 6);
    EXPECT_EQ(target.transparentIndex, 2);
    EXPECT_EQ(target.PixelIndex(5, 1), 2);
    EXPECT_TRUE(target.HasAlpha());
    EXPECT_FALSE(source.IsValid());
    EXPECT_FALSE(source.HasAlpha());
    EXPECT_EQ(source.Width(), 0);
    EXPECT_EQ(source.pixels, nullptr);

    // CopyInfo only fills an image without pixels.
    RasterImage settings;
    settings.opacity = 9;
    target.CopyInfo(settings);
    EXPECT_EQ(target.opacity, 255);
    RasterImage empty;
    empty.CopyInfo(target);
    EXPECT_EQ(empty.transparentIndex, 2);
    EXPECT_EQ(empty.pixels, nullptr);
    EXPECT_FALSE(empty.IsValid());
}
