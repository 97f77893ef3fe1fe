// Shared body of the image decoder fuzzers: the input is decoded as it is, and also laid
// over a valid picture chosen by its first byte (so mutations reach past the header);
// whatever decodes is transformed, encoded and decoded again.
#ifndef WORDMERE_IMAGE_FUZZ_IMAGE_FUZZ_H
#define WORDMERE_IMAGE_FUZZ_IMAGE_FUZZ_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imagefile.h"
#include "rasterimage.h"

namespace imagefuzz {

using Bytes = std::vector<uint8_t>;

// Small images only go through the transforms, so that each input stays quick.
const int64_t kTransformPixels = 1024;
const int32_t kTurnedSide = 64;

inline void exercise(RasterImage &image)
{
    if (int64_t(image.Width()) * image.Height() > kTransformPixels)
        return;
    RasterImage copy(image);
    copy.Mirror();
    copy.Flip();
    copy.Crop(1, 1, copy.Width() - 1, copy.Height() - 1);
    copy.Rotate(90);
    // A turn by an odd angle grows a long thin image to its diagonal squared.
    if (copy.Width() <= kTurnedSide && copy.Height() <= kTurnedSide)
        copy.Rotate(33);
    copy.Rotate180();
    for (int32_t format : {int32_t(kRasterFormatBmp), int32_t(kRasterFormatTga)}) {
        ImageMemoryFile out;
        if (!image.Encode(&out, format))
            continue;
        ImageMemoryFile in(out.GetBuffer(), uint32_t(out.Size()));
        RasterImage back;
        back.Decode(&in, format);
    }
}

inline void decodeOne(const uint8_t *data, size_t size, int32_t format)
{
    Bytes copy(data, data + size);
    ImageMemoryFile file(copy.data(), uint32_t(copy.size()));
    RasterImage image;
    if (image.Decode(&file, format))
        exercise(image);
}

// The input as it is, then laid over templates[first byte] from `at`: the rest of the
// input is added to the template's bytes and what is longer goes on at the end.
inline void run(const uint8_t *data, size_t size, int32_t format, const std::vector<Bytes> &templates, size_t at)
{
    decodeOne(data, size, format);
    decodeOne(data, size, kRasterFormatAny);
    if (size == 0 || templates.empty())
        return;
    Bytes picture = templates[data[0] % templates.size()];
    for (size_t i = 1; i < size; ++i) {
        const size_t to = at + i - 1;
        if (to < picture.size())
            picture[to] = uint8_t(picture[to] + data[i]);
        else
            picture.push_back(data[i]);
    }
    decodeOne(picture.data(), picture.size(), format);
}

inline void put16(Bytes &b, uint32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

inline void put32(Bytes &b, uint32_t v)
{
    put16(b, v);
    put16(b, v >> 16);
}

} // namespace imagefuzz

#endif
