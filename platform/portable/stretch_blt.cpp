// StretchBlt: a rectangle of one context's pixels scaled over a rectangle of another's.
#include <cstdint>
#include <optional>

#include "portable/hdc.h"
#include "portable/scaled_blit.h"

namespace {

// The rectangle (x, y, width, height) as edges, when its far edges fit a LONG.
std::optional<RECT> Edges(int x, int y, int width, int height) {
  constexpr std::int64_t kLongMax = 0x7FFFFFFF;
  const std::int64_t right = std::int64_t{x} + width;
  const std::int64_t bottom = std::int64_t{y} + height;
  if (right > kLongMax || bottom > kLongMax) return std::nullopt;
  return RECT{x, y, static_cast<LONG>(right), static_cast<LONG>(bottom)};
}

}  // namespace

BOOL StretchBlt(HDC dest, int xDest, int yDest, int wDest, int hDest, HDC src, int xSrc, int ySrc,
                int wSrc, int hSrc, DWORD rop) {
  // Mirroring by negative extents is not offered; nothing the game draws needs it.
  if (rop != SRCCOPY || wDest <= 0 || hDest <= 0 || wSrc <= 0 || hSrc <= 0) return FALSE;
  const std::optional<RECT> to = Edges(xDest, yDest, wDest, hDest);
  const std::optional<RECT> from = Edges(xSrc, ySrc, wSrc, hSrc);
  if (!to || !from) return FALSE;
  const portable::PixelBuffer* source = portable::ReadTarget(src);
  portable::PixelBuffer* target = portable::DrawTarget(dest, to->top, to->bottom);
  if (target == nullptr || source == nullptr) return FALSE;
  portable::ScaledBlit(*target, *to, *source, *from, nullptr);
  return TRUE;
}
