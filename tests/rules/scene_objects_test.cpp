#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "game/serve_ball.h"
#include "scene/scene_objects.h"
#include "support/fresh_game.h"

namespace {

void ExpectRect(RECT r, LONG left, LONG top, LONG right, LONG bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

}  // namespace

TEST(TextLabelTest, FormatsOnlyNonZeroNumbers) {
  TextLabel label;
  label.SetText("SCORE: %d", 100);
  EXPECT_STREQ(label.GetText(), "SCORE: 100");
  label.SetText("SCORE: ", 0);
  EXPECT_STREQ(label.GetText(), "SCORE: ");
  label.SetText("LIVES: %d", -1);
  EXPECT_STREQ(label.GetText(), "LIVES: -1");
  // Zero means "no number": the format is taken as plain text, conversion and all.
  label.SetText("LEVEL: %d", 0);
  EXPECT_STREQ(label.GetText(), "LEVEL: %d");
  label.SetText("LEVEL: %d", INT_MIN);
  EXPECT_STREQ(label.GetText(), ("LEVEL: " + std::to_string(INT_MIN)).c_str());
}

TEST(TextLabelTest, KeepsAnyLengthOfText) {
  TextLabel label;
  const std::string longText(5000, 'x');
  label.SetText((longText + "%d").c_str(), 2147483647);
  EXPECT_EQ(label.GetText(), longText + "2147483647");
}

using SceneObjectsTest = FreshGame;

TEST_F(SceneObjectsTest, ServePlacesBallPaddleAndLabelsButNotTheScore) {
  ServeBall();
  ServeBall();
  ExpectRect(ball->GetBounds(), 468, 332, 556, 436);
  ExpectRect(paddle->GetBounds(), 444, 636, 584, 660);
  ExpectRect(livesLabel->GetBounds(), 0, 15, 300, 100);
  ExpectRect(levelLabel->GetBounds(), 0, 30, 300, 100);
  ExpectRect(titleLabel->GetBounds(), 392, 84, 632, 684);
  ExpectRect(scoreLabel->GetBounds(), 0, 0, 1023, 767);
  EXPECT_EQ(paddle->GetVelocityX(), 0);
}
