// Single pixels through a device context, converted between COLORREF and RGB565.
#include "portable/hdc.h"
#include "portable/rgb565.h"

COLORREF GetPixel(HDC dc, int x, int y) {
  const portable::PixelBuffer* target = portable::ReadTarget(dc);
  if (target == nullptr || !target->Contains(x, y)) return CLR_INVALID;
  return portable::FromRgb565(target->Row(y)[x]);
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
  portable::PixelBuffer* target = portable::DrawTarget(dc, y, std::int64_t{y} + 1);
  if (target == nullptr || !target->Contains(x, y)) return CLR_INVALID;
  const std::uint16_t pixel = portable::ToRgb565(color);
  target->Row(y)[x] = pixel;
  // The colour actually set, which the 16-bit format may have had to approximate.
  return portable::FromRgb565(pixel);
}
