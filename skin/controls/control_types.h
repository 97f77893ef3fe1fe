// Rules of the control skinners that depend only on the control's type code.
#ifndef WORDMERE_SKIN_CONTROLS_CONTROL_TYPES_H
#define WORDMERE_SKIN_CONTROLS_CONTROL_TYPES_H

#include <cstdint>

// Whether the skin gives controls of this type its font (progress bars, scroll bars,
// trackbars and up-down controls draw no text and never get one).
bool skinControlTakesFont(int32_t type);
// The type whose definition draws a control when its container has none of its own type
// for it (a rich edit is drawn from an Edit definition, a link window from a Static one); 0
// for none.
int32_t skinControlFallbackType(int32_t type);

#endif
