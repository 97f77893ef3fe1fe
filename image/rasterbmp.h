// RasterImageBmp: the BMP codec. Decodes Windows and OS/2 bitmaps (with or without the
// 14-byte file header) of 1, 4, 8, 16, 24 and 32 bits per pixel, plain, RLE8, RLE4 or
// with bit-field masks, bottom-up or top-down; encodes an image as it is held.
#ifndef WORDMERE_IMAGE_RASTERBMP_H
#define WORDMERE_IMAGE_RASTERBMP_H

#include <cstdint>

#include "rasterimage.h"

class RasterImageBmp : public RasterImage {
public:
    RasterImageBmp() : RasterImage(kRasterFormatBmp) {}

    // Decodes from the file's position into this object.
    bool Decode(ImageFile *file);
    // Writes the file header and the whole bitmap block.
    bool Encode(ImageFile *file);

    static constexpr uint16_t kSignature = 0x4D42; // "BM"
    static constexpr uint32_t kFileHeaderBytes = 14;
    static constexpr uint32_t kOs2HeaderBytes = 12;
    static constexpr uint32_t kInfoHeaderBytes = 40;
    static constexpr uint32_t kOs22HeaderBytes = 64;

private:
    struct Layout;
    bool ReadInfoHeader(ImageFile *file, Layout &layout);
    bool ReadPalette(ImageFile *file, Layout &layout, RGBQUAD *palette, bool pixelsFollow);
    bool ReadPlainRows(ImageFile *file, const Layout &layout);
    bool ReadRunLengthRows(ImageFile *file, const Layout &layout);
    bool ReadMaskedRows(ImageFile *file, const Layout &layout);
    bool ReadQuadRows(ImageFile *file, const Layout &layout);
};

#endif
