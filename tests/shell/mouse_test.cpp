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

// Any non-zero first button byte is a press; vertical movement, the wheel and the other
// buttons neither start the game nor move the paddle.
TEST_F(Mouse, OnlyTheFirstButtonByteAndHorizontalMovementCount) {
  constexpr int kMove = 40;
  host::MouseState noise{.dy = -300, .wheel = 120, .buttons = {0, 0x80, 0x80, 0x01}};
  ServeBall();
  const RECT before = paddle->GetBounds();
  host_.QueueMouse(noise);
  FrameTick();
  EXPECT_TRUE(attractMode) << "started by something other than the first button";
  QueueMouse(0, 0x01);
  noise.dx = kMove;
  host_.QueueMouse(noise);
  FrameTick();
  ASSERT_TRUE(playing) << "a first button byte of 0x01 is not a press";
  EXPECT_EQ(paddle->GetBounds().left, before.left + kMove);
  EXPECT_EQ(paddle->GetBounds().top, before.top);
}

}  // namespace
