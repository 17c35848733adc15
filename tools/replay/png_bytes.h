// Encoding an RGB565 picture as PNG bytes in memory, so that the caller owns every write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The PNG file's bytes; false, with `error` set, when the picture cannot be encoded.
bool EncodeRgb565Png(const std::vector<std::uint16_t>& pixels, int width, int height,
                     std::vector<std::uint8_t>& png, std::string& error);
