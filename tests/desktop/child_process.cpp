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
    value.empty() ? unsetenv(name.c_str()) : setenv(name.c_str(), value.c_str(), 1);
  }
  const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (log >= 0) {
    dup2(log, STDOUT_FILENO);
    dup2(log, STDERR_FILENO);
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
  if (argv.empty() || pid_ > 0) return false;
  const pid_t child = fork();
  if (child == 0) BecomeProgram(argv, environment, directory, logPath);
  pid_ = child;
  return child > 0;
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds limit) {
  const auto giveUp = std::chrono::steady_clock::now() + limit;
  while (pid_ > 0) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : kSignalBase + WTERMSIG(status);
    }
    if (std::chrono::steady_clock::now() >= giveUp) break;
    std::this_thread::sleep_for(kPollInterval);
  }
  return std::nullopt;
}

void ChildProcess::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  if (Wait(kPoliteStop).has_value()) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace desktop_test
