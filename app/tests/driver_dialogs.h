// The driver's phases for the program's dialogs (driver_dialogs.cpp).
#pragma once

// Runs the phase named by argv[1] when it is one of the dialogs'; `known` tells whether it was.
int dialogPhase(int argc, wchar_t** argv, bool& known);
