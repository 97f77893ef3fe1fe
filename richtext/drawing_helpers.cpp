#include "drawing_helpers.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "dib_section.h"

namespace {

constexpr int kGradientBands = 64;
constexpr int kGradientShift = 6;  // log2 of the band count
constexpr int kMaxChannel = 255;
constexpr double kDarkerFactor = 0.75;
constexpr double kLighterFactor = 0.25;

COLORREF scaleChannels(COLORREF c, double f) {
    auto scale = [f](int v) { return std::min(kMaxChannel, static_cast<int>(v * f)); };
    return RGB(scale(GetRValue(c)), scale(GetGValue(c)), scale(GetBValue(c)));
}

int penStyleOf(int borderStyle) {
    switch (borderStyle) {
    case kBorderDashed: return PS_DASH;
    case kBorderDotted: return PS_DOT;
    case kBorderDashDot: return PS_DASHDOT;
    case kBorderDashDotDot: return PS_DASHDOTDOT;
    default: return PS_SOLID;
    }
}

// A pen of the border style's pattern; wide pens are geometric so dashes stay dashes.
HPEN makePen(int borderStyle, int width, COLORREF colour) {
    const int style = penStyleOf(borderStyle);
    if (width <= 1) return CreatePen(style, 1, colour);
    LOGBRUSH brush{BS_SOLID, colour, 0};
    return ExtCreatePen(PS_GEOMETRIC | style | PS_ENDCAP_SQUARE | PS_JOIN_MITER, width, &brush, 0, nullptr);
}

// Pens and background mode of a DC for line drawing, given back on destruction.
class LineDrawing {
public:
    LineDrawing(HDC dc) : dc_(dc), mode_(SetBkMode(dc, TRANSPARENT)), pen_(SelectObject(dc, GetStockObject(NULL_PEN))) {}
    ~LineDrawing() {
        SelectObject(dc_, pen_);
        SetBkMode(dc_, mode_);
    }
    void line(HPEN pen, POINT from, std::initializer_list<POINT> to) {
        SelectObject(dc_, pen);
        MoveToEx(dc_, from.x, from.y, nullptr);
        for (POINT p : to) LineTo(dc_, p.x, p.y);
    }

private:
    HDC dc_;
    int mode_;
    HGDIOBJ pen_;
};

// One frame through the pixel centres (left, top) to (right, bottom), all inclusive.
void frame(LineDrawing& lines, HPEN light, HPEN dark, int left, int top, int right, int bottom) {
    lines.line(light, {left, bottom}, {{left, top}, {right, top}});
    lines.line(dark, {right, top}, {{right, bottom}, {left, bottom}});
}

void fillSolid(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// The bitmap at width x height: itself when it already has that size, else a stretched copy.
class SizedBitmap {
public:
    SizedBitmap(HBITMAP bitmap, int width, int height) : bitmap_(bitmap) {
        const SIZE natural = DrawingHelpers::bitmapSize(bitmap);
        if (natural.cx == width && natural.cy == height) return;
        if (!copy_.create(width, height)) return;
        SelectingDC to(copy_.handle()), from(bitmap);
        SetStretchBltMode(to, COLORONCOLOR);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, natural.cx, natural.cy, SRCCOPY);
        bitmap_ = copy_.handle();
    }
    HBITMAP handle() const { return bitmap_; }

private:
    HBITMAP bitmap_;
    DibSection copy_;
};

// Puts a picture on the DC through its mask: the mask (white where transparent) ANDed,
// then the picture (black where transparent) ORed.
void blitMasked(HDC dc, int x, int y, int width, int height, HBITMAP mask, HBITMAP picture) {
    SelectingDC maskDC(mask), pictureDC(picture);
    const COLORREF text = SetTextColor(dc, kBlackColour);
    const COLORREF back = SetBkColor(dc, kWhiteColour);
    BitBlt(dc, x, y, width, height, maskDC, 0, 0, SRCAND);
    BitBlt(dc, x, y, width, height, pictureDC, 0, 0, SRCPAINT);
    SetBkColor(dc, back);
    SetTextColor(dc, text);
}

// Draws a masked picture and its shadow. shape: white where nothing falls, the inverse of
// the shadow grey where the picture is.
void drawWithShadow(HDC dc, int x, int y, int width, int height, HBITMAP mask, HBITMAP picture, HBITMAP shape,
                    unsigned style, bool shadowed, const ShadowSettings& shadow) {
    if (shadowed) {
        if (style & kImageShadowFlags)
            DrawingHelpers::drawShadow(dc, x + shadow.offsetX, y + shadow.offsetY, width, height, shape,
                                       (style & kImageSoftShadow) != 0, shadow.blurX, shadow.blurY);
        else
            blitMasked(dc, x + shadow.offsetX, y + shadow.offsetY, width, height, mask, picture);
    }
    blitMasked(dc, x, y, width, height, mask, picture);
}

// Box-filter sums over a field whose outside counts as white, via a summed-area table.
class BoxFilter {
public:
    BoxFilter(const DibSection& field) : width_(field.width()), height_(field.height()), sums_((width_ + 1) * (height_ + 1), 0) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                at(x + 1, y + 1) = firstChannel(field.pixel(x, y)) + at(x, y + 1) + at(x + 1, y) - at(x, y);
    }
    // The mean of the first channel over the box of bx x by around (x, y), as 0..1.
    double factor(int x, int y, int bx, int by) const {
        const int x0 = x - bx / 2, y0 = y - by / 2, x1 = x0 + bx, y1 = y0 + by;
        const int cx0 = std::clamp(x0, 0, width_), cx1 = std::clamp(x1, 0, width_);
        const int cy0 = std::clamp(y0, 0, height_), cy1 = std::clamp(y1, 0, height_);
        const long long inside = at(cx1, cy1) - at(cx0, cy1) - at(cx1, cy0) + at(cx0, cy0);
        const long long outsideCount = static_cast<long long>(bx) * by - static_cast<long long>(cx1 - cx0) * (cy1 - cy0);
        return (inside + outsideCount * kMaxChannel) / (static_cast<double>(bx) * by * kMaxChannel);
    }

private:
    // The first channel of a DIB pixel (its lowest byte, the blue of the COLORREF).
    static int firstChannel(COLORREF c) { return GetBValue(c); }
    long long& at(int x, int y) { return sums_[static_cast<size_t>(y) * (width_ + 1) + x]; }
    long long at(int x, int y) const { return sums_[static_cast<size_t>(y) * (width_ + 1) + x]; }
    int width_, height_;
    std::vector<long long> sums_;
};

}  // namespace

COLORREF DrawingHelpers::greyOf(COLORREF c) {
    const double luminance = 0.299 * GetRValue(c) + 0.587 * GetGValue(c) + 0.114 * GetBValue(c);
    const BYTE l = static_cast<BYTE>(luminance);
    return RGB(l, l, l);
}

COLORREF DrawingHelpers::inverseOf(COLORREF c) {
    return RGB(kMaxChannel - GetRValue(c), kMaxChannel - GetGValue(c), kMaxChannel - GetBValue(c));
}

COLORREF DrawingHelpers::darken(COLORREF c, double f) { return f >= 0 && f < 1 ? scaleChannels(c, f) : c; }

COLORREF DrawingHelpers::lighten(COLORREF c, double f) { return f > 0 && f <= 1 ? scaleChannels(c, 1 + f) : c; }

SIZE DrawingHelpers::bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || GetObjectType(bitmap) != OBJ_BITMAP || !GetObjectW(bitmap, sizeof(info), &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

SIZE DrawingHelpers::iconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return {static_cast<LONG>(info.xHotspot * 2), static_cast<LONG>(info.yHotspot * 2)};
}

void DrawingHelpers::gradientFill(HDC dc, const RECT& r, COLORREF from, COLORREF to, bool horizontal) {
    const int start = horizontal ? r.left : r.top;
    const int extent = horizontal ? r.right - r.left : r.bottom - r.top;
    if (extent <= 0) return;
    auto mix = [](int a, int b, int i) { return (a * (kGradientBands - i) + b * i) >> kGradientShift; };
    for (int i = 0; i < kGradientBands; ++i) {
        const int a = start + ((extent * i) >> kGradientShift);
        const int b = start + ((extent * (i + 1)) >> kGradientShift);
        if (a == b) continue;
        const COLORREF c = RGB(mix(GetRValue(from), GetRValue(to), i), mix(GetGValue(from), GetGValue(to), i),
                               mix(GetBValue(from), GetBValue(to), i));
        RECT band = horizontal ? RECT{a, r.top, b, r.bottom} : RECT{r.left, a, r.right, b};
        fillSolid(dc, band, c);
    }
}

void DrawingHelpers::backgroundFill(HDC dc, int kind, const RECT& r, COLORREF colour, COLORREF middle, COLORREF end) {
    const int midX = r.left + (r.right - r.left) / 2;
    const int midY = r.top + (r.bottom - r.top) / 2;
    const RECT left{r.left, r.top, midX, r.bottom}, right{midX, r.top, r.right, r.bottom};
    const RECT top{r.left, r.top, r.right, midY}, bottom{r.left, midY, r.right, r.bottom};
    switch (kind) {
    case kEffectHorizontalGradient: gradientFill(dc, r, colour, end, true); break;
    case kEffectVerticalGradient: gradientFill(dc, r, colour, end, false); break;
    case kEffectHorizontalCentreGradient:
        gradientFill(dc, left, colour, end, true);
        gradientFill(dc, right, end, colour, true);
        break;
    case kEffectVerticalCentreGradient:
        gradientFill(dc, top, colour, end, false);
        gradientFill(dc, bottom, end, colour, false);
        break;
    case kEffectHorizontalThreeColour:
        gradientFill(dc, left, colour, middle, true);
        gradientFill(dc, right, middle, end, true);
        break;
    case kEffectVerticalThreeColour:
        gradientFill(dc, top, colour, middle, false);
        gradientFill(dc, bottom, middle, end, false);
        break;
    default: fillSolid(dc, r, colour); break;
    }
}

void DrawingHelpers::borderRect(HDC dc, int left, int top, int right, int bottom, COLORREF light, COLORREF dark,
                                int style, int width) {
    if (style == kBorderNone || width <= 0) return;
    HPEN lightPen = makePen(style, width, light), darkPen = makePen(style, width, dark);
    {
        LineDrawing lines(dc);
        // A pen of width w centred on pixel x covers [x - w / 2, x - w / 2 + w): the left and
        // top centre lines sit w / 2 inside, the right and bottom ones (w - 1) / 2 inside the
        // last pixel, so every edge covers exactly w pixels of the rectangle.
        const int leading = width / 2, trailing = (width - 1) / 2;
        frame(lines, lightPen, darkPen, left + leading, top + leading, right - 1 - trailing, bottom - 1 - trailing);
        if (style == kBorderDouble) {
            const int inset = 2 * width;
            frame(lines, lightPen, darkPen, left + inset + leading, top + inset + leading, right - 1 - inset - trailing,
                  bottom - 1 - inset - trailing);
        }
    }
    DeleteObject(lightPen);
    DeleteObject(darkPen);
}

void DrawingHelpers::ruleLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int style, int width) {
    if (width <= 0) return;
    HPEN pen = makePen(style, width, colour);
    {
        LineDrawing lines(dc);
        lines.line(pen, {x1, y1}, {{x2, y2}});
        if (style == kBorderDouble) {
            const bool horizontal = y1 == y2;
            const int dx = horizontal ? 0 : 2 * width, dy = horizontal ? 2 * width : 0;
            lines.line(pen, {x1 + dx, y1 + dy}, {{x2 + dx, y2 + dy}});
        }
    }
    DeleteObject(pen);
}

void DrawingHelpers::tileBlit(HDC dc, const RECT& r, HDC source, POINT sourceOrigin, SIZE tile) {
    if (tile.cx <= 0 || tile.cy <= 0) return;
    for (int y = r.top; y < r.bottom; y += tile.cy)
        for (int x = r.left; x < r.right; x += tile.cx)
            BitBlt(dc, x, y, std::min<int>(tile.cx, r.right - x), std::min<int>(tile.cy, r.bottom - y), source,
                   sourceOrigin.x, sourceOrigin.y, SRCCOPY);
}

HBITMAP DrawingHelpers::recolourBitmap(HBITMAP bitmap, int cx, int cy, unsigned flags, bool useKey, COLORREF key,
                                       COLORREF replacement) {
    DibSection copy;
    if (!copy.create(cx, cy)) return nullptr;
    {
        SelectingDC to(copy.handle()), from(bitmap);
        BitBlt(to, 0, 0, cx, cy, from, 0, 0, SRCCOPY);
    }
    copy.sync();
    for (int y = 0; y < cy; ++y) {
        for (int x = 0; x < cx; ++x) {
            COLORREF p = copy.pixel(x, y);
            if (useKey && p == key) {
                p = kBlackColour;
            } else {
                if (flags & kImageGrey) p = greyOf(p);
                if (flags & kImageDarker) p = darken(p, kDarkerFactor);
                if (flags & kImageLighter) p = lighten(p, kLighterFactor);
                if (flags & kImageReplace) p = replacement;
            }
            if (flags & kImageInvert) p = inverseOf(p);
            copy.setPixel(x, y, p);
        }
    }
    return copy.release();
}

void DrawingHelpers::drawBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, bool useKey,
                                COLORREF key, unsigned style, bool shadowed, const ShadowSettings& shadow) {
    if (width <= 0 || height <= 0 || bitmapSize(bitmap).cx <= 0) return;
    const SizedBitmap source(bitmap, width, height);
    HBITMAP mask = recolourBitmap(source.handle(), width, height, kImageReplace | kImageInvert, useKey, key, kWhiteColour);
    HBITMAP picture = recolourBitmap(source.handle(), width, height, style & ~kImageShadowFlags, useKey, key, kBlackColour);
    HBITMAP shape = shadowed && (style & kImageShadowFlags)
                        ? recolourBitmap(source.handle(), width, height, kImageReplace | kImageInvert, useKey, key, shadow.grey)
                        : nullptr;
    if (mask && picture) drawWithShadow(dc, x, y, width, height, mask, picture, shape, style, shadowed, shadow);
    for (HBITMAP b : {mask, picture, shape})
        if (b) DeleteObject(b);
}

void DrawingHelpers::drawIcon(HDC dc, int x, int y, int width, int height, HICON icon, unsigned style, bool shadowed,
                              const ShadowSettings& shadow) {
    if (!icon || width <= 0 || height <= 0) return;
    const SIZE natural = iconSize(icon);
    HICON sized = natural.cx == width && natural.cy == height
                      ? CopyIcon(icon)
                      : static_cast<HICON>(CopyImage(icon, IMAGE_ICON, width, height, 0));
    if (!sized) return;
    ICONINFO info{};
    if (GetIconInfo(sized, &info)) {
        if (info.hbmColor) {
            HBITMAP picture = recolourBitmap(info.hbmColor, width, height, style & ~kImageShadowFlags, true, kBlackColour,
                                             kBlackColour);
            HBITMAP shape = shadowed && (style & kImageShadowFlags)
                                ? recolourBitmap(info.hbmMask, width, height, kImageReplace | kImageInvert, true,
                                                 kWhiteColour, shadow.grey)
                                : nullptr;
            if (picture) drawWithShadow(dc, x, y, width, height, info.hbmMask, picture, shape, style, shadowed, shadow);
            for (HBITMAP b : {picture, shape})
                if (b) DeleteObject(b);
        } else {
            // A monochrome icon (mask and picture stacked in one bitmap): drawn as it is.
            DrawIconEx(dc, x, y, sized, width, height, 0, nullptr, DI_NORMAL);
        }
        if (info.hbmMask) DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
    }
    DestroyIcon(sized);
}

void DrawingHelpers::drawShadow(HDC dc, int x, int y, int width, int height, HBITMAP shape, bool blurred, int blurX,
                                int blurY) {
    if (width <= 0 || height <= 0 || !shape) return;
    DibSection field(width, height), under(width, height);
    if (!field.handle() || !under.handle()) return;
    const SIZE shapeSize = bitmapSize(shape);
    if (blurred) {
        blurX = std::max(1, blurX | 1);  // odd box sizes, centred on the pixel
        blurY = std::max(1, blurY | 1);
        field.fill(kWhiteColour);
        const int innerWidth = width - 2 * (blurX / 2), innerHeight = height - 2 * (blurY / 2);
        if (innerWidth > 0 && innerHeight > 0) {
            SelectingDC to(field.handle()), from(shape);
            SetStretchBltMode(to, COLORONCOLOR);
            StretchBlt(to, blurX / 2, blurY / 2, innerWidth, innerHeight, from, 0, 0, shapeSize.cx, shapeSize.cy, SRCCOPY);
        }
    } else {
        SelectingDC to(field.handle()), from(shape);
        BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY);
    }
    {
        SelectingDC to(under.handle());
        BitBlt(to, 0, 0, width, height, dc, x, y, SRCCOPY);
    }
    field.sync();
    under.sync();
    if (blurred) {
        const BoxFilter filter(field);
        for (int py = 0; py < height; ++py)
            for (int px = 0; px < width; ++px)
                under.setPixel(px, py, darken(under.pixel(px, py), filter.factor(px, py, blurX, blurY)));
    } else {
        for (int py = 0; py < height; ++py)
            for (int px = 0; px < width; ++px)
                under.setPixel(px, py, darken(under.pixel(px, py), GetBValue(field.pixel(px, py)) / double(kMaxChannel)));
    }
    SelectingDC from(under.handle());
    BitBlt(dc, x, y, width, height, from, 0, 0, SRCCOPY);
}
