// Filling the sprites' surfaces from bitmap files: stretching, missing files, failures.
#include <gtest/gtest.h>

#include "display_fixture.h"
#include "game/frame_tick.h"
#include "game/game_state.h"

namespace {

constexpr Colour kYellow = {255, 255, 0}, kCyan = {0, 255, 255};

// Four quadrants of distinct colours, split at (splitX, splitY).
Colour Quadrant(int x, int y, int splitX, int splitY) {
  if (y < splitY) return x < splitX ? kRed : kGreen;
  return x < splitX ? kYellow : kCyan;
}

using SpriteLoadingTest = DisplayTest;

TEST_F(SpriteLoadingTest, CopyStretchesTheAskedRectangleSeparatelyInEachDirection) {
  WriteBitmap("quads.bmp", 40, 20, [](int x, int y) { return Quadrant(x, y, 20, 10); });
  Start();
  auto bitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, "quads.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  IDirectDrawSurface* surface = ball->GetSurface();
  // The lower-right quadrant alone, over all 88 x 104 pixels of the ball.
  EXPECT_EQ(CopyBitmapToSurface(surface, bitmap, 20, 10, 20, 10), DD_OK);
  EXPECT_EQ(PixelAt(surface, 0, 0), Raw(kCyan));
  EXPECT_EQ(PixelAt(surface, 87, 103), Raw(kCyan));
  // The whole of it: 40 x 20 over 88 x 104 puts the quadrant borders at x = 44 and y = 52.
  EXPECT_EQ(CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0), DD_OK);
  int wrong = 0;
  ASSERT_TRUE(ForEachPixel(surface, [&](int x, int y, std::uint16_t& pixel) {
    wrong += pixel != Raw(Quadrant(x, y, 44, 52));
  }));
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(CopyBitmapToSurface(nullptr, bitmap, 0, 0, 0, 0), E_FAIL);
  EXPECT_EQ(CopyBitmapToSurface(surface, nullptr, 0, 0, 0, 0), E_FAIL);
  DeleteObject(bitmap);
}

TEST_F(SpriteLoadingTest, ResourceIsUsedBeforeTheFileOfTheSameName) {
  // A 2 x 2, 24-bit packed DIB of green; rows are padded to four bytes.
  std::vector<std::uint8_t> dib = {40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24};
  dib.resize(40);
  for (int row = 0; row < 2; ++row) dib.insert(dib.end(), {0, 255, 0, 0, 255, 0, 0, 0});
  portable::AddBitmapResource("images/paddle4.bmp", dib);
  Start();
  EXPECT_EQ(PixelAt(paddle->GetSurface(), 143, 31), Raw(kGreen));
  EXPECT_EQ(PixelAt(ball->GetSurface(), 0, 0), Raw(kWhite));
}

// Which files are unusable is the reliability suite's; here, what the game does about one.
TEST_F(SpriteLoadingTest, AnUnloadablePaddleIsReportedAndTheGameStillPlays) {
  std::filesystem::remove("images/paddle4.bmp");
  Start();
  ASSERT_EQ(host_.debugLines(), std::vector<std::string>{"handle is null\n"});
  EXPECT_NE(paddle->GetSurface(), nullptr);
  EXPECT_EQ(paddle->GetWidth(), 144);
  QueueMouse(0, 1);
  for (int tick = 0; tick < 20; ++tick) FrameTick();
  EXPECT_TRUE(playing);
  EXPECT_EQ(host_.framesShown(), 21);  // the attract frame and twenty play frames
  EXPECT_EQ(Shown(512, 200), Raw(kBlue));
}

}  // namespace
