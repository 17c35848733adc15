// The replay's written frames: the attract screen and play with every object where the
// trace puts it, and the frame options' validation.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#include <gtest/gtest.h>
#include <stb_image.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kImages = fs::path(PADDLEBALL_SOURCE_DIR) / "images";

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Rect {
  int left, top, right, bottom;
};

// An image file's pixels as RGB565 values, the frame's own format.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint16_t> pixels;
  explicit Picture(const fs::path& path) {
    std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> rgb(
        stbi_load(path.c_str(), &width, &height, nullptr, 3), stbi_image_free);
    EXPECT_TRUE(rgb) << path << ": " << stbi_failure_reason();
    if (!rgb) return;
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
      const stbi_uc* p = &rgb.get()[3 * i];
      pixels.push_back(
          static_cast<std::uint16_t>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3)));
    }
  }
  std::uint16_t At(int x, int y) const { return pixels.at(y * width + x); }
  // Whether any white pixel lies in the rectangle.
  bool HasWhite(Rect area) const {
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        if (At(x, y) == 0xFFFF) return true;
      }
    }
    return false;
  }
};

class ReplayFramesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(scratch_);
    fs::create_directories(scratch_);
    // Attract, a click, then a slow drift right.
    std::ofstream script(scratch_ / "script");
    script << "0 0\n0 1\n";
    for (int i = 0; i < 40; ++i) script << "3 0\n";
  }
  void TearDown() override { fs::remove_all(scratch_); }

  // Runs the replay from the source tree, its trace to `out`; returns its exit status.
  int Replay(const std::string& options, const std::string& out = "trace") {
    const std::string command = "cd '" PADDLEBALL_SOURCE_DIR "' && '" PADDLEBALL_REPLAY "' " +
                                options + " < '" + (scratch_ / "script").string() + "' > '" +
                                (scratch_ / out).string() + "' 2> '" +
                                (scratch_ / (out + ".err")).string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The frame of `tick` shows the object's picture at its traced bounds: the picture's middle
  // pixel in their middle (the drawing itself is the display tests').
  void ExpectDrawnAt(int tick, const Picture& frame, const char* object, const Picture& picture) {
    const std::regex line("\\{\"tick\":" + std::to_string(tick) + ",.*\"" + object +
                          "\":\\[(-?\\d+),(-?\\d+),(-?\\d+),(-?\\d+)\\]");
    std::smatch m;
    const std::string trace = Read(scratch_ / "trace");
    ASSERT_TRUE(std::regex_search(trace, m, line)) << "no " << object << " at tick " << tick;
    const int x = (std::stoi(m[1]) + std::stoi(m[3])) / 2,
              y = (std::stoi(m[2]) + std::stoi(m[4])) / 2;
    EXPECT_EQ(frame.At(x, y), picture.At(picture.width / 2, picture.height / 2))
        << object << " at tick " << tick;
  }

  const fs::path scratch_ =
      fs::temp_directory_path() / ("paddleball-replay-frames-" + std::to_string(getpid()));
};

TEST_F(ReplayFramesTest, FramesShowTheAttractScreenAndPlayWhereTheTracePutsThem) {
  ASSERT_EQ(Replay("--timedemo --frames '" + (scratch_ / "f").string() + "' --frame-ticks 1,2,40"),
            0)
      << Read(scratch_ / "trace.err");
  EXPECT_FALSE(fs::exists(scratch_ / "f/tick-000003.png"));
  const Picture ball(kImages / "example2.bmp"), paddle(kImages / "paddle4.bmp");
  const Picture attract(scratch_ / "f/tick-000001.png"), click(scratch_ / "f/tick-000002.png"),
      play(scratch_ / "f/tick-000040.png");
  ASSERT_EQ(attract.width, 1024);
  ASSERT_EQ(attract.height, 768);
  constexpr Rect kHeadsUp = {0, 0, 300, 45};
  for (const auto& [tick, frame] : {std::pair{1, &attract}, std::pair{40, &play}}) {
    ExpectDrawnAt(tick, *frame, "ball", ball);
    ExpectDrawnAt(tick, *frame, "paddle", paddle);
    EXPECT_EQ(frame->HasWhite(kHeadsUp), tick != 1) << "heads-up text at tick " << tick;
  }
  EXPECT_TRUE(attract.HasWhite({392, 84, 632, 110})) << "no title prompt";
  EXPECT_FALSE(play.HasWhite({392, 120, 632, 300})) << "the title is still shown";
  // The click's tick presents the attract frame, then the first play frame: the file holds the
  // last.
  EXPECT_TRUE(click.HasWhite(kHeadsUp)) << "the click's tick wrote its attract frame";
  // Writing frames and timing them leave the trace as it was.
  EXPECT_NE(Read(scratch_ / "trace.err").find("frames/s"), std::string::npos);
  ASSERT_EQ(Replay("", "plain"), 0);
  EXPECT_EQ(Read(scratch_ / "plain"), Read(scratch_ / "trace"));
}

TEST_F(ReplayFramesTest, BadFrameTickListsAreRefused) {
  for (const char* list : {"", "0", "1,,2", "x", "1,2,", "-3", "99999999999999999999", "1.5"}) {
    EXPECT_EQ(Replay("--frames '" + (scratch_ / "f").string() + "' --frame-ticks '" + list + "'"),
              2)
        << list;
    EXPECT_NE(Read(scratch_ / "trace.err").find("--frame-ticks"), std::string::npos) << list;
  }
  EXPECT_EQ(Replay("--frame-ticks 1"), 2) << "a tick list without a directory";
}

}  // namespace
