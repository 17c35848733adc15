// A cue's sound converted by SDL to an audio device's format.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "host/wav_file.h"

// A cue the core has read and checked, converted whole to `device`'s format; false, with the
// file named once on stderr, when SDL cannot convert it.
bool ConvertCue(const SDL_AudioSpec& device, const char* path,
                const std::vector<std::uint8_t>& bytes, const host::WavLayout& layout,
                std::vector<std::uint8_t>& samples);
// The whole sound in `device`'s format; false, with the file named once on stderr, when the
// file is no cue or cannot be converted.
bool DecodeWavFor(const SDL_AudioSpec& device, const char* path,
                  std::vector<std::uint8_t>& samples);
