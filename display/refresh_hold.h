// Holding each presented frame to one display refresh when the flip itself does not wait.
#pragma once

#include <chrono>

class RefreshHold {
 public:
  using Clock = std::chrono::steady_clock;
  using Now = Clock::time_point (*)();
  using SleepUntil = void (*)(Clock::time_point);

  // The 1024 x 768 mode is asked for without a rate; 60 Hz is what such modes run at.
  static constexpr Clock::duration kRefreshPeriod = std::chrono::nanoseconds(1'000'000'000 / 60);

  explicit RefreshHold(Clock::duration period = kRefreshPeriod, Now now = Clock::now,
                       SleepUntil sleepUntil = SleepUntilOnThisThread);

  // Called after each successful flip: waits out the rest of the refresh when the frame
  // (drawing and flip together) came sooner than one refresh after the frame before.
  void AfterFlip();

 private:
  static void SleepUntilOnThisThread(Clock::time_point wakeTime);

  Clock::duration period_;
  Now now_;
  SleepUntil sleepUntil_;
  Clock::time_point previousFrame_{};
  bool started_ = false;
};

// The hold that PresentFrame applies; one for the life of the process.
void HoldFrameToRefresh();
