// Fitting the picture to a screen, and naming keys as the window procedure expects them.
#include <gtest/gtest.h>

#include "host/sdl/placement.h"
#include "host/sdl/virtual_keys.h"

namespace host {
namespace {

TEST(FitPicture, KeepsTheAspectCentresAndKnowsWholeScales) {
  const Placement wide = FitPicture(1024, 768, 2560, 1440);
  EXPECT_EQ(wide.width, 1920);
  EXPECT_EQ(wide.height, 1440);
  EXPECT_EQ(wide.x, 320);
  EXPECT_FALSE(wide.wholeScale);

  const Placement tall = FitPicture(1024, 768, 1024, 1280);
  EXPECT_EQ(tall.height, 768);
  EXPECT_EQ(tall.y, 256);
  EXPECT_TRUE(tall.wholeScale);

  EXPECT_TRUE(FitPicture(1024, 768, 3000, 1536).wholeScale);  // 2x, bars left and right
  EXPECT_EQ(FitPicture(1024, 768, 0, 768).width, 0);
  EXPECT_EQ(FitPicture(0, 768, 1024, 768).width, 0);
}

TEST(VirtualKeyFor, GivesWin32CodesAndSomeCodeForEveryKey) {
  EXPECT_EQ(VirtualKeyFor(SDLK_ESCAPE), 0x1Bu);
  EXPECT_EQ(VirtualKeyFor(SDLK_z), static_cast<std::uint32_t>('Z'));
  EXPECT_EQ(VirtualKeyFor(SDLK_9), static_cast<std::uint32_t>('9'));
  EXPECT_EQ(VirtualKeyFor(SDLK_F12), 0x7Bu);
  EXPECT_EQ(VirtualKeyFor(SDLK_F13), 0x7Cu);
  EXPECT_EQ(VirtualKeyFor(SDLK_LEFT), 0x25u);
  EXPECT_EQ(VirtualKeyFor(SDLK_KP_ENTER), 0x0Du);
  EXPECT_EQ(VirtualKeyFor(SDLK_KP_0), 0x60u);
  EXPECT_EQ(VirtualKeyFor(SDLK_KP_9), 0x69u);
  EXPECT_EQ(VirtualKeyFor(SDLK_AUDIOPLAY), kUnknownKey);
}

}  // namespace
}  // namespace host
