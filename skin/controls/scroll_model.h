// The arithmetic of skinned scroll bars: the scroll values each bar keeps and how the
// platform's scroll functions change them, where the bars sit in a window's non-client
// area, the thumb's size and place, what lies under a point, which pieces a bar is drawn
// from, and how a press on a bar turns into scroll requests over time (first request,
// repeat timers, thumb tracking with its snap-back, release). Platform-neutral: the
// Windows skinner (scroll_bar_win.cpp) measures, draws and sends what this decides.
#ifndef WORDMERE_SKIN_CONTROLS_SCROLL_MODEL_H
#define WORDMERE_SKIN_CONTROLS_SCROLL_MODEL_H

#include <cstdint>
#include <vector>

#include "skin_types.h"

// The names are kept apart from those of the scroll-bar control (range_models.h).
namespace skinbar {

// Parts of a bar.
enum ScrollPart : int32_t {
    kScrollPartNone = -1,
    kScrollPartFirstArrow = 0,
    kScrollPartLastArrow = 1,
    kScrollPartTrackBefore = 2,
    kScrollPartTrackAfter = 3,
    kScrollPartThumb = 5,
};

enum ScrollBarKind : int32_t { kScrollHorizontal = 0, kScrollVertical = 1 };
// The bar value of a draw request for the corner between two bars.
constexpr int32_t kScrollSizeBox = 3;

// Bits of a bar's flags.
enum ScrollFlag : uint32_t {
    kScrollFirstArrowDisabled = 0x1,
    kScrollLastArrowDisabled = 0x2,
    kScrollArrowBits = 0x3,
    kScrollKeepActive = 0x4,
    kScrollBarWanted = 0x8,
};

// The platform's scroll-information mask bits.
enum ScrollInfoMask : uint32_t {
    kScrollMaskRange = 0x1,
    kScrollMaskPage = 0x2,
    kScrollMaskPos = 0x4,
    kScrollMaskDisableNoScroll = 0x8,
    kScrollMaskTrackPos = 0x10,
    kScrollMaskAll = 0x17,
};

// Scroll requests (the low word of WM_HSCROLL / WM_VSCROLL's wParam).
enum ScrollRequest : int32_t {
    kScrollLineBefore = 0,
    kScrollLineAfter = 1,
    kScrollPageBefore = 2,
    kScrollPageAfter = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollEnd = 8,
};

// Draw states of a bar's part.
enum ScrollDrawState : uint32_t {
    kScrollDrawPressed = 0x1,
    kScrollDrawDisabled = 0x4,
    kScrollDrawNormal = 0x20,
    kScrollDrawHot = 0x40,
};

// Timers of a press and of hot tracking, and their periods.
constexpr uint32_t kScrollRepeatDelayTimer = 0xFFFD;
constexpr uint32_t kScrollRepeatTimer = 0xFFFE;
constexpr uint32_t kScrollHoverTimer = 0xFFFFFFF2;
constexpr uint32_t kScrollRepeatDelayMs = 300;
constexpr uint32_t kScrollRepeatIntervalMs = 55;
constexpr uint32_t kScrollHoverIntervalMs = 20;

// How far the pointer may leave a dragged thumb's bar before the thumb returns to its start.
constexpr int32_t kScrollSnapAlong = 48;
constexpr int32_t kScrollSnapAcross = 24;

// Arrow lengths and thicknesses: a negative value n means -n times the system's metric.
constexpr int32_t kScrollSizeSmallest = -8;
constexpr int32_t kScrollSizeLargest = 256;
constexpr int32_t kScrollMinThumbOldSystems = 8;
constexpr int32_t kScrollMinThumb = 6;

// A bar's scroll values, as the platform's SCROLLINFO holds them.
struct ScrollValues {
    int32_t min = 0;
    int32_t max = 0;
    uint32_t page = 0;
    int32_t pos = 0;
    int32_t trackPos = 0;
};

// The windows' MulDiv: a * b / c rounded to the nearest, halves away from zero, through 64
// bits; -1 when c is 0 or the result does not fit 32 bits.
int32_t scrollMulDiv(int32_t a, int32_t b, int32_t c);

// The highest position a bar takes: max(min, max - max(page, 1) + 1), compared signed.
int32_t scrollPosLimit(const ScrollValues &v);
int32_t clampScrollPos(const ScrollValues &v, int64_t pos);
// A page is at most the range's size, max - min + 1 (0 for an empty range).
uint32_t clampScrollPage(const ScrollValues &v, uint32_t page);

// What SetScrollInfo stores: the range (kScrollMaskRange), the page clamped to it, the
// position clamped to the limit. A position left behind a range or page that shrank is
// brought back within the new limit, as the platform's own bars do.
void storeScrollInfo(ScrollValues &v, uint32_t mask, const ScrollValues &given);
// What GetScrollInfo copies into out by mask; the answer is 1 when the range was asked for,
// otherwise whether anything was copied.
bool copyScrollInfo(const ScrollValues &v, uint32_t mask, ScrollValues &out);
// Whether a bar is wanted visible after SetScrollInfo.
bool scrollBarWantedVisible(const ScrollValues &v, uint32_t mask, uint32_t flags);
// EnableScrollBar: replaces the arrow bits; true when they changed.
bool setScrollArrows(uint32_t &flags, uint32_t arrows);

// A bar is active unless both arrows are disabled, and then only with something to scroll
// (or the keep-active flag).
bool scrollBarActive(const ScrollValues &v, uint32_t flags);

// Whether an arrow length or thickness may be set: -8..256, never 0.
bool scrollSizeAccepted(int32_t size);
// A size in pixels: negative values are multiples of the system metric.
int32_t scrollSizePixels(int32_t size, int32_t systemMetric);

// The non-client layout of a window with skinned bars, in window coordinates (0,0 is the
// window's top-left corner).
struct ScrollLayoutInput {
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    SkinRect client{};           // the client area the window computed without bars
    bool horizontalWanted = false;
    bool verticalWanted = false;
    int32_t horizontalThickness = 0;  // pixels
    int32_t verticalThickness = 0;
    bool verticalOnLeft = false;      // the left-scroll-bar style differs from the layout direction
};
struct ScrollLayout {
    SkinRect client{};
    bool horizontalShown = false;
    bool verticalShown = false;
    // The non-client insets the window computed, kept for the bars' rectangles.
    int32_t leftEdge = 0, topEdge = 0, rightEdge = 0, bottomEdge = 0;
};
ScrollLayout layoutScrollBars(const ScrollLayoutInput &in);

// The rectangle of a shown bar (window coordinates).
SkinRect scrollBarRect(const ScrollLayoutInput &in, const ScrollLayout &layout, int32_t kind);
// The corner between two shown bars; empty unless both are shown.
SkinRect scrollCornerRect(const ScrollLayoutInput &in, const ScrollLayout &layout);

// A bar's extent along its length and its arrows.
struct ScrollBarSpan {
    int32_t start = 0;    // first pixel along the bar
    int32_t length = 0;   // L
    int32_t arrow = 0;    // arrow length used: A, or half the bar when 2A does not fit
};
ScrollBarSpan scrollSpan(const SkinRect &bar, int32_t kind, int32_t arrowLength);

// The thumb: where the space between the arrows starts, its size, the thumb's start and length.
// Its length is the page's share of the space, or an arrow's length without a page; never
// shorter than minThumb in either case. The scroll-bar control's thumb is this one too.
struct ScrollThumb {
    int32_t spaceStart = 0;
    int32_t space = 0;
    int32_t start = 0;
    int32_t length = 0;
    // Whether the thumb fits in the space; when it does not, the bar has no thumb or tracks.
    bool fits() const { return length < space; }
};
ScrollThumb scrollThumb(const ScrollBarSpan &span, const ScrollValues &v, int32_t minThumb);

// The part of a bar under a point (window coordinates), kScrollPartNone outside it.
int32_t scrollHitTest(const SkinRect &bar, int32_t kind, int32_t arrowLength, const ScrollValues &v,
                      int32_t minThumb, int32_t x, int32_t y);

// One piece a bar is drawn from.
struct ScrollPiece {
    int32_t part;
    SkinRect rect;
    uint32_t state;
};
// What is pressed or hot on a bar while it is drawn.
struct ScrollBarLook {
    int32_t pressedPart = kScrollPartNone;
    int32_t hotPart = kScrollPartNone;
};
// The pieces of a bar in drawing order: a bar shorter than two arrows as two half-length
// arrows and the track left between them; otherwise the first arrow, the tracks before and
// after the thumb and the thumb (an active bar whose thumb fits) or one track over the whole
// space, then the last arrow. The thumb's rectangle follows tracked (when tracking).
std::vector<ScrollPiece> scrollBarPieces(const SkinRect &bar, int32_t kind, int32_t arrowLength,
                                         const ScrollValues &v, uint32_t flags, int32_t minThumb,
                                         const ScrollBarLook &look, const int32_t *trackedThumbStart = nullptr);

// What a window does as a press on one of its bars goes on.
struct ScrollAction {
    enum Kind : int32_t {
        kSendRequest,   // the scroll message with request (and position for thumb requests)
        kSetTimer,      // timer id every interval ms
        kKillTimer,
        kCapture,
        kReleaseCapture,
        kRedraw,        // the bar, with the press state as it now stands
    };
    Kind kind;
    int32_t request = 0;
    int32_t position = 0;
    uint32_t timer = 0;
    uint32_t interval = 0;
    bool operator==(const ScrollAction &o) const
    {
        return kind == o.kind && request == o.request && position == o.position && timer == o.timer &&
               interval == o.interval;
    }
};
using ScrollActions = std::vector<ScrollAction>;

// The press on one bar of one window, from the button going down to its release.
class ScrollPress {
public:
    // The bar pressed and what is known of it at that moment.
    struct Bar {
        SkinRect rect{};
        int32_t kind = kScrollHorizontal;
        int32_t arrowLength = 0;
        int32_t minThumb = kScrollMinThumb;
        uint32_t flags = 0;
        ScrollValues values;
    };

    bool pressed() const { return part_ != kScrollPartNone; }
    bool trackingThumb() const { return tracking_; }
    int32_t part() const { return part_; }
    // The part drawn pressed (the pressed part while the pointer is over it).
    int32_t drawnPressed() const { return showPressed_ ? part_ : kScrollPartNone; }
    int32_t kind() const { return bar_.kind; }
    const Bar &bar() const { return bar_; }
    // Where the dragged thumb is drawn.
    int32_t thumbStart() const { return thumbStart_; }
    int32_t trackPos() const { return trackPos_; }

    // The button goes down at (x, y) on bar.
    ScrollActions press(const Bar &bar, int32_t x, int32_t y);
    // A timer of the press fired; (x, y) is where the pointer is then.
    ScrollActions timer(uint32_t id, int32_t x, int32_t y);
    // The pointer moved to (x, y) with the button down.
    ScrollActions move(int32_t x, int32_t y);
    // The button came up.
    ScrollActions release();

private:
    void reset();
    int32_t partAt(int32_t x, int32_t y) const;
    int32_t trackedStart(int32_t x, int32_t y) const;
    int32_t positionOfThumb(int32_t start) const;

    Bar bar_;
    int32_t part_ = kScrollPartNone;
    bool showPressed_ = false;
    bool tracking_ = false;
    bool active_ = false;  // an inactive bar is captured but sends nothing
    ScrollThumb thumb_{};
    int32_t thumbStartAtPress_ = 0;
    int32_t thumbStart_ = 0;
    int32_t grabOffset_ = 0;
    int32_t trackPos_ = 0;
    int32_t lastSent_ = 0;
    bool sentAny_ = false;
};

// The area in which a dragged thumb follows the pointer: the bar enlarged along and across it.
SkinRect scrollSnapArea(const SkinRect &bar, int32_t kind);

}  // namespace skinbar

#endif
