#include "host/key_steering.h"

#include <algorithm>
#include <cmath>

namespace host {
namespace {

constexpr std::uint32_t kLeftKey = 0x25;
constexpr std::uint32_t kRightKey = 0x27;
constexpr std::uint32_t kSpaceKey = 0x20;
constexpr std::uint32_t kAKey = 'A';  // letters' virtual-key codes are their capitals
constexpr std::uint32_t kDKey = 'D';
// The sources of a direction, and of the button, a bit each: either is released only when all
// its sources are.
enum DirectionSource : std::uint32_t { kArrow = 1, kLetter = 2, kPadDirection = 4 };
enum ButtonSource : std::uint32_t { kSpaceSource = 1, kEnterSource = 2, kSouthSource = 4 };
constexpr double kMicrosPerSecond = 1e6;

}  // namespace

void KeySteering::Key(const KeyReport& key, std::int64_t micros, MouseAccumulator& mouse) {
  // A repeat changes nothing; Alt with a key is the desktop's, but its release still lets go.
  if (key.repeat || (key.alt && key.down)) return;
  Advance(micros, mouse);
  switch (key.virtualKey) {
    case kLeftKey:
    case kAKey:
      Hold(left_, key.virtualKey == kLeftKey ? kArrow : kLetter, key.down, micros);
      break;
    case kRightKey:
    case kDKey:
      Hold(right_, key.virtualKey == kRightKey ? kArrow : kLetter, key.down, micros);
      break;
    case kSpaceKey:
    case kEnterKey:
      HoldButton(key.virtualKey == kSpaceKey ? kSpaceSource : kEnterSource, key.down, mouse);
      break;
    default:
      break;
  }
}

std::uint32_t KeySteering::Pad(PadButton button, bool down, std::int64_t micros,
                               MouseAccumulator& mouse) {
  Advance(micros, mouse);
  if (button == PadButton::kLeft) Hold(left_, kPadDirection, down, micros);
  if (button == PadButton::kRight) Hold(right_, kPadDirection, down, micros);
  if (button == PadButton::kSouth) HoldButton(kSouthSource, down, mouse);
  return button == PadButton::kEast || button == PadButton::kStart ? kEscapeKey : 0;
}

void KeySteering::Stick(double across, std::int64_t micros, MouseAccumulator& mouse) {
  Advance(micros, mouse);
  // Past the dead zone the stick's travel is rescaled, so that it still reaches full speed.
  const double beyond =
      std::clamp((std::abs(across) - kStickDeadZone) / (1 - kStickDeadZone), 0.0, 1.0);
  stick_ = std::copysign(beyond, across);
}

void KeySteering::LetGo(bool pad, std::int64_t micros, MouseAccumulator& mouse) {
  Advance(micros, mouse);
  const std::uint32_t sources = pad ? kPadDirection : kArrow | kLetter;
  Hold(left_, sources, false, micros);
  Hold(right_, sources, false, micros);
  HoldButton(pad ? kSouthSource : kSpaceSource | kEnterSource, false, mouse);
  if (pad) stick_ = 0;
}

void KeySteering::Hold(Direction& direction, std::uint32_t source, bool down, std::int64_t micros) {
  const bool was = direction.held != 0;
  direction.held = down ? direction.held | source : direction.held & ~source;
  if (!was && down) direction.pressedAt = micros;
  if (was && direction.held == 0)
    direction.lingersUntil = direction.pressedAt + kShortestPressMicros;
}

void KeySteering::HoldButton(std::uint32_t source, bool down, MouseAccumulator& mouse) {
  const bool was = buttons_ != 0;
  buttons_ = down ? buttons_ | source : buttons_ & ~source;
  if (was != (buttons_ != 0)) mouse.Hold(kLeftButton, !was);
}

void KeySteering::Advance(std::int64_t micros, MouseAccumulator& mouse) {
  // Steady between two changes, a short press's end among them.
  while (since_ < micros) {
    std::int64_t until = micros;
    for (const std::int64_t end : {left_.lingersUntil, right_.lingersUntil}) {
      if (end > since_ && end < until) until = end;
    }
    // Both ways at once cancel; the stick adds to the keys.
    const double keys = (right_.ActiveAt(since_) ? 1 : 0) - (left_.ActiveAt(since_) ? 1 : 0);
    Steer(std::clamp(keys + stick_, -1.0, 1.0),
          static_cast<double>(until - since_) / kMicrosPerSecond);
    since_ = until;
  }
  const double whole = std::trunc(remainder_);
  remainder_ -= whole;
  if (whole != 0) mouse.Move(static_cast<std::int32_t>(whole), 0);
}

// Eases up from the starting speed while steering one way, for `seconds`.
void KeySteering::Steer(double across, double seconds) {
  const double way = across > 0 ? 1 : (across < 0 ? -1 : 0);
  if (way != way_ || speed_ == 0) speed_ = kSteerStartPixelsPerSecond;
  way_ = way;
  if (way == 0) {
    remainder_ = std::trunc(remainder_);  // the fraction goes at rest: every tap moves as far
    return;
  }
  const double easing = std::min(seconds, (kSteerPixelsPerSecond - speed_) / kSteerAcceleration);
  const double pixels = speed_ * easing + kSteerAcceleration * easing * easing / 2 +
                        kSteerPixelsPerSecond * (seconds - easing);
  speed_ = std::min(kSteerPixelsPerSecond, speed_ + kSteerAcceleration * seconds);
  remainder_ += across * pixels;
}

}  // namespace host
