// RasterImage on Windows: drawing into device contexts (direct, scaled, blended, masked,
// stretched and tiled) and conversion to and from GDI bitmaps.
#include "rasterimage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const BITMAPINFO *asBitmapInfo(const void *dib)
{
    return static_cast<const BITMAPINFO *>(dib);
}

COLORREF toColorRef(uint32_t packed)
{
    return RGB((packed >> 16) & 0xFF, (packed >> 8) & 0xFF, packed & 0xFF);
}

// A 24-bit, bottom-up DIB section selected into a memory DC, freed with the object.
class ColorSection {
public:
    ColorSection(HDC like, int32_t width, int32_t height) : width_(width), height_(height)
    {
        std::memset(&info_, 0, sizeof(info_));
        info_.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info_.bmiHeader.biWidth = width;
        info_.bmiHeader.biHeight = height;
        info_.bmiHeader.biPlanes = 1;
        info_.bmiHeader.biBitCount = 24;
        info_.bmiHeader.biCompression = BI_RGB;
        rowBytes_ = ((uint32_t(width) * 24 + 31) / 32) * 4;
        dc_ = CreateCompatibleDC(like);
        void *bits = nullptr;
        bitmap_ = dc_ ? CreateDIBSection(dc_, &info_, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
        bits_ = static_cast<uint8_t *>(bits);
        old_ = bitmap_ ? SelectObject(dc_, bitmap_) : nullptr;
    }
    ~ColorSection()
    {
        if (old_)
            SelectObject(dc_, old_);
        if (bitmap_)
            DeleteObject(bitmap_);
        if (dc_)
            DeleteDC(dc_);
    }
    ColorSection(const ColorSection &) = delete;
    ColorSection &operator=(const ColorSection &) = delete;

    bool ok() const { return bits_ != nullptr; }
    HDC dc() const { return dc_; }
    // Pixel (x, y counted from the top) as blue, green, red.
    uint8_t *at(int32_t x, int32_t yFromTop) const
    {
        return bits_ + size_t(height_ - 1 - yFromTop) * rowBytes_ + size_t(x) * 3;
    }
    void copyTo(HDC dc, int32_t x, int32_t y) const
    {
        SetDIBitsToDevice(dc, x, y, DWORD(width_), DWORD(height_), 0, 0, 0, UINT(height_), bits_, &info_,
                          DIB_RGB_COLORS);
    }

private:
    BITMAPINFO info_;
    int32_t width_, height_;
    uint32_t rowBytes_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint8_t *bits_ = nullptr;
};

// Narrows a DC's clipping to a rectangle and gives the DC its own clipping back after.
class ClipScope {
public:
    ClipScope(HDC dc, const RECT *clip) : dc_(clip ? dc : nullptr)
    {
        if (!dc_)
            return;
        saved_ = CreateRectRgn(0, 0, 0, 0);
        hadRegion_ = saved_ && GetClipRgn(dc_, saved_) == 1;
        IntersectClipRect(dc_, clip->left, clip->top, clip->right, clip->bottom);
    }
    ~ClipScope()
    {
        if (!dc_)
            return;
        SelectClipRgn(dc_, hadRegion_ ? saved_ : nullptr);
        if (saved_)
            DeleteObject(saved_);
    }
    ClipScope(const ClipScope &) = delete;
    ClipScope &operator=(const ClipScope &) = delete;

private:
    HDC dc_;
    HRGN saved_ = nullptr;
    bool hadRegion_ = false;
};

// Selects a GDI object into a DC for a scope.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~Selection()
    {
        if (old_)
            SelectObject(dc_, old_);
    }
    Selection(const Selection &) = delete;
    Selection &operator=(const Selection &) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

uint8_t blendChannel(uint8_t source, uint8_t destination, uint32_t a)
{
    return static_cast<uint8_t>((source * a + destination * (255 - a)) >> 8);
}

} // namespace

bool RasterImage::DrawSize(HDC dc, int32_t &cx, int32_t &cy) const
{
    if (!dib_ || !dc || cx == 0 || cy == 0 || !enabled)
        return false;
    if (cx < 0)
        cx = Width();
    if (cy < 0)
        cy = Height();
    return true;
}

int32_t RasterImage::Draw(HDC dc, int32_t x, int32_t y, int32_t cx, int32_t cy, const RECT *clip)
{
    if (!DrawSize(dc, cx, cy))
        return 0;
    ClipScope scope(dc, clip);
    const bool blended = transparentIndex != kNoTransparency || alpha_ || alphaPaletteEnabled;
    if (blended || cx != Width() || cy != Height())
        return DrawThroughSection(dc, x, y, cx, cy, blended);
    SetStretchBltMode(dc, COLORONCOLOR);
    SetDIBitsToDevice(dc, x, y, DWORD(cx), DWORD(cy), 0, 0, 0, UINT(Height()), pixels, asBitmapInfo(dib_),
                      DIB_RGB_COLORS);
    return 1;
}

int32_t RasterImage::DrawThroughSection(HDC dc, int32_t x, int32_t y, int32_t cx, int32_t cy, bool blend)
{
    // Only the part of the destination inside the DC's clip box is worked on.
    RECT box, target = {x, y, x + cx, y + cy}, visible;
    if (GetClipBox(dc, &box) == ERROR || !IntersectRect(&visible, &target, &box))
        return 1;
    const int32_t vw = visible.right - visible.left, vh = visible.bottom - visible.top;
    ColorSection section(dc, vw, vh);
    if (!section.ok())
        return 0;
    if (blend) {
        BitBlt(section.dc(), 0, 0, vw, vh, dc, visible.left, visible.top, SRCCOPY);
        GdiFlush();
    }
    const int32_t width = Width(), height = Height();
    const bool natural = cx == width && cy == height;
    const float scaleX = float(width) / float(cx), scaleY = float(height) / float(cy);
    const RGBQUAD *palette = Palette();
    const bool keyed = transparentIndex != kNoTransparency;
    const uint32_t key = TransparentColor();
    for (int32_t py = 0; py < vh; ++py) {
        const int32_t dy = visible.top + py - y; // from the destination's top
        // Rows are stored bottom-up: the destination's top row shows the image's top row.
        int32_t fromTop = natural ? dy : int32_t(std::floor(float(dy) * scaleY));
        const int32_t sy = height - 1 - std::clamp(fromTop, 0, height - 1);
        for (int32_t px = 0; px < vw; ++px) {
            const int32_t dx = visible.left + px - x;
            const int32_t sx = std::clamp(natural ? dx : int32_t(std::floor(float(dx) * scaleX)), 0, width - 1);
            RGBQUAD color;
            if (palette) {
                color = palette[PixelIndex(sx, sy)];
            } else {
                const uint8_t *p = RowPointer(sy) + size_t(sx) * 3;
                color = {p[0], p[1], p[2], 0};
            }
            uint8_t *out = section.at(px, py);
            if (!blend) {
                out[0] = color.rgbBlue;
                out[1] = color.rgbGreen;
                out[2] = color.rgbRed;
                continue;
            }
            uint32_t a = alpha_ ? alpha_[size_t(sy) * width + sx] : 255;
            a = (a * (uint32_t(opacity) + 1)) >> 8;
            if (palette && alphaPaletteEnabled)
                a = (a * (uint32_t(color.rgbReserved) + 1)) >> 8;
            const uint32_t packed = uint32_t(color.rgbBlue) | uint32_t(color.rgbGreen) << 8 |
                                    uint32_t(color.rgbRed) << 16 | uint32_t(color.rgbReserved) << 24;
            if ((keyed && packed == key) || a == 0)
                continue;
            if (a == 255) {
                out[0] = color.rgbBlue;
                out[1] = color.rgbGreen;
                out[2] = color.rgbRed;
            } else {
                out[0] = blendChannel(color.rgbBlue, out[0], a);
                out[1] = blendChannel(color.rgbGreen, out[1], a);
                out[2] = blendChannel(color.rgbRed, out[2], a);
            }
        }
    }
    section.copyTo(dc, visible.left, visible.top);
    return 1;
}

int32_t RasterImage::Stretch(HDC dc, int32_t x, int32_t y, int32_t cx, int32_t cy)
{
    if (!dib_ || !dc)
        return 0;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, x, y, cx, cy, 0, 0, Width(), Height(), pixels, asBitmapInfo(dib_), DIB_RGB_COLORS, SRCCOPY);
    return 1;
}

int32_t RasterImage::DrawMasked(HDC dc, int32_t x, int32_t y, int32_t cx, int32_t cy)
{
    if (!DrawSize(dc, cx, cy))
        return 0;
    if (transparentIndex == kNoTransparency)
        return Stretch(dc, x, y, cx, cy);
    const RECT target = {x, y, x + cx, y + cy};
    if (!RectVisible(dc, &target))
        return 1;
    const int32_t width = Width(), height = Height();
    HDC imageDc = CreateCompatibleDC(dc), maskDc = CreateCompatibleDC(dc);
    HBITMAP imageBitmap = CreateCompatibleBitmap(dc, width, height);
    HBITMAP maskBitmap = CreateBitmap(width, height, 1, 1, nullptr);
    int32_t drawn = 0;
    if (imageDc && maskDc && imageBitmap && maskBitmap) {
        Selection imageSelected(imageDc, imageBitmap), maskSelected(maskDc, maskBitmap);
        SetDIBitsToDevice(imageDc, 0, 0, DWORD(width), DWORD(height), 0, 0, 0, UINT(height), pixels,
                          asBitmapInfo(dib_), DIB_RGB_COLORS);
        // The mask is white where the image has the transparent colour.
        const COLORREF oldImageBack = SetBkColor(imageDc, toColorRef(TransparentColor()));
        BitBlt(maskDc, 0, 0, width, height, imageDc, 0, 0, SRCCOPY);
        SetBkColor(imageDc, oldImageBack);
        // image XOR, mask AND, image XOR: the destination shows through the white of the
        // mask; black and white of the mask come out as black and white on the way.
        const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0)), oldBack = SetBkColor(dc, RGB(255, 255, 255));
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, x, y, cx, cy, imageDc, 0, 0, width, height, SRCINVERT);
        StretchBlt(dc, x, y, cx, cy, maskDc, 0, 0, width, height, SRCAND);
        StretchBlt(dc, x, y, cx, cy, imageDc, 0, 0, width, height, SRCINVERT);
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBack);
        drawn = 1;
    }
    if (maskBitmap)
        DeleteObject(maskBitmap);
    if (imageBitmap)
        DeleteObject(imageBitmap);
    if (maskDc)
        DeleteDC(maskDc);
    if (imageDc)
        DeleteDC(imageDc);
    return drawn;
}

int32_t RasterImage::Tile(HDC dc, const RECT *rect)
{
    if (!dib_ || !dc || !rect)
        return 0;
    for (int32_t top = rect->top; top < rect->bottom; top += Height())
        for (int32_t left = rect->left; left < rect->right; left += Width()) {
            const RECT tile = {left, top, std::min<int32_t>(left + Width(), rect->right),
                               std::min<int32_t>(top + Height(), rect->bottom)};
            Draw(dc, left, top, -1, -1, &tile);
        }
    return 1;
}

HBITMAP RasterImage::MakeBitmap(HDC dc)
{
    if (!dib_)
        return nullptr;
    const BITMAPINFO *info = asBitmapInfo(dib_);
    if (dc)
        return CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, pixels, info, DIB_RGB_COLORS);
    HDC memory = CreateCompatibleDC(nullptr);
    if (!memory)
        return nullptr;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits)
        std::memcpy(bits, pixels, header_.biSizeImage);
    DeleteDC(memory);
    return bitmap;
}

bool RasterImage::CreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette)
{
    Destroy();
    BITMAP bm;
    if (!bitmap || !GetObject(bitmap, sizeof(bm), &bm))
        return false;
    if (!Create(bm.bmWidth, bm.bmHeight, bm.bmBitsPixel * bm.bmPlanes, 0))
        return false;
    HDC screen = GetDC(nullptr);
    HPALETTE oldPalette = nullptr;
    if (palette) {
        oldPalette = SelectPalette(screen, palette, FALSE);
        RealizePalette(screen);
    }
    const int rows = GetDIBits(screen, bitmap, 0, UINT(Height()), pixels, reinterpret_cast<BITMAPINFO *>(dib_),
                               DIB_RGB_COLORS);
    if (oldPalette)
        SelectPalette(screen, oldPalette, FALSE);
    ReleaseDC(nullptr, screen);
    // The call may rewrite the block's header; the working header stays the truth.
    std::memcpy(dib_, &header_, sizeof(header_));
    lastQueryValid = false;
    if (rows == 0)
        return Fail("GetDIBits failed");
    return true;
}
