#include "host/cue_hold.h"

#include <algorithm>
#include <cmath>

namespace host {

std::int64_t CueMicros(const WavLayout& layout) {
  constexpr double kMicrosPerSecond = 1e6;
  return static_cast<std::int64_t>(std::ceil(WavDurationSeconds(layout) * kMicrosPerSecond));
}

CueHold::CueHold(std::int64_t startMicros, std::int64_t lengthMicros, std::int64_t latencyMicros)
    : heardAt_(startMicros + lengthMicros + latencyMicros),
      giveUpAt_(heardAt_ + kCueStallMarginMicros),
      latency_(latencyMicros) {}

// Heard means the device has taken the whole sound and played out its own buffer after it, and
// never sooner than the sound's length after it started.
bool CueHold::Over(std::int64_t nowMicros, bool devicePlaying) {
  if (nowMicros >= giveUpAt_) return true;
  if (devicePlaying) return false;
  if (!drained_) {
    drained_ = true;
    drainedAt_ = nowMicros;
  }
  return nowMicros >= std::max(heardAt_, drainedAt_ + latency_);
}

std::int64_t CueHold::NextLook(std::int64_t nowMicros) const {
  // Nothing a device says ends the hold before the sound's own length has passed: the first
  // look is then, which spares a browser's page hundreds of wake-ups a second meanwhile.
  const std::int64_t soundEnds = heardAt_ - latency_;
  if (nowMicros < soundEnds) return soundEnds;
  std::int64_t wake = nowMicros + kCuePollMicros;
  for (const std::int64_t end :
       {heardAt_, drained_ ? drainedAt_ + latency_ : giveUpAt_, giveUpAt_}) {
    if (end > nowMicros) wake = std::min(wake, end);
  }
  return wake;
}

void HoldForCue(CueHold hold, const HostClock& clock, const std::function<bool()>& devicePlaying) {
  for (std::int64_t now = clock.nowMicros(); !hold.Over(now, devicePlaying());
       now = clock.nowMicros()) {
    clock.sleepUntilMicros(hold.NextLook(now));
  }
}

}  // namespace host
