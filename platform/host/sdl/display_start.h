// Starting SDL's video on a real screen; a stand-in driver only when the user names one.
#pragma once

#include <string>

namespace host {

// Starts SDL's video and events on the first real driver that opens a display, or on the
// driver SDL_VIDEODRIVER names. False, with one line naming each display tried and SDL's reason,
// when none does.
bool StartDisplay(std::string& error);

}  // namespace host
