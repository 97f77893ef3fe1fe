// Helpers of the skin tests: a builder of skin bodies byte by byte (little-endian), the skin
// file around a body (announced length and LZO1X), and the default skin's build products.
#ifndef WORDMERE_SKIN_CORE_TESTS_SKIN_TEST_SUPPORT_H
#define WORDMERE_SKIN_CORE_TESTS_SKIN_TEST_SUPPORT_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <lzo/lzo1x.h>

#include "imagefile.h"
#include "memory_stream.h"
#include "rasterimage.h"
#include "skin_codes.h"
#include "skin_repository.h"

using Bytes = std::vector<uint8_t>;

class BodyBuilder {
public:
    BodyBuilder &u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
        return *this;
    }
    BodyBuilder &i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
    BodyBuilder &zeros(size_t n)
    {
        bytes.insert(bytes.end(), n, 0);
        return *this;
    }
    BodyBuilder &text(const char *t, size_t size)
    {
        const size_t at = bytes.size();
        zeros(size);
        std::memcpy(bytes.data() + at, t, std::min(std::strlen(t), size));
        return *this;
    }
    BodyBuilder &rect(int32_t l, int32_t t, int32_t r, int32_t b) { return i32(l).i32(t).i32(r).i32(b); }
    // The 188-byte header with the given signature, version and object count.
    BodyBuilder &header(uint8_t major, uint8_t minor, int32_t count, const char *signature = kSkinSignature)
    {
        text(signature, 20);
        bytes.push_back(major);
        bytes.push_back(minor);
        text("test", kSkinAuthorBytes);
        i32(count);
        return zeros(8);
    }
    // A base record of the current form: name, colours, second text, value, rectangle, id, children.
    BodyBuilder &base(const char *name, int32_t id = 0, int32_t children = 0)
    {
        text(name, kSkinNameBytes).u32(0x00112233).u32(0x00445566).u32(0x00778899);
        return text("", kSkinNameBytes).i32(0).rect(1, 2, 3, 4).i32(id).i32(children);
    }

    Bytes bytes;
};

// The skin file of a body: its length and the body compressed with LZO1X.
inline Bytes skinFile(const Bytes &body, uint32_t announced)
{
    static const bool ready = lzo_init() == LZO_E_OK;
    (void)ready;
    std::vector<uint8_t> work(LZO1X_1_MEM_COMPRESS);
    Bytes out(4 + body.size() + body.size() / 16 + 64 + 3);
    lzo_uint produced = out.size() - 4;
    lzo1x_1_compress(body.data(), body.size(), out.data() + 4, &produced, work.data());
    out.resize(4 + produced);
    std::memcpy(out.data(), &announced, 4);
    return out;
}
inline Bytes skinFile(const Bytes &body) { return skinFile(body, static_cast<uint32_t>(body.size())); }

inline bool loadBytes(SkinRepository &repository, const Bytes &file)
{
    MemoryStream stream(file.data(), static_cast<uint32_t>(file.size()));
    return repository.loadFromStream(stream);
}

// Loads a skin of no objects and one image of that name, the picture encoded as BMP.
inline bool loadSkinWithImage(SkinRepository &repository, const char *name, RasterImage &picture)
{
    ImageMemoryFile file;
    if (!picture.Encode(&file, kRasterFormatBmp)) {
        return false;
    }
    const uint8_t *data = file.GetBuffer();
    const uint32_t length = static_cast<uint32_t>(file.Size());
    BodyBuilder b;
    b.header(1, 18, 0).i32(1).i32(kSkinImage).base(name).u32(length).i32(kRasterFormatBmp);
    b.bytes.insert(b.bytes.end(), data, data + length);
    b.i32(0);
    return loadBytes(repository, skinFile(b.bytes));
}

inline Bytes readFileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string defaultSkinPath(const char *file) { return std::string(WORDMERE_DEFAULT_SKIN) + "/" + file; }

// The colour of a pixel of a 24-bit bottom-up BMP file, read straight from its bytes (row from
// the top), in COLORREF order.
inline SkinColor filePixel(const Bytes &bmp, int32_t x, int32_t row)
{
    int32_t width, height;
    uint32_t offset;
    std::memcpy(&offset, bmp.data() + 10, 4);
    std::memcpy(&width, bmp.data() + 18, 4);
    std::memcpy(&height, bmp.data() + 22, 4);
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t(3);
    const uint8_t *p = bmp.data() + offset + stride * static_cast<size_t>(height - 1 - row) + static_cast<size_t>(x) * 3;
    return skinRgb(p[2], p[1], p[0]);
}

#endif
