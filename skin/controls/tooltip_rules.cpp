#include "tooltip_rules.h"

SkinRect tooltipRectAt(int32_t placement, int32_t anchorX, int32_t anchorY, int32_t width, int32_t height)
{
    int32_t left = anchorX + kTooltipSideGap;
    int32_t top = anchorY + kTooltipBelowGap;
    switch (placement) {
    case kTooltipBelowCentred: left = anchorX - width / 2; break;
    case kTooltipBelowLeft: left = anchorX - kTooltipSideGap - width; break;
    case kTooltipBesideRight: top = anchorY - height / 2; break;
    case kTooltipBesideLeft:
        left = anchorX - kTooltipSideGap - width;
        top = anchorY - height / 2;
        break;
    case kTooltipAboveRight: top = anchorY - kTooltipSideGap - height; break;
    case kTooltipAboveCentred:
        left = anchorX - width / 2;
        top = anchorY - kTooltipSideGap - height;
        break;
    case kTooltipAboveLeft:
        left = anchorX - kTooltipSideGap - width;
        top = anchorY - kTooltipSideGap - height;
        break;
    default: break;  // below, to the right
    }
    return makeSkinRect(left, top, left + width, top + height);
}

bool tooltipFits(const SkinRect &rect, const SkinRect &area)
{
    return rect.left >= area.left && rect.top >= area.top && rect.right <= area.right && rect.bottom <= area.bottom;
}

SkinRect placeTooltip(int32_t placement, int32_t anchorX, int32_t anchorY, int32_t width, int32_t height,
                      const SkinRect &monitorArea)
{
    SkinRect preferred = tooltipRectAt(placement, anchorX, anchorY, width, height);
    if (tooltipFits(preferred, monitorArea))
        return preferred;
    for (int32_t code = 0; code < kTooltipPlacementCount; ++code) {
        SkinRect r = tooltipRectAt(code, anchorX, anchorY, width, height);
        if (tooltipFits(r, monitorArea))
            return r;
    }
    return tooltipRectAt(kTooltipAboveLeft, anchorX, anchorY, width, height);
}

void tooltipWindowSize(const TooltipFrame &frame, int32_t textWidth, int32_t textHeight, int32_t *width,
                       int32_t *height)
{
    *width = textWidth + frame.left + frame.right;
    *height = textHeight + frame.top + frame.bottom;
}

int32_t TooltipTimeline::showText(const std::u16string &text)
{
    text_ = text;
    if (text_.empty()) {
        state_ = kTooltipHidden;
        return kTooltipHide;
    }
    state_ = kTooltipPending;
    return kTooltipArmShow;
}

int32_t TooltipTimeline::showDelayEnded(const std::u16string *providerText)
{
    if (state_ != kTooltipPending)
        return kTooltipDoNothing;
    if (providerText)
        text_ = *providerText;
    if (text_.empty())
        return kTooltipKeepWaiting;
    state_ = kTooltipShown;
    return kTooltipShow;
}

int32_t TooltipTimeline::hide()
{
    state_ = kTooltipHidden;
    return kTooltipHide;
}
