// SDL converts, but never parses: the core has checked the file and knows its format.
#include "host/sdl/wav_decoder.h"

#include <cstring>
#include <string>

#include "host/unusable_file.h"
#include "host/wav_file.h"

namespace {

// What conversion may need in memory at once; far above any cue, far below harm.
constexpr std::uint64_t kMaxConversionBytes = std::uint64_t{64} << 20;

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
  if (cvt.len_mult <= 0 || capacity > kMaxConversionBytes) {
    SDL_SetError("%llu bytes once converted", static_cast<unsigned long long>(capacity));
    return false;
  }
  samples.assign(static_cast<std::size_t>(capacity), 0);
  std::memcpy(samples.data(), data, length);
  cvt.buf = samples.data();
  cvt.len = static_cast<int>(length);
  if (SDL_ConvertAudio(&cvt) != 0) return false;
  samples.resize(static_cast<std::size_t>(cvt.len_cvt));
  return true;
}

}  // namespace

bool DecodeWavFor(const SDL_AudioSpec& device, const char* path,
                  std::vector<std::uint8_t>& samples) {
  samples.clear();
  std::vector<std::uint8_t> bytes;
  host::WavLayout layout;
  return host::LoadWavFile(path, bytes, layout) && ConvertCue(device, path, bytes, layout, samples);
}

bool ConvertCue(const SDL_AudioSpec& device, const char* path,
                const std::vector<std::uint8_t>& bytes, const host::WavLayout& layout,
                std::vector<std::uint8_t>& samples) {
  samples.clear();
  SDL_AudioSpec file{};
  file.format = layout.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  file.channels = static_cast<Uint8>(layout.channels);
  file.freq = static_cast<int>(layout.sampleRate);
  // Whole sample frames only: a torn last frame would shift every channel after it.
  const auto length = static_cast<Uint32>(layout.dataBytes - layout.dataBytes % layout.blockAlign);
  if (Convert(file, bytes.data() + layout.dataOffset, length, device, samples)) return true;
  host::ReportUnusableFile(path, std::string("cannot be converted: ") + SDL_GetError());
  return false;
}
