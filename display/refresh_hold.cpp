#include "display/refresh_hold.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <thread>

#include "platform/platform.h"

namespace {

using Clock = RefreshHold::Clock;

// Rates outside these are no real mode's: some drivers answer 0 or 1 for "the default".
constexpr unsigned kMinPlausibleHertz = 50;
constexpr unsigned kMaxPlausibleHertz = 500;
constexpr Clock::duration kLongestPlausiblePeriod =
    std::chrono::nanoseconds(1'000'000'000 / kMinPlausibleHertz);
constexpr Clock::duration kShortestPlausiblePeriod =
    std::chrono::nanoseconds(1'000'000'000 / kMaxPlausibleHertz);

}  // namespace

bool RefreshHold::Plausible(unsigned hertz) {
  return hertz >= kMinPlausibleHertz && hertz <= kMaxPlausibleHertz;
}

RefreshHold::RefreshHold(Now now, SleepUntil sleepUntil) : now_(now), sleepUntil_(sleepUntil) {}

void RefreshHold::AfterFlip(ReportedRates rates, WaitForBlank waitForBlank) {
  const Clock::duration period = Period(rates, waitForBlank);
  const Clock::time_point now = now_();
  if (!started_) {
    previousFrame_ = now;
    started_ = true;
    return;
  }
  // A frame this close to a full refresh was paced by the flip: waiting out the sliver left
  // would only risk a coarse system sleep making it miss the next refresh.
  const Clock::duration onTimeSlack = period / 16;
  const Clock::time_point due = previousFrame_ + period;
  if (now + onTimeSlack < due) {
    sleepUntil_(due);
    // The next frame is due a whole refresh after this one was due, however late the sleep
    // woke, so oversleeping does not slow the game below the refresh rate.
    previousFrame_ = due;
  } else if (now <= due || now - due >= period) {
    previousFrame_ = now;
  } else {
    // A flip that returned a little late does not move the next refresh: the one after a late
    // return comes back early by as much and is not held for it.
    previousFrame_ = due;
  }
}

RefreshHold::Clock::duration RefreshHold::Period(ReportedRates rates, WaitForBlank waitForBlank) {
  for (const unsigned hertz : {rates.monitorHertz, rates.desktopHertz}) {
    if (Plausible(hertz)) return std::chrono::nanoseconds(1'000'000'000 / hertz);
  }
  // Timed once: the mode never changes, and each timing holds the game for a few refreshes.
  if (!blanksTimed_) {
    blanksTimed_ = true;
    blankPeriod_ = TimeBlanks(waitForBlank);
  }
  return blankPeriod_.value_or(kFallbackPeriod);
}

std::optional<RefreshHold::Clock::duration> RefreshHold::TimeBlanks(
    WaitForBlank waitForBlank) const {
  // The median of a few spacings: one blank missed, or a wait cut short, does not move it.
  std::array<Clock::duration, 7> spacings{};
  if (waitForBlank == nullptr || !waitForBlank()) return std::nullopt;
  Clock::time_point previous = now_();
  for (Clock::duration& spacing : spacings) {
    if (!waitForBlank()) return std::nullopt;
    const Clock::time_point blank = now_();
    spacing = blank - previous;
    previous = blank;
  }
  const auto middle = spacings.begin() + static_cast<std::ptrdiff_t>(spacings.size() / 2);
  std::nth_element(spacings.begin(), middle, spacings.end());
  // A wait that returns at once, or one slower than any mode, measures no display.
  if (*middle < kShortestPlausiblePeriod || *middle > kLongestPlausiblePeriod) return std::nullopt;
  return *middle;
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
