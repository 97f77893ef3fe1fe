// The 40-byte device-independent bitmap header and the 4-byte palette entry. On Windows
// they are the platform's own types; elsewhere this header declares the same layout, so
// the codecs and transforms build and test natively with the same field names.
#ifndef WORDMERE_IMAGE_DIBHEADER_H
#define WORDMERE_IMAGE_DIBHEADER_H

#include <cstdint>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else

struct BITMAPINFOHEADER {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight; // positive: rows stored bottom-up
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};

struct RGBQUAD {
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
};

#endif

static_assert(sizeof(BITMAPINFOHEADER) == 40, "the bitmap header is 40 bytes");
static_assert(sizeof(RGBQUAD) == 4, "a palette entry is 4 bytes");

// Compression codes of the bitmap header.
enum DibCompression : uint32_t {
    kDibRgb = 0,       // plain rows
    kDibRle8 = 1,      // run-length, 8 bits per pixel
    kDibRle4 = 2,      // run-length, 4 bits per pixel
    kDibBitfields = 3, // 16 or 32 bits per pixel with red, green and blue masks
};

#endif
