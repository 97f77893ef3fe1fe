// A text placement with fixed metrics for the word-location tests: every character is
// `advance` units wide (or takes its width from a table), the context maps logical to
// device coordinates one to one, and its origin lies at `origin` on the screen.
#pragma once

#include <string>
#include <vector>

#include "textplacement.h"

namespace tchk::fixture {

class FixedPlacement : public TextPlacement {
  public:
    FixedPlacement(int32_t x, int32_t y, uint32_t alignment = 0) {
        reference = {x, y};
        align = alignment;
        metrics.height = 16;
        metrics.ascent = 13;
        metrics.descent = 3;
        metrics.internalLeading = 2;
    }
    int32_t prefixWidth(int count) override {
        if (widths.empty()) return count * advance;
        int32_t w = 0;
        for (int i = 0; i < count && i < static_cast<int>(widths.size()); ++i) w += widths[i];
        return w;
    }
    int32_t textHeight() override { return metrics.height; }
    Point toScreen(Point p) override { return {p.x * scale + origin.x, p.y * scale + origin.y}; }

    int32_t advance = 10;
    std::vector<int32_t> widths;
    int32_t scale = 1;
    Point origin;
};

inline int len(const std::u16string& s) { return static_cast<int>(s.size()); }

}  // namespace tchk::fixture
