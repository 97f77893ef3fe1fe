#include "skin_fields.h"

void visitPicture(SkinFieldVisitor &v, const char *name, SkinPicture &picture)
{
    v.beginGroup(name);
    v.text("image", picture.image, sizeof picture.image);
    v.reserved(&picture.pad, 1);
    v.rect("source", picture.source);
    v.i32("mode", picture.mode);
    v.endGroup();
}

void visitNineGrid(SkinFieldVisitor &v, const char *name, SkinNineGrid &grid)
{
    v.beginGroup(name);
    v.text("image", grid.image, sizeof grid.image);
    v.reserved(&grid.pad, 1);
    v.rect("source", grid.source);
    v.rect("margins", grid.margins);
    v.i32("layout", grid.layout);
    v.endGroup();
}

void visitEffect(SkinFieldVisitor &v, const char *name, SkinTextEffect &effect)
{
    v.beginGroup(name);
    v.i8("shadowX", effect.shadowX);
    v.i8("shadowY", effect.shadowY);
    v.reserved(effect.reserved, sizeof effect.reserved);
    v.rgb("color", effect.color);
    v.u8("colorByte", effect.colorByte);
    v.rgb("shadowColor", effect.shadowColor);
    v.reserved(&effect.reserved2, 1);
    v.u32("flags", effect.flags);
    v.endGroup();
}

void visitFont(SkinFieldVisitor &v, const char *name, SkinFontRecord &font)
{
    v.beginGroup(name);
    v.i32("height", font.height);
    v.i32("width", font.width);
    v.i32("escapement", font.escapement);
    v.i32("orientation", font.orientation);
    v.i32("weight", font.weight);
    v.u8("italic", font.italic);
    v.u8("underline", font.underline);
    v.u8("strikeOut", font.strikeOut);
    v.u8("charSet", font.charSet);
    v.u8("outPrecision", font.outPrecision);
    v.u8("clipPrecision", font.clipPrecision);
    v.u8("quality", font.quality);
    v.u8("pitchAndFamily", font.pitchAndFamily);
    v.text("face", font.face, sizeof font.face);
    v.u32("hasFont", font.hasFont);
    v.endGroup();
}
