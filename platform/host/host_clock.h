// A host's clock and its one way of waiting on it: every hold (a frame, a cue, a sleep) is
// measured and slept on it, so that a test's clock sees them all.
#pragma once

#include <cstdint>
#include <functional>

namespace host {

struct HostClock {
  std::function<std::int64_t()> nowMicros;
  // Returns once nowMicros() has reached the time (at once if it has).
  std::function<void(std::int64_t wakeMicros)> sleepUntilMicros;
};

// The machine's monotonic clock, sleeping to the microsecond.
HostClock SystemClock();

// For a timer that sleeps whole milliseconds: how many reach `wakeMicros` from `nowMicros`.
// Rounded up, the one rounding of every host: waking early would cost another turn of the timer.
constexpr std::int64_t MillisToWake(std::int64_t nowMicros, std::int64_t wakeMicros) {
  constexpr std::int64_t kMicrosPerMilli = 1000;
  return wakeMicros <= nowMicros ? 0
                                 : (wakeMicros - nowMicros + kMicrosPerMilli - 1) / kMicrosPerMilli;
}

}  // namespace host
