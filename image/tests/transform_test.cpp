// Flip, mirror, crop and rotations checked against ImageMagick's -flip, -flop, -crop and
// -rotate on the same files, at every bit count; then the transforms' own rules.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "image_test_support.h"
#include "rasterimage.h"

using namespace imagetest;

TEST(ImageTransform, EachOperationMatchesImageMagick)
{
    struct Operation {
        const char *name;
        std::function<bool(RasterImage &)> run;
    };
    const Operation operations[] = {
        {"flip", [](RasterImage &i) { return i.Flip(); }},
        {"mirror", [](RasterImage &i) { return i.Mirror(); }},
        {"crop", [](RasterImage &i) { return i.Crop(2, 1, 7, 4); }},         // 5x3+2+1
        {"crop_clamped", [](RasterImage &i) { return i.Crop(6, 3, 46, 43); }}, // 40x40+6+3
        {"rotate90", [](RasterImage &i) { return i.Rotate(90); }},
        {"rotate180", [](RasterImage &i) { return i.Rotate180(); }},
        {"rotate270", [](RasterImage &i) { return i.Rotate(270); }},
    };
    for (const char *source : {"bmp3_24", "bmp3_8", "bmp3_4", "bmp3_1"}) {
        for (const Operation &op : operations) {
            SCOPED_TRACE(std::string(source) + " " + op.name);
            RasterImage image;
            ASSERT_TRUE(decode(image, fixture(std::string(source) + ".bmp"), kRasterFormatBmp)) << image.lastError;
            const int32_t bits = image.BitCount();
            ASSERT_TRUE(op.run(image)) << image.lastError;
            EXPECT_EQ(image.BitCount(), bits);
            EXPECT_TRUE(samePixels(expected(std::string(source) + "_" + op.name), pixelsOf(image)));
        }
    }
}

TEST(ImageTransform, AnyAngleAndTheHalfTurnAgree)
{
    RasterImage image;
    ASSERT_TRUE(decode(image, fixture("bmp3_4.bmp"), kRasterFormatBmp));
    RasterImage viaAngle, viaHalfTurn, backAgain;
    ASSERT_TRUE(image.Rotate(180, &viaAngle));
    ASSERT_TRUE(image.Rotate180(&viaHalfTurn));
    EXPECT_TRUE(samePixels(pixelsOf(viaHalfTurn), pixelsOf(viaAngle)));
    ASSERT_TRUE(viaAngle.Rotate(-540, &backAgain)); // a further half turn, the other way
    EXPECT_TRUE(samePixels(pixelsOf(image), pixelsOf(backAgain)));
    // Four quarter turns give the image back.
    RasterImage turned(image);
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(turned.Rotate(90));
    EXPECT_TRUE(samePixels(pixelsOf(image), pixelsOf(turned)));
}

TEST(ImageTransform, AnOddAngleKeepsTheCentreAndFillsTheCornersFromOutside)
{
    RasterImage image(5, 5, 24);
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 5; ++x)
            image.SetPixelColor(x, y, rgb(200, 10, 10));
    image.SetPixelColor(2, 2, rgb(1, 2, 3));
    image.transparentIndex = 0;
    image.transparentColor = {9, 9, 9, 0};
    ASSERT_TRUE(image.Rotate(45));
    // The corners (0,0) (4,0) (0,4) (4,4) turned by 45 degrees span 7 x 7 pixels.
    EXPECT_EQ(image.Width(), 7);
    EXPECT_EQ(image.Height(), 7);
    EXPECT_EQ(image.PixelColor(3, 3), rgb(1, 2, 3));
    EXPECT_EQ(image.PixelColor(0, 0), rgb(9, 9, 9));
    EXPECT_EQ(image.PixelColor(3, 0), rgb(200, 10, 10));
}

TEST(ImageTransform, AlphaTravelsWithThePixels)
{
    // A 3 x 2 image whose alpha marks each pixel: 10 x row + column (row 0 the bottom).
    auto make = [] {
        RasterImage image(3, 2, 24);
        EXPECT_TRUE(image.AlphaCreate());
        for (int32_t y = 0; y < 2; ++y)
            for (int32_t x = 0; x < 3; ++x) {
                image.AlphaSet(x, y, uint8_t(10 * y + x + 1));
                image.SetPixelColor(x, y, rgb(uint8_t(10 * y + x + 1), 0, 0));
            }
        return image;
    };
    struct Case {
        const char *name;
        std::function<bool(RasterImage &)> run;
    };
    const Case cases[] = {
        {"flip", [](RasterImage &i) { return i.Flip(); }},
        {"mirror", [](RasterImage &i) { return i.Mirror(); }},
        {"crop", [](RasterImage &i) { return i.Crop(1, 0, 3, 1); }},
        {"rotate90", [](RasterImage &i) { return i.Rotate(90); }},
        {"rotate180", [](RasterImage &i) { return i.Rotate180(); }},
    };
    for (const Case &c : cases) {
        RasterImage image = make();
        ASSERT_TRUE(c.run(image)) << c.name;
        ASSERT_TRUE(image.HasAlpha()) << c.name;
        for (int32_t y = 0; y < image.Height(); ++y)
            for (int32_t x = 0; x < image.Width(); ++x)
                EXPECT_EQ(image.AlphaGet(x, y), uint8_t(image.PixelColor(x, y) >> 16))
                    << c.name << " " << x << "," << y;
    }
}

TEST(ImageTransform, CropClampsOrdersAndRefusesEmptyRectangles)
{
    RasterImage image;
    ASSERT_TRUE(decode(image, fixture("bmp3_24.bmp"), kRasterFormatBmp));
    const Pixels before = pixelsOf(image);
    EXPECT_FALSE(image.Crop(3, 1, 3, 5));
    EXPECT_FALSE(image.Crop(1, 4, 6, 4));
    EXPECT_FALSE(image.Crop(20, 0, 30, 5)); // both clamp to the right edge
    EXPECT_TRUE(samePixels(before, pixelsOf(image)));

    // Into another image: the source stays; the pairs may come in either order.
    RasterImage swapped;
    ASSERT_TRUE(image.Crop(7, 4, 2, 1, &swapped));
    EXPECT_TRUE(samePixels(expected("bmp3_24_crop"), pixelsOf(swapped)));
    EXPECT_TRUE(samePixels(before, pixelsOf(image)));
    // The whole image, from a rectangle past every edge.
    RasterImage whole;
    ASSERT_TRUE(image.Crop(-5, -5, 100, 100, &whole));
    EXPECT_TRUE(samePixels(before, pixelsOf(whole)));
}

TEST(ImageTransform, SettingsAndPaletteCarryOverAndEmptyImagesRefuse)
{
    RasterImage image;
    ASSERT_TRUE(decode(image, fixture("bmp3_8.bmp"), kRasterFormatBmp));
    image.transparentIndex = 3;
    image.opacity = 40;
    RasterImage out;
    ASSERT_TRUE(image.Rotate(90, &out));
    EXPECT_EQ(out.transparentIndex, 3);
    EXPECT_EQ(out.opacity, 40);
    for (uint8_t i = 0; i < 255; ++i)
        ASSERT_EQ(out.PaletteEntry(i), image.PaletteEntry(i));

    RasterImage empty;
    EXPECT_FALSE(empty.Flip());
    EXPECT_FALSE(empty.Mirror());
    EXPECT_FALSE(empty.Crop(0, 0, 1, 1));
    EXPECT_FALSE(empty.Rotate(90));
    EXPECT_FALSE(empty.Rotate180());

    // A cancelled rotation leaves the image alone.
    image.escape = 1;
    const void *block = image.Dib();
    EXPECT_FALSE(image.Rotate(90));
    EXPECT_STREQ(image.lastError, "Cancelled");
    EXPECT_EQ(image.Dib(), block);
    EXPECT_EQ(image.Width(), 13);
}
