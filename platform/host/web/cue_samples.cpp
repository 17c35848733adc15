#include "host/web/cue_samples.h"

namespace host {
namespace {

constexpr float kSixteenBitScale = 32768.0f;
constexpr float kEightBitMiddle = 128.0f;

float Sample(const std::uint8_t* at, std::size_t sampleBytes) {
  if (sampleBytes == 1) return (at[0] - kEightBitMiddle) / kEightBitMiddle;
  return static_cast<std::int16_t>(at[0] | at[1] << 8) / kSixteenBitScale;
}

}  // namespace

std::vector<float> PlanarCueSamples(const std::vector<std::uint8_t>& bytes,
                                    const WavLayout& layout) {
  const std::size_t sampleBytes = layout.bitsPerSample / 8;
  const std::size_t channels = layout.channels;
  const bool inside =
      layout.dataOffset <= bytes.size() && layout.dataBytes <= bytes.size() - layout.dataOffset;
  if ((sampleBytes != 1 && sampleBytes != 2) || channels == 0 ||
      layout.blockAlign < channels * sampleBytes || !inside) {
    return {};
  }
  const std::size_t frames = layout.dataBytes / layout.blockAlign;
  std::vector<float> samples(frames * channels);
  const std::uint8_t* data = bytes.data() + layout.dataOffset;
  for (std::size_t channel = 0; channel < channels; ++channel) {
    for (std::size_t frame = 0; frame < frames; ++frame) {
      samples[channel * frames + frame] =
          Sample(data + frame * layout.blockAlign + channel * sampleBytes, sampleBytes);
    }
  }
  return samples;
}

}  // namespace host
