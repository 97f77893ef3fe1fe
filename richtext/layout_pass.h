// One measuring or drawing pass of the rich-text drawer over a text: flowing text with its
// tags, tables, and images. Both passes walk the text the same way, so the n-th line and
// the n-th table of the drawing pass are the n-th ones the measuring pass recorded; every
// record is read with its index checked.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "layout_records.h"
#include "markup_scanner.h"
#include "text_style.h"

class RichTextDrawer;

// Limits that keep hostile markup from exhausting the stack, memory or the coordinates.
constexpr size_t kMaxStyleDepth = 256;  // saved styles; deeper opening tags are ignored
constexpr int kMaxTableDepth = 16;      // nested tables; deeper table tags are ignored
constexpr int kMaxTableRows = 1000;     // later rows are not laid out
constexpr int kMaxTableColumns = 64;    // spans are clamped to the grid, later cells dropped
constexpr int kMaxRepeat = 100;         // line breaks or tabs of one tag
constexpr int kMaxImageSide = 2048;
constexpr int kMaxShare = 1000;         // percent of the layout width in one line's rules

class LayoutPass {
public:
    enum class Mode { Measure, Draw };

    LayoutPass(RichTextDrawer& drawer, HDC dc, Mode mode);
    ~LayoutPass();
    LayoutPass(const LayoutPass&) = delete;
    LayoutPass& operator=(const LayoutPass&) = delete;

    // Lays out the whole text in area (its right edge is the layout width's end); the size
    // of the widest line and of all blocks together.
    SIZE run(std::wstring_view text, const RECT& area);

    struct Image;  // an image a tag names, with who frees it

private:
    struct Line {
        int top = 0;
        int startX = 0;
        int ascent = 0;
        int descent = 0;
        int minHeight = 0;
        int share = 0;
        int align = kAlignLeft;
        bool hasContent = false;
        LineRecord record;  // drawing pass: the measured line
    };
    struct Flow {
        RECT area;
        int penX = 0;
        int penY = 0;
        size_t firstLine = 0;
        Line line;
    };
    struct SavedStyle {
        std::wstring tag;
        TextStyle style;
    };
    struct PlacedCell {
        int row = 0, column = 0, rowSpan = 1, columnSpan = 1;
        const richtext::TableCellSource* source = nullptr;
    };
    struct Grid {
        int rows = 0, columns = 0;
        std::vector<PlacedCell> cells;  // in order of appearance
    };

    bool measuring() const { return mode_ == Mode::Measure; }

    // Blocks: flowing text up to the next table, then the table, and so on.
    SIZE layoutBlocks(std::wstring_view text, const RECT& area, bool wrapInBody, int depth);
    SIZE layoutFlow(std::wstring_view text, const RECT& area);

    // Lines.
    void beginLine(Flow& f);
    void endLine(Flow& f, int breaks);
    SIZE finishFlow(Flow& f);
    const LineRecord& lineRecord(size_t index) const;
    int areaWidth(const Flow& f) const { return f.area.right - f.area.left; }

    // Text and tags.
    void textRun(Flow& f, std::wstring text);
    void tag(Flow& f, const std::wstring& raw);
    void openTag(Flow& f, const richtext::MarkupTag& t);
    void closeTag(const richtext::MarkupTag& t);
    void tab(Flow& f, int count);
    void rule(Flow& f, const richtext::MarkupTag& t);
    void link(const richtext::MarkupTag& t);
    void fontTag(const richtext::MarkupTag& t);
    int repeatCount(const richtext::MarkupTag& t);
    int verticalOffset(const Line& line, int itemHeight, int itemAscent) const;
    void recordLink(const RECT& r);

    // Styles.
    bool save(const std::wstring& tag);
    void restore(const std::wstring& tag);
    void styleChanged();

    // Tables.
    SIZE layoutTable(std::wstring_view text, const richtext::TableSource& source, const RECT& area, int depth);
    Grid placeCells(const richtext::TableSource& source) const;
    void applyTableAttributes(const richtext::MarkupTag& t, TextStyle& style) const;
    TextStyle rowStyle(const richtext::TableRowSource& row, const TextStyle& table);
    TextStyle cellStyle(const richtext::TableCellSource& cell, const TextStyle& row);
    SIZE cellNeed(const TextStyle& cell, SIZE content, const richtext::MarkupTag& t) const;
    static void distribute(std::vector<int>& sizes, int first, int span, int need, bool remainderToLast);
    void spreadExtra(std::vector<int>& sizes, const std::wstring* request, int available, int outer) const;
    void drawTableBackground(const TextStyle& table, const richtext::MarkupTag& t, const RECT& r);
    void drawCell(std::wstring_view text, const PlacedCell& cell, const TextStyle& style, const RECT& gridRect,
                  SIZE content, int depth);

    // Images.
    void imageTag(Flow& f, const richtext::MarkupTag& t);
    bool gridImage(const richtext::MarkupTag& t, Image& image, SIZE& natural);
    void placeImage(Flow& f, SIZE size, unsigned style, unsigned hotStyle, HBITMAP bitmap, HICON icon, COLORREF mask);
    unsigned imageStyle(const std::wstring* letters) const;
    int imageDimension(const std::wstring* value, int natural);
    HBITMAP loadNamedBitmap(const std::wstring& name);

    RichTextDrawer& drawer_;
    HDC dc_;
    Mode mode_;
    TextStyle style_;
    std::vector<SavedStyle> stack_;
    TEXTMETRICW metrics_{};
    HFONT font_ = nullptr;
    LOGFONTW fontSpec_{};
    HGDIOBJ originalFont_ = nullptr;
    int originalMode_ = 0;
    COLORREF originalText_ = 0;
    COLORREF originalBack_ = 0;
    UINT originalTextAlign_ = 0;
    size_t lineIndex_ = 0;
    size_t tableIndex_ = 0;
    int linkCounter_ = -1;
};
