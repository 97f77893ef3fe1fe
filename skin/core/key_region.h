// The shape of a picture by its key colour: the pixels that differ from the key, as one-row
// rectangles (maximal runs), rows from the top of the picture. A region made of them
// (skinCreateRegion) shapes a window by its picture.
#ifndef WORDMERE_SKIN_CORE_KEY_REGION_H
#define WORDMERE_SKIN_CORE_KEY_REGION_H

#include <vector>

#include "skin_types.h"

class RasterImage;

// The colour of the pixel at x and at `row` counted from the top, in COLORREF order.
SkinColor skinPixelColor(const RasterImage &image, int32_t x, int32_t row);
std::vector<SkinRect> keyColorRuns(const RasterImage &image, SkinColor key);

#endif
