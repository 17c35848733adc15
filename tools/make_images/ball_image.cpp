#include "ball_image.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWidth = 88;
constexpr int kHeight = 104;

// Every colour keeps a channel well above what 16-bit conversion rounds to black.
constexpr Ramp kBody = {1, 191, {72, 14, 10}, {255, 150, 40}};
constexpr Ramp kShine = {192, 64, {236, 134, 36}, {255, 250, 236}};

struct Normal {
  float x, y, z;
};

// The surface normal of the ellipsoid under the pixel's centre, or false outside it.
bool NormalAt(int x, int y, Normal& normal) {
  const float rx = kWidth / 2.0f;
  const float ry = kHeight / 2.0f;
  normal.x = (x + 0.5f - rx) / rx;
  normal.y = (y + 0.5f - ry) / ry;
  const float flat = normal.x * normal.x + normal.y * normal.y;
  if (flat > 1.0f) return false;
  normal.z = std::sqrt(1.0f - flat);
  return true;
}

}  // namespace

IndexedImage DrawBall() {
  const Normal light = {-0.48f, -0.58f, 0.66f};  // from the upper left, towards the viewer
  IndexedImage image(kWidth, kHeight);
  image.AddRamp(kBody);
  image.AddRamp(kShine);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      Normal n;
      if (!NormalAt(x, y, n)) continue;
      const float diffuse = std::max(0.0f, n.x * light.x + n.y * light.y + n.z * light.z);
      // Reflection of the light about the normal, seen from straight ahead.
      const float reflected = 2.0f * diffuse * n.z - light.z;
      const float shine = std::pow(std::max(0.0f, reflected), 24.0f);
      if (shine > 0.02f) {
        image.Paint(x, y, kShine, shine);
      } else {
        image.Paint(x, y, kBody, 0.1f + 0.9f * diffuse);
      }
    }
  }
  return image;
}
