// Style-sheet scanning: how a sheet splits into rules, a rule into declarations, and how
// lengths, colours and numbers in values read.
#include "css_scanner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace richtext;

namespace {

std::wstring rulesOf(const std::wstring& sheet) {
    std::wstring out;
    for (const CssRule& r : splitStyleSheet(sheet)) out += r.selector + L"=" + r.declarations + L";";
    return out;
}

std::wstring declarationsOf(const std::wstring& text) {
    std::wstring out;
    for (const CssDeclaration& d : splitDeclarations(text)) out += d.property + L"=" + d.value + L";";
    return out;
}

TEST(StyleSheetSplitter, RulesAsTheSheetWritesThem) {
    struct Case {
        const wchar_t* sheet;
        const wchar_t* rules;
    } cases[] = {
        {L"", L""},
        {L"body {color:red}\r\nH1 {x:1}", L"body=color:red;h1=x:1;"},
        {L"A:Link{color:blue}", L"a:link=color:blue;"},
        // Only the first word of a selector counts.
        {L"p, h1 {color:red}", L"p,=color:red;"},
        {L".cpp-comment {font-style:italic}", L".cpp-comment=font-style:italic;"},
        // Leading punctuation is skipped to the next name; nothing between braces drops the rule.
        {L"  ;; #x {a:b} {} q {} r {s:t}", L"x=a:b;r=s:t;"},
        // A rule without "}" ends the sheet; a selector with neither space nor "{" too.
        {L"a {b:c} d {e:f", L"a=b:c;"},
        {L"a {b:c} trailing", L"a=b:c;"},
        {L"a {b:c} d", L"a=b:c;"},
        // The declaration text is kept as written (case, spaces, braces inside).
        {L"td { Color : Red ; }", L"td= Color : Red ; ;"},
    };
    for (const Case& c : cases) EXPECT_EQ(rulesOf(c.sheet), c.rules) << c.sheet;
}

TEST(StyleSheetSplitter, EveryRuleOfALaterSelectorIsReported) {
    // The drawer keeps the last of them; the splitter reports both in order.
    const std::vector<CssRule> rules = splitStyleSheet(L"b {color:red} B {font-weight:bold}");
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[1].selector, L"b");
    EXPECT_EQ(rules[1].declarations, L"font-weight:bold");
}

TEST(DeclarationSplitter, PropertiesAndValues) {
    struct Case {
        const wchar_t* text;
        const wchar_t* declarations;
    } cases[] = {
        {L"", L""},
        {L"font-size: 10pt; color:black; font-family:Verdana", L"font-size=10pt;color=black;font-family=verdana;"},
        {L"COLOR : Red ;margin-left:2px", L"color=red;margin-left=2px;"},
        // Quoted values lose their quotes and may hold ";".
        {L"font-family:\"Courier New;x\"; color:red", L"font-family=courier new;x;color=red;"},
        // An unclosed quote gives an empty value and nothing after it counts.
        {L"font-family:\"Courier; color:red", L"font-family=;"},
        {L"color:", L"color=;"},
        {L"color red; size:3", L"color=3;"},  // the value follows the next ":", wherever it is
        {L"color red", L""},                  // no ":" at all ends the text
        {L";;;  text-decoration: underline , overline", L"text-decoration=underline , overline;"},
    };
    for (const Case& c : cases) EXPECT_EQ(declarationsOf(c.text), c.declarations) << c.text;
}

TEST(Numbers, DecimalAndCForms) {
    EXPECT_EQ(readDecimal(L"010"), 10);  // decimal, never octal
    EXPECT_EQ(readDecimal(L"-12px"), -12);
    EXPECT_EQ(readDecimal(L"+7"), 7);
    EXPECT_EQ(readDecimal(L"px"), 0);
    EXPECT_EQ(readDecimal(L""), 0);
    EXPECT_EQ(readDecimal(L"99999999999999"), INT32_MAX);
    EXPECT_EQ(readDecimal(L"-99999999999999"), INT32_MIN);
    EXPECT_EQ(readCNumber(L"255"), 255u);
    EXPECT_EQ(readCNumber(L"0x00ff00"), 0xFF00u);
    EXPECT_EQ(readCNumber(L"0XFF"), 0xFFu);
    EXPECT_EQ(readCNumber(L"010"), 10u);
    EXPECT_EQ(readCNumber(L"0x"), 0u);
    EXPECT_EQ(readCNumber(L"0xFFFFFFFFFF"), 0xFFFFFFFFu);
}

TEST(LengthSyntax, NumberAndUnit) {
    struct Case {
        const wchar_t* value;
        bool empty;
        LengthUnit unit;
        int32_t number;
    } cases[] = {
        {L"", true, LengthUnit::None, 0},
        {L"  ", true, LengthUnit::None, 0},
        {L"12px", false, LengthUnit::Pixels, 12},
        {L"-5px", false, LengthUnit::Pixels, 5},  // lengths are taken as positive
        {L"+5PX", false, LengthUnit::Pixels, 5},
        {L"200%", false, LengthUnit::Percent, 200},
        {L"-50%", false, LengthUnit::Percent, 50},
        {L"14pt", false, LengthUnit::Points, 14},
        {L"2pc", false, LengthUnit::Picas, 2},
        {L"1in", false, LengthUnit::Inches, 1},
        {L"3cm", false, LengthUnit::Centimetres, 3},
        {L"10mm", false, LengthUnit::Millimetres, 10},
        {L"2em", false, LengthUnit::Em, 2},
        {L"3ex", false, LengthUnit::Ex, 3},
        {L"pt", false, LengthUnit::Points, 0},  // a unit without a number reads as 0
        {L"3", false, LengthUnit::None, 3},
        {L"12x", false, LengthUnit::None, 12},
        {L"abc", false, LengthUnit::None, 0},
        {L"-3", false, LengthUnit::None, 3},
    };
    for (const Case& c : cases) {
        const LengthSyntax s = parseLengthSyntax(c.value);
        EXPECT_EQ(s.empty, c.empty) << c.value;
        EXPECT_EQ(s.unit, c.unit) << c.value;
        EXPECT_EQ(s.number, c.number) << c.value;
    }
}

TEST(ColourSyntax, HexDecimalNamesAndWhatKeeps) {
    struct Case {
        const wchar_t* value;
        ColourForm form;
        uint32_t colorref;
        const wchar_t* name;
    } cases[] = {
        {L"#ff0000", ColourForm::Value, 0x0000FF, L""},
        {L"#FF9900", ColourForm::Value, 0x0099FF, L""},
        {L"#12345", ColourForm::Keep, 0, L""},    // five digits: not a colour
        {L"#1234567", ColourForm::Keep, 0, L""},
        {L"#gg0000", ColourForm::Keep, 0, L""},
        {L"#", ColourForm::Keep, 0, L""},
        {L"", ColourForm::Keep, 0, L""},
        {L"255", ColourForm::Value, 255, L""},  // the COLORREF itself: red
        {L"0xff0000", ColourForm::Value, 0xFF0000, L""},
        {L"Red", ColourForm::Name, 0, L"red"},
        {L"no-such-colour", ColourForm::Name, 0, L"no-such-colour"},
    };
    for (const Case& c : cases) {
        const ColourSyntax s = parseColourSyntax(c.value);
        EXPECT_EQ(s.form, c.form) << c.value;
        if (c.form == ColourForm::Value) {
            EXPECT_EQ(s.colorref, c.colorref) << c.value;
        }
        if (c.form == ColourForm::Name) {
            EXPECT_EQ(s.name, c.name) << c.value;
        }
    }
}

}  // namespace
