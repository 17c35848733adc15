// Display tests: a fresh game in a scratch working directory of its own, with helpers to
// write bitmaps there and to read the presented frame and surfaces back.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/fresh_game.h"

struct Colour {
  std::uint8_t r = 0, g = 0, b = 0;
};
inline constexpr Colour kBlack = {0, 0, 0}, kBlue = {0, 0, 200}, kWhite = {255, 255, 255},
                        kRed = {255, 0, 0}, kGreen = {0, 255, 0};

// The raw 16-bit value a colour becomes: each channel truncated.
constexpr std::uint16_t Raw(Colour c) {
  return static_cast<std::uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}

// Fills a surface with one raw value, or reads one pixel of it, through Lock.
void Fill(IDirectDrawSurface* surface, std::uint16_t raw);
std::uint16_t PixelOf(IDirectDrawSurface* surface, int x, int y);

class DisplayTest : public FreshGame {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a 24-bit bitmap file, relative to the scratch directory.
  void WriteBitmap(const std::string& path, int width, int height,
                   const std::function<Colour(int x, int y)>& colourAt);
  void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
  // Writes solid pictures: a blue arena, a white ball and a white paddle.
  void WriteScenePictures();
  // Takes the display and loads the scene's pictures.
  void Start();

  // The pixel of the last presented frame.
  std::uint16_t Shown(int x, int y) const;
  // How many presented pixels in [left, right) x [top, bottom) are not `raw`.
  int CountOther(int left, int top, int right, int bottom, std::uint16_t raw) const;

  std::filesystem::path scratch_;

 private:
  std::filesystem::path previous_;
};
