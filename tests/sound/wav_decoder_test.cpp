// Decoding a WAV file into a device's format: the whole sound, or nothing at all.
#include "host/sdl/wav_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "wav_bytes.h"

namespace {

SDL_AudioSpec Device(int freq, SDL_AudioFormat format, Uint8 channels) {
  SDL_AudioSpec audioSpec{};
  audioSpec.freq = freq;
  audioSpec.format = format;
  audioSpec.channels = channels;
  audioSpec.samples = 1024;
  return audioSpec;
}

struct DeviceCase {
  SDL_AudioSpec audioSpec;
  const char* name;
};

class DecodeFor : public ::testing::TestWithParam<DeviceCase> {};

void PrintTo(const DeviceCase& device, std::ostream* out) { *out << device.name; }

// A resampler that keeps a tail back would cut the end of every cue, and the wait with it.
TEST_P(DecodeFor, KeepsTheWholeLength) {
  constexpr double kSeconds = 0.5;
  constexpr long kSlackFrames = 4;
  ScratchDir dir;
  const SDL_AudioSpec& device = GetParam().audioSpec;
  std::vector<std::uint8_t> samples;
  ASSERT_TRUE(DecodeWavFor(device, dir.WriteTone("tone.wav", kSeconds).c_str(), samples));
  const long frameBytes = SDL_AUDIO_BITSIZE(device.format) / 8 * device.channels;
  ASSERT_EQ(static_cast<long>(samples.size()) % frameBytes, 0);
  const long frames = static_cast<long>(samples.size()) / frameBytes;
  EXPECT_LE(std::labs(frames - static_cast<long>(kSeconds * device.freq)), kSlackFrames);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, DecodeFor,
    ::testing::Values(DeviceCase{Device(22050, AUDIO_S16LSB, 1), "FilesOwnFormat"},
                      DeviceCase{Device(44100, AUDIO_S16SYS, 2), "Stereo16Bit44100"},
                      DeviceCase{Device(48000, AUDIO_F32SYS, 2), "StereoFloat48000"},
                      DeviceCase{Device(11025, AUDIO_U8, 1), "Mono8Bit11025"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DecodeWav, ReadsOtherPcmLayouts) {
  ScratchDir dir;
  const SDL_AudioSpec device = Device(44100, AUDIO_S16SYS, 2);
  std::vector<std::uint8_t> samples;
  EXPECT_TRUE(
      DecodeWavFor(device, dir.Write("u8.wav", PcmWavBytes(2, 11025, 8, 2205)).c_str(), samples));
  EXPECT_TRUE(DecodeWavFor(
      device, dir.Write("s24.wav", PcmWavBytes(1, 48000, 24, 3 * 4800)).c_str(), samples));
}

// Each of these is refused before SDL decodes it, or by SDL, and leaves nothing behind.
TEST(DecodeWav, RefusesWhatCannotOrShouldNotBePlayed) {
  ScratchDir dir;
  const auto good = PcmWavBytes(1, 22050, 16, 22050);
  auto lying = good;
  Patch32(lying, 40, 0xFFFFFFF0u);
  auto unknownFormat = good;
  unknownFormat[20] = 0x55;  // MPEG layer 3, which SDL does not decode
  const std::vector<std::string> refused = {
      dir.Path("missing.wav"),
      dir.Write("empty.wav", {}),
      dir.Write("truncated.wav", {good.begin(), good.begin() + 1000}),
      dir.Write("garbage.wav", std::vector<std::uint8_t>(4096, 0xA5)),
      dir.Write("lying.wav", lying),
      dir.Write("unknown-format.wav", unknownFormat),
      dir.Write("silent.wav", PcmWavBytes(1, 22050, 16, 0)),
      dir.WriteTone("too-long.wav", kMaxDecodedSeconds + 1.0),
      // A few bytes at one frame a second: hours of sound once converted.
      dir.Write("slow.wav", PcmWavBytes(1, 1, 16, 2 * 4000)),
  };
  const SDL_AudioSpec device = Device(44100, AUDIO_S16SYS, 2);
  for (const std::string& path : refused) {
    std::vector<std::uint8_t> samples = {1, 2, 3};
    EXPECT_FALSE(DecodeWavFor(device, path.c_str(), samples)) << path;
    EXPECT_TRUE(samples.empty()) << path;
  }
}

}  // namespace
