// What a device context is inside the portable layer: a pixel target and GDI's drawing state.
#pragma once

#include "portable/gdi.h"
#include "portable/pixel_buffer.h"
#include "portable/row_origins.h"

struct HDC__ {
  // Where drawing lands; null for a context that draws nowhere (a window's, an empty memory one).
  portable::PixelBuffer* target = nullptr;
  // A surface's record of its rows' origins, where the rows drawn on are forgotten.
  portable::RowOrigins* origins = nullptr;
  // False once the context is released or deleted; a stale handle then draws nothing.
  bool live = true;
  bool memory = false;
  HGDIOBJ selected = nullptr;
  COLORREF backgroundColor = RGB(255, 255, 255);
  int backgroundMode = OPAQUE;
  COLORREF textColor = RGB(0, 0, 0);
};

namespace portable {

// The pixels a context reads now, or null when it has none.
inline const PixelBuffer* ReadTarget(HDC dc) {
  if (dc == nullptr || !dc->live) return nullptr;
  return dc->target;
}

// The pixels a context draws into now, rows [top, bottom) of them, or null when it draws
// nowhere.
inline PixelBuffer* DrawTarget(HDC dc, std::int64_t top, std::int64_t bottom) {
  if (dc == nullptr || !dc->live || dc->target == nullptr) return nullptr;
  if (dc->origins != nullptr) dc->origins->Forget(top, bottom);
  return dc->target;
}

}  // namespace portable
