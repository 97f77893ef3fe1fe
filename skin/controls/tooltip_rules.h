// The skinned tooltip's rules that need no window: where it goes beside the pointer (eight
// placements, the skin's first, then the first that fits on the monitor), how large its frame
// makes it, and its states between the show and hide delays. The tooltip window (Windows)
// follows what these answer.
#ifndef WORDMERE_SKIN_CONTROLS_TOOLTIP_RULES_H
#define WORDMERE_SKIN_CONTROLS_TOOLTIP_RULES_H

#include <cstdint>
#include <string>

#include "skin_types.h"

// The placement codes of the skin's Tooltip object: where the tooltip stands from the anchor.
enum TooltipPlacement : int32_t {
    kTooltipBelowRight = 0,
    kTooltipBelowCentred = 1,
    kTooltipBelowLeft = 2,
    kTooltipBesideRight = 3,
    kTooltipBesideLeft = 4,
    kTooltipAboveRight = 5,
    kTooltipAboveCentred = 6,
    kTooltipAboveLeft = 7,
};
constexpr int32_t kTooltipPlacementCount = 8;

// Distances from the anchor (the pointer's hot spot) in pixels.
constexpr int32_t kTooltipSideGap = 2;
constexpr int32_t kTooltipBelowGap = 22;  // clears the arrow cursor

// The tooltip's timers.
constexpr uintptr_t kTooltipShowTimer = 1000;
constexpr uintptr_t kTooltipHideTimer = 1010;

// The rectangle of a w x h tooltip at the anchor under one placement code (an unknown code
// places as code 0).
SkinRect tooltipRectAt(int32_t placement, int32_t anchorX, int32_t anchorY, int32_t width, int32_t height);

// Whether both corners of the rectangle lie on the area.
bool tooltipFits(const SkinRect &rect, const SkinRect &area);

// The rectangle the tooltip takes: the skin's placement when it fits on the monitor area,
// otherwise the first of the codes 0 to 7 that fits, and code 7 when none does.
SkinRect placeTooltip(int32_t placement, int32_t anchorX, int32_t anchorY, int32_t width, int32_t height,
                      const SkinRect &monitorArea);

// The window size around a text of the given size: the text plus the frame pieces on each side.
struct TooltipFrame {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};
void tooltipWindowSize(const TooltipFrame &frame, int32_t textWidth, int32_t textHeight, int32_t *width,
                       int32_t *height);

// What the tooltip should do next, for the window to carry out.
enum TooltipAction : int32_t {
    kTooltipDoNothing = 0,
    kTooltipHide = 1,        // hide the window, kill both timers
    kTooltipArmShow = 2,     // hide, then start the show timer with the show delay
    kTooltipShow = 3,        // measure, place and show the text, start the hide timer
    kTooltipKeepWaiting = 4, // the show timer keeps running: ask again at its next period
};

// The tooltip's states: hidden, pending (show timer running) or shown (hide timer running).
enum TooltipState : int32_t { kTooltipHidden = 0, kTooltipPending = 1, kTooltipShown = 2 };

// The sequence of one tooltip: a new text arms the show delay, its end shows the text (or the
// text provider's text at the pointer), the hide delay or the pointer leaving hides it.
class TooltipTimeline {
public:
    int32_t state() const { return state_; }
    const std::u16string &text() const { return text_; }

    // A new text to show: any shown tooltip is hidden first; an empty text shows nothing.
    int32_t showText(const std::u16string &text);
    // The show delay ended. With a provider its text at the pointer replaces the stored one.
    int32_t showDelayEnded(const std::u16string *providerText);
    // The hide delay ended, the pointer left the tooltip, or the caller hides it.
    int32_t hide();

private:
    int32_t state_ = kTooltipHidden;
    std::u16string text_;
};

#endif
