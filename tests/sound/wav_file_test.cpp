// The bounded WAV reader both hosts rely on: what it accepts, what it refuses, and the length
// by which the headless clock advances.
#include "host/wav_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "host/headless/headless_host.h"
#include "wav_bytes.h"

namespace {

TEST(WavFileReading, ReadsARegularFileWholeAndRefusesAnythingElseAtOnce) {
  ScratchDir dir;
  const Bytes bytes = PcmWavBytes(1, 22050, 16, 100);
  Bytes read;
  ASSERT_TRUE(host::ReadWavBytes(dir.Write("a.wav", bytes).c_str(), read));
  EXPECT_EQ(read, bytes);
  // A pipe with no writer would block an open() for ever.
  const std::string pipe = dir.Path("pipe.wav");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // Sparse, so the test itself stays small.
  const std::string huge = dir.Write("huge.wav", bytes);
  std::filesystem::resize_file(huge, host::kMaxWavFileBytes + 1);
  for (const std::string& path :
       {dir.Path("missing.wav"), dir.Write("empty.wav", {}), dir.Path(""), pipe, huge}) {
    EXPECT_FALSE(host::ReadWavBytes(path.c_str(), read)) << path;
    EXPECT_TRUE(read.empty()) << path;
  }
  EXPECT_FALSE(host::ReadWavBytes(nullptr, read));
}

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

// Every one of these would make a decoder read or allocate by a length the file does not hold,
// or has nothing to play.
TEST(WavLayout, RefusesBrokenAndHostileFiles) {
  const Bytes good = PcmWavBytes(1, 22050, 16, 2000);
  Bytes dataFirst = good;
  std::copy(good.begin() + 36, good.end(), dataFirst.begin() + 12);
  std::copy(good.begin() + 12, good.begin() + 36, dataFirst.end() - 24);
  const std::pair<const char*, Bytes> cases[] = {
      {"empty", {}},
      {"header only", {good.begin(), good.begin() + 12}},
      {"cut inside the data header", {good.begin(), good.begin() + 40}},
      {"truncated data", {good.begin(), good.end() - 1}},
      {"not RIFF", Patched(good, 0, 'X', 1)},
      {"not WAVE", Patched(good, 8, 'A', 1)},
      {"format length past the end", Patched(good, 16, 0xFFFFFFF0u)},
      {"format too short", Patched(good, 16, 8)},
      {"no channels", Patched(good, 22, 0, 2)},
      {"no rate", Patched(good, 24, 0)},
      {"data length past the end", Patched(good, 40, 0xFFFFFFFFu)},
      {"no data", PcmWavBytes(1, 22050, 16, 0)},
      {"data before format", dataFirst},
  };
  for (const auto& [what, bytes] : cases) {
    host::WavLayout layout;
    EXPECT_FALSE(host::ParseWavLayout(bytes, layout)) << what;
  }
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
