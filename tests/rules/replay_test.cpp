// Runs the replay tool as a program, the way other tools use it: its trace, its frames, and
// its refusals.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#include <gtest/gtest.h>
#include <stb_image.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "../support/scratch_dir.h"
#include "host/rgb565.h"

namespace {

struct ReplayRun {
  int exitCode = -1;
  std::vector<std::string> lines;
  std::string errors;
  std::unique_ptr<ScratchDir> scratch;  // kept with the run, to be looked at afterwards
  std::filesystem::path dir;
};

// Runs the tool in a fresh directory, $DIR: `shell` runs before it, `args` follow the
// redirections of the script, the trace and the errors, so that a redirection among them wins.
ReplayRun Replay(const std::string& script, const std::string& args = "",
                 const std::string& shell = "") {
  ReplayRun run;
  run.scratch = std::make_unique<ScratchDir>();
  run.dir = run.scratch->Path("");
  std::ofstream(run.dir / "script", std::ios::binary) << script;
  const std::string command = "sh -c 'DIR=" + run.dir.string() + "; " + shell +
                              " exec " PADDLEBALL_REPLAY " < $DIR/script > $DIR/out 2> $DIR/err " +
                              args + "'";
  const int status = std::system(command.c_str());
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::istringstream out(Contents(run.dir / "out"));
  for (std::string line; std::getline(out, line);) run.lines.push_back(line);
  run.errors = Contents(run.dir / "err");
  return run;
}

bool Has(const std::string& line, const std::string& part) {
  return line.find(part) != std::string::npos;
}

// Each read is one tick's line; the second read of "0 0" finds the script used up.
TEST(ReplayTest, EachReadIsOneTickOfTrace) {
  const struct {
    std::string script;
    std::vector<std::string> lines;  // a part of each line, in order
  } cases[] = {
      {"0 0\n",
       {"{\"tick\":1,\"attractMode\":true,\"playing\":false,\"lives\":2,\"hits\":0,\"level\":1,"
        "\"speedBonus\":3,\"ball\":[468,332,556,436],\"ballVelocity\":[9,-4],"
        "\"paddle\":[444,636,584,660],\"labels\":{\"score\":null,\"lives\":null,\"level\":null,"
        "\"title\":\"Click to Start | Hit ESCAPE to end.\"},\"cues\":[],\"quit\":false}",
        "{\"tick\":2,"}},
      // Blank lines and comments are not reads.
      {"# start\n\n  0 128  # click\n\t\n-5 0\n",
       {"\"paddle\":[439,636,583,660],\"labels\":{\"score\":\"SCORE: \"", "{\"tick\":2,"}},
      // Extreme movements keep the paddle between the walls.
      {"0 1\n2147483647 0\n-2147483648 0\n+2147483647 255\n",
       {"\"paddle\":[852,636,996,660]", "\"paddle\":[28,636,172,660]",
        "\"paddle\":[852,636,996,660]", "{\"tick\":4,"}},
  };
  for (const auto& c : cases) {
    const ReplayRun run = Replay(c.script);
    EXPECT_EQ(run.exitCode, 0) << c.script;
    ASSERT_EQ(run.lines.size(), c.lines.size()) << c.script;
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
      EXPECT_TRUE(Has(run.lines[i], c.lines[i])) << run.lines[i];
    }
  }
}

// A message quotes at most 80 bytes of the line, escaped, so that it stays one short line.
TEST(ReplayTest, MalformedLineStopsWithItsNumber) {
  const std::string tenMegabytes(10 << 20, '7');
  using namespace std::string_literals;
  for (const std::string& bad : {"1 2 3"s, "x 0"s, "5 256"s, "5 -1"s, "2147483648 0"s, "7"s,
                                 "1.5 0"s, "+-1 0"s, "1\0 0\x1b[2J\xff"s, tenMegabytes}) {
    const ReplayRun run = Replay("0 0\n0 0\n# fine\n" + bad + "\n0 0\n");
    const std::string shown = bad.substr(0, 12);
    EXPECT_EQ(run.exitCode, 2) << shown;
    EXPECT_TRUE(Has(run.errors, "line 4")) << shown << ": " << run.errors;
    EXPECT_EQ(run.lines.size(), 2u) << shown;  // nothing past the tick before the bad read
    const std::size_t start = std::min(run.errors.find("paddleball-replay: "), run.errors.size());
    const std::string message = run.errors.substr(start);
    ASSERT_LT(message.size(), 400u) << shown;
    // Plain text to the quote's end: a NUL let through would cut the message short.
    EXPECT_TRUE(std::regex_match(message, std::regex(R"([ -~]*"(\.\.\.)?\n)")))
        << "not one line of plain text: " << message;
  }
}

// Every failed read or write ends the run with its own status and a message naming the file;
// no frame file is left cut off under a tick's name, nor written through what held the name.
TEST(ReplayTest, InputAndOutputFaultsEndTheRunNamingTheFile) {
  struct Fault {
    const char* name;
    std::string args, shell;
    int exitCode;
    const char* message;
    const char* leftEmpty = nullptr;  // a file or directory the fault must leave empty
  };
  const std::string frames = "--frames $DIR/frames --frame-ticks 1";
  const char* const kNotAFile = "frames/tick-000001.png: not a regular file";
  const char* const kLink =
      "mkdir $DIR/frames; touch $DIR/target; ln -s $DIR/target $DIR/frames/tick-000001.png;";
  const Fault faults[] = {
      {"endless line", "< /dev/zero", "", 2, "line 1: longer than 4096 bytes"},
      {"full device", "> /dev/full", "", 1, "standard output: No space left on device"},
      {"link", frames, kLink, 1, kNotAFile, "target"},
      {"tick list without a directory", "--frame-ticks 1", "", 2, "needs --frames DIR"},
      // A frame larger than the file size limit: the write fails part way, as on a full disk.
      {"cut-off frame", frames, "trap \"\" XFSZ; ulimit -f 4;", 1,
       "frames/tick-000001.png: File too large", "frames"},
  };
  for (const Fault& fault : faults) {
    const ReplayRun run = Replay("0 0\n0 0\n", fault.args, fault.shell);
    EXPECT_EQ(run.exitCode, fault.exitCode) << fault.name;
    EXPECT_TRUE(Has(run.errors, fault.message)) << fault.name << ": " << run.errors;
    if (fault.leftEmpty) {
      EXPECT_TRUE(std::filesystem::is_empty(run.dir / fault.leftEmpty)) << fault.name;
    }
  }
  for (const char* list : {"\"\"", "0", "1,,2", "x", "1,2,", "-3", "99999999999999999999", "1.5"}) {
    const ReplayRun run = Replay("0 0\n", "--frames $DIR/f --frame-ticks " + std::string(list));
    EXPECT_EQ(run.exitCode, 2) << list;
    EXPECT_TRUE(Has(run.errors, "is not a tick number")) << list << ": " << run.errors;
  }
}

// Left alone, a game loses its three balls; the run ends at the quit, with lines to spare.
TEST(ReplayTest, AWholeGameEndsWithTheQuitAfterTheThirdBall) {
  std::string script = "0 128\n";
  for (int i = 0; i < 100000; ++i) script += "0 0\n";
  const ReplayRun run = Replay(script);
  ASSERT_EQ(run.exitCode, 0);
  ASSERT_GT(run.lines.size(), 10u);
  const std::string& last = run.lines.back();
  EXPECT_TRUE(Has(last, "\"lives\":-1") && Has(last, "sounds/failedme.wav") &&
              Has(last, "\"quit\":true"))
      << last;
  EXPECT_FALSE(Has(run.lines[run.lines.size() - 2], "\"quit\":true"));
}

// An image file's pixels as RGB565 values, the frame's own format; none if it will not load.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint16_t> pixels;
  explicit Picture(const std::filesystem::path& path) {
    stbi_uc* rgb = stbi_load(path.c_str(), &width, &height, nullptr, 3);
    for (int i = 0; rgb != nullptr && i < width * height; ++i) {
      pixels.push_back(host::NarrowToRgb565({rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]}));
    }
    stbi_image_free(rgb);
  }
  std::uint16_t At(int x, int y) const { return pixels.at(y * width + x); }
  // Whether any white pixel lies in [left, right) x [top, bottom).
  bool HasWhite(int left, int top, int right, int bottom) const {
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        if (At(x, y) == 0xFFFF) return true;
      }
    }
    return false;
  }
  // Whether the picture's middle pixel is at the middle of the object's bounds in the trace line.
  bool Shows(const Picture& picture, const std::string& line, const std::string& object) const {
    const std::regex bounds("\"" + object + "\":\\[(-?\\d+),(-?\\d+),(-?\\d+),(-?\\d+)\\]");
    std::smatch m;
    if (!std::regex_search(line, m, bounds)) return false;
    const int x = (std::stoi(m[1]) + std::stoi(m[3])) / 2,
              y = (std::stoi(m[2]) + std::stoi(m[4])) / 2;
    return At(x, y) == picture.At(picture.width / 2, picture.height / 2);
  }
};

// Attract, a click, then a slow drift right, from the game's folder for its pictures.
TEST(ReplayTest, FramesShowTheAttractScreenAndPlayWhereTheTracePutsThem) {
  std::string script = "0 0\n0 1\n";
  for (int i = 0; i < 40; ++i) script += "3 0\n";
  const std::filesystem::path images = std::filesystem::path(PADDLEBALL_SOURCE_DIR) / "images";
  const Picture ball(images / "example2.bmp"), paddle(images / "paddle4.bmp");
  const ReplayRun run = Replay(script, "--timedemo --frames $DIR/f --frame-ticks 1,2,40",
                               "cd " PADDLEBALL_SOURCE_DIR ";");
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  std::vector<Picture> frames;
  for (const char* tick : {"000001", "000002", "000040", "000003"})
    frames.emplace_back(run.dir / "f" / ("tick-" + std::string(tick) + ".png"));
  const Picture &attract = frames[0], &click = frames[1], &play = frames[2];
  ASSERT_TRUE(attract.width == 1024 && attract.height == 768);
  EXPECT_TRUE(frames[3].pixels.empty()) << "a tick not asked for was written";
  for (const auto& [tick, frame] : {std::pair{1, &attract}, std::pair{40, &play}}) {
    EXPECT_TRUE(frame->Shows(ball, run.lines.at(tick - 1), "ball")) << tick;
    EXPECT_TRUE(frame->Shows(paddle, run.lines.at(tick - 1), "paddle")) << tick;
    EXPECT_EQ(frame->HasWhite(0, 0, 300, 45), tick != 1) << "heads-up text at tick " << tick;
  }
  EXPECT_TRUE(attract.HasWhite(392, 84, 632, 110)) << "no title prompt";
  EXPECT_FALSE(play.HasWhite(392, 120, 632, 300)) << "the title is still shown";
  // The click's tick presents the attract frame, then the first play frame: the file holds the
  // last.
  EXPECT_TRUE(click.HasWhite(0, 0, 300, 45)) << "the click's tick wrote its attract frame";
  // Writing frames and timing them leave the trace as it was.
  EXPECT_TRUE(Has(run.errors, "frames/s"));
  EXPECT_EQ(Replay(script).lines, run.lines);
}

}  // namespace
