// Under Wine: the drawing helpers paint into 32-bit memory DCs whose pixels are read back and
// compared with what the source picture and the piece arithmetic say each pixel must be:
// nine-grids at odd sizes (smaller and larger than the source, zero margins) in the tiled
// and stretched layouts, picture references in their three modes and their fills, keyed
// drawing and transparent blits, and key-colour regions (empty, full, more runs than rows).
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "key_region.h"
#include "rasterimage.h"
#include "skin_draw.h"
#include "skin_geometry.h"
#include "skin_repository.h"
#include "skin_test_support.h"

namespace {

constexpr COLORREF kBackground = RGB(1, 2, 3);

// A 32-bit top-down DIB section in a memory DC, cleared to kBackground.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void **>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        RECT all{0, 0, width, height};
        skinFillRect(dc_, all, kBackground);
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF at(int x, int y) const
    {
        GdiFlush();
        const uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    uint32_t *bits_ = nullptr;
};

// The colour of the source image at (x, y) counted from its top, as a COLORREF.
COLORREF sourceAt(const RasterImage &image, int x, int y) { return skinPixelColor(image, x, y); }

// A repository holding one 24-bit image "grid" whose pixel colour encodes its own position,
// so every drawn pixel tells where in the source it came from.
class DrawHelpers : public ::testing::Test {
protected:
    static constexpr int kWidth = 30;
    static constexpr int kHeight = 24;

    void SetUp() override
    {
        RasterImage image(kWidth, kHeight, 24);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                // red = x * 8, green = y * 10, blue = 200 (rows count from the bottom).
                image.SetPixelColor(x, kHeight - 1 - y, (uint32_t(x * 8) << 16) | (uint32_t(y * 10) << 8) | 200u);
            }
        }
        ASSERT_TRUE(loadSkinWithImage(repository, "grid", image));
        picture = repository.findImage("grid");
        ASSERT_NE(picture, nullptr);
    }

    SkinNineGrid grid(SkinRect source, SkinRect margins, int32_t layout)
    {
        SkinNineGrid g = unsetSkinNineGrid();
        copySkinText(g.image, sizeof g.image, "grid");
        g.source = source;
        g.margins = margins;
        g.layout = layout;
        return g;
    }
    SkinPicture reference(SkinRect source, int32_t mode, const char *name = "grid")
    {
        SkinPicture p = unsetSkinPicture();
        copySkinText(p.image, sizeof p.image, name);
        p.source = source;
        p.mode = mode;
        return p;
    }

    // The expected colour of target pixel (x, y) for a piece drawn in mode (tiled and
    // natural exactly; stretched: the source pixel that nearest-neighbour scaling picks).
    COLORREF expected(const SkinGridPiece &p, int x, int y) const
    {
        const int dx = x - p.target.left, dy = y - p.target.top;
        int sx, sy;
        if (p.mode == kSkinPictureStretched) {
            sx = p.source.left + dx * p.source.width() / p.target.width();
            sy = p.source.top + dy * p.source.height() / p.target.height();
        } else {
            sx = p.source.left + dx % p.source.width();
            sy = p.source.top + dy % p.source.height();
        }
        return sourceAt(*picture, sx, sy);
    }

    void expectGridDrawn(const SkinNineGrid &g, const RECT &target, int canvasWidth, int canvasHeight)
    {
        Canvas canvas(canvasWidth, canvasHeight);
        ASSERT_TRUE(skinDrawNineGrid(&repository, canvas.dc(), target, g, RGB(255, 0, 0), kSkinFill, false));
        const auto pieces = nineGridPieces(g.source, g.margins, g.layout, toSkinRect(target));
        int wrong = 0;
        for (int y = 0; y < canvasHeight; ++y) {
            for (int x = 0; x < canvasWidth; ++x) {
                COLORREF want = kBackground;
                for (const auto &p : pieces) {
                    if (x >= p.target.left && x < p.target.right && y >= p.target.top && y < p.target.bottom) {
                        want = expected(p, x, y);
                    }
                }
                const COLORREF got = canvas.at(x, y);
                if (got != want && wrong++ < 5) {
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << got << " instead of " << want;
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }

    SkinRepository repository;
    RasterImage *picture = nullptr;
};

TEST_F(DrawHelpers, NineGridTiledAtOddSizes)
{
    const SkinNineGrid g = grid(makeSkinRect(2, 3, 27, 21), makeSkinRect(4, 5, 6, 3), kNineGridTiled);
    const RECT targets[] = {
        {3, 2, 3 + 71, 2 + 53},  // larger than the source
        {1, 1, 1 + 25, 1 + 18},  // the source's own size
        {0, 0, 7, 5},            // smaller than the margins
        {5, 5, 6, 40},           // one pixel wide
    };
    for (const RECT &t : targets) {
        SCOPED_TRACE(testing::Message() << t.right - t.left << "x" << t.bottom - t.top);
        expectGridDrawn(g, t, 80, 60);
    }
}

TEST_F(DrawHelpers, NineGridStretchedAndMixedLayouts)
{
    for (int32_t layout : {kNineGridStretched, kNineGridCentreStretched, kNineGridEdgesStretched, kNineGridCornersTiled}) {
        SCOPED_TRACE(layout);
        // Targets that are whole multiples of the pieces keep nearest-neighbour exact.
        expectGridDrawn(grid(makeSkinRect(0, 0, 24, 24), makeSkinRect(4, 4, 4, 4), layout), RECT{0, 0, 8 + 48, 8 + 32}, 60, 44);
    }
}

TEST_F(DrawHelpers, NineGridWithZeroAndOversizedMargins)
{
    expectGridDrawn(grid(makeSkinRect(0, 0, 10, 10), makeSkinRect(0, 0, 0, 0), kNineGridTiled), RECT{2, 2, 33, 27}, 40, 30);
    // Margins beyond the source are clamped: drawing ends without negative pieces or a hang.
    expectGridDrawn(grid(makeSkinRect(0, 0, 10, 10), makeSkinRect(40, 40, 40, 40), kNineGridTiled), RECT{0, 0, 30, 30}, 30, 30);
}

TEST_F(DrawHelpers, PictureModesAndFills)
{
    const SkinRect source = makeSkinRect(5, 4, 15, 12);  // 10 x 8
    struct Case {
        const char *what;
        int32_t mode;
        RECT target;
    } cases[] = {
        {"natural, larger target: drawn once at the corner", kSkinPictureNatural, {2, 3, 40, 30}},
        {"natural, smaller target: cut to it", kSkinPictureNatural, {2, 3, 8, 6}},
        {"tiled", kSkinPictureTiled, {1, 1, 34, 27}},
        {"stretched", kSkinPictureStretched, {0, 0, 30, 16}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Canvas canvas(44, 34);
        ASSERT_TRUE(skinDrawPicture(&repository, canvas.dc(), c.target, reference(source, c.mode), RGB(255, 0, 0), kSkinFill, false));
        const SkinRect target = toSkinRect(c.target);
        SkinRect drawn = target;
        if (c.mode == kSkinPictureNatural) {
            drawn.right = std::min(target.right, target.left + source.width());
            drawn.bottom = std::min(target.bottom, target.top + source.height());
        }
        const SkinGridPiece piece{4, source, drawn, c.mode};
        int wrong = 0;
        for (int y = 0; y < 34; ++y) {
            for (int x = 0; x < 44; ++x) {
                const bool inside = x >= drawn.left && x < drawn.right && y >= drawn.top && y < drawn.bottom;
                const COLORREF want = inside ? expected(piece, x, y) : kBackground;
                wrong += canvas.at(x, y) != want;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(DrawHelpers, UnsetOrMissingPicturesFillOnlyWhenAsked)
{
    const RECT target{2, 2, 12, 9};
    const COLORREF fill = RGB(10, 200, 30);
    struct Case {
        const char *what;
        SkinPicture picture;
        int fillFlag;
        COLORREF inside;
    } cases[] = {
        {"unset, fill", reference(makeSkinRect(0, 0, 0, 0), 0), kSkinFill, fill},
        {"unset, no fill", reference(makeSkinRect(0, 0, 0, 0), 0), kSkinNoFill, kBackground},
        {"missing image, fill 1", reference(makeSkinRect(0, 0, 4, 4), 0, "nothing"), kSkinFill, fill},
        {"missing image, fill 2", reference(makeSkinRect(0, 0, 4, 4), 0, "nothing"), 2, kBackground},
        {"source outside the image", reference(makeSkinRect(100, 100, 120, 120), 1), kSkinFill, fill},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Canvas canvas(16, 12);
        skinDrawPicture(&repository, canvas.dc(), target, c.picture, fill, c.fillFlag, false);
        EXPECT_EQ(canvas.at(2, 2), c.inside);
        EXPECT_EQ(canvas.at(11, 8), c.inside);
        EXPECT_EQ(canvas.at(12, 9), kBackground);
        EXPECT_EQ(canvas.at(1, 1), kBackground);
    }
    // Without a repository nothing is looked up.
    Canvas canvas(16, 12);
    skinDrawPicture(nullptr, canvas.dc(), target, reference(makeSkinRect(0, 0, 4, 4), 0), fill, kSkinFill, false);
    EXPECT_EQ(canvas.at(5, 5), fill);
}

TEST_F(DrawHelpers, MirroredNaturalPictureIsReversed)
{
    Canvas canvas(12, 4);
    const SkinRect source = makeSkinRect(0, 0, 10, 2);
    skinDrawPicture(&repository, canvas.dc(), RECT{0, 0, 10, 2}, reference(source, kSkinPictureNatural), 0, kSkinNoFill, true);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(canvas.at(x, 0), sourceAt(*picture, 9 - x, 0)) << x;
    }
}

TEST_F(DrawHelpers, KeyedPictureLeavesTheKeyTransparent)
{
    // The source's column 0 has red 0 and row 0 green 0: the key RGB(0,0,200) is pixel (0,0).
    const COLORREF key = sourceAt(*picture, 0, 0);
    Canvas canvas(12, 12);
    skinDrawKeyedPicture(&repository, canvas.dc(), RECT{1, 1, 11, 11}, reference(makeSkinRect(0, 0, 10, 10), kSkinPictureNatural), key);
    EXPECT_EQ(canvas.at(1, 1), kBackground);  // the key pixel
    EXPECT_EQ(canvas.at(2, 1), sourceAt(*picture, 1, 0));
    EXPECT_EQ(canvas.at(10, 10), sourceAt(*picture, 9, 9));
    EXPECT_EQ(canvas.at(0, 0), kBackground);
}

TEST(TransparentBlit, CopiesAllButTheKeyAndStretches)
{
    Canvas source(4, 2), target(8, 4);
    const COLORREF key = RGB(255, 0, 255), a = RGB(10, 20, 30), b = RGB(200, 100, 50);
    RECT left{0, 0, 2, 2}, right{2, 0, 4, 2};
    skinFillRect(source.dc(), left, a);
    skinFillRect(source.dc(), right, key);
    SetPixel(source.dc(), 3, 1, b);
    ASSERT_TRUE(skinTransparentBlitDC(target.dc(), 0, 0, 4, 2, source.dc(), 0, 0, 4, 2, key));
    EXPECT_EQ(target.at(0, 0), a);
    EXPECT_EQ(target.at(2, 0), kBackground);
    EXPECT_EQ(target.at(3, 1), b);
    // Stretched to twice the size.
    Canvas stretched(8, 4);
    ASSERT_TRUE(skinTransparentBlitDC(stretched.dc(), 0, 0, 8, 4, source.dc(), 0, 0, 4, 2, key));
    EXPECT_EQ(stretched.at(3, 3), a);
    EXPECT_EQ(stretched.at(5, 0), kBackground);
    EXPECT_EQ(stretched.at(7, 3), b);
    EXPECT_FALSE(skinTransparentBlitDC(stretched.dc(), 0, 0, 0, 4, source.dc(), 0, 0, 4, 2, key));
}

// The rectangles of a region, one per row of a one-row-per-run region.
std::vector<RECT> rectsOf(HRGN region)
{
    const DWORD bytes = GetRegionData(region, 0, nullptr);
    std::vector<uint8_t> buffer(bytes);
    auto *data = reinterpret_cast<RGNDATA *>(buffer.data());
    GetRegionData(region, bytes, data);
    const RECT *r = reinterpret_cast<const RECT *>(data->Buffer);
    return std::vector<RECT>(r, r + data->rdh.nCount);
}

TEST(KeyRegion, EmptyFullAndMoreRunsThanRows)
{
    const uint32_t keyPacked = 0x00FF00FF, other = 0x00102030;
    const COLORREF key = RGB(0xFF, 0, 0xFF);
    RasterImage none(6, 3, 24), all(6, 3, 24), stripes(9, 2, 24);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) {
            none.SetPixelColor(x, y, other);
            all.SetPixelColor(x, y, keyPacked);
        }
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 9; ++x) stripes.SetPixelColor(x, y, x % 2 ? keyPacked : other);

    HRGN full = skinRegionFromPicture(none, key);
    RECT box;
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(GetRgnBox(full, &box), SIMPLEREGION);
    EXPECT_EQ(box.right - box.left, 6);
    EXPECT_EQ(box.bottom - box.top, 3);
    DeleteObject(full);

    HRGN empty = skinRegionFromPicture(all, key);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
    DeleteObject(empty);

    // Five runs a row, two rows: every run kept.
    HRGN runs = skinRegionFromPicture(stripes, key);
    ASSERT_NE(runs, nullptr);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 9; ++x) EXPECT_EQ(PtInRegion(runs, x, y) != 0, x % 2 == 0) << x << "," << y;
    // GDI joins runs that repeat in the next row: at most one rectangle per run.
    EXPECT_LE(rectsOf(runs).size(), 10u);
    EXPECT_GE(rectsOf(runs).size(), 5u);

    // Scaled by two and moved; tiled over a rectangle and cut to it.
    HRGN scaled = skinScaledRegion(runs, 2.0f, 2.0f, 10, 20);
    EXPECT_TRUE(PtInRegion(scaled, 10, 20));
    EXPECT_TRUE(PtInRegion(scaled, 11, 23));
    EXPECT_FALSE(PtInRegion(scaled, 12, 20));
    EXPECT_TRUE(PtInRegion(scaled, 14, 20));
    HRGN tiled = skinTiledRegion(runs, 9, 2, RECT{0, 0, 20, 5});
    EXPECT_TRUE(PtInRegion(tiled, 9, 2));
    EXPECT_FALSE(PtInRegion(tiled, 10, 4));
    EXPECT_TRUE(PtInRegion(tiled, 18, 4));
    EXPECT_FALSE(PtInRegion(tiled, 20, 0));
    HRGN noTiles = skinTiledRegion(runs, 0, 2, RECT{0, 0, 20, 5});
    EXPECT_EQ(GetRgnBox(noTiles, &box), NULLREGION);
    for (HRGN r : {runs, scaled, tiled, noTiles}) DeleteObject(r);
}

TEST(TextConversion, WideAndNarrowRoundTrip)
{
    TextConverter wide(L"MainFrame");
    EXPECT_STREQ(wide.narrow(), "MainFrame");
    TextConverter narrow("Dialog");
    EXPECT_STREQ(narrow.wide(), L"Dialog");
    EXPECT_EQ(narrow.length(), 6u);
    TextConverter none(static_cast<const wchar_t *>(nullptr));
    EXPECT_STREQ(none.narrow(), "");
}

}  // namespace
