// The one frame deadline of every real-time host.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/frame_deadline.h"

namespace host {
namespace {

// The game is woken early by what recent frames took and its frame shown at the deadline,
// which keeps to the clock however late a present is, and starts afresh when far off;
// hand-backs come no sooner than a period less half a millisecond apart.
TEST(FrameDeadline, WakesTheGameEarlyAndShowsEachFrameAtTheDeadline) {
  FrameDeadline deadline(60);
  const struct {
    std::int64_t ready, showAt, lead, presented, next, wake, handedBack;
  } steps[] = {
      {1000, 1000, 500, 1000, 17666, 17166, 17166},      // the first is shown at once
      {17466, 17666, 800, 17666, 34332, 33532, 33532},   // took 300: woken 800 early
      {35532, 34332, 2500, 35532, 50998, 49698, 49698},  // took 2000: late, the lead grows...
      {49798, 50998, 2500, 50998, 67664, 65864, 68864},  // ...but hand-backs stay spaced
      {68964, 67664, 3600, 68964, 84330, 85030, 85030},  // after a late hand-back, even past it
      {105030, 84330, 3600, 105030, 121696, 118096, 118096},   // held: a fresh start
      {128096, 121696, 4166, 128096, 138362, 134262, 134262},  // at most a quarter frame early
      {500, 138362, 4166, 500, 17166, 13000, 13000},           // a clock that went back
      {13100, 17166, 4166, 17066, 33832, 29666, 29666},  // early within a slot: the pace holds
  };
  for (const auto& step : steps) {
    EXPECT_EQ(deadline.ReadyAt(step.ready), step.showAt) << step.ready;
    EXPECT_EQ(deadline.leadMicros(), step.lead) << step.ready;
    EXPECT_EQ(deadline.AfterPresent(step.presented), step.next) << step.ready;
    EXPECT_EQ(deadline.WakeMicros(), step.wake) << step.ready;
    deadline.HandedBack(step.handedBack);
  }
}

// A display that reports its refreshes (a page's animation frames) shows a frame on each one
// that is due: every refresh near the pace, 60 a second on faster ones, never two in a row
// skipped where one would do.
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

}  // namespace
}  // namespace host
