// The driver's phases for the skin of the running program (driver_skin.cpp).
#pragma once

// Runs the phase named by argv[1] when it is one of the skin's; `known` tells whether it was.
int skinPhase(int argc, wchar_t** argv, bool& known);
