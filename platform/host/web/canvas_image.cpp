#include "host/web/canvas_image.h"

#include <cstring>

namespace host {
namespace {
constexpr int kBytesPerRgba = 4;
constexpr int kMostSide = 1 << 14;  // a canvas cannot be larger; refuse before allocating
}  // namespace

void Rgb565ToRgba(std::uint16_t pixel, std::uint8_t* rgba) {
  const unsigned red = (pixel >> 11) & 0x1F;
  const unsigned green = (pixel >> 5) & 0x3F;
  const unsigned blue = pixel & 0x1F;
  rgba[0] = static_cast<std::uint8_t>(red << 3 | red >> 2);
  rgba[1] = static_cast<std::uint8_t>(green << 2 | green >> 4);
  rgba[2] = static_cast<std::uint8_t>(blue << 3 | blue >> 2);
  rgba[3] = 0xFF;
}

ChangedRows CanvasImage::Update(const Frame& frame) {
  if (frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0 || frame.width > kMostSide ||
      frame.height > kMostSide ||
      frame.pitchBytes < frame.width * static_cast<int>(sizeof(std::uint16_t))) {
    return {};
  }
  const bool resized = frame.width != width_ || frame.height != height_;
  if (resized) {
    width_ = frame.width;
    height_ = frame.height;
    last_.assign(static_cast<std::size_t>(width_) * height_, 0);
    rgba_.assign(last_.size() * kBytesPerRgba, 0);
  }
  int first = -1;
  int last = -1;
  for (int row = 0; row < height_; ++row) {
    if (!resized && SameRow(frame, row)) continue;
    ConvertRow(frame, row);
    if (first < 0) first = row;
    last = row;
  }
  if (first < 0) return {};
  return {first, last - first + 1};
}

bool CanvasImage::SameRow(const Frame& frame, int row) const {
  const auto* source = reinterpret_cast<const std::uint8_t*>(frame.pixels) +
                       static_cast<std::size_t>(row) * frame.pitchBytes;
  return std::memcmp(source, &last_[static_cast<std::size_t>(row) * width_],
                     static_cast<std::size_t>(width_) * sizeof(std::uint16_t)) == 0;
}

void CanvasImage::ConvertRow(const Frame& frame, int row) {
  const auto* source = reinterpret_cast<const std::uint8_t*>(frame.pixels) +
                       static_cast<std::size_t>(row) * frame.pitchBytes;
  std::uint16_t* kept = &last_[static_cast<std::size_t>(row) * width_];
  std::memcpy(kept, source, static_cast<std::size_t>(width_) * sizeof(std::uint16_t));
  std::uint8_t* out = &rgba_[static_cast<std::size_t>(row) * width_ * kBytesPerRgba];
  for (int x = 0; x < width_; ++x) Rgb565ToRgba(kept[x], out + x * kBytesPerRgba);
}

}  // namespace host
