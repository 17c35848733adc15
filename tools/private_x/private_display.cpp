#include "private_display.h"

#include <poll.h>
#include <unistd.h>

namespace private_x {
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

PrivateDisplay::PrivateDisplay(const std::string& screen, const std::string& logPath) {
  int ends[2];
  if (pipe(ends) != 0) return;
  const bool started = server_.Start(
      {"Xvfb", "-displayfd", std::to_string(ends[1]), "-screen", "0", screen, "-nolisten", "tcp"},
      {}, ".", logPath);
  close(ends[1]);
  const std::string number = started ? ReadDisplayNumber(ends[0]) : "";
  close(ends[0]);
  if (number.empty()) return;
  display_ = XOpenDisplay((":" + number).c_str());
  if (display_ != nullptr) name_ = ":" + number;
}

PrivateDisplay::~PrivateDisplay() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

}  // namespace private_x
