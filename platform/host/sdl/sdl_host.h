// The desktop host: a full-screen SDL window, paced frames, keys, pads, relative mouse, boxes,
// sound.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/event_queue.h"
#include "host/frame_deadline.h"
#include "host/host.h"
#include "host/host_clock.h"
#include "host/key_steering.h"
#include "host/mouse_accumulator.h"
#include "host/sdl/background_mouse.h"
#include "host/sdl/presenter.h"

class SdlAudio;

namespace host {

class SdlHost final : public Host {
 public:
  enum class Presentation { kChooseForMachine, kWindowSurface, kRenderer };

  // Starts SDL's video and events; null, with SDL's reason in `error`, when it cannot. Every
  // wait (a frame, a cue, a sleep) is on `clock`: the system's, unless a test brings its own.
  static std::unique_ptr<SdlHost> Create(
      std::string& error, Presentation presentation = Presentation::kChooseForMachine,
      HostClock clock = SystemClock());
  ~SdlHost() override;
  SdlHost(const SdlHost&) = delete;
  SdlHost& operator=(const SdlHost&) = delete;

  bool OpenScreen(int width, int height, int bitsPerPixel) override;
  void SetTitle(const char* title) override;
  void ShowFrame(const Frame& frame) override;
  bool PollEvent(Event& event) override;
  MouseState TakeMouse() override;
  void SetCursorVisible(bool visible) override;
  void PlaySound(const char* path, bool wait) override;
  void StopSound() override;
  std::int64_t NowMicros() override;
  void SleepMicros(std::int64_t micros) override;
  void ShowMessage(const char* text, const char* caption) override;
  void DebugOutput(const char* text) override;

 private:
  SdlHost(bool useRenderer, HostClock clock);
  void Present(const Frame& frame);
  void HoldUntil(std::int64_t deadlineMicros);
  void TakeEvents();
  void Handle(const SDL_Event& event);
  void HandleWindowEvent(const SDL_WindowEvent& event);
  void HandleKey(const SDL_KeyboardEvent& event);
  void HandlePad(const SDL_Event& event);
  void OpenFirstPad();
  void GameKey(const KeyReport& key);
  bool HasFocus() const;
  void Queue(Event::Kind kind, std::uint32_t virtualKey = 0);
  void TakeHeldButtons();
  void TryRenderer();
  void UseWindowSurface();

  bool wantsRenderer_;
  bool usesRenderer_ = false;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<Presenter> presenter_;
  std::unique_ptr<SdlAudio> audio_;
  HostClock clock_;
  FrameDeadline deadline_;
  EventQueue pending_;
  MouseAccumulator mouse_;
  KeySteering keys_;
  SDL_GameController* pad_ = nullptr;  // the first pad, which steers
  BackgroundMouse background_;
  std::string title_;
  int pictureWidth_ = 0;
  int pictureHeight_ = 0;
};

}  // namespace host
