// RasterImage transforms: flip, mirror, crop and rotations. 8- and 24-bit rows are moved
// by bytes; 1- and 4-bit images go pixel by pixel through the index accessors.
#include "rasterimage.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;
const int32_t kBytesPerColorPixel = 3;

// Cosine and sine of a clockwise turn by the angle, exact at right angles so that those
// turns move every pixel without loss.
void turnFactors(float degrees, double &cosine, double &sine)
{
    const double turns = std::fmod(double(degrees), 360.0);
    const double quarter = turns / 90.0;
    if (quarter == std::floor(quarter)) {
        static const double cosines[4] = {1, 0, -1, 0};
        static const double sines[4] = {0, -1, 0, 1};
        const int q = ((static_cast<int>(quarter) % 4) + 4) % 4;
        cosine = cosines[q];
        sine = sines[q];
        return;
    }
    const double radians = -turns * kPi / 180.0;
    cosine = std::cos(radians);
    sine = std::sin(radians);
}

int32_t nearest(double v)
{
    return static_cast<int32_t>(std::floor(v + 0.5));
}

} // namespace

bool RasterImage::StartLike(RasterImage &result, int32_t width, int32_t height) const
{
    result.TakeInfo(*this);
    if (!result.Create(width, height, BitCount(), type))
        return false;
    result.header_.biXPelsPerMeter = header_.biXPelsPerMeter;
    result.header_.biYPelsPerMeter = header_.biYPelsPerMeter;
    result.CopyPalette(Palette(), header_.biClrUsed);
    if (alpha_ && !result.AlphaCreate())
        return false;
    return true;
}

void RasterImage::Deliver(RasterImage &result, RasterImage *target)
{
    (target ? target : this)->Transfer(result);
}

bool RasterImage::Flip()
{
    if (!dib_)
        return false;
    for (int32_t top = Height() - 1, bottom = 0; bottom < top; --top, ++bottom)
        std::swap_ranges(RowPointer(bottom), RowPointer(bottom) + rowBytes, RowPointer(top));
    AlphaFlip();
    return true;
}

bool RasterImage::Mirror()
{
    if (!dib_)
        return false;
    const int32_t width = Width();
    for (int32_t y = 0; y < Height(); ++y) {
        uint8_t *row = RowPointer(y);
        switch (BitCount()) {
        case 8: std::reverse(row, row + width); break;
        case 24:
            for (int32_t l = 0, r = width - 1; l < r; ++l, --r)
                std::swap_ranges(row + l * kBytesPerColorPixel, row + (l + 1) * kBytesPerColorPixel,
                                 row + r * kBytesPerColorPixel);
            break;
        default:
            for (int32_t l = 0, r = width - 1; l < r; ++l, --r) {
                const uint8_t left = PixelIndex(l, y);
                SetPixelIndex(l, y, PixelIndex(r, y));
                SetPixelIndex(r, y, left);
            }
            break;
        }
    }
    AlphaMirror();
    return true;
}

bool RasterImage::Crop(int32_t left, int32_t top, int32_t right, int32_t bottom, RasterImage *target)
{
    if (!dib_)
        return false;
    left = std::clamp(left, 0, Width());
    right = std::clamp(right, 0, Width());
    top = std::clamp(top, 0, Height());
    bottom = std::clamp(bottom, 0, Height());
    if (left == right || top == bottom)
        return false;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    const int32_t width = right - left, height = bottom - top;
    const int32_t firstRow = Height() - bottom; // the rows count from the bottom
    RasterImage result;
    if (!StartLike(result, width, height))
        return Fail(result.lastError);
    const int32_t bits = BitCount();
    for (int32_t y = 0; y < height; ++y) {
        const int32_t from = firstRow + y;
        if (bits >= 8) {
            const int32_t bytes = bits / 8;
            std::memcpy(result.RowPointer(y), RowPointer(from) + size_t(left) * bytes, size_t(width) * bytes);
        } else {
            for (int32_t x = 0; x < width; ++x)
                result.SetPixelIndex(x, y, PixelIndex(left + x, from));
        }
        if (alpha_)
            std::memcpy(result.alpha_ + size_t(y) * width, alpha_ + size_t(from) * Width() + left, width);
        progress = 100 * (y + 1) / height;
    }
    Deliver(result, target);
    return true;
}

bool RasterImage::Rotate(float angle, RasterImage *target)
{
    if (!dib_)
        return false;
    double cosine, sine;
    turnFactors(angle, cosine, sine);
    // The bounding box of the turned corners gives the new size.
    const double cornersX[4] = {0, double(Width() - 1), 0, double(Width() - 1)};
    const double cornersY[4] = {0, 0, double(Height() - 1), double(Height() - 1)};
    int32_t minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
    for (int i = 0; i < 4; ++i) {
        const int32_t x = nearest(cornersX[i] * cosine - cornersY[i] * sine);
        const int32_t y = nearest(cornersX[i] * sine + cornersY[i] * cosine);
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    const int32_t width = maxX - minX + 1, height = maxY - minY + 1;
    RasterImage result;
    if (!StartLike(result, width, height))
        return Fail(result.lastError);
    const bool indexed = header_.biClrUsed != 0;
    for (int32_t j = 0; j < height; ++j) {
        if (escape)
            return Fail("Cancelled");
        const double y = minY + j;
        for (int32_t i = 0; i < width; ++i) {
            const double x = minX + i;
            const int32_t sx = nearest(x * cosine + y * sine);
            const int32_t sy = nearest(y * cosine - x * sine);
            if (indexed)
                result.SetPixelIndex(i, j, PixelIndex(sx, sy));
            else
                result.SetPixelColor(i, j, PixelColor(sx, sy));
            if (alpha_)
                result.AlphaSet(i, j, AlphaGet(sx, sy));
        }
        progress = 100 * (j + 1) / height;
    }
    Deliver(result, target);
    return true;
}

bool RasterImage::Rotate180(RasterImage *target)
{
    if (!dib_)
        return false;
    const int32_t width = Width(), height = Height();
    RasterImage result;
    if (!StartLike(result, width, height))
        return Fail(result.lastError);
    const int32_t bits = BitCount();
    for (int32_t y = 0; y < height; ++y) {
        if (escape)
            return Fail("Cancelled");
        const int32_t from = height - 1 - y;
        uint8_t *out = result.RowPointer(y);
        const uint8_t *in = RowPointer(from);
        if (bits == 8) {
            std::reverse_copy(in, in + width, out);
        } else if (bits == 24) {
            for (int32_t x = 0; x < width; ++x)
                std::memcpy(out + size_t(x) * kBytesPerColorPixel,
                            in + size_t(width - 1 - x) * kBytesPerColorPixel, kBytesPerColorPixel);
        } else {
            for (int32_t x = 0; x < width; ++x)
                result.SetPixelIndex(x, y, PixelIndex(width - 1 - x, from));
        }
        if (alpha_)
            std::reverse_copy(alpha_ + size_t(from) * width, alpha_ + size_t(from + 1) * width,
                              result.alpha_ + size_t(y) * width);
        progress = 100 * (y + 1) / height;
    }
    Deliver(result, target);
    return true;
}
