// A host with no screen, speaker or mouse: frames, sounds and messages are recorded,
// the mouse is scripted and time is virtual.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host/emulated_mode.h"
#include "host/event_queue.h"
#include "host/host.h"
#include "host/host_clock.h"

namespace host {

class HeadlessHost : public Host {
 public:
  static constexpr std::int64_t kRefreshMicros = kEmulatedRefreshMicros;

  HeadlessHost();
  HeadlessHost(const HeadlessHost&) = delete;
  HeadlessHost& operator=(const HeadlessHost&) = delete;

  bool OpenScreen(int width, int height, int bitsPerPixel) override;
  void SetTitle(const char* title) override { title_ = title != nullptr ? title : ""; }
  void ShowFrame(const Frame& frame) override;
  bool PollEvent(Event& event) override;
  MouseState TakeMouse() override;
  void SetCursorVisible(bool visible) override;
  void PlaySound(const char* path, bool wait) override;
  void StopSound() override;
  std::int64_t NowMicros() override { return nowMicros_; }
  void SleepMicros(std::int64_t micros) override;
  void ShowMessage(const char* text, const char* caption) override;
  void DebugOutput(const char* text) override;

  // Mouse states come from the source when one is set, else from the queue, else
  // no movement and no buttons.
  void SetMouseSource(std::function<MouseState()> source);
  void QueueMouse(const MouseState& state);
  // Into the bounded queue every host keeps: past its bound, events are dropped.
  void QueueEvent(const Event& event);

  // How far the clock moves while a frame is shown: one refresh, or 0 for a display whose
  // flips return at once.
  void SetFrameMicros(std::int64_t micros) { frameMicros_ = micros; }

  // Whether frames are copied as they are shown (tools that only count turn it off).
  void SetKeepFrames(bool keep) { keepFrames_ = keep; }

  struct Sound {
    std::string path;
    bool wait;
  };
  struct Message {
    std::string text;
    std::string caption;
  };

  const std::vector<Sound>& sounds() const { return sounds_; }
  const std::vector<Message>& messages() const { return messages_; }
  const std::vector<std::string>& debugLines() const { return debugLines_; }
  std::int64_t framesShown() const { return framesShown_; }
  std::int64_t nowMicros() const { return nowMicros_; }
  bool screenOpen() const { return screenOpen_; }
  const std::string& title() const { return title_; }
  bool cursorVisible() const { return cursorVisible_; }
  int mouseReads() const { return mouseReads_; }
  // The last frame shown, RGB565, `screenWidth` pixels a row.
  const std::vector<std::uint16_t>& screen() const { return screen_; }
  int screenWidth() const { return screenWidth_; }
  int screenHeight() const { return screenHeight_; }

  void ClearRecords();

 private:
  HostClock clock_;
  std::function<MouseState()> mouseSource_;
  std::deque<MouseState> mouseQueue_;
  EventQueue events_;
  std::vector<Sound> sounds_;
  std::vector<Message> messages_;
  std::vector<std::string> debugLines_;
  std::vector<std::uint16_t> screen_;
  std::string title_;
  int screenWidth_ = 0;
  int screenHeight_ = 0;
  std::int64_t framesShown_ = 0;
  std::int64_t nowMicros_ = 0;
  std::int64_t frameMicros_ = kRefreshMicros;
  int mouseReads_ = 0;
  bool screenOpen_ = false;
  bool cursorVisible_ = true;
  bool keepFrames_ = true;
};

}  // namespace host
