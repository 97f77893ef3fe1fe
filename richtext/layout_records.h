// What a measuring pass of the rich-text drawer keeps for the drawing pass that follows,
// and what a drawing pass leaves for the owner: the links met and where they were drawn.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "text_style.h"

struct LineRecord {
    int width = 0;    // pen x at the line's end less the left edge
    int height = 0;   // largest ascent plus largest descent
    int descent = 0;  // largest descent
    int share = 0;    // percentage of the layout width the line's rules take
    int align = kAlignLeft;
};

struct CellRecord {
    SIZE content{0, 0};  // the laid-out size of the cell's content
};

struct TableRecord {
    // Before any width or height attribute of the table is spread over them.
    std::vector<int> columnWidths;
    std::vector<int> rowHeights;
    std::vector<CellRecord> cells;  // in order of appearance
};

struct LayoutRecords {
    std::vector<LineRecord> lines;
    std::vector<TableRecord> tables;
    void clear() {
        lines.clear();
        tables.clear();
    }
};

// The number of a link in its pass, counted from 0 in order of appearance.
constexpr int kNoLink = -2;

struct LinkArea {
    RECT rect;
    int link;
};

struct LinkInfo {
    int kind = kLinkNone;
    std::wstring target;
};
