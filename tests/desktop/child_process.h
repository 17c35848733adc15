// A program the end-to-end tests start, wait for with a time limit, and always clean up.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace desktop_test {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Stop(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Runs `argv` in `directory` with `environment` ("NAME=value", or "NAME=" to remove) added
  // to this process's own; standard output and error go to `logPath`.
  bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
             const std::string& directory, const std::string& logPath) {
    if (argv.empty() || pid_ > 0) return false;
    pid_ = fork();
    if (pid_ == 0) BecomeProgram(argv, environment, directory, logPath);
    return pid_ > 0;
  }

  // The exit code once the program has ended (128 plus the signal number if a signal ended
  // it), or nothing if it is still running at the limit.
  std::optional<int> Wait(std::chrono::milliseconds limit) {
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

  void Signal(int number) {
    if (pid_ > 0) kill(pid_, number);
  }

  // Ends the program if it still runs: politely first, then by force.
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (Wait(std::chrono::milliseconds(1000)).has_value()) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  [[noreturn]] static void BecomeProgram(const std::vector<std::string>& argv,
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
    dup2(log, STDOUT_FILENO);
    dup2(log, STDERR_FILENO);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    if (chdir(directory.c_str()) == 0) execvp(args[0], args.data());
    _exit(127);  // could not start
  }

  pid_t pid_ = -1;
};

}  // namespace desktop_test
