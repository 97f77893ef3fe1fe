// Where one text-output call puts its text: the reference point, the text alignment, the
// font metrics, and how logical coordinates of the device context reach the screen. The
// capture library fills it from the device context; tests give fixed metrics.
#pragma once

#include <cstdint>

#include "capturetext.h"

namespace tchk {

// Text-alignment bits as the device context reports them.
constexpr uint32_t kAlignUpdateCP = 0x01;
constexpr uint32_t kAlignRight = 0x02;
constexpr uint32_t kAlignCenter = 0x06;
constexpr uint32_t kAlignHorizontalMask = 0x06;
constexpr uint32_t kAlignBottom = 0x08;
constexpr uint32_t kAlignBaseline = 0x18;
constexpr uint32_t kAlignVerticalMask = 0x18;

struct FontMetrics {
    int32_t height = 0;  // the font's cell height
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t internalLeading = 0;
};

class TextPlacement {
  public:
    virtual ~TextPlacement() = default;
    // Logical width of the first `count` characters of the call's text.
    virtual int32_t prefixWidth(int count) = 0;
    // Logical height of the call's whole text as the font measures it.
    virtual int32_t textHeight() = 0;
    // A logical point of the device context in screen coordinates (device coordinates
    // shifted by the context's origin; a memory context's origin is 0, 0).
    virtual Point toScreen(Point logical) = 0;

    Point reference;     // the call's x, y, or the current position with kAlignUpdateCP
    uint32_t align = 0;
    FontMetrics metrics;
};

// The rectangles of one call, worked out once its whole width is known.
class CallGeometry {
  public:
    CallGeometry(TextPlacement& placement, int length);

    // The line pre-check: the screen y lies within the band of the call's line.
    bool lineContains(int32_t screenY);
    // Screen x of the whole string's left edge.
    int32_t leftEdge() const { return leftEdge_; }
    // Screen x of the right edge of the first `count` characters.
    int32_t prefixRight(int count);
    // Top and bottom of the text in screen coordinates (from the text's measured height).
    void textBand(int32_t& top, int32_t& bottom);

  private:
    void verticalBand(int32_t above, int32_t below, int32_t& top, int32_t& bottom);

    TextPlacement& p_;
    int32_t wholeLeftLogical_ = 0;
    int32_t leftEdge_ = 0;
};

}  // namespace tchk
