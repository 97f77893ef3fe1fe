// Tables of the rich-text drawer: the grid of rows and spanning cells, the column widths
// and row heights the measuring pass works out from the cells' contents, and the drawing
// of backgrounds, borders and cells.
//
// Choices where the markup leaves room: cellspacing gives each cell a padding and the
// table the same padding inside its border, so cells stand apart by twice the spacing
// everywhere; a width or height attribute (pixels, or a percentage of the layout width)
// that asks for more than the table's size spreads the difference over the columns (rows),
// in both passes against that pass's layout width; cell contents are laid out in the
// cell's own style, without the body rule again; rowspans that push a row's cells past the
// widest row widen the grid.
#include <algorithm>
#include <numeric>

#include "css_scanner.h"
#include "dib_section.h"
#include "layout_pass.h"
#include "rich_text_drawer.h"

using richtext::MarkupTag;
using richtext::TableCellSource;
using richtext::TableRowSource;
using richtext::TableSource;

namespace {

constexpr int kSingleBorderInset = 1;  // a cell border takes 1 pixel a side
constexpr int kDoubleBorderInset = 3;  // or 3 in the double style

struct NamedEffect {
    const wchar_t* name;
    int effect;
};
constexpr NamedEffect kEffects[] = {
    {L"transparent", kEffectNone},           {L"solid", kEffectSolid},
    {L"hgradient", kEffectHorizontalGradient}, {L"vgradient", kEffectVerticalGradient},
    {L"hcgradient", kEffectHorizontalCentreGradient}, {L"vcgradient", kEffectVerticalCentreGradient},
    {L"3hgradient", kEffectHorizontalThreeColour}, {L"3vgradient", kEffectVerticalThreeColour},
};

int effectValue(const std::wstring& value) {
    const std::wstring lower = richtext::asciiLower(value);
    for (const NamedEffect& e : kEffects)
        if (lower == e.name) return e.effect;
    return richtext::readDecimal(lower);
}

int cellBorderInset(const TextStyle& s) {
    if (s.borderWidth == 0) return 0;
    return s.borderStyle == kBorderDouble ? kDoubleBorderInset : kSingleBorderInset;
}

int tableBorderInset(const TextStyle& s) { return s.borderWidth * (s.borderStyle == kBorderDouble ? 3 : 1); }

int sum(const std::vector<int>& v, int first, int count) {
    long long total = 0;
    for (int i = first; i < first + count && i < static_cast<int>(v.size()); ++i) total += v[i];
    return static_cast<int>(std::min<long long>(total, INT32_MAX));
}

int spanValue(const MarkupTag& t, const wchar_t* name) {
    const std::wstring* v = t.attribute(name);
    return v ? richtext::readDecimal(*v) : 1;
}

SIZE add(SIZE a, int dx, int dy) { return {a.cx + dx, a.cy + dy}; }

RECT inset(const RECT& r, int left, int top, int right, int bottom) {
    return {r.left + left, r.top + top, r.right - right, r.bottom - bottom};
}

}  // namespace

void LayoutPass::applyTableAttributes(const MarkupTag& t, TextStyle& s) const {
    const StyleSheet& sheet = drawer_.sheet_;
    for (const richtext::MarkupAttribute& a : t.attributes) {
        const std::wstring& n = a.name;
        const std::wstring lower = richtext::asciiLower(a.value);
        if (n == L"border") {
            s.borderWidth = StyleSheet::lengthValue(dc_, a.value, s.borderWidth);
        } else if (n == L"borderstyle") {
            s.borderStyle = StyleSheet::borderStyleValue(lower, s.borderStyle);
        } else if (n == L"bordercolor") {
            s.borderColorLight = s.borderColorDark = sheet.colourValue(a.value, s.borderColorLight);
        } else if (n == L"bordercolorlight") {
            s.borderColorLight = sheet.colourValue(a.value, s.borderColorLight);
        } else if (n == L"bordercolordark") {
            s.borderColorDark = sheet.colourValue(a.value, s.borderColorDark);
        } else if (n == L"bgcolor") {
            s.backgroundColor = sheet.colourValue(a.value, s.backgroundColor);
            if (s.backgroundEffect == kEffectNone) s.backgroundEffect = kEffectSolid;
        } else if (n == L"bgmidcolor") {
            s.gradientMiddleColor = sheet.colourValue(a.value, s.gradientMiddleColor);
        } else if (n == L"bgendcolor") {
            s.gradientEndColor = sheet.colourValue(a.value, s.gradientEndColor);
        } else if (n == L"bgeffect") {
            s.backgroundEffect = effectValue(a.value);
        } else if (n == L"align") {
            s.textAlign = StyleSheet::textAlignValue(lower, s.textAlign);
        } else if (n == L"valign") {
            s.verticalAlign = StyleSheet::verticalAlignValue(lower, s.verticalAlign);
        } else if (n == L"cellpadding") {
            const int m = StyleSheet::lengthValue(dc_, a.value, s.marginLeft);
            s.marginLeft = s.marginRight = s.marginTop = s.marginBottom = m;
        } else if (n == L"cellspacing") {
            const int p = StyleSheet::lengthValue(dc_, a.value, s.paddingLeft);
            s.paddingLeft = s.paddingRight = s.paddingTop = s.paddingBottom = p;
        }
    }
}

TextStyle LayoutPass::rowStyle(const TableRowSource& row, const TextStyle& table) {
    TextStyle s = table;
    drawer_.sheet_.applyRule(dc_, L"tr", s);
    applyTableAttributes(richtext::parseTag(row.tag), s);
    return s;
}

TextStyle LayoutPass::cellStyle(const TableCellSource& cell, const TextStyle& row) {
    TextStyle s = row;
    drawer_.sheet_.applyRule(dc_, L"td", s);
    applyTableAttributes(richtext::parseTag(cell.tag), s);
    return s;
}

LayoutPass::Grid LayoutPass::placeCells(const TableSource& source) const {
    Grid grid;
    grid.rows = static_cast<int>(std::min<size_t>(source.rows.size(), kMaxTableRows));
    std::vector<char> taken(static_cast<size_t>(grid.rows) * kMaxTableColumns, 0);
    auto isTaken = [&](int r, int c) { return taken[static_cast<size_t>(r) * kMaxTableColumns + c] != 0; };
    for (int r = 0; r < grid.rows; ++r) {
        int column = 0;
        for (const TableCellSource& cell : source.rows[r].cells) {
            while (column < kMaxTableColumns && isTaken(r, column)) ++column;
            if (column >= kMaxTableColumns) break;  // no slot left in this row
            const MarkupTag t = richtext::parseTag(cell.tag);
            PlacedCell placed;
            placed.row = r;
            placed.column = column;
            placed.columnSpan = std::clamp(spanValue(t, L"colspan"), 1, kMaxTableColumns - column);
            placed.rowSpan = std::clamp(spanValue(t, L"rowspan"), 1, grid.rows - r);
            placed.source = &cell;
            for (int y = r; y < r + placed.rowSpan; ++y)
                for (int x = column; x < column + placed.columnSpan; ++x) taken[static_cast<size_t>(y) * kMaxTableColumns + x] = 1;
            column += placed.columnSpan;
            grid.columns = std::max(grid.columns, column);
            grid.cells.push_back(placed);
        }
    }
    return grid;
}

SIZE LayoutPass::cellNeed(const TextStyle& s, SIZE content, const MarkupTag& t) const {
    const int border = 2 * cellBorderInset(s);
    SIZE need = add(content, s.paddingLeft + s.paddingRight + s.marginLeft + s.marginRight + border,
                    s.paddingTop + s.paddingBottom + s.marginTop + s.marginBottom + border);
    if (const std::wstring* w = t.attribute(L"width")) need.cx = std::max<LONG>(need.cx, StyleSheet::lengthValue(dc_, *w, 0));
    if (const std::wstring* h = t.attribute(L"height")) need.cy = std::max<LONG>(need.cy, StyleSheet::lengthValue(dc_, *h, 0));
    return need;
}

// Raises sizes[first .. first + span) so that together they hold need: one slot simply
// grows; several share the deficit evenly, the remainder going to the last (or first) one.
void LayoutPass::distribute(std::vector<int>& sizes, int first, int span, int need, bool remainderToLast) {
    if (span == 1) {
        sizes[first] = std::max(sizes[first], need);
        return;
    }
    const int deficit = need - sum(sizes, first, span);
    if (deficit <= 0) return;
    for (int i = first; i < first + span; ++i) sizes[i] += deficit / span;
    sizes[remainderToLast ? first + span - 1 : first] += deficit % span;
}

void LayoutPass::spreadExtra(std::vector<int>& sizes, const std::wstring* request, int available, int outer) const {
    if (!request || sizes.empty()) return;
    const std::wstring& v = *request;
    const int wanted = !v.empty() && v.back() == L'%' ? MulDiv(available, std::clamp(richtext::readDecimal(v), 0, kMaxShare), 100)
                                                       : StyleSheet::lengthValue(dc_, v, 0);
    const int extra = wanted - outer;
    if (extra <= 0) return;
    const int n = static_cast<int>(sizes.size());
    for (int& s : sizes) s += extra / n;
    sizes[0] += extra % n;
}

SIZE LayoutPass::layoutTable(std::wstring_view text, const TableSource& source, const RECT& area, int depth) {
    const size_t index = tableIndex_++;
    if (measuring()) drawer_.records_.tables.emplace_back();
    const TextStyle outerStyle = style_;
    const size_t outerDepth = stack_.size();
    const MarkupTag tableTag = richtext::parseTag(source.tag);
    TextStyle table = style_;
    applyTableAttributes(tableTag, table);
    const Grid grid = placeCells(source);

    // Rows and cells in order of appearance, each in its own style.
    std::vector<TextStyle> cellStyles;
    cellStyles.reserve(grid.cells.size());
    for (size_t i = 0; i < grid.cells.size(); ++i) {
        const PlacedCell& c = grid.cells[i];
        if (i == 0 || grid.cells[i - 1].row != c.row) style_ = rowStyle(source.rows[c.row], table);
        cellStyles.push_back(cellStyle(*c.source, style_));
    }

    TableRecord measured;
    if (measuring()) {
        measured.columnWidths.assign(grid.columns, 0);
        measured.rowHeights.assign(grid.rows, 0);
        std::vector<SIZE> needs;
        for (size_t i = 0; i < grid.cells.size(); ++i) {
            const PlacedCell& c = grid.cells[i];
            style_ = cellStyles[i];
            styleChanged();
            const std::wstring_view content = text.substr(c.source->begin, c.source->end - c.source->begin);
            const SIZE size = layoutBlocks(content, RECT{0, 0, 0, 0}, false, depth);
            stack_.resize(std::min(stack_.size(), outerDepth));
            measured.cells.push_back({size});
            needs.push_back(cellNeed(cellStyles[i], size, richtext::parseTag(c.source->tag)));
        }
        std::vector<size_t> order(grid.cells.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return grid.cells[a].columnSpan < grid.cells[b].columnSpan; });
        for (size_t i : order) distribute(measured.columnWidths, grid.cells[i].column, grid.cells[i].columnSpan, needs[i].cx, true);
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return grid.cells[a].rowSpan < grid.cells[b].rowSpan; });
        for (size_t i : order) distribute(measured.rowHeights, grid.cells[i].row, grid.cells[i].rowSpan, needs[i].cy, false);
        drawer_.records_.tables[index] = measured;
    }
    const std::vector<TableRecord>& tables = drawer_.records_.tables;
    const TableRecord& record = index < tables.size() ? tables[index] : measured;

    // Column widths and row heights for this pass, with the table's own size requests.
    std::vector<int> columns = record.columnWidths, rows = record.rowHeights;
    columns.resize(grid.columns, 0);
    rows.resize(grid.rows, 0);
    const int frame = tableBorderInset(table);
    const int extraWidth = 2 * frame + table.paddingLeft + table.paddingRight;
    const int extraHeight = 2 * frame + table.paddingTop + table.paddingBottom;
    const int available = area.right - area.left;
    spreadExtra(columns, tableTag.attribute(L"width"), available, sum(columns, 0, grid.columns) + extraWidth);
    spreadExtra(rows, tableTag.attribute(L"height"), available, sum(rows, 0, grid.rows) + extraHeight);
    const SIZE size{sum(columns, 0, grid.columns) + extraWidth, sum(rows, 0, grid.rows) + extraHeight};

    if (!measuring()) {
        int x = area.left;
        const int free = available - size.cx;
        if (free > 0 && table.textAlign == kAlignCenter) x += free / 2;
        else if (free > 0 && table.textAlign == kAlignRight) x += free;
        const RECT box{x, area.top, x + size.cx, area.top + size.cy};
        drawTableBackground(table, tableTag, box);
        DrawingHelpers::borderRect(dc_, box.left, box.top, box.right, box.bottom, table.borderColorLight,
                                   table.borderColorDark, table.borderStyle, table.borderWidth);
        const RECT inner = inset(box, frame + table.paddingLeft, frame + table.paddingTop, frame + table.paddingRight,
                                 frame + table.paddingBottom);
        for (size_t i = 0; i < grid.cells.size(); ++i) {
            const PlacedCell& c = grid.cells[i];
            const int left = inner.left + sum(columns, 0, c.column), top = inner.top + sum(rows, 0, c.row);
            const RECT gridRect{left, top, left + sum(columns, c.column, c.columnSpan), top + sum(rows, c.row, c.rowSpan)};
            const SIZE content = i < record.cells.size() ? record.cells[i].content : SIZE{0, 0};
            drawCell(text, c, cellStyles[i], gridRect, content, depth);
            stack_.resize(std::min(stack_.size(), outerDepth));
        }
    }
    style_ = outerStyle;
    stack_.resize(std::min(stack_.size(), outerDepth));
    styleChanged();
    return size;
}

void LayoutPass::drawTableBackground(const TextStyle& table, const MarkupTag& t, const RECT& r) {
    if (table.backgroundEffect >= 0) {
        DrawingHelpers::backgroundFill(dc_, table.backgroundEffect, r, table.backgroundColor, table.gradientMiddleColor,
                                       table.gradientEndColor);
        return;
    }
    const std::wstring* name = t.attribute(L"background");
    if (!name || name->empty()) return;
    HBITMAP image = loadNamedBitmap(*name);
    if (!image) return;
    const SIZE tile = DrawingHelpers::bitmapSize(image);
    {
        SelectingDC source(image);
        DrawingHelpers::tileBlit(dc_, r, source, POINT{0, 0}, tile);
    }
    DeleteObject(image);
}

void LayoutPass::drawCell(std::wstring_view text, const PlacedCell& c, const TextStyle& s, const RECT& gridRect,
                          SIZE content, int depth) {
    RECT box = inset(gridRect, s.paddingLeft, s.paddingTop, s.paddingRight, s.paddingBottom);
    if (s.backgroundEffect >= 0)
        DrawingHelpers::backgroundFill(dc_, s.backgroundEffect, box, s.backgroundColor, s.gradientMiddleColor, s.gradientEndColor);
    DrawingHelpers::borderRect(dc_, box.left, box.top, box.right, box.bottom, s.borderColorLight, s.borderColorDark,
                               s.borderStyle, 1);
    const int border = cellBorderInset(s);
    box = inset(box, border, border, border, border);
    RECT contentBox = inset(box, s.marginLeft, s.marginTop, s.marginRight, s.marginBottom);
    const int freeHeight = (contentBox.bottom - contentBox.top) - content.cy;
    if (freeHeight > 0 && s.verticalAlign == kVAlignMiddle) contentBox.top += freeHeight / 2;
    else if (freeHeight > 0 && s.verticalAlign == kVAlignBottom) contentBox.top += freeHeight;
    style_ = s;
    styleChanged();
    layoutBlocks(text.substr(c.source->begin, c.source->end - c.source->begin), contentBox, false, depth);
}
