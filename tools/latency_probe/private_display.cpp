#include "private_display.h"

#include <poll.h>
#include <unistd.h>

namespace probe {
namespace {

// The number Xvfb writes to the pipe once it accepts connections, or "" after the limit.
std::string ReadDisplayNumber(int fd) {
  constexpr int kStartLimitMs = 15000;
  std::string number;
  pollfd waiting = {fd, POLLIN, 0};
  char c = 0;
  while (poll(&waiting, 1, kStartLimitMs) > 0 && read(fd, &c, 1) == 1 && c != '\n') {
    number.push_back(c);
  }
  return number;
}

}  // namespace

PrivateDisplay::PrivateDisplay(const std::string& logPath) {
  int ends[2];
  if (pipe(ends) != 0) return;
  const bool started = server_.Start({"Xvfb", "-displayfd", std::to_string(ends[1]), "-screen", "0",
                                      "1024x768x24", "-nolisten", "tcp"},
                                     {}, ".", logPath);
  close(ends[1]);
  const std::string number = started ? ReadDisplayNumber(ends[0]) : "";
  close(ends[0]);
  if (number.empty()) return;
  name_ = ":" + number;
  display_ = XOpenDisplay(name_.c_str());
}

PrivateDisplay::~PrivateDisplay() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

}  // namespace probe
