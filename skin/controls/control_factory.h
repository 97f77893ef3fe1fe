// The factory of control skinners: the skinner class for a control type code, and the
// installation of the skinned controls into the skin engine (the control maker the skin
// manager calls while it skins a window's children, and the skinned popup menus behind
// skinShowPopupMenu).
#ifndef WORDMERE_SKIN_CONTROLS_CONTROL_FACTORY_H
#define WORDMERE_SKIN_CONTROLS_CONTROL_FACTORY_H

#include <windows.h>

#include <cstdint>

class WindowSkinner;

// A new skinner for a control of that type in the container's window; null for a type that
// no skinner draws.
WindowSkinner *createControlSkinner(int32_t typeCode, WindowSkinner *container);
// Registers the factory, the popup-menu tracking and the skinned tooltip with the skin engine;
// idempotent.
void skinInstallControls();

#endif
