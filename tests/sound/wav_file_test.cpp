// The WAV layout both hosts rely on and the length by which the headless clock advances; the
// files it refuses are the reliability suite's.
#include "host/wav_file.h"

#include <gtest/gtest.h>

#include "host/headless/headless_host.h"
#include "wav_bytes.h"

namespace {

TEST(WavLayout, FindsTheDataPastOtherChunksAndTimesIt) {
  Bytes bytes = PcmWavBytes(2, 11025, 16, 4 * 11025);
  // An odd-length chunk between fmt and data is followed by one pad byte.
  const Bytes list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  bytes.insert(bytes.begin() + 36, list.begin(), list.end());
  host::WavLayout layout;
  ASSERT_TRUE(host::ParseWavLayout(bytes, layout));
  EXPECT_EQ(layout.channels, 2);
  EXPECT_EQ(layout.dataOffset, 44 + list.size());
  EXPECT_EQ(layout.dataBytes, 4u * 11025);
  EXPECT_DOUBLE_EQ(host::WavDurationSeconds(layout), 1.0);
}

TEST(HeadlessSound, OnlyAHeldReadableSoundTakesVirtualTime) {
  ScratchDir dir;
  const std::string half = dir.Write("half.wav", MonoSilence(0.5));
  host::HeadlessHost headless;
  headless.PlaySound(half.c_str(), false);
  EXPECT_EQ(headless.nowMicros(), 0);
  headless.PlaySound(half.c_str(), true);
  EXPECT_EQ(headless.nowMicros(), 500000);
  headless.PlaySound(dir.Path("missing.wav").c_str(), true);
  headless.PlaySound(dir.Write("broken.wav", {'R', 'I', 'F', 'F'}).c_str(), true);
  EXPECT_EQ(headless.nowMicros(), 500000);
}

}  // namespace
