// Sprites and labels drawn into the back buffer, read back from the presented frame.
#include <gtest/gtest.h>

#include "display/display_device.h"
#include "display/sprite_loading.h"
#include "display_fixture.h"
#include "scene/scene_objects.h"

namespace {

constexpr Colour kBlack = {0, 0, 0};
constexpr Colour kBlue = {0, 0, 200};
constexpr Colour kRed = {255, 0, 0};
constexpr Colour kGreen = {0, 255, 0};
constexpr Colour kWhite = {255, 255, 255};
constexpr std::uint16_t kStale = 0xFFFF;  // what the back buffer held before a frame

class SceneDrawingTest : public DisplayTest {
 protected:
  void StartWith(Colour arena, Colour ball, Colour paddle) {
    WriteScenePictures(arena, ball, paddle);
    InitDisplay();
    LoadScene();
    ASSERT_NE(backBuffer, nullptr);
    Fill(backBuffer, kStale);
  }
};

TEST_F(SceneDrawingTest, ArenaIsStretchedOpaqueOverTheWholeBufferBlackIncluded) {
  WriteScenePictures(kBlue, kWhite, kWhite);
  // Black on the left half, red on the right: both must replace what was there.
  WriteBitmap("images/arena2.bmp", 800, 600, [](int x, int) { return x < 400 ? kBlack : kRed; });
  InitDisplay();
  LoadScene();
  Fill(backBuffer, kStale);
  arena->Draw(backBuffer);
  PresentFrame();
  EXPECT_EQ(CountOther(0, 0, 512, 768, 0), 0);
  EXPECT_EQ(CountOther(512, 0, 1024, 768, Raw(kRed)), 0);
}

TEST_F(SceneDrawingTest, BallIsCopiedUnscaledAndItsBlackShowsTheArena) {
  WriteScenePictures(kBlue, kWhite, kWhite);
  // A white 40 x 40 square in the middle of a black picture.
  WriteBitmap("images/example2.bmp", 88, 104, [](int x, int y) {
    return x >= 24 && x < 64 && y >= 32 && y < 72 ? kWhite : kBlack;
  });
  InitDisplay();
  LoadScene();
  arena->Draw(backBuffer);
  ball->Draw(backBuffer);
  PresentFrame();
  const RECT at = ball->GetBounds();
  ASSERT_EQ(at.left, 468);
  ASSERT_EQ(at.top, 332);
  EXPECT_EQ(CountOther(at.left + 24, at.top + 32, at.left + 64, at.top + 72, Raw(kWhite)), 0);
  // Everything else, the ball's black included, is arena.
  const int white = 40 * 40;
  EXPECT_EQ(CountOther(0, 0, 1024, 768, Raw(kBlue)), white);
}

TEST_F(SceneDrawingTest, LeftEdgeAloneChoosesTheWholeTargetWithoutKey) {
  StartWith(kBlue, kBlack, kWhite);
  arena->Draw(backBuffer);
  // Left edge 0: the black picture covers everything, whatever the other edges say.
  ball->SetBounds({0, 10, 50, 60});
  ball->Draw(backBuffer);
  PresentFrame();
  EXPECT_EQ(CountOther(0, 0, 1024, 768, 0), 0);

  arena->Draw(backBuffer);
  // Left edge 1: keyed into its rectangle, so the all-black picture leaves no trace.
  ball->SetBounds({1, 0, 89, 104});
  ball->Draw(backBuffer);
  PresentFrame();
  EXPECT_EQ(CountOther(0, 0, 1024, 768, Raw(kBlue)), 0);
}

TEST_F(SceneDrawingTest, PaddleIsScaledToEachWidthItIsGiven) {
  // Red left half, green right half: the halves' border moves with the scale.
  WriteScenePictures(kBlue, kWhite, kWhite);
  WriteBitmap("images/paddle4.bmp", 144, 32, [](int x, int) { return x < 72 ? kRed : kGreen; });
  InitDisplay();
  LoadScene();
  for (const int width : {140, 144}) {
    SCOPED_TRACE(width);
    paddle->SetBounds({444, 636, 444 + width, 660});
    arena->Draw(backBuffer);
    paddle->Draw(backBuffer);
    PresentFrame();
    const int middle = 444 + width / 2;
    EXPECT_EQ(CountOther(444, 636, middle, 660, Raw(kRed)), 0);
    EXPECT_EQ(CountOther(middle, 636, 444 + width, 660, Raw(kGreen)), 0);
    const int paddlePixels = width * 24;
    EXPECT_EQ(CountOther(0, 0, 1024, 768, Raw(kBlue)), paddlePixels);
  }
}

TEST_F(SceneDrawingTest, OnlyPixelsThatBecomeRawZeroAreTransparent) {
  // (4, 3, 7) truncates to raw 0 in every channel; (8, 0, 0) keeps one bit of red.
  constexpr Colour kNearBlack = {4, 3, 7};
  constexpr Colour kDarkRed = {8, 0, 0};
  WriteScenePictures(kBlue, kWhite, kWhite);
  WriteBitmap("images/example2.bmp", 88, 104,
              [&](int x, int) { return x < 44 ? kNearBlack : kDarkRed; });
  InitDisplay();
  LoadScene();
  arena->Draw(backBuffer);
  ball->Draw(backBuffer);
  PresentFrame();
  EXPECT_EQ(CountOther(468, 332, 512, 436, Raw(kBlue)), 0);
  EXPECT_EQ(CountOther(512, 332, 556, 436, Raw(kDarkRed)), 0);
}

TEST_F(SceneDrawingTest, SpriteReachingPastTheBufferDoesNotDrawOutsideIt) {
  StartWith(kBlue, kWhite, kWhite);
  arena->Draw(backBuffer);
  // The frame of a lost ball: its rectangle ends below the screen.
  ball->SetBounds({900, 700, 988, 804});
  ball->Draw(backBuffer);
  PresentFrame();
  EXPECT_EQ(CountOther(0, 0, 1024, 700, Raw(kBlue)), 0);
  EXPECT_EQ(CountOther(0, 700, 900, 768, Raw(kBlue)), 0);
}

// The bounding box of presented pixels that differ from `raw`.
RECT ChangedArea(const std::vector<std::uint16_t>& screen, int width, std::uint16_t raw) {
  RECT box = {width, 768, -1, -1};
  for (std::size_t i = 0; i < screen.size(); ++i) {
    if (screen[i] == raw) continue;
    const int x = static_cast<int>(i % width);
    const int y = static_cast<int>(i / width);
    box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
           std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
  }
  return box;
}

TEST_F(SceneDrawingTest, LabelIsWhiteOnBlackCellsOnlyWhereItsTextIs) {
  StartWith(kBlue, kWhite, kWhite);
  arena->Draw(backBuffer);
  scoreLabel->SetText("SCORE: ", 0);
  scoreLabel->Draw();
  PresentFrame();
  const RECT text = ChangedArea(host_.screen(), host_.screenWidth(), Raw(kBlue));
  EXPECT_EQ(text.left, 0);
  EXPECT_EQ(text.top, 0);
  // One short line in the corner: the rest of the bounds keeps the arena.
  EXPECT_GT(text.right, 20);
  EXPECT_LT(text.right, 200);
  EXPECT_GT(text.bottom, 6);
  EXPECT_LT(text.bottom, 40);
  const int changed = CountOther(text.left, text.top, text.right, text.bottom, Raw(kBlue));
  const int area = (text.right - text.left) * (text.bottom - text.top);
  EXPECT_EQ(changed, area) << "the text's cells are filled";
  const int white = area - CountOther(text.left, text.top, text.right, text.bottom, Raw(kWhite));
  EXPECT_GT(white, 0);
  EXPECT_LT(white, area / 2);
}

TEST_F(SceneDrawingTest, LabelTooWideForItsBoundsIsCutNotWrapped) {
  StartWith(kBlue, kWhite, kWhite);
  arena->Draw(backBuffer);
  levelLabel->SetBounds({100, 100, 160, 300});
  levelLabel->SetText("LEVEL: %d", 1234567890);
  levelLabel->Draw();
  PresentFrame();
  const RECT text = ChangedArea(host_.screen(), host_.screenWidth(), Raw(kBlue));
  EXPECT_EQ(text.left, 100);
  EXPECT_EQ(text.top, 100);
  EXPECT_EQ(text.right, 160);
  EXPECT_LT(text.bottom, 140) << "a second line was drawn";
}

}  // namespace
