// The replay's command line.
#pragma once

#include <string>
#include <vector>

struct ReplayOptions {
  bool help = false;
  std::string framesDirectory;   // empty: write no frames
  std::vector<long> frameTicks;  // empty: every tick
  bool frameTicksGiven = false;
  bool timedemo = false;
};

// False, with `error` set, for an unknown option or a missing or bad value.
bool ParseReplayOptions(int argc, char** argv, ReplayOptions& options, std::string& error);

extern const char* const kReplayUsage;
