// Decodes arbitrary bytes as TGA, as they are and laid over valid pictures of each type.
#include "image_fuzz.h"

namespace {

using imagefuzz::Bytes;

Bytes picture(uint8_t type, uint32_t width, uint32_t height, uint8_t depth, uint8_t descriptor, uint32_t mapLength,
              uint8_t mapBits, const Bytes &data)
{
    Bytes out = {2, uint8_t(mapLength ? 1 : 0), type};
    imagefuzz::put16(out, 0);
    imagefuzz::put16(out, mapLength);
    out.push_back(mapBits);
    imagefuzz::put32(out, 0);
    imagefuzz::put16(out, width);
    imagefuzz::put16(out, height);
    out.push_back(depth);
    out.push_back(descriptor);
    out.push_back('i');
    out.push_back('d');
    for (uint32_t i = 0; i < mapLength * ((mapBits + 7) / 8); ++i)
        out.push_back(uint8_t(i * 29));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

const std::vector<Bytes> &templates()
{
    static const std::vector<Bytes> t = [] {
        std::vector<Bytes> v;
        v.push_back(picture(2, 4, 3, 24, 0, 0, 0, Bytes(36, 0x42)));
        v.push_back(picture(2, 3, 2, 32, 0x30, 0, 0, Bytes(24, 0x81)));
        v.push_back(picture(1, 4, 2, 8, 0x20, 6, 24, Bytes{0, 1, 2, 3, 4, 5, 0, 1}));
        v.push_back(picture(3, 4, 2, 8, 0, 0, 0, Bytes(8, 0x60)));
        v.push_back(picture(10, 5, 3, 24, 0, 0, 0,
                            Bytes{0x86, 1, 2, 3, 0x04, 9, 9, 9, 8, 8, 8, 7, 7, 7, 6, 6, 6, 5, 5, 5, 0x83, 4, 4, 4}));
        v.push_back(picture(9, 4, 2, 8, 0x10, 4, 16, Bytes{0x85, 2, 0x01, 1, 3}));
        v.push_back(picture(11, 3, 3, 8, 0x20, 0, 0, Bytes{0x88, 200}));
        v.push_back(picture(2, 2, 2, 16, 0, 0, 0, Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
        return v;
    }();
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    imagefuzz::run(data, size, kRasterFormatTga, templates(), 0);
    return 0;
}
