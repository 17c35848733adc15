#include "rules_helpers.h"

#include "game/random.h"
#include "scene/scene_objects.h"

std::uint32_t StateDrawing(std::initializer_list<int> remainders) {
  for (std::uint32_t candidate = 1;; ++candidate) {
    randomState = candidate;
    bool matches = true;
    for (int remainder : remainders) matches = matches && NextRandom() % 7 == remainder;
    if (matches) return candidate;
  }
}

void PlaceBall(RECT bounds, int vx, int vy) {
  paddle->Load("images/paddle4.bmp", 144, 32);
  paddle->SetBounds({444, 636, 444 + 144, 660});
  ball->SetBounds(bounds);
  ball->SetVelocityX(vx);
  ball->SetVelocityY(vy);
}
