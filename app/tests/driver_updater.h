// The driver's phases for the updater (driver_updater.cpp): the program against a real
// update server on 127.0.0.1.
#pragma once

// Runs the phase named by argv[1] when it is one of the updater's; `known` tells whether it was.
// Returns the updater phases' failed checks so far.
int updaterPhase(int argc, wchar_t** argv, bool& known);
