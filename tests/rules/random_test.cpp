#include <gtest/gtest.h>

#include "game/random.h"
#include "support/fresh_game.h"

using RandomTest = FreshGame;

TEST_F(RandomTest, FollowsTheFixedGeneratorFromStateOneAndWraps) {
  EXPECT_EQ(NextRandom(), 41);
  EXPECT_EQ(NextRandom(), 18467);
  EXPECT_EQ(NextRandom(), 6334);
  randomState = 0xFFFFFFFFu;  // times 214013 plus 2531011 is 2316998 modulo 2^32
  EXPECT_EQ(NextRandom(), 35);
}
