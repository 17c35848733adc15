#include "bitmap_bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

std::vector<std::uint8_t> Bitmap24(int width, int height,
                                   const std::function<COLORREF(int, int)>& colour) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const std::size_t headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  std::vector<std::uint8_t> file(headers + static_cast<std::size_t>(rowBytes) * height);
  const BITMAPFILEHEADER fileHeader{0x4D42, static_cast<DWORD>(file.size()), 0, 0,
                                    static_cast<DWORD>(headers)};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::memcpy(file.data(), &fileHeader, sizeof(fileHeader));
  std::memcpy(file.data() + sizeof(fileHeader), &info, sizeof(info));
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = file.data() + headers + static_cast<std::size_t>(height - 1 - y) * rowBytes;
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colour(x, y);
      row[3 * x] = static_cast<std::uint8_t>(c >> 16);
      row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(c);
    }
  }
  return file;
}

std::vector<std::uint8_t> PackedDib(const std::vector<std::uint8_t>& file) {
  return {file.begin() + sizeof(BITMAPFILEHEADER), file.end()};
}

std::string WriteTempFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  const std::string path = ::testing::TempDir() + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return path;
}
