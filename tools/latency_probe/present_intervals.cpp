#include "present_intervals.h"

#include <chrono>
#include <thread>

#include "row_watch.h"

namespace probe {
namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr Millis kSamePresent(4);  // one present may reach the screen in several pieces
constexpr Millis kPause(250);      // a synchronous cue, by design
// Pauses and restarts take time too, but a game that never shows play must not hold the probe.
constexpr double kWallTimePerPlayTime = 8;

}  // namespace

void IntervalSamples::Add(const IntervalSamples& more) {
  millis.insert(millis.end(), more.millis.begin(), more.millis.end());
  playSeconds += more.playSeconds;
  pauses += more.pauses;
  cpuSeconds += more.cpuSeconds;
}

IntervalSamples MeasurePresentIntervals(GameSession& game, DrawWatch& draws, double seconds) {
  IntervalSamples result;
  Clock::time_point previous{};
  bool counting = false;
  // An interval counts once the same game draws again: the last "draw" of a game that ends is
  // its window leaving the screen, as long after its last frame as the game takes to shut down.
  Millis pending(0);  // none yet
  double pendingCpu = 0, previousCpu = 0;
  int starts = game.starts();
  const Clock::time_point giveUp =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(
                         std::chrono::duration<double>(seconds * kWallTimePerPlayTime));
  draws.Take();
  while (result.playSeconds < seconds && Clock::now() < giveUp && game.EnsurePlaying()) {
    // The first frame after a restart follows no frame of the same game.
    if (game.starts() != starts) counting = false, pending = Millis(0), starts = game.starts();
    std::this_thread::sleep_for(kBetweenReads);
    if (!draws.Take()) continue;
    const Clock::time_point at = Clock::now();
    const Millis interval = at - previous;
    if (counting && interval < kSamePresent) continue;
    const double cpu = game.CpuSeconds();
    if (pending > Millis(0)) {
      result.millis.push_back(pending.count());
      result.playSeconds += pending.count() / 1000;
      result.cpuSeconds += pendingCpu;
      pending = Millis(0);
    }
    if (counting && interval >= kPause) ++result.pauses;
    if (counting && interval < kPause) pending = interval, pendingCpu = cpu - previousCpu;
    previous = at, previousCpu = cpu, counting = true;
  }
  return result;
}

}  // namespace probe
