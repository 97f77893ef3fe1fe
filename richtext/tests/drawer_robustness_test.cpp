// Malformed markup through measure and draw under Wine: unterminated tags and rules, huge
// spans and counts, deep nesting of styles and tables, images with impossible sizes, and
// random mixtures of all of them. Every pass must end with sane sizes, leave the DC as it
// found it and give back every GDI object it made.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "drawer_canvas.h"
#include "rich_text_drawer.h"

namespace {

constexpr int kSaneExtent = 1 << 24;  // far beyond any real layout, far below overflow

// The highest GDI handle slot in use: a burst of fresh objects takes the free slots first,
// so every object a pass leaks raises it once the free ones are used up. (Wine answers 0
// to GetGuiResources, so the count has to be seen through the handles themselves.)
unsigned gdiHighWater() {
    constexpr int kBurst = 64;
    HGDIOBJ objects[kBurst];
    unsigned highest = 0;
    for (HGDIOBJ& o : objects) {
        o = CreateSolidBrush(0);
        highest = std::max<unsigned>(highest, reinterpret_cast<uintptr_t>(o) & 0xFFFF);
    }
    for (HGDIOBJ o : objects) DeleteObject(o);
    return highest;
}

class RobustnessTest : public ::testing::Test {
protected:
    Canvas canvas{200, 120};
    RichTextDrawer drawer;
    unsigned highWater = 0;

    void SetUp() override {
        survives(L"<b>warm</b> up <table><tr><td><bmp idres=101 style=s></td></tr></table>");
        highWater = gdiHighWater();
    }
    // Objects a pass makes are given back: the handle slots in use stay where they were.
    void TearDown() override { EXPECT_EQ(gdiHighWater(), highWater); }

    // Measures and draws; the sizes must be positive and bounded, the DC as it was.
    void survives(const std::wstring& text) {
        SetTextColor(canvas, RGB(1, 2, 3));
        SetBkColor(canvas, RGB(4, 5, 6));
        SetBkMode(canvas, OPAQUE);
        SetTextAlign(canvas, TA_RIGHT | TA_BOTTOM);
        const HGDIOBJ font = GetCurrentObject(canvas, OBJ_FONT);
        const SIZE m = drawer.measure(canvas, text.c_str());
        const SIZE d = drawer.draw(canvas, text.c_str(), RECT{0, 0, 200, 120});
        const std::string shown = std::string(text.begin(), text.end()).substr(0, 200);
        for (LONG v : {m.cx, m.cy, d.cx, d.cy}) {
            EXPECT_GE(v, 1) << shown;
            EXPECT_LT(v, kSaneExtent) << shown;
        }
        EXPECT_EQ(GetTextColor(canvas), RGB(1, 2, 3)) << shown;
        EXPECT_EQ(GetBkColor(canvas), RGB(4, 5, 6)) << shown;
        EXPECT_EQ(GetBkMode(canvas), OPAQUE) << shown;
        EXPECT_EQ(GetTextAlign(canvas), static_cast<UINT>(TA_RIGHT | TA_BOTTOM)) << shown;
        EXPECT_EQ(GetCurrentObject(canvas, OBJ_FONT), font) << shown;
        for (const LinkArea& a : drawer.linkAreas()) EXPECT_LT(a.link, static_cast<int>(drawer.links().size()));
    }
};

std::wstring repeat(const std::wstring& s, int n) {
    std::wstring out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST_F(RobustnessTest, MalformedCases) {
    const std::vector<std::wstring> cases = {
        L"<", L"<<", L"<b", L"text <font size=7 color=red", L"</b></table></td></tr>", L"<table", L"<table><tr><td",
        L"<table><td colspan=0 rowspan=0>x</table>", L"<table><tr><td colspan=-7 rowspan=-3>x</td></tr></table>",
        L"<table><tr><td colspan=2147483647 rowspan=2147483647>x</td><td colspan=99999>y</td></tr><tr><td>z</table>",
        L"<br=2147483647>x", L"<br=-5>x", L"<t=999999999>x", L"<t=-1>x", L"<hr width=2147483647 size=2147483647>",
        L"<hr width=99999999% size=-4>", L"<font size=2147483647px>big</font>", L"<font size=0>tiny</font>",
        L"<font face=\"" + repeat(L"F", 300) + L"\">long face</font>", L"<a href=\"unclosed>link", L"<a><a><a>x</a>",
        L"<ilst cx=0 cy=0 idres=101>", L"<ilst cx=1 cy=1 idres=101 index=2147483647>", L"<ilst index=3>",
        L"<bmp idres=101 width=2147483647% height=-5>", L"<bmp handle=1>", L"<bmp handle=4294967295>",
        L"<icon handle=65537>", L"<ilst handle=305419896 index=0>", L"<bmp file=\"\">",
        L"<table background=nosuchfile.bmp bgeffect=77 border=-3 cellpadding=2147483647 cellspacing=99999999in>"
        L"<tr><td>x</td></tr></table>",
        L"<table width=2147483647 height=2147483647><tr><td>x</td></tr></table>",
        L"<span class=" + repeat(L"c", 10000) + L">x</span>", repeat(L"\t", 2000), repeat(L"\n", 2000),
    };
    for (const std::wstring& text : cases) survives(text);
}

TEST_F(RobustnessTest, DeepNesting) {
    survives(repeat(L"<b><i><u>", 5000) + L"deep" + repeat(L"</u></i></b>", 5000));
    survives(repeat(L"<table><tr><td>", 500) + L"deep" + repeat(L"</td></tr></table>", 500));
    survives(repeat(L"<table><tr><td>", 500) + L"unclosed");
    survives(repeat(L"<font size=200%>", 100) + L"x");
    // Styles nested past the saved-style limit stop changing; closing tags then restore
    // what was saved, so the text after them is plain again.
    const std::wstring plain = L"plain";
    const SIZE alone = drawer.measure(canvas, plain.c_str());
    const SIZE after = drawer.measure(canvas, (repeat(L"<b>", 1000) + repeat(L"</b>", 1000) + plain).c_str());
    EXPECT_EQ(after.cx, alone.cx);
}

TEST_F(RobustnessTest, HugeTableGrid) {
    std::wstring rows;
    for (int r = 0; r < 1200; ++r) rows += L"<tr>" + repeat(L"<td colspan=3 rowspan=5>.</td>", 40);
    survives(L"<table>" + rows + L"</table>");
}

TEST_F(RobustnessTest, RandomMixtures) {
    const std::vector<std::wstring> pieces = {
        L"<b>", L"</b>", L"<i>", L"</i>", L"<table", L"<table>", L"</table>", L"<tr>", L"</tr>", L"<td", L"<td>",
        L"</td>", L" colspan=", L" rowspan=", L"0", L"-1", L"99999", L"3", L">", L"<", L"<<", L"\"", L"=", L" ",
        L"\t", L"\n", L"\r", L"text", L"<br=", L"<t=", L"<hr", L" width=", L"%", L" size=", L"<font", L" color=",
        L"#ff00", L"<a href=", L"</a>", L"<center>", L"</center>", L"<ilst", L" cx=", L" cy=", L" idres=101", L"<bmp",
        L"<icon", L" handle=", L" index=", L"<span class=cpp-comment>", L"</span>", L"<h1>", L"</h1>", L"<sub>",
        L"<bmp idres=101 style=s>", L"<icon idres=102 style=gs>", L"<ilst idres=101 cx=4 cy=3 index=1>",
        L" valign=middle", L" align=right", L" bgeffect=3vgradient", L" border=2 borderstyle=double", L"px", L"em",
    };
    std::mt19937 random(20240522);  // fixed: the same texts on every run
    for (int round = 0; round < 400; ++round) {
        std::wstring text;
        const int length = std::uniform_int_distribution<int>(1, 80)(random);
        for (int i = 0; i < length; ++i) text += pieces[std::uniform_int_distribution<size_t>(0, pieces.size() - 1)(random)];
        drawer.setHoveredLink(std::uniform_int_distribution<int>(-2, 3)(random));
        drawer.setKeepControlChars(round % 3 != 0);
        survives(text);
    }
}

TEST_F(RobustnessTest, MalformedStyleSheets) {
    const std::vector<std::wstring> sheets = {
        L"body {font-size: 99999999999pt", L"body {", L"{}", L"}}}{{{", L"body {font-size:-99999%; color:#zzzzzz}",
        L"body {font-family:\"unclosed; color:red}", L"td {border-width:thick; border-style:double; margin-left:-1in}",
        L"a:hover {font-size:500%} a:link {font-size:1px}", repeat(L"x {a:b}", 3000),
    };
    for (const std::wstring& sheet : sheets) {
        drawer.setCssStyles(sheet.c_str());
        survives(L"<table border=1><tr><td>cell <a>link</a></td></tr></table><h1>head</h1><sub>s</sub>");
    }
}

}  // namespace
