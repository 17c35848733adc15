#include "host/web/page_mouse.h"

#include <iterator>

namespace host {

void PageButton(MouseAccumulator& mouse, int pageButton, bool down) {
  constexpr MouseButton kDeviceButtonOf[] = {kLeftButton, kMiddleButton, kRightButton,
                                             kFourthButton};
  if (pageButton < 0 || pageButton >= static_cast<int>(std::size(kDeviceButtonOf))) return;
  mouse.Hold(kDeviceButtonOf[pageButton], down);
}

void PageWheel(MouseAccumulator& mouse, double deltaY) {
  if (deltaY != 0) mouse.Wheel(deltaY < 0 ? 1 : -1);
}

}  // namespace host
