// Runs the replay tool as a program, the way other tools use it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

ReplayRun Replay(const std::string& script) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("replay_test_" + std::to_string(::getpid()) + "_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "script") << script;
  const std::string command = std::string(PADDLEBALL_REPLAY) + " < " + (dir / "script").string() +
                              " > " + (dir / "out").string() + " 2> " + (dir / "err").string();
  const int status = std::system(command.c_str());
  ReplayRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::istringstream out(ReadFile(dir / "out"));
  for (std::string line; std::getline(out, line);) run.lines.push_back(line);
  run.errors = ReadFile(dir / "err");
  std::filesystem::remove_all(dir);
  return run;
}

bool Has(const std::string& line, const std::string& part) {
  return line.find(part) != std::string::npos;
}

TEST(ReplayTest, FirstTickIsTheAttractScreenAtTheServe) {
  const ReplayRun run = Replay("0 0\n");
  ASSERT_EQ(run.exitCode, 0);
  ASSERT_EQ(run.lines.size(), 2u);  // the second tick's read finds the script used up
  EXPECT_EQ(run.lines[0],
            "{\"tick\":1,\"attractMode\":true,\"playing\":false,\"lives\":2,\"hits\":0,\"level\":1,"
            "\"speedBonus\":3,\"ball\":[468,332,556,436],\"ballVelocity\":[9,-4],"
            "\"paddle\":[444,636,584,660],\"labels\":{\"score\":null,\"lives\":null,\"level\":null,"
            "\"title\":\"Click to Start | Hit ESCAPE to end.\"},\"cues\":[],\"quit\":false}");
}

TEST(ReplayTest, EmptyScriptRunsOneTick) {
  const ReplayRun run = Replay("");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.lines.size(), 1u);
}

TEST(ReplayTest, BlankLinesAndCommentsAreNotReads) {
  const ReplayRun run = Replay("# start\n\n  0 128  # click\n\t\n-5 0\n");
  ASSERT_EQ(run.exitCode, 0);
  ASSERT_EQ(run.lines.size(), 2u);
  EXPECT_TRUE(Has(run.lines[0], "\"cues\":[\"sounds/destroy.wav\"]"));
  EXPECT_TRUE(Has(run.lines[0], "\"paddle\":[439,636,583,660]"));
}

TEST(ReplayTest, MalformedLineStopsWithItsNumber) {
  for (const char* bad : {"1 2 3", "x 0", "5 256", "5 -1", "2147483648 0", "7", "1.5 0", "+-1 0"}) {
    const ReplayRun run = Replay(std::string("0 0\n0 0\n# fine\n") + bad + "\n0 0\n");
    EXPECT_EQ(run.exitCode, 2) << bad;
    EXPECT_TRUE(Has(run.errors, "line 4")) << bad << ": " << run.errors;
    EXPECT_EQ(run.lines.size(), 2u) << bad;  // nothing past the tick before the bad read
  }
}

TEST(ReplayTest, ExtremeMovementsKeepThePaddleBetweenTheWalls) {
  const ReplayRun run = Replay("0 1\n2147483647 0\n-2147483648 0\n+2147483647 255\n");
  ASSERT_EQ(run.exitCode, 0);
  ASSERT_EQ(run.lines.size(), 4u);
  EXPECT_TRUE(Has(run.lines[0], "\"paddle\":[852,636,996,660]"));
  EXPECT_TRUE(Has(run.lines[1], "\"paddle\":[28,636,172,660]"));
  EXPECT_TRUE(Has(run.lines[2], "\"paddle\":[852,636,996,660]"));
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
