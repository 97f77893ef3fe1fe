// Arbitrary bytes as the number box's text, in any encoding, in every language.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/lxstring.h"
#include "lxnumbertranslator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    const int encoding = data[0] & 3, byteOrder = (data[0] >> 2) & 1;
    const LXLanguage language = LXLanguage((data[0] >> 3) % 8);
    // Padded to whole units and terminated with a zero unit of the widest encoding.
    std::string bytes(reinterpret_cast<const char *>(data + 1), size - 1);
    bytes.append((4 - bytes.size() % 4) % 4 + 4, '\0');
    lxstring input(bytes.c_str(), encoding, byteOrder), output;
    LXNumberTranslator::numberToText(input, output, language);
    // Long runs of digits exercise the repeated scale words.
    std::string digits;
    for (size_t k = 1; k < size; ++k) digits += char('0' + data[k] % 10);
    LXNumberTranslator::numberToText(digits, language);
    return 0;
}
