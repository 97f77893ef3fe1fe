// The building blocks of skin records: rectangles, picture references, nine-grid pictures,
// text effects and font records, laid out as the file stores them (skin/FORMAT.md).
// Colours are 32-bit values in COLORREF order (0x00BBGGRR) on every platform.
#ifndef WORDMERE_SKIN_CORE_SKIN_TYPES_H
#define WORDMERE_SKIN_CORE_SKIN_TYPES_H

#include <cstdint>

#include "skin_codes.h"

using SkinColor = uint32_t;

constexpr SkinColor skinRgb(uint8_t red, uint8_t green, uint8_t blue)
{
    return static_cast<SkinColor>(red) | (static_cast<SkinColor>(green) << 8) | (static_cast<SkinColor>(blue) << 16);
}
constexpr uint8_t skinRed(SkinColor c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t skinGreen(SkinColor c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t skinBlue(SkinColor c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

struct SkinRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const SkinRect &o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// Draw modes of a picture reference.
enum SkinPictureMode : int32_t {
    kSkinPictureNatural = 0,
    kSkinPictureTiled = 1,
    kSkinPictureStretched = 2,
};

// A picture reference (72 bytes): a rectangle of a named image and how it is drawn.
struct SkinPicture {
    char image[kSkinNameBytes];
    uint8_t pad;
    SkinRect source;
    int32_t mode;

    // Unset when the name or the source rectangle is empty.
    bool isSet() const { return image[0] != '\0' && !source.isEmpty(); }
};

// A nine-grid picture (88 bytes): a picture whose four margins cut it into nine pieces.
struct SkinNineGrid {
    char image[kSkinNameBytes];
    uint8_t pad;
    SkinRect source;
    SkinRect margins;
    int32_t layout;

    bool isSet() const { return image[0] != '\0' && !source.isEmpty(); }
};

// A text effect (16 bytes): text colour, shadow colour and offset, flags.
struct SkinTextEffect {
    int8_t shadowX;
    int8_t shadowY;
    uint8_t reserved[2];
    uint8_t color[3];     // red, green, blue
    uint8_t colorByte;
    uint8_t shadowColor[3];
    uint8_t reserved2;
    uint32_t flags;

    static constexpr uint32_t kDrawShadow = 0x1;
    static constexpr uint32_t kDefaultFlags = 0x8004;
    SkinColor textColor() const { return skinRgb(color[0], color[1], color[2]); }
    SkinColor shadowColorRef() const { return skinRgb(shadowColor[0], shadowColor[1], shadowColor[2]); }
    bool drawsShadow() const { return (flags & kDrawShadow) != 0; }
};

// The platform's 8-bit logical-font record (60 bytes) and the "has a font" flag.
struct SkinFontRecord {
    int32_t height;
    int32_t width;
    int32_t escapement;
    int32_t orientation;
    int32_t weight;
    uint8_t italic;
    uint8_t underline;
    uint8_t strikeOut;
    uint8_t charSet;
    uint8_t outPrecision;
    uint8_t clipPrecision;
    uint8_t quality;
    uint8_t pitchAndFamily;
    char face[kSkinFaceBytes];
    uint32_t hasFont;
};

// Record sizes in the file.
constexpr uint32_t kSkinRectBytes = 16;
constexpr uint32_t kSkinPictureBytes = 72;
constexpr uint32_t kSkinNineGridBytes = 88;
constexpr uint32_t kSkinEffectBytes = 16;
constexpr uint32_t kSkinFontBytes = 64;

// Defaults.
SkinRect makeSkinRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
SkinPicture unsetSkinPicture();
SkinNineGrid unsetSkinNineGrid();
SkinTextEffect defaultSkinTextEffect();
SkinFontRecord makeSkinFont(const char *face, int32_t height, int32_t weight);
// The text style's default font: "MS Sans Serif", height -12, weight 400, output precision 3,
// clip precision 2, quality 1.
SkinFontRecord defaultTextStyleFont();

// Copies text into a fixed field of `size` bytes, zero-padded and always terminated.
void copySkinText(char *field, size_t size, const char *text);

#endif
