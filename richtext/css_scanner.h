// Scanning of style-sheet text: the rules of a sheet, the declarations of a rule, and the
// syntax of the lengths, colours and numbers in their values. Plain C++ with no platform
// calls, so it builds and fuzzes natively; the drawer resolves the results against a DC.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace richtext {

// ASCII letters only are folded: selectors, property names and keywords are ASCII.
std::wstring asciiLower(std::wstring_view text);
bool isAsciiLetter(wchar_t c);
bool isDigit(wchar_t c);
// Where a selector, property or attribute name may start: a digit, an ASCII letter or ".".
bool isNameStart(wchar_t c);
bool isSpace(wchar_t c);
std::wstring_view trimSpaces(std::wstring_view text);

// Optional sign, then the leading decimal digits ("010" is ten); 0 when there are none.
// Saturates at the limits of int32_t.
int32_t readDecimal(std::wstring_view text);
// A number as C writes it: hexadecimal after "0x" or "0X", else decimal (no octal).
// Saturates at 0xFFFFFFFF.
uint32_t readCNumber(std::wstring_view text);

struct CssRule {
    std::wstring selector;      // lower-cased first word of the selector
    std::wstring declarations;  // the text between the braces, unparsed
};

// The rules of a sheet in order of appearance. Only the first word of a selector counts
// ("p, h1 {...}" is stored under "p,"); a rule with nothing between its braces is dropped;
// a rule without "}" ends the sheet. There is no comment syntax.
std::vector<CssRule> splitStyleSheet(std::wstring_view text);

struct CssDeclaration {
    std::wstring property;  // lower-cased
    std::wstring value;     // lower-cased, spaces trimmed, quotes removed
};

// The declarations of a rule ("name: value; ..."), in order. A value in double quotes is
// taken without them; an unclosed quote gives an empty value and ends the text.
std::vector<CssDeclaration> splitDeclarations(std::wstring_view text);

// The units a length may end in; None when its last two characters name no unit.
enum class LengthUnit { None, Percent, Pixels, Ex, Em, Inches, Centimetres, Millimetres, Points, Picas };

struct LengthSyntax {
    bool empty = true;  // an empty value keeps the current length
    LengthUnit unit = LengthUnit::None;
    int32_t number = 0;  // never negative
};

// The number and unit of a length value. Lengths are never negative: a leading "+" or "-"
// is dropped, before "%" too (a negative share of a size would make no size); a unit
// without a number reads as 0; no known unit: the whole value is the number.
LengthSyntax parseLengthSyntax(std::wstring_view value);

enum class ColourForm { Keep, Value, Name };

struct ColourSyntax {
    ColourForm form = ColourForm::Keep;
    uint32_t colorref = 0;  // ColourForm::Value: 0x00BBGGRR
    std::wstring name;      // ColourForm::Name: lower-cased
};

// "#rrggbb" (exactly six hexadecimal digits) gives the colour; a value starting with a
// digit is the COLORREF number itself; anything else is a name to look up; empty and other
// "#" forms keep the current colour.
ColourSyntax parseColourSyntax(std::wstring_view value);

}  // namespace richtext
