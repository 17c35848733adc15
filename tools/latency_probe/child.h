// A program the probe starts with settings of its own and always ends.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace probe {

class Child {
 public:
  Child() = default;
  ~Child() { Stop(); }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // Runs `argv` in `directory` with `environment` ("NAME=value", or "NAME=" to remove)
  // applied to this process's own; its output goes to `logPath`.
  bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
             const std::string& directory, const std::string& logPath);
  bool Running();
  // Ends the program and everything it started in its process group.
  void Stop();

 private:
  pid_t pid_ = -1;
};

}  // namespace probe
