#include "game/frame_tick.h"

#include "app/request_quit.h"
#include "display/display_device.h"
#include "game/game_state.h"
#include "game/play_step.h"
#include "game/serve_ball.h"
#include "input/mouse.h"
#include "scene/scene_objects.h"
#include "sound/cues.h"

namespace {

void ShowAttractFrame() {
  ReadMouse();
  arena->Draw(backBuffer);
  ball->Draw(backBuffer);
  paddle->Draw(backBuffer);
  titleLabel->SetText("Click to Start | Hit ESCAPE to end.", 0);
  titleLabel->Draw();
  PresentFrame();
}

}  // namespace

void FrameTick() {
  if (!playing && attractMode) ShowAttractFrame();
  if (mouseState.rgbButtons[0] != 0 && attractMode) {
    PlayCue(Cue::kStart);
    playing = true;
    attractMode = false;
  }
  if (lives >= 0 && !attractMode && !playing) {
    playing = true;
    ServeBall();
  }
  if (playing && lives >= 0) PlayStep(playing, lives);
  if (lives < 0) RequestQuit();
}
