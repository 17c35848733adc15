// The mouse as the game reads it: relative movement, the first button byte, nothing else.
#include <gtest/gtest.h>

#include "game/frame_tick.h"
#include "game/game_state.h"
#include "game/serve_ball.h"
#include "input/mouse.h"
#include "scene/scene_objects.h"
#include "support/fresh_game.h"

namespace {

class Mouse : public FreshGame {};

TEST_F(Mouse, EachReadGivesTheMovementSinceThePreviousOne) {
  QueueMouse(12);
  ReadMouse();
  EXPECT_EQ(mouseState.lX, 12);
  ReadMouse();
  EXPECT_EQ(mouseState.lX, 0);
}

class FirstButtonByte : public FreshGame, public ::testing::WithParamInterface<int> {};

TEST_P(FirstButtonByte, AnyNonZeroValueStartsTheGame) {
  QueueMouse(0, GetParam());
  FrameTick();
  EXPECT_FALSE(attractMode);
  EXPECT_TRUE(playing);
  ASSERT_FALSE(host_.sounds().empty());
  EXPECT_EQ(host_.sounds()[0].path, "sounds/destroy.wav");
  EXPECT_TRUE(host_.sounds()[0].wait);
}

INSTANTIATE_TEST_SUITE_P(Pressed, FirstButtonByte, ::testing::Values(0x01, 0x80, 0xFF));

host::MouseState EverythingButTheFirstButtonAndX() {
  host::MouseState state;
  state.dy = -300;
  state.wheel = 120;
  state.buttons[1] = 0x80;
  state.buttons[2] = 0x80;
  state.buttons[3] = 0x01;
  return state;
}

TEST_F(Mouse, OtherButtonsVerticalMovementAndTheWheelDoNotStartTheGame) {
  host_.QueueMouse(EverythingButTheFirstButtonAndX());
  FrameTick();
  EXPECT_TRUE(attractMode);
  EXPECT_FALSE(playing);
  EXPECT_TRUE(host_.sounds().empty());
}

TEST_F(Mouse, OnlyHorizontalMovementMovesThePaddle) {
  constexpr int kMove = 40;
  ServeBall();
  const RECT before = paddle->GetBounds();
  QueueMouse(0, 0x80);  // the title screen's read starts the game
  host::MouseState step = EverythingButTheFirstButtonAndX();
  step.dx = kMove;
  host_.QueueMouse(step);
  FrameTick();
  ASSERT_TRUE(playing);
  EXPECT_EQ(paddle->GetBounds().left, before.left + kMove);
  EXPECT_EQ(paddle->GetBounds().top, before.top);
}

}  // namespace
