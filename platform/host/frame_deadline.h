// When the next frame may be shown, by the host's own clock, whatever the monitor's rate: the
// one pace of every real-time host.
#pragma once

#include <cstdint>

#include "host/emulated_mode.h"

namespace host {

class FrameDeadline {
 public:
  explicit FrameDeadline(int framesPerSecond = kEmulatedHertz);

  // Called once the present of a frame began at `nowMicros`; returns the refresh at which the
  // next may be shown, when the host's flip returns to the game.
  std::int64_t AfterPresent(std::int64_t nowMicros);

  // For a host whose display paints on refreshes it reports (a page's animation frames):
  // whether the refresh at `refreshMicros` shows the next frame. One a little before the
  // deadline is taken, as the one after it would come most of a slot late; so a display a
  // little faster than the pace shows a frame on every refresh, a much faster one skips some.
  bool IsDue(std::int64_t refreshMicros) const {
    return refreshMicros >= next_ - period_ / kEarlyRefreshShare;
  }

  std::int64_t periodMicros() const { return period_; }

 private:
  static constexpr std::int64_t kEarlyRefreshShare = 4;  // of a slot

  std::int64_t period_;
  std::int64_t next_ = 0;
  bool started_ = false;
};

}  // namespace host
