// When the next frame may be shown, by the host's own clock, whatever the monitor's rate: the
// one pace of every real-time host.
#pragma once

#include <array>
#include <cstdint>

namespace host {

class FrameDeadline {
 public:
  explicit FrameDeadline(int framesPerSecond);

  // Called once a frame has been presented at `nowMicros`; returns the time before which
  // the next one must not be.
  std::int64_t AfterPresent(std::int64_t nowMicros);

  // When to hand back to the game so that its next frame is ready by the deadline: early by
  // the longest time recent frames took from there, and a margin; but, as a display's flips
  // come a refresh apart, not much sooner than a period after the last hand-back, so that a
  // game which paces itself on its flips never waits on top of the host.
  std::int64_t WakeMicros() const { return wake_; }

  // Called when control goes back to the game at `nowMicros`.
  void HandedBack(std::int64_t nowMicros) { handedBack_ = nowMicros; }

  // Called when the game's next frame is ready at `nowMicros`; returns when to present it.
  // Presented at the deadline, not whenever it is ready, a frame follows the one before by a
  // whole period however long the game's step and the drawing took.
  std::int64_t ReadyAt(std::int64_t nowMicros);

  // For a host whose display paints on refreshes it reports (a page's animation frames):
  // whether the refresh at `refreshMicros` shows the next frame. One a little before the
  // deadline is taken, as the one after it would come most of a slot late; so a display a
  // little faster than the pace shows a frame on every refresh, a much faster one skips some.
  bool IsDue(std::int64_t refreshMicros) const {
    return refreshMicros >= next_ - period_ / kEarlyRefreshShare;
  }

  std::int64_t periodMicros() const { return period_; }
  std::int64_t leadMicros() const { return lead_; }

 private:
  static constexpr std::int64_t kEarlyRefreshShare = 4;  // of a slot
  static constexpr int kRemembered = 60;  // a second of frames: one slow step ages out soon

  std::int64_t period_;
  std::int64_t next_ = 0;
  bool started_ = false;
  std::array<std::int64_t, kRemembered> took_{};
  int newest_ = 0;
  std::int64_t lead_;
  std::int64_t handedBack_ = 0;
  std::int64_t wake_ = 0;
};

}  // namespace host
