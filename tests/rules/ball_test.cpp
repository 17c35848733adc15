#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "game/play_step.h"
#include "game/random.h"
#include "rules_helpers.h"
#include "scene/scene_objects.h"
#include "support/fresh_game.h"

namespace {

const std::string kClick = "sounds/click.wav";

class BallTest : public FreshGame {
 protected:
  void SetUp() override {
    FreshGame::SetUp();
    playing = true;
    attractMode = false;
  }

  void Step() {
    QueueMouse(0);
    PlayStep(playing, lives);
  }
};

// A bounce draws the new speed away from the wall (draw + bonus), horizontal first, with a
// click each; the step still moves the ball by the old velocity, so it shows one step late.
TEST_F(BallTest, WallsAndCeilingDrawASpeedAwayFromThemAndClick) {
  const struct {
    const char* name;
    std::initializer_list<int> draws;
    int bonus;
    RECT from;
    int vx, vy, wantVx, wantVy;
    LONG left, top;
    std::size_t clicks;
  } bounces[] = {
      {"left", {0}, 3, {30, 300, 118, 404}, -5, 4, 3, 4, 25, 304, 1},
      {"right", {0}, 3, {900, 300, 988, 404}, 9, 4, -3, 4, 909, 304, 1},
      {"ceiling", {0}, 3, {400, 30, 488, 134}, 0, -5, 0, 3, 400, 25, 1},
      {"corner", {2, 5}, 3, {30, 30, 118, 134}, -5, -5, 5, 8, 25, 25, 2},
      {"bonus", {6}, 20, {30, 300, 118, 404}, -5, 0, 26, 0, 25, 300, 1},
  };
  for (const auto& b : bounces) {
    SCOPED_TRACE(b.name);
    randomState = StateDrawing(b.draws);
    speedBonus = b.bonus;
    PlaceBall(b.from, b.vx, b.vy);
    Step();
    EXPECT_EQ(ball->GetVelocityX(), b.wantVx);
    EXPECT_EQ(ball->GetVelocityY(), b.wantVy);
    EXPECT_EQ(ball->GetBounds().left, b.left);
    EXPECT_EQ(ball->GetBounds().top, b.top);
    EXPECT_EQ(TakeCues(), std::vector<std::string>(b.clicks, kClick));
  }
}

TEST_F(BallTest, WallBounceRepeatsWhileTheBallIsStillOutside) {
  randomState = StateDrawing({0, 0});  // two new speeds of 3
  PlaceBall({19, 300, 107, 404}, 3, 0);
  Step();
  EXPECT_EQ(ball->GetVelocityX(), 3);
  EXPECT_EQ(ball->GetBounds().left, 22);
  Step();
  EXPECT_EQ(ball->GetBounds().left, 25);
  EXPECT_EQ(TakeCues().size(), 2u);
}

TEST_F(BallTest, FloorIsBeyond768NotAt768) {
  PlaceBall({100, 656, 188, 760}, 0, 8);
  Step();
  EXPECT_TRUE(playing);
  EXPECT_EQ(lives, 2);
  PlaceBall({100, 656, 188, 760}, 0, 9);
  Step();
  EXPECT_FALSE(playing);
  EXPECT_EQ(lives, 1);
  EXPECT_EQ(ball->GetBounds().bottom, 769);  // the step still moves it below the screen
  EXPECT_EQ(TakeCues(), std::vector<std::string>{"sounds/powers.wav"});
  EXPECT_TRUE(host_.sounds().back().wait);
}

TEST_F(BallTest, LosingTheLastBallPlaysGameOver) {
  lives = 1;
  PlaceBall({100, 656, 188, 760}, 0, 9);
  Step();
  EXPECT_EQ(lives, 0);
  EXPECT_STREQ(livesLabel->GetText(), "LIVES: ");
  EXPECT_EQ(TakeCues(), std::vector<std::string>{"sounds/powers.wav"});
  playing = true;
  PlaceBall({100, 656, 188, 760}, 0, 9);
  Step();
  EXPECT_EQ(lives, -1);
  EXPECT_EQ(TakeCues(), std::vector<std::string>{"sounds/failedme.wav"});
}

TEST_F(BallTest, CatchCountsAHitForEveryStepInTheBand) {
  // Bottom edge 640 moving down 5 over the paddle (top 636, bottom 660), every new
  // upward speed 4: hits at bottom edges 640, 645, 641, 637 and 633.
  randomState = StateDrawing({1, 1, 1, 1, 1});
  PlaceBall({500, 536, 588, 640}, 0, 5);
  std::vector<int> bottoms;
  for (int step = 0; step < 7; ++step) {
    const int hitsBefore = hits;
    const int bottom = ball->GetBounds().bottom;
    Step();
    if (hits > hitsBefore) bottoms.push_back(bottom);
  }
  EXPECT_EQ(bottoms, (std::vector<int>{640, 645, 641, 637, 633}));
  EXPECT_EQ(hits, 5);
  EXPECT_EQ(ball->GetVelocityY(), -4);
}

TEST_F(BallTest, CatchNeedsHorizontalOverlap) {
  // The paddle spans 444..588; a ball just past its right end is not caught.
  PlaceBall({589, 536, 677, 640}, 0, 5);
  Step();
  EXPECT_EQ(hits, 0);
  PlaceBall({356, 536, 444, 640}, 0, 5);  // touching the left end counts
  Step();
  EXPECT_EQ(hits, 1);
}

TEST_F(BallTest, WallAndCatchInOneStepClickWallFirst) {
  PlaceBall({30, 536, 118, 640}, -5, 5);
  paddle->SetBounds({28, 636, 172, 660});
  Step();
  EXPECT_EQ(hits, 1);
  EXPECT_EQ(TakeCues(), (std::vector<std::string>{kClick, kClick}));
}

TEST_F(BallTest, ScoreLabelShowsHundredsFromTheFirstHit) {
  PlaceBall({500, 300, 588, 404}, 0, 1);
  Step();
  EXPECT_STREQ(scoreLabel->GetText(), "SCORE: ");
  EXPECT_STREQ(livesLabel->GetText(), "LIVES: 2");
  EXPECT_STREQ(levelLabel->GetText(), "LEVEL: 1");
  PlaceBall({500, 536, 588, 640}, 0, 5);
  Step();
  EXPECT_STREQ(scoreLabel->GetText(), "SCORE: 100");
}

TEST_F(BallTest, FiftiethAndHundredthHitsRaiseTheLevel) {
  hits = 48;
  PlaceBall({500, 536, 588, 640}, 0, 5);
  Step();
  EXPECT_EQ(hits, 49);
  EXPECT_EQ(level, 1);
  PlaceBall({500, 536, 588, 640}, 0, 5);
  Step();
  EXPECT_EQ(level, 2);
  EXPECT_EQ(speedBonus, 4);
  EXPECT_STREQ(levelLabel->GetText(), "LEVEL: 1");  // the new level shows a step later
  hits = 99;
  PlaceBall({500, 536, 588, 640}, 0, 5);
  Step();
  EXPECT_EQ(level, 3);
  EXPECT_EQ(speedBonus, 5);
  EXPECT_STREQ(levelLabel->GetText(), "LEVEL: 2");
}

TEST_F(BallTest, AtMostOneLevelAStep) {
  hits = 500;
  PlaceBall({500, 300, 588, 404}, 0, 1);
  Step();
  Step();
  EXPECT_EQ(level, 3);
  EXPECT_EQ(speedBonus, 5);
}

}  // namespace
