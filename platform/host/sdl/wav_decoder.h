// A WAV file's sound, decoded by SDL and converted to an audio device's format.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

// Cues last a few seconds; longer sounds are refused rather than converted.
constexpr double kMaxDecodedSeconds = 10.0;

// The whole sound in `device`'s format; false when the file is missing, broken, silent, too
// large or too long, or cannot be converted.
bool DecodeWavFor(const SDL_AudioSpec& device, const char* path,
                  std::vector<std::uint8_t>& samples);
