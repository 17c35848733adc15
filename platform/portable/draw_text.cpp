// DrawTextA: one line from the rectangle's top-left corner, clipped to it, never wrapped.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "host/host.h"
#include "portable/hdc.h"
#include "portable/rgb565.h"
#include "portable/text_renderer.h"

namespace {

// No line longer than this can show on any surface; the rest is cut before rendering.
constexpr std::size_t kMaxChars = 512;

std::string_view TextOf(LPCSTR text, int count) {
  if (count == -1) return {text, strnlen(text, kMaxChars)};
  if (count < 0) return {};
  return {text, std::min<std::size_t>(static_cast<std::size_t>(count), strnlen(text, kMaxChars))};
}

// Paints the mask's cells inside the clip: ink in the text colour, the rest of each cell in
// the background colour when the mode is opaque.
void Paint(portable::PixelBuffer& target, const portable::TextMask& mask, const RECT& clip,
           const HDC__& dc) {
  const std::uint16_t ink = portable::ToRgb565(dc.textColor);
  const std::uint16_t paper = portable::ToRgb565(dc.backgroundColor);
  const bool opaque = dc.backgroundMode == OPAQUE;
  const std::int64_t left = std::max<std::int64_t>(clip.left, 0);
  const std::int64_t top = std::max<std::int64_t>(clip.top, 0);
  const std::int64_t right =
      std::min<std::int64_t>({std::int64_t{clip.left} + mask.width, clip.right, target.width});
  const std::int64_t bottom =
      std::min<std::int64_t>({std::int64_t{clip.top} + mask.height, clip.bottom, target.height});
  for (std::int64_t y = top; y < bottom; ++y) {
    const std::uint8_t* cells = mask.ink.data() + (y - clip.top) * mask.width;
    std::uint16_t* out = target.Row(static_cast<int>(y));
    for (std::int64_t x = left; x < right; ++x) {
      if (cells[x - clip.left] != 0) {
        out[x] = ink;
      } else if (opaque) {
        out[x] = paper;
      }
    }
  }
}

}  // namespace

int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT /*format*/) {
  if (dc == nullptr || !dc->live || text == nullptr || rect == nullptr) return 0;
  const std::string_view line = TextOf(text, count);
  if (line.empty()) return 0;
  host::Current().NoteText(line);
  const portable::TextMask& mask = portable::RenderedText(line);
  // Only the line's own rows are painted, however tall the rectangle.
  const std::int64_t bottom =
      std::min<std::int64_t>(std::int64_t{rect->top} + mask.height, rect->bottom);
  if (portable::PixelBuffer* target = portable::DrawTarget(dc, rect->top, bottom)) {
    Paint(*target, mask, *rect, *dc);
  }
  return mask.height;
}
