// Writing 16-bit mono PCM sound to a WAV file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes the samples as a 16-bit mono PCM WAV file; false when the file cannot be written.
bool WriteMonoWav(const std::string& path, const std::vector<std::int16_t>& samples,
                  int sampleRate);
