// RasterImageTga: the TGA codec. Decodes colour-mapped, true-colour and grey images
// (types 1-3), plain or run-length (types 9-11), 8, 15, 16, 24 or 32 bits per pixel in
// either orientation; encodes 8-bit images with their palette and 24-bit images (32
// bits with the alpha plane).
#ifndef WORDMERE_IMAGE_RASTERTGA_H
#define WORDMERE_IMAGE_RASTERTGA_H

#include <cstdint>

#include "rasterimage.h"

class RasterImageTga : public RasterImage {
public:
    RasterImageTga() : RasterImage(kRasterFormatTga) {}

    bool Decode(ImageFile *file);
    bool Encode(ImageFile *file);

    static constexpr uint32_t kHeaderBytes = 18;
    static constexpr uint32_t kMaxMapEntries = 256;

private:
    struct Layout;
    struct Packet;
    bool ReadColorMap(ImageFile *file, const Layout &layout);
    bool ReadPlainRow(ImageFile *file, const Layout &layout, int32_t fileRow, uint8_t *scratch);
    bool ReadRunLengthRow(ImageFile *file, const Layout &layout, int32_t fileRow, Packet &carry);
    void PutPixel(const Layout &layout, int32_t x, int32_t fileRow, const uint8_t *value);
};

#endif
