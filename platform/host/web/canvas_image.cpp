#include "host/web/canvas_image.h"

#include <algorithm>

namespace host {
namespace {
constexpr int kBytesPerRgba = 4;
// Four times the game's screen on a side: a larger frame is refused before anything is
// allocated for it.
constexpr int kMostSide = 4096;

// One RGB565 pixel as 8-bit red, green, blue and opaque alpha, each channel's top bits
// repeated into its low ones so that white stays white.
void Rgb565ToRgba(std::uint16_t pixel, std::uint8_t* rgba) {
  const unsigned red = (pixel >> 11) & 0x1F;
  const unsigned green = (pixel >> 5) & 0x3F;
  const unsigned blue = pixel & 0x1F;
  rgba[0] = static_cast<std::uint8_t>(red << 3 | red >> 2);
  rgba[1] = static_cast<std::uint8_t>(green << 2 | green >> 4);
  rgba[2] = static_cast<std::uint8_t>(blue << 3 | blue >> 2);
  rgba[3] = 0xFF;
}

}  // namespace

ChangedRect CanvasImage::Update(const Frame& frame) {
  if (frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0 || frame.width > kMostSide ||
      frame.height > kMostSide ||
      frame.pitchBytes < frame.width * static_cast<int>(sizeof(std::uint16_t)) ||
      frame.pitchBytes % static_cast<int>(sizeof(std::uint16_t)) != 0) {
    return {};
  }
  if (frame.width != width_ || frame.height != height_) {
    width_ = frame.width;
    height_ = frame.height;
    last_.assign(static_cast<std::size_t>(width_) * height_, 0);
    rgba_.assign(last_.size() * kBytesPerRgba, 0);
    changeAll_ = true;
  }
  int top = height_;
  int bottom = -1;
  int left = width_;
  int right = -1;
  for (int row = 0; row < height_; ++row) {
    int rowLeft = 0;
    int rowRight = 0;
    if (!TakeRow(frame, row, rowLeft, rowRight)) continue;
    top = std::min(top, row);
    bottom = row;
    left = std::min(left, rowLeft);
    right = std::max(right, rowRight);
  }
  changeAll_ = false;
  if (bottom < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
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

bool CanvasImage::TakeRow(const Frame& frame, int row, int& left, int& right) {
  const auto* source =
      reinterpret_cast<const std::uint16_t*>(reinterpret_cast<const std::uint8_t*>(frame.pixels) +
                                             static_cast<std::size_t>(row) * frame.pitchBytes);
  std::uint16_t* kept = &last_[static_cast<std::size_t>(row) * width_];
  left = 0;
  right = width_ - 1;
  if (!changeAll_) {
    while (left < width_ && source[left] == kept[left]) ++left;
    if (left == width_) return false;
    while (source[right] == kept[right]) --right;
  }
  std::uint8_t* out = &rgba_[static_cast<std::size_t>(row) * width_ * kBytesPerRgba];
  for (int x = left; x <= right; ++x) {
    kept[x] = source[x];
    Rgb565ToRgba(kept[x], out + x * kBytesPerRgba);
  }
  return true;
}

}  // namespace host
