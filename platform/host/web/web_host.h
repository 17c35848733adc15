// The browser host: the page's canvas (WebGL, or 2D where there is none), its mouse and keys, Web
// Audio and messages on the page. Every frame and every wait gives the browser its turn.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/event_queue.h"
#include "host/frame_deadline.h"
#include "host/host.h"
#include "host/host_clock.h"
#include "host/key_steering.h"
#include "host/key_translation.h"
#include "host/mouse_accumulator.h"
#include "host/touch_steering.h"
#include "host/web/canvas_image.h"
#include "host/web/page_pad.h"
#include "host/web/texture_rows.h"

namespace host {

class WebHost final : public Host {
 public:
  WebHost();
  ~WebHost() override;
  WebHost(const WebHost&) = delete;
  WebHost& operator=(const WebHost&) = delete;

  bool OpenScreen(int width, int height, int bitsPerPixel) override;
  void ShowFrame(const Frame& frame) override;
  bool PollEvent(Event& event) override;
  MouseState TakeMouse() override;
  void SetTitle(const char* title) override;
  void SetCursorVisible(bool visible) override;
  void PlaySound(const char* path, bool wait) override;
  void StopSound() override;
  std::int64_t NowMicros() override;
  void SleepMicros(std::int64_t micros) override;
  void ShowMessage(const char* text, const char* caption) override;
  void DebugOutput(const char* text) override;
  void NoteText(std::string_view text) override;

  // Tells the page that the program has ended and offers another game.
  void ShowEnd(int exitCode);

  // Called from the page's event handlers.
  void Key(const KeyReport& key);
  // The first pad as the page polled it: its stick across, and its standard buttons held, a bit
  // each (south, east, start, d-pad left, d-pad right); not `present` once it is gone.
  void Pad(bool present, double across, unsigned held);
  void LoseFocus();
  MouseAccumulator& mouse() { return mouse_; }
  TouchSteering& touch() { return touch_; }
  // Whether movement comes from the page's raw pointer updates rather than mousemove.
  bool rawMotion() const { return rawMotion_; }
  void SetRawMotion(bool raw) { rawMotion_ = raw; }
  void FitToPage();

 private:
  void WaitUntil(std::int64_t micros);
  void Queue(Event::Kind kind, std::uint32_t virtualKey = 0);
  // The GPU widens the 16-bit rows that changed; the 2D path widens them here.
  void ShowOnGpu(const Frame& frame);
  void ShowOnCanvas(const Frame& frame);

  bool screenOpen_ = false;
  bool onGpu_ = false;
  int screenWidth_ = 0;
  int screenHeight_ = 0;
  bool rawMotion_ = false;
  TextureRows textureRows_;
  CanvasImage image_;
  FrameDeadline deadline_;
  std::int64_t pageFrameMicros_ = 0;  // the time of the page frame the game steps in
  HostClock clock_;
  MouseAccumulator mouse_;
  TouchSteering touch_;
  KeySteering keys_;
  PagePad pad_;
  EventQueue pending_;
  // The lines drawn into the frame being made, and those the page was last given.
  std::string drawnText_;
  std::string shownText_;
};

}  // namespace host
