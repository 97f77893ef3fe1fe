#include "skin_geometry.h"

#include <algorithm>

namespace {

enum PieceClass { kCorner, kTopBottomEdge, kLeftRightEdge, kCentre };

PieceClass classOf(int piece)
{
    switch (piece) {
    case 1:
    case 7:
        return kTopBottomEdge;
    case 3:
    case 5:
        return kLeftRightEdge;
    case 4:
        return kCentre;
    default:
        return kCorner;
    }
}

bool stretches(int32_t layout, PieceClass c)
{
    const bool edge = c == kTopBottomEdge || c == kLeftRightEdge;
    switch (layout) {
    case kNineGridStretched:
    case kNineGridCornersTiled:
        return true;
    case kNineGridCentreStretched:
        return c == kCentre;
    case kNineGridEdgesStretched:
        return edge;
    case kNineGridTopBottomStretched:
        return c == kTopBottomEdge;
    case kNineGridLeftRightStretched:
        return c == kLeftRightEdge;
    case kNineGridTopBottomCentreStretched:
        return c == kTopBottomEdge || c == kCentre;
    case kNineGridLeftRightCentreStretched:
        return c == kLeftRightEdge || c == kCentre;
    default:
        return false;
    }
}

// The three spans of one direction: border, middle, border.
struct Cuts {
    int32_t at[4];
};

Cuts cut(int32_t start, int32_t end, int32_t first, int32_t last)
{
    return Cuts{{start, start + first, end - last, end}};
}

int32_t clampTo(int32_t value, int32_t high) { return std::max<int32_t>(0, std::min(value, high)); }

}  // namespace

int32_t nineGridPieceMode(int32_t layout, int piece)
{
    const PieceClass c = classOf(piece);
    if (c == kCorner) {
        return kSkinPictureNatural;
    }
    return stretches(layout, c) ? kSkinPictureStretched : kSkinPictureTiled;
}

std::vector<SkinGridPiece> nineGridPieces(const SkinRect &source, const SkinRect &margins, int32_t layout,
                                          const SkinRect &target)
{
    std::vector<SkinGridPiece> pieces;
    if (source.isEmpty() || target.isEmpty()) {
        return pieces;
    }
    const int32_t left = clampTo(margins.left, source.width());
    const int32_t right = clampTo(margins.right, source.width() - left);
    const int32_t top = clampTo(margins.top, source.height());
    const int32_t bottom = clampTo(margins.bottom, source.height() - top);
    const int32_t targetLeft = std::min(left, target.width());
    const int32_t targetRight = std::min(right, target.width() - targetLeft);
    const int32_t targetTop = std::min(top, target.height());
    const int32_t targetBottom = std::min(bottom, target.height() - targetTop);

    const Cuts sx = cut(source.left, source.right, left, right);
    const Cuts sy = cut(source.top, source.bottom, top, bottom);
    const Cuts tx = cut(target.left, target.right, targetLeft, targetRight);
    const Cuts ty = cut(target.top, target.bottom, targetTop, targetBottom);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const int index = row * 3 + col;
            SkinGridPiece p{index, makeSkinRect(sx.at[col], sy.at[row], sx.at[col + 1], sy.at[row + 1]),
                            makeSkinRect(tx.at[col], ty.at[row], tx.at[col + 1], ty.at[row + 1]),
                            nineGridPieceMode(layout, index)};
            if (!p.source.isEmpty() && !p.target.isEmpty()) {
                pieces.push_back(p);
            }
        }
    }
    return pieces;
}

std::vector<SkinRect> tileRects(int32_t tileWidth, int32_t tileHeight, const SkinRect &target)
{
    std::vector<SkinRect> tiles;
    if (tileWidth <= 0 || tileHeight <= 0 || target.isEmpty()) {
        return tiles;
    }
    for (int32_t y = target.top; y < target.bottom; y += tileHeight) {
        for (int32_t x = target.left; x < target.right; x += tileWidth) {
            tiles.push_back(makeSkinRect(x, y, std::min(x + tileWidth, target.right), std::min(y + tileHeight, target.bottom)));
        }
    }
    return tiles;
}

namespace {
// One direction of keepInside: [start, end) moved into [low, high).
void keepSpan(int32_t low, int32_t high, int32_t &start, int32_t &end)
{
    const int32_t size = end - start;
    if (size > high - low) {
        start = low;
        end = high;
        return;
    }
    if (end > high) {
        start = high - size;
        end = high;
    }
    if (start < low) {
        start = low;
        end = low + size;
    }
}
}  // namespace

SkinRect keepInside(const SkinRect &bounds, const SkinRect &rect)
{
    SkinRect r = rect;
    keepSpan(bounds.left, bounds.right, r.left, r.right);
    keepSpan(bounds.top, bounds.bottom, r.top, r.bottom);
    return r;
}

int32_t mirrorX(int32_t windowLeft, int32_t windowRight, int32_t x) { return windowLeft + windowRight - x; }

SkinRect mirrorRect(int32_t windowLeft, int32_t windowRight, const SkinRect &rect)
{
    return makeSkinRect(mirrorX(windowLeft, windowRight, rect.right), rect.top, mirrorX(windowLeft, windowRight, rect.left),
                        rect.bottom);
}

std::string joinTemporaryPath(const std::string &folder, const std::string &name, const std::string &extension)
{
    std::string path = folder;
    if (path.empty() || path.back() != '\\') {
        path += '\\';
    }
    path += name;
    if (!extension.empty()) {
        path += '.';
        path += extension;
    }
    return path;
}

SkinRect intersectSkinRect(const SkinRect &a, const SkinRect &b)
{
    SkinRect r = makeSkinRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                              std::min(a.bottom, b.bottom));
    return r.isEmpty() ? makeSkinRect(0, 0, 0, 0) : r;
}
