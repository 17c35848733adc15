// The replay's written frames: the attract screen and play with every object where the
// trace puts it, and the frame options' validation.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;
using SurfacePtr = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

constexpr int kLastTick = 40;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Rect {
  int left, top, right, bottom;
};

class ReplayFramesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = fs::temp_directory_path() / ("paddleball-replay-frames-" + std::to_string(getpid()));
    fs::remove_all(scratch_);
    fs::create_directories(scratch_);
    std::ofstream script(scratch_ / "script");
    // Attract, a click, then a slow drift right.
    script << "0 0\n0 1\n";
    for (int i = 0; i < kLastTick; ++i) script << "3 0\n";
  }
  void TearDown() override { fs::remove_all(scratch_); }

  // Runs the replay from the source tree; returns its exit status.
  int Replay(const std::string& options, const std::string& out = "trace") {
    const std::string command = "cd '" PADDLEBALL_SOURCE_DIR "' && '" PADDLEBALL_REPLAY "' " +
                                options + " < '" + (scratch_ / "script").string() + "' > '" +
                                (scratch_ / out).string() + "' 2> '" +
                                (scratch_ / (out + ".err")).string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The object's bounds in the trace line of `tick`.
  Rect Bounds(int tick, const std::string& object) {
    const std::string trace = Read(scratch_ / "trace");
    const std::regex line("\\{\"tick\":" + std::to_string(tick) + ",.*\"" + object +
                          "\":\\[(-?\\d+),(-?\\d+),(-?\\d+),(-?\\d+)\\]");
    std::smatch match;
    if (!std::regex_search(trace, match, line)) {
      ADD_FAILURE() << "no " << object << " at tick " << tick;
      return {};
    }
    return {std::stoi(match[1]), std::stoi(match[2]), std::stoi(match[3]), std::stoi(match[4])};
  }

  fs::path scratch_;
};

// Pixels of an image file as RGB565 values, the frame's own format.
class Picture {
 public:
  explicit Picture(const fs::path& path) : surface_(nullptr, SDL_FreeSurface) {
    SurfacePtr loaded(IMG_Load(path.string().c_str()), SDL_FreeSurface);
    if (loaded) surface_.reset(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB24, 0));
    EXPECT_TRUE(surface_) << path << ": " << SDL_GetError();
  }
  bool ok() const { return surface_ != nullptr; }
  int width() const { return surface_->w; }
  int height() const { return surface_->h; }
  std::uint16_t At(int x, int y) const {
    const auto* p =
        static_cast<const std::uint8_t*>(surface_->pixels) + y * surface_->pitch + 3 * x;
    return static_cast<std::uint16_t>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
  }

 private:
  SurfacePtr surface_;
};

const fs::path kImages = fs::path(PADDLEBALL_SOURCE_DIR) / "images";

// The presented frame shows the picture, keyed, at exactly `at` (scaled to it).
void ExpectDrawnAt(const Picture& frame, const Picture& picture, Rect at) {
  const int width = at.right - at.left;
  const int height = at.bottom - at.top;
  int mismatches = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint16_t source = picture.At((2 * x + 1) * picture.width() / (2 * width),
                                              (2 * y + 1) * picture.height() / (2 * height));
      if (source != 0 && frame.At(at.left + x, at.top + y) != source) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

// Whether any white pixel lies in the rectangle.
bool HasWhite(const Picture& frame, Rect area) {
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (frame.At(x, y) == 0xFFFF) return true;
    }
  }
  return false;
}

TEST_F(ReplayFramesTest, FramesShowTheAttractScreenAndPlayWhereTheTracePutsThem) {
  ASSERT_EQ(Replay("--frames '" + (scratch_ / "frames").string() + "' --frame-ticks 1,2," +
                   std::to_string(kLastTick)),
            0)
      << Read(scratch_ / "trace.err");
  EXPECT_TRUE(fs::exists(scratch_ / "frames/tick-000001.png"));
  EXPECT_FALSE(fs::exists(scratch_ / "frames/tick-000003.png"));
  const Picture ball(kImages / "example2.bmp");
  const Picture paddle(kImages / "paddle4.bmp");

  const Picture attract(scratch_ / "frames/tick-000001.png");
  ASSERT_TRUE(attract.ok() && ball.ok() && paddle.ok());
  ASSERT_EQ(attract.width(), 1024);
  ASSERT_EQ(attract.height(), 768);
  ExpectDrawnAt(attract, ball, Bounds(1, "ball"));
  ExpectDrawnAt(attract, paddle, Bounds(1, "paddle"));
  EXPECT_TRUE(HasWhite(attract, {392, 84, 632, 110})) << "no title prompt";
  EXPECT_FALSE(HasWhite(attract, {0, 0, 300, 45})) << "heads-up text on the attract screen";

  // The click's tick presents the attract frame and then the first play frame: the file
  // holds the last.
  const Picture click(scratch_ / "frames/tick-000002.png");
  ASSERT_TRUE(click.ok());
  EXPECT_TRUE(HasWhite(click, {0, 0, 300, 45})) << "the click's tick wrote its attract frame";

  const Picture play(scratch_ / ("frames/tick-0000" + std::to_string(kLastTick) + ".png"));
  ASSERT_TRUE(play.ok());
  const Rect ballAt = Bounds(kLastTick, "ball");
  ExpectDrawnAt(play, ball, ballAt);
  ExpectDrawnAt(play, paddle, Bounds(kLastTick, "paddle"));
  EXPECT_TRUE(HasWhite(play, {0, 0, 300, 45})) << "no heads-up text";
  EXPECT_FALSE(HasWhite(play, {392, 120, 632, 300})) << "the title is still shown";
}

TEST_F(ReplayFramesTest, FrameAndTimingOptionsLeaveTheTraceAsItWas) {
  ASSERT_EQ(Replay("", "plain"), 0);
  ASSERT_EQ(Replay("--timedemo --frames '" + (scratch_ / "all").string() + "'", "timed"), 0);
  EXPECT_EQ(Read(scratch_ / "plain"), Read(scratch_ / "timed"));
  EXPECT_NE(Read(scratch_ / "timed.err").find("frames/s"), std::string::npos);
  EXPECT_NE(Read(scratch_ / "timed.err").find("ms/frame"), std::string::npos);
  // Every tick of this script presents a frame, so there is one file per trace line.
  const std::string trace = Read(scratch_ / "plain");
  const auto ticks = std::count(trace.begin(), trace.end(), '\n');
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch_ / "all"), {}), ticks);
}

TEST_F(ReplayFramesTest, BadFrameTickListsAreRefused) {
  for (const char* list : {"", "0", "1,,2", "x", "1,2,", "-3", "99999999999999999999", "1.5"}) {
    SCOPED_TRACE(list);
    EXPECT_EQ(Replay(std::string("--frames '") + (scratch_ / "f").string() + "' --frame-ticks '" +
                     list + "'"),
              2);
    EXPECT_NE(Read(scratch_ / "trace.err").find("--frame-ticks"), std::string::npos);
  }
  EXPECT_EQ(Replay("--frame-ticks 1"), 2) << "a tick list without a directory";
}

}  // namespace
