// The palette loader's ramp and colour tables, and matching colours to raw pixel values.
#include <gtest/gtest.h>

#include <array>
#include <ostream>

#include "display/display_device.h"
#include "display/palette_utils.h"
#include "display/sprite_loading.h"
#include "display_fixture.h"
#include "portable/module_resources.h"
#include "scene/scene_objects.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Entry = std::array<int, 4>;  // red, green, blue, flags
constexpr int kEntries = 256;
constexpr std::size_t kFileHeader = 14;

Entry Ramp(int i) {
  return {((i >> 5) & 7) * 255 / 7, ((i >> 2) & 7) * 255 / 7, (i & 3) * 255 / 3, 0};
}

// A bitmap file's headers (info header `infoSize` bytes long), then `table` and `after`.
Bytes BitmapFile(std::uint32_t infoSize, std::uint8_t bitCount, std::uint16_t coloursUsed,
                 const Bytes& table, const Bytes& after = {}) {
  Bytes bytes(kFileHeader + infoSize, 0);
  bytes[0] = 'B', bytes[1] = 'M';
  bytes[kFileHeader] = static_cast<std::uint8_t>(infoSize);
  bytes[kFileHeader + 4] = 4;   // width
  bytes[kFileHeader + 8] = 2;   // height
  bytes[kFileHeader + 12] = 1;  // planes
  bytes[kFileHeader + 14] = bitCount;
  bytes[kFileHeader + 32] = static_cast<std::uint8_t>(coloursUsed);
  bytes[kFileHeader + 33] = static_cast<std::uint8_t>(coloursUsed >> 8);
  // A longer header's extra fields get distinct bytes, so that reading them as colours shows.
  for (std::size_t i = 40; i < infoSize; ++i) bytes[kFileHeader + i] = static_cast<std::uint8_t>(i);
  bytes.insert(bytes.end(), table.begin(), table.end());
  bytes.insert(bytes.end(), after.begin(), after.end());
  return bytes;
}

// A packed DIB, as a resource holds it: the file without its first header, with some bits.
Bytes PackedDib(std::uint32_t infoSize, std::uint8_t bitCount, std::uint16_t coloursUsed,
                const Bytes& table) {
  Bytes bytes = BitmapFile(infoSize, bitCount, coloursUsed, table, Bytes(8, 0));
  return Bytes(bytes.begin() + kFileHeader, bytes.end());
}

// `count` table records: blue i, green 2i, red 3i, reserved 100 + i.
Bytes Table(int count) {
  Bytes table;
  for (int i = 0; i < count; ++i) {
    table.insert(table.end(),
                 {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(2 * i),
                  static_cast<std::uint8_t>(3 * i), static_cast<std::uint8_t>(100 + i)});
  }
  return table;
}

// The entries Table(count) becomes; a file keeps the reserved bytes as flags.
std::vector<Entry> TableEntries(int count, bool flags) {
  std::vector<Entry> entries;
  for (int i = 0; i < count; ++i)
    entries.push_back({(3 * i) & 0xFF, (2 * i) & 0xFF, i, flags ? (100 + i) & 0xFF : 0});
  return entries;
}

struct PaletteCase {
  const char* name;
  Bytes file, resource;  // empty: none of that kind
  std::vector<Entry> first;
  int rampFrom;  // -1: what follows is not checked
};

void PrintTo(const PaletteCase& c, std::ostream* out) { *out << c.name; }

class PaletteTest : public DisplayTest {
 protected:
  void TearDown() override {
    portable::ClearModuleResources();
    DisplayTest::TearDown();
  }

  std::vector<Entry> Load(const char* path) {
    InitDisplay();
    IDirectDrawPalette* palette = LoadBitmapPalette(directDraw, path);
    std::vector<PALETTEENTRY> raw(kEntries);
    EXPECT_TRUE(palette && palette->GetEntries(0, 0, kEntries, raw.data()) == DD_OK);
    std::vector<Entry> entries;
    for (const auto& e : raw) entries.push_back({e.peRed, e.peGreen, e.peBlue, e.peFlags});
    return entries;
  }
};

TEST_F(PaletteTest, NoPathOrNoFileGivesTheRampAlone) {
  for (const char* path : {static_cast<const char*>(nullptr), "missing.bmp"}) {
    const auto entries = Load(path);
    EXPECT_EQ(entries[0x5A], (Entry{72, 218, 170, 0}));
    for (int i = 0; i < kEntries; ++i) EXPECT_EQ(entries[i], Ramp(i)) << i;
  }
}

class PaletteCaseTest : public PaletteTest, public ::testing::WithParamInterface<PaletteCase> {};

TEST_P(PaletteCaseTest, TakesItsColoursOverTheRamp) {
  const PaletteCase& c = GetParam();
  if (!c.file.empty()) WriteBytes("pal.bmp", c.file);
  if (!c.resource.empty()) portable::AddBitmapResource("pal.bmp", c.resource);
  const auto entries = Load("pal.bmp");
  for (std::size_t i = 0; i < c.first.size(); ++i) EXPECT_EQ(entries[i], c.first[i]) << i;
  for (int i = c.rampFrom; i >= 0 && i < kEntries; ++i) EXPECT_EQ(entries[i], Ramp(i)) << i;
}

// Sixteen colours then, as they are, the pixel bytes that follow them in the file.
std::vector<Entry> FourBitFileEntries() {
  auto entries = TableEntries(16, true);
  entries.insert(entries.end(), {{0x01, 0x23, 0x45, 0x67}, {0x89, 0xAB, 0xCD, 0xEF}});
  return entries;
}
const Bytes kFourBitPixels = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};

Bytes Prefix(Bytes bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

PaletteCase File(const char* name, Bytes file, std::vector<Entry> first, int rampFrom) {
  return {name, std::move(file), {}, std::move(first), rampFrom};
}
PaletteCase Resource(const char* name, Bytes dib, std::vector<Entry> first, int rampFrom) {
  return {name, {}, std::move(dib), std::move(first), rampFrom};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PaletteCaseTest,
    ::testing::Values(
        File("FourBitFile", BitmapFile(40, 4, 0, Table(16), kFourBitPixels), FourBitFileEntries(),
             18),
        Resource("FourBitResource", PackedDib(40, 4, 0, Table(16)), TableEntries(16, false), 16),
        File("OverTwoHundredFiftySixColours", BitmapFile(40, 8, 1000, Table(256)),
             TableEntries(256, true), -1),
        // A 108-byte header: the "table" read at byte 54 is the header's rest, unexchanged.
        File("FileHeaderNotFortyBytes", BitmapFile(108, 8, 4, Table(4)), {{40, 41, 42, 43}}, -1),
        File("TruncatedFile", Prefix(BitmapFile(40, 8, 4, Table(4)), 20), {}, 0),
        Resource("ResourceWithLargerHeader", PackedDib(108, 8, 2, Table(2)), TableEntries(2, false),
                 2),
        PaletteCase{"ResourceBeforeFile",
                    BitmapFile(40, 8, 1, {9, 9, 9, 9}),
                    PackedDib(40, 8, 1, {1, 2, 3, 4}),
                    {{3, 2, 1, 0}},
                    1}),
    [](const ::testing::TestParamInfo<PaletteCase>& info) { return info.param.name; });

TEST_F(DisplayTest, MatchSurfaceColorGivesTheRawValueAndPutsTheFirstPixelBack) {
  constexpr std::uint16_t kBefore = 0x1234;
  WriteScenePictures();
  Start();
  IDirectDrawSurface* surface = ball->GetSurface();
  Fill(surface, kBefore);
  EXPECT_EQ(MatchSurfaceColor(surface, RGB(255, 0, 0)), 0xF800u);
  EXPECT_EQ(MatchSurfaceColor(surface, RGB(6, 3, 7)), 0u);
  host_.Fail(host::Call::kLock, 3);  // still drawing: asked again
  EXPECT_EQ(MatchSurfaceColor(surface, RGB(0, 255, 0)), 0x07E0u);
  host_.Fail(host::Call::kLock, host::HeadlessHost::kForever);
  EXPECT_EQ(MatchSurfaceColor(surface, RGB(0, 0, 255)), CLR_INVALID);
  host_.Fail(host::Call::kLock, 0);
  EXPECT_EQ(PixelOf(surface, 0, 0), kBefore);
  EXPECT_EQ(PixelOf(surface, 1, 0), kBefore);
  // CLR_INVALID reads the corner as it is, and a key of it leaves the target as it was.
  EXPECT_EQ(MatchSurfaceColor(surface, CLR_INVALID), kBefore);
  ASSERT_EQ(SetSurfaceColorKey(surface, CLR_INVALID), DD_OK);
  Fill(backBuffer, 0x0F0F);
  ball->Draw(backBuffer);
  EXPECT_EQ(PixelOf(backBuffer, 500, 380), 0x0F0F);
}

}  // namespace
