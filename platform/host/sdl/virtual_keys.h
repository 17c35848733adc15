// Win32 virtual-key codes for SDL's keys, as the window procedure expects them.
#pragma once

#include <SDL_keycode.h>

#include <cstdint>

#include "host/key_translation.h"

namespace host {

// The code a key on a Win32 keyboard would send; keys it has no code for give kUnknownKey.
std::uint32_t VirtualKeyFor(SDL_Keycode key);

}  // namespace host
