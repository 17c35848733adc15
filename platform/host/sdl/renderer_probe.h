// Whether this machine draws OpenGL in hardware, asked without loading a driver into the game.
#pragma once

namespace host {

// Runs the question in a child process, before the caller starts SDL's video, so that a
// software rasteriser's memory and threads never enter the game. False when unsure.
bool HasHardwareRenderer();

}  // namespace host
