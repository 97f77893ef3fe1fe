// What the drawer's tests under Wine share: a memory DC over a 32-bit DIB whose pixels the
// tests read back, and measurements of text made with GDI directly, as the oracle of the
// sizes the drawer lays out.
#pragma once
#include <windows.h>

#include <algorithm>
#include <string>

#include "dib_section.h"
#include "rich_text_drawer.h"

class Canvas {
public:
    Canvas(int width, int height, COLORREF background = RGB(255, 255, 255)) : dib_(width, height), dc_(dib_.handle()) {
        clear(background);
    }
    operator HDC() const { return dc_; }
    int width() const { return dib_.width(); }
    int height() const { return dib_.height(); }
    void clear(COLORREF c) {
        dib_.sync();
        dib_.fill(c);
    }
    COLORREF at(int x, int y) const {
        dib_.sync();
        return dib_.pixel(x, y);
    }
    // The smallest rectangle holding every pixel for which pred is true; empty when none.
    template <class Pred>
    RECT boundsOf(Pred pred) const {
        dib_.sync();
        RECT r{width(), height(), 0, 0};
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                if (pred(dib_.pixel(x, y))) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        if (r.left >= r.right) r = RECT{0, 0, 0, 0};
        return r;
    }
    template <class Pred>
    int count(const RECT& area, Pred pred) const {
        dib_.sync();
        int n = 0;
        for (int y = std::max<LONG>(0, area.top); y < std::min<LONG>(height(), area.bottom); ++y)
            for (int x = std::max<LONG>(0, area.left); x < std::min<LONG>(width(), area.right); ++x)
                if (pred(dib_.pixel(x, y))) ++n;
        return n;
    }

private:
    DibSection dib_;
    SelectingDC dc_;
};

// The font a style makes: height in pixels, weight, italic, face.
struct FontSpec {
    int height = 13;  // the body rule's 10pt at 96 dpi
    int weight = 400;
    bool italic = false;
    const wchar_t* face = L"Verdana";
};

struct RunMetrics {
    SIZE extent{0, 0};  // GetTextExtentPoint32 of the text
    int ascent = 0;
    int descent = 0;
    int cellHeight = 0;
};

RunMetrics measureRun(HDC dc, const FontSpec& font, const std::wstring& text);

// The rectangle the drawer recorded for link n in its last draw; a test failure when none.
RECT linkRectOf(const RichTextDrawer& drawer, int n);

inline bool isWhite(COLORREF c) { return c == RGB(255, 255, 255); }
inline bool notWhite(COLORREF c) { return !isWhite(c); }
