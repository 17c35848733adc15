// The palette loader's ramp and colour tables, and matching colours to raw pixel values.
#include <gtest/gtest.h>

#include <array>
#include <ostream>

#include "display/palette_utils.h"
#include "display_fixture.h"
#include "support/wav_bytes.h"

namespace {

using Entry = std::array<int, 4>;  // red, green, blue, flags
constexpr int kEntries = 256;

Entry Ramp(int i) {
  return {((i >> 5) & 7) * 255 / 7, ((i >> 2) & 7) * 255 / 7, (i & 3) * 255 / 3, 0};
}

// A bitmap file: headers (the info header `infoSize` bytes), `count` table records (blue
// 1 + i, green 2 + i, red 3 + i, reserved 100 + i), then `after`; cut to `size` bytes.
Bytes BitmapFile(int infoSize, int bitCount, int coloursUsed, int count, Bytes after = {},
                 std::size_t size = SIZE_MAX) {
  Bytes bytes(14 + infoSize, 0);
  // A longer header's extra fields get distinct bytes, so that reading them as colours shows.
  for (int i = 40; i < infoSize; ++i) bytes[14 + i] = static_cast<std::uint8_t>(i);
  bytes[0] = 'B', bytes[1] = 'M', bytes[18] = 4, bytes[22] = 2, bytes[26] = 1;
  bytes = Patched(Patched(Patched(bytes, 14, infoSize), 28, bitCount, 2), 46, coloursUsed);
  for (int i = 0; i < count; ++i) {
    for (int value : {1 + i, 2 + i, 3 + i, 100 + i})
      bytes.push_back(static_cast<std::uint8_t>(value));
  }
  bytes.insert(bytes.end(), after.begin(), after.end());
  bytes.resize(std::min(size, bytes.size()));
  return bytes;
}

// The same as a packed DIB, as a resource holds it: no file header, and some pixel bits.
Bytes PackedDib(int infoSize, int bitCount, int coloursUsed, int count) {
  Bytes bytes = BitmapFile(infoSize, bitCount, coloursUsed, count, Bytes(8, 0));
  return Bytes(bytes.begin() + 14, bytes.end());
}

// The entries those records become; a file keeps the reserved bytes as flags.
std::vector<Entry> Records(int count, bool flags, std::vector<Entry> after = {}) {
  std::vector<Entry> entries;
  for (int i = 0; i < count; ++i)
    entries.push_back(
        {(3 + i) & 0xFF, (2 + i) & 0xFF, (1 + i) & 0xFF, flags ? (100 + i) & 0xFF : 0});
  entries.insert(entries.end(), after.begin(), after.end());
  return entries;
}

struct PaletteCase {
  const char* name;
  Bytes file, resource;  // empty: none of that kind
  std::vector<Entry> first;
  int rampFrom;  // -1: what follows is not checked
  const char* path = "pal.bmp";
};

void PrintTo(const PaletteCase& c, std::ostream* out) { *out << c.name; }

class PaletteCaseTest : public DisplayTest, public ::testing::WithParamInterface<PaletteCase> {};

TEST_P(PaletteCaseTest, TakesItsColoursOverTheRamp) {
  const PaletteCase& c = GetParam();
  if (!c.file.empty()) scratch_.Write("pal.bmp", c.file);
  if (!c.resource.empty()) portable::AddBitmapResource("pal.bmp", c.resource);
  InitDisplay();
  IDirectDrawPalette* palette = LoadBitmapPalette(directDraw, c.path);
  std::vector<PALETTEENTRY> raw(kEntries);
  ASSERT_TRUE(palette && palette->GetEntries(0, 0, kEntries, raw.data()) == DD_OK);
  const auto entry = [&raw](int i) {
    return Entry{raw[i].peRed, raw[i].peGreen, raw[i].peBlue, raw[i].peFlags};
  };
  ASSERT_EQ(Ramp(0x5A), (Entry{72, 218, 170, 0})) << "the ramp, worked out by hand";
  for (std::size_t i = 0; i < c.first.size(); ++i) EXPECT_EQ(entry(i), c.first[i]) << i;
  for (int i = c.rampFrom; i >= 0 && i < kEntries; ++i) EXPECT_EQ(entry(i), Ramp(i)) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PaletteCaseTest,
    ::testing::Values(
        PaletteCase{"NoPath", {}, {}, {}, 0, nullptr},
        PaletteCase{"NoFile", {}, {}, {}, 0, "missing.bmp"},
        // Sixteen colours, then the pixel bytes after them land in entries 16 and 17 as they are.
        PaletteCase{"FourBitFile",
                    BitmapFile(40, 4, 0, 16, {1, 2, 3, 4, 5, 6, 7, 8}),
                    {},
                    Records(16, true, {{1, 2, 3, 4}, {5, 6, 7, 8}}),
                    18},
        PaletteCase{"OverTwoHundredFiftySixColours",
                    BitmapFile(40, 8, 1000, 256),
                    {},
                    Records(256, true),
                    -1},
        // A 108-byte header: the "table" read at byte 54 is the header's rest, unexchanged.
        PaletteCase{
            "FileHeaderNotFortyBytes", BitmapFile(108, 8, 4, 4), {}, {{40, 41, 42, 43}}, -1},
        PaletteCase{"TruncatedFile", BitmapFile(40, 8, 4, 4, {}, 20), {}, {}, 0},
        PaletteCase{"ResourceWithLargerHeader", {}, PackedDib(108, 8, 2, 2), Records(2, false), 2},
        PaletteCase{"ResourceBeforeFile", BitmapFile(40, 8, 1, 0, {9, 9, 9, 9}),
                    PackedDib(40, 8, 1, 2), Records(1, false), 1}),
    [](const ::testing::TestParamInfo<PaletteCase>& info) { return info.param.name; });

TEST_F(DisplayTest, MatchSurfaceColorGivesTheRawValueAndPutsTheFirstPixelBack) {
  constexpr std::uint16_t kBefore = 0x1234;
  Start();
  IDirectDrawSurface* surface = ball->GetSurface();
  Fill(surface, kBefore);
  EXPECT_EQ(MatchSurfaceColor(surface, RGB(255, 0, 0)), 0xF800u);
  portable::FailNext(portable::Call::kLock, 3);  // still drawing: asked again
  EXPECT_EQ(MatchSurfaceColor(surface, RGB(0, 255, 0)), 0x07E0u);
  portable::FailNext(portable::Call::kLock, portable::kForever);
  EXPECT_EQ(MatchSurfaceColor(surface, RGB(0, 0, 255)), CLR_INVALID);
  portable::FailNext(portable::Call::kLock, 0);
  EXPECT_EQ(PixelAt(surface, 0, 0), kBefore);
  EXPECT_EQ(PixelAt(surface, 1, 0), kBefore);
  // CLR_INVALID reads the corner as it is, and a key of it leaves the target as it was.
  EXPECT_EQ(MatchSurfaceColor(surface, CLR_INVALID), kBefore);
  ASSERT_EQ(SetSurfaceColorKey(surface, CLR_INVALID), DD_OK);
  Fill(backBuffer, 0x0F0F);
  ball->Draw(backBuffer);
  EXPECT_EQ(PixelAt(backBuffer, 500, 380), 0x0F0F);
  // The match reads only the corner pixel's own bytes: a one-pixel 16-bit surface ends
  // right after it (the address checker sees any wider read).
  Sprite tiny;
  tiny.Load("images/example2.bmp", 1, 1);
  EXPECT_EQ(MatchSurfaceColor(tiny.GetSurface(), RGB(0, 255, 0)), 0x07E0u);
}

}  // namespace
