#include "rasterbmp.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imagebytes.h"
#include "imagefile.h"

namespace {

// RLE escape codes: a zero count byte followed by one of these.
enum RleEscape : int32_t { kRleEndOfLine = 0, kRleEndOfBitmap = 1, kRleDelta = 2 };

const uint32_t kMaskBytes = 12;
const uint32_t kOs2EntryBytes = 3;
const uint32_t kEntryBytes = 4;
const uint16_t kDefaultMasks[3] = {0x7C00, 0x03E0, 0x001F}; // 5-5-5 red, green, blue
// Run-length data covers at most 255 pixels per two bytes; only the areas a delta or the
// end-of-bitmap mark leave out can make a picture larger. A small file that asks for a huge
// picture is refused rather than given the memory: beyond kSparseFloor bytes of pixels,
// each byte of data may stand for at most kMaxRunLengthExpansion bytes of picture.
const uint64_t kMaxRunLengthExpansion = 4096;
const uint64_t kSparseFloor = 1u << 20;

uint64_t fileRowBytes(uint64_t width, uint32_t bits)
{
    return ((width * bits + 31) >> 5) << 2;
}

int32_t dpiOf(int32_t perMetre)
{
    return static_cast<int32_t>(std::floor(perMetre * 0.0254 + 0.5));
}

// One colour channel of a 16-bit pixel: its mask, where it starts and how wide it is.
struct Channel {
    uint32_t mask = 0;
    int32_t shift = 0;
    int32_t bits = 0;

    explicit Channel(uint32_t m) : mask(m & 0xFFFF)
    {
        if (!mask)
            return;
        while (!((mask >> shift) & 1))
            ++shift;
        int32_t top = 15;
        while (!((mask >> top) & 1))
            --top;
        bits = top - shift + 1;
    }

    uint8_t Value(uint32_t word) const
    {
        const uint32_t v = (word & mask) >> shift;
        return static_cast<uint8_t>(bits >= 8 ? v >> (bits - 8) : v << (8 - bits));
    }
};

// Skips bytes forward; false when the count does not fit a seek.
bool skipForward(ImageFile *file, uint64_t bytes)
{
    return bytes <= 0x7FFFFFFFu && file->Seek(static_cast<int32_t>(bytes), kImageSeekCurrent);
}

int64_t bytesLeft(ImageFile *file)
{
    return int64_t(file->Size()) - int64_t(file->Tell());
}

} // namespace

// What the decoder learnt of the file before the pixels.
struct RasterImageBmp::Layout {
    BITMAPINFOHEADER info;
    bool os2 = false;
    bool topDown = false;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t bits = 0;
    uint32_t compression = 0;
    uint32_t masks[3] = {kDefaultMasks[0], kDefaultMasks[1], kDefaultMasks[2]};
    uint32_t paletteEntries = 0;
};

bool RasterImageBmp::ReadInfoHeader(ImageFile *file, Layout &layout)
{
    const char *const error = "Error reading BMP info";
    uint8_t b[kInfoHeaderBytes];
    if (file->Read(b, 4, 1) != 1)
        return Fail(error);
    BITMAPINFOHEADER &h = layout.info;
    std::memset(&h, 0, sizeof(h));
    h.biSize = imageGetLE32(b);
    if (h.biSize == kOs2HeaderBytes) {
        if (file->Read(b + 4, kOs2HeaderBytes - 4, 1) != 1)
            return Fail(error);
        h.biWidth = imageGetLE16(b + 4);
        h.biHeight = imageGetLE16(b + 6);
        h.biPlanes = imageGetLE16(b + 8);
        h.biBitCount = imageGetLE16(b + 10);
        layout.os2 = true;
    } else if (h.biSize >= kInfoHeaderBytes) {
        if (file->Read(b + 4, kInfoHeaderBytes - 4, 1) != 1)
            return Fail(error);
        h.biWidth = static_cast<int32_t>(imageGetLE32(b + 4));
        h.biHeight = static_cast<int32_t>(imageGetLE32(b + 8));
        h.biPlanes = imageGetLE16(b + 12);
        h.biBitCount = imageGetLE16(b + 14);
        h.biCompression = imageGetLE32(b + 16);
        h.biSizeImage = imageGetLE32(b + 20);
        h.biXPelsPerMeter = static_cast<int32_t>(imageGetLE32(b + 24));
        h.biYPelsPerMeter = static_cast<int32_t>(imageGetLE32(b + 28));
        h.biClrUsed = imageGetLE32(b + 32);
        h.biClrImportant = imageGetLE32(b + 36);
        if (h.biSize > kInfoHeaderBytes && h.biSize != kOs22HeaderBytes) {
            // Later header versions are read as the first 40 bytes only when nothing past
            // them can change the meaning of the pixels.
            const uint64_t rows = uint64_t(std::llabs(int64_t(h.biHeight)));
            const bool plain = uint64_t(h.biSizeImage) == fileRowBytes(uint32_t(std::max<int32_t>(h.biWidth, 0)),
                                                                       h.biBitCount) * rows &&
                               h.biPlanes == 1 && h.biCompression == kDibRgb && h.biClrUsed == 0;
            if (!plain)
                return Fail(error);
        }
        if (!skipForward(file, h.biSize - kInfoHeaderBytes))
            return Fail(error);
    } else {
        return Fail(error);
    }
    if (h.biSizeImage == 0) {
        const uint64_t rows = uint64_t(std::llabs(int64_t(h.biHeight)));
        const uint64_t bytes = fileRowBytes(uint32_t(std::max<int32_t>(h.biWidth, 0)), h.biBitCount) * rows;
        h.biSizeImage = static_cast<uint32_t>(std::min<uint64_t>(bytes, UINT32_MAX));
    }
    if (h.biBitCount <= 8 && h.biClrUsed == 0)
        h.biClrUsed = 1u << h.biBitCount;
    return true;
}

bool RasterImageBmp::ReadPalette(ImageFile *file, Layout &layout, RGBQUAD *palette, bool pixelsFollow)
{
    const uint32_t entryBytes = layout.os2 ? kOs2EntryBytes : kEntryBytes;
    const uint32_t allowed = layout.bits <= 8 ? 1u << layout.bits : 0;
    const uint32_t stated = layout.info.biClrUsed;
    layout.paletteEntries = std::min(stated, allowed);
    uint8_t raw[256 * kEntryBytes];
    if (layout.paletteEntries && file->Read(raw, entryBytes, layout.paletteEntries) != layout.paletteEntries)
        return Fail("corrupted BMP palette");
    for (uint32_t i = 0; i < layout.paletteEntries; ++i) {
        const uint8_t *e = raw + i * entryBytes;
        palette[i].rgbBlue = e[0];
        palette[i].rgbGreen = e[1];
        palette[i].rgbRed = e[2];
        palette[i].rgbReserved = 0;
    }
    // Entries beyond what the bit count can use are stepped over when the pixels follow them.
    const uint64_t unused = uint64_t(stated - layout.paletteEntries) * entryBytes;
    if (pixelsFollow && unused && !skipForward(file, unused))
        return Fail("corrupted BMP palette");
    return true;
}

bool RasterImageBmp::ReadPlainRows(ImageFile *file, const Layout &layout)
{
    const uint32_t bytes = header_.biSizeImage; // the rows of the file, as many as the picture has
    if (file->Read(pixels, 1, bytes) != bytes)
        return Fail("BMP pixel data truncated");
    return true;
}

bool RasterImageBmp::ReadRunLengthRows(ImageFile *file, const Layout &layout)
{
    const bool four = layout.compression == kDibRle4;
    const int32_t width = layout.width, height = layout.height;
    int32_t x = 0, y = 0;
    auto put = [&](uint8_t value) {
        if (x < width && y < height) {
            if (four)
                SetPixelIndex(x, y, value);
            else
                RowPointer(y)[x] = value;
        }
        ++x;
    };
    auto truncated = [&]() { return Fail("corrupted BMP run-length data"); };
    // The data may end without the closing markers once the last row is full.
    auto complete = [&]() { return y >= height || (y == height - 1 && x >= width); };
    while (y < height) {
        if (escape)
            return Fail("Cancelled");
        const int32_t count = file->GetC();
        if (count < 0)
            return complete() ? true : truncated();
        const int32_t code = file->GetC();
        if (code < 0)
            return truncated();
        if (count > 0) {
            for (int32_t k = 0; k < count && x < width; ++k)
                put(four ? static_cast<uint8_t>((k & 1) ? code & 0x0F : code >> 4) : static_cast<uint8_t>(code));
            continue;
        }
        if (code == kRleEndOfLine) {
            x = 0;
            ++y;
        } else if (code == kRleEndOfBitmap) {
            break;
        } else if (code == kRleDelta) {
            const int32_t dx = file->GetC(), dy = file->GetC();
            if (dx < 0 || dy < 0)
                return truncated();
            x = std::min(x + dx, width);
            y += dy;
        } else {
            // An absolute run of `code` pixels, padded to a 16-bit boundary.
            const int32_t bytes = four ? (code + 1) / 2 : code;
            for (int32_t k = 0; k < bytes; ++k) {
                const int32_t v = file->GetC();
                if (v < 0)
                    return truncated();
                if (four) {
                    put(static_cast<uint8_t>(v >> 4));
                    if (2 * k + 1 < code)
                        put(static_cast<uint8_t>(v & 0x0F));
                } else {
                    put(static_cast<uint8_t>(v));
                }
            }
            if ((bytes & 1) && file->GetC() < 0)
                return truncated();
        }
    }
    return true;
}

bool RasterImageBmp::ReadMaskedRows(ImageFile *file, const Layout &layout)
{
    const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
    if (!red.mask || !green.mask || !blue.mask)
        return Fail("bad BMP bit-field masks");
    const size_t inRow = size_t(fileRowBytes(uint32_t(layout.width), 16));
    std::vector<uint8_t> data(inRow * size_t(layout.height));
    if (file->Read(data.data(), 1, uint32_t(data.size())) != data.size())
        return Fail("BMP pixel data truncated");
    for (int32_t y = 0; y < layout.height; ++y) {
        const uint8_t *in = data.data() + size_t(y) * inRow;
        uint8_t *out = RowPointer(y);
        for (int32_t x = 0; x < layout.width; ++x, out += 3) {
            const uint32_t w = imageGetLE16(in + 2 * x);
            out[0] = blue.Value(w);
            out[1] = green.Value(w);
            out[2] = red.Value(w);
        }
    }
    return true;
}

bool RasterImageBmp::ReadQuadRows(ImageFile *file, const Layout &layout)
{
    const size_t inRow = size_t(layout.width) * 4;
    std::vector<uint8_t> row(inRow);
    for (int32_t y = 0; y < layout.height; ++y) {
        if (file->Read(row.data(), 1, uint32_t(inRow)) != inRow)
            return Fail("BMP pixel data truncated");
        uint8_t *out = RowPointer(y);
        for (int32_t x = 0; x < layout.width; ++x, out += 3)
            std::memcpy(out, row.data() + 4 * size_t(x), 3);
    }
    return true;
}

bool RasterImageBmp::Decode(ImageFile *file)
{
    if (!file)
        return Fail("null file handler");
    const int32_t start = file->Tell();
    uint8_t fileHeader[kFileHeaderBytes];
    if (start < 0 || file->Read(fileHeader, kFileHeaderBytes, 1) != 1)
        return Fail("Not a BMP");
    uint32_t pixelOffset = 0;
    if (imageGetLE16(fileHeader) == kSignature)
        pixelOffset = imageGetLE32(fileHeader + 10);
    else if (!file->Seek(start, kImageSeekSet)) // a bare bitmap block
        return Fail("Not a BMP");

    Layout layout;
    if (!ReadInfoHeader(file, layout))
        return false;
    const BITMAPINFOHEADER &info = layout.info;
    layout.bits = info.biBitCount;
    layout.compression = info.biCompression;
    layout.topDown = info.biHeight < 0;
    const int64_t rows = std::llabs(int64_t(info.biHeight));
    if (info.biWidth <= 0 || rows == 0 || rows > INT32_MAX)
        return Fail("Bad BMP dimensions");
    layout.width = info.biWidth;
    layout.height = static_cast<int32_t>(rows);

    switch (layout.bits) {
    case 1: case 4: case 8:
        if (!(layout.compression == kDibRgb || (layout.compression == kDibRle8 && layout.bits == 8) ||
              (layout.compression == kDibRle4 && layout.bits == 4)))
            return Fail("compression type not supported");
        // Run-length bitmaps are bottom-up by definition.
        if (layout.compression != kDibRgb && layout.topDown)
            return Fail("compression type not supported");
        break;
    case 16: case 32:
        if (layout.compression != kDibRgb && layout.compression != kDibBitfields)
            return Fail("unknown compression");
        break;
    case 24:
        if (layout.compression != kDibRgb)
            return Fail("unknown compression");
        break;
    default:
        return Fail("bit count not supported");
    }

    if (layout.compression == kDibBitfields) {
        uint8_t m[kMaskBytes];
        if (file->Read(m, kMaskBytes, 1) != 1)
            return Fail("Error reading BMP info");
        for (int i = 0; i < 3; ++i)
            layout.masks[i] = imageGetLE32(m + 4 * i);
    }
    RGBQUAD palette[256];
    if (!ReadPalette(file, layout, palette, pixelOffset == 0))
        return false;
    if (pixelOffset) {
        const int64_t at = int64_t(start) + pixelOffset;
        if (at > INT32_MAX || !file->Seek(static_cast<int32_t>(at), kImageSeekSet))
            return Fail("BMP pixel data truncated");
    }

    // Plain pixel data must be in the file, every row of it, before any memory is taken for
    // it (a small image-size field does not make a large picture cheap).
    if (layout.compression == kDibRgb || layout.compression == kDibBitfields) {
        const uint64_t plainBytes = fileRowBytes(uint32_t(layout.width), layout.bits) * uint64_t(layout.height);
        if (int64_t(plainBytes) > bytesLeft(file))
            return Fail("BMP pixel data truncated");
    } else {
        const uint64_t pictureBytes = fileRowBytes(uint32_t(layout.width), layout.bits) * uint64_t(layout.height);
        const int64_t left = std::max<int64_t>(bytesLeft(file), 0);
        if (pictureBytes > kSparseFloor && pictureBytes / kMaxRunLengthExpansion > uint64_t(left))
            return Fail("corrupted BMP run-length data");
    }

    if (!Create(layout.width, layout.height, int32_t(layout.bits), kRasterFormatBmp))
        return Fail("Can't allocate memory");
    xDpi = dpiOf(info.biXPelsPerMeter);
    yDpi = dpiOf(info.biYPelsPerMeter);
    header_.biXPelsPerMeter = info.biXPelsPerMeter;
    header_.biYPelsPerMeter = info.biYPelsPerMeter;
    if (escape)
        return Fail("Cancelled");
    CopyPalette(palette, layout.paletteEntries);

    bool ok;
    if (layout.compression == kDibRle8 || layout.compression == kDibRle4)
        ok = ReadRunLengthRows(file, layout);
    else if (layout.bits == 16)
        ok = ReadMaskedRows(file, layout);
    else if (layout.bits == 32)
        ok = ReadQuadRows(file, layout);
    else
        ok = ReadPlainRows(file, layout);
    if (!ok)
        return false;
    if (layout.topDown)
        Flip();
    return true;
}

bool RasterImageBmp::Encode(ImageFile *file)
{
    if (!file)
        return Fail("null file handler");
    if (!dib_)
        return Fail("null image!!!");
    uint8_t head[kFileHeaderBytes + kInfoHeaderBytes] = {};
    imagePutLE16(head, kSignature);
    imagePutLE32(head + 2, DibSize() + kFileHeaderBytes);
    imagePutLE32(head + 10, kFileHeaderBytes + kInfoHeaderBytes + PaletteSize());
    uint8_t *h = head + kFileHeaderBytes;
    imagePutLE32(h, kInfoHeaderBytes);
    imagePutLE32(h + 4, uint32_t(header_.biWidth));
    imagePutLE32(h + 8, uint32_t(header_.biHeight));
    imagePutLE16(h + 12, header_.biPlanes);
    imagePutLE16(h + 14, header_.biBitCount);
    imagePutLE32(h + 16, header_.biCompression);
    imagePutLE32(h + 20, header_.biSizeImage);
    imagePutLE32(h + 24, uint32_t(header_.biXPelsPerMeter));
    imagePutLE32(h + 28, uint32_t(header_.biYPelsPerMeter));
    imagePutLE32(h + 32, header_.biClrUsed);
    imagePutLE32(h + 36, header_.biClrImportant);
    // The block's own copy of the header follows the working one.
    std::memcpy(dib_, &header_, kInfoHeaderBytes);
    const uint32_t rest = DibSize() - kInfoHeaderBytes;
    if (file->Write(head, sizeof(head), 1) != 1 || file->Write(dib_ + kInfoHeaderBytes, rest, 1) != 1)
        return Fail("Error writing BMP");
    return true;
}
