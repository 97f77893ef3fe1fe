// The classes of UTF-16 characters as the capture library sees them, and the runs of one
// class that a drawn text is cut into.
#pragma once

#include <cstdint>

namespace tchk {

enum class CharClass { Word, Blank, Other };

// Word: the engine's word characters (letters, digits, apostrophe, hyphen, the Latin-1
// letters and Œ œ Ž ž). Blank: tab, line feed, carriage return and space. Other: the rest.
CharClass charClass(char16_t c);
inline bool isBlank(char16_t c) { return charClass(c) == CharClass::Blank; }

// A maximal sequence of characters of one class that starts at a non-blank character;
// first and last are indices into the text.
struct Run {
    int first = 0;
    int last = 0;
    int length() const { return last - first + 1; }
};

// The run that begins at the first non-blank character at or after `from`. False when only
// blanks (or nothing) remain.
bool nextRun(const char16_t* text, int length, int from, Run& run);

}  // namespace tchk
