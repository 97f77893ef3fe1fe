// Layout under Wine with the fixed font set: the sizes the drawer measures equal the sizes
// GDI gives for the same runs in the same fonts; lines align, tabs stop, rules and
// links land where the text says, and draw reuses what measure recorded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawer_canvas.h"
#include "rich_text_drawer.h"

namespace {

// The body rule's font: Verdana at 10pt, 13 pixels at 96 dpi.
const FontSpec kBody{13, 400, false, L"Verdana"};
FontSpec weighted(int weight) { return FontSpec{13, weight, false, L"Verdana"}; }
FontSpec sized(int height) { return FontSpec{height, 400, false, L"Verdana"}; }

class LayoutTest : public ::testing::Test {
protected:
    Canvas canvas{400, 200};
    RichTextDrawer drawer;

    RunMetrics run(const FontSpec& f, const std::wstring& text) { return measureRun(canvas, f, text); }
    SIZE measure(const std::wstring& text) { return drawer.measure(canvas, text.c_str()); }
    SIZE draw(const std::wstring& text, RECT r = RECT{0, 0, 400, 200}) {
        drawer.measure(canvas, text.c_str());
        return drawer.draw(canvas, text.c_str(), r);
    }
    RECT linkRect(int n) const { return linkRectOf(drawer, n); }
};

// Sizes of single lines of runs: widths add up, the line is as tall as its largest ascent
// plus its largest descent.
struct TextRun {
    FontSpec font;
    std::wstring text;
};

SIZE lineOf(HDC dc, const std::vector<TextRun>& runs) {
    int width = 0, ascent = 0, descent = 0;
    for (const TextRun& r : runs) {
        const RunMetrics m = measureRun(dc, r.font, r.text);
        width += m.extent.cx;
        ascent = std::max(ascent, m.ascent);
        descent = std::max(descent, m.descent);
    }
    return {width, ascent + descent};
}

TEST_F(LayoutTest, EmptyText) {
    EXPECT_EQ(measure(L"").cx, 2);
    EXPECT_EQ(measure(L"").cy, 2);
    const SIZE drawn = drawer.draw(canvas, L"", RECT{0, 0, 50, 50});
    EXPECT_EQ(drawn.cx, 1);
    EXPECT_EQ(drawn.cy, 1);
    EXPECT_EQ(drawer.measure(canvas, nullptr).cx, 2);
}

TEST_F(LayoutTest, SingleLinesMeasureAsTheirRuns) {
    struct Case {
        const wchar_t* markup;
        std::vector<TextRun> runs;
    } cases[] = {
        {L"Hello world", {{kBody, L"Hello world"}}},
        {L"Hello <b>bold</b> text", {{kBody, L"Hello "}, {weighted(800), L"bold"}, {kBody, L" text"}}},
        // Nested bold doubles twice, capped at 900.
        {L"<b><b>x</b>y</b>z", {{weighted(900), L"x"}, {weighted(800), L"y"}, {kBody, L"z"}}},
        // A closing tag that does not match the innermost opening one is ignored.
        {L"<b>x</i>y", {{weighted(800), L"x"}, {weighted(800), L"y"}}},
        {L"<<b>", {{kBody, L"<b>"}}},
        {L"<font size=7>Big</font>small", {{sized(36), L"Big"}, {kBody, L"small"}}},
        {L"<font face=Arial size=20px>A</font>", {{FontSpec{20, 400, false, L"Arial"}, L"A"}}},
        {L"<i>it</i><font style=b>B</font><font style=\"b-b\">n</font>",
         {{FontSpec{13, 400, true, L"Verdana"}, L"it"}, {weighted(700), L"B"}, {kBody, L"n"}}},
        {L"<h1>Title</h1>", {{FontSpec{18, 700, false, L"Verdana"}, L"Title"}}},
        {L"<big>B</big><small>s</small>", {{sized(16), L"B"}, {sized(10), L"s"}}},
        {L"<span class=cpp-comment>c</span>", {{FontSpec{13, 400, true, L"Verdana"}, L"c"}}},
        // Transforms change the text that is measured.
        {L"<font>x</font><span>y</span>", {{kBody, L"xy"}}},
    };
    for (const Case& c : cases) {
        const SIZE expected = lineOf(canvas, c.runs);
        const SIZE got = measure(c.markup);
        EXPECT_EQ(got.cx, expected.cx + 2) << c.markup;
        EXPECT_EQ(got.cy, expected.cy + 2) << c.markup;
    }
}

TEST_F(LayoutTest, TextTransforms) {
    drawer.setCssStyles(L".u {text-transform:uppercase} .l {text-transform:lowercase} .c {text-transform:capitalize}");
    // Without the default sheet the body rule is gone: the drawer's default font, 12 pixels.
    const FontSpec base{12, 400, false, L"Verdana"};
    EXPECT_EQ(measure(L"<span class=u>abc</span>").cx, run(base, L"ABC").extent.cx + 2);
    EXPECT_EQ(measure(L"<span class=l>ABC</span>").cx, run(base, L"abc").extent.cx + 2);
    EXPECT_EQ(measure(L"<span class=c>hELLO wORLD</span>").cx, run(base, L"Hello World").extent.cx + 2);
}

TEST_F(LayoutTest, LinesStackAndBreakCounts) {
    const RunMetrics a = run(kBody, L"first line"), b = run(kBody, L"2nd");
    SIZE s = measure(L"first line<br>2nd");
    EXPECT_EQ(s.cx, a.extent.cx + 2);
    EXPECT_EQ(s.cy, a.extent.cy + b.extent.cy + 2);
    // A line feed is a break; a carriage return is no tag; br=3 moves down three lines.
    EXPECT_EQ(measure(L"first line\r\n2nd").cy, s.cy);
    EXPECT_EQ(measure(L"first line<br=3>2nd").cy, 4 * a.extent.cy + 2);
    // An empty line is as tall as the font's cell; a trailing break adds no empty line.
    EXPECT_EQ(measure(L"<br>").cy, a.cellHeight + 2);
    EXPECT_EQ(measure(L"x<br>").cy, a.extent.cy + 2);
    // Without kept control characters a line feed is dropped.
    drawer.setKeepControlChars(false);
    EXPECT_EQ(measure(L"first\nline").cx, run(kBody, L"firstline").extent.cx + 2);
}

TEST_F(LayoutTest, TabsStopEvery32Pixels) {
    const RunMetrics x = run(kBody, L"x"), ab = run(kBody, L"ab");
    EXPECT_EQ(measure(L"<t=3>x").cx, 96 + x.extent.cx + 2);
    EXPECT_EQ(measure(L"<t>x").cx, 32 + x.extent.cx + 2);
    EXPECT_EQ(measure(L"ab\tx").cx, (ab.extent.cx / 32 + 1) * 32 + x.extent.cx + 2);
    EXPECT_EQ(measure(L"ab<t=2>x").cx, (ab.extent.cx / 32 + 2) * 32 + x.extent.cx + 2);
    // The run after the tab is drawn at the stop.
    draw(L"<t=3><a>x</a>");
    EXPECT_EQ(linkRect(0).left, 96);
}

TEST_F(LayoutTest, LinesAlignInTheLayoutWidth) {
    const RunMetrics w = run(kBody, L"mid");
    draw(L"<center><a>mid</a></center><br><right><a>mid</a></right><br><a>mid</a>", RECT{0, 0, 301, 200});
    // The drawing width is the rectangle less one pixel: 300.
    EXPECT_EQ(linkRect(0).left, (300 - w.extent.cx) / 2);
    EXPECT_EQ(linkRect(1).left, 300 - w.extent.cx);
    EXPECT_EQ(linkRect(2).left, 0);
    EXPECT_EQ(linkRect(1).top, w.extent.cy);
    EXPECT_EQ(linkRect(1).right - linkRect(1).left, w.extent.cx);
}

TEST_F(LayoutTest, VerticalAlignmentInATallLine) {
    const RunMetrics big = run(sized(36), L"B"), small = run(kBody, L"s");
    const int height = big.ascent + std::max(big.descent, small.descent);
    draw(L"<font size=7>B</font><a>s</a><top><a>s</a></top><middle><a>s</a></middle><bottom><a>s</a></bottom>");
    EXPECT_EQ(linkRect(0).top, height - small.ascent - std::max(big.descent, small.descent));  // baseline
    EXPECT_EQ(linkRect(1).top, 0);
    EXPECT_EQ(linkRect(2).top, (height - small.extent.cy) / 2);
    EXPECT_EQ(linkRect(3).top, height - small.ascent);
    // Text is drawn where its rectangle says: dark pixels of the baseline run start below its top.
    const RECT ink = canvas.boundsOf([](COLORREF c) { return GetBValue(c) > 200 && GetRValue(c) < 100; });
    EXPECT_GE(ink.left, linkRect(0).left);
}

TEST_F(LayoutTest, LinksAreReportedWhereTheyAreDrawn) {
    // The caller's text alignment does not move the runs away from their rectangles.
    SetTextAlign(canvas, TA_BASELINE | TA_CENTER);
    draw(L"go <a href=\"http://x/\">there</a> or <a msg=close>close</a> <a>bare</a>", RECT{10, 20, 400, 200});
    EXPECT_EQ(GetTextAlign(canvas), static_cast<UINT>(TA_BASELINE | TA_CENTER));
    ASSERT_EQ(drawer.links().size(), 3u);
    EXPECT_EQ(drawer.links()[0].kind, kLinkHref);
    EXPECT_EQ(drawer.links()[0].target, L"http://x/");
    EXPECT_EQ(drawer.links()[1].kind, kLinkMessage);
    EXPECT_EQ(drawer.links()[1].target, L"close");
    EXPECT_EQ(drawer.links()[2].kind, kLinkMessage);
    EXPECT_EQ(drawer.links()[2].target, L"");
    // The blue ink of the a:link rule lies inside the links' rectangles only.
    auto blue = [](COLORREF c) { return GetBValue(c) > 128 && GetRValue(c) < 128 && GetGValue(c) < 128; };
    const RECT there = linkRect(0), close = linkRect(1);
    EXPECT_EQ(there.left, 10 + run(kBody, L"go ").extent.cx);
    EXPECT_EQ(there.top, 20);
    EXPECT_GT(canvas.count(there, blue), 10);
    EXPECT_GT(canvas.count(close, blue), 10);
    const int allBlue = canvas.count(RECT{0, 0, 400, 200}, blue);
    EXPECT_EQ(canvas.count(there, blue) + canvas.count(close, blue) + canvas.count(linkRect(2), blue), allBlue);
    EXPECT_EQ(canvas.count(RECT{10, 20, there.left, there.bottom}, blue), 0);
    // Points map back to links; the hand cursor shows over them only.
    const POINT inThere{(there.left + there.right) / 2, (there.top + there.bottom) / 2};
    EXPECT_EQ(drawer.linkAt(inThere), 0);
    EXPECT_EQ(drawer.linkAt(POINT{close.left + 1, close.top + 1}), 1);
    EXPECT_EQ(drawer.linkAt(POINT{12, 22}), kNoLink);
    EXPECT_EQ(drawer.handCursor(), LoadCursorW(nullptr, IDC_HAND));
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_FALSE(drawer.setCursorForPoint(POINT{12, 22}));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(drawer.setCursorForPoint(inThere));
    EXPECT_EQ(GetCursor(), drawer.handCursor());
}

TEST_F(LayoutTest, HoveredLinkIsUnderlined) {
    const std::wstring text = L"<a>first</a> <a>second</a>";
    auto blueRowsAt = [&](const RECT& r) {
        // Rows of the link rectangle where blue covers nearly the whole width: an underline.
        int rows = 0;
        for (int y = r.top; y < r.bottom; ++y)
            if (canvas.count(RECT{r.left, y, r.right, y + 1}, [](COLORREF c) { return GetBValue(c) > 128 && GetRValue(c) < 128; }) >=
                (r.right - r.left) * 9 / 10)
                ++rows;
        return rows;
    };
    draw(text);
    const RECT second = linkRect(1);
    EXPECT_EQ(blueRowsAt(second), 0);
    EXPECT_TRUE(drawer.updateHover(POINT{second.left + 2, second.top + 2}));
    EXPECT_FALSE(drawer.updateHover(POINT{second.left + 3, second.top + 2}));
    EXPECT_EQ(drawer.hoveredLink(), 1);
    canvas.clear(RGB(255, 255, 255));
    drawer.draw(canvas, text.c_str(), RECT{0, 0, 400, 200});
    EXPECT_GE(blueRowsAt(linkRect(1)), 1);
    EXPECT_EQ(blueRowsAt(linkRect(0)), 0);
    EXPECT_TRUE(drawer.updateHover(POINT{399, 199}));
    EXPECT_EQ(drawer.hoveredLink(), kNoLink);
}

TEST_F(LayoutTest, RulesSpanTheLayoutWidthThroughTheLineMiddle) {
    draw(L"<hr size=2 color=red>", RECT{0, 0, 201, 100});
    auto red = [](COLORREF c) { return c == RGB(255, 0, 0); };
    const RECT ink = canvas.boundsOf(red);
    // A line 2 + 8 pixels tall, the rule through its middle across the 200-pixel width.
    EXPECT_EQ(ink.left, 0);
    EXPECT_GE(ink.right, 199);
    EXPECT_LE(ink.right, 201);
    EXPECT_GE(ink.top, 4);
    EXPECT_LE(ink.bottom, 7);
    EXPECT_EQ(measure(L"<hr size=2>").cy, 10 + 2);
    // A pixel width, and a share that the block's width resolves against its widest line.
    const RunMetrics w = run(kBody, L"wide text");
    EXPECT_EQ(measure(L"<hr width=50>").cx, 50 + 2);
    EXPECT_EQ(measure(L"wide text<br><hr width=50%>").cx, w.extent.cx + 2);
}

TEST_F(LayoutTest, DrawWithoutMatchingMeasureMeasuresFirst) {
    const std::wstring a = L"<table><tr><td bgcolor=red>cell</td><td>x</td></tr></table><center>line</center><br>two";
    const std::wstring b = L"short";
    // The reference: measure and draw of the same text.
    Canvas reference(400, 200);
    RichTextDrawer other;
    other.measure(reference, a.c_str());
    const SIZE expected = other.draw(reference, a.c_str(), RECT{0, 0, 400, 200});
    // A draw after the measure of another text, and one with no measure at all.
    drawer.measure(canvas, b.c_str());
    SIZE got = drawer.draw(canvas, a.c_str(), RECT{0, 0, 400, 200});
    EXPECT_EQ(got.cx, expected.cx);
    EXPECT_EQ(got.cy, expected.cy);
    int differing = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x) differing += canvas.at(x, y) != reference.at(x, y);
    EXPECT_EQ(differing, 0);
    RichTextDrawer fresh;
    got = fresh.draw(canvas, a.c_str(), RECT{0, 0, 400, 200});
    EXPECT_EQ(got.cy, expected.cy);
    // A changed style sheet measures again as well.
    const SIZE before = drawer.measure(canvas, b.c_str());
    drawer.setCssStyles(L"body {font-size:30px}");
    EXPECT_GT(drawer.draw(canvas, b.c_str(), RECT{0, 0, 400, 200}).cy, before.cy);
}

TEST_F(LayoutTest, ResourceStringParts) {
    EXPECT_EQ(drawer.getResourceStringPart(201, 0), L"first");
    EXPECT_EQ(drawer.getResourceStringPart(201, 1), L"second part");
    EXPECT_EQ(drawer.getResourceStringPart(201, 2), L"third");
    EXPECT_EQ(drawer.getResourceStringPart(201, 3), L"");
    EXPECT_EQ(drawer.getResourceStringPart(201, -1), L"");
    EXPECT_EQ(drawer.getResourceStringPart(202, 0), L"only one");
    EXPECT_EQ(drawer.getResourceStringPart(203, 1), L"");
    EXPECT_EQ(drawer.getResourceStringPart(203, 2), L"after two");
    EXPECT_EQ(drawer.getResourceStringPart(9999, 0), L"");
}

}  // namespace
