// Filling the sprites' surfaces from bitmap files: stretching, missing files, failures.
#include <gtest/gtest.h>

#include <algorithm>

#include "display/display_device.h"
#include "display/sprite_loading.h"
#include "display_fixture.h"
#include "game/frame_tick.h"
#include "game/game_state.h"
#include "portable/module_resources.h"
#include "scene/scene_objects.h"

namespace {

constexpr Colour kBlue = {0, 0, 200};
constexpr Colour kWhite = {255, 255, 255};
constexpr Colour kRed = {255, 0, 0};
constexpr Colour kGreen = {0, 255, 0};
constexpr Colour kYellow = {255, 255, 0};
constexpr Colour kCyan = {0, 255, 255};

// Four quadrants of distinct colours, split at (splitX, splitY).
Colour Quadrant(int x, int y, int splitX, int splitY) {
  if (y < splitY) return x < splitX ? kRed : kGreen;
  return x < splitX ? kYellow : kCyan;
}

using SpriteLoadingTest = DisplayTest;

TEST_F(SpriteLoadingTest, SmallerFileIsStretchedSeparatelyInEachDirection) {
  WriteScenePictures(kBlue, kWhite, kWhite);
  WriteBitmap("images/paddle4.bmp", 100, 50, [](int x, int y) { return Quadrant(x, y, 50, 25); });
  InitDisplay();
  LoadScene();
  IDirectDrawSurface* surface = paddle->GetSurface();
  ASSERT_NE(surface, nullptr);
  // 100 x 50 over 144 x 32: the quadrant borders land at x = 72 and y = 16.
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 144; ++x) {
      ASSERT_EQ(PixelOf(surface, x, y), Raw(Quadrant(x, y, 72, 16))) << x << "," << y;
    }
  }
}

TEST_F(SpriteLoadingTest, CopyTakesOnlyTheAskedRectangleOverTheWholeSurface) {
  WriteScenePictures(kBlue, kWhite, kWhite);
  WriteBitmap("quads.bmp", 40, 20, [](int x, int y) { return Quadrant(x, y, 20, 10); });
  InitDisplay();
  LoadScene();
  auto bitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, "quads.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  ASSERT_NE(bitmap, nullptr);
  IDirectDrawSurface* surface = ball->GetSurface();
  // The lower-right quadrant alone, stretched over all 88 x 104 pixels of the ball.
  EXPECT_EQ(CopyBitmapToSurface(surface, bitmap, 20, 10, 20, 10), DD_OK);
  EXPECT_EQ(PixelOf(surface, 0, 0), Raw(kCyan));
  EXPECT_EQ(PixelOf(surface, 87, 103), Raw(kCyan));
  EXPECT_EQ(CopyBitmapToSurface(surface, bitmap, 0, 0, 0, 0), DD_OK);
  EXPECT_EQ(PixelOf(surface, 0, 0), Raw(kRed));
  EXPECT_EQ(PixelOf(surface, 87, 103), Raw(kCyan));
  EXPECT_EQ(CopyBitmapToSurface(nullptr, bitmap, 0, 0, 0, 0), E_FAIL);
  EXPECT_EQ(CopyBitmapToSurface(surface, nullptr, 0, 0, 0, 0), E_FAIL);
  DeleteObject(bitmap);
}

// A 2 x 2, 24-bit packed DIB of one colour, as a bitmap resource holds it.
std::vector<std::uint8_t> SolidDib(Colour c) {
  std::vector<std::uint8_t> dib(40, 0);
  dib[0] = 40;
  dib[4] = 2;   // width
  dib[8] = 2;   // height
  dib[12] = 1;  // planes
  dib[14] = 24;
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 2; ++x) dib.insert(dib.end(), {c.b, c.g, c.r});
    dib.insert(dib.end(), {0, 0});  // rows are padded to four bytes
  }
  return dib;
}

TEST_F(SpriteLoadingTest, ResourceIsUsedBeforeTheFileOfTheSameName) {
  WriteScenePictures(kBlue, kWhite, kRed);
  portable::AddBitmapResource("images/paddle4.bmp", SolidDib(kGreen));
  InitDisplay();
  LoadScene();
  portable::ClearModuleResources();
  EXPECT_EQ(PixelOf(paddle->GetSurface(), 0, 0), Raw(kGreen));
  EXPECT_EQ(PixelOf(paddle->GetSurface(), 143, 31), Raw(kGreen));
  EXPECT_EQ(PixelOf(ball->GetSurface(), 0, 0), Raw(kWhite));
}

TEST_F(SpriteLoadingTest, MissingPaddleFileIsReportedAndTheGameStillPlays) {
  WriteScenePictures(kBlue, kWhite, kWhite);
  std::filesystem::remove("images/paddle4.bmp");
  InitDisplay();
  LoadScene();
  ASSERT_EQ(host_.debugLines(), std::vector<std::string>{"handle is null\n"});
  EXPECT_NE(paddle->GetSurface(), nullptr);
  EXPECT_EQ(paddle->GetWidth(), 144);
  QueueMouse(0, 1);
  for (int tick = 0; tick < 20; ++tick) FrameTick();
  EXPECT_TRUE(playing);
  EXPECT_FALSE(attractMode);
  EXPECT_EQ(host_.framesShown(), 21);  // the attract frame and twenty play frames
  EXPECT_EQ(Shown(512, 200), Raw(kBlue));
}

TEST_F(SpriteLoadingTest, SizeIsStoredEvenWhenNoSurfaceIsMade) {
  WriteScenePictures(kBlue, kWhite, kWhite);
  InitDisplay();
  host_.Fail(host::Call::kCreateSurface, host::HeadlessHost::kForever);
  LoadScene();
  EXPECT_EQ(paddle->GetWidth(), 144);
  EXPECT_EQ(paddle->GetSurface(), nullptr);
  // Drawing a sprite that has no picture does nothing rather than crash.
  arena->Draw(backBuffer);
  ball->Draw(backBuffer);
}

TEST_F(SpriteLoadingTest, UnreadableFilesLeaveTheSurfacesUnfilled) {
  // Empty, truncated and absurdly sized bitmaps are each refused like a missing file.
  WriteBytes("images/arena2.bmp", {});
  WriteBytes("images/example2.bmp", {'B', 'M', 0, 0});
  std::vector<std::uint8_t> huge(54, 0);
  huge[0] = 'B';
  huge[1] = 'M';
  huge[14] = 40;
  huge[18] = huge[19] = huge[20] = 0x7F;  // width 0x7F7F7F
  huge[22] = huge[23] = huge[24] = 0x7F;  // height 0x7F7F7F
  huge[26] = 1;
  huge[28] = 24;
  WriteBytes("images/paddle4.bmp", huge);
  InitDisplay();
  LoadScene();
  EXPECT_EQ(host_.debugLines().size(), 3u);
  EXPECT_TRUE(std::all_of(host_.debugLines().begin(), host_.debugLines().end(),
                          [](const std::string& line) { return line == "handle is null\n"; }));
}

}  // namespace
