// GDI colours as the 16-bit RGB565 pixels of every surface.
#pragma once

#include <cstdint>

#include "host/rgb565.h"
#include "portable/gdi.h"

namespace portable {

constexpr std::uint16_t ToRgb565(COLORREF color) {
  return host::NarrowToRgb565({static_cast<std::uint8_t>(color & 0xFF),
                               static_cast<std::uint8_t>((color >> 8) & 0xFF),
                               static_cast<std::uint8_t>((color >> 16) & 0xFF)});
}

constexpr COLORREF FromRgb565(std::uint16_t pixel) {
  const host::Rgb888 rgb = host::WidenRgb565(pixel);
  return RGB(rgb.red, rgb.green, rgb.blue);
}

}  // namespace portable
