// The heap in use over a long game, as the C library counts it.
#include <gtest/gtest.h>
#include <malloc.h>

#include "game/frame_tick.h"
#include "game/game_state.h"
#include "scene/scene_objects.h"
#include "support/fresh_game.h"

namespace {

using LabelMemoryTest = FreshGame;

// Every play step sets the three heads-up texts: a text not released shows within a game as
// megabytes; the slack only covers the allocator's own bookkeeping.
TEST_F(LabelMemoryTest, PlayingManyFramesDoesNotGrowTheHeap) {
  constexpr std::size_t kSlackBytes = 64 << 10;
  QueueMouse(0, 0x80);
  FrameTick();
  host_.ClearRecords();  // the host's own records of sounds are not the game's memory
  const std::size_t before = mallinfo2().uordblks;
  for (int tick = 0; tick < 20000 && lives >= 0; ++tick) {
    lives = 2;  // keep the game going
    FrameTick();
    host_.ClearRecords();
  }
  EXPECT_LE(mallinfo2().uordblks, before + kSlackBytes);
}

}  // namespace
