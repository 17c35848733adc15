#include "host/frame_deadline.h"

#include <algorithm>

namespace host {

// To the nearest microsecond, as the headless host's refresh is.
FrameDeadline::FrameDeadline(int framesPerSecond)
    : period_((1'000'000 + std::max(framesPerSecond, 1) / 2) / std::max(framesPerSecond, 1)) {}

std::int64_t FrameDeadline::AfterPresent(std::int64_t nowMicros) {
  // A running deadline keeps the rate exact however late each wake-up is; after a long
  // hold (a sound heard to its end, a hidden tab) or a clock that went back, start afresh
  // instead of rushing to catch up. Started afresh from when the present began, as the
  // running one is, the next interval is not stretched by the present's own cost.
  const bool offTrack = nowMicros - next_ > period_ || next_ - nowMicros > period_;
  if (!started_ || offTrack) next_ = nowMicros;
  started_ = true;
  next_ += period_;
  return next_;
}

}  // namespace host
