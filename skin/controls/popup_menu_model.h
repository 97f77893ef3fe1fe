// The window-free part of the skinned popup menus: the items read from a menu (text,
// mnemonic, state), the menu's size, where it is placed against the tracking point and where
// a submenu opens, the scrolled band of items of a menu taller than its window with its item
// at a point, and the keyboard's moves. State and flag bits carry the platform's values.
#ifndef WORDMERE_SKIN_CONTROLS_POPUP_MENU_MODEL_H
#define WORDMERE_SKIN_CONTROLS_POPUP_MENU_MODEL_H

#include <cstdint>
#include <string>
#include <vector>

#include "skin_types.h"

namespace menu_state {
constexpr uint32_t kGrayed = 0x1, kDisabled = 0x2, kChecked = 0x8, kPopup = 0x10, kSeparator = 0x800;
}  // namespace menu_state

namespace track_flags {
constexpr uint32_t kCenterAlign = 0x4, kRightAlign = 0x8, kVCenterAlign = 0x10, kBottomAlign = 0x20,
                   kReturnCommand = 0x100;
}  // namespace track_flags

// The upper-cased character after the first "&" that is not part of "&&"; 0 for none.
wchar_t menuMnemonic(const std::wstring &text);
// The text as drawn: "&&" becomes "&", a single "&" goes (its character is underlined by the
// drawing), cut at the tab into the name and the right-aligned shortcut.
struct MenuTextParts {
    std::wstring name;
    std::wstring shortcut;
};
MenuTextParts splitMenuText(const std::wstring &text);

struct MenuItem {
    std::wstring text;
    bool hot = false;
    uint32_t commandId = 0;
    int32_t position = 0;
    wchar_t mnemonic = 0;
    uint32_t state = 0;
    bool hasSubmenu = false;

    bool enabled() const { return (state & (menu_state::kGrayed | menu_state::kDisabled)) == 0; }
    bool separator() const { return (state & menu_state::kSeparator) != 0 && (state & menu_state::kPopup) == 0; }
    bool checked() const { return (state & menu_state::kChecked) != 0; }
    // Whether choosing it gives a command (not a separator, a submenu header or disabled).
    bool givesCommand() const { return enabled() && !separator() && !hasSubmenu; }
};

// The next item that is not a separator from index `from` (-1: none hot) going down (+1) or up
// (-1), wrapping at the ends; -1 when every item is a separator.
int nextMenuItem(const std::vector<MenuItem> &items, int from, int direction);
// The first item whose mnemonic is the key (upper-cased); enabledOnly skips disabled ones. -1 for none.
int findMnemonicItem(const std::vector<MenuItem> &items, wchar_t key, bool enabledOnly);

// Item height: the larger of the text height and the icon side, plus the item margins, plus 2.
int32_t menuItemHeight(int32_t textHeight, int32_t iconSide, int32_t marginTop, int32_t marginBottom);
// Menu size: the widest text (a text with a tab counts four blanks more), the frame's side
// borders, the item margins, the check and arrow columns (one item height each) and 1; the
// height is the items' and the frame's top and bottom.
struct MenuMetrics {
    int32_t frameLeft, frameTop, frameRight, frameBottom;
    int32_t marginLeft, marginRight;
    int32_t itemHeight;
};
SkinRect menuWindowSize(const std::vector<int32_t> &textWidths, int32_t blankWidth, const std::vector<bool> &hasTab,
                        const MenuMetrics &metrics);

// Where a menu of size width x height stands for the tracking point and flags, kept inside the
// work area (a menu larger than the area takes the area's extent). Right-to-left swaps the sides.
SkinRect placePopupMenu(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags, const SkinRect &workArea,
                        bool rightToLeft);
// Where a submenu of that size opens beside its item (screen rectangle).
SkinRect placeSubmenu(const SkinRect &item, int32_t width, int32_t height, const SkinRect &workArea, bool rightToLeft);
// Where the menu of a frame's menu-bar item opens: below the item (screen rectangle), its left
// at the item's left (right-to-left: its right at the item's right); ending at the item's right
// when it would pass the area's right edge, above the item when it would pass the bottom; kept
// one pixel inside the area's top and left. A menu larger than the area is cut to it (less the
// two pixels) and scrolls.
SkinRect placeMenuBarPopup(const SkinRect &item, int32_t width, int32_t height, const SkinRect &workArea,
                           bool rightToLeft);

// The band of items inside a menu's inner area: which items show, the scroll arrows' areas
// above and below them, and the item at a point.
class MenuBand {
public:
    // Lays out count items of itemHeight in an inner area of that height.
    void layout(int32_t count, int32_t itemHeight, int32_t areaHeight);
    bool scrolling() const { return scrolling_; }
    int32_t firstVisible() const { return first_; }
    int32_t visibleCount() const { return visible_; }
    int32_t upArrowHeight() const { return up_; }
    int32_t downArrowHeight() const { return down_; }
    int32_t areaHeight() const { return area_; }
    // Top of item i relative to the inner area (it may lie outside when not visible).
    int32_t itemTop(int32_t index) const { return up_ + itemHeight_ * (index - first_); }
    bool isVisible(int32_t index) const { return index >= first_ && index < first_ + visible_; }
    // The item at y (relative to the inner area); -1 in the arrow areas, outside the area, or
    // below the last item.
    int32_t itemAt(int32_t y) const;
    bool inUpArrow(int32_t y) const { return scrolling_ && y >= 0 && y < up_; }
    bool inDownArrow(int32_t y) const { return scrolling_ && y >= area_ - down_ && y < area_; }
    // One item up or down; false at the end.
    bool scrollUp();
    bool scrollDown();
    // Scrolls the least so the item is shown.
    void ensureVisible(int32_t index);

private:
    int32_t count_ = 0;
    int32_t itemHeight_ = 1;
    int32_t area_ = 0;
    bool scrolling_ = false;
    int32_t first_ = 0;
    int32_t visible_ = 0;
    int32_t up_ = 0;
    int32_t down_ = 0;
};

#endif
