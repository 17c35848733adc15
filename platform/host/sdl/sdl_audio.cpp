// One sound at a time through SDL's queued audio: decode, convert, queue, and wait if asked.
#include "host/sdl/sdl_audio.h"

#include <algorithm>
#include <cstdio>

#include "host/sdl/wav_decoder.h"

namespace {

constexpr int kWantedFrequency = 44100;
constexpr Uint8 kWantedChannels = 2;
constexpr Uint16 kWantedBufferFrames = 1024;
// A device that stops taking data must not hold the game for ever.
constexpr std::uint64_t kStallAllowanceMs = 2000;
constexpr std::uint32_t kPollMs = 2;

std::uint64_t CeilDiv(std::uint64_t value, std::uint64_t by) { return (value + by - 1) / by; }

std::uint32_t FrameBytes(const SDL_AudioSpec& audioSpec) {
  return SDL_AUDIO_BITSIZE(audioSpec.format) / 8 * audioSpec.channels;
}

}  // namespace

SdlAudio::SdlAudio() = default;

SdlAudio::~SdlAudio() {
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  if (subsystemUp_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudio::Play(const char* path, bool wait) {
  Stop();
  if (!OpenDevice()) return;
  std::vector<std::uint8_t> samples;
  if (!DecodeWavFor(spec_, path, samples) || samples.empty()) return;
  const std::uint64_t startMs = SDL_GetTicks64();
  if (SDL_QueueAudio(device_, samples.data(), static_cast<Uint32>(samples.size())) != 0) return;
  if (wait) WaitUntilHeard(startMs, samples.size());
}

void SdlAudio::Stop() {
  if (device_ != 0) SDL_ClearQueuedAudio(device_);
}

std::uint32_t SdlAudio::QueuedBytes() const {
  return device_ != 0 ? SDL_GetQueuedAudioSize(device_) : 0;
}

bool SdlAudio::OpenDevice() {
  if (triedOpen_) return device_ != 0;
  triedOpen_ = true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return Unavailable();
  subsystemUp_ = true;
  SDL_AudioSpec wanted{};
  wanted.freq = kWantedFrequency;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kWantedChannels;
  wanted.samples = kWantedBufferFrames;
  device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &spec_, SDL_AUDIO_ALLOW_ANY_CHANGE);
  if (device_ == 0) return Unavailable();
  if (FrameBytes(spec_) == 0 || spec_.freq <= 0) {
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    SDL_SetError("the device offers no usable format");
    return Unavailable();
  }
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

// The game plays on in silence; said once, with SDL's reason.
bool SdlAudio::Unavailable() {
  std::fprintf(stderr, "paddleball: no sound: %s\n", SDL_GetError());
  return false;
}

// Heard means the queue has drained and the device's own buffer has played out after it,
// and never sooner than the sound's length after it was queued.
void SdlAudio::WaitUntilHeard(std::uint64_t startMs, std::size_t bytes) const {
  const std::uint64_t bytesPerSecond = static_cast<std::uint64_t>(FrameBytes(spec_)) * spec_.freq;
  const std::uint64_t latencyMs = CeilDiv(std::uint64_t{spec_.samples} * 1000, spec_.freq);
  const std::uint64_t heardAt =
      startMs + CeilDiv(bytes * std::uint64_t{1000}, bytesPerSecond) + latencyMs;
  const std::uint64_t giveUpAt = heardAt + kStallAllowanceMs;
  bool drained = false;
  std::uint64_t drainedAt = 0;
  for (;;) {
    const std::uint64_t now = SDL_GetTicks64();
    if (!drained && SDL_GetQueuedAudioSize(device_) == 0) {
      drained = true;
      drainedAt = now;
    }
    if (drained && now >= std::max(heardAt, drainedAt + latencyMs)) return;
    if (now >= giveUpAt) return;
    SDL_Delay(kPollMs);
  }
}
