// The hold after each flip: frames paced by the display are left alone at any rate the
// platform reports, frames whose flip returns early are held to one refresh of the mode.
#include "display/refresh_hold.h"

#include <gtest/gtest.h>

#include <chrono>

#include "display/display_device.h"
#include "host/headless/headless_host.h"

namespace {

using Clock = RefreshHold::Clock;
using std::chrono::milliseconds;
using Milliseconds = std::chrono::duration<double, std::milli>;

Clock::duration PeriodAt(unsigned hertz) { return std::chrono::nanoseconds(1'000'000'000 / hertz); }

// A clock that moves only when told, and counts the sleeps the hold asks for; and a display
// whose vertical blanks come at blankHertz (0: the wait returns at once).
struct FakeTime {
  static inline Clock::time_point now{};
  static inline Clock::duration oversleep{};
  static inline int sleeps = 0;
  static inline unsigned blankHertz = 0;

  static Clock::time_point Now() { return now; }
  static void SleepUntil(Clock::time_point wakeTime) {
    ++sleeps;
    if (now < wakeTime) now = wakeTime + oversleep;
  }
  static void AtNextRefresh(unsigned hertz) {
    const Clock::duration refresh = PeriodAt(hertz);
    now = Clock::time_point{} + (now.time_since_epoch() / refresh + 1) * refresh;
  }
  static bool WaitForBlank() {
    if (blankHertz != 0) AtNextRefresh(blankHertz);
    return true;
  }
  static void Reset(Clock::duration lateWakes) {
    now = Clock::time_point{} + milliseconds(1000);
    oversleep = lateWakes;
    sleeps = 0;
  }
};

// Frames of one kind: each draws for 3 ms, then flips on a display that waits for its next
// refresh at displayHertz (0: the flip returns at once), every other flip returning lateReturn
// after it, in a mode whose rate the driver reports as monitorHertz and the desktop as
// desktopHertz (0: no answer), and whose vertical blanks come at blankHertz. A busy flip waits
// for nothing but does work of its own: 3/4 of a frame of busyFrame (drawing the rest).
struct Frames {
  int count;
  unsigned displayHertz, monitorHertz, desktopHertz = 0, blankHertz = 0;
  Clock::duration busyFrame = {}, lateReturn = {};
};

void RunFrames(RefreshHold& hold, const Frames& frames) {
  const bool busy = frames.busyFrame != Clock::duration{};
  FakeTime::blankHertz = frames.blankHertz;
  for (int frame = 0; frame < frames.count; ++frame) {
    FakeTime::now += busy ? frames.busyFrame / 4 : milliseconds(3);
    if (busy) {
      FakeTime::now += frames.busyFrame * 3 / 4;
    } else if (frames.displayHertz == 0) {
      FakeTime::now += std::chrono::microseconds(500);  // a flip that returns at once
    } else {
      FakeTime::AtNextRefresh(frames.displayHertz);
      if (frame % 2 == 0) FakeTime::now += frames.lateReturn;
    }
    hold.AfterFlip({frames.monitorHertz, frames.desktopHertz}, FakeTime::WaitForBlank);
  }
}

constexpr int kFrames = 24;
const Clock::duration kHalfFrame = PeriodAt(60) / 2;

// Each row: the frames the hold learns from, the frames measured, and the pace they are held
// to (0: never held); the last field makes every wake that late.
TEST(RefreshHoldTest, StepsAtTheModesRate) {
  const struct {
    const char* name;
    Frames before, measured;
    unsigned expectedHertz;
    Clock::duration lateWakes = {};
  } rows[] = {
      {"paced 60 reported 59 (a 59.94 Hz mode)", {1, 60, 59}, {kFrames, 60, 59}, 0},
      {"paced 120 from the first frame", {0, 120, 120}, {kFrames, 120, 120}, 0},
      // A flip returned late, as a host's may be after a busy moment, moves no refresh.
      {"paced 60 returning late", {1, 60, 60}, {kFrames, 60, 60, 0, 0, {}, milliseconds(2)}, 0},
      // Fast modes that neither the driver nor the desktop names: their blanks tell.
      {"paced 85 reporting no rate", {1, 85, 0, 0, 85}, {kFrames, 85, 0, 0, 85}, 0},
      {"paced 144 reporting no rate", {1, 144, 0, 0, 144}, {kFrames, 144, 0, 0, 144}, 0},
      {"instant at the blanks' rate", {1, 0, 0, 0, 75}, {kFrames, 0, 0, 0, 75}, 75},
      {"instant at desktop 144", {1, 0, 0, 144}, {kFrames, 0, 0, 144}, 144},
      {"the driver's rate before the desktop's", {1, 0, 120, 60}, {kFrames, 0, 120, 60}, 120},
      {"instant after a mode change", {kFrames, 0, 60}, {kFrames, 0, 120}, 120},
      {"instant, blanks too slow for a refresh", {1, 0, 0, 0, 30}, {kFrames, 0, 0}, 60},
      // A renderer that copies the picture in its flip, waiting for no refresh, on a
      // platform whose blank waits return at once.
      {"busy half-frame flips", {1, 0, 0}, {kFrames, 0, 0, 0, 0, kHalfFrame}, 60},
      {"busy flips at desktop 75", {1, 0, 0}, {kFrames, 0, 0, 75, 0, kHalfFrame}, 75},
      // An eighth of a frame short is no flip paced by the display: only a sixteenth is.
      {"busy flips an eighth short", {1, 0, 0}, {kFrames, 0, 0, 0, 0, kHalfFrame * 7 / 4}, 60},
      // Some drivers answer 1 for "the hardware's default".
      {"instant with an implausible rate", {1, 0, 1, 1}, {kFrames, 0, 1, 1}, 60},
      // Each wake is due one refresh after the one before, not after the late wake.
      {"instant waking late", {1, 0, 60}, {kFrames, 0, 60}, 60, milliseconds(3)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    FakeTime::Reset(row.lateWakes);
    RefreshHold hold(FakeTime::Now, FakeTime::SleepUntil);
    RunFrames(hold, row.before);
    const Clock::time_point start = FakeTime::now;
    const int sleepsBefore = FakeTime::sleeps;
    RunFrames(hold, row.measured);
    if (row.expectedHertz == 0) {
      EXPECT_EQ(FakeTime::sleeps, sleepsBefore) << "a frame paced by the display was held";
      continue;
    }
    const Clock::duration expected = row.measured.count * PeriodAt(row.expectedHertz);
    EXPECT_NEAR(Milliseconds(FakeTime::now - start).count(), Milliseconds(expected).count(),
                1.0 + Milliseconds(row.lateWakes).count());
  }
}

// The game's hold keeps the platform's time at the rate the portable layer reports: a host with
// virtual time is held in virtual time, only when its flips return at once.
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
