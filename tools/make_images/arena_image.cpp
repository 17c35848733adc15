#include "arena_image.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
// The screen the arena is stretched over, and the rules' walls on it.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kLeftWall = 28;
constexpr int kRightWall = 996;
constexpr int kCeiling = 28;

constexpr Ramp kField = {1, 111, {4, 6, 22}, {30, 44, 104}};
constexpr Ramp kSteel = {112, 112, {22, 26, 40}, {176, 188, 210}};
constexpr Ramp kEdge = {224, 32, {40, 120, 200}, {170, 240, 255}};

// Where the walls meet the field, in source pixels.
struct Walls {
  int fieldLeft;   // first field column
  int fieldRight;  // first wall column on the right
  int fieldTop;    // first field row
};

Walls WallsInSource() {
  return {SourceOf(kLeftWall, kWidth, kScreenWidth), SourceOf(kRightWall, kWidth, kScreenWidth),
          SourceOf(kCeiling, kHeight, kScreenHeight)};
}

// Depth into the nearest wall from its face (0 at the face), or -1 in the field; in a
// corner the nearer face decides, giving a mitred joint.
int WallDepth(const Walls& walls, int x, int y) {
  constexpr int kNoWall = -1;
  int depth = kNoWall;
  const auto nearer = [&depth](int d) { depth = depth == kNoWall ? d : std::min(depth, d); };
  if (x < walls.fieldLeft) nearer(walls.fieldLeft - 1 - x);
  if (x >= walls.fieldRight) nearer(x - walls.fieldRight);
  if (y < walls.fieldTop) nearer(walls.fieldTop - 1 - y);
  return depth;
}

void PaintWall(IndexedImage& image, int x, int y, int depth, int along) {
  constexpr int kEdgeWidth = 2;
  constexpr int kPanel = 64;
  if (depth < kEdgeWidth) {
    image.Paint(x, y, kEdge, depth == 0 ? 1.0f : 0.55f);
    return;
  }
  // A bevelled steel bar: bright just behind the glowing edge, darker towards the screen edge.
  const float bevel = std::exp(-static_cast<float>(depth - kEdgeWidth) / 7.0f);
  float shade = 0.25f + 0.6f * bevel;
  const int seam = along % kPanel;
  if (seam == 0) shade = 0.08f;
  if (seam == 1) shade = std::min(1.0f, shade + 0.25f);
  image.Paint(x, y, kSteel, shade);
}

// An ordered-dither offset of up to half a 16-bit colour step (about ten palette steps),
// so that the gentle field gradient shows no bands on the 16-bit screen.
float Dither(int x, int y) {
  constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return (static_cast<float>(kBayer[y % 4][x % 4]) + 0.5f) / 16.0f - 0.5f;
}

void PaintField(IndexedImage& image, const Walls& walls, int x, int y) {
  constexpr int kGrid = 40;
  const float depth = static_cast<float>(y) / kHeight;
  float shade = 0.32f - 0.24f * depth;
  const bool gridLine =
      (x - walls.fieldLeft) % kGrid == kGrid / 2 || (y - walls.fieldTop) % kGrid == 0;
  if (gridLine) shade += 0.12f;
  // A soft glow where the field meets the walls.
  const int distance =
      std::min({x - walls.fieldLeft, walls.fieldRight - 1 - x, y - walls.fieldTop});
  shade += 0.45f * std::exp(-static_cast<float>(distance) / 6.0f);
  constexpr float kDitherSteps = 10.0f;
  shade += kDitherSteps * Dither(x, y) / static_cast<float>(kField.count - 1);
  image.Paint(x, y, kField, shade);
}

}  // namespace

int SourceOf(int screen, int sourceSize, int screenSize) {
  // Each screen pixel takes the source pixel under its centre.
  return static_cast<int>((2LL * screen + 1) * sourceSize / (2LL * screenSize));
}

IndexedImage DrawArena() {
  IndexedImage image(kWidth, kHeight);
  image.AddRamp(kField);
  image.AddRamp(kSteel);
  image.AddRamp(kEdge);
  const Walls walls = WallsInSource();
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int depth = WallDepth(walls, x, y);
      if (depth < 0) {
        PaintField(image, walls, x, y);
      } else {
        const bool side = x < walls.fieldLeft || x >= walls.fieldRight;
        PaintWall(image, x, y, depth, side && y >= walls.fieldTop ? y : x);
      }
    }
  }
  return image;
}
