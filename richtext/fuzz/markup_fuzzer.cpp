// Rich texts come from skins and resources: any markup must tokenize, its tags parse and
// its tables scan (nested ones too) with every position inside the text, and the scans
// must move forward so that nothing loops.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "markup_scanner.h"

using namespace richtext;

namespace {

constexpr int kMaxDepth = 16;  // as deep as the drawer lays tables out

void check(bool ok) {
    if (!ok) abort();
}

void scanBlocks(std::wstring_view text, bool keep, int depth) {
    size_t p = 0;
    while (p < text.size() && depth < kMaxDepth) {
        const size_t table = findTable(text, p, keep);
        if (table == std::wstring_view::npos) break;
        check(table >= p && table < text.size());
        const TableSource t = scanTable(text, table, keep);
        check(t.end > table && t.end <= text.size());
        for (const TableRowSource& row : t.rows)
            for (const TableCellSource& cell : row.cells) {
                check(cell.begin <= cell.end && cell.end <= t.end);
                scanBlocks(text.substr(cell.begin, cell.end - cell.begin), keep, depth + 1);
            }
        p = t.end;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool keep = data[0] & 1;
    std::wstring text(data + 1, data + size);
    MarkupTokenizer tokens(text, keep);
    MarkupToken token;
    size_t last = 0;
    while (tokens.next(token)) {
        check(tokens.position() > last || (last == 0 && tokens.position() == 0 && text.empty()));
        last = tokens.position();
        check(last <= text.size());
        if (token.hasTag) {
            check(token.tagBegin < token.end && token.end <= text.size());
            const MarkupTag tag = parseTag(token.tag);
            for (const MarkupAttribute& a : tag.attributes) check(!a.name.empty());
        }
    }
    scanBlocks(text, keep, 0);
    return 0;
}
