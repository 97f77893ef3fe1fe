// Scanning of rich-text markup: the tokenizer that cuts a text into (text, tag) pairs, the
// parser of one tag's name and attributes, and the structure of a table (rows, cells and
// where each cell's content lies). Plain C++ with no platform calls.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace richtext {

// The tag a kept control character stands for.
constexpr wchar_t kTabTag = L'\t';
constexpr wchar_t kLineFeedTag = L'\n';
constexpr wchar_t kCarriageReturnTag = L'\r';

struct MarkupToken {
    std::wstring text;     // literal text before the tag ("<<" already made a "<")
    std::wstring tag;      // between "<" and ">", or the one control character
    bool hasTag = false;
    size_t tagBegin = 0;   // where the tag starts: its "<" or its control character
    size_t end = 0;        // where the next token starts
};

// Cuts a text into tokens from a position on. A "<" without ">" makes a tag of the rest of
// the text; "<<" and a "<" at the very end are literal. Tab, line feed and carriage return
// become tags of their own when kept, else they are dropped. Every token moves forward, so
// the scan always ends.
class MarkupTokenizer {
public:
    MarkupTokenizer(std::wstring_view text, bool keepControlChars, size_t from = 0);
    // The next pair; false once the text is used up.
    bool next(MarkupToken& token);
    size_t position() const { return pos_; }

private:
    std::wstring_view text_;
    bool keepControlChars_;
    size_t pos_;
};

struct MarkupAttribute {
    std::wstring name;   // lower-cased
    std::wstring value;  // as written, quotes removed; empty without "="
};

struct MarkupTag {
    std::wstring name;  // lower-cased, without the "/" of a closing tag
    bool closing = false;
    // A value written right after the name with "=", as in "br=2" or "t=3".
    bool hasOwnValue = false;
    std::wstring ownValue;
    std::vector<MarkupAttribute> attributes;

    // The first attribute of that (lower-case) name, or null.
    const std::wstring* attribute(std::wstring_view lowerName) const;
};

// Parses the text between "<" and ">". The name ends at a space, "=" or "/" ("br/" is "br").
// Each attribute is a name (from a letter, digit or "." up to a space or "="), optional
// spaces, "=", optional spaces and a value that ends at the next space or is enclosed in
// double quotes; an unclosed quote gives an empty value and ends the tag.
MarkupTag parseTag(std::wstring_view tag);

struct TableCellSource {
    std::wstring tag;  // the text of the td tag
    size_t begin = 0;  // the cell's content: [begin, end) of the scanned text
    size_t end = 0;
};

struct TableRowSource {
    std::wstring tag;  // the text of the tr tag (empty for a row opened by a cell without one)
    std::vector<TableCellSource> cells;
};

struct TableSource {
    std::wstring tag;  // the text of the table tag
    std::vector<TableRowSource> rows;
    size_t end = 0;    // just past the matching "/table", or the end of the text
};

// The position of the next opening table tag at or after from, or npos.
size_t findTable(std::wstring_view text, size_t from, bool keepControlChars);

// The table whose opening tag starts at from. Nested tables count towards the matching
// "/table" and stay inside their cell's content. A cell ends at "/td" or at the next cell,
// row or end of the table; a cell outside any row opens a row of its own; text outside
// cells is not part of the table.
TableSource scanTable(std::wstring_view text, size_t from, bool keepControlChars);

}  // namespace richtext
