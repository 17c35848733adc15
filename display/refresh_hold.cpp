#include "display/refresh_hold.h"

#include <thread>

#include "platform/platform.h"

RefreshHold::RefreshHold(Clock::duration period, Now now, SleepUntil sleepUntil)
    : period_(period), now_(now), sleepUntil_(sleepUntil) {}

void RefreshHold::AfterFlip() {
  // A frame this close to a full refresh was paced by the flip: waiting out the sliver left
  // would only risk a coarse system sleep making it miss the next refresh.
  constexpr Clock::duration kOnTimeSlack = std::chrono::milliseconds(1);
  const Clock::time_point now = now_();
  const Clock::time_point due = previousFrame_ + period_;
  if (started_ && now + kOnTimeSlack < due) {
    sleepUntil_(due);
    // The next frame is due a whole refresh after this one was due, however late the sleep
    // woke, so oversleeping does not slow the game below the refresh rate.
    previousFrame_ = due;
  } else {
    previousFrame_ = now;
  }
  started_ = true;
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

void HoldFrameToRefresh() {
  // A system sleep is otherwise only as fine as the default timer tick, up to 16 ms.
  constexpr UINT kTimerMilliseconds = 1;
  static const MMRESULT fineTimer = timeBeginPeriod(kTimerMilliseconds);
  static RefreshHold hold(RefreshHold::kRefreshPeriod, PlatformNow, PlatformSleepUntil);
  (void)fineTimer;
  hold.AfterFlip();
}
