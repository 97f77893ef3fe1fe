// RasterImage: an in-memory raster image held as one device-independent bitmap block
// (the 40-byte header, the palette, then the pixel rows, bottom row first) with an
// optional alpha plane, its transforms, its BMP and TGA codecs and, on Windows, the
// drawing into device contexts that the skin engine paints with.
//
// Colours travel packed as a palette entry stores them: blue in bits 0-7, green 8-15,
// red 16-23, alpha (or the reserved byte) 24-31. Pixel rows count from the bottom
// (RowPointer(0) is the bottom row) while Crop measures top and bottom from the top.
// Nothing throws: failures answer null, false or 0 and leave a text in lastError.
#ifndef WORDMERE_IMAGE_RASTERIMAGE_H
#define WORDMERE_IMAGE_RASTERIMAGE_H

#include <cstdint>

#include "dibheader.h"

class ImageFile;
class RasterImage;

// Format codes an image is decoded from or encoded as.
enum RasterImageFormat : int32_t {
    kRasterFormatAny = 0, // decoding only: try BMP, then TGA
    kRasterFormatBmp = 1,
    kRasterFormatTga = 2,
};

// The image's settings and state: one record that CopyInfo, Ghost and Transfer move as a
// whole. Callers set the drawing fields (transparency, opacity, enabled) directly.
struct RasterImageInfo {
    uint32_t rowBytes;          // bytes per pixel row, a multiple of 4
    uint8_t *pixels;            // the bottom pixel row inside the block
    RasterImage *ghostOf;       // set when the buffers are borrowed from that image
    RasterImage *parent;        // never set here
    int32_t type;               // RasterImageFormat the image came from or goes to
    char lastError[256];        // text of the last failure, NUL-terminated
    int32_t progress;           // percentage reached by the long loops
    int32_t escape;             // non-zero: long loops and decoders stop ("Cancelled")
    int32_t transparentIndex;   // palette index drawn as transparent; -1 = none
    RGBQUAD transparentColor;   // the transparent colour of images without a palette
    uint8_t quality;            // codec quality
    int32_t xDpi;
    int32_t yDpi;
    uint8_t opacity;            // global opacity when drawing, 255 = opaque
    bool alphaPaletteEnabled;   // palette entries' fourth byte is their alpha when drawing
    bool enabled;               // Draw and DrawMasked do nothing when false
    RGBQUAD lastQueryColor;     // memo of the last NearestIndex query
    uint8_t lastQueryIndex;
    bool lastQueryValid;
};

class RasterImage : public RasterImageInfo {
public:
    static constexpr int32_t kNoTransparency = -1;
    static constexpr uint8_t kDefaultQuality = 75;
    static constexpr int32_t kDefaultDpi = 96;
    static constexpr uint8_t kOpaque = 255;
    // Create refuses images whose width x height x bit count, shifted right by 8, is above this.
    static constexpr uint64_t kMaxMemory = 256000000;

    explicit RasterImage(int32_t type = 0);
    RasterImage(int32_t width, int32_t height, int32_t bitCount, int32_t type = 0);
    RasterImage(const RasterImage &source, bool copyPixels = true, bool copySelection = true,
                bool copyAlpha = true);
    RasterImage &operator=(const RasterImage &) = delete;
    virtual ~RasterImage();

    // Life.
    void Startup(int32_t type);
    void Destroy();
    // Bit counts round up to 1, 4, 8 or 24 (15, 16 and 32 give 24). The pixels, the
    // palette and no alpha plane: all cleared. Null (lastError set) for a width or
    // height below 1, an image over the memory limit or no memory.
    void *Create(int32_t width, int32_t height, int32_t bitCount, int32_t type);
    void Copy(const RasterImage &source, bool copyPixels = true, bool copySelection = true, bool copyAlpha = true);
    void CopyInfo(const RasterImage &source);
    // This object becomes a view of the source's buffers, which it never frees.
    void Ghost(const RasterImage *source);
    // Takes over the source's buffers and settings, leaving the source empty.
    void Transfer(RasterImage &source);

    // Queries.
    bool IsValid() const { return dib_ != nullptr; }
    int32_t Width() const { return header_.biWidth; }
    int32_t Height() const { return header_.biHeight; }
    int32_t BitCount() const { return header_.biBitCount; }
    uint32_t PaletteSize() const { return header_.biClrUsed * 4; }
    RGBQUAD *Palette() const;
    uint8_t *RowPointer(int32_t row) const;
    uint32_t DibSize() const;
    const void *Dib() const { return dib_; }
    const BITMAPINFOHEADER &Header() const { return header_; }
    bool IsInside(int32_t x, int32_t y) const;
    uint32_t TransparentColor() const;

    // Palette and pixels.
    void SetPaletteEntry(uint8_t index, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha = 0);
    uint32_t PaletteEntry(uint8_t index) const;
    void CopyPalette(const RGBQUAD *entries, uint32_t count);
    void SetGreyPalette();
    uint8_t PixelIndex(int32_t x, int32_t y) const;
    void SetPixelIndex(int32_t x, int32_t y, uint8_t index);
    uint32_t PixelColor(int32_t x, int32_t y) const;
    void SetPixelColor(int32_t x, int32_t y, uint32_t color, bool setAlpha = false);
    uint8_t NearestIndex(uint32_t color);

    // The alpha plane: width x height bytes, row 0 the bottom row; none means opaque.
    bool AlphaCreate();
    void AlphaDelete();
    void AlphaClear();
    void AlphaSet(int32_t x, int32_t y, uint8_t value);
    uint8_t AlphaGet(int32_t x, int32_t y) const;
    bool HasAlpha() const { return alpha_ != nullptr; }
    bool AlphaFlip();
    bool AlphaMirror();

    // Transforms; a null target means this image. False (the image unchanged) without
    // pixels, without memory or when cancelled.
    bool Flip();
    bool Mirror();
    // Right and bottom are exclusive; top and bottom count from the image's top.
    bool Crop(int32_t left, int32_t top, int32_t right, int32_t bottom, RasterImage *target = nullptr);
    // Clockwise by the angle in degrees; right angles turn without loss.
    bool Rotate(float angle, RasterImage *target = nullptr);
    bool Rotate180(RasterImage *target = nullptr);

    // Codecs (RasterImageFormat codes).
    bool Encode(ImageFile *file, int32_t format);
    bool Decode(ImageFile *file, int32_t format);

#ifdef _WIN32
    // Drawing and bitmaps (Windows only). cx or cy below 0 mean the image's own size.
    HBITMAP MakeBitmap(HDC dc = nullptr);
    bool CreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette = nullptr);
    int32_t Draw(HDC dc, int32_t x, int32_t y, int32_t cx = -1, int32_t cy = -1, const RECT *clip = nullptr);
    int32_t Stretch(HDC dc, int32_t x, int32_t y, int32_t cx, int32_t cy);
    int32_t DrawMasked(HDC dc, int32_t x, int32_t y, int32_t cx = -1, int32_t cy = -1);
    int32_t Tile(HDC dc, const RECT *rect);
#endif

protected:
    void SetError(const char *text);
    bool Fail(const char *text)
    {
        SetError(text);
        return false;
    }
    // Copies the source's info record; the copy borrows nothing.
    void TakeInfo(const RasterImageInfo &source);
    // Starts a result of this image's settings for a transform.
    bool StartLike(RasterImage &result, int32_t width, int32_t height) const;
    // Puts a finished transform result into the target, or into this image.
    void Deliver(RasterImage &result, RasterImage *target);

    uint8_t *dib_;
    BITMAPINFOHEADER header_;
    uint8_t *selection_; // a selection mask, copied and freed, never made here
    uint8_t *alpha_;

private:
#ifdef _WIN32
    // False when Draw and DrawMasked refuse; sizes below 0 become the image's own.
    bool DrawSize(HDC dc, int32_t &cx, int32_t &cy) const;
    // Resamples the visible part of the destination into a section and puts it on the DC;
    // with blend, over what the DC shows, with transparency and alpha.
    int32_t DrawThroughSection(HDC dc, int32_t x, int32_t y, int32_t cx, int32_t cy, bool blend);
#endif
    void ForgetBuffers();
};

#endif
