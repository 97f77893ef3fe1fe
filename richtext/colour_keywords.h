// The colour keywords of the CSS3 extended colour list with their sRGB values.
#pragma once
#include <cstddef>
#include <cstdint>

namespace richtext {

struct ColourKeyword {
    const wchar_t* name;  // lower case
    uint8_t red, green, blue;
    // The value as the platform's COLORREF (0x00BBGGRR).
    uint32_t colorref() const { return red | (green << 8) | (static_cast<uint32_t>(blue) << 16); }
};

// 140 entries: the twenty-one common names first, then the others alphabetically. Grey is
// spelled with -ay except in "lightgrey".
extern const ColourKeyword kColourKeywords[];
extern const size_t kColourKeywordCount;

}  // namespace richtext
