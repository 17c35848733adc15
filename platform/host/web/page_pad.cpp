#include "host/web/page_pad.h"

#include <iterator>

namespace host {

void PagePad::Poll(bool present, double across, unsigned held, std::int64_t micros,
                   KeySteering& keys, MouseAccumulator& mouse,
                   const std::function<void(const KeyReport&)>& key) {
  constexpr PadButton kBits[] = {PadButton::kSouth, PadButton::kEast, PadButton::kStart,
                                 PadButton::kLeft, PadButton::kRight};
  if (!present) {
    if (held_ != 0 || across_ != 0) keys.LetGo(true, micros, mouse);
    held_ = 0;
    across_ = 0;
    return;
  }
  if (across != across_) keys.Stick(across, micros, mouse);
  across_ = across;
  for (unsigned bit = 0; bit < std::size(kBits); ++bit) {
    const bool down = (held >> bit & 1) != 0;
    if (down == ((held_ >> bit & 1) != 0)) continue;
    const std::uint32_t pressed = keys.Pad(kBits[bit], down, micros, mouse);
    if (pressed != 0) key({pressed, down});
  }
  held_ = held;
}

}  // namespace host
