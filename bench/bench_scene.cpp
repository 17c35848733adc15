#include "bench_scene.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "display/display_device.h"
#include "display/sprite_loading.h"
#include "scene/scene_objects.h"

bool SetUpBenchScene(host::HeadlessHost& headless, const char* sourceDirectory) {
  host::Install(&headless);
  headless.SetKeepFrames(false);
  std::error_code failure;
  std::filesystem::current_path(sourceDirectory, failure);
  if (failure) {
    std::fprintf(stderr, "paddleball-bench: %s: %s\n", sourceDirectory, failure.message().c_str());
    return false;
  }
  InitDisplay();
  LoadScene();
  for (const std::string& line : headless.debugLines()) {
    std::fprintf(stderr, "paddleball-bench: loading the scene: %s", line.c_str());
  }
  // The paddle as wide as its picture, as from the first play step on.
  paddle->SetBounds({444, 636, 444 + 144, 636 + 24});
  return backBuffer != nullptr && headless.debugLines().empty();
}

void ComposePlayFrame() {
  constexpr int kScore = 12300;
  constexpr int kLives = 2;
  constexpr int kLevel = 3;
  arena->Draw(backBuffer);
  ball->Draw(backBuffer);
  paddle->Draw(backBuffer);
  scoreLabel->SetText("SCORE: %d", kScore);
  scoreLabel->Draw();
  livesLabel->SetText("LIVES: %d", kLives);
  livesLabel->Draw();
  levelLabel->SetText("LEVEL: %d", kLevel);
  levelLabel->Draw();
}
