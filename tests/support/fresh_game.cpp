#include "support/fresh_game.h"

#include "display/display_device.h"
#include "game/game_state.h"
#include "game/random.h"
#include "input/mouse.h"
#include "scene/scene_objects.h"

void FreshGame::SetUp() {
  host::Install(&host_);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  randomState = 1;
  lives = 2;
  attractMode = true;
  playing = false;
  hits = 0;
  level = 1;
  speedBonus = 3;
  mouseDx = 512;
  *arena = Sprite();
  *ball = Sprite();
  *paddle = Sprite();
  for (TextLabel* label : {scoreLabel, livesLabel, levelLabel, titleLabel}) *label = TextLabel();
  directDraw = nullptr;
  primarySurface = nullptr;
  backBuffer = nullptr;
  mouseState = {};
  InitInput();
}

void FreshGame::TearDown() {
  portable::ClearFaults();
  host::Install(nullptr);
}

void FreshGame::QueueMouse(int dx, int button) {
  host::MouseState state;
  state.dx = dx;
  state.buttons[0] = static_cast<std::uint8_t>(button);
  host_.QueueMouse(state);
}

std::vector<std::string> FreshGame::TakeCues() {
  std::vector<std::string> cues;
  for (; cuesSeen_ < host_.sounds().size(); ++cuesSeen_)
    cues.push_back(host_.sounds()[cuesSeen_].path);
  return cues;
}

bool FreshGame::QuitRequested() {
  MSG msg;
  return PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message == WM_QUIT;
}
