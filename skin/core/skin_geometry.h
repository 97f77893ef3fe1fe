// The arithmetic behind the skin's drawing: how a nine-grid cuts its source and its target
// into pieces and how each piece is drawn, where the copies of a tiled picture go, how a
// rectangle is kept inside bounds and mirrored, and the fallback name of a temporary file.
// Platform-neutral, so it is tested natively; the Windows drawing (skin_draw.h) uses it.
#ifndef WORDMERE_SKIN_CORE_SKIN_GEOMETRY_H
#define WORDMERE_SKIN_CORE_SKIN_GEOMETRY_H

#include <string>
#include <vector>

#include "skin_types.h"

// Nine-grid layouts (skin/FORMAT.md): which pieces are stretched, the others tiled.
enum SkinNineGridLayout : int32_t {
    kNineGridTiled = 0,
    kNineGridStretched = 1,
    kNineGridCentreStretched = 2,
    kNineGridEdgesStretched = 3,
    kNineGridTopBottomStretched = 4,
    kNineGridLeftRightStretched = 5,
    kNineGridTopBottomCentreStretched = 6,
    kNineGridLeftRightCentreStretched = 7,
    kNineGridCornersTiled = 8,
};

// One piece of a nine-grid: where it comes from, where it goes and how it is drawn.
struct SkinGridPiece {
    int index;  // 0..8, row by row from the top left
    SkinRect source;
    SkinRect target;
    int32_t mode;  // SkinPictureMode
};

// The draw mode of piece 0..8 under a layout. Corners are never scaled: they are drawn at
// their natural size (cut to the target when it is smaller).
int32_t nineGridPieceMode(int32_t layout, int piece);

// The pieces of a nine-grid drawn into target. Margins are clamped to the source (never
// negative, left + right and top + bottom never more than its size) and the target's border
// widths to the target; pieces with an empty source or target are left out.
std::vector<SkinGridPiece> nineGridPieces(const SkinRect &source, const SkinRect &margins, int32_t layout,
                                          const SkinRect &target);

// The rectangles of tiles of the given size laid from target's top-left corner, each cut to
// target, row by row. None when the tile or the target is empty.
std::vector<SkinRect> tileRects(int32_t tileWidth, int32_t tileHeight, const SkinRect &target);

// rect moved inside bounds where it fits, keeping its size; a rectangle larger than bounds
// takes the bounds' extent in that direction.
SkinRect keepInside(const SkinRect &bounds, const SkinRect &rect);

// Mirroring in a right-to-left window whose screen rectangle spans left..right.
int32_t mirrorX(int32_t windowLeft, int32_t windowRight, int32_t x);
SkinRect mirrorRect(int32_t windowLeft, int32_t windowRight, const SkinRect &rect);

// The name of a temporary file when the system cannot make a unique one: folder and name
// joined by one backslash (none added when the folder ends in one), then "." and the
// extension when there is one.
std::string joinTemporaryPath(const std::string &folder, const std::string &name, const std::string &extension);

// The intersection of two rectangles (empty when they do not meet).
SkinRect intersectSkinRect(const SkinRect &a, const SkinRect &b);

#endif
