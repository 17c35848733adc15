#include "portable/plain_dib.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#include "portable/gdi.h"
#include "portable/rle_bits.h"

namespace portable {
namespace {

constexpr int kMaskedChannels = 3;
constexpr int kWidestChannel = 8;  // the decoder takes no channel wider than a byte
constexpr std::array<std::uint32_t, kMaskedChannels> kDefaultMasks16 = {0x7C00, 0x03E0, 0x001F};
constexpr std::array<std::uint32_t, kMaskedChannels> kDefaultMasks32 = {0xFF0000, 0xFF00, 0xFF};

using Masks = std::array<std::uint32_t, kMaskedChannels>;

bool IsRunLength(const BitmapLayout& layout) {
  return layout.compression == BitmapCompression::kRle8 ||
         layout.compression == BitmapCompression::kRle4;
}

// Keeps a mask's 8 highest bits: those are all a 16-bit screen can show anyway.
std::uint32_t TopEightBits(std::uint32_t mask) {
  std::uint32_t kept = 0;
  int bits = 0;
  for (int bit = 31; bit >= 0 && bits < kWidestChannel; --bit) {
    if ((mask >> bit) & 1u) kept |= 1u << bit, ++bits;
  }
  return kept;
}

// Masks follow a 40-byte header and sit inside the larger ones, at the same place.
std::optional<Masks> ReadMasks(const std::vector<std::uint8_t>& file, const BitmapLayout& layout) {
  if (layout.compression != BitmapCompression::kBitfields) {
    return layout.bitCount == 16 ? kDefaultMasks16 : kDefaultMasks32;
  }
  const std::size_t at = kFileHeaderBytes + kInfoHeaderBytes;
  if (layout.headerBytes == kCoreHeaderBytes || at + sizeof(Masks) > file.size()) {
    return std::nullopt;
  }
  Masks masks;
  std::memcpy(masks.data(), file.data() + at, sizeof(Masks));
  for (std::uint32_t& mask : masks) mask = TopEightBits(mask);
  return masks;
}

// The full table for `bitCount` bits a pixel. The file's table is what lies between the
// headers and the bits, up to the count it claims; entries it does not give stay black.
std::vector<RGBQUAD> ReadColourTable(const std::vector<std::uint8_t>& file,
                                     const BitmapLayout& layout, int bitCount) {
  const std::size_t fileBits = std::size_t{1} << layout.bitCount;
  const bool core = layout.headerBytes == kCoreHeaderBytes;
  const std::size_t entryBytes = core ? 3 : 4;
  std::size_t at = kFileHeaderBytes + layout.headerBytes;
  if (layout.compression == BitmapCompression::kBitfields &&
      layout.headerBytes == kInfoHeaderBytes) {
    at += sizeof(Masks);
  }
  const std::size_t end = std::min(layout.pixelOffset, file.size());
  std::size_t given =
      layout.coloursUsed != 0 && layout.coloursUsed < fileBits ? layout.coloursUsed : fileBits;
  given = std::min(given, end > at ? (end - at) / entryBytes : 0);
  std::vector<RGBQUAD> table(std::size_t{1} << bitCount, RGBQUAD{0, 0, 0, 0});
  for (std::size_t i = 0; i < given; ++i, at += entryBytes) {
    table[i] = RGBQUAD{file[at], file[at + 1], file[at + 2], 0};
  }
  return table;
}

// The picture's bits as plain rows: the file's own, or the expanded runs kept in `expanded`.
std::optional<std::span<const std::uint8_t>> PlainBits(
    const std::vector<std::uint8_t>& file, const BitmapLayout& layout,
    std::optional<std::vector<std::uint8_t>>& expanded) {
  if (IsRunLength(layout)) {
    expanded = ExpandRunLengths(file, layout);
    if (!expanded) return std::nullopt;
    return std::span<const std::uint8_t>(*expanded);
  }
  const auto bytes = static_cast<std::size_t>(layout.RowBytes() * layout.Rows());
  if (layout.pixelOffset > file.size() || file.size() - layout.pixelOffset < bytes) {
    return std::nullopt;
  }
  return std::span<const std::uint8_t>(file.data() + layout.pixelOffset, bytes);
}

template <typename T>
void Append(std::vector<std::uint8_t>& out, const T& value) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
  out.insert(out.end(), bytes, bytes + sizeof(T));
}

}  // namespace

std::optional<std::vector<std::uint8_t>> PlainBitmapFile(const std::vector<std::uint8_t>& file,
                                                         const BitmapLayout& layout) {
  const int bitCount = IsRunLength(layout) ? 8 : layout.bitCount;
  const bool masked = bitCount == 16 || bitCount == 32;
  std::optional<Masks> masks;
  std::optional<std::vector<RGBQUAD>> table;
  if (masked && !(masks = ReadMasks(file, layout))) return std::nullopt;
  if (bitCount <= 8) table = ReadColourTable(file, layout, bitCount);
  std::optional<std::vector<std::uint8_t>> expanded;
  const std::optional<std::span<const std::uint8_t>> bits = PlainBits(file, layout, expanded);
  if (!bits) return std::nullopt;

  const std::size_t tableBytes = table ? table->size() * sizeof(RGBQUAD) : 0;
  const std::size_t offBits =
      kFileHeaderBytes + kInfoHeaderBytes + (masks ? sizeof(Masks) : 0) + tableBytes;
  const BITMAPFILEHEADER fileHeader{kBitmapMagic, static_cast<DWORD>(offBits + bits->size()), 0, 0,
                                    static_cast<DWORD>(offBits)};
  BITMAPINFOHEADER info{};
  info.biSize = kInfoHeaderBytes;
  info.biWidth = static_cast<LONG>(layout.width);
  info.biHeight = static_cast<LONG>(IsRunLength(layout) ? layout.Rows() : layout.height);
  info.biPlanes = 1;
  info.biBitCount = static_cast<WORD>(bitCount);
  info.biCompression =
      static_cast<DWORD>(masks ? BitmapCompression::kBitfields : BitmapCompression::kRgb);
  std::vector<std::uint8_t> out;
  out.reserve(offBits + bits->size());
  Append(out, fileHeader);
  Append(out, info);
  if (masks) Append(out, *masks);
  if (table)
    out.insert(out.end(), reinterpret_cast<const std::uint8_t*>(table->data()),
               reinterpret_cast<const std::uint8_t*>(table->data()) + tableBytes);
  out.insert(out.end(), bits->begin(), bits->end());
  return out;
}

}  // namespace portable
