#include "icon_image.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>

#include "ball_image.h"
#include "paddle_image.h"
#include "png_encode.h"

namespace {

constexpr int kSamples = 4;  // per pixel and axis: small icons keep smooth edges
constexpr std::array<float, 3> kTile = {22, 30, 58};
constexpr float kCornerRadius = 0.18f;  // of the icon's size
// A mask may keep no more than the circle of 0.4 of the size around the middle.
constexpr float kMaskableScale = 0.7f;

using Colour = std::array<float, 4>;  // premultiplied red, green, blue, and coverage

// Where a picture lands on the icon, in fractions of its size.
struct Box {
  float left, top, width, height;
};

Box Shrunk(const Box& box, float scale) {
  return {0.5f + (box.left - 0.5f) * scale, 0.5f + (box.top - 0.5f) * scale, box.width * scale,
          box.height * scale};
}

bool InsideTile(float x, float y) {
  const float r = kCornerRadius;
  const float cx = std::clamp(x, r, 1 - r);
  const float cy = std::clamp(y, r, 1 - r);
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

// The picture's colour at (x, y) of the icon; index 0 is transparent, as in the game.
bool PictureAt(const IndexedImage& picture, const Box& box, float x, float y, Colour& colour) {
  const float u = (x - box.left) / box.width;
  const float v = (y - box.top) / box.height;
  if (u < 0 || v < 0 || u >= 1 || v >= 1) return false;
  const std::uint8_t index = picture.IndexAt(static_cast<int>(u * picture.width()),
                                             static_cast<int>(v * picture.height()));
  if (index == 0) return false;
  const auto& rgb = picture.palette()[index];
  colour = {float(rgb[0]), float(rgb[1]), float(rgb[2]), 1};
  return true;
}

}  // namespace

IconImage DrawIcon(int size, bool maskable) {
  const IndexedImage ball = DrawBall();
  const IndexedImage paddle = DrawPaddle();
  // The ball keeps its own shape; the paddle is drawn thicker than in play, to read when small.
  const float scale = maskable ? kMaskableScale : 1;
  const Box ballBox = Shrunk({0.31f, 0.12f, 0.38f, 0.38f * 104 / 88}, scale);
  const Box paddleBox = Shrunk({0.12f, 0.7f, 0.76f, 0.17f}, scale);
  IconImage icon{size, std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size * 4)};
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      Colour sum = {0, 0, 0, 0};
      for (int s = 0; s < kSamples * kSamples; ++s) {
        const float x = (px + (s % kSamples + 0.5f) / kSamples) / size;
        const float y = (py + (s / kSamples + 0.5f) / kSamples) / size;
        if (!maskable && !InsideTile(x, y)) continue;
        Colour c = {kTile[0], kTile[1], kTile[2], 1};
        if (!PictureAt(ball, ballBox, x, y, c)) PictureAt(paddle, paddleBox, x, y, c);
        for (int i = 0; i < 4; ++i) sum[i] += c[i];
      }
      std::uint8_t* out = &icon.rgba[(static_cast<std::size_t>(py) * size + px) * 4];
      const float coverage = sum[3];
      for (int i = 0; i < 3; ++i) {
        out[i] = coverage > 0 ? static_cast<std::uint8_t>(std::lround(sum[i] / coverage)) : 0;
      }
      out[3] = static_cast<std::uint8_t>(std::lround(255 * coverage / (kSamples * kSamples)));
    }
  }
  return icon;
}

bool SavePng(const IconImage& icon, const std::string& path, std::string& error) {
  std::vector<std::uint8_t> png;
  if (!EncodePng(icon.rgba.data(), icon.size, icon.size, 4, png)) {
    error = path + ": the PNG encoder gave up (out of memory)";
    return false;
  }
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  if (!out.flush()) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}
