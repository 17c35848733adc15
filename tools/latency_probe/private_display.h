// An X server of the probe's own, on a display number it chooses itself.
#pragma once

#include <X11/Xlib.h>

#include <string>

#include "child.h"

namespace probe {

class PrivateDisplay {
 public:
  // Starts Xvfb with a 1024 x 768 x 24 screen; `connection()` is null when it did not come up.
  explicit PrivateDisplay(const std::string& logPath);
  ~PrivateDisplay();
  PrivateDisplay(const PrivateDisplay&) = delete;
  PrivateDisplay& operator=(const PrivateDisplay&) = delete;

  Display* connection() const { return display_; }
  const std::string& name() const { return name_; }  // e.g. ":12"

 private:
  Child server_;
  Display* display_ = nullptr;
  std::string name_;
};

}  // namespace probe
