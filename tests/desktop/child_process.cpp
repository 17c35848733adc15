#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace desktop_test {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(5);
constexpr auto kPoliteStop = std::chrono::milliseconds(1000);
constexpr int kCannotStart = 127;
constexpr int kSignalBase = 128;

[[noreturn]] void BecomeProgram(const std::vector<std::string>& argv,
                                const std::vector<std::string>& environment,
                                const std::string& directory, const std::string& logPath) {
  // Dies with the test even when the test itself is killed (a time-out), so nothing lingers.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  for (const std::string& setting : environment) {
    const std::size_t equals = setting.find('=');
    const std::string name = setting.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : setting.substr(equals + 1);
    if (value.empty()) {
      unsetenv(name.c_str());
    } else {
      setenv(name.c_str(), value.c_str(), 1);
    }
  }
  if (!logPath.empty()) {
    const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (log >= 0) {
      dup2(log, STDOUT_FILENO);
      dup2(log, STDERR_FILENO);
    }
  }
  if (chdir(directory.c_str()) != 0) _exit(kCannotStart);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(kCannotStart);
}

}  // namespace

bool ChildProcess::Start(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment, const std::string& directory,
                         const std::string& logPath) {
  if (argv.empty() || running()) return false;
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) BecomeProgram(argv, environment, directory, logPath);
  pid_ = child;
  return true;
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds limit) {
  if (!running()) return std::nullopt;
  const auto giveUp = std::chrono::steady_clock::now() + limit;
  for (;;) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      if (WIFEXITED(status)) return WEXITSTATUS(status);
      return kSignalBase + WTERMSIG(status);
    }
    if (std::chrono::steady_clock::now() >= giveUp) return std::nullopt;
    std::this_thread::sleep_for(kPollInterval);
  }
}

void ChildProcess::Stop() {
  if (!running()) return;
  kill(pid_, SIGTERM);
  if (Wait(kPoliteStop).has_value()) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

std::optional<int> RunToEnd(const std::vector<std::string>& argv,
                            const std::vector<std::string>& environment,
                            std::chrono::milliseconds limit) {
  ChildProcess child;
  if (!child.Start(argv, environment)) return std::nullopt;
  return child.Wait(limit);
}

}  // namespace desktop_test
