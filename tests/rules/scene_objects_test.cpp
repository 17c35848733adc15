#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>

#include "game/game_state.h"
#include "game/serve_ball.h"
#include "scene/scene_objects.h"
#include "support/fresh_game.h"

TEST(TextLabelTest, FormatsOnlyNonZeroNumbersAndKeepsAnyLength) {
  const std::string longText(5000, 'x');
  const struct {
    std::string format;
    int number;
    std::string shown;
  } cases[] = {
      // Zero means "no number": the format is taken as plain text, conversion and all.
      {"LEVEL: %d", 0, "LEVEL: %d"},
      {"LEVEL: %d", INT_MIN, "LEVEL: " + std::to_string(INT_MIN)},
      {longText + "%d", INT_MAX, longText + std::to_string(INT_MAX)},
  };
  TextLabel label;
  for (const auto& c : cases) {
    label.SetText(c.format.c_str(), c.number);
    EXPECT_EQ(label.GetText(), c.shown);
  }
}

using SceneObjectsTest = FreshGame;

// Serves leave at 3 to 9 pixels a step whatever the level: the third and fourth draws give
// 6 and 5 modulo 7.
TEST_F(SceneObjectsTest, ServePlacesBallPaddleAndLabelsButNotTheScore) {
  speedBonus = 40;
  ServeBall();
  ServeBall();
  EXPECT_EQ(ball->GetVelocityX(), 9);
  EXPECT_EQ(ball->GetVelocityY(), -8);
  using Edges = std::array<LONG, 4>;
  const auto edges = [](RECT r) { return Edges{r.left, r.top, r.right, r.bottom}; };
  EXPECT_EQ(edges(ball->GetBounds()), (Edges{468, 332, 556, 436}));
  EXPECT_EQ(edges(paddle->GetBounds()), (Edges{444, 636, 584, 660}));
  EXPECT_EQ(edges(livesLabel->GetBounds()), (Edges{0, 15, 300, 100}));
  EXPECT_EQ(edges(levelLabel->GetBounds()), (Edges{0, 30, 300, 100}));
  EXPECT_EQ(edges(titleLabel->GetBounds()), (Edges{392, 84, 632, 684}));
  EXPECT_EQ(edges(scoreLabel->GetBounds()), (Edges{0, 0, 1023, 767}));
}
