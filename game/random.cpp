#include "game/random.h"

std::uint32_t randomState = 1;

int NextRandom() {
  constexpr std::uint32_t kMultiplier = 214013;
  constexpr std::uint32_t kIncrement = 2531011;
  randomState = randomState * kMultiplier + kIncrement;
  return static_cast<int>((randomState >> 16) & 0x7FFF);
}
