// The window-free rules of the skinned buttons and statics: which look of a definition a
// button draws in which state (with the fall-backs for unset images), the next state of an
// auto check box, the members of a radio group, the place of a button's content, a group
// box's caption and frame, and the kind and text format of a static control. Style and format
// bits carry the platform's values so the rules build and are tested everywhere.
#ifndef WORDMERE_SKIN_CONTROLS_BUTTON_RULES_H
#define WORDMERE_SKIN_CONTROLS_BUTTON_RULES_H

#include <cstdint>
#include <utility>
#include <vector>

#include "skin_types.h"

namespace button_style {
constexpr uint32_t kTypeMask = 0xF;
constexpr uint32_t kCheckBox = 0x2, kAutoCheckBox = 0x3, kRadio = 0x4, k3State = 0x5, kAuto3State = 0x6,
                   kGroupBox = 0x7, kAutoRadio = 0x9, kOwnerDraw = 0xB;
constexpr uint32_t kLeftText = 0x20, kIcon = 0x40, kBitmap = 0x80;
constexpr uint32_t kLeft = 0x100, kRight = 0x200, kCenter = 0x300, kTop = 0x400, kBottom = 0x800, kVCenter = 0xC00;
constexpr uint32_t kPushLike = 0x1000, kMultiLine = 0x2000;
}  // namespace button_style

namespace static_style {
constexpr uint32_t kCenter = 0x1, kRight = 0x2, kLeftNoWordWrap = 0xC, kTypeMask = 0x1F;
constexpr uint32_t kNoPrefix = 0x80, kCenterImage = 0x200, kEditControl = 0x2000;
}  // namespace static_style

// DrawText format bits.
namespace text_format {
constexpr uint32_t kCenter = 0x1, kRight = 0x2, kVCenter = 0x4, kWordBreak = 0x10, kSingleLine = 0x20,
                   kNoPrefix = 0x800, kEditControl = 0x2000, kRtlReading = 0x20000;
}  // namespace text_format

// What a button looks at when it picks a look.
struct ButtonState {
    bool enabled = true;
    bool pushed = false;   // BST_PUSHED
    bool pressed = false;  // held down by the mouse or the space bar
    bool hover = false;
    bool checked = false;
    bool focused = false;
    bool isDefault = false;
};

// Push looks, in the definition's order.
enum PushLook { kLookNormal, kLookPressed, kLookDefault, kLookFocused, kLookHover, kLookDisabled, kPushLookCount };

// The look of a push button; hasImage tells which looks have an image.
int pushButtonLook(const ButtonState &s, const bool hasImage[kPushLookCount]);
// The look of a check box or radio button drawn as a push button.
int pushLikeLook(const ButtonState &s, const bool hasImage[kPushLookCount]);

// The seven looks of a check box or radio: background and tick chosen apart.
enum CheckLook { kCheckLookNormal, kCheckLookChecked, kCheckLookDisabledBase, kCheckLookDisabledUnchecked,
                 kCheckLookDisabledChecked, kCheckLookHotUnchecked, kCheckLookHotChecked, kCheckLooks };
struct CheckLookChoice {
    int background;
    int tick;
};
CheckLookChoice checkLook(const ButtonState &s, bool radio, const bool backgroundSet[kCheckLooks],
                          const bool tickSet[kCheckLooks]);

// The check state an auto check box goes to when clicked; the same state for other kinds.
int nextCheckState(uint32_t style, int current);

// A sibling of a radio button, in the parent's child order.
struct RadioSibling {
    bool groupStart;  // WS_GROUP
    bool isRadio;     // answers DLGC_RADIOBUTTON
};
// The radio buttons that get a check when the one at index is chosen: (index, 1 or 0).
std::vector<std::pair<size_t, int>> radioGroupChecks(const std::vector<RadioSibling> &siblings, size_t index);

// The rectangle of content of size width x height placed in area by the button's style;
// pushLike: push buttons and push-like controls (centred without alignment bits).
SkinRect alignButtonContent(const SkinRect &area, int32_t width, int32_t height, uint32_t style, bool pushLike);
// DrawText format of a button's text.
uint32_t buttonTextFormat(uint32_t style, bool rightToLeft);

// A group box: the caption (text size plus margins) and the frame below its middle.
struct GroupBoxLayout {
    SkinRect caption;
    SkinRect captionText;
    SkinRect frame;
};
GroupBoxLayout groupBoxLayout(const SkinRect &client, int32_t textWidth, int32_t textHeight,
                              const SkinRect &margins, uint32_t style);

enum class StaticKind { kText, kIcon, kBitmap };
// Owner-drawn, simple and enhanced-metafile statics stay unskinned.
bool staticIsSkinned(uint32_t style);
StaticKind staticKind(uint32_t style);
uint32_t staticTextFormat(uint32_t style, bool rightToLeft);
// Owner-drawn buttons stay unskinned.
bool buttonIsSkinned(uint32_t style);

#endif
