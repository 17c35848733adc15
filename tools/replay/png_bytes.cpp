#include "png_bytes.h"

#include "png_encode.h"
#include "portable/rgb565.h"

bool EncodeRgb565Png(const std::vector<std::uint16_t>& pixels, int width, int height,
                     std::vector<std::uint8_t>& png, std::string& error) {
  png.clear();
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (width <= 0 || height <= 0 || pixels.size() < count) {
    error = "no frame to write";
    return false;
  }
  std::vector<std::uint8_t> rgb;
  rgb.reserve(count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    const COLORREF colour = portable::FromRgb565(pixels[i]);
    rgb.insert(rgb.end(),
               {static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
                static_cast<std::uint8_t>(colour >> 16)});
  }
  if (!EncodePng(rgb.data(), width, height, 3, png)) {
    error = "the PNG encoder gave up (out of memory)";
    return false;
  }
  return true;
}
