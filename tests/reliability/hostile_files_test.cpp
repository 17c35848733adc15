// Every kind of picture file a player could put in the game's place, through the portable
// layer on the headless host: each loads, or is refused and named once, unharmed. Sound files
// are the host core's table.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "../sound/wav_bytes.h"
#include "host/headless/headless_host.h"
#include "platform/platform.h"

namespace reliability {
namespace {

// A 5 x 3 picture (odd, so that rows need padding) with a 40-byte header: a grey palette and
// all-zero pixels, or with run-length compression (1) a single end-of-picture mark.
Bytes MakeBitmap(std::uint32_t bitCount = 24, std::uint32_t compression = 0) {
  constexpr std::uint32_t kTable = 14 + 40, kWidth = 5, kHeight = 3;
  const std::uint32_t colours = bitCount <= 8 ? 1u << bitCount : 0;
  const std::uint32_t bitsAt = kTable + colours * 4;
  const std::uint32_t rowBytes = (kWidth * bitCount + 31) / 32 * 4;
  const std::uint32_t size = bitsAt + (compression != 0 ? 2 : rowBytes * kHeight);
  Bytes file(size, 0);
  const std::uint32_t fields[][3] = {{0, 0x4D42, 2}, {2, size, 4},      {10, bitsAt, 4},
                                     {14, 40, 4},    {18, kWidth, 4},   {22, kHeight, 4},
                                     {26, 1, 2},     {28, bitCount, 2}, {30, compression, 4}};
  for (const auto& [at, value, width] : fields) file = Patched(file, at, value, width);
  for (std::uint32_t i = 0; i < colours; ++i) {
    std::memset(&file[kTable + i * 4], static_cast<int>(i * 255 / (colours - 1)), 3);
  }
  if (compression != 0) file[bitsAt + 1] = 1;  // escape 0, 1: end of the picture
  return file;
}

enum class Outcome { kLoads, kRefused };

struct FileCase {
  const char* name;
  Bytes bytes;
  Outcome outcome;
};

// Offsets in the headers: width 18, height 22, planes 26, bit count 28, compression 30,
// colours used 46; the info header's size 14; the bits' offset 10.
std::vector<FileCase> BitmapCases() {
  const Bytes good = MakeBitmap();
  return {
      {"24-bit", good, Outcome::kLoads},  // every other kind is the decoder suite's
      {"empty", {}, Outcome::kRefused},
      {"magic-only", {'B', 'M'}, Outcome::kRefused},
      {"headers-cut", {good.begin(), good.begin() + 30}, Outcome::kRefused},
      {"bits-cut", {good.begin(), good.end() - 5}, Outcome::kRefused},
      {"wrong-magic", Patched(good, 0, 0x4D43, 2), Outcome::kRefused},
      {"huge", Patched(Patched(good, 18, 100000), 22, 100000), Outcome::kRefused},
      {"huge-rle", Patched(Patched(MakeBitmap(8, 1), 18, 60000), 22, 60000), Outcome::kRefused},
      {"zero-width", Patched(good, 18, 0), Outcome::kRefused},
      {"negative-width", Patched(good, 18, 0xFFFFFFFF), Outcome::kRefused},
      {"lowest-height", Patched(good, 22, 0x80000000), Outcome::kRefused},
      {"bit-count", Patched(good, 28, 7, 2), Outcome::kRefused},
      {"compression", Patched(good, 30, 99), Outcome::kRefused},
      {"colours", Patched(MakeBitmap(8), 46, 0x10000000), Outcome::kRefused},
      {"header-size", Patched(good, 14, 0xFFFFFFF0), Outcome::kRefused},
      {"bits-offset", Patched(good, 10, 0xFFFFFFF0), Outcome::kRefused},
  };
}

class HostileFilesTest : public testing::Test {
 protected:
  void SetUp() override { host::Install(&headless_); }
  void TearDown() override { host::Install(nullptr); }

  // Not files at all, or too large to read: every one refused by the one bounded reader.
  std::vector<std::string> NonFiles() const {
    const std::string fifo = dir_.Path("fifo.bmp");
    EXPECT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string huge = dir_.Write("200mb.bmp", {});
    std::filesystem::resize_file(huge, 200u << 20);  // sparse: costs the disk nothing
    const std::string zero = dir_.Path("zero.bmp");
    std::filesystem::create_symlink("/dev/zero", zero);
    return {dir_.Path("missing.bmp"), dir_.Path(""), fifo, huge, zero};
  }

  // Loads the file twice, as a lost surface's reload does; true when it loaded. A refused file
  // is named on stderr once, with a reason.
  bool Loads(const std::string& path) {
    testing::internal::CaptureStderr();
    bool loaded = true;
    for (int attempt = 0; attempt < 2; ++attempt) loaded = Load(path) && loaded;
    const std::string said = testing::internal::GetCapturedStderr();
    const std::size_t at = said.find(path + ": ");
    if (loaded) {
      EXPECT_EQ(said, "") << path;
    } else {
      EXPECT_NE(at, std::string::npos) << path << " is not named in: " << said;
      EXPECT_EQ(said.find(path + ": ", at + 1), std::string::npos) << "named twice: " << said;
    }
    return loaded;
  }

  bool Load(const std::string& path) {
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (bitmap == nullptr) return false;
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 5) << path;
    EXPECT_EQ(info.bmHeight, 3) << path;
    DeleteObject(bitmap);
    return true;
  }

  host::HeadlessHost headless_;
  ScratchDir dir_;
};

TEST_F(HostileFilesTest, EveryPictureLoadsOrIsRefusedAndNamed) {
  for (const FileCase& file : BitmapCases()) {
    EXPECT_EQ(Loads(dir_.Write(file.name + std::string(".bmp"), file.bytes)),
              file.outcome == Outcome::kLoads)
        << file.name;
  }
  for (const std::string& path : NonFiles()) EXPECT_FALSE(Loads(path));
}

TEST_F(HostileFilesTest, AMissingFolderSaysWhereTheGameLookedAndWhereToStartIt) {
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
}  // namespace reliability
