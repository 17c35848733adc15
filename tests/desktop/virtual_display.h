// A private X server for one end-to-end test: its screen read back, input and close requests sent.
#pragma once

#include <X11/Xlib.h>

#include <string>
#include <vector>

#include "child_process.h"

namespace desktop_test {

class VirtualDisplay {
 public:
  // Starts Xvfb with a screen such as "1024x768x24" on a free display number; `name()` is empty
  // when it did not come up. `logPath` takes the server's own output.
  VirtualDisplay(const std::string& screen, const std::string& logPath);
  ~VirtualDisplay();

  const std::string& name() const { return name_; }  // e.g. ":12"

  // Every pixel of the screen, top row first, in the server's own format; empty on failure.
  std::vector<unsigned long> Capture() const;
  unsigned long white() const { return WhitePixel(display_, DefaultScreen(display_)); }

  // Runs xdotool here with these arguments, within a few seconds; true when it succeeded.
  bool Xdotool(const std::string& arguments) const;

  // Sends the window the window manager's close request (WM_DELETE_WINDOW), as a title bar's
  // close button does; false when no window of that title is mapped.
  bool AskToClose(const std::string& windowTitle) const;

 private:
  ChildProcess server_;
  std::string name_;
  Display* display_ = nullptr;
};

}  // namespace desktop_test
