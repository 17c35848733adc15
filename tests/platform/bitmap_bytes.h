// Test support: Windows bitmap files and packed DIBs built byte by byte.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

// A bottom-up 24-bit file of the given size; `colour(x, y)` gives each pixel, y = 0 the top row.
std::vector<std::uint8_t> Bitmap24(int width, int height,
                                   const std::function<COLORREF(int, int)>& colour);
// The file's info header, colour table and bits: what a bitmap resource holds.
std::vector<std::uint8_t> PackedDib(const std::vector<std::uint8_t>& file);
// Writes the bytes to a fresh file in the test's temporary directory and returns its path.
std::string WriteTempFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
