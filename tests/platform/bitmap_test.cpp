// LoadImageA on good and hostile files, module resources before files, and StretchBlt.
#include <cstring>

#include "bitmap_bytes.h"
#include "platform_fixture.h"
#include "portable/module_resources.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

class BitmapTest : public PlatformTest {
 protected:
  void TearDown() override {
    portable::ClearModuleResources();
    PlatformTest::TearDown();
  }

  static HBITMAP LoadFile(const std::string& path, int cx = 0, int cy = 0) {
    return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, cx, cy,
                                           LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  }

  static BITMAP Info(HBITMAP bitmap) {
    BITMAP info{};
    EXPECT_EQ(GetObjectA(bitmap, sizeof(info), &info), static_cast<int>(sizeof(info)));
    return info;
  }

  // The bitmap's pixel colours through a memory context, as GDI reports them.
  static COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    const COLORREF colour = GetPixel(dc, x, y);
    DeleteDC(dc);
    return colour;
  }

  // Copies (x, y, dx, dy) of the bitmap over the whole surface, the way sprites are filled.
  void Stretch(IDirectDrawSurface* surface, HBITMAP bitmap, int x, int y, int dx, int dy) {
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    surface->GetSurfaceDesc(&desc);
    HDC memory = CreateCompatibleDC(nullptr);
    ASSERT_NE(SelectObject(memory, bitmap), nullptr);
    HDC target = nullptr;
    ASSERT_EQ(surface->GetDC(&target), DD_OK);
    EXPECT_TRUE(StretchBlt(target, 0, 0, static_cast<int>(desc.dwWidth),
                           static_cast<int>(desc.dwHeight), memory, x, y, dx, dy, SRCCOPY));
    surface->ReleaseDC(target);
    DeleteDC(memory);
  }
};

COLORREF Stripes(int x, int /*y*/) {
  constexpr COLORREF kColours[] = {kRed, kGreen, kBlue};
  return kColours[x % 3];
}

TEST_F(BitmapTest, FileLoadsTopRowFirstInItsOwnSizeOrTheAskedOne) {
  const auto path = WriteTempFile(
      "rows.bmp", Bitmap24(3, 2, [](int x, int y) { return y == 0 ? Stripes(x, y) : kWhite; }));
  HBITMAP bitmap = LoadFile(path);
  ASSERT_NE(bitmap, nullptr);
  const BITMAP info = Info(bitmap);
  EXPECT_EQ(info.bmWidth, 3);
  EXPECT_EQ(info.bmHeight, 2);
  EXPECT_EQ(PixelOf(bitmap, 0, 0), kRed);
  EXPECT_EQ(PixelOf(bitmap, 2, 0), kBlue);
  EXPECT_EQ(PixelOf(bitmap, 1, 1), kWhite);
  EXPECT_TRUE(DeleteObject(bitmap));

  HBITMAP scaled = LoadFile(path, 6, 4);
  ASSERT_NE(scaled, nullptr);
  EXPECT_EQ(Info(scaled).bmWidth, 6);
  EXPECT_EQ(Info(scaled).bmHeight, 4);
  EXPECT_EQ(PixelOf(scaled, 3, 1), kGreen);
  EXPECT_EQ(PixelOf(scaled, 3, 2), kWhite);
  DeleteObject(scaled);
}

std::vector<std::uint8_t> WithDword(std::vector<std::uint8_t> file, std::size_t offset,
                                    std::uint32_t value) {
  std::memcpy(file.data() + offset, &value, sizeof(value));
  return file;
}

std::vector<std::uint8_t> WithWord(std::vector<std::uint8_t> file, std::size_t offset,
                                   std::uint16_t value) {
  std::memcpy(file.data() + offset, &value, sizeof(value));
  return file;
}

TEST_F(BitmapTest, MissingEmptyTruncatedAndHostileFilesGiveNoBitmap) {
  const std::vector<std::uint8_t> good = Bitmap24(4, 4, Stripes);
  ASSERT_NE(LoadFile(WriteTempFile("good.bmp", good)), nullptr);
  // Offsets in the headers: width 18, height 22, planes 26, bit count 28,
  // compression 30, colours used 46; the info header's size 14; the bits' offset 10.
  const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> bad = {
      {"empty", {}},
      {"magic-only", {'B', 'M'}},
      {"headers-cut", {good.begin(), good.begin() + 30}},
      {"bits-cut", {good.begin(), good.end() - 5}},
      {"wrong-magic", WithWord(good, 0, 0x4D43)},
      {"huge", WithDword(WithDword(good, 18, 100000), 22, 100000)},
      {"huge-rle", WithDword(WithDword(WithDword(good, 18, 60000), 22, 60000), 30, 1)},
      {"zero-width", WithDword(good, 18, 0)},
      {"negative-width", WithDword(good, 18, 0xFFFFFFFF)},
      {"lowest-height", WithDword(good, 22, 0x80000000)},
      {"planes", WithWord(good, 26, 0)},
      {"bit-count", WithWord(good, 28, 7)},
      {"compression", WithDword(good, 30, 99)},
      {"colours", WithDword(WithWord(good, 28, 8), 46, 0x10000000)},
      {"header-size", WithDword(good, 14, 0xFFFFFFF0)},
      {"bits-offset", WithDword(good, 10, 0xFFFFFFF0)},
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

TEST_F(BitmapTest, ModuleResourceIsFoundBeforeTheFileOfTheSameName) {
  const auto path = WriteTempFile("both.bmp", Bitmap24(2, 2, [](int, int) { return kRed; }));
  HMODULE module = GetModuleHandleA(nullptr);
  EXPECT_EQ(LoadImageA(module, path.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
  portable::AddBitmapResource(path, PackedDib(Bitmap24(2, 2, [](int, int) { return kBlue; })));
  HBITMAP resource = static_cast<HBITMAP>(
      LoadImageA(module, path.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(resource, nullptr);
  EXPECT_EQ(PixelOf(resource, 1, 1), kBlue);
  HBITMAP file = LoadFile(path);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(PixelOf(file, 1, 1), kRed);

  // The resource calls hand out the packed DIB itself.
  HRSRC found = FindResourceA(nullptr, path.c_str(), RT_BITMAP);
  ASSERT_NE(found, nullptr);
  const auto* header =
      static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, found)));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->biWidth, 2);
  EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(7), RT_BITMAP), nullptr);
  EXPECT_EQ(FindResourceA(nullptr, "other", RT_BITMAP), nullptr);
  EXPECT_EQ(LockResource(nullptr), nullptr);
}

TEST_F(BitmapTest, StretchBltScalesSeparatelyInXAndY) {
  // Columns red, green, blue; the bottom row white.
  HBITMAP bitmap = LoadFile(WriteTempFile(
      "grid.bmp", Bitmap24(3, 2, [](int x, int y) { return y == 0 ? Stripes(x, y) : kWhite; })));
  ASSERT_NE(bitmap, nullptr);
  IDirectDrawSurface* surface = MakeSurface(6, 8);
  Stretch(surface, bitmap, 0, 0, 3, 2);
  const std::uint16_t red = 0xF800, green = 0x07E0, blue = 0x001F, white = 0xFFFF;
  const std::vector<std::uint16_t> top = {red, red, green, green, blue, blue};
  const std::vector<std::uint16_t> pixels = Read(surface);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(pixels[y * 6 + x], y < 4 ? top[x] : white) << x << "," << y;
    }
  }
  // Only the source rectangle is copied, still over the whole surface.
  Stretch(surface, bitmap, 1, 0, 1, 1);
  EXPECT_EQ(Read(surface), std::vector<std::uint16_t>(48, green));
  DeleteObject(bitmap);
}

}  // namespace
