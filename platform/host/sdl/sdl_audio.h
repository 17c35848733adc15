// WAV playback on the SDL audio device: one sound at a time, as the platform's PlaySound.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "host/host_clock.h"
#include "host/wav_file.h"

class SdlAudio {
 public:
  // Synchronous cues are held on `clock`, the host's.
  explicit SdlAudio(host::HostClock clock);
  ~SdlAudio();
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // Stops what is sounding and plays the file; with `wait`, holds as the core's cue rule says,
  // device or none. A file that is no cue plays nothing and holds nothing.
  void Play(const char* path, bool wait);
  void Stop();

 private:
  // Opens the device on first use; a device that cannot be opened is not tried again.
  bool OpenDevice();
  bool Unavailable();
  bool Queue(const char* path, const std::vector<std::uint8_t>& bytes,
             const host::WavLayout& layout);
  std::int64_t LatencyMicros() const;

  host::HostClock clock_;
  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec spec_{};
  bool triedOpen_ = false;
  bool subsystemUp_ = false;
};
