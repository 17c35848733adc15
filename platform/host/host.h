// The narrow interface between the portable layer and the machine it runs on: a
// screen, a refresh clock, events, a relative mouse, sound and the user's attention.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace host {

// Movement accumulated since the previous take, and the buttons held now or pressed since.
struct MouseState {
  std::int32_t dx = 0;
  std::int32_t dy = 0;
  std::int32_t wheel = 0;
  std::uint8_t buttons[4] = {0, 0, 0, 0};
};

// What the user did to the window, in the terms of the window procedure.
struct Event {
  // A system key is one pressed while Alt is held.
  enum class Kind { kKeyDown, kKeyUp, kSysKeyDown, kSysKeyUp, kClose, kExpose };
  Kind kind = Kind::kExpose;
  std::uint32_t virtualKey = 0;  // for key events, a Win32 virtual-key code
};

// One RGB565 frame, top row first.
struct Frame {
  const std::uint16_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitchBytes = 0;

  // The first pixel of `y`, rows being pitchBytes apart.
  const std::uint16_t* Row(int y) const {
    return reinterpret_cast<const std::uint16_t*>(reinterpret_cast<const std::uint8_t*>(pixels) +
                                                  static_cast<std::ptrdiff_t>(y) * pitchBytes);
  }
};

class Host {
 public:
  virtual ~Host() = default;

  // Takes the screen over in the given mode; false when it cannot.
  virtual bool OpenScreen(int width, int height, int bitsPerPixel) = 0;
  // The text that window lists show for the screen's window.
  virtual void SetTitle(const char* title) = 0;
  // Shows a frame at the next refresh and returns once that refresh has begun,
  // so that every frame stays on screen for at least one refresh.
  virtual void ShowFrame(const Frame& frame) = 0;

  virtual bool PollEvent(Event& event) = 0;
  virtual MouseState TakeMouse() = 0;
  virtual void SetCursorVisible(bool visible) = 0;

  // Plays a WAV file, stopping any sound still playing; waits for it to be heard
  // when `wait` is set. Returns at once when the file or the device is missing.
  virtual void PlaySound(const char* path, bool wait) = 0;
  virtual void StopSound() = 0;

  // The host's clock in microseconds, and a wait on it: real time on a desktop, virtual
  // time where the host keeps its own.
  virtual std::int64_t NowMicros() = 0;
  virtual void SleepMicros(std::int64_t micros) = 0;

  // A modal box; returns once dismissed (or at once where none can be shown).
  virtual void ShowMessage(const char* text, const char* caption) = 0;
  virtual void DebugOutput(const char* text) = 0;

  // A line of text the program drew into the frame it is making, for a host that also
  // shows it in type of its own (the page, where the picture is small). Ignored by default.
  virtual void NoteText(std::string_view /*text*/) {}
};

// The host the portable layer talks to; exactly one is installed per process.
Host& Current();
void Install(Host* host);

}  // namespace host
