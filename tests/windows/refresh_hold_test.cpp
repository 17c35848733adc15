// The hold after each flip: frames paced by the display are left alone at any rate, frames
// whose flip returns at once are held to one refresh of the mode's rate.
#include "display/refresh_hold.h"

#include <gtest/gtest.h>

#include "display/display_device.h"
#include "host/headless/headless_host.h"

#include <chrono>
#include <ostream>

namespace {

using Clock = RefreshHold::Clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using Milliseconds = std::chrono::duration<double, std::milli>;

Clock::duration PeriodAt(unsigned hertz) { return nanoseconds(1'000'000'000 / hertz); }

// A clock that moves only when told, and counts the sleeps the hold asks for.
struct FakeTime {
  static inline Clock::time_point now{};
  static inline Clock::duration oversleep{};
  static inline int sleeps = 0;

  static Clock::time_point Now() { return now; }
  static void SleepUntil(Clock::time_point wakeTime) {
    ++sleeps;
    if (now < wakeTime) now = wakeTime + oversleep;
  }
  static void Reset(Clock::duration lateWakes) {
    now = Clock::time_point{} + milliseconds(1000);
    oversleep = lateWakes;
    sleeps = 0;
  }
};

// Frames of one kind: each draws for 3 ms, then flips on a display that waits for
// its next refresh at displayHertz (0: the flip returns at once), in a mode that reports
// reportedHertz (0: reports none).
struct Frames {
  int count;
  unsigned displayHertz;
  unsigned reportedHertz;
  bool busyFlips = false;  // flips that take 4, 8 or 12 ms of their own work
};

void RunFrames(RefreshHold& hold, const Frames& frames) {
  constexpr Clock::duration kDraw = milliseconds(3);
  constexpr Clock::duration kInstantFlip = microseconds(500);
  for (int frame = 0; frame < frames.count; ++frame) {
    FakeTime::now += kDraw;
    hold.BeforeFlip();
    if (frames.busyFlips) {
      FakeTime::now += milliseconds(4 * (frame % 3 + 1));
    } else if (frames.displayHertz == 0) {
      FakeTime::now += kInstantFlip;
    } else {
      const Clock::duration refresh = PeriodAt(frames.displayHertz);
      FakeTime::now =
          Clock::time_point{} + (FakeTime::now.time_since_epoch() / refresh + 1) * refresh;
    }
    hold.AfterFlip(frames.reportedHertz);
  }
}

struct HoldCase {
  const char* name;
  Frames before;           // what the display did until now, the hold learning from it
  Frames measured;         // the frames whose pace is checked
  unsigned expectedHertz;  // the pace they are held to; 0: never held
  Clock::duration lateWakes = {};
};

void PrintTo(const HoldCase& row, std::ostream* out) { *out << row.name; }

class RefreshHoldTest : public ::testing::TestWithParam<HoldCase> {};

TEST_P(RefreshHoldTest, StepsAtTheModesRate) {
  const HoldCase& row = GetParam();
  FakeTime::Reset(row.lateWakes);
  RefreshHold hold(FakeTime::Now, FakeTime::SleepUntil);
  RunFrames(hold, row.before);
  const Clock::time_point start = FakeTime::now;
  const int sleepsBefore = FakeTime::sleeps;
  RunFrames(hold, row.measured);
  if (row.expectedHertz == 0) {
    EXPECT_EQ(FakeTime::sleeps, sleepsBefore) << "a frame paced by the display was held";
    return;
  }
  const Clock::duration elapsed = FakeTime::now - start;
  const Clock::duration expected = row.measured.count * PeriodAt(row.expectedHertz);
  EXPECT_NEAR(Milliseconds(elapsed).count(), Milliseconds(expected).count(),
              1.0 + Milliseconds(row.lateWakes).count());
}

constexpr int kFrames = 24;

INSTANTIATE_TEST_SUITE_P(
    Frames, RefreshHoldTest,
    ::testing::Values(
        HoldCase{"Paced60", {1, 60, 60}, {kFrames, 60, 60}, 0},
        HoldCase{"Paced75", {1, 75, 75}, {kFrames, 75, 75}, 0},
        HoldCase{"Paced120", {1, 120, 120}, {kFrames, 120, 120}, 0},
        HoldCase{"Paced75ReportingNoRate", {kFrames, 75, 0}, {kFrames, 75, 0}, 0},
        HoldCase{"Paced120ReportingNoRate", {kFrames, 120, 0}, {kFrames, 120, 0}, 0},
        HoldCase{"InstantAtReported60", {1, 0, 60}, {kFrames, 0, 60}, 60},
        HoldCase{"InstantAtReported75", {1, 0, 75}, {kFrames, 0, 75}, 75},
        HoldCase{"InstantAtReported120", {1, 0, 120}, {kFrames, 0, 120}, 120},
        HoldCase{"InstantAfterAModeChange", {kFrames, 0, 60}, {kFrames, 0, 120}, 120},
        HoldCase{"InstantAfterPacedModeChange", {kFrames, 120, 120}, {kFrames, 0, 75}, 75},
        HoldCase{"InstantAtTheRateLearnedFromWaits", {kFrames, 120, 0}, {kFrames, 0, 0}, 120},
        HoldCase{"InstantWithNothingLearned", {1, 0, 0}, {kFrames, 0, 0}, 60},
        HoldCase{"InstantAfterIrregularSlowFlips", {kFrames, 0, 0, true}, {kFrames, 0, 0}, 60},
        // Some drivers answer 1 for "the hardware's default".
        HoldCase{"InstantWithAnImplausibleRate", {1, 0, 1}, {kFrames, 0, 1}, 60},
        // Each wake is due one refresh after the one before, not after the late wake.
        HoldCase{"InstantWakingLate", {1, 0, 60}, {kFrames, 0, 60}, 60, milliseconds(3)}),
    [](const ::testing::TestParamInfo<HoldCase>& info) { return info.param.name; });

TEST(RefreshHoldSlowFrameTest, TheNextRefreshCountsFromASlowFrame) {
  FakeTime::Reset({});
  RefreshHold hold(FakeTime::Now, FakeTime::SleepUntil);
  hold.AfterFlip(60);
  FakeTime::now += 5 * PeriodAt(60);  // e.g. a sound cue that held the program
  hold.AfterFlip(60);
  const Clock::time_point slowFrame = FakeTime::now;
  FakeTime::now += milliseconds(1);
  hold.AfterFlip(60);
  EXPECT_EQ(FakeTime::now, slowFrame + PeriodAt(60));
}

// The game's hold keeps time on the platform's clock, at the rate the portable layer
// reports: a host with virtual time is held in virtual time, only when its flips return
// at once.
TEST(RefreshHoldOnPlatformClockTest, HoldsInTheHostsOwnTimeOnlyWhenFlipsReturnAtOnce) {
  host::HeadlessHost headless;
  host::Install(&headless);
  InitDisplay();
  PresentFrame();
  const std::int64_t start = headless.nowMicros();
  for (int frame = 0; frame < 10; ++frame) PresentFrame();
  EXPECT_EQ(headless.nowMicros() - start, 10 * host::HeadlessHost::kRefreshMicros);
  headless.SetFrameMicros(0);
  const std::int64_t quickStart = headless.nowMicros();
  for (int frame = 0; frame < 10; ++frame) PresentFrame();
  EXPECT_GE(headless.nowMicros() - quickStart, 9 * 16'666);
  host::Install(nullptr);
}

}  // namespace
