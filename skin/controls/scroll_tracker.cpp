#include "scroll_tracker.h"

int32_t ScrollControlTracker::dragPosition(const ScrollValues &values, const ScrollAxis &axis, int32_t at) const
{
    return scrollDragPosition(values, axis, scrollThumb(values, axis).length, at, offset_);
}

ScrollActions ScrollControlTracker::buttonDown(const ScrollValues &values, const ScrollAxis &axis, int32_t at)
{
    int32_t part = scrollPartAt(values, axis, at);
    if (part == kScrollPartNone)
        return {};
    pressed_ = true;
    part_ = part;
    lastAt_ = at;
    ScrollActions actions{{kScrollCapture}};
    if (part == kScrollPartThumb) {
        offset_ = at - scrollThumb(values, axis).start;
        actions.push_back({kScrollSend, kScrollThumbTrack, values.position});
    } else {
        actions.push_back({kScrollSend, scrollRequestForPart(part)});
        actions.push_back({kScrollStartRepeat});
        repeating_ = true;
    }
    actions.push_back({kScrollRepaint});
    return actions;
}

ScrollActions ScrollControlTracker::repeatTimer(const ScrollValues &values, const ScrollAxis &axis)
{
    if (!pressed_ || !repeating_ || part_ == kScrollPartThumb)
        return {};
    if (scrollPartAt(values, axis, lastAt_) != part_ ||
        !scrollTrackRepeats(part_, scrollThumb(values, axis), lastAt_)) {
        repeating_ = false;
        return {{kScrollStopRepeat}};
    }
    return {{kScrollSend, scrollRequestForPart(part_)}};
}

ScrollActions ScrollControlTracker::mouseMove(const ScrollValues &values, const ScrollAxis &axis, int32_t at,
                                              bool leftButtonDown)
{
    if (!pressed_ || !leftButtonDown) {
        int32_t hot = scrollPartAt(values, axis, at);
        if (pressed_ || hot == hot_)
            return {};
        hot_ = hot;
        return {{kScrollRepaint}};
    }
    lastAt_ = at;
    if (part_ == kScrollPartThumb)
        return {{kScrollSend, kScrollThumbTrack, dragPosition(values, axis, at)}};
    bool over = scrollPartAt(values, axis, at) == part_;
    if (over == repeating_)
        return {};
    repeating_ = over;
    return {{over ? kScrollStartRepeat : kScrollStopRepeat}};
}

ScrollActions ScrollControlTracker::buttonUp(const ScrollValues &values, const ScrollAxis &axis, int32_t at)
{
    if (!pressed_)
        return {};
    ScrollActions actions{{kScrollRelease}, {kScrollStopRepeat}};
    if (part_ == kScrollPartThumb)
        actions.push_back({kScrollSend, kScrollThumbPosition, dragPosition(values, axis, at)});
    actions.push_back({kScrollSend, kScrollEndScroll});
    actions.push_back({kScrollRepaint});
    pressed_ = false;
    repeating_ = false;
    part_ = kScrollPartNone;
    return actions;
}
