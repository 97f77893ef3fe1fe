// Drawing under Windows (Wine here) into memory device contexts: every pixel of the
// target is read back and compared with what the image, the scale, the transparency and
// the blending rules make of it.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "rasterimage.h"

namespace {

uint32_t rgb(uint8_t r, uint8_t g, uint8_t b)
{
    return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16;
}

const uint32_t kBackground = 0x00305070; // packed like the image's colours

// A 32-bit top-down DIB section in a memory DC, filled with one colour, read pixel by pixel.
class Canvas {
public:
    Canvas(int32_t width, int32_t height, uint32_t fill = kBackground) : width_(width), height_(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        void *bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<uint32_t *>(bits);
        old_ = SelectObject(dc_, bitmap_);
        for (int32_t i = 0; i < width * height; ++i)
            bits_[i] = fill;
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    uint32_t at(int32_t x, int32_t y) const
    {
        GdiFlush();
        return bits_[size_t(y) * width_ + x] & 0x00FFFFFFu;
    }
    // Compares every pixel with want(x, y); reports the first difference.
    ::testing::AssertionResult matches(const std::function<uint32_t(int32_t, int32_t)> &want) const
    {
        for (int32_t y = 0; y < height_; ++y)
            for (int32_t x = 0; x < width_; ++x)
                if (at(x, y) != want(x, y))
                    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                         << at(x, y) << ", expected " << want(x, y);
        return ::testing::AssertionSuccess();
    }

private:
    int32_t width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    uint32_t *bits_;
};

// An image whose every pixel has its own colour; for palette images, entry i has colour i.
RasterImage pattern(int32_t width, int32_t height, int32_t bits)
{
    RasterImage image(width, height, bits);
    const uint32_t entries = image.Header().biClrUsed;
    for (uint32_t i = 0; i < entries; ++i)
        image.SetPaletteEntry(uint8_t(i), uint8_t(20 + i * 13), uint8_t(255 - i * 7), uint8_t(i * 3));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            if (entries)
                image.SetPixelIndex(x, y, uint8_t((x + y * width) % entries));
            else
                image.SetPixelColor(x, y, rgb(uint8_t(10 + x * 20), uint8_t(200 - y * 30), uint8_t(x * y + 5)));
        }
    return image;
}

// Colour of image pixel (x, y counted from the top).
uint32_t fromTop(const RasterImage &image, int32_t x, int32_t y)
{
    return image.PixelColor(x, image.Height() - 1 - y) & 0x00FFFFFFu;
}

// What a draw of the image at (left, top) scaled to cx x cy puts at canvas pixel (x, y).
uint32_t scaledAt(const RasterImage &image, int32_t left, int32_t top, int32_t cx, int32_t cy, int32_t x, int32_t y)
{
    if (x < left || y < top || x >= left + cx || y >= top + cy)
        return kBackground;
    // Nearest pixel: the exact proportion, rounded down.
    return fromTop(image, (x - left) * image.Width() / cx, (y - top) * image.Height() / cy);
}

uint8_t channel(uint32_t c, int shift)
{
    return uint8_t(c >> shift);
}

uint32_t blend(uint32_t source, uint32_t destination, uint32_t a)
{
    uint32_t out = 0;
    for (int shift : {0, 8, 16})
        out |= uint32_t((channel(source, shift) * a + channel(destination, shift) * (255 - a)) >> 8) << shift;
    return out;
}

} // namespace

TEST(ImageDraw, NaturalSizeAtEveryBitCount)
{
    for (int32_t bits : {1, 4, 8, 24}) {
        RasterImage image = pattern(5, 3, bits);
        Canvas canvas(12, 8);
        EXPECT_EQ(image.Draw(canvas.dc(), 3, 2), 1);
        EXPECT_TRUE(canvas.matches([&](int32_t x, int32_t y) { return scaledAt(image, 3, 2, 5, 3, x, y); })) << bits;
    }
}

TEST(ImageDraw, RefusesWithoutSizePixelsDcOrPermission)
{
    RasterImage image = pattern(4, 4, 24);
    Canvas canvas(8, 8);
    EXPECT_EQ(image.Draw(canvas.dc(), 0, 0, 0, 4), 0);
    EXPECT_EQ(image.Draw(canvas.dc(), 0, 0, 4, 0), 0);
    EXPECT_EQ(image.Draw(nullptr, 0, 0), 0);
    image.enabled = false;
    EXPECT_EQ(image.Draw(canvas.dc(), 0, 0), 0);
    EXPECT_EQ(image.DrawMasked(canvas.dc(), 0, 0), 0);
    RasterImage empty;
    EXPECT_EQ(empty.Draw(canvas.dc(), 0, 0), 0);
    EXPECT_EQ(empty.Stretch(canvas.dc(), 0, 0, 4, 4), 0);
    EXPECT_EQ(empty.Tile(canvas.dc(), nullptr), 0);
    EXPECT_EQ(empty.MakeBitmap(canvas.dc()), nullptr);
    EXPECT_TRUE(canvas.matches([](int32_t, int32_t) { return kBackground; }));
    // cx = -1 means the natural width.
    image.enabled = true;
    EXPECT_EQ(image.Draw(canvas.dc(), 1, 1, -1, 4), 1);
    EXPECT_TRUE(canvas.matches([&](int32_t x, int32_t y) { return scaledAt(image, 1, 1, 4, 4, x, y); }));
}

TEST(ImageDraw, ScaledPathAtSmallSizesTakesTheNearestPixel)
{
    struct Case {
        int32_t width, height, bits, cx, cy;
    };
    const Case cases[] = {
        {2, 2, 24, 4, 4}, {3, 2, 24, 6, 4}, {4, 4, 24, 2, 2}, {1, 1, 24, 5, 3},
        {4, 4, 24, 3, 3}, {3, 3, 8, 4, 4},  {2, 3, 4, 7, 9},  {5, 2, 1, 10, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << c.bits << " bits to " << c.cx
                                        << "x" << c.cy);
        RasterImage image = pattern(c.width, c.height, c.bits);
        Canvas canvas(c.cx + 4, c.cy + 3);
        ASSERT_EQ(image.Draw(canvas.dc(), 2, 1, c.cx, c.cy), 1);
        EXPECT_TRUE(canvas.matches([&](int32_t x, int32_t y) { return scaledAt(image, 2, 1, c.cx, c.cy, x, y); }));
    }
}

TEST(ImageDraw, TransparentIndexLeavesItsPixelsAlone)
{
    RasterImage image = pattern(4, 3, 4);
    image.transparentIndex = 5; // the pixel at (1, 1) from the bottom, (1, 1) from the top
    const uint32_t key = image.PaletteEntry(5) & 0xFFFFFF;
    for (int32_t scale : {1, 2}) {
        Canvas canvas(12, 8);
        ASSERT_EQ(image.Draw(canvas.dc(), 1, 1, 4 * scale, 3 * scale), 1);
        EXPECT_TRUE(canvas.matches([&](int32_t x, int32_t y) {
            const uint32_t drawn = scaledAt(image, 1, 1, 4 * scale, 3 * scale, x, y);
            return drawn == key ? kBackground : drawn;
        })) << "scale " << scale;
    }
    // The same by colour for a 24-bit image.
    RasterImage color = pattern(3, 3, 24);
    color.transparentIndex = 0;
    const uint32_t colorKey = fromTop(color, 2, 0);
    color.transparentColor = {uint8_t(colorKey), uint8_t(colorKey >> 8), uint8_t(colorKey >> 16), 0};
    Canvas canvas(5, 5);
    ASSERT_EQ(color.Draw(canvas.dc(), 1, 1), 1);
    EXPECT_EQ(canvas.at(3, 1), kBackground);
    EXPECT_EQ(canvas.at(1, 1), fromTop(color, 0, 0));
}

TEST(ImageDraw, OpacityAlphaPlaneAndPaletteAlphaBlend)
{
    RasterImage image = pattern(3, 2, 24);
    {
        image.opacity = 0;
        ASSERT_TRUE(image.AlphaCreate()); // an alpha plane takes the blending path
        for (int32_t y = 0; y < 2; ++y)
            for (int32_t x = 0; x < 3; ++x)
                image.AlphaSet(x, y, 255);
        Canvas canvas(4, 3);
        ASSERT_EQ(image.Draw(canvas.dc(), 0, 0), 1);
        EXPECT_TRUE(canvas.matches([](int32_t, int32_t) { return kBackground; }));
    }
    // Alpha 0, 100 and 255 along the rows, at opacity 255 and 128.
    const uint8_t alphas[3] = {0, 100, 255};
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x)
            image.AlphaSet(x, y, alphas[x]);
    for (uint8_t opacity : {uint8_t(255), uint8_t(128)}) {
        image.opacity = opacity;
        Canvas canvas(4, 3);
        ASSERT_EQ(image.Draw(canvas.dc(), 1, 1), 1);
        EXPECT_TRUE(canvas.matches([&](int32_t x, int32_t y) {
            if (x < 1 || y < 1)
                return kBackground;
            const uint32_t a = (uint32_t(alphas[x - 1]) * (opacity + 1)) >> 8;
            if (a == 0)
                return kBackground;
            const uint32_t source = fromTop(image, x - 1, y - 1);
            return a == 255 ? source : blend(source, kBackground, a);
        })) << int(opacity);
    }
    // The palette's fourth byte as each colour's alpha.
    RasterImage indexed = pattern(2, 1, 1);
    indexed.SetPaletteEntry(0, 200, 0, 0, 255);
    indexed.SetPaletteEntry(1, 0, 0, 200, 60);
    indexed.alphaPaletteEnabled = true;
    Canvas canvas(2, 1);
    ASSERT_EQ(indexed.Draw(canvas.dc(), 0, 0), 1);
    EXPECT_EQ(canvas.at(0, 0), rgb(200, 0, 0));
    EXPECT_EQ(canvas.at(1, 0), blend(rgb(0, 0, 200), kBackground, (255 * 61) >> 8));
}

TEST(ImageDraw, ClipRectangleAndClipBoxBoundTheDrawingAndTheClipIsGivenBack)
{
    for (bool blended : {false, true}) {
        RasterImage image = pattern(6, 4, 24);
        if (blended)
            image.transparentIndex = 0, image.transparentColor = {1, 2, 3, 0}; // no pixel has it
        Canvas canvas(10, 8);
        const RECT clip = {3, 2, 6, 4};
        ASSERT_EQ(image.Draw(canvas.dc(), 1, 1, -1, -1, &clip), 1);
        EXPECT_TRUE(canvas.matches([&](int32_t x, int32_t y) {
            const bool inside = x >= 3 && x < 6 && y >= 2 && y < 4;
            return inside ? scaledAt(image, 1, 1, 6, 4, x, y) : kBackground;
        })) << blended;
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(GetClipRgn(canvas.dc(), region), 0) << "no clipping was there before";
        // A DC clipped already keeps its region; the scaled path draws only inside it.
        HRGN own = CreateRectRgn(0, 0, 4, 3);
        SelectClipRgn(canvas.dc(), own);
        Canvas fresh(10, 8);
        SelectClipRgn(fresh.dc(), own);
        ASSERT_EQ(image.Draw(fresh.dc(), 0, 0, 12, 8, &clip), 1);
        EXPECT_TRUE(fresh.matches([&](int32_t x, int32_t y) {
            const bool inside = x >= 3 && x < 4 && y >= 2 && y < 3;
            return inside ? scaledAt(image, 0, 0, 12, 8, x, y) : kBackground;
        })) << blended;
        ASSERT_EQ(GetClipRgn(fresh.dc(), region), 1);
        RECT box;
        GetRgnBox(region, &box);
        EXPECT_EQ(box.right, 4);
        EXPECT_EQ(box.bottom, 3);
        DeleteObject(own);
        DeleteObject(region);
    }
}

TEST(ImageDraw, MaskedDrawingKeepsTheBackgroundUnderTheTransparentColour)
{
    RasterImage image = pattern(4, 3, 8);
    image.transparentIndex = 6;
    const uint32_t key = image.PaletteEntry(6) & 0xFFFFFF;
    for (int32_t scale : {1, 2}) {
        Canvas canvas(11, 8);
        SetTextColor(canvas.dc(), RGB(1, 2, 3));
        SetBkColor(canvas.dc(), RGB(4, 5, 6));
        ASSERT_EQ(image.DrawMasked(canvas.dc(), 2, 1, 4 * scale, 3 * scale), 1);
        EXPECT_TRUE(canvas.matches([&](int32_t x, int32_t y) {
            const uint32_t drawn = scaledAt(image, 2, 1, 4 * scale, 3 * scale, x, y);
            return drawn == key ? kBackground : drawn;
        })) << "scale " << scale;
        EXPECT_EQ(GetTextColor(canvas.dc()), RGB(1, 2, 3));
        EXPECT_EQ(GetBkColor(canvas.dc()), RGB(4, 5, 6));
    }
    // Without a transparent index the picture is copied whole.
    image.transparentIndex = -1;
    Canvas canvas(6, 5);
    ASSERT_EQ(image.DrawMasked(canvas.dc(), 1, 1), 1);
    EXPECT_TRUE(canvas.matches([&](int32_t x, int32_t y) { return scaledAt(image, 1, 1, 4, 3, x, y); }));
}

TEST(ImageDraw, StretchAndTile)
{
    RasterImage image = pattern(2, 2, 24);
    Canvas stretched(8, 6);
    ASSERT_EQ(image.Stretch(stretched.dc(), 1, 1, 6, 4), 1);
    EXPECT_TRUE(stretched.matches([&](int32_t x, int32_t y) { return scaledAt(image, 1, 1, 6, 4, x, y); }));

    RasterImage tile = pattern(3, 2, 24);
    Canvas tiled(11, 8);
    const RECT area = {1, 1, 9, 6};
    ASSERT_EQ(tile.Tile(tiled.dc(), &area), 1);
    EXPECT_TRUE(tiled.matches([&](int32_t x, int32_t y) {
        if (x < 1 || y < 1 || x >= 9 || y >= 6)
            return kBackground;
        return fromTop(tile, (x - 1) % 3, (y - 1) % 2);
    }));
}

TEST(ImageBitmaps, MakeBitmapAndBackAgain)
{
    for (int32_t bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        RasterImage image = pattern(5, 3, bits);
        Canvas reference(5, 3);
        for (HDC like : {reference.dc(), HDC(nullptr)}) {
            HBITMAP bitmap = image.MakeBitmap(like);
            ASSERT_NE(bitmap, nullptr);
            HDC dc = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(dc, bitmap);
            Canvas canvas(5, 3);
            BitBlt(canvas.dc(), 0, 0, 5, 3, dc, 0, 0, SRCCOPY);
            SelectObject(dc, old);
            DeleteDC(dc);
            if (like) { // a device bitmap in the canvas's colours
                EXPECT_TRUE(canvas.matches([&](int32_t x, int32_t y) { return fromTop(image, x, y); }));
            }
            RasterImage back;
            ASSERT_TRUE(back.CreateFromHBITMAP(bitmap)) << back.lastError;
            EXPECT_EQ(back.Width(), 5);
            EXPECT_EQ(back.Height(), 3);
            for (int32_t y = 0; y < 3; ++y)
                for (int32_t x = 0; x < 5; ++x)
                    ASSERT_EQ(fromTop(back, x, y), fromTop(image, x, y)) << x << "," << y;
            DeleteObject(bitmap);
        }
    }
    RasterImage image = pattern(2, 2, 24);
    EXPECT_FALSE(image.CreateFromHBITMAP(nullptr));
    EXPECT_FALSE(image.IsValid());
}

#endif
