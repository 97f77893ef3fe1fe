// How the skin engine names windows: the type code of a window class (the class map), with
// "Button" windows renamed by their style and the list of a simple combo box counted as a
// list box; and where a part of a skinned frame is shown and placed.
#ifndef WORDMERE_SKIN_CORE_SKIN_CLASSES_H
#define WORDMERE_SKIN_CORE_SKIN_CLASSES_H

#include <cstdint>

#include "skin_types.h"

// The type code of an 8-bit class name in the class map; 0 when absent.
int32_t skinClassCode(const char *className);
// The name a "Button" window is skinned as by its style: "GroupBox", "CheckBox", "Radio" or "Button".
const char *skinButtonKind(uint32_t style);
// The type code of a window of that class and style; for "ComboLBox", comboStyle is the
// style of the combo box that owns the list (9 for a simple combo box, else 0).
int32_t skinClassifyClass(const char *className, uint32_t style, uint32_t comboStyle);

// The state a part's visibility code is checked against.
struct SkinWindowState {
    bool iconic;
    bool zoomed;
    bool active;
    bool enabled;
};
// Whether a part with this visibility code is shown in that state.
bool skinPartShown(int32_t visibility, const SkinWindowState &state);

// A part's rectangle for a window of width x height: its design rectangle moved by its
// anchor code against the definition's reference size.
SkinRect skinPlacePart(const SkinRect &design, int32_t anchor, int32_t width, int32_t height, int32_t referenceWidth,
                       int32_t referenceHeight);

#endif
