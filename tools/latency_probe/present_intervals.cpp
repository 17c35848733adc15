#include "present_intervals.h"

#include <chrono>
#include <thread>

namespace probe {
namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

constexpr std::chrono::milliseconds kMoveEvery(4);  // a few a frame: every step moves
constexpr int kMove = 4;  // pixels: one-pixel moves may be lost to rounding in the game's input
constexpr std::chrono::milliseconds kTurnEvery(250);  // to and fro, clear of the walls
constexpr Millis kSamePresent(4);  // one present may reach the screen in several pieces
constexpr Millis kPause(250);      // a synchronous cue, by design

// Moves the mouse on its schedule; reads the rows; a changed read is a present.
class Watcher {
 public:
  Watcher(Pointer& pointer, RowWatch& watch) : pointer_(pointer), watch_(watch) {}

  // The time of the next present, or nothing if none came within a pause's length.
  bool NextPresent(Clock::time_point& at) {
    const Clock::time_point start = Clock::now();
    for (Clock::time_point now = start; now - start < kPause; now = Clock::now()) {
      MoveWhenDue(now);
      std::this_thread::sleep_for(kBetweenReads);
      const Rows& rows = watch_.Grab();
      if (last_.empty() || watch_.ChangedSpan(last_) < 0) {
        if (last_.empty()) last_ = rows;
        continue;
      }
      last_ = rows;
      // Pieces of one present that came in close succession count once.
      if (now - lastChange_ < kSamePresent) continue;
      at = lastChange_ = now;
      return true;
    }
    return false;
  }

 private:
  void MoveWhenDue(Clock::time_point now) {
    if (now < nextMove_) return;
    if (now >= nextTurn_) direction_ = -direction_, nextTurn_ = now + kTurnEvery;
    pointer_.Move(direction_ * kMove);
    nextMove_ = now + kMoveEvery;
  }

  Pointer& pointer_;
  RowWatch& watch_;
  Rows last_;
  Clock::time_point lastChange_{}, nextMove_{}, nextTurn_{};
  int direction_ = 1;
};

}  // namespace

IntervalSamples MeasurePresentIntervals(GameSession& game, Pointer& pointer, RowWatch& watch,
                                        double seconds) {
  IntervalSamples result;
  Watcher watcher(pointer, watch);
  Clock::time_point previous{};
  bool counting = false;
  int starts = game.starts();
  // Pauses and restarts take time too, but a game that never shows play must not hold the probe.
  constexpr double kWallTimePerPlayTime = 8;
  const Clock::time_point giveUp =
      Clock::now() + std::chrono::duration_cast<Clock::duration>(
                         std::chrono::duration<double>(seconds * kWallTimePerPlayTime));
  while (result.playSeconds < seconds && Clock::now() < giveUp && game.EnsurePlaying()) {
    // The first frame after a restart follows no frame of the same game.
    if (game.starts() != starts) counting = false, starts = game.starts();
    Clock::time_point at;
    if (!watcher.NextPresent(at)) {
      if (counting) ++result.pauses;
      counting = false;
      continue;
    }
    const Millis interval = at - previous;
    if (counting) {
      result.millis.push_back(interval.count());
      result.playSeconds += interval.count() / 1000;
    }
    previous = at, counting = true;
  }
  return result;
}

}  // namespace probe
