#include "popup_menu_model.h"

#include <algorithm>
#include <cwctype>

namespace {
constexpr int32_t kMinimumArrowArea = 10;
constexpr int32_t kTabBlanks = 4;
constexpr wchar_t kTab = L'\t';
}  // namespace

wchar_t menuMnemonic(const std::wstring &text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] == L'&') {
            ++i;  // "&&" is a plain ampersand
            continue;
        }
        return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(text[i + 1])));
    }
    return 0;
}

MenuTextParts splitMenuText(const std::wstring &text)
{
    MenuTextParts parts;
    const size_t tab = text.find(kTab);
    parts.name = text.substr(0, tab);
    if (tab != std::wstring::npos) parts.shortcut = text.substr(tab + 1);
    return parts;
}

int nextMenuItem(const std::vector<MenuItem> &items, int from, int direction)
{
    const int n = static_cast<int>(items.size());
    if (n == 0) return -1;
    int at = from;
    if (at < 0 || at >= n) at = direction > 0 ? -1 : n;
    for (int step = 0; step < n; ++step) {
        at = ((at + (direction > 0 ? 1 : -1)) % n + n) % n;
        if (!items[static_cast<size_t>(at)].separator()) return at;
    }
    return -1;
}

int findMnemonicItem(const std::vector<MenuItem> &items, wchar_t key, bool enabledOnly)
{
    const wchar_t wanted = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(key)));
    if (wanted == 0) return -1;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].mnemonic == wanted && (!enabledOnly || items[i].enabled())) return static_cast<int>(i);
    }
    return -1;
}

int32_t menuItemHeight(int32_t textHeight, int32_t iconSide, int32_t marginTop, int32_t marginBottom)
{
    return std::max(textHeight, iconSide) + marginTop + marginBottom + 2;
}

SkinRect menuWindowSize(const std::vector<int32_t> &textWidths, int32_t blankWidth, const std::vector<bool> &hasTab,
                        const MenuMetrics &m)
{
    int32_t widest = 0;
    for (size_t i = 0; i < textWidths.size(); ++i) {
        const bool tab = i < hasTab.size() && hasTab[i];
        widest = std::max(widest, textWidths[i] + (tab ? kTabBlanks * blankWidth : 0));
    }
    const int32_t width = widest + m.frameLeft + m.frameRight + m.marginLeft + m.marginRight + 2 * m.itemHeight + 1;
    const int32_t height = m.itemHeight * static_cast<int32_t>(textWidths.size()) + m.frameTop + m.frameBottom;
    return SkinRect{0, 0, width, height};
}

SkinRect placePopupMenu(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t flags, const SkinRect &area,
                        bool rightToLeft)
{
    using namespace track_flags;
    int32_t left = x;
    if ((flags & kCenterAlign) != 0) {
        left = x - width / 2;
    } else if (((flags & kRightAlign) != 0) != rightToLeft) {
        left = x - width;
    }
    int32_t top = y;
    if ((flags & kVCenterAlign) != 0) {
        top = y - height / 2;
    } else if ((flags & kBottomAlign) != 0) {
        top = y - height;
    }
    width = std::min(width, area.width());
    height = std::min(height, area.height());
    left = std::max(area.left, std::min(left, area.right - width));
    top = std::max(area.top, std::min(top, area.bottom - height));
    return SkinRect{left, top, left + width, top + height};
}

SkinRect placeSubmenu(const SkinRect &item, int32_t width, int32_t height, const SkinRect &area, bool rightToLeft)
{
    int32_t left = rightToLeft ? item.left - width : item.right;
    int32_t top = item.top;
    height = std::min(height, area.height() - 2);
    if (top + height > area.bottom - 1) {
        top = std::max(area.bottom - 1 - height, area.top + 1);
    }
    if (!rightToLeft && left + width > area.right) {
        left = item.left - width;
    } else if (rightToLeft && left < area.left) {
        left = item.right;
    }
    width = std::min(width, area.width());
    left = std::max(area.left, std::min(left, area.right - width));
    return SkinRect{left, top, left + width, top + height};
}

SkinRect placeMenuBarPopup(const SkinRect &item, int32_t width, int32_t height, const SkinRect &area, bool rightToLeft)
{
    width = std::max(0, std::min(width, area.width() - 2));
    height = std::max(0, std::min(height, area.height() - 2));
    int32_t left = rightToLeft ? item.right - width : item.left;
    if (!rightToLeft && left + width > area.right) left = item.right - width;
    int32_t top = item.bottom;
    if (top + height > area.bottom) top = item.top - height;
    left = std::max(left, area.left + 1);
    top = std::max(top, area.top + 1);
    return SkinRect{left, top, left + width, top + height};
}

void MenuBand::layout(int32_t count, int32_t itemHeight, int32_t areaHeight)
{
    count_ = std::max(count, 0);
    itemHeight_ = std::max(itemHeight, 1);
    area_ = std::max(areaHeight, 0);
    first_ = 0;
    up_ = down_ = 0;
    if (area_ >= itemHeight_ * count_) {
        scrolling_ = false;
        visible_ = count_;
        return;
    }
    scrolling_ = true;
    visible_ = area_ / itemHeight_;
    if (visible_ > 0 && area_ % itemHeight_ < kMinimumArrowArea) --visible_;
    const int32_t leftover = area_ - visible_ * itemHeight_;
    up_ = leftover / 2;
    down_ = leftover - up_;
}

int32_t MenuBand::itemAt(int32_t y) const
{
    if (count_ == 0 || y < up_ || y >= up_ + visible_ * itemHeight_ || y >= area_) {
        return -1;
    }
    const int32_t index = (y - up_) / itemHeight_ + first_;
    return index < count_ ? index : -1;
}

bool MenuBand::scrollUp()
{
    if (!scrolling_ || first_ == 0) return false;
    --first_;
    return true;
}

bool MenuBand::scrollDown()
{
    if (!scrolling_ || first_ + visible_ >= count_) return false;
    ++first_;
    return true;
}

void MenuBand::ensureVisible(int32_t index)
{
    if (!scrolling_ || index < 0 || index >= count_) return;
    if (index < first_) first_ = index;
    if (index >= first_ + visible_) first_ = index - visible_ + 1;
}
