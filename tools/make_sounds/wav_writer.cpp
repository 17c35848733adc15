#include "wav_writer.h"

#include <cstdio>
#include <memory>

namespace {

constexpr std::uint16_t kPcmFormat = 1;
constexpr std::uint16_t kChannels = 1;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint32_t kFormatChunkBytes = 16;
constexpr std::uint32_t kHeaderBytesAfterRiffSize = 4 + 8 + kFormatChunkBytes + 8;

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
  Put16(out, static_cast<std::uint16_t>(value >> 16));
}

void PutId(std::vector<std::uint8_t>& out, const char* id) { out.insert(out.end(), id, id + 4); }

// RIFF stores little-endian whatever the machine's order.
std::vector<std::uint8_t> Encode(const std::vector<std::int16_t>& samples, int sampleRate) {
  constexpr std::uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * kBlockAlign);
  std::vector<std::uint8_t> out;
  out.reserve(kHeaderBytesAfterRiffSize + 8 + dataBytes);
  PutId(out, "RIFF");
  Put32(out, kHeaderBytesAfterRiffSize + dataBytes);
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  Put32(out, kFormatChunkBytes);
  Put16(out, kPcmFormat);
  Put16(out, kChannels);
  Put32(out, static_cast<std::uint32_t>(sampleRate));
  Put32(out, static_cast<std::uint32_t>(sampleRate) * kBlockAlign);
  Put16(out, kBlockAlign);
  Put16(out, kBitsPerSample);
  PutId(out, "data");
  Put32(out, dataBytes);
  for (std::int16_t sample : samples) Put16(out, static_cast<std::uint16_t>(sample));
  return out;
}

}  // namespace

bool WriteMonoWav(const std::string& path, const std::vector<std::int16_t>& samples,
                  int sampleRate) {
  const std::vector<std::uint8_t> bytes = Encode(samples, sampleRate);
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "wb"),
                                                          &std::fclose);
  if (!file) return false;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return false;
  return std::fclose(file.release()) == 0;
}
