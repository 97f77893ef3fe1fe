// The drawing arithmetic: nine-grid pieces at odd sizes (smaller and larger than the source,
// zero and oversized margins), the draw mode of every piece under every layout, tiles,
// keeping a rectangle inside bounds, mirroring and the fallback temporary name.
#include <gtest/gtest.h>

#include "skin_geometry.h"

namespace {

SkinRect R(int32_t l, int32_t t, int32_t r, int32_t b) { return makeSkinRect(l, t, r, b); }

// No target pixel lies in two pieces (with `complete`, every one lies in one), and the
// pieces stay inside the target.
void expectCoversTarget(const std::vector<SkinGridPiece> &pieces, const SkinRect &target, bool complete)
{
    for (int32_t y = target.top; y < target.bottom; ++y) {
        for (int32_t x = target.left; x < target.right; ++x) {
            int hits = 0;
            for (const auto &p : pieces) {
                hits += x >= p.target.left && x < p.target.right && y >= p.target.top && y < p.target.bottom;
            }
            ASSERT_LE(hits, 1) << "pixel " << x << "," << y;
            if (complete) {
                ASSERT_EQ(hits, 1) << "pixel " << x << "," << y;
            }
        }
    }
    for (const auto &p : pieces) {
        EXPECT_GE(p.target.left, target.left);
        EXPECT_LE(p.target.right, target.right);
        EXPECT_GE(p.target.top, target.top);
        EXPECT_LE(p.target.bottom, target.bottom);
        EXPECT_FALSE(p.source.isEmpty());
        EXPECT_FALSE(p.target.isEmpty());
    }
}

struct GridCase {
    const char *what;
    SkinRect source;
    SkinRect margins;
    SkinRect target;
    size_t pieces;
    bool complete;  // whether the pieces cover the whole target
    SkinRect centreSource;  // of piece 4 when there is one
    SkinRect centreTarget;
};

TEST(NineGridPieces, CutSourceAndTargetAtOddSizes)
{
    const GridCase cases[] = {
        {"larger target", R(10, 20, 40, 50), R(3, 4, 5, 6), R(0, 0, 101, 77), 9, true, R(13, 24, 35, 44), R(3, 4, 96, 71)},
        {"same size", R(0, 0, 30, 30), R(3, 4, 5, 6), R(7, 9, 37, 39), 9, true, R(3, 4, 25, 24), R(10, 13, 32, 33)},
        {"target smaller than the borders", R(0, 0, 30, 30), R(10, 10, 10, 10), R(0, 0, 13, 7), 2, true, R(0, 0, 0, 0),
         R(0, 0, 0, 0)},
        {"zero margins: the centre is everything", R(5, 5, 21, 13), R(0, 0, 0, 0), R(0, 0, 33, 17), 1, true, R(5, 5, 21, 13),
         R(0, 0, 33, 17)},
        {"margins larger than the source", R(0, 0, 12, 8), R(20, 30, 20, 30), R(0, 0, 50, 40), 1, false, R(0, 0, 0, 0),
         R(0, 0, 0, 0)},
        {"negative margins count as zero", R(0, 0, 12, 8), R(-3, -3, -3, -3), R(0, 0, 50, 40), 1, true, R(0, 0, 12, 8),
         R(0, 0, 50, 40)},
        {"one-pixel target", R(0, 0, 30, 30), R(3, 4, 5, 6), R(2, 2, 3, 3), 1, true, R(0, 0, 0, 0), R(0, 0, 0, 0)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto pieces = nineGridPieces(c.source, c.margins, kNineGridTiled, c.target);
        EXPECT_EQ(pieces.size(), c.pieces);
        expectCoversTarget(pieces, c.target, c.complete);
        for (const auto &p : pieces) {
            EXPECT_GE(p.source.left, c.source.left);
            EXPECT_LE(p.source.right, c.source.right);
            EXPECT_GE(p.source.top, c.source.top);
            EXPECT_LE(p.source.bottom, c.source.bottom);
            if (p.index == 4) {
                EXPECT_EQ(p.source, c.centreSource);
                EXPECT_EQ(p.target, c.centreTarget);
            }
        }
    }
}

TEST(NineGridPieces, EmptySourceOrTargetGivesNoPieces)
{
    EXPECT_TRUE(nineGridPieces(R(0, 0, 0, 10), R(1, 1, 1, 1), 0, R(0, 0, 10, 10)).empty());
    EXPECT_TRUE(nineGridPieces(R(0, 0, 10, 10), R(1, 1, 1, 1), 0, R(5, 5, 5, 20)).empty());
    EXPECT_TRUE(nineGridPieces(R(0, 0, 10, 10), R(1, 1, 1, 1), 0, R(5, 5, 1, 1)).empty());
}

TEST(NineGridPieces, ModeOfEveryPieceUnderEveryLayout)
{
    // Rows: layouts 0..8 and an unknown one; columns: pieces 0..8; N natural, T tiled, S stretched.
    const char *table[] = {
        "NTNTTTNTN",  // 0 all tiled
        "NSNSSSNSN",  // 1 all stretched
        "NTNTSTNTN",  // 2 centre stretched
        "NSNSTSNSN",  // 3 edges stretched
        "NSNTTTNSN",  // 4 top and bottom
        "NTNSTSNTN",  // 5 left and right
        "NSNTSTNSN",  // 6 top, bottom and centre
        "NTNSSSNTN",  // 7 left, right and centre
        "NSNSSSNSN",  // 8 everything but the corners
        "NTNTTTNTN",  // 99: tiled
    };
    const int32_t layouts[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 99};
    for (int i = 0; i < 10; ++i) {
        for (int piece = 0; piece < 9; ++piece) {
            const int32_t mode = nineGridPieceMode(layouts[i], piece);
            const char got = mode == kSkinPictureNatural ? 'N' : mode == kSkinPictureTiled ? 'T' : 'S';
            EXPECT_EQ(got, table[i][piece]) << "layout " << layouts[i] << " piece " << piece;
        }
    }
}

TEST(TileRects, CoverTheTargetAndStopOnEmptyTiles)
{
    const auto tiles = tileRects(4, 3, R(1, 2, 11, 9));
    ASSERT_EQ(tiles.size(), 9u);
    EXPECT_EQ(tiles[0], R(1, 2, 5, 5));
    EXPECT_EQ(tiles[2], R(9, 2, 11, 5));
    EXPECT_EQ(tiles[8], R(9, 8, 11, 9));
    // Zero or negative tile sizes once looped forever: they give no tiles now.
    EXPECT_TRUE(tileRects(0, 3, R(0, 0, 10, 10)).empty());
    EXPECT_TRUE(tileRects(3, 0, R(0, 0, 10, 10)).empty());
    EXPECT_TRUE(tileRects(-2, 3, R(0, 0, 10, 10)).empty());
    EXPECT_TRUE(tileRects(3, 3, R(0, 0, 0, 10)).empty());
}

TEST(KeepInside, MovesInsideAndClampsWhatIsTooLarge)
{
    const SkinRect bounds = R(0, 0, 800, 600);
    struct {
        SkinRect in, out;
    } cases[] = {
        {R(10, 10, 110, 60), R(10, 10, 110, 60)},
        {R(750, 580, 850, 630), R(700, 550, 800, 600)},
        {R(-20, -5, 80, 45), R(0, 0, 100, 50)},
        {R(100, 100, 1000, 200), R(0, 100, 800, 200)},  // wider than the work area
        {R(100, -50, 200, 900), R(100, 0, 200, 600)},   // taller
    };
    for (const auto &c : cases) {
        EXPECT_EQ(keepInside(bounds, c.in), c.out);
    }
}

TEST(Mirroring, XAndRectangles)
{
    EXPECT_EQ(mirrorX(100, 300, 100), 300);
    EXPECT_EQ(mirrorX(100, 300, 250), 150);
    EXPECT_EQ(mirrorRect(100, 300, R(110, 5, 130, 9)), R(270, 5, 290, 9));
}

TEST(TemporaryPath, JoinsWithOneSeparator)
{
    EXPECT_EQ(joinTemporaryPath("C:\\temp", "x", "avi"), "C:\\temp\\x.avi");
    EXPECT_EQ(joinTemporaryPath("C:\\temp\\", "x", "avi"), "C:\\temp\\x.avi");
    EXPECT_EQ(joinTemporaryPath("C:\\temp", "x", ""), "C:\\temp\\x");
}

}  // namespace
