// Device contexts inside the portable layer: what window painting borrows from GDI.
#pragma once

#include "portable/win32.h"

namespace portable {

// A context for a window's client area; drawing into it has no visible effect.
HDC OpenWindowDc();
void CloseWindowDc(HDC dc);

}  // namespace portable
