#include "options.h"

#include <functional>
#include <string_view>

const char* const kReplayUsage =
    "usage: paddleball-replay [options] < script\n"
    "Plays the game on the headless host, one mouse read per script line\n"
    "(\"movement button\"), and prints one JSON line per frame tick.\n"
    "  --help            show this text\n";

namespace {

struct Option {
  std::string_view name;
  bool takesValue;
  std::function<bool(ReplayOptions&, std::string_view value, std::string& error)> apply;
};

const Option kOptions[] = {
    {"--help", false,
     [](ReplayOptions& o, std::string_view, std::string&) {
       o.help = true;
       return true;
     }},
};

}  // namespace

bool ParseReplayOptions(int argc, char** argv, ReplayOptions& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const Option* match = nullptr;
    for (const Option& option : kOptions) {
      if (option.name == argument) match = &option;
    }
    if (match == nullptr) {
      error = "unknown option: " + std::string(argument);
      return false;
    }
    std::string_view value;
    if (match->takesValue) {
      if (i + 1 >= argc) {
        error = std::string(argument) + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    if (!match->apply(options, value, error)) return false;
  }
  return true;
}
