// Gathers the page's mouse events between two takes by the game, as a relative mouse.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace host {

class MouseAccumulator {
 public:
  void Move(std::int32_t dx, std::int32_t dy);
  void Wheel(std::int32_t notches);
  // `button` as the page numbers them: 0 left, 1 middle, 2 right, 3 back; others ignored.
  void Press(int button);
  void Release(int button);
  // The page lost the pointer or the focus: no button can still be held.
  void ReleaseAll();

  // Movement since the previous take, and the buttons held now or pressed since then, so
  // that a click shorter than a frame is still seen once.
  MouseState Take();

 private:
  MouseState moved_;
  bool held_[4] = {false, false, false, false};
  bool pressed_[4] = {false, false, false, false};
};

}  // namespace host
