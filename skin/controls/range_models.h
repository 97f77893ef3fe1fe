// The value rules of the skinned range controls: the progress bar's model while the skinner
// answers its messages, the filled length and blocks of its bar, the thumb of a scroll-bar
// control (size, place, the part under a point, the position a drag gives) and the buttons of
// an up-down control. Platform-neutral, so the arithmetic is tested natively; the skinners
// (Windows) feed it the control's messages and draw what it answers.
#ifndef WORDMERE_SKIN_CONTROLS_RANGE_MODELS_H
#define WORDMERE_SKIN_CONTROLS_RANGE_MODELS_H

#include <cstdint>

#include "scroll_model.h"
#include "skin_types.h"

// ---- progress bar

// The colour answered to the bar and background colour messages: "the default colour".
constexpr uint32_t kProgressDefaultColour = 0xFF000000u;

// The progress bar's range, position and step while the skinner holds them.
class ProgressModel {
public:
    int32_t minimum() const { return minimum_; }
    int32_t maximum() const { return maximum_; }
    int32_t position() const { return position_; }
    int32_t step() const { return step_; }

    // Takes the control's values over: range and position as the control had them, and the
    // step the control took from the minimum (1 when that was not positive).
    void takeOver(int32_t minimum, int32_t maximum, int32_t position, int32_t positionAfterOneStep);

    // Each answers what the control's message answers: the old range packed as the 16-bit
    // minimum in the low word and the 16-bit maximum in the high word, the old position or
    // the old step.
    uint32_t setRange(int32_t minimum, int32_t maximum);
    int32_t setPosition(int32_t position);
    int32_t deltaPosition(int32_t delta);  // limited to the maximum only
    int32_t setStep(int32_t step);
    int32_t stepIt();                     // limited to the maximum only
    int32_t range(bool wantMinimum) const { return wantMinimum ? minimum_ : maximum_; }

private:
    int32_t minimum_ = 0;
    int32_t maximum_ = 100;
    int32_t position_ = 0;
    int32_t step_ = 1;
};

// The filled length of a bar width pixels long: (position - minimum) * width / (maximum -
// minimum), truncated; 0 for an empty range; always within 0..width, also for a position
// outside the range or a minimum above the maximum.
int32_t progressFillLength(int32_t minimum, int32_t maximum, int32_t position, int32_t width);

// How many whole blocks of blockWidth fit in the filled length (0 for an empty block).
int32_t progressBlockCount(int32_t fillLength, int32_t blockWidth);

// ---- scroll-bar control

// The parts of a scroll-bar control under a point.
enum ScrollControlPart : int32_t {
    kScrollPartNone = 0,
    kScrollPartFirstArrow = 1,
    kScrollPartSecondArrow = 2,
    kScrollPartTrackBefore = 3,
    kScrollPartTrackAfter = 4,
    kScrollPartThumb = 5,
};

// The scroll requests a press sends (the low word of WM_HSCROLL / WM_VSCROLL).
enum ScrollRequest : int32_t {
    kScrollLineUp = 0,
    kScrollLineDown = 1,
    kScrollPageUp = 2,
    kScrollPageDown = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollEndScroll = 8,
};

// The values of a scroll bar the control's copy keeps.
struct ScrollValues {
    int32_t minimum = 0;
    int32_t maximum = 100;
    uint32_t page = 0;
    int32_t position = 0;
};

// A bar laid along one axis: its start and length on that axis, its arrows' length and the
// smallest thumb.
struct ScrollAxis {
    int32_t start = 0;
    int32_t length = 0;
    int32_t arrowLength = 0;
    int32_t minimumThumb = 0;
};

struct ScrollThumb {
    int32_t start;   // on the axis
    int32_t length;
};

// The thumb, as the skinned window bars place theirs (skinbar::scrollThumb): its length from
// the page, at least the minimum thumb (an arrow long without a page, never below the minimum
// either), and its place from the position; its length is cut to the space between the arrows.
ScrollThumb scrollThumb(const ScrollValues &values, const ScrollAxis &axis);

// The values as the window bars keep theirs.
skinbar::ScrollValues scrollBarValuesOf(const ScrollValues &values);
// The window bars' part codes (skinbar::ScrollPart) for the control's, and back.
int32_t scrollBarPartOf(int32_t part);
int32_t scrollControlPartOf(int32_t barPart);

// The part at a point on the axis (coordinate along it); kScrollPartNone outside the bar.
int32_t scrollPartAt(const ScrollValues &values, const ScrollAxis &axis, int32_t at);

// The request a press on a part sends (-1 for the thumb and none).
int32_t scrollRequestForPart(int32_t part);

// The position a thumb drag gives: the pointer at `at` with the pointer `offset` pixels into
// the thumb, scaled from the free space to the positions and clamped to them. A bar with no
// free space (thumb and arrows fill it) answers the minimum.
int32_t scrollDragPosition(const ScrollValues &values, const ScrollAxis &axis, int32_t thumbLength, int32_t at,
                           int32_t offset);

// Whether a held press on a track part keeps repeating: until the thumb reaches the pointer.
bool scrollTrackRepeats(int32_t part, const ScrollThumb &thumb, int32_t at);

// ---- up-down control

// Which half of the control: 0 none, 1 first (upper or left), 2 second (lower or right).
enum UpDownHalf : int32_t { kUpDownNone = 0, kUpDownFirst = 1, kUpDownSecond = 2 };

// The button state of the skinner.
enum UpDownState : int32_t {
    kUpDownNormal = 0,
    kUpDownFirstPressed = 1,
    kUpDownSecondPressed = 2,
    kUpDownFirstHot = 3,
    kUpDownSecondHot = 4,
};

// The looks a half is drawn with.
enum UpDownLook : int32_t { kUpDownLookNormal = 0, kUpDownLookHot = 1, kUpDownLookPressed = 2, kUpDownLookDisabled = 3 };

// The half at a point of the client rectangle: top and bottom halves, or left and right.
int32_t upDownHalfAt(const SkinRect &client, bool horizontal, int32_t x, int32_t y);
SkinRect upDownHalfRect(const SkinRect &client, bool horizontal, int32_t half);

// The state after a pointer event over a half (kUpDownNone: elsewhere).
int32_t upDownStateOnMove(int32_t half, bool leftButtonDown);
int32_t upDownStateOnButtonDown(int32_t half);
int32_t upDownStateOnButtonUp(int32_t half);

// The look of a half in a state.
int32_t upDownLookFor(int32_t half, int32_t state, bool enabled);

#endif
