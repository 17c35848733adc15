// Conversions between GDI colours and the 16-bit RGB565 pixels of every surface.
#pragma once

#include <cstdint>

#include "portable/gdi.h"

namespace portable {

// Truncates each channel, as the display's own format conversion does, so that a
// colour and a bitmap pixel of that colour always give the same raw value.
constexpr std::uint16_t ToRgb565(COLORREF color) {
  const unsigned red = color & 0xFF;
  const unsigned green = (color >> 8) & 0xFF;
  const unsigned blue = (color >> 16) & 0xFF;
  return static_cast<std::uint16_t>(((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3));
}

// Widens each channel by repeating its top bits, so white stays 0xFFFFFF.
constexpr COLORREF FromRgb565(std::uint16_t pixel) {
  const unsigned red5 = (pixel >> 11) & 0x1F;
  const unsigned green6 = (pixel >> 5) & 0x3F;
  const unsigned blue5 = pixel & 0x1F;
  return RGB(static_cast<BYTE>((red5 << 3) | (red5 >> 2)),
             static_cast<BYTE>((green6 << 2) | (green6 >> 4)),
             static_cast<BYTE>((blue5 << 3) | (blue5 >> 2)));
}

}  // namespace portable
