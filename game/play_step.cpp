#include "game/play_step.h"

#include <cstdint>

#include "display/display_device.h"
#include "game/game_state.h"
#include "game/random.h"
#include "input/mouse.h"
#include "scene/scene_objects.h"
#include "sound/cues.h"

namespace {

constexpr std::int32_t kLeftWall = 28;
constexpr std::int32_t kRightWall = 996;
constexpr std::int32_t kScreenWidth = 1024;
constexpr std::int32_t kCeiling = 28;
constexpr std::int32_t kFloor = 768;
constexpr std::int32_t kPaddleSlack = 3;

std::int32_t RandomSpeed() { return NextRandom() % 7 + speedBonus; }

// The movement is added in 64 bits so that no mouse reading can wrap the clamps.
void MovePaddle(RECT& p, std::int32_t dx) {
  const std::int32_t width = paddle->GetWidth();
  const std::int64_t moved = static_cast<std::int64_t>(dx);
  if (dx < 0) {
    p.left = p.left + moved < kLeftWall ? kLeftWall : p.left + dx;
  } else {
    // The old right edge is tested; the new one follows from the surface width.
    p.left = p.right + moved > kRightWall ? kScreenWidth - width - kLeftWall : p.left + dx;
  }
  p.right = p.left + width;
}

void BounceOffWalls(const RECT& b, std::int32_t vx) {
  if (b.left + vx < kLeftWall) {
    ball->SetVelocityX(RandomSpeed());
    PlayCue(Cue::kClick);
  } else if (b.right + vx > kRightWall) {
    ball->SetVelocityX(-RandomSpeed());
    PlayCue(Cue::kClick);
  }
}

void BounceOffCeilingOrLose(const RECT& b, std::int32_t vy, bool& playing, std::int32_t& lives) {
  if (b.top + vy < kCeiling) {
    ball->SetVelocityY(RandomSpeed());
    PlayCue(Cue::kClick);
  } else if (b.bottom + vy > kFloor) {
    PlayCue(lives > 0 ? Cue::kLostBall : Cue::kGameOver);
    playing = false;
    lives = lives - 1;
  }
}

// Every step that starts with the ball's bottom edge in the band counts a hit.
void CatchOnPaddle(const RECT& b, const RECT& p) {
  if (b.right >= p.left && b.left <= p.right && b.bottom >= p.top - kPaddleSlack &&
      b.bottom <= p.bottom + kPaddleSlack) {
    ball->SetVelocityY(-RandomSpeed());
    PlayCue(Cue::kClick);
    hits = hits + 1;
  }
}

void DrawScene(std::int32_t livesLeft) {
  arena->Draw(backBuffer);
  ball->Draw(backBuffer);
  paddle->Draw(backBuffer);
  // A zero cannot be shown through "%d": zero is passed with a format of its own.
  if (hits > 0) {
    scoreLabel->SetText("SCORE: %d", hits * 100);
  } else {
    scoreLabel->SetText("SCORE: ", 0);
  }
  scoreLabel->Draw();
  if (livesLeft > 0) {
    livesLabel->SetText("LIVES: %d", livesLeft);
  } else {
    livesLabel->SetText("LIVES: ", 0);
  }
  livesLabel->Draw();
  levelLabel->SetText("LEVEL: %d", level);
  levelLabel->Draw();
}

void RaiseLevelWhenDue() {
  constexpr std::int64_t kPointsPerHit = 100;
  constexpr std::int64_t kPointsPerLevel = 5000;
  if (hits * kPointsPerHit >= level * kPointsPerLevel) {
    level = level + 1;
    speedBonus = speedBonus + 1;
  }
}

}  // namespace

void PlayStep(bool& playing, std::int32_t& lives) {
  RECT p = paddle->GetBounds();
  RECT b = ball->GetBounds();
  const std::int32_t vx = ball->GetVelocityX();
  const std::int32_t vy = ball->GetVelocityY();

  ReadMouse();
  mouseDx = mouseState.lX;
  MovePaddle(p, mouseDx);

  BounceOffWalls(b, vx);
  BounceOffCeilingOrLose(b, vy, playing, lives);
  CatchOnPaddle(b, p);

  // The ball moves by the velocity it had when the step began: bounces show a step late.
  b.left += vx;
  b.right += vx;
  b.top += vy;
  b.bottom += vy;
  ball->SetBounds(b);
  paddle->SetBounds(p);

  DrawScene(lives);
  RaiseLevelWhenDue();
  PresentFrame();
}
