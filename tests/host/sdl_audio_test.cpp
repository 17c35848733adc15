// Sound over SDL: the player on SDL's dummy device and with no device. Elapsed times are only ever
// checked from below: a synchronous sound may not return before it has been heard.
#include "host/sdl/sdl_audio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "../support/scoped_env.h"
#include "../support/wav_bytes.h"

namespace {

// On SDL's dummy device, which the test program names.
TEST(DummyDevice, SynchronousSoundHoldsTheCallerForAtLeastItsLength) {
  constexpr double kSeconds = 0.3;
  ScratchDir dir;
  const std::string path = dir.Write("short.wav", MonoSilence(kSeconds));
  SdlAudio audio;
  const auto start = std::chrono::steady_clock::now();
  audio.Play(path.c_str(), true);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed.count(), kSeconds);
  EXPECT_EQ(audio.QueuedBytes(), 0u) << "returned before the device took the whole sound";
}

TEST(DummyDevice, AsynchronousSoundIsQueuedOnReturnUntilANewSoundOrStopEndsIt) {
  ScratchDir dir;
  const std::string longSound = dir.Write("long.wav", MonoSilence(5.0));
  SdlAudio audio;
  audio.Play(longSound.c_str(), false);
  const std::uint32_t longQueued = audio.QueuedBytes();
  EXPECT_GT(longQueued, 0u);
  audio.Play(dir.Write("short.wav", MonoSilence(0.05)).c_str(), false);
  // Left to go on, the long sound alone would still fill most of the queue.
  EXPECT_LT(audio.QueuedBytes(), longQueued / 10);
  audio.Play(longSound.c_str(), false);
  audio.Stop();
  EXPECT_EQ(audio.QueuedBytes(), 0u);
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
