// Fuzzes a cue file from its bytes to the samples each device gets: the core's reader and cue
// rule, then the desktop's conversion by SDL for a few devices and the page's for Web Audio.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_input_file.h"
#include "host/sdl/wav_decoder.h"
#include "host/wav_file.h"
#include "host/web/cue_samples.h"

namespace {

SDL_AudioSpec Device(int freq, SDL_AudioFormat format, Uint8 channels) {
  SDL_AudioSpec device{};
  device.freq = freq;
  device.format = format;
  device.channels = channels;
  return device;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The device the desktop asks for, and others SDL may hand it instead.
  static const SDL_AudioSpec kDevices[] = {
      Device(44100, AUDIO_S16SYS, 2), Device(48000, AUDIO_F32SYS, 6), Device(22050, AUDIO_U8, 1)};
  if (!WriteFuzzInput(data, size)) return 0;
  const char* path = FuzzInputPath().c_str();
  std::vector<std::uint8_t> samples;
  for (const SDL_AudioSpec& device : kDevices) DecodeWavFor(device, path, samples);
  std::vector<std::uint8_t> bytes;
  host::WavLayout layout;
  if (host::LoadWavFile(path, bytes, layout)) host::PlanarCueSamples(bytes, layout);
  return 0;
}
