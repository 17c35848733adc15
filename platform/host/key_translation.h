// Keys as the window procedure receives them, whichever library reported them: one table of
// system keys, repeats, the desktop's own keys and the game's.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace host {

constexpr std::uint32_t kEscapeKey = 0x1B;
constexpr std::uint32_t kEnterKey = 0x0D;
// What a Win32 keyboard sends for a key it has no code for.
constexpr std::uint32_t kUnknownKey = 0xFF;

// A key as a library reports it, its code already a Win32 virtual-key code (0: none).
struct KeyReport {
  std::uint32_t virtualKey = 0;
  bool down = false;
  bool alt = false;     // Alt held with it
  bool repeat = false;  // the keyboard repeating a key held down
};

enum class KeyUse {
  kNobody,     // dropped
  kGame,       // the event goes to the game
  kWindowMode  // the desktop's: switch between full screen and a window
};

// What becomes of a key; fills `event` for the game's.
KeyUse TranslateKey(const KeyReport& key, Event& event);

// Whether the key is the game's alone, kept from the browser's own use of it.
constexpr bool IsGamesOwnKey(std::uint32_t virtualKey) { return virtualKey == kEscapeKey; }

}  // namespace host
