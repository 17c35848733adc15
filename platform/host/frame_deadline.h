// When the next frame may be shown, by the host's own clock, whatever the monitor's rate: the
// one pace of every real-time host.
#pragma once

#include <cstdint>

namespace host {

class FrameDeadline {
 public:
  explicit FrameDeadline(int framesPerSecond);

  // Called once a frame has been presented at `nowMicros`; returns the time before which
  // the next one must not be.
  std::int64_t AfterPresent(std::int64_t nowMicros);

  std::int64_t periodMicros() const { return period_; }

 private:
  std::int64_t period_;
  std::int64_t next_ = 0;
  bool started_ = false;
};

}  // namespace host
