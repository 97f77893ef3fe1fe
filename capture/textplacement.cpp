#include "textplacement.h"

namespace tchk {

CallGeometry::CallGeometry(TextPlacement& placement, int length) : p_(placement) {
    const int32_t w = p_.prefixWidth(length);
    const int32_t x = p_.reference.x;
    switch (p_.align & kAlignHorizontalMask) {
    case kAlignCenter:
        wholeLeftLogical_ = x - w / 2;
        break;
    case kAlignRight:
        wholeLeftLogical_ = x - w;
        break;
    default:
        wholeLeftLogical_ = x;
        break;
    }
    leftEdge_ = p_.toScreen({wholeLeftLogical_, p_.reference.y}).x;
}

int32_t CallGeometry::prefixRight(int count) {
    // Prefixes of right- and centre-aligned text start at the whole string's left edge, as
    // those of left-aligned text do.
    return p_.toScreen({wholeLeftLogical_ + p_.prefixWidth(count), p_.reference.y}).x;
}

// The band from `above` logical units over the reference line to `below` under it, as the
// vertical alignment places it, in screen coordinates with top <= bottom.
void CallGeometry::verticalBand(int32_t above, int32_t below, int32_t& top, int32_t& bottom) {
    const int32_t y = p_.reference.y;
    top = p_.toScreen({wholeLeftLogical_, y - above}).y;
    bottom = p_.toScreen({wholeLeftLogical_, y + below}).y;
    if (top > bottom) {
        int32_t t = top;
        top = bottom;
        bottom = t;
    }
}

bool CallGeometry::lineContains(int32_t screenY) {
    const FontMetrics& m = p_.metrics;
    int32_t top = 0, bottom = 0;
    switch (p_.align & kAlignVerticalMask) {
    case kAlignBaseline:
        verticalBand(m.ascent, m.descent, top, bottom);
        break;
    case kAlignBottom:
        verticalBand(m.height - m.internalLeading, 0, top, bottom);
        break;
    default:
        verticalBand(0, m.height + m.internalLeading, top, bottom);
        break;
    }
    return screenY >= top && screenY <= bottom;
}

void CallGeometry::textBand(int32_t& top, int32_t& bottom) {
    const FontMetrics& m = p_.metrics;
    switch (p_.align & kAlignVerticalMask) {
    case kAlignBaseline:
        verticalBand(m.ascent, m.descent, top, bottom);
        break;
    case kAlignBottom:
        verticalBand(p_.textHeight(), 0, top, bottom);
        break;
    default:
        verticalBand(0, p_.textHeight(), top, bottom);
        break;
    }
}

}  // namespace tchk
