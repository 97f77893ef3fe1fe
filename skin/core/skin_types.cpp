#include "skin_types.h"

#include <cstring>

#include "system_colors.h"

namespace {
constexpr uint8_t kDefaultOutPrecision = 3;
constexpr uint8_t kDefaultClipPrecision = 2;
constexpr uint8_t kDefaultQuality = 1;
constexpr int32_t kDefaultFontHeight = -12;
constexpr int32_t kNormalWeight = 400;
constexpr uint8_t kOpaqueColorByte = 255;
}  // namespace

SkinRect makeSkinRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return SkinRect{left, top, right, bottom};
}

SkinPicture unsetSkinPicture()
{
    SkinPicture p;
    std::memset(&p, 0, sizeof p);
    return p;
}

SkinNineGrid unsetSkinNineGrid()
{
    SkinNineGrid g;
    std::memset(&g, 0, sizeof g);
    return g;
}

SkinTextEffect defaultSkinTextEffect()
{
    SkinTextEffect e;
    std::memset(&e, 0, sizeof e);
    const SkinColor text = skinPlatformSystemColor(kSysColorBtnText);
    const SkinColor shadow = skinPlatformSystemColor(kSysColorBtnShadow);
    e.color[0] = skinRed(text);
    e.color[1] = skinGreen(text);
    e.color[2] = skinBlue(text);
    e.colorByte = kOpaqueColorByte;
    e.shadowColor[0] = skinRed(shadow);
    e.shadowColor[1] = skinGreen(shadow);
    e.shadowColor[2] = skinBlue(shadow);
    e.flags = SkinTextEffect::kDefaultFlags;
    return e;
}

SkinFontRecord makeSkinFont(const char *face, int32_t height, int32_t weight)
{
    SkinFontRecord f;
    std::memset(&f, 0, sizeof f);
    f.height = height;
    f.weight = weight;
    copySkinText(f.face, sizeof f.face, face);
    return f;
}

SkinFontRecord defaultTextStyleFont()
{
    SkinFontRecord f = makeSkinFont("MS Sans Serif", kDefaultFontHeight, kNormalWeight);
    f.outPrecision = kDefaultOutPrecision;
    f.clipPrecision = kDefaultClipPrecision;
    f.quality = kDefaultQuality;
    return f;
}

void copySkinText(char *field, size_t size, const char *text)
{
    std::memset(field, 0, size);
    if (text != nullptr && size > 0) {
        std::strncpy(field, text, size - 1);
    }
}
