// A WAV reader that trusts no length in the file beyond what the file holds.
#include "host/wav_file.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "host/bounded_file.h"
#include "host/unusable_file.h"

namespace host {
namespace {

constexpr std::size_t kRiffHeaderBytes = 12;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kMinFormatBytes = 16;
constexpr std::size_t kExtensibleFormatBytes = 40;
constexpr std::uint16_t kPcmFormat = 0x0001;
constexpr std::uint16_t kExtensibleFormat = 0xFFFE;

std::uint32_t Read32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
         static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

std::uint16_t Read16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

bool IsId(const std::uint8_t* at, const char* id) { return std::memcmp(at, id, 4) == 0; }

void ReadFormat(const std::uint8_t* body, std::size_t length, WavLayout& layout) {
  layout.formatTag = Read16(body);
  layout.channels = Read16(body + 2);
  layout.sampleRate = Read32(body + 4);
  layout.blockAlign = Read16(body + 12);
  layout.bitsPerSample = Read16(body + 14);
  // The extensible header names its real format in the first bytes of its sub-format.
  if (layout.formatTag == kExtensibleFormat && length >= kExtensibleFormatBytes) {
    layout.formatTag = Read16(body + 24);
  }
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

bool LoadWavFile(const char* path, std::vector<std::uint8_t>& bytes, WavLayout& layout) {
  std::string reason;
  std::optional<std::vector<std::uint8_t>> read = ReadBoundedFile(path, kMaxWavFileBytes, reason);
  bytes = read ? std::move(*read) : std::vector<std::uint8_t>{};
  if (read && bytes.empty()) reason = "empty file";
  if (bytes.empty()) {
    ReportUnusableFile(path, reason);
    return false;
  }
  if (!ParseWavLayout(bytes, layout)) {
    const bool isWav = bytes.size() >= kRiffHeaderBytes && IsId(bytes.data(), "RIFF") &&
                       IsId(bytes.data() + 8, "WAVE");
    ReportUnusableFile(path, isWav ? "damaged WAV file" : "not a WAV file");
    return false;
  }
  const std::string refusal = CueRefusal(layout);
  if (!refusal.empty()) ReportUnusableFile(path, refusal);
  return refusal.empty();
}

std::string CueRefusal(const WavLayout& layout) {
  if (layout.formatTag != kPcmFormat) {
    char tag[8];
    std::snprintf(tag, sizeof tag, "0x%04X", layout.formatTag);
    return std::string("not PCM sound (format ") + tag + "); cues are 8- or 16-bit PCM";
  }
  if (layout.bitsPerSample != 8 && layout.bitsPerSample != 16) {
    return Number(layout.bitsPerSample) + "-bit samples; cues are 8- or 16-bit PCM";
  }
  if (layout.blockAlign != layout.channels * layout.bitsPerSample / 8) return "damaged WAV file";
  if (layout.channels > kMostCueChannels) {
    return Number(layout.channels) + " channels; a cue has at most " + Number(kMostCueChannels);
  }
  if (layout.sampleRate < kSlowestCueRate || layout.sampleRate > kFastestCueRate) {
    return Number(layout.sampleRate) + " frames a second; cues have " + Number(kSlowestCueRate) +
           " to " + Number(kFastestCueRate);
  }
  const double seconds = WavDurationSeconds(layout);
  if (seconds > kLongestCueSeconds) {
    return Number(seconds) + " s long; a cue lasts at most " + Number(kLongestCueSeconds) + " s";
  }
  return {};
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
      ReadFormat(bytes.data() + body, length, layout);
      haveFormat = true;
    } else if (IsId(header, "data")) {
      if (!haveFormat) return false;
      layout.dataOffset = body;
      layout.dataBytes = length;
      return layout.channels != 0 && layout.sampleRate != 0 && layout.blockAlign != 0 &&
             length >= layout.blockAlign;
    }
    // Chunks are padded to an even length.
    at = body + length + (length & 1);
    if (at > bytes.size()) return false;
  }
  return false;
}

double WavDurationSeconds(const WavLayout& layout) {
  if (layout.blockAlign == 0 || layout.sampleRate == 0) return 0.0;
  return static_cast<double>(layout.dataBytes / layout.blockAlign) / layout.sampleRate;
}

}  // namespace host
