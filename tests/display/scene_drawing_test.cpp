// Sprites and labels drawn into the back buffer, read back from the presented frame.
#include <gtest/gtest.h>

#include "display_fixture.h"
#include "game/frame_tick.h"

namespace {

using SceneDrawingTest = DisplayTest;

// A left edge of 0 means the whole target, whatever the other edges say.
TEST_F(SceneDrawingTest, ArenaIsStretchedOpaqueOverTheWholeBufferBlackIncluded) {
  WriteBitmap("images/arena2.bmp", 800, 600, [](int x, int) { return x < 400 ? kBlack : kRed; });
  Start();
  Fill(backBuffer, 0xFFFF);
  arena->SetBounds({0, 10, 50, 60});
  arena->Draw(backBuffer);
  PresentFrame();
  EXPECT_EQ(Other(0, {0, 0, 512, 768}).pixels, 0);
  EXPECT_EQ(Other(Raw(kRed), {512, 0, 1024, 768}).pixels, 0);
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
  EXPECT_EQ(Other(Raw(kWhite), {468 + 24, 332 + 32, 468 + 64, 332 + 72}).pixels, 0);
  EXPECT_EQ(Other(Raw(kDarkRed), {468, 332, 468 + 8, 332 + 104}).pixels, 0);
  EXPECT_EQ(Other(Raw(kBlue)).pixels, 40 * 40 + 8 * 104);
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
    EXPECT_EQ(Other(Raw(kRed), {444, 636, middle, 660}).pixels, 0);
    EXPECT_EQ(Other(Raw(kGreen), {middle, 636, 444 + width, 660}).pixels, 0);
    EXPECT_EQ(Other(Raw(kBlue)).pixels, width * 24);
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
  const auto [drawn, score] = Other(Raw(kBlue), {0, 0, 300, 90});
  EXPECT_TRUE(score.left == 0 && score.top == 0 && score.right < 200 && score.bottom < 40);
  const int area = score.right * score.bottom;
  EXPECT_EQ(drawn, area);
  const int white = area - Other(Raw(kWhite), score).pixels;
  EXPECT_TRUE(white > 0 && white < area / 2) << white << " of " << area;
  EXPECT_EQ(Other(Raw(kBlue), {100, 100, 1024, 768}).box.right, 160);
}

TEST_F(SceneDrawingTest, AttractPromptIsDrawnWholeInsideTheTitleBounds) {
  Start();
  FrameTick();
  const RECT title = titleLabel->GetBounds();
  const RECT line = {0, title.top, 1024, title.top + 40};  // well above the ball
  const RECT cells = Other(Raw(kBlue), line).box;
  EXPECT_EQ(cells.left, title.left);
  EXPECT_LT(cells.right, title.right) << "the prompt was cut at the bounds";
}

}  // namespace
