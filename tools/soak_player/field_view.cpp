#include "field_view.h"

#include <algorithm>
#include <cstdint>

namespace soak {
namespace {

constexpr int kCeiling = 28;
constexpr int kColumnStep = 2;  // every other column: the ball is 88 wide
// The paddle's rows, wherever the stripe falls within them.
constexpr int kPaddleTop = 636;
constexpr int kPaddleBottom = 668;
constexpr int kDominance = 30;  // how far one channel must lead the others

int Red(std::uint32_t p) { return (p >> 16) & 0xFF; }
int Green(std::uint32_t p) { return (p >> 8) & 0xFF; }
int Blue(std::uint32_t p) { return p & 0xFF; }

// The arena and the paddle's metal are blue, the text white: only the ball leans to red.
bool BallColour(std::uint32_t p) { return Red(p) >= Green(p) && Red(p) > Blue(p) + kDominance; }

bool StripeColour(std::uint32_t p) {
  return Green(p) > Red(p) + kDominance && Green(p) > Blue(p) + kDominance;
}

bool WholeScreen(const probe::Rows& screen) {
  return screen.size() == static_cast<std::size_t>(kScreenWidth) * kScreenHeight;
}

}  // namespace

std::optional<Box> FindBall(const probe::Rows& screen) {
  if (!WholeScreen(screen)) return std::nullopt;
  Box box = {kScreenWidth, kScreenHeight, -1, -1};
  for (int y = kCeiling; y < kScreenHeight; ++y) {
    const std::uint32_t* row = &screen[static_cast<std::size_t>(y) * kScreenWidth];
    for (int x = 0; x < kScreenWidth; x += kColumnStep) {
      if (!BallColour(row[x])) continue;
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
             std::max(box.bottom, y)};
    }
  }
  if (box.right < 0) return std::nullopt;
  return box;
}

std::optional<int> FindPaddleCentre(const probe::Rows& screen) {
  if (!WholeScreen(screen)) return std::nullopt;
  int left = kScreenWidth, right = -1;
  for (int y = kPaddleTop; y < kPaddleBottom; ++y) {
    const std::uint32_t* row = &screen[static_cast<std::size_t>(y) * kScreenWidth];
    for (int x = 0; x < kScreenWidth; ++x) {
      if (!StripeColour(row[x])) continue;
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  if (right < 0) return std::nullopt;
  return (left + right) / 2;
}

}  // namespace soak
