// Sprites and labels drawn into the back buffer, read back from the presented frame.
#include <gtest/gtest.h>

#include "display/display_device.h"
#include "display_fixture.h"
#include "game/frame_tick.h"
#include "scene/scene_objects.h"

namespace {

class SceneDrawingTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    WriteScenePictures();
  }

  // The bounding box of presented pixels within `in` that differ from `raw`, or equal it.
  RECT Area(std::uint16_t raw, bool differing = true, RECT in = {0, 0, 1024, 768}) const {
    RECT box = {in.right, in.bottom, -1, -1};
    for (int y = in.top; y < in.bottom; ++y) {
      for (int x = in.left; x < in.right; ++x) {
        if ((Shown(x, y) != raw) != differing) continue;
        box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
               std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
      }
    }
    return box;
  }
};

TEST_F(SceneDrawingTest, ArenaIsStretchedOpaqueOverTheWholeBufferBlackIncluded) {
  // Black on the left half, red on the right: both must replace what was there.
  WriteBitmap("images/arena2.bmp", 800, 600, [](int x, int) { return x < 400 ? kBlack : kRed; });
  Start();
  Fill(backBuffer, 0xFFFF);
  arena->Draw(backBuffer);
  PresentFrame();
  EXPECT_EQ(CountOther(0, 0, 512, 768, 0), 0);
  EXPECT_EQ(CountOther(512, 0, 1024, 768, Raw(kRed)), 0);
}

TEST_F(SceneDrawingTest, BallIsCopiedUnscaledAtItsServeAndOnlyItsRawZeroShowsTheArena) {
  // (4, 3, 7) truncates to raw 0 like black; (8, 0, 0) keeps one bit of red and is drawn.
  constexpr Colour kNearBlack = {4, 3, 7}, kDarkRed = {8, 0, 0};
  WriteBitmap("images/example2.bmp", 88, 104, [&](int x, int y) {
    if (x < 8) return kDarkRed;
    if (x >= 24 && x < 64 && y >= 32 && y < 72) return kWhite;
    return y < 52 ? kBlack : kNearBlack;
  });
  Start();
  arena->Draw(backBuffer);
  ball->Draw(backBuffer);
  PresentFrame();
  const RECT at = ball->GetBounds();
  ASSERT_EQ(at.left, 468);
  ASSERT_EQ(at.top, 332);
  EXPECT_EQ(CountOther(at.left + 24, at.top + 32, at.left + 64, at.top + 72, Raw(kWhite)), 0);
  EXPECT_EQ(CountOther(at.left, at.top, at.left + 8, at.top + 104, Raw(kDarkRed)), 0);
  // Everything else, the ball's black and near-black included, is arena.
  EXPECT_EQ(CountOther(0, 0, 1024, 768, Raw(kBlue)), 40 * 40 + 8 * 104);
}

TEST_F(SceneDrawingTest, LeftEdgeAloneChoosesTheWholeTargetWithoutKey) {
  WriteBitmap("images/example2.bmp", 88, 104, [](int, int) { return kBlack; });
  Start();
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
  WriteBitmap("images/paddle4.bmp", 144, 32, [](int x, int) { return x < 72 ? kRed : kGreen; });
  Start();
  for (const int width : {140, 144}) {
    SCOPED_TRACE(width);
    paddle->SetBounds({444, 636, 444 + width, 660});
    arena->Draw(backBuffer);
    paddle->Draw(backBuffer);
    PresentFrame();
    const int middle = 444 + width / 2;
    EXPECT_EQ(CountOther(444, 636, middle, 660, Raw(kRed)), 0);
    EXPECT_EQ(CountOther(middle, 636, 444 + width, 660, Raw(kGreen)), 0);
    EXPECT_EQ(CountOther(0, 0, 1024, 768, Raw(kBlue)), width * 24);
  }
}

TEST_F(SceneDrawingTest, LabelCellsAreOpaqueOnlyBehindTheText) {
  Start();
  arena->Draw(backBuffer);
  scoreLabel->SetText("SCORE: ", 0);
  scoreLabel->Draw();
  PresentFrame();
  const RECT text = Area(Raw(kBlue));
  EXPECT_EQ(text.left, 0);
  EXPECT_EQ(text.top, 0);
  // One short line in the corner: the rest of the bounds keeps the arena.
  EXPECT_GT(text.right, 20);
  EXPECT_LT(text.right, 200);
  EXPECT_GT(text.bottom, 6);
  EXPECT_LT(text.bottom, 40);
  const int area = (text.right - text.left) * (text.bottom - text.top);
  EXPECT_EQ(CountOther(text.left, text.top, text.right, text.bottom, Raw(kBlue)), area);
  const int white = area - CountOther(text.left, text.top, text.right, text.bottom, Raw(kWhite));
  EXPECT_GT(white, 0);
  EXPECT_LT(white, area / 2);
}

TEST_F(SceneDrawingTest, LabelTooWideForItsBoundsIsCutNotWrapped) {
  Start();
  arena->Draw(backBuffer);
  levelLabel->SetBounds({100, 100, 160, 300});
  levelLabel->SetText("LEVEL: %d", 1234567890);
  levelLabel->Draw();
  PresentFrame();
  const RECT text = Area(Raw(kBlue));
  EXPECT_EQ(text.left, 100);
  EXPECT_EQ(text.top, 100);
  EXPECT_EQ(text.right, 160);
  EXPECT_LT(text.bottom, 140) << "a second line was drawn";
}

TEST_F(SceneDrawingTest, AttractPromptIsDrawnWholeInsideTheTitleBounds) {
  Start();
  FrameTick();
  const RECT title = titleLabel->GetBounds();
  ASSERT_EQ(title.right - title.left, 240);
  // The prompt's line, well above the ball.
  const RECT line = {0, title.top, 1024, title.top + 40};
  const RECT cells = Area(Raw(kBlue), true, line);
  const RECT white = Area(Raw(kWhite), false, line);
  EXPECT_EQ(cells.left, title.left);
  EXPECT_GE(white.left, title.left);
  EXPECT_LT(cells.right, title.right) << "the prompt was cut at the bounds";
  EXPECT_LT(white.right, title.right) << "the last character was cut";
}

}  // namespace
