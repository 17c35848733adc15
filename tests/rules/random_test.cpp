#include <gtest/gtest.h>

#include "game/game_state.h"
#include "game/random.h"
#include "game/serve_ball.h"
#include "scene/scene_objects.h"
#include "support/fresh_game.h"

using RandomTest = FreshGame;

TEST_F(RandomTest, FollowsTheFixedGeneratorFromStateOne) {
  EXPECT_EQ(NextRandom(), 41);
  EXPECT_EQ(NextRandom(), 18467);
  EXPECT_EQ(NextRandom(), 6334);
  // The state wraps modulo 2^32 and only 15 bits come out.
  randomState = 0xFFFFFFFFu;
  EXPECT_EQ(NextRandom(), static_cast<int>(((0xFFFFFFFFu * 214013u + 2531011u) >> 16) & 0x7FFF));
}

TEST_F(RandomTest, FirstServeIsNineRightAndFourUp) {
  ServeBall();
  EXPECT_EQ(ball->GetVelocityX(), 9);
  EXPECT_EQ(ball->GetVelocityY(), -4);
}

TEST_F(RandomTest, ServesStayWithinThreeToNineWhateverTheLevel) {
  speedBonus = 40;
  for (int serve = 0; serve < 500; ++serve) {
    ServeBall();
    EXPECT_GE(ball->GetVelocityX(), 3);
    EXPECT_LE(ball->GetVelocityX(), 9);
    EXPECT_LE(ball->GetVelocityY(), -3);
    EXPECT_GE(ball->GetVelocityY(), -9);
  }
}
