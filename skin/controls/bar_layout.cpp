#include "bar_layout.h"

#include <algorithm>
#include <climits>

namespace {

constexpr uint32_t kTabStyleRightMask = kTabStyleVertical | kTabStyleBottomOrRight | kTabStyleMultiline;
constexpr uint32_t kHeaderJustifyMask = 0x0003;
constexpr uint32_t kHeaderRight = 0x0001;
constexpr uint32_t kHeaderCentre = 0x0002;
constexpr int32_t kDropArrowFarEdge = 10;  // the first line starts 9 pixels in from the right
constexpr int32_t kDropArrowNearEdge = 3;

}  // namespace

int32_t tabSideOf(uint32_t style)
{
    if ((style & kTabStyleRightMask) == kTabStyleRightMask)
        return kTabsRight;
    if (style & kTabStyleVertical)
        return kTabsLeft;
    if (style & kTabStyleBottomOrRight)
        return kTabsBottom;
    return kTabsTop;
}

SkinRect tabPageRect(const SkinRect &client, const std::vector<SkinRect> &tabs, int32_t side)
{
    SkinRect page = client;
    if (tabs.empty())
        return page;
    int32_t lowest = INT32_MIN, highest = INT32_MAX;
    for (const SkinRect &tab : tabs) {
        switch (side) {
        case kTabsBottom: highest = std::min(highest, tab.top); break;
        case kTabsLeft: lowest = std::max(lowest, tab.right); break;
        case kTabsRight: highest = std::min(highest, tab.left); break;
        default: lowest = std::max(lowest, tab.bottom); break;
        }
    }
    switch (side) {
    case kTabsBottom: page.bottom = std::clamp(highest + 1, client.top, client.bottom); break;
    case kTabsLeft: page.left = std::clamp(lowest - 1, client.left, client.right); break;
    case kTabsRight: page.right = std::clamp(highest + 1, client.left, client.right); break;
    default: page.top = std::clamp(lowest - 1, client.top, client.bottom); break;
    }
    return page;
}

int32_t tabLookFor(bool controlEnabled, bool selected, bool buttonsStyle, bool buttonPressed, bool highlighted)
{
    if (!controlEnabled)
        return kTabLookDisabled;
    if (selected || (buttonsStyle && buttonPressed))
        return kTabLookSelected;
    return highlighted ? kTabLookHighlighted : kTabLookNormal;
}

TabTurn tabTurnFor(int32_t side)
{
    switch (side) {
    case kTabsLeft: return {270, false};
    case kTabsRight: return {90, false};
    case kTabsBottom: return {0, true};
    default: return {0, false};
    }
}

TabContent tabContentLayout(const SkinRect &tab, int32_t iconWidth, int32_t iconHeight, int32_t textWidth,
                            int32_t textHeight)
{
    iconWidth = std::max(0, iconWidth);
    textWidth = std::max(0, textWidth);
    int32_t gap = iconWidth > 0 && textWidth > 0 ? kTabIconGap : 0;
    int32_t total = iconWidth + gap + textWidth;
    int32_t left = tab.left + (tab.width() - total) / 2;
    auto across = [&](int32_t height) { return tab.top + (tab.height() - height) / 2; };
    TabContent content;
    int32_t iconTop = across(iconHeight);
    content.icon = makeSkinRect(left, iconTop, left + iconWidth, iconTop + iconHeight);
    int32_t textLeft = left + iconWidth + gap;
    int32_t textTop = across(textHeight);
    content.text = makeSkinRect(textLeft, textTop, textLeft + textWidth, textTop + textHeight);
    return content;
}

SkinRect tabLayoutFrame(const SkinRect &tab, int32_t side)
{
    if (side == kTabsLeft || side == kTabsRight)
        return makeSkinRect(0, 0, tab.height(), tab.width());
    return makeSkinRect(0, 0, tab.width(), tab.height());
}

SkinRect tabFrameToControl(const SkinRect &r, const SkinRect &tab, int32_t side)
{
    switch (side) {
    case kTabsLeft:  // a quarter turn back: the frame's top edge lies on the tab's left
        return makeSkinRect(tab.left + r.top, tab.bottom - r.right, tab.left + r.bottom, tab.bottom - r.left);
    case kTabsRight:  // a quarter turn on: the frame's top edge lies on the tab's right
        return makeSkinRect(tab.right - r.bottom, tab.top + r.left, tab.right - r.top, tab.top + r.right);
    default:
        return makeSkinRect(tab.left + r.left, tab.top + r.top, tab.left + r.right, tab.top + r.bottom);
    }
}

int32_t toolButtonLook(uint8_t state, bool hot)
{
    if (state & (kToolStateChecked | kToolStatePressed))
        return kToolLookPressed;
    if (!(state & kToolStateEnabled) || (state & kToolStateIndeterminate))
        return kToolLookDisabled;
    return hot ? kToolLookHot : kToolLookNormal;
}

int32_t headerTextAlignment(uint32_t format)
{
    switch (format & kHeaderJustifyMask) {
    case kHeaderCentre: return kHeaderAlignCentre;
    case kHeaderRight: return kHeaderAlignRight;
    default: return kHeaderAlignLeft;
    }
}

SkinRect insideMargins(const SkinRect &rect, int32_t leftMargin, int32_t rightMargin)
{
    SkinRect inside = rect;
    inside.left = std::min(rect.right, rect.left + std::max(0, leftMargin));
    inside.right = std::max(inside.left, rect.right - std::max(0, rightMargin));
    return inside;
}

std::vector<SkinRect> dropArrowLines(const SkinRect &button)
{
    std::vector<SkinRect> lines;
    int32_t top = button.top + (button.height() - kDropArrowLines) / 2;
    for (int32_t i = 0; i < kDropArrowLines; ++i)
        lines.push_back(makeSkinRect(button.right - kDropArrowFarEdge + i, top + i,
                                     button.right - kDropArrowNearEdge - i, top + i + 1));
    return lines;
}

SkinRect dropButtonContent(const SkinRect &button)
{
    SkinRect content = button;
    content.right = std::max(button.left, button.right - kDropArrowRoom);
    return content;
}

bool ToolbarTooltipSubject::moveOver(int32_t button)
{
    if (button == button_)
        return false;
    button_ = button;
    return button >= 0;
}

std::u16string commandTooltipText(const std::u16string &commandString)
{
    size_t first = commandString.find(u'\n');
    if (first == std::u16string::npos)
        return {};
    size_t second = commandString.find(u'\n', first + 1);
    return commandString.substr(first + 1, second == std::u16string::npos ? std::u16string::npos : second - first - 1);
}
