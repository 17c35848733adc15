// The X server under SDL's x11 driver: a TrueColor window visual, and X faults ended in one line.
#pragma once

#include <string>

namespace host {

// Points SDL's windows at a TrueColor visual: SDL would take a DirectColor one first, which
// shows nothing on deep or 8-bit screens. False, with `error` set, when the screen has none of
// 15 bits or more.
bool ChooseTrueColorVisual(std::string& error);

// From now on an X protocol error or a lost connection ends the program with one plain line
// on stderr and status 1, instead of Xlib's raw dump.
void EndOnXFaults();

}  // namespace host
