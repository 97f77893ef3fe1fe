// Style sheets come from skins, which are untrusted files: any text must split into rules
// and declarations, and every value must read as a length and a colour, within bounds
// and without hanging.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "css_scanner.h"

using namespace richtext;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text(data, data + size);  // one byte a character keeps the syntax easy to reach
    for (const CssRule& rule : splitStyleSheet(text)) {
        if (rule.declarations.empty() || rule.selector.empty()) abort();
        for (const CssDeclaration& d : splitDeclarations(rule.declarations)) {
            const LengthSyntax length = parseLengthSyntax(d.value);
            if (length.number < 0) abort();
            (void)parseColourSyntax(d.value);
            (void)readCNumber(d.value);
        }
    }
    // A whole input as one declaration text too, as a tag's inline style would be.
    for (const CssDeclaration& d : splitDeclarations(text))
        if (d.property.empty()) abort();
    return 0;
}
