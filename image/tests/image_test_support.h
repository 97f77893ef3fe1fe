// Shared helpers of the image tests: fixture files written at build time by
// make_fixtures.py (pictures and the pixels ImageMagick reads from them), decoding from
// bytes, and comparing an image with expected pixels.
#ifndef WORDMERE_IMAGE_TESTS_IMAGE_TEST_SUPPORT_H
#define WORDMERE_IMAGE_TESTS_IMAGE_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imagefile.h"
#include "rasterimage.h"

#ifndef WORDMERE_IMAGE_FIXTURES
#error "the build names the fixture folder"
#endif

namespace imagetest {

using Bytes = std::vector<uint8_t>;

inline std::string fixturePath(const std::string &name)
{
    return std::string(WORDMERE_IMAGE_FIXTURES) + "/" + name;
}

inline Bytes readFile(const std::string &path)
{
    std::ifstream f(path.c_str(), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline bool writeFile(const std::string &path, const Bytes &data)
{
    std::ofstream f(path.c_str(), std::ios::binary);
    f.write(reinterpret_cast<const char *>(data.data()), std::streamsize(data.size()));
    return bool(f);
}

inline Bytes fixture(const std::string &name)
{
    Bytes data = readFile(fixturePath(name));
    EXPECT_FALSE(data.empty()) << "missing fixture " << fixturePath(name) << " (made by make_fixtures.py)";
    return data;
}

// Pixels top row first, as red, green, blue, alpha.
struct Pixels {
    int32_t width = 0;
    int32_t height = 0;
    Bytes rgba;

    const uint8_t *at(int32_t x, int32_t yFromTop) const { return &rgba[(size_t(yFromTop) * width + x) * 4]; }
};

// The pixels ImageMagick read from a fixture (NAME.rgba).
inline Pixels expected(const std::string &name)
{
    Pixels p;
    const Bytes raw = fixture(name + ".rgba");
    if (raw.size() < 8)
        return p;
    p.width = int32_t(raw[0] | raw[1] << 8 | raw[2] << 16 | raw[3] << 24);
    p.height = int32_t(raw[4] | raw[5] << 8 | raw[6] << 16 | raw[7] << 24);
    p.rgba.assign(raw.begin() + 8, raw.end());
    EXPECT_EQ(p.rgba.size(), size_t(p.width) * p.height * 4) << name;
    return p;
}

// The image's pixels top row first (alpha 255 without an alpha plane).
inline Pixels pixelsOf(const RasterImage &image)
{
    Pixels p;
    p.width = image.Width();
    p.height = image.Height();
    for (int32_t y = image.Height() - 1; y >= 0; --y)
        for (int32_t x = 0; x < image.Width(); ++x) {
            const uint32_t c = image.PixelColor(x, y);
            p.rgba.push_back(uint8_t(c >> 16));
            p.rgba.push_back(uint8_t(c >> 8));
            p.rgba.push_back(uint8_t(c));
            p.rgba.push_back(image.HasAlpha() ? uint8_t(c >> 24) : 255);
        }
    return p;
}

// How many high bits of each channel must agree: 8 for exact colours, fewer for 16-bit
// pictures whose channels ImageMagick widens to 8 bits by repeating their high bits.
struct Precision {
    int red = 8, green = 8, blue = 8;
    bool alpha = false; // compare alpha too
};

inline ::testing::AssertionResult samePixels(const Pixels &want, const Pixels &got, Precision precision = {})
{
    if (want.width != got.width || want.height != got.height)
        return ::testing::AssertionFailure() << "size " << got.width << "x" << got.height << ", expected "
                                             << want.width << "x" << want.height;
    const int bits[4] = {precision.red, precision.green, precision.blue, 8};
    for (int32_t y = 0; y < want.height; ++y)
        for (int32_t x = 0; x < want.width; ++x)
            for (int c = 0; c < (precision.alpha ? 4 : 3); ++c) {
                const int shift = 8 - bits[c];
                if ((want.at(x, y)[c] >> shift) != (got.at(x, y)[c] >> shift))
                    return ::testing::AssertionFailure()
                           << "pixel (" << x << ", " << y << " from the top) channel " << c << " is "
                           << int(got.at(x, y)[c]) << ", expected " << int(want.at(x, y)[c]);
            }
    return ::testing::AssertionSuccess();
}

// Decodes bytes (copied, so the file cannot touch the caller's vector).
inline bool decode(RasterImage &image, Bytes data, int32_t format)
{
    ImageMemoryFile file(data.data(), uint32_t(data.size()));
    return image.Decode(&file, format);
}

// Encodes into a fresh memory file and answers its bytes (empty on failure).
inline Bytes encode(RasterImage &image, int32_t format)
{
    ImageMemoryFile file;
    if (!image.Encode(&file, format))
        return Bytes();
    const uint8_t *data = file.GetBuffer();
    return Bytes(data, data + file.Size());
}

inline uint32_t le32(const Bytes &b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

inline uint32_t le16(const Bytes &b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8;
}

inline uint32_t rgb(uint8_t r, uint8_t g, uint8_t b)
{
    return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16;
}

} // namespace imagetest

#endif
