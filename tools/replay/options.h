// The replay's command line.
#pragma once

#include <string>

struct ReplayOptions {
  bool help = false;
};

// False, with `error` set, for an unknown option or a missing or bad value.
bool ParseReplayOptions(int argc, char** argv, ReplayOptions& options, std::string& error);

extern const char* const kReplayUsage;
