// A block of RGB565 pixels, row after row with no padding: what surfaces and bitmaps hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace portable {

struct PixelBuffer {
  int width = 0;
  int height = 0;
  std::vector<std::uint16_t> pixels;

  PixelBuffer() = default;
  PixelBuffer(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h) {}

  std::uint16_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
  const std::uint16_t* Row(int y) const {
    return pixels.data() + static_cast<std::size_t>(y) * width;
  }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

}  // namespace portable
