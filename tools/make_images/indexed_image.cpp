#include "indexed_image.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

std::uint8_t Channel(float value) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 255.0f)));
}

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

}  // namespace

IndexedImage::IndexedImage(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, 0) {}

void IndexedImage::AddRamp(const Ramp& ramp) {
  for (int i = 0; i < ramp.count; ++i) {
    const float t = ramp.count > 1 ? static_cast<float>(i) / (ramp.count - 1) : 0.0f;
    palette_[ramp.first + i] = {Channel(ramp.from.r + (ramp.to.r - ramp.from.r) * t),
                                Channel(ramp.from.g + (ramp.to.g - ramp.from.g) * t),
                                Channel(ramp.from.b + (ramp.to.b - ramp.from.b) * t)};
  }
}

void IndexedImage::Paint(int x, int y, const Ramp& ramp, float t) {
  const int step = static_cast<int>(std::lround(std::clamp(t, 0.0f, 1.0f) * (ramp.count - 1)));
  pixels_[Offset(x, y)] = static_cast<std::uint8_t>(ramp.first + step);
}

void IndexedImage::Clear(int x, int y) { pixels_[Offset(x, y)] = 0; }

bool IndexedImage::SaveBmp(const std::string& path, std::string& error) const {
  SurfacePtr surface(SDL_CreateRGBSurfaceWithFormat(0, width_, height_, 8, SDL_PIXELFORMAT_INDEX8),
                     SDL_FreeSurface);
  if (!surface) {
    error = SDL_GetError();
    return false;
  }
  SDL_Color colours[256];
  for (int i = 0; i < 256; ++i) {
    colours[i] = {palette_[i][0], palette_[i][1], palette_[i][2], 255};
  }
  SDL_SetPaletteColors(surface->format->palette, colours, 0, 256);
  auto* row = static_cast<std::uint8_t*>(surface->pixels);
  for (int y = 0; y < height_; ++y, row += surface->pitch) {
    std::memcpy(row, &pixels_[Offset(0, y)], static_cast<std::size_t>(width_));
  }
  if (SDL_SaveBMP(surface.get(), path.c_str()) != 0) {
    error = path + ": " + SDL_GetError();
    return false;
  }
  return true;
}
