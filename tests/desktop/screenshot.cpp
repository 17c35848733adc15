#include "screenshot.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>

#include "child_process.h"

namespace desktop_test {
namespace {
constexpr auto kCaptureLimit = std::chrono::seconds(10);
constexpr std::uint8_t kFull = 0xFF;
}  // namespace

std::optional<Screenshot> Screenshot::Capture(const std::string& display,
                                              const std::string& scratch, int width, int height) {
  const std::string path = scratch + "/screen.rgb";
  const auto ended =
      RunToEnd({"import", "-display", display, "-window", "root", "-depth", "8", "rgb:" + path}, {},
               std::chrono::duration_cast<std::chrono::milliseconds>(kCaptureLimit));
  if (!ended.has_value() || *ended != 0) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  Screenshot shot;
  shot.width_ = width;
  shot.rgb_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (shot.rgb_.size() != static_cast<std::size_t>(width) * height * 3) return std::nullopt;
  return shot;
}

int Screenshot::CountWhite(const Area& area) const {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const std::uint8_t* pixel = At(x, y);
      count += pixel[0] == kFull && pixel[1] == kFull && pixel[2] == kFull;
    }
  }
  return count;
}

int Screenshot::CountColoured(const Area& area) const {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const std::uint8_t* pixel = At(x, y);
      const bool black = pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
      const bool white = pixel[0] == kFull && pixel[1] == kFull && pixel[2] == kFull;
      count += !black && !white;
    }
  }
  return count;
}

int Screenshot::RightmostDifference(const Screenshot& other, const Area& area) const {
  for (int x = area.right - 1; x >= area.left; --x) {
    for (int y = area.top; y < area.bottom; ++y) {
      if (std::memcmp(At(x, y), other.At(x, y), 3) != 0) return x;
    }
  }
  return -1;
}

}  // namespace desktop_test
