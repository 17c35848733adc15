// The state of the one game a run plays: process-wide, never reset.
#pragma once

#include <cstdint>

extern std::int32_t lives;       // balls left after the one in play
extern bool attractMode;         // the title screen shows; cleared by the starting click
extern bool playing;             // a ball is in play
extern std::int32_t hits;        // paddle hits; the score is hits x 100
extern std::int32_t level;       // raised every 50 hits
extern std::int32_t speedBonus;  // added to every random speed a bounce draws
extern std::int32_t mouseDx;     // horizontal movement read by the latest play step
