// RasterImage::Encode and Decode: dispatch to the BMP and TGA codecs by format code.
#include <cstring>

#include "imagefile.h"
#include "rasterbmp.h"
#include "rasterimage.h"
#include "rastertga.h"

namespace {

// Decodes with one codec: on success the codec's content moves into the image.
template <class Codec>
bool decodeWith(RasterImage &image, ImageFile *file, char (&error)[256])
{
    Codec codec;
    codec.CopyInfo(image);
    if (codec.Decode(file)) {
        image.Transfer(codec);
        return true;
    }
    std::memcpy(error, codec.lastError, sizeof(error));
    return false;
}

// Encodes through a codec that borrows the image's buffers.
template <class Codec>
bool encodeWith(RasterImage &image, ImageFile *file, char (&error)[256])
{
    Codec codec;
    codec.Ghost(&image);
    if (codec.Encode(file))
        return true;
    std::memcpy(error, codec.lastError, sizeof(error));
    return false;
}

} // namespace

bool RasterImage::Encode(ImageFile *file, int32_t format)
{
    switch (format) {
    case kRasterFormatBmp: return encodeWith<RasterImageBmp>(*this, file, lastError);
    case kRasterFormatTga: return encodeWith<RasterImageTga>(*this, file, lastError);
    default: return Fail("Encode: Unknown format");
    }
}

bool RasterImage::Decode(ImageFile *file, int32_t format)
{
    switch (format) {
    case kRasterFormatBmp: return decodeWith<RasterImageBmp>(*this, file, lastError);
    case kRasterFormatTga: return decodeWith<RasterImageTga>(*this, file, lastError);
    case kRasterFormatAny: {
        const int32_t start = file ? file->Tell() : 0;
        if (decodeWith<RasterImageBmp>(*this, file, lastError))
            return true;
        if (file)
            file->Seek(start, kImageSeekSet);
        if (decodeWith<RasterImageTga>(*this, file, lastError))
            return true;
        if (file)
            file->Seek(start, kImageSeekSet);
        return Fail("Decode: Unknown or wrong format");
    }
    default: return Fail("Decode: Unknown or wrong format");
    }
}
