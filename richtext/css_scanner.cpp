#include "css_scanner.h"

#include <algorithm>
#include <limits>

namespace richtext {

namespace {

constexpr size_t kUnitLength = 2;  // units are the last two characters of a length

bool isHexDigit(wchar_t c) {
    return isDigit(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

int hexValue(wchar_t c) {
    if (isDigit(c)) return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return c - L'A' + 10;
}

size_t skipToNameStart(std::wstring_view text, size_t p) {
    while (p < text.size() && !isNameStart(text[p])) ++p;
    return p;
}

size_t skipSpaces(std::wstring_view text, size_t p) {
    while (p < text.size() && isSpace(text[p])) ++p;
    return p;
}

struct UnitName {
    const wchar_t* name;
    LengthUnit unit;
};

constexpr UnitName kUnits[] = {
    {L"px", LengthUnit::Pixels},      {L"ex", LengthUnit::Ex},          {L"em", LengthUnit::Em},
    {L"in", LengthUnit::Inches},      {L"cm", LengthUnit::Centimetres}, {L"mm", LengthUnit::Millimetres},
    {L"pt", LengthUnit::Points},      {L"pc", LengthUnit::Picas},
};

LengthUnit unitOf(std::wstring_view suffix) {
    std::wstring lower = asciiLower(suffix);
    for (const UnitName& u : kUnits)
        if (lower == u.name) return u.unit;
    return LengthUnit::None;
}

std::wstring_view dropSign(std::wstring_view text) {
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) text.remove_prefix(1);
    return text;
}

}  // namespace

bool isAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool isNameStart(wchar_t c) { return isDigit(c) || isAsciiLetter(c) || c == L'.'; }
bool isSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::wstring asciiLower(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return out;
}

std::wstring_view trimSpaces(std::wstring_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

int32_t readDecimal(std::wstring_view text) {
    size_t p = 0;
    bool negative = false;
    if (p < text.size() && (text[p] == L'+' || text[p] == L'-')) negative = text[p++] == L'-';
    int64_t value = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    for (; p < text.size() && isDigit(text[p]); ++p) {
        value = value * 10 + (text[p] - L'0');
        if (value > limit) value = limit;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

uint32_t readCNumber(std::wstring_view text) {
    const uint64_t limit = std::numeric_limits<uint32_t>::max();
    uint64_t value = 0;
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        for (size_t p = 2; p < text.size() && isHexDigit(text[p]); ++p)
            value = std::min(limit, value * 16 + hexValue(text[p]));
        return static_cast<uint32_t>(value);
    }
    for (size_t p = 0; p < text.size() && isDigit(text[p]); ++p)
        value = std::min(limit, value * 10 + (text[p] - L'0'));
    return static_cast<uint32_t>(value);
}

std::vector<CssRule> splitStyleSheet(std::wstring_view text) {
    std::vector<CssRule> rules;
    size_t p = 0;
    for (;;) {
        p = skipToNameStart(text, p);
        if (p >= text.size()) break;
        const size_t selectorEnd = text.find_first_of(L" {", p);
        if (selectorEnd == std::wstring_view::npos) break;
        const size_t open = text.find(L'{', selectorEnd);
        if (open == std::wstring_view::npos) break;
        const size_t close = text.find(L'}', open + 1);
        if (close == std::wstring_view::npos) break;  // a rule without "}" ends the sheet
        if (close > open + 1)
            rules.push_back({asciiLower(text.substr(p, selectorEnd - p)), std::wstring(text.substr(open + 1, close - open - 1))});
        p = close + 1;
    }
    return rules;
}

std::vector<CssDeclaration> splitDeclarations(std::wstring_view original) {
    const std::wstring lowered = asciiLower(original);
    const std::wstring_view text = lowered;
    std::vector<CssDeclaration> out;
    size_t p = 0;
    for (;;) {
        p = skipToNameStart(text, p);
        if (p >= text.size()) break;
        const size_t nameEnd = text.find_first_of(L" \t\r\n:", p);
        if (nameEnd == std::wstring_view::npos) break;
        const size_t colon = text.find(L':', nameEnd);
        if (colon == std::wstring_view::npos) break;
        CssDeclaration d{std::wstring(text.substr(p, nameEnd - p)), {}};
        size_t v = skipSpaces(text, colon + 1);
        if (v < text.size() && text[v] == L'"') {
            const size_t quote = text.find(L'"', v + 1);
            if (quote == std::wstring_view::npos) {  // unclosed: empty, and nothing follows
                out.push_back(std::move(d));
                break;
            }
            d.value = std::wstring(text.substr(v + 1, quote - v - 1));
            p = quote + 1;
        } else {
            size_t end = text.find(L';', v);
            if (end == std::wstring_view::npos) end = text.size();
            d.value = std::wstring(trimSpaces(text.substr(v, end - v)));
            p = end;
        }
        out.push_back(std::move(d));
    }
    return out;
}

LengthSyntax parseLengthSyntax(std::wstring_view value) {
    LengthSyntax s;
    value = trimSpaces(value);
    if (value.empty()) return s;
    s.empty = false;
    value = dropSign(value);
    if (!value.empty() && value.back() == L'%') {
        s.unit = LengthUnit::Percent;
        s.number = std::max(0, readDecimal(dropSign(value.substr(0, value.size() - 1))));
        return s;
    }
    if (value.size() >= kUnitLength) s.unit = unitOf(value.substr(value.size() - kUnitLength));
    const std::wstring_view number = s.unit == LengthUnit::None ? value : value.substr(0, value.size() - kUnitLength);
    s.number = std::max(0, readDecimal(dropSign(number)));  // "--5px": a stray sign reads as no number
    return s;
}

ColourSyntax parseColourSyntax(std::wstring_view value) {
    constexpr size_t kHexColourLength = 7;  // "#rrggbb"
    ColourSyntax s;
    value = trimSpaces(value);
    if (value.empty()) return s;
    if (value.front() == L'#') {
        if (value.size() != kHexColourLength) return s;
        for (size_t i = 1; i < kHexColourLength; ++i)
            if (!isHexDigit(value[i])) return s;
        auto channel = [&](size_t at) { return static_cast<uint32_t>(hexValue(value[at]) * 16 + hexValue(value[at + 1])); };
        s.form = ColourForm::Value;
        s.colorref = channel(1) | (channel(3) << 8) | (channel(5) << 16);
        return s;
    }
    if (isDigit(value.front())) {
        s.form = ColourForm::Value;
        s.colorref = readCNumber(value);
        return s;
    }
    s.form = ColourForm::Name;
    s.name = asciiLower(value);
    return s;
}

}  // namespace richtext
