// Reading a WAV file with bounded memory, and finding its sound data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace host {

// Larger files are refused before anything is read: a cue lasts a few seconds.
constexpr std::size_t kMaxWavFileBytes = std::size_t{4} << 20;

// The format and place of the samples inside a WAV file's bytes.
struct WavLayout {
  std::uint16_t formatTag = 0;
  std::uint16_t channels = 0;
  std::uint32_t sampleRate = 0;
  std::uint32_t byteRate = 0;
  std::uint16_t blockAlign = 0;
  std::size_t dataOffset = 0;
  std::size_t dataBytes = 0;
};

// Finds the format and the first data chunk; false unless both lie wholly inside `bytes`
// and describe a playable sound (channels, rate and block size non-zero, some data).
bool ParseWavLayout(const std::vector<std::uint8_t>& bytes, WavLayout& layout);
// Reads and parses; on failure names the file and the reason on stderr, once per file.
bool LoadWavFile(const char* path, std::vector<std::uint8_t>& bytes, WavLayout& layout);
// How long the data sounds, by the format's own figures.
double WavDurationSeconds(const WavLayout& layout);

}  // namespace host
