// The first gamepad as the page polls it, each animation frame, turned into the changes the key
// steering takes.
#pragma once

#include <cstdint>
#include <functional>

#include "host/key_steering.h"

namespace host {

class PagePad {
 public:
  // `held` has a bit each for the south, east, Start, d-pad left and d-pad right buttons;
  // `present` is false once no pad is left. A button that stands for a key in the window is
  // handed to `key`, pressed or released.
  void Poll(bool present, double across, unsigned held, std::int64_t micros, KeySteering& keys,
            MouseAccumulator& mouse, const std::function<void(const KeyReport&)>& key);

 private:
  double across_ = 0;
  unsigned held_ = 0;
};

}  // namespace host
