// A WAV reader that trusts no length in the file beyond what the file holds.
#include "host/wav_file.h"

#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "portable/bounded_file.h"
#include "portable/unusable_file.h"

namespace host {
namespace {

constexpr std::size_t kRiffHeaderBytes = 12;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kMinFormatBytes = 16;
// Formats whose samples have a fixed size; the rest (ADPCM) are timed by their byte rate.
constexpr std::uint16_t kFixedSizeFormats[] = {0x0001, 0x0003, 0x0006, 0x0007, 0xFFFE};

std::uint32_t Read32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
         static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

std::uint16_t Read16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

bool IsId(const std::uint8_t* at, const char* id) { return std::memcmp(at, id, 4) == 0; }

void ReadFormat(const std::uint8_t* body, WavLayout& layout) {
  layout.formatTag = Read16(body);
  layout.channels = Read16(body + 2);
  layout.sampleRate = Read32(body + 4);
  layout.byteRate = Read32(body + 8);
  layout.blockAlign = Read16(body + 12);
}

}  // namespace

bool LoadWavFile(const char* path, std::vector<std::uint8_t>& bytes, WavLayout& layout) {
  std::string reason;
  std::optional<std::vector<std::uint8_t>> read =
      portable::ReadBoundedFile(path, kMaxWavFileBytes, reason);
  bytes = read ? std::move(*read) : std::vector<std::uint8_t>{};
  if (read && bytes.empty()) reason = "empty file";
  if (bytes.empty()) {
    portable::ReportUnusableFile(path, reason);
    return false;
  }
  if (!ParseWavLayout(bytes, layout)) {
    const bool isWav = bytes.size() >= kRiffHeaderBytes && IsId(bytes.data(), "RIFF") &&
                       IsId(bytes.data() + 8, "WAVE");
    portable::ReportUnusableFile(path, isWav ? "damaged WAV file" : "not a WAV file");
    return false;
  }
  return true;
}

bool ParseWavLayout(const std::vector<std::uint8_t>& bytes, WavLayout& layout) {
  layout = WavLayout{};
  if (bytes.size() < kRiffHeaderBytes || !IsId(bytes.data(), "RIFF") ||
      !IsId(bytes.data() + 8, "WAVE")) {
    return false;
  }
  bool haveFormat = false;
  std::size_t at = kRiffHeaderBytes;
  while (bytes.size() - at >= kChunkHeaderBytes) {
    const std::uint8_t* header = bytes.data() + at;
    const std::size_t length = Read32(header + 4);
    const std::size_t body = at + kChunkHeaderBytes;
    // A chunk cut short by the end of the file ends the search, and the file with it.
    if (length > bytes.size() - body) return false;
    if (IsId(header, "fmt ") && !haveFormat) {
      if (length < kMinFormatBytes) return false;
      ReadFormat(bytes.data() + body, layout);
      haveFormat = true;
    } else if (IsId(header, "data")) {
      if (!haveFormat) return false;
      layout.dataOffset = body;
      layout.dataBytes = length;
      return layout.channels != 0 && layout.sampleRate != 0 && layout.blockAlign != 0 &&
             length != 0;
    }
    // Chunks are padded to an even length.
    at = body + length + (length & 1);
    if (at > bytes.size()) return false;
  }
  return false;
}

double WavDurationSeconds(const WavLayout& layout) {
  for (std::uint16_t tag : kFixedSizeFormats) {
    if (layout.formatTag != tag) continue;
    if (layout.blockAlign == 0 || layout.sampleRate == 0) return 0.0;
    return static_cast<double>(layout.dataBytes / layout.blockAlign) / layout.sampleRate;
  }
  if (layout.byteRate == 0) return 0.0;
  return static_cast<double>(layout.dataBytes) / layout.byteRate;
}

}  // namespace host
