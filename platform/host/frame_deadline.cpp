#include "host/frame_deadline.h"

#include <algorithm>

namespace host {
namespace {

// Covers a wake-up later than any of the remembered ones.
constexpr std::int64_t kMarginMicros = 500;
// How much sooner than a period after the last hand-back the next may come. A game that
// paces itself on its flips (one written for flips that do not wait) waits out the rest of a
// frame that comes back more than a sixteenth early; the wait would lengthen the lead, and the
// longer lead the wait, without end.
constexpr std::int64_t kHandBackSlackMicros = 500;

}  // namespace

FrameDeadline::FrameDeadline(int framesPerSecond)
    : period_(1'000'000 / std::max(framesPerSecond, 1)), lead_(kMarginMicros) {}

std::int64_t FrameDeadline::AfterPresent(std::int64_t nowMicros) {
  // A running deadline keeps the rate exact however late each wake-up is; after a long
  // hold (a sound heard to its end, a hidden tab) or a clock that went back, start afresh
  // instead of rushing to catch up.
  const bool offTrack = nowMicros - next_ > period_ || next_ - nowMicros > period_;
  if (!started_ || offTrack) next_ = nowMicros;
  started_ = true;
  next_ += period_;
  // Even past the deadline: a frame late once is better than one the game holds back again.
  wake_ = next_ - lead_;
  if (handedBack_ != 0 && handedBack_ <= nowMicros)
    wake_ = std::max(wake_, handedBack_ + period_ - kHandBackSlackMicros);
  return next_;
}

std::int64_t FrameDeadline::ReadyAt(std::int64_t nowMicros) {
  if (!started_) return nowMicros;
  // A frame held far longer than a slot (a sound, a box) says nothing of the game's steps.
  const std::int64_t took = nowMicros - wake_;
  if (took < 0 || took > period_) return next_;
  newest_ = (newest_ + 1) % kRemembered;
  took_[newest_] = took;
  // At most a quarter slot early: a step slower than that is the machine's, not the pace's.
  lead_ = std::min(*std::max_element(took_.begin(), took_.end()) + kMarginMicros, period_ / 4);
  return next_;
}

}  // namespace host
