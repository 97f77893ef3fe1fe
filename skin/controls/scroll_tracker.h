// The press, repeat and drag of a skinned scroll-bar control, as a sequence of actions for the
// skinner to carry out (send a scroll request to the owner, start or stop the repeat timer,
// take or release the capture, repaint). Platform-neutral, so holding an arrow, paging towards
// the pointer and dragging the thumb are tested natively.
#ifndef WORDMERE_SKIN_CONTROLS_SCROLL_TRACKER_H
#define WORDMERE_SKIN_CONTROLS_SCROLL_TRACKER_H

#include <cstdint>
#include <vector>

#include "range_models.h"

// The repeat timer of a held press.
constexpr uintptr_t kScrollRepeatTimer = 200;
constexpr uint32_t kScrollRepeatMs = 50;

enum ScrollActionKind : int32_t {
    kScrollSend = 0,         // WM_HSCROLL / WM_VSCROLL with request (and position for the thumb)
    kScrollStartRepeat = 1,  // timer 200 every 50 ms
    kScrollStopRepeat = 2,
    kScrollCapture = 3,
    kScrollRelease = 4,
    kScrollRepaint = 5,
};

struct ScrollAction {
    int32_t kind;
    int32_t request = 0;
    int32_t position = 0;
    bool operator==(const ScrollAction &o) const
    {
        return kind == o.kind && request == o.request && position == o.position;
    }
};
using ScrollActions = std::vector<ScrollAction>;

// The values and the axis are the control's current ones at each event: the owner moves the
// position between events through the control's messages.
class ScrollControlTracker {
public:
    ScrollActions buttonDown(const ScrollValues &values, const ScrollAxis &axis, int32_t at);
    ScrollActions repeatTimer(const ScrollValues &values, const ScrollAxis &axis);
    ScrollActions mouseMove(const ScrollValues &values, const ScrollAxis &axis, int32_t at, bool leftButtonDown);
    ScrollActions buttonUp(const ScrollValues &values, const ScrollAxis &axis, int32_t at);
    void mouseLeft() { hot_ = kScrollPartNone; }

    bool pressed() const { return pressed_; }
    int32_t pressedPart() const { return pressed_ ? part_ : kScrollPartNone; }
    int32_t hotPart() const { return hot_; }

private:
    int32_t dragPosition(const ScrollValues &values, const ScrollAxis &axis, int32_t at) const;

    bool pressed_ = false;
    bool repeating_ = false;
    int32_t part_ = kScrollPartNone;
    int32_t hot_ = kScrollPartNone;
    int32_t offset_ = 0;   // the pointer's offset in the thumb while it is dragged
    int32_t lastAt_ = 0;   // where the pointer was last seen while pressed
};

#endif
