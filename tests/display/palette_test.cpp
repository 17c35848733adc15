// The palette loader's ramp and colour tables, and matching colours to raw pixel values.
#include <gtest/gtest.h>

#include <cstring>

#include "display/display_device.h"
#include "display/palette_utils.h"
#include "display_fixture.h"
#include "portable/module_resources.h"

namespace {

constexpr int kEntries = 256;

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A bitmap file's headers (info header `infoSize` bytes long), then `table` and `after`.
std::vector<std::uint8_t> BitmapFile(std::uint32_t infoSize, std::uint16_t bitCount,
                                     std::uint32_t coloursUsed,
                                     const std::vector<std::uint8_t>& table,
                                     const std::vector<std::uint8_t>& after) {
  constexpr std::size_t kFileHeader = 14;
  std::vector<std::uint8_t> bytes(kFileHeader + infoSize, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put32(bytes, kFileHeader, infoSize);
  Put32(bytes, kFileHeader + 4, 4);  // width
  Put32(bytes, kFileHeader + 8, 2);  // height
  bytes[kFileHeader + 12] = 1;       // planes
  bytes[kFileHeader + 14] = static_cast<std::uint8_t>(bitCount);
  Put32(bytes, kFileHeader + 32, coloursUsed);
  // A longer header's extra fields get distinct bytes, so that reading them as colours shows.
  constexpr std::size_t kCoreInfo = 40;
  for (std::size_t i = kCoreInfo; i < infoSize; ++i)
    bytes[kFileHeader + i] = static_cast<std::uint8_t>(i);
  bytes.insert(bytes.end(), table.begin(), table.end());
  bytes.insert(bytes.end(), after.begin(), after.end());
  return bytes;
}

// `count` table records: blue i, green 2i, red 3i, reserved 100 + i.
std::vector<std::uint8_t> Table(int count) {
  std::vector<std::uint8_t> table;
  for (int i = 0; i < count; ++i) {
    table.insert(table.end(),
                 {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(2 * i),
                  static_cast<std::uint8_t>(3 * i), static_cast<std::uint8_t>(100 + i)});
  }
  return table;
}

class PaletteTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    InitDisplay();
    ASSERT_NE(directDraw, nullptr);
  }

  std::vector<PALETTEENTRY> Load(const char* path) {
    IDirectDrawPalette* palette = LoadBitmapPalette(directDraw, path);
    std::vector<PALETTEENTRY> entries(kEntries);
    if (palette == nullptr) {
      ADD_FAILURE() << "no palette";
      return entries;
    }
    EXPECT_EQ(palette->GetEntries(0, 0, kEntries, entries.data()), DD_OK);
    return entries;
  }
};

void ExpectEntry(const PALETTEENTRY& e, int r, int g, int b, int flags) {
  EXPECT_EQ(e.peRed, r);
  EXPECT_EQ(e.peGreen, g);
  EXPECT_EQ(e.peBlue, b);
  EXPECT_EQ(e.peFlags, flags);
}

void ExpectRampFrom(const std::vector<PALETTEENTRY>& entries, int first) {
  for (int i = first; i < kEntries; ++i) {
    SCOPED_TRACE(i);
    ExpectEntry(entries[i], ((i >> 5) & 7) * 255 / 7, ((i >> 2) & 7) * 255 / 7, (i & 3) * 255 / 3,
                0);
  }
}

TEST_F(PaletteTest, NoPathOrNoFileGivesTheRampAlone) {
  for (const char* path : {static_cast<const char*>(nullptr), "images/missing.bmp"}) {
    const auto entries = Load(path);
    ExpectEntry(entries[0x5A], 72, 218, 170, 0);
    ExpectEntry(entries[0x00], 0, 0, 0, 0);
    ExpectEntry(entries[0xE0], 255, 0, 0, 0);
    ExpectEntry(entries[0x1C], 0, 255, 0, 0);
    ExpectEntry(entries[0x03], 0, 0, 255, 0);
    ExpectRampFrom(entries, 0);
  }
}

TEST_F(PaletteTest, FourBitFileTakesSixteenColoursThenTheRawBytesAfterThem) {
  const std::vector<std::uint8_t> pixels = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  WriteBytes("four.bmp", BitmapFile(40, 4, 0, Table(16), pixels));
  const auto entries = Load("four.bmp");
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(i);
    ExpectEntry(entries[i], 3 * i, 2 * i, i, 100 + i);
  }
  // The pixel bytes land in entries 16 and 17 as they are, unexchanged.
  ExpectEntry(entries[16], 0x01, 0x23, 0x45, 0x67);
  ExpectEntry(entries[17], 0x89, 0xAB, 0xCD, 0xEF);
  ExpectRampFrom(entries, 18);
}

TEST_F(PaletteTest, MoreThanTwoHundredFiftySixColoursTakesTwoHundredFiftySix) {
  WriteBytes("many.bmp", BitmapFile(40, 8, 1000, Table(256), {}));
  const auto entries = Load("many.bmp");
  for (int i : {0, 17, 255}) {
    SCOPED_TRACE(i);
    ExpectEntry(entries[i], (3 * i) & 0xFF, (2 * i) & 0xFF, i, (100 + i) & 0xFF);
  }
}

TEST_F(PaletteTest, FileWhoseInfoHeaderIsNotFortyBytesTakesNoColours) {
  // With a 108-byte header the "table" read at byte 54 is the rest of the header.
  auto bytes = BitmapFile(108, 8, 4, Table(4), {});
  WriteBytes("v4.bmp", bytes);
  const auto entries = Load("v4.bmp");
  PALETTEENTRY raw;
  std::memcpy(&raw, &bytes[54], sizeof(raw));
  EXPECT_EQ(std::memcmp(&entries[0], &raw, sizeof(raw)), 0) << "bytes were exchanged";
  // A truncated file leaves the ramp where it ended.
  WriteBytes("short.bmp", std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 20));
  ExpectRampFrom(Load("short.bmp"), 0);
}

// A packed DIB as a resource holds it: the info header (`infoSize` bytes), table, bits.
std::vector<std::uint8_t> PackedDib(std::uint32_t infoSize, std::uint16_t bitCount,
                                    std::uint32_t coloursUsed,
                                    const std::vector<std::uint8_t>& table) {
  constexpr std::size_t kFileHeader = 14;
  auto bytes = BitmapFile(infoSize, bitCount, coloursUsed, table, std::vector<std::uint8_t>(8, 0));
  bytes.erase(bytes.begin(), bytes.begin() + kFileHeader);
  return bytes;
}

class PaletteResourceTest : public PaletteTest {
 protected:
  void TearDown() override {
    portable::ClearModuleResources();
    PaletteTest::TearDown();
  }
};

TEST_F(PaletteResourceTest, FourBitResourceTakesSixteenColoursAndKeepsTheRamp) {
  portable::AddBitmapResource("four", PackedDib(40, 4, 0, Table(16)));
  const auto entries = Load("four");
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(i);
    ExpectEntry(entries[i], 3 * i, 2 * i, i, 0);
  }
  ExpectRampFrom(entries, 16);
}

TEST_F(PaletteResourceTest, ResourceWithALargerHeaderIsReadAfterThatHeader) {
  portable::AddBitmapResource("v4", PackedDib(108, 8, 2, Table(2)));
  const auto entries = Load("v4");
  ExpectEntry(entries[1], 3, 2, 1, 0);
  ExpectRampFrom(entries, 2);
}

TEST_F(PaletteResourceTest, ResourceIsUsedBeforeAFileOfTheSameName) {
  WriteBytes("same.bmp", BitmapFile(40, 8, 1, {9, 9, 9, 9}, {}));
  portable::AddBitmapResource("same.bmp", PackedDib(40, 8, 1, {1, 2, 3, 4}));
  ExpectEntry(Load("same.bmp")[0], 3, 2, 1, 0);
}

class ColourMatchTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    InitDisplay();
    ASSERT_NE(backBuffer, nullptr);
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = 8;
    desc.dwHeight = 4;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    ASSERT_EQ(directDraw->CreateSurface(&desc, &surface_, nullptr), DD_OK);
    Fill(surface_, kBefore);
  }

  static constexpr std::uint16_t kBefore = 0x1234;
  IDirectDrawSurface* surface_ = nullptr;
};

TEST_F(ColourMatchTest, GivesTheRawValueAndPutsTheFirstPixelBack) {
  EXPECT_EQ(MatchSurfaceColor(surface_, RGB(255, 0, 0)), 0xF800u);
  EXPECT_EQ(MatchSurfaceColor(surface_, RGB(0, 255, 0)), 0x07E0u);
  EXPECT_EQ(MatchSurfaceColor(surface_, RGB(6, 3, 7)), 0u);
  EXPECT_EQ(PixelOf(surface_, 0, 0), kBefore);
  EXPECT_EQ(PixelOf(surface_, 1, 0), kBefore);
}

TEST_F(ColourMatchTest, InvalidColourReadsWithoutDrawingAndKeysTheCurrentCorner) {
  EXPECT_EQ(MatchSurfaceColor(surface_, CLR_INVALID), kBefore);
  ASSERT_EQ(SetSurfaceColorKey(surface_, CLR_INVALID), DD_OK);
  // Keyed, the all-kBefore surface leaves the target as it was.
  Fill(backBuffer, 0x0F0F);
  RECT to = {10, 10, 18, 14};
  ASSERT_EQ(backBuffer->Blt(&to, surface_, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(PixelOf(backBuffer, 12, 12), 0x0F0F);
}

TEST_F(ColourMatchTest, LockStillDrawingIsAskedAgainAndAFailedLockGivesInvalid) {
  host_.Fail(host::Call::kLock, 3);
  EXPECT_EQ(MatchSurfaceColor(surface_, RGB(0, 0, 255)), 0x001Fu);
  host_.Fail(host::Call::kLock, host::HeadlessHost::kForever);
  EXPECT_EQ(MatchSurfaceColor(surface_, RGB(0, 0, 255)), CLR_INVALID);
  host_.Fail(host::Call::kLock, 0);
  EXPECT_EQ(PixelOf(surface_, 0, 0), kBefore);
}

}  // namespace
