// Decodes arbitrary bytes as BMP, as they are and laid over valid bitmaps of each kind.
#include "image_fuzz.h"

namespace {

using imagefuzz::Bytes;

Bytes bitmap(int32_t width, int32_t height, uint16_t bits, uint32_t compression, uint32_t entries,
             const Bytes &extra, const Bytes &data)
{
    Bytes info;
    imagefuzz::put32(info, 40);
    imagefuzz::put32(info, uint32_t(width));
    imagefuzz::put32(info, uint32_t(height));
    imagefuzz::put16(info, 1);
    imagefuzz::put16(info, bits);
    imagefuzz::put32(info, compression);
    imagefuzz::put32(info, uint32_t(data.size()));
    imagefuzz::put32(info, 2835);
    imagefuzz::put32(info, 2835);
    imagefuzz::put32(info, entries);
    imagefuzz::put32(info, 0);
    Bytes out = {'B', 'M'};
    const uint32_t offset = uint32_t(14 + info.size() + extra.size() + entries * 4);
    imagefuzz::put32(out, uint32_t(offset + data.size()));
    imagefuzz::put32(out, 0);
    imagefuzz::put32(out, offset);
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), extra.begin(), extra.end());
    for (uint32_t i = 0; i < entries; ++i)
        imagefuzz::put32(out, i * 0x010203u);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

const std::vector<Bytes> &templates()
{
    static const std::vector<Bytes> t = [] {
        std::vector<Bytes> v;
        v.push_back(bitmap(5, 3, 24, 0, 0, Bytes(), Bytes(48, 0x33)));
        v.push_back(bitmap(5, -3, 8, 0, 16, Bytes(), Bytes(24, 0x05)));
        v.push_back(bitmap(6, 2, 8, 1, 16, Bytes(), Bytes{3, 1, 0, 4, 2, 3, 4, 5, 0, 0, 0, 2, 1, 1, 2, 7, 0, 1}));
        v.push_back(bitmap(7, 2, 4, 2, 16, Bytes(), Bytes{3, 0x12, 0, 5, 0x34, 0x56, 0x70, 0, 0, 0, 7, 0x11, 0, 1}));
        v.push_back(bitmap(9, 2, 1, 0, 2, Bytes(), Bytes(8, 0xA5)));
        Bytes masks;
        imagefuzz::put32(masks, 0xF800);
        imagefuzz::put32(masks, 0x07E0);
        imagefuzz::put32(masks, 0x001F);
        v.push_back(bitmap(3, 2, 16, 3, 0, masks, Bytes(16, 0x5A)));
        v.push_back(bitmap(2, 2, 32, 0, 0, Bytes(), Bytes(16, 0x77)));
        // An OS/2 bitmap: the 12-byte header and three-byte palette entries.
        Bytes os2 = {'B', 'M'};
        imagefuzz::put32(os2, 14 + 12 + 6 + 8);
        imagefuzz::put32(os2, 0);
        imagefuzz::put32(os2, 14 + 12 + 6);
        imagefuzz::put32(os2, 12);
        imagefuzz::put16(os2, 4);
        imagefuzz::put16(os2, 2);
        imagefuzz::put16(os2, 1);
        imagefuzz::put16(os2, 1);
        os2.insert(os2.end(), {0, 0, 0, 255, 255, 255, 0xF0, 0, 0, 0, 0x0F, 0, 0, 0});
        v.push_back(os2);
        return v;
    }();
    return t;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    imagefuzz::run(data, size, kRasterFormatBmp, templates(), 14);
    return 0;
}
