// SDL's mouse buttons as the device's, and the desktop's pointer read while another window
// has the focus: the game's mouse is read in the background, so movement and clicks made
// elsewhere still reach it.
#pragma once

#include <cstdint>

#include "host/mouse_accumulator.h"

namespace host {

// The device's button for SDL's button number; -1 for buttons the device lacks.
int DeviceButton(std::uint8_t sdlButton);

class BackgroundMouse {
 public:
  // Hands the pointer's movement since the last read, and its buttons, to `mouse`.
  void Read(MouseAccumulator& mouse);
  // The pointer at (x, y) with SDL's button mask `held`; the first after Forget finds no
  // movement.
  void Feed(int x, int y, std::uint32_t held, MouseAccumulator& mouse);
  // While the window has the focus its own events speak; the next read starts afresh.
  void Forget() { known_ = false; }

 private:
  bool known_ = false;
  int x_ = 0;
  int y_ = 0;
};

}  // namespace host
