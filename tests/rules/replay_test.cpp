// Runs the replay tool as a program, the way other tools use it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ReplayRun {
  int exitCode = -1;
  std::vector<std::string> lines;
  std::string errors;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Where and how the tool runs: its input, arguments, output, and shell settings before it.
struct Setting {
  std::string input = {};   // empty: the script
  std::string args = {};    // "DIR" stands for the run's own directory
  std::string output = {};  // empty: captured
  std::string shell = {};   // e.g. limits
};

std::filesystem::path RunDirectory() {
  return std::filesystem::temp_directory_path() /
         ("replay_test_" + std::to_string(::getpid()) + "_" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name());
}

std::string InDirectory(std::string text, const std::filesystem::path& dir) {
  for (std::size_t at; (at = text.find("DIR")) != std::string::npos;) text.replace(at, 3, dir);
  return text;
}

// Runs the tool in a fresh directory, which `prepare` may fill first and `inspect` look at
// afterwards.
ReplayRun Replay(const std::string& script, const Setting& setting = {},
                 const std::function<void(const std::filesystem::path&)>& prepare = nullptr,
                 const std::function<void(const std::filesystem::path&)>& inspect = nullptr) {
  const auto dir = RunDirectory();
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "script", std::ios::binary) << script;
  if (prepare) prepare(dir);
  const std::string input = setting.input.empty() ? (dir / "script").string() : setting.input;
  const std::string output = setting.output.empty() ? (dir / "out").string() : setting.output;
  const std::string command = "sh -c '" + InDirectory(setting.shell, dir) + " exec " +
                              PADDLEBALL_REPLAY + " " + InDirectory(setting.args, dir) + " < " +
                              input + " > " + output + " 2> " + (dir / "err").string() + "'";
  const int status = std::system(command.c_str());
  ReplayRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::istringstream out(ReadFile(dir / "out"));
  for (std::string line; std::getline(out, line);) run.lines.push_back(line);
  run.errors = ReadFile(dir / "err");
  if (inspect) inspect(dir);
  std::filesystem::remove_all(dir);
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
      {"", {"{\"tick\":1,"}},
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
  for (const std::string& bad :
       {std::string("1 2 3"), std::string("x 0"), std::string("5 256"), std::string("5 -1"),
        std::string("2147483648 0"), std::string("7"), std::string("1.5 0"), std::string("+-1 0"),
        std::string("1\0 0\x1b[2J\xff", 9), tenMegabytes}) {
    const ReplayRun run = Replay("0 0\n0 0\n# fine\n" + bad + "\n0 0\n");
    const std::string shown = bad.substr(0, 12);
    EXPECT_EQ(run.exitCode, 2) << shown;
    EXPECT_TRUE(Has(run.errors, "line 4")) << shown << ": " << run.errors;
    EXPECT_EQ(run.lines.size(), 2u) << shown;  // nothing past the tick before the bad read
    const std::size_t start = std::min(run.errors.find("paddleball-replay: "), run.errors.size());
    const std::string message = run.errors.substr(start);
    EXPECT_LT(message.size(), 400u) << shown;
    EXPECT_TRUE(std::all_of(message.begin(), message.end() - 1,
                            [](char c) {
                              return static_cast<unsigned char>(c) >= 0x20 &&
                                     static_cast<unsigned char>(c) < 0x7f;
                            }))
        << "an unescaped byte in: " << message;
  }
}

// Every failed read or write ends the run with its own status and a message naming the file;
// no frame file is left cut off under a tick's name, nor written through what held the name.
TEST(ReplayTest, InputAndOutputFaultsEndTheRunNamingTheFile) {
  const auto fifo = [](const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir / "frames");
    ASSERT_EQ(mkfifo((dir / "frames/tick-000001.png").c_str(), 0600), 0);
  };
  const auto link = [](const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir / "frames");
    std::ofstream(dir / "target");
    std::filesystem::create_symlink(dir / "target", dir / "frames/tick-000001.png");
  };
  const auto nothingWritten = [](const std::filesystem::path& dir) {
    EXPECT_EQ(std::filesystem::file_size(dir / "target"), 0u);
  };
  const auto noCutFrame = [](const std::filesystem::path& dir) {
    EXPECT_TRUE(std::filesystem::is_empty(dir / "frames"));  // nor the file it was written as
  };
  const auto makeFrames = [](const std::filesystem::path& dir) {
    std::filesystem::create_directory(dir / "frames");
  };
  struct Fault {
    const char* name;
    Setting setting;
    int exitCode;
    const char* message;
    std::function<void(const std::filesystem::path&)> prepare = nullptr, inspect = nullptr;
  };
  const std::string frames = "--frames DIR/frames --frame-ticks 1";
  const char* const kNotAFile = "frames/tick-000001.png: not a regular file";
  const Fault faults[] = {
      {"endless line", {.input = "/dev/zero"}, 2, "line 1: longer than 4096 bytes"},
      {"full device", {.output = "/dev/full"}, 1, "standard output: No space left on device"},
      {"fifo", {.args = frames}, 1, kNotAFile, fifo},
      {"link", {.args = frames}, 1, kNotAFile, link, nothingWritten},
      // A frame larger than the file size limit: the write fails part way, as on a full disk.
      {"cut-off frame",
       {.args = frames, .shell = "trap \"\" XFSZ; ulimit -f 4;"},
       1,
       "frames/tick-000001.png: File too large",
       makeFrames,
       noCutFrame},
  };
  for (const Fault& fault : faults) {
    const ReplayRun run = Replay("0 0\n0 0\n", fault.setting, fault.prepare, fault.inspect);
    EXPECT_EQ(run.exitCode, fault.exitCode) << fault.name;
    EXPECT_TRUE(Has(run.errors, fault.message)) << fault.name << ": " << run.errors;
  }
}

TEST(ReplayTest, AWholeGameEndsWithTheQuitAfterTheThirdBall) {
  std::string script = "0 128\n";
  for (int i = 0; i < 100000; ++i) script += "0 0\n";
  const ReplayRun run = Replay(script);
  ASSERT_EQ(run.exitCode, 0);
  ASSERT_GT(run.lines.size(), 10u);
  int lost = 0;
  int gameOver = 0;
  for (std::size_t i = 0; i < run.lines.size(); ++i) {
    const std::string& line = run.lines[i];
    EXPECT_TRUE(Has(line, "{\"tick\":" + std::to_string(i + 1) + ",")) << line;
    lost += Has(line, "sounds/powers.wav");
    gameOver += Has(line, "sounds/failedme.wav");
    EXPECT_EQ(Has(line, "\"quit\":true"), i + 1 == run.lines.size()) << line;
  }
  EXPECT_EQ(lost, 2);
  EXPECT_EQ(gameOver, 1);
  const std::string& last = run.lines.back();
  EXPECT_TRUE(Has(last, "\"lives\":-1"));
  EXPECT_TRUE(Has(last, "\"playing\":false"));
  EXPECT_TRUE(Has(last, "\"lives\":\"LIVES: \""));
}

}  // namespace
