// Touch as the relative mouse: the first finger's sideways drag steers one to one, and its short
// tap is a left click; other fingers do nothing.
#pragma once

#include <optional>

#include "host/mouse_accumulator.h"

namespace host {

// A tap ends sooner than this after the finger came down...
constexpr double kTapMillis = 300;
// ...and strays less than this from where it came down, either way, in page pixels.
constexpr double kTapSlopPixels = 10;

class TouchSteering {
 public:
  // A finger down at (x, y) at `millis`; steers unless another already does.
  void Start(int finger, double x, double y, double millis);
  // The finger now at `x`; `scale` game pixels to a page pixel. Whole game pixels are sent on,
  // the rest kept for the next move.
  void Move(int finger, double x, double scale, MouseAccumulator& mouse);
  // The finger lifted at (x, y) at `millis`, or its touch cancelled, which taps nothing.
  void End(int finger, double x, double y, double millis, bool cancelled, MouseAccumulator& mouse);

 private:
  std::optional<int> finger_;
  double lastX_ = 0;
  double startX_ = 0;
  double startY_ = 0;
  double startMillis_ = 0;
  double remainder_ = 0;
};

}  // namespace host
