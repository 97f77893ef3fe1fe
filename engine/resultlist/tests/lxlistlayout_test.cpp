// Layout of display markup into screen cells, through the test renderer (every
// character 6 pixels wide, lines 10 pixels high, a list 200 pixels wide).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testrenderer.h"

namespace {

std::vector<std::string> L(std::initializer_list<const char *> l)
{
    return std::vector<std::string>(l.begin(), l.end());
}

const LXLCharInfo *cellOf(const std::vector<LXLCharInfo> &cells, uint32_t cp, int nth = 0)
{
    for (const LXLCharInfo &c : cells) {
        if (c.codePoint == cp && nth-- == 0)
            return &c;
    }
    return nullptr;
}

TEST(ListLayout, BlocksStartAtTheirIndents)
{
    TestRenderer r;
    r.layout("\\TMalpha\\TEbeta");
    EXPECT_EQ(r.lines(), L({"4:alpha", "20:beta"}));
    // Other blocks: B and P at the translation indent on a new line, C on the same line.
    r.layout("\\TMa\\TBb\\TPc\\TCd");
    EXPECT_EQ(r.lines(), L({"4:a", "20:b", "20:cd"}));
    // Unknown block letters are ignored; a line feed returns to the line start.
    r.layout("\\TMa\\TZb\nc");
    EXPECT_EQ(r.lines(), L({"4:ab", "4:c"}));
}

TEST(ListLayout, StylesAndColoursComeFromTheStacks)
{
    TestRenderer r;
    r.layout("\\SB\\Srone\\sr two\\sB three");
    std::vector<LXLCharInfo> cells = r.cells();
    ASSERT_EQ(cells.size(), 13u);
    EXPECT_EQ(cells[0].style, 0x1u);
    EXPECT_EQ(cells[0].color, 4u);
    EXPECT_EQ(cellOf(cells, 't')->style, 0x1u);
    EXPECT_EQ(cellOf(cells, 't')->color, 1u);
    EXPECT_EQ(cellOf(cells, 'h')->style, 0u);

    // Every colour letter and style letter; "\S+" and "\s+" change nothing.
    struct Case {
        const char *markup;
        uint32_t style;
        LXLColor color;
    } cases[] = {
        {"\\Skx", 0, 1}, {"\\Sbx", 0, 2}, {"\\Srx", 0, 4}, {"\\Syx", 0, 5}, {"\\Spx", 0, 6},
        {"\\Sgx", 0, 7}, {"\\Slx", 0, 8}, {"\\SB\\SPx", 0, 1}, {"\\SIx", 0x2, 1}, {"\\SLx", 0x4, 1},
        {"\\S^x", 0x8, 1}, {"\\S_x", 0x10, 1}, {"\\S-x", 0x20, 1}, {"\\S<x", 0x40, 1}, {"\\SUx", 0x80, 1},
        {"\\SB\\SIx", 0x3, 1}, {"\\SB\\S+\\sBx", 0, 1}, {"\\SB\\s+x", 0x1, 1}, {"\\SQx", 0, 1},
    };
    for (const Case &c : cases) {
        r.layout(c.markup);
        std::vector<LXLCharInfo> cs = r.cells();
        ASSERT_EQ(cs.size(), 1u) << c.markup;
        EXPECT_EQ(cs[0].style, c.style) << c.markup;
        EXPECT_EQ(cs[0].color, c.color) << c.markup;
    }
}

TEST(ListLayout, SuperscriptAndSubscriptDigitsTakeTheirUnicodeForms)
{
    TestRenderer r;
    r.layout("x\\S^2\\s^");
    std::vector<LXLCharInfo> cells = r.cells();
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].codePoint, static_cast<uint32_t>('x'));
    EXPECT_EQ(cells[1].codePoint, 0xB2u);
    EXPECT_EQ(cells[1].style, 0x80u);

    r.layout("\\S^0139\\s^\\S_09\\s_\\S^a");
    std::vector<uint32_t> cps;
    for (const LXLCharInfo &c : r.cells())
        cps.push_back(c.codePoint);
    EXPECT_EQ(cps, (std::vector<uint32_t>{0x2070, 0xB9, 0xB3, 0x2079, 0x2080, 0x2089, 'a'}));
    EXPECT_EQ(r.cells().back().style, 0x8u);   // a letter keeps the superscript style
}

TEST(ListLayout, SpecialCharactersAndCommands)
{
    TestRenderer r;
    r.layout("a\xE2\x88\xAB" "b");
    EXPECT_EQ(r.lines(), L({"0:a[sh]b"}));

    // Definition numbers, fields and the literal backslash.
    r.layout("\\TM\\SWx\\D y\\D\\F3z \\q\\");
    EXPECT_EQ(r.lines(), L({"4:x1. y2.z \\q\\"}));
    std::vector<LXLCharInfo> cells = r.cells();
    EXPECT_TRUE(cells[0].flags & LXLCellTarget);
    EXPECT_FALSE(cellOf(cells, '1')->flags & LXLCellTarget);   // \D ends the click target
    EXPECT_EQ(cellOf(cells, 'z')->definition, 3);
    EXPECT_EQ(cellOf(cells, 'y')->definition, 0);
    // \TM and \TE restart the numbering.
    r.layout("\\TMa\\D\\D\\TEb\\D");
    EXPECT_EQ(r.lines(), L({"4:a1.2.", "20:b1."}));
}

TEST(ListLayout, TextKindsAndFlags)
{
    TestRenderer r;
    r.layout("\\STa b\\sT c\\Sxd\\sxe");
    std::vector<LXLCharInfo> cells = r.cells();
    EXPECT_EQ(cellOf(cells, 'a')->textKind, 2u);
    EXPECT_EQ(cellOf(cells, ' ')->textKind, 0u);   // not a word character
    EXPECT_EQ(cellOf(cells, 'c')->textKind, 0u);   // \sT ends the kind
    EXPECT_TRUE(cellOf(cells, 'd')->flags & LXLCellBoxed);
    EXPECT_FALSE(cellOf(cells, 'e')->flags & LXLCellBoxed);
    r.layout("plain");
    EXPECT_EQ(r.cells()[0].textKind, 1u);
}

TEST(ListLayout, ItalicChangesWidenThePreviousCell)
{
    TestRenderer r;
    r.layout("a\\SIb\\sIc");
    std::vector<LXLCharInfo> cells = r.cells();
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].width, 7);
    EXPECT_EQ(cells[1].x, 7);
    EXPECT_EQ(cells[1].width, 7);
    EXPECT_EQ(cells[2].x, 14);
}

TEST(ListLayout, WrapsAtTheLastBlankWithTheHangingIndent)
{
    TestRenderer r;
    // 4 + 31 * 6 = 190: the 32nd character ends at 196, the 33rd overflows.
    std::string words = "\\TM" + std::string(28, 'a') + " bbbbbb";
    r.layout(words);
    EXPECT_EQ(r.lines(), L({"4:aaaaaaaaaaaaaaaaaaaaaaaaaaaa ", "20:bbbbbb"}));
    // In a translation block the continuation starts at 20 + 16.
    r.layout("\\TE" + std::string(25, 'a') + " bbbbbb cc");
    EXPECT_EQ(r.lines(), L({"20:aaaaaaaaaaaaaaaaaaaaaaaaa ", "36:bbbbbb cc"}));
}

TEST(ListLayout, AWordWithoutBlankBreaksAfterTheOverflowingCharacter)
{
    TestRenderer r;
    r.layout("\\TM" + std::string(40, 'x'));
    std::vector<LXLCharInfo> cells = r.cells();
    ASSERT_EQ(cells.size(), 40u);
    // The 33rd character (x 196) overhangs the margin and stays on the first line.
    EXPECT_EQ(cells[32].x, 196);
    EXPECT_EQ(cells[32].y, 0);
    EXPECT_EQ(cells[33].x, 20);
    EXPECT_EQ(cells[33].y, 10);
}

TEST(ListLayout, LineLimitEndsInAnEllipsis)
{
    TestRenderer r;
    r.layout("\\TMone two three four five six seven eight nine ten", 1);
    std::vector<std::string> lines = r.lines();
    ASSERT_EQ(lines.size(), 1u);
    // The "n" of "seven" overflows: the word and the blank before it give way.
    EXPECT_EQ(lines[0], "4:one two three four five six...");
    std::vector<LXLCharInfo> cells = r.cells();
    EXPECT_EQ(cells[cells.size() - 3].x, cells[cells.size() - 4].x + 6);
    EXPECT_EQ(cells.back().x, cells[cells.size() - 2].x + 6);

    // A word of fewer than four cells takes characters before it too.
    r.layout("\\TM" + std::string(30, 'x') + " ab", 1);
    EXPECT_EQ(r.lines(), L({("4:" + std::string(29, 'x') + "...").c_str()}));

    // A long overflowing word is removed whole.
    r.layout("\\TMshort wordsthatgoonandonandonandonandon", 1);
    EXPECT_EQ(r.lines(), L({"4:short..."}));

    // Blocks count as lines: with two lines the third block is not laid out, without ellipsis.
    r.layout("\\TMa\\TEb\\TEc", 2);
    EXPECT_EQ(r.lines(), L({"4:a", "20:b"}));
    // Without a limit nothing is cut.
    r.layout("\\TMa\\TEb\\TEc", 0);
    EXPECT_EQ(r.lines(), L({"4:a", "20:b", "20:c"}));
}

TEST(ListLayout, BoxesAreFramedTwoPixelsInside)
{
    TestRenderer r;
    r.layout("\\TMab\\Sxcd\\sx");
    r.calls.clear();
    r.drawBoxes();
    std::vector<TestRenderer::Call> frames = r.callsOf("frameRect");
    ASSERT_EQ(frames.size(), 1u);
    // c lies at x 16: left 14, top -1, width 200 - 16, height 10 + 2.
    EXPECT_EQ(frames[0].a, -1);
    EXPECT_EQ(frames[0].b, 14);
    EXPECT_EQ(frames[0].c, 184);
    EXPECT_EQ(frames[0].d, 12);
    EXPECT_EQ(frames[0].color, 2u);
}

TEST(ListLayout, StringsAsMessagesAndTheirRuns)
{
    TestRenderer r;
    r.setString(lxstring("\\TM\\SBbold\\sB plain", LXEncodingUtf8));
    EXPECT_EQ(r.text(true), "4:bold plain*\n");
    EXPECT_FALSE(r.cells()[0].flags & LXLCellFirst);   // a message is not a result
    r.calls.clear();
    LXListIterator<LXLCharInfo> at = const_cast<LXList<LXLCharInfo> &>(r.getScreenBuffer()).begin();
    r.drawTerm(at, 0);
    std::vector<TestRenderer::Call> runs = r.callsOf("drawString");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, "bold");
    EXPECT_EQ(runs[0].style, 1u);
    EXPECT_EQ(runs[0].a, 4);
    EXPECT_EQ(runs[1].text, " plain");
    EXPECT_EQ(runs[1].a, 28);
    EXPECT_TRUE(at.isAtEnd());
}

} // namespace
