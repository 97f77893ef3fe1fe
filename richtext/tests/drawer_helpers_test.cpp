// The drawing helpers under Wine, checked pixel by pixel in memory DCs: colour arithmetic,
// the 64-band gradients, borders, rules, tiling, recolouring, transparent bitmaps and
// icons, and shadows.
#include <gtest/gtest.h>

#include <vector>

#include "dib_section.h"
#include "drawer_canvas.h"
#include "drawing_helpers.h"

namespace {

using H = DrawingHelpers;

// The colour the gradient's band i has, as the band rule states it.
COLORREF band(COLORREF from, COLORREF to, int i) {
    auto mix = [i](int a, int b) { return (a * (64 - i) + b * i) >> 6; };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)), mix(GetBValue(from), GetBValue(to)));
}

// The band that covers offset x of an extent, by the band bounds start + extent * i >> 6.
int bandAt(int extent, int x) {
    for (int i = 0; i < 64; ++i)
        if (x >= (extent * i) >> 6 && x < (extent * (i + 1)) >> 6) return i;
    return -1;
}

// A 32-bit bitmap from rows of COLORREF values.
HBITMAP bitmapOf(const std::vector<std::vector<COLORREF>>& rows) {
    DibSection dib(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < dib.height(); ++y)
        for (int x = 0; x < dib.width(); ++x) dib.setPixel(x, y, rows[y][x]);
    return dib.release();
}

COLORREF pixelOf(HBITMAP b, int x, int y) {
    SelectingDC dc(b);
    return GetPixel(dc, x, y);
}

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255), kWhite = RGB(255, 255, 255), kBlack = 0;

TEST(ColourHelpers, GreyInverseDarkenLighten) {
    EXPECT_EQ(H::greyOf(kRed), RGB(76, 76, 76));
    EXPECT_EQ(H::greyOf(kGreen), RGB(149, 149, 149));  // 149.685, truncated
    EXPECT_EQ(H::greyOf(kBlue), RGB(29, 29, 29));
    // The weights add up to a hair under 1 in doubles: truncation turns white into 254.
    EXPECT_EQ(H::greyOf(kWhite), RGB(254, 254, 254));
    EXPECT_EQ(H::inverseOf(0x00FF8000), 0x00007FFFu);
    const COLORREF c = RGB(200, 100, 50);
    for (double f : {1.0, -0.5, 1.5}) EXPECT_EQ(H::darken(c, f), c) << f;
    EXPECT_EQ(H::darken(c, 0.5), RGB(100, 50, 25));
    EXPECT_EQ(H::darken(c, 0.0), kBlack);
    EXPECT_EQ(H::lighten(RGB(200, 220, 0), 0.25), RGB(250, 255, 0));
    for (double f : {0.0, -0.25, 1.25}) EXPECT_EQ(H::lighten(c, f), c) << f;
    EXPECT_EQ(H::lighten(c, 1.0), RGB(255, 200, 100));
}

TEST(Fills, GradientBandsHaveExactColours) {
    const COLORREF from = RGB(0, 64, 255), to = RGB(255, 0, 1);
    for (int extent : {128, 10, 100, 1}) {
        Canvas c(extent + 4, 3, kMagenta);
        H::gradientFill(c, RECT{2, 1, 2 + extent, 2}, from, to, true);
        for (int x = 0; x < extent; ++x) EXPECT_EQ(c.at(2 + x, 1), band(from, to, bandAt(extent, x))) << extent << " " << x;
        // Nothing outside the rectangle.
        EXPECT_EQ(c.at(1, 1), kMagenta);
        EXPECT_EQ(c.at(2 + extent, 1), kMagenta);
        EXPECT_EQ(c.at(2, 0), kMagenta);
        EXPECT_EQ(c.at(2, 2), kMagenta);
    }
    // Vertical, and an empty or inverted rectangle draws nothing.
    Canvas v(2, 70, kMagenta);
    H::gradientFill(v, RECT{0, 3, 2, 67}, kBlack, kWhite, false);
    for (int y = 0; y < 64; ++y) EXPECT_EQ(v.at(1, 3 + y), band(kBlack, kWhite, y));
    EXPECT_EQ(v.at(0, 2), kMagenta);
    H::gradientFill(v, RECT{0, 10, 2, 5}, kRed, kRed, false);
    EXPECT_EQ(v.at(0, 7), band(kBlack, kWhite, 4));
}

TEST(Fills, BackgroundKinds) {
    const COLORREF a = RGB(200, 0, 0), m = RGB(0, 200, 0), e = RGB(0, 0, 200);
    const RECT r{0, 0, 128, 128};
    struct Case {
        int kind;
        POINT at;
        COLORREF expected;
    } cases[] = {
        {1, {0, 5}, band(a, e, 0)},    {1, {127, 5}, band(a, e, 63)},
        {2, {5, 127}, band(a, e, 63)},  {3, {0, 5}, band(a, e, 0)},
        {3, {63, 5}, band(a, e, 63)},   {3, {64, 5}, band(e, a, 0)},
        {3, {127, 5}, band(e, a, 63)},  {4, {5, 64}, band(e, a, 0)},
        {5, {63, 5}, band(a, m, 63)},   {5, {64, 5}, band(m, e, 0)},
        {6, {5, 127}, band(m, e, 63)},  {0, {70, 70}, a},
        {99, {70, 70}, a},              {-1, {70, 70}, a},
    };
    for (const Case& c : cases) {
        Canvas canvas(128, 128);
        H::backgroundFill(canvas, c.kind, r, a, m, e);
        EXPECT_EQ(canvas.at(c.at.x, c.at.y), c.expected) << c.kind << " at " << c.at.x << "," << c.at.y;
    }
}

TEST(Lines, BorderRectangleEdgesAndStyles) {
    Canvas c(12, 10, kWhite);
    H::borderRect(c, 1, 1, 11, 9, kRed, kBlue, kBorderSolid, 1);
    for (int y = 1; y < 9; ++y) EXPECT_EQ(c.at(1, y), kRed) << y;   // left: light
    for (int x = 1; x < 10; ++x) EXPECT_EQ(c.at(x, 1), kRed) << x;  // top: light
    for (int y = 1; y < 9; ++y) EXPECT_EQ(c.at(10, y), kBlue) << y; // right: dark, top-right corner too
    for (int x = 2; x < 11; ++x) EXPECT_EQ(c.at(x, 8), kBlue) << x; // bottom: dark
    EXPECT_EQ(c.count(RECT{2, 2, 10, 8}, notWhite), 0);             // inside untouched
    EXPECT_EQ(c.count(RECT{0, 0, 12, 1}, notWhite) + c.count(RECT{0, 9, 12, 10}, notWhite), 0);

    // Style none or width 0 draws nothing; the double style adds a frame 2 x width inside.
    Canvas none(12, 10, kWhite);
    H::borderRect(none, 0, 0, 12, 10, kRed, kBlue, kBorderNone, 3);
    H::borderRect(none, 0, 0, 12, 10, kRed, kBlue, kBorderSolid, 0);
    EXPECT_EQ(none.count(RECT{0, 0, 12, 10}, notWhite), 0);
    Canvas twice(12, 12, kWhite);
    H::borderRect(twice, 0, 0, 12, 12, kRed, kBlue, kBorderDouble, 1);
    EXPECT_EQ(twice.at(0, 5), kRed);
    EXPECT_EQ(twice.at(1, 5), kWhite);
    EXPECT_EQ(twice.at(2, 5), kRed);
    EXPECT_EQ(twice.at(9, 5), kBlue);
    EXPECT_EQ(twice.at(11, 5), kBlue);
    // A dotted border leaves gaps; a wide solid one covers its width.
    Canvas dotted(40, 10, kWhite);
    H::borderRect(dotted, 0, 0, 40, 10, kRed, kRed, kBorderDotted, 1);
    const int onTop = dotted.count(RECT{0, 0, 40, 1}, notWhite);
    EXPECT_GT(onTop, 5);
    EXPECT_LT(onTop, 35);
    Canvas wide(20, 20, kWhite);
    H::borderRect(wide, 0, 0, 20, 20, kRed, kBlue, kBorderSolid, 3);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(wide.at(x, 10), kRed) << x;
    for (int x = 17; x < 20; ++x) EXPECT_EQ(wide.at(x, 10), kBlue) << x;
    EXPECT_EQ(wide.at(4, 10), kWhite);
    Canvas even(20, 20, kWhite);
    H::borderRect(even, 0, 0, 20, 20, kRed, kBlue, kBorderSolid, 2);
    EXPECT_EQ(even.at(0, 10), kRed);
    EXPECT_EQ(even.at(1, 10), kRed);
    EXPECT_EQ(even.at(2, 10), kWhite);
    EXPECT_EQ(even.at(17, 10), kWhite);
    EXPECT_EQ(even.at(18, 10), kBlue);
    EXPECT_EQ(even.at(19, 10), kBlue);
    EXPECT_EQ(even.at(10, 19), kBlue);
    EXPECT_EQ(even.at(10, 0), kRed);
}

TEST(Lines, RulesAndDoubleRules) {
    Canvas c(20, 10, kWhite);
    H::ruleLine(c, 2, 3, 18, 3, kGreen, kBorderSolid, 1);
    EXPECT_EQ(c.count(RECT{2, 3, 18, 4}, [](COLORREF p) { return p == kGreen; }), 16);
    EXPECT_EQ(c.count(RECT{0, 0, 20, 10}, notWhite), 16);
    Canvas d(20, 10, kWhite);
    H::ruleLine(d, 2, 3, 18, 3, kGreen, kBorderDouble, 1);
    EXPECT_EQ(d.count(RECT{2, 5, 18, 6}, [](COLORREF p) { return p == kGreen; }), 16);  // 2 x width below
    Canvas v(10, 20, kWhite);
    H::ruleLine(v, 3, 2, 3, 18, kGreen, kBorderDouble, 2);
    EXPECT_EQ(v.at(7, 10), kGreen);  // 2 x width to the right
}

TEST(Tiling, CopiesClippedAtRightAndBottom) {
    HBITMAP tile = bitmapOf({{kRed, kGreen, kBlue}, {kBlack, kMagenta, kWhite}});
    SelectingDC source(tile);
    Canvas c(12, 8, RGB(9, 9, 9));
    H::tileBlit(c, RECT{1, 1, 9, 6}, source, POINT{0, 0}, SIZE{3, 2});
    const COLORREF expected[2][3] = {{kRed, kGreen, kBlue}, {kBlack, kMagenta, kWhite}};
    for (int y = 1; y < 6; ++y)
        for (int x = 1; x < 9; ++x) EXPECT_EQ(c.at(x, y), expected[(y - 1) % 2][(x - 1) % 3]) << x << "," << y;
    EXPECT_EQ(c.count(RECT{9, 0, 12, 8}, [](COLORREF p) { return p != RGB(9, 9, 9); }), 0);
    EXPECT_EQ(c.count(RECT{0, 6, 12, 8}, [](COLORREF p) { return p != RGB(9, 9, 9); }), 0);
    H::tileBlit(c, RECT{0, 0, 12, 8}, source, POINT{0, 0}, SIZE{0, 2});  // no tile: returns
    DeleteObject(tile);
}

TEST(Images, RecolouringByFlags) {
    const COLORREF c = RGB(200, 100, 40);
    HBITMAP b = bitmapOf({{c, kMagenta}});
    struct Case {
        unsigned flags;
        COLORREF first, key;
    } cases[] = {
        {0, c, kBlack},
        {kImageGrey, H::greyOf(c), kBlack},
        {kImageDarker, H::darken(c, 0.75), kBlack},
        {kImageLighter, H::lighten(c, 0.25), kBlack},
        {kImageGrey | kImageDarker, H::darken(H::greyOf(c), 0.75), kBlack},
        {kImageReplace, kBlue, kBlack},
        {kImageReplace | kImageInvert, H::inverseOf(kBlue), kWhite},  // the key pixel is inverted too
    };
    for (const Case& k : cases) {
        HBITMAP r = H::recolourBitmap(b, 2, 1, k.flags, true, kMagenta, kBlue);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(pixelOf(r, 0, 0), k.first) << k.flags;
        EXPECT_EQ(pixelOf(r, 1, 0), k.key) << k.flags;
        DeleteObject(r);
    }
    HBITMAP unkeyed = H::recolourBitmap(b, 2, 1, 0, false, kMagenta, 0);
    EXPECT_EQ(pixelOf(unkeyed, 1, 0), kMagenta);
    DeleteObject(unkeyed);
    EXPECT_EQ(H::recolourBitmap(b, 0, 1, 0, false, 0, 0), nullptr);
    DeleteObject(b);
}

TEST(Images, SizesOfBitmapsAndIcons) {
    HBITMAP b = bitmapOf({{kRed, kRed, kRed}, {kRed, kRed, kRed}});
    EXPECT_EQ(H::bitmapSize(b).cx, 3);
    EXPECT_EQ(H::bitmapSize(b).cy, 2);
    EXPECT_EQ(H::bitmapSize(nullptr).cx, 0);
    EXPECT_EQ(H::bitmapSize(reinterpret_cast<HBITMAP>(GetStockObject(WHITE_BRUSH))).cx, 0);
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    const SIZE s = H::iconSize(icon);
    EXPECT_EQ(s.cx, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(s.cy, GetSystemMetrics(SM_CYICON));
    EXPECT_EQ(H::iconSize(nullptr).cx, 0);
    DeleteObject(b);
}

TEST(Images, TransparentBitmapStretchedAndGreyed) {
    const COLORREF paper = RGB(10, 20, 30);
    HBITMAP b = bitmapOf({{kRed, kMagenta}, {kGreen, kBlue}});
    Canvas c(10, 10, paper);
    H::drawBitmap(c, 2, 3, 4, 4, b, true, kMagenta, 0, false, ShadowSettings{});
    EXPECT_EQ(c.at(2, 3), kRed);
    EXPECT_EQ(c.at(3, 4), kRed);   // stretched twice
    EXPECT_EQ(c.at(4, 3), paper);  // the key colour is transparent
    EXPECT_EQ(c.at(5, 4), paper);
    EXPECT_EQ(c.at(2, 5), kGreen);
    EXPECT_EQ(c.at(5, 6), kBlue);
    EXPECT_EQ(c.count(RECT{0, 0, 10, 3}, [&](COLORREF p) { return p != paper; }), 0);

    Canvas g(4, 4, paper);
    H::drawBitmap(g, 0, 0, 2, 2, b, true, kMagenta, kImageGrey, false, ShadowSettings{});
    EXPECT_EQ(g.at(0, 0), H::greyOf(kRed));
    EXPECT_EQ(g.at(1, 0), paper);
    DeleteObject(b);
}

TEST(Images, HardAndSoftShadows) {
    const COLORREF paper = RGB(200, 200, 200);
    std::vector<std::vector<COLORREF>> rows(12, std::vector<COLORREF>(12, kRed));
    HBITMAP b = bitmapOf(rows);
    ShadowSettings shadow;  // offset 4 x 4, blur 7 x 7, grey 0x7F7F7F
    Canvas hard(24, 24, paper);
    H::drawBitmap(hard, 0, 0, 12, 12, b, true, kMagenta, kImageHardShadow, true, shadow);
    EXPECT_EQ(hard.at(5, 5), kRed);
    // Under the shadow the paper is darkened by the inverse grey, 128 / 255.
    const COLORREF shaded = H::darken(paper, 128 / 255.0);
    EXPECT_EQ(hard.at(14, 14), shaded);
    EXPECT_EQ(hard.at(15, 3), paper);  // outside the offset shadow
    EXPECT_EQ(hard.at(20, 20), paper);

    Canvas soft(24, 24, paper);
    H::drawBitmap(soft, 0, 0, 12, 12, b, true, kMagenta, kImageSoftShadow, true, shadow);
    // The soft shape is shrunk by the blur and spread back: beside the picture the shadow
    // fades from the picture's edge outwards, never as dark as the hard one.
    const int closest = GetRValue(soft.at(12, 10)), middle = GetRValue(soft.at(14, 10)), furthest = GetRValue(soft.at(15, 10));
    EXPECT_LT(closest, middle);
    EXPECT_LT(middle, furthest);
    EXPECT_LT(furthest, 200);
    EXPECT_GT(closest, GetRValue(shaded));
    EXPECT_EQ(soft.at(23, 23), paper);
    EXPECT_EQ(soft.at(5, 5), kRed);

    // Shadowed without a shadow flag: the picture itself at the offset, then in place.
    Canvas offset(24, 24, paper);
    H::drawBitmap(offset, 0, 0, 12, 12, b, true, kMagenta, 0, true, shadow);
    EXPECT_EQ(offset.at(14, 14), kRed);
    DeleteObject(b);
}

TEST(Images, ShadowFactorsFromTheShape) {
    const COLORREF paper = RGB(100, 150, 200);
    HBITMAP white = bitmapOf({{kWhite, kWhite}, {kWhite, kWhite}});
    HBITMAP black = bitmapOf({{kBlack, kBlack}, {kBlack, kBlack}});
    Canvas c(4, 2, paper);
    H::drawShadow(c, 0, 0, 2, 2, white, false, 7, 7);
    EXPECT_EQ(c.at(0, 0), paper);
    H::drawShadow(c, 2, 0, 2, 2, black, false, 7, 7);
    EXPECT_EQ(c.at(3, 1), kBlack);
    EXPECT_EQ(c.at(1, 1), paper);
    DeleteObject(white);
    DeleteObject(black);
}

TEST(Images, IconsThroughTheirMask) {
    // A 16 x 16 icon: a blue 8 x 8 square in the middle, the rest transparent.
    std::vector<std::vector<COLORREF>> colour(16, std::vector<COLORREF>(16, kBlack));
    std::vector<BYTE> mask(16 * 2, 0xFF);
    for (int y = 4; y < 12; ++y) {
        for (int x = 4; x < 12; ++x) colour[y][x] = kBlue;
        mask[y * 2] = 0xF0;  // bits 4..7 clear
        mask[y * 2 + 1] = 0x0F;
    }
    HBITMAP colourBitmap = bitmapOf(colour);
    HBITMAP maskBitmap = CreateBitmap(16, 16, 1, 1, mask.data());
    ICONINFO info{TRUE, 8, 8, maskBitmap, colourBitmap};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(H::iconSize(icon).cx, 16);
    const COLORREF paper = RGB(250, 240, 0);
    Canvas c(40, 20, paper);
    H::drawIcon(c, 0, 0, 16, 16, icon, 0, false, ShadowSettings{});
    EXPECT_EQ(c.at(8, 8), kBlue);
    EXPECT_EQ(c.at(1, 1), paper);
    EXPECT_EQ(c.at(13, 8), paper);
    // Stretched to 32 x 16 and greyed.
    H::drawIcon(c, 0, 0, 32, 16, icon, kImageGrey, false, ShadowSettings{});
    EXPECT_EQ(c.at(20, 8), H::greyOf(kBlue));
    EXPECT_EQ(c.at(30, 8), paper);
    EXPECT_EQ(GetTextColor(c), 0u);
    DestroyIcon(icon);
    DeleteObject(colourBitmap);
    DeleteObject(maskBitmap);
}

}  // namespace
