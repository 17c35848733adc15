// WAV playback on the SDL audio device: one sound at a time, as the platform's PlaySound.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

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
  // The file's sound in the device's format; false when it cannot be played.
  bool Decode(const char* path, std::vector<std::uint8_t>& samples) const;
  bool Convert(const SDL_AudioSpec& from, const std::uint8_t* data, std::uint32_t length,
               std::vector<std::uint8_t>& samples) const;
  void WaitUntilHeard(std::uint64_t startMs, std::size_t bytes) const;

  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec spec_{};
  bool triedOpen_ = false;
  bool subsystemUp_ = false;
};
