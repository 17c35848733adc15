#include "options.h"

#include <functional>
#include <string_view>

#include "tick_list.h"

const char* const kReplayUsage =
    "usage: paddleball-replay [options] < script\n"
    "Plays the game on the headless host, one mouse read per script line\n"
    "(\"movement button\"), and prints one JSON line per frame tick.\n"
    "  --help             show this text\n"
    "  --frames DIR       also write each tick's presented frame as DIR/tick-NNNNNN.png\n"
    "                     (the last frame presented during that tick; DIR is created)\n"
    "  --frame-ticks LIST only those ticks, e.g. 1,40,41 (needs --frames)\n"
    "  --timedemo         time every tick (full drawing, no waiting) and print\n"
    "                     frames per second and the median ms per frame to stderr\n"
    "                     when the run ends; stdout keeps the trace unchanged\n"
    "Exit status: 0 when the run ends, 1 when the trace or a frame cannot be\n"
    "written, 2 for a bad option or script line (or one over 4096 bytes).\n";

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
    {"--frames", true,
     [](ReplayOptions& o, std::string_view value, std::string& error) {
       if (value.empty()) {
         error = "--frames needs a directory";
         return false;
       }
       o.framesDirectory = value;
       return true;
     }},
    {"--frame-ticks", true,
     [](ReplayOptions& o, std::string_view value, std::string& error) {
       o.frameTicksGiven = true;
       return ParseTickList(value, o.frameTicks, error);
     }},
    {"--timedemo", false,
     [](ReplayOptions& o, std::string_view, std::string&) {
       o.timedemo = true;
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
  if (options.frameTicksGiven && options.framesDirectory.empty()) {
    error = "--frame-ticks needs --frames DIR";
    return false;
  }
  return true;
}
