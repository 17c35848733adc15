// The headless host's sounds: a sound that holds the game advances its virtual clock.
#include <gtest/gtest.h>

#include "host/headless/headless_host.h"
#include "wav_bytes.h"

namespace {

TEST(HeadlessSound, OnlyAHeldReadableSoundTakesVirtualTime) {
  ScratchDir dir;
  const std::string tone = dir.Write("half.wav", PcmWavBytes(1, 22050, 16, 22050));
  host::HeadlessHost headless;
  headless.PlaySound(tone.c_str(), false);
  EXPECT_EQ(headless.nowMicros(), 0);
  headless.PlaySound(tone.c_str(), true);
  EXPECT_EQ(headless.nowMicros(), 500000);
  headless.PlaySound(dir.Path("missing.wav").c_str(), true);
  headless.PlaySound(dir.Write("broken.wav", {'R', 'I', 'F', 'F'}).c_str(), true);
  EXPECT_EQ(headless.nowMicros(), 500000);
  ASSERT_EQ(headless.sounds().size(), 4u);
  EXPECT_TRUE(headless.sounds()[1].wait);
}

}  // namespace
