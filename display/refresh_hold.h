// Holding each presented frame to one refresh of the display mode when the flip does not wait.
#pragma once

#include <chrono>
#include <optional>

class RefreshHold {
 public:
  using Clock = std::chrono::steady_clock;
  using Now = Clock::time_point (*)();
  using SleepUntil = void (*)(Clock::time_point);
  // Returns at the display's next vertical blank; false when the platform cannot wait for one.
  using WaitForBlank = bool (*)();

  // The rates the platform gives for the mode, 0 where it gives none.
  struct ReportedRates {
    unsigned monitorHertz = 0;  // the display driver's answer for the mode in use
    unsigned desktopHertz = 0;  // the desktop's current mode
  };

  // What a mode runs at when neither the platform nor the spacing of its vertical blanks
  // tells its rate.
  static constexpr Clock::duration kFallbackPeriod = std::chrono::nanoseconds(1'000'000'000 / 60);

  // Whether a reported rate is one a real mode runs at.
  static bool Plausible(unsigned hertz);

  explicit RefreshHold(Now now = Clock::now, SleepUntil sleepUntil = SleepUntilOnThisThread);

  // Called after each successful flip: waits out the rest of the refresh when the frame came
  // well under one refresh after the frame before. Where the platform reports no plausible
  // rate, the first such call times the display's vertical blanks with `waitForBlank`.
  void AfterFlip(ReportedRates rates, WaitForBlank waitForBlank);

 private:
  static void SleepUntilOnThisThread(Clock::time_point wakeTime);
  // The refresh period the platform reports, or else the spacing of its vertical blanks.
  Clock::duration Period(ReportedRates rates, WaitForBlank waitForBlank);
  std::optional<Clock::duration> TimeBlanks(WaitForBlank waitForBlank) const;

  Now now_;
  SleepUntil sleepUntil_;
  Clock::time_point previousFrame_{};
  bool started_ = false;
  bool blanksTimed_ = false;
  std::optional<Clock::duration> blankPeriod_;
};

// The hold that PresentFrame applies; one for the life of the process.
RefreshHold& GameRefreshHold();
