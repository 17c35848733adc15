// A private X server for one end-to-end test: its screen read back, input and close requests sent.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "private_display.h"

namespace desktop_test {

class VirtualDisplay : public private_x::PrivateDisplay {
 public:
  explicit VirtualDisplay(const std::string& screen) : PrivateDisplay(screen, "/dev/null") {}
  ~VirtualDisplay() {
    if (other_ != nullptr) XCloseDisplay(other_);
  }

  unsigned long white() const { return WhitePixel(connection(), DefaultScreen(connection())); }

  // Every pixel of the screen, top row first, in the server's own format; empty on failure.
  std::vector<unsigned long> Capture() const {
    const Window root = DefaultRootWindow(connection());
    XWindowAttributes size;
    XGetWindowAttributes(connection(), root, &size);
    XImage* image =
        XGetImage(connection(), root, 0, 0, size.width, size.height, AllPlanes, ZPixmap);
    std::vector<unsigned long> pixels;
    for (int i = 0; image != nullptr && i < size.width * size.height; ++i) {
      pixels.push_back(XGetPixel(image, i % size.width, i / size.width));
    }
    if (image != nullptr) XDestroyImage(image);
    return pixels;
  }

  // Runs xdotool here with these arguments, within a few seconds; true when it succeeded.
  bool Xdotool(const std::string& arguments) const {
    return std::system(("DISPLAY=" + name() + " timeout 5 xdotool " + arguments).c_str()) == 0;
  }

  // Maps a plain window of another client at that place and gives it the keyboard focus, as
  // another program in the foreground would have. It lasts as long as this display.
  bool TakeFocus(int x, int y, int width, int height) {
    if (other_ != nullptr) return false;
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = white();
    // Its own connection, so that the game sees another client's window, not this test's.
    other_ = XOpenDisplay(name().c_str());
    if (other_ == nullptr) return false;
    const Window window =
        XCreateWindow(other_, DefaultRootWindow(other_), x, y, width, height, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XSelectInput(other_, window, ButtonPressMask | ButtonReleaseMask);
    XMapRaised(other_, window);
    XSync(other_, False);
    XSetInputFocus(other_, window, RevertToParent, CurrentTime);
    XSync(other_, False);
    return true;
  }

  // Sends the window of that title the window manager's close request (WM_DELETE_WINDOW), as a
  // title bar's close button does; false when there is no such window. With no window manager
  // the game's window is a child of the root.
  bool AskToClose(const std::string& title) const {
    Window root = 0, parent = 0, *children = nullptr, window = 0;
    unsigned count = 0;
    XQueryTree(connection(), DefaultRootWindow(connection()), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count && window == 0; ++i) {
      char* name = nullptr;
      if (XFetchName(connection(), children[i], &name) != 0 && name != nullptr) {
        if (title == name) window = children[i];
        XFree(name);
      }
    }
    if (children != nullptr) XFree(children);
    if (window == 0) return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(connection(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] =
        static_cast<long>(XInternAtom(connection(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection(), window, False, NoEventMask, &event);
    XFlush(connection());
    return true;
  }

 private:
  Display* other_ = nullptr;
};

}  // namespace desktop_test
