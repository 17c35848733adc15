#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/sprite_loading.h"
#include "game/frame_tick.h"
#include "game/game_state.h"
#include "scene/scene_objects.h"
#include "support/fresh_game.h"

namespace {

class FrameTickTest : public FreshGame {
 protected:
  void SetUp() override {
    FreshGame::SetUp();
    LoadScene();
  }

  void Tick(int dx = 0, int button = 0) {
    QueueMouse(dx, button);
    FrameTick();
  }
  // The ball where the next step loses it.
  static void DropBall() {
    ball->SetBounds({100, 656, 188, 760});
    ball->SetVelocityY(9);
  }
};

TEST_F(FrameTickTest, ClickStartsWithTheStartCueAndPlaysAStepAtOnceLaterButtonsDoNothing) {
  Tick();
  QueueMouse(0, 0x80);
  QueueMouse(7, 0);  // the first play step's own read
  FrameTick();
  EXPECT_FALSE(attractMode);
  EXPECT_TRUE(playing);
  EXPECT_EQ(TakeCues(), std::vector<std::string>{"sounds/destroy.wav"});
  EXPECT_TRUE(host_.sounds().front().wait);
  // No new serve: the start-up ball moves on with (9, -4).
  EXPECT_EQ(ball->GetBounds().left, 477);
  EXPECT_EQ(ball->GetBounds().top, 328);
  EXPECT_EQ(paddle->GetBounds().left, 451);
  // Buttons during play do nothing.
  Tick(0, 0x80);
  EXPECT_TRUE(TakeCues().empty());
  EXPECT_EQ(ball->GetBounds().left, 477 + 9);
}

// After a lost ball the next tick serves and plays; once the last is lost, ticks do neither.
TEST_F(FrameTickTest, NextTickAfterALostBallServesAndPlaysUntilTheLast) {
  Tick(0, 0x80);
  DropBall();
  Tick();
  EXPECT_FALSE(playing);
  Tick(5);
  EXPECT_TRUE(playing);
  EXPECT_FALSE(QuitRequested());
  // Served at (468, 332) and already moved by its new velocity, the third and fourth draws.
  EXPECT_EQ(ball->GetBounds().left, 468 + 9);
  EXPECT_EQ(ball->GetBounds().top, 332 - 8);
  EXPECT_EQ(paddle->GetBounds().left, 449);
  lives = 0;
  DropBall();
  Tick();
  EXPECT_TRUE(QuitRequested());
  // Game over stays: no serve, no step, only the quit request again.
  const RECT lost = ball->GetBounds();
  FrameTick();
  EXPECT_EQ(ball->GetBounds().top, lost.top);
  EXPECT_FALSE(playing);
}

}  // namespace
