// Off Windows there is no GDI: skin objects make no fonts, brushes or regions.
#ifndef _WIN32
#include "skin_gdi.h"

SkinGdiHandle skinCreateFont(const SkinFontRecord &) { return nullptr; }
SkinGdiHandle skinCreateSolidBrush(SkinColor) { return nullptr; }
SkinGdiHandle skinCreateRegion(const std::vector<SkinRect> &, int32_t, int32_t) { return nullptr; }
void skinDeleteGdiObject(SkinGdiHandle) {}
#endif
