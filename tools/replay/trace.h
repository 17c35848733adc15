// One JSON Lines record per frame tick: the game state the rules left behind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TickRecord {
  long tick = 0;
  std::vector<std::string> cues;
  bool quit = false;
};

// Appends the record for the current game state to `out`, without a newline.
void WriteTickRecord(const TickRecord& record, std::string& out);
