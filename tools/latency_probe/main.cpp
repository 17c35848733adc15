// Measures how long a mouse move takes to reach the screen, how steadily frames come and what
// the game costs the processor, for any build of the game that runs on an X display; given a
// second build, runs the two by turns on the one display and prints their difference:
//   latency_probe [options] [--label NAME] [--dir DIR] -- command...
//                 [--versus [--label NAME] [--dir DIR] -- command...]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "game_session.h"
#include "motion_latency.h"
#include "present_intervals.h"
#include "private_display.h"
#include "summary.h"

namespace {

struct Build {
  std::string label = "game";
  std::string directory = ".";
  std::vector<std::string> command;
};

struct Options {
  int samples = 60;
  double seconds = 12;
  int rounds = 1;  // turns each build takes, each with its share of samples and seconds
  std::vector<Build> builds;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  Build build;
  int i = 1;
  while (i < argc) {
    const std::string name = argv[i];
    if (name == "--") {
      for (++i; i < argc && std::strcmp(argv[i], "--versus") != 0; ++i) {
        build.command.push_back(argv[i]);
      }
      if (build.command.empty()) return false;
      options.builds.push_back(build);
      build = Build{};
      ++i;
      continue;
    }
    if (i + 1 >= argc) return false;
    const std::string value = argv[i + 1];
    if (name == "--label")
      build.label = value;
    else if (name == "--dir")
      build.directory = value;
    else if (name == "--samples")
      options.samples = std::atoi(value.c_str());
    else if (name == "--seconds")
      options.seconds = std::atof(value.c_str());
    else if (name == "--rounds")
      options.rounds = std::atoi(value.c_str());
    else
      return false;
    i += 2;
  }
  return !options.builds.empty() && options.builds.size() <= 2 && options.samples > 0 &&
         options.seconds > 0 && options.rounds > 0;
}

struct Results {
  probe::LatencySamples latency;
  probe::IntervalSamples intervals;
};

// The figures the probe prints and compares.
struct Figures {
  probe::Summary latency, grabs, intervals;
  int over = 0;               // intervals over one and a half frames
  double cpuMsPerSecond = 0;  // of play
};

Figures FiguresOf(const Results& results) {
  constexpr double kOverOneAndAHalfFrames = 1.5 * 1000 / 60;
  constexpr double kMillisPerSecond = 1000;
  Figures f;
  f.latency = probe::Summarise(results.latency.millis);
  f.grabs = probe::Summarise(results.latency.grabMillis);
  f.intervals = probe::Summarise(results.intervals.millis);
  for (const double ms : results.intervals.millis) f.over += ms > kOverOneAndAHalfFrames;
  if (results.intervals.playSeconds > 0) {
    f.cpuMsPerSecond =
        results.intervals.cpuSeconds * kMillisPerSecond / results.intervals.playSeconds;
  }
  return f;
}

void Print(const std::string& label, const Results& results) {
  const Figures f = FiguresOf(results);
  const probe::LatencySamples& latency = results.latency;
  const probe::IntervalSamples& intervals = results.intervals;
  std::printf(
      "%s: motion to screen, %d samples: median %.1f ms, 90th percentile %.1f ms, "
      "max %.1f ms (left out: %d moves made in a sound's pause, %d never shown)\n",
      label.c_str(), f.latency.count, f.latency.median, f.latency.p90, f.latency.max,
      latency.inPauses, latency.unseen);
  std::printf("%s: reads of the paddle's rows: one every %.3f ms (median), longest gap %.3f ms\n",
              label.c_str(), f.grabs.median, f.grabs.max);
  std::printf(
      "%s: frame intervals, %d over %.1f s of play: mean %.2f ms, deviation %.2f ms, "
      "99th percentile %.2f ms, max %.2f ms, %d over 1.5 frames (%d sound pauses left "
      "out)\n",
      label.c_str(), f.intervals.count, intervals.playSeconds, f.intervals.mean,
      f.intervals.deviation, f.intervals.p99, f.intervals.max, f.over, intervals.pauses);
  std::printf("%s: processor time, %.1f ms per second of play\n", label.c_str(), f.cpuMsPerSecond);
}

void PrintDifference(const Build& first, const Results& a, const Build& second, const Results& b) {
  const Figures x = FiguresOf(a), y = FiguresOf(b);
  std::printf(
      "%s minus %s: motion to screen median %+.1f ms, 90th percentile %+.1f ms, max %+.1f ms; "
      "frame intervals 99th percentile %+.2f ms, deviation %+.2f ms, %+d over 1.5 frames; "
      "processor time %+.1f ms per second of play\n",
      first.label.c_str(), second.label.c_str(), x.latency.median - y.latency.median,
      x.latency.p90 - y.latency.p90, x.latency.max - y.latency.max,
      x.intervals.p99 - y.intervals.p99, x.intervals.deviation - y.intervals.deviation,
      x.over - y.over, x.cpuMsPerSecond - y.cpuMsPerSecond);
}

int Ceiling(int total, int parts) { return (total + parts - 1) / parts; }

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: latency_probe [--samples N] [--seconds S] [--rounds R] [--label NAME] "
                 "[--dir DIR] -- command... [--versus [--label NAME] [--dir DIR] -- "
                 "command...]\n");
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
  std::vector<std::unique_ptr<probe::GameSession>> games;
  for (std::size_t b = 0; b < options.builds.size(); ++b) {
    const Build& build = options.builds[b];
    games.push_back(std::make_unique<probe::GameSession>(
        probe::GameCommand{build.command, build.directory, display.name(),
                           logPrefix + "-game" + std::to_string(b) + ".log"},
        pointer, watch));
  }
  // By turns, the order swapped each round, so that a machine growing busier or quieter
  // weighs on both builds alike.
  std::vector<Results> results(games.size());
  const int samples = Ceiling(options.samples, options.rounds);
  const double seconds = options.seconds / options.rounds;
  for (int round = 0; round < options.rounds; ++round) {
    for (std::size_t turn = 0; turn < games.size(); ++turn) {
      const std::size_t b = round % 2 == 0 ? turn : games.size() - 1 - turn;
      probe::GameSession& game = *games[b];
      if (!game.EnsurePlaying()) {
        std::fprintf(stderr, "latency_probe: %s did not come into play; see %s-game%zu.log\n",
                     options.builds[b].label.c_str(), logPrefix.c_str(), b);
        return 1;
      }
      results[b].latency.Add(MeasureMotionToScreen(game, pointer, watch, draws, samples));
      results[b].intervals.Add(MeasurePresentIntervals(game, draws, seconds));
      if (games.size() > 1) game.Stop();
    }
  }
  for (std::size_t b = 0; b < games.size(); ++b) {
    Print(options.builds[b].label, results[b]);
    std::printf("%s: the game was started %d times\n", options.builds[b].label.c_str(),
                games[b]->starts());
  }
  if (games.size() == 2)
    PrintDifference(options.builds[0], results[0], options.builds[1], results[1]);
  return 0;
}
