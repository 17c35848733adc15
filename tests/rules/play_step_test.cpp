// One play step: the ball's bounces, the floor, the paddle's catch band and the level, the
// heads-up texts, and the paddle between the walls.
#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "game/game_state.h"
#include "game/play_step.h"
#include "game/random.h"
#include "scene/scene_objects.h"
#include "support/fresh_game.h"

namespace {

// A generator state whose next draws give these remainders modulo 7, in order.
std::uint32_t StateDrawing(std::initializer_list<int> remainders) {
  for (std::uint32_t candidate = 1;; ++candidate) {
    randomState = candidate;
    bool matches = true;
    for (int remainder : remainders) matches = matches && NextRandom() % 7 == remainder;
    if (matches) return candidate;
  }
}

const std::string kClick = "sounds/click.wav", kLost = "sounds/powers.wav",
                  kGameOver = "sounds/failedme.wav";

class PlayStepTest : public FreshGame {
 protected:
  void SetUp() override {
    FreshGame::SetUp();
    playing = true;
    attractMode = false;
    // At its serve place, already widened to its 144-pixel surface.
    paddle->Load("images/paddle4.bmp", 144, 32);
    paddle->SetBounds({444, 636, 444 + 144, 660});
  }
  static void PlaceBall(RECT bounds, int vx, int vy) {
    ball->SetBounds(bounds);
    ball->SetVelocityX(vx);
    ball->SetVelocityY(vy);
  }
  RECT Step(int dx = 0) {
    QueueMouse(dx);
    PlayStep(playing, lives);
    return paddle->GetBounds();
  }
};

// The ball's corner and velocity with the game's counters; the ball is 88 x 104.
struct BallState {
  LONG left, top;
  int vx, vy;
  int hits = 0, level = 1, bonus = 3, lives = 2;
};

struct BallCase {
  const char* name;
  std::initializer_list<int> draws;  // the random draws' remainders modulo 7, in order
  BallState before, after;
  std::vector<std::string> cues;
  int steps = 1;
  LONG paddleLeft = 444;  // 144 wide, top 636
};

// A new speed is a draw plus the bonus, away from what was hit, horizontal first; the step
// still moves the ball by its old velocity, so a bounce shows one step late. A ball that
// reaches a wall, the ceiling or the floor exactly has not crossed it.
TEST_F(PlayStepTest, BallBouncesIsLostOrCaughtAndHitsRaiseTheLevel) {
  const BallCase cases[] = {
      {"right wall", {0}, {900, 300, 9, 4}, {909, 304, -3, 4}, {kClick}},
      {"corner", {2, 5}, {30, 30, -5, -5}, {25, 25, 5, 8}, {kClick, kClick}},
      {"bonus", {6}, {30, 300, -5, 0, 0, 1, 20}, {25, 300, 26, 0, 0, 1, 20}, {kClick}},
      {"still outside a wall", {0, 0}, {19, 300, 3, 0}, {25, 300, 3, 0}, {kClick, kClick}, 2},
      {"at 768 and 28", {}, {28, 656, 0, 8}, {28, 664, 0, 8}, {}},
      {"last ball at 996", {}, {908, 656, 0, 9, 0, 1, 3, 1}, {908, 665, 0, 9, 0, 1, 3, 0}, {kLost}},
      {"game over", {}, {100, 656, 0, 9, 0, 1, 3, 0}, {100, 665, 0, 9, 0, 1, 3, -1}, {kGameOver}},
      {"past the paddle's right end", {}, {589, 536, 0, 5}, {589, 541, 0, 5}, {}},
      {"touching its left end", {1}, {356, 536, 0, 5}, {356, 541, 0, -4, 1}, {kClick}},
      // The catch band is the paddle's height and three pixels either side, and every step
      // that starts in it counts a hit.
      {"top of the band", {1}, {500, 529, 0, 5}, {500, 534, 0, -4, 1}, {kClick}},
      {"above the band", {}, {500, 528, 0, 5}, {500, 533, 0, 5}, {}},
      {"bottom of the band", {1}, {500, 559, 0, 5}, {500, 564, 0, -4, 1}, {kClick}},
      {"below the band", {}, {500, 560, 0, 5}, {500, 565, 0, 5}, {}},
      {"in the band again", {1, 1}, {500, 536, 0, 5}, {500, 537, 0, -4, 2}, {kClick, kClick}, 2},
      {"wall and catch", {0, 1}, {30, 536, -5, 5}, {25, 541, 3, -4, 1}, {kClick, kClick}, 1, 28},
      {"49th hit at its right end", {1}, {588, 536, 0, 5, 48}, {588, 541, 0, -4, 49}, {kClick}},
      {"50th hit", {1}, {500, 536, 0, 5, 49}, {500, 541, 0, -4, 50, 2, 4}, {kClick}},
      {"100th hit", {1}, {500, 536, 0, 5, 99, 2, 4}, {500, 541, 0, -5, 100, 3, 5}, {kClick}},
      {"one level a step, at 28", {}, {500, 27, 0, 1, 500}, {500, 28, 0, 1, 500, 2, 4}, {}},
  };
  for (const BallCase& c : cases) {
    SCOPED_TRACE(c.name);
    const BallState& b = c.before;
    randomState = StateDrawing(c.draws);
    std::tie(hits, level, speedBonus, lives) = std::tie(b.hits, b.level, b.bonus, b.lives);
    playing = true;
    PlaceBall({b.left, b.top, b.left + 88, b.top + 104}, b.vx, b.vy);
    paddle->SetBounds({c.paddleLeft, 636, c.paddleLeft + 144, 660});
    for (int step = 0; step < c.steps; ++step) Step();
    const BallState& a = c.after;
    EXPECT_EQ(std::tuple(ball->GetBounds().left, ball->GetBounds().top, ball->GetVelocityX(),
                         ball->GetVelocityY(), hits, level, speedBonus, lives),
              std::tuple(a.left, a.top, a.vx, a.vy, a.hits, a.level, a.bonus, a.lives));
    EXPECT_EQ(playing, a.lives == b.lives);
    EXPECT_EQ(TakeCues(), c.cues);
    // Only the click leaves the game running while it sounds.
    if (!c.cues.empty()) {
      EXPECT_EQ(host_.sounds().back().wait, c.cues.back() != kClick);
    }
  }
}

// The score in hundreds from the first hit; the lives as the step leaves them, the level as
// the step found it.
TEST_F(PlayStepTest, LabelsShowTheScoreInHundredsTheLivesLeftAndTheLevelAStepLate) {
  PlaceBall({500, 300, 588, 404}, 0, 1);
  Step();
  EXPECT_STREQ(scoreLabel->GetText(), "SCORE: ");
  EXPECT_STREQ(livesLabel->GetText(), "LIVES: 2");
  EXPECT_STREQ(levelLabel->GetText(), "LEVEL: 1");
  hits = 49;
  PlaceBall({500, 536, 588, 640}, 0, 5);
  Step();
  EXPECT_STREQ(scoreLabel->GetText(), "SCORE: 5000");
  EXPECT_STREQ(levelLabel->GetText(), "LEVEL: 1");
  lives = 1;
  PlaceBall({100, 656, 188, 760}, 0, 9);
  Step();
  EXPECT_STREQ(livesLabel->GetText(), "LIVES: ");
}

// Steps of mouse movement and the paddle's left edge after each; it is 144 wide from the
// first step on. The first step after the serve tests the old, 140-wide right edge:
// 584 + 412 = 996 still passes the wall by four, and the next step pulls it back.
TEST_F(PlayStepTest, PaddleStopsAtTheWalls) {
  const struct {
    const char* name;
    std::vector<std::pair<int, LONG>> steps;  // movement, then the left edge
  } runs[] = {
      {"left wall", {{-416, 28}, {5, 33}, {-6, 28}, {INT_MIN, 28}}},
      {"right wall once widened", {{0, 444}, {996 - 588, 852}, {1, 852}, {INT_MAX, 852}}},
      {"first step past the right wall", {{412, 856}, {0, 852}}},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.name);
    PlaceBall({468, 332, 556, 436}, 1, -1);   // far from everything
    paddle->SetBounds({444, 636, 584, 660});  // as served: 140 wide
    for (const auto& [dx, left] : run.steps) {
      const RECT p = Step(dx);
      EXPECT_EQ(p.left, left) << dx;
      EXPECT_EQ(p.right, left + 144) << dx;
    }
  }
}

}  // namespace
