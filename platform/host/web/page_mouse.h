// The page's mouse buttons and wheel in the terms of the one relative mouse.
#pragma once

#include "host/mouse_accumulator.h"

namespace host {

// `pageButton` as the page numbers them: 0 left, 1 middle, 2 right, 3 back; others ignored.
void PageButton(MouseAccumulator& mouse, int pageButton, bool down);
// One notch of the platform's wheel for each step the page scrolls, up being positive.
void PageWheel(MouseAccumulator& mouse, double deltaY);

}  // namespace host
