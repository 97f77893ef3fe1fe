#include "scroll_model.h"

#include <algorithm>
#include <limits>

namespace skinbar {

namespace {

constexpr int64_t kLargestRange = 0x7FFFFFFE;

int32_t clamp32(int64_t value, int64_t low, int64_t high)
{
    if (high < low) {
        high = low;
    }
    return static_cast<int32_t>(std::min(std::max(value, low), high));
}

int64_t rangeSize(const ScrollValues &v) { return static_cast<int64_t>(v.max) - v.min + 1; }

bool contains(const SkinRect &r, int32_t x, int32_t y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// The coordinate along a bar.
int32_t along(int32_t kind, int32_t x, int32_t y) { return kind == kScrollHorizontal ? x : y; }

SkinRect alongSlice(const SkinRect &bar, int32_t kind, int32_t from, int32_t to)
{
    if (kind == kScrollHorizontal) {
        return SkinRect{from, bar.top, to, bar.bottom};
    }
    return SkinRect{bar.left, from, bar.right, to};
}

}  // namespace

int32_t scrollMulDiv(int32_t a, int32_t b, int32_t c)
{
    if (c == 0) {
        return -1;
    }
    int64_t product = static_cast<int64_t>(a) * b;
    int64_t divisor = c;
    bool negative = (product < 0) != (divisor < 0);
    uint64_t p = product < 0 ? static_cast<uint64_t>(-product) : static_cast<uint64_t>(product);
    uint64_t d = divisor < 0 ? static_cast<uint64_t>(-divisor) : static_cast<uint64_t>(divisor);
    uint64_t q = (p + d / 2) / d;
    if (q > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()) + (negative ? 1 : 0)) {
        return -1;
    }
    return negative ? static_cast<int32_t>(-static_cast<int64_t>(q)) : static_cast<int32_t>(q);
}

int32_t scrollPosLimit(const ScrollValues &v)
{
    int64_t page = std::max<int64_t>(v.page, 1);
    return static_cast<int32_t>(std::max<int64_t>(v.min, static_cast<int64_t>(v.max) - page + 1));
}

int32_t clampScrollPos(const ScrollValues &v, int64_t pos) { return clamp32(pos, v.min, scrollPosLimit(v)); }

uint32_t clampScrollPage(const ScrollValues &v, uint32_t page)
{
    int64_t size = std::max<int64_t>(rangeSize(v), 0);
    return static_cast<uint32_t>(std::min<int64_t>(page, size));
}

void storeScrollInfo(ScrollValues &v, uint32_t mask, const ScrollValues &given)
{
    if (mask & kScrollMaskRange) {
        v.min = given.min;
        v.max = given.max;
    }
    if (mask & kScrollMaskPage) {
        v.page = clampScrollPage(v, given.page);
    } else if (mask & kScrollMaskRange) {
        v.page = clampScrollPage(v, v.page);
    }
    if (mask & kScrollMaskPos) {
        v.pos = clampScrollPos(v, given.pos);
    } else if (mask & (kScrollMaskRange | kScrollMaskPage)) {
        v.pos = clampScrollPos(v, v.pos);
    }
}

bool copyScrollInfo(const ScrollValues &v, uint32_t mask, ScrollValues &out)
{
    bool copied = false;
    if (mask & kScrollMaskPage) {
        out.page = v.page;
        copied = true;
    }
    if (mask & kScrollMaskPos) {
        out.pos = v.pos;
        copied = true;
    }
    if (mask & kScrollMaskTrackPos) {
        out.trackPos = v.trackPos;
        copied = true;
    }
    if (mask & kScrollMaskRange) {
        out.min = v.min;
        out.max = v.max;
        return true;
    }
    return copied;
}

bool scrollBarWantedVisible(const ScrollValues &v, uint32_t mask, uint32_t flags)
{
    if ((mask & kScrollMaskDisableNoScroll) || (flags & kScrollKeepActive)) {
        return true;
    }
    return static_cast<int64_t>(v.max) >= static_cast<int64_t>(v.page) && !(v.page == 0 && v.max == 0) &&
           v.min < v.max;
}

bool setScrollArrows(uint32_t &flags, uint32_t arrows)
{
    uint32_t updated = (flags & ~kScrollArrowBits) | (arrows & kScrollArrowBits);
    bool changed = updated != flags;
    flags = updated;
    return changed;
}

bool scrollBarActive(const ScrollValues &v, uint32_t flags)
{
    if ((flags & kScrollArrowBits) == kScrollArrowBits) {
        return false;
    }
    if (flags & kScrollKeepActive) {
        return true;
    }
    return static_cast<int64_t>(v.max) >= static_cast<int64_t>(v.page) && v.min < v.max && v.max != 0;
}

bool scrollSizeAccepted(int32_t size) { return size != 0 && size >= kScrollSizeSmallest && size <= kScrollSizeLargest; }

int32_t scrollSizePixels(int32_t size, int32_t systemMetric) { return size < 0 ? -size * systemMetric : size; }

ScrollLayout layoutScrollBars(const ScrollLayoutInput &in)
{
    ScrollLayout out;
    out.client = in.client;
    out.leftEdge = in.client.left;
    out.topEdge = in.client.top;
    out.rightEdge = in.windowWidth - in.client.right;
    out.bottomEdge = in.windowHeight - in.client.bottom;
    if (in.horizontalWanted && in.horizontalThickness < out.client.height()) {
        out.client.bottom -= in.horizontalThickness;
        out.horizontalShown = true;
    }
    if (in.verticalWanted && out.client.width() >= in.verticalThickness) {
        if (in.verticalOnLeft) {
            out.client.left += in.verticalThickness;
        } else {
            out.client.right -= in.verticalThickness;
        }
        out.verticalShown = true;
    }
    return out;
}

SkinRect scrollBarRect(const ScrollLayoutInput &in, const ScrollLayout &l, int32_t kind)
{
    int32_t right = in.windowWidth - l.rightEdge;
    int32_t bottom = in.windowHeight - l.bottomEdge;
    if (kind == kScrollHorizontal) {
        if (!l.horizontalShown) {
            return SkinRect{0, 0, 0, 0};
        }
        int32_t left = l.leftEdge;
        if (l.verticalShown) {
            (in.verticalOnLeft ? left : right) += in.verticalOnLeft ? in.verticalThickness : -in.verticalThickness;
        }
        return SkinRect{left, bottom - in.horizontalThickness, right, bottom};
    }
    if (!l.verticalShown) {
        return SkinRect{0, 0, 0, 0};
    }
    if (l.horizontalShown) {
        bottom -= in.horizontalThickness;
    }
    if (in.verticalOnLeft) {
        return SkinRect{l.leftEdge, l.topEdge, l.leftEdge + in.verticalThickness, bottom};
    }
    return SkinRect{right - in.verticalThickness, l.topEdge, right, bottom};
}

SkinRect scrollCornerRect(const ScrollLayoutInput &in, const ScrollLayout &l)
{
    if (!l.horizontalShown || !l.verticalShown) {
        return SkinRect{0, 0, 0, 0};
    }
    SkinRect h = scrollBarRect(in, l, kScrollHorizontal);
    SkinRect v = scrollBarRect(in, l, kScrollVertical);
    return SkinRect{v.left, h.top, v.right, h.bottom};
}

ScrollBarSpan scrollSpan(const SkinRect &bar, int32_t kind, int32_t arrowLength)
{
    ScrollBarSpan s;
    s.start = kind == kScrollHorizontal ? bar.left : bar.top;
    s.length = std::max(0, kind == kScrollHorizontal ? bar.width() : bar.height());
    s.arrow = std::max(0, arrowLength);
    if (2 * static_cast<int64_t>(s.arrow) > s.length) {
        s.arrow = s.length / 2;
    }
    return s;
}

ScrollThumb scrollThumb(const ScrollBarSpan &span, const ScrollValues &v, int32_t minThumb)
{
    ScrollThumb t;
    t.spaceStart = span.start + span.arrow;
    t.space = span.length - 2 * span.arrow;
    t.start = t.spaceStart;
    int64_t range = static_cast<int64_t>(v.max) - v.min;
    if (range > kLargestRange) {
        t.length = 0;
        return t;
    }
    if (v.page != 0) {
        int32_t page = static_cast<int32_t>(std::min<uint32_t>(v.page, std::numeric_limits<int32_t>::max()));
        t.length = std::max(scrollMulDiv(page, t.space, static_cast<int32_t>(range + 1)), minThumb);
    } else {
        t.length = std::max(span.arrow, minThumb);
    }
    int32_t freeSpace = t.space - t.length;
    int64_t positions = range - std::max<int64_t>(v.page, 1) + 1;
    int32_t offset = 0;
    if (freeSpace > 0 && positions > 0 && positions <= std::numeric_limits<int32_t>::max()) {
        int64_t delta = static_cast<int64_t>(v.pos) - v.min;
        delta = std::min<int64_t>(std::max<int64_t>(delta, 0), positions);
        offset = clamp32(scrollMulDiv(static_cast<int32_t>(delta), freeSpace, static_cast<int32_t>(positions)), 0,
                         freeSpace);
    }
    t.start = t.spaceStart + offset;
    return t;
}

int32_t scrollHitTest(const SkinRect &bar, int32_t kind, int32_t arrowLength, const ScrollValues &v,
                      int32_t minThumb, int32_t x, int32_t y)
{
    if (!contains(bar, x, y)) {
        return kScrollPartNone;
    }
    ScrollBarSpan span = scrollSpan(bar, kind, arrowLength);
    int32_t at = along(kind, x, y);
    if (at < span.start + span.arrow) {
        return kScrollPartFirstArrow;
    }
    if (at >= span.start + span.length - span.arrow) {
        return kScrollPartLastArrow;
    }
    ScrollThumb thumb = scrollThumb(span, v, minThumb);
    if (!thumb.fits()) {
        return kScrollPartNone;
    }
    if (at < thumb.start) {
        return kScrollPartTrackBefore;
    }
    if (at < thumb.start + thumb.length) {
        return kScrollPartThumb;
    }
    return kScrollPartTrackAfter;
}

std::vector<ScrollPiece> scrollBarPieces(const SkinRect &bar, int32_t kind, int32_t arrowLength,
                                         const ScrollValues &v, uint32_t flags, int32_t minThumb,
                                         const ScrollBarLook &look, const int32_t *trackedThumbStart)
{
    bool active = scrollBarActive(v, flags);
    auto stateOf = [&](int32_t part, bool disabled) -> uint32_t {
        if (disabled) {
            return kScrollDrawDisabled;
        }
        if (part == look.pressedPart) {
            return kScrollDrawPressed;
        }
        if (part == look.hotPart) {
            return kScrollDrawHot;
        }
        return kScrollDrawNormal;
    };
    bool firstDisabled = !active || (flags & kScrollFirstArrowDisabled);
    bool lastDisabled = !active || (flags & kScrollLastArrowDisabled);

    std::vector<ScrollPiece> pieces;
    ScrollBarSpan span = scrollSpan(bar, kind, arrowLength);
    int32_t end = span.start + span.length;
    auto add = [&](int32_t part, int32_t from, int32_t to, bool disabled) {
        if (to > from) {
            pieces.push_back(ScrollPiece{part, alongSlice(bar, kind, from, to), stateOf(part, disabled)});
        }
    };
    add(kScrollPartFirstArrow, span.start, span.start + span.arrow, firstDisabled);
    ScrollThumb thumb = scrollThumb(span, v, minThumb);
    if (active && thumb.fits() && thumb.space > 0) {
        int32_t start = thumb.start;
        if (trackedThumbStart) {
            start = clamp32(*trackedThumbStart, thumb.spaceStart, thumb.spaceStart + thumb.space - thumb.length);
        }
        add(kScrollPartTrackBefore, thumb.spaceStart, start, false);
        add(kScrollPartTrackAfter, start + thumb.length, thumb.spaceStart + thumb.space, false);
        add(kScrollPartThumb, start, start + thumb.length, false);
    } else {
        add(kScrollPartTrackBefore, thumb.spaceStart, thumb.spaceStart + thumb.space, !active);
    }
    add(kScrollPartLastArrow, end - span.arrow, end, lastDisabled);
    return pieces;
}

SkinRect scrollSnapArea(const SkinRect &bar, int32_t kind)
{
    int32_t dx = kind == kScrollHorizontal ? kScrollSnapAlong : kScrollSnapAcross;
    int32_t dy = kind == kScrollHorizontal ? kScrollSnapAcross : kScrollSnapAlong;
    return SkinRect{bar.left - dx, bar.top - dy, bar.right + dx, bar.bottom + dy};
}

void ScrollPress::reset()
{
    part_ = kScrollPartNone;
    showPressed_ = false;
    tracking_ = false;
    active_ = false;
    sentAny_ = false;
}

int32_t ScrollPress::partAt(int32_t x, int32_t y) const
{
    return scrollHitTest(bar_.rect, bar_.kind, bar_.arrowLength, bar_.values, bar_.minThumb, x, y);
}

ScrollActions ScrollPress::press(const Bar &bar, int32_t x, int32_t y)
{
    reset();
    bar_ = bar;
    int32_t part = partAt(x, y);
    bool active = scrollBarActive(bar.values, bar.flags);
    if ((part == kScrollPartFirstArrow && (bar.flags & kScrollFirstArrowDisabled)) ||
        (part == kScrollPartLastArrow && (bar.flags & kScrollLastArrowDisabled)) || part == kScrollPartNone ||
        (part == kScrollPartThumb && !active)) {
        return {};
    }
    part_ = part;
    active_ = active;
    if (part == kScrollPartThumb) {
        thumb_ = scrollThumb(scrollSpan(bar.rect, bar.kind, bar.arrowLength), bar.values, bar.minThumb);
        tracking_ = true;
        showPressed_ = true;
        thumbStartAtPress_ = thumbStart_ = thumb_.start;
        grabOffset_ = along(bar.kind, x, y) - thumb_.start;
        trackPos_ = bar.values.pos;
        return {{ScrollAction::kRedraw}, {ScrollAction::kCapture}};
    }
    ScrollActions out;
    if (active) {
        showPressed_ = true;
        out.push_back({ScrollAction::kSendRequest, part});
        out.push_back({ScrollAction::kRedraw});
        out.push_back({ScrollAction::kSetTimer, 0, 0, kScrollRepeatDelayTimer, kScrollRepeatDelayMs});
    }
    out.push_back({ScrollAction::kCapture});
    return out;
}

ScrollActions ScrollPress::timer(uint32_t id, int32_t x, int32_t y)
{
    if (!pressed() || tracking_ || !active_) {
        return {};
    }
    if (id == kScrollRepeatDelayTimer) {
        return {{ScrollAction::kKillTimer, 0, 0, kScrollRepeatDelayTimer},
                {ScrollAction::kSetTimer, 0, 0, kScrollRepeatTimer, kScrollRepeatIntervalMs}};
    }
    if (id != kScrollRepeatTimer) {
        return {};
    }
    ScrollActions out = move(x, y);
    if (showPressed_) {
        out.push_back({ScrollAction::kSendRequest, part_});
    }
    return out;
}

int32_t ScrollPress::trackedStart(int32_t x, int32_t y) const
{
    if (!contains(scrollSnapArea(bar_.rect, bar_.kind), x, y)) {
        return thumbStartAtPress_;
    }
    return clamp32(static_cast<int64_t>(along(bar_.kind, x, y)) - grabOffset_, thumb_.spaceStart,
                   static_cast<int64_t>(thumb_.spaceStart) + thumb_.space - thumb_.length);
}

int32_t ScrollPress::positionOfThumb(int32_t start) const
{
    const ScrollValues &v = bar_.values;
    if (start == thumbStartAtPress_) {
        return v.pos;
    }
    int32_t freeSpace = thumb_.space - thumb_.length;
    int64_t positions = static_cast<int64_t>(scrollPosLimit(v)) - v.min;
    if (freeSpace <= 0 || positions <= 0 || positions > std::numeric_limits<int32_t>::max()) {
        return clampScrollPos(v, static_cast<int64_t>(v.min) + (start - thumb_.spaceStart));
    }
    int32_t step = scrollMulDiv(start - thumb_.spaceStart, static_cast<int32_t>(positions), freeSpace);
    return clampScrollPos(v, static_cast<int64_t>(v.min) + step);
}

ScrollActions ScrollPress::move(int32_t x, int32_t y)
{
    if (!pressed()) {
        return {};
    }
    if (tracking_) {
        int32_t start = trackedStart(x, y);
        int32_t position = positionOfThumb(start);
        ScrollActions out;
        if (!sentAny_ || position != lastSent_) {
            lastSent_ = position;
            sentAny_ = true;
            trackPos_ = position;
            out.push_back({ScrollAction::kSendRequest, kScrollThumbTrack, position});
        }
        if (start != thumbStart_ || !out.empty()) {
            thumbStart_ = start;
            out.push_back({ScrollAction::kRedraw});
        }
        return out;
    }
    if (!active_) {
        return {};
    }
    bool over = partAt(x, y) == part_;
    if (over == showPressed_) {
        return {};
    }
    showPressed_ = over;
    return {{ScrollAction::kRedraw}};
}

ScrollActions ScrollPress::release()
{
    if (!pressed()) {
        return {};
    }
    ScrollActions out{{ScrollAction::kReleaseCapture}};
    if (active_) {
        out.push_back({ScrollAction::kKillTimer, 0, 0, kScrollRepeatDelayTimer});
        out.push_back({ScrollAction::kKillTimer, 0, 0, kScrollRepeatTimer});
        if (tracking_) {
            out.push_back({ScrollAction::kSendRequest, kScrollThumbPosition, sentAny_ ? lastSent_ : bar_.values.pos});
        }
        out.push_back({ScrollAction::kSendRequest, kScrollEnd});
    }
    reset();
    out.push_back({ScrollAction::kRedraw});
    return out;
}

}  // namespace skinbar
