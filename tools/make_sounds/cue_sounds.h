// The game's four cues as sounds: a bounce pip, the start, a lost ball and the game over.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kCueSampleRate = 22050;

struct CueSound {
  const char* fileName;  // inside the game's sounds/ directory
  std::vector<std::int16_t> (*make)();
};

std::vector<std::int16_t> MakeClick();
std::vector<std::int16_t> MakeStart();
std::vector<std::int16_t> MakeLostBall();
std::vector<std::int16_t> MakeGameOver();

inline constexpr CueSound kCueSounds[] = {
    {"click.wav", MakeClick},
    {"destroy.wav", MakeStart},
    {"powers.wav", MakeLostBall},
    {"failedme.wav", MakeGameOver},
};
