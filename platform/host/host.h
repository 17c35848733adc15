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
  // Where known, what each row is a copy of: two rows with the same origin other than 0 hold
  // the same pixels. Null, or 0 for a row, where not known.
  const std::uint64_t* rowOrigins = nullptr;

  // The first pixel of `y`, rows being pitchBytes apart.
  const std::uint16_t* Row(int y) const {
    return reinterpret_cast<const std::uint16_t*>(reinterpret_cast<const std::uint8_t*>(pixels) +
                                                  static_cast<std::ptrdiff_t>(y) * pitchBytes);
  }
};

// Every host keeps these terms; tests/host/host_contract_test.cpp runs the same rows against each.
// Null text means empty text. Only ShowFrame, PlaySound with `wait`, SleepMicros and ShowMessage
// may block, and only on the host's own clock (NowMicros), or on the user for the message.
class Host {
 public:
  virtual ~Host() = default;

  // Takes the screen over in the given mode; false, saying why on stderr where there is a
  // reason beyond the size, when it cannot. A size no picture may have is refused; once open,
  // later calls keep the screen and return true.
  virtual bool OpenScreen(int width, int height, int bitsPerPixel) = 0;
  // The text that window lists show for the screen's window.
  virtual void SetTitle(const char* title) = 0;
  // Shows a frame at the next refresh and returns once that refresh has begun, so that every
  // frame stays on screen for at least one refresh. A frame no screen could show (see
  // IsDrawable) is not drawn; the refresh still passes.
  virtual void ShowFrame(const Frame& frame) = 0;

  // The oldest window event not yet taken; false, `event` untouched, when none waits. Never
  // blocks. At most EventQueue::kMostPending wait: past that, new ones are dropped.
  virtual bool PollEvent(Event& event) = 0;
  // Movement since the last take, and each button held now or pressed since then (0x80), so a
  // click between two takes is seen once; nothing at all when nothing happened. Never blocks.
  virtual MouseState TakeMouse() = 0;
  // Shows or hides the pointer over the screen. Never blocks.
  virtual void SetCursorVisible(bool visible) = 0;

  // Plays a WAV file, stopping any sound still playing. With `wait` it holds by the one cue
  // rule (cue_hold.h): at least the sound's length, device or none. A null path only stops; a
  // missing file or one that is no cue plays nothing, holds nothing and is named once on stderr.
  virtual void PlaySound(const char* path, bool wait) = 0;
  // Stops the sound playing, if any. Never blocks.
  virtual void StopSound() = 0;

  // The host's clock in microseconds, never going back: real time on a desktop or a page,
  // virtual time where the host keeps its own.
  virtual std::int64_t NowMicros() = 0;
  // Returns once the clock has moved on by at least `micros`; at once when it is not positive.
  virtual void SleepMicros(std::int64_t micros) = 0;

  // A modal box; returns once dismissed, or at once where none can be shown, the text kept
  // (on stderr, or in the headless host's record).
  virtual void ShowMessage(const char* text, const char* caption) = 0;
  // A line for whoever debugs the program; never shown to the player. Never blocks.
  virtual void DebugOutput(const char* text) = 0;

  // A line of text the program drew into the frame it is making, for a host that also
  // shows it in type of its own (the page, where the picture is small). Ignored by default.
  virtual void NoteText(std::string_view /*text*/) {}
};

// The host the portable layer talks to; exactly one is installed per process.
Host& Current();
void Install(Host* host);

}  // namespace host
