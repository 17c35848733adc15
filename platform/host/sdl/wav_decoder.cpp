// Decoding goes through SDL only after the file has been checked: SDL trusts the lengths
// written in a WAV file and would allocate what they claim.
#include "host/sdl/wav_decoder.h"

#include <cstring>
#include <memory>

#include "host/wav_file.h"
#include "portable/unusable_file.h"

namespace {

// What conversion may need in memory at once; far above any cue, far below harm.
constexpr std::uint64_t kMaxConversionBytes = std::uint64_t{64} << 20;

std::uint32_t FrameBytes(const SDL_AudioSpec& audioSpec) {
  return SDL_AUDIO_BITSIZE(audioSpec.format) / 8 * audioSpec.channels;
}

double Seconds(const SDL_AudioSpec& audioSpec, std::uint64_t bytes) {
  const std::uint32_t frameBytes = FrameBytes(audioSpec);
  if (frameBytes == 0 || audioSpec.freq <= 0) return 0.0;
  return static_cast<double>(bytes / frameBytes) / audioSpec.freq;
}

// Converts in one piece, so that no tail stays behind in a resampler.
bool Convert(const SDL_AudioSpec& from, const Uint8* data, Uint32 length, const SDL_AudioSpec& to,
             std::vector<std::uint8_t>& samples) {
  SDL_AudioCVT cvt;
  const int needed = SDL_BuildAudioCVT(&cvt, from.format, from.channels, from.freq, to.format,
                                       to.channels, to.freq);
  if (needed < 0) return false;
  if (needed == 0) {
    samples.assign(data, data + length);
    return true;
  }
  const std::uint64_t capacity = std::uint64_t{length} * static_cast<unsigned>(cvt.len_mult);
  if (cvt.len_mult <= 0 || capacity > kMaxConversionBytes) return false;
  samples.assign(static_cast<std::size_t>(capacity), 0);
  std::memcpy(samples.data(), data, length);
  cvt.buf = samples.data();
  cvt.len = static_cast<int>(length);
  if (SDL_ConvertAudio(&cvt) != 0 || cvt.len_cvt <= 0) return false;
  samples.resize(static_cast<std::size_t>(cvt.len_cvt));
  return true;
}

}  // namespace

bool DecodeWavFor(const SDL_AudioSpec& device, const char* path,
                  std::vector<std::uint8_t>& samples) {
  samples.clear();
  std::vector<std::uint8_t> bytes;
  host::WavLayout layout;
  if (!host::LoadWavFile(path, bytes, layout)) return false;
  if (host::WavDurationSeconds(layout) > kMaxDecodedSeconds) {
    portable::ReportUnusableFile(path, "longer than a cue may last");
    return false;
  }
  SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (source == nullptr) return false;
  SDL_AudioSpec audioSpec{};
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV_RW(source, 1, &audioSpec, &data, &length) == nullptr) {
    portable::ReportUnusableFile(path, "not a PCM WAV file");
    return false;
  }
  std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> owned(data, &SDL_FreeWAV);
  const double seconds = Seconds(audioSpec, length);
  if (seconds <= 0.0 || seconds > kMaxDecodedSeconds) {
    portable::ReportUnusableFile(path,
                                 seconds <= 0.0 ? "no sound in it" : "longer than a cue may last");
    return false;
  }
  return Convert(audioSpec, data, length, device, samples);
}
