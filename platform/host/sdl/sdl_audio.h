// WAV playback on the SDL audio device: one sound at a time, as the platform's PlaySound.
#pragma once

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
};
