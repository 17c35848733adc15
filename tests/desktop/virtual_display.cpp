#include "virtual_display.h"

#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>
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

}  // namespace

VirtualDisplay::VirtualDisplay(const std::string& screen, const std::string& logPath) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return;
  const bool started = server_.Start({"Xvfb", "-displayfd", std::to_string(pipeEnds[1]), "-screen",
                                      "0", screen, "-nolisten", "tcp"},
                                     {}, ".", logPath);
  close(pipeEnds[1]);
  const std::string number = started ? ReadDisplayNumber(pipeEnds[0]) : "";
  close(pipeEnds[0]);
  if (!number.empty()) display_ = XOpenDisplay((":" + number).c_str());
  if (display_ != nullptr) name_ = ":" + number;
}

VirtualDisplay::~VirtualDisplay() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

std::vector<unsigned long> VirtualDisplay::Capture() const {
  const Window root = DefaultRootWindow(display_);
  XWindowAttributes size;
  XGetWindowAttributes(display_, root, &size);
  XImage* image = XGetImage(display_, root, 0, 0, size.width, size.height, AllPlanes, ZPixmap);
  std::vector<unsigned long> pixels;
  if (image == nullptr) return pixels;
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) pixels.push_back(XGetPixel(image, x, y));
  }
  XDestroyImage(image);
  return pixels;
}

bool VirtualDisplay::Xdotool(const std::string& arguments) const {
  const std::string command = "DISPLAY=" + name_ + " timeout 5 xdotool " + arguments;
  return std::system(command.c_str()) == 0;
}

bool VirtualDisplay::AskToClose(const std::string& windowTitle) const {
  // With no window manager the game's window is a child of the root.
  Window root = 0, parent = 0, *children = nullptr, window = 0;
  unsigned count = 0;
  XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count);
  for (unsigned i = 0; i < count && window == 0; ++i) {
    char* name = nullptr;
    if (XFetchName(display_, children[i], &name) != 0 && name != nullptr) {
      if (windowTitle == name) window = children[i];
      XFree(name);
    }
  }
  if (children != nullptr) XFree(children);
  if (window == 0) return false;
  XEvent event;
  std::memset(&event, 0, sizeof(event));
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &event);
  XFlush(display_);
  return true;
}

}  // namespace desktop_test
