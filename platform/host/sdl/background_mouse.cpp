#include "host/sdl/background_mouse.h"

#include <SDL.h>

namespace host {
namespace {
constexpr std::uint8_t kSdlButtons[kButtonCount] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT,
                                                    SDL_BUTTON_MIDDLE, SDL_BUTTON_X1};
}  // namespace

int DeviceButton(std::uint8_t sdlButton) {
  for (int i = 0; i < kButtonCount; ++i) {
    if (kSdlButtons[i] == sdlButton) return i;
  }
  return -1;
}

void BackgroundMouse::Read(MouseAccumulator& mouse) {
  int x = 0;
  int y = 0;
  const Uint32 held = SDL_GetGlobalMouseState(&x, &y);
  Feed(x, y, held, mouse);
}

void BackgroundMouse::Feed(int x, int y, std::uint32_t held, MouseAccumulator& mouse) {
  if (known_) mouse.Move(x - x_, y - y_);
  for (int i = 0; i < kButtonCount; ++i) mouse.Hold(i, (held & SDL_BUTTON(kSdlButtons[i])) != 0);
  known_ = true;
  x_ = x;
  y_ = y;
}

}  // namespace host
