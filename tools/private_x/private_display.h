// An X server of one's own (Xvfb), on a display number it chooses itself.
#pragma once

#include <X11/Xlib.h>

#include <string>

#include "child_process.h"

namespace private_x {

class PrivateDisplay {
 public:
  // Starts Xvfb with a screen such as "1024x768x24", its output to `logPath`; `connection()`
  // is null and `name()` empty when it did not come up.
  PrivateDisplay(const std::string& screen, const std::string& logPath);
  ~PrivateDisplay();
  PrivateDisplay(const PrivateDisplay&) = delete;
  PrivateDisplay& operator=(const PrivateDisplay&) = delete;

  Display* connection() const { return display_; }
  const std::string& name() const { return name_; }  // e.g. ":12"

 private:
  ChildProcess server_;
  Display* display_ = nullptr;
  std::string name_;
};

}  // namespace private_x
