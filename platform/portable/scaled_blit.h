// The one pixel-copying routine under Blt and StretchBlt: a rectangle of one buffer
// scaled (nearest neighbour) onto a rectangle of another, optionally colour-keyed.
#pragma once

#include <cstdint>

#include "portable/pixel_buffer.h"
#include "portable/win32.h"

namespace portable {

// Copies `from` of `source` scaled over `to` of `target`. The target rectangle is clipped
// to the target with the source mapped as if it were not, and source samples outside the
// source are skipped, so nothing outside either buffer is ever touched. Empty or inverted
// rectangles copy nothing. With a key, source pixels equal to it are not copied.
void ScaledBlit(PixelBuffer& target, const RECT& to, const PixelBuffer& source, const RECT& from,
                const std::uint16_t* key);

}  // namespace portable
