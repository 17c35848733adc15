// Sound over SDL: decoding a WAV file into a device's format, whole, and the player on SDL's
// dummy device and with no device. Elapsed times are only ever checked from below: a
// synchronous sound may not return before it has been heard.
#include "host/sdl/sdl_audio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "../support/scoped_env.h"
#include "host/sdl/wav_decoder.h"
#include "wav_bytes.h"

namespace {

SDL_AudioSpec Device(int freq, SDL_AudioFormat format, Uint8 channels) {
  SDL_AudioSpec device{};
  device.freq = freq;
  device.format = format;
  device.channels = channels;
  return device;
}

// A resampler that keeps a tail back would cut the end of every cue, and the wait with it.
TEST(DecodeWav, KeepsTheWholeLengthFromAnyPcmLayoutToAnyDevice) {
  constexpr double kSeconds = 0.5;
  constexpr long kSlackFrames = 4;
  struct Case {
    const char* what;
    Bytes file;  // each half a second long
    SDL_AudioSpec device;
  };
  const Case cases[] = {
      {"its own format", PcmWavBytes(1, 22050, 16, 22050), Device(22050, AUDIO_S16LSB, 1)},
      {"to stereo 44100", PcmWavBytes(1, 22050, 16, 22050), Device(44100, AUDIO_S16SYS, 2)},
      {"8-bit to float 48000", PcmWavBytes(2, 11025, 8, 11025), Device(48000, AUDIO_F32SYS, 2)},
      {"24-bit to 8-bit 11025", PcmWavBytes(1, 48000, 24, 72000), Device(11025, AUDIO_U8, 1)},
  };
  ScratchDir dir;
  for (const auto& [what, file, device] : cases) {
    Bytes samples;
    ASSERT_TRUE(DecodeWavFor(device, dir.Write("a.wav", file).c_str(), samples)) << what;
    const long frameBytes = SDL_AUDIO_BITSIZE(device.format) / 8 * device.channels;
    const long frames = std::ssize(samples) / frameBytes;
    EXPECT_EQ(std::ssize(samples) % frameBytes, 0) << what;
    EXPECT_LE(std::labs(frames - static_cast<long>(kSeconds * device.freq)), kSlackFrames) << what;
  }
}

// The driver is read when the audio subsystem starts, which each player does for itself.
class DummyDevice : public ::testing::Test {
 protected:
  ScopedEnv driver_{"SDL_AUDIODRIVER", "dummy"};
  ScratchDir dir_;
};

TEST_F(DummyDevice, SynchronousSoundHoldsTheCallerForAtLeastItsLength) {
  constexpr double kSeconds = 0.3;
  const std::string path = dir_.Write("short.wav", MonoSilence(kSeconds));
  SdlAudio audio;
  const auto start = std::chrono::steady_clock::now();
  audio.Play(path.c_str(), true);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed.count(), kSeconds);
  EXPECT_EQ(audio.QueuedBytes(), 0u) << "returned before the device took the whole sound";
}

TEST_F(DummyDevice, AsynchronousSoundIsQueuedOnReturnUntilANewSoundOrStopEndsIt) {
  const std::string longSound = dir_.Write("long.wav", MonoSilence(5.0));
  SdlAudio audio;
  audio.Play(longSound.c_str(), false);
  const std::uint32_t longQueued = audio.QueuedBytes();
  EXPECT_GT(longQueued, 0u);
  audio.Play(dir_.Write("short.wav", MonoSilence(0.05)).c_str(), false);
  // Left to go on, the long sound alone would still fill most of the queue.
  EXPECT_LT(audio.QueuedBytes(), longQueued / 10);
  audio.Play(longSound.c_str(), false);
  audio.Stop();
  EXPECT_EQ(audio.QueuedBytes(), 0u);
}

// Each of these is refused before SDL decodes it, or by SDL. Played without waiting, so that
// anything decoded would still be queued.
TEST_F(DummyDevice, AnUnplayableFileQueuesNothingAndLeavesThePlayerWorking) {
  const Bytes good = MonoSilence(1.0);
  const std::string unplayable[] = {
      dir_.Path("missing.wav"),
      dir_.Write("garbage.wav", Bytes(4096, 0xA5)),
      // SDL would allocate whatever length the file claims.
      dir_.Write("lying.wav", Patched(good, 40, 0xFFFFFFF0u)),
      dir_.Write("mp3.wav", Patched(good, 20, 0x55, 2)),  // a format SDL does not decode
      dir_.Write("too-long.wav", MonoSilence(kMaxDecodedSeconds + 1.0)),
      // A few bytes at one frame a second: hours of sound once converted.
      dir_.Write("slow.wav", PcmWavBytes(1, 1, 16, 2 * 4000)),
  };
  SdlAudio audio;
  for (const std::string& path : unplayable) {
    audio.Play(path.c_str(), false);
    EXPECT_EQ(audio.QueuedBytes(), 0u) << path;
  }
  audio.Play(dir_.Write("fine.wav", good).c_str(), false);
  EXPECT_GT(audio.QueuedBytes(), 0u);
}

TEST(NoAudioDevice, EveryCallReturnsWithNothingQueued) {
  const ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
  ScratchDir dir;
  const std::string path = dir.Write("a.wav", MonoSilence(1.0));
  SdlAudio audio;
  audio.Play(path.c_str(), true);
  audio.Play(path.c_str(), false);
  // With a device the second sound would still be queued here.
  EXPECT_EQ(audio.QueuedBytes(), 0u);
  audio.Stop();
}

}  // namespace
