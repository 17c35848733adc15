// A program started with settings of its own, waited for with a time limit, and always ended.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace private_x {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Stop(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Runs `argv` in `directory` with `environment` ("NAME=value", or "NAME=" to remove)
  // applied to this process's own; its output goes to `logPath`.
  bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
             const std::string& directory, const std::string& logPath);
  pid_t pid() const { return pid_; }  // -1 when not running
  bool Running() { return pid_ > 0 && !Wait(std::chrono::milliseconds(0)).has_value(); }
  // The exit code once the program has ended (128 plus the signal number if a signal ended
  // it), or nothing if it is still running at the limit.
  std::optional<int> Wait(std::chrono::milliseconds limit);
  void Signal(int number);
  // The processor time the program's threads have used so far, in its own code and the
  // system's, in seconds; 0 once it has ended.
  double CpuSeconds() const;
  // Ends the program and everything it started in its process group: politely, then by force.
  void Stop();

 private:
  pid_t pid_ = -1;
};

}  // namespace private_x
