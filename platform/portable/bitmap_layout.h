// What a bitmap file's headers claim, once they have passed the sanity checks.
#pragma once

#include <cstddef>
#include <cstdint>

namespace portable {

// The file's fixed parts.
constexpr std::uint16_t kBitmapMagic = 0x4D42;  // "BM"
constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;
constexpr std::uint32_t kInfoHeaderBytes = 40;

enum class BitmapCompression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

struct BitmapLayout {
  std::uint32_t headerBytes = 0;  // 12 for the OS/2 core header, 40..124 otherwise
  std::size_t pixelOffset = 0;    // from the start of the file
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative for a top-down picture
  int bitCount = 0;
  BitmapCompression compression = BitmapCompression::kRgb;
  std::uint32_t coloursUsed = 0;

  std::int64_t Rows() const { return height < 0 ? -height : height; }
  // Uncompressed rows are padded to whole 32-bit words.
  std::int64_t RowBytes() const { return ((width * bitCount + 31) / 32) * 4; }
};

}  // namespace portable
