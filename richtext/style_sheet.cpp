#include "style_sheet.h"

#include <algorithm>

#include "colour_keywords.h"
#include "css_scanner.h"

using richtext::CssDeclaration;

namespace {

constexpr int kPointsPerInch = 72;
constexpr int kPicasPerInch = 6;
constexpr double kInchesPerCentimetre = 0.3937;
constexpr double kInchesPerMillimetre = 0.03937;
constexpr int kThinPercent = 75;
constexpr int kThickPercent = 125;
constexpr int kBolderWeight = 900;
constexpr int kLighterWeight = 100;
constexpr int kMaxWeight = 1000;
// Font heights of the HTML sizes 1 to 7.
constexpr int kHtmlFontSizes[] = {8, 10, 12, 14, 18, 24, 36};

struct SystemColourName {
    const wchar_t* name;
    int index;
};

constexpr SystemColourName kSystemColours[] = {
    {L"activeborder", COLOR_ACTIVEBORDER},
    {L"activecaption", COLOR_ACTIVECAPTION},
    {L"appworkspace", COLOR_APPWORKSPACE},
    {L"background", COLOR_BACKGROUND},
    {L"buttonface", COLOR_BTNFACE},
    {L"buttonhighlight", COLOR_BTNHIGHLIGHT},
    {L"buttonshadow", COLOR_BTNSHADOW},
    {L"buttontext", COLOR_BTNTEXT},
    {L"captiontext", COLOR_CAPTIONTEXT},
    {L"graytext", COLOR_GRAYTEXT},
    {L"highlight", COLOR_HIGHLIGHT},
    {L"highlighttext", COLOR_HIGHLIGHTTEXT},
    {L"inactiveborder", COLOR_INACTIVEBORDER},
    {L"inactivecaption", COLOR_INACTIVECAPTION},
    {L"inactivecaptiontext", COLOR_INACTIVECAPTIONTEXT},
    {L"infobackground", COLOR_INFOBK},
    {L"infotext", COLOR_INFOTEXT},
    {L"menu", COLOR_MENU},
    {L"menutext", COLOR_MENUTEXT},
    {L"scrollbar", COLOR_SCROLLBAR},
    {L"threeddarkshadow", COLOR_3DDKSHADOW},
    {L"threedface", COLOR_3DFACE},
    {L"threedhighlight", COLOR_3DHIGHLIGHT},
    {L"threedlightshadow", COLOR_3DLIGHT},
    {L"threedshadow", COLOR_3DSHADOW},
    {L"window", COLOR_WINDOW},
    {L"windowframe", COLOR_WINDOWFRAME},
    {L"windowtext", COLOR_WINDOWTEXT},
};

// Each line ends with CR LF.
constexpr const wchar_t* kDefaultSheet =
    L"body {font-size: 10pt; color:black; font-family:Verdana}\r\n"
    L"p {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    L"h1 {font-size: 14pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    L"h2 {font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
    L"h3 {font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold}\r\n"
    L"h4 {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    L"h5 {font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
    L"h6 {font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal}\r\n"
    L"pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}\r\n"
    L"code {color:#990000; font-family:Arial}\r\n"
    L"a:link {text-decoration:none; color:blue}\r\n"
    L"a:hover {text-decoration:underline; color:blue}\r\n"
    L"sub {font-size:65%; vertical-align:bottom}\r\n"
    L"sup {font-size:65%; vertical-align:top}\r\n"
    L"big {font-size:125%}\r\n"
    L"small {font-size:75%}\r\n"
    L".cpp-comment {color:green; font-style:italic}\r\n";

// A keyword of a property and the value it stands for.
struct Keyword {
    const wchar_t* word;
    int value;
};

// The value of the keyword that value is; other values give current.
template <size_t N>
int byKeyword(std::wstring_view value, const Keyword (&keywords)[N], int current) {
    for (const Keyword& k : keywords)
        if (value == k.word) return k.value;
    return current;
}

constexpr Keyword kTextAligns[] = {{L"", kAlignLeft}, {L"left", kAlignLeft}, {L"center", kAlignCenter}, {L"right", kAlignRight}};
constexpr Keyword kTransforms[] = {{L"", kTransformNone},
                                   {L"none", kTransformNone},
                                   {L"uppercase", kTransformUppercase},
                                   {L"lowercase", kTransformLowercase},
                                   {L"capitalize", kTransformCapitalize}};
constexpr Keyword kVerticalAligns[] = {{L"", kVAlignBaseline},   {L"baseline", kVAlignBaseline}, {L"middle", kVAlignMiddle},
                                       {L"vcenter", kVAlignMiddle}, {L"top", kVAlignTop},           {L"bottom", kVAlignBottom}};
constexpr Keyword kBorderStyles[] = {{L"", kBorderNone},       {L"none", kBorderNone},     {L"solid", kBorderSolid},
                                     {L"dotted", kBorderDotted}, {L"dashed", kBorderDashed}, {L"double", kBorderDouble}};

// The margins and paddings, each a length relative to its current value.
struct BoxProperty {
    const wchar_t* name;
    int TextStyle::*field;
};
constexpr BoxProperty kBoxProperties[] = {
    {L"margin-left", &TextStyle::marginLeft},   {L"margin-top", &TextStyle::marginTop},
    {L"margin-right", &TextStyle::marginRight}, {L"margin-bottom", &TextStyle::marginBottom},
    {L"padding-left", &TextStyle::paddingLeft}, {L"padding-top", &TextStyle::paddingTop},
    {L"padding-right", &TextStyle::paddingRight}, {L"padding-bottom", &TextStyle::paddingBottom},
};

int TextStyle::*boxLength(const std::wstring& property) {
    for (const BoxProperty& b : kBoxProperties)
        if (property == b.name) return b.field;
    return nullptr;
}

int clampLength(long long v) { return static_cast<int>(std::clamp<long long>(v, 0, kMaxLength)); }

int dpiOf(HDC dc) { return GetDeviceCaps(dc, LOGPIXELSY); }

int fontCellHeight(HDC dc) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    return tm.tmHeight;
}

int heightOfX(HDC dc) {
    SIZE size{};
    GetTextExtentPoint32W(dc, L"x", 1, &size);
    return size.cy;
}

void applyTextDecoration(std::wstring_view value, TextStyle& style) {
    auto apply = [&style](std::wstring_view word) {
        if (word == L"none") style.underline = style.strikeOut = style.overline = false;
        else if (word == L"underline") style.underline = true;
        else if (word == L"line-through") style.strikeOut = true;
        else if (word == L"overline") style.overline = true;
    };
    if (value.empty()) apply(L"none");
    size_t p = 0;
    while (p < value.size()) {
        const size_t end = std::min(value.find_first_of(L" ,", p), value.size());
        if (end > p) apply(value.substr(p, end - p));
        p = end + 1;
    }
}

int borderWidthValue(HDC dc, std::wstring_view value, int current) {
    if (value == L"thin") return MulDiv(current, kThinPercent, 100);
    if (value == L"thick") return MulDiv(current, kThickPercent, 100);
    if (value == L"medium") return current;
    return StyleSheet::lengthValue(dc, value, current);
}

}  // namespace

StyleSheet::StyleSheet() {
    addColourKeywords();
    addSystemColours();
}

void StyleSheet::addColourKeywords() {
    for (size_t i = 0; i < richtext::kColourKeywordCount; ++i)
        colours_[richtext::kColourKeywords[i].name] = richtext::kColourKeywords[i].colorref();
}

// Read once, when the table is built: a later change of the system colours is not seen.
void StyleSheet::addSystemColours() {
    for (const SystemColourName& c : kSystemColours) colours_[c.name] = GetSysColor(c.index);
}

const wchar_t* StyleSheet::defaultSheet() { return kDefaultSheet; }

void StyleSheet::setCssStyles(const wchar_t* text) {
    if (!text) text = kDefaultSheet;
    rules_.clear();
    ++generation_;
    cssText_ = text;
    for (richtext::CssRule& rule : richtext::splitStyleSheet(cssText_))
        rules_[rule.selector] = std::move(rule.declarations);  // a later rule replaces an earlier one
}

void StyleSheet::applyRule(HDC dc, std::wstring_view name, TextStyle& style) const {
    const auto it = rules_.find(richtext::asciiLower(name));
    if (it != rules_.end()) parseDeclarations(dc, it->second, style);
}

COLORREF StyleSheet::colorByName(std::wstring_view name, COLORREF fallback) const {
    const auto it = colours_.find(richtext::asciiLower(name));
    return it == colours_.end() ? fallback : it->second;
}

COLORREF StyleSheet::colourValue(std::wstring_view value, COLORREF current) const {
    const richtext::ColourSyntax s = richtext::parseColourSyntax(value);
    switch (s.form) {
    case richtext::ColourForm::Value: return s.colorref;
    case richtext::ColourForm::Name: return colorByName(s.name, current);
    default: return current;
    }
}

// Physical units against the DC's vertical resolution: pt, pc and in in integers
// (n x dpi / 72, n x dpi / 6, n x dpi, so 14pt is 18 at 96 dpi), cm and mm converted once
// and truncated; percentages of current rounded by MulDiv; results capped to 0..kMaxLength.
int StyleSheet::lengthValue(HDC dc, std::wstring_view value, int current, bool htmlSizes) {
    const richtext::LengthSyntax s = richtext::parseLengthSyntax(value);
    if (s.empty) return current;
    const long long n = s.number;
    switch (s.unit) {
    case richtext::LengthUnit::Percent: return clampLength(MulDiv(current, s.number, 100));
    case richtext::LengthUnit::Pixels: return clampLength(n);
    case richtext::LengthUnit::Ex: return clampLength(n * heightOfX(dc));
    case richtext::LengthUnit::Em: return clampLength(n * fontCellHeight(dc));
    case richtext::LengthUnit::Inches: return clampLength(n * dpiOf(dc));
    case richtext::LengthUnit::Centimetres: return clampLength(static_cast<long long>(n * dpiOf(dc) * kInchesPerCentimetre));
    case richtext::LengthUnit::Millimetres: return clampLength(static_cast<long long>(n * dpiOf(dc) * kInchesPerMillimetre));
    case richtext::LengthUnit::Points: return clampLength(n * dpiOf(dc) / kPointsPerInch);
    case richtext::LengthUnit::Picas: return clampLength(n * dpiOf(dc) / kPicasPerInch);
    case richtext::LengthUnit::None: break;
    }
    if (htmlSizes && n >= 1 && n <= static_cast<long long>(std::size(kHtmlFontSizes))) return kHtmlFontSizes[n - 1];
    return clampLength(n);
}

int StyleSheet::fontSizeValue(HDC dc, std::wstring_view value, int current) {
    return std::clamp(lengthValue(dc, value, current, true), 1, kMaxFontSize);
}

int StyleSheet::fontWeightValue(std::wstring_view value) {
    if (value.empty() || value == L"normal") return kNormalWeight;
    if (value == L"bold") return kBoldWeight;
    if (value == L"bolder") return kBolderWeight;
    if (value == L"lighter") return kLighterWeight;
    return std::clamp(richtext::readDecimal(value), 0, kMaxWeight);
}

int StyleSheet::textAlignValue(std::wstring_view value, int current) { return byKeyword(value, kTextAligns, current); }

int StyleSheet::verticalAlignValue(std::wstring_view value, int current) {
    return byKeyword(value, kVerticalAligns, current);
}

int StyleSheet::borderStyleValue(std::wstring_view value, int current) { return byKeyword(value, kBorderStyles, current); }

void StyleSheet::parseDeclarations(HDC dc, std::wstring_view text, TextStyle& style) const {
    for (const CssDeclaration& d : richtext::splitDeclarations(text)) {
        const std::wstring& p = d.property;
        const std::wstring_view v = d.value;
        if (p == L"font-size") {
            style.fontSize = fontSizeValue(dc, v, style.fontSize);
        } else if (p == L"font-family") {
            if (!v.empty()) style.fontFace = std::wstring(v);
        } else if (p == L"font-style") {
            if (v.empty() || v == L"normal") style.italic = false;
            else if (v == L"italic" || v == L"oblique") style.italic = true;
        } else if (p == L"font-weight") {
            style.fontWeight = fontWeightValue(v);
        } else if (p == L"text-align") {
            style.textAlign = textAlignValue(v, style.textAlign);
        } else if (p == L"text-transform") {
            style.textTransform = byKeyword(v, kTransforms, style.textTransform);
        } else if (p == L"color") {
            style.textColor = colourValue(v, style.textColor);
        } else if (p == L"background-color") {
            if (v == L"transparent") {
                style.backgroundMode = kBackgroundTransparent;
            } else {
                style.backgroundMode = kBackgroundOpaque;
                style.backgroundColor = colourValue(v, style.backgroundColor);
            }
        } else if (p == L"text-decoration") {
            applyTextDecoration(v, style);
        } else if (p == L"vertical-align") {
            style.verticalAlign = verticalAlignValue(v, style.verticalAlign);
        } else if (p == L"border-color") {
            style.borderColorLight = style.borderColorDark = colourValue(v, style.borderColorLight);
        } else if (p == L"border-width" || p == L"size") {
            style.borderWidth = borderWidthValue(dc, v, style.borderWidth);
        } else if (p == L"border-style") {
            style.borderStyle = borderStyleValue(v, style.borderStyle);
        } else if (int TextStyle::*length = boxLength(p)) {
            style.*length = lengthValue(dc, v, style.*length);
        }
    }
}
