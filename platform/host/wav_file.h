// Which WAV files are cues: one rule for every host, read with bounded memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace host {

// Larger files are refused before anything is read: a cue lasts a few seconds.
constexpr std::size_t kMaxWavFileBytes = std::size_t{4} << 20;
// What every host can play: longer sounds would hold the game, wider ones no device takes.
constexpr double kLongestCueSeconds = 10.0;
constexpr int kMostCueChannels = 8;
constexpr std::uint32_t kSlowestCueRate = 3000;
constexpr std::uint32_t kFastestCueRate = 192000;

// The format and place of the samples inside a WAV file's bytes.
struct WavLayout {
  std::uint16_t formatTag = 0;
  std::uint16_t channels = 0;
  std::uint32_t sampleRate = 0;
  std::uint16_t blockAlign = 0;
  std::uint16_t bitsPerSample = 0;
  std::size_t dataOffset = 0;
  std::size_t dataBytes = 0;
};

// Finds the format and the first data chunk; false unless both lie wholly inside `bytes`
// and describe a playable sound (channels, rate and block size non-zero, at least one whole
// sample frame of data).
bool ParseWavLayout(const std::vector<std::uint8_t>& bytes, WavLayout& layout);
// Reads a cue: 8- or 16-bit PCM, 1 to 8 channels, 3,000 to 192,000 frames a second, at
// most 10 s. On refusal names the file and the reason on stderr, once per file.
bool LoadWavFile(const char* path, std::vector<std::uint8_t>& bytes, WavLayout& layout);
// Why the layout is no cue; empty when it is one.
std::string CueRefusal(const WavLayout& layout);
// How long the data sounds, in whole sample frames.
double WavDurationSeconds(const WavLayout& layout);

}  // namespace host
