// Counts live heap blocks, so this file is its own test program.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "game/frame_tick.h"
#include "game/game_state.h"
#include "scene/scene_objects.h"
#include "support/fresh_game.h"

namespace {
std::atomic<long> liveBlocks{0};
}  // namespace

void* operator new(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  ++liveBlocks;
  return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block != nullptr) ++liveBlocks;
  return block;
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* block) noexcept {
  if (block == nullptr) return;
  --liveBlocks;
  std::free(block);
}
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }

namespace {

using LabelMemoryTest = FreshGame;

// Every play step sets the three heads-up texts: a text not released shows within a game.
TEST_F(LabelMemoryTest, PlayingManyFramesDoesNotGrowTheHeap) {
  QueueMouse(0, 0x80);
  FrameTick();
  host_.ClearRecords();  // the host's own records of sounds are not the game's memory
  const long before = liveBlocks;
  for (int tick = 0; tick < 20000 && lives >= 0; ++tick) {
    lives = 2;  // keep the game going
    FrameTick();
    host_.ClearRecords();
  }
  EXPECT_EQ(liveBlocks, before);
}

}  // namespace
