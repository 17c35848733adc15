// Turning the bytes of a Windows bitmap file into RGB565 pixels, refusing hostile headers
// before anything large is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "host/picture_limits.h"
#include "portable/pixel_buffer.h"

namespace portable {

// Bounds far above any picture the game uses.
constexpr std::size_t kMaxBitmapFileBytes = 64u << 20;

// The decoded picture, or nothing when the headers fail the checks or decoding fails.
std::optional<PixelBuffer> DecodeBitmap(const std::vector<std::uint8_t>& file);
// A file's bytes for a packed DIB (info header, colour table, bits), as resources hold them.
std::optional<std::vector<std::uint8_t>> FileFromPackedDib(const std::uint8_t* dib,
                                                           std::size_t size);

}  // namespace portable
