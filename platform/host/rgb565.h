// RGB565 pixels, the game's one pixel format, to and from 8-bit channels.
#pragma once

#include <cstdint>

namespace host {

struct Rgb888 {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

// Repeats each channel's top bits into its low ones, so that full intensity stays full.
constexpr Rgb888 WidenRgb565(std::uint16_t pixel) {
  const unsigned red = (pixel >> 11) & 0x1F;
  const unsigned green = (pixel >> 5) & 0x3F;
  const unsigned blue = pixel & 0x1F;
  return {static_cast<std::uint8_t>(red << 3 | red >> 2),
          static_cast<std::uint8_t>(green << 2 | green >> 4),
          static_cast<std::uint8_t>(blue << 3 | blue >> 2)};
}

// Truncates each channel, as a display's own conversion does, so that a colour and a
// picture's pixel of that colour always give the same value.
constexpr std::uint16_t NarrowToRgb565(Rgb888 colour) {
  return static_cast<std::uint16_t>((colour.red >> 3) << 11 | (colour.green >> 2) << 5 |
                                    colour.blue >> 3);
}

}  // namespace host
