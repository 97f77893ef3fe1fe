// Drawing resources of skin objects: resolved pictures (cut-outs and their regions) and fonts.
#include "key_region.h"
#include "rasterimage.h"
#include "skin_definitions.h"
#include "skin_repository.h"

SkinResolvedPicture::SkinResolvedPicture() = default;

SkinResolvedPicture::~SkinResolvedPicture() { reset(); }

void SkinResolvedPicture::reset()
{
    skinDeleteGdiObject(region);
    region = nullptr;
    cutOut.reset();
    width = height = 0;
}

void SkinResolvedPicture::resolve(const SkinRepository *owner, const SkinPicture &reference)
{
    reset();
    if (owner == nullptr || !reference.isSet()) {
        return;
    }
    RasterImage *image = owner->findImage(reference.image);
    if (image == nullptr) {
        return;
    }
    auto piece = std::make_unique<RasterImage>();
    const SkinRect &s = reference.source;
    if (!image->Crop(s.left, s.top, s.right, s.bottom, piece.get())) {
        return;
    }
    width = piece->Width();
    height = piece->Height();
    const ApplicationDefinition *application = owner->application();
    if (application != nullptr && application->regions != 0) {
        region = skinCreateRegion(keyColorRuns(*piece, application->skinKeyColor()), width, height);
    }
    cutOut = std::move(piece);
}

TextStyleObject::~TextStyleObject() { TextStyleObject::releaseResources(); }

void TextStyleObject::createResources()
{
    SkinObject::createResources();
    if (fontHandle == nullptr) {
        fontHandle = skinCreateFont(font);
    }
}

void TextStyleObject::releaseResources()
{
    skinDeleteGdiObject(fontHandle);
    fontHandle = nullptr;
    SkinObject::releaseResources();
}
