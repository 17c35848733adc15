// A picture of 8-bit channels encoded as PNG bytes in memory, so that the caller owns every write.
#pragma once

#include <cstdint>
#include <vector>

// `channels` is 3 (RGB) or 4 (RGBA), top row first; false when the encoder gives up.
bool EncodePng(const std::uint8_t* pixels, int width, int height, int channels,
               std::vector<std::uint8_t>& png);
