#include "display/refresh_hold.h"

#include <thread>

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

void HoldFrameToRefresh() {
  static RefreshHold hold;
  hold.AfterFlip();
}
