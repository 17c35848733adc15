// Recording, scripted host for tests and tools.
#include "host/headless/headless_host.h"

#include <algorithm>
#include <cstring>

#include "host/cue_hold.h"
#include "host/picture_limits.h"
#include "host/wav_file.h"

namespace host {

// Virtual time: a wait moves the clock to its end at once.
HeadlessHost::HeadlessHost()
    : clock_{[this] { return nowMicros_; },
             [this](std::int64_t wake) { nowMicros_ = std::max(nowMicros_, wake); }} {}

bool HeadlessHost::OpenScreen(int width, int height, int /*bitsPerPixel*/) {
  if (!FitsPictureLimits(width, height)) return false;
  screenWidth_ = width;
  screenHeight_ = height;
  screen_.assign(static_cast<std::size_t>(width) * height, 0);
  screenOpen_ = true;
  return true;
}

void HeadlessHost::ShowFrame(const Frame& frame) {
  ++framesShown_;
  nowMicros_ += frameMicros_;
  if (!keepFrames_ || !IsDrawable(frame)) return;
  screenWidth_ = frame.width;
  screenHeight_ = frame.height;
  screen_.resize(static_cast<std::size_t>(frame.width) * frame.height);
  for (int y = 0; y < frame.height; ++y) {
    std::memcpy(&screen_[static_cast<std::size_t>(y) * frame.width], frame.Row(y),
                static_cast<std::size_t>(frame.width) * sizeof(std::uint16_t));
  }
}

bool HeadlessHost::PollEvent(Event& event) { return events_.Pop(event); }

MouseState HeadlessHost::TakeMouse() {
  ++mouseReads_;
  if (mouseSource_) return mouseSource_();
  if (mouseQueue_.empty()) return MouseState{};
  MouseState state = mouseQueue_.front();
  mouseQueue_.pop_front();
  return state;
}

void HeadlessHost::SetMouseSource(std::function<MouseState()> source) {
  mouseSource_ = std::move(source);
}

void HeadlessHost::QueueMouse(const MouseState& state) { mouseQueue_.push_back(state); }

void HeadlessHost::QueueEvent(const Event& event) { events_.Push(event.kind, event.virtualKey); }

void HeadlessHost::SetCursorVisible(bool visible) { cursorVisible_ = visible; }

// No device plays the cue: a synchronous one holds for exactly as long as the file sounds.
void HeadlessHost::PlaySound(const char* path, bool wait) {
  if (path == nullptr) return StopSound();
  sounds_.push_back({path, wait});
  std::vector<std::uint8_t> bytes;
  WavLayout layout;
  if (!LoadWavFile(path, bytes, layout) || !wait) return;
  HoldForCue(CueHold(nowMicros_, CueMicros(layout)), clock_, [] { return false; });
}

void HeadlessHost::SleepMicros(std::int64_t micros) {
  if (micros > 0) clock_.sleepUntilMicros(nowMicros_ + micros);
}

void HeadlessHost::StopSound() {}

void HeadlessHost::ShowMessage(const char* text, const char* caption) {
  messages_.push_back({text != nullptr ? text : "", caption != nullptr ? caption : ""});
}

void HeadlessHost::DebugOutput(const char* text) {
  debugLines_.emplace_back(text != nullptr ? text : "");
}

void HeadlessHost::ClearRecords() {
  sounds_.clear();
  messages_.clear();
  debugLines_.clear();
  framesShown_ = 0;
}

}  // namespace host
