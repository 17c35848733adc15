// Holding each presented frame to one refresh of the display mode when the flip does not wait.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <optional>

class RefreshHold {
 public:
  using Clock = std::chrono::steady_clock;
  using Now = Clock::time_point (*)();
  using SleepUntil = void (*)(Clock::time_point);

  // The rates the platform gives for the mode, 0 where it gives none.
  struct ReportedRates {
    unsigned monitorHertz = 0;  // the display driver's answer for the mode in use
    unsigned desktopHertz = 0;  // the desktop's current mode
  };

  // What a mode runs at when nothing reports its rate; also the fastest rate flips alone
  // can vouch for.
  static constexpr Clock::duration kFallbackPeriod = std::chrono::nanoseconds(1'000'000'000 / 60);

  // Whether a reported rate is one a real mode runs at.
  static bool Plausible(unsigned hertz);

  explicit RefreshHold(Now now = Clock::now, SleepUntil sleepUntil = SleepUntilOnThisThread);

  // Called just before each attempt to flip.
  void BeforeFlip();

  // Called after each successful flip: waits out the rest of the refresh when the frame came
  // well under one refresh after the frame before.
  void AfterFlip(ReportedRates rates);

 private:
  static void SleepUntilOnThisThread(Clock::time_point wakeTime);
  // The refresh period the platform reports, or else the one learned from flips that waited.
  std::optional<Clock::duration> KnownPeriod(ReportedRates rates) const;
  std::optional<Clock::duration> LearnedPeriod() const;
  void LearnFrom(Clock::duration waitedFrame);

  Now now_;
  SleepUntil sleepUntil_;
  Clock::time_point previousFrame_{};
  Clock::time_point flipStarted_{};
  bool started_ = false;
  // Frame times of the latest flips that waited for the display, oldest overwritten first.
  std::array<Clock::duration, 9> waitedFrames_{};
  std::size_t waitedCount_ = 0;
};

// The hold that PresentFrame applies; one for the life of the process.
RefreshHold& GameRefreshHold();
