#include "control_types.h"

#include "skin_codes.h"

bool skinControlTakesFont(int32_t type)
{
    switch (type) {
    case kSkinProgressBar:
    case kSkinScrollBar:
    case kSkinSlider:
    case kSkinSpin:
        return false;
    default:
        return true;
    }
}

int32_t skinControlFallbackType(int32_t type)
{
    switch (type) {
    case kSkinRichEdit: return kSkinEdit;
    case kSkinLinkWnd: return kSkinStatic;
    default: return kSkinNone;
    }
}
