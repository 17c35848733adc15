// Holds each presented frame to one refresh of a 60 Hz mode by the performance counter.
#pragma once

#include <cstdint>
#include <functional>

namespace host {

class FramePacer {
 public:
  explicit FramePacer(int framesPerSecond);

  // Returns at the start of the next frame's slot; calls `whileWaiting` between sleeps so
  // that the caller can keep up with its events.
  void WaitForSlot(const std::function<void()>& whileWaiting);

 private:
  std::uint64_t frequency_;
  std::uint64_t period_;
  std::uint64_t deadline_ = 0;
  bool started_ = false;
};

}  // namespace host
