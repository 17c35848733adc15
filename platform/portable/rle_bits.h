// Expanding the run-length encoded bits of RLE4 and RLE8 bitmaps into plain 8-bit rows.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "portable/bitmap_layout.h"

namespace portable {

// The picture as 8-bit colour indices in padded bottom-up rows, as an uncompressed 8-bit
// bitmap holds them. Pixels the runs skip or never reach keep index 0; runs past a row's
// end or the last row are cut. Nothing when the layout is not run-length encoded.
std::optional<std::vector<std::uint8_t>> ExpandRunLengths(const std::vector<std::uint8_t>& file,
                                                          const BitmapLayout& layout);

}  // namespace portable
