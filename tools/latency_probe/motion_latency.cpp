#include "motion_latency.h"

#include <chrono>
#include <optional>
#include <random>
#include <thread>

namespace probe {
namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr Millis kFrame(1000.0 / 60);
constexpr Millis kSettle(40);            // the last move is on the screen before the next is made
constexpr Millis kGiveUp(1000);          // a move not shown by then counts as unseen
constexpr unsigned long kPauseMs = 250;  // no draw for this long: the game waited for a sound
constexpr int kMove = 24;                // pixels: enough to move both of the paddle's edges
constexpr int kTriesPerSample = 2;

struct Reading {
  std::optional<double> millis;
  std::vector<double> grabs;
  bool inPause = false;
};

// Moves, then reads the rows without pause until the paddle is seen moved.
Reading TimeOneMove(Pointer& pointer, RowWatch& watch, DrawWatch& draws, int dx) {
  const Rows before = watch.Grab();
  Reading reading;
  draws.Take();
  draws.RestartGap();
  const Clock::time_point moved = Clock::now();
  pointer.Move(dx);
  for (Clock::time_point now = moved; now - moved < kGiveUp;) {
    std::this_thread::sleep_for(kBetweenReads);
    watch.Grab();
    const Clock::time_point read = Clock::now();
    reading.grabs.push_back(Millis(read - now).count());
    now = read;
    if (watch.ChangedSpan(before) >= kPaddleSpan) {
      reading.millis = Millis(read - moved).count();
      break;
    }
  }
  draws.Take();
  reading.inPause = draws.longestGapMs() >= kPauseMs;
  return reading;
}

}  // namespace

void LatencySamples::Add(const LatencySamples& more) {
  millis.insert(millis.end(), more.millis.begin(), more.millis.end());
  grabMillis.insert(grabMillis.end(), more.grabMillis.begin(), more.grabMillis.end());
  inPauses += more.inPauses;
  unseen += more.unseen;
}

LatencySamples MeasureMotionToScreen(GameSession& game, Pointer& pointer, RowWatch& watch,
                                     DrawWatch& draws, int samples) {
  std::mt19937 random(std::random_device{}());
  std::uniform_real_distribution<double> phase(0, kFrame.count());
  LatencySamples result;
  int direction = 1;
  for (int tries = 0; static_cast<int>(result.millis.size()) < samples; ++tries) {
    if (tries >= kTriesPerSample * samples) break;
    direction = -direction;
    if (!game.EnsurePlaying()) break;
    std::this_thread::sleep_for(kSettle + Millis(phase(random)));
    const Reading reading = TimeOneMove(pointer, watch, draws, direction * kMove);
    result.grabMillis.insert(result.grabMillis.end(), reading.grabs.begin(), reading.grabs.end());
    if (reading.inPause) {
      ++result.inPauses;
    } else if (reading.millis) {
      result.millis.push_back(*reading.millis);
    } else if (game.Running()) {
      ++result.unseen;
    }
  }
  return result;
}

}  // namespace probe
