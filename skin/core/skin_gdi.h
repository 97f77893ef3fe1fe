// The drawing resources skin objects make: fonts, solid brushes and regions. On Windows they
// are GDI objects (HFONT, HBRUSH, HRGN behind an opaque handle); elsewhere nothing is made
// and every handle stays null, so the objects' platform-neutral code is the same in both builds.
#ifndef WORDMERE_SKIN_CORE_SKIN_GDI_H
#define WORDMERE_SKIN_CORE_SKIN_GDI_H

#include <vector>

#include "skin_types.h"

using SkinGdiHandle = void *;

SkinGdiHandle skinCreateFont(const SkinFontRecord &font);
SkinGdiHandle skinCreateSolidBrush(SkinColor color);
// A region made of the rectangles (one-row runs from keyColorRuns); null when there are none.
SkinGdiHandle skinCreateRegion(const std::vector<SkinRect> &rects, int32_t width, int32_t height);
void skinDeleteGdiObject(SkinGdiHandle handle);

#endif
