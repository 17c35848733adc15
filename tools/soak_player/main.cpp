// Plays the game back to back on an X server of its own for a given time, as a player would,
// and says how it went: soak_player [--seconds S] [--dir DIR] [--logs DIR] -- command...
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game_run.h"
#include "private_display.h"

namespace {

constexpr long kMostGrowthKb = 2048;

struct Options {
  double seconds = 60 * 60;
  std::string directory = ".";
  std::string logs = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "/tmp";
  std::vector<std::string> command;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  int i = 1;
  for (; i + 1 < argc && std::strcmp(argv[i], "--") != 0; i += 2) {
    const std::string name = argv[i], value = argv[i + 1];
    if (name == "--seconds")
      options.seconds = std::atof(value.c_str());
    else if (name == "--dir")
      options.directory = value;
    else if (name == "--logs")
      options.logs = value;
    else
      return false;
  }
  for (++i; i < argc; ++i) options.command.push_back(argv[i]);
  return !options.command.empty() && options.seconds > 0;
}

struct Totals {
  int games = 0;
  int catches = 0;
  long growthKb = 0;
  int reports = 0;
  bool failed = false;
};

// Adds one game to the totals; false, with the reason said, when it failed the soak.
// A game started as the time ran out may not have come into play.
bool Account(const soak::GameOutcome& game, bool timeUp, const std::string& log, Totals& totals) {
  ++totals.games;
  totals.catches += game.catches;
  totals.growthKb = std::max(totals.growthKb, game.rssGrowthKb);
  totals.reports += game.sanitizerReports;
  const char* fault = !game.started && !timeUp           ? "never came into play"
                      : game.stalled                     ? "stopped drawing"
                      : !game.status                     ? "would not end"
                      : *game.status != 0                ? "exited with a failure"
                      : game.sanitizerReports > 0        ? "had sanitizer reports"
                      : game.rssGrowthKb > kMostGrowthKb ? "kept growing"
                                                         : nullptr;
  std::printf("soak: game %d: %.0f s of play, %d frames drawn, %d catches\n", totals.games,
              game.playSeconds, game.frames, game.catches);
  if (fault == nullptr) return true;
  std::fprintf(stderr, "soak_player: game %d %s (status %d); see %s\n", totals.games, fault,
               game.status.value_or(-1), log.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: soak_player [--seconds S] [--dir DIR] [--logs DIR] -- command...\n");
    return 2;
  }
  const std::string prefix = options.logs + "/soak-" + std::to_string(getpid());
  private_x::PrivateDisplay display("1024x768x24", prefix + "-xvfb.log");
  if (display.connection() == nullptr) {
    std::fprintf(stderr, "soak_player: Xvfb did not start\n");
    return 1;
  }
  probe::RowWatch screen(display.connection(), 0, soak::kScreenHeight);
  probe::DrawWatch draws(display.connection());
  if (!screen.ready() || !draws.ready() || !probe::Pointer::Available(display.connection())) {
    std::fprintf(stderr, "soak_player: the X server lacks MIT-SHM, Damage or XTest\n");
    return 1;
  }
  probe::Pointer pointer(display.connection());
  soak::GameRun run(display.connection(), screen, draws, pointer);
  const auto until = soak::Clock::now() + std::chrono::duration_cast<soak::Clock::duration>(
                                              std::chrono::duration<double>(options.seconds));
  Totals totals;
  // A failed game fails the soak, but the play goes on: the rest of the time may show more.
  while (soak::Clock::now() < until) {
    const std::string log = prefix + "-game-" + std::to_string(totals.games + 1) + ".log";
    const soak::GameOutcome game =
        run.Play({options.command, options.directory, display.name(), log}, until);
    totals.failed = !Account(game, soak::Clock::now() >= until, log, totals) || totals.failed;
  }
  std::printf(
      "soak: %g min of play, %d games, %d catches, rss growth at most %ld KB after a game's "
      "first minute, %d sanitizer reports\n",
      options.seconds / 60, totals.games, totals.catches, totals.growthKb, totals.reports);
  return totals.failed ? 1 : 0;
}
