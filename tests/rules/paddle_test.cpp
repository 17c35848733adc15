#include <gtest/gtest.h>

#include <climits>

#include "game/frame_tick.h"
#include "game/game_state.h"
#include "game/play_step.h"
#include "rules_helpers.h"
#include "scene/scene_objects.h"
#include "support/fresh_game.h"

namespace {

class PaddleTest : public FreshGame {
 protected:
  // A served ball far from everything, so that only the paddle's rules act.
  void SetUp() override {
    FreshGame::SetUp();
    PlaceBall({468, 332, 556, 436}, 1, -1);
    paddle->SetBounds({444, 636, 584, 660});  // as served: 140 wide
    playing = true;
    attractMode = false;
  }

  RECT StepWith(int dx) {
    QueueMouse(dx);
    PlayStep(playing, lives);
    return paddle->GetBounds();
  }
};

TEST_F(PaddleTest, FirstStepWidensToTheSurfaceKeepingTheLeftEdge) {
  const RECT p = StepWith(0);
  EXPECT_EQ(p.left, 444);
  EXPECT_EQ(p.right, 588);
  EXPECT_EQ(p.top, 636);
  EXPECT_EQ(p.bottom, 660);
  EXPECT_EQ(mouseDx, 0);
}

TEST_F(PaddleTest, LeftMovementStopsAtTheLeftWall) {
  EXPECT_EQ(StepWith(-416).left, 28);  // exactly reaches the wall
  EXPECT_EQ(StepWith(5).left, 33);
  EXPECT_EQ(StepWith(-6).left, 28);
  EXPECT_EQ(StepWith(INT_MIN).left, 28);
  EXPECT_EQ(paddle->GetBounds().right, 28 + 144);
}

TEST_F(PaddleTest, RightMovementStopsAtTheRightWallOnceWidened) {
  StepWith(0);
  const RECT atWall = StepWith(996 - 588);
  EXPECT_EQ(atWall.right, 996);
  EXPECT_EQ(StepWith(1).left, 1024 - 144 - 28);
  EXPECT_EQ(StepWith(INT_MAX).left, 852);
  EXPECT_EQ(paddle->GetBounds().right, 996);
}

TEST_F(PaddleTest, FirstStepAfterServeCanPassTheRightWallByUpToFour) {
  // The test looks at the old, 140-wide right edge: 584 + 412 = 996 still passes.
  const RECT passed = StepWith(412);
  EXPECT_EQ(passed.left, 856);
  EXPECT_EQ(passed.right, 1000);
  // The next step finds the right edge beyond the wall and pulls it back.
  EXPECT_EQ(StepWith(0).left, 852);
}

TEST_F(PaddleTest, FirstStepAfterServeClampsOneMoreThanThat) { EXPECT_EQ(StepWith(413).left, 852); }

}  // namespace
