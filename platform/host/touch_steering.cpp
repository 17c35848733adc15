#include "host/touch_steering.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace host {

void TouchSteering::Start(int finger, double x, double y, double millis) {
  if (finger_.has_value()) return;
  finger_ = finger;
  lastX_ = startX_ = x;
  startY_ = y;
  startMillis_ = millis;
  remainder_ = 0;
}

void TouchSteering::Move(int finger, double x, double scale, MouseAccumulator& mouse) {
  if (finger_ != finger || !(scale > 0)) return;
  const double moved = (x - lastX_) * scale + remainder_;
  lastX_ = x;
  // A page's wild coordinates saturate the movement rather than overflow it.
  const double whole =
      std::clamp(std::trunc(moved), double{std::numeric_limits<std::int32_t>::min()},
                 double{std::numeric_limits<std::int32_t>::max()});
  remainder_ = moved - whole;
  if (whole != 0) mouse.Move(static_cast<std::int32_t>(whole), 0);
}

void TouchSteering::End(int finger, double x, double y, double millis, bool cancelled,
                        MouseAccumulator& mouse) {
  if (finger_ != finger) return;
  finger_.reset();
  const bool tap = !cancelled && millis - startMillis_ < kTapMillis &&
                   std::abs(x - startX_) < kTapSlopPixels && std::abs(y - startY_) < kTapSlopPixels;
  if (!tap) return;
  // Pressed and released at once: the game still sees the click at its next read.
  mouse.Press(kLeftButton);
  mouse.Release(kLeftButton);
}

}  // namespace host
