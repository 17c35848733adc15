#include "portable/bitmap_file.h"

#include <stb_image.h>

#include <cstring>
#include <memory>

#include "portable/bitmap_layout.h"
#include "portable/gdi.h"
#include "portable/plain_dib.h"
#include "portable/rgb565.h"

namespace portable {
namespace {

constexpr DWORD kLargestHeaderBytes = 124;
constexpr DWORD kBiBitfields = 3;
constexpr DWORD kBitfieldMaskBytes = 12;
constexpr DWORD kMaxColours = 256;

template <typename T>
T ReadAt(const std::uint8_t* bytes, std::size_t offset) {
  T value;
  std::memcpy(&value, bytes + offset, sizeof(T));
  return value;
}

std::optional<BitmapLayout> ReadLayout(const std::vector<std::uint8_t>& file, DWORD headerBytes) {
  const std::uint8_t* info = file.data() + kFileHeaderBytes;
  BitmapLayout layout;
  layout.headerBytes = headerBytes;
  layout.pixelOffset = ReadAt<BITMAPFILEHEADER>(file.data(), 0).bfOffBits;
  int planes = 0;
  if (headerBytes == kCoreHeaderBytes) {
    layout.width = ReadAt<WORD>(info, 4);
    layout.height = ReadAt<WORD>(info, 6);
    planes = ReadAt<WORD>(info, 8);
    layout.bitCount = ReadAt<WORD>(info, 10);
  } else {
    if (headerBytes < kInfoHeaderBytes || headerBytes > kLargestHeaderBytes) return std::nullopt;
    const auto header = ReadAt<BITMAPINFOHEADER>(info, 0);
    layout.width = header.biWidth;
    layout.height = header.biHeight;
    planes = header.biPlanes;
    layout.bitCount = header.biBitCount;
    layout.compression = static_cast<BitmapCompression>(header.biCompression);
    layout.coloursUsed = header.biClrUsed;
  }
  if (planes != 1) return std::nullopt;
  return layout;
}

bool LayoutIsSane(const BitmapLayout& layout, std::size_t fileSize) {
  const std::int64_t rows = layout.Rows();
  if (!host::FitsPictureLimits(layout.width, rows)) return false;
  switch (layout.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      break;
    default:
      return false;
  }
  if (layout.coloursUsed > kMaxColours || layout.pixelOffset > fileSize) return false;
  switch (layout.compression) {
    case BitmapCompression::kRle8:
      // Run-length pictures are bottom-up; the expansion bounds the runs.
      return layout.bitCount == 8 && layout.height > 0;
    case BitmapCompression::kRle4:
      return layout.bitCount == 4 && layout.height > 0;
    case BitmapCompression::kRgb:
    case BitmapCompression::kBitfields:
      break;
    default:
      return false;
  }
  // Uncompressed rows must all be in the file: a truncated file is refused, not half-read.
  return static_cast<std::int64_t>(fileSize - layout.pixelOffset) >= layout.RowBytes() * rows;
}

std::optional<BitmapLayout> SaneLayout(const std::vector<std::uint8_t>& file) {
  if (file.size() < kFileHeaderBytes + sizeof(DWORD) || file.size() > kMaxBitmapFileBytes) {
    return std::nullopt;
  }
  const auto fileHeader = ReadAt<BITMAPFILEHEADER>(file.data(), 0);
  const auto headerBytes = ReadAt<DWORD>(file.data(), kFileHeaderBytes);
  if (fileHeader.bfType != kBitmapMagic || headerBytes > file.size() - kFileHeaderBytes) {
    return std::nullopt;
  }
  std::optional<BitmapLayout> layout = ReadLayout(file, headerBytes);
  if (!layout || !LayoutIsSane(*layout, file.size())) return std::nullopt;
  return layout;
}

// stb_image's pixels, three bytes each, freed with its own allocator.
struct StbFree {
  void operator()(unsigned char* pixels) const { stbi_image_free(pixels); }
};
using StbPixels = std::unique_ptr<unsigned char, StbFree>;

}  // namespace

std::optional<PixelBuffer> DecodeBitmap(const std::vector<std::uint8_t>& file) {
  const std::optional<BitmapLayout> layout = SaneLayout(file);
  if (!layout) return std::nullopt;
  // The decoder reads one plain form; every other kind is rewritten into it first.
  const std::optional<std::vector<std::uint8_t>> plain = PlainBitmapFile(file, *layout);
  if (!plain) return std::nullopt;
  constexpr int kChannels = 3;
  int width = 0;
  int height = 0;
  int channelsInFile = 0;
  StbPixels decoded(stbi_load_from_memory(plain->data(), static_cast<int>(plain->size()), &width,
                                          &height, &channelsInFile, kChannels));
  if (!decoded || width != layout->width || height != layout->Rows()) return std::nullopt;
  PixelBuffer pixels(width, height);
  const unsigned char* rgb = decoded.get();
  for (int y = 0; y < height; ++y) {
    std::uint16_t* out = pixels.Row(y);
    for (int x = 0; x < width; ++x, rgb += kChannels)
      out[x] = ToRgb565(RGB(rgb[0], rgb[1], rgb[2]));
  }
  return pixels;
}

std::optional<std::vector<std::uint8_t>> FileFromPackedDib(const std::uint8_t* dib,
                                                           std::size_t size) {
  if (dib == nullptr || size < kInfoHeaderBytes || size > kMaxBitmapFileBytes) return std::nullopt;
  const auto header = ReadAt<BITMAPINFOHEADER>(dib, 0);
  if (header.biSize < kInfoHeaderBytes || header.biSize > kLargestHeaderBytes) return std::nullopt;
  // The colour table follows the header; the bits follow the table.
  DWORD colours = header.biClrUsed;
  if (colours == 0 && header.biBitCount <= 8) colours = 1u << header.biBitCount;
  if (colours > kMaxColours) return std::nullopt;
  DWORD tableBytes = colours * sizeof(RGBQUAD);
  if (header.biCompression == kBiBitfields && header.biSize == kInfoHeaderBytes) {
    tableBytes += kBitfieldMaskBytes;
  }
  std::vector<std::uint8_t> file(kFileHeaderBytes + size);
  const BITMAPFILEHEADER fileHeader{
      kBitmapMagic, static_cast<DWORD>(file.size()), 0, 0,
      static_cast<DWORD>(kFileHeaderBytes + header.biSize + tableBytes)};
  std::memcpy(file.data(), &fileHeader, kFileHeaderBytes);
  std::memcpy(file.data() + kFileHeaderBytes, dib, size);
  return file;
}

}  // namespace portable
