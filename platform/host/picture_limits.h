// How large a picture any layer takes: surfaces, bitmap files and frames share one limit.
#pragma once

#include <cstdint>

#include "host/host.h"

namespace host {

// Beyond any screen the game draws on; keeps every size product in range. The fuzz build
// lowers the pixel count, so that a tiny run-length file cannot make every input a
// 16-million-pixel decode.
#ifndef PADDLEBALL_MOST_PICTURE_PIXELS
#define PADDLEBALL_MOST_PICTURE_PIXELS (std::int64_t{4096} * 4096)
#endif
constexpr int kLargestPictureSide = 8192;
constexpr std::int64_t kMostPicturePixels = PADDLEBALL_MOST_PICTURE_PIXELS;

// The one size check of every picture, surface, bitmap file and frame: both sides positive,
// neither longer than the longest side, and no more pixels than the most.
constexpr bool FitsPictureLimits(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kLargestPictureSide && height <= kLargestPictureSide &&
         width * height <= kMostPicturePixels;
}

// Frames with a size or pitch no screen could show are refused before any work is done.
inline bool IsDrawable(const Frame& frame) {
  return frame.pixels != nullptr && FitsPictureLimits(frame.width, frame.height) &&
         frame.pitchBytes % 2 == 0 &&
         frame.pitchBytes >= frame.width * static_cast<int>(sizeof(std::uint16_t));
}

}  // namespace host
