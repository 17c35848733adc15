#include "wav_bytes.h"

#include <unistd.h>

#include <cmath>
#include <fstream>

#include "tone.h"
#include "wav_writer.h"

namespace {

constexpr int kToneRate = 22050;

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutId(std::vector<std::uint8_t>& out, const char* id) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(id[i]));
}

}  // namespace

std::vector<std::uint8_t> PcmWavBytes(std::uint16_t channels, std::uint32_t sampleRate,
                                      std::uint16_t bitsPerSample, std::uint32_t dataBytes) {
  const std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * bitsPerSample / 8);
  std::vector<std::uint8_t> out;
  PutId(out, "RIFF");
  Put(out, 36 + dataBytes, 4);
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  Put(out, 16, 4);
  Put(out, 1, 2);
  Put(out, channels, 2);
  Put(out, sampleRate, 4);
  Put(out, sampleRate * blockAlign, 4);
  Put(out, blockAlign, 2);
  Put(out, bitsPerSample, 2);
  PutId(out, "data");
  Put(out, dataBytes, 4);
  // Silence: unsigned 8-bit samples rest at the middle of their range.
  out.resize(out.size() + dataBytes, bitsPerSample == 8 ? 0x80 : 0x00);
  return out;
}

void Patch32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

ScratchDir::ScratchDir() {
  root_ = std::filesystem::temp_directory_path() /
          ("paddleball-sound-" + std::to_string(::getpid()) + "-" +
           std::to_string(reinterpret_cast<std::uintptr_t>(this)));
  std::filesystem::create_directories(root_);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string ScratchDir::Write(const std::string& name,
                              const std::vector<std::uint8_t>& bytes) const {
  const std::string path = Path(name);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string ScratchDir::WriteTone(const std::string& name, double seconds) const {
  Tone tone;
  tone.seconds = seconds;
  Sound sound(kToneRate, seconds);
  sound.Add(tone, 0.0, 1.0);
  const std::string path = Path(name);
  WriteMonoWav(path, sound.ToPcm(0.5), kToneRate);
  return path;
}
