// Where the ball and the paddle are, read from a whole 1024 x 768 screen by their colours.
#pragma once

#include <optional>

#include "row_watch.h"

namespace soak {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

struct Box {
  int left, top, right, bottom;  // inclusive
  int centreX() const { return (left + right) / 2; }
  bool operator==(const Box&) const = default;
};

// The ball: its orange and red shades, which nothing else on the screen has.
std::optional<Box> FindBall(const probe::Rows& screen);
// The middle of the paddle's green stripe, which is the paddle's own middle.
std::optional<int> FindPaddleCentre(const probe::Rows& screen);

}  // namespace soak
