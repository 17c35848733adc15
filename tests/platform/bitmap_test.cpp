// LoadImageA on good files and bad calls, at their own size or an asked one.
#include <cstring>
#include <fstream>
#include <functional>

#include "platform_fixture.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A bottom-up 24-bit file; `colour(x, y)` gives each pixel, y = 0 the top row.
std::vector<std::uint8_t> Bitmap24(int width, int height,
                                   const std::function<COLORREF(int, int)>& colour) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const std::size_t headers = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  std::vector<std::uint8_t> file(headers + static_cast<std::size_t>(rowBytes) * height);
  const BITMAPFILEHEADER fileHeader{0x4D42, static_cast<DWORD>(file.size()), 0, 0,
                                    static_cast<DWORD>(headers)};
  const BITMAPINFOHEADER info{sizeof(BITMAPINFOHEADER), width, height, 1, 24, 0, 0, 0, 0, 0, 0};
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

// Columns red, green, blue; every row below the first white.
COLORREF Grid(int x, int y) {
  constexpr COLORREF kColours[] = {kRed, kGreen, kBlue};
  return y == 0 ? kColours[x % 3] : kWhite;
}

std::string WriteTempFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path;
}

HBITMAP LoadFile(const std::string& path, int cx = 0, int cy = 0) {
  return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, cx, cy,
                                         LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

// The bitmap's pixel colours through a memory context, as GDI reports them.
COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, bitmap);
  const COLORREF colour = GetPixel(dc, x, y);
  DeleteDC(dc);
  return colour;
}

using BitmapTest = PlatformTest;

TEST_F(BitmapTest, FileLoadsTopRowFirstAtItsOwnSizeOrTheAskedOne) {
  const std::string path = WriteTempFile("grid.bmp", Bitmap24(3, 2, Grid));
  HBITMAP bitmap = LoadFile(path);
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  EXPECT_EQ(GetObjectA(bitmap, sizeof(info), &info), static_cast<int>(sizeof(info)));
  EXPECT_EQ(info.bmWidth, 3);
  EXPECT_EQ(info.bmHeight, 2);
  EXPECT_EQ(PixelOf(bitmap, 2, 0), kBlue);
  EXPECT_EQ(PixelOf(bitmap, 1, 1), kWhite);

  EXPECT_TRUE(DeleteObject(bitmap));

  // Loaded at an asked size, the file is stretched separately in x and y.
  HBITMAP scaled = LoadFile(path, 6, 4);
  ASSERT_NE(scaled, nullptr);
  EXPECT_EQ(GetObjectA(scaled, sizeof(info), &info), static_cast<int>(sizeof(info)));
  EXPECT_EQ(info.bmWidth, 6);
  EXPECT_EQ(info.bmHeight, 4);
  EXPECT_EQ(PixelOf(scaled, 3, 1), kGreen);
  EXPECT_EQ(PixelOf(scaled, 3, 2), kWhite);
  DeleteObject(scaled);
}

// Hostile files are the reliability suite's; these are bad calls.
TEST_F(BitmapTest, NoNameANegativeSizeOrAnOutsizedResizeGiveNoBitmap) {
  EXPECT_EQ(LoadImageA(nullptr, nullptr, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, "x", IMAGE_BITMAP, -1, 0, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadFile(WriteTempFile("good.bmp", Bitmap24(4, 4, Grid)), 100000, 100000), nullptr);
}

}  // namespace
