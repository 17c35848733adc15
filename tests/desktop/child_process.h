// A program the end-to-end tests start, wait for with a time limit, and always clean up.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
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
             const std::string& directory, const std::string& logPath);

  // The exit code once the program has ended (128 plus the signal number if a signal ended
  // it), or nothing if it is still running at the limit.
  std::optional<int> Wait(std::chrono::milliseconds limit);

  // Ends the program if it still runs: politely first, then by force.
  void Stop();

 private:
  pid_t pid_ = -1;
};

}  // namespace desktop_test
