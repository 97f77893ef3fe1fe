#include "range_models.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "scroll_model.h"

namespace {

int32_t clampToInt32(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Clamped into minimum..maximum; with the minimum above the maximum the minimum wins, as the
// later of the two limits.
int32_t clampIntoRange(int32_t value, int32_t minimum, int32_t maximum)
{
    if (value > maximum)
        value = maximum;
    if (value < minimum)
        value = minimum;
    return value;
}

// a * b / c rounded to the nearest, as the system's MulDiv; 0 for c = 0.
int32_t mulDiv(int64_t a, int64_t b, int64_t c)
{
    if (c == 0)
        return 0;
    int64_t product = a * b;
    int64_t half = (c > 0 ? c : -c) / 2;
    int64_t rounded = ((product < 0) != (c < 0)) ? (product - half) / c : (product + half) / c;
    return clampToInt32(rounded);
}

uint32_t packRange(int32_t minimum, int32_t maximum)
{
    return (static_cast<uint32_t>(minimum) & 0xFFFFu) | ((static_cast<uint32_t>(maximum) & 0xFFFFu) << 16);
}

}  // namespace

// ---- progress bar

void ProgressModel::takeOver(int32_t minimum, int32_t maximum, int32_t position, int32_t positionAfterOneStep)
{
    minimum_ = minimum;
    maximum_ = maximum;
    position_ = position;
    int64_t step = static_cast<int64_t>(positionAfterOneStep) - minimum;
    step_ = step > 0 ? clampToInt32(step) : 1;
}

uint32_t ProgressModel::setRange(int32_t minimum, int32_t maximum)
{
    uint32_t old = packRange(minimum_, maximum_);
    minimum_ = minimum;
    maximum_ = maximum;
    position_ = clampIntoRange(position_, minimum_, maximum_);
    return old;
}

int32_t ProgressModel::setPosition(int32_t position)
{
    int32_t old = position_;
    position_ = clampIntoRange(position, minimum_, maximum_);
    return old;
}

int32_t ProgressModel::deltaPosition(int32_t delta)
{
    int32_t old = position_;
    position_ = clampToInt32(std::min<int64_t>(static_cast<int64_t>(position_) + delta, maximum_));
    return old;
}

int32_t ProgressModel::setStep(int32_t step)
{
    int32_t old = step_;
    step_ = step;
    return old;
}

int32_t ProgressModel::stepIt()
{
    int32_t old = position_;
    position_ = clampToInt32(std::min<int64_t>(static_cast<int64_t>(position_) + step_, maximum_));
    return old;
}

int32_t progressFillLength(int32_t minimum, int32_t maximum, int32_t position, int32_t width)
{
    if (minimum == maximum || width <= 0)
        return 0;
    double filled = (static_cast<double>(position) - minimum) * width / (static_cast<double>(maximum) - minimum);
    if (!(filled > 0))
        return 0;
    if (filled >= width)
        return width;
    return static_cast<int32_t>(filled);
}

int32_t progressBlockCount(int32_t fillLength, int32_t blockWidth)
{
    if (blockWidth <= 0 || fillLength <= 0)
        return 0;
    return fillLength / blockWidth;
}

// ---- scroll-bar control

namespace {

int32_t spaceBetweenArrows(const ScrollAxis &axis)
{
    return std::max(0, axis.length - 2 * std::max(0, axis.arrowLength));
}

// The positions a drag can reach beyond the minimum.
int64_t scrollPositions(const ScrollValues &values)
{
    int64_t n = static_cast<int64_t>(values.maximum) - values.minimum;
    if (values.page != 0)
        n += 1 - static_cast<int64_t>(values.page);
    return n;
}

}  // namespace

namespace {

skinbar::ScrollBarSpan barSpan(const ScrollAxis &axis)
{
    return skinbar::scrollSpan(SkinRect{axis.start, 0, axis.start + std::max(0, axis.length), 1}, skinbar::kScrollHorizontal,
                               axis.arrowLength);
}

}  // namespace

skinbar::ScrollValues scrollBarValuesOf(const ScrollValues &values)
{
    skinbar::ScrollValues v;
    v.min = values.minimum;
    v.max = values.maximum;
    v.page = values.page;
    v.pos = values.position;
    return v;
}

int32_t scrollBarPartOf(int32_t part)
{
    switch (part) {
    case kScrollPartFirstArrow: return skinbar::kScrollPartFirstArrow;
    case kScrollPartSecondArrow: return skinbar::kScrollPartLastArrow;
    case kScrollPartTrackBefore: return skinbar::kScrollPartTrackBefore;
    case kScrollPartTrackAfter: return skinbar::kScrollPartTrackAfter;
    case kScrollPartThumb: return skinbar::kScrollPartThumb;
    default: return skinbar::kScrollPartNone;
    }
}

int32_t scrollControlPartOf(int32_t barPart)
{
    switch (barPart) {
    case skinbar::kScrollPartFirstArrow: return kScrollPartFirstArrow;
    case skinbar::kScrollPartLastArrow: return kScrollPartSecondArrow;
    case skinbar::kScrollPartTrackBefore: return kScrollPartTrackBefore;
    case skinbar::kScrollPartTrackAfter: return kScrollPartTrackAfter;
    case skinbar::kScrollPartThumb: return kScrollPartThumb;
    default: return kScrollPartNone;
    }
}

ScrollThumb scrollThumb(const ScrollValues &values, const ScrollAxis &axis)
{
    const skinbar::ScrollThumb t = skinbar::scrollThumb(barSpan(axis), scrollBarValuesOf(values), axis.minimumThumb);
    return {t.start, std::clamp(t.length, 0, std::max(0, t.space))};
}

int32_t scrollPartAt(const ScrollValues &values, const ScrollAxis &axis, int32_t at)
{
    if (axis.length <= 0)
        return kScrollPartNone;
    const SkinRect bar{axis.start, 0, axis.start + axis.length, 1};
    return scrollControlPartOf(skinbar::scrollHitTest(bar, skinbar::kScrollHorizontal, axis.arrowLength,
                                                      scrollBarValuesOf(values), axis.minimumThumb, at, 0));
}

int32_t scrollRequestForPart(int32_t part)
{
    switch (part) {
    case kScrollPartFirstArrow: return kScrollLineUp;
    case kScrollPartSecondArrow: return kScrollLineDown;
    case kScrollPartTrackBefore: return kScrollPageUp;
    case kScrollPartTrackAfter: return kScrollPageDown;
    default: return -1;
    }
}

int32_t scrollDragPosition(const ScrollValues &values, const ScrollAxis &axis, int32_t thumbLength, int32_t at,
                           int32_t offset)
{
    int64_t positions = scrollPositions(values);
    int64_t freeSpace = static_cast<int64_t>(spaceBetweenArrows(axis)) - thumbLength;
    if (positions <= 0 || freeSpace <= 0)
        return values.minimum;
    double moved = static_cast<double>(at) - axis.start - offset - std::max(0, axis.arrowLength);
    double position = values.minimum + moved * static_cast<double>(positions) / static_cast<double>(freeSpace);
    double highest = static_cast<double>(values.minimum) + static_cast<double>(positions);
    position = std::clamp(position, static_cast<double>(values.minimum), highest);
    return clampToInt32(static_cast<int64_t>(position));
}

bool scrollTrackRepeats(int32_t part, const ScrollThumb &thumb, int32_t at)
{
    switch (part) {
    case kScrollPartFirstArrow:
    case kScrollPartSecondArrow: return true;
    case kScrollPartTrackBefore: return at < thumb.start;
    case kScrollPartTrackAfter: return at >= thumb.start + thumb.length;
    default: return false;
    }
}

// ---- up-down control

SkinRect upDownHalfRect(const SkinRect &client, bool horizontal, int32_t half)
{
    SkinRect r = client;
    if (horizontal) {
        int32_t middle = client.left + client.width() / 2;
        if (half == kUpDownFirst)
            r.right = middle;
        else
            r.left = middle;
    } else {
        int32_t middle = client.top + client.height() / 2;
        if (half == kUpDownFirst)
            r.bottom = middle;
        else
            r.top = middle;
    }
    return r;
}

int32_t upDownHalfAt(const SkinRect &client, bool horizontal, int32_t x, int32_t y)
{
    for (int32_t half : {kUpDownFirst, kUpDownSecond}) {
        SkinRect r = upDownHalfRect(client, horizontal, half);
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return half;
    }
    return kUpDownNone;
}

int32_t upDownStateOnMove(int32_t half, bool leftButtonDown)
{
    if (half == kUpDownNone)
        return kUpDownNormal;
    return leftButtonDown ? upDownStateOnButtonDown(half) : upDownStateOnButtonUp(half);
}

int32_t upDownStateOnButtonDown(int32_t half)
{
    if (half == kUpDownFirst)
        return kUpDownFirstPressed;
    return half == kUpDownSecond ? kUpDownSecondPressed : kUpDownNormal;
}

int32_t upDownStateOnButtonUp(int32_t half)
{
    if (half == kUpDownFirst)
        return kUpDownFirstHot;
    return half == kUpDownSecond ? kUpDownSecondHot : kUpDownNormal;
}

int32_t upDownLookFor(int32_t half, int32_t state, bool enabled)
{
    if (!enabled)
        return kUpDownLookDisabled;
    bool first = half == kUpDownFirst;
    if (state == (first ? kUpDownFirstPressed : kUpDownSecondPressed))
        return kUpDownLookPressed;
    if (state == (first ? kUpDownFirstHot : kUpDownSecondHot))
        return kUpDownLookHot;
    return kUpDownLookNormal;
}
