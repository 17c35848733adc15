#include "game/serve_ball.h"

#include "game/random.h"
#include "scene/scene_objects.h"

void ServeBall() {
  // Serves leave at 3 to 9 pixels a step whatever the level.
  constexpr int kServeSpeedOffset = 3;
  constexpr RECT kBallServe = {468, 332, 468 + 88, 332 + 104};
  constexpr RECT kPaddleServe = {444, 636, 444 + 140, 636 + 24};
  constexpr RECT kLivesBounds = {0, 15, 300, 100};
  constexpr RECT kLevelBounds = {0, 30, 300, 100};
  constexpr RECT kTitleBounds = {392, 84, 392 + 240, 84 + 600};

  ball->SetBounds(kBallServe);
  ball->SetVelocityX(NextRandom() % 7 + kServeSpeedOffset);
  ball->SetVelocityY(-(NextRandom() % 7 + kServeSpeedOffset));
  paddle->SetBounds(kPaddleServe);
  livesLabel->SetBounds(kLivesBounds);
  levelLabel->SetBounds(kLevelBounds);
  titleLabel->SetBounds(kTitleBounds);
}
