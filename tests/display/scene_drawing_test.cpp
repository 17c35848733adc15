// Sprites and labels drawn into the back buffer, read back from the presented frame.
#include <gtest/gtest.h>

#include "display_fixture.h"
#include "game/frame_tick.h"

namespace {

class SceneDrawingTest : public DisplayTest {
 protected:
  // The bounding box of presented pixels in `in` that are not `raw`.
  RECT Area(std::uint16_t raw, RECT in = {0, 0, 1024, 768}) const {
    RECT box = {in.right, in.bottom, -1, -1};
    for (int y = in.top; y < in.bottom; ++y) {
      for (int x = in.left; x < in.right; ++x) {
        if (Shown(x, y) == raw) continue;
        box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
               std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
      }
    }
    return box;
  }
};

// A left edge of 0 means the whole target, whatever the other edges say.
TEST_F(SceneDrawingTest, ArenaIsStretchedOpaqueOverTheWholeBufferBlackIncluded) {
  WriteBitmap("images/arena2.bmp", 800, 600, [](int x, int) { return x < 400 ? kBlack : kRed; });
  Start();
  Fill(backBuffer, 0xFFFF);
  arena->SetBounds({0, 10, 50, 60});
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
  EXPECT_EQ(CountOther(468 + 24, 332 + 32, 468 + 64, 332 + 72, Raw(kWhite)), 0);
  EXPECT_EQ(CountOther(468, 332, 468 + 8, 332 + 104, Raw(kDarkRed)), 0);
  EXPECT_EQ(CountOther(0, 0, 1024, 768, Raw(kBlue)), 40 * 40 + 8 * 104);
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

TEST_F(SceneDrawingTest, LabelCellsAreOpaqueOnlyBehindTheTextAndCutAtTheBounds) {
  Start();
  arena->Draw(backBuffer);
  scoreLabel->SetText("SCORE: ", 0);
  scoreLabel->Draw();
  levelLabel->SetBounds({100, 100, 160, 300});
  levelLabel->SetText("LEVEL: %d", 1234567890);
  levelLabel->Draw();
  PresentFrame();
  // A short line in the corner, its cells filled; white is the lesser part of them.
  const RECT score = Area(Raw(kBlue), {0, 0, 300, 90});
  EXPECT_EQ(score.left, 0);
  EXPECT_EQ(score.top, 0);
  EXPECT_LT(score.right, 200);
  EXPECT_LT(score.bottom, 40);
  const int area = score.right * score.bottom;
  EXPECT_EQ(CountOther(0, 0, score.right, score.bottom, Raw(kBlue)), area);
  const int white = area - CountOther(0, 0, score.right, score.bottom, Raw(kWhite));
  EXPECT_GT(white, 0);
  EXPECT_LT(white, area / 2);
  const RECT level = Area(Raw(kBlue), {100, 100, 1024, 768});
  EXPECT_EQ(level.right, 160);
}

TEST_F(SceneDrawingTest, AttractPromptIsDrawnWholeInsideTheTitleBounds) {
  Start();
  FrameTick();
  const RECT title = titleLabel->GetBounds();
  const RECT line = {0, title.top, 1024, title.top + 40};  // well above the ball
  const RECT cells = Area(Raw(kBlue), line);
  EXPECT_EQ(cells.left, title.left);
  EXPECT_LT(cells.right, title.right) << "the prompt was cut at the bounds";
}

}  // namespace
