// Shows each frame at once, then holds it for one refresh of a 60 Hz mode.
#pragma once

#include <cstdint>
#include <functional>

namespace host {

// The time the pacer reads and the way it sleeps: SDL's performance counter and a thread
// sleep, unless a test brings its own.
struct PacerClock {
  std::uint64_t ticksPerSecond;
  std::function<std::uint64_t()> now;
  std::function<void(std::uint64_t micros)> sleepMicros;
};
PacerClock SystemClock();

class FramePacer {
 public:
  explicit FramePacer(int framesPerSecond, PacerClock clock = SystemClock());

  // Calls `present` at once, then holds until the next frame's slot, calling `whileWaiting`
  // between sleeps: the next step then reads input taken as late as the pace allows.
  void Show(const std::function<void()>& present, const std::function<void()>& whileWaiting);

 private:
  void HoldUntilNextSlot(const std::function<void()>& whileWaiting);

  PacerClock clock_;
  std::uint64_t period_;
  std::uint64_t deadline_ = 0;
  bool started_ = false;
};

}  // namespace host
