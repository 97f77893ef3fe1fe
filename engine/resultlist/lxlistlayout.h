// The cells, rectangles, colours and style flags of the result list's screen buffer.
// The list lays display texts out into cells (one code point at a pixel position each);
// a renderer measures and draws them. See lxlistbox.h for the model itself.
#ifndef WORDMERE_ENGINE_LXLISTLAYOUT_H
#define WORDMERE_ENGINE_LXLISTLAYOUT_H

#include <cstdint>

// A colour index into the renderer's palette: 0 background, 1 normal text, 2 also the
// frame of boxed text, 4 to 8 chosen by the markup; 6 and 7 are the highlighted forms of
// 4 and 2, and 8 is the selection background.
typedef uint32_t LXLColor;

// The colour letters of the "\S" markup pick 1, 2 and 4 to 8.
enum {
    LXLColorBackground = 0,
    LXLColorText = 1,               // k
    LXLColorFrame = 2,              // b; also the frame of boxed text
    LXLColorAccent = 4,             // r
    LXLColorLabel = 5,              // y
    LXLColorAccentHighlight = 6,    // p; and the highlighted form of 4
    LXLColorFrameHighlight = 7,     // g; and the highlighted form of 2
    LXLColorSelection = 8           // l; and the selection background
};

// Text kinds of a cell.
enum {
    LXLTextPlain = 0,
    LXLTextSource = 1,
    LXLTextTranslation = 2
};

// Style flags.
enum {
    LXLStyleBold = 0x1,
    LXLStyleItalic = 0x2,
    LXLStyleUnderline = 0x4,
    LXLStyleSuperscript = 0x8,
    LXLStyleSubscript = 0x10,
    LXLStyleSmaller = 0x20,      // one point smaller
    LXLStyleSmallest = 0x40,     // two points smaller
    LXLStyleUnicode = 0x80       // the Unicode face (super- and subscript digit forms)
};

// Cell flags.
enum {
    LXLCellSelected = 0x1,
    LXLCellFirst = 0x2,          // first cell of a result
    LXLCellTarget = 0x4,         // click target (a marked word)
    LXLCellBoxed = 0x8
};

struct LXLRectangle {
    int32_t top;
    int32_t left;
    int32_t width;
    int32_t height;

    LXLRectangle() : top(0), left(0), width(0), height(0) {}
    LXLRectangle(int32_t t, int32_t l, int32_t w, int32_t h) : top(t), left(l), width(w), height(h) {}
};

inline bool operator==(const LXLRectangle &a, const LXLRectangle &b)
{
    return a.top == b.top && a.left == b.left && a.width == b.width && a.height == b.height;
}
inline bool operator!=(const LXLRectangle &a, const LXLRectangle &b)
{
    return !(a == b);
}

// One screen cell. Positions are relative to the list's rectangle, y growing downwards
// over the whole buffer. Code point 0 ends the cells of one result.
struct LXLCharInfo {
    uint32_t codePoint;
    uint32_t textKind;           // LXLTextPlain, LXLTextSource or LXLTextTranslation
    uint32_t style;
    LXLColor color;
    int32_t y;
    int32_t x;
    int32_t width;
    int32_t height;
    uint32_t flags;
    int32_t definition;          // 0 unless the markup sets one

    LXLCharInfo()
        : codePoint(0), textKind(LXLTextPlain), style(0), color(LXLColorText), y(0), x(0), width(0), height(0),
          flags(0), definition(0)
    {
    }
};

#endif
