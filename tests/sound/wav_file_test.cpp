// The bounded WAV reader both hosts rely on: what it accepts, what it refuses, and the length.
#include "host/wav_file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "wav_bytes.h"

namespace {

constexpr std::size_t kChannelsAt = 22;
constexpr std::size_t kRateAt = 24;
constexpr std::size_t kByteRateAt = 28;
constexpr std::size_t kFormatLengthAt = 16;
constexpr std::size_t kDataLengthAt = 40;
constexpr std::size_t kDataAt = 44;

TEST(WavLayout, FindsFormatAndDataOfAWellFormedFile) {
  const auto bytes = PcmWavBytes(2, 11025, 16, 4 * 11025);
  host::WavLayout layout;
  ASSERT_TRUE(host::ParseWavLayout(bytes, layout));
  EXPECT_EQ(layout.formatTag, 1);
  EXPECT_EQ(layout.channels, 2);
  EXPECT_EQ(layout.sampleRate, 11025u);
  EXPECT_EQ(layout.blockAlign, 4);
  EXPECT_EQ(layout.dataOffset, kDataAt);
  EXPECT_EQ(layout.dataBytes, 4u * 11025);
  EXPECT_DOUBLE_EQ(host::WavDurationSeconds(layout), 1.0);
}

TEST(WavLayout, SkipsOtherChunksIncludingTheirPadByte) {
  auto bytes = PcmWavBytes(1, 8000, 8, 800);
  // An odd-length chunk between fmt and data is followed by one pad byte.
  const std::vector<std::uint8_t> list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  bytes.insert(bytes.begin() + 36, list.begin(), list.end());
  host::WavLayout layout;
  ASSERT_TRUE(host::ParseWavLayout(bytes, layout));
  EXPECT_EQ(layout.dataOffset, kDataAt + list.size());
  EXPECT_EQ(layout.dataBytes, 800u);
}

TEST(WavLayout, TimesCompressedFormatsByTheirByteRate) {
  auto bytes = PcmWavBytes(1, 22050, 4, 5000);
  bytes[20] = 0x11;  // IMA ADPCM, in blocks of 512 bytes
  bytes[33] = 0x02;
  Patch32(bytes, kByteRateAt, 2500);
  host::WavLayout layout;
  ASSERT_TRUE(host::ParseWavLayout(bytes, layout));
  EXPECT_DOUBLE_EQ(host::WavDurationSeconds(layout), 2.0);
}

// Every one of these would make a decoder read or allocate by a length the file does not hold,
// or has nothing to play.
TEST(WavLayout, RefusesBrokenAndHostileFiles) {
  const auto good = PcmWavBytes(1, 22050, 16, 2000);
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"header only", {good.begin(), good.begin() + 12}});
  cases.push_back({"truncated data", {good.begin(), good.end() - 1}});
  cases.push_back({"cut inside the data header", {good.begin(), good.begin() + 40}});
  auto notRiff = good;
  notRiff[0] = 'X';
  cases.push_back({"not RIFF", notRiff});
  auto notWave = good;
  notWave[8] = 'A';
  cases.push_back({"not WAVE", notWave});
  auto hugeData = good;
  Patch32(hugeData, kDataLengthAt, 0xFFFFFFFFu);
  cases.push_back({"data length past the end", hugeData});
  auto hugeFormat = good;
  Patch32(hugeFormat, kFormatLengthAt, 0xFFFFFFF0u);
  cases.push_back({"format length past the end", hugeFormat});
  auto shortFormat = good;
  Patch32(shortFormat, kFormatLengthAt, 8);
  cases.push_back({"format too short", shortFormat});
  auto noChannels = good;
  noChannels[kChannelsAt] = 0;
  cases.push_back({"no channels", noChannels});
  auto noRate = good;
  Patch32(noRate, kRateAt, 0);
  cases.push_back({"no rate", noRate});
  cases.push_back({"no data", PcmWavBytes(1, 22050, 16, 0)});
  auto dataFirst = good;
  std::copy(good.begin() + 36, good.end(), dataFirst.begin() + 12);
  std::copy(good.begin() + 12, good.begin() + 36, dataFirst.end() - 24);
  cases.push_back({"data before format", dataFirst});
  for (const Case& c : cases) {
    host::WavLayout layout;
    EXPECT_FALSE(host::ParseWavLayout(c.bytes, layout)) << c.what;
  }
}

TEST(WavFileReading, ReadsARegularFileWhole) {
  ScratchDir dir;
  const auto bytes = PcmWavBytes(1, 22050, 16, 100);
  std::vector<std::uint8_t> read;
  ASSERT_TRUE(host::ReadWavBytes(dir.Write("a.wav", bytes).c_str(), read));
  EXPECT_EQ(read, bytes);
}

TEST(WavFileReading, RefusesWhatIsNotASmallRegularFile) {
  ScratchDir dir;
  std::vector<std::uint8_t> read;
  EXPECT_FALSE(host::ReadWavBytes(nullptr, read));
  EXPECT_FALSE(host::ReadWavBytes(dir.Path("missing.wav").c_str(), read));
  EXPECT_FALSE(host::ReadWavBytes(dir.Write("empty.wav", {}).c_str(), read));
  EXPECT_FALSE(host::ReadWavBytes(dir.Path("").c_str(), read)) << "a directory";
  // A pipe with no writer would block an open() for ever.
  const std::string fifo = dir.Path("pipe.wav");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(host::ReadWavBytes(fifo.c_str(), read));
  // Sparse, so the test itself stays small.
  const std::string huge = dir.Write("huge.wav", PcmWavBytes(1, 22050, 16, 100));
  std::filesystem::resize_file(huge, host::kMaxWavFileBytes + 1);
  EXPECT_FALSE(host::ReadWavBytes(huge.c_str(), read));
  EXPECT_TRUE(read.empty());
}

}  // namespace
