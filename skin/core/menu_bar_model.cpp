#include "menu_bar_model.h"

#include <algorithm>

namespace {

constexpr char16_t kMnemonicMark = u'&';
// Latin-1's upper-case letters, and the one sign among them.
constexpr char16_t kLatinUpperFirst = 0xC0;
constexpr char16_t kLatinUpperLast = 0xDE;
constexpr char16_t kMultiplicationSign = 0xD7;
constexpr char16_t kCaseOffset = 0x20;

SkinRect marginsOf(const SkinNineGrid &grid) { return grid.isSet() ? grid.margins : SkinRect{0, 0, 0, 0}; }

}  // namespace

MenuBarMetrics menuBarMetrics(const MenuBarDefinition &d)
{
    MenuBarMetrics m;
    m.barMargins = marginsOf(d.background);
    const SkinRect hot = marginsOf(d.hotItem);
    const SkinRect open = marginsOf(d.openItem);
    m.itemPadding = SkinRect{std::max(hot.left, open.left), std::max(hot.top, open.top), std::max(hot.right, open.right),
                             std::max(hot.bottom, open.bottom)};
    return m;
}

char16_t foldMenuCharacter(char16_t c)
{
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + kCaseOffset);
    if (c >= kLatinUpperFirst && c <= kLatinUpperLast && c != kMultiplicationSign)
        return static_cast<char16_t>(c + kCaseOffset);
    return c;
}

char16_t menuMnemonic(const std::u16string &text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != kMnemonicMark) continue;
        if (text[i + 1] == kMnemonicMark) {
            ++i;  // a literal ampersand
            continue;
        }
        return foldMenuCharacter(text[i + 1]);
    }
    return 0;
}

MenuBarModel::MenuBarModel(MenuBarActions &actions) : actions_(actions) { mdiStates_.fill(MdiButtonState::Normal); }

void MenuBarModel::setEntries(const std::vector<MenuBarEntry> &entries)
{
    closeOpen();
    if (hot_ >= 0) actions_.setHoverTimer(false);
    hot_ = -1;
    items_.clear();
    for (size_t position = 0; position < entries.size(); ++position) {
        if (entries[position].text.empty()) continue;
        Item item;
        item.entry = entries[position];
        item.position = static_cast<int32_t>(position);
        item.mnemonic = menuMnemonic(item.entry.text);
        items_.push_back(item);
    }
}

void MenuBarModel::setItemEnabled(size_t item, bool enabled)
{
    if (item < items_.size()) items_[item].entry.enabled = enabled;
}

SkinSize MenuBarModel::itemSize(const Item &item) const
{
    const SkinRect &pad = metrics_.itemPadding;
    return SkinSize{item.entry.textExtent.width + pad.left + pad.right,
                    item.entry.textExtent.height + pad.top + pad.bottom};
}

int32_t MenuBarModel::tallestItem() const
{
    int32_t tallest = 0;
    for (const Item &item : items_) tallest = std::max(tallest, itemSize(item).height);
    return tallest;
}

int32_t MenuBarModel::flow(int32_t innerLeft, int32_t innerRight, bool mdiButtons,
                           std::vector<std::pair<int32_t, int32_t>> *places) const
{
    const int32_t rowStart = innerLeft + (mdiButtons ? kMenuItemsInsetWithMdi : kMenuItemsInset);
    int32_t x = rowStart;
    int32_t row = 0;
    for (const Item &item : items_) {
        const int32_t width = itemSize(item).width;
        // An item wider than the whole bar still gets a row of its own.
        if (x + width > innerRight && x > rowStart) {
            ++row;
            x = rowStart;
        }
        if (places) places->emplace_back(x, row);
        x += width;
    }
    if (mdiButtons && x + kMdiButtonsRoom > innerRight) ++row;
    return row + 1;
}

int32_t MenuBarModel::heightForWidth(int32_t width, bool mdiButtons) const
{
    if (items_.empty()) return 0;
    const SkinRect &m = metrics_.barMargins;
    const int32_t rows = flow(m.left, width - m.right, mdiButtons, nullptr);
    return m.top + rows * (tallestItem() + kMenuRowGap) + m.bottom;
}

SkinRect MenuBarModel::layout(int32_t left, int32_t top, int32_t right, bool mdiButtons)
{
    mdiShown_ = mdiButtons && !items_.empty();
    bar_ = SkinRect{left, top, right, top + heightForWidth(right - left, mdiShown_)};
    if (items_.empty()) return bar_;
    const SkinRect &m = metrics_.barMargins;
    const int32_t innerLeft = left + m.left;
    const int32_t innerRight = right - m.right;
    const int32_t innerTop = top + m.top;
    const int32_t rowHeight = tallestItem() + kMenuRowGap;
    std::vector<std::pair<int32_t, int32_t>> places;
    const int32_t rows = flow(innerLeft, innerRight, mdiShown_, &places);
    for (size_t i = 0; i < items_.size(); ++i) {
        const int32_t rowTop = innerTop + places[i].second * rowHeight;
        items_[i].rect = SkinRect{places[i].first, rowTop, places[i].first + itemSize(items_[i]).width, rowTop + rowHeight};
    }
    mdiRects_.fill(SkinRect{0, 0, 0, 0});
    if (mdiShown_) {
        const int32_t inset = (rowHeight - kMdiButtonSize) / 2;
        const int32_t firstTop = innerTop + inset;
        const int32_t lastTop = innerTop + (rows - 1) * rowHeight + inset;
        const auto square = [](int32_t x, int32_t y) { return SkinRect{x, y, x + kMdiButtonSize, y + kMdiButtonSize}; };
        mdiRects_[kMdiSystemIcon] = square(innerLeft + kMdiSystemIconInset, firstTop);
        const int32_t closeLeft = innerRight - kMdiButtonSize;
        mdiRects_[kMdiClose] = square(closeLeft, lastTop);
        mdiRects_[kMdiRestore] = square(closeLeft - kMdiButtonStep, lastTop);
        mdiRects_[kMdiMinimize] = square(closeLeft - 2 * kMdiButtonStep, lastTop);
    }
    return bar_;
}

int32_t MenuBarModel::itemAt(SkinPoint point) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (skinRectContains(items_[i].rect, point)) return static_cast<int32_t>(i);
    return -1;
}

int32_t MenuBarModel::mdiButtonAt(SkinPoint point) const
{
    if (!mdiShown_) return -1;
    for (int b = 0; b < kMdiButtonCount; ++b)
        if (skinRectContains(mdiRects_[b], point)) return b;
    return -1;
}

bool MenuBarModel::usable(int32_t item) const
{
    return item >= 0 && item < static_cast<int32_t>(items_.size()) && items_[item].entry.enabled;
}

void MenuBarModel::setHot(int32_t item)
{
    if (hot_ >= 0 && hot_ != open_) items_[hot_].state = MenuItemState::Normal;
    hot_ = item;
    if (hot_ >= 0) items_[hot_].state = MenuItemState::Hot;
}

void MenuBarModel::closeOpen()
{
    if (open_ < 0) return;
    const int32_t item = open_;
    open_ = -1;
    items_[item].state = MenuItemState::Normal;
    actions_.closePopup(static_cast<size_t>(item));
}

void MenuBarModel::open(int32_t item)
{
    setHot(-1);
    open_ = item;
    items_[item].state = MenuItemState::Open;
    actions_.setHoverTimer(false);
    if (!actions_.openPopup(static_cast<size_t>(item))) {
        // Nothing could be shown: the item stays hot instead of leaving the bar in menu mode.
        open_ = -1;
        setHot(item);
        actions_.setHoverTimer(true);
    }
    actions_.repaint();
}

void MenuBarModel::clickItem(int32_t item)
{
    if (open_ >= 0) {
        closeOpen();
    } else {
        actions_.initMenu();
    }
    if (items_[item].entry.hasSubmenu) {
        open(item);
        return;
    }
    setHot(-1);
    items_[item].state = MenuItemState::Normal;
    actions_.setHoverTimer(false);
    actions_.repaint();
    actions_.runCommand(items_[item].entry.commandId);
}

void MenuBarModel::buttonDown(SkinPoint point)
{
    const int32_t item = itemAt(point);
    if (usable(item)) {
        if (item == open_) {
            closeOpen();
            setHot(item);
            actions_.repaint();
            actions_.setHoverTimer(true);
        } else {
            clickItem(item);
        }
        return;
    }
    if (open_ >= 0) {
        closeOpen();
        actions_.setHoverTimer(false);
        actions_.repaint();
    }
    const int32_t button = mdiButtonAt(point);
    if (button == kMdiSystemIcon) {
        actions_.openChildSystemMenu();
    } else if (button >= 0) {
        mdiStates_[button] = MdiButtonState::Pressed;
        actions_.repaint();
    }
}

void MenuBarModel::buttonUp(SkinPoint point)
{
    const int32_t button = mdiButtonAt(point);
    if (button < 0 || button == kMdiSystemIcon || mdiStates_[button] != MdiButtonState::Pressed) {
        // A press that ends elsewhere presses nothing.
        for (auto &s : mdiStates_)
            if (s == MdiButtonState::Pressed) s = MdiButtonState::Normal;
        return;
    }
    mdiStates_[button] = MdiButtonState::Hot;
    actions_.repaint();
    actions_.mdiButtonReleased(static_cast<MdiButtonIndex>(button));
}

void MenuBarModel::setMdiStates(int32_t hotButton)
{
    for (int b = 0; b < kMdiButtonCount; ++b) {
        if (b == hotButton && mdiStates_[b] == MdiButtonState::Pressed) continue;
        mdiStates_[b] = b == hotButton ? MdiButtonState::Hot : MdiButtonState::Normal;
    }
}

void MenuBarModel::pointerMove(SkinPoint point)
{
    const int32_t item = itemAt(point);
    if (usable(item)) {
        if (item == open_) return;
        if (open_ >= 0) {
            closeOpen();
            if (items_[item].entry.hasSubmenu) {
                open(item);
                return;
            }
        } else if (item == hot_) {
            return;
        }
        setHot(item);
        setMdiStates(-1);
        actions_.setHoverTimer(true);
        actions_.repaint();
        return;
    }
    if (open_ >= 0) return;
    setHot(-1);
    const int32_t button = mdiButtonAt(point);
    setMdiStates(button);
    actions_.setHoverTimer(button >= 0);
    actions_.repaint();
}

void MenuBarModel::hoverTick(SkinPoint pointer)
{
    if (itemAt(pointer) >= 0 || mdiButtonAt(pointer) >= 0) return;
    setHot(-1);
    setMdiStates(-1);
    actions_.setHoverTimer(false);
    actions_.repaint();
}

int32_t MenuBarModel::step(int32_t from, int32_t direction) const
{
    const int32_t count = static_cast<int32_t>(items_.size());
    int32_t at = from;
    for (int32_t tried = 0; tried < count; ++tried) {
        if (at < 0) {
            at = direction > 0 ? 0 : count - 1;
        } else {
            at = (at + direction + count) % count;
        }
        if (usable(at)) return at;
    }
    return -1;
}

bool MenuBarModel::key(MenuBarKey key, char16_t character, bool alt)
{
    switch (key) {
    case MenuBarKey::F10: return true;
    case MenuBarKey::Reset:
        closeOpen();
        setHot(-1);
        setMdiStates(-1);
        actions_.setHoverTimer(false);
        actions_.repaint();
        return true;
    case MenuBarKey::Left:
    case MenuBarKey::Right: {
        const int32_t from = open_ >= 0 ? open_ : hot_;
        const int32_t to = step(from, key == MenuBarKey::Right ? 1 : -1);
        if (to < 0 || to == from) return to >= 0;
        if (items_[to].entry.hasSubmenu) {
            clickItem(to);
        } else {
            // Moving onto a command item shows it; only a click or its mnemonic runs it.
            closeOpen();
            setHot(to);
            actions_.setHoverTimer(false);
            actions_.repaint();
        }
        return true;
    }
    case MenuBarKey::Character: {
        if (!alt) return false;
        const char16_t wanted = foldMenuCharacter(character);
        for (size_t i = 0; i < items_.size(); ++i) {
            if (items_[i].mnemonic == 0 || items_[i].mnemonic != wanted || !items_[i].entry.enabled) continue;
            if (static_cast<int32_t>(i) != open_) clickItem(static_cast<int32_t>(i));
            return true;
        }
        return false;
    }
    }
    return false;
}

void MenuBarModel::endMenuMode()
{
    if (open_ < 0) return;
    closeOpen();
    actions_.repaint();
}
