// Sound over SDL, on SDL's dummy device and with none. Elapsed times are only ever checked from
// below: a synchronous sound may not return before it has been heard.
#include "host/sdl/sdl_audio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "../support/scoped_env.h"
#include "../support/wav_bytes.h"

namespace {

TEST(SdlAudio, ASoundIsHeardWholeUntilReplacedOrStoppedAndWithoutADeviceNothingIsQueued) {
  constexpr double kSeconds = 0.3;
  ScratchDir dir;
  const std::string shortSound = dir.Write("short.wav", MonoSilence(kSeconds));
  const std::string longSound = dir.Write("long.wav", MonoSilence(5.0));
  for (const std::string driver : {"dummy", "no-such-driver"}) {
    SCOPED_TRACE(driver);
    const ScopedEnv setting("SDL_AUDIODRIVER", driver.c_str());
    const bool device = driver == "dummy";
    SdlAudio audio;
    const auto start = std::chrono::steady_clock::now();
    audio.Play(shortSound.c_str(), true);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (device) {
      EXPECT_GE(elapsed.count(), kSeconds);
    }
    EXPECT_EQ(audio.QueuedBytes(), 0u) << "returned before the device took the whole sound";

    audio.Play(longSound.c_str(), false);
    const std::uint32_t longQueued = audio.QueuedBytes();
    EXPECT_EQ(longQueued > 0, device);
    audio.Play(shortSound.c_str(), false);
    // Left to go on, the long sound alone would still fill most of the queue.
    EXPECT_LE(audio.QueuedBytes(), longQueued / 10);
    audio.Play(longSound.c_str(), false);
    audio.Stop();
    EXPECT_EQ(audio.QueuedBytes(), 0u);
  }
}

}  // namespace
