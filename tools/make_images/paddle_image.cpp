#include "paddle_image.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWidth = 144;
constexpr int kHeight = 32;
constexpr int kCornerRadius = 10;
constexpr int kBevel = 3;

constexpr Ramp kMetal = {1, 159, {14, 34, 60}, {210, 242, 255}};
constexpr Ramp kStripe = {160, 96, {20, 90, 40}, {170, 255, 140}};

// Whether the pixel's centre lies inside the rounded rectangle.
bool Inside(int x, int y) {
  const float cx = std::clamp(x + 0.5f, static_cast<float>(kCornerRadius),
                              static_cast<float>(kWidth - kCornerRadius));
  const float cy = std::clamp(y + 0.5f, static_cast<float>(kCornerRadius),
                              static_cast<float>(kHeight - kCornerRadius));
  const float dx = x + 0.5f - cx;
  const float dy = y + 0.5f - cy;
  return dx * dx + dy * dy <= static_cast<float>(kCornerRadius * kCornerRadius);
}

// Distance to the nearest transparent pixel, counted along the four directions.
int EdgeDistance(int x, int y, int& fromTopOrLeft) {
  int up = 0, left = 0, down = 0, right = 0;
  while (up < kBevel && y - up - 1 >= 0 && Inside(x, y - up - 1)) ++up;
  while (left < kBevel && x - left - 1 >= 0 && Inside(x - left - 1, y)) ++left;
  while (down < kBevel && y + down + 1 < kHeight && Inside(x, y + down + 1)) ++down;
  while (right < kBevel && x + right + 1 < kWidth && Inside(x + right + 1, y)) ++right;
  fromTopOrLeft = std::min(up, left) <= std::min(down, right) ? 1 : 0;
  return std::min({up, left, down, right});
}

void PaintInside(IndexedImage& image, int x, int y) {
  int lit = 0;
  const int edge = EdgeDistance(x, y, lit);
  if (edge < kBevel) {
    image.Paint(x, y, kMetal, lit ? 0.95f - 0.1f * edge : 0.12f + 0.08f * edge);
    return;
  }
  // A lit tube across the bar, with a glowing stripe along its middle.
  const float across = (y + 0.5f) / kHeight;
  const bool stripe = std::abs(y + 0.5f - kHeight / 2.0f) < 2.5f && x > 20 && x < kWidth - 20;
  if (stripe) {
    image.Paint(x, y, kStripe, 1.0f - std::abs(y + 0.5f - kHeight / 2.0f) / 3.0f);
    return;
  }
  image.Paint(x, y, kMetal, 0.75f - 0.6f * std::abs(across - 0.3f));
}

}  // namespace

IndexedImage DrawPaddle() {
  IndexedImage image(kWidth, kHeight);
  image.AddRamp(kMetal);
  image.AddRamp(kStripe);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (Inside(x, y)) PaintInside(image, x, y);
    }
  }
  return image;
}
