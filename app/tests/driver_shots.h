// The driver's phases for the screenshot test (driver_shots.cpp): a menu or a dialog of the
// program opened and closed again, and "shot", which writes where the program's windows are and
// waits while the test script takes the screenshot.
#pragma once

// Runs the phase named by argv[1] when it is one of these; `known` tells whether it was. Answers
// the number of failed checks of these phases so far.
int shotPhase(int argc, wchar_t** argv, bool& known);
