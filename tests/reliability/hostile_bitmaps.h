// Test support: bitmap files of every layout the format allows, built byte by byte.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace reliability {

using Bytes = std::vector<std::uint8_t>;

struct BitmapLayout {
  int bitCount = 24;
  int width = 5;  // odd, so that rows need padding at every depth
  int height = 3;
  std::uint32_t compression = 0;   // 0 plain, 1 RLE8, 2 RLE4, 3 bit fields
  std::uint32_t headerBytes = 40;  // 12 is the old core header, 108 and 124 the later ones
};

inline void Put(Bytes& bytes, std::size_t at, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

// A whole, valid file of that layout: a grey palette and all-zero pixels, or for run-length
// pictures a single end-of-picture mark.
inline Bytes MakeBitmap(const BitmapLayout& l) {
  constexpr std::size_t kFileHeader = 14;
  const bool core = l.headerBytes == 12;
  const std::size_t colours = l.bitCount <= 8 ? std::size_t{1} << l.bitCount : 0;
  const std::size_t entry = core ? 3 : 4;
  const std::size_t masks = l.compression == 3 && l.headerBytes == 40 ? 12 : 0;
  const std::size_t bitsAt = kFileHeader + l.headerBytes + masks + colours * entry;
  const bool rle = l.compression == 1 || l.compression == 2;
  const std::size_t rowBytes = (static_cast<std::size_t>(l.width) * l.bitCount + 31) / 32 * 4;
  Bytes file(bitsAt + (rle ? 2 : rowBytes * l.height), 0);
  file[0] = 'B';
  file[1] = 'M';
  Put(file, 2, static_cast<std::uint32_t>(file.size()), 4);
  Put(file, 10, static_cast<std::uint32_t>(bitsAt), 4);
  Put(file, 14, l.headerBytes, 4);
  if (core) {
    Put(file, 18, l.width, 2);
    Put(file, 20, l.height, 2);
    Put(file, 22, 1, 2);
    Put(file, 24, l.bitCount, 2);
  } else {
    Put(file, 18, l.width, 4);
    Put(file, 22, l.height, 4);
    Put(file, 26, 1, 2);
    Put(file, 28, l.bitCount, 2);
    Put(file, 30, l.compression, 4);
  }
  if (l.compression == 3) {  // after the short header, or at the same place inside a later one
    const bool wide = l.bitCount == 32;
    const std::size_t at = kFileHeader + 40;
    Put(file, at, wide ? 0xFF0000 : 0xF800, 4);
    Put(file, at + 4, wide ? 0xFF00 : 0x07E0, 4);
    Put(file, at + 8, wide ? 0xFF : 0x1F, 4);
  }
  const std::size_t table = kFileHeader + l.headerBytes + masks;
  for (std::size_t i = 0; i < colours; ++i) {
    const auto grey = static_cast<std::uint8_t>(i * 255 / (colours - 1));
    std::memset(&file[table + i * entry], grey, 3);
  }
  if (rle) file[bitsAt + 1] = 1;  // escape 0, 1: end of the picture
  return file;
}

// `file` with the little-endian value of `width` bytes at `at` replaced.
inline Bytes With(Bytes file, std::size_t at, std::uint32_t value, int width = 4) {
  Put(file, at, value, width);
  return file;
}

}  // namespace reliability
