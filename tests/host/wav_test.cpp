// Which WAV files are cues, the same on every host: each plays for its length, or is refused
// and named once with the reason. The page and SDL convert it for their devices; the headless
// host holds for it.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "../support/wav_bytes.h"
#include "host/headless/headless_host.h"
#include "host/sdl/wav_decoder.h"
#include "host/wav_file.h"
#include "host/web/cue_samples.h"

namespace host {
namespace {

constexpr double kRefused = -1;

struct WavCase {
  const char* name;
  Bytes bytes;
  double seconds;      // kRefused, or how long it sounds
  const char* reason;  // part of the line that names a refused file
};

// The extensible header's 40-byte format, naming PCM in its sub-format.
Bytes Extensible(const Bytes& pcm) {
  const Bytes extension = {22, 0, 16,   0, 0,    0, 0, 0,    1, 0,    0,    0,
                           0,  0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
  Bytes bytes = Patched(Patched(pcm, 16, 40), 20, 0xFFFE, 2);
  bytes.insert(bytes.begin() + 36, extension.begin(), extension.end());
  return bytes;
}

std::vector<WavCase> Cases() {
  const Bytes good = PcmWavBytes(1, 22050, 16, 22050);  // half a second
  Bytes listFirst = good;
  // An odd-length chunk before the data is followed by one pad byte.
  const Bytes list = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  listFirst.insert(listFirst.begin() + 36, list.begin(), list.end());
  Bytes dataFirst = good;
  std::copy(good.begin() + 36, good.end(), dataFirst.begin() + 12);
  std::copy(good.begin() + 12, good.begin() + 36, dataFirst.end() - 24);
  Bytes shortFormat = Patched(good, 16, 14);  // no sample size: the data chunk follows
  shortFormat.erase(shortFormat.begin() + 34, shortFormat.begin() + 36);
  return {
      {"pcm8-stereo", PcmWavBytes(2, 11000, 8, 11000), 0.5, ""},
      {"8-channels", PcmWavBytes(8, 8000, 16, 16 * 4000), 0.5, ""},
      {"chunk-before-data", listFirst, 0.5, ""},
      {"extensible-pcm", Extensible(good), 0.5, ""},
      {"ten-seconds", MonoSilence(10.0), 10.0, ""},
      {"slowest-rate", PcmWavBytes(1, kSlowestCueRate, 8, kSlowestCueRate / 2), 0.5, ""},
      {"fastest-rate", PcmWavBytes(1, kFastestCueRate, 8, kFastestCueRate / 2), 0.5, ""},
      {"too-slow", PcmWavBytes(1, kSlowestCueRate - 1, 8, 2999), kRefused, "2999 frames a second"},
      {"too-fast", PcmWavBytes(1, kFastestCueRate + 1, 8, 96001), kRefused, "192001 frames"},
      {"longer", MonoSilence(10.5), kRefused, "10.5 s long"},
      {"9-channels", PcmWavBytes(9, 8000, 16, 18 * 400), kRefused, "9 channels"},
      {"mp3", Patched(good, 20, 0x55, 2), kRefused, "0x0055"},
      {"24-bit", PcmWavBytes(1, 48000, 24, 72000), kRefused, "24-bit"},
      // A few bytes at one frame a second: hours of sound once converted.
      {"1-hz", PcmWavBytes(1, 1, 16, 8000), kRefused, "1 frames a second"},
      {"block-size", Patched(good, 32, 4, 2), kRefused, "damaged"},
      {"empty", {}, kRefused, "empty file"},
      {"not-riff", Patched(good, 0, 'X', 1), kRefused, "not a WAV file"},
      {"not-wave", Patched(good, 8, 'A', 1), kRefused, "not a WAV file"},
      {"format-too-short", shortFormat, kRefused, "damaged"},
      {"no-rate", Patched(good, 24, 0), kRefused, "damaged"},
      {"no-data", PcmWavBytes(1, 22050, 16, 0), kRefused, "damaged"},
      {"less-than-a-frame", PcmWavBytes(2, 22050, 16, 3), kRefused, "damaged"},
      {"data-before-format", dataFirst, kRefused, "damaged"},
      {"missing", {}, kRefused, "No such file"},
  };
}

// A host's decoder: how long the file sounds there, or kRefused.
using Decoder = std::function<double(const std::string& path)>;

void Check(const char* host, const Decoder& decode, double slackSeconds = 1e-6) {
  ScratchDir dir;  // names of its own: a file is named once per process
  for (const WavCase& c : Cases()) {
    SCOPED_TRACE(std::string(host) + ": " + c.name);
    const std::string path = c.name == std::string("missing")
                                 ? dir.Path("missing.wav")
                                 : dir.Write(std::string(c.name) + ".wav", c.bytes);
    testing::internal::CaptureStderr();
    const double first = decode(path);
    const double again = decode(path);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NEAR(first, c.seconds, slackSeconds);
    EXPECT_EQ(again, first);
    if (c.seconds == kRefused) {
      EXPECT_EQ(said.rfind(path + ": ", 0), 0u) << said;
      EXPECT_NE(said.find(c.reason), std::string::npos) << said;
      EXPECT_EQ(said.find(path, 1), std::string::npos) << "named twice: " << said;
    } else {
      EXPECT_EQ(said, "");
    }
  }
}

// A resampler that keeps a tail back would cut the end of every cue, and the wait with it.
TEST(WavAcceptance, EveryHostPlaysAndRefusesTheSameFiles) {
  Check("page", [](const std::string& path) {
    Bytes bytes;
    WavLayout layout;
    if (!LoadWavFile(path.c_str(), bytes, layout)) return kRefused;
    const std::size_t frames = PlanarCueSamples(bytes, layout).size() / layout.channels;
    return static_cast<double>(frames) / layout.sampleRate;
  });
  HeadlessHost headless;
  Check("headless", [&headless](const std::string& path) {
    const std::int64_t before = headless.nowMicros();
    headless.PlaySound(path.c_str(), true);
    const auto held = static_cast<double>(headless.nowMicros() - before);
    return held > 0 ? std::round(held) / 1e6 : kRefused;
  });
  SDL_AudioSpec device{};
  device.freq = 48000;
  device.format = AUDIO_F32SYS;
  device.channels = 2;
  constexpr std::size_t kFrameBytes = 8;
  Check(
      "SDL",
      [&device](const std::string& path) {
        Bytes samples;
        if (!DecodeWavFor(device, path.c_str(), samples)) return kRefused;
        EXPECT_EQ(samples.size() % kFrameBytes, 0u);
        return static_cast<double>(samples.size() / kFrameBytes) / device.freq;
      },
      4.0 / device.freq);
}

}  // namespace
}  // namespace host
