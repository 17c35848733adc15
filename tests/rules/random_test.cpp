#include <gtest/gtest.h>

#include "game/game_state.h"
#include "game/random.h"
#include "game/serve_ball.h"
#include "scene/scene_objects.h"
#include "support/fresh_game.h"

using RandomTest = FreshGame;

TEST_F(RandomTest, FollowsTheFixedGeneratorFromStateOneAndWraps) {
  EXPECT_EQ(NextRandom(), 41);
  EXPECT_EQ(NextRandom(), 18467);
  EXPECT_EQ(NextRandom(), 6334);
  randomState = 0xFFFFFFFFu;  // times 214013 plus 2531011 is 2316998 modulo 2^32
  EXPECT_EQ(NextRandom(), 35);
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
