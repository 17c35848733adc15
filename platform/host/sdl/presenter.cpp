#include "host/sdl/presenter.h"

#include <cstdint>

namespace host {
namespace {
constexpr int kLargestSide = 16384;  // beyond any screen; keeps every size product in range
}  // namespace

bool IsDrawable(const Frame& frame) {
  return frame.pixels != nullptr && frame.width > 0 && frame.height > 0 &&
         frame.width <= kLargestSide && frame.height <= kLargestSide && frame.pitchBytes % 2 == 0 &&
         frame.pitchBytes >= frame.width * static_cast<int>(sizeof(std::uint16_t));
}

}  // namespace host
