// Measures how long a mouse move takes to reach the screen, and how steadily frames come, for
// any build of the game that runs on an X display: latency_probe [options] -- command...
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game_session.h"
#include "motion_latency.h"
#include "present_intervals.h"
#include "private_display.h"
#include "summary.h"

namespace {

struct Options {
  std::string label = "game";
  std::string directory = ".";
  int samples = 60;
  double seconds = 12;
  std::vector<std::string> command;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  int i = 1;
  for (; i + 1 < argc && std::strcmp(argv[i], "--") != 0; i += 2) {
    const std::string name = argv[i], value = argv[i + 1];
    if (name == "--label")
      options.label = value;
    else if (name == "--dir")
      options.directory = value;
    else if (name == "--samples")
      options.samples = std::atoi(value.c_str());
    else if (name == "--seconds")
      options.seconds = std::atof(value.c_str());
    else
      return false;
  }
  for (++i; i < argc; ++i) options.command.push_back(argv[i]);
  return !options.command.empty() && options.samples > 0 && options.seconds > 0;
}

void PrintLatency(const std::string& label, const probe::LatencySamples& latency) {
  const probe::Summary s = probe::Summarise(latency.millis);
  const probe::Summary grab = probe::Summarise(latency.grabMillis);
  std::printf(
      "%s: motion to screen, %d samples: median %.1f ms, 90th percentile %.1f ms, "
      "max %.1f ms (left out: %d moves made in a sound's pause, %d never shown)\n",
      label.c_str(), s.count, s.median, s.p90, s.max, latency.inPauses, latency.unseen);
  std::printf("%s: reads of the paddle's rows: one every %.3f ms (median), longest gap %.3f ms\n",
              label.c_str(), grab.median, grab.max);
}

void PrintIntervals(const std::string& label, const probe::IntervalSamples& intervals) {
  constexpr double kOverOneAndAHalfFrames = 1.5 * 1000 / 60;
  const probe::Summary s = probe::Summarise(intervals.millis);
  int over = 0;
  for (const double ms : intervals.millis) over += ms > kOverOneAndAHalfFrames;
  std::printf(
      "%s: frame intervals, %d over %.1f s of play: mean %.2f ms, deviation %.2f ms, "
      "99th percentile %.2f ms, max %.2f ms, %d over 1.5 frames (%d sound pauses left "
      "out)\n",
      label.c_str(), s.count, intervals.playSeconds, s.mean, s.deviation, s.p99, s.max, over,
      intervals.pauses);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: latency_probe [--label NAME] [--dir DIR] [--samples N] [--seconds S] "
                 "-- command...\n");
    return 2;
  }
  const std::string logDir = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "/tmp";
  const std::string logPrefix = logDir + "/latency_probe-" + std::to_string(getpid());
  private_x::PrivateDisplay display("1024x768x24", logPrefix + "-xvfb.log");
  if (display.connection() == nullptr) {
    std::fprintf(stderr, "latency_probe: Xvfb did not start\n");
    return 1;
  }
  probe::RowWatch watch(display.connection(), probe::kPaddleTop, probe::kPaddleRows);
  probe::DrawWatch draws(display.connection());
  if (!watch.ready() || !draws.ready() || !probe::Pointer::Available(display.connection())) {
    std::fprintf(stderr, "latency_probe: the X server lacks MIT-SHM, Damage or XTest\n");
    return 1;
  }
  probe::Pointer pointer(display.connection());
  probe::GameSession game(
      {options.command, options.directory, display.name(), logPrefix + "-game.log"}, pointer,
      watch);
  if (!game.EnsurePlaying()) {
    std::fprintf(stderr, "latency_probe: the game did not come into play; see %s-game.log\n",
                 logPrefix.c_str());
    return 1;
  }
  PrintLatency(options.label, MeasureMotionToScreen(game, pointer, watch, draws, options.samples));
  PrintIntervals(options.label, MeasurePresentIntervals(game, draws, options.seconds));
  std::printf("%s: the game was started %d times\n", options.label.c_str(), game.starts());
  return 0;
}
