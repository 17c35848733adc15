// Keys and a gamepad as the relative mouse: steering keys, the d-pad and the left stick move it
// at a speed that eases up while held, timed on the host's clock; the start keys and the pad's
// south button are its left button.
#pragma once

#include <cstdint>

#include "host/emulated_mode.h"
#include "host/key_translation.h"
#include "host/mouse_accumulator.h"

namespace host {

// A steering key starts at a speed a player can aim with, in game pixels a second...
constexpr double kSteerStartPixelsPerSecond = 300;
// ...and eases up by this many pixels a second, each second it is held...
constexpr double kSteerAcceleration = 1800;
// ...to full speed: held for half a second from rest, the paddle moves 350 pixels.
constexpr double kSteerPixelsPerSecond = 900;
// A press shorter than one refresh moves as one of a refresh, so a tap between two reads moves.
constexpr std::int64_t kShortestPressMicros = kEmulatedRefreshMicros;
// The stick's travel either way, of its full travel, that steers nothing: a stick at rest drifts.
constexpr double kStickDeadZone = 0.25;

// The pad's controls the game uses, in the terms of a standard layout.
enum class PadButton { kSouth, kEast, kStart, kLeft, kRight, kOther };

class KeySteering {
 public:
  // A key as the window gets it, at `micros` on the host's clock; every call takes the
  // movement up to its time first.
  void Key(const KeyReport& key, std::int64_t micros, MouseAccumulator& mouse);
  // The first pad's button; returns the key it stands for in the window (Escape), or 0.
  std::uint32_t Pad(PadButton button, bool down, std::int64_t micros, MouseAccumulator& mouse);
  // The first pad's left stick across, -1 fully left to 1 fully right.
  void Stick(double across, std::int64_t micros, MouseAccumulator& mouse);
  // The pad is gone, or the window lost the keys: what they held is let go.
  void LetGo(bool pad, std::int64_t micros, MouseAccumulator& mouse);
  // The window or page lost the focus: the keys and the mouse's buttons are let go alike.
  void LoseFocus(std::int64_t micros, MouseAccumulator& mouse) {
    LetGo(false, micros, mouse);
    mouse.LoseFocus();
  }
  // Moves the mouse by what is held up to `micros`; due before each take of the mouse.
  void Advance(std::int64_t micros, MouseAccumulator& mouse);

 private:
  struct Direction {
    std::uint32_t held = 0;  // one bit a source
    std::int64_t pressedAt = 0;
    std::int64_t lingersUntil = 0;  // a short press still counts until then
    bool ActiveAt(std::int64_t micros) const { return held != 0 || micros < lingersUntil; }
  };
  void Hold(Direction& direction, std::uint32_t source, bool down, std::int64_t micros);
  void HoldButton(std::uint32_t source, bool down, MouseAccumulator& mouse);
  void Steer(double across, double seconds);

  Direction left_;
  Direction right_;
  std::uint32_t buttons_ = 0;
  double stick_ = 0;
  std::int64_t since_ = 0;
  double speed_ = 0;  // pixels a second, while steering one way
  double way_ = 0;
  double remainder_ = 0;
};

}  // namespace host
