// Where a skinned combo box draws: the edit area inside the frame's margins, the drop button
// at its right end, the text area beside the button, the hot zone that lights the button, and
// which of the button's four pictures a state shows (unset pictures fall back to the normal
// one). Platform-neutral; the combo box skinner (Windows) draws into what these answer.
#ifndef WORDMERE_SKIN_CONTROLS_COMBO_LAYOUT_H
#define WORDMERE_SKIN_CONTROLS_COMBO_LAYOUT_H

#include <cstdint>

#include "skin_types.h"

// The combo box style bits the skinner reads.
constexpr uint32_t kComboStyleTypeMask = 0x3;       // CBS_SIMPLE 1, CBS_DROPDOWN 2, CBS_DROPDOWNLIST 3
constexpr uint32_t kComboStyleSimple = 0x1;
constexpr uint32_t kComboStyleOwnerDrawFixed = 0x10;
constexpr uint32_t kComboStyleOwnerDrawVariable = 0x20;

// Simple and owner-draw-variable combo boxes keep their own look.
bool comboIsSkinned(uint32_t style);

// The width of the hot zone at the right edge, inside the right frame margin.
constexpr int32_t kComboHotZoneWidth = 16;
// The text area ends this far before the drop button.
constexpr int32_t kComboTextGap = 2;

struct ComboLayout {
    SkinRect edit;    // the client area less the frame margins
    SkinRect text;    // the edit area inset by 1, ending before the button
    SkinRect button;  // the right end of the edit area
    SkinRect hotZone;
};
// Every rectangle stays inside the client area; a control too small for a part gets an empty one.
ComboLayout comboLayout(const SkinRect &client, const SkinRect &frameMargins, int32_t buttonWidth);

enum ComboButtonState : int32_t { kComboButtonStateNormal = 0, kComboButtonStateHot = 1, kComboButtonStatePressed = 2 };

// The drop button's picture (0 normal, 1 hot, 2 pressed, 3 disabled, the skin's order):
// disabled, pressed, hot, else normal, each falling back to normal when it has no picture.
int32_t comboButtonPicture(int32_t buttonState, bool enabled, const bool hasPicture[4]);

// The button state after a pointer move to (x, y): hot inside the hot zone, normal outside; a
// press held with the left button stays pressed.
int32_t comboStateAfterMove(int32_t current, const ComboLayout &layout, int32_t x, int32_t y, bool leftButtonDown);

#endif
