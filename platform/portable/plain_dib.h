// Rewriting any bitmap that passed the header checks into the one plain form the image
// decoder reads: a 40-byte info header, a full colour table and uncompressed rows.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "portable/bitmap_layout.h"

namespace portable {

// The same picture as a plain bitmap file, or nothing when the masks or the bits run past
// the end of the file. Run-length bits come back as 8-bit rows, masks wider than 8 bits are
// cut to their top 8, and colour table entries the file does not give are black.
std::optional<std::vector<std::uint8_t>> PlainBitmapFile(const std::vector<std::uint8_t>& file,
                                                         const BitmapLayout& layout);

}  // namespace portable
