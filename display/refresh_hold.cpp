#include "display/refresh_hold.h"

#include <algorithm>
#include <thread>

#include "platform/platform.h"

namespace {

using Clock = RefreshHold::Clock;

// Rates outside these are no real mode's: some drivers answer 0 or 1 for "the default".
constexpr unsigned kMinPlausibleHertz = 50;
constexpr unsigned kMaxPlausibleHertz = 500;
constexpr Clock::duration kLongestPlausiblePeriod =
    std::chrono::nanoseconds(1'000'000'000 / kMinPlausibleHertz);

}  // namespace

bool RefreshHold::Plausible(unsigned hertz) {
  return hertz >= kMinPlausibleHertz && hertz <= kMaxPlausibleHertz;
}

RefreshHold::RefreshHold(Now now, SleepUntil sleepUntil) : now_(now), sleepUntil_(sleepUntil) {}

void RefreshHold::BeforeFlip() { flipStarted_ = now_(); }

void RefreshHold::AfterFlip(ReportedRates rates) {
  const Clock::time_point now = now_();
  if (!started_) {
    previousFrame_ = now;
    started_ = true;
    return;
  }
  // A flip that took most of its frame may have been waiting for the display; quick flips
  // only tell how fast the game draws.
  const Clock::duration frame = now - previousFrame_;
  if ((now - flipStarted_) * 2 >= frame) LearnFrom(frame);
  const Clock::duration period = KnownPeriod(rates).value_or(kFallbackPeriod);
  // A frame this close to a full refresh was paced by the flip: waiting out the sliver left
  // would only risk a coarse system sleep making it miss the next refresh.
  const Clock::duration onTimeSlack = period / 16;
  const Clock::time_point due = previousFrame_ + period;
  if (now + onTimeSlack < due) {
    sleepUntil_(due);
    // The next frame is due a whole refresh after this one was due, however late the sleep
    // woke, so oversleeping does not slow the game below the refresh rate.
    previousFrame_ = due;
  } else {
    previousFrame_ = now;
  }
}

std::optional<RefreshHold::Clock::duration> RefreshHold::KnownPeriod(ReportedRates rates) const {
  for (const unsigned hertz : {rates.monitorHertz, rates.desktopHertz}) {
    if (Plausible(hertz)) return std::chrono::nanoseconds(1'000'000'000 / hertz);
  }
  return LearnedPeriod();
}

std::optional<RefreshHold::Clock::duration> RefreshHold::LearnedPeriod() const {
  // Too few waits to tell a refresh from a stray stall.
  constexpr std::size_t kEnoughWaits = 3;
  const std::size_t count = std::min(waitedCount_, waitedFrames_.size());
  if (count < kEnoughWaits) return std::nullopt;
  // The median: a frame that missed a refresh, or a wait cut short, does not move it.
  std::array<Clock::duration, std::tuple_size_v<decltype(waitedFrames_)>> frames = waitedFrames_;
  const auto end = frames.begin() + static_cast<std::ptrdiff_t>(count);
  const auto middle = frames.begin() + static_cast<std::ptrdiff_t>(count / 2);
  std::nth_element(frames.begin(), middle, end);
  const Clock::duration median = *middle;
  // A display paces its flips alike; flips slowed by their own work or a busy machine vary.
  const auto alike = std::count_if(frames.begin(), end, [median](Clock::duration frame) {
    return frame - median <= median / 16 && median - frame <= median / 16;
  });
  if (static_cast<std::size_t>(alike) * 3 < count * 2) return std::nullopt;
  return median;
}

void RefreshHold::LearnFrom(Clock::duration waitedFrame) {
  // A flip that does its own work (a renderer copying the picture, say) takes most of a short
  // frame without waiting for anything: only a reported rate can vouch for a refresh that
  // comes sooner than the fallback's.
  const Clock::duration shortestLearnable = kFallbackPeriod - kFallbackPeriod / 16;
  if (waitedFrame < shortestLearnable || waitedFrame > kLongestPlausiblePeriod) return;
  waitedFrames_[waitedCount_ % waitedFrames_.size()] = waitedFrame;
  ++waitedCount_;
}

void RefreshHold::SleepUntilOnThisThread(Clock::time_point wakeTime) {
  std::this_thread::sleep_until(wakeTime);
}

namespace {

// The platform's own clock: real time on a desktop, the host's virtual time in tools and
// tests, whose flips take exactly one refresh of it and so are never held.
RefreshHold::Clock::time_point PlatformNow() {
  LARGE_INTEGER count;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  const std::chrono::duration<double> seconds(static_cast<double>(count.QuadPart) /
                                              static_cast<double>(frequency.QuadPart));
  return RefreshHold::Clock::time_point(
      std::chrono::duration_cast<RefreshHold::Clock::duration>(seconds));
}

// Sleeps on the platform in whole milliseconds, rounded up, so that a clock which only
// moves when slept on still reaches the time.
void PlatformSleepUntil(RefreshHold::Clock::time_point wakeTime) {
  for (auto now = PlatformNow(); now < wakeTime; now = PlatformNow()) {
    const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(wakeTime - now);
    Sleep(static_cast<DWORD>(milliseconds.count()));
  }
}

}  // namespace

RefreshHold& GameRefreshHold() {
  // A system sleep is otherwise only as fine as the default timer tick, up to 16 ms.
  constexpr UINT kTimerMilliseconds = 1;
  static const MMRESULT fineTimer = timeBeginPeriod(kTimerMilliseconds);
  static RefreshHold hold(PlatformNow, PlatformSleepUntil);
  (void)fineTimer;
  return hold;
}
