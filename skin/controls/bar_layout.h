// Where the bar-like controls' skinned pieces go: which side a tab control's tabs stand on,
// the page beside them, a tab's look and its icon and text centred together, the turn of
// vertical and bottom tabs; a header item's text alignment and margins; a toolbar's drop-down
// arrow, the button whose tooltip is shown and the tooltip part of a command's string.
// Platform-neutral; the bar skinners (Windows) draw into what these answer.
#ifndef WORDMERE_SKIN_CONTROLS_BAR_LAYOUT_H
#define WORDMERE_SKIN_CONTROLS_BAR_LAYOUT_H

#include <cstdint>
#include <string>
#include <vector>

#include "skin_types.h"

// ---- tab control

// The tab control's style bits the skinner reads.
constexpr uint32_t kTabStyleBottomOrRight = 0x0002;  // TCS_BOTTOM, also TCS_RIGHT
constexpr uint32_t kTabStyleVertical = 0x0080;       // TCS_VERTICAL
constexpr uint32_t kTabStyleButtons = 0x0100;        // TCS_BUTTONS
constexpr uint32_t kTabStyleMultiline = 0x0200;      // TCS_MULTILINE
constexpr uint32_t kTabStyleOwnerDrawFixed = 0x2000; // TCS_OWNERDRAWFIXED: left to its owner

enum TabSide : int32_t { kTabsTop = 0, kTabsBottom = 1, kTabsLeft = 2, kTabsRight = 3 };

// The side the tabs stand on: right needs vertical, right and multiline together.
int32_t tabSideOf(uint32_t style);

// The page: the client area less the tab rows, overlapping the tabs' inner edge by one pixel.
// Without tabs, the whole client area.
SkinRect tabPageRect(const SkinRect &client, const std::vector<SkinRect> &tabs, int32_t side);

enum TabLook : int32_t { kTabLookNormal = 0, kTabLookHighlighted = 1, kTabLookSelected = 2, kTabLookDisabled = 3 };

// The look of one tab.
int32_t tabLookFor(bool controlEnabled, bool selected, bool buttonsStyle, bool buttonPressed, bool highlighted);

// How a tab's look is turned from its horizontal drawing: degrees clockwise, and whether it is
// flipped top to bottom.
struct TabTurn {
    int32_t degrees;
    bool flipped;
};
TabTurn tabTurnFor(int32_t side);

// The icon and the text of a tab centred together along the tab, the icon 4 pixels before the
// text, each centred across it. An empty icon (0 wide) takes no room and no gap.
constexpr int32_t kTabIconGap = 4;
struct TabContent {
    SkinRect icon;
    SkinRect text;
};
TabContent tabContentLayout(const SkinRect &tab, int32_t iconWidth, int32_t iconHeight, int32_t textWidth,
                            int32_t textHeight);

// A vertical tab's look and content are laid out along the tab, as if it stood on top, in a
// frame of the tab's turned size (length x across, from 0, 0); this gives the frame and puts
// a rectangle of it back on the control, turned as tabTurnFor says. Top and bottom tabs keep
// their own frame, moved to 0, 0.
SkinRect tabLayoutFrame(const SkinRect &tab, int32_t side);
SkinRect tabFrameToControl(const SkinRect &inFrame, const SkinRect &tab, int32_t side);

// ---- header and panels

enum HeaderTextAlignment : int32_t { kHeaderAlignLeft = 0, kHeaderAlignCentre = 1, kHeaderAlignRight = 2 };

// The alignment of a header item's text from its format (HDF_RIGHT 1, HDF_CENTER 2).
int32_t headerTextAlignment(uint32_t format);

// The text room of an item or panel: the rectangle less the left and right margins, never
// inverted.
SkinRect insideMargins(const SkinRect &rect, int32_t leftMargin, int32_t rightMargin);

// ---- toolbar

// A toolbar button's state bits (TBSTATE_*) the skinner reads.
constexpr uint8_t kToolStateChecked = 0x01;
constexpr uint8_t kToolStatePressed = 0x02;
constexpr uint8_t kToolStateEnabled = 0x04;
constexpr uint8_t kToolStateHidden = 0x08;
constexpr uint8_t kToolStateIndeterminate = 0x10;

// A toolbar button's look, in the order of the skin's button looks.
enum ToolLook : int32_t { kToolLookNormal = 0, kToolLookHot = 1, kToolLookPressed = 2, kToolLookDisabled = 3 };
// Checked or pressed first, then disabled (not enabled, or indeterminate), then hot.
int32_t toolButtonLook(uint8_t state, bool hot);

// A drop-down button's arrow: four lines of 7, 5, 3 and 1 pixels, 3 to 9 pixels from the
// right, centred across the button; its content area loses the arrow's 6 pixels.
constexpr int32_t kDropArrowLines = 4;
constexpr int32_t kDropArrowRoom = 6;
std::vector<SkinRect> dropArrowLines(const SkinRect &button);
SkinRect dropButtonContent(const SkinRect &button);

// The button whose tooltip the toolbar shows: the subject changes only when the pointer moves
// onto another button.
class ToolbarTooltipSubject {
public:
    // The button under the pointer (-1 none); true when the subject changed to that button.
    bool moveOver(int32_t button);
    void forget() { button_ = -1; }
    int32_t button() const { return button_; }

private:
    int32_t button_ = -1;
};

// The tooltip text of a command's string: its second newline-separated part (empty when it has
// none); the first part is the status-bar prompt.
std::u16string commandTooltipText(const std::u16string &commandString);

#endif
