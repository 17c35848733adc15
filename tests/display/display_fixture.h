// Display tests: a fresh game in a scratch working directory of its own, holding solid
// scene pictures, with helpers to write bitmaps there and to read the presented frame back.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "display/display_device.h"
#include "display/sprite_loading.h"
#include "platform/platform.h"
#include "portable/module_resources.h"
#include "scene/scene_objects.h"
#include "support/fresh_game.h"
#include "support/scratch_dir.h"
#include "support/surface_pixels.h"

using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

struct Colour {
  std::uint8_t r = 0, g = 0, b = 0;
};
inline constexpr Colour kBlack = {0, 0, 0}, kBlue = {0, 0, 200}, kWhite = {255, 255, 255},
                        kRed = {255, 0, 0}, kGreen = {0, 255, 0};

// The raw 16-bit value a colour becomes: each channel truncated.
constexpr std::uint16_t Raw(Colour c) {
  return static_cast<std::uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}

class DisplayTest : public FreshGame {
 protected:
  void SetUp() override {
    FreshGame::SetUp();
    previous_ = std::filesystem::current_path();
    std::filesystem::create_directories(scratch_.Path("images"));
    std::filesystem::current_path(scratch_.Path(""));
    // Solid pictures: a blue arena, a white ball and a white paddle.
    WriteBitmap("images/arena2.bmp", 800, 600, [](int, int) { return kBlue; });
    WriteBitmap("images/example2.bmp", 88, 104, [](int, int) { return kWhite; });
    WriteBitmap("images/paddle4.bmp", 144, 32, [](int, int) { return kWhite; });
  }
  void TearDown() override {
    portable::ClearModuleResources();
    std::filesystem::current_path(previous_);
    FreshGame::TearDown();
  }

  // Writes a 24-bit bitmap file, relative to the scratch directory.
  void WriteBitmap(const std::string& path, int width, int height,
                   const std::function<Colour(int x, int y)>& colourAt) {
    SurfacePtr picture(SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_RGB24),
                       SDL_FreeSurface);
    ASSERT_TRUE(picture) << SDL_GetError();
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const Colour c = colourAt(x, y);
        std::memcpy(static_cast<std::uint8_t*>(picture->pixels) + y * picture->pitch + 3 * x, &c,
                    3);
      }
    }
    ASSERT_EQ(SDL_SaveBMP(picture.get(), path.c_str()), 0) << SDL_GetError();
  }
  void Start() {
    InitDisplay();
    LoadScene();
  }

  // The pixel of the last presented frame.
  std::uint16_t Shown(int x, int y) const {
    return host_.screen().at(static_cast<std::size_t>(y) * host_.screenWidth() + x);
  }
  // The presented pixels in `in` that are not `raw`: how many, and their bounding box.
  struct Area {
    int pixels = 0;
    RECT box;
  };
  Area Other(std::uint16_t raw, RECT in = {0, 0, 1024, 768}) const {
    Area found = {0, {in.right, in.bottom, -1, -1}};
    for (int y = in.top; y < in.bottom; ++y) {
      for (int x = in.left; x < in.right; ++x) {
        if (Shown(x, y) == raw) continue;
        ++found.pixels;
        found.box = {std::min<LONG>(found.box.left, x), std::min<LONG>(found.box.top, y),
                     std::max<LONG>(found.box.right, x + 1),
                     std::max<LONG>(found.box.bottom, y + 1)};
      }
    }
    return found;
  }

  ScratchDir scratch_;

 private:
  std::filesystem::path previous_;
};
