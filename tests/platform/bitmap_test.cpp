// LoadImageA on good and hostile files, at their own size or an asked one.
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

template <typename Field>
std::vector<std::uint8_t> With(std::vector<std::uint8_t> file, std::size_t offset, Field value) {
  std::memcpy(file.data() + offset, &value, sizeof(value));
  return file;
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

TEST_F(BitmapTest, MissingEmptyTruncatedAndHostileFilesGiveNoBitmap) {
  const std::vector<std::uint8_t> good = Bitmap24(4, 4, Grid);
  ASSERT_NE(LoadFile(WriteTempFile("good.bmp", good)), nullptr);
  // Offsets in the headers: width 18, height 22, planes 26, bit count 28,
  // compression 30, colours used 46; the info header's size 14; the bits' offset 10.
  const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> bad = {
      {"empty", {}},
      {"magic-only", {'B', 'M'}},
      {"headers-cut", {good.begin(), good.begin() + 30}},
      {"bits-cut", {good.begin(), good.end() - 5}},
      {"wrong-magic", With<WORD>(good, 0, 0x4D43)},
      {"huge", With<DWORD>(With<DWORD>(good, 18, 100000), 22, 100000)},
      {"huge-rle", With<DWORD>(With<DWORD>(With<DWORD>(good, 18, 60000), 22, 60000), 30, 1)},
      {"zero-width", With<DWORD>(good, 18, 0)},
      {"negative-width", With<DWORD>(good, 18, 0xFFFFFFFF)},
      {"lowest-height", With<DWORD>(good, 22, 0x80000000)},
      {"planes", With<WORD>(good, 26, 0)},
      {"bit-count", With<WORD>(good, 28, 7)},
      {"compression", With<DWORD>(good, 30, 99)},
      {"colours", With<DWORD>(With<WORD>(good, 28, 8), 46, 0x10000000)},
      {"header-size", With<DWORD>(good, 14, 0xFFFFFFF0)},
      {"bits-offset", With<DWORD>(good, 10, 0xFFFFFFF0)},
  };
  for (const auto& [name, bytes] : bad) {
    EXPECT_EQ(LoadFile(WriteTempFile(std::string(name) + ".bmp", bytes)), nullptr) << name;
  }
  EXPECT_EQ(LoadFile(::testing::TempDir() + "no-such-file.bmp"), nullptr);
  EXPECT_EQ(LoadFile(::testing::TempDir()), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, nullptr, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, "x", IMAGE_BITMAP, -1, 0, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadFile(WriteTempFile("good.bmp", good), 100000, 100000), nullptr);
}

}  // namespace
