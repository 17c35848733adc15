// A private X server for one end-to-end test, on a display number of its own choosing.
#pragma once

#include <string>

#include "child_process.h"

namespace desktop_test {

class VirtualDisplay {
 public:
  // Starts Xvfb with a screen of that size and depth, such as "1024x768x24"; `name()` is
  // empty when it did not come up.
  explicit VirtualDisplay(const std::string& screen);

  const std::string& name() const { return name_; }  // e.g. ":12"

  // Sends the window the window manager's close request (WM_DELETE_WINDOW), as a title bar's
  // close button does; false when no window of that title is mapped.
  bool AskToClose(const std::string& windowTitle) const;

 private:
  ChildProcess server_;
  std::string name_;
};

}  // namespace desktop_test
