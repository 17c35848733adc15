// The one frame deadline of every real-time host.
#include <gtest/gtest.h>

#include <algorithm>

#include "host/frame_deadline.h"

namespace host {
namespace {

// The next frame is due a period after the one before was, however late or early within a
// slot each present is; far off, or on a clock that went back, the pace starts afresh.
TEST(FrameDeadline, KeepsToTheClockAndStartsAfreshWhenFarOff) {
  FrameDeadline deadline(60);
  const struct {
    std::int64_t presented, next;
  } steps[] = {
      {1000, 17667},    // the first: a period on, to the microsecond
      {19000, 34334},   // late within a slot: the pace holds
      {33000, 51001},   // early within a slot: the pace holds
      {90000, 106667},  // held far longer (a sound heard to its end): afresh
      {500, 17167},     // a clock that went back
  };
  for (const auto& step : steps) {
    EXPECT_EQ(deadline.AfterPresent(step.presented), step.next) << step.presented;
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
