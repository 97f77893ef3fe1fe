// The drawer's style sheet: the table of rules by selector, the table of colour names, and
// the interpretation of declarations against a style. Declarations are parsed each time a
// rule is applied, so relative values (percentages, em, ex, thin and thick) are relative to
// the style in force where the tag opens, and lengths are read against the DC passed in:
// em and ex from the font selected in it, physical units from its vertical resolution.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <string_view>

#include "text_style.h"

// The largest font height and other length a declaration can give; larger values are
// capped so hostile sheets cannot ask GDI for absurd fonts or overflow the layout.
constexpr int kMaxFontSize = 1000;
constexpr int kMaxLength = 10000;

class StyleSheet {
public:
    StyleSheet();

    // Empties the rule table, then stores and parses text; null loads the default sheet.
    void setCssStyles(const wchar_t* text);
    const std::wstring& cssText() const { return cssText_; }
    const std::map<std::wstring, std::wstring>& rules() const { return rules_; }
    // Changes whenever the rules change, so measured layouts know when they are stale.
    unsigned generation() const { return generation_; }

    // Parses the declarations of the rule of that selector into style; an unknown selector
    // changes nothing.
    void applyRule(HDC dc, std::wstring_view name, TextStyle& style) const;
    void parseDeclarations(HDC dc, std::wstring_view text, TextStyle& style) const;

    const std::map<std::wstring, COLORREF>& colours() const { return colours_; }
    COLORREF colorByName(std::wstring_view name, COLORREF fallback) const;

    // Values as declarations and tag attributes write them.
    COLORREF colourValue(std::wstring_view value, COLORREF current) const;
    // A length relative to current; with htmlSizes a bare 1 to 7 is an HTML font size.
    static int lengthValue(HDC dc, std::wstring_view value, int current, bool htmlSizes = false);
    static int fontSizeValue(HDC dc, std::wstring_view value, int current);
    static int fontWeightValue(std::wstring_view value);
    // Keyword values (lower case, as in declarations); other words give current.
    static int textAlignValue(std::wstring_view value, int current);
    static int verticalAlignValue(std::wstring_view value, int current);
    static int borderStyleValue(std::wstring_view value, int current);

    static const wchar_t* defaultSheet();

private:
    void addColourKeywords();
    void addSystemColours();

    std::wstring cssText_;
    std::map<std::wstring, std::wstring> rules_;
    std::map<std::wstring, COLORREF> colours_;
    unsigned generation_ = 0;
};
