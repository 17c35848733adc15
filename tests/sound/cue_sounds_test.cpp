// The four shipped cue files: readable, of the lengths the game's pauses expect, and clean.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <string>

#include "host/wav_file.h"

namespace {

constexpr int kFullScale = 32767;
// Ends this close to silence do not click when the sound starts or stops.
constexpr int kQuietEdge = kFullScale / 100;
constexpr int kEdgeSamples = 4;

struct CueFile {
  const char* name;
  double minSeconds;
  double maxSeconds;
};

// The pip sounds on every bounce; the others hold the game while they play.
constexpr CueFile kCueFiles[] = {
    {"click.wav", 0.04, 0.08},
    {"destroy.wav", 0.8, 1.2},
    {"powers.wav", 0.5, 1.5},
    {"failedme.wav", 1.0, 2.5},
};

void PrintTo(const CueFile& cue, std::ostream* out) { *out << cue.name; }

class ShippedCue : public ::testing::TestWithParam<CueFile> {};

std::int16_t SampleAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return static_cast<std::int16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

TEST_P(ShippedCue, IsShortCleanMonoPcm) {
  const CueFile& cue = GetParam();
  const std::string path = std::string(PADDLEBALL_SOUNDS_DIR) + "/" + cue.name;
  std::vector<std::uint8_t> bytes;
  host::WavLayout layout;
  ASSERT_TRUE(host::ReadWavBytes(path.c_str(), bytes)) << path;
  ASSERT_TRUE(host::ParseWavLayout(bytes, layout)) << path;
  ASSERT_EQ(layout.formatTag, 1);
  ASSERT_EQ(layout.channels, 1);
  ASSERT_EQ(layout.blockAlign, 2);
  const double seconds = host::WavDurationSeconds(layout);
  EXPECT_GE(seconds, cue.minSeconds);
  EXPECT_LE(seconds, cue.maxSeconds);

  const std::size_t count = layout.dataBytes / 2;
  ASSERT_GT(count, 2u * kEdgeSamples);
  int peak = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const int sample = SampleAt(bytes, layout.dataOffset + 2 * i);
    peak = std::max(peak, std::abs(sample));
    const bool atEdge = i < kEdgeSamples || i >= count - kEdgeSamples;
    if (atEdge) {
      EXPECT_LE(std::abs(sample), kQuietEdge) << "sample " << i;
    }
  }
  EXPECT_LT(peak, kFullScale) << "clipped";
  EXPECT_GT(peak, kFullScale / 4) << "too quiet to hear over play";
}

INSTANTIATE_TEST_SUITE_P(Sounds, ShippedCue, ::testing::ValuesIn(kCueFiles), [](const auto& info) {
  std::string name = info.param.name;
  return name.substr(0, name.find('.'));
});

}  // namespace
