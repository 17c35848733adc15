#include "virtual_display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace desktop_test {
namespace {

constexpr int kStartLimitMs = 10000;

// Reads the display number Xvfb writes once it accepts connections.
std::string ReadDisplayNumber(int fd) {
  std::string number;
  pollfd waiting = {fd, POLLIN, 0};
  char c = 0;
  while (poll(&waiting, 1, kStartLimitMs) > 0 && read(fd, &c, 1) == 1 && c != '\n') {
    number.push_back(c);
  }
  return number;
}

Window FindWindow(Display* display, Window parent, const std::string& title, int depth) {
  Window root = 0;
  Window parentOfParent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display, parent, &root, &parentOfParent, &children, &count) == 0) return 0;
  Window found = 0;
  for (unsigned i = 0; i < count && found == 0; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
      if (title == name) found = children[i];
      XFree(name);
    }
    if (found == 0 && depth > 0) found = FindWindow(display, children[i], title, depth - 1);
  }
  if (children != nullptr) XFree(children);
  return found;
}

}  // namespace

VirtualDisplay::VirtualDisplay(const std::string& screen) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return;
  const std::string fd = std::to_string(pipeEnds[1]);
  const bool started = server_.Start(
      {"Xvfb", "-displayfd", fd, "-screen", "0", screen, "-nolisten", "tcp"}, {}, ".", "/dev/null");
  close(pipeEnds[1]);
  const std::string number = started ? ReadDisplayNumber(pipeEnds[0]) : "";
  close(pipeEnds[0]);
  if (!number.empty()) name_ = ":" + number;
}

bool VirtualDisplay::AskToClose(const std::string& windowTitle) const {
  Display* display = XOpenDisplay(name_.c_str());
  if (display == nullptr) return false;
  const Window window = FindWindow(display, DefaultRootWindow(display), windowTitle, 2);
  if (window != 0) {
    XEvent event;
    std::memset(&event, 0, sizeof(event));
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
  }
  XCloseDisplay(display);
  return window != 0;
}

}  // namespace desktop_test
