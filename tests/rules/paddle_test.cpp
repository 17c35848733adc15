#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "game/frame_tick.h"
#include "game/game_state.h"
#include "game/play_step.h"
#include "rules_helpers.h"
#include "scene/scene_objects.h"
#include "support/fresh_game.h"

namespace {

class PaddleTest : public FreshGame {
 protected:
  void SetUp() override {
    FreshGame::SetUp();
    Serve();
  }
  // A served ball far from everything, so that only the paddle's rules act.
  void Serve() {
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

// Steps of mouse movement and the paddle's left edge after each; it stays 144 wide throughout.
// The first step after the serve tests the old, 140-wide right edge: 584 + 412 = 996 still
// passes the wall by four, and the next step pulls it back.
TEST_F(PaddleTest, MovementStopsAtTheWalls) {
  const struct {
    const char* name;
    std::vector<std::pair<int, LONG>> steps;  // movement, then the left edge
  } runs[] = {
      {"left wall", {{-416, 28}, {5, 33}, {-6, 28}, {INT_MIN, 28}}},
      {"right wall once widened", {{0, 444}, {996 - 588, 852}, {1, 852}, {INT_MAX, 852}}},
      {"first step past the right wall", {{412, 856}, {0, 852}}},
      {"first step one more", {{413, 852}}},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.name);
    Serve();
    for (const auto& [dx, left] : run.steps) {
      const RECT p = StepWith(dx);
      EXPECT_EQ(p.left, left) << dx;
      EXPECT_EQ(p.right, left + 144) << dx;
    }
  }
}

}  // namespace
