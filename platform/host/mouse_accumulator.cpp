#include "host/mouse_accumulator.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace host {
namespace {

constexpr std::uint8_t kButtonHeld = 0x80;

std::int32_t SaturatingAdd(std::int32_t sum, std::int32_t add) {
  const std::int64_t wide = static_cast<std::int64_t>(sum) + add;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      wide, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

bool IsButton(int button) { return button >= 0 && button < kButtonCount; }

}  // namespace

void MouseAccumulator::Move(std::int32_t dx, std::int32_t dy) {
  moved_.dx = SaturatingAdd(moved_.dx, dx);
  moved_.dy = SaturatingAdd(moved_.dy, dy);
}

void MouseAccumulator::Wheel(std::int32_t notches) {
  moved_.wheel = SaturatingAdd(moved_.wheel, notches);
}

void MouseAccumulator::Press(int button) {
  if (!IsButton(button)) return;
  held_[button] = true;
  pressed_[button] = true;
}

void MouseAccumulator::Release(int button) {
  if (IsButton(button)) held_[button] = false;
}

void MouseAccumulator::Hold(int button, bool held) {
  if (!IsButton(button) || held_[button] == held) return;
  if (held) {
    Press(button);
  } else {
    Release(button);
  }
}

void MouseAccumulator::ReleaseAll() { std::fill(std::begin(held_), std::end(held_), false); }

void MouseAccumulator::LoseFocus() {
  ReleaseAll();
  std::fill(std::begin(pressed_), std::end(pressed_), false);
}

MouseState MouseAccumulator::Take() {
  MouseState taken = moved_;
  for (int i = 0; i < kButtonCount; ++i) {
    taken.buttons[i] = held_[i] || pressed_[i] ? kButtonHeld : 0;
    pressed_[i] = false;
  }
  moved_ = MouseState{};
  return taken;
}

}  // namespace host
