// When a synchronous cue's hold looks at the device: a look that cannot end the hold is a
// wake-up for nothing, hundreds a second on a browser's timer.
#include <gtest/gtest.h>

#include "host/cue_hold.h"

namespace host {
namespace {

TEST(CueHold, FirstLooksWhenTheSoundEndsThenPolls) {
  constexpr std::int64_t kStart = 5'000, kLength = 300'000, kLatency = 20'000;
  CueHold hold(kStart, kLength, kLatency);
  EXPECT_EQ(hold.NextLook(kStart), kStart + kLength);
  // Drained as it ends: the device's own buffer is still heard.
  EXPECT_FALSE(hold.Over(kStart + kLength, false));
  EXPECT_EQ(hold.NextLook(kStart + kLength), kStart + kLength + kCuePollMicros);
  EXPECT_TRUE(hold.Over(kStart + kLength + kLatency, false));
}

}  // namespace
}  // namespace host
