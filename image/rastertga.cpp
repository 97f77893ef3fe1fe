#include "rastertga.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imagebytes.h"
#include "imagefile.h"

namespace {

// Image types of the TGA header.
enum TgaImageType : uint8_t {
    kTgaMapped = 1,
    kTgaTrueColor = 2,
    kTgaGrey = 3,
    kTgaRunLengthOffset = 8, // types 9, 10 and 11 are 1, 2 and 3 run-length coded
};

const uint8_t kTgaRightToLeft = 0x10; // descriptor bit 4
const uint8_t kTgaTopDown = 0x20;     // descriptor bit 5
const uint8_t kTgaRunPacket = 0x80;
const uint32_t kTgaMaxPacketPixels = 128;
const uint16_t kTgaMapEntryBits = 24;

uint32_t bytesPerPixel(uint32_t depth)
{
    return (depth + 7) / 8;
}

// A 5-5-5 pixel word (the top bit ignored) as blue, green, red.
void fromFiveFiveFive(uint32_t w, uint8_t *bgr)
{
    bgr[0] = static_cast<uint8_t>(w << 3);
    bgr[1] = static_cast<uint8_t>((w >> 2) & 0xF8);
    bgr[2] = static_cast<uint8_t>((w >> 7) & 0xF8);
}

} // namespace

struct RasterImageTga::Layout {
    uint8_t idLength = 0;
    uint8_t mapType = 0;
    uint8_t imageType = 0;
    uint16_t mapLength = 0;
    uint8_t mapEntryBits = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t depth = 0;
    uint32_t pixelBytes = 0;
    bool runLength = false;
    bool topDown = false;
    bool rightToLeft = false;
};

// A run-length packet, possibly carried over from the end of the previous row.
struct RasterImageTga::Packet {
    uint32_t remaining = 0;
    bool run = false;
    uint8_t value[4] = {};
};

void RasterImageTga::PutPixel(const Layout &layout, int32_t x, int32_t fileRow, const uint8_t *value)
{
    const int32_t row = layout.topDown ? layout.height - 1 - fileRow : fileRow;
    uint8_t *out = RowPointer(row);
    switch (layout.depth) {
    case 8: out[x] = value[0]; break;
    case 15: case 16: fromFiveFiveFive(imageGetLE16(value), out + 3 * size_t(x)); break;
    case 32:
        AlphaSet(x, fileRow, value[3]); // flipped with the plane at the end when top-down
        std::memcpy(out + 3 * size_t(x), value, 3);
        break;
    default: std::memcpy(out + 3 * size_t(x), value, 3); break;
    }
}

bool RasterImageTga::ReadColorMap(ImageFile *file, const Layout &layout)
{
    if (layout.mapType != 1 || layout.mapLength == 0)
        return true;
    uint32_t entryBytes;
    switch (layout.mapEntryBits) {
    case 15: case 16: entryBytes = 2; break;
    case 24: entryBytes = 3; break;
    case 32: entryBytes = 4; break;
    default: return Fail("bad TGA header");
    }
    uint8_t raw[kMaxMapEntries * 4];
    if (file->Read(raw, entryBytes, layout.mapLength) != layout.mapLength)
        return Fail("corrupted TGA");
    for (uint32_t i = 0; i < layout.mapLength; ++i) {
        uint8_t bgr[3];
        const uint8_t *e = raw + i * entryBytes;
        if (entryBytes == 2)
            fromFiveFiveFive(imageGetLE16(e), bgr);
        else
            std::memcpy(bgr, e, 3);
        SetPaletteEntry(static_cast<uint8_t>(i), bgr[2], bgr[1], bgr[0]);
    }
    return true;
}

bool RasterImageTga::ReadPlainRow(ImageFile *file, const Layout &layout, int32_t fileRow, uint8_t *scratch)
{
    const uint32_t bytes = layout.pixelBytes * uint32_t(layout.width);
    const bool direct = layout.depth == 8 || layout.depth == 24;
    uint8_t *into = direct ? RowPointer(layout.topDown ? layout.height - 1 - fileRow : fileRow) : scratch;
    if (file->Read(into, 1, bytes) != bytes)
        return Fail("corrupted TGA");
    if (!direct)
        for (int32_t x = 0; x < layout.width; ++x)
            PutPixel(layout, x, fileRow, scratch + size_t(x) * layout.pixelBytes);
    return true;
}

bool RasterImageTga::ReadRunLengthRow(ImageFile *file, const Layout &layout, int32_t fileRow, Packet &carry)
{
    int32_t x = 0;
    while (x < layout.width) {
        if (carry.remaining == 0) {
            const int32_t head = file->GetC();
            if (head < 0)
                return Fail("corrupted TGA");
            carry.run = (head & kTgaRunPacket) != 0;
            carry.remaining = carry.run ? uint32_t(head) - 127 : uint32_t(head) + 1;
            if (carry.run && file->Read(carry.value, layout.pixelBytes, 1) != 1)
                return Fail("corrupted TGA");
        }
        // A packet that passes the row's end goes on in the next row.
        const uint32_t take = std::min<uint32_t>(carry.remaining, uint32_t(layout.width - x));
        for (uint32_t k = 0; k < take; ++k, ++x) {
            if (!carry.run && file->Read(carry.value, layout.pixelBytes, 1) != 1)
                return Fail("corrupted TGA");
            PutPixel(layout, x, fileRow, carry.value);
        }
        carry.remaining -= take;
    }
    return true;
}

bool RasterImageTga::Decode(ImageFile *file)
{
    if (!file)
        return Fail("null file handler");
    uint8_t h[kHeaderBytes];
    if (file->Read(h, kHeaderBytes, 1) != 1)
        return Fail("Not a TGA");
    Layout layout;
    layout.idLength = h[0];
    layout.mapType = h[1];
    layout.imageType = h[2];
    layout.mapLength = imageGetLE16(h + 5);
    layout.mapEntryBits = h[7];
    layout.width = imageGetLE16(h + 12);
    layout.height = imageGetLE16(h + 14);
    layout.depth = h[16];
    const uint8_t descriptor = h[17];
    const uint8_t baseType = layout.imageType > kTgaRunLengthOffset
                                 ? static_cast<uint8_t>(layout.imageType - kTgaRunLengthOffset)
                                 : layout.imageType;
    if (baseType < kTgaMapped || baseType > kTgaGrey ||
        (layout.imageType > kTgaGrey && layout.imageType <= kTgaRunLengthOffset))
        return Fail("Unknown TGA image type");
    layout.runLength = layout.imageType > kTgaRunLengthOffset;
    if (layout.width == 0 || layout.height == 0 || layout.depth == 0 || layout.mapLength > kMaxMapEntries)
        return Fail("bad TGA header");
    switch (layout.depth) {
    case 8: case 15: case 16: case 24: case 32: break;
    default: return Fail("bad TGA header");
    }
    layout.pixelBytes = bytesPerPixel(layout.depth);
    layout.topDown = (descriptor & kTgaTopDown) != 0;
    layout.rightToLeft = (descriptor & kTgaRightToLeft) != 0;
    if (!file->Seek(layout.idLength, kImageSeekCurrent))
        return Fail("corrupted TGA");

    // The colour map is read into a palette image only; others step over it.
    RasterImageTga mapHolder;
    if (layout.mapType == 1 && layout.mapLength) {
        if (!mapHolder.Create(kMaxMapEntries, 1, 8, kRasterFormatTga) || !mapHolder.ReadColorMap(file, layout))
            return Fail(mapHolder.lastError);
    }

    // The pixel data must be in the file before memory is taken for it: plain rows in
    // full, run-length rows at least one packet per 128 pixels.
    const uint64_t count = uint64_t(layout.width) * uint64_t(layout.height);
    const uint64_t needed = layout.runLength
                                ? (count + kTgaMaxPacketPixels - 1) / kTgaMaxPacketPixels * (1 + layout.pixelBytes)
                                : count * layout.pixelBytes;
    if (int64_t(needed) > int64_t(file->Size()) - int64_t(file->Tell()))
        return Fail("corrupted TGA");

    if (!Create(layout.width, layout.height, int32_t(layout.depth), kRasterFormatTga) ||
        (layout.depth == 32 && !AlphaCreate()))
        return Fail("TGA Create failed");
    if (escape)
        return Fail("Cancelled");
    if (mapHolder.IsValid())
        CopyPalette(mapHolder.Palette(), layout.mapLength);
    if (baseType == kTgaGrey)
        SetGreyPalette();

    std::vector<uint8_t> scratch(size_t(layout.width) * layout.pixelBytes);
    Packet carry;
    for (int32_t row = 0; row < layout.height; ++row) {
        if (escape)
            return Fail("Cancelled");
        if (carry.remaining == 0 && file->Eof())
            return Fail("corrupted TGA");
        const bool ok = layout.runLength ? ReadRunLengthRow(file, layout, row, carry)
                                         : ReadPlainRow(file, layout, row, scratch.data());
        if (!ok)
            return false;
    }
    if (layout.rightToLeft)
        Mirror();
    if (layout.topDown && layout.depth == 32)
        AlphaFlip();
    return true;
}

bool RasterImageTga::Encode(ImageFile *file)
{
    if (!file)
        return Fail("null file handler");
    if (!dib_)
        return Fail("null image!!!");
    const int32_t bits = BitCount();
    if (bits < 8)
        return Fail("Bit depth must be 8 or 24");
    const bool mapped = bits == 8;
    const bool withAlpha = !mapped && alpha_ != nullptr;
    uint8_t h[kHeaderBytes] = {};
    h[1] = Palette() ? 1 : 0;
    h[2] = mapped ? kTgaMapped : kTgaTrueColor;
    imagePutLE16(h + 5, mapped ? kMaxMapEntries : 0);
    h[7] = mapped ? kTgaMapEntryBits : 0;
    imagePutLE16(h + 12, uint32_t(Width()));
    imagePutLE16(h + 14, uint32_t(Height()));
    h[16] = static_cast<uint8_t>(withAlpha ? 32 : bits);
    h[17] = 0; // bottom-up, left to right
    const char *const error = "Error writing TGA";
    if (file->Write(h, kHeaderBytes, 1) != 1)
        return Fail(error);
    if (mapped) {
        uint8_t map[kMaxMapEntries * 3];
        const RGBQUAD *palette = Palette();
        for (uint32_t i = 0; i < kMaxMapEntries; ++i) {
            map[3 * i] = palette[i].rgbBlue;
            map[3 * i + 1] = palette[i].rgbGreen;
            map[3 * i + 2] = palette[i].rgbRed;
        }
        if (file->Write(map, sizeof(map), 1) != 1)
            return Fail(error);
    }
    const size_t width = size_t(Width());
    std::vector<uint8_t> row(width * 4);
    for (int32_t y = 0; y < Height(); ++y) {
        const uint8_t *in = RowPointer(y);
        size_t bytes = width * (bits / 8);
        if (withAlpha) {
            for (size_t x = 0; x < width; ++x) {
                std::memcpy(&row[4 * x], in + 3 * x, 3);
                row[4 * x + 3] = static_cast<uint8_t>(AlphaGet(int32_t(x), y) * opacity / 255);
            }
            in = row.data();
            bytes = width * 4;
        }
        if (file->Write(in, uint32_t(bytes), 1) != 1)
            return Fail(error);
    }
    return true;
}
