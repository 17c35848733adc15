// Test support: WAV files built byte by byte, sound or broken.
#pragma once

#include <cstdint>
#include <cstring>

#include "scratch_dir.h"

// `bytes` with the little-endian value of `width` bytes at `offset` replaced.
inline Bytes Patched(Bytes bytes, std::size_t offset, std::uint32_t value, int width = 4) {
  for (int i = 0; i < width; ++i)
    bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
  return bytes;
}

// A PCM WAV file with the given header fields and `dataBytes` bytes of silence.
inline Bytes PcmWavBytes(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                         std::uint32_t dataBytes) {
  const std::uint32_t blockAlign = channels * bits / 8u;
  Bytes out(44);
  std::memcpy(out.data(), "RIFF    WAVEfmt ", 16);
  std::memcpy(out.data() + 36, "data", 4);
  // RIFF length, format length, PCM, channels, rate, byte rate, block size, bits, data length.
  const std::uint32_t fields[][3] = {
      {4, 36 + dataBytes, 4}, {16, 16, 4},   {20, 1, 2},
      {22, channels, 2},      {24, rate, 4}, {28, rate * blockAlign, 4},
      {32, blockAlign, 2},    {34, bits, 2}, {40, dataBytes, 4}};
  for (const auto& [at, value, width] : fields) out = Patched(out, at, value, width);
  // Unsigned 8-bit samples rest at the middle of their range.
  out.resize(out.size() + dataBytes, bits == 8 ? 0x80 : 0x00);
  return out;
}

// `seconds` of 16-bit mono silence at 22050 Hz.
inline Bytes MonoSilence(double seconds) {
  return PcmWavBytes(1, 22050, 16, 2 * static_cast<std::uint32_t>(seconds * 22050));
}
