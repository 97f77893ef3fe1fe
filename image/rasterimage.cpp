// RasterImage: life, queries, palette, pixel and alpha-plane access.
#include "rasterimage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

const uint32_t kHeaderBytes = sizeof(BITMAPINFOHEADER);
// Create refuses blocks that a 32-bit process could not hold or a 32-bit size field not count.
const uint64_t kMaxBlockBytes = 0x7FFFFFFFu;
// Larger than any squared distance of two colours (3 x 255 x 255).
const int32_t kFarthestDistance = 200000;

uint32_t packColor(const RGBQUAD &q)
{
    return uint32_t(q.rgbBlue) | (uint32_t(q.rgbGreen) << 8) | (uint32_t(q.rgbRed) << 16) |
           (uint32_t(q.rgbReserved) << 24);
}

RGBQUAD unpackColor(uint32_t c)
{
    RGBQUAD q;
    q.rgbBlue = static_cast<uint8_t>(c);
    q.rgbGreen = static_cast<uint8_t>(c >> 8);
    q.rgbRed = static_cast<uint8_t>(c >> 16);
    q.rgbReserved = static_cast<uint8_t>(c >> 24);
    return q;
}

int32_t roundBitCount(int32_t bitCount)
{
    if (bitCount <= 1)
        return 1;
    if (bitCount <= 4)
        return 4;
    if (bitCount <= 8)
        return 8;
    return 24;
}

uint32_t paletteEntriesFor(int32_t bitCount)
{
    return bitCount <= 8 ? 1u << bitCount : 0;
}

// Pixels per metre of a resolution in dots per inch.
int32_t perMetre(int32_t dpi)
{
    return static_cast<int32_t>(std::floor(dpi / 0.0254 + 0.5));
}

} // namespace

RasterImage::RasterImage(int32_t type)
{
    Startup(type);
}

RasterImage::RasterImage(int32_t width, int32_t height, int32_t bitCount, int32_t type)
{
    Startup(type);
    Create(width, height, bitCount, type);
}

RasterImage::RasterImage(const RasterImage &source, bool copyPixels, bool copySelection, bool copyAlpha)
{
    Startup(source.type);
    Copy(source, copyPixels, copySelection, copyAlpha);
}

RasterImage::~RasterImage()
{
    Destroy();
}

void RasterImage::Startup(int32_t imageType)
{
    dib_ = nullptr;
    selection_ = nullptr;
    alpha_ = nullptr;
    std::memset(&header_, 0, sizeof(header_));
    RasterImageInfo &info = *this;
    std::memset(&info, 0, sizeof(info));
    type = imageType;
    quality = kDefaultQuality;
    opacity = kOpaque;
    transparentIndex = kNoTransparency;
    enabled = true;
    xDpi = yDpi = kDefaultDpi;
    header_.biXPelsPerMeter = header_.biYPelsPerMeter = perMetre(kDefaultDpi);
}

void RasterImage::ForgetBuffers()
{
    dib_ = nullptr;
    selection_ = nullptr;
    alpha_ = nullptr;
    pixels = nullptr;
    ghostOf = nullptr;
}

void RasterImage::Destroy()
{
    // A ghost only lets go of what it borrowed.
    if (!ghostOf) {
        std::free(selection_);
        std::free(alpha_);
        std::free(dib_);
    }
    ForgetBuffers();
}

void *RasterImage::Create(int32_t width, int32_t height, int32_t bitCount, int32_t imageType)
{
    Destroy();
    if (width <= 0 || height <= 0) {
        SetError("RasterImage::Create: width and height must be at least 1");
        return nullptr;
    }
    const int32_t bits = roundBitCount(bitCount);
    if ((uint64_t(width) * uint64_t(height) * uint64_t(bits)) >> 8 > kMaxMemory) {
        SetError("RASTERIMAGE_MAX_MEMORY exceeded");
        return nullptr;
    }
    const uint32_t entries = paletteEntriesFor(bits);
    const uint64_t row = ((uint64_t(width) * bits + 31) >> 5) << 2;
    const uint64_t imageBytes = row * uint64_t(height);
    const uint64_t blockBytes = kHeaderBytes + entries * 4 + imageBytes;
    uint8_t *block = blockBytes <= kMaxBlockBytes ? static_cast<uint8_t *>(std::calloc(1, blockBytes)) : nullptr;
    if (!block) {
        SetError("RasterImage::Create can't allocate memory");
        return nullptr;
    }
    header_.biSize = kHeaderBytes;
    header_.biWidth = width;
    header_.biHeight = height;
    header_.biPlanes = 1;
    header_.biBitCount = static_cast<uint16_t>(bits);
    header_.biCompression = kDibRgb;
    header_.biSizeImage = static_cast<uint32_t>(imageBytes);
    header_.biClrUsed = entries;
    header_.biClrImportant = 0;
    rowBytes = static_cast<uint32_t>(row);
    type = imageType;
    lastQueryValid = false;
    dib_ = block;
    std::memcpy(dib_, &header_, kHeaderBytes);
    pixels = dib_ + kHeaderBytes + PaletteSize();
    return dib_;
}

void RasterImage::TakeInfo(const RasterImageInfo &source)
{
    RasterImageInfo &info = *this;
    info = source;
    ghostOf = nullptr;
    parent = nullptr;
    pixels = nullptr;
    rowBytes = 0;
}

void RasterImage::Copy(const RasterImage &source, bool copyPixels, bool copySelection, bool copyAlpha)
{
    if (&source == this)
        return;
    Destroy();
    TakeInfo(source);
    if (!source.IsValid())
        return;
    if (!Create(source.Width(), source.Height(), source.BitCount(), source.type))
        return;
    header_.biXPelsPerMeter = source.header_.biXPelsPerMeter;
    header_.biYPelsPerMeter = source.header_.biYPelsPerMeter;
    if (copyPixels)
        std::memcpy(dib_, source.dib_, DibSize());
    else
        CopyPalette(source.Palette(), source.header_.biClrUsed);
    const size_t planeBytes = size_t(Width()) * size_t(Height());
    if (copySelection && source.selection_) {
        selection_ = static_cast<uint8_t *>(std::malloc(planeBytes));
        if (selection_)
            std::memcpy(selection_, source.selection_, planeBytes);
    }
    if (copyAlpha && source.alpha_) {
        alpha_ = static_cast<uint8_t *>(std::malloc(planeBytes));
        if (alpha_)
            std::memcpy(alpha_, source.alpha_, planeBytes);
    }
}

void RasterImage::CopyInfo(const RasterImage &source)
{
    if (!dib_)
        TakeInfo(source);
}

void RasterImage::Ghost(const RasterImage *source)
{
    if (!source || source == this)
        return;
    Destroy();
    header_ = source->header_;
    RasterImageInfo &info = *this;
    info = *source;
    dib_ = source->dib_;
    selection_ = source->selection_;
    alpha_ = source->alpha_;
    ghostOf = const_cast<RasterImage *>(source);
}

void RasterImage::Transfer(RasterImage &source)
{
    if (&source == this)
        return;
    Destroy();
    header_ = source.header_;
    RasterImageInfo &info = *this;
    info = source;
    dib_ = source.dib_;
    selection_ = source.selection_;
    alpha_ = source.alpha_;
    std::memset(&source.header_, 0, sizeof(source.header_));
    RasterImageInfo &sourceInfo = source;
    std::memset(&sourceInfo, 0, sizeof(sourceInfo));
    source.dib_ = nullptr;
    source.selection_ = nullptr;
    source.alpha_ = nullptr;
}

void RasterImage::SetError(const char *text)
{
    std::strncpy(lastError, text, sizeof(lastError) - 1);
    lastError[sizeof(lastError) - 1] = '\0';
}

RGBQUAD *RasterImage::Palette() const
{
    if (!dib_ || header_.biClrUsed == 0)
        return nullptr;
    return reinterpret_cast<RGBQUAD *>(dib_ + kHeaderBytes);
}

uint8_t *RasterImage::RowPointer(int32_t row) const
{
    if (!dib_ || row < 0 || row >= Height())
        return nullptr;
    return pixels + size_t(row) * rowBytes;
}

uint32_t RasterImage::DibSize() const
{
    return dib_ ? kHeaderBytes + PaletteSize() + header_.biSizeImage : 0;
}

bool RasterImage::IsInside(int32_t x, int32_t y) const
{
    return x >= 0 && x < Width() && y >= 0 && y < Height();
}

uint32_t RasterImage::TransparentColor() const
{
    if (BitCount() < 24 && transparentIndex != kNoTransparency)
        return transparentIndex >= 0 && transparentIndex < 256 ? PaletteEntry(static_cast<uint8_t>(transparentIndex))
                                                                : 0;
    return packColor(transparentColor);
}

void RasterImage::SetPaletteEntry(uint8_t index, uint8_t r, uint8_t g, uint8_t b, uint8_t alphaValue)
{
    RGBQUAD *palette = Palette();
    if (!palette || index >= header_.biClrUsed)
        return;
    palette[index].rgbBlue = b;
    palette[index].rgbGreen = g;
    palette[index].rgbRed = r;
    palette[index].rgbReserved = alphaValue;
    lastQueryValid = false;
}

uint32_t RasterImage::PaletteEntry(uint8_t index) const
{
    const RGBQUAD *palette = Palette();
    if (!palette || index >= header_.biClrUsed)
        return 0;
    return packColor(palette[index]);
}

void RasterImage::CopyPalette(const RGBQUAD *entries, uint32_t count)
{
    RGBQUAD *palette = Palette();
    if (!palette || !entries)
        return;
    std::memcpy(palette, entries, std::min<uint64_t>(PaletteSize(), uint64_t(count) * 4));
    lastQueryValid = false;
}

void RasterImage::SetGreyPalette()
{
    RGBQUAD *palette = Palette();
    if (!palette || header_.biClrUsed < 2)
        return;
    const uint32_t step = 255 / (header_.biClrUsed - 1);
    for (uint32_t i = 0; i < header_.biClrUsed; ++i) {
        const uint8_t v = static_cast<uint8_t>(i * step);
        palette[i].rgbBlue = palette[i].rgbGreen = palette[i].rgbRed = v;
    }
    lastQueryValid = false;
}

uint8_t RasterImage::PixelIndex(int32_t x, int32_t y) const
{
    if (!dib_ || header_.biClrUsed == 0)
        return 0;
    if (!IsInside(x, y))
        return transparentIndex != kNoTransparency ? static_cast<uint8_t>(transparentIndex) : pixels[0];
    const uint8_t *row = RowPointer(y);
    switch (BitCount()) {
    case 8: return row[x];
    case 4: return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
}

void RasterImage::SetPixelIndex(int32_t x, int32_t y, uint8_t index)
{
    if (!dib_ || header_.biClrUsed == 0 || !IsInside(x, y))
        return;
    uint8_t *row = RowPointer(y);
    switch (BitCount()) {
    case 8: row[x] = index; break;
    case 4: {
        uint8_t &byte = row[x >> 1];
        byte = (x & 1) ? (byte & 0xF0) | (index & 0x0F) : static_cast<uint8_t>((byte & 0x0F) | (index << 4));
        break;
    }
    default: {
        const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
        uint8_t &byte = row[x >> 3];
        byte = (index & 1) ? byte | bit : byte & ~bit;
        break;
    }
    }
}

uint32_t RasterImage::PixelColor(int32_t x, int32_t y) const
{
    if (!dib_)
        return 0;
    if (!IsInside(x, y))
        return transparentIndex != kNoTransparency ? TransparentColor() : PixelColor(0, 0);
    uint32_t color;
    if (header_.biClrUsed) {
        color = PaletteEntry(PixelIndex(x, y));
    } else {
        const uint8_t *p = RowPointer(y) + size_t(x) * 3;
        color = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
    }
    if (alpha_)
        color = (color & 0x00FFFFFFu) | (uint32_t(AlphaGet(x, y)) << 24);
    return color;
}

void RasterImage::SetPixelColor(int32_t x, int32_t y, uint32_t color, bool setAlpha)
{
    if (!dib_ || !IsInside(x, y))
        return;
    if (header_.biClrUsed) {
        SetPixelIndex(x, y, NearestIndex(color));
    } else {
        uint8_t *p = RowPointer(y) + size_t(x) * 3;
        p[0] = static_cast<uint8_t>(color);
        p[1] = static_cast<uint8_t>(color >> 8);
        p[2] = static_cast<uint8_t>(color >> 16);
    }
    if (setAlpha)
        AlphaSet(x, y, static_cast<uint8_t>(color >> 24));
}

uint8_t RasterImage::NearestIndex(uint32_t color)
{
    const RGBQUAD *palette = Palette();
    if (!palette)
        return 0;
    const RGBQUAD wanted = unpackColor(color);
    if (lastQueryValid && packColor(lastQueryColor) == color)
        return lastQueryIndex;
    uint32_t count = header_.biClrUsed;
    if (header_.biClrImportant)
        count = std::min<uint32_t>(count, header_.biClrImportant);
    int32_t best = kFarthestDistance;
    uint8_t bestIndex = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const int32_t db = int32_t(palette[i].rgbBlue) - wanted.rgbBlue;
        const int32_t dg = int32_t(palette[i].rgbGreen) - wanted.rgbGreen;
        const int32_t dr = int32_t(palette[i].rgbRed) - wanted.rgbRed;
        const int32_t d = db * db + dg * dg + dr * dr;
        if (d < best) {
            best = d;
            bestIndex = static_cast<uint8_t>(i);
            if (d == 0)
                break;
        }
    }
    lastQueryColor = wanted;
    lastQueryIndex = bestIndex;
    lastQueryValid = true;
    return bestIndex;
}

bool RasterImage::AlphaCreate()
{
    if (!dib_)
        return false;
    std::free(alpha_);
    alpha_ = static_cast<uint8_t *>(std::calloc(size_t(Width()) * size_t(Height()), 1));
    return alpha_ != nullptr;
}

void RasterImage::AlphaDelete()
{
    std::free(alpha_);
    alpha_ = nullptr;
}

void RasterImage::AlphaClear()
{
    if (alpha_)
        std::memset(alpha_, 0, size_t(Width()) * size_t(Height()));
}

void RasterImage::AlphaSet(int32_t x, int32_t y, uint8_t value)
{
    if (alpha_ && IsInside(x, y))
        alpha_[size_t(y) * Width() + x] = value;
}

uint8_t RasterImage::AlphaGet(int32_t x, int32_t y) const
{
    return alpha_ && IsInside(x, y) ? alpha_[size_t(y) * Width() + x] : 0;
}

bool RasterImage::AlphaFlip()
{
    if (!alpha_)
        return false;
    const size_t width = size_t(Width());
    for (int32_t top = Height() - 1, bottom = 0; bottom < top; --top, ++bottom)
        std::swap_ranges(alpha_ + bottom * width, alpha_ + (bottom + 1) * width, alpha_ + top * width);
    return true;
}

bool RasterImage::AlphaMirror()
{
    if (!alpha_)
        return false;
    const size_t width = size_t(Width());
    for (int32_t y = 0; y < Height(); ++y)
        std::reverse(alpha_ + y * width, alpha_ + (y + 1) * width);
    return true;
}
