// Tables under Wine: the grid with spans, how column widths and row heights share a
// spanning cell's need, the table's own size requests, alignment, borders, spacing and
// backgrounds, probed in the pixels of a memory DC.
#include <gtest/gtest.h>

#include <string>

#include "drawer_canvas.h"
#include "rich_text_drawer.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kLime = RGB(0, 255, 0);
// Tables without spacing or cell padding, so that cells are exactly their columns.
const std::wstring kTight = L"<table cellpadding=0 cellspacing=0";

class TableTest : public ::testing::Test {
protected:
    Canvas canvas{300, 150};
    RichTextDrawer drawer;

    SIZE draw(const std::wstring& text, RECT r = RECT{0, 0, 300, 150}) {
        measured = drawer.measure(canvas, text.c_str());
        return drawer.draw(canvas, text.c_str(), r);
    }
    // The range [from, to) a colour covers along row y, or along column x.
    std::pair<int, int> span(COLORREF c, int y) { return extent(c, y, true); }
    std::pair<int, int> columnSpan(COLORREF c, int x) { return extent(c, x, false); }
    std::pair<int, int> extent(COLORREF c, int line, bool along) {
        int from = -1, to = -1;
        for (int i = 0; i < (along ? canvas.width() : canvas.height()); ++i)
            if ((along ? canvas.at(i, line) : canvas.at(line, i)) == c) {
                if (from < 0) from = i;
                to = i + 1;
            }
        return {from, to};
    }
    RECT linkRect(int n) const { return linkRectOf(drawer, n); }
    SIZE measured{};
};

using Range = std::pair<int, int>;

TEST_F(TableTest, SpanningCellSharesItsNeedOverColumns) {
    // Columns of 10 and 10 under a cell spanning both that needs 25 become 12 and 13.
    draw(kTight + L"><tr><td colspan=2 width=25 height=5></td></tr>"
                  L"<tr><td width=10 height=5 bgcolor=red></td><td width=10 height=5 bgcolor=blue></td></tr></table>");
    EXPECT_EQ(span(kRed, 7), Range(0, 12));
    EXPECT_EQ(span(kBlue, 7), Range(12, 25));
    EXPECT_EQ(measured.cx, 25 + 2);
    EXPECT_EQ(measured.cy, 10 + 2);
}

TEST_F(TableTest, SpanningCellSharesItsNeedOverRowsRemainderFirst) {
    draw(kTight + L"><tr><td rowspan=2 width=5 height=25 bgcolor=red></td><td width=5 height=10 bgcolor=blue></td></tr>"
                  L"<tr><td width=5 height=10 bgcolor=lime></td></tr></table>");
    EXPECT_EQ(columnSpan(kRed, 2), Range(0, 25));
    EXPECT_EQ(columnSpan(kBlue, 7), Range(0, 13));
    EXPECT_EQ(columnSpan(kLime, 7), Range(13, 25));
}

TEST_F(TableTest, WidthAttributeSpreadsOverColumnsRemainderFirst) {
    draw(kTight + L" width=101><tr><td width=10 height=4 bgcolor=red></td><td width=20 height=4 bgcolor=blue></td>"
                  L"<td width=10 height=4 bgcolor=lime></td></tr></table>");
    EXPECT_EQ(span(kRed, 1), Range(0, 31));
    EXPECT_EQ(span(kBlue, 1), Range(31, 71));
    EXPECT_EQ(span(kLime, 1), Range(71, 101));
    EXPECT_EQ(measured.cx, 101 + 2);
    // A percentage takes a share of the drawing width (200 here: the rectangle less one).
    canvas.clear(RGB(255, 255, 255));
    draw(kTight + L" width=50%><tr><td width=10 height=4 bgcolor=red></td><td width=10 height=4 bgcolor=blue></td></tr></table>",
         RECT{0, 0, 201, 100});
    EXPECT_EQ(span(kRed, 1), Range(0, 50));
    EXPECT_EQ(span(kBlue, 1), Range(50, 100));
}

TEST_F(TableTest, NarrowTablesAlignInTheLayoutWidth) {
    const std::wstring cell = L"><tr><td width=20 height=4 bgcolor=red></td></tr></table>";
    draw(kTight + L" align=center" + cell, RECT{0, 0, 201, 100});
    EXPECT_EQ(span(kRed, 1), Range(90, 110));
    canvas.clear(RGB(255, 255, 255));
    draw(kTight + L" align=right" + cell, RECT{0, 0, 201, 100});
    EXPECT_EQ(span(kRed, 1), Range(180, 200));
}

TEST_F(TableTest, BordersSpacingAndPadding) {
    const std::wstring text =
        L"<table border=2 borderstyle=solid bordercolor=red cellspacing=3 cellpadding=1><tr><td bgcolor=blue>x</td></tr></table>";
    draw(text);
    const RunMetrics x = measureRun(canvas, FontSpec{}, L"x");
    // Table border (2), the table's spacing (3), the cell's spacing (3), its 1-pixel border
    // and its padding (1) on each side of the content.
    EXPECT_EQ(measured.cx, x.extent.cx + 2 * (2 + 3 + 3 + 1 + 1) + 2);
    EXPECT_EQ(measured.cy, x.extent.cy + 2 * (2 + 3 + 3 + 1 + 1) + 2);
    const int y = 9 + 1 + x.extent.cy / 2;
    EXPECT_EQ(canvas.at(0, y), kRed);
    EXPECT_EQ(canvas.at(1, y), kRed);
    for (int i = 2; i < 8; ++i) EXPECT_EQ(canvas.at(i, y), RGB(255, 255, 255)) << i;
    EXPECT_EQ(canvas.at(8, y), kRed);   // the cell's own border, 1 pixel, in the border colour
    EXPECT_EQ(canvas.at(9, y), kBlue);  // the cell's background inside it
    const int right = measured.cx - 2 - 1;
    EXPECT_EQ(canvas.at(right, y), kRed);
    EXPECT_EQ(canvas.at(right - 8, y), kRed);
}

TEST_F(TableTest, NestedTablesAndCellAlignment) {
    draw(kTight + L"><tr><td>" + kTight + L"><tr><td width=7 height=3 bgcolor=red></td></tr></table></td>"
                  L"<td width=5 height=3 bgcolor=blue></td></tr></table>");
    EXPECT_EQ(span(kRed, 1), Range(0, 7));
    EXPECT_EQ(span(kBlue, 1), Range(7, 12));

    canvas.clear(RGB(255, 255, 255));
    const RunMetrics x = measureRun(canvas, FontSpec{}, L"x");
    draw(kTight + L"><tr><td height=30 valign=middle><a>x</a></td><td height=30 valign=bottom><a>x</a></td>"
                  L"<td height=30><a>x</a></td><td width=40 align=right><a>x</a></td></tr></table>");
    EXPECT_EQ(linkRect(0).top, (30 - x.extent.cy) / 2);
    // At the bottom of the cell the run keeps its own bottom alignment in the line: its
    // baseline sits on the cell's bottom edge.
    EXPECT_EQ(linkRect(1).top, 30 - x.ascent);
    EXPECT_EQ(linkRect(2).top, 0);
    EXPECT_EQ(linkRect(3).right, 3 * x.extent.cx + 40);
}

TEST_F(TableTest, TextAboveAndBelowATable) {
    const RunMetrics above = measureRun(canvas, FontSpec{}, L"above");
    draw(L"above" + kTight + L"><tr><td width=10 height=10 bgcolor=red></td></tr></table><a>below</a>");
    EXPECT_EQ(columnSpan(kRed, 3), Range(above.extent.cy, above.extent.cy + 10));
    EXPECT_EQ(linkRect(0).top, above.extent.cy + 10);
    EXPECT_EQ(measured.cy, 2 * above.extent.cy + 10 + 2);
}

TEST_F(TableTest, GradientBackground) {
    draw(kTight + L" bgcolor=#000000 bgendcolor=#ff0000 bgeffect=hgradient><tr><td width=128 height=4></td></tr></table>");
    for (int x = 0; x < 128; ++x) EXPECT_EQ(canvas.at(x, 2), RGB((255 * (x / 2)) >> 6, 0, 0)) << x;
    EXPECT_EQ(canvas.at(128, 2), RGB(255, 255, 255));
}

TEST_F(TableTest, SpansOutOfRangeStayInTheGrid) {
    // colspan 0 and negative count as 1; huge spans are clamped to the grid.
    draw(kTight + L"><tr><td colspan=0 width=10 height=2 bgcolor=red></td><td colspan=-4 width=10 height=2 bgcolor=blue></td>"
                  L"<td rowspan=99999 colspan=1 width=3 height=2 bgcolor=lime></td></tr></table>");
    EXPECT_EQ(span(kRed, 1), Range(0, 10));
    EXPECT_EQ(span(kBlue, 1), Range(10, 20));
    EXPECT_EQ(span(kLime, 1), Range(20, 23));
    EXPECT_EQ(measured.cy, 2 + 2);
    canvas.clear(RGB(255, 255, 255));
    draw(kTight + L"><tr><td colspan=2147483647 width=6 height=2 bgcolor=red></td></tr><tr><td width=1 height=2></td></tr></table>");
    EXPECT_EQ(span(kRed, 1), Range(0, 6));
    // Rowspans that push a row's cells past the widest row widen the grid.
    canvas.clear(RGB(255, 255, 255));
    draw(kTight + L"><tr><td rowspan=2 width=4 height=4></td><td width=4 height=2></td></tr>"
                  L"<tr><td width=4 height=2></td><td width=4 height=2 bgcolor=blue></td></tr></table>");
    EXPECT_EQ(span(kBlue, 3), Range(8, 12));
}

}  // namespace
