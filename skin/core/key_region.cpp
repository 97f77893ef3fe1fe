#include "key_region.h"

#include "rasterimage.h"

SkinColor skinPixelColor(const RasterImage &image, int32_t x, int32_t row)
{
    // The image packs blue low and red high; rows count from its bottom.
    const uint32_t packed = image.PixelColor(x, image.Height() - 1 - row);
    return skinRgb(static_cast<uint8_t>(packed >> 16), static_cast<uint8_t>(packed >> 8), static_cast<uint8_t>(packed));
}

std::vector<SkinRect> keyColorRuns(const RasterImage &image, SkinColor key)
{
    std::vector<SkinRect> runs;
    if (!image.IsValid()) {
        return runs;
    }
    const SkinColor wanted = key & 0x00FFFFFFu;
    runs.reserve(static_cast<size_t>(image.Height()));
    for (int32_t row = 0; row < image.Height(); ++row) {
        int32_t x = 0;
        while (x < image.Width()) {
            while (x < image.Width() && skinPixelColor(image, x, row) == wanted) {
                ++x;
            }
            const int32_t start = x;
            while (x < image.Width() && skinPixelColor(image, x, row) != wanted) {
                ++x;
            }
            if (x > start) {
                runs.push_back(makeSkinRect(start, row, x, row + 1));
            }
        }
    }
    return runs;
}
