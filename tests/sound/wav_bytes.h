// Test support: WAV files built byte by byte, sound or broken, in a scratch directory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The bytes of a PCM WAV file with the given header fields and `dataBytes` bytes of silence.
std::vector<std::uint8_t> PcmWavBytes(std::uint16_t channels, std::uint32_t sampleRate,
                                      std::uint16_t bitsPerSample, std::uint32_t dataBytes);
// Overwrites the 32-bit little-endian value at `offset`.
void Patch32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);

// A directory of its own under the system's temporary directory, removed afterwards.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
  // A 16-bit mono tone of the given length at 22050 Hz.
  std::string WriteTone(const std::string& name, double seconds) const;
  std::string Path(const std::string& name) const { return (root_ / name).string(); }

 private:
  std::filesystem::path root_;
};
