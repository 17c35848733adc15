#include "game_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace probe {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr auto kPictureLimit = std::chrono::seconds(120);  // a fresh Wine prefix is slow
constexpr auto kPlayLimit = std::chrono::seconds(60);      // a game still loading is slow
constexpr auto kPress = milliseconds(300);                 // the game polls once a frame
constexpr int kProbeMove = 24;

}  // namespace

bool GameSession::EnsurePlaying() {
  if (game_.Running()) return true;
  std::vector<std::string> environment = {"DISPLAY=" + command_.displayName};
  if (!game_.Start(command_.argv, environment, command_.directory, command_.logPath)) return false;
  ++starts_;
  if (!WaitForPicture()) return false;
  // The press is made again until play starts: a game still loading may miss one.
  const auto giveUp = Clock::now() + kPlayLimit;
  pointer_.MoveTo(512, 384);
  while (Clock::now() < giveUp && game_.Running()) {
    pointer_.LeftButton(true);
    std::this_thread::sleep_for(kPress);
    pointer_.LeftButton(false);
    if (PaddleFollows()) return true;
  }
  std::fprintf(stderr, "latency_probe: the paddle never followed the mouse\n");
  return false;
}

// The title screen is up once most of the paddle's rows are not black.
bool GameSession::WaitForPicture() {
  const auto giveUp = Clock::now() + kPictureLimit;
  while (Clock::now() < giveUp && game_.Running()) {
    const Rows& rows = watch_.Grab();
    const auto lit = std::count_if(rows.begin(), rows.end(), [](auto p) { return p != 0; });
    if (!rows.empty() && lit > static_cast<long>(rows.size() / 2)) return true;
    std::this_thread::sleep_for(milliseconds(100));
  }
  std::fprintf(stderr, "latency_probe: the game showed no picture\n");
  return false;
}

// Both ways, so that a paddle against a wall still shows it follows.
bool GameSession::PaddleFollows() {
  bool followed = false;
  for (const int dx : {kProbeMove, -kProbeMove}) {
    const Rows before = watch_.Grab();
    pointer_.Move(dx);
    std::this_thread::sleep_for(milliseconds(100));
    watch_.Grab();
    followed = followed || watch_.ChangedSpan(before) >= kPaddleSpan;
  }
  return followed;
}

}  // namespace probe
