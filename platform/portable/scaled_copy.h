// A surface's picture kept ready at the size it is drawn: the sprites are stretched to the
// same rectangles frame after frame, so each is scaled once and then copied row by row.
#pragma once

#include <cstdint>

#include "portable/pixel_buffer.h"
#include "portable/row_origins.h"
#include "portable/win32.h"

namespace portable {

class ScaledCopy {
 public:
  // Larger targets are scaled on every draw rather than kept.
  static constexpr std::int64_t kMaxPixels = 2048 * 2048;
  static_assert(kMaxPixels <= RowOrigins::kMostRows, "every kept row has an origin");

  // `from` of `source` scaled to width x height, made again only when the source has changed
  // (its generation differs) or another rectangle or size is asked for. Null when the
  // request is too large to keep or `from` reaches outside the source.
  const PixelBuffer* Get(const PixelBuffer& source, std::uint64_t generation, const RECT& from,
                         std::int64_t width, std::int64_t height);
  // The number of the contents Get last returned, new each time it was made again.
  std::uint64_t contents() const { return contents_; }

 private:
  PixelBuffer pixels_;
  RECT from_{};
  std::uint64_t generation_ = 0;
  std::uint64_t contents_ = 0;
  bool valid_ = false;
};

}  // namespace portable
