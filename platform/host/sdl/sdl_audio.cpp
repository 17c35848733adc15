// One sound at a time through SDL's queued audio: decode, convert, queue, and wait if asked.
#include "host/sdl/sdl_audio.h"

#include <algorithm>
#include <memory>

#include "host/wav_file.h"

namespace {

// The cues last a few seconds; anything much longer is refused rather than converted.
constexpr double kMaxSoundSeconds = 10.0;
constexpr int kWantedFrequency = 44100;
constexpr Uint8 kWantedChannels = 2;
constexpr Uint16 kWantedBufferFrames = 1024;
// A device that stops taking data must not hold the game for ever.
constexpr std::uint64_t kStallAllowanceMs = 2000;
constexpr std::uint32_t kPollMs = 2;

std::uint64_t CeilDiv(std::uint64_t value, std::uint64_t by) { return (value + by - 1) / by; }

std::uint32_t FrameBytes(const SDL_AudioSpec& spec) {
  return SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
}

double Seconds(const SDL_AudioSpec& spec, std::uint64_t bytes) {
  const std::uint32_t frameBytes = FrameBytes(spec);
  if (frameBytes == 0 || spec.freq <= 0) return 0.0;
  return static_cast<double>(bytes / frameBytes) / spec.freq;
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
  if (!Decode(path, samples) || samples.empty()) return;
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
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  subsystemUp_ = true;
  SDL_AudioSpec wanted{};
  wanted.freq = kWantedFrequency;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kWantedChannels;
  wanted.samples = kWantedBufferFrames;
  device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &spec_, SDL_AUDIO_ALLOW_ANY_CHANGE);
  if (device_ == 0 || FrameBytes(spec_) == 0 || spec_.freq <= 0) {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    device_ = 0;
    return false;
  }
  SDL_PauseAudioDevice(device_, 0);
  return true;
}

bool SdlAudio::Decode(const char* path, std::vector<std::uint8_t>& samples) const {
  std::vector<std::uint8_t> bytes;
  host::WavLayout layout;
  // Checked first so that no length inside the file can make SDL allocate past its size.
  if (!host::ReadWavBytes(path, bytes) || !host::ParseWavLayout(bytes, layout)) return false;
  if (host::WavDurationSeconds(layout) > kMaxSoundSeconds) return false;
  SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (source == nullptr) return false;
  SDL_AudioSpec spec{};
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV_RW(source, 1, &spec, &data, &length) == nullptr) return false;
  std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> owned(data, &SDL_FreeWAV);
  const double seconds = Seconds(spec, length);
  if (seconds <= 0.0 || seconds > kMaxSoundSeconds) return false;
  return Convert(spec, data, length, samples);
}

bool SdlAudio::Convert(const SDL_AudioSpec& from, const std::uint8_t* data, std::uint32_t length,
                       std::vector<std::uint8_t>& samples) const {
  SDL_AudioStream* stream = SDL_NewAudioStream(from.format, from.channels, from.freq, spec_.format,
                                               spec_.channels, spec_.freq);
  if (stream == nullptr) return false;
  std::unique_ptr<SDL_AudioStream, decltype(&SDL_FreeAudioStream)> owned(stream,
                                                                         &SDL_FreeAudioStream);
  if (SDL_AudioStreamPut(stream, data, static_cast<int>(length)) != 0 ||
      SDL_AudioStreamFlush(stream) != 0) {
    return false;
  }
  const int available = SDL_AudioStreamAvailable(stream);
  if (available <= 0) return false;
  samples.resize(static_cast<std::size_t>(available));
  const int got = SDL_AudioStreamGet(stream, samples.data(), available);
  samples.resize(static_cast<std::size_t>(std::max(got, 0)));
  return !samples.empty();
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
