// The hold after each flip: a flip that returns at once is held to one refresh, a flip
// that already waited for the display is left alone.
#include "display/refresh_hold.h"

#include <gtest/gtest.h>

#include "display/display_device.h"
#include "host/headless/headless_host.h"

#include <chrono>
#include <vector>

namespace {

using Clock = RefreshHold::Clock;
using std::chrono::milliseconds;

constexpr Clock::duration kPeriod = milliseconds(16);

// A clock that moves only when told, and records every sleep the hold asks for.
struct FakeTime {
  static inline Clock::time_point now{};
  static inline Clock::duration oversleep{};
  static inline std::vector<Clock::time_point> sleeps;

  static Clock::time_point Now() { return now; }
  static void SleepUntil(Clock::time_point wakeTime) {
    sleeps.push_back(wakeTime);
    if (now < wakeTime) now = wakeTime + oversleep;
  }
  static void Reset() {
    now = Clock::time_point{} + milliseconds(1000);
    oversleep = {};
    sleeps.clear();
  }
};

class RefreshHoldTest : public ::testing::Test {
 protected:
  void SetUp() override { FakeTime::Reset(); }
  RefreshHold hold_{kPeriod, FakeTime::Now, FakeTime::SleepUntil};
};

TEST_F(RefreshHoldTest, FlipsThatReturnAtOnceAreHeldToOneRefreshEach) {
  const Clock::time_point first = FakeTime::now;
  hold_.AfterFlip();
  EXPECT_TRUE(FakeTime::sleeps.empty()) << "the first frame has nothing to be held against";
  for (int frame = 1; frame <= 3; ++frame) {
    FakeTime::now += milliseconds(2);  // drawing, and a flip that did not wait
    hold_.AfterFlip();
    ASSERT_EQ(FakeTime::sleeps.size(), static_cast<std::size_t>(frame));
    EXPECT_EQ(FakeTime::sleeps.back(), first + frame * kPeriod);
  }
}

TEST_F(RefreshHoldTest, FlipsThatAlreadyTookARefreshAddNoWait) {
  hold_.AfterFlip();
  // A display-paced flip, a little late, exactly on time, and a hair early; then a slow frame.
  for (Clock::duration frame :
       {kPeriod + milliseconds(1), kPeriod, kPeriod - milliseconds(1) / 2, 3 * kPeriod}) {
    FakeTime::now += frame;
    hold_.AfterFlip();
  }
  EXPECT_TRUE(FakeTime::sleeps.empty());
}

TEST_F(RefreshHoldTest, LateWakingDoesNotSlowTheFramesBelowTheRefreshRate) {
  FakeTime::oversleep = milliseconds(3);
  const Clock::time_point first = FakeTime::now;
  hold_.AfterFlip();
  constexpr int kFrames = 10;
  for (int frame = 1; frame <= kFrames; ++frame) {
    FakeTime::now += milliseconds(1);
    hold_.AfterFlip();
  }
  // Each wake is due one refresh after the one before, not after the late wake.
  ASSERT_FALSE(FakeTime::sleeps.empty());
  EXPECT_EQ(FakeTime::sleeps.back(), first + kFrames * kPeriod);
}

TEST_F(RefreshHoldTest, AfterASlowFrameTheNextRefreshCountsFromIt) {
  hold_.AfterFlip();
  FakeTime::now += 5 * kPeriod;  // e.g. a sound cue that held the program
  const Clock::time_point slowFrame = FakeTime::now;
  hold_.AfterFlip();
  FakeTime::now += milliseconds(1);
  hold_.AfterFlip();
  ASSERT_EQ(FakeTime::sleeps.size(), 1u);
  EXPECT_EQ(FakeTime::sleeps.back(), slowFrame + kPeriod);
}

// On the real clock: frames whose flip returns at once take at least a refresh each.
TEST(RefreshHoldRealClockTest, HeldFramesLastAtLeastOneRefreshEach) {
  RefreshHold hold;
  constexpr int kFrames = 6;
  hold.AfterFlip();
  const Clock::time_point start = Clock::now();
  for (int frame = 0; frame < kFrames; ++frame) hold.AfterFlip();
  const Clock::duration elapsed = Clock::now() - start;
  // The first held frame may end early by up to how long the untimed first call took.
  EXPECT_GE(elapsed, kFrames * RefreshHold::kRefreshPeriod - milliseconds(1));
}

// The game's hold keeps time on the platform's clock: a host with virtual time is held
// in virtual time (never in real time), and only when its flips return at once.
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
