// The four shipped cue files: of the lengths the game's pauses expect, and clean.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "host/wav_file.h"

namespace {

constexpr int kFullScale = 32767;
// Ends this close to silence do not click when the sound starts or stops.
constexpr int kQuietEdge = kFullScale / 100;
constexpr std::size_t kEdgeSamples = 4;

// The pip sounds on every bounce; the others hold the game while they play.
constexpr struct {
  const char* name;
  double minSeconds, maxSeconds;
} kCueFiles[] = {
    {"click.wav", 0.04, 0.08},
    {"destroy.wav", 0.8, 1.2},
    {"powers.wav", 0.5, 1.5},
    {"failedme.wav", 1.0, 2.5},
};

TEST(ShippedCues, AreShortCleanMono16BitPcm) {
  for (const auto& cue : kCueFiles) {
    SCOPED_TRACE(cue.name);
    const std::string path = std::string(PADDLEBALL_SOUNDS_DIR) + "/" + cue.name;
    std::vector<std::uint8_t> bytes;
    host::WavLayout layout;
    ASSERT_TRUE(host::LoadWavFile(path.c_str(), bytes, layout));
    ASSERT_TRUE(layout.formatTag == 1 && layout.channels == 1 && layout.blockAlign == 2);
    EXPECT_GE(host::WavDurationSeconds(layout), cue.minSeconds);
    EXPECT_LE(host::WavDurationSeconds(layout), cue.maxSeconds);

    std::vector<int> samples;
    for (std::size_t at = layout.dataOffset; at + 1 < layout.dataOffset + layout.dataBytes; at += 2)
      samples.push_back(static_cast<std::int16_t>(bytes[at] | bytes[at + 1] << 8));
    ASSERT_GT(samples.size(), 2 * kEdgeSamples);
    for (std::size_t i = 0; i < kEdgeSamples; ++i) {
      EXPECT_LE(std::abs(samples[i]), kQuietEdge) << "start";
      EXPECT_LE(std::abs(samples[samples.size() - 1 - i]), kQuietEdge) << "end";
    }
    int peak = 0;
    for (int sample : samples) peak = std::max(peak, std::abs(sample));
    EXPECT_LT(peak, kFullScale) << "clipped";
    EXPECT_GT(peak, kFullScale / 4) << "too quiet to hear over play";
  }
}

}  // namespace
