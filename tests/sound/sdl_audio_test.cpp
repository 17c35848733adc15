// The SDL player on SDL's dummy device and with no device at all. Elapsed times are only
// ever checked from below: a synchronous sound may not return before it has been heard.
#include "host/sdl/sdl_audio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "wav_bytes.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The driver is read when the audio subsystem starts, which each player does for itself.
class AudioOn : public ::testing::Test {
 protected:
  explicit AudioOn(const char* driver) { ::setenv("SDL_AUDIODRIVER", driver, 1); }
  ScratchDir dir_;
};

class DummyDevice : public AudioOn {
 protected:
  DummyDevice() : AudioOn("dummy") {}
};

class NoDevice : public AudioOn {
 protected:
  NoDevice() : AudioOn("no-such-driver") {}
};

TEST_F(DummyDevice, SynchronousSoundHoldsTheCallerForAtLeastItsLength) {
  constexpr double kSeconds = 0.3;
  const std::string path = dir_.WriteTone("tone.wav", kSeconds);
  SdlAudio audio;
  const auto start = Clock::now();
  audio.Play(path.c_str(), true);
  EXPECT_GE(SecondsSince(start), kSeconds);
  EXPECT_EQ(audio.QueuedBytes(), 0u) << "returned before the device took the whole sound";
}

TEST_F(DummyDevice, AsynchronousSoundIsStillQueuedWhenPlayReturns) {
  const std::string path = dir_.WriteTone("long.wav", 3.0);
  SdlAudio audio;
  audio.Play(path.c_str(), false);
  EXPECT_GT(audio.QueuedBytes(), 0u);
}

TEST_F(DummyDevice, ANewSoundOrStopEndsTheOneStillSounding) {
  const std::string longTone = dir_.WriteTone("long.wav", 5.0);
  const std::string shortTone = dir_.WriteTone("short.wav", 0.05);
  SdlAudio audio;
  audio.Play(longTone.c_str(), false);
  const std::uint32_t longQueued = audio.QueuedBytes();
  audio.Play(shortTone.c_str(), false);
  // Left to go on, the long sound alone would still fill most of the queue.
  EXPECT_LT(audio.QueuedBytes(), longQueued / 10);
  audio.Play(longTone.c_str(), false);
  audio.Stop();
  EXPECT_EQ(audio.QueuedBytes(), 0u);
}

TEST_F(DummyDevice, AnUnplayableFileQueuesNothingAndLeavesThePlayerWorking) {
  SdlAudio audio;
  audio.Play(dir_.Path("missing.wav").c_str(), true);
  audio.Play(dir_.Write("garbage.wav", std::vector<std::uint8_t>(4096, 0xA5)).c_str(), true);
  EXPECT_EQ(audio.QueuedBytes(), 0u);
  audio.Play(dir_.WriteTone("fine.wav", 1.0).c_str(), false);
  EXPECT_GT(audio.QueuedBytes(), 0u);
}

TEST_F(NoDevice, EveryCallReturnsWithNothingQueued) {
  const std::string path = dir_.WriteTone("tone.wav", 1.0);
  SdlAudio audio;
  audio.Play(path.c_str(), true);
  audio.Play(path.c_str(), false);
  // With a device the second sound would still be queued here.
  EXPECT_EQ(audio.QueuedBytes(), 0u);
  audio.Stop();
}

}  // namespace
