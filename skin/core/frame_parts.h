// What the parts of a skinned frame do, without drawing: the look and the clicks of a caption
// button, which of a frame definition's pictures paints a piece in the active and the inactive
// look, the strips of the non-client area copied to the window after off-screen painting, and
// how a caption-text part's region joins the window region. Platform-neutral, so the rules are
// tested natively; the Windows side (frame_skinner.h) draws and routes the messages.
#ifndef WORDMERE_SKIN_CORE_FRAME_PARTS_H
#define WORDMERE_SKIN_CORE_FRAME_PARTS_H

#include <array>
#include <cstdint>

#include "frame_geometry.h"

// A caption button's look and what the mouse does to it.
class CaptionButtonModel {
public:
    enum class Look { Normal, Hover, Pressed, Disabled };
    // How long after a press a second press of a system-menu button closes the window.
    static constexpr uint32_t kSecondPressMs = 500;

    explicit CaptionButtonModel(bool toggle = false) : toggle_(toggle) {}

    void setEnabled(bool enabled);
    bool enabled() const { return enabled_; }
    bool toggled() const { return toggled_; }
    Look look() const;

    // Each answers whether the look changed. The pointer is on the button or not.
    bool pointerMove(bool inside);
    bool buttonDown(bool inside);
    // Whether the button's action runs: only when pressed and released on it. A toggle button
    // flips between pressed and normal on each such release.
    bool buttonUp(bool inside, bool *lookChanged = nullptr);
    // The pointer has gone from the button (the hover timer saw it outside).
    bool pointerLeft();
    // The button is pressed at `nowMs`: whether it is a second press soon after the last.
    bool secondPressAt(uint32_t nowMs);

private:
    bool toggle_;
    bool enabled_ = true;
    bool hover_ = false;
    bool pressed_ = false;
    bool toggled_ = false;
    bool pressedBefore_ = false;
    uint32_t lastPressMs_ = 0;
};

// The picture (0..17) that paints a piece: the inactive set for an inactive window when it is
// set, else the active one; -1 when neither is set (the piece is filled with the look's colour).
int32_t framePictureIndex(const BorderedDefinition &definition, int32_t piece, bool active);
// The fill of a piece without a picture: the first colour when active, else the second.
SkinColor framePieceFill(const BorderedDefinition &definition, bool active);
// The background picture (4, or 13 for an inactive window when set); -1 when neither is set.
int32_t frameBackgroundIndex(const BorderedDefinition &definition, bool active);
// The iconic nine-grid: the first when active, the second when inactive and set, else the first.
const SkinNineGrid &frameIconicGrid(const BorderedDefinition &definition, bool active);

// The four strips around the client rectangle of a window of that size (window coordinates):
// left, right, bottom and the top strip (caption and menu bar), each empty where there is none.
std::array<SkinRect, 4> nonClientStrips(SkinSize window, const SkinRect &client);

// How a caption-text part's region joins the window region.
enum class RegionCombine { Intersect, Subtract, Unite, ExclusiveOr, CutThenUnite, None };
RegionCombine regionCombineOf(int32_t value);

// Two button-ups within `doubleClickMs` of each other count as a double click.
bool isQuickSecondClick(uint32_t previousMs, uint32_t nowMs, uint32_t doubleClickMs);

#endif
