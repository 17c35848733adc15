// The replay's input script: one mouse read a line, "movement button", read as needed.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

struct ScriptedRead {
  std::int32_t movement = 0;
  std::uint8_t button = 0;
};

class MouseScript {
 public:
  explicit MouseScript(std::istream& input) : input_(input) {}

  // The next read; once the script is used up, no movement and no button. False, with
  // `error` set, for a line that is not two integers (the second from 0 to 255).
  bool Next(ScriptedRead& read, std::string& error);
  // Whether a read has found the script used up.
  bool exhausted() const { return exhausted_; }

 private:
  std::istream& input_;
  long lineNumber_ = 0;
  bool exhausted_ = false;
};

// Parses one line; false when it holds something other than a read, blank or comment.
// `blank` is set for a line with nothing to read.
bool ParseScriptLine(const std::string& line, ScriptedRead& read, bool& blank);
