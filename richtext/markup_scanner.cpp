#include "markup_scanner.h"

#include "css_scanner.h"

namespace richtext {

namespace {

bool isControlTag(wchar_t c) { return c == kTabTag || c == kLineFeedTag || c == kCarriageReturnTag; }

size_t skipSpaces(std::wstring_view text, size_t p) {
    while (p < text.size() && isSpace(text[p])) ++p;
    return p;
}

size_t findSpace(std::wstring_view text, size_t p) {
    while (p < text.size() && !isSpace(text[p])) ++p;
    return p;
}

// Reads a value at p: quoted, or up to the next space. Returns where scanning goes on;
// an unclosed quote ends the tag (returns the text size) with an empty value.
size_t readValue(std::wstring_view text, size_t p, std::wstring& value) {
    if (p < text.size() && text[p] == L'"') {
        const size_t close = text.find(L'"', p + 1);
        if (close == std::wstring_view::npos) {
            value.clear();
            return text.size();
        }
        value = std::wstring(text.substr(p + 1, close - p - 1));
        return close + 1;
    }
    const size_t end = findSpace(text, p);
    value = std::wstring(text.substr(p, end - p));
    return end;
}

// The name of a tag token, lower-cased, and whether it closes.
bool tagIs(const MarkupToken& token, std::wstring_view name, bool closing) {
    if (!token.hasTag) return false;
    const MarkupTag tag = parseTag(token.tag);
    return tag.closing == closing && tag.name == name;
}

}  // namespace

MarkupTokenizer::MarkupTokenizer(std::wstring_view text, bool keepControlChars, size_t from)
    : text_(text), keepControlChars_(keepControlChars), pos_(from < text.size() ? from : text.size()) {}

bool MarkupTokenizer::next(MarkupToken& token) {
    if (pos_ >= text_.size()) return false;
    token.text.clear();
    token.tag.clear();
    token.hasTag = false;
    while (pos_ < text_.size()) {
        const wchar_t c = text_[pos_];
        if (isControlTag(c)) {
            ++pos_;
            if (!keepControlChars_) continue;
            token.hasTag = true;
            token.tag.assign(1, c);
            token.tagBegin = pos_ - 1;
            token.end = pos_;
            return true;
        }
        if (c != L'<') {
            token.text += c;
            ++pos_;
            continue;
        }
        if (pos_ + 1 >= text_.size() || text_[pos_ + 1] == L'<') {  // "<<", or "<" at the end
            token.text += L'<';
            pos_ += pos_ + 1 >= text_.size() ? 1 : 2;
            continue;
        }
        token.hasTag = true;
        token.tagBegin = pos_;
        const size_t close = text_.find(L'>', pos_ + 1);
        const size_t tagEnd = close == std::wstring_view::npos ? text_.size() : close;
        token.tag = std::wstring(text_.substr(pos_ + 1, tagEnd - pos_ - 1));
        pos_ = close == std::wstring_view::npos ? text_.size() : close + 1;
        token.end = pos_;
        return true;
    }
    token.tagBegin = token.end = pos_;
    return true;
}

const std::wstring* MarkupTag::attribute(std::wstring_view lowerName) const {
    for (const MarkupAttribute& a : attributes)
        if (a.name == lowerName) return &a.value;
    return nullptr;
}

MarkupTag parseTag(std::wstring_view text) {
    MarkupTag tag;
    size_t p = 0;
    if (p < text.size() && text[p] == L'/') {
        tag.closing = true;
        ++p;
    }
    const size_t nameEnd = std::min(text.find_first_of(L" \t\r\n=/", p), text.size());
    tag.name = asciiLower(text.substr(p, nameEnd - p));
    p = nameEnd;
    if (p < text.size() && text[p] == L'=') {
        tag.hasOwnValue = true;
        p = readValue(text, p + 1, tag.ownValue);
    }
    for (;;) {
        while (p < text.size() && !isNameStart(text[p])) ++p;
        if (p >= text.size()) break;
        const size_t end = std::min(text.find_first_of(L" \t\r\n=", p), text.size());
        MarkupAttribute a{asciiLower(text.substr(p, end - p)), {}};
        p = end;
        const size_t q = skipSpaces(text, p);
        if (q < text.size() && text[q] == L'=') p = readValue(text, skipSpaces(text, q + 1), a.value);
        tag.attributes.push_back(std::move(a));
    }
    return tag;
}

size_t findTable(std::wstring_view text, size_t from, bool keepControlChars) {
    MarkupTokenizer tokens(text, keepControlChars, from);
    MarkupToken token;
    while (tokens.next(token))
        if (tagIs(token, L"table", false)) return token.tagBegin;
    return std::wstring_view::npos;
}

TableSource scanTable(std::wstring_view text, size_t from, bool keepControlChars) {
    TableSource table;
    MarkupTokenizer tokens(text, keepControlChars, from);
    MarkupToken token;
    if (!tokens.next(token) || !tagIs(token, L"table", false)) {
        table.end = tokens.position();
        return table;
    }
    table.tag = token.tag;
    TableRowSource* row = nullptr;
    TableCellSource* cell = nullptr;
    auto closeCell = [&](size_t at) {
        if (cell) cell->end = at;
        cell = nullptr;
    };
    int nesting = 0;  // tables open inside the current cell
    while (tokens.next(token)) {
        if (!token.hasTag || isControlTag(token.tag[0])) continue;
        const MarkupTag tag = parseTag(token.tag);
        if (tag.name == L"table") {
            nesting += tag.closing ? -1 : 1;
            if (nesting >= 0) continue;
            closeCell(token.tagBegin);
            table.end = token.end;
            return table;
        }
        if (nesting > 0) continue;
        if (tag.name == L"tr") {
            closeCell(token.tagBegin);
            if (tag.closing) {
                row = nullptr;
            } else {
                table.rows.push_back({token.tag, {}});
                row = &table.rows.back();
            }
        } else if (tag.name == L"td") {
            closeCell(token.tagBegin);
            if (tag.closing) continue;
            if (!row) {
                table.rows.push_back({});
                row = &table.rows.back();
            }
            row->cells.push_back({token.tag, token.end, token.end});
            cell = &row->cells.back();
        }
    }
    closeCell(text.size());
    table.end = text.size();
    return table;
}

}  // namespace richtext
