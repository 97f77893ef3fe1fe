#include "button_rules.h"

#include <algorithm>

namespace {

int orNormal(int look, const bool hasImage[kPushLookCount]) { return hasImage[look] ? look : kLookNormal; }

// The first look of the chain whose image is set; the last when none is.
int firstSet(std::initializer_list<int> chain, const bool set[kCheckLooks])
{
    for (int look : chain) {
        if (set[look]) return look;
    }
    return *(chain.end() - 1);
}

}  // namespace

int pushButtonLook(const ButtonState &s, const bool hasImage[kPushLookCount])
{
    if (!s.enabled) {
        return orNormal(kLookDisabled, hasImage);
    }
    if (s.pushed || s.pressed) {
        return orNormal(kLookPressed, hasImage);
    }
    if (s.hover && hasImage[kLookHover]) {
        return kLookHover;
    }
    if (s.checked) {
        return orNormal(kLookPressed, hasImage);
    }
    if (s.isDefault) {
        if (s.focused && hasImage[kLookFocused]) return kLookFocused;
        return orNormal(kLookDefault, hasImage);
    }
    return s.focused ? orNormal(kLookFocused, hasImage) : kLookNormal;
}

int pushLikeLook(const ButtonState &s, const bool hasImage[kPushLookCount])
{
    if (!s.enabled) {
        return orNormal(s.checked ? kLookDefault : kLookDisabled, hasImage);
    }
    if (s.pushed || s.pressed || s.checked) {
        return orNormal(kLookPressed, hasImage);
    }
    return s.hover && hasImage[kLookHover] ? kLookHover : kLookNormal;
}

CheckLookChoice checkLook(const ButtonState &s, bool radio, const bool bg[kCheckLooks], const bool tick[kCheckLooks])
{
    if (!s.enabled) {
        if (!s.checked) {
            const std::initializer_list<int> chain = {kCheckLookDisabledUnchecked, kCheckLookDisabledBase, kCheckLookNormal};
            return {firstSet(chain, bg), firstSet(chain, tick)};
        }
        if (radio) {
            const std::initializer_list<int> chain = {kCheckLookDisabledChecked, kCheckLookChecked};
            return {firstSet(chain, bg), firstSet(chain, tick)};
        }
        return {firstSet({kCheckLookDisabledChecked, kCheckLookDisabledBase, kCheckLookNormal}, bg),
                firstSet({kCheckLookDisabledChecked, kCheckLookDisabledBase, kCheckLookChecked}, tick)};
    }
    if (s.pushed) {
        return {firstSet({kCheckLookChecked, kCheckLookNormal}, bg), kCheckLookChecked};
    }
    // A check box held down shows the checked look.
    const bool checked = s.checked || (!radio && s.pressed);
    const bool hot = s.focused || s.hover;
    if (checked) {
        if (hot) {
            return {firstSet({kCheckLookHotChecked, kCheckLookChecked, kCheckLookNormal}, bg),
                    firstSet({kCheckLookHotChecked, kCheckLookChecked}, tick)};
        }
        return {kCheckLookChecked, kCheckLookChecked};
    }
    if (hot) {
        const std::initializer_list<int> chain = {kCheckLookHotUnchecked, kCheckLookNormal};
        return {firstSet(chain, bg), firstSet(chain, tick)};
    }
    return {kCheckLookNormal, kCheckLookNormal};
}

int nextCheckState(uint32_t style, int current)
{
    switch (style & button_style::kTypeMask) {
    case button_style::kAutoCheckBox:
        return current == 0 ? 1 : 0;
    case button_style::kAuto3State:
        return current == 0 ? 1 : current == 1 ? 2 : 0;
    default:
        return current;
    }
}

std::vector<std::pair<size_t, int>> radioGroupChecks(const std::vector<RadioSibling> &siblings, size_t index)
{
    std::vector<std::pair<size_t, int>> checks;
    if (index >= siblings.size()) {
        return checks;
    }
    size_t start = index;
    while (start > 0 && !siblings[start].groupStart) {
        --start;
    }
    for (size_t i = start; i < siblings.size(); ++i) {
        if (i != start && siblings[i].groupStart) break;
        if (siblings[i].isRadio) checks.emplace_back(i, i == index ? 1 : 0);
    }
    return checks;
}

SkinRect alignButtonContent(const SkinRect &area, int32_t width, int32_t height, uint32_t style, bool pushLike)
{
    using namespace button_style;
    SkinRect r{area.left, area.top, area.left + width, area.top + height};
    const bool fitsAcross = width <= area.width();
    const uint32_t across = style & kCenter;
    const bool centre = across == kCenter || (across == 0 && pushLike);
    if (fitsAcross && centre) {
        r.left = area.left + (area.width() - width) / 2;
    } else if (fitsAcross && across == kRight) {
        r.left = area.right - width;
    }
    r.right = r.left + width;
    const bool fitsDown = height <= area.height();
    const uint32_t down = style & kVCenter;
    if (fitsDown && (down == kVCenter || down == 0)) {
        r.top = area.top + (area.height() - height) / 2;
    } else if (fitsDown && down == kBottom) {
        r.top = area.bottom - height;
    }
    r.bottom = r.top + height;
    return r;
}

uint32_t buttonTextFormat(uint32_t style, bool rightToLeft)
{
    uint32_t format = (style & button_style::kMultiLine) != 0 ? text_format::kWordBreak | text_format::kEditControl
                                                              : text_format::kCenter;
    return rightToLeft ? format | text_format::kRtlReading : format;
}

GroupBoxLayout groupBoxLayout(const SkinRect &client, int32_t textWidth, int32_t textHeight, const SkinRect &margins,
                              uint32_t style)
{
    constexpr int32_t kInset = 4, kEdgeGap = 2;
    const int32_t width = textWidth + margins.left + margins.right;
    const int32_t height = textHeight + margins.top + margins.bottom;
    GroupBoxLayout g{};
    g.caption.top = client.top;
    g.caption.bottom = client.top + height;
    switch (style & button_style::kCenter) {
    case button_style::kCenter:
        g.caption.left = client.left + (client.width() - width) / 2;
        g.caption.right = g.caption.left + width;
        break;
    case button_style::kRight:
        g.caption.right = client.right - kInset;
        g.caption.left = std::max(g.caption.right - width, client.left + kEdgeGap);
        break;
    default:
        g.caption.left = client.left + kInset;
        g.caption.right = std::min(g.caption.left + width, client.right - kEdgeGap);
        break;
    }
    g.captionText = {g.caption.left + margins.left, g.caption.top + margins.top, g.caption.right - margins.right,
                     g.caption.bottom - margins.bottom};
    g.frame = client;
    g.frame.top = client.top + height / 2;
    return g;
}

bool staticIsSkinned(uint32_t style) { return (style & 0xB) != 0xB && (style & 0xD) != 0xD; }

bool buttonIsSkinned(uint32_t style) { return (style & button_style::kOwnerDraw) != button_style::kOwnerDraw; }

StaticKind staticKind(uint32_t style)
{
    if ((style & 0x3) == 0x3) return StaticKind::kIcon;
    if ((style & 0xE) == 0xE) return StaticKind::kBitmap;
    return StaticKind::kText;
}

uint32_t staticTextFormat(uint32_t style, bool rightToLeft)
{
    using namespace text_format;
    const uint32_t type = style & static_style::kTypeMask;
    uint32_t format = 0;
    if (type == static_style::kCenter) format |= kCenter;
    if (type == static_style::kRight) format |= kRight;
    if ((style & static_style::kCenterImage) != 0) format |= kVCenter | kSingleLine;
    if ((style & static_style::kNoPrefix) != 0) format |= kNoPrefix;
    format |= type == static_style::kLeftNoWordWrap ? kSingleLine : kWordBreak;
    if ((style & static_style::kEditControl) != 0) format |= kEditControl | kWordBreak;
    if (rightToLeft) format |= kRtlReading;
    return format;
}
