// The one frame deadline of every real-time host, by the rule's properties, and when a cue's
// hold looks at the device.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "host/cue_hold.h"
#include "host/emulated_mode.h"
#include "host/frame_deadline.h"

namespace host {
namespace {

constexpr std::int64_t kPeriod = kEmulatedRefreshMicros;

// Within half a slot of its deadline, late or early, a present keeps the rate exact: after any
// number of them the deadline is a whole number of periods on. Far off, or on a clock that went
// back, the pace starts afresh a period after the present.
TEST(FrameDeadline, KeepsAnExactRateThroughJitterAndStartsAfreshWhenFarOff) {
  FrameDeadline deadline;
  EXPECT_EQ(deadline.periodMicros(), kPeriod);
  const std::int64_t first = deadline.AfterPresent(1000);
  EXPECT_EQ(first, 1000 + kPeriod);
  std::int64_t next = first;
  for (int frame = 1; frame <= 600; ++frame) {
    const std::int64_t jitter = (frame * 7919 % kPeriod) - kPeriod / 2;  // -1/2 to +1/2 slot
    next = deadline.AfterPresent(next + jitter);
    ASSERT_EQ(next, first + frame * kPeriod) << "frame " << frame << ", jitter " << jitter;
  }
  for (const std::int64_t away : {3 * kPeriod, 50 * kPeriod, -3 * kPeriod}) {
    const std::int64_t presented = next + away;
    next = deadline.AfterPresent(presented);
    EXPECT_EQ(next, presented + kPeriod) << away;
  }
}

// A display that reports its refreshes (a page's animation frames) shows the next frame on one
// due or up to a quarter slot early: the one after would come most of a slot late.
TEST(FrameDeadline, TakesARefreshUpToAQuarterSlotEarly) {
  FrameDeadline deadline;
  const std::int64_t due = deadline.AfterPresent(0);
  const std::pair<std::int64_t, bool> cases[] = {{-kPeriod / 2, true},     {0, true},
                                                 {kPeriod / 5, true},      {kPeriod / 4, true},
                                                 {kPeriod / 4 + 1, false}, {kPeriod / 2, false}};
  for (const auto& [early, taken] : cases) EXPECT_EQ(deadline.IsDue(due - early), taken) << early;
}

// Over ten seconds of a display's refreshes: every refresh near the pace, 60 a second on faster
// ones, never two in a row skipped where one would do.
TEST(FrameDeadline, PicksTheRefreshesThatKeepThePace) {
  constexpr std::int64_t kStepMicros = 2000;  // from the refresh to the frame's present
  const struct {
    double hertz;
    int steps;        // in ten seconds, within one
    int longestSkip;  // refreshes passed over in a row
  } displays[] = {{59.94, 599, 0}, {60, 600, 0},  {60.5, 600, 1},
                  {75, 600, 1},    {120, 600, 1}, {144, 600, 2}};
  for (const auto& display : displays) {
    FrameDeadline deadline(60);
    int steps = 0, skipped = 0, longestSkip = 0;
    for (double at = 0; at < 10e6; at += 1e6 / display.hertz) {
      const auto refresh = static_cast<std::int64_t>(at);
      if (!deadline.IsDue(refresh)) {
        longestSkip = std::max(longestSkip, ++skipped);
        continue;
      }
      deadline.AfterPresent(refresh + kStepMicros);
      ++steps;
      skipped = 0;
    }
    EXPECT_NEAR(steps, display.steps, 1) << display.hertz;
    EXPECT_EQ(longestSkip, display.longestSkip) << display.hertz;
  }
}

// No look before the sound's own length has passed: it could not end the hold, and on a
// browser's timer each is a wake-up for nothing. Then one a poll apart, the device's buffer
// still heard after it drains.
TEST(CueHold, FirstLooksWhenTheSoundEndsThenPolls) {
  constexpr std::int64_t kStart = 5'000, kLength = 300'000, kLatency = 20'000;
  CueHold hold(kStart, kLength, kLatency);
  EXPECT_EQ(hold.NextLook(kStart), kStart + kLength);
  EXPECT_FALSE(hold.Over(kStart + kLength, false));
  EXPECT_EQ(hold.NextLook(kStart + kLength), kStart + kLength + kCuePollMicros);
  EXPECT_TRUE(hold.Over(kStart + kLength + kLatency, false));
}

}  // namespace
}  // namespace host
