// Recording, scripted host for tests and tools.
#include "host/headless/headless_host.h"

#include <cmath>
#include <cstring>

#include "host/wav_file.h"

namespace host {
namespace {

// A sound that holds the game holds it for as long as the file lasts; unreadable, not at all.
std::int64_t SoundMicros(const char* path) {
  constexpr double kMicrosPerSecond = 1e6;
  std::vector<std::uint8_t> bytes;
  WavLayout layout;
  if (!LoadWavFile(path, bytes, layout)) return 0;
  return std::llround(WavDurationSeconds(layout) * kMicrosPerSecond);
}

}  // namespace

HeadlessHost::HeadlessHost() = default;

bool HeadlessHost::OpenScreen(int width, int height, int /*bitsPerPixel*/) {
  screenWidth_ = width;
  screenHeight_ = height;
  screen_.assign(static_cast<std::size_t>(width) * height, 0);
  screenOpen_ = true;
  return true;
}

void HeadlessHost::ShowFrame(const Frame& frame) {
  ++framesShown_;
  nowMicros_ += frameMicros_;
  if (!keepFrames_ || frame.pixels == nullptr) return;
  screenWidth_ = frame.width;
  screenHeight_ = frame.height;
  screen_.resize(static_cast<std::size_t>(frame.width) * frame.height);
  for (int y = 0; y < frame.height; ++y) {
    std::memcpy(&screen_[static_cast<std::size_t>(y) * frame.width], frame.Row(y),
                static_cast<std::size_t>(frame.width) * sizeof(std::uint16_t));
  }
}

bool HeadlessHost::PollEvent(Event& event) {
  if (events_.empty()) return false;
  event = events_.front();
  events_.pop_front();
  return true;
}

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

void HeadlessHost::QueueEvent(const Event& event) { events_.push_back(event); }

void HeadlessHost::SetCursorVisible(bool visible) { cursorVisible_ = visible; }

void HeadlessHost::PlaySound(const char* path, bool wait) {
  sounds_.push_back({path != nullptr ? path : "", wait});
  if (wait) nowMicros_ += SoundMicros(path);
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
