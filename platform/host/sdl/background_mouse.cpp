#include "host/sdl/background_mouse.h"

#include <SDL.h>

namespace host {

void BackgroundMouse::Read(MouseState& state) {
  constexpr std::uint8_t kButtonHeld = 0x80;
  constexpr Uint32 kButtons[] = {SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK,
                                 SDL_BUTTON_X1MASK};
  int x = 0;
  int y = 0;
  const Uint32 held = SDL_GetGlobalMouseState(&x, &y);
  state.dx = known_ ? x - x_ : 0;
  state.dy = known_ ? y - y_ : 0;
  for (int i = 0; i < 4; ++i) state.buttons[i] = (held & kButtons[i]) != 0 ? kButtonHeld : 0;
  known_ = true;
  x_ = x;
  y_ = y;
}

}  // namespace host
