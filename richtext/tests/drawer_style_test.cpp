// The drawer's style sheet under Wine: the colour table, the default sheet, rules by
// selector, and each property's reading of values (colours, lengths in every unit at the
// DC's 96 dpi, percentages of the current value, the HTML font sizes).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "colour_keywords.h"
#include "drawer_canvas.h"
#include "rich_text_drawer.h"

namespace {

class StyleSheetTest : public ::testing::Test {
protected:
    Canvas canvas{8, 8};
    RichTextDrawer drawer;

    // The style after parsing text into a style prepared by setup.
    TextStyle parsed(const wchar_t* text, const std::function<void(TextStyle&)>& setup = {}) {
        TextStyle s;
        if (setup) setup(s);
        drawer.parseDeclarations(canvas, text, s);
        return s;
    }
    int fontCellHeight() {
        TEXTMETRICW tm{};
        GetTextMetricsW(canvas, &tm);
        return tm.tmHeight;
    }
};

TEST_F(StyleSheetTest, ColourTableHasTheKeywordsAndTheSystemColours) {
    const std::map<std::wstring, COLORREF>& colours = drawer.styleSheet().colours();
    EXPECT_EQ(colours.size(), 168u);
    for (size_t i = 0; i < richtext::kColourKeywordCount; ++i)
        EXPECT_EQ(drawer.colorByName(richtext::kColourKeywords[i].name, 1), richtext::kColourKeywords[i].colorref());
    const struct {
        const wchar_t* name;
        int index;
    } system[] = {
        {L"activeborder", COLOR_ACTIVEBORDER},   {L"activecaption", COLOR_ACTIVECAPTION},
        {L"appworkspace", COLOR_APPWORKSPACE},   {L"background", COLOR_BACKGROUND},
        {L"buttonface", COLOR_BTNFACE},          {L"buttonhighlight", COLOR_BTNHIGHLIGHT},
        {L"buttonshadow", COLOR_BTNSHADOW},      {L"buttontext", COLOR_BTNTEXT},
        {L"captiontext", COLOR_CAPTIONTEXT},     {L"graytext", COLOR_GRAYTEXT},
        {L"highlight", COLOR_HIGHLIGHT},         {L"highlighttext", COLOR_HIGHLIGHTTEXT},
        {L"inactiveborder", COLOR_INACTIVEBORDER}, {L"inactivecaption", COLOR_INACTIVECAPTION},
        {L"inactivecaptiontext", COLOR_INACTIVECAPTIONTEXT}, {L"infobackground", COLOR_INFOBK},
        {L"infotext", COLOR_INFOTEXT},           {L"menu", COLOR_MENU},
        {L"menutext", COLOR_MENUTEXT},           {L"scrollbar", COLOR_SCROLLBAR},
        {L"threeddarkshadow", COLOR_3DDKSHADOW}, {L"threedface", COLOR_BTNFACE},
        {L"threedhighlight", COLOR_BTNHIGHLIGHT}, {L"threedlightshadow", COLOR_3DLIGHT},
        {L"threedshadow", COLOR_BTNSHADOW},      {L"window", COLOR_WINDOW},
        {L"windowframe", COLOR_WINDOWFRAME},     {L"windowtext", COLOR_WINDOWTEXT},
    };
    EXPECT_EQ(std::size(system), 28u);
    for (const auto& c : system) {
        ASSERT_TRUE(colours.count(c.name)) << c.name;
        EXPECT_EQ(colours.at(c.name), GetSysColor(c.index)) << c.name;
    }
    // Names look up in any case; the spellings that do not exist fall back.
    EXPECT_EQ(drawer.colorByName(L"LightGrey", 1), RGB(211, 211, 211));
    EXPECT_EQ(drawer.colorByName(L"DarkGray", 1), RGB(169, 169, 169));
    for (const wchar_t* missing : {L"lightgray", L"grey", L"darkgrey", L"slategrey", L"rebeccapurple", L""})
        EXPECT_EQ(drawer.colorByName(missing, 12345), 12345u) << missing;
}

TEST_F(StyleSheetTest, DefaultSheetHasSeventeenRules) {
    drawer.setCssStyles(L"b {color:red}");
    drawer.setCssStyles(nullptr);
    const std::map<std::wstring, std::wstring>& rules = drawer.styleSheet().rules();
    const std::map<std::wstring, std::wstring> expected = {
        {L"body", L"font-size: 10pt; color:black; font-family:Verdana"},
        {L"p", L"font-size: 10pt; color:black; font-family:Verdana; font-weight:bold"},
        {L"h1", L"font-size: 14pt; color:black; font-family:Verdana; font-weight:bold"},
        {L"h2", L"font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold"},
        {L"h3", L"font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold"},
        {L"h4", L"font-size: 10pt; color:black; font-family:Verdana; font-weight:bold"},
        {L"h5", L"font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold"},
        {L"h6", L"font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal"},
        {L"pre", L"font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb"},
        {L"code", L"color:#990000; font-family:Arial"},
        {L"a:link", L"text-decoration:none; color:blue"},
        {L"a:hover", L"text-decoration:underline; color:blue"},
        {L"sub", L"font-size:65%; vertical-align:bottom"},
        {L"sup", L"font-size:65%; vertical-align:top"},
        {L"big", L"font-size:125%"},
        {L"small", L"font-size:75%"},
        {L".cpp-comment", L"color:green; font-style:italic"},
    };
    EXPECT_EQ(rules, expected);
    EXPECT_EQ(drawer.cssText(), StyleSheet::defaultSheet());
    size_t lines = 0;
    for (size_t p = 0; (p = drawer.cssText().find(L"\r\n", p)) != std::wstring::npos; p += 2) ++lines;
    EXPECT_EQ(lines, 17u);

    // The default rules at 96 dpi: 10pt is 13 pixels, 14pt 18; pre's face loses its quotes.
    TextStyle s;
    drawer.applyRule(canvas, L"h1", s);
    EXPECT_EQ(s.fontSize, 18);
    EXPECT_EQ(s.fontWeight, 700);
    drawer.applyRule(canvas, L"PRE", s);
    EXPECT_EQ(s.fontSize, 12);
    EXPECT_EQ(s.fontFace, L"courier");
    EXPECT_EQ(s.backgroundMode, kBackgroundOpaque);
    EXPECT_EQ(s.backgroundColor, RGB(0xfb, 0xed, 0xbb));
    drawer.applyRule(canvas, L"h6", s);
    EXPECT_EQ(s.fontSize, 8);  // 65 % of 12, rounded
    EXPECT_EQ(s.textColor, RGB(0x62, 0x62, 0x62));
}

TEST_F(StyleSheetTest, RulesBySelector) {
    // A later rule of a selector replaces the earlier one; only a selector's first word counts.
    drawer.setCssStyles(L"b {color:red}\nB {font-weight:bold}\np, h1 {color:blue}\n.note {font-style:italic}");
    TextStyle s;
    drawer.applyRule(canvas, L"b", s);
    EXPECT_EQ(s.textColor, 0u);
    EXPECT_EQ(s.fontWeight, 700);
    drawer.applyRule(canvas, L"h1", s);
    EXPECT_EQ(s.textColor, 0u);
    drawer.applyRule(canvas, L"p,", s);
    EXPECT_EQ(s.textColor, RGB(0, 0, 255));
    drawer.applyRule(canvas, L".NOTE", s);
    EXPECT_TRUE(s.italic);
    const TextStyle before = s;
    drawer.applyRule(canvas, L"unknown", s);
    EXPECT_EQ(s.fontSize, before.fontSize);
    EXPECT_EQ(drawer.styleSheet().rules().size(), 3u);
}

TEST_F(StyleSheetTest, ColourValues) {
    const COLORREF start = RGB(1, 2, 3);
    auto colour = [&](const wchar_t* text) { return parsed(text, [&](TextStyle& s) { s.textColor = start; }).textColor; };
    EXPECT_EQ(colour(L"color:#ff0000"), 0x0000FFu);
    EXPECT_EQ(colour(L"color:#12345"), start);
    EXPECT_EQ(colour(L"color:#ff00000"), start);
    EXPECT_EQ(colour(L"color:255"), 255u);
    EXPECT_EQ(colour(L"color:0x00ff00"), 0x00FF00u);
    EXPECT_EQ(colour(L"color:Navy"), RGB(0, 0, 128));
    EXPECT_EQ(colour(L"color:windowtext"), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(colour(L"color:no-such-colour"), start);
    EXPECT_EQ(colour(L"color:"), start);

    TextStyle s = parsed(L"background-color:#00ff00");
    EXPECT_EQ(s.backgroundMode, kBackgroundOpaque);
    EXPECT_EQ(s.backgroundColor, 0x00FF00u);
    s = parsed(L"background-color:transparent", [](TextStyle& t) { t.backgroundMode = kBackgroundOpaque; });
    EXPECT_EQ(s.backgroundMode, kBackgroundTransparent);
    EXPECT_EQ(s.backgroundColor, RGB(255, 255, 255));
    s = parsed(L"border-color:red");
    EXPECT_EQ(s.borderColorLight, RGB(255, 0, 0));
    EXPECT_EQ(s.borderColorDark, RGB(255, 0, 0));
}

TEST_F(StyleSheetTest, LengthsInEveryUnitAt96Dpi) {
    ASSERT_EQ(GetDeviceCaps(canvas, LOGPIXELSY), 96);
    const int cell = fontCellHeight();
    SIZE x{};
    GetTextExtentPoint32W(canvas, L"x", 1, &x);
    struct Case {
        const wchar_t* value;
        int expected;
    } cases[] = {
        {L"7px", 7},   {L"-5px", 5},  {L"+5px", 5},  {L"14pt", 18}, {L"1pt", 1},   {L"2pc", 32},
        {L"1in", 96},  {L"1cm", 37},  {L"10mm", 37}, {L"3cm", 113}, {L"pt", 0},    {L"50%", 5},
        {L"33%", 3},   {L"", 10},     {L"15", 15},   {L"3", 3},     {L"abc", 0},   {L"99999999px", kMaxLength},
    };
    for (const Case& c : cases) {
        const std::wstring text = L"margin-left:" + std::wstring(c.value);
        EXPECT_EQ(parsed(text.c_str(), [](TextStyle& s) { s.marginLeft = 10; }).marginLeft, c.expected) << c.value;
    }
    EXPECT_EQ(parsed(L"padding-top:2em").paddingTop, 2 * cell);
    EXPECT_EQ(parsed(L"padding-bottom:3ex").paddingBottom, 3 * x.cy);
    const TextStyle s = parsed(L"margin-right:4px; margin-top:5px; margin-bottom:6px; padding-left:7px; padding-right:8px");
    EXPECT_EQ(s.marginRight, 4);
    EXPECT_EQ(s.marginTop, 5);
    EXPECT_EQ(s.marginBottom, 6);
    EXPECT_EQ(s.paddingLeft, 7);
    EXPECT_EQ(s.paddingRight, 8);
}

TEST_F(StyleSheetTest, FontSizesWithTheHtmlTableAndPercentages) {
    struct Case {
        const wchar_t* value;
        int expected;
    } cases[] = {
        {L"200%", 24}, {L"3", 12}, {L"1", 8},   {L"7", 36}, {L"8", 8}, {L"-5px", 5}, {L"10pt", 13},
        {L"0", 1},     {L"", 12},  {L"75%", 9}, {L"99999", kMaxFontSize},
    };
    for (const Case& c : cases) {
        const std::wstring text = L"font-size:" + std::wstring(c.value);
        EXPECT_EQ(parsed(text.c_str()).fontSize, c.expected) << c.value;
    }
    // Relative to the size in force when the rule is applied.
    EXPECT_EQ(parsed(L"font-size:50%", [](TextStyle& s) { s.fontSize = 30; }).fontSize, 15);
}

TEST_F(StyleSheetTest, KeywordProperties) {
    EXPECT_EQ(parsed(L"font-weight:bold").fontWeight, 700);
    EXPECT_EQ(parsed(L"font-weight:bolder").fontWeight, 900);
    EXPECT_EQ(parsed(L"font-weight:lighter").fontWeight, 100);
    EXPECT_EQ(parsed(L"font-weight:600").fontWeight, 600);
    EXPECT_EQ(parsed(L"font-weight:", [](TextStyle& s) { s.fontWeight = 900; }).fontWeight, 400);
    EXPECT_EQ(parsed(L"font-family:\"Times New Roman\"").fontFace, L"times new roman");
    EXPECT_EQ(parsed(L"font-family:").fontFace, L"Verdana");
    EXPECT_TRUE(parsed(L"font-style:oblique").italic);
    EXPECT_FALSE(parsed(L"font-style:", [](TextStyle& s) { s.italic = true; }).italic);
    EXPECT_TRUE(parsed(L"font-style:slanted", [](TextStyle& s) { s.italic = true; }).italic);
    EXPECT_EQ(parsed(L"text-align:center").textAlign, kAlignCenter);
    EXPECT_EQ(parsed(L"text-align:right").textAlign, kAlignRight);
    EXPECT_EQ(parsed(L"text-align:justify", [](TextStyle& s) { s.textAlign = kAlignRight; }).textAlign, kAlignRight);
    EXPECT_EQ(parsed(L"text-transform:capitalize").textTransform, kTransformCapitalize);
    EXPECT_EQ(parsed(L"vertical-align:vcenter").verticalAlign, kVAlignMiddle);
    EXPECT_EQ(parsed(L"vertical-align:top").verticalAlign, kVAlignTop);
    EXPECT_EQ(parsed(L"vertical-align:", [](TextStyle& s) { s.verticalAlign = kVAlignTop; }).verticalAlign, kVAlignBaseline);
    EXPECT_EQ(parsed(L"border-style:double").borderStyle, kBorderDouble);
    EXPECT_EQ(parsed(L"border-style:dotted").borderStyle, kBorderDotted);
    EXPECT_EQ(parsed(L"border-style:groove", [](TextStyle& s) { s.borderStyle = kBorderDashed; }).borderStyle, kBorderDashed);

    TextStyle s = parsed(L"text-decoration:underline,overline");
    EXPECT_TRUE(s.underline);
    EXPECT_TRUE(s.overline);
    EXPECT_FALSE(s.strikeOut);
    s = parsed(L"text-decoration: line-through underline");
    EXPECT_TRUE(s.strikeOut && s.underline);
    s = parsed(L"text-decoration:", [](TextStyle& t) { t.underline = t.strikeOut = t.overline = true; });
    EXPECT_FALSE(s.underline || s.strikeOut || s.overline);

    auto border = [&](const wchar_t* text) { return parsed(text, [](TextStyle& t) { t.borderWidth = 4; }).borderWidth; };
    EXPECT_EQ(border(L"border-width:thin"), 3);
    EXPECT_EQ(border(L"border-width:thick"), 5);
    EXPECT_EQ(border(L"border-width:medium"), 4);
    EXPECT_EQ(border(L"size:2px"), 2);
    EXPECT_EQ(border(L"border-width:50%"), 2);

    // Unknown properties and values change nothing.
    const TextStyle plain;
    s = parsed(L"colour:red; font-size-adjust:3; float:left");
    EXPECT_EQ(s.textColor, plain.textColor);
    EXPECT_EQ(s.fontSize, plain.fontSize);
}

}  // namespace
