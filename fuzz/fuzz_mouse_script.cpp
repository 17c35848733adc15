// Fuzzes the replay's mouse script: read line by line, as the replay does, to its end or to
// the first line it refuses, which must be named in one short line of plain text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "mouse_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kLongestError = 600;  // the wording and a quote of 80 escaped bytes
  std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
  MouseScript script(input);
  ScriptedRead read;
  std::string error;
  while (script.Next(read, error)) {
    if (script.exhausted()) return 0;
  }
  const bool plain = std::all_of(error.begin(), error.end(),
                                 [](unsigned char c) { return c >= 0x20 && c < 0x7f; });
  if (error.rfind("line ", 0) != 0 || error.size() > kLongestError || !plain) std::abort();
  return 0;
}
