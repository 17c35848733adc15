// How long a synchronous cue holds the game, the one rule of every host: never less than the
// sound lasts, until the device has played it out, and given up when a device stalls.
#pragma once

#include <cstdint>
#include <functional>

#include "host/host_clock.h"
#include "host/wav_file.h"

namespace host {

// A device that stops taking sound is waited for this long past the cue's end, no longer.
constexpr std::int64_t kCueStallMarginMicros = 2'000'000;
// How often a host asks its device whether the cue still sounds.
constexpr std::int64_t kCuePollMicros = 2'000;

// How long the cue's data sounds, to the microsecond above.
std::int64_t CueMicros(const WavLayout& layout);

class CueHold {
 public:
  // A cue of `lengthMicros` started at `startMicros` on a device that plays `latencyMicros`
  // behind what it has taken (0, and never playing, where no device plays it).
  CueHold(std::int64_t startMicros, std::int64_t lengthMicros, std::int64_t latencyMicros = 0);

  // Whether the game may go on at `nowMicros`, the device saying whether it still plays.
  bool Over(std::int64_t nowMicros, bool devicePlaying);
  // When to ask again: once the sound's length has passed, then a poll later, or sooner where
  // the hold may end.
  std::int64_t NextLook(std::int64_t nowMicros) const;

 private:
  std::int64_t heardAt_;
  std::int64_t giveUpAt_;
  std::int64_t latency_;
  std::int64_t drainedAt_ = 0;
  bool drained_ = false;
};

// Holds on the host's clock until the cue is over.
void HoldForCue(CueHold hold, const HostClock& clock, const std::function<bool()>& devicePlaying);

}  // namespace host
