// One sound at a time through SDL's queued audio: decode, convert, queue, and wait if asked.
#include "host/sdl/sdl_audio.h"

#include <cstdio>
#include <utility>

#include "host/cue_hold.h"
#include "host/sdl/wav_decoder.h"

namespace {

constexpr int kWantedFrequency = 44100;
constexpr Uint8 kWantedChannels = 2;
constexpr Uint16 kWantedBufferFrames = 1024;

std::uint32_t FrameBytes(const SDL_AudioSpec& audioSpec) {
  return SDL_AUDIO_BITSIZE(audioSpec.format) / 8 * audioSpec.channels;
}

}  // namespace

SdlAudio::SdlAudio(host::HostClock clock) : clock_(std::move(clock)) {}

SdlAudio::~SdlAudio() {
  if (device_ != 0) SDL_CloseAudioDevice(device_);
  if (subsystemUp_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudio::Play(const char* path, bool wait) {
  Stop();
  std::vector<std::uint8_t> bytes;
  host::WavLayout layout;
  if (!host::LoadWavFile(path, bytes, layout)) return;
  const bool queued = OpenDevice() && Queue(path, bytes, layout);
  if (!wait) return;
  const host::CueHold hold(clock_.nowMicros(), host::CueMicros(layout),
                           queued ? LatencyMicros() : 0);
  host::HoldForCue(hold, clock_,
                   [this, queued] { return queued && SDL_GetQueuedAudioSize(device_) > 0; });
}

void SdlAudio::Stop() {
  if (device_ != 0) SDL_ClearQueuedAudio(device_);
}

bool SdlAudio::Queue(const char* path, const std::vector<std::uint8_t>& bytes,
                     const host::WavLayout& layout) {
  std::vector<std::uint8_t> samples;
  return ConvertCue(spec_, path, bytes, layout, samples) && !samples.empty() &&
         SDL_QueueAudio(device_, samples.data(), static_cast<Uint32>(samples.size())) == 0;
}

// What the device plays behind the queue: one buffer of its own.
std::int64_t SdlAudio::LatencyMicros() const {
  constexpr std::int64_t kMicrosPerSecond = 1'000'000;
  return (std::int64_t{spec_.samples} * kMicrosPerSecond + spec_.freq - 1) / spec_.freq;
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
