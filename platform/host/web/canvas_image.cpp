#include "host/web/canvas_image.h"

#include <algorithm>

#include "host/picture_limits.h"
#include "host/rgb565.h"

namespace host {
namespace {
constexpr int kBytesPerRgba = 4;
constexpr std::uint8_t kOpaque = 0xFF;
}  // namespace

ChangedRect CanvasImage::Update(const Frame& frame) {
  if (!IsDrawable(frame)) return {};
  if (frame.width != width_ || frame.height != height_) {
    width_ = frame.width;
    height_ = frame.height;
    rgba_.assign(static_cast<std::size_t>(width_) * height_ * kBytesPerRgba, 0);
  }
  const ChangedRect changed = changes_.Take(frame);
  for (int row = changed.y; row < changed.y + changed.height; ++row) {
    if (!changes_.RowChanged(row)) continue;
    const std::uint16_t* source = frame.Row(row);
    std::uint8_t* out = &rgba_[static_cast<std::size_t>(row) * width_ * kBytesPerRgba];
    for (int x = changed.x; x < changed.x + changed.width; ++x) {
      const Rgb888 rgb = WidenRgb565(source[x]);
      std::uint8_t* pixel = out + x * kBytesPerRgba;
      pixel[0] = rgb.red;
      pixel[1] = rgb.green;
      pixel[2] = rgb.blue;
      pixel[3] = kOpaque;
    }
  }
  return changed;
}

const std::uint8_t* CanvasImage::Pixels(const ChangedRect& rect) {
  if (rect.x == 0 && rect.width == width_) {
    return rgba_.data() + static_cast<std::size_t>(rect.y) * width_ * kBytesPerRgba;
  }
  const std::size_t rowBytes = static_cast<std::size_t>(rect.width) * kBytesPerRgba;
  packed_.resize(rowBytes * rect.height);
  for (int row = 0; row < rect.height; ++row) {
    const std::size_t from =
        (static_cast<std::size_t>(rect.y + row) * width_ + rect.x) * kBytesPerRgba;
    std::copy_n(rgba_.data() + from, rowBytes, packed_.data() + row * rowBytes);
  }
  return packed_.data();
}

}  // namespace host
