// The skinned frame's menu bar without drawing: the top-level items of the window's menu laid
// out in rows that wrap inside the bar, their hot and open states, and what the mouse, the hover
// timer and the keyboard do to them. The window side measures the texts, draws the items by
// their states and carries out the actions (open a submenu, post a command) that the model asks
// for through MenuBarActions. Platform-neutral, so the layout and the navigation are tested
// natively with tables of points and sizes.
#ifndef WORDMERE_SKIN_CORE_MENU_BAR_MODEL_H
#define WORDMERE_SKIN_CORE_MENU_BAR_MODEL_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "frame_geometry.h"

enum class MenuItemState : int32_t { Normal = 0, Hot = 1, Open = 2 };
// The buttons of a maximised MDI child, shown at the ends of the bar.
enum MdiButtonIndex { kMdiSystemIcon, kMdiMinimize, kMdiRestore, kMdiClose, kMdiButtonCount };
enum class MdiButtonState : int32_t { Normal = 0, Hot = 1, Pressed = 2 };

// The MDI buttons' size, the room they need at the end of the last row, and where the items start.
constexpr int32_t kMdiButtonSize = 16;
constexpr int32_t kMdiButtonsRoom = 48;
constexpr int32_t kMdiButtonStep = 18;
constexpr int32_t kMdiSystemIconInset = 2;
constexpr int32_t kMenuItemsInset = 4;
constexpr int32_t kMenuItemsInsetWithMdi = 20;
// The space added to the tallest item for a row.
constexpr int32_t kMenuRowGap = 2;

// One top-level item of a menu, as the window side reads it.
struct MenuBarEntry {
    std::u16string text;
    uint32_t commandId = 0;
    bool hasSubmenu = false;
    bool enabled = true;
    // The text's extent in the bar's font.
    SkinSize textExtent{0, 0};
};

// The bar's margins (its background nine-grid's) and the space around an item's text (the
// larger of the hot and open nine-grids' margins on each side); as rectangles of four margins.
struct MenuBarMetrics {
    SkinRect barMargins{0, 0, 0, 0};
    SkinRect itemPadding{0, 0, 0, 0};
};
MenuBarMetrics menuBarMetrics(const MenuBarDefinition &definition);

// The mnemonic of an item's text: the character after a single '&' ("&&" is a literal
// ampersand), folded to lower case; 0 when there is none.
char16_t menuMnemonic(const std::u16string &text);
// Lower case for the letters of the Latin alphabets the interface languages use.
char16_t foldMenuCharacter(char16_t c);

// What the model asks the window side to do.
class MenuBarActions {
public:
    virtual ~MenuBarActions() = default;
    // Before the first item of a menu session opens or runs: the frame gets its menu's
    // initialisation message.
    virtual void initMenu() = 0;
    // Shows the item's submenu below it; false when it could not be shown.
    virtual bool openPopup(size_t item) = 0;
    virtual void closePopup(size_t item) = 0;
    virtual void runCommand(uint32_t commandId) = 0;
    virtual void setHoverTimer(bool running) = 0;
    virtual void repaint() = 0;
    // The MDI buttons: the child's system menu, and the command of a released button.
    virtual void openChildSystemMenu() = 0;
    virtual void mdiButtonReleased(MdiButtonIndex button) = 0;
};

enum class MenuBarKey { Left, Right, F10, Character, Reset };

class MenuBarModel {
public:
    struct Item {
        MenuBarEntry entry;
        // The item's place in the menu (separators count).
        int32_t position = 0;
        char16_t mnemonic = 0;
        MenuItemState state = MenuItemState::Normal;
        SkinRect rect{0, 0, 0, 0};
    };

    explicit MenuBarModel(MenuBarActions &actions);

    // Replaces the items with the menu's entries in order; separators (empty text) are skipped.
    // Any open item is closed first.
    void setEntries(const std::vector<MenuBarEntry> &entries);
    void setMetrics(const MenuBarMetrics &metrics) { metrics_ = metrics; }
    // The window side refreshes an item's enabled state from the menu before painting.
    void setItemEnabled(size_t item, bool enabled);

    // The bar's height for a bar of that width; 0 without items.
    int32_t heightForWidth(int32_t width, bool mdiButtons) const;
    // Places the items and the MDI buttons in a bar from left to right (window coordinates)
    // whose top is `top`; answers the bar's rectangle.
    SkinRect layout(int32_t left, int32_t top, int32_t right, bool mdiButtons);

    // The item or MDI button at a point (after layout), or -1.
    int32_t itemAt(SkinPoint point) const;
    int32_t mdiButtonAt(SkinPoint point) const;

    void buttonDown(SkinPoint point);
    void buttonUp(SkinPoint point);
    void pointerMove(SkinPoint point);
    // The hover timer fired with the pointer at that point.
    void hoverTick(SkinPoint pointer);
    // Left and right arrows, F10, a character (with Alt: a mnemonic), and the reset; answers
    // whether the bar took the key.
    bool key(MenuBarKey key, char16_t character = 0, bool alt = false);
    // The open item's submenu closed (a command was chosen, Escape, or the end of menu mode).
    void endMenuMode();

    bool inMenuMode() const { return open_ >= 0; }
    int32_t openItem() const { return open_; }
    int32_t hotItem() const { return hot_; }
    const std::vector<Item> &items() const { return items_; }
    bool mdiButtonsShown() const { return mdiShown_; }
    const SkinRect &mdiButtonRect(MdiButtonIndex b) const { return mdiRects_[b]; }
    MdiButtonState mdiButtonState(MdiButtonIndex b) const { return mdiStates_[b]; }
    const SkinRect &barRect() const { return bar_; }

private:
    SkinSize itemSize(const Item &item) const;
    int32_t tallestItem() const;
    // Flows the items from `start` inside [innerLeft, innerRight): their left edges and rows
    // (from 0) into `places` when given; answers the number of rows, MDI room included.
    int32_t flow(int32_t innerLeft, int32_t innerRight, bool mdiButtons,
                 std::vector<std::pair<int32_t, int32_t>> *places) const;
    bool usable(int32_t item) const;
    void setHot(int32_t item);
    void closeOpen();
    void open(int32_t item);
    void clickItem(int32_t item);
    void setMdiStates(int32_t hotButton);
    int32_t step(int32_t from, int32_t direction) const;

    MenuBarActions &actions_;
    MenuBarMetrics metrics_;
    std::vector<Item> items_;
    int32_t hot_ = -1;
    int32_t open_ = -1;
    SkinRect bar_{0, 0, 0, 0};
    bool mdiShown_ = false;
    std::array<SkinRect, kMdiButtonCount> mdiRects_{};
    std::array<MdiButtonState, kMdiButtonCount> mdiStates_{};
};

#endif
