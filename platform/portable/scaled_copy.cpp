#include "portable/scaled_copy.h"

#include "portable/scaled_blit.h"

namespace portable {

const PixelBuffer* ScaledCopy::Get(const PixelBuffer& source, std::uint64_t generation,
                                   const RECT& from, std::int64_t width, std::int64_t height) {
  const bool inside = from.left >= 0 && from.top >= 0 && from.right <= source.width &&
                      from.bottom <= source.height && from.left < from.right &&
                      from.top < from.bottom;
  if (!inside || width <= 0 || height <= 0 || width * height > kMaxPixels) return nullptr;
  const bool current = valid_ && generation_ == generation && pixels_.width == width &&
                       pixels_.height == height && from_.left == from.left &&
                       from_.top == from.top && from_.right == from.right &&
                       from_.bottom == from.bottom;
  if (!current) {
    pixels_ = PixelBuffer(static_cast<int>(width), static_cast<int>(height));
    ScaledBlit(pixels_, RECT{0, 0, pixels_.width, pixels_.height}, source, from, nullptr);
    from_ = from;
    generation_ = generation;
    contents_ = RowOrigins::NewContents();
    valid_ = true;
  }
  return &pixels_;
}

}  // namespace portable
