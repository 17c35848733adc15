// Every kind of bitmap file decodes to the same pixels: bit depths, masks, header sizes,
// row order and run-length encodings; LoadImageA on good files and bad calls; and every
// hostile file a player could put in the game's place is refused and named once, unharmed.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <filesystem>
#include <vector>

#include "../support/wav_bytes.h"
#include "platform_fixture.h"
#include "portable/bitmap_file.h"
#include "portable/gdi.h"
#include "portable/rgb565.h"

namespace {

constexpr int kWidth = 3, kHeight = 2;
constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0),
                   kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
// Indexed kinds use this table; a 1-bit picture only its first two entries.
constexpr std::array<COLORREF, 5> kTable = {kBlack, kWhite, kRed, kGreen, kBlue};

using Picture = std::array<COLORREF, kWidth * kHeight>;  // top row first
constexpr Picture kColours = {kRed, kGreen, kBlue, kWhite, kBlack, kRed};
constexpr Picture kTwoColours = {kWhite, kBlack, kWhite, kBlack, kWhite, kWhite};
// Run-length pictures where runs skip pixels or are cut: the rest stays at entry 0.
constexpr Picture kSkipped = {kRed, kBlack, kBlue, kWhite, kBlack, kRed};
constexpr Picture kCutRuns = {kGreen, kGreen, kGreen, kWhite, kWhite, kWhite};
constexpr Picture kCutFile = {kRed, kBlack, kBlack, kBlack, kBlack, kBlack};
constexpr Picture kAllBlack = {kBlack, kBlack, kBlack, kBlack, kBlack, kBlack};

using Masks = std::array<DWORD, 3>;
constexpr Masks k555 = {0x7C00, 0x03E0, 0x001F};
constexpr Masks k565 = {0xF800, 0x07E0, 0x001F};
constexpr Masks k888 = {0xFF0000, 0xFF00, 0xFF};
constexpr Masks kSwapped = {0xFF, 0xFF00, 0xFF0000};
constexpr Masks k101010 = {0x3FF00000, 0x000FFC00, 0x000003FF};

// The colour's red, green and blue, each scaled to its mask's width at the mask's place.
DWORD Packed(COLORREF colour, const Masks& masks) {
  DWORD packed = 0;
  for (int i = 0; i < 3; ++i) {
    const int shift = std::countr_zero(masks[i]);
    packed |= ((colour >> 8 * i) & 0xFF) * (masks[i] >> shift) / 255 << shift;
  }
  return packed;
}

struct Kind {
  const char* name;
  DWORD headerBytes;
  WORD bitCount;
  DWORD compression;
  Masks masks;  // for 16 and 32 bits; written when compression is 3
  bool topDown = false;
  DWORD gap = 0;  // unused bytes between the colour table and the bits
  Picture picture = kColours;
  std::vector<std::uint8_t> runs = {};  // the bits of a run-length kind
};

// A masked pixel, or the colour's index in the table.
DWORD PixelValue(const Kind& kind, COLORREF colour) {
  if (kind.bitCount > 8) return Packed(colour, kind.masks);
  return static_cast<DWORD>(std::ranges::find(kTable, colour) - kTable.begin());
}

std::vector<std::uint8_t> Bits(const Kind& kind) {
  if (!kind.runs.empty()) return kind.runs;
  const int rowBytes = (kWidth * kind.bitCount + 31) / 32 * 4;
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(rowBytes) * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    std::uint8_t* row = bits.data() + (kind.topDown ? y : kHeight - 1 - y) * rowBytes;
    for (int x = 0; x < kWidth; ++x) {
      const DWORD value = PixelValue(kind, kind.picture[y * kWidth + x]);
      if (kind.bitCount < 8) {
        const int bit = x * kind.bitCount;
        row[bit / 8] |= static_cast<std::uint8_t>(value << (8 - kind.bitCount - bit % 8));
      } else {
        std::memcpy(row + x * kind.bitCount / 8, &value, kind.bitCount / 8);
      }
    }
  }
  return bits;
}

// Appends each field's low `width` bytes, little-endian, as the headers lay them out.
void Append(Bytes& file, std::initializer_list<std::pair<DWORD, int>> fields) {
  for (const auto& [value, width] : fields) {
    for (int i = 0; i < width; ++i) file.push_back(static_cast<std::uint8_t>(value >> 8 * i));
  }
}

Bytes File(const Kind& kind) {
  constexpr std::size_t kInfo = 14;  // the info header's place, after the file header
  const bool core = kind.headerBytes == 12;
  Bytes file = {'B', 'M'};
  Append(file, {{0, 4}, {0, 4}, {0, 4}, {kind.headerBytes, 4}});  // sizes and offset: below
  if (core) {
    Append(file, {{kWidth, 2}, {kHeight, 2}, {1, 2}, {kind.bitCount, 2}});
  } else {
    const DWORD height = kind.topDown ? -kHeight : kHeight;
    Append(file, {{kWidth, 4}, {height, 4}, {1, 2}, {kind.bitCount, 2}, {kind.compression, 4}});
    file.resize(kInfo + 40);
    // Masks follow a 40-byte header and sit inside any larger one, at the same place.
    if (kind.compression == 3) {
      Append(file, {{kind.masks[0], 4}, {kind.masks[1], 4}, {kind.masks[2], 4}});
    }
    file.resize(std::max(file.size(), kInfo + kind.headerBytes));
  }
  // Colour table entries are blue, green, red and, but in the core header, a spare byte.
  const std::size_t entries = kind.bitCount == 1 ? 2 : kind.bitCount <= 8 ? kTable.size() : 0;
  for (std::size_t i = 0; i < entries; ++i) Append(file, {{Packed(kTable[i], k888), core ? 3 : 4}});
  file.resize(file.size() + kind.gap);
  file = Patched(file, 10, static_cast<DWORD>(file.size()));
  const std::vector<std::uint8_t> bits = Bits(kind);
  file.insert(file.end(), bits.begin(), bits.end());
  return Patched(file, 2, static_cast<DWORD>(file.size()));
}

// Bottom row 1 0 2 as a literal, top row 2 3 4 as runs of one.
const std::vector<std::uint8_t> kRle8 = {0, 3, 1, 0, 2, 0, 0, 0, 1, 2, 1, 3, 1, 4, 0, 1};
// Bottom row 1 0 2 as a literal; top row a run of 2, a step right over one pixel, a run of 4.
const std::vector<std::uint8_t> kRle4 = {0, 3, 0x10, 0x20, 0, 0,    1, 0x20,
                                         0, 2, 1,    0,    1, 0x40, 0, 1};

// Runs far wider than a row; a step to the top row, then a literal longer than the file; a
// step beyond the last row, then a run.
const std::vector<std::uint8_t> kWideRuns = {255, 1, 255, 2, 0, 0, 255, 3};
const std::vector<std::uint8_t> kLiteralCut = {0, 2, 0, 1, 1, 2, 0, 200, 1};
const std::vector<std::uint8_t> kStepOut = {0, 2, 0, 5, 1, 1};

const Kind kKinds[] = {
    {"1-bit", 40, 1, 0, {}, false, 0, kTwoColours},
    {"4-bit", 40, 4, 0, {}},
    {"8-bit top-down", 40, 8, 0, {}, true},
    {"8-bit OS/2", 12, 8, 0, {}},
    {"16-bit 5-5-5", 40, 16, 0, k555},
    {"16-bit 5-6-5 masks", 40, 16, 3, k565},
    {"24-bit bits apart from the headers", 40, 24, 0, k888, false, 6},
    {"32-bit", 40, 32, 0, k888},
    {"32-bit 10-bit masks", 40, 32, 3, k101010},
    {"32-bit 108-byte header masks", 108, 32, 3, kSwapped},
    {"8-bit 124-byte header", 124, 8, 0, {}},
    {"RLE8", 40, 8, 1, {}, false, 0, kColours, kRle8},
    {"RLE4", 40, 4, 2, {}, false, 0, kSkipped, kRle4},
    {"RLE8 runs wider than a row", 40, 8, 1, {}, false, 0, kCutRuns, kWideRuns},
    {"RLE8 literal cut short", 40, 8, 1, {}, false, 0, kCutFile, kLiteralCut},
    {"RLE8 step beyond the picture", 40, 8, 1, {}, false, 0, kAllBlack, kStepOut},
};

TEST(BitmapKindsTest, EveryKindDecodesToTheSamePixels) {
  for (const Kind& kind : kKinds) {
    const std::optional<portable::PixelBuffer> decoded = portable::DecodeBitmap(File(kind));
    if (!decoded || decoded->width != kWidth || decoded->height != kHeight) {
      ADD_FAILURE() << kind.name << " does not decode at " << kWidth << "x" << kHeight;
      continue;
    }
    for (int i = 0; i < kWidth * kHeight; ++i) {
      EXPECT_EQ(decoded->pixels[i], portable::ToRgb565(kind.picture[i]))
          << kind.name << ", pixel " << i;
    }
  }
}

using BitmapLoadTest = PlatformTest;

TEST_F(BitmapLoadTest, FileLoadsTopRowFirstAtItsOwnSizeOrStretchedToTheAskedOne) {
  ScratchDir dir;
  const std::string path = dir.Write("a.bmp", File({"24-bit", 40, 24, 0, k888}));
  for (const int scale : {1, 2}) {  // 1: at its own size, asked for 0 x 0
    const int cx = scale == 1 ? 0 : scale * kWidth, cy = scale == 1 ? 0 : scale * kHeight;
    auto bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, cx, cy,
                                                  LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr) << scale;
    BITMAP info{};
    EXPECT_EQ(GetObjectA(bitmap, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmWidth, scale * kWidth);
    EXPECT_EQ(info.bmHeight, scale * kHeight);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    for (int i = 0; i < kWidth * kHeight; ++i) {
      const int x = scale * (i % kWidth) + scale - 1, y = scale * (i / kWidth) + scale - 1;
      EXPECT_EQ(GetPixel(dc, x, y), kColours[i]) << scale << ", pixel " << i;
    }
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(bitmap));
  }
  EXPECT_EQ(LoadImageA(nullptr, nullptr, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, -1, 0, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 100000, 100000, LR_LOADFROMFILE),
            nullptr);
}

// Loads the file twice, as a lost surface's reload does; true when it loaded. A refused file
// is named on stderr once, with a reason.
bool LoadsTwice(const std::string& path) {
  testing::internal::CaptureStderr();
  bool loaded = true;
  for (int attempt = 0; attempt < 2; ++attempt) {
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    loaded = bitmap != nullptr && loaded;
    if (bitmap != nullptr) DeleteObject(bitmap);
  }
  const std::string said = testing::internal::GetCapturedStderr();
  const std::size_t at = said.find(path + ": ");
  EXPECT_EQ(loaded, at == std::string::npos) << path << ": " << said;
  EXPECT_EQ(said.rfind(path + ": "), at) << said;  // the last mention is the first
  return loaded;
}

TEST_F(BitmapLoadTest, EveryHostileFileIsRefusedAndNamedOnce) {
  // Offsets in the headers: the bits' offset 10, the info header's size 14, width 18, height
  // 22, bit count 28, compression 30, colours used 46.
  const Bytes good = File({"24-bit", 40, 24, 0, k888});
  const Bytes rle = File({"RLE8", 40, 8, 1, {}, false, 0, kColours, kRle8});
  const std::pair<const char*, Bytes> hostile[] = {
      {"empty", {}},
      {"bits-cut", {good.begin(), good.end() - 5}},
      {"wrong-magic", Patched(good, 0, 0x4D43, 2)},
      {"huge-rle", Patched(Patched(rle, 18, 8192), 22, 8192)},  // too many pixels
      {"wide-rle", Patched(rle, 18, 60000)},
      {"zero-width", Patched(good, 18, 0)},
      {"lowest-height", Patched(good, 22, 0x80000000)},
      {"bit-count", Patched(good, 28, 7, 2)},
      {"compression", Patched(good, 30, 99)},
      {"colours", Patched(File({"8-bit", 40, 8, 0, {}}), 46, 0x10000000)},
      {"header-size", Patched(good, 14, 124)},  // past the bits, and the file
      {"bits-offset", Patched(rle, 10, 0xFFFFFFF0)},
  };
  ScratchDir dir;
  EXPECT_TRUE(LoadsTwice(dir.Write("good.bmp", good)));
  for (const auto& [name, bytes] : hostile) {
    EXPECT_FALSE(LoadsTwice(dir.Write(name + std::string(".bmp"), bytes))) << name;
  }
  // A pipe, or a file too large to read: each refused by the bounded reader, never waited on.
  const std::string fifo = dir.Path("fifo.bmp");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string huge = dir.Write("200mb.bmp", {});
  std::filesystem::resize_file(huge, 200u << 20);  // sparse: costs the disk nothing
  for (const std::string& path : {fifo, huge}) EXPECT_FALSE(LoadsTwice(path));
}

TEST_F(BitmapLoadTest, AMissingFolderSaysWhereTheGameLookedAndWhereToStartIt) {
  testing::internal::CaptureStderr();
  for (const char* path : {"no-such-images/a.bmp", "no-such-images/b.bmp"}) {
    EXPECT_EQ(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "no-such-images/a.bmp: No such file or directory\n"
            "no-such-images/: no such folder in " +
                std::filesystem::current_path().string() +
                "; start the program from the folder that holds it\n"
                "no-such-images/b.bmp: No such file or directory\n");
}

}  // namespace
