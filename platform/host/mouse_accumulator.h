// The one relative mouse every host reports: what its library saw between two takes by the game.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace host {

// The device's buttons, in the order of its button bytes.
enum MouseButton { kLeftButton, kRightButton, kMiddleButton, kFourthButton, kButtonCount };

class MouseAccumulator {
 public:
  // Summed until taken, saturating rather than wrapping.
  void Move(std::int32_t dx, std::int32_t dy);
  void Wheel(std::int32_t notches);
  // `button` a MouseButton; others are ignored.
  void Press(int button);
  void Release(int button);
  // Press or Release, for sources that report what is held rather than what changed.
  void Hold(int button, bool held);
  // Every button let go; presses not yet taken still count (a button found held at the start).
  void ReleaseAll();
  // The window or page lost the pointer or the focus: no button is held, and a press not yet
  // taken goes with the focus.
  void LoseFocus();

  // Movement since the previous take, and the buttons held now or pressed since then, so
  // that a click shorter than a frame is still seen once.
  MouseState Take();

 private:
  MouseState moved_;
  bool held_[kButtonCount] = {};
  bool pressed_[kButtonCount] = {};
};

}  // namespace host
