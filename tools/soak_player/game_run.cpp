#include "game_run.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>

namespace soak {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr auto kTitleLimit = seconds(60);  // a sanitizer build starts slowly
constexpr auto kPlayLimit = seconds(10);   // the start cue is a few seconds at most
constexpr auto kPress = milliseconds(300);
constexpr auto kStallLimit = seconds(20);  // far beyond the longest cue
constexpr auto kEndLimit = seconds(60);    // the leak check at exit takes a while
constexpr auto kRssPeriod = seconds(10);
constexpr auto kFirstMinute = seconds(60);
constexpr auto kBetweenPolls = milliseconds(1);
constexpr int kMostMove = 120;
constexpr int kBallHeight = 104;
constexpr int kPaddleHalf = 72;
// The paddle's rows, 636 to 660, and 3 more either side.
constexpr int kBandTop = 633;
constexpr int kBandBottom = 663;

long ResidentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string word;
  while (status >> word) {
    long kb = 0;
    if (word == "VmRSS:" && status >> kb) return kb;
  }
  return -1;
}

int CountReports(const std::string& logPath) {
  std::ifstream log(logPath);
  std::stringstream text;
  text << log.rdbuf();
  const std::string all = text.str();
  int count = 0;
  for (const char* mark : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"}) {
    for (std::size_t at = all.find(mark); at != std::string::npos; at = all.find(mark, at + 1)) {
      ++count;
    }
  }
  return count;
}

}  // namespace

GameOutcome GameRun::Play(const GameCommand& command, Clock::time_point until) {
  GameOutcome outcome;
  ended_.reset();
  ballLetGo_ = false;
  const std::vector<std::string> environment = {"DISPLAY=" + command.displayName};
  if (game_.Start(command.argv, environment, command.directory, command.logPath) &&
      WaitForTitle(until) && ClickToStart(until)) {
    outcome.started = true;
    const Clock::time_point playing = Clock::now();
    PlayUntil(until, game_.pid(), outcome);
    outcome.playSeconds = std::chrono::duration<double>(Clock::now() - playing).count();
  }
  if (Running()) PressEscape();
  if (!ended_) ended_ = game_.Wait(kEndLimit);
  outcome.status = ended_;
  game_.Stop();
  outcome.sanitizerReports = CountReports(command.logPath);
  return outcome;
}

// Whether the game still runs; its exit status is kept once it has ended.
bool GameRun::Running() {
  if (!ended_) ended_ = game_.Wait(std::chrono::milliseconds(0));
  return !ended_;
}

// The title is up once most of the screen is drawn.
bool GameRun::WaitForTitle(Clock::time_point until) {
  const auto giveUp = std::min(until, Clock::now() + kTitleLimit);
  while (Clock::now() < giveUp && Running()) {
    const probe::Rows& rows = screen_.Grab();
    const auto lit = std::count_if(rows.begin(), rows.end(), [](auto p) { return p != 0; });
    if (!rows.empty() && lit > static_cast<long>(rows.size() / 2)) return true;
    std::this_thread::sleep_for(milliseconds(100));
  }
  return false;
}

// Clicks until the ball moves: a game still loading may miss a click.
bool GameRun::ClickToStart(Clock::time_point until) {
  const auto still = FindBall(screen_.Grab());
  pointer_.MoveTo(kScreenWidth / 2, kScreenHeight / 2);
  while (Clock::now() < until && Running()) {
    pointer_.LeftButton(true);
    std::this_thread::sleep_for(kPress);
    pointer_.LeftButton(false);
    const auto giveUp = std::min(until, Clock::now() + kPlayLimit);
    while (Clock::now() < giveUp) {
      const auto ball = FindBall(screen_.Grab());
      if (ball && still && !(*ball == *still)) {
        lastBall_ = *ball;
        return true;
      }
      std::this_thread::sleep_for(milliseconds(20));
    }
  }
  return false;
}

void GameRun::PlayUntil(Clock::time_point until, pid_t pid, GameOutcome& outcome) {
  const Clock::time_point start = Clock::now();
  Clock::time_point lastDraw = start, nextSample = start;
  std::optional<long> afterFirstMinute;
  draws_.Take();
  while (Clock::now() < until && Running()) {
    const Clock::time_point now = Clock::now();
    if (now >= nextSample) {
      const long kb = ResidentKb(pid);
      if (now - start >= kFirstMinute && kb > 0 && !afterFirstMinute) afterFirstMinute = kb;
      if (afterFirstMinute)
        outcome.rssGrowthKb = std::max(outcome.rssGrowthKb, kb - *afterFirstMinute);
      nextSample += kRssPeriod;
    }
    if (!draws_.Take()) {
      if (now - lastDraw > kStallLimit) {
        outcome.stalled = Running();
        return;
      }
      std::this_thread::sleep_for(kBetweenPolls);
      continue;
    }
    lastDraw = now;
    ++outcome.frames;
    const probe::Rows& rows = screen_.Grab();
    if (const auto ball = FindBall(rows); ball && !(*ball == lastBall_)) {
      Follow(*ball, FindPaddleCentre(rows), outcome);
    }
  }
}

// A new frame. The ball's bottom edge in the paddle's catch band, over the paddle, makes
// the next step catch it; the paddle is moved towards the ball's middle by most of the
// distance, as the move shows a frame later. The first ball of a game is let go, so that
// every cue has been heard before the first minute's memory is taken: a perfect player would
// hear the lost ball's cue first near level 26, and the buffers of its first playing would
// count as growth.
void GameRun::Follow(const Box& ball, std::optional<int> paddle, GameOutcome& outcome) {
  lastBall_ = ball;
  if (!paddle) return;
  const int bottom = ball.top + kBallHeight;
  if (!ballLetGo_) {
    ballLetGo_ = bottom > kBandBottom;
    const int away = ball.centreX() < kScreenWidth / 2 ? kScreenWidth - kPaddleHalf : kPaddleHalf;
    const int dx = std::clamp((away - *paddle) * 3 / 5, -kMostMove, kMostMove);
    if (dx != 0) pointer_.Move(dx);
    return;
  }
  const bool over = ball.right >= *paddle - kPaddleHalf && ball.left <= *paddle + kPaddleHalf;
  if (bottom >= kBandTop && bottom <= kBandBottom && over) ++outcome.catches;
  const int dx = std::clamp((ball.centreX() - *paddle) * 3 / 5, -kMostMove, kMostMove);
  if (dx != 0) pointer_.Move(dx);
}

void GameRun::PressEscape() {
  const KeyCode escape = XKeysymToKeycode(display_, XK_Escape);
  XTestFakeKeyEvent(display_, escape, True, CurrentTime);
  XTestFakeKeyEvent(display_, escape, False, CurrentTime);
  XFlush(display_);
}

}  // namespace soak
