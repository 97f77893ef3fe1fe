#include "frame_parts.h"

#include <algorithm>

void CaptionButtonModel::setEnabled(bool enabled)
{
    enabled_ = enabled;
    if (!enabled) hover_ = pressed_ = false;
}

CaptionButtonModel::Look CaptionButtonModel::look() const
{
    if (!enabled_) return Look::Disabled;
    if (pressed_ || toggled_) return Look::Pressed;
    return hover_ ? Look::Hover : Look::Normal;
}

bool CaptionButtonModel::pointerMove(bool inside)
{
    const Look before = look();
    if (enabled_) hover_ = inside;
    return look() != before;
}

bool CaptionButtonModel::buttonDown(bool inside)
{
    const Look before = look();
    if (enabled_ && inside) pressed_ = hover_ = true;
    return look() != before;
}

bool CaptionButtonModel::buttonUp(bool inside, bool *lookChanged)
{
    const Look before = look();
    const bool runs = enabled_ && pressed_ && inside;
    pressed_ = false;
    if (runs && toggle_) toggled_ = !toggled_;
    hover_ = enabled_ && inside;
    if (lookChanged) *lookChanged = look() != before;
    return runs;
}

bool CaptionButtonModel::pointerLeft()
{
    const Look before = look();
    hover_ = pressed_ = false;
    return look() != before;
}

bool CaptionButtonModel::secondPressAt(uint32_t nowMs)
{
    const bool second = pressedBefore_ && nowMs - lastPressMs_ <= kSecondPressMs;
    // A second press ends the pair: a third starts a new one.
    pressedBefore_ = !second;
    lastPressMs_ = nowMs;
    return second;
}

int32_t framePictureIndex(const BorderedDefinition &definition, int32_t piece, bool active)
{
    if (piece < 0 || piece >= kPieceCount) return -1;
    const int32_t inactive = piece + kInactivePictures;
    if (!active && definition.pictures[inactive].isSet()) return inactive;
    return definition.pictures[piece].isSet() ? piece : -1;
}

SkinColor framePieceFill(const BorderedDefinition &definition, bool active)
{
    return active ? definition.activeFill : definition.inactiveFill;
}

int32_t frameBackgroundIndex(const BorderedDefinition &definition, bool active)
{
    return framePictureIndex(definition, kPieceCentre, active);
}

const SkinNineGrid &frameIconicGrid(const BorderedDefinition &definition, bool active)
{
    if (!active && definition.iconicInactive.isSet()) return definition.iconicInactive;
    return definition.iconicActive;
}

std::array<SkinRect, 4> nonClientStrips(SkinSize window, const SkinRect &client)
{
    const SkinRect c{std::clamp(client.left, 0, window.width), std::clamp(client.top, 0, window.height),
                     std::clamp(client.right, 0, window.width), std::clamp(client.bottom, 0, window.height)};
    return {SkinRect{0, c.top, c.left, c.bottom}, SkinRect{c.right, c.top, window.width, c.bottom},
            SkinRect{0, c.bottom, window.width, window.height}, SkinRect{0, 0, window.width, c.top}};
}

RegionCombine regionCombineOf(int32_t value)
{
    switch (value) {
    case 0: return RegionCombine::Intersect;
    case 1: return RegionCombine::Subtract;
    case 2: return RegionCombine::Unite;
    case 3: return RegionCombine::ExclusiveOr;
    case 4: return RegionCombine::CutThenUnite;
    default: return RegionCombine::None;
    }
}

bool isQuickSecondClick(uint32_t previousMs, uint32_t nowMs, uint32_t doubleClickMs)
{
    return previousMs != 0 && nowMs - previousMs <= doubleClickMs;
}
