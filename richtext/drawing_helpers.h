// Painting that text output cannot do, for the rich-text drawer: fills and gradients,
// borders and rules, bitmaps and icons recoloured (grey, darker, lighter), drawn with a
// transparent colour and an optional soft drop shadow. Stateless; every GDI object and DC
// a helper makes is freed before it returns, and per-pixel work runs on 32-bit DIB
// sections of the image's own size.
#pragma once
#include <windows.h>

constexpr COLORREF kBlackColour = 0x000000;
constexpr COLORREF kWhiteColour = 0xFFFFFF;

// Border and rule styles; the dashed kinds choose the pen's pattern, the others a solid pen.
enum BorderStyle {
    kBorderNone = 0,
    kBorderSolid = 1,
    kBorderDashed = 2,
    kBorderDotted = 3,
    kBorderDashDot = 4,
    kBorderDashDotDot = 5,
    kBorderDouble = 6,
};

// Background effects: none, or the fill kinds of backgroundFill.
enum BackgroundEffect {
    kEffectNone = -1,
    kEffectSolid = 0,
    kEffectHorizontalGradient = 1,
    kEffectVerticalGradient = 2,
    kEffectHorizontalCentreGradient = 3,
    kEffectVerticalCentreGradient = 4,
    kEffectHorizontalThreeColour = 5,
    kEffectVerticalThreeColour = 6,
};

// Image style flags. Grey, darker, lighter and replace are applied in this order; invert
// comes last and also inverts the transparent pixels.
enum ImageStyleFlag : unsigned {
    kImageGrey = 0x1,
    kImageDarker = 0x2,
    kImageLighter = 0x4,
    kImageReplace = 0x8,
    kImageHardShadow = 0x100,
    kImageSoftShadow = 0x200,
    kImageInvert = 0x8000,
};
constexpr unsigned kImageShadowFlags = kImageHardShadow | kImageSoftShadow;

struct ShadowSettings {
    int offsetX = 4;
    int offsetY = 4;
    int blurX = 7;
    int blurY = 7;
    COLORREF grey = 0x7F7F7F;
};

class DrawingHelpers {
public:
    // The luminance 0.299 R + 0.587 G + 0.114 B, truncated to a byte as C converts a
    // double, as a grey (pure green gives 149).
    static COLORREF greyOf(COLORREF c);
    static COLORREF inverseOf(COLORREF c);
    // Each channel times f (truncated) for 0 <= f < 1; otherwise c unchanged.
    static COLORREF darken(COLORREF c, double f);
    // Each channel times 1 + f, capped at 255, for 0 < f <= 1; otherwise c unchanged.
    static COLORREF lighten(COLORREF c, double f);

    // (0, 0) when the object is not a bitmap.
    static SIZE bitmapSize(HBITMAP bitmap);
    // Twice the hot spot; (0, 0) for a null icon or when its information cannot be read.
    static SIZE iconSize(HICON icon);

    // 64 bands of solid colour along x (horizontal) or y; empty bands are skipped.
    static void gradientFill(HDC dc, const RECT& r, COLORREF from, COLORREF to, bool horizontal);
    // kind: 1 horizontal and 2 vertical gradient colour -> end; 3 and 4 the same out to
    // both halves and back; 5 and 6 colour -> middle -> end over the two halves; any other
    // kind a solid fill with colour.
    static void backgroundFill(HDC dc, int kind, const RECT& r, COLORREF colour, COLORREF middle, COLORREF end);
    // The frame inside [left, right) x [top, bottom), each edge width pixels wide: left and
    // top light, right and bottom dark; the double style adds a second frame inset by
    // 2 x width. Nothing for style 0 or width <= 0.
    static void borderRect(HDC dc, int left, int top, int right, int bottom, COLORREF light, COLORREF dark, int style,
                           int width);
    // One line; the double style adds a parallel one 2 x width below (or right of) it.
    static void ruleLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int style, int width);
    // Fills r with copies of the source tile, clipped at the right and bottom.
    static void tileBlit(HDC dc, const RECT& r, HDC source, POINT sourceOrigin, SIZE tile);

    // A new 32-bit DIB section holding the bitmap's cx x cy pixels recoloured by flags;
    // with useKey, pixels equal to key become black (before inversion). Null when the DIB
    // section cannot be made. The caller deletes it.
    static HBITMAP recolourBitmap(HBITMAP bitmap, int cx, int cy, unsigned flags, bool useKey, COLORREF key,
                                  COLORREF replacement);
    // The bitmap stretched to width x height with the key colour transparent, recoloured by
    // the style flags; shadowed with a shadow flag, its shadow is drawn first at the offset.
    static void drawBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, bool useKey, COLORREF key,
                           unsigned style, bool shadowed, const ShadowSettings& shadow);
    static void drawIcon(HDC dc, int x, int y, int width, int height, HICON icon, unsigned style, bool shadowed,
                         const ShadowSettings& shadow);
    // Darkens the DC under width x height at (x, y) by the shape: white leaves a pixel,
    // darker greys darken it in proportion; blurred, the shape is spread by a box filter.
    static void drawShadow(HDC dc, int x, int y, int width, int height, HBITMAP shape, bool blurred, int blurX,
                           int blurY);
};
