#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace private_x {
namespace {

void ApplyEnvironment(const std::vector<std::string>& environment) {
  for (const std::string& setting : environment) {
    const std::size_t equals = setting.find('=');
    const std::string name = setting.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : setting.substr(equals + 1);
    value.empty() ? unsetenv(name.c_str()) : setenv(name.c_str(), value.c_str(), 1);
  }
}

[[noreturn]] void BecomeProgram(const std::vector<std::string>& argv,
                                const std::vector<std::string>& environment,
                                const std::string& directory, const std::string& logPath) {
  setpgid(0, 0);                     // so that Stop also ends what it starts (Wine's server)
  prctl(PR_SET_PDEATHSIG, SIGKILL);  // and nothing outlives a parent that is killed
  ApplyEnvironment(environment);
  const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(log, STDOUT_FILENO);
  dup2(log, STDERR_FILENO);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  if (chdir(directory.c_str()) == 0) execvp(args[0], args.data());
  _exit(127);  // could not start
}

}  // namespace

bool ChildProcess::Start(const std::vector<std::string>& argv,
                         const std::vector<std::string>& environment, const std::string& directory,
                         const std::string& logPath) {
  if (argv.empty() || pid_ > 0) return false;
  pid_ = fork();
  if (pid_ == 0) BecomeProgram(argv, environment, directory, logPath);
  if (pid_ > 0) setpgid(pid_, pid_);
  return pid_ > 0;
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds limit) {
  const auto giveUp = std::chrono::steady_clock::now() + limit;
  while (pid_ > 0) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (std::chrono::steady_clock::now() >= giveUp) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return std::nullopt;
}

void ChildProcess::Signal(int number) {
  if (pid_ > 0) kill(pid_, number);
}

double ChildProcess::CpuSeconds() const {
  // Each thread's time on a processor, to the nanosecond: the first figure of its schedstat.
  // The process's own status counts only whole clock ticks, too coarse for a frame.
  constexpr double kNanosPerSecond = 1e9;
  if (pid_ <= 0) return 0;
  double nanos = 0;
  std::error_code error;
  for (const auto& task :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid_) + "/task", error)) {
    std::ifstream schedstat(task.path() / "schedstat");
    double runNanos = 0;
    if (schedstat >> runNanos) nanos += runNanos;
  }
  return nanos / kNanosPerSecond;
}

void ChildProcess::Stop() {
  constexpr auto kGrace = std::chrono::milliseconds(1000);
  if (pid_ <= 0) return;
  const pid_t group = pid_;
  kill(-group, SIGTERM);
  Wait(kGrace);
  kill(-group, SIGKILL);  // the group may outlive its leader
  if (pid_ > 0) waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace private_x
