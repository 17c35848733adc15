// WAV playback on the SDL audio device: one sound at a time, as the platform's PlaySound.
#pragma once

#include <SDL.h>

#include <cstdint>

class SdlAudio {
 public:
  SdlAudio();
  ~SdlAudio();
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // Stops what is sounding and plays the file; with `wait`, returns once it has been heard.
  // Returns at once when the file is missing or broken or there is no audio device.
  void Play(const char* path, bool wait);
  void Stop();

  // Bytes queued and not yet taken by the device; 0 without a device.
  std::uint32_t QueuedBytes() const;

 private:
  // Opens the device on first use; a device that cannot be opened is not tried again.
  bool OpenDevice();
  bool Unavailable();
  void WaitUntilHeard(std::uint64_t startMs, std::size_t bytes) const;

  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec spec_{};
  bool triedOpen_ = false;
  bool subsystemUp_ = false;
};
