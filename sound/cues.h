// The game's four sound cues, each a WAV file played by name.
#pragma once

enum class Cue {
  kClick,     // wall, ceiling or paddle bounce; does not hold the game
  kStart,     // the starting click; holds the game until heard
  kLostBall,  // a ball lost with balls left; holds the game
  kGameOver,  // the last ball lost; holds the game
};

void PlayCue(Cue cue);
