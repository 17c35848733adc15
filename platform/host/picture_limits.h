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

// Frames with a size or pitch no screen could show are refused before any work is done.
inline bool IsDrawable(const Frame& frame) {
  return frame.pixels != nullptr && frame.width > 0 && frame.height > 0 &&
         frame.width <= kLargestPictureSide && frame.height <= kLargestPictureSide &&
         std::int64_t{frame.width} * frame.height <= kMostPicturePixels &&
         frame.pitchBytes % 2 == 0 &&
         frame.pitchBytes >= frame.width * static_cast<int>(sizeof(std::uint16_t));
}

}  // namespace host
