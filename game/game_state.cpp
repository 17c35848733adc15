#include "game/game_state.h"

std::int32_t lives = 2;
bool attractMode = true;
bool playing = false;
std::int32_t hits = 0;
std::int32_t level = 1;
std::int32_t speedBonus = 3;
std::int32_t mouseDx = 512;
